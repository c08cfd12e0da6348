// Layout tables: every page and dialog places its controls from a table
// written in pixels at 96 DPI, scaled to the screen's DPI when it opens.
// At 96 DPI a table equals its template, so applying it changes nothing.
#pragma once

#include <cstdint>

namespace vq {

struct LayoutRow {
  uint32_t controlId;
  int32_t x, y, cx, cy;  // client pixels at 96 DPI
  uint32_t iconId;       // 0: none; else an icon of the icon module shown in this static
};

struct DialogLayout {
  uint32_t reservedLeft;  // always 0
  uint32_t reservedTop;   // always 0
  uint32_t width;         // client size at 96 DPI
  uint32_t height;
  const LayoutRow* rows;
  uint32_t rowCount;
};

// The property-sheet frame around the pages, pixels at 96 DPI: sheet client
// size, then the tab control's and the OK, Cancel, Apply and Help buttons'
// rectangles (left, top, right, bottom).
struct SheetFrameLayout {
  int32_t width, height;
  int32_t tab[4];
  int32_t ok[4];
  int32_t cancel[4];
  int32_t apply[4];
  int32_t help[4];
};
static_assert(sizeof(SheetFrameLayout) == 22 * 4);

inline constexpr SheetFrameLayout kSheetFrameLayout = {
    487, 452, {6, 7, 481, 416}, {163, 422, 238, 445}, {244, 422, 319, 445},
    {325, 422, 400, 445}, {406, 422, 481, 445}};

// Control-to-text tables (SetDialogTexts) and control-to-help tables
// (pop-up help) end with a row whose control id is 0.
struct TextRow {
  uint32_t controlId;
  uint32_t textId;
};

struct TooltipRow {
  uint32_t controlId;
  uint16_t textId;
};

}  // namespace vq
