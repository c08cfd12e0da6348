// The paper picture in a page's owner-drawn frame, and for the basic page
// the orientation picture beside it (geometry and choices: page_preview.h).
// The bitmaps come from the resource module VQ312RD.dll.
#pragma once

#include <windows.h>

#include "settings/job_settings.h"

namespace vq {

// WM_DRAWITEM of a page with a preview: draws the sheet picture when `item`
// is the frame of `mode`, the orientation picture when it is the picture
// control of mode 1 or 2. false for any other control (not drawn).
bool DrawPreviewItem(HMODULE resources, const DRAWITEMSTRUCT& item, const JobSettings& js,
                     uint32_t mode);

// Draws both parts into their controls at once, outside WM_DRAWITEM.
void DrawPagePreview(HMODULE resources, HWND dialog, const JobSettings& js, uint32_t mode);

// Asks for both parts to be drawn again (after a change of the record).
void RedrawPagePreview(HWND dialog, uint32_t mode);

}  // namespace vq
