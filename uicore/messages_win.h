// Message boxes by number: text, caption and style come from the device
// module in the user's language.
#pragma once

#include <windows.h>

#include <string>

#include "devinfo/difm_api.h"

namespace vq {

// Shows message `id`; a "%s" in its text takes `argument`. Returns the
// button pressed, or 0 when the module has no such message.
int ShowMessageById(HWND owner, const DifmApi& difm, DifmHandle h, uint32_t id,
                    const wchar_t* argument = nullptr);

// The same with the texts of the current sheet (CurrentTextHandle).
int ShowMessageById(HWND owner, uint32_t id, const wchar_t* argument = nullptr);

// The text a message shows: with an argument, `text` used as the wsprintfW
// format with the argument as its one insert. A text whose conversions are
// not a single "%s" (or none) is shown as it stands: the one argument cannot
// feed it safely.
std::wstring FormatMessageText(const std::wstring& text, const wchar_t* argument);

// Whether the user may administer the printer (it opens with
// PRINTER_ALL_ACCESS). When not, and when asked, tells the user so.
BOOL CheckPrinterAdminAccess(HWND owner, const wchar_t* printerName, BOOL showMessage);

}  // namespace vq
