// The custom paper checks: names, ranges with their messages, numbering,
// storing, deletion with favourites repaired; and the settings summary rows.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pages/basic/custom_paper.h"
#include "pages/basic/favourites.h"
#include "pages/basic/settings_summary.h"
#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq {
namespace {

using test::TestPrinter;

// Answers every question with `yes` and keeps what was shown.
struct ScriptedUser : CheckDialogue {
  bool yes = true;
  bool confirmNew = true;
  std::vector<std::u16string> shown;
  std::vector<uint32_t> styles;
  int confirmations = 0;
  bool Show(std::u16string_view text, uint32_t style) override {
    shown.emplace_back(text);
    styles.push_back(style);
    return yes;
  }
  bool ConfirmNewPaper(std::u16string_view) override {
    ++confirmations;
    return confirmNew;
  }
};

struct CustomPaper : testing::Test {
  TestPrinter tp;
  std::unique_ptr<PrinterStore> printer = tp.Open();
  std::vector<PaperInfo> table = tp.Papers();
  uint32_t firstUser = GetPrinterDword(printer.get(), pd::kPaperSupCount);
  uint32_t userMax = GetPrinterDword(printer.get(), pd::kPaperUserMax);
  std::vector<PaperInfo> storage;
  CustomPaperList list{};
  ScriptedUser user;

  void SetUp() override {
    ASSERT_EQ(firstUser, table.size());
    ASSERT_GE(userMax, 3u);
    storage = table;
    storage.resize(firstUser + userMax + 1);
    list = {storage.data(), uint32_t(table.size()), firstUser, userMax, 0};
  }
  // A user paper in 0.1 mm that passes every check.
  PaperInfo Sample(uint32_t width = 500, uint32_t length = 300) {
    PaperInfo p = table.back();  // the user-defined size's record
    p.paperId = 0;
    p.paperWidth = width, p.paperLength = length;
    return p;
  }
  uint32_t Add(const char16_t* name, PaperInfo p) {
    return CheckAndStoreCustomPaper(user, name, true, &p, nullptr, &list, false, printer.get());
  }
};

TEST_F(CustomPaper, NumbersFillTheFirstGap) {
  for (uint32_t id : {336u, 337u, 339u}) {
    PaperInfo p = Sample();
    p.paperId = id;
    std::u16string name = u"P" + std::u16string(1, char16_t(u'0' + id % 10));
    std::memcpy(p.paperName, name.data(), name.size() * 2);
    storage[list.count++] = p;
  }
  EXPECT_EQ(NextUserPaperId(list), 338u);
  EXPECT_EQ(Add(u"New", Sample()), kPaperStoredNew);
  EXPECT_EQ(storage[list.count - 1].paperId, 338u);
  EXPECT_EQ(Add(u"Newer", Sample()), kPaperStoredNew);
  EXPECT_EQ(storage[list.count - 1].paperId, 340u);
  // Stored as a whole table, the user papers after the built-in ones.
  const std::vector<PaperInfo> stored = tp.Papers();
  ASSERT_EQ(stored.size(), list.count);
  EXPECT_EQ(GetPrinterDword(printer.get(), pd::kPaperNum), list.count);
  EXPECT_EQ(stored.back().paperId, 340u);
  EXPECT_EQ(stored.back().printableWidth, 500u - 15 - 15);
}

// Name rules: what each name gets, and whether the table was written.
TEST_F(CustomPaper, NameRules) {
  ASSERT_EQ(Add(u"Mine", Sample()), kPaperStoredNew);
  const struct {
    const char16_t* name;
    bool fieldEnabled, yes;
    uint32_t result;
    const char16_t* message;  // start of the first text shown, null for none
  } cases[] = {
      {u"", true, true, kPaperRefused, u"尚未设置纸张名称。"},
      {u"User-defined size", true, true, kPaperRefused, u"无法将纸张名称注册为 [自定义]。"},
      {u"User-defined size", false, false, kPaperRefused, u"更改自定义大小值。是否继续?"},
      {u"User-defined size", false, true, kPaperStoredOver, u"更改自定义大小值。是否继续?"},
      {u"Label 40 x 30 mm", true, true, kPaperRefused, u"该文件名称与预设纸张名称相同。请更改名称。"},
      {u"Mine", true, false, kPaperRefused, u"已存在相同的纸张名称。要更改该值吗?"},
      {u"Mine", true, true, kPaperStoredOver, u"已存在相同的纸张名称。要更改该值吗?"},
      {u"Brand new", true, true, kPaperStoredNew, nullptr},
  };
  for (const auto& c : cases) {
    user = {};
    user.yes = c.yes;
    const size_t writes = tp.data->writes;
    PaperInfo p = Sample(600);
    EXPECT_EQ(CheckAndStoreCustomPaper(user, c.name, c.fieldEnabled, &p, nullptr, &list, false,
                                       printer.get()),
              c.result);
    if (c.message) {
      ASSERT_FALSE(user.shown.empty());
      EXPECT_EQ(user.shown[0].rfind(c.message, 0), 0u);
    } else {
      EXPECT_TRUE(user.shown.empty());
    }
    EXPECT_EQ(tp.data->writes > writes, c.result != kPaperRefused);
  }
  // The replaced user-defined size kept its number, "Mine" its own.
  EXPECT_EQ(storage[firstUser - 1].paperId, kUserDefinedPaper);
  EXPECT_EQ(storage[firstUser - 1].paperWidth, 600u);
  EXPECT_EQ(storage[firstUser].paperId, 336u);
  EXPECT_EQ(storage[firstUser].paperWidth, 600u);
}

TEST_F(CustomPaper, LimitAndConfirmation) {
  user.confirmNew = false;
  EXPECT_EQ(Add(u"Declined", Sample()), kPaperRefused);
  EXPECT_EQ(user.confirmations, 1);
  PaperInfo p = Sample();
  user.confirmNew = false;
  EXPECT_EQ(CheckAndStoreCustomPaper(user, u"Quiet", true, &p, nullptr, &list, true, printer.get()),
            kPaperStoredNew);  // confirmation suppressed
  user.confirmNew = true;
  while (list.count - firstUser < userMax)
    ASSERT_EQ(Add((u"N" + std::u16string(1, char16_t(u'a' + list.count))).c_str(), Sample()),
              kPaperStoredNew);
  user.shown.clear();
  EXPECT_EQ(Add(u"One too many", Sample()), kPaperRefused);
  ASSERT_EQ(user.shown.size(), 1u);
  EXPECT_EQ(user.shown[0], u"用户定义的纸张超出了限制。");
  EXPECT_EQ(user.styles[0], kMbIconError);
}

TEST_F(CustomPaper, RangeChecksSetTheFieldAndSayWhy) {
  const struct {
    const char* what;
    void (*edit)(PaperInfo&);
    const char16_t* message;
    uint32_t PaperInfo::*field;
    uint32_t value;
  } cases[] = {
      {"width 239 on layout 0", [](PaperInfo& p) { p.paperWidth = 239; },
       u"纸张宽度已超出设定范围。\r\n请设定为24.0 ～ 119.0。", &PaperInfo::paperWidth, 240},
      {"width 1201 on layout 1", [](PaperInfo& p) { p.paperLayout = 1, p.paperWidth = 1201; },
       u"纸张宽度已超出设定范围。\r\n请设定为25.0 ～ 120.0。", &PaperInfo::paperWidth, 1200},
      {"inch width 93", [](PaperInfo& p) { p = ConvertPaperUnit(p), p.paperWidth = 93; },
       u"纸张宽度已超出设定范围。\r\n请设定为0.94 ～ 4.68。", &PaperInfo::paperWidth, 94},
      {"left margin 14", [](PaperInfo& p) { p.marginLeft = 14; },
       u"左边距已超出设定范围。\r\n请设定为1.5 ～ 45.5。", &PaperInfo::marginLeft, 15},
      {"margins larger than the paper", [](PaperInfo& p) { p.marginRight = 600; },
       u"右边距已超出设定范围。\r\n请设定为1.5 ～ 45.5。", &PaperInfo::marginRight, 455},
      {"length 5001", [](PaperInfo& p) { p.paperLength = 5001; },
       u"纸张长度已超出设定范围。\r\n请设定为6.0 ～ 500.0。", &PaperInfo::paperLength, 5000},
      {"bottom margin 0", [](PaperInfo& p) { p.marginBottom = 0; },
       u"底边距已超出设定范围。\r\n请设定为1.5 ～ 25.5。", &PaperInfo::marginBottom, 15},
      {"left liner 4", [](PaperInfo& p) { p.linerLeft = 4; },
       u"左间距已超出设定范围。\r\n请设定为0.5 ～ 5.0。", &PaperInfo::linerLeft, 5},
      {"right liner + margin 26", [](PaperInfo& p) { p.linerRight = 11; },
       u"右间距 + 右边距已超出设定范围。\r\n请设定为2.7以上。", &PaperInfo::linerRight, 12},
      {"width with liners 1230", [](PaperInfo& p) { p.paperWidth = 1190, p.linerLeft = 20, p.linerRight = 20; },
       u"纸张宽度 + 左间距 + 右间距已超出设定范围。\r\n请设定为120.0以下。", &PaperInfo::paperWidth, 1160},
      {"printable too wide", [](PaperInfo& p) { p.paperWidth = 1150; },
       u"已超出最大可打印区域。\r\n请将 左边距 设置为 5.5。", &PaperInfo::marginLeft, 55},
  };
  for (const auto& c : cases) {
    user = {};
    PaperInfo p = Sample();
    c.edit(p);
    PaperInfo other{};
    const size_t writes = tp.data->writes;
    EXPECT_EQ(CheckAndStoreCustomPaper(user, u"Ranged", true, &p, &other, &list, false, printer.get()),
              kPaperRefused) << c.what;
    ASSERT_EQ(user.shown.size(), 1u) << c.what;
    EXPECT_EQ(user.shown[0], c.message) << c.what;
    EXPECT_EQ(p.*c.field, c.value) << c.what;
    EXPECT_EQ(other.paperUnit, p.paperUnit ? 0u : 1u) << c.what;  // the other copy follows
    EXPECT_EQ(tp.data->writes, writes) << c.what;
  }
}

TEST(CustomPaperNumbers, Formatting) {
  EXPECT_EQ(FormatCheckNumber(240, 0), u"24.0");
  EXPECT_EQ(FormatCheckNumber(1190, 0), u"119.0");
  EXPECT_EQ(FormatCheckNumber(7, 1), u"0.07");
  EXPECT_EQ(FormatCheckNumber(468, 1), u"4.68");
  EXPECT_EQ(FormatCheckNumber(-5, 0), u"-0.5");
  EXPECT_EQ(FormatCheckNumber(-25, 0), u"-2.5");
  uint32_t limits[kPaperTypeLimitCount];
  BuildPaperTypeLimits(true, limits);
  EXPECT_EQ(limits[kLimitsNarrowFlagA], 11u);
  EXPECT_EQ(limits[0], 240u);
  EXPECT_EQ(limits[kLimitsRow + 1], 468u);
  BuildPaperTypeLimits(false, limits);
  EXPECT_EQ(limits[kLimitsNarrowFlagB], 10u);
}

TEST_F(CustomPaper, InchLinerBesideA17Margin) {
  PaperInfo p = ConvertPaperUnit(Sample());
  p.marginLeft = 17, p.linerLeft = 7;
  p.marginRight = 17, p.linerRight = 7;
  // 17 + 7 = 24 < 27 would fail in millimetres' sense only after rounding:
  // the inch minimum is 11, so these pass and the liners become 8.
  ASSERT_EQ(Add(u"Inch", p), kPaperStoredNew) << (user.shown.empty() ? "" : "refused");
  EXPECT_EQ(storage[list.count - 1].linerLeft, 8u);
  EXPECT_EQ(storage[list.count - 1].linerRight, 8u);
}

TEST_F(CustomPaper, DeletionRefusalsAndRepairedFavourites) {
  ASSERT_EQ(Add(u"Old", Sample()), kPaperStoredNew);
  const PaperInfo old = storage[list.count - 1];
  const JobSettings defaults = tp.Defaults();
  JobSettings work = defaults;
  work.Paper = old;
  EXPECT_EQ(CheckAndDeletePaper(user, old, &list, work, defaults, printer.get()), kPaperDeleteRefused);
  EXPECT_EQ(user.shown.back(), u"无法删除设置中使用的纸张尺寸。");

  // Two favourites on the paper: the user is asked once, both are repaired
  // and stay repaired even when the deletion is then declined.
  FavouriteSet set{};
  ASSERT_TRUE(ReadFavourites(printer.get(), &set));
  JobSettings onOld = defaults;
  onOld.dmPaperSize = int16_t(old.paperId);
  onOld.Paper = old;
  AddFavourite(&set, onOld, u"F1");
  AddFavourite(&set, defaults, u"F2");
  AddFavourite(&set, onOld, u"F3");
  ASSERT_TRUE(SaveFavourites(printer.get(), set, set.count));
  user = {};
  user.yes = false;
  EXPECT_EQ(CheckAndDeletePaper(user, old, &list, defaults, defaults, printer.get()), kPaperDeleteRefused);
  user = {};
  EXPECT_EQ(CheckAndDeletePaper(user, old, &list, defaults, defaults, printer.get()), kPaperDeleted);
  ASSERT_EQ(user.shown.size(), 1u);
  EXPECT_EQ(user.shown[0].rfind(u"[Old] 为注册到收藏夹中的纸张尺寸。", 0), 0u);
  ASSERT_TRUE(ReadFavourites(printer.get(), &set));
  EXPECT_EQ(FavouritesUsingPaper(set, old.paperId), 0u);
  EXPECT_EQ(set.slots[0].settings.dmPaperSize, defaults.dmPaperSize);
  EXPECT_EQ(set.slots[2].settings.Paper.paperId, defaults.Paper.paperId);
  EXPECT_EQ(tp.Papers().size(), table.size());
  EXPECT_EQ(storage[list.count].paperId, 0u);  // the freed record is zero

  // Without favourites: asked by name; declined, or a name not in the list.
  ASSERT_EQ(Add(u"Other", Sample()), kPaperStoredNew);
  user = {};
  user.yes = false;
  EXPECT_EQ(CheckAndDeletePaper(user, storage[list.count - 1], &list, defaults, defaults, printer.get()),
            kPaperDeleteDeclined);
  EXPECT_EQ(user.shown.back(), u"删除名称 [Other]?");
  PaperInfo ghost = Sample();
  std::memcpy(ghost.paperName, u"Ghost", 10);
  user = {};
  EXPECT_EQ(CheckAndDeletePaper(user, ghost, &list, defaults, defaults, printer.get()), kPaperNotFound);
}

// ---- Settings summary ----------------------------------------------------

// A row's value as the list shows it, catalogue texts written "#id".
std::u16string Shown(const std::vector<SummaryRow>& rows, uint32_t label) {
  const TextLookup textOf = [](uint32_t id) {
    if (id == kBalanceListText) return std::u16string(u"C %d, M %d, Y %d, K %d");
    const std::string s = "#" + std::to_string(id);
    return std::u16string(s.begin(), s.end());
  };
  for (const SummaryRow& r : rows)
    if (r.label == label) return FormatSummaryValue(r.value, false, textOf);
  return u"(absent)";
}

TEST(SettingsSummary, RowsFollowTheRecord) {
  TestPrinter tp;
  JobSettings js = tp.Defaults();
  SummarySources sources;
  sources.colourModes = {u"Vivid", u"Natural"};
  sources.gammas = {u"G1", u"G2", u"G3"};
  auto rows = BuildSummaryRows(js, sources, false);
  EXPECT_EQ(Shown(rows, 4913), u"(absent)");
  EXPECT_EQ(rows.size(), 30u);
  EXPECT_EQ(BuildSummaryRows(js, sources, true).size(), 31u);
  EXPECT_EQ(BuildSummaryRows(js, sources, true)[2].label, 4913u);

  // Monochrome: colour rows and tone levels not applicable, balance shown.
  js.Monochrome = 1, js.MonoTone = 255, js.ColorMode = 1;
  js.CyanBalance = 3, js.BlackBalance = -2;
  rows = BuildSummaryRows(js, sources, false);
  for (uint32_t label : {4927u, 4930u, 4949u, 4958u}) EXPECT_EQ(Shown(rows, label), u"#5365") << label;
  EXPECT_EQ(Shown(rows, 4948), u"C 3, M 0, Y 0, K -2");

  js = tp.Defaults();
  js.PagesPerSheet = 2;
  EXPECT_EQ(Shown(BuildSummaryRows(js, sources, false), 4967), u"#5365");
  js.PagesPerSheet = 1, js.PageOrder = 1;
  EXPECT_EQ(Shown(BuildSummaryRows(js, sources, false), 4967), u"#4992");

  // The cut rows chain: between labels on, mode "every N", count 2.
  js.Option728 = 1, js.Option740 = 0x10, js.CopyCount2 = 4, js.CopyCount1 = 9;
  rows = BuildSummaryRows(js, sources, false);
  EXPECT_EQ(Shown(rows, 4924), u"#5004");
  EXPECT_EQ(Shown(rows, 4925), u"#5365");
  EXPECT_EQ(Shown(rows, 4926), u"4");
  js.Option740 = 0x1110;
  rows = BuildSummaryRows(js, sources, false);
  EXPECT_EQ(Shown(rows, 4925), u"#4961");
  EXPECT_EQ(Shown(rows, 4926), u"9");
  js.Option740 = 0x110;
  EXPECT_EQ(Shown(BuildSummaryRows(js, sources, false), 4926), u"#5365");

  js.PrintLevel = 15;
  EXPECT_EQ(Shown(BuildSummaryRows(js, sources, false), 4968), u"#5021#5012");
  js.PrintLevel = 0x80000000u | 15;
  EXPECT_EQ(Shown(BuildSummaryRows(js, sources, false), 4968), u"#4993");
}

TEST(SettingsSummary, ClipboardText) {
  TestPrinter tp;
  JobSettings js = tp.Defaults();
  js.dmCopies = 3;
  const auto rows = BuildSummaryRows(js, {}, false);
  const std::u16string text = SummaryText(
      rows, [](uint32_t id) { return id == 5390 ? std::u16string(u"Driver") : id == 4915 ? u"Copies" : u"T"; },
      u"Morva VT-Q3120", u"Shop printer");
  EXPECT_EQ(text.rfind(u"Driver : Morva VT-Q3120\r\nT : Shop printer\r\n" + std::u16string(80, u'=') + u"\r\n", 0), 0u);
  EXPECT_NE(text.find(u"\r\nCopies : 3\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"T : \r\nMicrosoft Windows 8.1 / 10\r\nMorva VT-Q3120\r\nVersion 1.00\r\n"), std::u16string::npos);
  EXPECT_EQ(FormatNumbers(u"C %d, K %d%%", std::vector<int32_t>{5, -1}), u"C 5, K -1%");
}

}  // namespace
}  // namespace vq
