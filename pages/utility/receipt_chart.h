// The receipt colour test chart, free of Windows: which colours its numbered
// patches get, and where each lands on which page of the printer's DC.
#pragma once

#include <cstdint>
#include <vector>

#include "pages/utility/receipt_colours.h"

namespace vq::receipt {

enum class ChartMode { kBase = 0, kVariation = 1 };

struct ChartRequest {
  Rgb base;
  ChartMode mode = ChartMode::kBase;
  int count = 25;      // 7 or 25 (the chart-size list)
  int stepItem = 1;    // step list item 0, 1, 2 = step 5, 3, 1
  int sizeItem = 1;    // chart-size list item: 0 = "1", 1 = "2"
  int planeItem = 0;   // variation plane list item 0..2
};

struct Offset {
  int8_t r, g, b;
};
// The offsets of a chart's patches in patch-number order: the small or
// large base table, or one of the three planes.
std::vector<Offset> ChartOffsets(const ChartRequest& request);
int ChartStep(int stepItem);

// The chart table: patch number -> the colour printed for it.
struct Patch {
  uint16_t number;
  Rgb colour;
};
std::vector<Patch> ChartPatches(const ChartRequest& request);
// The printed colour of patch `number`; false when the table has none.
bool FindPatch(const std::vector<Patch>& table, int number, Rgb* out);

// Device-pixel sizes of the chart, by the printer's horizontal resolution.
struct ChartMetrics {
  int patchHeight, patchWidth, gapX, gapY, numberHeight, numberWidth, labelHeight, fontHeight;
};
const ChartMetrics& MetricsFor(int logPixelsX);

struct ChartLayout {
  bool fits;  // the page holds one patch and its label
  int columns, rowsPerPage;
};
ChartLayout LayoutChart(const ChartMetrics& m, int horzRes, int vertRes);

struct PatchPlace {
  int page, x, y;
};
PatchPlace PlacePatch(const ChartMetrics& m, const ChartLayout& layout, int k);

}  // namespace vq::receipt
