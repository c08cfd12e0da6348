#include "pages/colour/colour_rules.h"

#include "base/byte_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vq::colour {

int ItemOfRow(size_t row) {
  if (row >= kChoiceRowCount) return -1;
  int item = 0;
  for (size_t i = 0; i < row; ++i)
    if (kChoiceRows[i].listId == kChoiceRows[row].listId) ++item;
  return item;
}

int RowOfItem(uint32_t listId, int item) {
  for (size_t i = 0; i < kChoiceRowCount; ++i)
    if (kChoiceRows[i].listId == listId && ItemOfRow(i) == item) return static_cast<int>(i);
  return -1;
}

void ApplyChoice(size_t row, JobSettings* js) {
  if (row >= kChoiceRowCount) return;
  const int16_t* v = kChoiceRows[row].values;
  switch (kChoiceRows[row].listId) {
    case kColourModeList:
      js->ColorMode = static_cast<uint32_t>(v[0]);
      js->ColorModeType = static_cast<uint32_t>(v[1]);
      js->IcmMode = static_cast<uint32_t>(v[2]);
      js->dmICMMethod = static_cast<uint32_t>(v[3]);
      js->Mcc3Flags &= ~1u;
      break;
    case kResolutionList:
      js->dmPrintQuality = v[0];
      js->dmYResolution = v[1];
      break;
    case kHalftoneList:
      js->Halftone = static_cast<uint32_t>(v[0]);
      break;
  }
}

ListSelection SelectFromRecord(const JobSettings& js) {
  ListSelection s{-1, -1, -1};
  for (size_t i = 0; i < kChoiceRowCount; ++i) {
    const int16_t* v = kChoiceRows[i].values;
    switch (kChoiceRows[i].listId) {
      case kColourModeList:
        if (js.ColorMode == uint32_t(v[0]) && js.ColorModeType == uint32_t(v[1]) &&
            js.IcmMode == uint32_t(v[2]) && js.dmICMMethod == uint32_t(v[3]))
          s.colourMode = ItemOfRow(i);
        break;
      case kResolutionList:
        if (js.dmPrintQuality == v[0] && js.dmYResolution == v[1]) s.resolution = ItemOfRow(i);
        break;
      case kHalftoneList:
        if (js.Halftone == uint32_t(v[0])) s.halftone = ItemOfRow(i);
        break;
    }
  }
  return s;
}

void SetGrayscale(JobSettings* js, bool on) {
  js->Monochrome = on ? 1 : 0;
  js->ColorPlanes = on ? 1 : 4;
  js->MonoTone = 255;
}

bool ColourSettingsChanged(const JobSettings& w, const JobSettings& a) {
  return w.ColorModeType != a.ColorModeType || w.ColorMode != a.ColorMode ||
         w.Monochrome != a.Monochrome || w.MonoTone != a.MonoTone || w.Mcc3Flags != a.Mcc3Flags ||
         w.ColorOptions != a.ColorOptions || w.dmPrintQuality != a.dmPrintQuality ||
         w.dmYResolution != a.dmYResolution || w.Halftone != a.Halftone ||
         w.Option1348 != a.Option1348;
}

void ApplyColourDefaults(const JobSettings& d, JobSettings* w) {
  const JobSettings kept = *w;
  // The colour block: twenty words from CyanBalance.
  std::memcpy(&w->CyanBalance, &d.CyanBalance, 80);
  w->CyanBalance = kept.CyanBalance;
  w->MagentaBalance = kept.MagentaBalance;
  w->YellowBalance = kept.YellowBalance;
  w->BlackBalance = kept.BlackBalance;
  w->ToneLevel1 = kept.ToneLevel1;
  w->ToneLevel2 = kept.ToneLevel2;
  w->GammaIndex = kept.GammaIndex;
  w->ColorStyle = kept.ColorStyle;
  w->MediaClass = kept.MediaClass;
  w->ColorOptions = (w->ColorOptions & ~1u) | (kept.ColorOptions & 1u);
  w->ColorPlanes = d.ColorPlanes;
  w->dmICMMethod = d.dmICMMethod;
  w->dmPrintQuality = d.dmPrintQuality;
  w->dmYResolution = d.dmYResolution;
  w->Option1348 = d.Option1348;
  w->ColorFlags &= ~1u;
}
static_assert(offsetof(JobSettings, Reserved572) - offsetof(JobSettings, CyanBalance) == 76,
              "the colour block's twentieth word is the first reserved word");

AdjustmentSnapshot TakeAdjustmentSnapshot(const JobSettings& js) {
  return {{js.CyanBalance, js.MagentaBalance, js.YellowBalance, js.BlackBalance, js.ToneLevel1,
           js.ToneLevel2},
          js.GammaIndex,
          js.ColorStyle,
          js.ColorFlags & 6u,
          js.ColorOptions & 1u};
}

uint32_t MediaProfileNumber(const MediaData* table, size_t count, uint32_t mediaTypeId) {
  for (size_t i = 0; table && i < count; ++i)
    if (table[i].mediaId == mediaTypeId) return table[i].profileNumber;
  return 0;
}

PageEnables ColourPageEnables(bool grayscaleChecked, uint32_t profileNumber) {
  if (grayscaleChecked) return {false, true};
  return {profileNumber == 0, true};
}

bool ShowsGrayscalePicture(const JobSettings& js) { return js.Monochrome == 1 && js.MonoTone == 255; }

uint64_t PackedBitmapLength(const uint8_t* data, size_t size) {
  if (!data || size < 40) return 0;
  const ByteReader r(data, size);
  const uint32_t header = r.U32LE(0);
  const int64_t width = static_cast<int32_t>(r.U32LE(4));
  const int64_t height = static_cast<int32_t>(r.U32LE(8));
  const uint16_t bits = r.U16LE(14);
  if (header < 40 || header > 124 || width <= 0 || height == 0 || (bits != 24 && bits != 32))
    return 0;
  const uint64_t stride = (uint64_t(width) * bits / 8 + 3) & ~uint64_t{3};
  return header + stride * uint64_t(height < 0 ? -height : height);
}

// ---- Colour adjustment dialog -------------------------------------------

namespace {
int32_t Clamp(int32_t v) { return std::clamp(v, kAdjustMin, kAdjustMax); }
}  // namespace

AdjustmentState LoadAdjustments(const JobSettings& js) {
  AdjustmentState s{};
  s.balance[0] = Clamp(js.CyanBalance);
  s.balance[1] = Clamp(js.MagentaBalance);
  s.balance[2] = Clamp(js.YellowBalance);
  s.balance[3] = Clamp(js.BlackBalance);
  s.tone[0] = Clamp(js.ToneLevel1);
  s.tone[1] = Clamp(js.ToneLevel2);
  s.halftone = js.Halftone;
  s.gamma = js.GammaIndex >= 1 && js.GammaIndex <= 3 ? js.GammaIndex : 2;
  s.style = js.ColorStyle <= 3 ? js.ColorStyle : 0;
  s.option552 = js.Option552;
  s.optionFlag = (js.ColorOptions & 1u) != 0;
  s.flagPair = js.ColorFlags & 6u;
  return s;
}

void StoreAdjustments(const AdjustmentState& s, JobSettings* js) {
  CopyToPreview(s, js);
  js->Halftone = s.halftone;
  js->ColorOptions = (js->ColorOptions & ~1u) | (s.optionFlag ? 1u : 0u);
  js->ColorFlags = (js->ColorFlags & ~6u) | (s.flagPair & 6u);
}

void CopyToPreview(const AdjustmentState& s, JobSettings* p) {
  p->CyanBalance = s.balance[0];
  p->MagentaBalance = s.balance[1];
  p->YellowBalance = s.balance[2];
  p->BlackBalance = s.balance[3];
  p->ToneLevel1 = s.tone[0];
  p->ToneLevel2 = s.tone[1];
  p->GammaIndex = s.gamma;
  p->ColorStyle = s.style;
  p->Option552 = s.option552;
}

AdjustmentState DefaultAdjustments(const JobSettings& defaults) {
  AdjustmentState s{};
  s.optionFlag = (defaults.ColorOptions & 1u) != 0;
  s.halftone = 3;
  s.gamma = 2;
  return s;
}

bool GammaLocked(const JobSettings& js, uint32_t profileNumber) {
  return (js.Monochrome != 1 && (js.IcmMode == 1 || js.ColorModeType == 6)) || profileNumber != 0;
}

bool AdjustmentsGrayscale(const JobSettings& js) { return js.MonoTone == 255 && js.ColorPlanes == 1; }

EditReading ReadAdjustmentText(std::u16string_view text) {
  text = text.substr(0, 7);
  const size_t minus = text.find(u'-', 1);
  const bool cut = minus != std::u16string_view::npos;
  if (cut) text = text.substr(minus);
  EditReading r{};
  // Sign and digits as far as they go; a run of digits saturates well
  // outside the limits instead of overflowing.
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (negative) i = 1;
  int64_t magnitude = 0;
  const size_t firstDigit = i;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    magnitude = std::min<int64_t>(magnitude * 10 + (text[i] - u'0'), 1000000);
  const bool digits = i > firstDigit;
  const int32_t parsed = static_cast<int32_t>(negative ? -magnitude : magnitude);
  r.value = Clamp(parsed);
  const bool typing = text.empty() || text == u"-";
  // Rewrite when the stored number is not what the edit shows: clamped,
  // not a number, cut at an inner "-", or with letters after the digits.
  r.rewrite = cut || (!typing && (!digits || r.value != parsed || i != text.size()));
  if (r.rewrite) {
    char buf[8];
    const int n = std::snprintf(buf, sizeof buf, "%d", r.value);
    for (int k = 0; k < n && k < 7; ++k) r.text[k] = static_cast<char16_t>(buf[k]);
  }
  return r;
}

int32_t ScrollTarget(int code, int32_t pos, int32_t range, int32_t thumb) {
  switch (code) {
    case 0: return pos <= 0 ? 0 : pos - 1;                  // SB_LINELEFT
    case 1: return std::min(pos + 1, range);                // SB_LINERIGHT
    case 2: return pos - 5 > 0 ? pos - 5 : 0;               // SB_PAGELEFT
    case 3: return std::min(pos + 5, range);                // SB_PAGERIGHT
    case 4:                                                 // SB_THUMBPOSITION
    case 5: return std::clamp(thumb, 0, range);             // SB_THUMBTRACK
    case 6: return 0;                                       // SB_LEFT
    case 7: return range;                                   // SB_RIGHT
    default: return pos;                                    // SB_ENDSCROLL
  }
}

uint8_t TroughComponent(uint8_t ink, int x, int w) {
  if (w <= 0) return 255;
  auto logistic = [](double t) { return 1.0 / (1.0 + std::exp(-t)); };
  const double s = (logistic((x - w / 2.0) / (w / 8.0)) - logistic(-4)) / (logistic(4) - logistic(-4));
  const double v = 255 - std::trunc((255 - ink) * s);
  return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}

}  // namespace vq::colour
