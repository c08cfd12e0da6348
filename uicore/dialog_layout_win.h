// The layout engine: pages and dialogs are placed from their 96-DPI layout
// tables at the screen's DPI, and the static controls the tables name get
// their icons, which are drawn for 192 DPI.
//
// On a page's WM_INITDIALOG: ApplyPageLayout, ApplySheetFrameLayout on the
// page's parent, invalidate the frame without erasing, AttachLayoutIcons,
// then the texts. On a modal dialog's: ApplyDialogLayout with the screen
// pair, then AttachLayoutIcons. On WM_DESTROY of either: ReleaseLayoutIcons
// with the same table. A failed layout leaves the template's geometry: the
// page goes on either way, and the codes are never shown to the user.
#pragma once

#include <windows.h>

#include "uicore/dialog_layout.h"

namespace vq {

// The screen's DPI, horizontal and vertical. Written at every property-sheet
// entry (and by tests), read by the functions below; not locked, every
// writer writes what the screen says.
extern uint32_t screenDpiX;
extern uint32_t screenDpiY;

// Reads the pair from the screen device context; 96 x 96 when there is none.
void RefreshScreenDpi();
// Sets the pair, for tests that lay out as if the screen had this DPI.
void SetScreenDpi(uint32_t dpiX, uint32_t dpiY);
inline DpiPair ScreenDpi() { return {screenDpiX, screenDpiY}; }

// All of these return non-zero on success and 0 on failure, with a
// LayoutCode in *code when code is given.

// Sizes the dialog so that its client area is the table's size scaled (the
// frame around it comes from the dialog's style at 96 DPI, scaled with the
// rest) and moves every row's control. At 96 x 96 nothing is touched.
BOOL ApplyDialogLayout(uint32_t dpiX, uint32_t dpiY, HWND dialog, const DialogLayout* layout,
                       int32_t* code = nullptr);

// The same for a property page at the screen pair; a page has no frame, so
// the table's size is the window's size.
BOOL ApplyPageLayout(HWND page, const DialogLayout* layout, int32_t* code = nullptr);

// Sizes the property-sheet frame (the page's parent) and moves its OK,
// Cancel, Apply and Help buttons and its tab control, grown by whatever the
// system made the tab control larger than designed.
BOOL ApplySheetFrameLayout(HWND frame, const SheetFrameLayout* layout, int32_t* code = nullptr);

// Loads an icon resource of `module` at the size that the pair asks for (see
// DpiIconLoadSize). The caller owns *icon and destroys it.
BOOL LoadDpiIcon(uint32_t dpiX, uint32_t dpiY, HMODULE module, uint32_t iconId, HICON* icon,
                 int32_t* code = nullptr);

// Sets each row's icon on its static control (STM_SETICON). Stops at the
// first icon that cannot be loaded: that row and those after it stay empty.
BOOL AttachLayoutIcons(uint32_t dpiX, uint32_t dpiY, HMODULE module, HWND dialog,
                       const DialogLayout* layout, int32_t* code = nullptr);

// Takes back and destroys the icons AttachLayoutIcons set. Non-zero when
// the window was given.
BOOL ReleaseLayoutIcons(HWND dialog, const DialogLayout* layout, int32_t* code = nullptr);

// Copies an 8- or 24-bit DIB section into a 24- or 32-bit one with its
// top-left corner at (x, y) from the destination's top. -1 for a bitmap that
// is not a DIB section or an 8-bit one whose colour table cannot be read.
BOOL PasteBitmap(HBITMAP source, HBITMAP destination, int x, int y, int32_t* code = nullptr);

}  // namespace vq
