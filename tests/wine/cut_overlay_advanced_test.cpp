// The cut settings, overlay forms and advanced pages and the overlay settings
// dialog, driven by messages the way a user works them (clicks, typing, the
// spinner's arrow keys), in this project's host so that OK hands the record
// back. Message boxes are answered by a watcher that keeps their texts.
// With VQ312_SCREENSHOTS set, each page and the dialog are saved there.
#include <gtest/gtest.h>

#include "base/ddk_win.h"

#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "pages/control_ids.h"
#include "tests/wine/installed_printer.h"
#include "tools/form/overlay_form_writer.h"
#include "tools/sheet_host/sheet_host_win.h"

namespace vq::wine {
namespace {

constexpr wchar_t kCaption[] = L"Page test";
constexpr int kCutIndex = 2, kOverlayIndex = 3, kAdvancedIndex = 4;

// Answers every message box of this process with `answer` (or OK when the
// box has no such button) and keeps what they said.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int answer = IDOK) : answer_(answer) {
    thread_ = CreateThread(nullptr, 0, [](void* p) -> DWORD {
      static_cast<BoxAnswerer*>(p)->Run();
      return 0;
    }, this, 0, nullptr);
  }
  ~BoxAnswerer() {
    stop_ = true;
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
  void SetAnswer(int answer) { answer_ = answer; }
  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_.size();
  }
  std::wstring Last() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_.empty() ? std::wstring() : texts_.back();
  }

 private:
  void Run() {
    while (!stop_) {
      EnumWindows([](HWND w, LPARAM p) -> BOOL {
        static_cast<BoxAnswerer*>(reinterpret_cast<void*>(p))->Answer(w);
        return TRUE;
      }, reinterpret_cast<LPARAM>(this));
      Sleep(30);
    }
  }
  void Answer(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    // A message box is a dialog whose text static has id 0xFFFF.
    if (pid != GetCurrentProcessId() || std::wcscmp(cls, L"#32770") || !IsWindowVisible(w)) return;
    HWND text = GetDlgItem(w, 0xFFFF);
    if (!text || GetPropW(w, L"vq312.answered")) return;
    SetPropW(w, L"vq312.answered", reinterpret_cast<HANDLE>(1));
    wchar_t said[1024] = {};
    GetWindowTextW(text, said, 1024);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      texts_.push_back(said);
    }
    const int id = GetDlgItem(w, answer_) ? answer_.load() : IDOK;
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, id)));
  }

  std::atomic<int> answer_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::wstring> texts_;
  HANDLE thread_;
};

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
void Click(HWND dialog, int id) { SendMessageW(Item(dialog, id), BM_CLICK, 0, 0); }
bool Checked(HWND dialog, int id) { return SendMessageW(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(Item(dialog, id)); }
bool Visible(HWND dialog, int id) { return IsWindowVisible(Item(dialog, id)); }
void Type(HWND dialog, int id, const std::wstring& text) {
  SendMessageW(Item(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
std::wstring TextOf(HWND dialog, int id) {
  wchar_t text[1024] = {};
  GetWindowTextW(Item(dialog, id), text, 1024);
  return text;
}
void Key(HWND control, WPARAM key) {
  SendMessageW(control, WM_KEYDOWN, key, 1);
  SendMessageW(control, WM_KEYUP, key, 0xC0000001);
}

HWND ShowPage(HWND sheet, int index) {
  SendMessageW(sheet, PSM_SETCURSEL, index, 0);
  return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

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

void Shoot(HWND window, const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"VQ312_SCREENSHOTS", folder, MAX_PATH)) return;
  CreateDirectoryW(folder, nullptr);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(400);
  const bool chinese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
  host::SaveWindowBitmap(window, std::wstring(folder) + L"\\" + name + (chinese ? L"-zh" : L"-en") + L".bmp");
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
    ASSERT_TRUE(printer_);
    ASSERT_NE(ui_, nullptr);
    entry_ = Export<host::SheetEntry>(ui_, "DrvDocumentPropertySheets");
    ASSERT_TRUE(entry_);
    std::vector<unsigned char> stored = StoredDevMode(printer_.get());
    ASSERT_GE(stored.size(), sizeof in_);
    std::memcpy(&in_, stored.data(), sizeof in_);
  }
  void TearDown() override { FreeLibrary(ui_); }

  // Opens the sheet on in_, runs `drive` on the shown sheet, then OK (or
  // Cancel when `drive` returns false). out_ receives what OK hands back.
  host::HostResult Run(std::function<bool(HWND sheet)> drive) {
    std::memset(&out_, 0, sizeof out_);
    DOCUMENTPROPERTYHEADER h{};
    h.cbSize = sizeof h;
    h.hPrinter = printer_.get();
    h.pszPrinterName = const_cast<wchar_t*>(kPrinterName);
    h.pdmIn = reinterpret_cast<DEVMODEW*>(&in_);
    h.pdmOut = reinterpret_cast<DEVMODEW*>(&out_);
    h.cbOut = sizeof out_;
    h.fMode = DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER;
    return host::RunSheet(entry_, &h, kCaption, [&](HWND sheet) {
      Sleep(200);
      const bool ok = drive(sheet);
      PostMessageW(sheet, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
    });
  }

  static std::wstring folder_;
  Printer printer_;
  HMODULE ui_ = LoadInstalledModule(L"VQ312UI.dll");
  host::SheetEntry entry_ = nullptr;
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

// The dialog the advanced page opens: a top-level dialog of this process
// holding the OK button 1265.
HWND WaitForOverlayDialog() {
  for (int i = 0; i < 200; ++i) {
    HWND found = nullptr;
    EnumWindows([](HWND w, LPARAM p) -> BOOL {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == GetCurrentProcessId() && IsWindowVisible(w) && GetDlgItem(w, IDC_OVERLAYSETTINGS_OK)) {
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
      }
      return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    Sleep(25);
  }
  return nullptr;
}

TEST_F(Pages, AdvancedPageAndItsOverlayDialog) {
  in_.PrintLevel = 15;    // no slider position has it
  in_.PagesPerSheet = 3;  // no choice makes it
  in_.OverlayMode = 2;    // off
  in_.OverlayOption = 2;
  BoxAnswerer boxes(IDNO);
  const host::HostResult r = Run([&](HWND sheet) {
    const HWND p = ShowPage(sheet, kAdvancedIndex);
    wchar_t unit[64] = {};
    const std::wstring level = TextOf(p, IDC_ADVANCED_LEVEL_TEXT);
    EXPECT_LT(level.size(), 8u) << "the unit alone: " << testing::PrintToString(level);
    EXPECT_NE(level, L"") << unit;
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
    HWND d = WaitForOverlayDialog();
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
    for (int i = 0; i < 100 && IsWindow(d); ++i) Sleep(20);
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

}  // namespace
}  // namespace vq::wine
