// Small controls that several pages share: edits for signed numbers and for
// fields where Enter and Escape must not close the sheet, integer and
// fixed-point text in edits, and tooltips fed by text numbers.
#pragma once

#include <windows.h>

#include "devinfo/difm_api.h"
#include "uicore/dialog_layout.h"
#include "uicore/layout.h"

namespace vq {

// The window procedures the edit subclasses hand on to. One slot serves
// every signed-number edit (they are all standard edits, with one class
// procedure); the Enter/Escape edits keep one slot per control id.
//
// The slots belong to the open property sheet, so that two sheets open at
// once do not disturb each other: the calling thread's sheet's slots, or one
// process-wide set on a thread with no sheet open.
struct EditProcSlots {
  static constexpr uint32_t kDialogKeyEditIds[4] = {1007, 1107, 1165, 2001};

  WNDPROC signedNumber = nullptr;
  WNDPROC dialogKey[4] = {};

  // The slot of an Enter/Escape edit; null for an id without one.
  WNDPROC* DialogKeySlot(uint32_t controlId);
};

EditProcSlots& CurrentEditSlots();

// Digits, backspace and a leading "-" only; an edit left empty or holding
// only "-" becomes "0".
LRESULT CALLBACK SignedNumberEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

// Asks the dialog manager for Enter and Escape and then drops them, so they
// neither close the sheet nor reach the edit.
LRESULT CALLBACK DialogKeyEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

// Installs the subclasses above, saving the edit's procedure in the current
// slots. The signed-number edit takes at most maxChars characters. FALSE for
// a missing window, or an Enter/Escape edit whose id has no slot.
BOOL SubclassSignedNumberEdit(HWND edit, uint32_t maxChars);
BOOL SubclassDialogKeyEdit(HWND edit);

// A name field (favourites, custom media types): typed spaces of either
// width are dropped, and so are "@" and U+0081 while the space key is held,
// which some input methods send for the space bar. The subclass goes with
// the window.
BOOL SubclassNameEdit(HWND edit);

// The edit's integer: kEmptyEditInteger (2147483647) when it is empty. A
// leading zero is dropped from the field on each reading ("007" becomes
// "07").
int32_t ReadEditInteger(HWND edit);
void WriteEditInteger(HWND edit, int32_t value);

// Whether the user's number format writes "." before the fraction: the
// point flag of FormatFixedPoint.
BOOL LocaleUsesDecimalPoint();

inline int FormatFixedPoint(uint32_t value, uint32_t divisor, bool usePoint, bool twoDigits,
                            wchar_t* out, uint32_t outBytes, uint32_t* requiredBytes) {
  return FormatFixedPoint(value, divisor, usePoint, twoDigits, reinterpret_cast<char16_t*>(out),
                          outBytes, requiredBytes);
}
inline int StripTabs(wchar_t* text) { return StripTabs(reinterpret_cast<char16_t*>(text)); }

// A tooltip for each row's control, with the text of the row's text number
// from `texts` (the sheet's mapping of the device module), until a row with
// control id 0. The tooltip window belongs to the dialog and goes with it.
// Rows whose control is missing are skipped; an unknown text gives an empty
// tip. Always returns 1.
int CreateDialogTooltips(HWND dialog, const TooltipRow* rows, const DifmApi& difm,
                         DifmHandle texts);

}  // namespace vq
