// The decisions of the cut settings, overlay forms and advanced pages and of
// the overlay settings dialog: limits, enable rules, what a form file says,
// where the pictures draw. The windows only move these values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pages/advanced/advanced_rules.h"
#include "pages/control_ids.h"
#include "pages/cut/cut_rules.h"
#include "pages/job_fields.h"
#include "pages/overlay/overlay_rules.h"
#include "tools/form/overlay_form_writer.h"

namespace vq {
namespace {

JobSettings Record(uint32_t labelLength, uint32_t gap = 0, uint32_t layout = 0) {
  JobSettings js{};
  js.Paper.paperLength = labelLength;
  js.Paper.gap = gap;
  js.Paper.paperLayout = layout;
  js.CopyCount1 = js.CopyCount2 = 1;
  return js;
}

// ---- Cut settings --------------------------------------------------------

TEST(CutRules, MinimumCountFromTheLabelPitch) {
  struct Case {
    uint32_t length, gap, layout, pitch, least;
  };
  const Case cases[] = {
      {150, 0, 0, 150, 3},    // ceil(381 / 150)
      {150, 40, 0, 190, 3},   // the gap counts on a liner: 381 / 190 is just over 2
      {190, 1, 0, 191, 2},
      {100, 90, 16, 100, 4},  // no gap between pieces of other layouts
      {381, 0, 0, 381, 1},
      {380, 1, 0, 381, 1},
      {1000, 30, 0, 1030, 1},
      {0, 0, 1, 0, 9999},     // a record without a length: every piece as long as it can be
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "length " << c.length << " gap " << c.gap);
    const JobSettings js = Record(c.length, c.gap, c.layout);
    EXPECT_EQ(cut::LabelPitch(js.Paper), c.pitch);
    EXPECT_EQ(cut::MinCutCount(js.Paper), c.least);
  }
}

TEST(CutRules, TypedAndSpunCounts) {
  struct Case {
    const char16_t* text;
    bool cutting, afterCopy;
    bool store;
    uint32_t value;
    bool rewrite;
  };
  const Case cases[] = {
      {u"1", true, false, true, 3, true},        // below the minimum while cutting
      {u"5", true, false, true, 5, false},
      {u"12000", false, false, true, 9999, true},  // no lower limit without cutting, upper always
      {u"0", false, true, true, 0, false},
      {u"-3", false, false, true, 0, true},
      {u"", true, false, false, 7, false},        // being emptied: left alone
      {u"abc", true, true, true, 7, true},        // letters: the count comes back
      {u"10000", true, true, true, 9999, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "typed \"" << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)) << "\"");
    JobSettings js = Record(150);
    js.Option728 = c.cutting ? 1 : 0;
    js.Option740 = c.afterCopy ? cut::kAfterCopy : 0;
    js.CopyCount1 = js.CopyCount2 = 7;
    const cut::CountEntry e = cut::TypedCount(c.text, js);
    EXPECT_EQ(e.store, c.store);
    EXPECT_EQ(e.value, c.value);
    EXPECT_EQ(e.rewrite, c.rewrite);
  }
  JobSettings js = Record(150);
  EXPECT_EQ(cut::SpunCount(5, 1, js), 6u);
  EXPECT_EQ(cut::SpunCount(1, -1, js), 1u);
  EXPECT_EQ(cut::SpunCount(9999, 1, js), 9999u);
  EXPECT_EQ(cut::SpunCount(2147483647, 1, js), 9999u);
  js.Option728 = 1;
  EXPECT_EQ(cut::SpunCount(1, 1, js), 3u);
  EXPECT_EQ(cut::SpunCount(4, -1, js), 3u);
}

TEST(CutRules, CuttingOnRaisesBothCountsForShortLabels) {
  JobSettings shortLabels = Record(150);
  shortLabels.CopyCount1 = 1;
  shortLabels.CopyCount2 = 5;
  EXPECT_TRUE(cut::SwitchCuttingOn(shortLabels)) << "the user is told (message 4114)";
  EXPECT_EQ(shortLabels.Option728, 1u);
  EXPECT_EQ(shortLabels.CopyCount1, 3u);
  EXPECT_EQ(shortLabels.CopyCount2, 5u);

  JobSettings longLabels = Record(400);
  EXPECT_FALSE(cut::SwitchCuttingOn(longLabels));
  EXPECT_EQ(longLabels.CopyCount1, 1u);

  // At page start only the count on show is raised.
  JobSettings start = Record(150);
  start.Option728 = 1;
  start.Option740 = cut::kAfterCopy;
  cut::RaiseModeCount(start);
  EXPECT_EQ(start.CopyCount1, 3u);
  EXPECT_EQ(start.CopyCount2, 1u);
}

TEST(CutRules, ControlsFollowTheRecord) {
  struct Case {
    uint32_t option728, option740;
    bool group, modes, within, count;
    uint16_t unit;
    uint32_t shown;  // the count on show: CopyCount2 = 2, CopyCount1 = 8
  };
  constexpr uint32_t kB = cut::kBetweenLabels, kA = cut::kAfterCopy, kW = cut::kWithinCopy;
  const Case cases[] = {
      {0, kB | kA | kW, false, false, false, false, 4420, 8},  // cutting off: all disabled
      {1, 0x3, true, false, false, false, 4421, 2},            // no cuts between labels
      {1, kB, true, true, false, true, 4421, 2},               // every N labels
      {1, kB | kW, true, true, false, true, 4421, 2},          // within-copy is second-mode only
      {1, kB | kA, true, true, true, false, 4420, 8},          // after each copy, no count
      {1, kB | kA | kW, true, true, true, true, 4420, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "728 " << c.option728 << " 740 " << std::hex << c.option740);
    JobSettings js = Record(500);
    js.Option728 = c.option728;
    js.Option740 = c.option740;
    js.CopyCount1 = 8;
    js.CopyCount2 = 2;
    const cut::CutControls k = cut::ControlsFor(js);
    EXPECT_EQ(k.groupEnabled, c.group);
    EXPECT_EQ(k.modeEnabled, c.modes);
    EXPECT_EQ(k.withinCopyEnabled, c.within);
    EXPECT_EQ(k.countEnabled, c.count);
    EXPECT_EQ(k.unitText, c.unit);
    EXPECT_EQ(k.count, c.shown);
    EXPECT_EQ(k.withinCopy, (c.option740 & kW) != 0) << "checked even when disabled";
  }
  // Bits without a box survive a click.
  EXPECT_EQ(cut::BuildOption740(0x80000000u | 0x3, false, true, true, false, false), 0x80000012u);
}

TEST(CutRules, IllustrationLines) {
  constexpr uint32_t kB = cut::kBetweenLabels, kA = cut::kAfterCopy, kW = cut::kWithinCopy;
  struct Case {
    uint32_t option740, count;
    std::vector<int> x;
  };
  const Case cases[] = {
      {0, 1, {}},  // the bare strip
      {cut::kLeadingEdge | cut::kTrailingEdge, 1, {18, 506}},
      {kB, 1, {77, 130, 183, 236, 289, 342, 395, 448}},
      {kB, 2, {130, 236, 342, 448}},
      {kB, 3, {183, 342}},
      {kB | cut::kLeadingEdge, 8, {18, 448}},
      {kB, 9, {}},  // only eight boundaries are pictured
      {kB, 0, {77, 130, 183, 236, 289, 342, 395, 448}},  // a stored 0 is read as 1
      {kB | kA, 1, {183, 342}},
      {kB | kA | kW, 1, {77, 130, 183, 236, 289, 342, 395, 448}},
      {kB | kA | kW, 2, {130, 183, 289, 342, 448}},
      {kB | kA | kW, 3, {183, 342}},
      {kA | kW | cut::kTrailingEdge, 1, {506}},  // nothing between labels
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.option740 << std::dec << " every " << c.count);
    EXPECT_EQ(cut::CutLinePositions(c.option740, c.count), c.x);
  }
}

TEST(CutRules, ChangeCheckAndDefaults) {
  JobSettings js = Record(500);
  const cut::Snapshot s = cut::TakeSnapshot(js);
  EXPECT_FALSE(cut::Changed(s, js));
  for (uint32_t JobSettings::*field : {&JobSettings::Option728, &JobSettings::Option740,
                                       &JobSettings::CopyCount1, &JobSettings::CopyCount2}) {
    JobSettings edited = js;
    edited.*field += 1;
    EXPECT_TRUE(cut::Changed(s, edited));
  }
  JobSettings defaults = Record(500);
  defaults.Option740 = 3;
  defaults.CopyCount1 = defaults.CopyCount2 = 1;
  js.Option728 = 1;
  js.Option740 = 0x1113;
  js.CopyCount2 = 40;
  js.PagesPerSheet = 4;
  cut::RestoreDefaults(js, defaults);
  EXPECT_EQ(js.Option728, 0u);
  EXPECT_EQ(js.Option740, 3u);
  EXPECT_EQ(js.CopyCount2, 1u);
  EXPECT_EQ(js.PagesPerSheet, 4u) << "not a field of this page";
}

// ---- Overlay forms -------------------------------------------------------

std::u16string Path(const JobSettings& js) { return std::u16string(js.OverlayPath); }

TEST(OverlayRules, ModeAndSwitchBits) {
  JobSettings js{};
  js.OverlayMode = 0x70000002;
  overlay::SwitchOn(js);
  EXPECT_EQ(js.OverlayMode, 0xF0000002u);
  overlay::SwitchOff(js);
  EXPECT_EQ(js.OverlayMode, 0x00000002u) << "the low 28 bits stay, the rest goes";
  overlay::ChooseMode(js, true, u"C:\\forms\\a.ofe");
  EXPECT_EQ(js.OverlayMode, 0x80000001u);
  EXPECT_TRUE(overlay::IsCreate(js));
  EXPECT_EQ(Path(js), u"C:\\forms\\a.ofe");
  overlay::ChooseMode(js, false, u"D:\\b.ofe");
  EXPECT_EQ(js.OverlayMode, 0x80000002u);
  js.OverlayMode = 0x80000003;
  EXPECT_FALSE(overlay::IsCreate(js)) << "anything but 1 is shown as use";

  // Too long for the record: cut to leave the terminator; no old text behind it.
  overlay::SetPath(js, std::u16string(300, u'x'));
  EXPECT_EQ(Path(js).size(), 259u);
  overlay::SetPath(js, u"ab");
  EXPECT_EQ(js.OverlayPath[3], u'\0');
  overlay::SetComment(js, std::u16string(40, u'c'));
  EXPECT_EQ(overlay::CommentOf(js).size(), 31u);
}

TEST(OverlayRules, ModeControlsAreTheTwoModesOfOneGroup) {
  int hidden = 0;
  for (const overlay::ModeControl& c : overlay::ModeControls()) {
    SCOPED_TRACE(c.id);
    if (c.hideWhenDisabled) {
      ++hidden;
      EXPECT_NE(c.enabledInCreate, c.enabledInUse) << "one path edit a mode";
    }
  }
  EXPECT_EQ(hidden, 2);
  auto in = [](uint16_t id, bool create) {
    for (const overlay::ModeControl& c : overlay::ModeControls())
      if (c.id == id) return create ? c.enabledInCreate : c.enabledInUse;
    ADD_FAILURE() << "no row for " << id;
    return false;
  };
  EXPECT_TRUE(in(IDC_OVERLAY_COMMENT, true));
  EXPECT_FALSE(in(IDC_OVERLAY_COMMENT, false)) << "a used form's comment is its own";
  EXPECT_FALSE(in(IDC_OVERLAY_THUMBNAIL, true));
  EXPECT_TRUE(in(IDC_OVERLAY_FIRST_PAGE_ONLY, false));
}

std::vector<uint8_t> Form(bool header, uint8_t version = 3, uint8_t lead = 0, uint16_t word = 0x12ab) {
  FormWriteOptions o;
  o.fileHeader = header;
  o.version = version;
  o.leadByte = lead;
  o.pageWord = word;
  o.xResolution = 254;  // dots read as 0.1 mm across, 0.05 mm down
  o.yResolution = 508;
  const FormPicture pages[] = {MakeFormPattern("rule", 1024, 508), MakeFormPattern("rule", 64, 64)};
  std::vector<uint8_t> bytes = WriteFormData(pages, o);
  if (header) {
    const char16_t comment[] = u"Shipping";
    std::memcpy(bytes.data() + 8, comment, sizeof comment);
  }
  return bytes;
}

TEST(OverlayRules, WhatAFormSaysAboutItself) {
  const overlay::FormDescription plain = overlay::DescribeForm(Form(false));
  EXPECT_EQ(plain.check, overlay::FormCheck::kUnreadable) << "a form file starts with its header";

  const overlay::FormDescription form = overlay::DescribeForm(Form(true, 3, 2));
  ASSERT_EQ(form.check, overlay::FormCheck::kForm);
  EXPECT_EQ(form.comment, u"Shipping");
  ASSERT_EQ(form.pages.size(), 2u);
  EXPECT_EQ(form.pages[0].formCode, 0x12ab);
  EXPECT_TRUE(form.pages[0].landscape);
  EXPECT_EQ(form.pages[0].xResolution, 254);
  EXPECT_EQ(form.pages[0].yResolution, 508);
  EXPECT_EQ(form.pages[0].widthDots, 1024u);
  EXPECT_EQ(form.pages[0].lengthDots, 508u);
  EXPECT_EQ(overlay::DotsToTenthMm(1181, 300), 1000u);
  EXPECT_EQ(overlay::DotsToTenthMm(5, 0), 0u);

  const overlay::FormDescription v2 = overlay::DescribeForm(Form(true, 2));
  ASSERT_FALSE(v2.pages.empty());
  EXPECT_FALSE(v2.pages[0].landscape);
  EXPECT_EQ(v2.pages[0].xResolution, 250) << "version 2 keeps dpi / 10 in a byte";

  // The text: one labelled line a fact, in the user's units.
  auto text = [](uint16_t id) { return u"<" + std::u16string(1, char16_t(u'0' + id % 10)) + u">"; };
  const std::u16string info = overlay::FormInfoText(form, text, true);
  EXPECT_EQ(info.substr(0, info.find(u"\r\n\r\n")),
            u"<7>12ab\r\n<0><6>\r\n<8>102.4 <8>\r\n<9>25.4 <8>\r\n<1>254 x 508 dpi");
  EXPECT_NE(overlay::FormInfoText(form, text, false).find(u"102,4"), std::u16string::npos);
}

TEST(OverlayRules, BrokenFormsStopCleanly) {
  const std::vector<uint8_t> whole = Form(true);
  // Every cut of the file: nothing read outside it, and a header alone is
  // still a form (with fewer facts).
  for (size_t n = 0; n <= whole.size(); n += (n < 200 ? 1 : 997)) {
    const overlay::FormDescription d = overlay::DescribeForm({whole.data(), n});
    EXPECT_EQ(d.check, n >= 76 ? overlay::FormCheck::kForm : overlay::FormCheck::kUnreadable) << n;
  }
  // A `p` whose length runs past the end, and an `s` that ends the walk.
  std::vector<uint8_t> lying(whole.begin(), whole.begin() + 76);
  lying.insert(lying.end(), {0x1B, 'p', 0xFF, 0xFF, 0, 3});
  EXPECT_EQ(overlay::DescribeForm(lying).pages.size(), 1u);
  std::vector<uint8_t> ended(whole.begin(), whole.begin() + 76);
  ended.insert(ended.end(), {0x1B, 's', 4, 0, 0, 1, 2, 0, 0x1B, 'p', 2, 0, 0, 3});
  EXPECT_TRUE(overlay::DescribeForm(ended).pages.empty());
}

TEST(OverlayRules, ChangeCheckAndDefaults) {
  JobSettings js{};
  overlay::ChooseMode(js, false, u"a.ofe");
  const overlay::Snapshot s = overlay::TakeSnapshot(js);
  EXPECT_FALSE(overlay::Changed(s, js));
  JobSettings edited = js;
  overlay::SetComment(edited, u"x");
  EXPECT_TRUE(overlay::Changed(s, edited));
  edited = js;
  edited.OverlayPreview = 1;
  EXPECT_TRUE(overlay::Changed(s, edited));
  edited = js;
  overlay::SetPath(edited, u"b.ofe");
  EXPECT_TRUE(overlay::Changed(s, edited));

  JobSettings defaults{};
  defaults.OverlayMode = 2;
  defaults.OverlayOption = 2;
  overlay::RestoreDefaults(js, defaults);
  EXPECT_EQ(js.OverlayMode, 2u);
  EXPECT_EQ(Path(js), u"");
}

// ---- Advanced settings ---------------------------------------------------

TEST(AdvancedRules, LevelSlider) {
  struct Case {
    uint32_t level;
    int position;
    uint16_t text;
    bool automatic;
  };
  const Case cases[] = {
      {5, 0, 5014, false},  {10, 5, 5019, false}, {12, 6, 5020, false},
      {20, 8, 5023, false}, {0x80000010, 7, 5022, true},
      {15, -1, 0, false},   // a stored 15: the unit alone, the slider stays
      {0x8000000F, -1, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.level);
    const advanced::LevelView v = advanced::ViewLevel(c.level);
    EXPECT_EQ(v.position, c.position);
    EXPECT_EQ(v.text, c.text);
    EXPECT_EQ(v.automatic, c.automatic);
  }
  for (int i = 0; i <= advanced::kLastPosition; ++i)
    EXPECT_EQ(advanced::LevelPosition(advanced::LevelAt(i)), i);
  EXPECT_EQ(advanced::ChangedLevel(12, true, 0), 0x8000000Cu) << "automatic keeps the value";
  EXPECT_EQ(advanced::ChangedLevel(0x8000000C, false, 2), 7u);

  JobSettings js{};
  js.MediaClass = 2;
  js.PrintLevel = 0x80000014;
  advanced::LimitLevelForMedia(js);
  EXPECT_EQ(js.PrintLevel, 10u);
  EXPECT_EQ(advanced::LastPosition(js), 5);
  js.PrintLevel = 0x80000008;
  advanced::LimitLevelForMedia(js);
  EXPECT_EQ(js.PrintLevel, 8u);
  js.MediaClass = 1;
  js.PrintLevel = 0x80000014;
  advanced::LimitLevelForMedia(js);
  EXPECT_EQ(js.PrintLevel, 0x80000014u);
  EXPECT_EQ(advanced::LastPosition(js), 8);
}

TEST(AdvancedRules, OrderAndBorderControls) {
  struct Case {
    bool rawOnly;
    uint32_t pages;
    bool order, border;
  };
  const Case cases[] = {{false, 1, true, false}, {false, 4, false, true},
                        {false, 3, false, true}, {true, 1, false, false},
                        {true, 16, false, false}};
  for (const Case& c : cases) {
    const advanced::OrderControls k = advanced::OrderControlsFor(c.rawOnly, c.pages);
    EXPECT_EQ(k.orderEnabled, c.order) << c.rawOnly << " " << c.pages;
    EXPECT_EQ(k.borderEnabled, c.border) << c.rawOnly << " " << c.pages;
  }
  EXPECT_EQ(advanced::PagesIndex(16), 5);
  EXPECT_EQ(advanced::PagesIndex(3), -1);
}

TEST(AdvancedRules, LayoutPicture) {
  struct Case {
    uint32_t pages;
    bool portrait;
    double r;
    uint16_t bitmap;
    bool turned;
  };
  const Case cases[] = {
      {1, true, 1.5, 432, false},  {1, false, 1.5, 433, false}, {2, true, 1.9, 434, true},
      {2, false, 1.9, 434, false}, {2, true, 2.0, 439, false},  {2, false, 2.5, 439, true},
      {4, true, 3, 435, false},    {4, false, 3, 440, false},   {6, true, 1.4, 436, true},
      {6, false, 1.4, 436, false}, {6, true, 1.5, 441, false},  {6, false, 1.5, 441, true},
      {9, true, 1, 437, false},    {9, false, 1, 442, false},   {16, true, 1, 438, false},
      {16, false, 1, 443, false},  {3, true, 1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pages << (c.portrait ? " portrait " : " landscape ") << c.r);
    const advanced::LayoutPicture p = advanced::PictureFor(c.pages, c.portrait, c.r);
    EXPECT_EQ(p.bitmap, c.bitmap);
    EXPECT_EQ(p.turned, c.turned);
  }
  PaperInfo paper{};
  paper.printableWidth = 500;
  paper.printableLength = 1000;
  EXPECT_DOUBLE_EQ(advanced::PaperRatio(paper), 2.0);
  std::swap(paper.printableWidth, paper.printableLength);
  EXPECT_DOUBLE_EQ(advanced::PaperRatio(paper), 2.0);
  paper.printableWidth = 0;
  EXPECT_DOUBLE_EQ(advanced::PaperRatio(paper), 1.0);

  const advanced::Rect portrait = advanced::SheetRect(230, 140, true, false);
  EXPECT_EQ(portrait.bottom - portrait.top, 116);  // 140 / 1.2
  EXPECT_EQ(portrait.right - portrait.left, 92);   // 0.8 of it
  EXPECT_EQ(portrait.left, (230 - 92) / 2);
  const advanced::Rect turned = advanced::SheetRect(230, 140, true, true);
  EXPECT_EQ(turned.right - turned.left, 116);
  const advanced::Rect box = advanced::BorderBox({0, 0, 100, 200});
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.bottom, 190);
}

TEST(AdvancedRules, ChangeCheckAndDefaults) {
  JobSettings js{};
  js.PagesPerSheet = 1;
  js.PrintLevel = 20;
  const advanced::State ref = advanced::StateOf(js, false);
  EXPECT_FALSE(advanced::Changed(ref, advanced::StateOf(js, true))) << "raw-only is no edit";
  JobSettings edited = js;
  edited.OverlayMode = 0x80000002;
  EXPECT_TRUE(advanced::Changed(ref, advanced::StateOf(edited, false)));
  edited = js;
  edited.OverlayPath[0] = u'a';
  EXPECT_TRUE(advanced::Changed(ref, advanced::StateOf(edited, false)));
  edited = js;
  edited.PageOrder = 1;
  EXPECT_TRUE(advanced::Changed(ref, advanced::StateOf(edited, false)));

  JobSettings defaults{};
  defaults.PagesPerSheet = 1;
  defaults.PrintLevel = 20;
  defaults.Halftone = 2;
  js.PagesPerSheet = 3;  // a value no choice makes
  js.MediaClass = 2;
  advanced::RestoreDefaults(js, defaults);
  EXPECT_EQ(js.PagesPerSheet, 1u);
  EXPECT_EQ(js.PrintLevel, 10u) << "media of class 2 print at 10 at most";
  EXPECT_EQ(js.Halftone, 2u);
}

}  // namespace
}  // namespace vq

namespace vq {
namespace {

// ---- Settings by name (vq312ctl defaults set) ----------------------------

TEST(JobFields, CheckedAsThePagesCheckThem) {
  struct Case {
    const char* key;
    const char* value;
    bool ok;
  };
  const Case cases[] = {
      {"cut.every", "0", false},     {"cut.every", "10000", false}, {"cut.every", "abc", false},
      {"cut.every", "3x", false},    {"cut.every", "1", false},  // cutting on, 15 mm labels: at least 3
      {"cut.every", "3", true},      {"cut.mode", "copies", true},  {"cut.mode", "pages", false},
      {"cut.edges", "both", true},   {"layout.pages", "3", false},  {"layout.pages", "4", true},
      {"layout.level", "15", false}, {"layout.level", "12", true},  {"layout.order", "reverse", true},
      {"overlay.path", "C:\\forms\\a.txt", false},                 {"overlay.path", "C:\\forms\\a.ofe", true},
      {"overlay.comment", "0123456789012345678901234567890123", false},
      {"overlay", "use", true},      {"overlay.pages", "first", true},
      // The basic page's keys, against the printer below.
      {"copies", "0", false},        {"copies", "1000", false},     {"copies", "12a", false},
      {"copies", "999", true},       {"orientation", "up", false},  {"orientation", "landscape", true},
      {"media", "7", false},         {"media", "2", true},          {"paper", "4242", false},
      {"paper", "1009", false},  // side margin 2.0 mm: the printer allows no narrow margins
      {"paper", "1001x", false},     {"paper", "1001", true},
  };
  PaperInfo papers[2] = {};
  papers[0].paperId = 1001;
  papers[0].paperLength = 200;
  papers[0].paperLayout = 1;
  papers[0].marginLeft = papers[0].marginRight = 30;
  std::copy_n(u"Short", 6, papers[0].paperName);
  papers[1] = papers[0];
  papers[1].paperId = 1009;
  papers[1].marginLeft = 20;
  MediaData media[2] = {};
  media[0].mediaId = 1;
  media[1].mediaId = 2;
  media[1].mediaClass = 2;
  std::copy_n(u"Plain", 6, media[1].mediaName);
  const JobFieldPrinter printer{papers, media, 999, false};
  JobSettings js{};
  js.Paper.paperLength = 150;
  js.Paper.paperLayout = 1;
  js.CopyCount1 = js.CopyCount2 = 1;
  ASSERT_TRUE(SetJobField(js, "cut", "on").ok);
  EXPECT_EQ(js.CopyCount2, 3u) << "switched on as the page does";
  js.OrientationLock = kLockPortrait;
  for (const Case& c : cases) {
    const JobSettings before = js;
    const FieldChange r = SetJobField(js, c.key, c.value, printer);
    EXPECT_TRUE(r.known) << c.key;
    EXPECT_EQ(r.ok, c.ok) << c.key << "=" << c.value << ": " << r.reason;
    if (!r.ok) EXPECT_EQ(std::memcmp(&before, &js, sizeof js), 0) << "a refused value leaves the record";
  }
  EXPECT_EQ(js.CopyCount2, 3u);
  EXPECT_EQ(js.Option740 & 0x113u, 0x103u);
  EXPECT_EQ(js.PagesPerSheet, 4u);
  EXPECT_EQ(js.PrintLevel, 10u) << "12, then capped by plain paper";
  EXPECT_EQ(js.OverlayMode, 0x80000002u);
  EXPECT_EQ(js.OverlayOption, 1u);
  EXPECT_FALSE(SetJobField(js, "speed", "1").known);
  // What the page does with them: the lock follows the orientation, plain
  // paper caps the level, a short label raises the cut counts (and says so).
  EXPECT_EQ(js.OrientationLock, kLockLandscape);
  EXPECT_EQ(js.MediaClass, 2u);
  EXPECT_EQ(js.dmPaperSize, 1001);
  EXPECT_EQ(std::memcmp(&js.Paper, &papers[0], sizeof js.Paper), 0);
  EXPECT_FALSE(SetJobField(js, "paper", "1001", printer).note.empty()) << "20 mm labels, cutting on";
  EXPECT_TRUE(SetJobField(js, "paper", "1001").known);
  EXPECT_FALSE(SetJobField(js, "copies", "1").ok) << "no copy limit known";
  std::vector<std::string> shown;
  for (const FieldValue& v : GetPageFields(js, printer)) shown.push_back(v.key + "=" + v.value);
  EXPECT_EQ(shown, (std::vector<std::string>{"paper=1001", "media=2", "copies=999", "orientation=landscape"}));
  EXPECT_EQ(GetPageFields(js, printer)[1].name, u"Plain");

  js.MediaClass = 2;
  EXPECT_FALSE(SetJobField(js, "layout.level", "16").ok) << "slow media";
  EXPECT_FALSE(SetJobField(js, "layout.level", "auto").ok);
  EXPECT_TRUE(SetJobField(js, "layout.level", "10").ok);
}

}  // namespace
}  // namespace vq
