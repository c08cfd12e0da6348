// colour_sample: draws the picture the colour preview prints (resource "BIN"
// 397 of VQ312RD.dll, a packed 24-bit bitmap) and its grayscale twin
// (bitmap 395, the preview of grayscale printing), so both can be redrawn at
// any time. The picture holds what shows a colour setting's effect: a face
// (skin tones), sky, foliage, a grey step wedge and a label with saturated
// ink colours and black bars.
//
//   colour_sample OUTDIR    writes OUTDIR/397.bin, OUTDIR/395.bmp and OUTDIR/colour_resources.rc
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "modules/cc/colour_preview.h"

namespace {

constexpr int kWidth = 232, kHeight = 128;

struct Rgb {
  double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }

// The scene at a point, x and y in 0..1 from the top left.
Rgb Scene(double x, double y) {
  // Label at the right: saturated swatches above black bars on white.
  if (x >= 0.60 && x <= 0.97 && y >= 0.06 && y <= 0.60) {
    if (y < 0.09 || y > 0.57 || x < 0.62 || x > 0.95) return {246, 246, 242};
    static const Rgb kSwatches[6] = {{222, 30, 36},  {250, 214, 0}, {20, 160, 70},
                                     {0, 164, 222},  {30, 60, 170}, {214, 20, 130}};
    if (y < 0.30) return kSwatches[std::min(5, int((x - 0.62) / 0.33 * 6))];
    if (y > 0.36 && y < 0.53) {
      const int bar = int((x - 0.62) * 400);
      return (bar * 7 % 5 < 2) ? Rgb{18, 18, 18} : Rgb{246, 246, 242};
    }
    return {246, 246, 242};
  }
  // Grey step wedge along the bottom: eleven steps, white to black.
  if (y >= 0.86) {
    const int step = std::min(10, int(x * 11));
    const double v = 255.0 * (10 - step) / 10;
    return {v, v, v};
  }
  // Face: a shaded oval of skin with darker hair above it.
  const double fx = (x - 0.28) / 0.16, fy = (y - 0.50) / 0.30;
  const double face = fx * fx + fy * fy;
  const double hx = (x - 0.28) / 0.19, hy = (y - 0.38) / 0.30;
  if (face <= 1.0) {
    const Rgb light{246, 208, 178}, shade{176, 112, 84};
    Rgb skin = Mix(light, shade, 0.25 + 0.55 * (fx + 0.35 * fy + 0.3));
    // cheeks
    const double cx = std::abs(fx) - 0.45, cy = fy - 0.25;
    if (cx * cx + cy * cy < 0.05) skin = Mix(skin, Rgb{222, 120, 110}, 0.35);
    // eyes and mouth
    const double ex = std::abs(fx) - 0.38, ey = fy + 0.15;
    if (ex * ex * 4 + ey * ey * 16 < 0.06) return {58, 44, 38};
    if (std::abs(fx) < 0.35 && std::abs(fy - 0.52) < 0.05) return {168, 70, 70};
    return skin;
  }
  if (hx * hx + hy * hy <= 1.0 && y < 0.55) return Mix(Rgb{92, 62, 40}, Rgb{40, 26, 18}, hy + 0.6);
  // Shoulders in a blue shirt.
  if (y > 0.75 && std::abs(x - 0.28) < 0.22) return Mix(Rgb{70, 100, 170}, Rgb{30, 44, 90}, (x - 0.06) / 0.44);
  // Foliage below the horizon, sky above it with a pale haze near it.
  if (y > 0.62) {
    const double leaf = 0.5 + 0.5 * std::sin(x * 90) * std::sin(y * 70);
    return Mix(Rgb{120, 170, 70}, Rgb{40, 90, 40}, 0.3 + 0.5 * leaf + (y - 0.62));
  }
  Rgb sky = Mix(Rgb{52, 110, 196}, Rgb{184, 214, 240}, y / 0.62);
  const double sx = x - 0.50, sy = y - 0.16;
  const double glow = std::exp(-(sx * sx + sy * sy) * 60);
  return Mix(sky, Rgb{255, 250, 228}, glow);
}

std::vector<uint8_t> PackedBitmap() {
  const uint32_t stride = (kWidth * 3 + 3) & ~3u;
  std::vector<uint8_t> dib(40 + stride * kHeight, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) dib[at + i] = uint8_t(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, kWidth);
  put32(8, kHeight);  // bottom-up
  dib[12] = 1;
  dib[14] = 24;
  put32(20, stride * kHeight);
  put32(24, 3780);  // 96 dpi
  put32(28, 3780);
  for (int row = 0; row < kHeight; ++row) {
    const int y = kHeight - 1 - row;
    for (int x = 0; x < kWidth; ++x) {
      Rgb sum{0, 0, 0};
      for (int s = 0; s < 4; ++s) {  // 2 x 2 supersampling
        const Rgb c = Scene((x + 0.25 + 0.5 * (s & 1)) / kWidth, (y + 0.25 + 0.5 * (s >> 1)) / kHeight);
        sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
      }
      sum = Scale(sum, 0.25);
      uint8_t* p = &dib[40 + row * stride + x * 3];
      p[0] = uint8_t(std::lround(std::clamp(sum.b, 0.0, 255.0)));
      p[1] = uint8_t(std::lround(std::clamp(sum.g, 0.0, 255.0)));
      p[2] = uint8_t(std::lround(std::clamp(sum.r, 0.0, 255.0)));
    }
  }
  return dib;
}

bool Write(const std::string& path, const std::vector<uint8_t>& data) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: colour_sample OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::vector<uint8_t> picture = PackedBitmap();
  // The grayscale preview is the picture printed in grayscale with default
  // settings, by the same renderer the colour module uses.
  vq::cc::ColourBlock grey{};
  grey.gammaIndex = 2;
  grey.halftone = 3;
  grey.monochrome = 1;
  grey.monoTone = 255;
  std::vector<uint8_t> mono(picture.size());
  if (vq::cc::RenderColourPreview(picture.data(), picture.size(), mono.data(), mono.size(), grey) !=
      vq::cc::PreviewStatus::kOk)
    return 1;
  std::vector<uint8_t> bmp = {'B', 'M'};
  const uint32_t fileSize = 14 + static_cast<uint32_t>(mono.size());
  for (uint32_t v : {fileSize, 0u, 14u + 40u})
    for (int i = 0; i < 4; ++i) bmp.push_back(uint8_t(v >> (8 * i)));
  bmp.insert(bmp.end(), mono.begin(), mono.end());
  if (!Write(dir + "/397.bin", picture) || !Write(dir + "/395.bmp", bmp)) return 1;
  std::ofstream(dir + "/colour_resources.rc")
      << "// Generated by colour_sample: the colour preview's picture and its grayscale twin.\n"
         "397 BIN \"397.bin\"\n395 BITMAP \"395.bmp\"\n";
  return 0;
}
