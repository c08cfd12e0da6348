// Custom media types: the stored table's reader against damaged values, the
// Save and Delete decisions, the unsaved-edits rule, and the writes that
// must never leave the printer half-changed.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "pages/basic/favourites.h"
#include "pages/utility/media_editor.h"
#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq {
namespace {

using media::InkValues;
using media::SaveStep;
using test::TestPrinter;

MediaData Record(uint32_t id, const char16_t* name, uint32_t classValue = 1,
                 InkValues values = {40, 40, 40, 40, 30, 30, 30, 30}, uint32_t profile = 0) {
  MediaData m{};
  m.mediaId = id;
  media::SetName(&m, name);
  m.mediaClass = classValue;
  std::copy(values.begin(), values.end(), m.ink);
  m.profileNumber = profile;
  return m;
}

// Two built-in media, then custom ones with the given ids.
std::vector<MediaData> Table(std::initializer_list<uint32_t> customIds) {
  std::vector<MediaData> t = {Record(1, u"Plain paper label"), Record(5, u"Film label", 4)};
  for (uint32_t id : customIds) t.push_back(Record(id, (u"M" + std::u16string(1, char16_t(u'0' + id % 10))).c_str()));
  return t;
}

// Save: each input, the step, the message and the id a new record gets.
TEST(MediaEditor, SaveDecisions) {
  std::vector<uint32_t> all;
  for (uint32_t id = kFirstUserMediaId; id <= kLastUserMediaId; ++id) all.push_back(id);
  std::vector<MediaData> full = Table({});
  for (uint32_t id : all) full.push_back(Record(id, (u"F" + std::u16string(1, char16_t(id))).c_str()));
  const InkValues low = {40, 40, 40, 40, 30, 30, 30, 30};
  const InkValues high = {40, 51, 40, 40, 30, 30, 30, 30};  // class 1 cyan limit 50
  const InkValues none{};
  const struct {
    const char* what;
    std::vector<MediaData> table;
    std::u16string name;
    uint32_t classValue;
    InkValues values;
    SaveStep step;
    uint32_t message;
    uint32_t newId;
  } cases[] = {
      {"the lowest free id", Table({262, 264}), u"New", 1, low, SaveStep::kAskAdd, 4003, 263},
      {"above a default", Table({}), u"New", 1, high, SaveStep::kAskAdd, 4060, 262},
      {"a custom name", Table({262}), u"M2", 1, low, SaveStep::kAskReplace, 4002, 0},
      {"a custom name, above", Table({262}), u"M2", 1, high, SaveStep::kAskReplace, 4061, 0},
      {"a built-in name", Table({}), u"Plain paper label", 1, low, SaveStep::kBuiltInName, 4087, 0},
      {"names are case-sensitive", Table({}), u"plain paper label", 1, low, SaveStep::kAskAdd, 4003, 262},
      {"a new star name", Table({}), u"*Star", 1, low, SaveStep::kStarName, 4129, 0},
      {"the 101st", full, u"New", 1, low, SaveStep::kFull, 4088, 0},
      {"replacing when full", full, u"F\u0106", 1, low, SaveStep::kAskReplace, 4002, 0},
      {"empty", Table({}), u"", 1, low, SaveStep::kNoName, 4086, 0},
      {"only spaces", Table({}), u"  \u3000 ", 1, low, SaveStep::kNoName, 4086, 0},
      {"200 characters", Table({}), std::u16string(200, u'x'), 1, low, SaveStep::kTooLong, 0, 0},
      {"31 characters", Table({}), std::u16string(31, u'x'), 1, low, SaveStep::kAskAdd, 4003, 262},
      {"no ink at all", Table({}), u"Blank", 1, none, SaveStep::kNoInk, 4131, 0},
  };
  for (const auto& c : cases) {
    const media::SavePlan plan = media::PlanSave(c.table, c.name, c.classValue, c.values, 600);
    EXPECT_EQ(plan.step, c.step) << c.what;
    EXPECT_EQ(plan.message, c.message) << c.what;
    if (c.step == SaveStep::kAskAdd) EXPECT_EQ(plan.newId, c.newId) << c.what;
    if (c.step == SaveStep::kAskReplace)
      EXPECT_EQ(media::NameOf(c.table[size_t(plan.index)]), c.name) << c.what;
  }
  EXPECT_EQ(media::CleanNameText(u"A\tB\t" + std::u16string(40, u'c')), u"AB" + std::u16string(29, u'c'));
  bool capped = false;
  EXPECT_EQ(media::ParseValueText(u"250", &capped), 100u);
  EXPECT_TRUE(capped);
  EXPECT_EQ(media::ParseValueText(u"", &capped), 0u);
  EXPECT_EQ(media::ParseValueText(u"7x", &capped), 7u);
  EXPECT_FALSE(capped);
}

// Delete and Close: what each situation gives.
TEST(MediaEditor, DeleteAndCloseDecisions) {
  const std::vector<MediaData> t = Table({262, 263});  // rows 2 and 3
  auto favourites = std::make_unique<FavouriteSet>();
  favourites->count = 1;
  favourites->slots[0].used = kFavouriteUsed;
  favourites->slots[0].settings.MediaTypeId = 263;
  const struct {
    int row;
    std::vector<uint32_t> inUse;
    media::DeleteStep step;
    uint32_t message;
  } deletes[] = {
      {-1, {}, media::DeleteStep::kNoSelection, 4090},
      {9, {}, media::DeleteStep::kNoSelection, 4090},
      {0, {}, media::DeleteStep::kBuiltIn, 0},
      {2, {1, 262}, media::DeleteStep::kInUse, 4119},
      {2, {1}, media::DeleteStep::kAsk, 4001},
      {3, {1}, media::DeleteStep::kAskUsedByFavourites, 4066},
  };
  for (const auto& c : deletes) {
    const media::DeletePlan plan = media::PlanDelete(t, c.row, c.inUse, favourites.get());
    EXPECT_EQ(plan.step, c.step) << c.row;
    EXPECT_EQ(plan.message, c.message) << c.row;
  }

  const InkValues own = media::ValuesOf(t[2]);
  InkValues changed = own;
  changed[5] = 0;
  const InkValues paperDefaults = media::ClassDefaults(1, 600);
  const struct {
    const char* what;
    media::Edits edits;
    bool differs;
  } closes[] = {
      {"a custom row as shown", media::EditsForRow(t, 2, 600), false},
      {"a built-in row as shown", media::EditsForRow(t, 0, 600), false},
      {"no row as shown", media::EditsForRow(t, -1, 600), false},
      {"a custom row, one value changed", {u"M2", 2, 1, changed}, true},
      {"a custom row, other class", {u"M2", 2, 4, own}, true},
      {"a custom row renamed", {u"M9", 2, 1, own}, true},
      {"a custom row, name cleared", {u"", 2, 1, own}, true},
      {"no row, a custom record's name and values", {u"M3", -1, 1, own}, false},
      {"no row, a built-in name", {u"Plain paper label", -1, 1, paperDefaults}, true},
      {"no row, no name, values off the class", {u"", -1, 1, own}, true},
      {"a built-in row, no name, other class defaults", {u"", 0, 4, media::ClassDefaults(4, 600)}, false},
  };
  for (const auto& c : closes) EXPECT_EQ(media::EditsDiffer(t, c.edits, 600), c.differs) << c.what;
}

struct MediaStore : testing::Test {
  TestPrinter tp;
  std::unique_ptr<PrinterStore> printer = tp.Open();

  std::vector<MediaData> Load() {
    std::vector<MediaData> t;
    EXPECT_EQ(media::LoadMediaTable(printer.get(), &t), media::TableStatus::kOk);
    return t;
  }
  std::vector<unsigned char> Bytes(const char16_t* name) { return tp.data->values[name].bytes; }
};

// (The fuzzer walks counts and sizes that disagree.) A count without
// records is damage; neither value is a printer without media.
TEST_F(MediaStore, MissingValues) {
  std::vector<MediaData> t(3);
  tp.data->values.erase(pd::kMediaData);
  EXPECT_EQ(media::LoadMediaTable(printer.get(), &t), media::TableStatus::kWrongSize);
  tp.data->values.erase(pd::kMediaDataCount);
  EXPECT_EQ(media::LoadMediaTable(printer.get(), &t), media::TableStatus::kOk);
  EXPECT_TRUE(t.empty());
}

TEST_F(MediaStore, SaveAndDeleteStoreWholeOrNothing) {
  std::vector<MediaData> t = Load();
  const size_t builtIn = t.size();
  const InkValues v = {10, 20, 30, 40, 11, 21, 31, 41};
  auto add = [&](const char16_t* name) {
    const media::SavePlan plan = media::PlanSave(t, name, 2, v, 600);
    return media::ApplySave(printer.get(), &t, plan, name, 2, v);
  };
  ASSERT_TRUE(add(u"A") && add(u"B"));
  EXPECT_EQ(media::ValuesOf(Load().back()), v);

  // A failing write of the records: the count written before is put back.
  const std::vector<MediaData> two = Load();
  tp.data->failWrites = {pd::kMediaData};
  EXPECT_FALSE(add(u"C"));
  EXPECT_EQ(Load().size(), two.size());
  tp.data->failWrites.clear();

  // B has profile 3 of a list of four; a favourite uses it.
  t.back().profileNumber = 3;
  ASSERT_TRUE(WriteMediaTable(printer.get(), t.data(), uint32_t(t.size())));
  std::vector<unsigned char> profiles(8 + 4 * kProfileEntrySize, 0x77);
  const uint32_t header[2] = {uint32_t(profiles.size()), 4};
  std::memcpy(profiles.data(), header, 8);
  tp.data->SetBinary(pd::kProfileList, profiles.data(), profiles.size());
  auto set = std::make_unique<FavouriteSet>();
  ASSERT_TRUE(ReadFavourites(printer.get(), set.get()));
  JobSettings onB = tp.Defaults();
  onB.MediaTypeId = t.back().mediaId;
  onB.MediaClass = 2;
  ASSERT_TRUE(AddFavourite(set.get(), onB, u"On B"));
  ASSERT_TRUE(SaveFavourites(printer.get(), *set, set->count));
  const JobSettings defaults = tp.Defaults();

  // The favourites cannot be written: the table and the list come back.
  const std::vector<unsigned char> stored = Bytes(pd::kMediaData);
  tp.data->failWrites = {pd::kEntrySet};
  EXPECT_EQ(media::ApplyDelete(printer.get(), &t, int(t.size() - 1), defaults.MediaTypeId, defaults.MediaClass),
            media::DeleteResult::kFailed);
  EXPECT_EQ(Bytes(pd::kMediaData), stored);
  EXPECT_EQ(Bytes(pd::kProfileList), profiles);
  tp.data->failWrites.clear();

  ASSERT_EQ(media::ApplyDelete(printer.get(), &t, int(t.size() - 1), defaults.MediaTypeId, defaults.MediaClass),
            media::DeleteResult::kDeleted);
  EXPECT_EQ(Load().size(), builtIn + 1);
  const std::vector<unsigned char> list = Bytes(pd::kProfileList);
  ASSERT_EQ(list.size(), profiles.size());
  EXPECT_EQ(std::memcmp(list.data(), header, 8), 0) << "the count stays";
  for (uint32_t entry = 1; entry <= 4; ++entry)
    EXPECT_EQ(list[8 + (entry - 1) * kProfileEntrySize + 100], entry == 3 ? 0 : 0x77) << entry;
  ASSERT_TRUE(ReadFavourites(printer.get(), set.get()));
  EXPECT_EQ(set->slots[0].settings.MediaTypeId, defaults.MediaTypeId);
  EXPECT_EQ(set->slots[0].settings.MediaClass, defaults.MediaClass);

  // A list whose header disagrees with its size is left alone.
  std::vector<unsigned char> lying = profiles;
  lying[0] ^= 1;
  EXPECT_FALSE(media::ClearProfileEntry(&lying, 1));
  EXPECT_FALSE(media::ClearProfileEntry(&profiles, 5));
}

}  // namespace
}  // namespace vq
