#include "tools/form/form_tool.h"

#include <charconv>
#include <filesystem>
#include <fstream>

#include "tools/form/overlay_form_writer.h"

namespace vq {
namespace {

std::filesystem::path PathFromUtf8(const std::string& s) {
  return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

// Statuses with their console text; every FormStatus has a row.
struct StatusText {
  FormStatus status;
  const char* text;
};
constexpr StatusText kStatusTexts[] = {
    {FormStatus::kBadCompression, "a raster line uses a compression mode other than 0, 1, 2, 4"},
    {FormStatus::kOk, "ok"},
    {FormStatus::kEmptyName, "empty file name"},
    {FormStatus::kNotFound, "file not found"},
    {FormStatus::kNoArguments, "no file name or result given"},
    {FormStatus::kNoImage, "no `s` command asks for the colour image"},
    {FormStatus::kBadKind, "kind (`K`) not 0..4, or the command stream does not start with ESC"},
    {FormStatus::kCannotOpen, "the file cannot be opened for reading"},
    {FormStatus::kCannotRead, "the file cannot be read"},
    {FormStatus::kCannotAllocate, "the colour image is too large or cannot be allocated"},
};

void PutU16(std::vector<uint8_t>& out, size_t off, uint32_t v) {
  out[off] = uint8_t(v);
  out[off + 1] = uint8_t(v >> 8);
}
void PutU32(std::vector<uint8_t>& out, size_t off, uint32_t v) {
  PutU16(out, off, v & 0xFFFF);
  PutU16(out, off + 2, v >> 16);
}

uint32_t PixelsPerMetre(uint32_t dpi) { return uint32_t((uint64_t{dpi} * 10000 + 127) / 254); }

bool ParseNumber(const std::string& text, uint32_t max, uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value <= max;
}

const char* PlaneName(char letter) {
  switch (letter) {
    case 'C': return "cyan";
    case 'M': return "magenta";
    case 'Y': return "yellow";
    case 'K': return "black";
    case 'c': return "light cyan";
    case 'm': return "light magenta";
    default: return "not drawn";
  }
}

}  // namespace

const char* FormStatusText(FormStatus status) {
  for (const StatusText& row : kStatusTexts) {
    if (row.status == status) return row.text;
  }
  return "unknown status";
}

std::vector<uint8_t> EncodeBmp24(std::span<const uint8_t> topDownBgr, uint32_t width,
                                 uint32_t rows, uint32_t xDpi, uint32_t yDpi) {
  constexpr size_t kHeaderSize = 14 + 40;  // file header + BITMAPINFOHEADER
  const uint64_t rowBytes = uint64_t{width} * 3;
  const uint64_t stride = (rowBytes + 3) & ~uint64_t{3};
  const uint64_t imageSize = stride * rows;
  if (width == 0 || rows == 0 || width > 0x7FFFFFFF || rows > 0x7FFFFFFF) return {};
  if (kHeaderSize + imageSize > 0xFFFFFFFF || topDownBgr.size() < rowBytes * rows) return {};

  std::vector<uint8_t> bmp(kHeaderSize + imageSize, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  PutU32(bmp, 2, uint32_t(bmp.size()));
  PutU32(bmp, 10, kHeaderSize);           // offset of the pixels
  PutU32(bmp, 14, 40);                    // BITMAPINFOHEADER size
  PutU32(bmp, 18, width);
  PutU32(bmp, 22, rows);                  // positive height: bottom-up rows
  PutU16(bmp, 26, 1);                     // colour planes
  PutU16(bmp, 28, 24);                    // bits per pixel
  PutU32(bmp, 30, 0);                     // BI_RGB
  PutU32(bmp, 34, uint32_t(imageSize));
  PutU32(bmp, 38, PixelsPerMetre(xDpi));
  PutU32(bmp, 42, PixelsPerMetre(yDpi));
  for (uint32_t r = 0; r < rows; ++r) {
    const uint8_t* src = topDownBgr.data() + (uint64_t{rows} - 1 - r) * rowBytes;
    std::copy(src, src + rowBytes, bmp.begin() + kHeaderSize + r * stride);
  }
  return bmp;
}

int RunFormInfo(const std::string& path, std::ostream& out) {
  const FormImage form = ReadFormFile(PathFromUtf8(path));
  out << "file:          " << path << "\n";
  out << "status:        " << int(form.status) << " " << FormStatusText(form.status) << "\n";
  if (form.status != FormStatus::kOk) return 1;

  const FormImageInfo& info = form.info;
  out << "file header:   "
      << (form.fileHeader ? "yes (76 bytes; raster lines carry 10248 padding bytes)" : "no") << "\n";
  out << "pages:         " << form.pageCount << (form.pageCount > 1 ? " (the first is drawn)" : "")
      << "\n";
  out << "layout:        version " << int(info.version) << "\n";
  out << "image:         " << info.imageWidth << " x " << info.imageHeight << " dots\n";
  out << "resolution:    " << info.xResolution << " x " << info.yResolution << " dpi\n";
  out << "page:          " << info.pageLength << " lines x " << info.pageWidth << " dots; image "
      << info.topOffset << " lines down, " << info.leftOffset << " dots in; "
      << info.bottomRemainder << " lines below, " << info.rightRemainder << " dots to the right\n";
  out << "planes:        ";
  for (uint32_t i = 0; i < form.planeCount; ++i) {
    out << (i ? ", " : "") << form.planeLetters[i] << " " << PlaneName(form.planeLetters[i]);
  }
  out << " (" << form.planeCount << "), " << form.bytesPerLine << " bytes per line\n";
  out << "compression:   mode " << int(info.compressionMode) << "\n";
  out << "kind:          " << int(info.kind) << "\n";
  out << "n value:       " << info.nValue << "\n";
  out << "kept values:   lead byte " << int(info.leadByte) << ", page word " << info.pageWord << "\n";
  out << "colour image:  " << info.imageWidth << " x " << form.Rows() << " pixels drawn, "
      << form.pixels.size() << " bytes\n";
  if (form.planesCut) {
    out << "note:          plane data stopped at the reader's size limit; the image is shorter "
           "than the file describes\n";
  }
  return 0;
}

int RunFormThumbnail(const std::string& in, const std::string& outBmp, std::ostream& out) {
  const FormImage form = ReadFormFile(PathFromUtf8(in));
  if (form.status != FormStatus::kOk) {
    out << in << ": status " << int(form.status) << " " << FormStatusText(form.status) << "\n";
    return 1;
  }
  const uint32_t rows = form.Rows();
  const std::vector<uint8_t> bmp = EncodeBmp24(form.pixels, form.info.imageWidth, rows,
                                               form.info.xResolution, form.info.yResolution);
  if (bmp.empty()) {
    out << in << ": the form has no image to draw (" << form.info.imageWidth << " x " << rows
        << ")\n";
    return 1;
  }
  std::ofstream file(PathFromUtf8(outBmp), std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  file.close();
  if (!file) {
    out << outBmp << ": cannot be written\n";
    return 1;
  }
  out << "wrote " << outBmp << ": " << form.info.imageWidth << " x " << rows << " pixels\n";
  return 0;
}

int RunFormMake(const std::string& outPath, const std::vector<std::string>& options,
                std::ostream& out) {
  std::string pattern = "label";
  uint32_t width = 256, height = 128, pages = 1;
  FormWriteOptions write;
  for (size_t i = 0; i < options.size(); ++i) {
    const std::string& opt = options[i];
    const bool hasValue = i + 1 < options.size();
    uint32_t value = 0;
    auto number = [&](uint32_t max) {
      return hasValue && ParseNumber(options[++i], max, value);
    };
    if (opt == "--pattern" && hasValue) {
      pattern = options[++i];
    } else if (opt == "--width" && number(0xFFFF)) {
      width = value;
    } else if (opt == "--height" && number(0xFFFF)) {
      height = value;
    } else if (opt == "--mode" && number(0xFF)) {
      write.compression = uint8_t(value);
    } else if (opt == "--version" && number(0xFF)) {
      write.version = uint8_t(value);
    } else if (opt == "--dpi" && number(0xFFFF)) {
      write.xResolution = write.yResolution = uint16_t(value);
    } else if (opt == "--kind" && number(0xFF)) {
      write.kind = uint8_t(value);
    } else if (opt == "--pages" && number(16)) {
      pages = value;
    } else if (opt == "--light") {
      write.lightInks = true;
    } else if (opt == "--header") {
      write.fileHeader = true;
    } else if (opt == "--long-lines") {
      write.longLines = true;
    } else if (opt == "--no-blank-commands") {
      write.blankCommands = false;
    } else if (opt == "--skipped-commands") {
      write.skippedCommands = true;
    } else {
      out << "make: bad option " << opt << "\n";
      return 2;
    }
  }
  if (pattern != "bars" && pattern != "label" && pattern != "checker" && pattern != "rule") {
    out << "make: unknown pattern " << pattern << "\n";
    return 2;
  }
  std::vector<FormPicture> pictures;
  pictures.push_back(MakeFormPattern(pattern, width, height));
  for (uint32_t p = 1; p < pages; ++p) pictures.push_back(MakeFormPattern("checker", width, height));
  const std::vector<uint8_t> data = WriteFormData(pictures, write);
  if (data.empty()) {
    out << "make: these options do not make a form (mode 0, 1, 2, 4; version 2 or 3)\n";
    return 2;
  }
  std::ofstream file(PathFromUtf8(outPath), std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  file.close();
  if (!file) {
    out << outPath << ": cannot be written\n";
    return 1;
  }
  out << "wrote " << outPath << ": " << data.size() << " bytes, " << pattern << " " << width
      << " x " << height << ", mode " << int(write.compression) << ", " << pages << " page(s)\n";
  return 0;
}

}  // namespace vq
