// Draws the layout tests' icons: single-image 16-colour .ico files of a given
// size, a ring with a bar across it on a transparent ground, so that a scaled
// load is visibly the same picture. Run natively; the output is committed.
//
//   make_icons DIR     writes DIR/art64.ico, DIR/art132.ico, DIR/art200.ico
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// Palette index of pixel (x, y), counted from the top; -1 for transparent.
int Pixel(int x, int y, int size) {
  const double c = (size - 1) / 2.0, dx = x - c, dy = y - c;
  const double r2 = dx * dx + dy * dy, outer = size * 0.48, inner = size * 0.30;
  if (r2 > outer * outer) return -1;
  if (dy > -size * 0.08 && dy < size * 0.08 && dx > -outer && dx < outer) return 15;  // white bar
  if (r2 >= inner * inner) return 4;                                                   // navy ring
  return 11;                                                                           // cyan disc
}

std::vector<uint8_t> Icon(int size) {
  const uint32_t xorStride = ((size * 4 + 31) / 32) * 4;
  const uint32_t andStride = ((size + 31) / 32) * 4;
  const uint32_t imageBytes = 40 + 16 * 4 + (xorStride + andStride) * size;
  std::vector<uint8_t> b;
  Put16(b, 0), Put16(b, 1), Put16(b, 1);  // icon directory: one image
  b.push_back(static_cast<uint8_t>(size)), b.push_back(static_cast<uint8_t>(size));
  b.push_back(16), b.push_back(0);
  Put16(b, 1), Put16(b, 4), Put32(b, imageBytes), Put32(b, 22);
  // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
  Put32(b, 40), Put32(b, size), Put32(b, 2 * size), Put16(b, 1), Put16(b, 4);
  Put32(b, 0), Put32(b, (xorStride + andStride) * size), Put32(b, 0), Put32(b, 0);
  Put32(b, 16), Put32(b, 0);
  static const uint8_t kPalette[16][3] = {
      {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {13, 19, 134}, {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {64, 200, 230},
      {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  for (const auto& rgb : kPalette) {
    b.insert(b.end(), {rgb[2], rgb[1], rgb[0], 0});  // RGBQUAD: blue first
  }
  // Rows bottom-up: colours, then the mask (1 = transparent).
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(xorStride, 0);
    for (int x = 0; x < size; ++x) {
      const int p = Pixel(x, y, size);
      row[x / 2] |= static_cast<uint8_t>((p < 0 ? 0 : p) << (x % 2 ? 0 : 4));
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(andStride, 0);
    for (int x = 0; x < size; ++x) {
      if (Pixel(x, y, size) < 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icons DIR\n");
    return 2;
  }
  for (int size : {64, 132, 200}) {
    const std::string path = std::string(argv[1]) + "/art" + std::to_string(size) + ".ico";
    const std::vector<uint8_t> bytes = Icon(size);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::fclose(f);
  }
  return 0;
}
