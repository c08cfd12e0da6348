// Overlay form files (".ofe"): one printed page kept as the printer's own
// raster command stream. The overlay forms page shows a thumbnail of the
// chosen form and the document event refuses a job whose form is unusable;
// both read the file here. Reading is a pure function of the file's bytes: it
// interprets the first page of the stream, expands the compressed ink planes
// and turns them into a 24-bit colour image.
//
// File layout, as the stream is read:
//   [76-byte file header]  present when the file starts with one of two
//                          signatures; after it every raster-line command
//                          carries 10248 padding bytes.
//   ESC letter ...         commands until a byte where an ESC should stand is
//                          something else, an unknown letter, or the end.
// Lengths after the letter are little-endian; numbers inside payloads are
// big-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace vq {

// Results, numbered as the overlay page and the document event test them.
enum class FormStatus : int {
  kBadCompression = 0,  // a raster line of the drawn page uses a mode other than 0, 1, 2, 4
  kOk = 1,              // also a form whose drawn page never asks for its image: nothing to draw
  kEmptyName = 10,
  kNotFound = 20,       // no file of that name; a folder is none
  // The Windows callers receive raw pointers and answer 30 for a missing file
  // name or result record; the functions below take references and never do.
  kNoArguments = 30,
  // The two pre-scans, before the read is judged: they search the file's
  // bytes (none of a file that cannot be opened) without following pages.
  kNoImage = 50,       // no `s` with flag 1 anywhere in the bytes
  kBadKind = 60,       // last `K` value outside 0..4, or the stream does not start with ESC
  kCannotOpen = 70,
  kCannotRead = 80,    // broke off, or too large to hold
  kCannotAllocate = 90,  // the image is larger than the limits allow, or memory ran out
};

// Ink bits of one dot. The reader's colour table and the writer's pictures
// are indexed by these.
inline constexpr uint8_t kInkCyan = 0x01;
inline constexpr uint8_t kInkMagenta = 0x02;
inline constexpr uint8_t kInkYellow = 0x04;
inline constexpr uint8_t kInkBlack = 0x08;
inline constexpr uint8_t kInkLightCyan = 0x10;
inline constexpr uint8_t kInkLightMagenta = 0x20;
inline constexpr uint8_t kInkAll = 0x3F;

// Facts of the first page (its `p` command), plus the last `b` mode and the
// `n` value. Offsets are within the `p` payload. The six big-endian words at
// 2..13 relate as a page of `pageLength` lines by `pageWidth` dots holding the
// image `topOffset` lines down and `leftOffset` dots in; the two remainders
// are what is left below and to the right of it. Nothing here uses them; the
// overlay page shows them.
struct FormImageInfo {
  uint8_t leadByte = 0;       // payload byte 0, kept as read
  uint8_t version = 0;        // payload byte 1: layout of the parameters, 2 or 3
  uint16_t pageLength = 0;    // word at 2
  uint16_t pageWidth = 0;     // word at 4
  uint16_t imageHeight = 0;   // word at 8, lines
  uint32_t imageWidth = 0;    // word at 12 raised to a multiple of 64 (version 3) or 32 (others)
  uint16_t topOffset = 0;     // word at 6
  uint16_t leftOffset = 0;    // word at 10
  int32_t bottomRemainder = 0;  // pageLength - imageHeight - topOffset
  int32_t rightRemainder = 0;   // pageWidth - (word at 12) - leftOffset
  uint16_t pageWord = 0;      // little-endian word at 28
  uint8_t kind = 9;           // last `K` value before the first page; 9 when none
  uint16_t nValue = 0;        // first word of the drawn page's `n` command
  uint16_t xResolution = 0;   // dpi; version 2: byte 22 x 10, version 3: word at 30
  uint16_t yResolution = 0;   // dpi; version 2: byte 23 x 10, version 3: word at 32
  uint8_t compressionMode = 0;  // the last `b` mode of the whole stream
};

// Bounds on what a read may allocate. A form file carries no overall size,
// and a few bytes of `E`/`e` blank lines or mode-2 fills can describe
// megabytes, so every byte added to an ink plane is charged to one budget:
//
//   plane bytes (all planes) <= min(maxPlaneBytes,
//                                   planeBytesPerInputByte * input size
//                                   + blankAllowance)
//
// 256 bytes per input byte is the most any raster line can expand to (a
// mode-2 fill turns 2 bytes into 512), so the first term never cuts a line
// the file really holds; blankAllowance pays for blank lines, which cost a few
// bytes however many there are. 64 MiB is every plane of a full-width (119 mm)
// 500 mm label at 600 dpi blank, twice over; 128 MiB holds six planes of that
// label even at 1200 dpi. Data past the budget is dropped (FormImage::planesCut)
// and the image is shorter. Plane vectors are reserved at the size the page
// declares (at most a plane's share of the budget) and past it grow by at
// most doubling, so their capacity stays under three times the budget.
//
// The colour image is 24 bytes per byte of the black plane. More than
// maxImageBytes gives kCannotAllocate before anything is allocated; 512 MiB
// holds the largest label at 1200 dpi (400 MB).
struct FormLimits {
  uint64_t planeBytesPerInputByte = 256;
  uint64_t blankAllowance = uint64_t{64} << 20;
  uint64_t maxPlaneBytes = uint64_t{128} << 20;
  uint64_t maxImageBytes = uint64_t{512} << 20;
};

struct FormImage {
  FormStatus status = FormStatus::kNoImage;
  FormImageInfo info;
  // 3 bytes per pixel, blue green red, rows of info.imageWidth pixels top to
  // bottom, 8 pixels per byte of the black plane. Empty unless status is kOk
  // (and may be empty then: a black plane of zero lines). The caller owns it.
  std::vector<uint8_t> pixels;

  // Facts about the stream, for tools.
  bool fileHeader = false;
  uint32_t pageCount = 0;            // `p` commands in the stream
  std::array<char, 8> planeLetters{};  // the drawn page's planes in dealing order
  uint32_t planeCount = 0;
  uint32_t bytesPerLine = 0;         // from the drawn page's `u`
  bool planesCut = false;            // plane data stopped at the FormLimits budget

  // Complete rows that may be drawn: the image height, or fewer when the
  // black plane holds fewer lines.
  uint32_t Rows() const;
};

// Reads a form held in memory. Never reads outside `data`, never throws.
FormImage ReadFormData(std::span<const uint8_t> data, const FormLimits& limits = {}) noexcept;

// Reads the file, then as ReadFormData. Adds the file statuses 10, 20, 70, 80
// in their order: 10 and 20 first, 70 and 80 after the pre-scans (50, 60).
FormImage ReadFormFile(const std::filesystem::path& path, const FormLimits& limits = {}) noexcept;

// True when the data starts with either form of the 76-byte file header.
bool HasFormFileHeader(std::span<const uint8_t> data);

// Appends one decoded raster line to `out`. False (nothing appended) for a
// mode other than 0, 1, 2, 4. A run cut short by the end of the line ends it.
bool DecodeFormLine(uint8_t mode, std::span<const uint8_t> line, std::vector<uint8_t>& out);

// The colour the reader draws for a dot carrying `inks` (kInk* bits), as
// {blue, green, red}.
std::array<uint8_t, 3> FormDotColour(uint8_t inks);

}  // namespace vq
