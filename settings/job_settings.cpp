#include "settings/job_settings.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

#include "devinfo/difm_api.h"
#include "devinfo/text_ids.h"
#include "settings/printer_store.h"

namespace vq {
namespace {

template <size_t N>
void CopyText(char16_t (&dst)[N], std::u16string_view src) {
  // An index loop: GCC 12 misreads std::copy_n bounded by min() as an overread.
  size_t i = 0;
  for (; i + 1 < N && i < src.size(); ++i) dst[i] = src[i];
  for (; i < N; ++i) dst[i] = u'\0';
}

template <size_t N>
std::u16string_view TextOf(const char16_t (&src)[N]) {
  return {src, static_cast<size_t>(std::find(src, src + N, u'\0') - src)};
}

int16_t ToShort(uint32_t v) { return static_cast<int16_t>(v); }

uint32_t FieldsFor(PrinterStore* printer) {
  return GetPrinterDword(printer, pd::kScaling) != 0 ? kJobFields | kDmScale : kJobFields;
}

const PaperInfo* FindPaper(const std::vector<PaperInfo>& table, int32_t paperId) {
  for (const PaperInfo& p : table)
    if (static_cast<int32_t>(p.paperId) == paperId) return &p;
  return nullptr;
}

// Custom-size limits by paper layout, in 0.1 mm. A range with max < min is
// not tested.
struct Range {
  int64_t min, max;
  bool Holds(int64_t v) const { return v >= min && v <= max; }
  bool Tested() const { return max >= min; }
};
struct LayoutLimits {
  bool listed;
  int64_t widthMin, widthMax;
  int64_t marginTopBottomMin, marginLeftRightMin;
  Range gap, linerTotal;
};

constexpr Range kNoTest{1, 0};
constexpr Range kLength{60, 5000};

LayoutLimits LimitsFor(uint32_t layout) {
  using namespace paper_layout;
  switch (layout) {
    case kLabelsOnLiner: return {true, 240, 1190, 15, 15, {25, 95}, {250, 1200}};
    case kRoundLabelsOnLiner: return {true, 240, 1190, 15, 15, kNoTest, kNoTest};
    case kBlackMark:
    case kHoleMark: return {true, 250, 1200, 15, 27, {30, 100}, kNoTest};
    case kRoundBlackMark:
    case kRoundHoleMark: return {true, 250, 1200, 15, 27, kNoTest, kNoTest};
    case kContinuous:
    case kFanFold: return {true, 250, 1200, 15, 27, kNoTest, kNoTest};
    default: return {false, 0, 0, 0, 0, kNoTest, kNoTest};
  }
}

// Upper margin bound: the dimension less the opposite margin less 30,
// never below the margin minimum.
Range MarginRange(int64_t minimum, int64_t dimension, int64_t opposite) {
  return {minimum, std::max(minimum, dimension - opposite - 30)};
}

// One pass of the limits; returns whether anything was reset. Margins depend
// on each other and on the size, so the caller repeats passes until none
// resets anything: every reset takes the reference value, so this ends.
bool ApplyLimitsOnce(JobSettings* js, const PaperInfo& ref, const LayoutLimits& lim) {
  PaperInfo& p = js->Paper;
  bool changed = false;
  auto reset = [&changed](auto& field, auto value) {
    using T = std::remove_reference_t<decltype(field)>;
    if (field != static_cast<T>(value)) {
      field = static_cast<T>(value);
      changed = true;
    }
  };
  if (!lim.listed) {
    reset(js->dmPaperWidth, ref.paperWidth);
    reset(js->dmPaperLength, ref.paperLength);
    reset(p.marginTop, ref.marginTop);
    reset(p.marginBottom, ref.marginBottom);
    reset(p.marginLeft, ref.marginLeft);
    reset(p.marginRight, ref.marginRight);
    return changed;
  }
  if (!Range{lim.widthMin, lim.widthMax}.Holds(js->dmPaperWidth))
    reset(js->dmPaperWidth, ref.paperWidth);
  if (!kLength.Holds(js->dmPaperLength)) reset(js->dmPaperLength, ref.paperLength);
  const int64_t width = js->dmPaperWidth, length = js->dmPaperLength;
  if (!MarginRange(lim.marginTopBottomMin, length, p.marginBottom).Holds(p.marginTop))
    reset(p.marginTop, ref.marginTop);
  if (!MarginRange(lim.marginTopBottomMin, length, p.marginTop).Holds(p.marginBottom))
    reset(p.marginBottom, ref.marginBottom);
  if (!MarginRange(lim.marginLeftRightMin, width, p.marginRight).Holds(p.marginLeft))
    reset(p.marginLeft, ref.marginLeft);
  if (!MarginRange(lim.marginLeftRightMin, width, p.marginLeft).Holds(p.marginRight))
    reset(p.marginRight, ref.marginRight);

  const uint32_t layout = p.paperLayout;
  // Liners are checked on die-cut labels only, and only where the paper lets
  // the user edit both of them.
  if ((p.customEditable & (kEditLinerLeft | kEditLinerRight)) ==
          (kEditLinerLeft | kEditLinerRight) &&
      layout == 0) {
    if (int64_t{p.marginLeft} + p.linerLeft < 27 || p.linerLeft > 50)
      reset(p.linerLeft, ref.linerLeft);
    if (int64_t{p.marginRight} + p.linerRight < 27 || p.linerRight > 955)
      reset(p.linerRight, ref.linerRight);
    if (!lim.linerTotal.Holds(int64_t{p.linerLeft} + p.linerRight + width)) {
      reset(p.linerLeft, ref.linerLeft);
      reset(p.linerRight, ref.linerRight);
    }
  }
  if ((p.customEditable & kEditGap) && (layout == 0 || layout == 1 || layout == 3) &&
      lim.gap.Tested() && !lim.gap.Holds(p.gap))
    reset(p.gap, ref.gap);
  return changed;
}

// Whether a user-defined size with a locked orientation asks to be turned:
// it matches the stored paper only turned, or else only its turned size is
// in the table.
bool WantsTurn(const JobSettings& js, const std::vector<PaperInfo>& table) {
  const PaperInfo& paper = js.Paper;
  const auto w = static_cast<uint32_t>(static_cast<uint16_t>(js.dmPaperWidth));
  const auto l = static_cast<uint32_t>(static_cast<uint16_t>(js.dmPaperLength));
  const bool asStored = SizeMatches(w, paper.paperWidth, 1) && SizeMatches(l, paper.paperLength, 1);
  const bool turned = SizeMatches(w, paper.paperLength, 1) && SizeMatches(l, paper.paperWidth, 1);
  return (!asStored && turned) ||
         (!PaperSizeInTable(table, w, l, 1) && PaperSizeInTable(table, l, w, 1));
}

// A user-defined size with a locked orientation lies as the stored paper
// does, or else as a table paper does. A turn is made only when it settles
// the size: when the custom-size limits would undo it, or when the turned
// size would ask to be turned back, the size stays as it is, as it would
// otherwise change at every validation. The case: a stored paper of 1000 x
// 800 and a table holding only 800 x 1000; the size 1000 x 800 matches the
// stored paper but not the table, 800 x 1000 the table but the stored paper
// only turned. The limits are applied in either case.
void SettleLockedUserSize(JobSettings* js, const std::vector<PaperInfo>& table, uint32_t lock,
                          const PaperInfo& reference) {
  if (WantsTurn(*js, table)) {
    JobSettings candidate = *js;
    std::swap(candidate.dmPaperWidth, candidate.dmPaperLength);
    candidate.dmOrientation = (lock & kLockPortrait) ? 1 : 2;
    const int16_t width = candidate.dmPaperWidth, length = candidate.dmPaperLength;
    CheckCustomPaperSize(&candidate, reference);
    if (candidate.dmPaperWidth == width && candidate.dmPaperLength == length &&
        !WantsTurn(candidate, table)) {
      *js = candidate;
      return;
    }
  }
  CheckCustomPaperSize(js, reference);
}

bool CopyStoredDevMode(PrinterStore* printer, uint32_t level, JobSettings* out,
                       uint32_t* needed) {
  if (needed) *needed = kJobSettingsSize;
  std::vector<unsigned char> dm;
  if (!printer || !out || !printer->GetDevMode(level, &dm)) return false;
  CopyDevModeBytes(dm.data(), static_cast<uint32_t>(dm.size()), out);
  return true;
}

}  // namespace

bool HasSignature(const JobSettings& js) {
  // Text and terminator: the first six characters.
  return std::equal(kSignature, kSignature + 6, js.Signature);
}

uint32_t DevModeTotalSize(const void* dm) {
  uint16_t size = 0, extra = 0;
  std::memcpy(&size, static_cast<const unsigned char*>(dm) + offsetof(JobSettings, dmSize), 2);
  std::memcpy(&extra, static_cast<const unsigned char*>(dm) + offsetof(JobSettings, dmDriverExtra),
              2);
  return uint32_t{size} + extra;
}

uint32_t CopyDevModeBytes(const void* dm, uint32_t available, JobSettings* out) {
  // dmSize and dmDriverExtra lie in the first 72 bytes; a buffer known to be
  // shorter than that has no device mode to speak of.
  uint32_t n = 0;
  if (dm && (available == kUnknownSize || available >= offsetof(JobSettings, dmFields)))
    n = std::min({DevModeTotalSize(dm), kJobSettingsSize, available});
  auto* bytes = reinterpret_cast<unsigned char*>(out);
  if (n) std::memmove(bytes, dm, n);
  std::memset(bytes + n, 0, kJobSettingsSize - n);
  return n;
}

bool SetDefaultJobSettings(JobSettings* js, const DriverServices& svc) {
  if (!js || !svc.difm) return false;
  DifmMapping map(*svc.difm, kModelName);
  if (!map) return false;
  const DifmApi& difm = map.api();
  uint32_t paperId = 0;
  PaperInfo paper{};
  if (!difm.DifmLoadDefValues(map.get(), def_value::kDefaultPaper, &paperId, sizeof paperId) ||
      !difm.DifmGetPaperInfo(map.get(), &paper, paperId))
    return false;
  int32_t resolution[2] = {0, 0};
  difm.DifmLoadDefValues(map.get(), def_value::kResolution, resolution, sizeof resolution);

  std::unique_ptr<PrinterStore> model =
      svc.spooler ? svc.spooler->Open(kModelName, kAccessDefault) : nullptr;

  JobSettings d{};
  CopyText(d.dmDeviceName, kModelName);
  d.dmSpecVersion = kSpecVersion;
  d.dmDriverVersion = kDriverVersion;
  d.dmSize = kPublicSize;
  d.dmDriverExtra = kPrivateSize;
  d.dmFields = FieldsFor(model.get());
  d.dmOrientation = 1;
  d.dmPaperSize = ToShort(paper.paperId);
  d.dmPaperLength = ToShort(paper.paperLength);
  d.dmPaperWidth = ToShort(paper.paperWidth);
  d.dmScale = 100;
  d.dmCopies = 1;
  d.dmDefaultSource = 7;  // DMBIN_AUTO
  d.dmPrintQuality = ToShort(resolution[0]);
  d.dmYResolution = ToShort(resolution[1]);
  d.dmColor = 2;
  d.dmDuplex = 1;
  d.dmTTOption = 1;
  d.dmCollate = static_cast<int16_t>(difm.DifmGetCollateInf(map.get()));
  CopyText(d.dmFormName, TextOf(paper.paperName));
  d.dmPelsWidth = 649;
  d.dmPelsHeight = 1074;
  d.dmICMMethod = 1;
  d.dmICMIntent = 2;
  d.dmMediaType = 1;
  d.dmDitherType = 2;

  CopyText(d.Signature, kSignature);
  d.PrintLevel = 20;
  d.Paper = paper;
  d.PaperCount = static_cast<uint32_t>(ReadPaperInfoValue(model.get()).size());
  d.Option484 = 1;
  d.ColorPlanes = 4;
  d.ColorMode = 2;
  d.GammaIndex = 2;
  d.Halftone = 3;
  d.MediaClass = 1;
  d.MonoTone = 255;
  d.Option560[0] = 4;
  d.Option560[1] = 1;
  d.Option560[2] = 1;
  d.Mcc3Flags = 2;
  d.SettingsNameId = 1;
  d.PagesPerSheet = 1;
  d.CopyCount1 = 1;
  d.CopyCount2 = 1;
  d.Option740 = cut_option::kLeadingEdge | cut_option::kTrailingEdge;
  d.OverlayMode = 2;
  d.OverlayOption = 2;
  d.MediaTypeId = 1;

  uint32_t bytes = 0;
  if (difm.DifmGetRealDataStr(map.get(), text_ids::kSettingsNameDefault, nullptr, &bytes) && bytes) {
    char16_t name[65] = {};
    uint32_t fetch = std::min<uint32_t>(bytes, sizeof d.SettingsName);
    difm.DifmGetRealDataStr(map.get(), text_ids::kSettingsNameDefault, name, &fetch);
    std::memcpy(d.SettingsName, name, std::min<uint32_t>(fetch, sizeof d.SettingsName));
  }
  *js = d;
  return true;
}

void CheckCustomPaperSize(JobSettings* js, const PaperInfo& reference) {
  const LayoutLimits limits = LimitsFor(js->Paper.paperLayout);
  // One pass of the limits is not enough for a record that must come out of
  // the next validation unchanged: a margin checked against its opposite
  // before that one was reset fails only on the next pass (length 800, top
  // 751, bottom 14: bottom goes back to 22, and only then is 751 more than
  // 800 - 22 - 30). So the passes repeat until one resets nothing. Each pass
  // either changes nothing or moves at least one more field to its
  // reference value; eight passes cover the eight fields that can move.
  for (int pass = 0; pass < 8 && ApplyLimitsOnce(js, reference, limits); ++pass) {
  }
  PaperInfo& p = js->Paper;
  p.paperWidth = static_cast<uint32_t>(static_cast<uint16_t>(js->dmPaperWidth));
  p.paperLength = static_cast<uint32_t>(static_cast<uint16_t>(js->dmPaperLength));
  p.paperId = static_cast<uint32_t>(static_cast<uint16_t>(js->dmPaperSize));
  p.paperNo = reference.paperNo;
  CopyText(js->dmFormName, TextOf(reference.paperName));
  std::memcpy(p.paperName, reference.paperName, sizeof p.paperName);
  p.printableWidth = p.paperWidth - p.marginRight - p.marginLeft;
  p.printableLength = p.paperLength - p.marginTop - p.marginBottom;
}

void CheckCustomPaperSize(JobSettings* js, PrinterStore* printer) {
  PaperInfo reference{};
  if (js && FindPaperInfo(printer, static_cast<uint16_t>(js->dmPaperSize), &reference))
    CheckCustomPaperSize(js, reference);
}

bool ValidateJobSettings(JobSettings* js, PrinterStore* printer, const DriverServices& svc) {
  // Another driver's record, or none: the caller falls back to a default.
  if (!js || js->dmDriverExtra != kPrivateSize || !HasSignature(*js) || !svc.difm) return false;

  DifmMapping map(*svc.difm, kModelName);
  if (!map) return false;
  const DifmApi& difm = map.api();
  const int32_t maxCopies = static_cast<int16_t>(difm.DifmGetCopiesInf(map.get()));
  js->dmCopies = static_cast<int16_t>(std::max<int32_t>(std::min<int32_t>(js->dmCopies, maxCopies), 1));

  // One read gives both the record count and the records.
  const std::vector<PaperInfo> table = ReadPaperInfoValue(printer);

  js->dmICMMethod = js->IcmMode > 0 ? 2 : 1;
  const uint32_t fields = FieldsFor(printer);
  js->dmFields |= fields & kDmScale;
  if (js->dmPaperSize == 0 || !(js->dmFields & kDmPaperSize)) return false;

  js->PaperCount = static_cast<uint32_t>(table.size());
  if (js->SettingsNameId >= 12) js->SettingsNameId = 1;
  const uint32_t copiesLimit = static_cast<uint32_t>(std::max(maxCopies, 0));
  for (uint32_t* count : {&js->CopyCount1, &js->CopyCount2}) {
    *count = std::min(*count, copiesLimit);
    if (*count == 0) *count = 1;
  }

  // Resolution: the negative DEVMODE qualities pick the list's ends; any
  // other value must be one the printer has, else the default.
  int32_t pairs[16][2];
  const int32_t listed = difm.DifmGetEnumResolutionsInf(map.get(), nullptr);
  int32_t defaults[2];
  if (listed <= 0 || listed > static_cast<int32_t>(std::size(pairs)) ||
      !difm.DifmLoadDefValues(map.get(), def_value::kResolution, defaults, sizeof defaults))
    return false;
  difm.DifmGetEnumResolutionsInf(map.get(), &pairs[0][0]);
  const int32_t first = pairs[0][0], second = listed > 1 ? pairs[1][0] : pairs[0][0];
  const int32_t low = std::min(first, second), high = std::max(first, second);
  switch (js->dmPrintQuality) {
    case -4:
    case -3: js->dmPrintQuality = ToShort(high); break;
    case -2:
    case -1: js->dmPrintQuality = ToShort(low); break;
    default: {
      const bool known = std::any_of(pairs, pairs + listed, [js](const int32_t(&pair)[2]) {
        return pair[0] == js->dmPrintQuality;
      });
      if (!known) js->dmPrintQuality = ToShort(defaults[0]);
    }
  }
  js->dmYResolution = js->dmPrintQuality;

  const uint32_t lock = js->OrientationLock;
  if (lock & kLockPortrait)
    js->dmOrientation = 1;
  else if (lock & kLockLandscape)
    js->dmOrientation = 2;

  if (table.empty()) return false;
  js->dmColor = 2;
  const PaperInfo* found = FindPaper(table, js->dmPaperSize);
  if (!found) return false;

  const bool locked = (lock & (kLockPortrait | kLockLandscape)) != 0;
  PaperInfo& paper = js->Paper;
  // A locked orientation may have turned the stored paper into a table paper
  // of the crossed size: go back to the stored one. Only to an id that
  // dmPaperSize can carry: 0 is refused above, and a truncated id would name
  // another paper on the next validation.
  const int16_t storedId = ToShort(paper.paperId);
  if (locked && found->paperWidth == paper.paperLength &&
      found->paperLength == paper.paperWidth && storedId != 0 &&
      storedId == static_cast<int32_t>(paper.paperId)) {
    if (const PaperInfo* stored = FindPaper(table, storedId)) {
      js->dmPaperSize = storedId;
      found = stored;
    }
  }
  if (js->dmPaperSize != static_cast<int32_t>(paper.paperId)) paper = *found;

  if (js->dmPaperSize != static_cast<int16_t>(kUserDefinedPaper)) {
    paper = *found;
    CopyText(js->dmFormName, TextOf(found->paperName));
    js->dmPaperSize = ToShort(found->paperId);
    js->dmPaperLength = ToShort(found->paperLength);
    js->dmPaperWidth = ToShort(found->paperWidth);
  } else {
    const bool hasLength = js->dmFields & kDmPaperLength, hasWidth = js->dmFields & kDmPaperWidth;
    // With one of the two size fields the caller's sizes stay; with neither
    // the stored paper's are taken.
    if (!hasLength && !hasWidth) {
      js->dmPaperLength = ToShort(paper.paperLength);
      js->dmPaperWidth = ToShort(paper.paperWidth);
    }
    // Whichever way the size was chosen, the record leaves claiming both
    // size fields, and the next validation takes it as a size given in
    // full: turned if the orientation is locked, then held to the limits.
    // Done now, that validation finds nothing left to do. (Left as it came,
    // paper 256 with only DM_PAPERWIDTH and a width of 2000 would keep it
    // here and be reset to the reference width by the next validation.)
    if (!locked) {
      CheckCustomPaperSize(js, *found);
    } else {
      // Repeated until a pass changes nothing: the limits make the stored
      // paper the size itself, which can decide the next pass differently
      // (stored 50 x 80 mm, table paper 80 x 50 mm, size given as 80 x 50:
      // the first pass turns it to the stored 50 x 80, the second finds it
      // only in the table turned and, the turn now settling it, turns it
      // back to 80 x 50; a third changes nothing). A turn is made only when
      // the turned size would not ask to be turned again, so the passes end
      // within three; four are more than enough.
      for (int pass = 0; pass < 4; ++pass) {
        const JobSettings before = *js;
        SettleLockedUserSize(js, table, lock, *found);
        if (std::memcmp(&before, js, sizeof before) == 0) break;
      }
    }
  }
  js->dmFields = fields;
  // The private part was found at offset 220, so that is the public size,
  // whatever the header claimed: the spooler copies dmSize + dmDriverExtra
  // bytes of what it is handed, and a wrong size would make it read past the
  // record or cut it short.
  js->dmSize = kPublicSize;
  return true;
}

bool GetUserDefaultSettings(PrinterStore* printer, JobSettings* out, uint32_t* needed) {
  return CopyStoredDevMode(printer, 9, out, needed);
}

bool GetPrinterDefaultSettings(PrinterStore* printer, JobSettings* out, uint32_t* needed) {
  return CopyStoredDevMode(printer, 2, out, needed);
}

}  // namespace vq
