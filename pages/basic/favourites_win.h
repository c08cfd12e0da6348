// The favourites on the basic settings page (the combo box 1292 and button
// 1295) and the favourites dialog (template 8000) it opens.
//
// The basic page keeps a FavouriteSet in its own state and calls:
//   init:            ReadPageFavourites, FillFavouritesList(first = true),
//                    SelectFavourite; button 1295 enabled by
//                    FavouritesDialogAllowed
//   CBN_SELCHANGE:   ApplyFavourite(index), then refreshes its own controls
//                    when something was loaded (FavouriteApplied says what)
//   button 1295:     RunFavouritesDialog, then ApplyFavourite with the index
//                    it returns, as for a selection
//   narrow-margin
//   rule changed:    FillFavouritesList(first = false), SelectFavourite
// What follows a load (the settings-name text 1104, snapshots, the page's
// controls, PSM_CHANGED, the preview, the minimum-length rule, the colour
// page's remembered lists) is the page's own work.
#pragma once

#include <windows.h>

#include <memory>

#include "pages/basic/favourites.h"
#include "uicore/sheet_context_win.h"

namespace vq {

inline constexpr int kFavouritesListControl = 1292;   // on the basic page
inline constexpr int kFavouritesButtonControl = 1295;

// The favourites of the sheet's printer (APUI_ENTRYSET and its three
// numbers). false when the value is missing or damaged beyond use: the page
// then stops initialising, as with a missing paper table. A value with a few
// damaged slots loads the good ones (see LoadEntrySet).
bool ReadPageFavourites(const SheetContext& sheet, FavouriteSet* set);

// Fills the page's list 1292 (a ComboBoxEx): item 0 "current settings",
// item 1 "default settings", then one item per used slot, each with its
// icon (291, 296, 298, or 299 for an entry whose paper has narrow margins
// while they are not allowed). `first`: the 13-image list is made and
// attached; later calls reuse it. The image list goes with the combo box.
void FillFavouritesList(HWND page, const SheetContext& sheet, const FavouriteSet& set,
                        bool narrowMarginAllowed, bool first);

// Selects item SettingsNameId of the working record. A SettingsNameId that
// designates a free slot becomes 0 ("current settings"); a working record on
// a narrow-margin paper while those are not allowed becomes 0 after message
// text 5387 (caption 5389).
void SelectFavourite(HWND page, SheetContext& sheet, const FavouriteSet& set,
                     bool narrowMarginAllowed);

enum class FavouriteApplied {
  kNameOnly,  // index 0: SettingsName / SettingsNameId reset, nothing else
  kDefaults,  // index 1: the working record is the default record now
  kEntry,     // a favourite was copied over the working record
  kRefused,   // narrow-margin favourite: message 5388 shown, list back to item 0
  kNothing,   // free slot or index out of range: nothing changed
};

// Loads list index `index` into the sheet's working record (SettingsName and
// SettingsNameId included). The entry's record is checked with
// ValidateJobSettings before it is taken: a damaged favourite never becomes
// the working record (kNothing).
FavouriteApplied ApplyFavourite(HWND page, SheetContext& sheet, const FavouriteSet& set,
                                uint32_t index, bool narrowMarginAllowed);

// The printer as the administrator's dialogs write to it: opened by name
// with PRINTER_ALL_ACCESS (the sheet's own handle may only have been opened
// for use); the sheet's handle when the name does not open that way.
std::unique_ptr<PrinterStore> OpenAdminStore(const SheetContext& sheet);

// Button 1295 is enabled only in user-default mode and when the printer
// opens with PRINTER_ALL_ACCESS.
bool FavouritesDialogAllowed(const SheetContext& sheet);

// Button 1295: reads the favourites again into *set, runs the dialog from
// the page's current list index, refills and reselects list 1292, and
// returns the list index the page is to apply (ApplyFavourite). On OK the
// working record's SettingsNameId is already that index; on Cancel the index
// still designates the item the page showed (lowered when entries before it
// were deleted).
uint32_t RunFavouritesDialog(HWND page, SheetContext& sheet, FavouriteSet* set,
                             bool narrowMarginAllowed);

// The dialog alone, for callers with their own list (and for tests): the
// favourites in *set are edited and stored in the printer; *selection is
// the list index the dialog starts on and, on OK, the one it ended on.
// Returns IDOK, IDCANCEL, or -1 when the template cannot be created.
INT_PTR ShowFavouritesDialog(HWND owner, SheetContext& sheet, FavouriteSet* set,
                             uint32_t* selection, bool narrowMarginAllowed);

}  // namespace vq
