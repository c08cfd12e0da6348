// `vq312ctl form info FILE` and `vq312ctl form thumbnail FILE OUT.bmp`: the
// overlay form reader's facts and picture, for an administrator checking a
// form before users print over it.
#include <sstream>

#include "tools/form/form_tool.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {

int RunForm(int argc, wchar_t** argv) {
  // argv: form SUBCOMMAND ARGS...
  const std::wstring sub = argc > 2 ? argv[2] : L"";
  std::ostringstream out;
  int rc = 2;
  if (sub == L"info" && argc == 4)
    rc = RunFormInfo(Narrow(argv[3]), out);
  else if (sub == L"thumbnail" && argc == 5)
    rc = RunFormThumbnail(Narrow(argv[3]), Narrow(argv[4]), out);
  else
    out << "usage: vq312ctl form info FILE | form thumbnail FILE OUT.bmp\n";
  Print(out.str());
  return rc;
}

}  // namespace vq::ctl
