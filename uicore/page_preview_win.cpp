#include "uicore/page_preview_win.h"

#include <mutex>
#include <string>

#include "base/handles_win.h"
#include "uicore/dialog_layout.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/page_preview.h"
#include "uicore/shared_controls_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

using preview::Box;

constexpr COLORREF kLinerColour = RGB(150, 255, 255);
constexpr COLORREF kTextShadow = RGB(200, 200, 200);
constexpr COLORREF kEdgeColour = RGB(150, 150, 150);
constexpr COLORREF kHoleColour = RGB(90, 90, 90);
constexpr uint16_t kInchText = 4887;
constexpr uint16_t kMillimetreText = 4888;

UniqueGdi<HBITMAP> LoadDib(HMODULE resources, uint16_t id) {
  if (!resources || !id) return UniqueGdi<HBITMAP>();
  return UniqueGdi<HBITMAP>(static_cast<HBITMAP>(
      LoadImageW(resources, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

RECT ToRect(const Box& b, int dx = 0, int dy = 0) {
  return RECT{b.left + dx, b.top + dy, b.right + dx, b.bottom + dy};
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A rectangle, with rounded corners when radius > 0, in one colour; the
// edge in `edge` (CLR_INVALID: none).
void Shape(HDC dc, const RECT& r, int radius, COLORREF colour, COLORREF edge = CLR_INVALID) {
  if (radius <= 0 && edge == CLR_INVALID) return Fill(dc, r, colour);
  SetDCBrushColor(dc, colour);
  SetDCPenColor(dc, edge == CLR_INVALID ? colour : edge);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
  RoundRect(dc, r.left, r.top, r.right, r.bottom, 2 * radius, 2 * radius);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
}

void StretchWhole(HDC dc, HBITMAP bitmap, int cw, int ch) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) return;
  UniqueDc src(CreateCompatibleDC(dc));
  HGDIOBJ old = SelectObject(src.get(), bitmap);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, 0, 0, cw, ch, src.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(src.get(), old);
}


// The pictures stretched to their frames, kept for the next redraw: loading
// a bitmap from the resource module and stretching it with halftone is most
// of a redraw's time (tools/bench), and neither the frames nor the pictures
// change while sheets are open. A few entries cover the basic page's two
// frames and the orientation pictures a user flips between; the oldest goes
// first. One lock: the bitmap is selected into a DC while it is copied.
class ScaledPictures {
 public:
  ~ScaledPictures() {
    for (Entry& e : entries_)
      if (e.bitmap) DeleteObject(e.bitmap);
  }
  // Copies `background` with `picture` pasted at (x, y) (picture 0: none),
  // stretched to cw x ch, to (0, 0) of dc. false when the background cannot
  // be loaded.
  bool Paint(HDC dc, HMODULE resources, uint16_t background, uint16_t picture, int x, int y, int cw, int ch) {
    std::lock_guard<std::mutex> hold(lock_);
    Entry* e = Find(resources, background, picture, x, y, cw, ch);
    if (!e) e = Make(dc, resources, background, picture, x, y, cw, ch);
    if (!e) return false;
    UniqueDc src(CreateCompatibleDC(dc));
    HGDIOBJ old = SelectObject(src.get(), e->bitmap);
    BitBlt(dc, 0, 0, cw, ch, src.get(), 0, 0, SRCCOPY);
    SelectObject(src.get(), old);
    return true;
  }

 private:
  struct Entry {
    HMODULE module;
    uint16_t background, picture;
    int x, y, cw, ch;
    HBITMAP bitmap;
    uint64_t used;
  };
  Entry* Find(HMODULE m, uint16_t b, uint16_t p, int x, int y, int cw, int ch) {
    for (Entry& e : entries_)
      if (e.bitmap && e.module == m && e.background == b && e.picture == p && e.x == x && e.y == y &&
          e.cw == cw && e.ch == ch) {
        e.used = ++clock_;
        return &e;
      }
    return nullptr;
  }
  Entry* Make(HDC dc, HMODULE m, uint16_t b, uint16_t p, int x, int y, int cw, int ch);

  std::mutex lock_;
  Entry entries_[8] = {};
  uint64_t clock_ = 0;
};

ScaledPictures g_scaled;

ScaledPictures::Entry* ScaledPictures::Make(HDC dc, HMODULE m, uint16_t b, uint16_t p, int x, int y, int cw,
                                            int ch) {
  UniqueGdi<HBITMAP> background = LoadDib(m, b);
  BITMAP bm{};
  if (!background || !GetObjectW(background.get(), sizeof bm, &bm)) return nullptr;
  if (p) {
    // Pasted into a 24-bit copy: the background's own bits stay as loaded.
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, bm.bmWidth, bm.bmHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueGdi<HBITMAP> composed(CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!composed) return nullptr;
    PasteBitmap(background.get(), composed.get(), 0, 0);
    if (UniqueGdi<HBITMAP> glyph = LoadDib(m, p)) PasteBitmap(glyph.get(), composed.get(), x, y);
    background = std::move(composed);
  }
  UniqueGdi<HBITMAP> scaled(CreateCompatibleBitmap(dc, cw, ch));
  UniqueDc target(CreateCompatibleDC(dc));
  if (!scaled || !target) return nullptr;
  HGDIOBJ old = SelectObject(target.get(), scaled.get());
  StretchWhole(target.get(), background.get(), cw, ch);
  SelectObject(target.get(), old);
  Entry* slot = &entries_[0];
  for (Entry& e : entries_)
    if (!e.bitmap || e.used < slot->used) slot = &e;
  if (slot->bitmap) DeleteObject(slot->bitmap);
  *slot = Entry{m, b, p, x, y, cw, ch, scaled.release(), ++clock_};
  return slot;
}

// The ragged ends of continuous stock and the folds of fan-fold stock.
void EdgeLines(HDC dc, const Box& o, const preview::KindMarks& k) {
  if (!k.torn && !k.perforated) return;
  UniqueGdi<HPEN> pen(CreatePen(k.perforated ? PS_DOT : PS_SOLID, 1, kEdgeColour));
  HGDIOBJ old = SelectObject(dc, pen.get());
  if (k.torn) {
    for (int y : {o.top + 2, o.bottom - 3}) {
      MoveToEx(dc, o.left, y, nullptr);
      for (int x = o.left, up = 0; x < o.right; up ^= 1) {
        x = std::min<int>(x + 4, o.right);
        LineTo(dc, x, y + (up ? -2 : 2));
      }
    }
  } else {
    for (int y : {o.top + 3, o.bottom - 4}) {
      MoveToEx(dc, o.left, y, nullptr);
      LineTo(dc, o.right, y);
    }
  }
  SelectObject(dc, old);
}

// One text, centred on x, twice: the grey shadow 2 pixels right and down,
// then black.
void ShadowedText(HDC dc, int x, int y, const std::wstring& text) {
  const int shadow = preview::kShadowOffset;
  SetTextColor(dc, kTextShadow);
  TextOutW(dc, x + shadow, y + shadow, text.c_str(), static_cast<int>(text.size()));
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

int Scaled(uint32_t dpi, int32_t value) {
  int32_t out = value;
  ScaleByDpi(dpi, value, &out);
  return out;
}

std::wstring Text(uint16_t id) {
  wchar_t text[64] = {};
  LoadTextById(id, text, sizeof text - sizeof(wchar_t));
  return text;
}

void DrawSheet(HDC dc, int cw, int ch, HMODULE resources, const JobSettings& js,
               const preview::PreviewMode& mode) {
  g_scaled.Paint(dc, resources, mode.background, 0, 0, 0, cw, ch);

  const PaperInfo& paper = js.Paper;
  const preview::SheetPlacement place = preview::PlaceSheet(paper, cw, ch);
  if (place.drawn) {
    const preview::KindMarks marks = preview::PaperKindMarks(paper, place);
    const int outerRadius = place.liner ? 0 : marks.cornerRadius;
    Shape(dc, ToRect(place.outer, preview::kSheetShadow, preview::kSheetShadow), outerRadius,
          RGB(0, 0, 0));
    if (place.liner) Fill(dc, ToRect(place.outer), kLinerColour);
    Shape(dc, ToRect(place.label), marks.cornerRadius, RGB(255, 255, 255),
          marks.cornerRadius && !place.liner ? RGB(255, 255, 255) : CLR_INVALID);
    if (marks.blackMark) Fill(dc, ToRect(marks.mark), RGB(0, 0, 0));
    if (marks.hole) Shape(dc, ToRect(marks.holeBox), marks.holeBox.width() / 2, kHoleColour);
    EdgeLines(dc, place.outer, marks);
  }

  const bool inches = js.MeasureUnit != 0;
  const std::wstring unit = Text(inches ? kInchText : kMillimetreText);
  const preview::SizeTexts sizes = preview::PreviewSizeTexts(
      paper, inches, LocaleUsesDecimalPoint() != 0, std::u16string(unit.begin(), unit.end()),
      std::u16string(unit.begin(), unit.end()));
  size_t nameLength = 0;
  while (nameLength < std::size(paper.paperName) && paper.paperName[nameLength]) ++nameLength;
  const std::wstring name(reinterpret_cast<const wchar_t*>(paper.paperName), nameLength);

  HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf{};
  GetObjectW(gui, sizeof lf, &lf);
  lf.lfEscapement = lf.lfOrientation = 2700;
  UniqueGdi<HFONT> turned(CreateFontIndirectW(&lf));
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_CENTER | TA_TOP | TA_NOUPDATECP);
  HGDIOBJ oldFont = SelectObject(dc, gui);
  ShadowedText(dc, cw / 2, ch - Scaled(screenDpiY, preview::kNameFromBottom), name);
  ShadowedText(dc, cw / 2, Scaled(screenDpiY, preview::kWidthFromTop),
               std::wstring(sizes.width.begin(), sizes.width.end()));
  SelectObject(dc, turned ? turned.get() : gui);
  ShadowedText(dc, cw - Scaled(screenDpiX, preview::kLengthFromRight), ch / 2,
               std::wstring(sizes.length.begin(), sizes.length.end()));
  SelectObject(dc, oldFont);
}

void DrawOrientation(HDC dc, int cw, int ch, HMODULE resources, const JobSettings& js,
                     uint32_t mode) {
  const preview::OrientationPicture o =
      preview::ChooseOrientationPicture(mode, js.Paper, js.dmOrientation == 1, js.PaperOption != 0);
  if (!g_scaled.Paint(dc, resources, o.background, o.picture, o.x, o.y, cw, ch)) {
    RECT all{0, 0, cw, ch};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  }
}

// Draws through a memory bitmap so that a redraw never flickers.
template <typename Draw>
void Buffered(HDC dc, const RECT& rc, Draw draw) {
  const int cw = rc.right - rc.left, ch = rc.bottom - rc.top;
  if (cw <= 0 || ch <= 0) return;
  UniqueDc mem(CreateCompatibleDC(dc));
  UniqueGdi<HBITMAP> surface(CreateCompatibleBitmap(dc, cw, ch));
  if (!mem || !surface) return draw(dc, cw, ch);
  HGDIOBJ old = SelectObject(mem.get(), surface.get());
  draw(mem.get(), cw, ch);
  BitBlt(dc, rc.left, rc.top, cw, ch, mem.get(), 0, 0, SRCCOPY);
  SelectObject(mem.get(), old);
}

}  // namespace

bool DrawPreviewItem(HMODULE resources, const DRAWITEMSTRUCT& item, const JobSettings& js,
                     uint32_t mode) {
  const preview::PreviewMode* m = preview::FindMode(mode);
  if (!m) return false;
  if (item.CtlID == m->frameControl) {
    Buffered(item.hDC, item.rcItem,
             [&](HDC dc, int cw, int ch) { DrawSheet(dc, cw, ch, resources, js, *m); });
    return true;
  }
  if (m->pictureControl && item.CtlID == m->pictureControl) {
    Buffered(item.hDC, item.rcItem,
             [&](HDC dc, int cw, int ch) { DrawOrientation(dc, cw, ch, resources, js, mode); });
    return true;
  }
  return false;
}

void DrawPagePreview(HMODULE resources, HWND dialog, const JobSettings& js, uint32_t mode) {
  const preview::PreviewMode* m = preview::FindMode(mode);
  if (!m) return;
  for (uint32_t id : {m->frameControl, m->pictureControl}) {
    HWND control = id ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
    if (!control) continue;
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = id;
    item.hwndItem = control;
    item.hDC = GetDC(control);
    GetClientRect(control, &item.rcItem);
    DrawPreviewItem(resources, item, js, mode);
    ReleaseDC(control, item.hDC);
  }
}

void RedrawPagePreview(HWND dialog, uint32_t mode) {
  const preview::PreviewMode* m = preview::FindMode(mode);
  if (!m) return;
  for (uint32_t id : {m->frameControl, m->pictureControl})
    if (HWND control = id ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr)
      InvalidateRect(control, nullptr, FALSE);
}

}  // namespace vq
