// Scroll bars whose trough fades from white to an ink colour, so that a bar
// shows which ink it sets (the colour detail dialog's balance bars, the
// media editor's ink amounts).
//
// The dialog answers WM_CTLCOLORSCROLLBAR for such a bar with
// PaintGradientBar: the trough is drawn once into a bitmap kept in the
// dialog's cache slot, blitted between the arrows on every paint, and the
// hollow brush returned keeps the bar from painting over it. The dialog
// frees its slots with FreeGradientBitmaps at every way out.
#pragma once

#include <windows.h>

#include <cstddef>

namespace vq {

// Paints `bar`'s trough on `dc` from *cache (made on first use). Returns the
// brush to answer the message with; null (the default) when the bar has no
// room for a trough or the bitmap cannot be made.
HBRUSH PaintGradientBar(HWND bar, HDC dc, COLORREF ink, HBITMAP* cache);

void FreeGradientBitmaps(HBITMAP* cache, size_t count);

}  // namespace vq
