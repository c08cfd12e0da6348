// Writes overlay form files from pictures, for tests, sample files and the
// admin tools. The files are what the reader expects from the driver that
// prints forms: one `p` page per picture with its `u` plane layout, `b` mode,
// raster lines dealt plane by plane, blank lines as `E`/`e`, and an `s` that
// asks for the colour image.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace vq {

// A picture as the printer sees it: the inks of every dot (kInk* bits of
// form_file.h), rows top to bottom.
struct FormPicture {
  uint32_t width = 0;   // dots, at most 65535
  uint32_t height = 0;  // lines, at most 65535
  std::vector<uint8_t> dots;  // width * height ink masks

  FormPicture() = default;
  FormPicture(uint32_t w, uint32_t h) : width(w), height(h), dots(size_t{w} * h, 0) {}
  uint8_t& at(uint32_t x, uint32_t y) { return dots[size_t{y} * width + x]; }
  uint8_t at(uint32_t x, uint32_t y) const { return dots[size_t{y} * width + x]; }
};

struct FormWriteOptions {
  uint8_t compression = 2;     // 0, 1, 2 or 4
  bool lightInks = false;      // six planes C M Y K c m instead of C M Y K
  bool fileHeader = false;     // the 76-byte header, and 10248 padding bytes per raster line
  bool blankCommands = true;   // blank plane-lines as `E`/`e` instead of raster lines
  bool longLines = false;      // every raster line as `F` (lines over 65535 bytes always are)
  bool skippedCommands = false;  // add `j`, `m`, `c`, `d`, `y`, `z` that readers step over
  uint8_t version = 3;         // page-parameter layout, 2 or 3
  uint16_t xResolution = 600;  // dpi (version 2 stores dpi / 10 in a byte)
  uint16_t yResolution = 600;
  uint8_t kind = 0;            // `K` value, 0..4 for a usable form
  uint8_t leadByte = 0;        // page parameter byte 0
  uint16_t pageWord = 0;       // page parameter word at 28
  uint16_t nValue = 0;         // `n` value
  uint16_t topOffset = 0;      // image position on the page, and the page
  uint16_t leftOffset = 0;     // margins below and to the right of it
  uint16_t bottomMargin = 0;
  uint16_t rightMargin = 0;
};

// The form file bytes; the first picture is the drawn page, later ones are
// further pages. Empty when a picture is too large for the page parameters
// (more than 65535 dots or lines, or offsets and margins that overflow them),
// its dots do not match its size, or an option is out of range.
//
// A picture's width is padded with blank dots to the multiple the reader
// rounds to (64 for version 3, 32 for version 2), so the planes hold whole
// bytes per line. A picture of four planes prints no light ink: light-ink
// bits of its dots are dropped. Modes 2 and 4 cannot end a literal with a
// 0x80 byte (the reader writes such bytes as 0); a line that needs one is
// written in mode 1 between two `b` commands.
std::vector<uint8_t> WriteFormData(std::span<const FormPicture> pages,
                                   const FormWriteOptions& options);

// WriteFormData into a file; false when there is nothing to write or the
// file cannot be written.
bool WriteFormFile(const std::filesystem::path& path, std::span<const FormPicture> pages,
                   const FormWriteOptions& options);

// Encodes one raster line in mode 0, 1, 2 or 4 (empty for another mode).
// The result decodes to `line` except in the 0x80 case above.
std::vector<uint8_t> EncodeFormLine(uint8_t mode, std::span<const uint8_t> line);

// Test pictures, the same for the same arguments:
//   "bars"    vertical bands of every ink mixture, light inks included
//   "label"   a shipping label: black frame, text-like blocks, a barcode,
//             colour bars and a dithered colour photograph area
//   "checker" 8-dot squares of alternating ink mixtures
//   "rule"    one black line across the middle of a blank page: a single
//             raster line, so a file with the header stays small
// An empty picture for an unknown name.
FormPicture MakeFormPattern(std::string_view name, uint32_t width, uint32_t height);

}  // namespace vq
