// Draws the layout tests' icons: single-image 16-colour .ico files, a plain
// navy square of the given size (only the size is looked at). Run natively;
// the output is committed.
//
//   make_icons DIR     writes DIR/art64.ico and DIR/art200.ico
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) return std::fprintf(stderr, "usage: make_icons DIR\n"), 2;
  for (uint32_t size : {64, 200}) {
    const uint32_t pixelBytes = ((size * 4 + 31) / 32 + (size + 31) / 32) * 4 * size;
    std::vector<uint8_t> b;
    auto put = [&b](int width, std::initializer_list<uint32_t> values) {
      for (uint32_t v : values)
        for (int i = 0; i < width; ++i) b.push_back(static_cast<uint8_t>(v >> 8 * i));
    };
    // The directory with its one entry, then the image: BITMAPINFOHEADER (its
    // height counts the colour rows and the mask rows), colour 0 navy and 15
    // black, every pixel colour 0 and opaque (mask 0).
    put(2, {0, 1, 1});
    put(1, {size, size, 16, 0});
    put(2, {1, 4});
    put(4, {40 + 16 * 4 + pixelBytes, 22, 40, size, 2 * size});
    put(2, {1, 4});
    put(4, {0, pixelBytes, 0, 0, 16, 0, 0x000D1386});
    b.resize(b.size() + 15 * 4 + pixelBytes);
    const std::string path = std::string(argv[1]) + "/art" + std::to_string(size) + ".ico";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(b.data(), 1, b.size(), f) != b.size() || std::fclose(f) != 0)
      return std::fprintf(stderr, "cannot write %s\n", path.c_str()), 1;
  }
  return 0;
}
