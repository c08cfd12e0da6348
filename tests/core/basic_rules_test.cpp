// The basic settings page's decisions.
#include <gtest/gtest.h>

#include <cstring>

#include "pages/basic/basic_rules.h"

namespace vq::basic {
namespace {

PaperInfo Paper(uint32_t id, const char16_t* name, uint32_t layout, uint32_t left, uint32_t right,
                uint32_t linerLeft = 0, uint32_t linerRight = 0) {
  PaperInfo p{};
  p.paperId = id;
  std::u16string n = name;
  std::copy(n.begin(), n.end(), p.paperName);
  p.paperLayout = layout;
  p.marginLeft = left;
  p.marginRight = right;
  p.linerLeft = linerLeft;
  p.linerRight = linerRight;
  p.paperWidth = 1000;
  p.paperLength = 500;
  return p;
}

TEST(BasicRules, PaperListMarksNarrowMarginsAndMovesOffThem) {
  const PaperInfo table[] = {
      Paper(1001, u"Label", 0, 15, 15, 12, 12),  // 27 with its liners: allowed
      Paper(1002, u"Tight", 0, 15, 15, 11, 12),  // 26 on the left
      Paper(1015, u"Roll", 2, 27, 27),
      Paper(1016, u"Roll narrow", 2, 27, 26),
      Paper(1017, u"Mark", 1, 15, 30, 20, 20),   // liners count for layout 0 only
      Paper(256, u"User", 0, 15, 15, 15, 15),
  };
  struct Case {
    bool allowed;
    uint32_t current, currentAfter;
    int index;
    std::vector<uint32_t> narrow;
  };
  const Case cases[] = {
      {false, 1015, 1015, 2, {0, 1, 0, 1, 1, 0}},
      {false, 1002, 1001, 0, {0, 1, 0, 1, 1, 0}},  // a narrow current paper falls back to the first
      {true, 1002, 1002, 1, {0, 0, 0, 0, 0, 0}},
      {true, 256, 256, 5, {0, 0, 0, 0, 0, 0}},
      {true, 4242, 4242, -1, {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "allowed " << c.allowed << " current " << c.current);
    PaperInfo papers[std::size(table)];
    std::copy(std::begin(table), std::end(table), papers);
    for (PaperInfo& p : papers) p.narrowMargin = 7;  // every record is rewritten
    uint32_t current = c.current;
    std::vector<std::u16string> items;
    EXPECT_EQ(FillPaperList(papers, std::size(papers), c.allowed, &current, u"[N] ", &items), c.index);
    EXPECT_EQ(current, c.currentAfter);
    ASSERT_EQ(items.size(), std::size(papers));
    for (size_t i = 0; i < std::size(papers); ++i) {
      EXPECT_EQ(papers[i].narrowMargin, c.narrow[i]) << i;
      const std::u16string name = table[i].paperName;
      EXPECT_EQ(items[i], c.narrow[i] ? u"[N] " + name : name) << i;
    }
  }
}

TEST(BasicRules, MinimumLengthRaisesBothCutCounts) {
  struct Case {
    uint32_t option728, length, count1, count2;
    bool told;
    uint32_t after1, after2;
  };
  const Case cases[] = {
      {1, 200, 1, 1, true, 2, 2},   // ceil(381 / 200)
      {1, 100, 1, 5, true, 4, 5},   // never lowered
      {1, 380, 1, 1, true, 2, 2},
      {1, 381, 1, 1, false, 1, 1},
      {0, 200, 1, 1, false, 1, 1},  // the rule is off
      {2, 200, 1, 1, false, 1, 1},
      {1, 0, 1, 1, false, 1, 1},    // no division by a zero length
      {1, 1, 1, 1, true, 381, 381},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.option728 << " " << c.length);
    JobSettings js{};
    js.Option728 = c.option728;
    js.CopyCount1 = c.count1;
    js.CopyCount2 = c.count2;
    EXPECT_EQ(ApplyMinimumLength(js, c.length), c.told);
    EXPECT_EQ(js.CopyCount1, c.after1);
    EXPECT_EQ(js.CopyCount2, c.after2);
  }
  PaperInfo p{};
  p.paperLength = 200;
  p.gap = 30;
  EXPECT_EQ(CutLength(p, 0), 230u);
  EXPECT_EQ(CutLength(p, 2), 200u);
}

TEST(BasicRules, SmallDecisionTables) {
  EXPECT_EQ(PaperOptionAfter(132, 0), OptionBox::kForceOn);
  EXPECT_EQ(PaperOptionAfter(132, 132), OptionBox::kForceOn);
  EXPECT_EQ(PaperOptionAfter(0, 132), OptionBox::kRelease);
  EXPECT_EQ(PaperOptionAfter(2, 0), OptionBox::kLeave);

  PaperInfo user = Paper(256, u"User", 0, 15, 15), editable = Paper(1001, u"L", 0, 15, 15);
  editable.customEditable = 0x3800;
  const PaperInfo fixed = Paper(1015, u"R", 2, 27, 27);
  struct Enable {
    bool admin, userDefault;
    const PaperInfo* paper;
    bool enabled;
  };
  const Enable enables[] = {
      {false, true, &editable, false}, {false, false, &user, false}, {true, true, &editable, true},
      {true, true, &fixed, false},     {true, false, &editable, false}, {true, false, &user, true},
  };
  for (const Enable& e : enables)
    EXPECT_EQ(CustomPaperEnabled(e.admin, e.userDefault, *e.paper), e.enabled)
        << e.admin << e.userDefault << e.paper->paperId;

  struct Copies {
    int32_t typed;
    int16_t copies;
    bool reset;
  };
  const Copies copies[] = {{0, 1, true},    {1, 1, false},   {999, 999, false}, {1000, 1, true},
                           {-5, 1, true},   {99999, 1, true}, {2147483647, 1, true}};
  for (const Copies& c : copies) {
    const CopiesReading r = ReadCopies(c.typed, 999);
    EXPECT_EQ(r.copies, c.copies) << c.typed;
    EXPECT_EQ(r.resetField, c.reset) << c.typed;
  }

  EXPECT_EQ(OrientationLockFor(true, 2), kLockLandscape);
  EXPECT_EQ(OrientationLockFor(true, 1), kLockPortrait);
  EXPECT_EQ(OrientationLockFor(false, 2), 0u);
  JobSettings js{};
  js.dmOrientation = 1;
  js.OrientationLock = kLockLandscape;
  EXPECT_FALSE(ViewOrientation(js).portrait);
  EXPECT_TRUE(ViewOrientation(js).lockChecked);
  js.OrientationLock = 0;
  js.dmOrientation = 2;
  EXPECT_FALSE(ViewOrientation(js).portrait);
  EXPECT_FALSE(ViewOrientation(js).lockChecked);

  EXPECT_EQ(PlainPaperPrintLevel(0x80000014u), 10u);
  EXPECT_EQ(PlainPaperPrintLevel(0x70000005u), 5u);
}

TEST(BasicRules, SnapshotsTellCopiesAndOtherChangesApart) {
  MediaData media[2]{};
  media[0].mediaId = 1;
  media[1].mediaId = 5;
  JobSettings js{};
  js.dmCopies = 1;
  js.MediaTypeId = 5;
  const PageSnapshot ref = ReadPageSnapshot(js, media, 2, 3);
  EXPECT_EQ(ref.mediaIndex, 1);
  struct Case {
    void (*change)(JobSettings&);
    uint32_t paperIndex;
    bool copies, changed;
  };
  const Case cases[] = {
      {[](JobSettings&) {}, 3, false, false},
      {[](JobSettings&) {}, 7, false, false},  // the paper's place in the list alone
      {[](JobSettings& j) { j.dmCopies = 2; }, 3, true, true},
      {[](JobSettings& j) { j.dmOrientation = 2; }, 3, false, true},
      {[](JobSettings& j) { j.MediaTypeId = 1; }, 3, false, true},
      {[](JobSettings& j) { j.OrientationLock = 4; }, 3, false, true},
      {[](JobSettings& j) { j.CopyCount2 = 3; }, 3, false, true},
      {[](JobSettings& j) { j.MediaTypeId = 99; j.dmCopies = 1; }, 3, false, true},  // absent: item 0
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    JobSettings live = js;
    cases[i].change(live);
    const ChangeVerdict v = CompareSnapshots(ref, ReadPageSnapshot(live, media, 2, cases[i].paperIndex));
    EXPECT_EQ(v.copiesDiffer, cases[i].copies) << i;
    EXPECT_EQ(v.settingsChanged, cases[i].changed) << i;
  }
  MarkChangedByHand(js, u"Current settings");
  EXPECT_EQ(std::u16string(js.SettingsName), u"Current settings");
  EXPECT_EQ(js.SettingsNameId, 0u);
}

TEST(BasicRules, UserPaperTravelsBetweenSheetsOfOneProcess) {
  PaperInfo table[2] = {Paper(1001, u"L", 0, 15, 15), Paper(256, u"User", 0, 15, 15)};
  PaperInfo userPaper{};
  JobSettings js{};
  js.Option484 = 1;
  js.dmPaperSize = 256;
  js.Paper = Paper(256, u"User", 0, 15, 15);
  js.Paper.paperWidth = 777;
  MergeUserPaper(js, table, 2, userPaper);
  EXPECT_EQ(table[1].paperWidth, 777u);
  EXPECT_EQ(userPaper.paperWidth, 777u) << "seeded from the first sheet's record";
  EXPECT_EQ(js.Option484, 0u);
  EXPECT_EQ(table[0].paperWidth, 1000u);

  // The next sheet of the process, on a record of another paper: the table
  // still offers the size made before.
  PaperInfo next[2] = {Paper(1001, u"L", 0, 15, 15), Paper(256, u"User", 0, 15, 15)};
  JobSettings other{};
  other.Option484 = 1;
  other.dmPaperSize = 1001;
  other.Paper = next[0];
  MergeUserPaper(other, next, 2, userPaper);
  EXPECT_EQ(next[1].paperWidth, 777u);
  EXPECT_EQ(other.Option484, 1u);

  TakeUserPaper(other, userPaper);
  EXPECT_EQ(other.dmPaperSize, 256);
  EXPECT_EQ(other.dmPaperWidth, 777);
  PaperInfo longName = Paper(1001, u"A name longer than the thirty-one characters of a form", 2, 27, 27);
  TakePaper(other, longName);
  EXPECT_EQ(std::u16string(other.dmFormName), u"A name longer than the thirty-o");
  EXPECT_EQ(other.Paper.paperId, 1001u);
}

TEST(BasicRules, DetailsTexts) {
  DetailTexts t;
  t.size = u"Size: ";
  t.mm = u"mm";
  t.inch = u"in";
  t.top = u"T: ";
  t.bottom = u"B: ";
  t.left = u"L: ";
  t.right = u"R: ";
  t.liners = u"Liner: ";
  t.inks = u"C %d%%, M %d%%, Y %d%%, K %d%% / C %d M %d Y %d K %d";
  t.profile = u"Profile: %s, %s";
  t.fine = u"1200";
  t.standard = u"600";
  t.dither = u"Dither";
  t.diffusion = u"Diffusion";
  PaperInfo p = Paper(1001, u"L", 0, 15, 27, 15, 20);
  p.paperWidth = 1016;
  p.paperLength = 1524;
  p.marginTop = 15;
  p.marginBottom = 20;
  EXPECT_EQ(PaperDetails(p, false, true, t),
            u"Size: 101.6 x 152.4mm\r\nT: 1.5mm\r\nB: 2.0mm\r\nL: 1.5mm\r\nR: 2.7mm\r\nLiner: 1.5 / 2.0mm");
  EXPECT_EQ(PaperDetails(p, true, false, t).substr(0, 25), u"Size: 4,00 x 6,00in\r\nT: 0");

  MediaData m{};
  const std::u16string name = u"Gloss";
  std::copy(name.begin(), name.end(), m.mediaName);
  for (int i = 0; i < 8; ++i) m.ink[i] = 10 * (i + 1);  // K C M Y, K C M Y
  EXPECT_EQ(MediaDetails(m, nullptr, t), u"Gloss:\r\nC 20%, M 30%, Y 40%, K 10% / C 60 M 70 Y 80 K 50");
  unsigned char entry[1056] = {};
  entry[kProfileResolutionOffset] = 0xB0;  // 1200
  entry[kProfileResolutionOffset + 1] = 0x04;
  entry[kProfileHalftoneOffset] = 1;
  const ProfileWords w = ReadProfileWords(entry);
  EXPECT_EQ(w.resolution, 1200u);
  EXPECT_EQ(MediaDetails(m, &w, t), MediaDetails(m, nullptr, t) + u"\r\nProfile: 1200, Dither");
  EXPECT_EQ(FormatText(u"%s and %d and %x %", {{0, u"a", true}}), u"a and %d and %x %");
}

}  // namespace
}  // namespace vq::basic
