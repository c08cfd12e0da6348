#include "pages/job_fields.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "pages/advanced/advanced_rules.h"
#include "pages/basic/basic_rules.h"
#include "pages/cut/cut_rules.h"
#include "pages/overlay/overlay_rules.h"
#include "settings/job_checks.h"

namespace vq {
namespace {

bool Number(std::string_view text, uint32_t* value) {
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, *value);
  return !text.empty() && r.ec == std::errc() && r.ptr == end;
}

std::optional<bool> OnOff(std::string_view v) {
  if (v == "on") return true;
  if (v == "off") return false;
  return std::nullopt;
}

// Path and comment texts: ASCII and UTF-8 alike, one unit a code point of
// the basic plane (what a path or a comment holds).
std::u16string Utf16(std::string_view s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = c;
    size_t n = 1;
    if (c >= 0xE0 && i + 2 < s.size()) {
      cp = (c & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F);
      n = 3;
    } else if (c >= 0xC0 && i + 1 < s.size()) {
      cp = (c & 0x1F) << 6 | (s[i + 1] & 0x3F);
      n = 2;
    }
    out.push_back(static_cast<char16_t>(cp));
    i += n;
  }
  return out;
}

FieldChange Ok() { return {true, true, {}, {}}; }
FieldChange Bad(std::string reason) { return {true, false, std::move(reason), {}}; }

void SetBit(uint32_t& word, uint32_t bit, bool on) { word = on ? word | bit : word & ~bit; }

FieldChange SetCut(JobSettings& js, std::string_view key, std::string_view v) {
  if (key == "cut") {
    const auto on = OnOff(v);
    if (!on) return Bad("cut is on or off");
    if (*on) cut::SwitchCuttingOn(js); else cut::SwitchCuttingOff(js);
    return Ok();
  }
  if (key == "cut.edges") {
    constexpr std::pair<std::string_view, uint32_t> kEdges[] = {
        {"none", 0}, {"leading", cut::kLeadingEdge}, {"trailing", cut::kTrailingEdge},
        {"both", cut::kLeadingEdge | cut::kTrailingEdge}};
    for (const auto& [name, bits] : kEdges)
      if (v == name) {
        js.Option740 = (js.Option740 & ~(cut::kLeadingEdge | cut::kTrailingEdge)) | bits;
        return Ok();
      }
    return Bad("cut.edges is none, leading, trailing or both");
  }
  if (key == "cut.between" || key == "cut.within") {
    const auto on = OnOff(v);
    if (!on) return Bad(std::string(key) + " is on or off");
    SetBit(js.Option740, key == "cut.between" ? cut::kBetweenLabels : cut::kWithinCopy, *on);
    return Ok();
  }
  if (key == "cut.mode") {
    if (v != "labels" && v != "copies") return Bad("cut.mode is labels (every N labels) or copies");
    SetBit(js.Option740, cut::kAfterCopy, v == "copies");
    return Ok();
  }
  if (key == "cut.every") {
    uint32_t n = 0;
    if (!Number(v, &n) || n < 1 || n > static_cast<uint32_t>(cut::kMaxCount))
      return Bad("cut.every is a number of labels from 1 to 9999");
    const uint32_t least = cut::MinCutCount(js.Paper);
    if (cut::CuttingOn(js) && n < least)
      return Bad("pieces shorter than 38.1 mm cannot be cut: cut.every is at least " +
                 std::to_string(least) + " for this paper");
    cut::ModeCount(js) = n;
    return Ok();
  }
  return {};
}

FieldChange SetOverlay(JobSettings& js, std::string_view key, std::string_view v) {
  if (key == "overlay") {
    if (v == "off") overlay::SwitchOff(js);
    else if (v == "create" || v == "use") overlay::ChooseMode(js, v == "create", OverlayPathOf(js));
    else return Bad("overlay is off, create or use");
    return Ok();
  }
  if (key == "overlay.path") {
    const std::u16string path = Utf16(v);
    if (path.size() > overlay::kPathChars) return Bad("overlay.path is at most 259 characters");
    if (path.size() < 4 || path.substr(path.size() - 4) != u".ofe")
      return Bad("overlay.path names an .ofe form file");
    overlay::SetPath(js, path);
    return Ok();
  }
  if (key == "overlay.comment") {
    const std::u16string comment = Utf16(v);
    if (comment.size() > overlay::kCommentChars) return Bad("overlay.comment is at most 31 characters");
    overlay::SetComment(js, comment);
    return Ok();
  }
  if (key == "overlay.pages") {
    if (v != "first" && v != "every") return Bad("overlay.pages is first or every");
    js.OverlayOption = v == "first" ? overlay::kFirstPageOnly : overlay::kEveryPage;
    return Ok();
  }
  if (key == "overlay.thumbnail") {
    const auto on = OnOff(v);
    if (!on) return Bad("overlay.thumbnail is on or off");
    js.OverlayPreview = *on ? 1 : 0;
    return Ok();
  }
  return {};
}

FieldChange SetLayout(JobSettings& js, std::string_view key, std::string_view v) {
  if (key == "layout.pages") {
    uint32_t n = 0;
    if (!Number(v, &n) || advanced::PagesIndex(n) < 0) return Bad("layout.pages is 1, 2, 4, 6, 9 or 16");
    js.PagesPerSheet = n;
    return Ok();
  }
  if (key == "layout.border") {
    const auto on = OnOff(v);
    if (!on) return Bad("layout.border is on or off");
    js.PageBorder = *on ? 1 : 0;
    return Ok();
  }
  if (key == "layout.order") {
    if (v != "normal" && v != "reverse") return Bad("layout.order is normal or reverse");
    js.PageOrder = v == "reverse" ? 1 : 0;
    return Ok();
  }
  if (key == "layout.level") {
    const bool slow = js.MediaClass == advanced::kSlowMediaClass;
    if (v == "auto") {
      if (slow) return Bad("this media prints at a level of 10 at most; the level is not automatic");
      js.PrintLevel |= advanced::kAutoLevel;
      return Ok();
    }
    uint32_t n = 0;
    if (!Number(v, &n) || advanced::LevelPosition(n) < 0)
      return Bad("layout.level is auto or one of 5, 6, 7, 8, 9, 10, 12, 16, 20");
    if (slow && n > advanced::kSlowMediaLevel) return Bad("this media prints at a level of 10 at most");
    js.PrintLevel = n;
    return Ok();
  }
  return {};
}

// The basic page's settings: a paper or media the printer lists, copies
// within its limit; what the page does to the record on each change.
FieldChange SetPage(JobSettings& js, std::string_view key, std::string_view v, const JobFieldPrinter& printer) {
  uint32_t n = 0;
  if (key == "paper") {
    if (!Number(v, &n)) return Bad("paper is a paper number (vq312ctl papers list)");
    const auto paper = std::find_if(printer.papers.begin(), printer.papers.end(),
                                    [n](const PaperInfo& p) { return p.paperId == n; });
    if (paper == printer.papers.end())
      return Bad("paper " + std::to_string(n) + " is not in the printer's paper table");
    if (!printer.narrowMarginAllowed && basic::HasNarrowMargin(*paper))
      return Bad("paper " + std::to_string(n) + " has side margins under 2.7 mm, which the printer does not allow");
    const uint32_t layoutBefore = js.Paper.paperLayout;
    basic::ApplyPaperOption(js, basic::PaperOptionAfter(paper->paperLayout, layoutBefore));
    FieldChange c = Ok();
    if (basic::ApplyMinimumLength(js, basic::CutLength(*paper, layoutBefore)))
      c.note = "labels shorter than 38.1 mm: the cut copy counts are now " + std::to_string(js.CopyCount1) +
               " and " + std::to_string(js.CopyCount2);
    basic::TakePaper(js, *paper);
    return c;
  }
  if (key == "media") {
    if (!Number(v, &n)) return Bad("media is a media number");
    const auto media = std::find_if(printer.media.begin(), printer.media.end(),
                                    [n](const MediaData& m) { return m.mediaId == n; });
    if (media == printer.media.end()) return Bad("media " + std::to_string(n) + " is not in the printer's media table");
    if (media->mediaId == basic::kMediaPlainPaper) js.PrintLevel = basic::PlainPaperPrintLevel(js.PrintLevel);
    js.MediaClass = media->mediaClass;
    js.MediaTypeId = media->mediaId;
    return Ok();
  }
  if (key == "copies") {
    if (printer.maxCopies < 1) return Bad("the printer's copy limit could not be read");
    if (!Number(v, &n) || n < 1 || n > static_cast<uint32_t>(printer.maxCopies))
      return Bad("copies is a number from 1 to " + std::to_string(printer.maxCopies));
    js.dmCopies = static_cast<int16_t>(n);
    return Ok();
  }
  if (key == "orientation") {
    if (v != "portrait" && v != "landscape") return Bad("orientation is portrait or landscape");
    js.dmOrientation = v == "portrait" ? 1 : 2;
    js.OrientationLock = basic::OrientationLockFor(basic::ViewOrientation(js).lockChecked, js.dmOrientation);
    return Ok();
  }
  return {};
}

}  // namespace

FieldChange SetJobField(JobSettings& js, std::string_view key, std::string_view value,
                        const JobFieldPrinter& printer) {
  FieldChange c = SetPage(js, key, value, printer);
  if (c.known) return c;
  for (auto set : {SetCut, SetOverlay, SetLayout}) {
    c = set(js, key, value);
    if (c.known) return c;
  }
  return {};
}

std::vector<FieldValue> GetPageFields(const JobSettings& js, const JobFieldPrinter& printer) {
  auto nameOf = [](const char16_t* name, size_t units) {
    return std::u16string(name, std::find(name, name + units, u'\0'));
  };
  std::u16string media;
  for (const MediaData& m : printer.media)
    if (m.mediaId == js.MediaTypeId) media = nameOf(m.mediaName, std::size(m.mediaName));
  return {{"paper", std::to_string(static_cast<uint16_t>(js.dmPaperSize)),
           nameOf(js.Paper.paperName, std::size(js.Paper.paperName))},
          {"media", std::to_string(js.MediaTypeId), media},
          {"copies", std::to_string(js.dmCopies), {}},
          {"orientation", basic::ViewOrientation(js).portrait ? "portrait" : "landscape",
           js.OrientationLock ? u"locked" : u""}};
}

std::span<const char* const> JobFieldHelp() {
  static constexpr const char* kHelp[] = {
      "paper=NUMBER (vq312ctl papers list)", "media=NUMBER", "copies=1..N",
      "orientation=portrait|landscape", "cut=on|off", "cut.edges=none|leading|trailing|both", "cut.between=on|off",
      "cut.mode=labels|copies", "cut.within=on|off", "cut.every=1..9999",
      "overlay=off|create|use", "overlay.path=FILE.ofe", "overlay.comment=TEXT",
      "overlay.pages=first|every", "overlay.thumbnail=on|off", "layout.pages=1|2|4|6|9|16",
      "layout.border=on|off", "layout.order=normal|reverse",
      "layout.level=auto|5|6|7|8|9|10|12|16|20"};
  return kHelp;
}

}  // namespace vq
