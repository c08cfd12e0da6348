// Favourites: named copies of the whole job settings record, kept by the
// printer's administrator in printer data so that every user can pick them.
//
// APUI_ENTRYSET is always 13880 bytes: ten slots of 1388 bytes, each a used
// flag (u32, 1 in use, 0 free) followed by a complete 1384-byte record. Used
// slots stay packed at the front; APUI_ENTRYSETNUM counts them. The entry's
// name is its record's own SettingsName.
//
// Lists of favourites (the basic page's combo box and the dialog's list view)
// share one index: 0 the current unnamed settings, 1 the driver defaults,
// 2 + n user entry n. That index is what SettingsNameId of a record holds.
//
// Everything here is portable: the value is parsed and checked in memory, and
// the printer-data routines run over a PrinterStore.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "devinfo/paper_media.h"
#include "settings/job_settings.h"

namespace vq {

class PrinterStore;

inline constexpr uint32_t kFavouriteSlots = 10;
inline constexpr uint32_t kFavouriteEntrySize = 1388;
inline constexpr uint32_t kFixedFavouriteItems = 2;  // current settings, defaults
inline constexpr uint32_t kFavouriteNameChars = 16;  // what the name field accepts
inline constexpr uint32_t kFavouriteUsed = 1;

struct FavouriteEntry {
  uint32_t used;          // 0: 1 in use, 0 free
  JobSettings settings;   // 4
};
static_assert(sizeof(FavouriteEntry) == kFavouriteEntrySize);
static_assert(offsetof(FavouriteEntry, settings) == 4);
static_assert(kFavouriteSlots * kFavouriteEntrySize == 13880);

// The favourites as read from the printer: the ten slots and the three
// numbers. Plain data, so a page can keep it in its state.
struct FavouriteSet {
  FavouriteEntry slots[kFavouriteSlots];
  uint32_t count;     // APUI_ENTRYSETNUM: used slots, counted from the first
  uint32_t fixed;     // APUI_ENTRYSETDEFNUM: fixed items above the entries (2)
  uint32_t maximum;   // APUI_ENTRYSETMAXNUM: greatest number of user entries

  bool InUse(uint32_t slot) const { return slot < count && slots[slot].used == kFavouriteUsed; }
  // The record's name, up to its terminator (64 units at most).
  std::u16string Name(uint32_t slot) const;
};

// What is wrong with a stored APUI_ENTRYSET, from the reader's point of view.
enum class EntrySetStatus {
  kOk,
  kMissing,        // no value (or not binary)
  kWrongSize,      // not 13880 bytes
  kBadFlag,        // a used flag other than 0 or 1
  kNotPacked,      // a used slot after a free one
  kForeignRecord,  // a used slot whose record is not this driver's (signature, size)
  kFutureVersion,  // a used slot written by a newer driver (version above ours)
};
const char* EntrySetStatusName(EntrySetStatus status);

// Checks the bytes of a value against the layout above. Never reads past
// `size`; every malformed input gives a status, never a fault.
EntrySetStatus CheckEntrySet(const uint8_t* bytes, size_t size);

// Takes the slots of a value of the right size into *set (other fields kept)
// and trims set->count so that it designates only used slots that are this
// driver's records: a damaged value shows fewer favourites, never a broken
// one. false (set untouched) when the size is wrong.
bool LoadEntrySet(const uint8_t* bytes, size_t size, FavouriteSet* set);

// Reads APUI_ENTRYSET and the three numbers. false when the value or a
// number is missing or the value has the wrong size; *set is then zeroed.
bool ReadFavourites(PrinterStore* printer, FavouriteSet* set);
// Reads only the value (13880 bytes); false when it is missing or of another size.
bool ReadEntrySet(PrinterStore* printer, FavouriteSet* set);
// Writes the 13880-byte value.
bool WriteFavourites(PrinterStore* printer, const FavouriteSet& set);
// APUI_ENTRYSETNUM = newCount, then the value; false when a step fails,
// and then the former count is written back (nothing stored half-way).
bool SaveFavourites(PrinterStore* printer, const FavouriteSet& set, uint32_t newCount);
// Reads APUI_ENTRYSETNUM, writes it less one, then the value (the count is
// restored when the value cannot be written).
bool RemoveFavourite(PrinterStore* printer, const FavouriteSet& set);

// The narrow-margin rule of the paper list: a side margin, with its liner
// when the labels sit on a liner (layout 0), below 2.7 mm.
inline constexpr uint32_t kNarrowMarginLimit = 27;
bool PaperHasNarrowMargin(const PaperInfo& paper);

// Whether entry `slot` uses a paper that narrow margins forbid: its
// dmPaperSize looked up in the paper table. A paper missing from the table
// is not narrow (applying such an entry repairs it through validation).
bool FavouriteIsNarrow(const FavouriteSet& set, uint32_t slot, std::span<const PaperInfo> papers);

// The item text of a list index: fixed items take the caller's texts.
std::u16string FavouriteItemText(const FavouriteSet& set, uint32_t index,
                                 std::u16string_view currentText, std::u16string_view defaultText);

// Name field: at most 16 characters, no space (U+0020) nor ideographic
// space (U+3000).
bool IsFavouriteNameChar(char16_t c);
bool IsValidFavouriteName(std::u16string_view name);

// Save (add, rename or overwrite), decided before anything is stored.
enum class SaveStep {
  kNoName,         // no selection or an empty name: message 4086
  kReservedName,   // the name of item 0 or 1, spaces aside: message 4087
  kAskOverwrite,   // the name of a user entry: message 4002, then overwrite
  kRename,         // rename flag set: the selected entry takes the name
  kFull,           // a new entry would exceed the maximum: message 4088
  kAskNew,         // a new entry: message 4003, then add
};
struct SavePlan {
  SaveStep step;
  uint32_t slot;   // the target entry (overwrite, rename) or the next free slot (new)
};
// `selected` is the list index of the dialog's selection (-1: none).
SavePlan PlanSave(const FavouriteSet& set, int32_t selected, std::u16string_view name,
                  bool renaming, std::u16string_view currentText, std::u16string_view defaultText);

// Writes a name into a record's SettingsName: the field is cleared first.
void SetSettingsName(JobSettings* js, std::u16string_view name);
std::u16string SettingsNameOf(const JobSettings& js);

// Stores `work` as a new entry named `name` in the next free slot; false
// when the set is full (count at the maximum or at ten slots).
bool AddFavourite(FavouriteSet* set, const JobSettings& work, std::u16string_view name);
// Overwrite: the slot takes a copy of `work`; rename keeps the slot's record.
// Either way the slot's name becomes `name`.
void OverwriteFavourite(FavouriteSet* set, uint32_t slot, const JobSettings& work,
                        std::u16string_view name);
void RenameFavourite(FavouriteSet* set, uint32_t slot, std::u16string_view name);
// Deletes a used slot: the later ones move down, the last used one becomes
// zero bytes, count falls by one. false for a slot not in use.
bool DeleteFavouriteSlot(FavouriteSet* set, uint32_t slot);

// A list index after entry `deletedSlot` went: the item it designates keeps
// being designated (lowered when it moved down), or item 0 when it was the
// deleted entry itself.
uint32_t IndexAfterDeletion(uint32_t index, uint32_t deletedSlot);

// Page list: a selection changing to `index` (below 12) loads this.
enum class FavouriteLoad {
  kCurrent,   // index 0: only the name changes
  kDefaults,  // index 1: the default record
  kEntry,     // a used entry's record
  kNarrow,    // the entry's paper is narrow while narrow margins are not allowed
  kNothing,   // a free slot or an index out of range
};
FavouriteLoad ClassifyFavourite(const FavouriteSet& set, uint32_t index, bool narrowMarginAllowed,
                                std::span<const PaperInfo> papers);

// The paper of a loaded entry whose Paper was editable (customEditable not
// 0) is taken again from the paper table, by dmPaperSize, with its width and
// length: the user may have changed that paper since the entry was saved.
// Nothing happens when the table has no such paper.
void RefreshEditablePaper(JobSettings* js, std::span<const PaperInfo> papers);

// After deleting a user paper: each favourite that used it takes the paper
// fields of the default record (dmPaperSize, dmPaperLength, dmPaperWidth,
// dmFormName, Paper). Returns how many were repaired.
uint32_t RepairFavouritePaper(FavouriteSet* set, uint32_t paperId, const JobSettings& defaults);
// How many used favourites name paper `paperId`.
uint32_t FavouritesUsingPaper(const FavouriteSet& set, uint32_t paperId);

}  // namespace vq
