#include "uicore/messages_win.h"

#include <winspool.h>

#include <string>

#include "entry/module_win.h"

namespace vq {

int ShowMessageById(HWND owner, const DifmApi& difm, DifmHandle h, uint32_t id,
                    const wchar_t* argument) {
  if (!difm.DifmGetRealDataMsg || !h) return 0;
  uint32_t textBytes = 0, captionBytes = 0, style = 0;
  if (!difm.DifmGetRealDataMsg(h, id, nullptr, &textBytes, nullptr, &captionBytes, &style))
    return 0;
  std::wstring text(textBytes / 2 + 1, L'\0'), caption(captionBytes / 2 + 1, L'\0');
  difm.DifmGetRealDataMsg(h, id, reinterpret_cast<char16_t*>(text.data()), &textBytes,
                          reinterpret_cast<char16_t*>(caption.data()), &captionBytes, &style);
  text.resize(textBytes / 2);
  if (argument) {
    // The message text is the format; the argument its only insert. The
    // buffer holds the text plus the argument (wsprintfW's limit is 1024).
    std::wstring formatted(text.size() + 2 * (wcslen(argument) + 1) + 1, L'\0');
    const int n = wsprintfW(formatted.data(), text.c_str(), argument);
    formatted.resize(n > 0 ? static_cast<size_t>(n) : 0);
    text = formatted;
  }
  return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

BOOL CheckPrinterAdminAccess(HWND owner, const wchar_t* printerName, BOOL showMessage) {
  HANDLE h = nullptr;
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (printerName && OpenPrinterW(const_cast<wchar_t*>(printerName), &h, &defaults)) {
    ClosePrinter(h);
    return TRUE;
  }
  if (showMessage) {
    const DifmApi& difm = DeviceInfoApi();
    DifmMapping map(difm, kModelName);
    ShowMessageById(owner, difm, map.get(), 4080);
  }
  return FALSE;
}

}  // namespace vq
