#include "pages/basic/basic_rules.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"
#include "settings/printer_store.h"
#include "uicore/dialog_layout.h"

namespace vq::basic {
namespace {

std::u16string Name(const char16_t* text, size_t capacity) {
  size_t n = 0;
  while (n < capacity && text[n]) ++n;
  return std::u16string(text, n);
}

std::u16string Length(uint32_t value, bool inches, bool point) {
  char16_t text[32] = {};
  uint32_t needed = 0;
  if (inches)
    FormatFixedPoint(TenthMmToHundredthInch(value), 100, point, true, text, sizeof text, &needed);
  else
    FormatFixedPoint(value, 10, point, false, text, sizeof text, &needed);
  return text;
}

}  // namespace

bool HasNarrowMargin(const PaperInfo& paper) {
  uint64_t left = paper.marginLeft, right = paper.marginRight;
  if (paper.paperLayout == 0) {
    left += paper.linerLeft;
    right += paper.linerRight;
  }
  return left < kNarrowMarginBelow || right < kNarrowMarginBelow;
}

int FillPaperList(PaperInfo* table, size_t count, bool narrowMarginAllowed, uint32_t* currentPaper,
                  const std::u16string& prefix, std::vector<std::u16string>* items) {
  items->clear();
  for (size_t i = 0; i < count; ++i) {
    PaperInfo& p = table[i];
    const std::u16string name = Name(p.paperName, std::size(p.paperName));
    if (!narrowMarginAllowed && HasNarrowMargin(p)) {
      items->push_back(prefix + name);
      p.narrowMargin = 1;
      if (p.paperId == *currentPaper) *currentPaper = table[0].paperId;
    } else {
      items->push_back(name);
      p.narrowMargin = 0;
    }
  }
  for (size_t i = 0; i < count; ++i)
    if (table[i].paperId == *currentPaper) return static_cast<int>(i);
  return -1;
}

void TakePaper(JobSettings& js, const PaperInfo& paper) {
  js.dmPaperSize = static_cast<int16_t>(paper.paperId);
  js.dmPaperWidth = static_cast<int16_t>(paper.paperWidth);
  js.dmPaperLength = static_cast<int16_t>(paper.paperLength);
  std::memset(js.dmFormName, 0, sizeof js.dmFormName);
  for (size_t i = 0; i + 1 < std::size(js.dmFormName) && paper.paperName[i]; ++i)
    js.dmFormName[i] = paper.paperName[i];
  js.Paper = paper;
}

uint32_t CutLength(const PaperInfo& paper, uint32_t layoutBefore) {
  return paper.paperLength + (layoutBefore == 0 ? paper.gap : 0);
}

bool ApplyMinimumLength(JobSettings& js, uint32_t length) {
  if (js.Option728 != 1 || length == 0 || length >= kMinimumLabelLength) return false;
  const uint32_t needed = (kMinimumLabelLength + length - 1) / length;
  js.CopyCount1 = std::max(js.CopyCount1, needed);
  js.CopyCount2 = std::max(js.CopyCount2, needed);
  return true;
}

OptionBox PaperOptionAfter(uint32_t newLayout, uint32_t layoutBefore) {
  if (newLayout == kTurnedOnlyLayout) return OptionBox::kForceOn;
  if (layoutBefore == kTurnedOnlyLayout) return OptionBox::kRelease;
  return OptionBox::kLeave;
}

void ApplyPaperOption(JobSettings& js, OptionBox box) {
  if (box == OptionBox::kForceOn) js.PaperOption = 1;
  if (box == OptionBox::kRelease) js.PaperOption = 0;
}

bool CustomPaperEnabled(bool adminAccess, bool userDefaultMode, const PaperInfo& selected) {
  if (!adminAccess) return false;
  return userDefaultMode ? selected.customEditable != 0 : selected.paperId == kUserDefinedPaper;
}

void TakeUserPaper(JobSettings& js, const PaperInfo& userPaper) {
  js.Paper = userPaper;
  js.dmPaperSize = static_cast<int16_t>(userPaper.paperId);
  js.dmPaperWidth = static_cast<int16_t>(userPaper.paperWidth);
  js.dmPaperLength = static_cast<int16_t>(userPaper.paperLength);
}

void MergeUserPaper(JobSettings& js, PaperInfo* table, size_t count, PaperInfo& userPaper) {
  if (js.Paper.paperId == kUserDefinedPaper && static_cast<uint16_t>(js.dmPaperSize) == kUserDefinedPaper) {
    for (size_t i = 0; i < count; ++i)
      if (table[i].paperId == kUserDefinedPaper) table[i] = js.Paper;
    if (userPaper.paperId != kUserDefinedPaper) {
      userPaper = js.Paper;
      js.Option484 = 0;
    }
  }
  if (userPaper.paperId == kUserDefinedPaper)
    for (size_t i = 0; i < count; ++i)
      if (table[i].paperId == kUserDefinedPaper) table[i] = userPaper;
}

CopiesReading ReadCopies(int32_t typed, int32_t maxCopies) {
  if (typed < 1 || typed > maxCopies) return {1, true};
  return {static_cast<int16_t>(typed), false};
}

uint32_t OrientationLockFor(bool lockChecked, int16_t orientation) {
  if (!lockChecked) return 0;
  return orientation == 2 ? kLockLandscape : kLockPortrait;
}

OrientationView ViewOrientation(const JobSettings& js) {
  if (js.OrientationLock & kLockPortrait) return {true, true};
  if (js.OrientationLock & kLockLandscape) return {false, true};
  return {js.dmOrientation != 2, false};
}

uint32_t PlainPaperPrintLevel(uint32_t printLevel) {
  return std::min(printLevel & 0x0FFFFFFFu, kPlainPaperMaxLevel);
}

uint32_t MediaListIndex(const MediaData* media, size_t count, uint32_t mediaId) {
  for (size_t i = 0; i < count; ++i)
    if (media[i].mediaId == mediaId) return static_cast<uint32_t>(i);
  return 0;
}

PageSnapshot ReadPageSnapshot(const JobSettings& js, const MediaData* media, size_t mediaCount,
                              uint32_t paperIndex) {
  PageSnapshot s{};
  s.paperSize = static_cast<uint16_t>(js.dmPaperSize);
  s.mediaIndex = static_cast<uint16_t>(MediaListIndex(media, mediaCount, js.MediaTypeId));
  s.scalingMode = static_cast<uint16_t>(js.ScalingMode);
  s.scale = static_cast<uint16_t>(js.dmScale);
  s.copies = static_cast<uint16_t>(js.dmCopies);
  s.orientation = static_cast<uint16_t>(js.dmOrientation);
  s.paperOption = js.PaperOption;
  s.option728 = js.Option728;
  s.copyCount1 = js.CopyCount1;
  s.copyCount2 = js.CopyCount2;
  s.option740 = js.Option740;
  s.paperIndex = paperIndex;
  s.orientationLock = js.OrientationLock;
  return s;
}

ChangeVerdict CompareSnapshots(const PageSnapshot& reference, const PageSnapshot& live) {
  PageSnapshot a = reference, b = live;
  a.paperIndex = b.paperIndex = 0;  // the same paper may move in a refilled list
  return {reference.copies != live.copies, !(a == b)};
}

void MarkChangedByHand(JobSettings& js, const std::u16string& currentSettingsText) {
  std::memset(js.SettingsName, 0, sizeof js.SettingsName);
  const size_t n = std::min(currentSettingsText.size(), std::size(js.SettingsName) - 1);
  std::copy_n(currentSettingsText.data(), n, js.SettingsName);
  js.SettingsNameId = 0;
}

std::u16string FormatText(const std::u16string& format, const std::vector<FormatArg>& args) {
  std::u16string out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char16_t c = format[i];
    if (c != u'%' || i + 1 == format.size()) {
      out += c;
      continue;
    }
    const char16_t conv = format[i + 1];
    if (conv == u'%') {
      out += u'%';
      ++i;
    } else if ((conv == u'd' || conv == u's') && next < args.size()) {
      const FormatArg& a = args[next++];
      if (a.isText) {
        out += a.text;
      } else {
        const std::string digits = std::to_string(a.number);
        out.append(digits.begin(), digits.end());
      }
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::u16string PaperDetails(const PaperInfo& p, bool inches, bool point, const DetailTexts& t) {
  const std::u16string& unit = inches ? t.inch : t.mm;
  auto len = [&](uint32_t v) { return Length(v, inches, point); };
  std::u16string s = t.size + len(p.paperWidth) + u" x " + len(p.paperLength) + unit + u"\r\n";
  s += t.top + len(p.marginTop) + unit + u"\r\n";
  s += t.bottom + len(p.marginBottom) + unit + u"\r\n";
  s += t.left + len(p.marginLeft) + unit + u"\r\n";
  s += t.right + len(p.marginRight) + unit + u"\r\n";
  s += t.liners + len(p.linerLeft) + u" / " + len(p.linerRight) + unit;
  return s;
}

ProfileWords ReadProfileWords(const unsigned char* entry) {
  ByteReader r(entry, kProfileEntrySize);
  return {r.U32LE(kProfileResolutionOffset), r.U32LE(kProfileHalftoneOffset)};
}

std::vector<FormatArg> ProfileArgs(const ProfileWords& w, const DetailTexts& t) {
  return {{0, w.resolution == 1200 ? t.fine : t.standard, true},
          {0, w.halftone == 1 ? t.dither : t.diffusion, true}};
}

std::u16string MediaDetails(const MediaData& m, const ProfileWords* profile, const DetailTexts& t) {
  std::u16string s = Name(m.mediaName, std::size(m.mediaName)) + u":\r\n";
  // Cyan, magenta, yellow, black of the standard set, then of the fine set.
  static constexpr int kOrder[] = {1, 2, 3, 0, 5, 6, 7, 4};
  std::vector<FormatArg> inks;
  for (int i : kOrder) inks.push_back({m.ink[i], {}, false});
  s += FormatText(t.inks, inks);
  if (profile) s += u"\r\n" + FormatText(t.profile, ProfileArgs(*profile, t));
  return s;
}

}  // namespace vq::basic
