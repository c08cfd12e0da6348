#include "tools/sheet_host/sheet_host_win.h"

#include <commctrl.h>

namespace vq::host {
namespace {

struct Host {
  SheetEntry entry;
  PROPSHEETUI_INFO info;
  std::vector<HPROPSHEETPAGE> pages;
  HostResult result;
};

// The host side of the driver interface: only what drivers call of it here.
LONG_PTR CALLBACK HostCallback(HANDLE hComPropSheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
  auto* host = static_cast<Host*>(hComPropSheet);
  switch (function) {
    case CPSFUNC_ADD_PROPSHEETPAGEW: {
      HPROPSHEETPAGE page = CreatePropertySheetPageW(reinterpret_cast<PROPSHEETPAGEW*>(lParam1));
      if (!page) return 0;
      host->pages.push_back(page);
      return reinterpret_cast<LONG_PTR>(page);
    }
    case CPSFUNC_SET_RESULT: {
      SETRESULT_INFO sri{};
      sri.cbSize = sizeof sri;
      sri.hSetResult = reinterpret_cast<HANDLE>(lParam1);
      sri.Result = lParam2;
      PROPSHEETUI_INFO info = host->info;
      info.Reason = PROPSHEETUI_REASON_SET_RESULT;
      host->entry(&info, reinterpret_cast<LPARAM>(&sri));
      host->result.setResult = info.Result;
      ++host->result.setResultCalls;
      return 1;
    }
    default:
      return 0;  // not offered by this host
  }
}

struct Driver {
  std::wstring caption;
  std::function<void(HWND)> drive;
};

DWORD WINAPI DriveThread(void* p) {
  auto* d = static_cast<Driver*>(p);
  if (HWND sheet = WaitForSheet(d->caption)) d->drive(sheet);
  return 0;
}

// The sheet-thread callback of the sheet being run: PropertySheetW's
// callback carries no context of its own, and one thread runs one modal
// sheet at a time.
thread_local std::function<void(HWND)>* t_onReady = nullptr;
constexpr UINT kReadyMessage = WM_APP + 0x31;

LRESULT CALLBACK ReadySubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (msg == kReadyMessage) {
    RemoveWindowSubclass(hwnd, ReadySubclass, id);
    if (t_onReady && *t_onReady) (*t_onReady)(hwnd);
    return 0;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// Posted from the sheet's initialisation, the ready message arrives once the
// first page exists and before the first paint.
int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM) {
  if (msg == PSCB_INITIALIZED && SetWindowSubclass(hwnd, ReadySubclass, 1, 0))
    PostMessageW(hwnd, kReadyMessage, 0, 0);
  return 0;
}

}  // namespace

HWND WaitForSheet(const std::wstring& caption, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 20) {
    if (HWND w = FindWindowW(L"#32770", caption.empty() ? nullptr : caption.c_str())) return w;
    Sleep(20);
  }
  return nullptr;
}

HostResult RunSheet(SheetEntry entry, void* lParamInit, const std::wstring& caption,
                    std::function<void(HWND)> driveSheet, std::function<void(HWND)> onReady) {
  Host host{entry, {}, {}, {}};
  host.info.cbSize = sizeof host.info;
  host.info.Version = PROPSHEETUI_INFO_VERSION;
  host.info.Reason = PROPSHEETUI_REASON_INIT;
  host.info.hComPropSheet = &host;
  host.info.pfnComPropSheet = HostCallback;
  host.info.lParamInit = reinterpret_cast<LPARAM>(lParamInit);
  host.result.initResult = entry(&host.info, 0);
  host.result.pages = host.pages.size();
  if (host.result.initResult == 1 && !host.pages.empty()) {
    PROPSHEETHEADERW psh{};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_NOCONTEXTHELP;
    psh.pszCaption = caption.c_str();
    psh.nPages = static_cast<UINT>(host.pages.size());
    psh.phpage = host.pages.data();
    if (onReady) {
      psh.dwFlags |= PSH_USECALLBACK;
      psh.pfnCallback = SheetCallback;
    }
    t_onReady = &onReady;
    Driver driver{caption, driveSheet};
    HANDLE thread = driveSheet ? CreateThread(nullptr, 0, DriveThread, &driver, 0, nullptr) : nullptr;
    host.result.sheetResult = PropertySheetW(&psh);
    t_onReady = nullptr;
    if (thread) {
      WaitForSingleObject(thread, 10000);
      CloseHandle(thread);
    }
  }
  host.info.Reason = PROPSHEETUI_REASON_DESTROY;
  host.result.destroyResult = entry(&host.info, 0);
  return host.result;
}

bool SaveWindowBitmap(HWND window, const std::wstring& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;  // bottom-up, as BMP files keep rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (dib) {
    HGDIOBJ old = SelectObject(mem, dib);
    ok = BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(mem, old);
    const DWORD stride = (w * 3 + 3) & ~3, size = stride * h;
    constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER fh{0x4D42, kHeaders + size, 0, 0, kHeaders};
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n;
    ok = ok && f != INVALID_HANDLE_VALUE && WriteFile(f, &fh, sizeof fh, &n, nullptr) &&
         WriteFile(f, &bi.bmiHeader, sizeof bi.bmiHeader, &n, nullptr) &&
         WriteFile(f, bits, size, &n, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    DeleteObject(dib);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

int ScreenshotEveryPage(HWND sheet, const std::wstring& folder) {
  HWND tab = PropSheet_GetTabControl(sheet);
  const int count = tab ? TabCtrl_GetItemCount(tab) : 0;
  int saved = 0;
  for (int i = 0; i < count; ++i) {
    SendMessageW(sheet, PSM_SETCURSEL, i, 0);
    RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(400);  // let the X server show it before reading the screen back
    saved += SaveWindowBitmap(sheet, folder + L"\\page-" + std::to_wstring(i + 1) + L".bmp");
  }
  return saved;
}

int ScreenshotAndCancel(HWND sheet, const std::wstring& folder) {
  Sleep(500);  // the first page's painting and the icons
  const int saved = ScreenshotEveryPage(sheet, folder);
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  return saved;
}

}  // namespace vq::host
