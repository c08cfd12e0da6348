// The frame every dialog a page opens runs in (favourites, custom paper,
// colour detail, summary, version, overlay settings, the maintenance
// dialogs): one pattern for all of them.
//
// A dialog is a data struct owned by one public function, a DialogRow that
// says which template, layout, texts and help it has, and a few handlers.
// The public function fills the struct, calls RunModalDialog and reads the
// struct back; the handlers only move values between the controls and the
// struct. The frame does the layout at the screen's DPI, the icons, the
// texts, the pop-up help and the Help button, and only its procedure writes
// DWLP_MSGRESULT.
//
//   struct FavouritesData { ... };
//   const DialogRow kFavouritesDialog = {IDD_FAVOURITES, &pages::kLayoutFavourites, ...};
//   INT_PTR ShowFavouritesDialog(HWND owner, ...) {
//     FavouritesData data{...};
//     return RunModalDialog(owner, kFavouritesDialog, &data);
//   }
#pragma once

#include <windows.h>

#include <cstdint>

#include "uicore/layout.h"

namespace vq {

struct DialogRow;

// One message to one dialog.
struct DialogCall {
  HWND dialog;
  const DialogRow& row;
  void* data;

  template <typename Data>
  Data& Get() const {
    return *static_cast<Data*>(data);
  }
  // Closes the dialog; RunModalDialog returns `result`.
  void End(INT_PTR result) const { EndDialog(dialog, result); }
};

// What a dialog does beyond the frame; any handler may be null. Without a
// command handler, IDOK and IDCANCEL close the dialog with their own id.
struct DialogHandlers {
  void (*init)(DialogCall&) = nullptr;  // after layout, icons and texts
  // True: handled. IDOK and IDCANCEL not handled close the dialog.
  bool (*command)(DialogCall&, UINT id, UINT code) = nullptr;
  // Answers WM_NOTIFY; `handled` false leaves it to the default handling.
  LRESULT (*notify)(DialogCall&, const NMHDR&, bool* handled) = nullptr;
  bool (*drawItem)(DialogCall&, const DRAWITEMSTRUCT&) = nullptr;  // true: drawn
  void (*timer)(DialogCall&, UINT_PTR id) = nullptr;
  // Messages the frame does not route (WM_HSCROLL, private WM_APP ones ...);
  // true: handled.
  bool (*other)(DialogCall&, UINT message, WPARAM, LPARAM) = nullptr;
  void (*destroy)(DialogCall&) = nullptr;  // the window goes
  // WM_CTLCOLOR* messages: the brush to answer with, null for the default.
  HBRUSH (*ctlColor)(DialogCall&, UINT message, HDC, HWND control) = nullptr;
};

struct DialogRow {
  uint32_t templateId;
  const DialogLayout* layout;
  const TextRow* texts;
  const TextRow* help;      // pop-up help of the controls, may be null
  uint16_t titleText;       // the caption, 0 = the template's
  const wchar_t* helpTopic; // the Help button (IDHELP) and F1, may be null
  DialogHandlers handlers;
};

// Runs the dialog modally from the driver's own template and returns what
// its handlers passed to End (IDOK / IDCANCEL by default), or -1 when the
// template cannot be created.
INT_PTR RunModalDialog(HWND owner, const DialogRow& row, void* data);

}  // namespace vq
