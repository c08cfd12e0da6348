// The colour preview renderer and the colour page's and adjustment dialog's
// rules. The renderer is checked by properties a fault would break, on a
// picture of every hue and grey, not against copies of its own output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "modules/cc/colour_preview.h"
#include "pages/colour/colour_rules.h"

namespace vq {
namespace {

using cc::ColourBlock;
using cc::PreviewStatus;

// A packed bitmap: hues across, lightness down, a grey ramp in the last rows.
std::vector<uint8_t> TestPicture(int w = 64, int h = 40, int bits = 24, bool topDown = false) {
  const uint32_t stride = (w * bits / 8 + 3) & ~3u;
  std::vector<uint8_t> dib(40 + stride * h, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&dib[at], &v, 4); };
  put32(0, 40);
  put32(4, w);
  put32(8, topDown ? uint32_t(-h) : uint32_t(h));
  dib[12] = 1;
  dib[14] = uint8_t(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &dib[40 + y * stride + x * (bits / 8)];
      if (y >= h - 4) {
        p[0] = p[1] = p[2] = uint8_t(x * 255 / std::max(w - 1, 1));
      } else {
        const int hue = x * 6 * 255 / w, light = y * 255 / std::max(h - 5, 1);
        int rgb[3] = {0, 0, 0};
        const int sector = hue / 255, f = hue % 255;
        const int ramp[6][3] = {{255, f, 0}, {255 - f, 255, 0}, {0, 255, f},
                                {0, 255 - f, 255}, {f, 0, 255}, {255, 0, 255 - f}};
        for (int c = 0; c < 3; ++c) rgb[c] = ramp[sector][c] * light / 255;
        p[0] = uint8_t(rgb[2]);
        p[1] = uint8_t(rgb[1]);
        p[2] = uint8_t(rgb[0]);
      }
      if (bits == 32) p[3] = uint8_t(x);
    }
  return dib;
}

ColourBlock Standard() {
  ColourBlock b{};
  b.gammaIndex = 2;
  b.halftone = 3;
  b.monoTone = 255;
  return b;
}

std::vector<uint8_t> Render(const std::vector<uint8_t>& src, const ColourBlock& b) {
  std::vector<uint8_t> out(src.size(), 0);
  EXPECT_EQ(cc::RenderColourPreview(src.data(), src.size(), out.data(), out.size(), b),
            PreviewStatus::kOk);
  return out;
}

// Calls f(offset of pixel) for every pixel of a 24-bit picture.
template <typename F>
void EachPixel(const std::vector<uint8_t>& dib, F f) {
  cc::DibShape s{};
  ASSERT_EQ(cc::ParsePackedDib(dib.data(), dib.size(), &s), PreviewStatus::kOk);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) f(40 + y * s.stride + x * (s.bitsPerPixel / 8));
}

TEST(ColourPreview, GrayscaleIsNeutralWhateverTheOtherSettings) {
  const auto src = TestPicture();
  for (int style = 0; style < 4; ++style)
    for (int32_t cyan : {-50, 0, 50}) {
      ColourBlock b = Standard();
      b.monochrome = 1;
      b.colorStyle = style;
      b.cyanBalance = cyan;
      b.toneLevel1 = 20;
      b.colorModeType = 6;
      const auto out = Render(src, b);
      bool neutral = true, varied = false;
      EachPixel(out, [&](size_t p) {
        neutral &= out[p] == out[p + 1] && out[p + 1] == out[p + 2];
        varied |= out[p] != out[40];
      });
      EXPECT_TRUE(neutral) << "style " << style << ", cyan " << cyan;
      EXPECT_TRUE(varied) << "a flat grey is no picture";
    }
  // A grey from luminance, not one channel copied: pure red and pure blue
  // of the same channel value print as different greys.
  std::vector<uint8_t> two = TestPicture(2, 1);
  two[40] = 0, two[41] = 0, two[42] = 255;   // red
  two[43] = 255, two[44] = 0, two[45] = 0;   // blue
  ColourBlock b = Standard();
  b.monochrome = 1;
  const auto out = Render(two, b);
  EXPECT_GT(out[40], out[43] + 20) << "red prints a lighter grey than blue";
  EXPECT_GT(out[40], 30);
}

TEST(ColourPreview, BalanceMovesItsOwnInkOnly) {
  const auto src = TestPicture();
  const auto base = Render(src, Standard());
  // Cyan absorbs red, magenta green, yellow blue (BGR order: 2, 1, 0).
  const struct {
    int32_t ColourBlock::*field;
    int channel;
  } inks[] = {{&ColourBlock::cyanBalance, 2}, {&ColourBlock::magentaBalance, 1},
              {&ColourBlock::yellowBalance, 0}};
  for (const auto& ink : inks) {
    ColourBlock more = Standard(), less = Standard();
    more.*ink.field = 40;
    less.*ink.field = -40;
    const auto hi = Render(src, more), lo = Render(src, less);
    int lowered = 0, raised = 0, strayed = 0;
    EachPixel(base, [&](size_t p) {
      for (int c = 0; c < 3; ++c) {
        if (c != ink.channel) {
          strayed += hi[p + c] != base[p + c];
          continue;
        }
        if (hi[p + c] > base[p + c] || lo[p + c] < base[p + c]) ++raised;
        lowered += hi[p + c] < base[p + c];
      }
    });
    EXPECT_EQ(raised, 0) << "more ink never lightens its channel";
    EXPECT_GT(lowered, 200) << "channel " << ink.channel;
    EXPECT_EQ(strayed, 0);
  }
  // Paper stays paper and solid ink stays solid under any balance.
  ColourBlock strong = Standard();
  strong.cyanBalance = 50;
  const auto out = Render(src, strong);
  EXPECT_EQ(out.back(), 255) << "the grey ramp's white end";
}

TEST(ColourPreview, GammaBendsMidTonesAndKeepsBlackAndWhite) {
  const auto src = TestPicture();
  cc::DibShape s{};
  ASSERT_EQ(cc::ParsePackedDib(src.data(), src.size(), &s), PreviewStatus::kOk);
  const size_t black = 40 + size_t(s.height - 2) * s.stride, white = black + (s.width - 1) * 3,
               mid = black + (s.width / 2) * 3;
  std::vector<uint8_t> at[3];
  for (uint32_t g = 1; g <= 3; ++g) {
    ColourBlock b = Standard();
    b.gammaIndex = g;
    at[g - 1] = Render(src, b);
  }
  for (int g = 1; g < 3; ++g) {
    EXPECT_EQ(at[g][black], at[0][black]);
    EXPECT_EQ(at[g][white], at[0][white]);
    EXPECT_EQ(at[0][white], 255);
  }
  EXPECT_GT(at[0][mid], at[1][mid] + 5) << "gamma 1.4 lighter than 1.8";
  EXPECT_GT(at[1][mid], at[2][mid] + 5) << "gamma 2.2 darker than 1.8";
}

TEST(ColourPreview, EveryStyleModeAndHalftoneChangesTheLook) {
  const auto src = TestPicture();
  std::vector<std::vector<uint8_t>> looks;
  for (uint32_t style = 0; style < 4; ++style) {
    ColourBlock b = Standard();
    b.colorStyle = style;
    looks.push_back(Render(src, b));
  }
  ColourBlock vivid = Standard();
  vivid.colorModeType = 6;
  looks.push_back(Render(src, vivid));
  ColourBlock dither = Standard();
  dither.halftone = 1;
  looks.push_back(Render(src, dither));
  ColourBlock blackBalance = Standard();
  blackBalance.blackBalance = 30;
  looks.push_back(Render(src, blackBalance));
  for (size_t i = 0; i < looks.size(); ++i)
    for (size_t j = i + 1; j < looks.size(); ++j) EXPECT_NE(looks[i], looks[j]) << i << " vs " << j;
  // Warm lifts red against blue in the mid-tones, cool the reverse.
  const size_t mid = 40 + size_t(38) * ((64 * 3 + 3) & ~3u) + 32 * 3;
  EXPECT_GT(looks[1][mid + 2] - looks[1][mid], looks[0][mid + 2] - looks[0][mid]);
  EXPECT_LT(looks[2][mid + 2] - looks[2][mid], looks[0][mid + 2] - looks[0][mid]);
}

TEST(ColourPreview, ToneAndBlackMoveTheRightWay) {
  const auto src = TestPicture();
  const auto base = Render(src, Standard());
  const size_t row = 40 + size_t(38) * ((64 * 3 + 3) & ~3u);
  const size_t dark = row + 12 * 3, mid = row + 32 * 3, light = row + 54 * 3;
  ColourBlock bright = Standard(), contrast = Standard(), black = Standard();
  bright.toneLevel1 = 50;
  contrast.toneLevel2 = 50;
  black.blackBalance = 50;
  const auto b = Render(src, bright), c = Render(src, contrast), k = Render(src, black);
  EXPECT_GT(b[mid], base[mid]);
  EXPECT_LT(c[dark], base[dark]);
  EXPECT_GT(c[light], base[light]);
  EXPECT_LT(k[dark], base[dark]) << "more black darkens the shadows";
  EXPECT_EQ(k[row + 63 * 3], 255) << "and leaves paper white";
}

TEST(ColourPreview, BlackInkOnlyMakesNearGreysNeutral) {
  std::vector<uint8_t> src = TestPicture(1, 1);
  src[40] = 70, src[41] = 76, src[42] = 80;  // a slightly warm dark grey
  ColourBlock b = Standard();
  b.colorOptions = 1;
  const auto out = Render(src, b);
  EXPECT_EQ(out[40], out[41]);
  EXPECT_EQ(out[41], out[42]);
}

TEST(ColourPreview, OutOfRangeSettingsRenderAsTheirLimits) {
  const auto src = TestPicture();
  ColourBlock wild = Standard(), limits = Standard();
  wild.cyanBalance = 1000000;
  wild.blackBalance = INT32_MIN;
  wild.toneLevel1 = -999;
  wild.gammaIndex = 77;
  wild.colorStyle = 9;
  limits.cyanBalance = 50;
  limits.blackBalance = -50;
  limits.toneLevel1 = -50;
  EXPECT_EQ(Render(src, wild), Render(src, limits));
}

TEST(ColourPreview, FormatsAndRowOrderKeepTheirShape) {
  for (bool topDown : {false, true}) {
    const auto src = TestPicture(33, 7, 32, topDown);
    const auto out = Render(src, Standard());
    EXPECT_TRUE(std::equal(src.begin(), src.begin() + 40, out.begin())) << "header copied";
    EXPECT_EQ(colour::PackedBitmapLength(src.data(), src.size()), src.size())
        << "the page's length check agrees with the renderer";
    EachPixel(out, [&](size_t p) { EXPECT_EQ(out[p + 3], src[p + 3]) << "alpha kept"; });
  }
  // 24-bit rows of 5 pixels carry a byte of padding, copied as it came.
  auto odd = TestPicture(5, 3);
  odd[40 + 15] = 0xAB;
  EXPECT_EQ(Render(odd, Standard())[40 + 15], 0xAB);
}

TEST(ColourPreview, RefusesHeadersThatLieAndLeavesTheDestinationAlone) {
  const auto good = TestPicture(16, 8);
  struct Case {
    const char* what;
    size_t offset;
    uint32_t value;
    size_t size;  // bytes offered (0: all)
    PreviewStatus expected;
  };
  const Case cases[] = {
      {"taller than the bytes", 8, 9, 0, PreviewStatus::kShortSource},
      {"wider than the bytes", 4, 17, 0, PreviewStatus::kShortSource},
      {"huge height", 8, 0x7FFFFFFF, 0, PreviewStatus::kBadSize},
      {"most negative height", 8, 0x80000000, 0, PreviewStatus::kBadSize},
      {"zero width", 4, 0, 0, PreviewStatus::kBadSize},
      {"image size disagrees", 20, 12345, 0, PreviewStatus::kSizeMismatch},
      {"header size", 0, 12, 0, PreviewStatus::kBadHeader},
      {"header size past the data", 0, 0xFFFFFFF0, 0, PreviewStatus::kBadHeader},
      {"8 bits", 14, 8, 0, PreviewStatus::kBadHeader},
      {"run-length", 16, 1, 0, PreviewStatus::kBadHeader},
      {"palette", 32, 2, 0, PreviewStatus::kBadHeader},
      {"cut short", 0, 40, 100, PreviewStatus::kShortSource},
      {"header only", 0, 40, 30, PreviewStatus::kShortSource},
  };
  for (const Case& c : cases) {
    auto src = good;
    if (c.offset == 14) {
      src[14] = uint8_t(c.value);
    } else {
      std::memcpy(&src[c.offset], &c.value, 4);
    }
    std::vector<uint8_t> dest(good.size() + 64, 0x5A);
    const size_t size = c.size ? c.size : src.size();
    EXPECT_EQ(cc::RenderColourPreview(src.data(), size, dest.data(), dest.size(), Standard()),
              c.expected)
        << c.what;
    EXPECT_TRUE(std::all_of(dest.begin(), dest.end(), [](uint8_t v) { return v == 0x5A; })) << c.what;
    // The page passes a picture on only when its header gives its size.
    if (c.expected == PreviewStatus::kShortSource || c.expected == PreviewStatus::kBadSize)
      EXPECT_NE(colour::PackedBitmapLength(src.data(), size), size) << c.what;
  }
  std::vector<uint8_t> shortDest(good.size() - 1, 0x5A);
  EXPECT_EQ(cc::RenderColourPreview(good.data(), good.size(), shortDest.data(), shortDest.size(),
                                    Standard()),
            PreviewStatus::kShortDestination);
  EXPECT_EQ(cc::RenderColourPreview(nullptr, 0, shortDest.data(), 0, Standard()),
            PreviewStatus::kNoData);
}

TEST(ColourPreview, ReadsTheBlockInRecordOrder) {
  JobSettings js{};
  js.CyanBalance = -7;
  js.ToneLevel2 = 9;
  js.GammaIndex = 3;
  js.Monochrome = 1;
  js.ColorStyle = 2;
  js.ColorOptions = 1;
  const ColourBlock b = cc::ReadColourBlock(&js.CyanBalance);
  EXPECT_EQ(b.cyanBalance, -7);
  EXPECT_EQ(b.toneLevel2, 9);
  EXPECT_EQ(b.gammaIndex, 3u);
  EXPECT_EQ(b.monochrome, 1u);
  EXPECT_EQ(b.colorStyle, 2u);
  EXPECT_EQ(b.colorOptions, 1u);
}

// ---- Page rules ----------------------------------------------------------

TEST(ColourPage, ListsFollowTheRecordAndWriteIt) {
  for (size_t row = 0; row < colour::kChoiceRowCount; ++row) {
    SCOPED_TRACE(row);
    const int item = colour::ItemOfRow(row);
    EXPECT_EQ(colour::RowOfItem(colour::kChoiceRows[row].listId, item), int(row));
    JobSettings js{};
    js.Mcc3Flags = 3;
    js.ColorMode = 99;  // matches nothing
    colour::ApplyChoice(row, &js);
    const colour::ListSelection s = colour::SelectFromRecord(js);
    const int shown[] = {s.colourMode, s.resolution, s.halftone};
    const int list = row / 2;
    EXPECT_EQ(shown[list], item);
    EXPECT_EQ(js.Mcc3Flags, list == 0 ? 2u : 3u) << "a colour-mode pick clears bit 0";
  }
  JobSettings none{};
  none.ColorMode = 7;
  none.dmPrintQuality = 300;
  none.Halftone = 9;
  const colour::ListSelection s = colour::SelectFromRecord(none);
  EXPECT_EQ(s.colourMode, -1);
  EXPECT_EQ(s.resolution, -1);
  EXPECT_EQ(s.halftone, -1);
  EXPECT_EQ(colour::RowOfItem(colour::kHalftoneList, 2), -1);
}

TEST(ColourPage, ChangeCheckWatchesItsFieldsOnly) {
  const JobSettings applied{};
  const struct {
    const char* name;
    void (*edit)(JobSettings&);
    bool changed;
  } cases[] = {
      {"ColorModeType", [](JobSettings& j) { j.ColorModeType = 6; }, true},
      {"ColorMode", [](JobSettings& j) { j.ColorMode = 2; }, true},
      {"Monochrome", [](JobSettings& j) { j.Monochrome = 1; }, true},
      {"MonoTone", [](JobSettings& j) { j.MonoTone = 255; }, true},
      {"Mcc3Flags", [](JobSettings& j) { j.Mcc3Flags = 1; }, true},
      {"ColorOptions", [](JobSettings& j) { j.ColorOptions = 1; }, true},
      {"dmPrintQuality", [](JobSettings& j) { j.dmPrintQuality = 600; }, true},
      {"dmYResolution", [](JobSettings& j) { j.dmYResolution = 600; }, true},
      {"Halftone", [](JobSettings& j) { j.Halftone = 1; }, true},
      {"Option1348", [](JobSettings& j) { j.Option1348 = 1; }, true},
      {"CyanBalance (the dialog's)", [](JobSettings& j) { j.CyanBalance = 5; }, false},
      {"SettingsNameId", [](JobSettings& j) { j.SettingsNameId = 4; }, false},
  };
  for (const auto& c : cases) {
    JobSettings work = applied;
    c.edit(work);
    EXPECT_EQ(colour::ColourSettingsChanged(work, applied), c.changed) << c.name;
  }
}

TEST(ColourPage, DefaultsKeepTheAdjustmentsAndMediaClass) {
  JobSettings d{};
  d.ColorMode = 2;
  d.GammaIndex = 2;
  d.Halftone = 3;
  d.MonoTone = 255;
  d.Mcc3Flags = 2;
  d.ColorPlanes = 4;
  d.dmICMMethod = 1;
  d.dmPrintQuality = d.dmYResolution = 600;
  JobSettings w{};
  w.CyanBalance = -20, w.BlackBalance = 9, w.ToneLevel2 = 3, w.GammaIndex = 3, w.ColorStyle = 2;
  w.MediaClass = 5, w.ColorOptions = 1, w.ColorFlags = 7;
  w.Monochrome = 1, w.ColorPlanes = 1, w.ColorModeType = 6, w.Halftone = 1, w.IcmMode = 1;
  w.dmPrintQuality = w.dmYResolution = 1200, w.Option1348 = 4, w.Mcc3Flags = 0;
  colour::ApplyColourDefaults(d, &w);
  EXPECT_EQ(w.CyanBalance, -20);
  EXPECT_EQ(w.BlackBalance, 9);
  EXPECT_EQ(w.ToneLevel2, 3);
  EXPECT_EQ(w.GammaIndex, 3u);
  EXPECT_EQ(w.ColorStyle, 2u);
  EXPECT_EQ(w.MediaClass, 5u);
  EXPECT_EQ(w.ColorOptions, 1u);
  EXPECT_EQ(w.ColorFlags, 6u);
  EXPECT_EQ(w.Monochrome, 0u);
  EXPECT_EQ(w.ColorPlanes, 4u);
  EXPECT_EQ(w.ColorModeType, 0u);
  EXPECT_EQ(w.ColorMode, 2u);
  EXPECT_EQ(w.IcmMode, 0u);
  EXPECT_EQ(w.Halftone, 3u);
  EXPECT_EQ(w.Mcc3Flags, 2u);
  EXPECT_EQ(w.dmPrintQuality, 600);
  EXPECT_EQ(w.Option1348, 0u);
}

TEST(ColourPage, EnablesAndProfiles) {
  MediaData media[2]{};
  media[0].mediaId = 262;
  media[0].profileNumber = 3;
  media[1].mediaId = 1;
  EXPECT_EQ(colour::MediaProfileNumber(media, 2, 262), 3u);
  EXPECT_EQ(colour::MediaProfileNumber(media, 2, 1), 0u);
  EXPECT_EQ(colour::MediaProfileNumber(media, 2, 999), 0u);
  EXPECT_EQ(colour::MediaProfileNumber(nullptr, 5, 262), 0u);
  EXPECT_TRUE(colour::ColourPageEnables(false, 0).colourMode);
  EXPECT_FALSE(colour::ColourPageEnables(false, 3).colourMode);
  EXPECT_FALSE(colour::ColourPageEnables(true, 0).colourMode);
  EXPECT_TRUE(colour::ColourPageEnables(true, 0).grayscale);

  JobSettings js{};
  colour::SetGrayscale(&js, true);
  EXPECT_TRUE(colour::ShowsGrayscalePicture(js));
  EXPECT_TRUE(colour::AdjustmentsGrayscale(js));
  colour::SetGrayscale(&js, false);
  EXPECT_EQ(js.ColorPlanes, 4u);
  EXPECT_EQ(js.MonoTone, 255u);
  EXPECT_FALSE(colour::ShowsGrayscalePicture(js));
}

// ---- Adjustment dialog rules ---------------------------------------------

TEST(ColourAdjustments, TypedTextBecomesAValueInRange) {
  const struct {
    std::u16string_view text;
    int32_t value;
    const char16_t* shown;  // null: the edit keeps its text
  } cases[] = {
      {u"", 0, nullptr},           {u"-", 0, nullptr},        {u"7", 7, nullptr},
      {u"-50", -50, nullptr},      {u"99", 50, u"50"},        {u"-99", -50, u"-50"},
      {u"12-3", -3, u"-3"},        {u"1-", 0, u"0"},          {u"ab", 0, u"0"},
      {u"4x", 4, u"4"},            {u"123456789012", 50, u"50"}, {u"-00000000009", 0, nullptr},
  };
  for (const auto& c : cases) {
    const colour::EditReading r = colour::ReadAdjustmentText(c.text);
    EXPECT_EQ(r.value, c.value) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(r.rewrite, c.shown != nullptr) << std::string(c.text.begin(), c.text.end());
    if (c.shown) EXPECT_EQ(std::u16string_view(r.text), c.shown);
  }
}

TEST(ColourAdjustments, ScrollRequests) {
  const struct {
    int code, pos, thumb, target;
  } cases[] = {{0, 0, 0, 0},   {0, 10, 0, 9},  {1, 100, 0, 100}, {1, 99, 0, 100},
               {2, 5, 0, 0},   {2, 6, 0, 1},   {3, 97, 0, 100},  {4, 3, 42, 42},
               {5, 3, 140, 100}, {6, 50, 0, 0}, {7, 50, 0, 100},  {8, 37, 0, 37}};
  for (const auto& c : cases)
    EXPECT_EQ(colour::ScrollTarget(c.code, c.pos, 100, c.thumb), c.target) << c.code << "/" << c.pos;
}

TEST(ColourAdjustments, StateLoadsClampedAndReachesTheRecordOnlyThroughStore) {
  JobSettings js{};
  js.CyanBalance = 400, js.MagentaBalance = -400, js.ToneLevel1 = 51, js.GammaIndex = 0;
  js.ColorStyle = 4, js.ColorOptions = 1, js.ColorFlags = 0x7, js.Halftone = 1;
  const colour::AdjustmentState s = colour::LoadAdjustments(js);
  EXPECT_EQ(s.balance[0], 50);
  EXPECT_EQ(s.balance[1], -50);
  EXPECT_EQ(s.tone[0], 50);
  EXPECT_EQ(s.gamma, 2u);
  EXPECT_EQ(s.style, 0u);
  EXPECT_TRUE(s.optionFlag);
  EXPECT_EQ(s.flagPair, 6u);

  JobSettings preview = js;
  colour::AdjustmentState d = colour::DefaultAdjustments(JobSettings{});
  colour::CopyToPreview(d, &preview);
  EXPECT_EQ(preview.CyanBalance, 0);
  EXPECT_EQ(preview.Halftone, 1u) << "halftone reaches the record only on OK";
  colour::StoreAdjustments(d, &js);
  EXPECT_EQ(js.Halftone, 3u);
  EXPECT_EQ(js.ColorOptions, 0u);
  EXPECT_EQ(js.ColorFlags, 1u) << "bit 0 is not the dialog's";
  JobSettings reopened = js;
  colour::StoreAdjustments(colour::LoadAdjustments(js), &reopened);
  EXPECT_EQ(colour::TakeAdjustmentSnapshot(reopened), colour::TakeAdjustmentSnapshot(js))
      << "OK without edits changes nothing the page watches";
}

TEST(ColourAdjustments, GammaLockAndTrough) {
  JobSettings js{};
  EXPECT_FALSE(colour::GammaLocked(js, 0));
  js.ColorModeType = 6;
  EXPECT_TRUE(colour::GammaLocked(js, 0));
  js.Monochrome = 1;
  EXPECT_FALSE(colour::GammaLocked(js, 0)) << "grayscale ignores the colour mode";
  EXPECT_TRUE(colour::GammaLocked(js, 2)) << "but not the media's profile";
  // White at the left, the ink at the right, never lighter going right.
  const int w = 120;
  EXPECT_EQ(colour::TroughComponent(0, 0, w), 255);
  EXPECT_LE(colour::TroughComponent(0, w - 3, w), 20);
  for (int x = 1; x < w; ++x)
    EXPECT_LE(colour::TroughComponent(40, x, w), colour::TroughComponent(40, x - 1, w));
  EXPECT_EQ(colour::TroughComponent(255, 60, w), 255) << "a white ink stays white";
}

}  // namespace
}  // namespace vq
