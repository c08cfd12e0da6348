#include "uicore/messages_win.h"

#include <winspool.h>

#include "base/module_win.h"
#include "devinfo/difm_loader_win.h"
#include "devinfo/text_ids.h"
#include "settings/job_settings.h"
#include "settings/printer_store_win.h"
#include "uicore/texts.h"
#include "uicore/texts_win.h"

namespace vq {

std::wstring FormatMessageText(const std::wstring& text, const wchar_t* argument) {
  if (!argument) return text;
  const std::string conversions = FormatConversions(U(text.c_str()));
  if (!conversions.empty() && conversions != "s") return text;
  // Room for the text and the argument with its terminator; wsprintfW also
  // stops at 1024 characters whatever the buffer.
  std::wstring formatted(text.size() + 2 * (wcslen(argument) + 1), L'\0');
  const int n = wsprintfW(formatted.data(), text.c_str(), argument);
  formatted.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return formatted;
}

int ShowMessageById(HWND owner, const DifmApi& difm, DifmHandle h, uint32_t id,
                    const wchar_t* argument) {
  if (!difm.DifmGetRealDataMsg || !h) return 0;
  uint32_t textBytes = 0, captionBytes = 0, style = 0;
  if (!difm.DifmGetRealDataMsg(h, id, nullptr, &textBytes, nullptr, &captionBytes, &style))
    return 0;
  // size + 2 zeroed bytes each, as the module's two-call rule asks.
  std::wstring text(textBytes / 2 + 1, L'\0'), caption(captionBytes / 2 + 1, L'\0');
  difm.DifmGetRealDataMsg(h, id, reinterpret_cast<char16_t*>(text.data()), &textBytes,
                          reinterpret_cast<char16_t*>(caption.data()), &captionBytes, &style);
  text.resize(wcslen(text.c_str()));
  return MessageBoxW(owner, FormatMessageText(text, argument).c_str(), caption.c_str(), style);
}

int ShowMessageById(HWND owner, uint32_t id, const wchar_t* argument) {
  return ShowMessageById(owner, DeviceInfoApi(), CurrentTextHandle(), id, argument);
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
    ShowMessageById(owner, difm, map.get(), text_ids::kNeedsAdminRightsMessage);
  }
  return FALSE;
}

}  // namespace vq
