// A simulated "Morva VT-Q3120" for native tests: an in-memory spooler with
// the printer installed the way the driver installs it.
#pragma once

#include <string>
#include <vector>

#include "devinfo/difm_api.h"
#include "settings/job_settings.h"
#include "settings/memory_store.h"

namespace vq::test {

inline constexpr char16_t kPrinter[] = u"Morva VT-Q3120";

struct TestPrinter {
  // installed = false leaves a printer as the spooler creates it, before the
  // driver's installation event has seeded its data.
  explicit TestPrinter(bool installed = true);
  DifmApi difm;  // tests may replace functions to simulate a broken module
  MemorySpooler spooler;
  DriverServices svc;
  MemoryPrinter* data;  // the printer's values and stored device mode

  std::unique_ptr<PrinterStore> Open() { return spooler.Open(kPrinter, kPrinterAccessUse); }
  JobSettings Defaults();
  // A valid record of the given paper, through the driver's own validation.
  JobSettings WithPaper(int16_t paperId);

  // APUI_PAPERINFO as stored, read straight from the value's bytes.
  std::vector<PaperInfo> Papers() const;
  void SetPapers(const std::vector<PaperInfo>& papers);
};

// A module that cannot be mapped, for DifmApi::DifmMapper.
inline DifmHandle NoMapping(uint32_t, const char16_t*) { return nullptr; }

inline std::vector<unsigned char> RawBytes(const void* p, size_t n) {
  return {static_cast<const unsigned char*>(p), static_cast<const unsigned char*>(p) + n};
}

template <size_t N>
std::u16string TextOf(const char16_t (&text)[N]) {
  size_t n = 0;
  while (n < N && text[n]) ++n;
  return std::u16string(text, n);
}

}  // namespace vq::test
