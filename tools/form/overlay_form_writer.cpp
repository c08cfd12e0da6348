#include "tools/form/overlay_form_writer.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "pages/overlay/overlay_form.h"

namespace vq {
namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr size_t kFileHeaderSize = 76;
constexpr size_t kLinePadding = 10248;
constexpr uint32_t kMaxCount = 0xFFFF;  // `E`/`e` counts are 16-bit

// Plane order of the files this writer makes, and the ink of each plane.
constexpr std::array<char, 6> kPlaneLetters = {'C', 'M', 'Y', 'K', 'c', 'm'};
constexpr std::array<uint8_t, 6> kPlaneInks = {kInkCyan,  kInkMagenta,   kInkYellow,
                                               kInkBlack, kInkLightCyan, kInkLightMagenta};

void PutU16LE(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void PutU16BE(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}
void PutU32LE(std::vector<uint8_t>& out, uint32_t v) {
  PutU16LE(out, v & 0xFFFF);
  PutU16LE(out, v >> 16);
}
void PutU32BE(std::vector<uint8_t>& out, uint32_t v) {
  PutU16BE(out, v >> 16);
  PutU16BE(out, v & 0xFFFF);
}
void SetU16BE(std::vector<uint8_t>& out, size_t off, uint32_t v) {
  out[off] = uint8_t(v >> 8);
  out[off + 1] = uint8_t(v);
}

// ---- Line encoders -------------------------------------------------------

// Mode 1: literals of 1..128 bytes, runs of 2..128 equal bytes. Two equal
// bytes inside a literal stay there; a run starts at three.
void EncodeMode1(std::span<const uint8_t> line, std::vector<uint8_t>& out) {
  const size_t n = line.size();
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 128 && line[i + run] == line[i]) ++run;
    if (run >= 2) {
      out.push_back(uint8_t(1 - int(run)));
      out.push_back(line[i]);
      i += run;
      continue;
    }
    size_t j = i + 1;
    while (j < n && j - i < 128 &&
           !(j + 2 < n && line[j] == line[j + 1] && line[j] == line[j + 2])) {
      ++j;
    }
    out.push_back(uint8_t(j - i - 1));
    out.insert(out.end(), line.begin() + i, line.begin() + j);
    i = j;
  }
}

// Modes 2 and 4 work in 4-byte groups. Mode 2 runs repeat one byte over
// whole groups, mode 4 runs repeat one group; both take 2..128 groups. A last
// group shorter than 4 bytes can only end a literal: the reader stops a
// literal at the end of the line.
void EncodeGroups(uint8_t mode, std::span<const uint8_t> line, std::vector<uint8_t>& out) {
  const size_t n = line.size();
  const size_t groups = (n + 3) / 4;
  auto full = [&](size_t g) { return 4 * g + 4 <= n; };
  auto uniform = [&](size_t g) {
    const uint8_t* p = line.data() + 4 * g;
    return p[0] == p[1] && p[0] == p[2] && p[0] == p[3];
  };
  // True when group h can join a run that repeats group g.
  auto repeats = [&](size_t g, size_t h) {
    if (!full(g) || !full(h)) return false;
    if (mode == 4) return std::equal(line.begin() + 4 * g, line.begin() + 4 * g + 4, line.begin() + 4 * h);
    return uniform(g) && uniform(h) && line[4 * g] == line[4 * h];
  };

  struct Token {
    bool run;
    size_t first;
    size_t count;
  };
  std::vector<Token> tokens;
  for (size_t g = 0; g < groups;) {
    if (g + 1 < groups && repeats(g, g + 1)) {
      size_t count = 2;
      while (g + count < groups && count < 128 && repeats(g, g + count)) ++count;
      tokens.push_back({true, g, count});
      g += count;
    } else {
      const size_t first = g++;
      while (g < groups && g - first < 128 && !(g + 1 < groups && repeats(g, g + 1))) ++g;
      tokens.push_back({false, first, g - first});
    }
  }

  // A literal may not end on 0x80. Take groups from the run after it until
  // it does not; a run left with one group becomes a literal of its own.
  auto lastByte = [&](const Token& t) { return line[std::min(4 * (t.first + t.count), n) - 1]; };
  for (size_t t = 0; t + 1 < tokens.size(); ++t) {
    Token& lit = tokens[t];
    Token& next = tokens[t + 1];
    if (lit.run || !next.run) continue;
    while (lastByte(lit) == 0x80 && lit.count < 128 && next.count > 0) {
      ++lit.count;
      ++next.first;
      --next.count;
    }
    if (next.count < 2) next.run = false;
    if (next.count == 0) tokens.erase(tokens.begin() + t + 1);
  }

  for (const Token& t : tokens) {
    const size_t begin = 4 * t.first;
    if (t.run) {
      out.push_back(uint8_t(1 - int(t.count)));
      out.insert(out.end(), line.begin() + begin, line.begin() + begin + (mode == 4 ? 4 : 1));
    } else {
      out.push_back(uint8_t(t.count - 1));
      out.insert(out.end(), line.begin() + begin, line.begin() + std::min(begin + 4 * t.count, n));
    }
  }
}

// ---- File assembly --------------------------------------------------------

class FormAssembler {
 public:
  explicit FormAssembler(const FormWriteOptions& options) : options_(options) {
    if (options.fileHeader) {
      // The signature the reader tests; the rest of the header is not read.
      out_.assign(kFileHeaderSize, 0);
      out_[0] = 0x92;
      out_[1] = 0x8C;
      out_[2] = 0x99;
      out_[3] = 0x78;
      out_[4] = 0x01;
      out_[5] = 0x00;
    }
  }

  void Page(const FormPicture& picture, uint16_t pageNumber) {
    const uint8_t align = options_.version == 3 ? 64 : 32;
    const uint32_t paddedWidth = (picture.width + align - 1) / align * align;
    const uint32_t bytesPerLine = paddedWidth / 8;
    const size_t planeCount = options_.lightInks ? 6 : 4;

    if (options_.skippedCommands) SkippedCommands();
    Kind();
    PageParameters(picture);
    std::vector<uint8_t> layout(kPlaneLetters.begin(), kPlaneLetters.begin() + planeCount);
    layout.resize(8, 0);
    PutU32BE(layout, bytesPerLine);
    Emit('u', layout);
    mode_ = 0xFF;
    SetMode(options_.compression);
    Emit('n', std::vector<uint8_t>{uint8_t(options_.nValue >> 8), uint8_t(options_.nValue)});

    std::array<std::vector<uint8_t>, 6> planes;
    for (uint32_t y = 0; y < picture.height; ++y) {
      bool lineBlank = true;
      for (size_t p = 0; p < planeCount; ++p) {
        planes[p].assign(bytesPerLine, 0);
        const uint8_t* row = picture.dots.data() + size_t{y} * picture.width;
        for (uint32_t x = 0; x < picture.width; ++x) {
          if (row[x] & kPlaneInks[p]) planes[p][x >> 3] |= uint8_t(0x80 >> (x & 7));
        }
        lineBlank = lineBlank && std::all_of(planes[p].begin(), planes[p].end(),
                                             [](uint8_t b) { return b == 0; });
      }
      if (options_.blankCommands && lineBlank) {
        FlushBlankPlaneLines();  // they finish the previous line
        if (++blankLines_ == kMaxCount) FlushBlankLines();
        continue;
      }
      FlushBlankLines();
      for (size_t p = 0; p < planeCount; ++p) {
        const bool blank = std::all_of(planes[p].begin(), planes[p].end(),
                                       [](uint8_t b) { return b == 0; });
        if (options_.blankCommands && blank) {
          if (++blankPlaneLines_ == kMaxCount) FlushBlankPlaneLines();
          continue;
        }
        FlushBlankPlaneLines();
        RasterLine(planes[p]);
      }
    }
    FlushBlankPlaneLines();
    FlushBlankLines();
    SetMode(options_.compression);
    // Image end: page number, flag 1 (draw it), one spare byte.
    Emit('s', std::vector<uint8_t>{uint8_t(pageNumber >> 8), uint8_t(pageNumber), 1, 0});
  }

  std::vector<uint8_t> Take() { return std::move(out_); }

 private:
  void Emit(char letter, std::span<const uint8_t> payload) {
    out_.push_back(kEsc);
    out_.push_back(uint8_t(letter));
    PutU16LE(out_, uint32_t(payload.size()));
    out_.insert(out_.end(), payload.begin(), payload.end());
  }

  void Kind() {
    // ESC K, then 6 bytes: a length word of 4, the kind and three spare bytes.
    const uint8_t bytes[] = {kEsc, 'K', 4, 0, options_.kind, 0, 0, 0};
    out_.insert(out_.end(), std::begin(bytes), std::end(bytes));
  }

  void SkippedCommands() {
    const uint8_t name[] = {'f', 'o', 'r', 'm'};
    Emit('j', name);
    // `m`: item count, then id, size and bytes of each item (big-endian).
    const uint8_t items[] = {kEsc, 'm', 2, 0, 0x00, 0x01, 0x00, 0x02, 0xAB, 0xCD,
                             0x00, 0x02, 0x00, 0x00};
    out_.insert(out_.end(), std::begin(items), std::end(items));
    Emit('c', std::vector<uint8_t>{1, 2, 3});
    Emit('d', std::vector<uint8_t>{});
    Emit('y', std::vector<uint8_t>{0x1B, 's', 0, 0});  // looks like a command, is not one
    Emit('z', std::vector<uint8_t>{9});
  }

  void PageParameters(const FormPicture& picture) {
    std::vector<uint8_t> p(options_.version == 2 ? 30 : 34, 0);
    p[0] = options_.leadByte;
    p[1] = options_.version;
    SetU16BE(p, 2, options_.topOffset + picture.height + options_.bottomMargin);
    SetU16BE(p, 4, options_.leftOffset + picture.width + options_.rightMargin);
    SetU16BE(p, 6, options_.topOffset);
    SetU16BE(p, 8, picture.height);
    SetU16BE(p, 10, options_.leftOffset);
    SetU16BE(p, 12, picture.width);
    if (options_.version == 2) {
      p[22] = uint8_t(options_.xResolution / 10);
      p[23] = uint8_t(options_.yResolution / 10);
    } else {
      SetU16BE(p, 30, options_.xResolution);
      SetU16BE(p, 32, options_.yResolution);
    }
    p[28] = uint8_t(options_.pageWord);
    p[29] = uint8_t(options_.pageWord >> 8);
    Emit('p', p);
  }

  void SetMode(uint8_t mode) {
    if (mode == mode_) return;
    Emit('b', std::vector<uint8_t>{mode});
    mode_ = mode;
  }

  void RasterLine(std::span<const uint8_t> line) {
    uint8_t mode = options_.compression;
    std::vector<uint8_t> encoded = EncodeFormLine(mode, line);
    std::vector<uint8_t> check;
    DecodeFormLine(mode, encoded, check);
    if (!std::equal(check.begin(), check.end(), line.begin(), line.end())) {
      mode = 1;
      encoded = EncodeFormLine(mode, line);
    }
    SetMode(mode);
    if (options_.longLines || encoded.size() > 0xFFFF) {
      out_.push_back(kEsc);
      out_.push_back('F');
      PutU32LE(out_, uint32_t(encoded.size()));
      PutU16LE(out_, 0);
    } else {
      out_.push_back(kEsc);
      out_.push_back('f');
      PutU16LE(out_, uint32_t(encoded.size()));
    }
    out_.insert(out_.end(), encoded.begin(), encoded.end());
    if (options_.fileHeader) out_.resize(out_.size() + kLinePadding, 0);
  }

  void FlushBlankPlaneLines() {
    if (blankPlaneLines_ == 0) return;
    Emit('E', std::vector<uint8_t>{uint8_t(blankPlaneLines_ >> 8), uint8_t(blankPlaneLines_)});
    blankPlaneLines_ = 0;
  }

  void FlushBlankLines() {
    if (blankLines_ == 0) return;
    Emit('e', std::vector<uint8_t>{uint8_t(blankLines_ >> 8), uint8_t(blankLines_)});
    blankLines_ = 0;
  }

  const FormWriteOptions& options_;
  std::vector<uint8_t> out_;
  uint8_t mode_ = 0xFF;
  uint32_t blankPlaneLines_ = 0;
  uint32_t blankLines_ = 0;
};

bool Fits16(uint32_t a, uint32_t b, uint32_t c) { return uint64_t{a} + b + c <= 0xFFFF; }

// ---- Patterns --------------------------------------------------------------

// Every ink mixture the reader draws differently, light inks included.
constexpr uint8_t kMixtures[] = {
    0,
    kInkCyan,
    kInkMagenta,
    kInkYellow,
    kInkCyan | kInkMagenta,
    kInkCyan | kInkYellow,
    kInkMagenta | kInkYellow,
    kInkCyan | kInkMagenta | kInkYellow,
    kInkBlack,
    kInkCyan | kInkLightCyan,
    kInkMagenta | kInkLightMagenta,
    kInkYellow | kInkLightCyan,
    kInkYellow | kInkLightMagenta,
    kInkCyan | kInkLightMagenta,
    kInkMagenta | kInkLightCyan,
    kInkYellow | kInkLightCyan | kInkLightMagenta,
    kInkLightCyan,
    kInkLightMagenta,
};
constexpr uint32_t kMixtureCount = sizeof(kMixtures);

// Deterministic noise for text and barcodes.
struct Noise {
  uint32_t state = 0x12345678;
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
};

void FillRect(FormPicture& pic, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, uint8_t inks) {
  x1 = std::min(x1, pic.width);
  y1 = std::min(y1, pic.height);
  for (uint32_t y = y0; y < y1; ++y) {
    for (uint32_t x = x0; x < x1; ++x) pic.at(x, y) = inks;
  }
}

void DrawLabel(FormPicture& pic) {
  const uint32_t w = pic.width, h = pic.height;
  Noise noise;
  // Text rows: glyph cells of 5 x 7 blocks with random blocks set.
  const uint32_t textTop = h / 20, textBottom = h / 4;
  const uint32_t cell = std::max<uint32_t>(1, h / 200);
  for (uint32_t row = textTop; row + 9 * cell <= textBottom; row += 10 * cell) {
    for (uint32_t col = w / 20; col + 6 * cell <= w - w / 20; col += 6 * cell) {
      if (noise.Next() % 7 == 0) continue;  // spaces between words
      for (uint32_t gy = 0; gy < 7; ++gy) {
        for (uint32_t gx = 0; gx < 5; ++gx) {
          if (noise.Next() % 3 == 0) {
            FillRect(pic, col + gx * cell, row + gy * cell, col + (gx + 1) * cell,
                     row + (gy + 1) * cell, kInkBlack);
          }
        }
      }
    }
  }
  // Barcode.
  const uint32_t barTop = h * 27 / 100, barBottom = h * 38 / 100;
  for (uint32_t x = w / 10; x < w - w / 10;) {
    const uint32_t bar = (1 + noise.Next() % 4) * std::max<uint32_t>(1, w / 400);
    if (noise.Next() & 1) FillRect(pic, x, barTop, x + bar, barBottom, kInkBlack);
    x += bar;
  }
  // Colour bars of the mixtures.
  const uint32_t colourTop = h * 40 / 100, colourBottom = h * 48 / 100;
  for (uint32_t i = 0; i < kMixtureCount; ++i) {
    FillRect(pic, w * i / kMixtureCount, colourTop, w * (i + 1) / kMixtureCount, colourBottom,
             kMixtures[i]);
  }
  // Photograph: ordered dither of three crossing gradients.
  static constexpr uint8_t kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const uint32_t photoTop = h / 2, photoBottom = h * 95 / 100;
  const uint32_t ph = std::max<uint32_t>(1, photoBottom - photoTop);
  for (uint32_t y = photoTop; y < photoBottom; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t threshold = kBayer[y & 3][x & 3] * 16 + 8;
      const uint32_t c = 255 * x / std::max<uint32_t>(1, w);
      const uint32_t m = 255 * (y - photoTop) / ph;
      const uint32_t ye = 255 - (c + m) / 2;
      uint8_t inks = 0;
      if (c > threshold) inks |= kInkCyan;
      if (m > threshold) inks |= kInkMagenta;
      if (ye > threshold) inks |= kInkYellow;
      if (c / 2 > threshold) inks |= kInkLightCyan;
      if (m / 2 > threshold) inks |= kInkLightMagenta;
      pic.at(x, y) = inks;
    }
  }
  // Frame.
  const uint32_t t = std::max<uint32_t>(1, std::min(w, h) / 50);
  FillRect(pic, 0, 0, w, t, kInkBlack);
  FillRect(pic, 0, h - std::min(t, h), w, h, kInkBlack);
  FillRect(pic, 0, 0, t, h, kInkBlack);
  FillRect(pic, w - std::min(t, w), 0, w, h, kInkBlack);
}

}  // namespace

std::vector<uint8_t> EncodeFormLine(uint8_t mode, std::span<const uint8_t> line) {
  std::vector<uint8_t> out;
  switch (mode) {
    case 0:
      out.assign(line.begin(), line.end());
      break;
    case 1:
      EncodeMode1(line, out);
      break;
    case 2:
    case 4:
      EncodeGroups(mode, line, out);
      break;
    default:
      break;
  }
  return out;
}

std::vector<uint8_t> WriteFormData(std::span<const FormPicture> pages,
                                   const FormWriteOptions& options) {
  const uint8_t m = options.compression;
  if (pages.empty() || !(m == 0 || m == 1 || m == 2 || m == 4)) return {};
  if (options.version != 2 && options.version != 3) return {};
  if (options.version == 2 && (options.xResolution > 2550 || options.yResolution > 2550)) return {};
  if (pages.size() > 0xFFFF) return {};
  for (const FormPicture& pic : pages) {
    if (pic.dots.size() != size_t{pic.width} * pic.height) return {};
    if (!Fits16(options.topOffset, pic.height, options.bottomMargin)) return {};
    if (!Fits16(options.leftOffset, pic.width, options.rightMargin)) return {};
  }
  FormAssembler assembler(options);
  for (size_t i = 0; i < pages.size(); ++i) assembler.Page(pages[i], uint16_t(i + 1));
  return assembler.Take();
}

bool WriteFormFile(const std::filesystem::path& path, std::span<const FormPicture> pages,
                   const FormWriteOptions& options) {
  const std::vector<uint8_t> data = WriteFormData(pages, options);
  if (data.empty()) return false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(file);
}

FormPicture MakeFormPattern(std::string_view name, uint32_t width, uint32_t height) {
  FormPicture pic(width, height);
  if (name == "bars") {
    for (uint32_t y = 0; y < height; ++y) {
      for (uint32_t x = 0; x < width; ++x) {
        pic.at(x, y) = kMixtures[uint64_t{x} * kMixtureCount / width];
      }
    }
    // A black corner at the top left shows which way up the picture is.
    FillRect(pic, 0, 0, std::max<uint32_t>(1, width / 8), std::max<uint32_t>(1, height / 8),
             kInkBlack);
  } else if (name == "checker") {
    for (uint32_t y = 0; y < height; ++y) {
      for (uint32_t x = 0; x < width; ++x) {
        pic.at(x, y) = kMixtures[(x / 8 + 3 * (y / 8)) % kMixtureCount];
      }
    }
  } else if (name == "label") {
    DrawLabel(pic);
  } else if (name == "rule") {
    FillRect(pic, 0, height / 2, width, height / 2 + 1, kInkBlack);
  } else {
    return {};
  }
  return pic;
}

}  // namespace vq
