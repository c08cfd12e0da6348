#include "pages/overlay/overlay_rules.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"
#include "pages/control_ids.h"
#include "pages/overlay/overlay_form.h"
#include "uicore/dialog_layout.h"

namespace vq::overlay {

void SwitchOn(JobSettings& js) { js.OverlayMode |= kOnBit; }
void SwitchOff(JobSettings& js) { js.OverlayMode &= 0x0FFFFFFFu; }

void ChooseMode(JobSettings& js, bool create, std::u16string_view path) {
  js.OverlayMode = kOnBit | (create ? kCreate : kUse);
  SetPath(js, path);
}

namespace {
template <size_t N>
void SetField(char16_t (&field)[N], std::u16string_view text) {
  const size_t n = std::min(text.size(), N - 1);
  std::fill(std::begin(field), std::end(field), u'\0');
  std::copy_n(text.data(), n, field);
}
}  // namespace

void SetPath(JobSettings& js, std::u16string_view path) { SetField(js.OverlayPath, path); }
void SetComment(JobSettings& js, std::u16string_view comment) {
  SetField(js.OverlayComment, comment);
}
std::u16string CommentOf(const JobSettings& js) {
  return ByteReader(js.OverlayComment, sizeof js.OverlayComment)
      .Text16(0, std::size(js.OverlayComment));
}

std::span<const ModeControl> ModeControls() {
  // Create mode records a form: it has only a path to write and a comment
  // to write into it. Use mode reads a form: its facts, its thumbnail and
  // where to print it; the comment is the form's own, shown read-only.
  static constexpr ModeControl kControls[] = {
      {IDC_OVERLAY_CREATE_PATH, true, false, true},
      {IDC_OVERLAY_USE_PATH, false, true, true},
      {IDC_OVERLAY_COMMENT, true, false, false},
      {IDC_OVERLAY_COMMENT_CAPTION, true, false, false},
      {IDC_OVERLAY_FIRST_PAGE_ONLY, false, true, false},
      {IDC_OVERLAY_STATUS_LEFT, false, true, false},
      {IDC_OVERLAY_STATUS_RIGHT, false, true, false},
      {IDC_OVERLAY_FORM_INFO, false, true, false},
      {IDC_OVERLAY_INFO_CAPTION, false, true, false},
      {IDC_OVERLAY_SHOW_THUMBNAIL, false, true, false},
      {IDC_OVERLAY_THUMBNAIL, false, true, false},
  };
  return kControls;
}

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr size_t kFileHeaderSize = 76;
constexpr size_t kLinePadding = 10248;  // after each raster line of a file with a header
constexpr size_t kMaxPages = 64;        // more would only flood the information box

FormPage ReadPage(const ByteReader& r, uint64_t at) {
  FormPage page{};
  page.landscape = r.U8(at) == 2;
  const uint8_t version = r.U8(at + 1);
  page.lengthDots = r.U16BE(at + 2);
  page.widthDots = r.U16BE(at + 4);
  page.formCode = r.U16LE(at + 28);
  if (version == 3) {
    page.xResolution = r.U16BE(at + 30);
    page.yResolution = r.U16BE(at + 32);
  } else {
    page.xResolution = static_cast<uint16_t>(r.U8(at + 22) * 10);
    page.yResolution = static_cast<uint16_t>(r.U8(at + 23) * 10);
  }
  return page;
}

}  // namespace

FormDescription DescribeForm(std::span<const uint8_t> data) {
  FormDescription form;
  if (data.size() < kFileHeaderSize || !HasFormFileHeader(data)) return form;
  const ByteReader r(data);
  form.check = FormCheck::kForm;
  form.comment = r.Text16(8, 32);
  uint64_t pos = kFileHeaderSize;
  while (pos + 2 <= r.size() && r.U8(pos) == kEsc) {
    const char letter = static_cast<char>(r.U8(pos + 1));
    const uint64_t body = pos + 2;
    uint64_t next = 0;
    switch (letter) {
      case 'p': case 'u': case 'b': case 'E': case 'e': case 's': case 'n':
      case 'j': case 'c': case 'd': case 'y': case 'z': case 'f':
        next = body + 2 + r.U16LE(body);
        if (letter == 'f') next += kLinePadding;
        break;
      case 'F':
        next = body + 4 + 2 + uint64_t{r.U32LE(body)} + kLinePadding;
        break;
      case 'K':
        next = body + 6;
        break;
      case 'm': {
        next = body + 2;
        for (uint32_t items = r.U16LE(body); items > 0 && next < r.size(); --items)
          next += 4 + uint64_t{r.U16BE(next + 2)};
        break;
      }
      default:
        return form;
    }
    if (letter == 'p' && form.pages.size() < kMaxPages) form.pages.push_back(ReadPage(r, body + 2));
    if (letter == 's' && r.U8(body + 2 + 2) == 2) break;
    pos = next;
  }
  return form;
}

uint32_t DotsToTenthMm(uint32_t dots, uint32_t dpi) {
  if (dpi == 0) return 0;
  return static_cast<uint32_t>((uint64_t{dots} * 254 + dpi / 2) / dpi);
}

std::u16string FormInfoText(const FormDescription& form, const TextLookup& text, bool usePoint) {
  auto number = [](uint32_t v) {
    std::u16string s;
    do s.insert(s.begin(), static_cast<char16_t>(u'0' + v % 10)); while (v /= 10);
    return s;
  };
  auto length = [&](uint32_t dots, uint32_t dpi) {
    char16_t buf[32] = {};
    FormatFixedPoint(DotsToTenthMm(dots, dpi), 10, usePoint, false, buf, sizeof buf, nullptr);
    return std::u16string(buf) + u" " + text(4888);
  };
  std::u16string out;
  for (const FormPage& page : form.pages) {
    if (!out.empty()) out += u"\r\n";
    static constexpr char kHex[] = "0123456789abcdef";
    std::u16string code;
    for (int shift = 12; shift >= 0; shift -= 4) code += static_cast<char16_t>(kHex[(page.formCode >> shift) & 0xF]);
    out += text(4847) + code + u"\r\n";
    out += text(4850) + text(page.landscape ? 4846 : 4841) + u"\r\n";
    out += text(4848) + length(page.widthDots, page.xResolution) + u"\r\n";
    out += text(4849) + length(page.lengthDots, page.yResolution) + u"\r\n";
    out += text(4851) + number(page.xResolution) + u" x " + number(page.yResolution) + u" dpi\r\n";
  }
  return out;
}

Snapshot TakeSnapshot(const JobSettings& js) {
  Snapshot s{};
  s.mode = js.OverlayMode;
  s.option = js.OverlayOption;
  s.preview = js.OverlayPreview;
  std::memcpy(s.comment, js.OverlayComment, sizeof s.comment);
  std::memcpy(s.path, js.OverlayPath, sizeof s.path);
  return s;
}

bool Changed(const Snapshot& s, const JobSettings& js) {
  return s.mode != js.OverlayMode || s.option != js.OverlayOption ||
         s.preview != js.OverlayPreview ||
         std::memcmp(s.comment, js.OverlayComment, sizeof s.comment) != 0 ||
         std::memcmp(s.path, js.OverlayPath, sizeof s.path) != 0;
}

void RestoreDefaults(JobSettings& js, const JobSettings& d) {
  js.OverlayMode = d.OverlayMode;
  js.OverlayOption = d.OverlayOption;
  std::memcpy(js.OverlayPath, d.OverlayPath, sizeof js.OverlayPath);
  std::memcpy(js.OverlayComment, d.OverlayComment, sizeof js.OverlayComment);
  js.OverlayPreview = d.OverlayPreview;
}

}  // namespace vq::overlay
