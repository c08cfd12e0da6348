// Layout arithmetic and the shared controls' rules, with the worked numbers
// of the module's tables.
#include "uicore/dialog_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace vq {
namespace {

TEST(Scaling, RoundsToNearestOnEachAxis) {
  const struct {
    uint32_t dpi;
    int32_t value, expected;
  } values[] = {{96, -7, -7},    {144, 11, 17},   {144, 31, 47},  {120, 31, 39}, {120, 10, 13},
                {144, -11, -17}, {72, 3, 2},      {168, 590, 1033}};  // halves away from zero
  for (const auto& v : values) {
    int32_t scaled = 0, code = 99;
    EXPECT_EQ(ScaleByDpi(v.dpi, v.value, &scaled, &code), 1);
    EXPECT_EQ(scaled, v.expected) << v.dpi << " dpi, " << v.value;
    EXPECT_EQ(code, kLayoutOk);
  }
  EXPECT_EQ(MulDivRounded(INT_MAX, 2, 1), -1);
  EXPECT_EQ(MulDivRounded(5, 2, 0), -1);

  const LayoutRow row{1075, 12, 11, 92, 31, 0};  // the utility page's first row
  const struct {
    DpiPair dpi;
    PixelRect expected;
  } rows[] = {{{96, 96}, {12, 11, 92, 31}},    {{144, 144}, {18, 17, 138, 47}},
              {{120, 120}, {15, 14, 115, 39}}, {{192, 192}, {24, 22, 184, 62}},
              {{144, 96}, {18, 11, 138, 31}}};
  for (const auto& r : rows) EXPECT_EQ(ScaleLayoutRow(row, r.dpi), r.expected) << r.dpi.x;
  EXPECT_EQ(ScaleSize(467, 382, {144, 120}), (PixelRect{0, 0, 701, 478}));
}

TEST(SheetFrame, GrowsByWhatTheTabControlGainedThenScales) {
  // The tab control is designed 475 x 409: 713 x 614 at 144 DPI.
  const struct {
    DpiPair dpi;
    int32_t tabWidth, tabHeight, width, height;  // width, height: grown, at 96 DPI
    PixelRect ok, help, tab;
  } cases[] = {
      {{96, 96}, 475, 409, 487, 452, {163, 422, 75, 23}, {406, 422, 75, 23}, {6, 7, 475, 409}},
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
    EXPECT_EQ(p.cancel.y, p.ok.y);
  }
}

TEST(Icons, HalfSizeAt96DpiUnlessTheArtIsLarge) {
  const struct {
    DpiPair dpi;
    int32_t art;
    IconLoadSize expected;  // 0 x 0: natural size
  } cases[] = {
      {{96, 96}, 64, {32, 32}},  {{120, 120}, 64, {40, 40}}, {{192, 192}, 64, {64, 64}},
      {{120, 144}, 64, {40, 48}}, {{96, 96}, 198, {99, 99}},  {{96, 96}, 199, {0, 0}},  // 99.5
      {{96, 96}, 200, {0, 0}},   {{144, 144}, 132, {99, 99}}, {{144, 144}, 133, {0, 0}},
      {{96, 192}, 132, {0, 0}},  // one side reaching 100 is enough
  };
  for (const auto& c : cases) {
    const IconLoadSize s = DpiIconLoadSize(c.dpi, c.art, c.art);
    EXPECT_EQ(s.cx, c.expected.cx) << c.dpi.x << " dpi, art " << c.art;
    EXPECT_EQ(s.cy, c.expected.cy) << c.dpi.y << " dpi, art " << c.art;
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
      {15, 10, true, false, u"1.5"},     {10, 10, true, false, u"1.0"},
      {1205, 100, true, false, u"12.0"}, {5, 1000, true, true, u"0.00"},
      {1999, 1000, true, false, u"1.9"}, {1020, 1000, true, true, u"1.02"},
      {1234, 1000, false, true, u"1,23"},
      // Whole divisors have no fraction digits to show; 0 is taken as 1.
      {7, 0, true, false, u"7."},        {4294967295u, 1, true, true, u"4294967295."},
  };
  for (const auto& c : cases) {
    char16_t out[32];
    uint32_t need = 0;
    EXPECT_EQ(FormatFixedPoint(c.value, c.divisor, c.point, c.two, out, sizeof out, &need), 1);
    EXPECT_EQ(std::u16string(out), c.text) << c.value << "/" << c.divisor;
    EXPECT_EQ(need, (std::u16string(c.text).size() + 1) * 2);
  }
  char16_t small[5] = {u'x'};
  uint32_t need = 0;
  FormatFixedPoint(1234, 1000, true, true, small, 8, &need);
  EXPECT_EQ(small[0], u'x') << "8 bytes cannot hold 1.23 and its terminator";
  EXPECT_EQ(need, 10u);
}

TEST(StripTabs, RemovesEveryTabOrLeavesTheStringAlone) {
  const struct {
    const char16_t *in, *out;
    int result;
  } cases[] = {{u"", u"", 0},     {u"abc", u"abc", 0},     {u"a\tb", u"ab", 1},
               {u"\t\t", u"", 1}, {u"\tx\ty\t", u"xy", 1}, {u"默\t认", u"默认", 1}};
  for (const auto& c : cases) {
    std::u16string s = std::u16string(c.in) + u'\0' + u'#';  // nothing may be written past the end
    EXPECT_EQ(StripTabs(s.data()), c.result);
    EXPECT_EQ(std::u16string(s.c_str()), c.out);
    EXPECT_EQ(s.back(), u'#');
  }
  EXPECT_EQ(StripTabs(nullptr), 0);
}

TEST(EditFields, IntegerReadingAndTheSignedNumberKeys) {
  const struct {
    const char16_t* text;
    int32_t value;
    const char16_t* rewritten;  // null: the field is left alone
  } reads[] = {{u"007", 7, u"07"}, {u"0", 0, nullptr},   {u"", 2147483647, nullptr},
               {u"0-5", 0, u"-5"}, {u" 42", 42, nullptr}, {u"12345678", 1234567, nullptr}};
  for (const auto& r : reads) {
    const EditIntegerReading got = ReadEditIntegerText(r.text);
    EXPECT_EQ(got.value, r.value) << got.value;
    EXPECT_EQ(got.rewrite, r.rewritten != nullptr);
    if (r.rewritten) EXPECT_EQ(std::u16string(got.text), r.rewritten);
  }
  EXPECT_EQ(ParseLeadingInteger(u"-99999999999"), INT_MIN);

  const struct {
    char16_t ch;
    uint32_t start, end;
    bool hasMinus, accepted;
  } keys[] = {{u'7', 3, 3, true, true},  {u'\b', 1, 1, false, true}, {u'+', 0, 0, false, false},
              {u'-', 0, 0, false, true}, {u'-', 1, 1, false, false}, {u'-', 0, 0, true, false},
              {u'-', 0, 2, true, true},  {u'-', 2, 0, true, true},   {u'-', 1, 2, true, false}};
  for (const auto& k : keys) {
    EXPECT_EQ(SignedNumberAcceptsChar(k.ch, k.start, k.end, k.hasMinus), k.accepted)
        << static_cast<int>(k.ch) << " at " << k.start << ".." << k.end;
  }
  EXPECT_TRUE(SignedNumberNeedsZero(u"-"));
  EXPECT_FALSE(SignedNumberNeedsZero(u"-0"));
}

// A DIB in memory, rows padded to 4 bytes; At() counts rows from the top.
struct Dib {
  std::vector<uint8_t> bytes;
  DibPixels px;
  Dib(int32_t w, int32_t h, uint16_t bpp, bool topDown = false)
      : bytes(DibStride(w, bpp) * h, 0xEE), px{nullptr, w, h, bpp, topDown} {
    px.bits = bytes.data();
  }
  uint8_t& At(int32_t x, int32_t y, int c) {
    const int32_t row = px.topDown ? y : px.height - y - 1;
    return bytes[row * DibStride(px.width, px.bitsPerPixel) + x * (px.bitsPerPixel / 8) + c];
  }
};

TEST(PasteBitmap, CopiesPixelsIntoPlaceOrRefuses) {
  const ColorEntry palette[3] = {{1, 2, 3, 0}, {10, 20, 30, 0}, {100, 110, 120, 0}};
  const uint8_t indexes[2][3] = {{0, 1, 2}, {2, 1, 7}};  // 7 is past the colour table: black
  for (bool topDown : {false, true}) {
    Dib src(3, 2, 8, topDown), dst(5, 4, 32);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) src.At(x, y, 0) = indexes[y][x];
    ASSERT_EQ(PasteDibPixels(src.px, palette, 3, dst.px, 1, 2), kLayoutOk);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 5; ++x) {
        const bool inside = x >= 1 && x < 4 && y >= 2;
        const uint8_t index = inside ? indexes[y - 2][x - 1] : 0;
        const ColorEntry e = index < 3 ? palette[index] : ColorEntry{};
        EXPECT_EQ(dst.At(x, y, 0), inside ? e.blue : 0xEE) << x << "," << y << " " << topDown;
        EXPECT_EQ(dst.At(x, y, 2), inside ? e.red : 0xEE) << x << "," << y << " " << topDown;
        EXPECT_EQ(dst.At(x, y, 3), 0xEE) << "the fourth byte is left alone";
      }
    }
  }
  // Refusals leave the destination as it was.
  const struct {
    int32_t w, h;
    uint16_t srcBpp, dstBpp;
    int32_t x, code;
  } refused[] = {{4, 3, 24, 24, 1, kLayoutDoesNotFit},     {2, 2, 24, 24, -1, kLayoutDoesNotFit},
                 {2, 2, 16, 24, 0, kLayoutBadPixelFormat}, {2, 2, 8, 16, 0, kLayoutBadPixelFormat},
                 {5, 3, 32, 24, 0, kLayoutDoesNotFit}};  // the fit is checked first
  for (const auto& c : refused) {
    Dib src(c.w, c.h, c.srcBpp), dst(4, 3, c.dstBpp);
    const std::vector<uint8_t> before = dst.bytes;
    EXPECT_EQ(PasteDibPixels(src.px, nullptr, 0, dst.px, c.x, 0), c.code) << c.w << " at " << c.x;
    EXPECT_EQ(dst.bytes, before);
  }
  Dib some(1, 1, 24);
  DibPixels none = some.px;
  none.bits = nullptr;
  EXPECT_EQ(PasteDibPixels(none, nullptr, 0, some.px, 0, 0), kLayoutMissingArgument);
}

}  // namespace
}  // namespace vq
