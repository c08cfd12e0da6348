// Fuzz target for the colour preview renderer: any colour block and any
// packed-bitmap bytes, into a destination of any size. The renderer must
// refuse without touching the destination, or fill exactly the bitmap's
// length; grayscale output must be neutral.
//
// Input layout:
//   byte 0        destination size: 0 the bitmap's own length, else that
//                 length minus (byte 0) bytes
//   bytes 1..80   the colour block (twenty little-endian words)
//   bytes 81..    the packed bitmap
//
// Seeds in fuzz/corpus/colour_preview: 24- and 32-bit pictures with
// standard, grayscale, dithered and vivid blocks; a header taller than its
// bytes; an image size that disagrees with the dimensions.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "modules/cc/colour_preview.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 + vq::cc::kColourBlockSize) return 0;
  const vq::cc::ColourBlock block = vq::cc::ReadColourBlock(data + 1);
  const uint8_t* bitmap = data + 1 + vq::cc::kColourBlockSize;
  const size_t bitmapSize = size - 1 - vq::cc::kColourBlockSize;
  // An exact-size copy, so ASan sees any read past the bytes given.
  std::vector<uint8_t> source(bitmap, bitmap + bitmapSize);
  vq::cc::DibShape shape{};
  const bool valid = vq::cc::ParsePackedDib(source.data(), source.size(), &shape) ==
                     vq::cc::PreviewStatus::kOk;
  size_t destSize = valid ? shape.totalSize : bitmapSize;
  if (data[0] && destSize >= data[0]) destSize -= data[0];
  std::vector<uint8_t> dest(destSize, 0xC3);
  const vq::cc::PreviewStatus status =
      vq::cc::RenderColourPreview(source.data(), source.size(), dest.data(), dest.size(), block);
  if (status != vq::cc::PreviewStatus::kOk) {
    for (uint8_t b : dest)
      if (b != 0xC3) std::abort();  // a refusal wrote into the destination
    return 0;
  }
  if (!valid || shape.totalSize > dest.size()) std::abort();
  if (std::memcmp(dest.data(), source.data(), shape.headerSize) != 0) std::abort();
  if (block.monochrome == 1) {
    const uint32_t bytes = shape.bitsPerPixel / 8;
    for (int32_t y = 0; y < shape.height; ++y)
      for (int32_t x = 0; x < shape.width; ++x) {
        const uint8_t* p = dest.data() + shape.headerSize + uint64_t(y) * shape.stride + x * bytes;
        if (p[0] != p[1] || p[1] != p[2]) std::abort();
      }
  }
  return 0;
}
