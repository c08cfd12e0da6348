#include "pages/basic/custom_paper.h"

#include <algorithm>
#include <cstring>

#include "pages/basic/favourites.h"
#include "settings/printer_store.h"

namespace vq {

namespace {

constexpr size_t kNameUnits = sizeof(PaperInfo::paperName) / sizeof(char16_t);

// Limits per layout group [g] and unit [u] (0: 0.1 mm, 1: 0.01 inch). The
// inch values are the millimetre ones converted and rounded inwards, so a
// size that passes in one unit passes in the other.
struct UnitLimits {
  int64_t widthMin[3], widthMax[3];
  int64_t lengthMin, lengthMax;
  int64_t sideMarginMin[3], sideMarginMinLow;  // low: kListLowSideMargins, groups 1 and 2
  int64_t endMarginMin;                        // top and bottom
  int64_t marginSpace;                         // what the margins leave of the paper, at least
  int64_t linerMin, linerMax;
  int64_t linerWithMarginMin, linerWithMarginMinLow;
  int64_t withLinersMin, withLinersMax;        // paper width + both liners
  int64_t printableWidthMax;                   // the print head's width
};
constexpr UnitLimits kLimits[2] = {
    {{240, 250, 250}, {1190, 1200, 1200}, 60, 5000, {15, 27, 27}, 25, 15, 30, 5, 50, 27, 25,
     250, 1200, 1080},
    {{94, 98, 98}, {468, 472, 472}, 24, 1969, {6, 11, 11}, 10, 6, 12, 2, 20, 11, 10,
     98, 472, 425},
};

const UnitLimits& LimitsOf(const PaperInfo& paper) { return kLimits[paper.paperUnit ? 1 : 0]; }

bool LinersChecked(const PaperInfo& paper) {
  return (paper.paperLayout == paper_layout::kLabelsOnLiner ||
          paper.paperLayout == paper_layout::kRoundLabelsOnLiner) &&
         (paper.customEditable & kEditLinerLeft) && (paper.customEditable & kEditLinerRight);
}

std::u16string NameOf(const PaperInfo& paper) {
  size_t n = 0;
  while (n < kNameUnits && paper.paperName[n]) ++n;
  return std::u16string(paper.paperName, n);
}

void SetName(PaperInfo* paper, std::u16string_view name) {
  std::memset(paper->paperName, 0, sizeof paper->paperName);
  std::memcpy(paper->paperName, name.data(), std::min(name.size(), kNameUnits - 1) * 2);
}

std::u16string Replace(std::u16string_view format, std::initializer_list<std::u16string_view> args) {
  std::u16string out;
  auto arg = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == u'%' && i + 1 < format.size() && format[i + 1] == u's' && arg != args.end()) {
      out += *arg++;
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

constexpr char16_t kOutsideRange[] = u"%s已超出设定范围。\r\n请设定为%s ～ %s。";
constexpr char16_t kBelowMinimum[] = u"%s已超出设定范围。\r\n请设定为%s以上。";
constexpr char16_t kAboveMaximum[] = u"%s已超出设定范围。\r\n请设定为%s以下。";
constexpr char16_t kPrintableArea[] = u"已超出最大可打印区域。\r\n请将 %s 设置为 %s。";
constexpr char16_t kWidthPrintable[] = u"宽度已超出可打印区域。\r\n将 %s 设定为 %s ～ %s。";

constexpr char16_t kPaperWidth[] = u"纸张宽度";
constexpr char16_t kLeftMargin[] = u"左边距";
constexpr char16_t kRightMargin[] = u"右边距";
constexpr char16_t kPaperLength[] = u"纸张长度";
constexpr char16_t kTopMargin[] = u"顶边距";
constexpr char16_t kBottomMargin[] = u"底边距";
constexpr char16_t kLeftGap[] = u"左间距";
constexpr char16_t kRightGap[] = u"右间距";
constexpr char16_t kLeftGapMargin[] = u"左间距 + 左边距";
constexpr char16_t kRightGapMargin[] = u"右间距 + 右边距";
constexpr char16_t kWidthWithGaps[] = u"纸张宽度 + 左间距 + 右间距";

constexpr char16_t kNoName[] = u"尚未设置纸张名称。";
constexpr char16_t kCustomNameTaken[] = u"无法将纸张名称注册为 [自定义]。\n请更改名称。";
constexpr char16_t kChangeCustomSize[] = u"更改自定义大小值。是否继续?";
constexpr char16_t kPresetNameTaken[] = u"该文件名称与预设纸张名称相同。请更改名称。";
constexpr char16_t kUserNameTaken[] = u"已存在相同的纸张名称。要更改该值吗?";
constexpr char16_t kTooManyPapers[] = u"用户定义的纸张超出了限制。";
constexpr char16_t kPaperInUse[] = u"无法删除设置中使用的纸张尺寸。";
constexpr char16_t kPaperInFavourites[] =
    u"[%s] 为注册到收藏夹中的纸张尺寸。如果将其删除，则您的收藏夹注册纸张\n将更改为默认纸张尺寸。是否继续?";
constexpr char16_t kDeleteName[] = u"删除名称 [%s]?";

uint32_t Clamp32(int64_t v) { return uint32_t(std::clamp<int64_t>(v, 0, 0xFFFFFFFF)); }

// One range: [lo, hi] over a field; the failure sets the field to the bound
// it crossed.
bool Outside(uint32_t* field, const char16_t* name, int64_t lo, int64_t hi, uint32_t unit,
             RangeFailure* out) {
  const int64_t v = *field;
  if (v >= lo && v <= hi) return false;
  out->field = field;
  out->value = Clamp32(v < lo ? lo : hi);
  out->message = Replace(kOutsideRange, {name, FormatCheckNumber(int32_t(lo), unit),
                                         FormatCheckNumber(int32_t(hi), unit)});
  return true;
}

}  // namespace

uint32_t LayoutGroup(uint32_t paperLayout) {
  switch (paperLayout) {
    case paper_layout::kLabelsOnLiner:
    case paper_layout::kRoundLabelsOnLiner: return 0;
    case paper_layout::kContinuous:
    case paper_layout::kFanFold: return 2;
    default: return 1;
  }
}

void BuildPaperTypeLimits(bool narrowMarginAllowed, uint32_t* limits) {
  std::fill(limits, limits + kPaperTypeLimitCount, 0u);
  for (uint32_t g = 0; g < 3; ++g)
    for (uint32_t u = 0; u < 2; ++u) {
      const UnitLimits& l = kLimits[u];
      uint32_t* row = limits + (g * 2 + u) * kLimitsRow;
      const int64_t values[kLimitsRow] = {l.widthMin[g], l.widthMax[g], l.lengthMin, l.lengthMax,
                                          l.sideMarginMin[g], l.endMarginMin, l.linerMin, l.linerMax};
      for (uint32_t i = 0; i < kLimitsRow; ++i) row[i] = uint32_t(values[i]);
    }
  limits[kLimitsNarrowFlagA] = limits[kLimitsNarrowFlagB] = narrowMarginAllowed ? 11 : 10;
}

std::u16string FormatCheckNumber(int32_t value, uint32_t unit) {
  const int64_t divisor = unit ? 100 : 10;
  const int64_t v = value;
  const int64_t whole = v / divisor;
  const int64_t fraction = (v < 0 ? -v : v) % divisor;
  std::string text;
  if (v < 0 && whole == 0) text = "-";
  text += std::to_string(whole) + ".";
  if (unit && fraction < 10) text += '0';
  text += std::to_string(fraction);
  return std::u16string(text.begin(), text.end());
}

void ComputePrintableArea(PaperInfo* paper) {
  paper->printableWidth =
      Clamp32(int64_t{paper->paperWidth} - paper->marginLeft - paper->marginRight);
  paper->printableLength =
      Clamp32(int64_t{paper->paperLength} - paper->marginTop - paper->marginBottom);
}

RangeFailure CheckPaperRanges(PaperInfo* p, bool lowSideMargins) {
  RangeFailure f;
  const UnitLimits& l = LimitsOf(*p);
  const uint32_t unit = p->paperUnit ? 1 : 0;
  const uint32_t g = LayoutGroup(p->paperLayout);
  const int64_t sideMin = (g != 0 && lowSideMargins) ? l.sideMarginMinLow : l.sideMarginMin[g];
  const int64_t width = p->paperWidth, length = p->paperLength;
  auto upper = [](int64_t bound, int64_t minimum) { return std::max(bound, minimum); };

  if (Outside(&p->paperWidth, kPaperWidth, l.widthMin[g], l.widthMax[g], unit, &f) ||
      Outside(&p->marginLeft, kLeftMargin, sideMin,
              upper(width - p->marginRight - l.marginSpace, sideMin), unit, &f) ||
      Outside(&p->marginRight, kRightMargin, sideMin,
              upper(width - p->marginLeft - l.marginSpace, sideMin), unit, &f) ||
      Outside(&p->paperLength, kPaperLength, l.lengthMin, l.lengthMax, unit, &f) ||
      Outside(&p->marginTop, kTopMargin, l.endMarginMin,
              upper(length - p->marginBottom - l.marginSpace, l.endMarginMin), unit, &f) ||
      Outside(&p->marginBottom, kBottomMargin, l.endMarginMin,
              upper(length - p->marginTop - l.marginSpace, l.endMarginMin), unit, &f))
    return f;

  if (LinersChecked(*p)) {
    const int64_t withMarginMin = lowSideMargins ? l.linerWithMarginMinLow : l.linerWithMarginMin;
    auto sumBelow = [&](uint32_t* liner, uint32_t margin, const char16_t* name) {
      if (int64_t{*liner} + margin >= withMarginMin) return false;
      f.field = liner;
      f.value = Clamp32(withMarginMin - margin);
      f.message = Replace(kBelowMinimum, {name, FormatCheckNumber(int32_t(withMarginMin), unit)});
      return true;
    };
    if (Outside(&p->linerLeft, kLeftGap, l.linerMin, l.linerMax, unit, &f) ||
        sumBelow(&p->linerLeft, p->marginLeft, kLeftGapMargin) ||
        Outside(&p->linerRight, kRightGap, l.linerMin, l.linerMax, unit, &f) ||
        sumBelow(&p->linerRight, p->marginRight, kRightGapMargin))
      return f;
    const int64_t total = width + p->linerLeft + p->linerRight;
    if (total < l.withLinersMin || total > l.withLinersMax) {
      const bool below = total < l.withLinersMin;
      const int64_t bound = below ? l.withLinersMin : l.withLinersMax;
      f.field = &p->paperWidth;
      f.value = Clamp32(bound - p->linerLeft - p->linerRight);
      f.message = Replace(below ? kBelowMinimum : kAboveMaximum,
                          {kWidthWithGaps, FormatCheckNumber(int32_t(bound), unit)});
      return f;
    }
  }

  // The print head covers printableWidthMax: wider printable areas are
  // narrowed by the left margin while it can take it, else by the width.
  const int64_t printable = width - p->marginLeft - p->marginRight;
  if (printable > l.printableWidthMax) {
    const int64_t left = width - p->marginRight - l.printableWidthMax;
    if (left <= width - p->marginRight - l.marginSpace) {
      f.field = &p->marginLeft;
      f.value = Clamp32(left);
      f.message = Replace(kPrintableArea, {kLeftMargin, FormatCheckNumber(int32_t(left), unit)});
    } else {
      const int64_t widest = std::min<int64_t>(
          l.widthMax[g], l.printableWidthMax + p->marginLeft + p->marginRight);
      f.field = &p->paperWidth;
      f.value = Clamp32(widest);
      f.message = Replace(kWidthPrintable, {kPaperWidth, FormatCheckNumber(int32_t(l.widthMin[g]), unit),
                                            FormatCheckNumber(int32_t(widest), unit)});
    }
  }
  return f;
}

uint32_t NextUserPaperId(const CustomPaperList& list) {
  for (uint32_t id = kFirstUserPaperId; id <= kLastUserPaperId; ++id) {
    bool taken = false;
    for (uint32_t i = list.firstUser; i < list.count && !taken; ++i)
      taken = list.papers[i].paperId == id;
    if (!taken) return id;
  }
  return 0;
}

PaperInfo ConvertPaperUnit(const PaperInfo& paper) {
  PaperInfo out = paper;
  const bool toInch = paper.paperUnit == 0;
  // 0.1 mm -> 0.01 inch: x * 100 / 254; back: x * 254 / 100; both rounded.
  auto convert = [toInch](uint32_t v) {
    const uint64_t x = v;
    return uint32_t(toInch ? (x * 100 + 127) / 254 : (x * 254 + 50) / 100);
  };
  for (uint32_t* field : {&out.paperWidth, &out.paperLength, &out.printableWidth,
                          &out.printableLength, &out.marginTop, &out.marginBottom, &out.marginLeft,
                          &out.marginRight, &out.gap, &out.linerLeft, &out.linerRight,
                          &out.cornerRadius})
    *field = convert(*field);
  out.paperUnit = toInch ? 1 : 0;
  return out;
}

uint32_t CheckAndStoreCustomPaper(CheckDialogue& ui, std::u16string_view fieldName,
                                  bool nameFieldEnabled, PaperInfo* paper, PaperInfo* other,
                                  CustomPaperList* list, bool noConfirmation, PrinterStore* printer) {
  if (!paper || !list || !list->papers || list->firstUser == 0 || list->count < list->firstUser)
    return kPaperRefused;
  const uint32_t warn = kMbOk | kMbIconExclamation;
  paper->narrowMargin = PaperHasNarrowMargin(*paper) ? 1 : 0;

  const std::u16string name(fieldName.substr(0, kNameUnits - 1));
  if (name.empty()) {
    ui.Show(kNoName, warn);
    return kPaperRefused;
  }
  const uint32_t customIndex = list->firstUser - 1;
  int64_t target = -1;  // the record a replacement overwrites
  if (name == NameOf(list->papers[customIndex])) {
    if (nameFieldEnabled) {
      ui.Show(kCustomNameTaken, warn);
      return kPaperRefused;
    }
    if (!ui.Show(kChangeCustomSize, kMbYesNo | kMbIconExclamation)) return kPaperRefused;
    target = customIndex;
  } else {
    for (uint32_t i = 0; i < customIndex; ++i)
      if (name == NameOf(list->papers[i])) {
        ui.Show(kPresetNameTaken, warn);
        return kPaperRefused;
      }
    for (uint32_t i = list->firstUser; i < list->count && target < 0; ++i)
      if (name == NameOf(list->papers[i])) {
        if (!ui.Show(kUserNameTaken, kMbYesNo | kMbIconExclamation)) return kPaperRefused;
        target = i;
      }
    if (target < 0) {
      if (list->count - list->firstUser >= list->userMax) {
        ui.Show(kTooManyPapers, kMbOk | kMbIconError);
        return kPaperRefused;
      }
      if (!noConfirmation && !ui.ConfirmNewPaper(name)) return kPaperRefused;
    }
  }

  const RangeFailure failure = CheckPaperRanges(paper, list->flags & kListLowSideMargins);
  if (failure.field) {
    *failure.field = failure.value;
    if (other) *other = ConvertPaperUnit(*paper);
    ui.Show(failure.message, warn);
    return kPaperRefused;
  }
  ComputePrintableArea(paper);
  SetName(paper, name);

  uint32_t result = kPaperStoredNew;
  if (target >= 0) {
    paper->paperId = list->papers[target].paperId;
    result = kPaperStoredOver;
  } else if (paper->paperId != kUserDefinedPaper) {
    if (const uint32_t id = NextUserPaperId(*list)) paper->paperId = id;
  }
  // A 1.7 mm margin with a 0.07-inch liner falls just short of 2.7 mm once
  // the inches are turned back into millimetres: the liner takes 0.08.
  if (paper->paperUnit != 0 && paper->paperLayout == paper_layout::kLabelsOnLiner) {
    if (paper->marginLeft == 17 && paper->linerLeft == 7) paper->linerLeft = 8;
    if (paper->marginRight == 17 && paper->linerRight == 7) paper->linerRight = 8;
  }
  if (other) *other = ConvertPaperUnit(*paper);

  if (target >= 0) {
    list->papers[target] = *paper;
  } else {
    list->papers[list->count] = *paper;
    ++list->count;
  }
  WritePaperTable(printer, list->papers, list->count);
  return result;
}

uint32_t CheckAndDeletePaper(CheckDialogue& ui, const PaperInfo& paper, CustomPaperList* list,
                             const JobSettings& work, const JobSettings& defaults,
                             PrinterStore* printer) {
  if (work.Paper.paperId == paper.paperId) {
    ui.Show(kPaperInUse, kMbOk | kMbIconError);
    return kPaperDeleteRefused;
  }
  FavouriteSet favourites{};
  if (!ReadFavourites(printer, &favourites)) return kPaperDeleted;
  const std::u16string name = NameOf(paper);
  if (FavouritesUsingPaper(favourites, paper.paperId) > 0) {
    if (!ui.Show(Replace(kPaperInFavourites, {name}), kMbYesNo | kMbIconExclamation))
      return kPaperDeleteRefused;
    RepairFavouritePaper(&favourites, paper.paperId, defaults);
    WriteFavourites(printer, favourites);
  } else if (!ui.Show(Replace(kDeleteName, {name}), kMbYesNo | kMbIconExclamation)) {
    return kPaperDeleteDeclined;
  }
  if (!list || !list->papers) return kPaperNotFound;
  for (uint32_t i = 0; i < list->count; ++i) {
    if (NameOf(list->papers[i]) != name) continue;
    std::copy(list->papers + i + 1, list->papers + list->count, list->papers + i);
    std::memset(static_cast<void*>(&list->papers[list->count - 1]), 0, sizeof(PaperInfo));
    --list->count;
    WritePaperTable(printer, list->papers, list->count);
    return kPaperDeleted;
  }
  return kPaperNotFound;
}

}  // namespace vq
