// The paper picture's geometry and choices.
#include <gtest/gtest.h>

#include <set>

#include "uicore/page_preview.h"

namespace vq::preview {
namespace {

PaperInfo Paper(uint32_t layout, uint32_t width, uint32_t length, uint32_t gap = 0,
                uint32_t linerLeft = 0, uint32_t linerRight = 0) {
  PaperInfo p{};
  p.paperLayout = layout;
  p.paperWidth = width;
  p.paperLength = length;
  p.gap = gap;
  p.linerLeft = linerLeft;
  p.linerRight = linerRight;
  return p;
}

TEST(PagePreview, SheetIsHalfTheFrameAlongItsLongerSideAndCentred) {
  struct Case {
    PaperInfo paper;
    int32_t cw, ch;
    bool drawn, liner;
    Box outer, label;
  };
  const Case cases[] = {
      // Continuous stock, taller than wide: height ch / 2, width scaled down.
      {Paper(2, 600, 1000), 230, 190, true, false, {86, 47, 143, 142}, {86, 47, 143, 142}},
      // Wider than long: width cw / 2.
      {Paper(2, 1000, 500), 230, 190, true, false, {57, 66, 172, 123}, {57, 66, 172, 123}},
      // Labels on a liner: the liner and the gap widen the sheet; the label
      // is inset by the gap top and bottom and by each liner.
      {Paper(0, 1000, 1500, 30, 15, 15), 230, 190, true, true, {83, 47, 146, 142}, {83, 48, 146, 141}},
      {Paper(0, 10, 1000, 0, 2000, 2000), 200, 200, true, true, {50, 88, 150, 112}, {99, 88, 101, 112}},
      // A gap longer than the label: the insets stop at the opposite edge.
      {Paper(0, 1000, 10, 2000, 0, 0), 200, 200, true, true, {75, 50, 124, 150}, {75, 149, 124, 149}},
      // A zero side: background and texts only.
      {Paper(2, 0, 1000), 230, 190, false, false, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.paper.paperLayout << " " << c.paper.paperWidth
                                    << " x " << c.paper.paperLength);
    const SheetPlacement p = PlaceSheet(c.paper, c.cw, c.ch);
    EXPECT_EQ(p.drawn, c.drawn);
    if (!c.drawn) continue;
    EXPECT_EQ(p.liner, c.liner);
    EXPECT_EQ(p.outer, c.outer);
    EXPECT_EQ(p.label, c.label);
  }
}

TEST(PagePreview, SizeTextsInMillimetresAndInches) {
  struct Case {
    PaperInfo paper;
    bool inches, point;
    std::u16string width, length;
  };
  const Case cases[] = {
      {Paper(2, 1000, 1524), false, true, u"100.0mm", u"152.4mm"},
      {Paper(2, 1016, 1524), true, true, u"4.00in", u"6.00in"},
      {Paper(2, 1015, 5), false, false, u"101,5mm", u"0,5mm"},
      // Labels on a liner count both liners and one gap.
      {Paper(0, 1000, 1500, 30, 15, 15), false, true, u"103.0mm", u"153.0mm"},
      {Paper(16, 600, 400, 30, 15, 15), true, true, u"2.48in", u"1.69in"},
      {Paper(1, 762, 1270, 30, 15, 15), false, true, u"76.2mm", u"127.0mm"},
  };
  for (const Case& c : cases) {
    const SizeTexts t = PreviewSizeTexts(c.paper, c.inches, c.point, u"mm", u"in");
    EXPECT_EQ(t.width, c.width);
    EXPECT_EQ(t.length, c.length);
  }
}

TEST(PagePreview, OrientationPictureFollowsShapeKindOrientationAndOption) {
  struct Case {
    uint32_t mode;
    PaperInfo paper;
    uint32_t labelsAcross;
    bool portrait, option;
    uint16_t background, picture;
    int32_t x, y;
  };
  const Case cases[] = {
      {2, Paper(2, 900, 1000), 0, true, false, 213, 230, 18, 47},    // r = 0.9: tall
      {2, Paper(2, 900, 1000), 0, true, true, 213, 231, 18, 47},
      {2, Paper(2, 1100, 1000), 0, false, false, 213, 229, 18, 47},  // r = 1.1: wide
      {2, Paper(2, 1000, 1000), 0, false, true, 213, 236, 18, 47},   // square
      {2, Paper(2, 1099, 1000), 0, true, false, 213, 234, 18, 47},
      {2, Paper(2, 0, 1000), 0, true, false, 213, 230, 18, 47},      // a zero side counts as 1
      {2, Paper(132, 600, 1000), 0, true, false, 212, 218, 4, 70},   // big
      {2, Paper(132, 600, 1000), 2, false, true, 212, 373, 4, 70},   // big, labels across
      {2, Paper(140, 1000, 600), 1, true, true, 212, 368, 4, 70},
      {1, Paper(2, 1000, 1000), 0, false, false, 257, 269, 18, 47},
      {1, Paper(128, 1000, 1000), 1, false, false, 240, 390, 4, 70},
      {4, Paper(2, 1000, 1000), 0, true, false, 0, 0, 0, 0},         // no picture
      {5, Paper(2, 1000, 1000), 0, true, false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    PaperInfo p = c.paper;
    p.labelsAcross = c.labelsAcross;
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " layout " << p.paperLayout << " "
                                    << p.paperWidth << " x " << p.paperLength);
    const OrientationPicture o = ChooseOrientationPicture(c.mode, p, c.portrait, c.option);
    EXPECT_EQ(o.background, c.background);
    EXPECT_EQ(o.picture, c.picture);
    EXPECT_EQ(o.x, c.x);
    EXPECT_EQ(o.y, c.y);
  }
}

TEST(PagePreview, EveryModeHasItsFrameAndEachPictureIdIsUsedOnce) {
  for (uint32_t mode = 1; mode <= 5; ++mode) ASSERT_NE(FindMode(mode), nullptr);
  EXPECT_EQ(FindMode(2)->frameControl, 1103u);
  EXPECT_EQ(FindMode(2)->pictureControl, 1105u);
  EXPECT_EQ(FindMode(4)->background, 241);
  EXPECT_EQ(FindMode(6), nullptr);
  for (uint32_t mode : {1u, 2u}) {
    uint16_t ids[64];
    const size_t n = OrientationPictureIds(mode, ids, 64);
    EXPECT_EQ(n, 36u);
    EXPECT_EQ(std::set<uint16_t>(ids, ids + n).size(), n) << "mode " << mode;
  }
}

TEST(PagePreview, KindMarksForRoundBlackMarkHoleContinuousAndFanFold) {
  struct Case {
    uint32_t layout, corner;
    int32_t radius;
    bool mark, hole, torn, perforated;
  };
  const Case cases[] = {
      {0, 0, 0, false, false, false, false},  {16, 30, 4, false, false, false, false},
      {17, 30, 4, true, false, false, false}, {1, 30, 0, true, false, false, false},
      {19, 300, 28, false, true, false, false}, {3, 0, 0, false, true, false, false},
      {2, 0, 0, false, false, true, false},   {7, 0, 0, false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    PaperInfo p = Paper(c.layout, 800, 500, 30, 15, 15);
    p.cornerRadius = c.corner;
    const SheetPlacement s = PlaceSheet(p, 230, 190);
    const KindMarks k = PaperKindMarks(p, s);
    EXPECT_EQ(k.cornerRadius, c.radius);
    EXPECT_EQ(k.blackMark, c.mark);
    EXPECT_EQ(k.hole, c.hole);
    EXPECT_EQ(k.torn, c.torn);
    EXPECT_EQ(k.perforated, c.perforated);
    if (k.blackMark) {
      EXPECT_TRUE(k.mark.left >= s.outer.left && k.mark.bottom <= s.outer.bottom);
    }
    if (k.hole) {
      EXPECT_TRUE(k.holeBox.left >= s.outer.left && k.holeBox.bottom <= s.outer.bottom);
    }
  }
}

}  // namespace
}  // namespace vq::preview
