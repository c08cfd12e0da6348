#include "tests/core/test_printer.h"

#include "entry/printer_event.h"

namespace vq::test {

TestPrinter::TestPrinter() : difm(LinkedDifmApi()), svc{&difm, &spooler} {
  data = &spooler.Add(kPrinter);
  data->configFile = u"C:\\windows\\system32\\spool\\drivers\\x64\\3\\VQ312UI.dll";
  data->helpFile = u"C:\\windows\\system32\\spool\\drivers\\x64\\3\\VQ312.chm";
  data->devMode.assign(kJobSettingsSize, 0);
  SeedNewPrinter(kPrinter, svc);
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

}  // namespace vq::test
