// The cut settings, overlay forms and advanced pages and the overlay settings
// dialog, driven by messages the way a user works them (clicks, typing, the
// spinner's arrow keys), in this project's host so that OK hands the record
// back. Message boxes are answered by a watcher that keeps their texts.
// With VQ312_SCREENSHOTS set, each page and the dialog are saved there.
#include <gtest/gtest.h>

#include "base/ddk_win.h"

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "pages/control_ids.h"
#include "tests/wine/page_driver.h"
#include "tools/form/overlay_form_writer.h"

namespace vq::wine {
namespace {

constexpr int kCutIndex = 2, kOverlayIndex = 3, kAdvancedIndex = 4;

// The red (or grey, cutting off) cut lines of the illustration, as the
// screen shows them: the centre of each run of columns holding line pixels.
std::vector<int> CutLineColumns(HWND control) {
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Sleep(150);
  RECT r;
  GetWindowRect(control, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  std::vector<bool> red(w, false);
  for (int x = 0; x < w; ++x)
    for (int y = h / 4; y < h * 3 / 4 && !red[x]; y += 2) {
      const COLORREF c = GetPixel(screen, r.left + x, r.top + y);
      red[x] = GetRValue(c) > 180 && GetGValue(c) < 110 && GetBValue(c) < 110;
    }
  ReleaseDC(nullptr, screen);
  std::vector<int> centres;
  for (int x = 0; x < w;) {
    if (!red[x]) { ++x; continue; }
    int end = x;
    while (end < w && red[end]) ++end;
    centres.push_back((x + end - 1) / 2);
    x = end;
  }
  return centres;
}

// Pixels of the control that are neither the window colour nor its frame.
int DrawnPixels(HWND control) {
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Sleep(150);
  RECT r;
  GetWindowRect(control, &r);
  HDC screen = GetDC(nullptr);
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  int drawn = 0;
  for (int y = r.top + 3; y < r.bottom - 3; y += 2)
    for (int x = r.left + 3; x < r.right - 3; x += 2) drawn += GetPixel(screen, x, y) != background;
  ReleaseDC(nullptr, screen);
  return drawn;
}

class Pages : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
    DWORD on = 1;
    SetPrinterDataW(admin.get(), const_cast<wchar_t*>(L"APUI_DWPRINTLAYOUT"), REG_DWORD,
                    reinterpret_cast<BYTE*>(&on), 4);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"vq312-forms";
    CreateDirectoryW(folder_.c_str(), nullptr);
    FormWriteOptions o;
    o.fileHeader = true;
    const FormPicture page[] = {MakeFormPattern("label", 640, 400)};
    std::vector<uint8_t> form = WriteFormData(page, o);
    const char16_t comment[] = u"Shipping";
    std::memcpy(form.data() + 8, comment, sizeof comment);
    Write(Form(), form);
    Write(folder_ + L"\\notes.ofe", {'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'r', 'm'});
    Write(folder_ + L"\\short.ofe", {form.begin(), form.begin() + 50});
    CreateDirectoryW((folder_ + L"\\folder.ofe").c_str(), nullptr);
  }
  static void Write(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
  }
  static std::wstring Form() { return folder_ + L"\\label.ofe"; }

  void SetUp() override {
    ASSERT_TRUE(sheet_.ready());
    in_ = sheet_.Stored();
  }

  // Opens the sheet on in_, runs `drive` on the shown sheet, then OK (or
  // Cancel when `drive` returns false). out_ receives what OK hands back.
  host::HostResult Run(std::function<bool(HWND sheet)> drive) { return sheet_.Run(in_, &out_, drive); }

  static std::wstring folder_;
  DocumentSheet sheet_;
  JobSettings in_{}, out_{};
};
std::wstring Pages::folder_;

// Cutting every N labels of a 24 x 24 mm label (27 mm with its gap): two
// labels make the shortest piece the cutter can cut.
TEST_F(Pages, CutPageByClicksTypingAndTheSpinner) {
  in_.dmPaperSize = 1001;
  in_.Option728 = 0;
  in_.Option740 = 0x3;
  in_.CopyCount1 = in_.CopyCount2 = 1;
  BoxAnswerer boxes;
  const host::HostResult r = Run([&](HWND sheet) {
    const HWND p = ShowPage(sheet, kCutIndex);
    EXPECT_FALSE(Enabled(p, IDC_CUT_BETWEEN_LABELS)) << "cutting off: the group is off";
    Click(p, IDC_CUT_CUT_LABELS);
    EXPECT_EQ(boxes.Count(), 1u) << "pieces of one label would be too short";
    EXPECT_EQ(TextOf(p, IDC_CUT_COUNT), L"2");
    EXPECT_FALSE(Enabled(p, IDC_CUT_EVERY_N_LABELS));
    Click(p, IDC_CUT_BETWEEN_LABELS);
    EXPECT_TRUE(Enabled(p, IDC_CUT_EVERY_N_LABELS));
    EXPECT_TRUE(Enabled(p, IDC_CUT_COUNT));
    EXPECT_FALSE(Enabled(p, IDC_CUT_WITHIN_COPY)) << "only after each copy";
    struct Typed {
      const wchar_t* text;
      const wchar_t* shown;
    };
    for (const Typed& t : {Typed{L"1", L"2"}, Typed{L"12000", L"9999"}, Typed{L"abc", L"9999"},
                           Typed{L"0", L"2"}, Typed{L"3", L"3"}}) {
      Type(p, IDC_CUT_COUNT, t.text);
      EXPECT_EQ(TextOf(p, IDC_CUT_COUNT), t.shown) << "typed " << testing::PrintToString(std::wstring(t.text));
    }
    EXPECT_EQ(CutLineColumns(Item(p, IDC_CUT_ILLUSTRATION)).size(), 4u)
        << "edges and every third label: 18, 183, 342, 506";
    Shoot(sheet, L"cut");
    const HWND count = Item(p, IDC_CUT_COUNT);
    Key(count, VK_UP);
    Key(count, VK_UP);
    EXPECT_EQ(TextOf(p, IDC_CUT_COUNT), L"5");
    for (int i = 0; i < 4; ++i) Key(count, VK_DOWN);
    EXPECT_EQ(TextOf(p, IDC_CUT_COUNT), L"2") << "not below the shortest piece";
    Key(count, VK_UP);
    Click(p, IDC_CUT_EVERY_COPY);
    EXPECT_EQ(TextOf(p, IDC_CUT_COUNT), L"2") << "after each copy shows its own count";
    EXPECT_FALSE(Enabled(p, IDC_CUT_COUNT));
    EXPECT_TRUE(Visible(p, IDC_CUT_EVERY_COPY_ICON));
    EXPECT_FALSE(Visible(p, IDC_CUT_EVERY_N_LABELS_ICON));
    Click(p, IDC_CUT_WITHIN_COPY);
    EXPECT_TRUE(Enabled(p, IDC_CUT_COUNT));
    return true;
  });
  EXPECT_EQ(r.setResult, CPSUI_OK);
  EXPECT_EQ(out_.Option728, 1u);
  EXPECT_EQ(out_.Option740, 0x1113u);
  EXPECT_EQ(out_.CopyCount2, 3u);
  EXPECT_EQ(out_.CopyCount1, 2u);
  EXPECT_EQ(out_.SettingsNameId, 0u);
}

TEST_F(Pages, CutIllustrationDrawsTheLinesWhereTheyCut) {
  struct Case {
    uint32_t option740, count;
    std::vector<int> bitmapX;
  };
  const Case cases[] = {
      {0x0, 1, {}},
      {0x13, 2, {18, 130, 236, 342, 448, 506}},
      {0x110, 1, {183, 342}},
      {0x1110, 2, {130, 183, 289, 342, 448}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.option740);
    in_.dmPaperSize = 1007;
    in_.Option728 = 1;
    in_.Option740 = c.option740;
    in_.CopyCount1 = in_.CopyCount2 = c.count;
    Run([&](HWND sheet) {
      const HWND control = Item(ShowPage(sheet, kCutIndex), IDC_CUT_ILLUSTRATION);
      RECT rc;
      GetClientRect(control, &rc);
      const std::vector<int> seen = CutLineColumns(control);
      EXPECT_EQ(seen.size(), c.bitmapX.size());
      for (size_t i = 0; i < std::min(seen.size(), c.bitmapX.size()); ++i)
        EXPECT_NEAR(seen[i], c.bitmapX[i] * rc.right / 524.0, 3) << "line " << i;
      return false;
    });
  }
}

TEST_F(Pages, OverlayPageUsesAFormAndRefusesBadOnes) {
  in_.OverlayMode = 2;
  in_.OverlayPreview = 0;
  BoxAnswerer boxes;
  const host::HostResult r = Run([&](HWND sheet) {
    const HWND p = ShowPage(sheet, kOverlayIndex);
    EXPECT_FALSE(Enabled(p, IDC_OVERLAY_USE_PATH)) << "overlay off";
    Click(p, IDC_OVERLAY_USE_OVERLAY);
    Click(p, IDC_OVERLAY_USE_MODE);
    EXPECT_TRUE(Visible(p, IDC_OVERLAY_USE_PATH));
    EXPECT_FALSE(Visible(p, IDC_OVERLAY_CREATE_PATH));
    // Bad forms: which get message 4083, and the information box stays empty.
    struct Bad {
      std::wstring path;
      size_t messages;
    };
    HANDLE locked = CreateFileW(Form().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const Bad bad[] = {{folder_ + L"\\missing.ofe", 0}, {folder_ + L"\\folder.ofe", 0},
                       {folder_ + L"\\notes.ofe", 1},   {folder_ + L"\\short.ofe", 1},
                       {Form(), 1}};  // held open by another program
    for (const Bad& b : bad) {
      const size_t before = boxes.Count();
      Type(p, IDC_OVERLAY_USE_PATH, b.path);
      EXPECT_EQ(boxes.Count() - before, b.messages) << testing::PrintToString(b.path);
      EXPECT_EQ(TextOf(p, IDC_OVERLAY_FORM_INFO), L"");
    }
    CloseHandle(locked);
    Type(p, IDC_OVERLAY_USE_PATH, Form());
    EXPECT_NE(TextOf(p, IDC_OVERLAY_FORM_INFO).find(L"600 x 600"), std::wstring::npos);
    EXPECT_EQ(TextOf(p, IDC_OVERLAY_COMMENT), L"Shipping");
    EXPECT_FALSE(Enabled(p, IDC_OVERLAY_COMMENT)) << "a used form's comment is its own";
    EXPECT_EQ(DrawnPixels(Item(p, IDC_OVERLAY_THUMBNAIL)), 0) << "thumbnail not asked for";
    Click(p, IDC_OVERLAY_SHOW_THUMBNAIL);
    EXPECT_GT(DrawnPixels(Item(p, IDC_OVERLAY_THUMBNAIL)), 100);
    Shoot(sheet, L"overlay");
    Click(p, IDC_OVERLAY_CREATE_MODE);
    EXPECT_EQ(TextOf(p, IDC_OVERLAY_FORM_INFO), L"") << "nothing to read in create mode";
    EXPECT_FALSE(Visible(p, IDC_OVERLAY_USE_PATH));
    Click(p, IDC_OVERLAY_USE_MODE);
    EXPECT_NE(TextOf(p, IDC_OVERLAY_FORM_INFO), L"") << "the form is read again";
    return true;
  });
  EXPECT_EQ(r.setResult, CPSUI_OK);
  EXPECT_EQ(out_.OverlayMode, 0x80000002u);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(out_.OverlayPath)), Form());
  EXPECT_EQ(out_.OverlayPreview, 1u);

  // OK with a form that is not there: told, the sheet stays, nothing handed
  // back. (Wine creates no page before it is shown, PSP_PREMATURE or not, so
  // the overlay page is shown first.)
  in_.OverlayMode = 0x80000002;
  std::memset(in_.OverlayPath, 0, sizeof in_.OverlayPath);
  const std::wstring missing = folder_ + L"\\missing.ofe";
  std::memcpy(in_.OverlayPath, missing.c_str(), missing.size() * 2);
  const size_t before = boxes.Count();
  bool stayed = false;
  size_t told = 0;
  const host::HostResult refused = Run([&](HWND sheet) {
    ShowPage(sheet, kOverlayIndex);
    ShowPage(sheet, 0);
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    for (int i = 0; i < 250 && boxes.Count() == before; ++i) Sleep(20);
    Sleep(300);
    stayed = IsWindowVisible(sheet);
    told = boxes.Count() - before;
    return false;  // Cancel: the caller keeps a record with that form, so it is told again
  });
  EXPECT_TRUE(stayed);
  EXPECT_EQ(told, 1u);
  EXPECT_EQ(boxes.Count() - before, 2u);
  EXPECT_EQ(refused.setResultCalls, 0);
}

TEST_F(Pages, AdvancedPageAndItsOverlayDialog) {
  in_.PrintLevel = 15;    // no slider position has it
  in_.PagesPerSheet = 3;  // no choice makes it
  in_.OverlayMode = 2;    // off
  in_.OverlayOption = 2;
  BoxAnswerer boxes(IDNO);
  const host::HostResult r = Run([&](HWND sheet) {
    const HWND p = ShowPage(sheet, kAdvancedIndex);
    const std::wstring level = TextOf(p, IDC_ADVANCED_LEVEL_TEXT);
    EXPECT_LT(level.size(), 8u) << "the unit alone: " << testing::PrintToString(level);
    EXPECT_NE(level, L"");
    EXPECT_FALSE(Enabled(p, IDC_ADVANCED_NORMAL_ORDER)) << "several pages a label are not reordered";
    Click(p, IDC_ADVANCED_DEFAULTS);
    EXPECT_TRUE(Enabled(p, IDC_ADVANCED_NORMAL_ORDER));
    Click(p, IDC_ADVANCED_REVERSE_ORDER);
    Click(p, IDC_ADVANCED_AUTO_LEVEL);
    EXPECT_FALSE(Enabled(p, IDC_ADVANCED_LEVEL_SLIDER));
    EXPECT_TRUE(Visible(p, IDC_ADVANCED_FAST_ICON_AUTO));
    Click(p, IDC_ADVANCED_AUTO_LEVEL);
    const HWND slider = Item(p, IDC_ADVANCED_LEVEL_SLIDER);
    for (int i = 0; i < 10; ++i) Key(slider, VK_LEFT);
    Key(slider, VK_RIGHT);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 1);

    Shoot(sheet, L"advanced");
    // The dialog: create mode over an existing form asks first; No stays.
    PostMessageW(Item(p, IDC_ADVANCED_OVERLAY_SETTINGS), BM_CLICK, 0, 0);
    HWND d = WaitForDialog(IDC_OVERLAYSETTINGS_OK);
    EXPECT_NE(d, nullptr);
    if (!d) return false;
    EXPECT_TRUE(Checked(d, IDC_OVERLAYSETTINGS_USE_MODE));
    Click(d, IDC_OVERLAYSETTINGS_CREATE_MODE);
    EXPECT_FALSE(Enabled(d, IDC_OVERLAYSETTINGS_FIRST_PAGE_ONLY));
    Type(d, IDC_OVERLAYSETTINGS_CREATE_PATH, Form());
    const size_t before = boxes.Count();
    Click(d, IDC_OVERLAYSETTINGS_OK);
    EXPECT_EQ(boxes.Count() - before, 1u) << "replace the existing form?";
    EXPECT_TRUE(IsWindowVisible(d)) << "No keeps the dialog open";
    Click(d, IDC_OVERLAYSETTINGS_USE_MODE);
    Type(d, IDC_OVERLAYSETTINGS_USE_PATH, Form());
    EXPECT_EQ(TextOf(d, IDC_OVERLAYSETTINGS_COMMENT), L"Shipping");
    Click(d, IDC_OVERLAYSETTINGS_FIRST_PAGE_ONLY);
    Shoot(d, L"overlay-dialog");
    PostMessageW(Item(d, IDC_OVERLAYSETTINGS_OK), BM_CLICK, 0, 0);
    WaitGone(d);
    EXPECT_FALSE(IsWindow(d));
    return true;
  });
  EXPECT_EQ(r.setResult, CPSUI_OK);
  EXPECT_EQ(out_.PagesPerSheet, 1u);
  EXPECT_EQ(out_.PageOrder, 1u);
  EXPECT_EQ(out_.PrintLevel, 6u) << "slider position 1";
  EXPECT_EQ(out_.OverlayMode, 0x80000002u) << "OK switches the overlay on";
  EXPECT_EQ(out_.OverlayOption, 1u);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(out_.OverlayPath)), Form());
}

// A shown tooltip of the sheet holding `page` (a popup's owner is always a
// top-level window), or null.
HWND ShownTip(HWND page) {
  struct Find {
    HWND owner, tip;
  } f{GetAncestor(page, GA_ROOT), nullptr};
  EnumWindows(
      [](HWND w, LPARAM l) -> BOOL {
        auto* f = reinterpret_cast<Find*>(l);
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        if (GetWindow(w, GW_OWNER) != f->owner || std::wcscmp(cls, TOOLTIPS_CLASSW) || !IsWindowVisible(w))
          return TRUE;
        f->tip = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.tip;
}

// Hovering a page's paper preview shows the paper's sizes; moving on to the
// page's other picture, or away over the page, takes them down again.
TEST_F(Pages, PreviewsShowThePaperDetails) {
  struct Case {
    int page, preview, other;
  };
  const Case cases[] = {{0, IDC_BASIC_PAPER_PREVIEW, IDC_BASIC_ORIENTATION_PICTURE},
                        {1, IDC_COLOUR_PAPER_PREVIEW, IDC_COLOUR_COLOUR_PREVIEW},
                        {kAdvancedIndex, IDC_ADVANCED_PAPER_PREVIEW, IDC_ADVANCED_LAYOUT_PICTURE}};
  Run([&](HWND sheet) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.page);
      const HWND p = ShowPage(sheet, c.page);
      // The mouse as the page sees it: over a control that lets it through,
      // or over the control itself when it takes it.
      auto moveOver = [&](int id) {
        const HWND control = Item(p, id);
        RECT r{};
        GetWindowRect(control, &r);
        POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        const bool takesMouse =
            SendMessageW(control, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)) != HTTRANSPARENT;
        const HWND target = takesMouse ? control : p;
        ScreenToClient(target, &at);
        SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
      };
      moveOver(c.preview);
      const HWND tip = ShownTip(p);
      EXPECT_NE(tip, nullptr) << "no tip over the preview";
      RECT r{};
      GetWindowRect(tip, &r);
      EXPECT_GT(r.bottom - r.top, 60) << "a line for each size";
      moveOver(c.other);
      EXPECT_EQ(ShownTip(p), nullptr) << "the tip stays over the other picture";
      moveOver(c.preview);
      EXPECT_NE(ShownTip(p), nullptr);
      SendMessageW(p, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
      EXPECT_EQ(ShownTip(p), nullptr) << "the tip stays over the page";
    }
    return false;
  });
}

}  // namespace
}  // namespace vq::wine
