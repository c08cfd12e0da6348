// The colour page: colour mode, resolution, halftone, grayscale, colour
// preview; and the preview drawing the colour adjustment dialog shares.
#pragma once

#include "pages/sheet/page_win.h"

namespace vq {

extern const PageRow kColourPage;

// MCC4Preview of VQ312CC.dll: source packed bitmap, destination of the
// same size, the record's colour block. Its result is not used.
using ColourPreviewFn = int(WINAPI*)(const void* source, void* dest, const void* colourBlock);

// Draws the colour preview of `settings` over `area` of `dc`: the grayscale
// picture (bitmap 395 of `resources`) as it is for grayscale at full tone,
// else the sample picture ("BIN" 397) printed through `render`. Nothing is
// drawn without `render`, or when the picture is missing or its header
// disagrees with its size. True when a picture was drawn.
bool DrawColourPreview(HDC dc, const RECT& area, const JobSettings& settings, HMODULE resources,
                       ColourPreviewFn render);

}  // namespace vq
