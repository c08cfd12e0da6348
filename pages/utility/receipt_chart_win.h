// The receipt colour test chart printed through GDI: numbered patches with
// their RGB labels on the printer's own device context.
#pragma once

#include <windows.h>

#include <vector>

#include "pages/utility/receipt_chart.h"

namespace vq {

// Draws the patches of `patches` that fall on `page` of `layout` into `dc`
// (the chart's font already selected); the numbers of the patches that
// failed to draw are added to *failed.
void DrawChartPage(HDC dc, const receipt::ChartMetrics& m, const receipt::ChartLayout& layout,
                   const std::vector<receipt::Patch>& patches, int page, std::vector<int>* failed);

// The chart's font ("MS UI Gothic" at the metric's height); the caller
// deletes it.
HFONT CreateChartFont(const receipt::ChartMetrics& m);

// Prints the chart of `request` on printer `printerName` (a DC with the
// printer's default settings) and fills *table with the colour printed for
// each patch number. Message 4104 over `owner` when the page cannot hold
// one patch; a box listing the patches that failed. False when nothing was
// printed.
bool PrintReceiptChart(HWND owner, const wchar_t* printerName,
                       const receipt::ChartRequest& request, std::vector<receipt::Patch>* table);

}  // namespace vq
