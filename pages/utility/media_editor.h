// The decisions of the custom media type editor (template 402) and of
// `vq312ctl media`: the media table as stored (APUI_MEDIADATACOUNT and
// APUI_MEDIADATA), the class defaults that new values start from and that
// warn above, the name rules, and what Save, Delete and Close do. All of it
// is portable and runs over a PrinterStore; the dialog and the console tool
// only show the messages these choose and answer the questions.
//
// Custom media are the records with ids 262..361; every other record is
// built in and is shown read-only. The eight ink values of a record are kept
// in record order: set 1 black, cyan, magenta, yellow, then set 2 the same.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devinfo/paper_media.h"

namespace vq {

class PrinterStore;
struct FavouriteSet;

namespace media {

inline constexpr uint32_t kMaxCustomMedia = kLastUserMediaId - kFirstUserMediaId + 1;  // 100
inline constexpr uint32_t kNameChars = 31;    // what the name edit accepts
inline constexpr uint32_t kValueMax = 100;    // every ink value is 0..100
inline constexpr uint32_t kValueChars = 3;

// The class list: item index -> class value (texts 4860, 4862, 4865).
inline constexpr uint32_t kClassValues[3] = {1, 2, 4};
inline constexpr uint16_t kClassTexts[3] = {4860, 4862, 4865};

using InkValues = std::array<uint32_t, 8>;

// Messages the editor shows; the console tool prints their English meaning.
inline constexpr uint32_t kMsgAskDelete = 4001;
inline constexpr uint32_t kMsgAskReplace = 4002;
inline constexpr uint32_t kMsgAskAdd = 4003;
inline constexpr uint32_t kMsgAskAddAboveDefaults = 4060;
inline constexpr uint32_t kMsgAskReplaceAboveDefaults = 4061;
inline constexpr uint32_t kMsgAskDeleteUsedByFavourites = 4066;
inline constexpr uint32_t kMsgAskDiscard = 4067;
inline constexpr uint32_t kMsgTableUnusable = 4085;
inline constexpr uint32_t kMsgNoName = 4086;
inline constexpr uint32_t kMsgBuiltInName = 4087;
inline constexpr uint32_t kMsgFull = 4088;
inline constexpr uint32_t kMsgNoSelection = 4090;
inline constexpr uint32_t kMsgMediaInUse = 4119;
inline constexpr uint32_t kMsgWriteFailed = 4120;
inline constexpr uint32_t kMsgStarName = 4129;
inline constexpr uint32_t kMsgNoInk = 4131;

bool IsCustom(const MediaData& m);
// The record's name up to its terminator (64 units at most).
std::u16string NameOf(const MediaData& m);
// Writes `name` into the record's name field, zero-filled after it.
void SetName(MediaData* m, std::u16string_view name);
InkValues ValuesOf(const MediaData& m);

// The class list item of a class value; -1 for a value the list lacks.
int ClassIndex(uint32_t classValue);
// The values proposed for a class and above which the editor warns; all 0
// for a class the table lacks. `printQuality` picks the 600 dpi column
// (dmPrintQuality 600) or the one of every other resolution.
InkValues ClassDefaults(uint32_t classValue, int32_t printQuality);
bool ExceedsDefaults(const InkValues& values, uint32_t classValue, int32_t printQuality);

// ---- The stored table ----------------------------------------------------

enum class TableStatus {
  kOk,          // also an empty table: a printer whose module reports no media
  kBadCount,    // APUI_MEDIADATACOUNT not a DWORD, or beyond any sane table
  kWrongSize,   // APUI_MEDIADATA missing or not count x 180 bytes
};
const char* TableStatusText(TableStatus status);

// Checks the bytes of APUI_MEDIADATA against the count and takes the
// records. Never reads past `size`; *out is left empty unless kOk.
TableStatus ParseMediaTable(const uint8_t* bytes, size_t size, uint32_t count,
                            std::vector<MediaData>* out);
// Reads both values. A printer with neither value has an empty table.
TableStatus LoadMediaTable(PrinterStore* printer, std::vector<MediaData>* out);

size_t CountCustom(const std::vector<MediaData>& table);
// Position of the record with this exact (case-sensitive) name; -1 when none.
int FindByName(const std::vector<MediaData>& table, std::u16string_view name);
int FindById(const std::vector<MediaData>& table, uint32_t id);
// The lowest custom id no record uses; 0 when all 100 are taken.
uint32_t LowestFreeId(const std::vector<MediaData>& table);

// ---- The name edit -------------------------------------------------------

// The edit's text after a change: tab characters removed and at most
// `limit` characters kept (pasted text can bring both). Equal to the input
// when nothing needed removing.
std::u16string CleanNameText(std::u16string_view text, size_t limit = kNameChars);

// A value edit's text: its leading digits (none counts as 0), capped at
// 100. *capped tells the edit to show the capped value instead.
uint32_t ParseValueText(std::u16string_view text, bool* capped);

// ---- Save ----------------------------------------------------------------

enum class SaveStep {
  kNoName,       // empty, or only spaces: 4086
  kTooLong,      // more than 31 characters (only the console can give one)
  kStarName,     // a new name beginning with "*": 4129
  kFull,         // a new record while 100 custom ones exist: 4088
  kBuiltInName,  // the name of a built-in record: 4087
  kNoInk,        // all eight values 0: nothing would print: 4131
  kAskAdd,       // a new record: ask 4060 (above the defaults) or 4003
  kAskReplace,   // the custom record of that name: ask 4061 or 4002
};
struct SavePlan {
  SaveStep step;
  uint32_t message;  // the message to show or the question to ask
  int index;         // kAskReplace: the record replaced
  uint32_t newId;    // kAskAdd: the id the new record gets
};
SavePlan PlanSave(const std::vector<MediaData>& table, std::u16string_view name,
                  uint32_t classValue, const InkValues& values, int32_t printQuality);

// Carries out an answered plan (kAskAdd or kAskReplace) on a copy of the
// table and writes it: count, then records. false when the write fails; the
// caller's table is then untouched and should be read again.
bool ApplySave(PrinterStore* printer, std::vector<MediaData>* table, const SavePlan& plan,
               std::u16string_view name, uint32_t classValue, const InkValues& values);

// ---- Delete --------------------------------------------------------------

enum class DeleteStep {
  kNoSelection,   // 4090
  kBuiltIn,       // built-in records are never deleted (the button is disabled)
  kInUse,         // the job's media, or the printer default's: 4119
  kAskUsedByFavourites,  // 4066 with the name
  kAsk,           // 4001 with the name
};
struct DeletePlan {
  DeleteStep step;
  uint32_t message;
};
// `inUse`: media ids that may not go (the job's current media, the
// printer's default settings' media, the driver default's media).
// `favourites` may be null (none readable).
DeletePlan PlanDelete(const std::vector<MediaData>& table, int selected,
                      const std::vector<uint32_t>& inUse, const FavouriteSet* favourites);

// How many used favourites name media `mediaId`.
uint32_t FavouritesUsingMedia(const FavouriteSet& set, uint32_t mediaId);
// Each used favourite of media `mediaId` takes the default media id and its
// class. Returns how many were repaired.
uint32_t RepairFavouriteMedia(FavouriteSet* set, uint32_t mediaId, uint32_t defaultMediaId,
                              uint32_t defaultMediaClass);

// Clears entry `number` (1-based) of an APUI_ICPMPROFILELIST value in place:
// only when the value's header agrees with its size and the entry exists.
bool ClearProfileEntry(std::vector<unsigned char>* list, uint32_t number);

enum class DeleteResult {
  kDeleted,
  kFailed,  // 4120: nothing changed in the printer
};
// Deletes record `index`: the table without it, the record's profile entry
// cleared, and favourites that used it repaired. A failing write puts back
// what was already written, so the printer never holds half a deletion.
DeleteResult ApplyDelete(PrinterStore* printer, std::vector<MediaData>* table, int index,
                         uint32_t defaultMediaId, uint32_t defaultMediaClass);

// ---- Close ---------------------------------------------------------------

// What the editor shows: the name edit, the selected row (-1 none), the
// class value of the chosen list item (0 when none) and the eight values.
struct Edits {
  std::u16string name;
  int selected = -1;
  uint32_t classValue = 0;
  InkValues values{};
};
// What a row shows: a custom record's name and own values; for a built-in
// one no name and its class defaults; with no row the first class and its
// defaults.
Edits EditsForRow(const std::vector<MediaData>& table, int row, int32_t printQuality);
// Whether closing loses something: see the rules in the .cpp.
bool EditsDiffer(const std::vector<MediaData>& table, const Edits& edits, int32_t printQuality);

}  // namespace media
}  // namespace vq
