#include "pages/basic/favourites.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/byte_reader.h"
#include "settings/printer_store.h"

namespace vq {

namespace {

constexpr size_t kSettingsNameUnits = sizeof(JobSettings::SettingsName) / sizeof(char16_t);

// Where the fields the reader checks sit inside a slot.
constexpr size_t kSlotSignature = 4 + offsetof(JobSettings, Signature);
constexpr size_t kSlotSpecVersion = 4 + offsetof(JobSettings, dmSpecVersion);
constexpr size_t kSlotDriverVersion = 4 + offsetof(JobSettings, dmDriverVersion);
constexpr size_t kSlotSize = 4 + offsetof(JobSettings, dmSize);
constexpr size_t kSlotDriverExtra = 4 + offsetof(JobSettings, dmDriverExtra);

// A used slot's record: this driver's signature and sizes, and a version
// this driver can read.
EntrySetStatus CheckSlotRecord(const ByteReader& r, size_t base) {
  if (r.Text16(base + kSlotSignature, 8) != kSignature || r.U16LE(base + kSlotSize) != kPublicSize ||
      r.U16LE(base + kSlotDriverExtra) != kPrivateSize)
    return EntrySetStatus::kForeignRecord;
  if (r.U16LE(base + kSlotDriverVersion) > kDriverVersion ||
      r.U16LE(base + kSlotSpecVersion) > kSpecVersion)
    return EntrySetStatus::kFutureVersion;
  return EntrySetStatus::kOk;
}

const PaperInfo* FindPaper(std::span<const PaperInfo> papers, uint32_t paperId) {
  for (const PaperInfo& p : papers)
    if (p.paperId == paperId) return &p;
  return nullptr;
}

std::u16string TextOf(const char16_t* field, size_t units) {
  size_t n = 0;
  while (n < units && field[n]) ++n;
  return std::u16string(field, n);
}

}  // namespace

std::u16string FavouriteSet::Name(uint32_t slot) const {
  if (slot >= kFavouriteSlots) return {};
  return SettingsNameOf(slots[slot].settings);
}

const char* EntrySetStatusName(EntrySetStatus status) {
  switch (status) {
    case EntrySetStatus::kOk: return "ok";
    case EntrySetStatus::kMissing: return "missing";
    case EntrySetStatus::kWrongSize: return "wrong size (not 13880 bytes)";
    case EntrySetStatus::kBadFlag: return "a slot's used flag is neither 0 nor 1";
    case EntrySetStatus::kNotPacked: return "a used slot follows a free one";
    case EntrySetStatus::kForeignRecord: return "a slot holds a record of another driver";
    case EntrySetStatus::kFutureVersion: return "a slot was written by a newer driver version";
  }
  return "unknown";
}

EntrySetStatus CheckEntrySet(const uint8_t* bytes, size_t size) {
  if (!bytes) return EntrySetStatus::kMissing;
  if (size != kEntrySetSize) return EntrySetStatus::kWrongSize;
  const ByteReader r(bytes, size);
  bool sawFree = false;
  for (uint32_t i = 0; i < kFavouriteSlots; ++i) {
    const size_t base = size_t{i} * kFavouriteEntrySize;
    const uint32_t used = r.U32LE(base);
    if (used > kFavouriteUsed) return EntrySetStatus::kBadFlag;
    if (used == 0) {
      sawFree = true;
      continue;
    }
    if (sawFree) return EntrySetStatus::kNotPacked;
    if (const EntrySetStatus s = CheckSlotRecord(r, base); s != EntrySetStatus::kOk) return s;
  }
  return EntrySetStatus::kOk;
}

bool LoadEntrySet(const uint8_t* bytes, size_t size, FavouriteSet* set) {
  if (!bytes || size != kEntrySetSize) return false;
  std::memcpy(set->slots, bytes, kEntrySetSize);
  // The count only ever designates a run of good slots from the first: the
  // lists, the dialog and the stores all walk slots 0 .. count-1.
  const ByteReader r(bytes, size);
  uint32_t good = 0;
  while (good < kFavouriteSlots && r.U32LE(size_t{good} * kFavouriteEntrySize) == kFavouriteUsed &&
         CheckSlotRecord(r, size_t{good} * kFavouriteEntrySize) == EntrySetStatus::kOk)
    ++good;
  set->count = std::min(set->count, good);
  return true;
}

bool ReadEntrySet(PrinterStore* printer, FavouriteSet* set) {
  std::vector<unsigned char> value;
  uint32_t type = 0;
  if (!ReadPrinterValue(printer, pd::kEntrySet, &value, &type) || type != kRegBinary) return false;
  return LoadEntrySet(value.data(), value.size(), set);
}

bool ReadFavourites(PrinterStore* printer, FavouriteSet* set) {
  std::memset(static_cast<void*>(set), 0, sizeof *set);
  FavouriteSet read{};
  if (!ReadPrinterDword(printer, pd::kEntrySetNum, &read.count) ||
      !ReadPrinterDword(printer, pd::kEntrySetDefNum, &read.fixed) ||
      !ReadPrinterDword(printer, pd::kEntrySetMaxNum, &read.maximum))
    return false;
  read.maximum = std::min(read.maximum, kFavouriteSlots);
  if (!ReadEntrySet(printer, &read)) return false;
  *set = read;
  return true;
}

bool WriteFavourites(PrinterStore* printer, const FavouriteSet& set) {
  return printer && printer->SetData(pd::kEntrySet, kRegBinary, set.slots, kEntrySetSize) ==
                        kErrorSuccess;
}

// The count goes first (readers trim the value to it), so a value write
// that fails puts the former count back: the stored pair stays the old one.
bool SaveFavourites(PrinterStore* printer, const FavouriteSet& set, uint32_t newCount) {
  uint32_t former = 0;
  const bool hadCount = ReadPrinterDword(printer, pd::kEntrySetNum, &former);
  if (!WritePrinterDword(printer, pd::kEntrySetNum, newCount)) return false;
  if (WriteFavourites(printer, set)) return true;
  if (hadCount) WritePrinterDword(printer, pd::kEntrySetNum, former);
  return false;
}

bool RemoveFavourite(PrinterStore* printer, const FavouriteSet& set) {
  uint32_t stored = 0;
  if (!ReadPrinterDword(printer, pd::kEntrySetNum, &stored) || stored == 0) return false;
  if (!WritePrinterDword(printer, pd::kEntrySetNum, stored - 1)) return false;
  if (WriteFavourites(printer, set)) return true;
  WritePrinterDword(printer, pd::kEntrySetNum, stored);
  return false;
}

bool PaperHasNarrowMargin(const PaperInfo& paper) {
  const bool onLiner = paper.paperLayout == paper_layout::kLabelsOnLiner;
  // 64-bit sums: a damaged record's huge values must not wrap below the limit.
  const uint64_t left = uint64_t{paper.marginLeft} + (onLiner ? paper.linerLeft : 0);
  const uint64_t right = uint64_t{paper.marginRight} + (onLiner ? paper.linerRight : 0);
  return left < kNarrowMarginLimit || right < kNarrowMarginLimit;
}

bool FavouriteIsNarrow(const FavouriteSet& set, uint32_t slot, std::span<const PaperInfo> papers) {
  if (!set.InUse(slot)) return false;
  const uint32_t paperId = static_cast<uint16_t>(set.slots[slot].settings.dmPaperSize);
  const PaperInfo* paper = FindPaper(papers, paperId);
  return paper && PaperHasNarrowMargin(*paper);
}

std::u16string FavouriteItemText(const FavouriteSet& set, uint32_t index,
                                 std::u16string_view currentText, std::u16string_view defaultText) {
  if (index == 0) return std::u16string(currentText);
  if (index == 1) return std::u16string(defaultText);
  return set.Name(index - kFixedFavouriteItems);
}

bool IsFavouriteNameChar(char16_t c) { return c != u' ' && c != u'\u3000' && c >= 0x20; }

bool IsValidFavouriteName(std::u16string_view name) {
  return !name.empty() && name.size() <= kFavouriteNameChars &&
         std::all_of(name.begin(), name.end(), IsFavouriteNameChar);
}

SavePlan PlanSave(const FavouriteSet& set, int32_t selected, std::u16string_view name,
                  bool renaming, std::u16string_view currentText, std::u16string_view defaultText) {
  if (selected < 0 || name.empty()) return {SaveStep::kNoName, 0};
  // The name field takes no spaces, so a built-in item's name is compared
  // without its spaces ("Current settings" and "Currentsettings" alike).
  auto bare = [](std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text)
      if (IsFavouriteNameChar(c)) out += c;
    return out;
  };
  if (bare(name) == bare(currentText) || bare(name) == bare(defaultText))
    return {SaveStep::kReservedName, 0};
  for (uint32_t slot = 0; slot < set.count && slot < kFavouriteSlots; ++slot)
    if (set.Name(slot) == name) {
      // Renaming an entry to its own name stores it unchanged, without asking.
      if (renaming && uint32_t(selected) == slot + kFixedFavouriteItems)
        return {SaveStep::kRename, slot};
      return {SaveStep::kAskOverwrite, slot};
    }
  if (renaming && uint32_t(selected) >= kFixedFavouriteItems &&
      set.InUse(uint32_t(selected) - kFixedFavouriteItems))
    return {SaveStep::kRename, uint32_t(selected) - kFixedFavouriteItems};
  const uint32_t limit = std::min(set.maximum, kFavouriteSlots);
  if (set.count + 1 > limit) return {SaveStep::kFull, 0};
  return {SaveStep::kAskNew, set.count};
}

void SetSettingsName(JobSettings* js, std::u16string_view name) {
  std::memset(js->SettingsName, 0, sizeof js->SettingsName);
  const size_t n = std::min(name.size(), kSettingsNameUnits - 1);
  std::memcpy(js->SettingsName, name.data(), n * sizeof(char16_t));
}

std::u16string SettingsNameOf(const JobSettings& js) {
  return TextOf(js.SettingsName, kSettingsNameUnits);
}

bool AddFavourite(FavouriteSet* set, const JobSettings& work, std::u16string_view name) {
  const uint32_t limit = std::min(set->maximum, kFavouriteSlots);
  if (set->count >= limit) return false;
  FavouriteEntry& entry = set->slots[set->count];
  entry.used = kFavouriteUsed;
  entry.settings = work;
  SetSettingsName(&entry.settings, name);
  ++set->count;
  return true;
}

void OverwriteFavourite(FavouriteSet* set, uint32_t slot, const JobSettings& work,
                        std::u16string_view name) {
  if (slot >= kFavouriteSlots) return;
  set->slots[slot].settings = work;
  SetSettingsName(&set->slots[slot].settings, name);
}

void RenameFavourite(FavouriteSet* set, uint32_t slot, std::u16string_view name) {
  if (slot >= kFavouriteSlots) return;
  SetSettingsName(&set->slots[slot].settings, name);
}

bool DeleteFavouriteSlot(FavouriteSet* set, uint32_t slot) {
  if (!set->InUse(slot)) return false;
  const uint32_t last = std::min(set->count, kFavouriteSlots) - 1;
  for (uint32_t i = slot; i < last; ++i) set->slots[i] = set->slots[i + 1];
  std::memset(static_cast<void*>(&set->slots[last]), 0, sizeof set->slots[last]);
  --set->count;
  return true;
}

uint32_t IndexAfterDeletion(uint32_t index, uint32_t deletedSlot) {
  const uint32_t deleted = deletedSlot + kFixedFavouriteItems;
  if (index < deleted) return index;
  return index == deleted ? 0 : index - 1;
}

FavouriteLoad ClassifyFavourite(const FavouriteSet& set, uint32_t index, bool narrowMarginAllowed,
                                std::span<const PaperInfo> papers) {
  if (index == 0) return FavouriteLoad::kCurrent;
  if (index == 1) return FavouriteLoad::kDefaults;
  const uint32_t slot = index - kFixedFavouriteItems;
  if (slot >= kFavouriteSlots) return FavouriteLoad::kNothing;
  if (!narrowMarginAllowed && FavouriteIsNarrow(set, slot, papers)) return FavouriteLoad::kNarrow;
  return set.InUse(slot) ? FavouriteLoad::kEntry : FavouriteLoad::kNothing;
}

void RefreshEditablePaper(JobSettings* js, std::span<const PaperInfo> papers) {
  if (js->Paper.customEditable == 0) return;
  const PaperInfo* paper = FindPaper(papers, static_cast<uint16_t>(js->dmPaperSize));
  if (!paper) return;
  js->Paper = *paper;
  js->dmPaperWidth = static_cast<int16_t>(paper->paperWidth);
  js->dmPaperLength = static_cast<int16_t>(paper->paperLength);
}

uint32_t FavouritesUsingPaper(const FavouriteSet& set, uint32_t paperId) {
  uint32_t n = 0;
  for (uint32_t slot = 0; slot < set.count && slot < kFavouriteSlots; ++slot)
    if (set.InUse(slot) && static_cast<uint16_t>(set.slots[slot].settings.dmPaperSize) == paperId)
      ++n;
  return n;
}

uint32_t RepairFavouritePaper(FavouriteSet* set, uint32_t paperId, const JobSettings& defaults) {
  uint32_t n = 0;
  for (uint32_t slot = 0; slot < set->count && slot < kFavouriteSlots; ++slot) {
    JobSettings& js = set->slots[slot].settings;
    if (!set->InUse(slot) || static_cast<uint16_t>(js.dmPaperSize) != paperId) continue;
    js.dmPaperSize = defaults.dmPaperSize;
    js.dmPaperLength = defaults.dmPaperLength;
    js.dmPaperWidth = defaults.dmPaperWidth;
    std::memcpy(js.dmFormName, defaults.dmFormName, sizeof js.dmFormName);
    js.Paper = defaults.Paper;
    ++n;
  }
  return n;
}

}  // namespace vq
