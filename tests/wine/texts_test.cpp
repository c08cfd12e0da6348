// The device module serves its texts in the user's UI language, and the
// sheets show them as a Windows of that language would. The test bed runs
// this program once per language (LANG), naming the expected one, English
// first: the English run leaves its sheet sizes in a file the Chinese run
// compares with.
#include <gtest/gtest.h>

#include "base/ddk_win.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "devinfo/difm_api.h"
#include "tests/wine/glyph_check_win.h"
#include "tests/wine/installed_printer.h"
#include "tools/sheet_host/sheet_host_win.h"

namespace vq::wine {
namespace {

std::wstring g_expected = L"en";
std::wstring g_sizesFile;  // the English run's sheet sizes

std::wstring Text(const DifmApi& difm, DifmHandle h, uint32_t id) {
  uint32_t bytes = 0;
  if (!difm.DifmGetRealDataStr(h, id, nullptr, &bytes)) return L"(missing)";
  std::wstring text(bytes / 2 + 1, L'\0');
  difm.DifmGetRealDataStr(h, id, reinterpret_cast<char16_t*>(text.data()), &bytes);
  return text.c_str();
}

TEST(Texts, FollowTheUserInterfaceLanguage) {
  const DifmApi difm = InstalledDifm();
  ASSERT_TRUE(difm.Complete());
  DifmMapping map(difm, kModelName);
  ASSERT_TRUE(map);
  const bool chinese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
  ASSERT_EQ(chinese, g_expected == L"zh") << "the test bed did not set the UI language";
  EXPECT_EQ(Text(difm, map.get(), 4759), chinese ? L"默认设置" : L"Default settings");

  uint32_t textBytes = 0, captionBytes = 0, style = 0;
  ASSERT_TRUE(difm.DifmGetRealDataMsg(map.get(), 4080, nullptr, &textBytes, nullptr,
                                      &captionBytes, &style));
  std::wstring text(textBytes / 2 + 1, L'\0');
  difm.DifmGetRealDataMsg(map.get(), 4080, reinterpret_cast<char16_t*>(text.data()), &textBytes,
                          nullptr, &captionBytes, &style);
  EXPECT_EQ(text.find(chinese ? L"权限" : L"permission") != std::wstring::npos, true) << text;
  EXPECT_EQ(style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}


// What one open sheet shows: its size, and every text (page controls, list
// items, tabs, the sheet's own buttons, dialogs the pages open) with a
// character the font of its window has no glyph for.
struct Look {
  SIZE size{};
  int pages = 0, dialogs = 0, texts = 0;
  std::vector<std::wstring> undrawable;
};

// A dialog of the sheet's thread other than the sheet itself, once shown.
HWND WaitForDialog(HWND sheet, DWORD ms) {
  struct Find {
    HWND sheet, found;
  };
  for (DWORD waited = 0; waited <= ms; waited += 50) {
    Find find{sheet, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(sheet, nullptr), [](HWND w, LPARAM p) {
      auto* f = reinterpret_cast<Find*>(p);
      if (w == f->sheet || !IsWindowVisible(w) || ClassOf(w) != L"#32770") return TRUE;
      f->found = w;
      return FALSE;
    }, reinterpret_cast<LPARAM>(&find));
    if (find.found) return find.found;
    Sleep(50);
  }
  return nullptr;
}

// Every page in turn; on each, the buttons that open a dialog (their label
// ends in "...") are pressed, and the dialog checked and closed.
void LookAtEveryPage(HWND sheet, Look* look) {
  Sleep(300);
  RECT r;
  GetWindowRect(sheet, &r);
  look->size = {r.right - r.left, r.bottom - r.top};
  HWND tab = PropSheet_GetTabControl(sheet);
  const int count = tab ? TabCtrl_GetItemCount(tab) : 0;
  for (int i = 0; i < count; ++i) {
    SendMessageW(sheet, PSM_SETCURSEL, i, 0);
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    if (!page) continue;
    ++look->pages;
    const std::wstring where = L"page " + std::to_wstring(i + 1);
    look->texts += CheckTexts(sheet, where, &look->undrawable);
    std::vector<HWND> buttons;
    EnumChildWindows(page, [](HWND w, LPARAM p) {
      wchar_t text[256] = {};
      GetWindowTextW(w, text, 256);
      const std::wstring t = text;
      if (ClassOf(w) == L"Button" && IsWindowVisible(w) && IsWindowEnabled(w) && t.size() > 3 &&
          t.compare(t.size() - 3, 3, L"...") == 0)
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
      return TRUE;
    }, reinterpret_cast<LPARAM>(&buttons));
    for (HWND button : buttons) {
      PostMessageW(button, BM_CLICK, 0, 0);
      if (HWND dialog = WaitForDialog(sheet, 700)) {
        ++look->dialogs;
        Sleep(200);
        look->texts += CheckTexts(dialog, where + L", dialog of button " + std::to_wstring(GetDlgCtrlID(button)),
                                  &look->undrawable);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        for (int wait = 0; wait < 100 && IsWindow(dialog); ++wait) Sleep(20);
      }
    }
  }
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

class Sheets : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer_);
    ASSERT_NE(ui_, nullptr);
    document_ = Export<host::SheetEntry>(ui_, "DrvDocumentPropertySheets");
    device_ = Export<host::SheetEntry>(ui_, "DrvDevicePropertySheets");
    ASSERT_TRUE(document_ && device_);
    ASSERT_EQ(DocumentProperties(printer_.get(), nullptr, &stored_, DM_OUT_BUFFER), 1);
    utility_ = Dword(L"APUI_BUTILITY");
    layout_ = Dword(L"APUI_DWPRINTLAYOUT");
  }
  void TearDown() override {
    SetDword(L"APUI_BUTILITY", utility_);
    SetDword(L"APUI_DWPRINTLAYOUT", layout_);
    FreeLibrary(ui_);
  }
  DWORD Dword(const wchar_t* name) {
    DWORD value = 0, type = 0, size = 4;
    GetPrinterDataW(printer_.get(), const_cast<wchar_t*>(name), &type,
                    reinterpret_cast<BYTE*>(&value), 4, &size);
    return value;
  }
  void SetDword(const wchar_t* name, DWORD value) {
    Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
    SetPrinterDataW(admin.get(), const_cast<wchar_t*>(name), REG_DWORD,
                    reinterpret_cast<BYTE*>(&value), 4);
  }
  // The document sheet with all its pages, then the device sheet.
  std::vector<Look> LookAtBothSheets() {
    SetDword(L"APUI_BUTILITY", 1);
    SetDword(L"APUI_DWPRINTLAYOUT", 1);
    JobSettings in = stored_, out{};
    DOCUMENTPROPERTYHEADER doc{};
    doc.cbSize = sizeof doc;
    doc.hPrinter = printer_.get();
    doc.pszPrinterName = const_cast<wchar_t*>(kPrinterName);
    doc.pdmIn = reinterpret_cast<DEVMODEW*>(&in);
    doc.pdmOut = reinterpret_cast<DEVMODEW*>(&out);
    doc.cbOut = sizeof out;
    doc.fMode = DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER;
    DEVICEPROPERTYHEADER dev{sizeof dev, 0, printer_.get(), const_cast<wchar_t*>(kPrinterName)};
    std::vector<Look> looks(2);
    host::RunSheet(document_, &doc, L"Printing Preferences", [&](HWND s) { LookAtEveryPage(s, &looks[0]); });
    host::RunSheet(device_, &dev, L"Printer Properties", [&](HWND s) { LookAtEveryPage(s, &looks[1]); });
    return looks;
  }

  Printer printer_;
  HMODULE ui_ = LoadInstalledModule(L"VQ312UI.dll");
  host::SheetEntry document_ = nullptr, device_ = nullptr;
  JobSettings stored_{};
  DWORD utility_ = 0, layout_ = 0;
};

// Every text on every page, tab, button and dialog is drawable in the font
// of its window, and a Chinese sheet is about as large as the English one
// (a CJK font whose average width is a full-width character would make it
// twice as wide).
TEST_F(Sheets, LookAsAWindowsOfTheLanguage) {
  const std::vector<Look> looks = LookAtBothSheets();
  const wchar_t* names[] = {L"document sheet", L"device sheet"};
  const int pages[] = {6, 1};
  for (size_t s = 0; s < looks.size(); ++s) {
    const Look& look = looks[s];
    SCOPED_TRACE(testing::Message() << (s ? "device sheet" : "document sheet"));
    EXPECT_EQ(look.pages, pages[s]);
    EXPECT_GT(look.texts, 10);
    for (const std::wstring& u : look.undrawable) ADD_FAILURE() << Utf8(u);
    std::printf("%ls (%ls): %ld x %ld pixels, %d pages, %d dialogs, %d texts\n", names[s],
                g_expected.c_str(), look.size.cx, look.size.cy, look.pages, look.dialogs, look.texts);
  }
  if (g_sizesFile.empty()) return;
  if (g_expected == L"en") {
    FILE* f = _wfopen(g_sizesFile.c_str(), L"w");
    ASSERT_NE(f, nullptr);
    for (const Look& look : looks) std::fprintf(f, "%ld %ld\n", look.size.cx, look.size.cy);
    std::fclose(f);
    return;
  }
  FILE* f = _wfopen(g_sizesFile.c_str(), L"r");
  ASSERT_NE(f, nullptr) << "no English sheet sizes: run the English test first";
  for (size_t s = 0; s < looks.size(); ++s) {
    long w = 0, h = 0;
    ASSERT_EQ(std::fscanf(f, "%ld %ld", &w, &h), 2);
    std::printf("%ls: %ld x %ld pixels in English, %.2f x %.2f here\n", names[s], w, h,
                double(looks[s].size.cx) / w, double(looks[s].size.cy) / h);
    EXPECT_LE(looks[s].size.cx * 100, w * 115) << names[s] << " wider than English by more than 15%";
    EXPECT_LE(looks[s].size.cy * 100, h * 115) << names[s] << " taller than English by more than 15%";
  }
  std::fclose(f);
}

}  // namespace
}  // namespace vq::wine

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) vq::wine::g_expected = argv[1];
  if (argc > 2) vq::wine::g_sizesFile = argv[2];
  return RUN_ALL_TESTS();
}
