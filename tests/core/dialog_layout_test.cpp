// Layout arithmetic and the shared controls' text rules, with the worked
// numbers of the module's tables. The edit fields' rules are tested through
// real edits under Wine (tests/wine/layout_controls_test.cpp).
#include "uicore/dialog_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace vq {
namespace {

TEST(Scaling, RoundsToNearestOnEachAxis) {
  const LayoutRow row{1075, 12, 11, 92, 31, 0};  // the utility page's first row
  const struct {
    DpiPair dpi;
    PixelRect expected;
  } rows[] = {{{96, 96}, {12, 11, 92, 31}},    {{144, 144}, {18, 17, 138, 47}},
              {{120, 120}, {15, 14, 115, 39}}, {{192, 192}, {24, 22, 184, 62}},
              {{144, 96}, {18, 11, 138, 31}}};
  for (const auto& r : rows) EXPECT_EQ(ScaleLayoutRow(row, r.dpi), r.expected) << r.dpi.x;
  // Halves away from zero; MulDiv's -1 for a result past 32 bits.
  EXPECT_EQ(ScaleValue(168, 590), 1033);
  EXPECT_EQ(MulDivRounded(INT_MAX, 2, 1), -1);
}

TEST(SheetFrame, GrowsByWhatTheTabControlGainedThenScales) {
  // The tab control is designed 475 x 409: 713 x 614 at 144 DPI. width and
  // height: the grown client size at 96 DPI.
  const struct {
    DpiPair dpi;
    int32_t tabWidth, tabHeight, width, height;
    PixelRect ok, help, tab;
  } cases[] = {
      {{144, 144}, 713, 614, 487, 452, {245, 633, 113, 35}, {609, 633, 113, 35}, {9, 11, 713, 614}},
      // 30 x 20 more, added at 96 DPI and scaled with the rest.
      {{144, 144}, 743, 634, 517, 472, {290, 663, 113, 35}, {654, 663, 113, 35}, {9, 11, 758, 644}},
      // A smaller tab control does not shrink the frame.
      {{144, 144}, 700, 600, 487, 452, {245, 633, 113, 35}, {609, 633, 113, 35}, {9, 11, 713, 614}},
      {{120, 96}, 600, 409, 493, 452, {211, 422, 94, 23}, {515, 422, 94, 23}, {8, 7, 601, 409}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi.x << "x" << c.dpi.y << " tab " << c.tabWidth);
    const SheetFramePlacement p =
        PlaceSheetFrame(kSheetFrameLayout, c.dpi, c.tabWidth, c.tabHeight);
    EXPECT_EQ(p.designWidth, c.width);
    EXPECT_EQ(p.designHeight, c.height);
    EXPECT_EQ(p.ok, c.ok);
    EXPECT_EQ(p.help, c.help);
    EXPECT_EQ(p.tab, c.tab);
  }
}

TEST(Icons, HalfSizeAt96DpiUnlessTheArtIsLarge) {
  const struct {
    DpiPair dpi;
    int32_t art, cx, cy;  // 0 x 0: natural size
  } cases[] = {
      {{96, 96}, 64, 32, 32},   {{192, 192}, 64, 64, 64}, {{120, 144}, 64, 40, 48},
      {{96, 96}, 198, 99, 99},  {{96, 96}, 199, 0, 0},  // 99.5 rounds to 100
      {{144, 144}, 132, 99, 99}, {{144, 144}, 133, 0, 0},
      {{96, 192}, 132, 0, 0},  // one side reaching 100 is enough
  };
  for (const auto& c : cases) {
    const IconLoadSize s = DpiIconLoadSize(c.dpi, c.art, c.art);
    EXPECT_EQ(s.cx, c.cx) << c.dpi.x << " dpi, art " << c.art;
    EXPECT_EQ(s.cy, c.cy) << c.dpi.y << " dpi, art " << c.art;
  }
}

TEST(Icons, ArtSizeFromTheGroupDirectory) {
  // header (reserved, type 1, count), then 14-byte entries: width, height, ...
  const uint8_t one[] = {0, 0, 1, 0, 1, 0, 64, 64, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 1, 0};
  const uint8_t two[] = {0, 0, 1, 0, 2, 0,                          //
                         32, 32, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 1, 0,  //
                         0,  0,  0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 2, 0};  // 0 = 256
  const uint8_t none[] = {0, 0, 1, 0, 0, 0};
  const struct {
    const uint8_t* dir;
    size_t bytes;
    bool ok;
    int32_t w, h;
  } cases[] = {
      {one, sizeof one, true, 64, 64},       {two, sizeof two, true, 256, 256},
      {two, sizeof two - 1, false, 0, 0},    {none, sizeof none, false, 0, 0},
      {one, 5, false, 0, 0},                 {nullptr, 0, false, 0, 0},
  };
  for (const auto& c : cases) {
    int32_t w = 0, h = 0;
    EXPECT_EQ(GroupIconArtSize(c.dir, c.bytes, &w, &h), c.ok) << c.bytes;
    EXPECT_EQ(w, c.w);
    EXPECT_EQ(h, c.h);
  }
}

TEST(FixedPoint, TruncatesToOneOrTwoDigits) {
  const struct {
    uint32_t value, divisor;
    bool point, two;
    const char16_t* text;
  } cases[] = {
      {1234, 1000, true, true, u"1.23"}, {1005, 1000, true, true, u"1.00"},
      {1050, 1000, true, true, u"1.05"}, {1203, 100, true, true, u"12.03"},
      {15, 10, true, false, u"1.5"},     {1205, 100, true, false, u"12.0"},
      {5, 1000, true, true, u"0.00"},    {1999, 1000, true, false, u"1.9"},
      {1234, 1000, false, true, u"1,23"}, {7, 0, true, false, u"7."}};  // 0 is taken as 1
  for (const auto& c : cases) {
    char16_t out[32];
    uint32_t need = 0;
    EXPECT_EQ(FormatFixedPoint(c.value, c.divisor, c.point, c.two, out, sizeof out, &need), 1);
    EXPECT_EQ(std::u16string(out), c.text) << c.value << "/" << c.divisor;
    EXPECT_EQ(need, (std::u16string(c.text).size() + 1) * 2);
  }
  char16_t small[5] = {u'x'};
  FormatFixedPoint(1234, 1000, true, true, small, 8, nullptr);
  EXPECT_EQ(small[0], u'x') << "8 bytes cannot hold 1.23 and its terminator";
}

TEST(StripTabs, RemovesEveryTabOrLeavesTheStringAlone) {
  const struct {
    const char16_t *in, *out;
    int result;
  } cases[] = {{u"", u"", 0}, {u"abc", u"abc", 0}, {u"\tx\ty\t", u"xy", 1}, {u"默\t认", u"默认", 1}};
  for (const auto& c : cases) {
    std::u16string s = std::u16string(c.in) + u'\0' + u'#';  // nothing may be written past the end
    EXPECT_EQ(StripTabs(s.data()), c.result);
    EXPECT_EQ(std::u16string(s.c_str()), c.out);
    EXPECT_EQ(s.back(), u'#');
  }
  EXPECT_EQ(StripTabs(nullptr), 0);
}

// DIB pixels in memory, rows padded to 4 bytes; At() counts rows from the top.
struct Dib {
  std::vector<uint8_t> bytes;
  DibPixels px;
  Dib(int32_t w, int32_t h, uint16_t bpp, bool topDown)
      : bytes(DibStride(w, bpp) * h, 0xEE), px{bytes.data(), w, h, bpp, topDown} {}
  uint8_t& At(int32_t x, int32_t y, int c = 0) {
    const int32_t row = px.topDown ? y : px.height - y - 1;
    return bytes[row * DibStride(px.width, px.bitsPerPixel) + x * (px.bitsPerPixel / 8) + c];
  }
  void Put(int32_t x, int32_t y, ColorEntry e) {
    At(x, y, 0) = e.blue, At(x, y, 1) = e.green, At(x, y, 2) = e.red;
  }
};

// The codes of refused pastes are checked through PasteBitmap under Wine.
TEST(PasteBitmap, CopiesPixelsIntoPlace) {
  const ColorEntry palette[3] = {{1, 2, 3, 0}, {10, 20, 30, 0}, {100, 110, 120, 0}};
  const uint8_t indexes[2][3] = {{0, 1, 2}, {2, 1, 7}};  // 7 is past the colour table: black
  for (uint16_t bpp : {8, 24}) {
    for (bool topDown : {false, true}) {
      Dib src(3, 2, bpp, topDown), dst(5, 4, 32, !topDown), want(5, 4, 32, !topDown);
      for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
          const ColorEntry e = indexes[y][x] < 3 ? palette[indexes[y][x]] : ColorEntry{};
          if (bpp == 8) src.At(x, y) = indexes[y][x];
          else src.Put(x, y, e);
          want.Put(x + 1, y + 2, e);  // the fourth byte of a 32-bit pixel is left alone
        }
      }
      ASSERT_EQ(PasteDibPixels(src.px, palette, 3, dst.px, 1, 2), kLayoutOk);
      EXPECT_EQ(dst.bytes, want.bytes) << bpp << " bits, top-down " << topDown;
    }
  }
}

}  // namespace
}  // namespace vq
