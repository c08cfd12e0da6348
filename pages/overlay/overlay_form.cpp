#include "pages/overlay/overlay_form.h"

#include "base/byte_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <system_error>

namespace vq {
namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint64_t kFileHeaderSize = 76;
// Files with the header carry this many bytes after every raster-line
// command (`f` and `F`); nothing in them is drawn.
constexpr uint64_t kLinePadding = 10248;
// The file variant holds the whole file in memory. A form is one label; a
// file beyond this is refused as unreadable instead of being held.
constexpr uint64_t kMaxFormFileBytes = uint64_t{1} << 30;

struct Command {
  uint8_t letter = 0;
  // `K`: the 6 bytes after the letter. `m`: the whole item list. Others: the
  // payload after the length field (for `F` after its 2 extra bytes).
  std::span<const uint8_t> payload;
};

// Walks the command stream. It ends at a byte where ESC should stand and does
// not, at a letter it does not know, and at a command whose length, item list
// or line padding reaches past the end of the data: a command cut short is not
// acted on.
class CommandStream {
 public:
  CommandStream(std::span<const uint8_t> data, bool fileHeader)
      : data_(data),
        in_(data),
        pos_(fileHeader ? kFileHeaderSize : 0),
        linePadding_(fileHeader ? kLinePadding : 0) {}

  bool Next(Command& cmd) {
    const uint64_t size = data_.size();
    if (pos_ + 2 > size || in_.U8(pos_) != kEsc) return false;
    const uint8_t letter = in_.U8(pos_ + 1);
    const uint64_t body = pos_ + 2;
    uint64_t start = 0;
    uint64_t length = 0;
    switch (letter) {
      case 'p': case 'u': case 'b': case 'f': case 'E': case 'e': case 's':
      case 'n': case 'j': case 'c': case 'd': case 'y': case 'z':
        start = body + 2;
        length = in_.U16LE(body);
        break;
      case 'F':
        start = body + 6;
        length = in_.U32LE(body);
        break;
      case 'K':
        start = body;
        length = 6;
        break;
      case 'm': {
        start = body + 2;
        uint64_t end = start;
        for (uint32_t items = in_.U16LE(body); items > 0; --items) {
          if (end + 4 > size) return false;
          end += 4 + in_.U16BE(end + 2);
        }
        length = end - start;
        break;
      }
      default:
        return false;
    }
    const uint64_t trailer = (letter == 'f' || letter == 'F') ? linePadding_ : 0;
    const uint64_t end = start + length + trailer;
    if (end > size) return false;
    cmd.letter = letter;
    cmd.payload = data_.subspan(static_cast<size_t>(start), static_cast<size_t>(length));
    pos_ = end;
    return true;
  }

 private:
  std::span<const uint8_t> data_;
  ByteReader in_;
  uint64_t pos_;
  uint64_t linePadding_;
};

// First pre-scan: a plain byte search of the whole file for an `s` command
// whose flag (third payload byte) is 1. It does not follow the command
// structure, so the header and raster data are searched too; a hit steps over
// the 7 bytes of a 4-byte `s` after its ESC.
bool AsksForImage(std::span<const uint8_t> data) {
  const ByteReader in(data);
  const uint8_t* base = data.data();
  size_t i = 0;
  while (data.size() >= 2 && i < data.size() - 1) {
    const void* hit = std::memchr(base + i, kEsc, data.size() - 1 - i);
    if (hit == nullptr) break;
    i = static_cast<size_t>(static_cast<const uint8_t*>(hit) - base);
    if (base[i + 1] == 's') {
      if (in.U8(i + 6) == 1) return true;
      i += 8;
    } else {
      ++i;
    }
  }
  return false;
}

// Second pre-scan: the last `K` value of the stream, 9 when there is none
// (a stream that does not start with ESC has none).
uint8_t LastKind(std::span<const uint8_t> data, bool fileHeader) {
  uint8_t kind = 9;
  CommandStream stream(data, fileHeader);
  Command cmd;
  while (stream.Next(cmd)) {
    if (cmd.letter == 'K') kind = cmd.payload[2];
  }
  return kind;
}

// ---- Colour table ---------------------------------------------------------

using Bgr = std::array<uint8_t, 3>;

// The four-ink mixtures, {blue, green, red}, indexed by
// cyan | magenta << 1 | yellow << 2. These are the colours the overlay page
// has always shown; some (magenta with blue in it, a dark green for all
// three) are not what a colorimeter would say, but users know them.
constexpr std::array<Bgr, 8> kMixColours = {{
    {255, 255, 255},  // no ink
    {255, 200, 0},    // cyan
    {128, 0, 255},    // magenta
    {255, 0, 0},      // cyan + magenta: blue
    {0, 255, 255},    // yellow
    {0, 255, 0},      // cyan + yellow: green
    {0, 0, 255},      // magenta + yellow: red
    {0, 128, 0},      // all three
}};

// Light inks are drawn as a thin film of their ink laid over the dot: each
// passes a share of blue, green and red. Light cyan holds back red most and a
// little green; light magenta holds back green most and some blue; both take
// a little of every channel, as no ink film is clear, so a light ink always
// shows on the mixture it lands on. Cyan with light cyan is a deeper cyan,
// yellow with light cyan a yellow-green, yellow with light magenta an orange,
// cyan with light magenta an azure, magenta with light cyan a violet, red
// with light magenta a deeper red, and both light inks over yellow an olive.
// A dot of light ink alone stays white: at thumbnail size a pale tint reads
// as paper, and the shapes of the form come from its full-strength inks.
constexpr Bgr kLightCyanPass = {240, 230, 153};
constexpr Bgr kLightMagentaPass = {200, 153, 240};

constexpr std::array<Bgr, 64> MakePalette() {
  std::array<Bgr, 64> palette{};
  for (unsigned inks = 0; inks < 64; ++inks) {
    Bgr colour = kMixColours[inks & 7];
    if (inks & kInkBlack) {
      colour = {0, 0, 0};
    } else if ((inks & 7) != 0) {
      for (int ch = 0; ch < 3; ++ch) {
        unsigned v = colour[ch];
        if (inks & kInkLightCyan) v = (v * kLightCyanPass[ch] + 127) / 255;
        if (inks & kInkLightMagenta) v = (v * kLightMagentaPass[ch] + 127) / 255;
        colour[ch] = static_cast<uint8_t>(v);
      }
    }
    palette[inks] = colour;
  }
  return palette;
}

constexpr std::array<Bgr, 64> kPalette = MakePalette();

// The image is made two dots at a time. A pair table holds the 6 bytes of
// two neighbouring dots (left dot's blue, green, red, then the right dot's)
// in the low bytes of a little-endian word, indexed by the left dot's inks
// with the right dot's inks above them: 4 + 4 bits for four-plane forms, a
// 256-entry table; 6 + 6 bits for six, 4096 entries.
template <unsigned kInkBits>
constexpr std::array<uint64_t, size_t{1} << (2 * kInkBits)> MakePairs() {
  std::array<uint64_t, size_t{1} << (2 * kInkBits)> pairs{};
  for (size_t i = 0; i < pairs.size(); ++i) {
    const Bgr left = kPalette[i & ((1u << kInkBits) - 1)];
    const Bgr right = kPalette[i >> kInkBits];
    for (int b = 0; b < 3; ++b) {
      pairs[i] |= uint64_t{left[b]} << (8 * b) | uint64_t{right[b]} << (8 * (b + 3));
    }
  }
  return pairs;
}

// Spreads a plane byte over the pair indexes of its 4 dot pairs: pair j
// (dots 2j and 2j + 1 from the left, the most significant bits first) gets
// a lane of `kLane` bits, with the left dot's bit at lane bit 0 and the
// right dot's at lane bit `kRight`. Shifting a plane's spread word by its
// ink bit and OR-ing the planes gives all four pair indexes at once.
template <unsigned kLane, unsigned kRight>
constexpr std::array<uint64_t, 256> MakeSpread() {
  std::array<uint64_t, 256> spread{};
  for (unsigned b = 0; b < 256; ++b) {
    for (unsigned j = 0; j < 4; ++j) {
      if (b & (0x80u >> (2 * j))) spread[b] |= uint64_t{1} << (kLane * j);
      if (b & (0x40u >> (2 * j))) spread[b] |= uint64_t{1} << (kLane * j + kRight);
    }
  }
  return spread;
}

constexpr auto kPairs4 = MakePairs<4>();
constexpr auto kPairs6 = MakePairs<6>();
constexpr auto kSpread4 = MakeSpread<8, 4>();
constexpr auto kSpread6 = MakeSpread<16, 6>();

// Inks in ink-bit order: cyan, magenta, yellow, black, light cyan, light magenta.
constexpr std::array<char, 6> kInkLetters = {'C', 'M', 'Y', 'K', 'c', 'm'};

// The 24 bytes of 8 dots, as three little-endian words, from their 4 pairs.
struct Dots8 {
  uint64_t w0, w1, w2;
};

inline Dots8 FromPairs(uint64_t p0, uint64_t p1, uint64_t p2, uint64_t p3) {
  return {p0 | p1 << 48, p1 >> 16 | p2 << 32, p2 >> 32 | p3 << 16};
}

inline void Store(const Dots8& d, uint8_t* out) {
  std::memcpy(out, &d.w0, 8);
  std::memcpy(out + 8, &d.w1, 8);
  std::memcpy(out + 16, &d.w2, 8);
}

// Turns `count` bytes of each plane into 24 * count bytes of pixels.
// `planes` are in ink-bit order; the light ones are read only when
// `lightInks`. Forms are mostly runs of repeated bytes (blank paper, solid
// fills, rules, the plateaus of a dithered tint), so a byte column equal to
// the previous one reuses its pixels instead of looking them up again.
void ConvertBytes(const std::array<const uint8_t*, 6>& planes, bool lightInks, size_t count,
                  uint8_t* out) {
  const uint8_t* pc = planes[0];
  const uint8_t* pm = planes[1];
  const uint8_t* py = planes[2];
  const uint8_t* pk = planes[3];
  const uint8_t* plc = planes[4];
  const uint8_t* plm = planes[5];
  if constexpr (std::endian::native != std::endian::little) {
    // The pair words are laid out for little-endian stores; elsewhere, dot by dot.
    for (size_t j = 0; j < count; ++j) {
      for (unsigned dot = 0; dot < 8; ++dot) {
        const unsigned bit = 7 - dot;
        unsigned inks = (pc[j] >> bit & 1) | (pm[j] >> bit & 1) << 1 | (py[j] >> bit & 1) << 2 |
                        (pk[j] >> bit & 1) << 3;
        if (lightInks) inks |= (plc[j] >> bit & 1) << 4 | (plm[j] >> bit & 1) << 5;
        std::memcpy(out + 24 * j + 3 * dot, kPalette[inks].data(), 3);
      }
    }
    return;
  }
  // Starts as the column of no ink at all, which is white.
  uint64_t last = 0;
  Dots8 dots = {~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}};
  if (!lightInks) {
    for (size_t j = 0; j < count; ++j, out += 24) {
      const uint64_t column = pc[j] | pm[j] << 8 | py[j] << 16 | uint64_t{pk[j]} << 24;
      if (column != last) {
        last = column;
        const uint64_t index = kSpread4[pc[j]] | kSpread4[pm[j]] << 1 | kSpread4[py[j]] << 2 |
                               kSpread4[pk[j]] << 3;
        dots = FromPairs(kPairs4[index & 0xFF], kPairs4[index >> 8 & 0xFF],
                         kPairs4[index >> 16 & 0xFF], kPairs4[index >> 24 & 0xFF]);
      }
      Store(dots, out);
    }
    return;
  }
  for (size_t j = 0; j < count; ++j, out += 24) {
    const uint64_t column = pc[j] | pm[j] << 8 | py[j] << 16 | uint64_t{pk[j]} << 24 |
                            uint64_t{plc[j]} << 32 | uint64_t{plm[j]} << 40;
    if (column != last) {
      last = column;
      const uint64_t index = kSpread6[pc[j]] | kSpread6[pm[j]] << 1 | kSpread6[py[j]] << 2 |
                             kSpread6[pk[j]] << 3 | kSpread6[plc[j]] << 4 | kSpread6[plm[j]] << 5;
      dots = FromPairs(kPairs6[index & 0xFFF], kPairs6[index >> 16 & 0xFFF],
                       kPairs6[index >> 32 & 0xFFF], kPairs6[index >> 48 & 0xFFF]);
    }
    Store(dots, out);
  }
}

// ---- Raster lines ---------------------------------------------------------

// Appends decoded bytes to a plane while the budget lasts. Runs are added
// whole (one insert each), never byte by byte.
class PlaneSink {
 public:
  PlaneSink(std::vector<uint8_t>& plane, uint64_t& budget) : plane_(plane), budget_(budget) {}

  // Each returns false when the budget ran out before all `n` bytes fitted.
  bool Copy(const uint8_t* src, size_t n) {
    const size_t granted = Take(n);
    plane_.insert(plane_.end(), src, src + granted);
    return granted == n;
  }
  bool Fill(uint8_t value, size_t n) {
    const size_t granted = Take(n);
    plane_.insert(plane_.end(), granted, value);
    return granted == n;
  }

 private:
  size_t Take(size_t n) {
    const size_t granted = n < budget_ ? n : static_cast<size_t>(budget_);
    budget_ -= granted;
    return granted;
  }

  std::vector<uint8_t>& plane_;
  uint64_t& budget_;
};

bool KnownMode(uint8_t mode) { return mode == 0 || mode == 1 || mode == 2 || mode == 4; }

// Run codes are signed bytes; -128 does nothing. Mode 1 counts bytes, modes 2
// and 4 count 4-byte groups: a literal of n + 1 groups whose trailing 0x80
// bytes are written as 0, and a run of 1 - n groups (mode 2: one byte
// repeated, mode 4: one 4-byte group repeated). A run or literal cut short by
// the end of the line ends the line with what is there.
// Returns false when the sink's budget ran out.
bool DecodeLine(uint8_t mode, std::span<const uint8_t> line, PlaneSink& sink) {
  const uint8_t* p = line.data();
  const size_t n = line.size();
  if (mode == 0) return sink.Copy(p, n);
  const size_t unit = mode == 1 ? 1 : 4;
  size_t i = 0;
  while (i < n) {
    const int code = static_cast<int8_t>(p[i++]);
    if (code == -128) continue;
    if (code >= 0) {
      const size_t len = std::min(unit * (static_cast<size_t>(code) + 1), n - i);
      const uint8_t* literal = p + i;
      i += len;
      size_t keep = len;
      if (mode != 1) {
        while (keep > 0 && literal[keep - 1] == 0x80) --keep;
      }
      if (!sink.Copy(literal, keep) || !sink.Fill(0, len - keep)) return false;
      continue;
    }
    const size_t repeats = static_cast<size_t>(1 - code);  // 2..128
    if (mode == 4) {
      if (n - i < 4) break;
      uint8_t groups[4 * 128];
      for (size_t r = 0; r < repeats; ++r) std::memcpy(groups + 4 * r, p + i, 4);
      i += 4;
      if (!sink.Copy(groups, 4 * repeats)) return false;
    } else {
      if (i >= n) break;
      if (!sink.Fill(p[i++], unit * repeats)) return false;
    }
  }
  return true;
}

// ---- The stream -----------------------------------------------------------

uint64_t SaturatingMul(uint64_t a, uint64_t b) {
  if (a != 0 && b > std::numeric_limits<uint64_t>::max() / a) {
    return std::numeric_limits<uint64_t>::max();
  }
  return a * b;
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
  return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max()
                                                      : a + b;
}

// Interprets the command stream into ink planes and builds the image.
//
// Pages: every `p` counts one; only the first is decoded, and the data
// commands (`n`, `s`, `u`, `E`, `e`, `f`, `F`) count only while the first page
// is open. `K`, `b`, `m` and the skipped letters count everywhere.
//
// Planes: the non-zero letters of `u` in order. Raster lines (and `E`
// plane-lines) are dealt to them in turn; each plane is the concatenation of
// what was dealt to it. A later `u` relabels the positions and keeps their data.
class FormDecoder {
 public:
  FormDecoder(std::span<const uint8_t> data, bool fileHeader, const FormLimits& limits)
      : data_(data), fileHeader_(fileHeader), limits_(limits) {
    budget_ = std::min(limits.maxPlaneBytes,
                       SaturatingAdd(SaturatingMul(limits.planeBytesPerInputByte, data.size()),
                                     limits.blankAllowance));
  }

  FormStatus Run(FormImage& out) {
    CommandStream stream(data_, fileHeader_);
    Command cmd;
    while (stream.Next(cmd)) {
      const ByteReader in(cmd.payload);
      switch (cmd.letter) {
        case 'p':
          if (++out.pageCount == 1) ReadPage(in, out.info);
          continue;
        case 'K':
          kind_ = cmd.payload[2];
          continue;
        case 'b':
          mode_ = in.U8(0);
          out.info.compressionMode = mode_;
          continue;
        default:
          break;
      }
      if (out.pageCount != 1) continue;
      switch (cmd.letter) {
        case 'n':
          out.info.nValue = in.U16BE(0);
          break;
        case 's':
          // Planes only grow while the page is open, so remembering their
          // sizes now draws exactly what building the image now would, and
          // a stream of many `s` commands costs nothing extra.
          if (in.U8(2) == 1) {
            Snapshot shot{letters_, planeCount_, {}};
            for (uint32_t i = 0; i < planeCount_; ++i) shot.sizes[i] = planes_[i].size();
            request_ = shot;
          }
          break;
        case 'u':
          ReadPlaneLayout(in, out.info);
          break;
        case 'E':
          BlankPlaneLines(in.U16BE(0));
          break;
        case 'e':
          BlankLines(in.U16BE(0));
          break;
        case 'f':
        case 'F':
          if (!KnownMode(mode_)) return FormStatus::kBadCompression;
          RasterLine(cmd.payload);
          break;
        default:
          break;
      }
    }
    out.planeLetters = letters_;
    out.planeCount = planeCount_;
    out.bytesPerLine = static_cast<uint32_t>(bytesPerLine_);
    out.planesCut = cut_;
    // The first pre-scan's byte search can be satisfied by raster bytes or by
    // a later page: the form is readable, but only a request on the drawn
    // page builds an image, so there is none to draw.
    if (!request_) return FormStatus::kOk;
    return BuildImage(*request_, out.pixels);
  }

 private:
  struct Snapshot {
    std::array<char, 8> letters;
    uint32_t count;
    std::array<size_t, 8> sizes;
  };

  void ReadPage(const ByteReader& in, FormImageInfo& info) {
    info.leadByte = in.U8(0);
    info.version = in.U8(1);
    info.pageLength = in.U16BE(2);
    info.pageWidth = in.U16BE(4);
    info.topOffset = in.U16BE(6);
    info.imageHeight = in.U16BE(8);
    info.leftOffset = in.U16BE(10);
    const uint32_t width = in.U16BE(12);
    const uint32_t align = info.version == 3 ? 64 : 32;
    info.imageWidth = (width + align - 1) / align * align;
    info.bottomRemainder = int32_t{info.pageLength} - info.imageHeight - info.topOffset;
    info.rightRemainder = int32_t{info.pageWidth} - int32_t(width) - info.leftOffset;
    if (info.version == 2) {
      info.xResolution = uint16_t(in.U8(22) * 10);
      info.yResolution = uint16_t(in.U8(23) * 10);
      info.pageWord = in.U16LE(28);
    } else if (info.version == 3) {
      info.pageWord = in.U16LE(28);
      info.xResolution = in.U16BE(30);
      info.yResolution = in.U16BE(32);
    }
    info.kind = kind_;
  }

  void ReadPlaneLayout(const ByteReader& in, const FormImageInfo& info) {
    letters_ = {};
    planeCount_ = 0;
    for (int slot = 0; slot < 8; ++slot) {
      if (const uint8_t letter = in.U8(slot)) letters_[planeCount_++] = static_cast<char>(letter);
    }
    bytesPerLine_ = in.U32BE(8);
    bitsPerPixel_ = info.imageWidth ? bytesPerLine_ * 8 / info.imageWidth : 0;
    current_ = planeCount_ ? current_ % planeCount_ : 0;
    // Room for the lines the page declares, so a large form's planes are not
    // copied and faulted in again at every doubling; never more than a
    // plane's share of the budget.
    if (planeCount_ != 0) {
      const uint64_t declared = SaturatingMul(info.imageHeight, bytesPerLine_);
      const uint64_t room = std::min(declared, budget_ / planeCount_);
      for (uint32_t i = 0; i < planeCount_; ++i) planes_[i].reserve(static_cast<size_t>(room));
    }
  }

  void RasterLine(std::span<const uint8_t> line) {
    if (planeCount_ == 0) return;  // no layout yet: nowhere to put it
    std::vector<uint8_t>& plane = planes_[current_];
    current_ = (current_ + 1) % planeCount_;
    PlaneSink sink(plane, budget_);
    if (!DecodeLine(mode_, line, sink)) cut_ = true;
  }

  // `E`: `count` lines of zeros, each to the next plane in dealing order.
  // Worked out per plane rather than per line, so 65535 lines cost as much as
  // one.
  void BlankPlaneLines(uint32_t count) {
    if (planeCount_ == 0) return;
    uint64_t lines = count;
    if (bytesPerLine_ != 0 && lines * bytesPerLine_ > budget_) {
      lines = budget_ / bytesPerLine_;
      cut_ = true;
    }
    const uint64_t each = lines / planeCount_;
    const uint64_t extra = lines % planeCount_;
    for (uint32_t k = 0; k < planeCount_; ++k) {
      std::vector<uint8_t>& plane = planes_[(current_ + k) % planeCount_];
      plane.resize(plane.size() + (each + (k < extra ? 1 : 0)) * bytesPerLine_);
    }
    budget_ -= lines * bytesPerLine_;
    current_ = (current_ + count) % planeCount_;
  }

  // `e`: count x (bytes per line / bits per pixel) zeros in every plane;
  // the dealing position stays.
  void BlankLines(uint32_t count) {
    if (planeCount_ == 0 || bitsPerPixel_ == 0) return;
    const uint64_t perPlane = count * (bytesPerLine_ / bitsPerPixel_);
    for (uint32_t k = 0; k < planeCount_; ++k) {
      const uint64_t granted = std::min(perPlane, budget_);
      if (granted < perPlane) cut_ = true;
      budget_ -= granted;
      planes_[k].resize(planes_[k].size() + granted);
    }
  }

  FormStatus BuildImage(const Snapshot& shot, std::vector<uint8_t>& pixels) const {
    // Planes by ink, in ink-bit order; the first plane with a letter wins.
    // Light planes are drawn only in layouts of more than four planes.
    std::array<std::optional<uint32_t>, 6> source;
    for (uint32_t pos = 0; pos < shot.count; ++pos) {
      for (size_t ink = 0; ink < kInkLetters.size(); ++ink) {
        if (shot.letters[pos] == kInkLetters[ink] && !source[ink]) source[ink] = pos;
      }
    }
    if (shot.count <= 4) source[4] = source[5] = std::nullopt;
    if (!source[3]) return FormStatus::kOk;  // no black plane: zero lines, empty image
    const size_t blackBytes = shot.sizes[*source[3]];
    if (SaturatingMul(blackBytes, 24) > limits_.maxImageBytes) return FormStatus::kCannotAllocate;
    const bool lightInks = source[4] || source[5];
    pixels.resize(blackBytes * 24);

    // Planes shorter than the black one read as zeros past their end: the
    // step that crosses a plane's end gets a zero-padded copy of its tail.
    constexpr size_t kStep = 4096;
    std::vector<uint8_t> zeros(kStep, 0);
    std::vector<uint8_t> tails(kStep * 6, 0);
    for (size_t start = 0; start < blackBytes; start += kStep) {
      const size_t count = std::min(kStep, blackBytes - start);
      std::array<const uint8_t*, 6> src;
      for (size_t ink = 0; ink < 6; ++ink) {
        src[ink] = zeros.data();
        if (!source[ink]) continue;
        const size_t have = std::min(shot.sizes[*source[ink]], blackBytes);
        const uint8_t* plane = planes_[*source[ink]].data();
        if (have >= start + count) {
          src[ink] = plane + start;
        } else if (have > start) {
          uint8_t* tail = tails.data() + ink * kStep;
          std::memcpy(tail, plane + start, have - start);
          std::memset(tail + (have - start), 0, count - (have - start));
          src[ink] = tail;
        }
      }
      ConvertBytes(src, lightInks, count, pixels.data() + start * 24);
    }
    return FormStatus::kOk;
  }

  std::span<const uint8_t> data_;
  bool fileHeader_;
  FormLimits limits_;
  uint64_t budget_ = 0;  // plane bytes still allowed (FormLimits)
  bool cut_ = false;

  std::array<std::vector<uint8_t>, 8> planes_;
  std::array<char, 8> letters_{};
  uint32_t planeCount_ = 0;
  uint32_t current_ = 0;  // plane that receives the next line
  uint64_t bytesPerLine_ = 0;
  uint64_t bitsPerPixel_ = 0;
  uint8_t mode_ = 0;
  uint8_t kind_ = 9;
  std::optional<Snapshot> request_;
};

}  // namespace

uint32_t FormImage::Rows() const {
  const uint64_t rowBytes = uint64_t{info.imageWidth} * 3;
  if (rowBytes == 0) return 0;
  return static_cast<uint32_t>(std::min<uint64_t>(info.imageHeight, pixels.size() / rowBytes));
}

bool HasFormFileHeader(std::span<const uint8_t> data) {
  const ByteReader in(data);
  if (in.U8(0) != 0x92) return false;
  const bool first = in.U8(1) == 0x8C && in.U8(2) == 0x99 && in.U8(3) == 0x78 &&
                     in.U8(4) == 0x01 && in.U8(5) == 0x00 && data.size() >= 6;
  const bool second = in.U8(2) == 0x8C && in.U8(4) == 0x99 && in.U8(6) == 0x8C;
  return first || second;
}

bool DecodeFormLine(uint8_t mode, std::span<const uint8_t> line, std::vector<uint8_t>& out) {
  if (!KnownMode(mode)) return false;
  uint64_t unlimited = std::numeric_limits<uint64_t>::max();
  PlaneSink sink(out, unlimited);
  DecodeLine(mode, line, sink);
  return true;
}

std::array<uint8_t, 3> FormDotColour(uint8_t inks) {
  return kPalette[inks & kInkAll];
}

namespace {

// The two pre-scans, in order: no image request anywhere gives 50, a last
// `K` value outside 0..4 gives 60. kOk when both pass.
FormStatus PreScan(std::span<const uint8_t> data, bool fileHeader) {
  if (!AsksForImage(data)) return FormStatus::kNoImage;
  if (LastKind(data, fileHeader) > 4) return FormStatus::kBadKind;
  return FormStatus::kOk;
}

FormImage Interpret(std::span<const uint8_t> data, bool fileHeader, const FormLimits& limits) {
  FormImage out;
  out.fileHeader = fileHeader;
  try {
    FormDecoder decoder(data, out.fileHeader, limits);
    out.status = decoder.Run(out);
  } catch (const std::exception&) {  // std::bad_alloc, std::length_error
    out.status = FormStatus::kCannotAllocate;
  }
  if (out.status != FormStatus::kOk) std::vector<uint8_t>().swap(out.pixels);
  return out;
}

}  // namespace

FormImage ReadFormData(std::span<const uint8_t> data, const FormLimits& limits) noexcept {
  const bool fileHeader = HasFormFileHeader(data);
  if (const FormStatus scan = PreScan(data, fileHeader); scan != FormStatus::kOk) {
    FormImage out;
    out.fileHeader = fileHeader;
    out.status = scan;
    return out;
  }
  return Interpret(data, fileHeader, limits);
}

FormImage ReadFormFile(const std::filesystem::path& path, const FormLimits& limits) noexcept {
  FormImage out;
  try {
    if (path.empty()) {
      out.status = FormStatus::kEmptyName;
      return out;
    }
    // A folder, or anything else that is not a file, is no form file.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::status(path, ec))) {
      out.status = FormStatus::kNotFound;
      return out;
    }
    // One read serves the pre-scans and the interpretation. The pre-scans
    // look at the file's bytes before the read proper is judged: they see
    // none of a file that cannot be opened (50) and only what could be read
    // of one that breaks off, and the open and read failures (70, 80) come
    // after them.
    FormStatus readStatus = FormStatus::kOk;
    std::vector<uint8_t> data;
    std::ifstream file(path, std::ios::binary);
    const uint64_t size = std::filesystem::file_size(path, ec);
    if (!file.is_open()) {
      readStatus = FormStatus::kCannotOpen;
    } else if (ec || size > kMaxFormFileBytes) {
      readStatus = FormStatus::kCannotRead;  // too large to hold: read as nothing
    } else {
      data.resize(static_cast<size_t>(size));
      file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(size));
      const auto got = static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0));
      if (got != size) {
        readStatus = FormStatus::kCannotRead;
        data.resize(got);
      }
    }
    const bool fileHeader = HasFormFileHeader(data);
    out.fileHeader = fileHeader;
    out.status = PreScan(data, fileHeader);
    if (out.status != FormStatus::kOk) return out;
    if (readStatus != FormStatus::kOk) {
      out.status = readStatus;
      return out;
    }
    return Interpret(data, fileHeader, limits);
  } catch (const std::exception&) {
    out.status = FormStatus::kCannotRead;
    return out;
  }
}

}  // namespace vq
