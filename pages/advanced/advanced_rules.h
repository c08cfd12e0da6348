// The advanced settings page's decisions, apart from its window: the print
// level slider and its automatic box, the page-order radios, the pages-per-
// sheet choices, the layout picture's bitmap and geometry, and whether the
// page changed anything.
#pragma once

#include <cstdint>
#include <span>

#include "settings/job_settings.h"

namespace vq::advanced {

// PrintLevel: bits 0..27 the level, bit 31 automatic.
inline constexpr uint32_t kAutoLevel = 0x80000000u;
inline constexpr uint32_t kLevelMask = 0x0FFFFFFFu;
// Media of class 2 cannot print faster than level 10 (slider position 5).
inline constexpr uint32_t kSlowMediaClass = 2;
inline constexpr uint32_t kSlowMediaLevel = 10;
inline constexpr int kSlowMediaLastPosition = 5;
inline constexpr int kLastPosition = 8;

struct LevelStep {
  uint32_t value;
  uint16_t text;
};
std::span<const LevelStep> LevelSteps();
// The slider position of a level value, -1 when the table has none.
int LevelPosition(uint32_t printLevel);
// The value at a slider position (clamped to the table).
uint32_t LevelAt(int position);
// The slider's last position for the record's media.
int LastPosition(const JobSettings& js);

// What the level controls show.
struct LevelView {
  int position;        // -1: leave the slider where it is
  uint16_t text;       // 0: text 5012 alone
  bool automatic;      // 1224 checked, slider and 1283 disabled, fast icons shown
};
LevelView ViewLevel(uint32_t printLevel);

// On activation with media of class 2 the automatic box is cleared and a
// level above 10 is brought to 10 (the slider's last position there).
void LimitLevelForMedia(JobSettings& js);
// A level change: with the box checked the value bits stay and bit 31 is
// set; otherwise the level is the slider's.
uint32_t ChangedLevel(uint32_t printLevel, bool automatic, int sliderPosition);

// Pages per sheet, in the list's order.
inline constexpr uint32_t kPagesPerSheet[] = {1, 2, 4, 6, 9, 16};
int PagesIndex(uint32_t pagesPerSheet);  // -1 when not a choice

// The page-order radios and the border box, by the raw-only flag and the
// pages per sheet.
struct OrderControls {
  bool orderEnabled;   // 1165, 1158, 1159
  bool borderEnabled;  // 1160
};
OrderControls OrderControlsFor(bool rawOnly, uint32_t pagesPerSheet);

// The layout picture.
struct LayoutPicture {
  uint16_t bitmap;     // 0: no picture for this pages-per-sheet value
  bool turned;         // the sheet rectangle's sides swapped
  // Cells of the border box: the box's longer side takes the larger count.
  int cellsLong, cellsShort;
};
// r is the longer over the shorter of the paper's printable sizes; portrait
// is dmOrientation 1.
LayoutPicture PictureFor(uint32_t pagesPerSheet, bool portrait, double r);
double PaperRatio(const PaperInfo& paper);

struct Rect {
  int left, top, right, bottom;
};
// The sheet's rectangle in a control of w x h pixels: long side h / 1.2,
// short side 0.8 of it, centred; portrait stands tall unless turned.
Rect SheetRect(int w, int h, bool portrait, bool turned);
// The border box inside a sheet rectangle: 5 % in from each side.
Rect BorderBox(const Rect& sheet);

// The page's state, compared with the copy taken at activation.
struct State {
  uint32_t rawOnly;
  uint32_t pagesPerSheet, pageBorder, pageOrder, halftone, colorPlanes, printLevel;
  uint32_t overlayMode, overlayOption;
  char16_t overlayPath[260];
};
State StateOf(const JobSettings& js, bool rawOnly);
// The raw-only flag is not a change; everything else is.
bool Changed(const State& reference, const State& now);

// Defaults: pages per sheet, border, order, halftone and level from the
// default record; the level is 10 for media of class 2.
void RestoreDefaults(JobSettings& js, const JobSettings& defaults);

}  // namespace vq::advanced
