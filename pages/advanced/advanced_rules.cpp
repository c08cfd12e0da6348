#include "pages/advanced/advanced_rules.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vq::advanced {

std::span<const LevelStep> LevelSteps() {
  // Position -> level value -> its text; 5021 (a level of 14) is not offered.
  static constexpr LevelStep kSteps[] = {{5, 5014},  {6, 5015},  {7, 5016},
                                         {8, 5017},  {9, 5018},  {10, 5019},
                                         {12, 5020}, {16, 5022}, {20, 5023}};
  return kSteps;
}

int LevelPosition(uint32_t printLevel) {
  const uint32_t value = printLevel & kLevelMask;
  const auto steps = LevelSteps();
  for (size_t i = 0; i < steps.size(); ++i)
    if (steps[i].value == value) return static_cast<int>(i);
  return -1;
}

uint32_t LevelAt(int position) {
  const auto steps = LevelSteps();
  return steps[std::clamp<size_t>(static_cast<size_t>(std::max(position, 0)), 0, steps.size() - 1)].value;
}

int LastPosition(const JobSettings& js) {
  return js.MediaClass == kSlowMediaClass ? kSlowMediaLastPosition : kLastPosition;
}

LevelView ViewLevel(uint32_t printLevel) {
  const int position = LevelPosition(printLevel);
  return {position, position < 0 ? uint16_t{0} : LevelSteps()[position].text,
          (printLevel & kAutoLevel) != 0};
}

void LimitLevelForMedia(JobSettings& js) {
  if (js.MediaClass != kSlowMediaClass) return;
  js.PrintLevel &= ~kAutoLevel;
  if ((js.PrintLevel & kLevelMask) > kSlowMediaLevel) js.PrintLevel = kSlowMediaLevel;
}

uint32_t ChangedLevel(uint32_t printLevel, bool automatic, int sliderPosition) {
  if (automatic) return (printLevel & kLevelMask) | kAutoLevel;
  return LevelAt(sliderPosition);
}

int PagesIndex(uint32_t pagesPerSheet) {
  const auto* it = std::find(std::begin(kPagesPerSheet), std::end(kPagesPerSheet), pagesPerSheet);
  return it == std::end(kPagesPerSheet) ? -1 : static_cast<int>(it - std::begin(kPagesPerSheet));
}

OrderControls OrderControlsFor(bool rawOnly, uint32_t pagesPerSheet) {
  // A raw-only queue prints what the application sent: the spooler cannot
  // reorder or gather pages, so neither can be chosen.
  if (rawOnly) return {false, false};
  // Pages gathered on one label are framed, not reordered.
  return {pagesPerSheet == 1, pagesPerSheet != 1};
}

double PaperRatio(const PaperInfo& paper) {
  const double a = paper.printableWidth, b = paper.printableLength;
  const double shorter = std::min(a, b), longer = std::max(a, b);
  return shorter > 0 ? longer / shorter : 1.0;
}

LayoutPicture PictureFor(uint32_t pages, bool portrait, double r) {
  // Two pages on a label that is less than twice as long as wide (six: one
  // and a half) sit side by side: the sheet is drawn turned in portrait;
  // on longer labels they are stacked, and landscape turns instead.
  switch (pages) {
    case 1: return {static_cast<uint16_t>(portrait ? 432 : 433), false, 1, 1};
    case 2: return {static_cast<uint16_t>(r < 2 ? 434 : 439), portrait == (r < 2), 2, 1};
    case 4: return {static_cast<uint16_t>(portrait ? 435 : 440), false, 2, 2};
    case 6: return {static_cast<uint16_t>(r < 1.5 ? 436 : 441), portrait == (r < 1.5), 3, 2};
    case 9: return {static_cast<uint16_t>(portrait ? 437 : 442), false, 3, 3};
    case 16: return {static_cast<uint16_t>(portrait ? 438 : 443), false, 4, 4};
    default: return {0, false, 1, 1};
  }
}

Rect SheetRect(int w, int h, bool portrait, bool turned) {
  const int longSide = static_cast<int>(h / 1.2);
  const int shortSide = static_cast<int>(longSide * 0.8);
  int sw = portrait ? shortSide : longSide, sh = portrait ? longSide : shortSide;
  if (turned) std::swap(sw, sh);
  const int left = (w - sw) / 2, top = (h - sh) / 2;
  return {left, top, left + sw, top + sh};
}

Rect BorderBox(const Rect& s) {
  const int mx = (s.right - s.left) / 20, my = (s.bottom - s.top) / 20;
  return {s.left + mx, s.top + my, s.right - mx, s.bottom - my};
}

State StateOf(const JobSettings& js, bool rawOnly) {
  State s{};
  s.rawOnly = rawOnly;
  s.pagesPerSheet = js.PagesPerSheet;
  s.pageBorder = js.PageBorder;
  s.pageOrder = js.PageOrder;
  s.halftone = js.Halftone;
  s.colorPlanes = js.ColorPlanes;
  s.printLevel = js.PrintLevel;
  s.overlayMode = js.OverlayMode;
  s.overlayOption = js.OverlayOption;
  std::memcpy(s.overlayPath, js.OverlayPath, sizeof s.overlayPath);
  return s;
}

bool Changed(const State& a, const State& b) {
  return a.pagesPerSheet != b.pagesPerSheet || a.pageBorder != b.pageBorder ||
         a.pageOrder != b.pageOrder || a.halftone != b.halftone ||
         a.colorPlanes != b.colorPlanes || a.printLevel != b.printLevel ||
         a.overlayMode != b.overlayMode || a.overlayOption != b.overlayOption ||
         std::memcmp(a.overlayPath, b.overlayPath, sizeof a.overlayPath) != 0;
}

void RestoreDefaults(JobSettings& js, const JobSettings& d) {
  js.PagesPerSheet = d.PagesPerSheet;
  js.PageBorder = d.PageBorder;
  js.PageOrder = d.PageOrder;
  js.Halftone = d.Halftone;
  js.PrintLevel = js.MediaClass == kSlowMediaClass ? kSlowMediaLevel : d.PrintLevel;
}

}  // namespace vq::advanced
