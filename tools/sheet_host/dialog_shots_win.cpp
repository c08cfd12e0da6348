#include "tools/sheet_host/dialog_shots_win.h"

#include <commctrl.h>
#include <prsht.h>

#include "tools/sheet_host/sheet_host_win.h"

namespace vq::host {

const std::vector<DialogButton> kBasicPageDialogs = {
    {1295, L"favourites"}, {1293, L"summary"}, {1296, L"version"}, {1101, L"custom-paper"}};
const std::vector<DialogButton> kUtilityPageDialogs = {{1092, L"media-editor"}};

namespace {

// A visible top-level window of the sheet's thread other than the sheet.
HWND WaitForDialog(HWND sheet, DWORD ms) {
  const DWORD thread = GetWindowThreadProcessId(sheet, nullptr);
  for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end; Sleep(50)) {
    std::pair<HWND, HWND> found{sheet, nullptr};
    EnumThreadWindows(thread, [](HWND w, LPARAM p) {
      auto* f = reinterpret_cast<std::pair<HWND, HWND>*>(p);
      if (w != f->first && IsWindowVisible(w) && GetWindow(w, GW_OWNER)) {
        f->second = w;
        return FALSE;
      }
      return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    if (found.second) return found.second;
  }
  return nullptr;
}

}  // namespace

int ScreenshotPageDialogs(HWND sheet, int page, const std::vector<DialogButton>& buttons,
                          const std::wstring& folder) {
  SendMessageW(sheet, PSM_SETCURSEL, page, 0);
  HWND pageWindow = PropSheet_GetCurrentPageHwnd(sheet);
  int saved = 0;
  for (const DialogButton& b : buttons) {
    HWND button = GetDlgItem(pageWindow, b.control);
    if (!button || !IsWindowEnabled(button)) continue;
    PostMessageW(pageWindow, WM_COMMAND, MAKEWPARAM(b.control, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    HWND dialog = WaitForDialog(sheet, 3000);
    if (!dialog) continue;
    Sleep(400);  // painted, and shown by the X server
    saved += SaveWindowBitmap(dialog, folder + L"\\dialog-" + b.name + L".bmp");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 60 && IsWindow(dialog); ++i) Sleep(50);
  }
  return saved;
}

}  // namespace vq::host
