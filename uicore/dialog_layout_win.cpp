#include "uicore/dialog_layout_win.h"

namespace vq {

uint32_t screenDpiX = kDesignDpi;
uint32_t screenDpiY = kDesignDpi;

namespace {

// The standard property-sheet frame's children.
constexpr int kSheetOk = IDOK;
constexpr int kSheetCancel = IDCANCEL;
constexpr int kSheetHelp = IDHELP;
constexpr int kSheetTab = 12320;
constexpr int kSheetApply = 12321;

BOOL Done(int32_t* code, int32_t value) {
  if (code) *code = value;
  return value == kLayoutOk;
}

bool HasRows(const DialogLayout* layout) {
  return layout && (layout->rows || layout->rowCount == 0);
}

bool MoveChild(HWND parent, int id, const PixelRect& r) {
  HWND child = GetDlgItem(parent, id);
  return child && MoveWindow(child, r.x, r.y, r.cx, r.cy, FALSE);
}

// The window size, the rows after it; the first failure stops.
BOOL PlaceWindowAndRows(HWND window, int32_t width, int32_t height, const DialogLayout& layout,
                        DpiPair dpi, int32_t* code) {
  const PixelRect size = ScaleSize(width, height, dpi);
  if (!SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                    SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
    return Done(code, kLayoutCallFailed);
  for (uint32_t i = 0; i < layout.rowCount; ++i) {
    const LayoutRow& row = layout.rows[i];
    if (!MoveChild(window, static_cast<int>(row.controlId), ScaleLayoutRow(row, dpi)))
      return Done(code, kLayoutCallFailed);
  }
  return Done(code, kLayoutOk);
}

// The window's outer size for a client area of width x height, from its
// current style; the dialog templates have no menus.
bool FramedSize(HWND window, int32_t width, int32_t height, int32_t* outWidth,
                int32_t* outHeight) {
  RECT r{0, 0, width, height};
  const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  if (!AdjustWindowRect(&r, style, FALSE)) return false;
  *outWidth = r.right - r.left;
  *outHeight = r.bottom - r.top;
  return true;
}

// What an icon resource's art measures, from its group directory.
bool ResourceIconArtSize(HMODULE module, const wchar_t* name, int32_t* width, int32_t* height) {
  HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* directory = loaded ? LockResource(loaded) : nullptr;
  return directory && GroupIconArtSize(static_cast<const uint8_t*>(directory),
                                       SizeofResource(module, found), width, height);
}

bool DibOf(HBITMAP bitmap, DibPixels* pixels) {
  DIBSECTION ds{};
  if (GetObjectW(bitmap, sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits) return false;
  *pixels = {static_cast<uint8_t*>(ds.dsBm.bmBits), ds.dsBm.bmWidth, ds.dsBm.bmHeight,
             ds.dsBm.bmBitsPixel, ds.dsBmih.biHeight < 0};
  return true;
}

// An 8-bit DIB section's colour table; 0 entries when it cannot be read (the
// bitmap is selected into another device context, for instance).
UINT ReadColorTable(HBITMAP bitmap, ColorEntry (&table)[256]) {
  static_assert(sizeof(ColorEntry) == sizeof(RGBQUAD));
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return 0;
  UINT count = 0;
  if (HGDIOBJ old = SelectObject(dc, bitmap)) {
    count = GetDIBColorTable(dc, 0, 256, reinterpret_cast<RGBQUAD*>(table));
    SelectObject(dc, old);
  }
  DeleteDC(dc);
  return count;
}

}  // namespace

void RefreshScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) {
    SetScreenDpi(kDesignDpi, kDesignDpi);
    return;
  }
  SetScreenDpi(static_cast<uint32_t>(GetDeviceCaps(screen, LOGPIXELSX)),
               static_cast<uint32_t>(GetDeviceCaps(screen, LOGPIXELSY)));
  ReleaseDC(nullptr, screen);
}

void SetScreenDpi(uint32_t dpiX, uint32_t dpiY) {
  screenDpiX = dpiX;
  screenDpiY = dpiY;
}

BOOL ApplyDialogLayout(uint32_t dpiX, uint32_t dpiY, HWND dialog, const DialogLayout* layout,
                       int32_t* code) {
  const DpiPair dpi{dpiX, dpiY};
  // The tables equal the templates at 96 DPI: nothing to do.
  if (IsDesignDpi(dpi)) return Done(code, kLayoutOk);
  if (!dialog || !HasRows(layout)) return Done(code, kLayoutMissingArgument);
  int32_t width = 0, height = 0;
  if (!FramedSize(dialog, static_cast<int32_t>(layout->width),
                  static_cast<int32_t>(layout->height), &width, &height))
    return Done(code, kLayoutCallFailed);
  return PlaceWindowAndRows(dialog, width, height, *layout, dpi, code);
}

BOOL ApplyPageLayout(HWND page, const DialogLayout* layout, int32_t* code) {
  const DpiPair dpi = ScreenDpi();
  if (IsDesignDpi(dpi)) return Done(code, kLayoutOk);
  if (!page || !HasRows(layout)) return Done(code, kLayoutMissingArgument);
  return PlaceWindowAndRows(page, static_cast<int32_t>(layout->width),
                            static_cast<int32_t>(layout->height), *layout, dpi, code);
}

BOOL ApplySheetFrameLayout(HWND frame, const SheetFrameLayout* layout, int32_t* code) {
  const DpiPair dpi = ScreenDpi();
  if (IsDesignDpi(dpi)) return Done(code, kLayoutOk);
  if (!frame || !layout) return Done(code, kLayoutMissingArgument);
  RECT tab{};
  HWND tabControl = GetDlgItem(frame, kSheetTab);
  if (!tabControl || !GetClientRect(tabControl, &tab)) return Done(code, kLayoutCallFailed);
  const SheetFramePlacement p =
      PlaceSheetFrame(*layout, dpi, tab.right - tab.left, tab.bottom - tab.top);
  int32_t width = 0, height = 0;
  if (!FramedSize(frame, p.designWidth, p.designHeight, &width, &height))
    return Done(code, kLayoutCallFailed);
  const PixelRect size = ScaleSize(width, height, dpi);
  if (!SetWindowPos(frame, nullptr, 0, 0, size.cx, size.cy,
                    SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
    return Done(code, kLayoutCallFailed);
  const struct {
    int id;
    const PixelRect& rect;
  } moves[] = {{kSheetOk, p.ok},     {kSheetCancel, p.cancel}, {kSheetApply, p.apply},
               {kSheetHelp, p.help}, {kSheetTab, p.tab}};
  for (const auto& m : moves) {
    if (!MoveChild(frame, m.id, m.rect)) return Done(code, kLayoutCallFailed);
  }
  return Done(code, kLayoutOk);
}

BOOL LoadDpiIcon(uint32_t dpiX, uint32_t dpiY, HMODULE module, uint32_t iconId, HICON* icon,
                 int32_t* code) {
  if (icon) *icon = nullptr;
  if (!module || !icon) return Done(code, kLayoutMissingArgument);
  // An id past 16 bits is no resource id; MAKEINTRESOURCE would cut it to
  // another one.
  if (iconId == 0 || iconId > 0xFFFF) return Done(code, kLayoutCallFailed);
  const wchar_t* name = MAKEINTRESOURCEW(iconId);
  // The art's size comes from the resource directory: one LoadImage, at the
  // size the screen needs, is then all the GDI work (a page shows up to
  // seven icons, and Wine makes each icon a round of server calls).
  int32_t width = 0, height = 0;
  if (!ResourceIconArtSize(module, name, &width, &height)) return Done(code, kLayoutCallFailed);
  const IconLoadSize size = DpiIconLoadSize({dpiX, dpiY}, width, height);
  *icon = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size.cx, size.cy, 0));
  return Done(code, *icon ? kLayoutOk : kLayoutCallFailed);
}

BOOL AttachLayoutIcons(uint32_t dpiX, uint32_t dpiY, HMODULE module, HWND dialog,
                       const DialogLayout* layout, int32_t* code) {
  if (!dialog || !HasRows(layout)) return Done(code, kLayoutMissingArgument);
  for (uint32_t i = 0; i < layout->rowCount; ++i) {
    const LayoutRow& row = layout->rows[i];
    if (row.iconId == 0) continue;
    HICON icon = nullptr;
    int32_t loaded = kLayoutOk;
    if (!LoadDpiIcon(dpiX, dpiY, module, row.iconId, &icon, &loaded)) return Done(code, loaded);
    HWND control = GetDlgItem(dialog, static_cast<int>(row.controlId));
    if (!control) {
      DestroyIcon(icon);
      return Done(code, kLayoutCallFailed);
    }
    SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
  return Done(code, kLayoutOk);
}

BOOL ReleaseLayoutIcons(HWND dialog, const DialogLayout* layout, int32_t* code) {
  if (!dialog) return Done(code, kLayoutMissingArgument);
  if (!HasRows(layout)) {
    Done(code, kLayoutMissingArgument);
    return TRUE;
  }
  for (uint32_t i = 0; i < layout->rowCount; ++i) {
    if (layout->rows[i].iconId == 0) continue;
    HWND control = GetDlgItem(dialog, static_cast<int>(layout->rows[i].controlId));
    if (!control) continue;
    // Emptied first, so that the control never paints a destroyed icon.
    HICON icon = reinterpret_cast<HICON>(SendMessageW(control, STM_SETICON, 0, 0));
    if (icon) DestroyIcon(icon);
  }
  Done(code, kLayoutOk);
  return TRUE;
}

BOOL PasteBitmap(HBITMAP source, HBITMAP destination, int x, int y, int32_t* code) {
  if (!source || !destination) return Done(code, kLayoutMissingArgument);
  DibPixels src{}, dst{};
  if (!DibOf(source, &src) || !DibOf(destination, &dst)) return Done(code, kLayoutCallFailed);
  const int32_t fits = CheckPaste(src, dst, x, y);
  if (fits != kLayoutOk) return Done(code, fits);
  ColorEntry colors[256] = {};
  UINT colorCount = 0;
  if (src.bitsPerPixel == 8) {
    colorCount = ReadColorTable(source, colors);
    if (colorCount == 0) return Done(code, kLayoutCallFailed);
  }
  // Drawing queued by GDI must land before the bits are read or written.
  GdiFlush();
  return Done(code, PasteDibPixels(src, colors, colorCount, dst, x, y));
}

}  // namespace vq
