// The custom media type editor (template 402), opened from the utility
// page's button 1092 after its access check.
#pragma once

#include <windows.h>

#include "uicore/sheet_context_win.h"

namespace vq {

// Runs the editor modally; returns 0. When it changed the printer's media
// table and the sheet keeps one (the document sheet), the sheet's table is
// read again, so the basic page offers the new media when it is shown next.
INT_PTR ShowMediaEditor(HWND owner, SheetContext& sheet);

}  // namespace vq
