// What an application pays for the paper capabilities of the printer
// (DeviceCapabilitiesW through winspool), against
//   (a) the floor: the printer-data reads the answer needs, on an open handle;
//   (b) Wine's own PostScript driver answering the same question for a
//       printer of its own in the same prefix.
// Prints the figures and both ratios.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/wine/installed_printer.h"

using namespace vq::wine;

namespace {

constexpr wchar_t kPsPrinter[] = L"Wine PostScript bench";
constexpr wchar_t kPsDriver[] = L"Wine PostScript Driver";

double Now() {
  LARGE_INTEGER c, f;
  QueryPerformanceCounter(&c);
  QueryPerformanceFrequency(&f);
  return double(c.QuadPart) / double(f.QuadPart);
}

template <typename F>
double Best(F&& f, int rounds = 7, int calls = 1000) {
  double best = 1e9;
  for (int r = 0; r < rounds; ++r) {
    const double start = Now();
    for (int i = 0; i < calls; ++i) f();
    best = std::min(best, (Now() - start) / calls);
  }
  return best;
}

// A printer on Wine's PostScript driver, with the driver's page description
// as its data file.
bool AddPostScriptPrinter() {
  HANDLE h = nullptr;
  if (OpenPrinterW(const_cast<wchar_t*>(kPsPrinter), &h, nullptr)) {
    ClosePrinter(h);
    return true;
  }
  DRIVER_INFO_3W di{};
  di.cVersion = 3;
  di.pName = const_cast<wchar_t*>(kPsDriver);
  di.pEnvironment = const_cast<wchar_t*>(L"Windows x64");
  di.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
  di.pDataFile = const_cast<wchar_t*>(L"vq312.ppd");
  di.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
  di.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
  AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&di), APD_COPY_NEW_FILES);
  PRINTER_INFO_2W pi{};
  pi.pPrinterName = const_cast<wchar_t*>(kPsPrinter);
  pi.pPortName = const_cast<wchar_t*>(L"FILE:");
  pi.pDriverName = const_cast<wchar_t*>(kPsDriver);
  pi.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
  pi.pDatatype = const_cast<wchar_t*>(L"RAW");
  h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
  if (!h) return false;
  ClosePrinter(h);
  return true;
}

}  // namespace

int wmain() {
  Printer printer;
  if (!printer) {
    std::printf("caps_bench: the printer is not installed\n");
    return 1;
  }
  const bool havePs = AddPostScriptPrinter();
  const int psPapers =
      havePs ? DeviceCapabilitiesW(kPsPrinter, nullptr, DC_PAPERS, nullptr, nullptr) : -1;
  if (psPapers <= 0)
    std::printf("Wine's PostScript driver did not answer (%d): no comparison with it\n", psPapers);
  else
    std::printf("Wine's PostScript driver answers %d papers for \"%ls\" (from its parsed PPD, "
                "kept in memory per process)\n", psPapers, kPsPrinter);

  std::vector<unsigned char> out(64 * 128), table(64 * 224);
  struct Query {
    WORD capability;
    const char* name;
  };
  const Query queries[] = {{DC_PAPERS, "DC_PAPERS"},
                           {DC_PAPERSIZE, "DC_PAPERSIZE"},
                           {DC_PAPERNAMES, "DC_PAPERNAMES"}};
  auto* data = reinterpret_cast<wchar_t*>(out.data());
  // The floor: the count and the paper records, read on an open handle.
  const double floor = Best([&] {
    DWORD type, needed, count;
    GetPrinterDataW(printer.get(), const_cast<wchar_t*>(L"APUI_PAPERNUM"), &type,
                    reinterpret_cast<BYTE*>(&count), 4, &needed);
    GetPrinterDataW(printer.get(), const_cast<wchar_t*>(L"APUI_PAPERINFO"), &type, table.data(),
                    static_cast<DWORD>(table.size()), &needed);
  });
  std::printf("%-14s %12s %12s %10s %14s %10s\n", "capability", "driver us", "floor us",
              "x floor", "PostScript us", "x PS");
  for (const Query& q : queries) {
    if (DeviceCapabilitiesW(kPrinterName, nullptr, q.capability, data, nullptr) <= 0) {
      std::printf("%s: the driver did not answer\n", q.name);
      return 1;
    }
    const double driver =
        Best([&] { DeviceCapabilitiesW(kPrinterName, nullptr, q.capability, data, nullptr); });
    double ps = 0;
    if (psPapers > 0)
      ps = Best([&] { DeviceCapabilitiesW(kPsPrinter, nullptr, q.capability, data, nullptr); });
    std::printf("%-14s %12.2f %12.2f %9.2fx %14.2f %9.2fx\n", q.name, driver * 1e6, floor * 1e6,
                driver / floor, ps * 1e6, ps > 0 ? driver / ps : 0.0);
  }
  // What winspool and a driver answer cost when no data is read at all: a
  // constant of the record format.
  const double constant =
      Best([&] { DeviceCapabilitiesW(kPrinterName, nullptr, DC_SIZE, nullptr, nullptr); });
  std::printf("DC_SIZE (a constant, no printer data): %.2f us\n", constant * 1e6);
  std::printf("targets: at most 1.5x the floor, at most 0.5x the PostScript driver\n");
  return 0;
}
