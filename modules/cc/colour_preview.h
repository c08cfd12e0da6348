// The colour preview of VQ312CC.dll: renders a picture as this printer would
// print it with a job's colour settings. Portable: the DLL's MCC4Preview
// export is a thin layer over RenderColourPreview.
//
// The picture is a packed device-independent bitmap: a BITMAPINFOHEADER
// (40 bytes or one of its longer versions; its first word, the header size,
// is the offset of the pixels), then the pixel rows, 24 or 32 bits a pixel,
// uncompressed, rows padded to 4 bytes, bottom-up or top-down. The result is
// a packed bitmap of the same form and size.
//
// How a pixel is printed, in order (every stage a 256-entry table built once
// per call, so a pixel costs a handful of table reads):
//   1. colour mode: "Vivid" (ColorModeType 6) lifts saturation;
//   2. colour style: warm, cool or sepia tint;
//   3. gamma: the picture is taken as gamma 1.8; the job's gamma (1.4, 1.8,
//      2.2) bends the mid-tones and leaves black and white where they are;
//   4. brightness (tone level 1) and contrast (tone level 2);
//   5. separation into cyan, magenta, yellow and black ink: black replaces
//      part of the grey component, more of it in the shadows; with the
//      "black ink only" option, neutral pixels print with black alone;
//   6. colour balance: each ink's amount is bent up or down (paper stays
//      paper, full ink stays full ink);
//   7. the inks on paper: each ink absorbs mostly its own channel and a
//      little of the others, black absorbs all three;
//   8. the dither halftone (Halftone 1) leaves a fine ordered grain; error
//      diffusion (3) is smooth at preview scale.
// Monochrome prints with black ink alone: every pixel a neutral grey
// (R = G = B) from the pixel's luminance, with gamma, tone and black balance.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vq::cc {

// The colour block of the job settings record: twenty 32-bit words that
// begin at CyanBalance (byte 496 of the record), in record order.
inline constexpr size_t kColourBlockSize = 80;

struct ColourBlock {
  int32_t cyanBalance;     // -50 .. 50
  int32_t magentaBalance;
  int32_t yellowBalance;
  int32_t blackBalance;
  int32_t toneLevel1;      // brightness, -50 .. 50
  int32_t toneLevel2;      // contrast, -50 .. 50
  uint32_t colorModeType;  // 6: vivid
  uint32_t colorMode;
  uint32_t gammaIndex;     // 1 .. 3
  uint32_t halftone;       // 3 error diffusion, 1 dither
  uint32_t mediaClass;
  uint32_t icmMode;
  uint32_t monochrome;     // 1: grayscale
  uint32_t monoTone;
  uint32_t option552;
  uint32_t colorStyle;     // 0 standard, 1 warm, 2 cool, 3 sepia
  uint32_t option560;
  uint32_t mcc3Flags;
  uint32_t colorOptions;   // bit 0: black with black ink only
  uint32_t reserved;
};

// Reads the block from its 80 record bytes (little-endian words).
ColourBlock ReadColourBlock(const void* bytes);

enum class PreviewStatus {
  kOk,
  kNoData,           // a null pointer
  kBadHeader,        // header size, planes, compression or palette not supported
  kBadSize,          // zero or oversized dimensions
  kSizeMismatch,     // the header's image size disagrees with its dimensions
  kShortSource,      // the bitmap is longer than the bytes given
  kShortDestination,
};

// Where the pixels of a packed bitmap lie.
struct DibShape {
  uint32_t headerSize;
  int32_t width;
  int32_t height;        // rows, always positive
  uint32_t bitsPerPixel; // 24 or 32
  uint32_t stride;       // bytes a row
  uint64_t totalSize;    // header + rows
};

// The largest picture accepted: a preview, not a page.
inline constexpr int32_t kMaxPreviewSide = 4096;

// The fields of a packed bitmap's header this module reads.
inline constexpr size_t kDibHeaderBytes = 40;

// What a header (its first kDibHeaderBytes bytes) says of the bitmap,
// whatever holds it: refused when the form is not one this module renders.
PreviewStatus ReadDibHeader(const uint8_t* header, DibShape* shape);

// Checks a packed bitmap's header against the `size` bytes that hold it.
// The header alone says how long the bitmap is; a bitmap that says it is
// longer than `size`, or whose image-size field disagrees with its
// dimensions, is refused.
PreviewStatus ParsePackedDib(const uint8_t* data, size_t size, DibShape* shape);

// Renders `source` (sourceSize bytes) into `dest` (destSize bytes, at least
// the bitmap's length): the header is copied, the pixels printed. On any
// refusal `dest` is left as it was.
PreviewStatus RenderColourPreview(const uint8_t* source, size_t sourceSize, uint8_t* dest,
                                  size_t destSize, const ColourBlock& block);

}  // namespace vq::cc
