// The layout engine on real windows at 96, 120, 144 and 192 DPI (and one
// uneven pair): dialogs, pages and the sheet frame read back against their
// scaled tables, icons from this program's resources, pastes between real
// DIB sections, and bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/wine/dialog_template.h"
#include "tests/wine/layout_test_res.h"
#include "uicore/dialog_layout_win.h"

namespace vq::wine {
namespace {

constexpr DpiPair kDpis[] = {{96, 96}, {120, 120}, {144, 144}, {192, 192}, {144, 96}};

// Rows away from where the template puts them, so that "nothing moves at 96
// DPI" means something.
constexpr LayoutRow kRows[] = {
    {1001, 12, 11, 92, 31, 0}, {1002, 120, 10, 40, 40, 0}, {1003, 14, 60, 100, 25, 0}};
constexpr DialogLayout kTable{0, 0, 300, 200, kRows, 3};

HWND ThreeControls(DWORD style, HWND parent = nullptr) {
  return DialogTemplate(style, 150, 100)
      .Add(kEditAtom, 1001, WS_BORDER, 10, 10, 50, 14)
      .Add(kStaticAtom, 1002, SS_LEFT, 70, 10, 20, 20)
      .Add(kButtonAtom, 1003, BS_PUSHBUTTON, 10, 40, 60, 14, L"Go")
      .Create(parent, PlainDialogProc);
}

// The window's size and its children's rectangles, in that order.
std::vector<RECT> Measure(HWND w, std::initializer_list<int> ids) {
  const SIZE s = WindowSize(w);
  std::vector<RECT> g{{0, 0, s.cx, s.cy}};
  for (int id : ids) g.push_back(ChildRect(w, id));
  return g;
}
void ExpectAt(HWND parent, int id, const PixelRect& p) {
  const RECT r = ChildRect(parent, id);
  EXPECT_EQ((PixelRect{r.left, r.top, r.right, r.bottom}), p) << "control " << id;
}
// A window's expected outer size for a 96-DPI client size: framed by its
// style, then scaled.
void ExpectFramedSize(HWND w, int32_t width, int32_t height, DpiPair dpi) {
  RECT r{0, 0, width, height};
  AdjustWindowRect(&r, static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), FALSE);
  const PixelRect s = ScaleSize(r.right - r.left, r.bottom - r.top, dpi);
  EXPECT_EQ(WindowSize(w).cx, s.cx);
  EXPECT_EQ(WindowSize(w).cy, s.cy);
}

class AtEachDpi : public testing::TestWithParam<DpiPair> {
 protected:
  void TearDown() override { SetScreenDpi(96, 96); }
};

TEST_P(AtEachDpi, DialogsAndPagesTakeTheirScaledTable) {
  const DpiPair dpi = GetParam();
  SetScreenDpi(dpi.x, dpi.y);
  Window dlg(ThreeControls(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
  Window page(ThreeControls(WS_CHILD | DS_CONTROL, dlg));
  ASSERT_TRUE(dlg.h && page.h);
  const auto dlgBefore = Measure(dlg, {1001, 1002, 1003});
  const auto pageBefore = Measure(page, {1001, 1002, 1003});
  int32_t dlgCode = 99, pageCode = 99;
  ASSERT_TRUE(ApplyDialogLayout(dpi.x, dpi.y, dlg, &kTable, &dlgCode));
  ASSERT_TRUE(ApplyPageLayout(page, &kTable, &pageCode));
  EXPECT_EQ(dlgCode, kLayoutOk);
  EXPECT_EQ(pageCode, kLayoutOk);
  if (IsDesignDpi(dpi)) {
    EXPECT_EQ(Measure(dlg, {1001, 1002, 1003}), dlgBefore);
    EXPECT_EQ(Measure(page, {1001, 1002, 1003}), pageBefore);
    return;
  }
  ExpectFramedSize(dlg, 300, 200, dpi);
  // A page has no frame: the table's size is the window's.
  EXPECT_EQ(WindowSize(page).cx, ScaleValue(dpi.x, 300));
  EXPECT_EQ(WindowSize(page).cy, ScaleValue(dpi.y, 200));
  for (const LayoutRow& row : kRows) {
    ExpectAt(dlg, row.controlId, ScaleLayoutRow(row, dpi));
    ExpectAt(page, row.controlId, ScaleLayoutRow(row, dpi));
  }
}

// A stand-in for the property-sheet frame: its four buttons and a tab
// control, which the system may have made larger than designed.
TEST_P(AtEachDpi, SheetFrameFollowsItsTabControl) {
  const DpiPair dpi = GetParam();
  SetScreenDpi(dpi.x, dpi.y);
  const SheetFrameLayout& f = kSheetFrameLayout;
  const std::initializer_list<int> children = {IDOK, IDCANCEL, 12321, IDHELP, 12320};
  for (const SIZE grow : {SIZE{0, 0}, SIZE{30, 20}, SIZE{-10, -10}}) {
    SCOPED_TRACE(testing::Message() << "tab grown by " << grow.cx << "x" << grow.cy);
    Window frame(DialogTemplate(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 300, 250)
                     .Add(kButtonAtom, IDOK, 0, 10, 200, 40, 14, L"OK")
                     .Add(kButtonAtom, IDCANCEL, 0, 60, 200, 40, 14, L"Cancel")
                     .Add(kButtonAtom, 12321, 0, 110, 200, 40, 14, L"Apply")
                     .Add(kButtonAtom, IDHELP, 0, 160, 200, 40, 14, L"Help")
                     .Add(kStaticAtom, 12320, SS_LEFT, 4, 4, 200, 150)
                     .Create(nullptr, PlainDialogProc));
    ASSERT_TRUE(frame.h);
    const int32_t tabW = ScaleValue(dpi.x, f.tab[2] - f.tab[0]) + grow.cx;
    const int32_t tabH = ScaleValue(dpi.y, f.tab[3] - f.tab[1]) + grow.cy;
    SetWindowPos(GetDlgItem(frame, 12320), nullptr, 0, 0, tabW, tabH, SWP_NOMOVE | SWP_NOZORDER);
    const auto before = Measure(frame, children);
    int32_t code = 99;
    ASSERT_TRUE(ApplySheetFrameLayout(frame, &f, &code));
    EXPECT_EQ(code, kLayoutOk);
    if (IsDesignDpi(dpi)) {
      EXPECT_EQ(Measure(frame, children), before);
      continue;
    }
    const SheetFramePlacement p = PlaceSheetFrame(f, dpi, tabW, tabH);
    ExpectFramedSize(frame, p.designWidth, p.designHeight, dpi);
    ExpectAt(frame, IDOK, p.ok);
    ExpectAt(frame, IDCANCEL, p.cancel);
    ExpectAt(frame, 12321, p.apply);
    ExpectAt(frame, IDHELP, p.help);
    ExpectAt(frame, 12320, p.tab);
  }
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {-1, -1};
  BITMAP bm{};
  GetObjectW(info.hbmColor, sizeof bm, &bm);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {bm.bmWidth, bm.bmHeight};
}

TEST_P(AtEachDpi, IconsComeAtTheirDpiSizeAndGoWithTheDialog) {
  const DpiPair dpi = GetParam();
  Window dlg(DialogTemplate(WS_POPUP, 200, 100)
                 .Add(kStaticAtom, 1101, SS_ICON, 0, 0, 10, 10)
                 .Add(kStaticAtom, 1102, SS_ICON, 20, 0, 10, 10)
                 .Add(kStaticAtom, 1103, SS_ICON, 40, 0, 10, 10)
                 .Add(kButtonAtom, 1104, 0, 60, 0, 40, 14, L"No icon")
                 .Create(nullptr, PlainDialogProc));
  const LayoutRow rows[] = {{1101, 0, 0, 0, 0, IDI_ART64}, {1104, 0, 0, 0, 0, 0},
                            {1102, 0, 0, 0, 0, IDI_ART132}, {1103, 0, 0, 0, 0, IDI_ART200}};
  const DialogLayout table{0, 0, 200, 100, rows, 4};
  const int32_t art[] = {64, 132, 200};  // pixels, drawn for 192 DPI
  int32_t code = 99;
  ASSERT_TRUE(AttachLayoutIcons(dpi.x, dpi.y, GetModuleHandleW(nullptr), dlg, &table, &code));
  EXPECT_EQ(code, kLayoutOk);
  std::vector<HICON> icons;
  for (int i = 0; i < 3; ++i) {
    HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageW(dlg, 1101 + i, STM_GETICON, 0, 0));
    ASSERT_TRUE(icon) << 1101 + i;
    // The size rule's numbers are pinned natively; here it is the oracle.
    const IconLoadSize want = DpiIconLoadSize(dpi, art[i], art[i]);
    const SIZE got = IconSize(icon);
    EXPECT_EQ(got.cx, want.natural() ? art[i] : want.cx) << "art " << art[i];
    EXPECT_EQ(got.cy, want.natural() ? art[i] : want.cy) << "art " << art[i];
    icons.push_back(icon);
  }
  ASSERT_TRUE(ReleaseLayoutIcons(dlg, &table, &code));
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(SendDlgItemMessageW(dlg, 1101 + i, STM_GETICON, 0, 0)) << 1101 + i;
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(icons[i], &info)) << "icon of " << 1101 + i << " still alive";
  }
  // A missing icon ends the loop: the rows after it stay empty.
  const LayoutRow broken[] = {{1101, 0, 0, 0, 0, IDI_ART64}, {1102, 0, 0, 0, 0, 999},
                              {1103, 0, 0, 0, 0, IDI_ART64}};
  const DialogLayout brokenTable{0, 0, 200, 100, broken, 3};
  EXPECT_FALSE(
      AttachLayoutIcons(dpi.x, dpi.y, GetModuleHandleW(nullptr), dlg, &brokenTable, &code));
  EXPECT_EQ(code, kLayoutCallFailed);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(SendDlgItemMessageW(dlg, 1101 + i, STM_GETICON, 0, 0) != 0, i == 0) << 1101 + i;
  ReleaseLayoutIcons(dlg, &brokenTable);
}

INSTANTIATE_TEST_SUITE_P(Dpi, AtEachDpi, testing::ValuesIn(kDpis), [](const auto& info) {
  return std::to_string(info.param.x) + "x" + std::to_string(info.param.y);
});

// A DIB section; 8-bit ones get a grey ramp colour table with index 1 red.
HBITMAP Dib(int w, int h, WORD bpp, void** bits) {
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colors[256];
  } bi{};
  bi.h = {sizeof(BITMAPINFOHEADER), w, h, 1, bpp, BI_RGB, 0, 0, 0, 0, 0};
  for (int i = 0; i < 256; ++i) bi.colors[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
  bi.colors[1] = {0, 0, 255, 0};
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, bits,
                          nullptr, 0);
}

TEST(PasteBitmap, EightBitSourceLandsThroughItsColourTable) {
  void *srcBits = nullptr, *dstBits = nullptr;
  HBITMAP src = Dib(2, 1, 8, &srcBits), dst = Dib(4, 2, 24, &dstBits);
  ASSERT_TRUE(src && dst);
  static_cast<uint8_t*>(srcBits)[0] = 1, static_cast<uint8_t*>(srcBits)[1] = 200;
  std::memset(dstBits, 0x55, DibStride(4, 24) * 2);
  int32_t code = 99;
  ASSERT_TRUE(PasteBitmap(src, dst, 1, 1, &code));
  EXPECT_EQ(code, kLayoutOk);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dst);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(200, 200, 200));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(85, 85, 85));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(src);
  DeleteObject(dst);
}

TEST(BadInput, EachGetsItsCodeAndNothingCrashes) {
  SetScreenDpi(144, 144);
  Window dlg(ThreeControls(WS_POPUP | WS_CAPTION));
  Window noTab(DialogTemplate(WS_POPUP, 100, 100).Create(nullptr, PlainDialogProc));
  HWND gone = ThreeControls(WS_POPUP);
  DestroyWindow(gone);
  const LayoutRow missing[] = {{1001, 1, 2, 3, 4, 0}, {4040, 1, 2, 3, 4, 0}};
  const DialogLayout noControl{0, 0, 100, 100, missing, 2};
  void* bits = nullptr;
  HBITMAP dib8 = Dib(2, 2, 8, &bits), dib16 = Dib(2, 2, 16, &bits), dib24 = Dib(4, 4, 24, &bits);
  HDC screen = GetDC(nullptr);
  HBITMAP ddb = CreateCompatibleBitmap(screen, 2, 2);
  ReleaseDC(nullptr, screen);
  const HMODULE self = GetModuleHandleW(nullptr);
  auto icon = [](HMODULE m, uint32_t id, int32_t* c) {
    HICON i = reinterpret_cast<HICON>(1);
    const BOOL r = LoadDpiIcon(144, 144, m, id, &i, c);
    return i ? TRUE : r;  // a failure must leave no icon behind either
  };
  constexpr int32_t kMissing = kLayoutMissingArgument, kFailed = kLayoutCallFailed;
  const struct {
    const char* what;
    std::function<BOOL(int32_t*)> call;
    BOOL result;
    int32_t code;
  } cases[] = {
#define VQ_CASE(what, call, result, code) {what, [&](int32_t* c) { return call; }, result, code}
      VQ_CASE("dialog at 96, nothing", ApplyDialogLayout(96, 96, nullptr, nullptr, c), TRUE, 0),
      VQ_CASE("dialog, none", ApplyDialogLayout(144, 144, nullptr, &kTable, c), FALSE, kMissing),
      VQ_CASE("dialog, no table", ApplyDialogLayout(144, 144, dlg, nullptr, c), FALSE, kMissing),
      VQ_CASE("dialog, destroyed", ApplyDialogLayout(144, 144, gone, &kTable, c), FALSE, kFailed),
      VQ_CASE("no control", ApplyDialogLayout(144, 144, dlg, &noControl, c), FALSE, kFailed),
      VQ_CASE("frame, no table", ApplySheetFrameLayout(dlg, nullptr, c), FALSE, kMissing),
      VQ_CASE("frame, no tab", ApplySheetFrameLayout(noTab, &kSheetFrameLayout, c), FALSE, kFailed),
      VQ_CASE("release, no window", ReleaseLayoutIcons(nullptr, &kTable, c), FALSE, kMissing),
      VQ_CASE("release, no table", ReleaseLayoutIcons(dlg, nullptr, c), TRUE, kMissing),
      VQ_CASE("icon, no module", icon(nullptr, IDI_ART64, c), FALSE, kMissing),
      VQ_CASE("icon, no such id", icon(self, 999, c), FALSE, kFailed),
      VQ_CASE("icon, id past 16 bits", icon(self, 0x10000 + IDI_ART64, c), FALSE, kFailed),
      VQ_CASE("paste, no source", PasteBitmap(nullptr, dib24, 0, 0, c), FALSE, kMissing),
      VQ_CASE("paste, too large", PasteBitmap(dib8, dib24, 3, 0, c), FALSE, kLayoutDoesNotFit),
      VQ_CASE("paste, 16 bits", PasteBitmap(dib16, dib24, 0, 0, c), FALSE, kLayoutBadPixelFormat),
      VQ_CASE("paste, no DIB section", PasteBitmap(ddb, dib24, 0, 0, c), FALSE, kFailed),
#undef VQ_CASE
  };
  for (const auto& c : cases) {
    int32_t code = 99;
    EXPECT_EQ(c.call(&code), c.result) << c.what;
    EXPECT_EQ(code, c.code) << c.what;
  }
  // The rows before a missing control were placed: a failed layout stops there.
  ExpectAt(dlg, 1001, ScaleLayoutRow(missing[0], {144, 144}));
  // An 8-bit source held by another device context has no readable colour table.
  HDC holder = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(holder, dib8);
  int32_t code = 99;
  EXPECT_FALSE(PasteBitmap(dib8, dib24, 0, 0, &code));
  EXPECT_EQ(code, kLayoutCallFailed);
  SelectObject(holder, old);
  DeleteDC(holder);
  for (HBITMAP b : {dib8, dib16, dib24, ddb}) DeleteObject(b);
  SetScreenDpi(96, 96);
}

}  // namespace
}  // namespace vq::wine
