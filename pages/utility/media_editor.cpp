#include "pages/utility/media_editor.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "pages/basic/favourites.h"
#include "settings/printer_store.h"

namespace vq::media {
namespace {

// Class defaults in record order (set 1 K C M Y, set 2 K C M Y), one row per
// class of the list. The 600 dpi column and the one of the other
// resolutions hold the same values today; both are kept so that a printer
// whose fine mode wants other limits changes only this table.
struct ClassDefaultRow {
  uint32_t classValue;
  InkValues at600;
  InkValues other;
};
constexpr ClassDefaultRow kClassDefaults[] = {
    {1, {46, 50, 50, 50, 40, 40, 40, 40}, {46, 50, 50, 50, 40, 40, 40, 40}},
    {2, {46, 50, 50, 50, 40, 40, 40, 40}, {46, 50, 50, 50, 40, 40, 40, 40}},
    {4, {50, 50, 50, 50, 40, 40, 40, 40}, {50, 50, 50, 50, 40, 40, 40, 40}},
};
constexpr int32_t kStandardQuality = 600;

// A count beyond what a value can sensibly hold is a damaged value, not a
// reason to allocate megabytes.
constexpr uint32_t kMaxRecords = 4096;

constexpr size_t kNameUnits = std::size(MediaData{}.mediaName);

bool IsSpace(char16_t c) { return c == u' ' || c == u'\u3000' || c == u'\t'; }

}  // namespace

bool IsCustom(const MediaData& m) {
  return m.mediaId >= kFirstUserMediaId && m.mediaId <= kLastUserMediaId;
}

std::u16string NameOf(const MediaData& m) {
  const char16_t* end = std::find(m.mediaName, m.mediaName + kNameUnits, u'\0');
  return std::u16string(m.mediaName, end);
}

void SetName(MediaData* m, std::u16string_view name) {
  std::fill(std::begin(m->mediaName), std::end(m->mediaName), u'\0');
  std::copy_n(name.begin(), std::min(name.size(), kNameUnits - 1), m->mediaName);
}

InkValues ValuesOf(const MediaData& m) {
  InkValues v;
  std::copy(std::begin(m.ink), std::end(m.ink), v.begin());
  return v;
}

int ClassIndex(uint32_t classValue) {
  for (int i = 0; i < int(std::size(kClassValues)); ++i)
    if (kClassValues[i] == classValue) return i;
  return -1;
}

InkValues ClassDefaults(uint32_t classValue, int32_t printQuality) {
  for (const ClassDefaultRow& row : kClassDefaults)
    if (row.classValue == classValue) return printQuality == kStandardQuality ? row.at600 : row.other;
  return InkValues{};
}

bool ExceedsDefaults(const InkValues& values, uint32_t classValue, int32_t printQuality) {
  const InkValues limits = ClassDefaults(classValue, printQuality);
  for (size_t i = 0; i < values.size(); ++i)
    if (values[i] > limits[i]) return true;
  return false;
}

const char* TableStatusText(TableStatus status) {
  switch (status) {
    case TableStatus::kOk: return "ok";
    case TableStatus::kBadCount: return "APUI_MEDIADATACOUNT is damaged";
    case TableStatus::kWrongSize: return "APUI_MEDIADATA is missing or not count x 180 bytes";
  }
  return "?";
}

TableStatus ParseMediaTable(const uint8_t* bytes, size_t size, uint32_t count,
                            std::vector<MediaData>* out) {
  out->clear();
  if (count > kMaxRecords) return TableStatus::kBadCount;
  if (size != size_t{count} * kMediaDataSize || (count && !bytes)) return TableStatus::kWrongSize;
  out->resize(count);
  if (count) std::memcpy(out->data(), bytes, size);
  return TableStatus::kOk;
}

TableStatus LoadMediaTable(PrinterStore* printer, std::vector<MediaData>* out) {
  out->clear();
  if (!printer) return TableStatus::kBadCount;
  std::vector<unsigned char> countBytes, records;
  const bool hasCount = ReadPrinterValue(printer, pd::kMediaDataCount, &countBytes);
  const bool hasRecords = ReadPrinterValue(printer, pd::kMediaData, &records);
  if (!hasCount) return hasRecords ? TableStatus::kBadCount : TableStatus::kOk;
  if (countBytes.size() != 4) return TableStatus::kBadCount;
  uint32_t count = 0;
  std::memcpy(&count, countBytes.data(), 4);
  if (count == 0 && !hasRecords) return TableStatus::kOk;
  return ParseMediaTable(records.data(), records.size(), count, out);
}

size_t CountCustom(const std::vector<MediaData>& table) {
  return size_t(std::count_if(table.begin(), table.end(), IsCustom));
}

int FindByName(const std::vector<MediaData>& table, std::u16string_view name) {
  for (size_t i = 0; i < table.size(); ++i)
    if (NameOf(table[i]) == name) return int(i);
  return -1;
}

int FindById(const std::vector<MediaData>& table, uint32_t id) {
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i].mediaId == id) return int(i);
  return -1;
}

uint32_t LowestFreeId(const std::vector<MediaData>& table) {
  for (uint32_t id = kFirstUserMediaId; id <= kLastUserMediaId; ++id)
    if (FindById(table, id) < 0) return id;
  return 0;
}

std::u16string CleanNameText(std::u16string_view text, size_t limit) {
  std::u16string kept;
  for (char16_t c : text)
    if (c != u'\t') kept += c;
  if (kept.size() > limit) kept.resize(limit);
  return kept;
}

uint32_t ParseValueText(std::u16string_view text, bool* capped) {
  uint32_t v = 0;
  for (size_t i = 0; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    v = std::min<uint32_t>(v * 10 + uint32_t(text[i] - u'0'), 1000);
  *capped = v > kValueMax;
  return std::min(v, kValueMax);
}

SavePlan PlanSave(const std::vector<MediaData>& table, std::u16string_view name,
                  uint32_t classValue, const InkValues& values, int32_t printQuality) {
  if (std::all_of(name.begin(), name.end(), IsSpace)) return {SaveStep::kNoName, kMsgNoName, -1, 0};
  if (name.size() > kNameChars) return {SaveStep::kTooLong, 0, -1, 0};
  const int found = FindByName(table, name);
  if (found >= 0 && !IsCustom(table[size_t(found)]))
    return {SaveStep::kBuiltInName, kMsgBuiltInName, found, 0};
  if (found < 0 && name[0] == u'*') return {SaveStep::kStarName, kMsgStarName, -1, 0};
  if (found < 0 && CountCustom(table) >= kMaxCustomMedia) return {SaveStep::kFull, kMsgFull, -1, 0};
  // A media type without ink prints blank labels: never what was meant.
  if (std::all_of(values.begin(), values.end(), [](uint32_t v) { return v == 0; }))
    return {SaveStep::kNoInk, kMsgNoInk, found, 0};
  const bool above = ExceedsDefaults(values, classValue, printQuality);
  if (found >= 0)
    return {SaveStep::kAskReplace, above ? kMsgAskReplaceAboveDefaults : kMsgAskReplace, found, 0};
  const uint32_t id = LowestFreeId(table);
  if (!id) return {SaveStep::kFull, kMsgFull, -1, 0};  // ids taken by records outside the count
  return {SaveStep::kAskAdd, above ? kMsgAskAddAboveDefaults : kMsgAskAdd, -1, id};
}

bool ApplySave(PrinterStore* printer, std::vector<MediaData>* table, const SavePlan& plan,
               std::u16string_view name, uint32_t classValue, const InkValues& values) {
  std::vector<MediaData> next = *table;
  MediaData* target = nullptr;
  if (plan.step == SaveStep::kAskAdd) {
    MediaData& added = next.emplace_back();
    std::memset(&added, 0, sizeof added);
    added.mediaId = plan.newId;
    SetName(&added, name);
    target = &added;
  } else if (plan.step == SaveStep::kAskReplace && plan.index >= 0 &&
             size_t(plan.index) < next.size()) {
    target = &next[size_t(plan.index)];
  } else {
    return false;
  }
  target->mediaClass = classValue;
  std::copy(values.begin(), values.end(), target->ink);
  if (!WriteMediaTable(printer, next.data(), uint32_t(next.size()))) {
    // The count may have gone out before the records failed: put it back.
    if (!table->empty()) WriteMediaTable(printer, table->data(), uint32_t(table->size()));
    else WritePrinterDword(printer, pd::kMediaDataCount, 0);
    return false;
  }
  *table = std::move(next);
  return true;
}

uint32_t FavouritesUsingMedia(const FavouriteSet& set, uint32_t mediaId) {
  uint32_t n = 0;
  for (uint32_t slot = 0; slot < kFavouriteSlots; ++slot)
    if (set.InUse(slot) && set.slots[slot].settings.MediaTypeId == mediaId) ++n;
  return n;
}

uint32_t RepairFavouriteMedia(FavouriteSet* set, uint32_t mediaId, uint32_t defaultMediaId,
                              uint32_t defaultMediaClass) {
  uint32_t n = 0;
  for (uint32_t slot = 0; slot < kFavouriteSlots; ++slot) {
    JobSettings& js = set->slots[slot].settings;
    if (!set->InUse(slot) || js.MediaTypeId != mediaId) continue;
    js.MediaTypeId = defaultMediaId;
    // The class travels with the media id: a favourite keeping the deleted
    // medium's class would print the default medium with foreign ink limits.
    js.MediaClass = defaultMediaClass;
    ++n;
  }
  return n;
}

DeletePlan PlanDelete(const std::vector<MediaData>& table, int selected,
                      const std::vector<uint32_t>& inUse, const FavouriteSet* favourites) {
  if (selected < 0 || size_t(selected) >= table.size()) return {DeleteStep::kNoSelection, kMsgNoSelection};
  const MediaData& m = table[size_t(selected)];
  if (!IsCustom(m)) return {DeleteStep::kBuiltIn, 0};
  if (std::find(inUse.begin(), inUse.end(), m.mediaId) != inUse.end())
    return {DeleteStep::kInUse, kMsgMediaInUse};
  if (favourites && FavouritesUsingMedia(*favourites, m.mediaId))
    return {DeleteStep::kAskUsedByFavourites, kMsgAskDeleteUsedByFavourites};
  return {DeleteStep::kAsk, kMsgAskDelete};
}

bool ClearProfileEntry(std::vector<unsigned char>* list, uint32_t number) {
  const size_t size = list->size();
  if (size < 8 || number == 0) return false;
  uint32_t total = 0, count = 0;
  std::memcpy(&total, list->data(), 4);
  std::memcpy(&count, list->data() + 4, 4);
  if (total != size || 8 + uint64_t{count} * kProfileEntrySize != size || number > count)
    return false;
  std::fill_n(list->begin() + 8 + ptrdiff_t{number - 1} * kProfileEntrySize, kProfileEntrySize, 0);
  return true;
}

DeleteResult ApplyDelete(PrinterStore* printer, std::vector<MediaData>* table, int index,
                         uint32_t defaultMediaId, uint32_t defaultMediaClass) {
  if (index < 0 || size_t(index) >= table->size()) return DeleteResult::kFailed;
  const MediaData gone = (*table)[size_t(index)];
  std::vector<MediaData> next = *table;
  next.erase(next.begin() + index);
  // The count is written before the records: an empty table is a count of 0
  // over an empty value, which WriteMediaTable does not write.
  const bool written = next.empty()
                           ? WritePrinterDword(printer, pd::kMediaDataCount, 0) &&
                                 printer->SetData(pd::kMediaData, kRegBinary, nullptr, 0) == kErrorSuccess
                           : WriteMediaTable(printer, next.data(), uint32_t(next.size()));
  // The table always had the deleted record, so it is never empty here.
  auto restoreTable = [&] { WriteMediaTable(printer, table->data(), uint32_t(table->size())); };
  if (!written) {
    restoreTable();
    return DeleteResult::kFailed;
  }

  std::vector<unsigned char> profiles, cleared;
  uint32_t type = 0;
  bool profileCleared = false;
  if (gone.profileNumber && ReadPrinterValue(printer, pd::kProfileList, &profiles, &type)) {
    cleared = profiles;
    // A list whose header disagrees with its size is left as it is.
    if (ClearProfileEntry(&cleared, gone.profileNumber))
      profileCleared = printer->SetData(pd::kProfileList, kRegBinary, cleared.data(),
                                        uint32_t(cleared.size())) == kErrorSuccess;
  }

  auto set = std::make_unique<FavouriteSet>();
  if (ReadFavourites(printer, set.get()) &&
      RepairFavouriteMedia(set.get(), gone.mediaId, defaultMediaId, defaultMediaClass) &&
      !WriteFavourites(printer, *set)) {
    restoreTable();
    if (profileCleared)
      printer->SetData(pd::kProfileList, kRegBinary, profiles.data(), uint32_t(profiles.size()));
    return DeleteResult::kFailed;
  }
  *table = std::move(next);
  return DeleteResult::kDeleted;
}

Edits EditsForRow(const std::vector<MediaData>& table, int row, int32_t printQuality) {
  Edits e;
  e.selected = row;
  if (row < 0 || size_t(row) >= table.size()) {
    // No row (the job's media is not in the table): a new record of the
    // first class can be typed at once.
    e.selected = -1;
    e.classValue = kClassValues[0];
    e.values = ClassDefaults(e.classValue, printQuality);
    return e;
  }
  const MediaData& m = table[size_t(row)];
  // A class the list lacks is kept: the list shows no item, and the edits
  // still equal the record.
  e.classValue = m.mediaClass;
  if (IsCustom(m)) {
    e.name = NameOf(m);
    e.values = ValuesOf(m);
  } else {
    e.values = ClassDefaults(m.mediaClass, printQuality);
  }
  return e;
}

// The edits differ from what is stored when:
// - a name is given: the record compared is the selected row when its name is
//   that name, or with no row selected the custom record of that name; no
//   such record means something new was typed; otherwise the class and the
//   eight values are compared with the record's;
// - no name is given: a selected custom row has lost its name; otherwise the
//   values are compared with the defaults of the chosen class.
bool EditsDiffer(const std::vector<MediaData>& table, const Edits& edits, int32_t printQuality) {
  const bool rowValid = edits.selected >= 0 && size_t(edits.selected) < table.size();
  if (!edits.name.empty()) {
    int compared = -1;
    if (rowValid) {
      if (NameOf(table[size_t(edits.selected)]) != edits.name) return true;
      compared = edits.selected;
    } else {
      compared = FindByName(table, edits.name);
      if (compared < 0 || !IsCustom(table[size_t(compared)])) return true;
    }
    const MediaData& m = table[size_t(compared)];
    return edits.classValue != m.mediaClass || edits.values != ValuesOf(m);
  }
  if (rowValid && IsCustom(table[size_t(edits.selected)])) return true;
  return edits.values != ClassDefaults(edits.classValue, printQuality);
}

}  // namespace vq::media
