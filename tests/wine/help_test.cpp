// Help topics, pop-up help, dialog texts and LoadOneString2 under Wine: the
// help calls go to a recorder in place of HTML Help; the help file, the device
// module and the UI module are those the test bed installed.
#include <gtest/gtest.h>

#include <windows.h>
#include <htmlhelp.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/wine/test_window.h"
#include "tests/wine/installed_printer.h"
#include "base/module_win.h"
#include "pages/sheet/sheet_win.h"
#include "uicore/help_topics.h"
#include "uicore/sheet_context_win.h"
#include "uicore/texts_win.h"

namespace vq::wine {
namespace {

struct HelpCall {
  HWND owner;
  std::wstring file, popupText;
  UINT command;
  POINT popupAt;
};
std::vector<HelpCall> g_calls;
int g_resolves = 0;

HWND WINAPI RecordHtmlHelp(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data) {
  auto* popup = reinterpret_cast<HH_POPUP*>(command == HH_DISPLAY_TEXT_POPUP ? data : 0);
  g_calls.push_back({owner, file ? file : L"", popup ? popup->pszText : L"", command,
                     popup ? popup->pt : POINT{}});
  return GetDesktopWindow();  // any window: HTML Help "opened"
}
HtmlHelpEntry Recorder() { return ++g_resolves, &RecordHtmlHelp; }
HtmlHelpEntry Unavailable() { return ++g_resolves, nullptr; }

// Text `id` as the installed device module serves it.
std::wstring InstalledText(uint32_t id) {
  const DifmApi difm = InstalledDifm();
  DifmMapping map(difm, kModelName);
  uint32_t bytes = 0;
  difm.DifmGetRealDataStr(map.get(), id, nullptr, &bytes);
  std::wstring text(bytes / 2 + 1, L'\0');
  difm.DifmGetRealDataStr(map.get(), id, reinterpret_cast<char16_t*>(text.data()), &bytes);
  return text.c_str();
}

class HelpTest : public testing::Test {
 protected:
  void SetUp() override { SetHtmlHelpResolver(&Recorder); }
  void TearDown() override {
    SetHtmlHelpResolver(nullptr);
    g_calls.clear();
    g_resolves = 0;
  }
  Printer printer;
  const std::wstring chm = InstalledDriverFolder() + L"\\VQ312.chm";
};

TEST_F(HelpTest, TopicsOpenTheInstalledHelpFile) {
  ASSERT_TRUE(printer);
  Window window(MakeDialog(WS_POPUP, 100, 50, {}));
  EXPECT_FALSE(ShowHelpTopic(window, nullptr, help::kBasicPage)) << "no printer";
  EXPECT_TRUE(g_calls.empty());
  for (const auto& topic : help::kTopics) {
    g_calls.clear();
    ASSERT_TRUE(ShowHelpTopic(window, printer.get(), topic.topic)) << topic.shownBy;
    ASSERT_EQ(g_calls.size(), 1u) << topic.shownBy;
    EXPECT_EQ(g_calls[0].owner, window.h);
    EXPECT_EQ(_wcsicmp(g_calls[0].file.c_str(), (chm + topic.topic).c_str()), 0) << g_calls[0].file;
    EXPECT_EQ(g_calls[0].command, UINT(HH_DISPLAY_TOC));
  }
  g_calls.clear();
  const NMHDR notify{GetDesktopWindow(), 1001, 0};
  ASSERT_TRUE(ShowHelpForNotify(&notify, printer.get(), help::kBasicPage));
  EXPECT_EQ(g_calls.at(0).owner, notify.hwndFrom) << "owned by the window that sent PSN_HELP";
  EXPECT_EQ(g_resolves, 1) << "the entry is looked up once";
}

TEST_F(HelpTest, UnavailableHelpIsNotLookedUpAgain) {
  SetHtmlHelpResolver(&Unavailable);
  EXPECT_FALSE(ShowHelpTopic(nullptr, printer.get(), help::kBasicPage));
  EXPECT_FALSE(ShowHelpTopic(nullptr, printer.get(), help::kColourPage));
  EXPECT_EQ(HtmlHelpEntryPoint(), nullptr);
  EXPECT_EQ(g_resolves, 1);
}

// Export 15 of the control the registry names must be HtmlHelpW itself.
TEST_F(HelpTest, TheEntryIsHtmlHelpWOfTheRegisteredControl) {
  SetHtmlHelpResolver(nullptr);
  const HtmlHelpEntry entry = HtmlHelpEntryPoint();
  ASSERT_NE(entry, nullptr) << "HTML Help is not available in the test bed";
  EXPECT_EQ(reinterpret_cast<void*>(entry),
            reinterpret_cast<void*>(GetProcAddress(
                GetModuleHandleW(HtmlHelpServerPath().c_str()), "HtmlHelpW")));
}

// The names in a compiled help file's directory (ITSF header, ITSP directory,
// PMGL listing chunks), read straight from its bytes.
std::set<std::string> ChmNames(const std::vector<unsigned char>& f) {
  auto u32 = [&f](size_t at) {
    if (at + 4 > f.size()) return 0u;
    return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | uint32_t(f[at + 3]) << 24;
  };
  std::set<std::string> names;
  const size_t dir = u32(0x48);  // the directory's offset; its high half is 0
  const size_t first = dir + u32(dir + 0x08), chunkSize = u32(dir + 0x10);
  if (u32(0) != 0x46535449 || u32(dir) != 0x50535449) return names;  // "ITSF", "ITSP"
  for (uint32_t chunk = 0; chunk < u32(dir + 0x2C); ++chunk) {
    const size_t base = first + chunk * chunkSize, freeSpace = u32(base + 4);
    if (base + chunkSize > f.size() || u32(base) != 0x4C474D50 || freeSpace + 0x14 > chunkSize)
      continue;  // not a listing chunk ("PMGL")
    size_t at = base + 0x14;
    const size_t end = base + chunkSize - freeSpace;
    auto encint = [&] {  // seven bits a byte, most significant first, high bit: more
      size_t v = 0;
      while (at < end && (v = v << 7 | (f[at] & 0x7F), f[at++] & 0x80)) {}
      return v;
    };
    while (at < end) {
      const size_t length = encint();
      if (length > end - at) break;
      names.emplace(reinterpret_cast<const char*>(&f[at]), length);
      at += length;
      encint(), encint(), encint();  // section, offset, size
    }
  }
  return names;
}

TEST_F(HelpTest, TheHelpFileHoldsEveryTopic) {
  std::ifstream in(chm.c_str(), std::ios::binary);
  const std::set<std::string> names = ChmNames({std::istreambuf_iterator<char>(in), {}});
  for (const auto& topic : help::kTopics) {
    const std::wstring wide = topic.topic + 2;  // "::/X.html" is listed as "/X.html"
    EXPECT_EQ(names.count(std::string(wide.begin(), wide.end())), 1u) << topic.shownBy;
  }
}

// Rows: 1001 shown and enabled, 1002 disabled, 1003 hidden, 1004 after the end row.
TEST_F(HelpTest, TextsAndPopupHelpFollowTheTableToItsEnd) {
  Window window(MakeDialog(WS_POPUP | WS_VISIBLE, 200, 200,
                           {{L"BUTTON", 1001, 0, 5, 5, 60, 20},
                            {L"BUTTON", 1002, WS_DISABLED, 5, 45, 60, 20},
                            {L"BUTTON", 1003, 0, 5, 85, 60, 20},
                            {L"BUTTON", 1004, 0, 5, 125, 60, 20}}));
  ShowWindow(GetDlgItem(window, 1003), SW_HIDE);
  const TextRow table[] = {{1001, 5051}, {1002, 5052}, {1003, 5053}, {0, 0}, {1004, 5054}};
  EXPECT_TRUE(SetDialogTexts(window, table));
  for (int id = 1004; id >= 1001; --id) {  // 1001 last, so its call stays for the checks below
    wchar_t text[2048] = {};
    GetDlgItemTextW(window, id, text, 2048);
    EXPECT_EQ(text, id < 1004 ? InstalledText(5050 + id - 1000) : L"") << id;
    g_calls.clear();
    HELPINFO info{sizeof info, HELPINFO_WINDOW, id, GetDlgItem(window, id), 0, {}};
    EXPECT_EQ(ShowControlHelp(window, table, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), 0);
    ASSERT_EQ(g_calls.size(), id == 1001 ? 1u : 0u) << id;
  }
  RECT r{};
  GetWindowRect(GetDlgItem(window, 1001), &r);
  EXPECT_EQ(g_calls[0].owner, GetDlgItem(window, 1001));
  EXPECT_EQ(g_calls[0].popupText, InstalledText(5051));
  EXPECT_EQ(g_calls[0].popupAt.x, r.left);
  EXPECT_EQ(g_calls[0].popupAt.y, r.top + 15);
}

// Outside a sheet the texts come from the device module's own mapping, the
// same before the first sheet of the process and after it has closed; in a
// sheet from the sheet's mapping, and not at all from a sheet without one.
// The sheet here is this program's own copy of the module's code, opened
// and closed as the host would.
TEST(LoadTextById, AnswersTheSameBeforeAndAfterASheet) {
  if (g_tlsSlot == TLS_OUT_OF_INDEXES) g_tlsSlot = TlsAlloc();  // what DllMain does
  const std::wstring want = InstalledText(4759);
  auto load = [] {
    wchar_t text[64] = {};
    const BOOL ok = LoadTextById(4759, text, sizeof text);
    return std::wstring(ok ? L"TRUE " : L"FALSE ") + text;
  };
  const std::wstring before = load();
  EXPECT_EQ(before, L"TRUE " + want);

  Printer printer;
  ASSERT_TRUE(printer);
  JobSettings out{};
  DOCUMENTPROPERTYHEADER header{};
  header.cbSize = sizeof header;
  header.hPrinter = printer.get();
  header.pszPrinterName = const_cast<wchar_t*>(kPrinterName);
  header.pdmOut = reinterpret_cast<DEVMODEW*>(&out);
  header.cbOut = sizeof out;
  header.fMode = DM_IN_PROMPT | DM_OUT_BUFFER;
  std::vector<HPROPSHEETPAGE> pages;
  PROPSHEETUI_INFO info{};
  info.cbSize = sizeof info;
  info.Reason = PROPSHEETUI_REASON_INIT;
  info.hComPropSheet = &pages;
  info.pfnComPropSheet = [](HANDLE h, UINT fn, LPARAM page, LPARAM) -> LONG_PTR {
    if (fn != CPSFUNC_ADD_PROPSHEETPAGEW) return 0;
    auto* list = static_cast<std::vector<HPROPSHEETPAGE>*>(h);
    list->push_back(CreatePropertySheetPageW(reinterpret_cast<PROPSHEETPAGEW*>(page)));
    return reinterpret_cast<LONG_PTR>(list->back());
  };
  info.lParamInit = reinterpret_cast<LPARAM>(&header);
  ASSERT_EQ(DocumentSheetInit(&info), 1);
  EXPECT_EQ(load(), L"TRUE " + want) << "in the sheet";
  SheetContext* sheet = CurrentSheet();
  ASSERT_NE(sheet, nullptr);
  UniqueDeviceInfo mapping = std::move(sheet->hDeviceInfo);
  EXPECT_EQ(load(), L"FALSE ") << "a sheet without a mapping";
  sheet->hDeviceInfo = std::move(mapping);
  EXPECT_EQ(DestroySheet(), 1);
  for (HPROPSHEETPAGE page : pages) DestroyPropertySheetPage(page);
  EXPECT_EQ(load(), before) << "after the sheet";
}

// The export as sibling modules call it: a long text is cut to the stated
// size in bytes, the rest of the buffer zeroed.
TEST(LoadOneString2, CutsTextsToTheBuffer) {
  HMODULE ui = LoadInstalledModule(L"VQ312UI.dll");
  const auto load = reinterpret_cast<BOOL(WINAPI*)(HANDLE, UINT, LPWSTR, DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(ui, "LoadOneString2")));
  ASSERT_NE(load, nullptr) << "LoadOneString2 is not exported";
  const DifmApi difm = InstalledDifm();
  DifmMapping map(difm, kModelName);
  const std::wstring text = InstalledText(4759);
  const size_t whole = (text.size() + 1) * sizeof(wchar_t);
  for (DWORD size : {DWORD(4), DWORD(5), DWORD(whole - 2), DWORD(whole), DWORD(whole + 6)}) {
    std::vector<unsigned char> got(size + 8, 0xAB), want = got;
    std::fill(want.begin(), want.begin() + size, 0);
    std::memcpy(want.data(), text.c_str(), std::min<size_t>(size, whole));
    EXPECT_TRUE(load(map.get(), 4759, reinterpret_cast<LPWSTR>(got.data()), size));
    EXPECT_EQ(got, want) << size;
  }
  wchar_t small[4];
  EXPECT_FALSE(load(nullptr, 4759, small, sizeof small));
}

}  // namespace
}  // namespace vq::wine
