#include "uicore/page_preview.h"

#include <algorithm>

#include "settings/printer_store.h"
#include "uicore/dialog_layout.h"
#include "uicore/preview_pictures.h"

namespace vq::preview {
namespace {

bool OnLiner(uint32_t layout) { return layout == kLayoutLabels || layout == kLayoutRoundLabels; }

bool RoundCorners(uint32_t layout) { return layout == 16 || layout == 17 || layout == 19; }

std::u16string Number(uint32_t value, uint32_t divisor, bool point, bool twoDigits) {
  char16_t text[32] = {};
  uint32_t needed = 0;
  FormatFixedPoint(value, divisor, point, twoDigits, text, sizeof text, &needed);
  return text;
}

const PictureTable* PicturesOf(uint32_t mode) {
  return mode == 2 ? &kPicturesMode2 : mode == 1 ? &kPicturesMode1 : nullptr;
}

}  // namespace

const PreviewMode* FindMode(uint32_t mode) {
  for (const PreviewMode& m : kPreviewModes)
    if (m.mode == mode) return &m;
  return nullptr;
}

OuterSize PreviewSize(const PaperInfo& paper) {
  OuterSize s{paper.paperWidth, paper.paperLength};
  if (OnLiner(paper.paperLayout)) {
    s.width += paper.linerLeft + paper.linerRight;
    s.length += paper.gap;
  }
  return s;
}

SizeTexts PreviewSizeTexts(const PaperInfo& paper, bool inches, bool decimalPoint,
                           const std::u16string& mmText, const std::u16string& inchText) {
  const OuterSize s = PreviewSize(paper);
  if (inches)
    return {Number(TenthMmToHundredthInch(s.width), 100, decimalPoint, true) + inchText,
            Number(TenthMmToHundredthInch(s.length), 100, decimalPoint, true) + inchText};
  return {Number(s.width, 10, decimalPoint, false) + mmText,
          Number(s.length, 10, decimalPoint, false) + mmText};
}

SheetPlacement PlaceSheet(const PaperInfo& paper, int32_t cw, int32_t ch) {
  SheetPlacement p;
  const OuterSize s = PreviewSize(paper);
  if (!s.width || !s.length || cw <= 0 || ch <= 0) return p;
  int64_t w, h;
  if (s.width < s.length) {  // taller than wide: half the frame's height
    h = ch / 2;
    w = h * s.width / s.length;
  } else {
    w = cw / 2;
    h = w * s.length / s.width;
  }
  p.drawn = true;
  p.outer.left = static_cast<int32_t>((cw - w) / 2);
  p.outer.top = static_cast<int32_t>((ch - h) / 2);
  p.outer.right = p.outer.left + static_cast<int32_t>(w);
  p.outer.bottom = p.outer.top + static_cast<int32_t>(h);
  p.label = p.outer;
  if (!OnLiner(paper.paperLayout)) return p;

  p.liner = true;
  const uint64_t along = uint64_t{paper.paperLength} + paper.gap;
  const uint64_t across = uint64_t{paper.paperWidth} + paper.linerLeft + paper.linerRight;
  const int32_t gapInset = along ? static_cast<int32_t>(paper.gap * uint64_t(h) / along) : 0;
  const int32_t leftInset = across ? static_cast<int32_t>(paper.linerLeft * uint64_t(w) / across) : 0;
  const int32_t rightInset = across ? static_cast<int32_t>(paper.linerRight * uint64_t(w) / across) : 0;
  // An inset never carries the label past the liner's opposite edge.
  p.label.top = std::min(p.outer.top + gapInset, p.outer.bottom);
  p.label.bottom = std::max(p.outer.bottom - gapInset, p.label.top);
  p.label.left = std::min(p.outer.left + leftInset, p.outer.right);
  p.label.right = std::max(p.outer.right - rightInset, p.label.left);
  return p;
}

KindMarks PaperKindMarks(const PaperInfo& paper, const SheetPlacement& placement) {
  KindMarks k;
  if (!placement.drawn) return k;
  const Box& label = placement.label;
  if (RoundCorners(paper.paperLayout) && paper.cornerRadius && paper.paperWidth) {
    const int64_t r = int64_t{paper.cornerRadius} * label.width() / paper.paperWidth;
    k.cornerRadius = static_cast<int32_t>(std::clamp<int64_t>(r, 2, label.width() / 4));
  }
  const Box& o = placement.outer;
  const int32_t w = o.width(), h = o.height();
  switch (paper.paperLayout) {
    case 1:
    case 17:  // the mark sits on the liner's back under the gap: shown at the lower left
      k.blackMark = true;
      k.mark = {o.left + w / 12, o.bottom - std::max(3, h / 14), o.left + w / 12 + std::max(6, w / 5),
                o.bottom};
      break;
    case 3:
    case 19: {  // a hole in the liner, centred across, at the gap
      k.hole = true;
      const int32_t d = std::max(4, std::min(w, h) / 10);
      const int32_t cx = (o.left + o.right) / 2;
      k.holeBox = {cx - d / 2, o.bottom - d - 2, cx - d / 2 + d, o.bottom - 2};
      break;
    }
    case kLayoutContinuous:
      k.torn = true;
      break;
    case kLayoutFanFold:
      k.perforated = true;
      break;
    default:
      break;
  }
  return k;
}

OrientationPicture ChooseOrientationPicture(uint32_t mode, const PaperInfo& paper, bool portrait,
                                            bool paperOption) {
  OrientationPicture o;
  const PictureTable* table = PicturesOf(mode);
  if (!table) return o;
  const bool big = paper.paperLayout >= kLayoutBig;
  o.background = (mode == 2 ? kPictureBackgroundsMode2 : kPictureBackgroundsMode1)[big ? 1 : 0];
  const OuterSize s = PreviewSize(paper);
  const uint64_t w = s.width ? s.width : 1, l = s.length ? s.length : 1;
  // tall when w / l <= 0.9, wide when w / l >= 1.1, in whole numbers.
  const int shape = 10 * w <= 9 * l ? 0 : 10 * w >= 11 * l ? 1 : 2;
  const int kind = !big ? 0 : paper.labelsAcross ? 2 : 1;
  o.picture = (*table)[shape][kind][portrait ? 0 : 1][paperOption ? 0 : 1];
  o.x = big ? kBigX : kSmallX;
  o.y = big ? kBigY : kSmallY;
  return o;
}

size_t OrientationPictureIds(uint32_t mode, uint16_t* out, size_t capacity) {
  const PictureTable* table = PicturesOf(mode);
  if (!table) return 0;
  size_t n = 0;
  for (const auto& shape : *table)
    for (const auto& kind : shape)
      for (const auto& orientation : kind)
        for (uint16_t id : orientation)
          if (n < capacity) out[n++] = id;
  return n;
}

}  // namespace vq::preview
