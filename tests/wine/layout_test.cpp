// The layout engine on real windows at 96, 120, 144 and 192 DPI (and one
// uneven pair): dialogs, pages and the sheet frame read back against their
// scaled tables, icons from this program's resources, a paste between real
// DIB sections, and the codes of bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/wine/layout_test_res.h"
#include "tests/wine/test_window.h"
#include "uicore/dialog_layout_win.h"

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

namespace vq::wine {
namespace {

// Rows away from where the controls start, so that "nothing moves at 96 DPI"
// means something.
constexpr LayoutRow kRows[] = {
    {1001, 12, 11, 92, 31, 0}, {1002, 120, 10, 40, 40, 0}, {1003, 14, 60, 100, 25, 0}};
constexpr DialogLayout kTable{0, 0, 300, 200, kRows, 3};

HWND ThreeControls(DWORD style, HWND parent = nullptr) {
  return MakeDialog(style, 250, 180,
                    {{L"EDIT", 1001, WS_BORDER, 10, 10, 50, 14},
                     {L"STATIC", 1002, 0, 70, 10, 20, 20},
                     {L"BUTTON", 1003, 0, 10, 40, 60, 14}},
                    parent);
}

// As x, y, cx, cy: the window's size, then its children in their parent's
// client coordinates.
std::vector<RECT> Measure(HWND w, std::initializer_list<int> ids) {
  RECT r{};
  GetWindowRect(w, &r);
  std::vector<RECT> got{{0, 0, r.right - r.left, r.bottom - r.top}};
  for (int id : ids) {
    GetWindowRect(GetDlgItem(w, id), &r);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
    got.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
  }
  return got;
}
RECT AsRect(const PixelRect& p) { return {p.x, p.y, p.cx, p.cy}; }
// The outer size for a 96-DPI client size: framed by the window's style, then scaled.
RECT Framed(HWND w, int32_t width, int32_t height, DpiPair dpi) {
  RECT r{0, 0, width, height};
  AdjustWindowRect(&r, static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), FALSE);
  return AsRect(ScaleSize(r.right - r.left, r.bottom - r.top, dpi));
}

class AtEachDpi : public testing::TestWithParam<DpiPair> {
 protected:
  void SetUp() override { SetScreenDpi(GetParam().x, GetParam().y); }
  void TearDown() override { SetScreenDpi(96, 96); }
};

TEST_P(AtEachDpi, DialogsAndPagesTakeTheirScaledTable) {
  const DpiPair dpi = GetParam();
  Window dlg(ThreeControls(WS_POPUP | WS_CAPTION | WS_SYSMENU));
  Window page(ThreeControls(WS_CHILD, dlg));
  ASSERT_TRUE(dlg.h && page.h);
  const auto ids = {1001, 1002, 1003};
  std::vector<RECT> dlgWant = Measure(dlg, ids), pageWant = Measure(page, ids);
  if (!IsDesignDpi(dpi)) {
    dlgWant = {Framed(dlg, 300, 200, dpi)};
    pageWant = {AsRect(ScaleSize(300, 200, dpi))};  // a page has no frame
    for (const LayoutRow& row : kRows) {
      dlgWant.push_back(AsRect(ScaleLayoutRow(row, dpi)));
      pageWant.push_back(dlgWant.back());
    }
  }
  int32_t dlgCode = 99, pageCode = 99;
  EXPECT_TRUE(ApplyDialogLayout(dpi.x, dpi.y, dlg, &kTable, &dlgCode));
  EXPECT_TRUE(ApplyPageLayout(page, &kTable, &pageCode));
  EXPECT_EQ(dlgCode, kLayoutOk);
  EXPECT_EQ(pageCode, kLayoutOk);
  EXPECT_EQ(Measure(dlg, ids), dlgWant);
  EXPECT_EQ(Measure(page, ids), pageWant);
}

// A stand-in for the property-sheet frame: its four buttons and a tab
// control, which the system may have made larger than designed.
TEST_P(AtEachDpi, SheetFrameFollowsItsTabControl) {
  const DpiPair dpi = GetParam();
  const SheetFrameLayout& f = kSheetFrameLayout;
  const auto ids = {IDOK, IDCANCEL, 12321, IDHELP, 12320};
  Window frame(MakeDialog(
      WS_POPUP | WS_CAPTION, 450, 350,
      {{L"BUTTON", IDOK, 0, 10, 300, 40, 14}, {L"BUTTON", IDCANCEL, 0, 60, 300, 40, 14},
       {L"BUTTON", 12321, 0, 110, 300, 40, 14}, {L"BUTTON", IDHELP, 0, 160, 300, 40, 14},
       {L"BUTTON", 12320, 0, 4, 4, 200, 150}}));
  // The tab control 30 x 20 larger than its scaled design size (a tab
  // control of the design size is the native test's case).
  const int32_t tabW = ScaleValue(dpi.x, f.tab[2] - f.tab[0]) + 30;
  const int32_t tabH = ScaleValue(dpi.y, f.tab[3] - f.tab[1]) + 20;
  SetWindowPos(GetDlgItem(frame, 12320), nullptr, 0, 0, tabW, tabH, SWP_NOMOVE | SWP_NOZORDER);
  std::vector<RECT> want = Measure(frame, ids);
  if (!IsDesignDpi(dpi)) {
    const SheetFramePlacement p = PlaceSheetFrame(f, dpi, tabW, tabH);
    want = {Framed(frame, p.designWidth, p.designHeight, dpi), AsRect(p.ok), AsRect(p.cancel),
            AsRect(p.apply), AsRect(p.help), AsRect(p.tab)};
  }
  int32_t code = 99;
  EXPECT_TRUE(ApplySheetFrameLayout(frame, &f, &code));
  EXPECT_EQ(code, kLayoutOk);
  EXPECT_EQ(Measure(frame, ids), want);
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  BITMAP bm{};
  if (GetIconInfo(icon, &info)) GetObjectW(info.hbmColor, sizeof bm, &bm);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {bm.bmWidth, bm.bmHeight};
}

TEST_P(AtEachDpi, IconsComeAtTheirDpiSizeAndGoWithTheDialog) {
  const DpiPair dpi = GetParam();
  Window dlg(MakeDialog(WS_POPUP, 300, 100,
                        {{L"STATIC", 1101, SS_ICON, 0, 0, 10, 10},
                         {L"STATIC", 1102, SS_ICON, 20, 0, 10, 10},
                         {L"BUTTON", 1103, 0, 60, 0, 40, 14}}));
  const LayoutRow rows[] = {
      {1101, 0, 0, 0, 0, IDI_ART64}, {1103, 0, 0, 0, 0, 0}, {1102, 0, 0, 0, 0, IDI_ART200}};
  const DialogLayout table{0, 0, 200, 100, rows, 3};
  int32_t code = 99;
  ASSERT_TRUE(AttachLayoutIcons(dpi.x, dpi.y, GetModuleHandleW(nullptr), dlg, &table, &code));
  EXPECT_EQ(code, kLayoutOk);
  // The art is drawn for 192 DPI; 64 pixels scale (the rule's numbers are
  // pinned natively), 200 reach 100 at 96 DPI and come at their natural size.
  const IconLoadSize small = DpiIconLoadSize(dpi, 64, 64);
  const SIZE want[] = {{small.cx, small.cy}, {200, 200}};
  HICON icons[2];
  for (int i = 0; i < 2; ++i) {
    icons[i] = reinterpret_cast<HICON>(SendDlgItemMessageW(dlg, 1101 + i, STM_GETICON, 0, 0));
    EXPECT_EQ(IconSize(icons[i]).cx, want[i].cx) << 1101 + i;
    EXPECT_EQ(IconSize(icons[i]).cy, want[i].cy) << 1101 + i;
  }
  ASSERT_TRUE(ReleaseLayoutIcons(dlg, &table));
  for (int i = 0; i < 2; ++i) {
    ICONINFO info{};
    EXPECT_FALSE(SendDlgItemMessageW(dlg, 1101 + i, STM_GETICON, 0, 0)) << 1101 + i;
    EXPECT_FALSE(GetIconInfo(icons[i], &info)) << "icon of " << 1101 + i << " still alive";
  }
}

constexpr DpiPair kDpis[] = {{96, 96}, {120, 120}, {144, 144}, {192, 192}, {144, 96}};
INSTANTIATE_TEST_SUITE_P(Dpi, AtEachDpi, testing::ValuesIn(kDpis), [](const auto& i) {
  return std::to_string(i.param.x) + "x" + std::to_string(i.param.y);
});

// A bottom-up DIB section; 8-bit ones get a grey ramp colour table with index 1 red.
HBITMAP Dib(int w, int h, WORD bpp, void** bits) {
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colors[256];
  } bi{{sizeof(BITMAPINFOHEADER), w, h, 1, bpp, BI_RGB, 0, 0, 0, 0, 0}, {}};
  for (int i = 0; i < 256; ++i) bi.colors[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
  bi.colors[1] = {0, 0, 255, 0};
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, bits,
                          nullptr, 0);
}

TEST(Codes, EachCallGetsItsCodeAndAPasteLandsThroughTheColourTable) {
  SetScreenDpi(144, 144);
  Window dlg(ThreeControls(WS_POPUP | WS_CAPTION));
  Window noTab(MakeDialog(WS_POPUP, 100, 100, {}));
  HWND gone = ThreeControls(WS_POPUP);
  DestroyWindow(gone);
  const LayoutRow missing[] = {{1001, 1, 2, 3, 4, 0}, {4040, 1, 2, 3, 4, 0}};
  const DialogLayout noControl{0, 0, 100, 100, missing, 2};
  void *bits8 = nullptr, *bits24 = nullptr, *unused = nullptr;
  HBITMAP dib8 = Dib(2, 1, 8, &bits8), dib16 = Dib(2, 2, 16, &unused);
  HBITMAP dib24 = Dib(4, 2, 24, &bits24);
  static_cast<uint8_t*>(bits8)[0] = 1, static_cast<uint8_t*>(bits8)[1] = 200;
  std::memset(bits24, 0x55, DibStride(4, 24) * 2);
  HBITMAP ddb = CreateBitmap(2, 2, 1, 32, nullptr);
  const HMODULE self = GetModuleHandleW(nullptr);
  HICON left = nullptr;  // a failure must leave no icon behind either
  auto icon = [&](HMODULE m, uint32_t id, int32_t* c) {
    return LoadDpiIcon(144, 144, m, id, &(left = HICON(1)), c) || left;
  };
  constexpr int32_t kMissing = kLayoutMissingArgument, kFailed = kLayoutCallFailed;
  const struct {
    const char* what;
    std::function<BOOL(int32_t*)> call;
    BOOL result;
    int32_t code;
  } cases[] = {
#define VQ_CASE(what, call, result, code) {what, [&](int32_t* c) { return call; }, result, code}
      VQ_CASE("dialog, none", ApplyDialogLayout(144, 144, nullptr, &kTable, c), FALSE, kMissing),
      VQ_CASE("dialog, no table", ApplyDialogLayout(144, 144, dlg, nullptr, c), FALSE, kMissing),
      VQ_CASE("dialog, destroyed", ApplyDialogLayout(144, 144, gone, &kTable, c), FALSE, kFailed),
      VQ_CASE("no control", ApplyDialogLayout(144, 144, dlg, &noControl, c), FALSE, kFailed),
      VQ_CASE("frame, no table", ApplySheetFrameLayout(dlg, nullptr, c), FALSE, kMissing),
      VQ_CASE("frame, no tab", ApplySheetFrameLayout(noTab, &kSheetFrameLayout, c), FALSE, kFailed),
      VQ_CASE("release, no window", ReleaseLayoutIcons(nullptr, &kTable, c), FALSE, kMissing),
      VQ_CASE("icon, no module", icon(nullptr, IDI_ART64, c), FALSE, kMissing),
      VQ_CASE("icon, no such id", icon(self, 999, c), FALSE, kFailed),
      VQ_CASE("icon, id past 16 bits", icon(self, 0x10000 + IDI_ART64, c), FALSE, kFailed),
      VQ_CASE("paste, no source", PasteBitmap(nullptr, dib24, 0, 0, c), FALSE, kMissing),
      VQ_CASE("paste, too large", PasteBitmap(dib8, dib24, 3, 0, c), FALSE, kLayoutDoesNotFit),
      VQ_CASE("paste, 16 bits", PasteBitmap(dib16, dib24, 0, 0, c), FALSE, kLayoutBadPixelFormat),
      VQ_CASE("paste, no DIB section", PasteBitmap(ddb, dib24, 0, 0, c), FALSE, kFailed),
      VQ_CASE("paste, 8 into 24 bits", PasteBitmap(dib8, dib24, 1, 1, c), TRUE, kLayoutOk),
#undef VQ_CASE
  };
  for (const auto& c : cases) {
    int32_t code = 99;
    EXPECT_EQ(c.call(&code), c.result) << c.what;
    EXPECT_EQ(code, c.code) << c.what;
  }
  // The rows before a missing control were placed: a failed layout stops there.
  EXPECT_EQ(Measure(dlg, {1001})[1], AsRect(ScaleLayoutRow(missing[0], {144, 144})));
  // The paste's row 1 from the top went through the colour table; row 0 is as it was.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib24);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(200, 200, 200));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(85, 85, 85));
  SelectObject(dc, old);
  DeleteDC(dc);
  for (HBITMAP b : {dib8, dib16, dib24, ddb}) DeleteObject(b);
  SetScreenDpi(96, 96);
}

}  // namespace
}  // namespace vq::wine
