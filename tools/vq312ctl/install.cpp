// Installing the driver the way the spooler's own installer does: files into
// the driver directory, the driver, the printer, then the printer event that
// seeds the new printer's settings.
#include <windows.h>
#include <winspool.h>
#include <winddiui.h>

#include <iterator>
#include <vector>

#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {
namespace {

// The driver package: the UI module first, then what it loads at run time.
constexpr const wchar_t* kConfigFile = L"VQ312UI.dll";
constexpr const wchar_t* kDataFile = L"vq312.ppd";
constexpr const wchar_t* kHelpFile = L"VQ312.chm";
constexpr const wchar_t* kDependentFiles[] = {L"VQ312DI.dll", L"VQ312RD.dll", L"VQ312CC.dll",
                                                L"VQ312GS.dll", L"VQ312GD.dll", L"VQ312SM.exe", L"VQ312PC.dll",
                                                L"VQ312AN.dll", L"VQ312RS.dll"};

std::wstring ToolFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\'));
}

std::wstring DriverDirectory() {
  wchar_t dir[MAX_PATH];
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir,
                                  &needed))
    return {};
  return dir;
}

bool Stage(const std::wstring& from, const std::wstring& to, const wchar_t* file) {
  const std::wstring src = from + L"\\" + file, dst = to + L"\\" + file;
  if (CopyFileW(src.c_str(), dst.c_str(), FALSE)) return true;
  Print("  cannot copy %s to %s (error %lu)\n", Narrow(src).c_str(), Narrow(to).c_str(),
        GetLastError());
  return false;
}

// The UI module as the spooler installed it, and its DrvPrinterEvent.
int SendInitializeEvent(const std::wstring& printer) {
  HANDLE h = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(printer.c_str()), &h, nullptr)) return -2;
  DWORD needed = 0;
  GetPrinterDriverW(h, nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> buf(needed ? needed : 1);
  const bool ok = GetPrinterDriverW(h, nullptr, 3, buf.data(), needed, &needed);
  ClosePrinter(h);
  if (!ok) return -2;
  const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(buf.data());
  HMODULE ui = LoadLibraryW(di->pConfigFile);
  if (!ui) return -2;
  using Event = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
  auto event = reinterpret_cast<Event>(reinterpret_cast<void*>(GetProcAddress(ui, "DrvPrinterEvent")));
  const int rc = event ? event(const_cast<wchar_t*>(printer.c_str()), PRINTER_EVENT_INITIALIZE,
                               PRINTER_EVENT_FLAG_NO_UI, 0)
                       : -2;
  FreeLibrary(ui);
  return rc;
}

}  // namespace

int RunInstall(const Options& options) {
  const std::wstring from = options.from.empty() ? ToolFolder() : options.from;
  const std::wstring target = DriverDirectory();
  if (target.empty()) {
    Print("vq312ctl: no printer driver directory (error %lu)\n", GetLastError());
    return 1;
  }
  Print("Staging the driver files from %s into %s\n", Narrow(from).c_str(),
        Narrow(target).c_str());
  bool staged = Stage(from, target, kConfigFile) && Stage(from, target, kDataFile) &&
                Stage(from, target, kHelpFile);
  for (const wchar_t* file : kDependentFiles) staged = staged && Stage(from, target, file);
  if (!staged) return 1;

  std::wstring dependents;
  for (const wchar_t* file : kDependentFiles) dependents.append(file).push_back(L'\0');
  dependents.push_back(L'\0');
  // Bare file names: the spooler takes them from the driver directory and
  // copies them into its version folder.
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<wchar_t*>(L"Morva VT-Q3120");
  driver.pEnvironment = const_cast<wchar_t*>(L"Windows x64");
  driver.pDriverPath = const_cast<wchar_t*>(kConfigFile);
  driver.pDataFile = const_cast<wchar_t*>(kDataFile);
  driver.pConfigFile = const_cast<wchar_t*>(kConfigFile);
  driver.pHelpFile = const_cast<wchar_t*>(kHelpFile);
  driver.pDependentFiles = dependents.data();
  driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
  if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_ALL_FILES)) {
    Print("vq312ctl: the spooler refused the driver (error %lu)\n", GetLastError());
    return 1;
  }
  Print("Driver \"Morva VT-Q3120\" added\n");

  HANDLE existing = nullptr;
  if (OpenPrinterW(const_cast<wchar_t*>(options.printer.c_str()), &existing, nullptr)) {
    ClosePrinter(existing);
    Print("Printer \"%s\" already exists; its settings are seeded again\n",
          Narrow(options.printer).c_str());
  } else {
    PRINTER_INFO_2W printer{};
    printer.pPrinterName = const_cast<wchar_t*>(options.printer.c_str());
    printer.pPortName = const_cast<wchar_t*>(options.port.c_str());
    printer.pDriverName = const_cast<wchar_t*>(L"Morva VT-Q3120");
    printer.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    printer.pDatatype = const_cast<wchar_t*>(L"RAW");
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (!h) {
      Print("vq312ctl: cannot add the printer (error %lu)\n", GetLastError());
      return 1;
    }
    ClosePrinter(h);
    Print("Printer \"%s\" added on port %s\n", Narrow(options.printer).c_str(),
          Narrow(options.port).c_str());
  }

  const int rc = SendInitializeEvent(options.printer);
  if (rc != TRUE) {
    Print("vq312ctl: seeding the printer's settings failed (%d)\n", rc);
    return 1;
  }
  Print("Printer settings seeded\n");
  return 0;
}

}  // namespace vq::ctl
