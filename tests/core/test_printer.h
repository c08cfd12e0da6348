// A simulated "Morva VT-Q3120" for native tests: an in-memory spooler with
// the printer installed the way the driver installs it.
#pragma once

#include <string>

#include "devinfo/difm_api.h"
#include "settings/job_settings.h"
#include "settings/memory_store.h"

namespace vq::test {

inline constexpr char16_t kPrinter[] = u"Morva VT-Q3120";

struct TestPrinter {
  TestPrinter();
  DifmApi difm;
  MemorySpooler spooler;
  DriverServices svc;
  MemoryPrinter* data;  // the printer's values and stored device mode

  std::unique_ptr<PrinterStore> Open() { return spooler.Open(kPrinter, kPrinterAccessUse); }
  JobSettings Defaults();
  // A valid record of the given paper, through the driver's own validation.
  JobSettings WithPaper(int16_t paperId);
};

}  // namespace vq::test
