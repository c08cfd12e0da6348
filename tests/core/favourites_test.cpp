// Favourites: the APUI_ENTRYSET reader against damaged values, the stores,
// save planning, deletion and the index that follows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "pages/basic/favourites.h"
#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq {
namespace {

using test::TestPrinter;

struct Favourites : testing::Test {
  TestPrinter tp;
  std::unique_ptr<PrinterStore> printer = tp.Open();

  // Stores `names` as used entries of the printer's default record.
  FavouriteSet Store(std::initializer_list<const char16_t*> names) {
    FavouriteSet set{};
    EXPECT_TRUE(ReadFavourites(printer.get(), &set));
    for (const char16_t* name : names) EXPECT_TRUE(AddFavourite(&set, tp.Defaults(), name));
    EXPECT_TRUE(SaveFavourites(printer.get(), set, set.count));
    return set;
  }
  std::vector<unsigned char> Stored() { return tp.data->values[pd::kEntrySet].bytes; }
};

TEST_F(Favourites, InstalledPrinterHasAnEmptySetOfTen) {
  FavouriteSet set{};
  ASSERT_TRUE(ReadFavourites(printer.get(), &set));
  EXPECT_EQ(set.count, 0u);
  EXPECT_EQ(set.fixed, 2u);
  EXPECT_EQ(set.maximum, 10u);
  EXPECT_EQ(CheckEntrySet(Stored().data(), Stored().size()), EntrySetStatus::kOk);
}

// Each damage in a stored value, what the checker says, and how many of the
// three stored favourites the reader still offers.
TEST_F(Favourites, DamagedValuesAreReportedAndTrimmed) {
  Store({u"A", u"B", u"C"});
  const std::vector<unsigned char> good = Stored();
  auto slot = [](uint32_t i, size_t field) { return i * kFavouriteEntrySize + 4 + field; };
  const struct {
    const char* what;
    std::function<void(std::vector<unsigned char>&)> damage;
    EntrySetStatus status;
    uint32_t offered;
  } cases[] = {
      {"intact", [](auto&) {}, EntrySetStatus::kOk, 3},
      {"one byte short", [](auto& v) { v.pop_back(); }, EntrySetStatus::kWrongSize, 0},
      {"one byte long", [](auto& v) { v.push_back(0); }, EntrySetStatus::kWrongSize, 0},
      {"empty", [](auto& v) { v.clear(); }, EntrySetStatus::kWrongSize, 0},
      {"flag 2 in slot 1", [&](auto& v) { v[kFavouriteEntrySize] = 2; }, EntrySetStatus::kBadFlag, 1},
      {"slot 1 freed", [&](auto& v) { v[kFavouriteEntrySize] = 0; }, EntrySetStatus::kNotPacked, 1},
      {"signature of slot 2", [&](auto& v) { v[slot(2, offsetof(JobSettings, Signature))] = 'X'; },
       EntrySetStatus::kForeignRecord, 2},
      {"private size of slot 0",
       [&](auto& v) { v[slot(0, offsetof(JobSettings, dmDriverExtra))] = 0; },
       EntrySetStatus::kForeignRecord, 0},
      {"driver version of slot 1",
       [&](auto& v) { v[slot(1, offsetof(JobSettings, dmDriverVersion)) + 1] = 0x06; },
       EntrySetStatus::kFutureVersion, 1},
  };
  for (const auto& c : cases) {
    std::vector<unsigned char> v = good;
    c.damage(v);
    tp.data->SetBinary(pd::kEntrySet, v.data(), v.size());
    EXPECT_EQ(CheckEntrySet(v.data(), v.size()), c.status) << c.what;
    FavouriteSet set{};
    const bool read = ReadFavourites(printer.get(), &set);
    EXPECT_EQ(read, c.status != EntrySetStatus::kWrongSize) << c.what;
    EXPECT_EQ(set.count, c.offered) << c.what;
  }
  // A stored count above what the value holds is trimmed too.
  tp.data->SetBinary(pd::kEntrySet, good.data(), good.size());
  tp.data->SetDword(pd::kEntrySetNum, 9);
  FavouriteSet set{};
  ASSERT_TRUE(ReadFavourites(printer.get(), &set));
  EXPECT_EQ(set.count, 3u);
}

TEST_F(Favourites, MissingNumbersOrValueReadAsNothing) {
  for (const char16_t* name : {pd::kEntrySet, pd::kEntrySetNum, pd::kEntrySetDefNum, pd::kEntrySetMaxNum}) {
    TestPrinter fresh;
    fresh.data->values.erase(name);
    auto p = fresh.Open();
    FavouriteSet set{};
    set.count = 7;
    EXPECT_FALSE(ReadFavourites(p.get(), &set));
    EXPECT_EQ(set.count, 0u);
  }
}

TEST_F(Favourites, DeletingTheFirstOfThreeMovesTheOthersDown) {
  FavouriteSet set = Store({u"A", u"B", u"C"});
  ASSERT_TRUE(DeleteFavouriteSlot(&set, 0));
  ASSERT_TRUE(RemoveFavourite(printer.get(), set));
  FavouriteSet read{};
  ASSERT_TRUE(ReadFavourites(printer.get(), &read));
  EXPECT_EQ(read.count, 2u);
  EXPECT_EQ(read.Name(0), u"B");
  EXPECT_EQ(read.Name(1), u"C");
  const std::vector<unsigned char> v = Stored();
  EXPECT_TRUE(std::all_of(v.begin() + 2 * kFavouriteEntrySize, v.end(), [](auto b) { return b == 0; }));
  EXPECT_FALSE(DeleteFavouriteSlot(&read, 2));  // free slot
}

TEST_F(Favourites, FailedWritesReportFailure) {
  FavouriteSet set = Store({u"A"});
  tp.data->failWrites.insert(pd::kEntrySet);
  EXPECT_FALSE(SaveFavourites(printer.get(), set, 2));
  EXPECT_FALSE(WriteFavourites(printer.get(), set));
  // The count written first is put back: nothing half-way.
  EXPECT_EQ(GetPrinterDword(printer.get(), pd::kEntrySetNum), 1u);
  EXPECT_FALSE(RemoveFavourite(printer.get(), set));
  EXPECT_EQ(GetPrinterDword(printer.get(), pd::kEntrySetNum), 1u);
  tp.data->failWrites = {pd::kEntrySetNum};
  EXPECT_FALSE(RemoveFavourite(printer.get(), set));
  EXPECT_EQ(tp.data->writeLog.back(), std::u16string(pd::kEntrySetNum));  // the value was not reached
}

TEST_F(Favourites, SavePlans) {
  FavouriteSet set = Store({u"Shop", u"Depot"});
  const struct {
    int32_t selected;
    const char16_t* name;
    bool renaming;
    uint32_t maximum;
    SaveStep step;
    uint32_t slot;
  } cases[] = {
      {-1, u"X", false, 10, SaveStep::kNoName, 0},
      {0, u"", false, 10, SaveStep::kNoName, 0},
      {0, u"Current settings", false, 10, SaveStep::kReservedName, 0},
      {0, u"Currentsettings", false, 10, SaveStep::kReservedName, 0},  // as the field lets it be typed
      {3, u"Default settings", true, 10, SaveStep::kReservedName, 0},
      {0, u"Depot", false, 10, SaveStep::kAskOverwrite, 1},
      {2, u"Depot", true, 10, SaveStep::kAskOverwrite, 1},   // renaming onto another entry
      {3, u"Depot", true, 10, SaveStep::kRename, 1},         // its own name
      {3, u"Yard", true, 10, SaveStep::kRename, 1},
      {1, u"Yard", false, 10, SaveStep::kAskNew, 2},
      {1, u"Yard", false, 2, SaveStep::kFull, 0},
      {1, u"Shop", false, 2, SaveStep::kAskOverwrite, 0},  // full, but an overwrite
  };
  for (const auto& c : cases) {
    set.maximum = c.maximum;
    const SavePlan plan = PlanSave(set, c.selected, c.name, c.renaming, u"Current settings", u"Default settings");
    EXPECT_EQ(plan.step, c.step) << int(c.selected) << " " << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name));
    if (plan.step == c.step) EXPECT_EQ(plan.slot, c.slot);
  }
}

TEST_F(Favourites, NamesAndEntryWrites) {
  EXPECT_TRUE(IsValidFavouriteName(u"Shop-16chars-abc"));
  EXPECT_FALSE(IsValidFavouriteName(u"Shop-17chars-abcd"));
  EXPECT_FALSE(IsValidFavouriteName(u"two words"));
  EXPECT_FALSE(IsValidFavouriteName(u"全角\u3000空格"));
  FavouriteSet set = Store({u"A-long-name-here"});
  RenameFavourite(&set, 0, u"B");
  // The name field is cleared before the new name goes in.
  EXPECT_EQ(set.slots[0].settings.SettingsName[2], 0);
  EXPECT_EQ(set.Name(0), u"B");
  JobSettings other = tp.Defaults();
  other.dmCopies = 7;
  OverwriteFavourite(&set, 0, other, u"C");
  EXPECT_EQ(set.slots[0].settings.dmCopies, 7);
  EXPECT_EQ(set.Name(0), u"C");
}

TEST(FavouriteIndex, FollowsDeletion) {
  // index, deleted slot -> index after
  const uint32_t cases[][3] = {{0, 0, 0}, {1, 0, 1}, {2, 0, 0}, {3, 0, 2}, {4, 1, 3},
                               {3, 1, 0}, {2, 1, 2}, {11, 9, 0}, {5, 9, 5}};
  for (const auto& c : cases) EXPECT_EQ(IndexAfterDeletion(c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

TEST_F(Favourites, NarrowMarginsAndClassification) {
  std::vector<PaperInfo> papers = tp.Papers();
  ASSERT_GE(papers.size(), 3u);
  // Layout 0: margin + liner; other layouts: the margin alone.
  PaperInfo p = papers[0];
  const struct { uint32_t layout, left, linerLeft, right, linerRight; bool narrow; } rules[] = {
      {0, 15, 12, 15, 15, false}, {0, 15, 11, 15, 15, true}, {0, 15, 15, 12, 14, true},
      {1, 27, 0, 27, 0, false},   {1, 26, 0, 27, 0, true},   {1, 15, 20, 27, 0, true},
  };
  for (const auto& r : rules) {
    p.paperLayout = r.layout, p.marginLeft = r.left, p.linerLeft = r.linerLeft;
    p.marginRight = r.right, p.linerRight = r.linerRight;
    EXPECT_EQ(PaperHasNarrowMargin(p), r.narrow) << r.layout << " " << r.left << "+" << r.linerLeft;
  }
  papers[1].marginLeft = 10;  // paper 1002 becomes narrow
  FavouriteSet set = Store({u"Narrow", u"Wide"});
  set.slots[0].settings.dmPaperSize = 1002;
  set.slots[1].settings.dmPaperSize = 1003;
  EXPECT_EQ(ClassifyFavourite(set, 0, false, papers), FavouriteLoad::kCurrent);
  EXPECT_EQ(ClassifyFavourite(set, 1, false, papers), FavouriteLoad::kDefaults);
  EXPECT_EQ(ClassifyFavourite(set, 2, false, papers), FavouriteLoad::kNarrow);
  EXPECT_EQ(ClassifyFavourite(set, 2, true, papers), FavouriteLoad::kEntry);
  EXPECT_EQ(ClassifyFavourite(set, 3, false, papers), FavouriteLoad::kEntry);
  EXPECT_EQ(ClassifyFavourite(set, 4, true, papers), FavouriteLoad::kNothing);
  EXPECT_EQ(ClassifyFavourite(set, 40, true, papers), FavouriteLoad::kNothing);
}

TEST_F(Favourites, EditablePaperIsTakenAgainFromTheTable) {
  std::vector<PaperInfo> papers = tp.Papers();
  JobSettings js = tp.WithPaper(256);
  ASSERT_NE(js.Paper.customEditable, 0u);
  for (PaperInfo& p : papers)
    if (p.paperId == 256) p.paperWidth = 555, p.paperLength = 777;
  RefreshEditablePaper(&js, papers);
  EXPECT_EQ(js.Paper.paperWidth, 555u);
  EXPECT_EQ(js.dmPaperWidth, 555);
  EXPECT_EQ(js.dmPaperLength, 777);
}

}  // namespace
}  // namespace vq
