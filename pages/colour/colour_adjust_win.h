// The colour adjustment dialog the colour page's Details button opens:
// colour balance, brightness, contrast, gamma, colour style and the black
// ink option, with a live preview.
#pragma once

#include "pages/colour/colour_page_win.h"
#include "uicore/sheet_context_win.h"

namespace vq {

// Runs the dialog modally over `owner`. The sheet's working record changes
// only on OK; the caller compares it before and after. `render` draws the
// preview (null: the preview stays blank). Returns 0 in every case.
INT_PTR ShowColourAdjustDialog(HWND owner, SheetContext& sheet, ColourPreviewFn render);

}  // namespace vq
