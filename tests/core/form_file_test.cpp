#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "pages/overlay/overlay_form.h"
#include "tools/form/form_tool.h"
#include "tools/form/overlay_form_writer.h"

namespace vq {
namespace {

using Bytes = std::vector<uint8_t>;

// ---- Hand-made streams ----------------------------------------------------

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Cmd(char letter, const Bytes& payload) {
  Bytes out = {0x1B, uint8_t(letter), uint8_t(payload.size()), uint8_t(payload.size() >> 8)};
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

Bytes Page(uint8_t version, uint16_t width, uint16_t height) {
  Bytes p(34, 0);
  p[1] = version;
  p[8] = uint8_t(height >> 8), p[9] = uint8_t(height);
  p[12] = uint8_t(width >> 8), p[13] = uint8_t(width);
  return Cmd('p', p);
}

Bytes Planes(const std::string& letters, uint32_t bytesPerLine) {
  Bytes p(letters.begin(), letters.end());
  p.resize(8, 0);
  for (int shift : {24, 16, 8, 0}) p.push_back(uint8_t(bytesPerLine >> shift));
  return Cmd('u', p);
}

Bytes Mode(uint8_t mode) { return Cmd('b', {mode}); }
Bytes Count(char letter, uint16_t n) { return Cmd(letter, {uint8_t(n >> 8), uint8_t(n)}); }
Bytes Draw() { return Cmd('s', {0, 1, 1, 0}); }
Bytes Kind(uint8_t kind) { return {0x1B, 'K', 4, 0, kind, 0, 0, 0}; }

// A stream with kind 0 in front: without a `K` the kind is 9 and the form is
// refused.
Bytes Form(std::initializer_list<Bytes> parts) { return Cat({Kind(0), Cat(parts)}); }

// Black-only 32-dot page, 4 bytes per line, `lines` lines of 0xFF.
Bytes BlackForm(int lines) {
  Bytes out = Form({Page(2, 32, uint16_t(lines)), Planes("K", 4), Mode(0)});
  for (int i = 0; i < lines; ++i) out = Cat({out, Cmd('f', {0xFF, 0xFF, 0xFF, 0xFF})});
  return Cat({out, Draw()});
}

// The image the reader should draw for a picture: padding dots are white,
// light inks count only in six-plane files.
Bytes Render(const FormPicture& pic, uint32_t paddedWidth, bool lightInks) {
  const uint8_t mask = lightInks ? kInkAll : uint8_t(kInkAll & ~(kInkLightCyan | kInkLightMagenta));
  Bytes out;
  for (uint32_t y = 0; y < pic.height; ++y) {
    for (uint32_t x = 0; x < paddedWidth; ++x) {
      const auto c = FormDotColour(x < pic.width ? pic.at(x, y) & mask : 0);
      out.insert(out.end(), c.begin(), c.end());
    }
  }
  return out;
}

Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// ---- Raster lines ----------------------------------------------------------

TEST(FormLine, DecodesEveryMode) {
  const struct { const char* what; uint8_t mode; Bytes line, decoded; } cases[] = {
      {"mode 0 copies", 0, {0x01, 0x80, 0x03}, {0x01, 0x80, 0x03}},
      {"mode 1 literal then run", 1, {0x02, 0x41, 0x42, 0x43, 0xFE, 0x00},
       {0x41, 0x42, 0x43, 0x00, 0x00, 0x00}},
      {"mode 1 -128 is a no-op", 1, {0x80, 0x00, 0x07}, {0x07}},
      {"mode 1 longest run", 1, {0x81, 0x5A}, Bytes(128, 0x5A)},
      {"mode 1 literal cut short", 1, {0x05, 0x01, 0x02}, {0x01, 0x02}},
      {"mode 1 run without its byte", 1, {0x00, 0x09, 0xFF}, {0x09}},
      {"mode 2 literal group", 2, {0x00, 0x11, 0x22, 0x33, 0x44}, {0x11, 0x22, 0x33, 0x44}},
      {"mode 2 fill", 2, {0xFF, 0xAA}, Bytes(8, 0xAA)},
      {"mode 2 trailing 0x80 become 0", 2, {0x00, 0x11, 0x80, 0x80, 0x80}, {0x11, 0, 0, 0}},
      {"mode 2 inner 0x80 kept", 2, {0x01, 0x80, 1, 2, 3, 4, 5, 6, 7}, {0x80, 1, 2, 3, 4, 5, 6, 7}},
      {"mode 2 literal cut short", 2, {0x01, 1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}},
      {"mode 4 group repeat", 4, {0xFE, 1, 2, 3, 4}, {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}},
      {"mode 4 group cut short", 4, {0x00, 9, 9, 9, 9, 0xFE, 1, 2, 3}, {9, 9, 9, 9}},
      {"mode 4 literal like mode 2", 4, {0x00, 0x11, 0x22, 0x33, 0x80}, {0x11, 0x22, 0x33, 0}},
      {"mode 4 -128 is a no-op", 4, {0x80, 0xFF, 7, 7, 7, 7}, Bytes(8, 7)},
  };
  for (const auto& c : cases) {
    Bytes out = {0xEE};  // decoding appends
    EXPECT_TRUE(DecodeFormLine(c.mode, c.line, out)) << c.what;
    EXPECT_EQ(out, Cat({{0xEE}, c.decoded})) << c.what;
  }
  Bytes out;
  for (uint8_t mode : {3, 5, 255}) EXPECT_FALSE(DecodeFormLine(mode, {{0x00, 0x01}}, out));
  EXPECT_TRUE(out.empty());
}

TEST(FormLine, EncoderRoundTripsAndAvoidsTrailing0x80) {
  Bytes line(352, 0);
  for (size_t i = 0; i < line.size(); ++i) line[i] = uint8_t((i * 37) % 7 == 0 ? 0x80 : i / 9);
  line[100] = line[101] = line[102] = line[103] = 0x80;  // a literal that ends on 0x80 before a run
  std::fill(line.begin() + 104, line.begin() + 200, 0);
  for (uint8_t mode : {0, 1, 2, 4}) {
    Bytes decoded;
    ASSERT_TRUE(DecodeFormLine(mode, EncodeFormLine(mode, line), decoded));
    EXPECT_EQ(decoded, line) << "mode " << int(mode);
  }
  EXPECT_LT(EncodeFormLine(2, Bytes(352, 0)).size(), 8u);  // runs, not literals
}

// ---- Header, statuses, page facts -----------------------------------------

TEST(FormFile, RecognisesBothHeaderSignatures) {
  const std::pair<Bytes, bool> cases[] = {
      {{0x92, 0x8C, 0x99, 0x78, 0x01, 0x00}, true},
      {{0x92, 0x00, 0x8C, 0x00, 0x99, 0x00, 0x8C}, true},
      {{0x92, 0x8C, 0x99, 0x78, 0x01}, false},  // byte 5 missing
      {{0x92, 0x8C, 0x99, 0x78, 0x02, 0x00}, false}, {{0x92, 0x00, 0x8C, 0x00, 0x99, 0x00}, false},
      {{0x93, 0x8C, 0x99, 0x78, 0x01, 0x00}, false}, {{0x1B, 'p'}, false}, {{}, false}};
  for (const auto& [start, header] : cases) EXPECT_EQ(HasFormFileHeader(start), header);
}

// Statuses, and how much image a damaged stream still gives (96 bytes per
// 32-dot row).
TEST(FormFile, StatusesAndWhatAMalformedStreamStillDraws) {
  const Bytes good = BlackForm(3);  // 3 lines of 32 black dots
  const Bytes start = Form({Page(2, 32, 3), Planes("K", 4), Mode(0)});
  const Bytes line = Cmd('f', {0xFF, 0xFF, 0xFF, 0xFF});
  Bytes twelve;
  for (int i = 0; i < 12; ++i) twelve = Cat({twelve, line});
  const struct { const char* what; Bytes data; FormStatus status; size_t pixelBytes; } cases[] = {
      {"a good form", good, FormStatus::kOk, 3 * 96},
      {"empty", {}, FormStatus::kNoImage, 0},
      {"`s` with flag 0 only", Form({Page(2, 32, 1), Cmd('s', {0, 1, 0, 0})}),
       FormStatus::kNoImage, 0},
      {"no `K` at all", Cat({Page(2, 32, 1), Draw()}), FormStatus::kBadKind, 0},
      // The file asks for an image, only not on the drawn page: readable,
      // nothing to draw.
      {"image asked for only on page 2",
       Form({Page(2, 32, 1), Planes("K", 4), Page(2, 32, 1), Draw()}), FormStatus::kOk, 0},
      {"image request only inside raster bytes",
       Form({Page(2, 32, 1), Planes("K", 4), Mode(0), Cmd('f', {0x1B, 's', 4, 0, 0, 0, 1, 0})}),
       FormStatus::kOk, 0},
      {"last kind 5", Cat({Kind(2), good, Kind(5)}), FormStatus::kBadKind, 0},
      {"last kind 4", Cat({Kind(7), good, Kind(4)}), FormStatus::kOk, 3 * 96},
      {"stream does not start with ESC", Cat({{0x00}, good}), FormStatus::kBadKind, 0},
      {"mode 3 line", Form({Page(2, 32, 1), Planes("K", 4), Mode(3), Cmd('f', {0}), Draw()}),
       FormStatus::kBadCompression, 0},
      {"mode 3 without lines", Form({Page(2, 32, 1), Mode(3), Draw()}), FormStatus::kOk, 0},
      {"mode 3 line on page 2", Cat({good, Page(2, 32, 1), Mode(3), Cmd('f', {0})}),
       FormStatus::kOk, 3 * 96},
      {"length past the end", Cat({start, line, {0x1B, 'f', 0xFF, 0xFF, 0xFF}, Draw()}),
       FormStatus::kOk, 0},
      {"F length past the end",
       Cat({start, {0x1B, 'F', 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0xFF}, Draw()}), FormStatus::kOk, 0},
      {"m item past the end", Cat({start, {0x1B, 'm', 1, 0, 0, 1, 0xFF, 0xFF, 0}, Draw()}),
       FormStatus::kOk, 0},
      {"K cut short", Cat({good, {0x1B, 'K', 4, 0, 9}}), FormStatus::kOk, 3 * 96},
      {"unknown letter ends the stream", Cat({start, line, {0x1B, 'Q'}, line, Draw()}),
       FormStatus::kOk, 0},
      {"no plane layout", Form({Page(2, 32, 3), Mode(0), line, Draw()}), FormStatus::kOk, 0},
      {"plane count 0", Form({Page(2, 32, 3), Planes("", 4), Mode(0), line, line, Draw()}),
       FormStatus::kOk, 0},
      // 12 lines over 8 planes: the first K (position 3) gets 2, the second 1.
      {"plane count 8, second K not drawn",
       Form({Page(2, 32, 1), Planes("CMYKcmNK", 4), Mode(0), twelve, Draw()}), FormStatus::kOk,
       2 * 96},
      {"black plane of zero lines", Form({Page(2, 32, 3), Planes("CMY", 4), Mode(0), line, Draw()}),
       FormStatus::kOk, 0},
      {"zero bytes per line", Form({Page(2, 32, 3), Planes("K", 0), Mode(0), Count('E', 500),
                                    Count('e', 500), line, Draw()}),
       FormStatus::kOk, 96},
      {"zero width", Form({Page(2, 0, 3), Planes("K", 4), Mode(0), Count('e', 500), line, Draw()}),
       FormStatus::kOk, 96},
      {"data after the image request", Cat({good, line}), FormStatus::kOk, 3 * 96},
  };
  for (const auto& c : cases) {
    const FormImage form = ReadFormData(c.data);
    EXPECT_EQ(form.status, c.status) << c.what;
    EXPECT_EQ(form.pixels.size(), c.pixelBytes) << c.what;
  }
}

TEST(FormFile, StatusesOfTheFile) {
  const auto dir = std::filesystem::temp_directory_path() / "vq312_form_status";
  std::filesystem::create_directories(dir);
  const auto good = dir / "good.ofe";
  const Bytes data = BlackForm(1);
  std::ofstream(good, std::ios::binary)
      .write(reinterpret_cast<const char*>(data.data()), data.size());
  EXPECT_EQ(ReadFormFile("").status, FormStatus::kEmptyName);
  EXPECT_EQ(ReadFormFile(dir / "missing.ofe").status, FormStatus::kNotFound);
  EXPECT_EQ(ReadFormFile(dir).status, FormStatus::kNotFound) << "a folder is no form file";
  // The pre-scans come before the read is judged: a file that cannot be
  // read at all has no image request to find.
  const auto locked = dir / "locked.ofe";
  std::ofstream(locked, std::ios::binary)
      .write(reinterpret_cast<const char*>(data.data()), data.size());
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  if (!std::ifstream(locked).is_open()) {  // root reads it anyway
    EXPECT_EQ(ReadFormFile(locked).status, FormStatus::kNoImage);
  }
  const FormImage form = ReadFormFile(good);
  EXPECT_EQ(form.status, FormStatus::kOk);
  EXPECT_EQ(form.pixels, ReadFormData(data).pixels);
  std::filesystem::remove_all(dir);
}

TEST(FormFile, PageParametersByVersion) {
  Bytes v2(30, 0), v3(34, 0);
  const Bytes words = {0x03, 0x20, 0x02, 0x58, 0x00, 0x0A, 0x02, 0xEE, 0x00, 0x0C, 0x00, 0x64};
  for (Bytes* p : {&v2, &v3}) {
    std::copy(words.begin(), words.end(), p->begin() + 2);
    (*p)[0] = 0x5A;
    (*p)[28] = 0x34, (*p)[29] = 0x12;
  }
  v2[1] = 2, v2[22] = 30, v2[23] = 60;
  v3[1] = 3, v3[30] = 0x04, v3[31] = 0xB0, v3[32] = 0x02, v3[33] = 0x58;
  for (const Bytes& p : {v2, v3}) {
    const FormImage form = ReadFormData(Cat({Kind(3), Cmd('p', p), Count('n', 0x0102), Mode(4),
                                             Draw(), Kind(1), Page(3, 8, 8), Mode(1),
                                             Count('n', 9)}));
    ASSERT_EQ(form.status, FormStatus::kOk);
    const FormImageInfo& i = form.info;
    // Page length, width, top offset, image height, left offset; the width
    // of 100 is raised to 128 in both layouts.
    EXPECT_EQ(std::tuple(i.leadByte, i.pageLength, i.pageWidth, i.topOffset, i.imageHeight,
                         i.leftOffset, i.imageWidth, i.bottomRemainder, i.rightRemainder,
                         i.pageWord),
              std::tuple(0x5A, 800, 600, 10, 750, 12, 128u, 40, 488, 0x1234));
    EXPECT_EQ(i.kind, 3);            // the `K` before the page, not the later one
    EXPECT_EQ(i.nValue, 0x0102);     // the `n` of page 2 is not read
    EXPECT_EQ(i.compressionMode, 1); // but its `b` is: the last of the stream
    EXPECT_EQ(std::tuple(i.xResolution, i.yResolution), std::tuple(p[1] == 2 ? 300 : 1200, 600));
  }
  const struct { uint8_t version; uint16_t width; uint32_t rounded; } widths[] = {
      {2, 100, 128}, {3, 100, 128}, {2, 96, 96},         {3, 96, 128},
      {3, 0, 0},     {2, 1, 32},    {3, 65535, 65536}, {7, 33, 64}};
  for (const auto& c : widths) {
    EXPECT_EQ(ReadFormData(Form({Page(c.version, c.width, 1), Draw()})).info.imageWidth, c.rounded)
        << int(c.version) << " " << c.width;
  }
}

// ---- Colours ---------------------------------------------------------------

TEST(FormColours, BlackCoversAndLightInksTint) {
  using Bgr = std::array<uint8_t, 3>;
  for (uint8_t inks = 0; inks <= kInkAll; ++inks) {
    if (inks & kInkBlack) EXPECT_EQ(FormDotColour(inks), (Bgr{0, 0, 0})) << int(inks);
  }
  // Light ink alone stays white; it never lightens a dot, and over cyan,
  // magenta or yellow it shows.
  EXPECT_EQ(FormDotColour(kInkLightCyan | kInkLightMagenta), (Bgr{255, 255, 255}));
  for (uint8_t base = 1; base < 8; ++base) {
    for (uint8_t light : {kInkLightCyan, kInkLightMagenta}) {
      const auto plain = FormDotColour(base), tinted = FormDotColour(base | light);
      for (int ch = 0; ch < 3; ++ch) EXPECT_LE(tinted[ch], plain[ch]);
      EXPECT_NE(tinted, plain) << int(base) << "+" << int(light);
    }
  }
  // Yellow with light magenta reads as orange: no blue, strong red, green
  // well between.
  const auto orange = FormDotColour(kInkYellow | kInkLightMagenta);
  EXPECT_TRUE(orange[0] == 0 && orange[2] >= 224 && orange[1] > 96 && orange[1] < 192);
}

// ---- Round trips through the writer ---------------------------------------

TEST(FormWriter, PicturesReadBackAsTheSameImage) {
  const struct { const char* what; const char* pattern; FormWriteOptions options; int pages; }
      cases[] = {
          {"mode 0", "checker", {.compression = 0}, 1},
          {"mode 1", "label", {.compression = 1}, 1},
          {"mode 2", "label", {.compression = 2}, 1},
          {"mode 4", "bars", {.compression = 4}, 1},
          {"mode 2, six inks", "label", {.compression = 2, .lightInks = true}, 1},
          {"mode 1, six inks, version 2", "bars",
           {.compression = 1, .lightInks = true, .version = 2, .xResolution = 300,
            .yResolution = 300}, 1},
          {"mode 4, header", "label", {.compression = 4, .fileHeader = true}, 1},
          {"mode 2, header, six inks", "checker",
           {.compression = 2, .lightInks = true, .fileHeader = true}, 1},
          {"mode 0, long lines, no blank commands", "label",
           {.compression = 0, .blankCommands = false, .longLines = true}, 1},
          {"mode 2, two pages, skipped commands", "bars",
           {.compression = 2, .skippedCommands = true, .kind = 4, .nValue = 77, .topOffset = 5,
            .rightMargin = 3}, 2},
          {"mode 4, three pages, version 2", "label",
           {.compression = 4, .version = 2, .xResolution = 300, .yResolution = 300}, 3},
      };
  for (const auto& c : cases) {
    const FormWriteOptions& o = c.options;
    const FormPicture first = MakeFormPattern(c.pattern, 150, 60);
    std::vector<FormPicture> pages = {first};
    for (int p = 1; p < c.pages; ++p) pages.push_back(MakeFormPattern("checker", 150, 60));
    const Bytes data = WriteFormData(pages, o);
    ASSERT_FALSE(data.empty()) << c.what;
    EXPECT_EQ(HasFormFileHeader(data), o.fileHeader) << c.what;

    const FormImage form = ReadFormData(data);
    ASSERT_EQ(form.status, FormStatus::kOk) << c.what;
    const uint32_t padded = o.version == 3 ? 192 : 160;
    const FormImageInfo& i = form.info;
    EXPECT_EQ(std::tuple(i.imageWidth, form.Rows(), form.pageCount, form.planeCount),
              std::tuple(padded, 60u, uint32_t(c.pages), o.lightInks ? 6u : 4u)) << c.what;
    EXPECT_EQ(std::tuple(i.compressionMode, i.kind, i.nValue, i.topOffset, i.rightRemainder,
                         i.xResolution, form.planesCut),
              std::tuple(o.compression, o.kind, o.nValue, o.topOffset, int32_t{o.rightMargin},
                         o.xResolution, false)) << c.what;
    EXPECT_TRUE(form.pixels == Render(first, padded, o.lightInks)) << c.what;
  }
}

TEST(FormWriter, RefusesWhatAFormCannotHold) {
  const FormPicture pic = MakeFormPattern("bars", 40, 10);
  FormPicture wrongSize = pic;
  wrongSize.dots.pop_back();
  const std::pair<std::vector<FormPicture>, FormWriteOptions> bad[] = {
      {{}, {}}, {{wrongSize}, {}}, {{pic}, {.compression = 3}}, {{pic}, {.version = 4}},
      {{pic}, {.version = 2, .xResolution = 2560}}, {{pic}, {.topOffset = 0xFFFF}}};
  for (const auto& [pages, options] : bad) EXPECT_TRUE(WriteFormData(pages, options).empty());
}

// ---- Bad input ---------------------------------------------------------------

TEST(FormBadInput, EveryCutOfAFormStopsCleanly) {
  const Bytes data = WriteFormData(std::vector{MakeFormPattern("label", 64, 24)},
                                   {.lightInks = true, .skippedCommands = true});
  ASSERT_GT(ReadFormData(data).pixels.size(), 0u);
  for (size_t cut = 0; cut < data.size(); ++cut) {
    const FormImage form = ReadFormData({data.data(), cut});
    // The `s` is the last command, so no cut keeps it. (The skipped `y`
    // holds bytes that pass the first pre-scan's byte search: cuts after
    // them are readable forms with nothing to draw, or refused for the kind
    // before the `K`.)
    EXPECT_TRUE(form.status == FormStatus::kNoImage || form.status == FormStatus::kBadKind ||
                form.status == FormStatus::kOk)
        << cut;
    EXPECT_TRUE(form.pixels.empty()) << cut;
  }
}

TEST(FormBadInput, BlankLineFloodsStayWithinTheBudget) {
  // 10000 pairs of `E` and `e` of 65535 lines each, with absurd and ordinary
  // line sizes: a hundred kilobytes asking for terabytes.
  auto flood = [](const std::string& planes, uint32_t bytesPerLine, bool withLowerE) {
    Bytes data = Form({Page(3, 2816, 100), Planes(planes, bytesPerLine), Mode(2)});
    const Bytes pair = Cat({Count('E', 0xFFFF), withLowerE ? Count('e', 0xFFFF) : Bytes{}});
    for (int i = 0; i < 10000; ++i) data.insert(data.end(), pair.begin(), pair.end());
    return Cat({data, Draw()});
  };
  const FormLimits small = {
      .blankAllowance = 1 << 20, .maxPlaneBytes = 2 << 20, .maxImageBytes = 64 << 20};
  for (uint32_t bytesPerLine : {352u, 0x7FFFFFFFu}) {
    const FormImage capped = ReadFormData(flood("CMYK", bytesPerLine, true), small);
    EXPECT_EQ(capped.status, FormStatus::kOk);
    EXPECT_TRUE(capped.planesCut);
    // All planes share the 2 MiB, so black holds at most all of it.
    EXPECT_LE(capped.pixels.size(), 24u * (2u << 20));
  }
  // Default limits: a black-only flood fills the whole budget (64 MiB plus
  // 256 bytes per input byte) into black, more than a 512 MiB image, so the
  // image is refused before it is allocated.
  const FormImage refused = ReadFormData(flood("K", 352, false));
  EXPECT_EQ(refused.status, FormStatus::kCannotAllocate);
  EXPECT_TRUE(refused.planesCut);
  EXPECT_TRUE(refused.pixels.empty());
}

TEST(FormBadInput, ExpandingLinesStopAtTheBudget) {
  // Mode-2 fills: 2 bytes of line give 512 bytes of plane.
  Bytes data = Form({Page(3, 64, 1), Planes("K", 8), Mode(2)});
  for (int i = 0; i < 100; ++i) data = Cat({data, Cmd('f', {0x81, 0xFF, 0x81, 0x00})});
  data = Cat({data, Draw()});
  FormLimits limits = {.blankAllowance = 0};
  const FormImage within = ReadFormData(data, limits);
  EXPECT_EQ(within.status, FormStatus::kOk);
  EXPECT_FALSE(within.planesCut);
  EXPECT_EQ(within.pixels.size(), 100u * 1024 * 24);
  limits.planeBytesPerInputByte = 16;
  const FormImage cut = ReadFormData(data, limits);
  EXPECT_TRUE(cut.planesCut);
  EXPECT_EQ(cut.pixels.size(), 16 * data.size() * 24);
}

// ---- Tools -------------------------------------------------------------------

TEST(FormTool, BmpRowsAreBottomUpAndPadded) {
  // 5 x 2 pixels: row 0 all (1,2,3), row 1 all (4,5,6).
  Bytes pixels;
  for (int i = 0; i < 10; ++i) pixels.insert(pixels.end(), {1, 2, 3});
  for (int i = 15; i < 30; ++i) pixels[i] += 3;
  const Bytes bmp = EncodeBmp24(pixels, 5, 2, 600, 300);
  ASSERT_EQ(bmp.size(), 54u + 2 * 16);
  auto u32 = [&](size_t o) {
    return bmp[o] | bmp[o + 1] << 8 | bmp[o + 2] << 16 | uint32_t(bmp[o + 3]) << 24;
  };
  EXPECT_EQ(std::tuple(bmp[0], bmp[1], bmp[28]), std::tuple('B', 'M', 24));
  // File size, pixel offset, width, height, pixels per metre (600 and 300 dpi).
  EXPECT_EQ(std::tuple(u32(2), u32(10), u32(18), u32(22), u32(38), u32(42)),
            std::tuple(bmp.size(), 54u, 5u, 2u, 23622u, 11811u));
  EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 57), (Bytes{4, 5, 6}));  // bottom row first
  EXPECT_EQ(Bytes(bmp.begin() + 69, bmp.begin() + 73), (Bytes{0, 1, 2, 3}));  // padding, row 0
  EXPECT_TRUE(EncodeBmp24(pixels, 5, 3, 600, 600).empty());  // too few pixels
  EXPECT_TRUE(EncodeBmp24(pixels, 0, 2, 600, 600).empty());
}

TEST(FormTool, MakeInfoAndThumbnail) {
  const auto dir = std::filesystem::temp_directory_path() / "vq312_form_tool";
  std::filesystem::create_directories(dir);
  const std::string form = (dir / "bars.ofe").string(), bmp = (dir / "bars.bmp").string();
  std::ostringstream log, info, errors;
  ASSERT_EQ(RunFormMake(form, {"--pattern", "bars", "--width", "70", "--height", "20", "--mode",
                               "4", "--light", "--pages", "2", "--version", "2", "--dpi", "300"},
                        log), 0) << log.str();
  EXPECT_EQ(RunFormInfo(form, info), 0);
  for (const char* fact : {"status:        1 ok", "pages:         2 (the first is drawn)",
                           "image:         96 x 20 dots", "resolution:    300 x 300 dpi",
                           "C cyan, M magenta, Y yellow, K black, c light cyan, m light magenta (6)",
                           "compression:   mode 4", "96 x 20 pixels drawn, 5760 bytes"}) {
    EXPECT_NE(info.str().find(fact), std::string::npos) << fact << "\n" << info.str();
  }
  ASSERT_EQ(RunFormThumbnail(form, bmp, log), 0) << log.str();
  const Bytes file = ReadAll(bmp);
  ASSERT_EQ(file.size(), 54u + 20 * 96 * 3);
  // The bars pattern has a black corner at its top left: the last stored row.
  const size_t topRow = 54 + 19 * 96 * 3;
  EXPECT_EQ(Bytes(file.begin() + topRow, file.begin() + topRow + 3), (Bytes{0, 0, 0}));
  EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 57), (Bytes{255, 255, 255}));

  EXPECT_EQ(RunFormInfo((dir / "none.ofe").string(), errors), 1);
  EXPECT_NE(errors.str().find("status:        20 file not found"), std::string::npos);
  EXPECT_EQ(RunFormThumbnail((dir / "none.ofe").string(), bmp, errors), 1);
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--mode", "3"},
                                              {"--pattern", "waves"}, {"--width"}})
    EXPECT_EQ(RunFormMake(form, bad, errors), 2) << bad[0];
  std::filesystem::remove_all(dir);
}

TEST(FormTool, EveryStatusHasItsOwnText) {
  const FormStatus all[] = {FormStatus::kBadCompression, FormStatus::kOk, FormStatus::kEmptyName,
                            FormStatus::kNotFound, FormStatus::kNoArguments, FormStatus::kNoImage,
                            FormStatus::kBadKind, FormStatus::kCannotOpen, FormStatus::kCannotRead,
                            FormStatus::kCannotAllocate};
  std::set<std::string> texts;
  for (FormStatus s : all) texts.insert(FormStatusText(s));
  EXPECT_EQ(texts.size(), std::size(all));
  EXPECT_EQ(texts.count("unknown status"), 0u);
}

// ---- Sample files --------------------------------------------------------------

TEST(FormSamples, ReadAsMade) {
  const struct { const char* file; bool header; uint32_t pages, planes, width, rows;
                 int mode, version; } cases[] = {{"label_mode2.ofe", false, 1, 4, 256, 128, 2, 3},
                 {"bars_six_inks_mode1_v2.ofe", false, 1, 6, 160, 48, 1, 2},
                 {"rule_header_mode0.ofe", true, 1, 4, 64, 16, 0, 3},
                 {"label_two_pages_mode4.ofe", false, 2, 6, 128, 48, 4, 3}};
  for (const auto& c : cases) {
    const std::filesystem::path path = std::filesystem::path(VQ312_FORM_SAMPLES) / c.file;
    const FormImage form = ReadFormFile(path);
    ASSERT_EQ(form.status, FormStatus::kOk) << c.file;
    EXPECT_EQ(std::tuple(form.fileHeader, form.pageCount, form.planeCount, form.info.imageWidth,
                         form.Rows(), int{form.info.compressionMode}, int{form.info.version}),
              std::tuple(c.header, c.pages, c.planes, c.width, c.rows, c.mode, c.version))
        << c.file;
    EXPECT_LE(std::filesystem::file_size(path), 12u * 1024) << c.file;
  }
}

}  // namespace
}  // namespace vq
