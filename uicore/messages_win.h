// Message boxes by number: text, caption and style come from the device
// module in the user's language.
#pragma once

#include <windows.h>

#include "devinfo/difm_api.h"

namespace vq {

// Shows message `id`; a "%s" in its text takes `argument`. Returns the
// button pressed, or 0 when the module has no such message.
int ShowMessageById(HWND owner, const DifmApi& difm, DifmHandle h, uint32_t id,
                    const wchar_t* argument = nullptr);

// Whether the user may administer the printer (it opens with
// PRINTER_ALL_ACCESS). When not, and when asked, tells the user so.
BOOL CheckPrinterAdminAccess(HWND owner, const wchar_t* printerName, BOOL showMessage);

}  // namespace vq
