#include "pages/utility/maintenance_rules.h"

#include <algorithm>
#include <cstdlib>

namespace vq::maint {
namespace {

int32_t Limit(int32_t v, int32_t bound) { return std::clamp(v, -bound, bound); }

bool Outside(int8_t v, int32_t bound) { return v < -bound || v > bound; }

void AppendNumber(std::u16string* out, long long v, int minDigits = 1) {
  std::string digits = std::to_string(v < 0 ? -v : v);
  if (static_cast<int>(digits.size()) < minDigits)
    digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
  if (v < 0) out->push_back(u'-');
  for (char c : digits) out->push_back(static_cast<char16_t>(c));
}

// "%d" and "%%" only, the numbers taken in order.
std::u16string FormatInts(std::u16string_view format, std::initializer_list<int> numbers) {
  std::u16string out;
  auto next = numbers.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == u'%' && i + 1 < format.size()) {
      if (format[i + 1] == u'%') {
        out.push_back(u'%');
        ++i;
        continue;
      }
      if (format[i + 1] == u'd' && next != numbers.end()) {
        AppendNumber(&out, *next++);
        ++i;
        continue;
      }
    }
    out.push_back(format[i]);
  }
  return out;
}

CorrectionRange Range(int32_t lower, int32_t upper, int32_t limit) {
  const int32_t lo = Limit(lower, limit), hi = Limit(upper, limit);
  return {lo, hi, lo > 0 ? lo : hi < 0 ? hi : 0};
}

}  // namespace

const UtilityButton* FindUtilityButton(uint16_t id) {
  for (const UtilityButton& b : kUtilityButtons)
    if (b.button == id) return &b;
  return nullptr;
}

bool ButtonShown(const UtilityButton& button, uint32_t flags) {
  return button.flagBit != 0 && (flags & button.flagBit) != 0;
}

std::u16string ProgressLine(std::u16string_view format, uint8_t a, uint8_t b, bool twoBytes) {
  if (twoBytes && a != 0) return FormatInts(format, {b, a});
  std::u16string_view cut = format.substr(0, format.find(u'('));
  while (!cut.empty() && cut.back() == u' ') cut.remove_suffix(1);
  return FormatInts(cut, {twoBytes ? b : a});
}

uint32_t PackSleepTimer(uint32_t first, uint32_t second) {
  const uint32_t reversed = (second & 0xFF) << 24 | (second >> 8 & 0xFF) << 16 |
                            (second >> 16 & 0xFF) << 8 | second >> 24;
  return first | reversed;
}

int32_t ClampTypedValue(std::u16string_view typed, int32_t lo, int32_t hi) {
  size_t i = 0;
  const bool negative = !typed.empty() && typed[0] == u'-';
  if (negative) i = 1;
  long long value = 0;
  for (; i < typed.size() && typed[i] >= u'0' && typed[i] <= u'9'; ++i)
    value = std::min<long long>(value * 10 + (typed[i] - u'0'), 1ll << 40);
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<long long>(value, lo, hi));
}

std::u16string FormatCutterOffset(int v, bool inches) {
  std::u16string out;
  const int scale = inches ? 100 : 10;
  const int n = inches ? (v >= 0 ? (100 * v + 127) / 254 : (100 * v - 127) / 254) : v;
  const int whole = n / scale;
  if (n < 0 && whole == 0) out.push_back(u'-');
  AppendNumber(&out, whole);
  out.push_back(u'.');
  AppendNumber(&out, std::abs(n - scale * whole), inches ? 2 : 1);
  return out;
}

SpecialSwitches SwitchesFromBytes(uint8_t s1, uint8_t s2) {
  SpecialSwitches s{};
  s.autoCleaning = s1 & 0x20;
  s.wideMargins = s1 & 0x10;
  s.buzzer = s1 & 0x02;
  s.inkSaving = s1 & 0x80;
  s.gapDetection = !(s1 & 0x04);
  s.extraDrying = s2 & 0x02;
  s.headRaise = (s1 & 0x08 ? 1 : 0) + (s2 & 0x01 ? 2 : 0);
  return s;
}

void SwitchesToBytes(const SpecialSwitches& s, uint8_t* s1, uint8_t* s2) {
  auto put = [](uint8_t* byte, uint8_t bit, bool on) {
    *byte = on ? uint8_t(*byte | bit) : uint8_t(*byte & ~bit);
  };
  put(s1, 0x20, s.autoCleaning);
  put(s1, 0x10, s.wideMargins);
  put(s1, 0x02, s.buzzer);
  put(s1, 0x80, s.inkSaving);
  put(s1, 0x04, !s.gapDetection);
  put(s2, 0x02, s.extraDrying);
  put(s1, 0x08, s.headRaise == 1 || s.headRaise == 3);
  put(s2, 0x01, s.headRaise == 2 || s.headRaise == 3);
}

bool IsExtendedRange(const Registration& r) {
  return Outside(r[0], 64) || Outside(r[1], 64) || Outside(r[2], 64) || Outside(r[3], 32) ||
         Outside(r[6], 30) || Outside(r[7], 30) || Outside(r[8], 30) || Outside(r[9], 30);
}

bool PaperHoldsAdjustmentPattern(int32_t paperWidth, int32_t marginLeft, int32_t marginRight,
                                 int32_t paperLength) {
  return paperWidth - marginLeft - marginRight >= 196 && paperLength >= 381;
}

int RegistrationSizeClass(int32_t width, int32_t marginLeft, int32_t marginRight, int32_t length) {
  return width - marginLeft - marginRight >= 708 && length >= 762 ? 1 : 2;
}

int32_t CorrectionLimit(Correction c, bool extended, int sizeClass) {
  if (extended) return 127;
  if (sizeClass != 1) return 8;
  return c == kC6038 || c == kC6041 || c == kC6049 || c == kC6054 ? 32 : 30;
}

CorrectionRange StageRange(Correction c, const Registration& r, const Corrections& e,
                           bool extended, int sizeClass) {
  const int32_t limit = CorrectionLimit(c, extended, sizeClass);
  int32_t x = 0;
  switch (c) {
    case kC6038:
      return Range(-r[3] - 32, 32 - r[3], limit);
    case kC6042:
      return Range(-r[9] - 30, 30 - r[9], limit);
    case kC6041:
      x = e[kC6038] + r[1];
      return Range(x - 64, x + 64, limit);
    case kC6061:
      x = e[kC6042] + r[7];
      return Range(x - 30, x + 30, limit);
    case kC6049:
    case kC6054:
      x = e[kC6041] - (c == kC6049 ? r[0] : r[2]) - e[kC6038];
      return Range(x - 64, x + 64, limit);
    case kC6063:
    case kC6065:
      x = e[kC6061] - (c == kC6063 ? r[6] : r[8]) - e[kC6042];
      return Range(x - 30, x + 30, limit);
    default:
      return {0, 0, 0};
  }
}

Registration AddCorrections(const Registration& r, const Corrections& e, bool extended) {
  const int32_t first = e[kC6038] - e[kC6041], second = e[kC6042] - e[kC6061];
  const int32_t narrow = extended ? 127 : 32, rows = extended ? 127 : 30;
  Registration out = r;
  out[3] = int8_t(Limit(r[3] + e[kC6038], narrow));
  out[1] = int8_t(Limit(r[1] + first, 64));
  out[0] = int8_t(Limit(r[0] + first + e[kC6049], 64));
  out[2] = int8_t(Limit(r[2] + first + e[kC6054], 64));
  out[9] = int8_t(Limit(r[9] + e[kC6042], rows));
  out[7] = int8_t(Limit(r[7] + second, rows));
  out[6] = int8_t(Limit(r[6] + second + e[kC6063], rows));
  out[8] = int8_t(Limit(r[8] + second + e[kC6065], rows));
  return out;
}

int RegistrationPaperType(uint8_t layout, int32_t dmPaperLength, int32_t width, int32_t linerLeft,
                          int32_t linerRight) {
  if (layout >= 128) return dmPaperLength > 950 ? 5 : 6;
  const int32_t w = width + (layout == 0 ? linerLeft + linerRight : 0);
  return w < 351 ? 6 : w <= 730 ? 5 : 4;
}

int32_t RowMean(int32_t a, int32_t b, int32_t c) {
  const int32_t sum = a + b + c;
  const int32_t t = 10 * sum / 3;
  return sum >= 0 ? (t + 5) / 10 : (t - 5) / 10;
}

int32_t DetailLimit(int32_t width, int32_t marginLeft, int32_t marginRight, bool extended) {
  if (extended) return 127;
  return width - marginLeft - marginRight >= 708 ? 8 : 4;
}

DetailRanges DetailStageRanges(int stage, const Registration& r, int32_t k, int32_t limit) {
  DetailRanges d{};
  if (stage == 2) {
    d.first = Range(r[1] - 64, r[1] + 64, limit);
  } else {
    d.second = Range(k - r[0] - 64, k - r[0] + 64, limit);
    d.third = Range(k - r[2] - 64, k - r[2] + 64, limit);
  }
  return d;
}

Registration AddDetailCorrections(const Registration& r, int32_t k, int32_t m2, int32_t m3) {
  Registration out = r;
  out[3] = int8_t(Limit(r[3], 64));
  out[1] = int8_t(Limit(r[1] - k, 64));
  out[0] = int8_t(Limit(r[0] + m2 - k, 64));
  out[2] = int8_t(Limit(r[2] + m3 - k, 64));
  return out;
}

bool IsDetailExtendedRange(const Registration& r) {
  return Outside(r[0], 64) || Outside(r[1], 64) || Outside(r[2], 64) || Outside(r[3], 32);
}

int32_t SliderCorrection(int32_t centre, int32_t position, const CorrectionRange& range) {
  return std::clamp(SliderValue(centre, position), range.lo, range.hi);
}

std::u16string CorrectionEditText(std::u16string_view typed, int32_t lo, int32_t hi) {
  if (typed.empty() || typed == u"-") return {};
  std::u16string out;
  AppendNumber(&out, ClampTypedValue(typed, lo, hi));
  return out;
}

uint32_t InkFillAlertMessage(uint8_t code) {
  if (code >= 1 && code <= 4) return 4068;
  if (code == 5 || code == 7 || code == 9) return 4069;
  if (code == kAlertHeadFault || code == kAlertBoxNearFull) return 4070;
  if (code == kAlertOffline) return 4072;
  if (code == kAlertInkEmpty) return 0;
  return 4071;
}

ExchangeStart JudgeInkExchangeStart(const StateRecordView& record) {
  const auto alertByte = record.Byte(kAlertSectionField, 4);
  if (alertByte && *alertByte != 0) {
    // Only a single empty (or low, when the printer is not already in the
    // exchange mode) tank of the kind this exchange replaces lets it start.
    const auto mode = record.Byte(kStateSectionField, 4);
    for (const StateRecordView::Alert& a : record.Alerts()) {
      const bool theTank = (a.value & 0x0F) == 0x04;
      if (theTank && (a.code == kAlertInkEmpty || (a.code == kAlertInkLow && mode != 1)))
        return {true, 0, false};
    }
    return {false, 4057, false};
  }
  if (!record.Has(kAlertSectionField) && RecordSaysBusy(record)) return {true, 4057, false};
  const auto mode = record.Byte(kStateSectionField, 4);
  if (!mode) return {false, 4053, false};
  return {true, 0, *mode == kModeAsleep};
}

}  // namespace vq::maint
