// `vq312ctl prefs` opens Printing Preferences of the printer the way an
// application does (DocumentPropertiesW with a prompt, through the system's
// property-sheet host); `vq312ctl props` opens the printer properties' pages
// (the device sheet) in this project's own host, since Wine's
// PrinterProperties never reaches a driver. With --screenshots DIR every
// page is shown in turn, saved as DIR\page-N.bmp, the dialogs of the basic
// page (prefs) or of the utility page (props) as DIR\dialog-NAME.bmp (opened
// by their buttons), and the sheet cancelled.
#include <windows.h>
#include <winspool.h>

#include <vector>

#include "base/ddk_win.h"
#include "tools/sheet_host/dialog_shots_win.h"
#include "tools/sheet_host/sheet_host_win.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {
namespace {

struct Shooter {
  std::wstring folder;
  int saved = 0;
  int dialogs = 0;  // the basic page's dialogs, opened by their buttons
};

DWORD WINAPI ShootAndCancel(void* p) {
  auto* s = static_cast<Shooter*>(p);
  if (HWND sheet = host::WaitForSheet(L"")) {
    Sleep(500);
    s->saved = host::ScreenshotEveryPage(sheet, s->folder);
    s->dialogs = host::ScreenshotPageDialogs(sheet, 0, host::kBasicPageDialogs, s->folder);
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  }
  return 0;
}

std::wstring ConfigFile(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> buf(needed ? needed : 1);
  if (!GetPrinterDriverW(printer, nullptr, 3, buf.data(), needed, &needed)) return {};
  return reinterpret_cast<const DRIVER_INFO_3W*>(buf.data())->pConfigFile;
}

}  // namespace

int RunPrefs(const Options& options, const std::wstring& screenshots) {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(options.printer.c_str()), &printer, nullptr)) {
    Print("vq312ctl: no printer \"%s\"\n", Narrow(options.printer).c_str());
    return 1;
  }
  auto* name = const_cast<wchar_t*>(options.printer.c_str());
  const LONG size = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
  std::vector<BYTE> in(size > 0 ? size : 1), out(size > 0 ? size : 1);
  DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(in.data()), nullptr,
                      DM_OUT_BUFFER);
  Shooter shooter{screenshots};
  HANDLE thread = screenshots.empty() ? nullptr : CreateThread(nullptr, 0, ShootAndCancel, &shooter, 0, nullptr);
  const LONG rc = DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(out.data()),
                                      reinterpret_cast<DEVMODEW*>(in.data()),
                                      DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
  if (thread) {
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
  }
  ClosePrinter(printer);
  Print("Printing Preferences closed (%ld)\n", rc);
  if (!screenshots.empty())
    Print("%d page and %d dialog screenshots in %s\n", shooter.saved, shooter.dialogs,
          Narrow(screenshots).c_str());
  return rc < 0 || (!screenshots.empty() && shooter.saved == 0) ? 1 : 0;
}

int RunProps(const Options& options, const std::wstring& screenshots) {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(options.printer.c_str()), &printer, nullptr)) {
    Print("vq312ctl: no printer \"%s\"\n", Narrow(options.printer).c_str());
    return 1;
  }
  HMODULE ui = LoadLibraryW(ConfigFile(printer).c_str());
  auto entry = ui ? reinterpret_cast<host::SheetEntry>(
                        reinterpret_cast<void*>(GetProcAddress(ui, "DrvDevicePropertySheets")))
                  : nullptr;
  if (!entry) {
    Print("vq312ctl: the driver's user interface module cannot be loaded\n");
    ClosePrinter(printer);
    return 1;
  }
  DEVICEPROPERTYHEADER header{sizeof header, 0, printer, const_cast<wchar_t*>(options.printer.c_str())};
  int saved = 0, dialogs = 0;
  const std::wstring caption = options.printer + L" Properties";
  // The device sheet holds the utility page alone.
  const host::HostResult r = host::RunSheet(entry, &header, caption, screenshots.empty()
      ? std::function<void(HWND)>()
      : [&](HWND sheet) {
          Sleep(500);  // the first page's painting and the icons
          saved = host::ScreenshotEveryPage(sheet, screenshots);
          dialogs = host::ScreenshotPageDialogs(sheet, 0, host::kUtilityPageDialogs, screenshots);
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
  FreeLibrary(ui);
  ClosePrinter(printer);
  Print("Printer properties: INIT %ld, %zu page(s), closed (%lld), DESTROY %ld\n", r.initResult,
        r.pages, static_cast<long long>(r.sheetResult), r.destroyResult);
  if (!screenshots.empty())
    Print("%d page and %d dialog screenshots in %s\n", saved, dialogs, Narrow(screenshots).c_str());
  return r.initResult == 1 ? 0 : 1;
}

}  // namespace vq::ctl
