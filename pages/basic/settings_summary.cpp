#include "pages/basic/settings_summary.h"

#include <array>
#include <string>

namespace vq {

namespace {

using Kind = SummaryValue::Kind;

SummaryValue Text(std::u16string text) {
  SummaryValue v;
  v.kind = Kind::kText;
  v.text = std::move(text);
  return v;
}
SummaryValue Id(uint32_t id, uint32_t id2 = 0) {
  SummaryValue v;
  v.kind = Kind::kTextId;
  v.id = id;
  v.id2 = id2;
  return v;
}
SummaryValue OnOff(bool on) { return Id(on ? kOnText : kOffText); }
SummaryValue Number(int32_t n) {
  SummaryValue v;
  v.kind = Kind::kNumber;
  v.number = n;
  return v;
}
SummaryValue NotApplicable() {
  SummaryValue v;
  v.kind = Kind::kNotApplicable;
  return v;
}
bool IsId(const SummaryValue& v, uint32_t id) { return v.kind == Kind::kTextId && v.id == id; }

template <size_t N>
std::u16string Field(const char16_t (&field)[N]) {
  size_t n = 0;
  while (n < N && field[n]) ++n;
  return std::u16string(field, n);
}

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

// The print-speed levels and their texts (the advanced page's slider).
constexpr std::array<std::pair<uint32_t, uint32_t>, 10> kLevelTexts = {{
    {5, 5014}, {6, 5015}, {7, 5016}, {8, 5017}, {9, 5018},
    {10, 5019}, {12, 5020}, {15, 5021}, {16, 5022}, {20, 5023},
}};

constexpr uint32_t kOverlayOn = 0x80000000u;
constexpr uint32_t kAutomaticLevel = 0x80000000u;

}  // namespace

uint32_t PrintLevelText(uint32_t level) {
  for (const auto& [value, text] : kLevelTexts)
    if (value == level) return text;
  return 0;
}

std::vector<SummaryRow> BuildSummaryRows(const JobSettings& js, const SummarySources& sources,
                                         bool withScaling) {
  const MediaData* media = nullptr;
  for (const MediaData& m : sources.media)
    if (m.mediaId == js.MediaTypeId) media = &m;
  const bool monochrome = js.Monochrome == 1 && js.MonoTone == 255;
  const bool profiled = media && media->profileNumber != 0;
  const bool overlay = js.OverlayMode & kOverlayOn;
  auto listName = [](const std::vector<std::u16string>& names, uint64_t i) {
    return i < names.size() ? Text(names[i]) : Text(u"");
  };

  std::vector<SummaryRow> rows;
  rows.push_back({4912, 175, Text(Field(js.Paper.paperName))});
  rows.push_back({4919, 176, Text(media ? Field(media->mediaName) : u"")});
  if (withScaling) rows.push_back({4913, 283, OnOff(js.ScalingMode != 0)});
  rows.push_back({4915, 0, Number(js.dmCopies)});
  rows.push_back({4914, 173, Id(js.dmOrientation == 1 ? 4963 : 4964)});
  rows.push_back({4916, 171, OnOff(js.PaperOption != 0)});
  rows.push_back({4918, 0, OnOff(js.OrientationLock & (kLockPortrait | kLockLandscape))});

  const uint32_t mode = js.ColorModeType != 0 ? (js.ColorModeType == 6) : (js.ColorMode == 1);
  rows.push_back({4927, 145, monochrome || profiled ? NotApplicable() : listName(sources.colourModes, mode)});
  rows.push_back({4930, 0, monochrome || js.ColorMode == 0 || profiled
                               ? NotApplicable()
                               : OnOff(js.ColorOptions & 1)});
  rows.push_back({4947, 0, Id(js.dmPrintQuality == 1200 ? 5002 : 5003)});
  rows.push_back({4975, 140, OnOff(js.Monochrome != 0)});
  SummaryValue balance;
  balance.kind = Kind::kBalance;
  balance.balance[0] = js.CyanBalance;
  balance.balance[1] = js.MagentaBalance;
  balance.balance[2] = js.YellowBalance;
  balance.balance[3] = js.BlackBalance;
  rows.push_back({4948, 0, balance});
  rows.push_back({4945, 0, js.Halftone == 1 ? Id(4999) : js.Halftone == 3 ? Id(5000) : Text(u"")});
  rows.push_back({4953, 0, js.ColorMode == 0 || profiled
                               ? NotApplicable()
                               : listName(sources.gammas, uint64_t{js.GammaIndex} - 1)});
  rows.push_back({4954, 0, Number(int32_t(js.ColorStyle))});
  rows.push_back({4949, 0, monochrome ? NotApplicable() : Number(js.ToneLevel1)});
  rows.push_back({4958, 0, monochrome ? NotApplicable() : Number(js.ToneLevel2)});

  const bool cutting = js.Option728 != 0;
  rows.push_back({4920, 375, OnOff(cutting)});
  auto cutBit = [&](uint32_t bit) { return cutting ? OnOff(js.Option740 & bit) : NotApplicable(); };
  rows.push_back({4921, 0, cutBit(cut_option::kLeadingEdge)});
  rows.push_back({4922, 0, cutBit(cut_option::kTrailingEdge)});
  const SummaryValue between = cutBit(cut_option::kBetweenLabels);
  rows.push_back({4923, 0, between});
  const SummaryValue cutMode =
      IsId(between, kOnText) ? Id(js.Option740 & cut_option::kSecondMode ? 5005 : 5004) : NotApplicable();
  rows.push_back({4924, 0, cutMode});
  const SummaryValue withinCopy = IsId(cutMode, 5005) ? OnOff(js.Option740 & cut_option::kSecondModeCount) : NotApplicable();
  rows.push_back({4925, 0, withinCopy});
  SummaryValue every = NotApplicable();
  if (IsId(cutMode, 5004)) every = Number(int32_t(js.CopyCount2));
  else if (IsId(withinCopy, kOnText)) every = Number(int32_t(js.CopyCount1));
  rows.push_back({4926, 0, every});

  rows.push_back({4960, 388, OnOff(overlay)});
  SummaryValue overlayKind = NotApplicable();
  if (overlay) overlayKind = js.OverlayMode & 1 ? Id(4996) : js.OverlayMode & 2 ? Id(4997) : Text(u"");
  rows.push_back({4970, 0, overlayKind});
  rows.push_back({4959, 0, overlay ? OnOff(js.OverlayPreview == 1) : NotApplicable()});
  rows.push_back({4971, 0, overlay && !(js.OverlayMode & 2) ? Text(Field(js.OverlayComment))
                                                             : NotApplicable()});
  rows.push_back({4974, 0, overlay ? OnOff(js.OverlayOption != 2) : NotApplicable()});

  constexpr uint32_t kOrderTexts[] = {4991, 4992, 4995};
  rows.push_back({4967, 342, js.PagesPerSheet == 1 && js.PageOrder < 3 ? Id(kOrderTexts[js.PageOrder])
                                                                        : NotApplicable()});
  SummaryValue speed = Id(4993);
  if (!(js.PrintLevel & kAutomaticLevel)) {
    const uint32_t level = PrintLevelText(js.PrintLevel & 0x0FFFFFFF);
    speed = level ? Id(level, kSpeedUnitText) : Id(kSpeedUnitText);
  }
  rows.push_back({4968, 381, speed});
  return rows;
}

std::u16string FormatNumbers(std::u16string_view format, std::span<const int32_t> numbers) {
  std::u16string out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == u'%' && i + 1 < format.size()) {
      if (format[i + 1] == u'd') {
        out += next < numbers.size() ? Ascii(std::to_string(numbers[next++])) : u"";
        ++i;
        continue;
      }
      if (format[i + 1] == u'%') {
        out += u'%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

std::u16string FormatSummaryValue(const SummaryValue& v, bool clipboard, const TextLookup& textOf) {
  switch (v.kind) {
    case Kind::kText: return v.text;
    case Kind::kTextId: return textOf(v.id) + (v.id2 ? textOf(v.id2) : u"");
    case Kind::kNumber: return Ascii(std::to_string(v.number));
    case Kind::kBalance:
      return FormatNumbers(textOf(clipboard ? kBalanceClipText : kBalanceListText), v.balance);
    case Kind::kNotApplicable:
      return textOf(clipboard ? kNotApplicableClipText : kNotApplicableListText);
  }
  return {};
}

std::u16string VersionBlock(std::u16string_view separator) {
  const std::u16string lines[] = {u"Microsoft Windows 8.1 / 10", std::u16string(kModelName),
                                  u"Version 1.00",
                                  u"Copyright (C) 2026 Morva. All rights reserved."};
  std::u16string out;
  for (const auto& line : lines) {
    if (!out.empty()) out += separator;
    out += line;
  }
  return out;
}

std::u16string SummaryText(const std::vector<SummaryRow>& rows, const TextLookup& textOf,
                           std::u16string_view driverName, std::u16string_view printerName) {
  auto line = [](std::u16string_view label, std::u16string_view value) {
    return std::u16string(label) + u" : " + std::u16string(value) + u"\r\n";
  };
  std::u16string out = line(textOf(5390), driverName) + line(textOf(5391), printerName);
  out += std::u16string(80, u'=') + u"\r\n";
  for (const SummaryRow& row : rows) out += line(textOf(row.label), FormatSummaryValue(row.value, true, textOf));
  out += textOf(4733) + u" : \r\n" + VersionBlock(u"\r\n") + u"\r\n";
  return out;
}

}  // namespace vq
