#include "pages/colour/gradient_bar_win.h"

#include <initializer_list>

#include "pages/colour/colour_rules.h"

namespace vq {
namespace {

// The trough: a sunken frame and an S-curve from white to the ink.
HBITMAP PaintTrough(HDC dc, int w, int h, COLORREF ink) {
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  if (!bitmap) return nullptr;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  RECT all{0, 0, w, h};
  FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
  auto line = [&](COLORREF c, std::initializer_list<POINT> points, int width = 1) {
    HPEN pen = CreatePen(PS_INSIDEFRAME, width, c);
    HGDIOBJ old = SelectObject(memory, pen);
    const POINT* p = points.begin();
    MoveToEx(memory, p->x, p->y, nullptr);
    for (++p; p != points.end(); ++p) LineTo(memory, p->x, p->y);
    SelectObject(memory, old);
    DeleteObject(pen);
  };
  line(RGB(128, 128, 128), {{0, h - 1}, {0, 0}, {w, 0}});
  line(RGB(0, 0, 0), {{1, 1}, {w - 1, 1}});
  for (int x = 0; x <= w - 3; x += 2) {
    const COLORREF c = RGB(colour::TroughComponent(GetRValue(ink), x, w),
                           colour::TroughComponent(GetGValue(ink), x, w),
                           colour::TroughComponent(GetBValue(ink), x, w));
    line(c, {{x + 3, 3}, {x + 3, h - 3}}, 2);
  }
  line(RGB(192, 192, 192), {{1, 2}, {1, h - 2}, {w - 1, h - 2}});
  line(RGB(192, 192, 192), {{w - 2, 2}, {w - 2, h - 2}});
  line(RGB(255, 255, 255), {{w - 1, 1}, {w - 1, h - 2}});
  SelectObject(memory, oldBitmap);
  DeleteDC(memory);
  return bitmap;
}

}  // namespace

HBRUSH PaintGradientBar(HWND bar, HDC dc, COLORREF ink, HBITMAP* cache) {
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  RECT client{};
  GetClientRect(bar, &client);
  const int w = client.right - 2 * a, h = client.bottom;
  if (w <= 0 || h <= 0) return nullptr;
  if (!*cache) *cache = PaintTrough(dc, w, h, ink);
  if (!*cache) return nullptr;
  if (HDC memory = CreateCompatibleDC(dc)) {
    HGDIOBJ old = SelectObject(memory, *cache);
    BitBlt(dc, a, 0, w, h, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

void FreeGradientBitmaps(HBITMAP* cache, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (cache[i]) DeleteObject(cache[i]);
    cache[i] = nullptr;
  }
}

}  // namespace vq
