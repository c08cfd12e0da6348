#include "tools/vq312ctl/describe.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vq {
namespace {

template <size_t N>
std::u16string_view TextOf(const char16_t (&s)[N]) {
  return {s, static_cast<size_t>(std::find(s, s + N, u'\0') - s)};
}

std::string Format(const char* fmt, auto... args) {
  char buf[256];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

void Line(std::string& out, const char* name, const std::string& value) {
  out += Format("  %-18s %s\n", name, value.c_str());
}

std::string Number(int64_t v) { return std::to_string(v); }

std::string Hex(const unsigned char* p, size_t n, size_t limit = 32) {
  std::string s;
  for (size_t i = 0; i < std::min(n, limit); ++i) s += Format(i ? " %02x" : "%02x", p[i]);
  if (n > limit) s += " ...";
  return s;
}

template <typename Record>
std::vector<Record> Records(const std::vector<unsigned char>& bytes) {
  std::vector<Record> out(bytes.size() / sizeof(Record));
  if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * sizeof(Record));
  return out;
}

}  // namespace

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      c = 0xFFFD;  // a lone surrogate
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Millimetres(int64_t tenths) {
  const char* sign = tenths < 0 ? "-" : "";
  const int64_t a = tenths < 0 ? -tenths : tenths;
  return Format("%s%lld.%lld mm", sign, static_cast<long long>(a / 10),
                static_cast<long long>(a % 10));
}

std::string DescribePaper(const PaperInfo& p) {
  std::string s = Format("%5u  %-36s %s x %s", p.paperId, Utf8(TextOf(p.paperName)).c_str(),
                         Millimetres(p.paperWidth).c_str(), Millimetres(p.paperLength).c_str());
  s += Format("  layout %u", p.paperLayout);
  s += "  margins " + Millimetres(p.marginTop) + " / " + Millimetres(p.marginBottom) + " / " +
       Millimetres(p.marginLeft) + " / " + Millimetres(p.marginRight);
  if (p.gap) s += "  gap " + Millimetres(p.gap);
  if (p.linerLeft || p.linerRight)
    s += "  liner " + Millimetres(p.linerLeft) + " + " + Millimetres(p.linerRight);
  if (p.customEditable) s += Format("  editable 0x%x", p.customEditable);
  return s;
}

std::string DescribeMedia(const MediaData& m) {
  return Format("%5u  %-30s class %u  ink K%u C%u M%u Y%u / K%u C%u M%u Y%u  profile %u",
                m.mediaId, Utf8(TextOf(m.mediaName)).c_str(), m.mediaClass, m.ink[0], m.ink[1],
                m.ink[2], m.ink[3], m.ink[4], m.ink[5], m.ink[6], m.ink[7], m.profileNumber);
}

std::string DescribeJobSettings(const JobSettings& js) {
  std::string out;
  Line(out, "device", Utf8(TextOf(js.dmDeviceName)));
  Line(out, "versions", Format("DEVMODE 0x%04x, driver 0x%04x", js.dmSpecVersion, js.dmDriverVersion));
  Line(out, "size", Format("%u + %u bytes", js.dmSize, js.dmDriverExtra));
  Line(out, "fields", Format("0x%06x", js.dmFields));
  Line(out, "signature", HasSignature(js) ? "VQ312" : "(not this driver's)");
  Line(out, "orientation", js.dmOrientation == 1 ? "portrait" : js.dmOrientation == 2
                                                                   ? "landscape"
                                                                   : Number(js.dmOrientation));
  Line(out, "paper", Format("%d \"%s\"", js.dmPaperSize, Utf8(TextOf(js.dmFormName)).c_str()));
  Line(out, "paper size", Millimetres(js.dmPaperWidth) + " x " + Millimetres(js.dmPaperLength));
  Line(out, "paper record", DescribePaper(js.Paper));
  Line(out, "papers in table", Number(js.PaperCount));
  Line(out, "scale", Format("%d %%", js.dmScale));
  Line(out, "copies", Format("%d (counts %u, %u)", js.dmCopies, js.CopyCount1, js.CopyCount2));
  Line(out, "resolution", Format("%d x %d dpi", js.dmPrintQuality, js.dmYResolution));
  Line(out, "colour", Format("%s, %u planes", js.dmColor == 2 ? "colour" : "monochrome",
                             js.ColorPlanes));
  Line(out, "colour mode", Format("mode %u, type %u, gamma %u, halftone %u, style %u",
                                  js.ColorMode, js.ColorModeType, js.GammaIndex, js.Halftone,
                                  js.ColorStyle));
  Line(out, "balance", Format("C %d  M %d  Y %d  K %d  tone %d / %d", js.CyanBalance,
                              js.MagentaBalance, js.YellowBalance, js.BlackBalance,
                              js.ToneLevel1, js.ToneLevel2));
  Line(out, "ICM", Format("method %u, intent %u, mode %u", js.dmICMMethod, js.dmICMIntent,
                          js.IcmMode));
  Line(out, "media", Format("type %u, class %u", js.MediaTypeId, js.MediaClass));
  Line(out, "print level", Format("%u%s", js.PrintLevel & 0x0FFFFFFF,
                                  js.PrintLevel & 0x80000000u ? " (automatic)" : ""));
  Line(out, "settings name", Format("\"%s\" (id %u)", Utf8(TextOf(js.SettingsName)).c_str(),
                                    js.SettingsNameId));
  Line(out, "pages per sheet", Format("%u, border %u, order 0x%x", js.PagesPerSheet,
                                      js.PageBorder, js.PageOrder));
  Line(out, "overlay", Format("mode 0x%08x, option %u, path \"%s\"", js.OverlayMode,
                              js.OverlayOption, Utf8(TextOf(js.OverlayPath)).c_str()));
  Line(out, "orientation lock", Number(js.OrientationLock));
  Line(out, "measure unit", js.MeasureUnit ? "inches" : "millimetres");
  return out;
}

std::string DescribePrinterValue(std::u16string_view name, uint32_t type,
                                 const std::vector<unsigned char>& bytes) {
  if (name == pd::kPaperInfo) {
    std::string s = Format("%zu papers\n", bytes.size() / kPaperInfoSize);
    for (const PaperInfo& p : Records<PaperInfo>(bytes)) s += "      " + DescribePaper(p) + "\n";
    if (bytes.size() % kPaperInfoSize) s += "      (not a whole number of records)\n";
    return s;
  }
  if (name == pd::kMediaData) {
    std::string s = Format("%zu media\n", bytes.size() / kMediaDataSize);
    for (const MediaData& m : Records<MediaData>(bytes)) s += "      " + DescribeMedia(m) + "\n";
    return s;
  }
  if (type == kRegDword && bytes.size() == 4) {
    uint32_t v;
    std::memcpy(&v, bytes.data(), 4);
    if (name == pd::kSleepTimer) {
      const uint32_t second = ((v >> 16) & 0xFF) << 8 | (v >> 24);
      return Format("0x%08x (first %u min, second %u min)\n", v, v & 0xFFFF, second);
    }
    return Format("%u (0x%x)\n", v, v);
  }
  if (type == kRegSz) {
    std::u16string text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    std::string quoted = "\"";
    quoted += Utf8(std::u16string_view(text).substr(0, text.find(u'\0')));
    quoted += "\"\n";
    return quoted;
  }
  const bool allZero = std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return !b; });
  return Format("%zu bytes%s", bytes.size(), allZero ? ", all zero\n" : ": ") +
         (allZero ? "" : Hex(bytes.data(), bytes.size()) + "\n");
}

}  // namespace vq
