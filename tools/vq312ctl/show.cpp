#include <cstring>

#include "tools/vq312ctl/describe.h"
#include "settings/printer_store_win.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {

int RunShow(const Options& options) {
  Win32Spooler spooler;
  const auto* name = reinterpret_cast<const char16_t*>(options.printer.c_str());
  std::unique_ptr<PrinterStore> printer = spooler.Open(name, kPrinterAccessUse);
  if (!printer) {
    Print("vq312ctl: no printer \"%s\" (error %lu)\n", Narrow(options.printer).c_str(),
          GetLastError());
    return 1;
  }
  Print("Printer \"%s\"\n", Narrow(options.printer).c_str());
  std::u16string driverPath, helpFile;
  if (printer->GetDriverFiles(&driverPath, &helpFile))
    Print("  driver  %s\n  help    %s\n", Utf8(driverPath).c_str(), Utf8(helpFile).c_str());

  Print("\nPrinter data\n");
  for (size_t i = 0; i < kPrinterValueCount; ++i) {
    const PrinterValueInfo& v = kPrinterValues[i];
    std::vector<unsigned char> bytes;
    uint32_t type = 0;
    const std::string label = Utf8(v.name);
    if (!ReadPrinterValue(printer.get(), v.name, &bytes, &type)) {
      Print("  %-28s (not set)\n", label.c_str());
      continue;
    }
    Print("  %-28s ", label.c_str());
    Print(DescribePrinterValue(v.name, type, bytes));
  }

  Print("\nDefault job settings\n");
  std::vector<unsigned char> dm;
  if (!printer->GetDevMode(2, &dm)) {
    Print("  (the printer has no default device mode)\n");
    return 0;
  }
  JobSettings js{};
  CopyDevModeBytes(dm.data(), static_cast<uint32_t>(dm.size()), &js);
  Print(DescribeJobSettings(js));
  return 0;
}

}  // namespace vq::ctl
