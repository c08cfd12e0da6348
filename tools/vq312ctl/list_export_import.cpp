// The "list | export FILE | import FILE" commands over one printer's stored
// values, shared by the favourites and the receipt colours; the arguments of
// the "list | add | delete" commands, shared by the papers and the media.
#include <string>
#include <vector>

#include "base/text_win.h"
#include "settings/printer_store_win.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {

bool ReadListAddDelete(int argc, wchar_t** argv, ListAddDelete* command) {
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--printer" && i + 1 < argc)
      command->options.printer = argv[++i];
    else if (arg == L"--yes")
      command->yes = true;
    else
      command->words.push_back(arg);
  }
  const auto& w = command->words;
  return !w.empty() && (w[0] == L"list" || w[0] == L"add" || w[0] == L"delete");
}

int RunListExportImport(int argc, wchar_t** argv, const ListExportImport& commands) {
  Options options;
  std::vector<std::wstring> words;
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--printer" && i + 1 < argc)
      options.printer = argv[++i];
    else
      words.push_back(arg);
  }
  const bool list = words.size() == 1 && words[0] == L"list";
  const bool withFile = words.size() == 2 && (words[0] == L"export" || words[0] == L"import");
  if (!list && !withFile) {
    Print(commands.usage);
    return 2;
  }
  const std::string printer = Narrow(options.printer);
  Win32Spooler spooler;
  // Only an import writes: the other commands work for any user.
  const uint32_t access = words[0] == L"import" ? kPrinterAllAccess : kPrinterAccessUse;
  const auto store = spooler.Open(U(options.printer.c_str()), access);
  if (!store) {
    Print("vq312ctl: cannot open \"%s\"%s\n", printer.c_str(),
          access == kPrinterAllAccess ? " for administration" : "");
    return 1;
  }
  if (list) return commands.list(store.get(), printer);
  return words[0] == L"export" ? commands.exportTo(store.get(), words[1])
                               : commands.importFrom(store.get(), words[1]);
}

}  // namespace vq::ctl
