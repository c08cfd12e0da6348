#include "pages/utility/receipt_chart.h"

#include <algorithm>

namespace vq::receipt {
namespace {

// Base chart of 7: the colour itself and one step up and down each axis.
constexpr Offset kSmall[7] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0},
                              {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
// Base chart of 25: two steps around the colour in the red-green plane, then
// blue with its mixes.
constexpr Offset kLarge[25] = {
    {0, 0, 0},   {1, 0, 0},   {2, 0, 0},  {1, 1, 0},   {0, 1, 0},   {0, 2, 0},   {-1, 1, 0},
    {-1, 0, 0},  {-2, 0, 0},  {-1, -1, 0}, {0, -1, 0}, {0, -2, 0},  {1, -1, 0},  {0, 0, 1},
    {0, 0, 2},   {1, 0, 1},   {1, 0, -1}, {0, 0, -1},  {0, 0, -2},  {-1, 0, -1}, {-1, 0, 1},
    {0, 1, 1},   {0, -1, 1},  {0, 1, -1}, {0, -1, -1}};

constexpr ChartMetrics k600 = {200, 500, 20, 20, 70, 100, 70, 64};
constexpr ChartMetrics k1200 = {400, 1000, 40, 40, 140, 200, 140, 128};

// Smallest n >= 1 with base + n * pitch >= limit.
int SmallestCount(int base, int pitch, int limit) {
  if (limit <= base) return 1;
  return std::max(1, (limit - base + pitch - 1) / pitch);
}

}  // namespace

int ChartStep(int stepItem) {
  static constexpr int kSteps[3] = {5, 3, 1};
  return kSteps[std::clamp(stepItem, 0, 2)];
}

std::vector<Offset> ChartOffsets(const ChartRequest& request) {
  if (request.mode == ChartMode::kBase) {
    if (request.sizeItem == 0) return {std::begin(kSmall), std::end(kSmall)};
    return {std::begin(kLarge), std::end(kLarge)};
  }
  // Five rows of five: the row axis from 2 down to -2, within a row the
  // column axis from -2 to 2; the third component stays.
  std::vector<Offset> plane;
  const int which = std::clamp(request.planeItem, 0, 2);
  for (int row = 2; row >= -2; --row)
    for (int col = -2; col <= 2; ++col) {
      const int8_t rv = int8_t(row), cv = int8_t(col);
      if (which == 0) plane.push_back({cv, rv, 0});        // green rows, red columns
      else if (which == 1) plane.push_back({0, cv, rv});   // blue rows, green columns
      else plane.push_back({cv, 0, rv});                   // blue rows, red columns
    }
  return plane;
}

std::vector<Patch> ChartPatches(const ChartRequest& request) {
  const std::vector<Offset> offsets = ChartOffsets(request);
  const int step = ChartStep(request.stepItem);
  const int n = std::clamp(request.count, 0, int(offsets.size()));
  const auto component = [step](uint8_t base, int8_t offset) {
    return uint8_t(std::clamp(base + offset * step, 0, 255));
  };
  std::vector<Patch> patches;
  for (int k = 0; k < n; ++k) {
    const Offset& o = offsets[size_t(k)];
    patches.push_back({uint16_t(k),
                       {component(request.base.r, o.r), component(request.base.g, o.g),
                        component(request.base.b, o.b)}});
  }
  return patches;
}

bool FindPatch(const std::vector<Patch>& table, int number, Rgb* out) {
  for (const Patch& p : table)
    if (p.number == number) {
      *out = p.colour;
      return true;
    }
  return false;
}

const ChartMetrics& MetricsFor(int logPixelsX) { return logPixelsX == 1200 ? k1200 : k600; }

ChartLayout LayoutChart(const ChartMetrics& m, int horzRes, int vertRes) {
  ChartLayout layout{};
  layout.fits = horzRes >= m.patchWidth && vertRes >= m.patchHeight + m.labelHeight;
  layout.columns = SmallestCount(m.patchWidth, m.patchWidth + m.gapX, horzRes);
  layout.rowsPerPage = SmallestCount(m.patchHeight + m.labelHeight,
                                     m.patchHeight + m.gapY + m.numberHeight, vertRes);
  return layout;
}

PatchPlace PlacePatch(const ChartMetrics& m, const ChartLayout& layout, int k) {
  const int perPage = layout.columns * layout.rowsPerPage;
  const int onPage = k % perPage;
  return {k / perPage, (onPage % layout.columns) * (m.patchWidth + m.gapX),
          (onPage / layout.columns) * (m.labelHeight + m.gapY + m.patchHeight)};
}

}  // namespace vq::receipt
