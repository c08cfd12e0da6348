#include "tests/core/test_printer.h"

#include <cstring>

#include "entry/printer_event.h"
#include "settings/printer_store.h"

namespace vq::test {

TestPrinter::TestPrinter(bool installed) : difm(LinkedDifmApi()), svc{&difm, &spooler} {
  data = &spooler.Add(kPrinter);
  data->configFile = u"C:\\windows\\system32\\spool\\drivers\\x64\\3\\VQ312UI.dll";
  data->helpFile = u"C:\\windows\\system32\\spool\\drivers\\x64\\3\\VQ312.chm";
  data->devMode.assign(kJobSettingsSize, 0);
  if (installed) SeedNewPrinter(kPrinter, svc);
}

JobSettings TestPrinter::Defaults() {
  JobSettings js{};
  SetDefaultJobSettings(&js, svc);
  return js;
}

JobSettings TestPrinter::WithPaper(int16_t paperId) {
  JobSettings js = Defaults();
  js.dmPaperSize = paperId;
  auto printer = Open();
  ValidateJobSettings(&js, printer.get(), svc);
  return js;
}

std::vector<PaperInfo> TestPrinter::Papers() const {
  auto it = data->values.find(pd::kPaperInfo);
  if (it == data->values.end()) return {};
  std::vector<PaperInfo> papers(it->second.bytes.size() / sizeof(PaperInfo));
  std::memcpy(papers.data(), it->second.bytes.data(), papers.size() * sizeof(PaperInfo));
  return papers;
}

void TestPrinter::SetPapers(const std::vector<PaperInfo>& papers) {
  data->SetBinary(pd::kPaperInfo, papers.data(), papers.size() * sizeof(PaperInfo));
  data->SetDword(pd::kPaperNum, static_cast<uint32_t>(papers.size()));
}

}  // namespace vq::test
