#include "pages/utility/receipt_chart_win.h"

#include <cwchar>
#include <string>

#include "uicore/messages_win.h"

namespace vq {

using receipt::ChartLayout;
using receipt::ChartMetrics;
using receipt::Patch;

HFONT CreateChartFont(const ChartMetrics& m) {
  return CreateFontW(m.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, L"MS UI Gothic");
}

void DrawChartPage(HDC dc, const ChartMetrics& m, const ChartLayout& layout,
                   const std::vector<Patch>& patches, int page, std::vector<int>* failed) {
  constexpr UINT kTextFlags = DT_EXPANDTABS | DT_EXTERNALLEADING;
  for (const Patch& p : patches) {
    const receipt::PatchPlace at = receipt::PlacePatch(m, layout, p.number);
    if (at.page != page) continue;
    const COLORREF colour = RGB(p.colour.r, p.colour.g, p.colour.b);
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    bool drawn = brush && pen && Rectangle(dc, at.x, at.y, at.x + m.patchWidth, at.y + m.patchHeight);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    if (pen) DeleteObject(pen);
    if (brush) DeleteObject(brush);
    wchar_t text[40];
    std::swprintf(text, std::size(text), L"%d ", int(p.number));
    RECT number{at.x, at.y, at.x + m.numberWidth, at.y + m.numberHeight};
    drawn = DrawTextW(dc, text, -1, &number, kTextFlags) && drawn;
    std::swprintf(text, std::size(text), L"R:%d G:%d B:%d", p.colour.r, p.colour.g, p.colour.b);
    RECT label{at.x, at.y + m.patchHeight, at.x + m.patchWidth,
               at.y + m.patchHeight + m.labelHeight};
    drawn = DrawTextW(dc, text, -1, &label, kTextFlags) && drawn;
    if (!drawn) failed->push_back(p.number);
  }
}

bool PrintReceiptChart(HWND owner, const wchar_t* printerName,
                       const receipt::ChartRequest& request, std::vector<Patch>* table) {
  HDC dc = CreateDCW(nullptr, printerName, nullptr, nullptr);
  if (!dc) return false;
  const ChartMetrics& m = receipt::MetricsFor(GetDeviceCaps(dc, LOGPIXELSX));
  const ChartLayout layout =
      receipt::LayoutChart(m, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
  if (!layout.fits) {
    DeleteDC(dc);
    ShowMessageById(owner, 4104);
    return false;
  }
  *table = receipt::ChartPatches(request);
  DOCINFOW doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDatatype = L"raw";
  if (StartDocW(dc, &doc) <= 0) {
    DeleteDC(dc);
    return false;
  }
  HFONT font = CreateChartFont(m);
  std::vector<int> failed;
  const int pages = table->empty() ? 1 : receipt::PlacePatch(m, layout, int(table->size()) - 1).page + 1;
  bool printed = true;
  for (int page = 0; page < pages && printed; ++page) {
    if (StartPage(dc) <= 0) {
      printed = page > 0;
      break;
    }
    HGDIOBJ oldFont = SelectObject(dc, font);
    DrawChartPage(dc, m, layout, *table, page, &failed);
    SelectObject(dc, oldFont);
    EndPage(dc);
  }
  if (printed) EndDoc(dc);
  else AbortDoc(dc);
  DeleteObject(font);
  DeleteDC(dc);
  if (!failed.empty()) {
    std::wstring text;
    for (int number : failed) text += std::to_wstring(number) + L" ";
    text += L"Number Print Error";
    MessageBoxW(nullptr, text.c_str(), L"Error No", MB_ICONEXCLAMATION);
  }
  return printed;
}

}  // namespace vq
