#include "modules/cc/colour_preview.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "base/byte_reader.h"

namespace vq::cc {
namespace {

// Densities are natural-log densities in 1/256 units: transmission t prints
// as -ln(t) * 256. Paper is 0; the deepest black the inks reach on label
// stock reflects 4 % of the light (density 3.22, 824 units).
constexpr int kDensityOne = 256;
constexpr int kMaxDensity = 824;
constexpr int kDensitySlots = 1024;

// The tables every call shares, built once: density of each 8-bit value,
// value of each density, and the three gamma curves.
struct SharedTables {
  std::array<int16_t, 256> density;          // value 0..255 -> density (0 -> kMaxDensity)
  std::array<uint8_t, kDensitySlots> value;  // density -> value, black point included
  // The same for a density that may have gone below paper or past the
  // deepest black: index d + kSpan for d in -kSpan .. kSpan - 1, so the
  // pixel loops need no clamps (an ink's density, a black shift and a
  // dither step add up to less than 2 x 824 + 8 in size).
  static constexpr int kSpan = 2048;
  std::array<uint8_t, 2 * kSpan> valueAt;
  std::array<std::array<uint8_t, 256>, 3> gamma;
};

const SharedTables& Shared() {
  static const SharedTables tables = [] {
    SharedTables t{};
    for (int v = 0; v < 256; ++v) {
      const double d = v == 0 ? kMaxDensity : -std::log(v / 255.0) * kDensityOne;
      t.density[v] = static_cast<int16_t>(std::min<double>(std::lround(d), kMaxDensity));
    }
    for (int d = 0; d < kDensitySlots; ++d) {
      const int clamped = std::min(d, kMaxDensity);
      t.value[d] = static_cast<uint8_t>(std::lround(255.0 * std::exp(-double(clamped) / kDensityOne)));
    }
    for (int d = -SharedTables::kSpan; d < SharedTables::kSpan; ++d)
      t.valueAt[d + SharedTables::kSpan] = t.value[std::clamp(d, 0, kDensitySlots - 1)];
    // The picture is taken as gamma 1.8; a job gamma g bends it by g / 1.8.
    constexpr double kGammas[3] = {1.4, 1.8, 2.2};
    for (int i = 0; i < 3; ++i)
      for (int v = 0; v < 256; ++v)
        t.gamma[i][v] = static_cast<uint8_t>(std::lround(255.0 * std::pow(v / 255.0, kGammas[i] / 1.8)));
    return t;
  }();
  return tables;
}

int ClampBalance(int32_t v) { return std::clamp<int32_t>(v, -50, 50); }

// A curve that bends the middle and keeps both ends: x + k x (1 - x), which
// stays monotonic for |k| <= 1.
double Bend(double x, double k) { return x + k * x * (1.0 - x); }

// Everything the per-pixel loop needs for one colour block.
struct Plan {
  bool monochrome = false;
  bool sepia = false;   // tint applied to the luminance
  bool vivid = false;
  bool blackOnly = false;
  bool separable = true;  // no black balance: each channel maps on its own
  bool dither = false;
  // Input curves per channel (B, G, R order of the pixels): gamma, style,
  // brightness, contrast, giving the value the inks are asked to print.
  std::array<std::array<uint8_t, 256>, 3> in{};
  // Density each channel's ink prints for a value, colour balance included.
  std::array<std::array<int16_t, 256>, 3> ink{};
  // What black generation and black balance add to every channel's density,
  // by the pixel's lightest channel value (its least ink).
  std::array<int16_t, 256> black{};
  // Separable path: value in -> value out per channel.
  std::array<std::array<uint8_t, 256>, 3> direct{};
};

// Applies gamma, style tint, brightness and contrast to one channel.
double Tone(double x, int channel, uint32_t style, double brightness, double contrast) {
  // Channel 0 is blue, 2 is red. Warm lifts red and holds back blue; cool
  // the opposite; sepia (on the luminance) tints toward brown.
  static constexpr double kTint[4][3] = {
      {0, 0, 0}, {-0.22, 0.04, 0.20}, {0.22, 0.02, -0.18}, {-0.45, -0.05, 0.30}};
  x = Bend(x, kTint[style][channel]);
  x = Bend(x, 0.7 * brightness);
  x = 0.5 + (x - 0.5) * (1.0 + 0.6 * contrast);
  return std::clamp(x, 0.0, 1.0);
}

Plan MakePlan(const ColourBlock& b) {
  const SharedTables& shared = Shared();
  Plan p;
  p.monochrome = b.monochrome == 1;
  const uint32_t style = b.colorStyle <= 3 ? b.colorStyle : 0;
  p.sepia = !p.monochrome && style == 3;
  p.vivid = !p.monochrome && b.colorModeType == 6;
  p.blackOnly = !p.monochrome && (b.colorOptions & 1) != 0;
  p.dither = b.halftone == 1;
  const uint32_t gammaIndex = (b.gammaIndex >= 1 && b.gammaIndex <= 3) ? b.gammaIndex : 2;
  const auto& gamma = shared.gamma[gammaIndex - 1];
  const double brightness = std::clamp<int32_t>(b.toneLevel1, -50, 50) / 50.0;
  const double contrast = std::clamp<int32_t>(b.toneLevel2, -50, 50) / 50.0;
  const int balance[3] = {ClampBalance(b.yellowBalance), ClampBalance(b.magentaBalance),
                          ClampBalance(b.cyanBalance)};  // B, G, R: the ink that absorbs each
  const int blackBalance = ClampBalance(b.blackBalance);
  p.separable = blackBalance == 0;

  for (int ch = 0; ch < 3; ++ch)
    for (int v = 0; v < 256; ++v) {
      const double x = gamma[v] / 255.0;
      const double toned = p.monochrome ? Tone(x, 0, 0, brightness, contrast)
                                        : Tone(x, ch, style, brightness, contrast);
      p.in[ch][v] = static_cast<uint8_t>(std::lround(toned * 255.0));
    }
  // Balance bends the ink amount: +50 lays up to half as much ink again in
  // the mid-tones, -50 half as much less; paper and solid ink stay.
  for (int ch = 0; ch < 3; ++ch)
    for (int v = 0; v < 256; ++v) {
      const int ink = 255 - v;
      const int bent = ink + balance[ch] * ink * (255 - ink) / (255 * 100);
      p.ink[ch][v] = shared.density[255 - std::clamp(bent, 0, 255)];
    }
  // Black replaces the grey part of a colour, more of it in the shadows
  // (k = n^2 of the least ink n); black balance bends that black, and what
  // the bent black prints more or less than the plain one is added to all
  // three channels.
  for (int v = 0; v < 256; ++v) {
    const int n = 255 - v;
    const int k = n * n / 255;
    const int bent = std::clamp(k + blackBalance * k * (255 - k) / (255 * 100), 0, 255);
    p.black[v] = static_cast<int16_t>(shared.density[255 - bent] - shared.density[255 - k]);
  }
  if (p.monochrome) {
    // Black ink alone: the luminance's own ink, with black balance bending it.
    for (int v = 0; v < 256; ++v) {
      const int ink = 255 - p.in[0][v];
      const int bent = std::clamp(ink + blackBalance * ink * (255 - ink) / (255 * 100), 0, 255);
      p.direct[0][v] = shared.value[shared.density[255 - bent]];
    }
  } else {
    for (int ch = 0; ch < 3; ++ch)
      for (int v = 0; v < 256; ++v) p.direct[ch][v] = shared.value[p.ink[ch][p.in[ch][v]]];
  }
  return p;
}

// The dither halftone's grain: a 4 x 4 ordered pattern of small density steps.
constexpr int8_t kBayer[16] = {-8, 0, -6, 2, 4, -4, 6, -2, -5, 3, -7, 1, 7, -1, 5, -3};

inline int Luminance(int r, int g, int b) { return (77 * r + 150 * g + 29 * b) >> 8; }

// Three loops, each with only the work its settings need: the pixels of a
// 24-bit preview are ~30 000, so a branch or a reload per pixel shows.
// Every loop reads `src` and writes `dst` through restrict pointers: the
// caller's buffers never overlap (RenderColourPreview checks nothing of the
// kind, but MCC4Preview's contract gives two buffers).

// Grayscale: luminance -> one table -> R = G = B.
template <int Bytes>
void RenderGrey(const Plan& p, const uint8_t* __restrict src, uint8_t* __restrict dst,
                const DibShape& s) {
  const SharedTables& shared = Shared();
  const auto& table = p.direct[0];
  const bool dither = p.dither;
  for (int32_t y = 0; y < s.height; ++y) {
    const uint8_t* in = src + uint64_t(y) * s.stride;
    uint8_t* out = dst + uint64_t(y) * s.stride;
    const int8_t* grain = kBayer + (y & 3) * 4;
    for (int32_t x = 0; x < s.width; ++x, in += Bytes, out += Bytes) {
      uint8_t grey = table[Luminance(in[2], in[1], in[0])];
      if (dither) grey = shared.valueAt[shared.density[grey] + grain[x & 3] + SharedTables::kSpan];
      out[0] = grey;
      out[1] = grey;
      out[2] = grey;
      if constexpr (Bytes == 4) out[3] = in[3];
    }
  }
}

// Each channel on its own: one table a channel (the common case: no black
// balance, no cross-channel option).
template <int Bytes>
void RenderSeparable(const Plan& p, const uint8_t* __restrict src, uint8_t* __restrict dst,
                     const DibShape& s) {
  const uint8_t* __restrict t0 = p.direct[0].data();
  const uint8_t* __restrict t1 = p.direct[1].data();
  const uint8_t* __restrict t2 = p.direct[2].data();
  for (int32_t y = 0; y < s.height; ++y) {
    const uint8_t* __restrict in = src + uint64_t(y) * s.stride;
    uint8_t* __restrict out = dst + uint64_t(y) * s.stride;
    for (int32_t x = 0; x < s.width; ++x, in += Bytes, out += Bytes) {
      const uint8_t c0 = t0[in[0]], c1 = t1[in[1]], c2 = t2[in[2]];
      out[0] = c0;
      out[1] = c1;
      out[2] = c2;
      if constexpr (Bytes == 4) out[3] = in[3];
    }
  }
}

// Everything else: vivid, sepia, black balance, black-only, dither.
template <int Bytes>
void RenderGeneral(const Plan& p, const uint8_t* __restrict src, uint8_t* __restrict dst,
                   const DibShape& s) {
  const uint8_t* const value = Shared().valueAt.data() + SharedTables::kSpan;
  const bool sepia = p.sepia, vivid = p.vivid, blackOnly = p.blackOnly, dither = p.dither;
  for (int32_t y = 0; y < s.height; ++y) {
    const uint8_t* in = src + uint64_t(y) * s.stride;
    uint8_t* out = dst + uint64_t(y) * s.stride;
    const int8_t* grain = kBayer + (y & 3) * 4;
    for (int32_t x = 0; x < s.width; ++x, in += Bytes, out += Bytes) {
      int c0 = in[0], c1 = in[1], c2 = in[2];
      if (sepia) c0 = c1 = c2 = Luminance(c2, c1, c0);
      if (vivid) {
        const int l = Luminance(c2, c1, c0);
        c0 = std::clamp(c0 + (c0 - l) / 3, 0, 255);
        c1 = std::clamp(c1 + (c1 - l) / 3, 0, 255);
        c2 = std::clamp(c2 + (c2 - l) / 3, 0, 255);
      }
      int v0 = p.in[0][c0], v1 = p.in[1][c1], v2 = p.in[2][c2];
      if (blackOnly && std::max({v0, v1, v2}) - std::min({v0, v1, v2}) <= 12) {
        // A near-neutral pixel printed with black ink alone is exactly neutral.
        v0 = v1 = v2 = (v0 + v1 + v2) / 3;
      }
      const int shift = p.black[std::max({v0, v1, v2})] + (dither ? grain[x & 3] : 0);
      out[0] = value[p.ink[0][v0] + shift];
      out[1] = value[p.ink[1][v1] + shift];
      out[2] = value[p.ink[2][v2] + shift];
      if constexpr (Bytes == 4) out[3] = in[3];
    }
  }
}

template <int Bytes>
void RenderRows(const Plan& p, const uint8_t* src, uint8_t* dst, const DibShape& s) {
  if (p.monochrome) {
    RenderGrey<Bytes>(p, src, dst, s);
  } else if (p.separable && !p.sepia && !p.vivid && !p.blackOnly && !p.dither) {
    RenderSeparable<Bytes>(p, src, dst, s);
  } else {
    RenderGeneral<Bytes>(p, src, dst, s);
  }
}

}  // namespace

ColourBlock ReadColourBlock(const void* bytes) {
  const ByteReader r(bytes, kColourBlockSize);
  ColourBlock b{};
  uint32_t words[20];
  for (int i = 0; i < 20; ++i) words[i] = r.U32LE(4u * i);
  static_assert(sizeof b == sizeof words);
  std::memcpy(&b, words, sizeof b);
  return b;
}

PreviewStatus ReadDibHeader(const uint8_t* header, DibShape* shape) {
  if (!header || !shape) return PreviewStatus::kNoData;
  const ByteReader r(header, kDibHeaderBytes);
  const uint32_t headerSize = r.U32LE(0);
  // BITMAPINFOHEADER, V4 and V5 headers; older core headers are not bitmaps
  // this module writes.
  if (headerSize != 40 && headerSize != 108 && headerSize != 124) return PreviewStatus::kBadHeader;
  const int32_t width = static_cast<int32_t>(r.U32LE(4));
  const int32_t height = static_cast<int32_t>(r.U32LE(8));
  const uint16_t planes = r.U16LE(12), bits = r.U16LE(14);
  const uint32_t compression = r.U32LE(16), imageSize = r.U32LE(20), colours = r.U32LE(32);
  // BI_RGB only (BI_BITFIELDS with 32 bits would need the masks honoured).
  if (planes != 1 || (bits != 24 && bits != 32) || compression != 0 || colours != 0)
    return PreviewStatus::kBadHeader;
  // INT32_MIN has no positive height; the side cap keeps every product
  // below in 64 bits with room to spare.
  if (width <= 0 || height == 0 || height == INT32_MIN || width > kMaxPreviewSide ||
      std::abs(height) > kMaxPreviewSide)
    return PreviewStatus::kBadSize;
  const uint32_t rows = static_cast<uint32_t>(std::abs(height));
  const uint32_t stride = (static_cast<uint32_t>(width) * bits / 8 + 3) & ~3u;
  const uint64_t pixels = uint64_t(stride) * rows;
  if (imageSize != 0 && imageSize != pixels) return PreviewStatus::kSizeMismatch;
  *shape = {headerSize, width, static_cast<int32_t>(rows), bits, stride, headerSize + pixels};
  return PreviewStatus::kOk;
}

PreviewStatus ParsePackedDib(const uint8_t* data, size_t size, DibShape* shape) {
  if (!data || !shape) return PreviewStatus::kNoData;
  if (size < kDibHeaderBytes) return PreviewStatus::kShortSource;
  DibShape s{};
  if (const PreviewStatus st = ReadDibHeader(data, &s); st != PreviewStatus::kOk) return st;
  if (s.totalSize > size) return PreviewStatus::kShortSource;
  *shape = s;
  return PreviewStatus::kOk;
}

PreviewStatus RenderColourPreview(const uint8_t* source, size_t sourceSize, uint8_t* dest,
                                  size_t destSize, const ColourBlock& block) {
  if (!dest) return PreviewStatus::kNoData;
  DibShape shape{};
  if (const PreviewStatus st = ParsePackedDib(source, sourceSize, &shape); st != PreviewStatus::kOk)
    return st;
  if (shape.totalSize > destSize) return PreviewStatus::kShortDestination;
  const Plan plan = MakePlan(block);
  std::memcpy(dest, source, shape.headerSize);
  const uint8_t* src = source + shape.headerSize;
  uint8_t* dst = dest + shape.headerSize;
  if (shape.bitsPerPixel == 24) {
    RenderRows<3>(plan, src, dst, shape);
  } else {
    RenderRows<4>(plan, src, dst, shape);
  }
  // Row padding is copied as it came, so the result is the source's twin
  // outside the pixels.
  const uint32_t used = static_cast<uint32_t>(shape.width) * (shape.bitsPerPixel / 8);
  if (used < shape.stride)
    for (int32_t y = 0; y < shape.height; ++y)
      std::memcpy(dst + uint64_t(y) * shape.stride + used, src + uint64_t(y) * shape.stride + used,
                  shape.stride - used);
  return PreviewStatus::kOk;
}

}  // namespace vq::cc
