// What an application pays when it asks the driver to check a device mode
// (DocumentPropertiesW without a prompt, the stored default as input),
// against the floor: the printer-data reads that check cannot avoid (the
// paper table and the scaling flag). Prints both and their ratio.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <vector>

#include "settings/job_settings.h"
#include "tests/wine/installed_printer.h"

using namespace vq;
using namespace vq::wine;

namespace {

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

template <typename F>
double Best(int rounds, int calls, F&& f) {
  double best = 1e9;
  for (int r = 0; r < rounds; ++r) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    for (int i = 0; i < calls; ++i) f();
    QueryPerformanceCounter(&b);
    best = std::min(best, Seconds(a, b) / calls);
  }
  return best;
}

}  // namespace

int wmain() {
  Printer printer;
  if (!printer) {
    std::printf("devmode_bench: the printer is not installed\n");
    return 1;
  }
  const std::vector<unsigned char> stored = StoredDevMode(printer.get());
  if (stored.size() != kJobSettingsSize) {
    std::printf("devmode_bench: the printer has no device mode of this driver\n");
    return 1;
  }
  JobSettings out{};
  // Warm up: the spooler loads the driver on its first call.
  if (DocumentProperties(printer.get(), stored.data(), &out, DM_IN_BUFFER | DM_OUT_BUFFER) != 1) {
    std::printf("devmode_bench: DocumentPropertiesW failed\n");
    return 1;
  }

  std::vector<unsigned char> table(32 * kPaperInfoSize);
  const int rounds = 7, calls = 2000;
  const double validate = Best(rounds, calls, [&] {
    DocumentProperties(printer.get(), stored.data(), &out, DM_IN_BUFFER | DM_OUT_BUFFER);
  });
  const double floor = Best(rounds, calls, [&] {
    DWORD type, needed, scaling;
    GetPrinterDataW(printer.get(), const_cast<wchar_t*>(L"APUI_PAPERINFO"), &type, table.data(),
                    static_cast<DWORD>(table.size()), &needed);
    GetPrinterDataW(printer.get(), const_cast<wchar_t*>(L"APUI_BSCALING"), &type,
                    reinterpret_cast<BYTE*>(&scaling), 4, &needed);
  });
  std::printf("DocumentPropertiesW no-UI validation: %8.2f us per call\n", validate * 1e6);
  std::printf("printer-data reads it needs (floor):  %8.2f us per call\n", floor * 1e6);
  std::printf("ratio: %.2fx the floor (target: at most 2x)\n", validate / floor);
  return 0;
}
