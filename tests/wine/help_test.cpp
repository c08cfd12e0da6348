// Texts, pop-up help and help topics of the pages under Wine: the help
// calls go to a recorder in place of HTML Help; the help file, the device
// module and LoadOneString2 are those the test bed installed.
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

#include "devinfo/text_ids.h"
#include "settings/job_settings.h"
#include "settings/printer_store_win.h"
#include "tests/wine/chm_directory.h"
#include "tests/wine/installed_printer.h"
#include "uicore/help_menu.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/texts_win.h"

namespace vq::wine {
namespace {

struct HelpCall {
  HWND owner;
  std::wstring file;
  UINT command;
  DWORD_PTR data;
  HH_POPUP popup;  // pszText points into `text`
  std::wstring text;
};

std::vector<HelpCall> g_calls;
int g_resolves = 0;

HWND WINAPI RecordHtmlHelp(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data) {
  HelpCall call{owner, file ? file : L"", command, data, {}, {}};
  if (command == HH_DISPLAY_TEXT_POPUP && data) {
    call.popup = *reinterpret_cast<const HH_POPUP*>(data);
    call.text = call.popup.pszText ? call.popup.pszText : L"";
  }
  g_calls.push_back(call);
  return GetDesktopWindow();  // any window: HTML Help "opened"
}

HtmlHelpEntry Recorder() {
  ++g_resolves;
  return &RecordHtmlHelp;
}

HtmlHelpEntry Unavailable() {
  ++g_resolves;
  return nullptr;
}

// Text `id` as the installed device module serves it, through a mapping of
// the test's own.
std::wstring InstalledText(uint32_t id) {
  const DifmApi difm = InstalledDifm();
  DifmMapping map(difm, kModelName);
  uint32_t bytes = 0;
  difm.DifmGetRealDataStr(map.get(), id, nullptr, &bytes);
  std::wstring text(bytes / 2 + 1, L'\0');
  difm.DifmGetRealDataStr(map.get(), id, reinterpret_cast<char16_t*>(text.data()), &bytes);
  return text.c_str();
}

std::wstring InstalledMessage(uint32_t id) {
  const DifmApi difm = InstalledDifm();
  DifmMapping map(difm, kModelName);
  uint32_t bytes = 0, captionBytes = 0, style = 0;
  difm.DifmGetRealDataMsg(map.get(), id, nullptr, &bytes, nullptr, &captionBytes, &style);
  std::wstring text(bytes / 2 + 1, L'\0');
  difm.DifmGetRealDataMsg(map.get(), id, reinterpret_cast<char16_t*>(text.data()), &bytes,
                          nullptr, &captionBytes, &style);
  return text.c_str();
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// A window with child buttons 1001 (shown, enabled), 1002 (disabled), 1003
// (hidden) and 1004, each captioned "keep".
class ControlWindow {
 public:
  ControlWindow() {
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                              nullptr, nullptr, nullptr, nullptr);
    for (int id = 1001; id <= 1004; ++id) {
      const DWORD style = WS_CHILD | (id == 1003 ? 0 : WS_VISIBLE) | (id == 1002 ? WS_DISABLED : 0);
      CreateWindowExW(0, L"BUTTON", L"keep", style, 10, 10 + 40 * (id - 1001), 120, 30, parent_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    ShowWindow(parent_, SW_SHOWNOACTIVATE);
  }
  ~ControlWindow() { DestroyWindow(parent_); }
  HWND get() const { return parent_; }
  HWND child(int id) const { return GetDlgItem(parent_, id); }
  std::wstring text(int id) const {
    wchar_t buf[512] = {};
    GetDlgItemTextW(parent_, id, buf, 512);
    return buf;
  }

 private:
  HWND parent_ = nullptr;
};

class HelpTest : public testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    g_resolves = 0;
    SetHtmlHelpResolver(&Recorder);
  }
  void TearDown() override {
    SetHtmlHelpResolver(nullptr);
    g_currentTextHandle = nullptr;
  }
  Printer printer;
};

TEST_F(HelpTest, TopicsOpenTheInstalledHelpFile) {
  ASSERT_TRUE(printer);
  const std::wstring file = InstalledDriverFolder() + L"\\VQ312.chm";
  ControlWindow window;
  for (const auto& topic : help::kTopics) {
    SCOPED_TRACE(topic.shownBy);
    g_calls.clear();
    ASSERT_TRUE(ShowHelpTopic(window.get(), printer.get(), topic.topic));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].owner, window.get());
    EXPECT_TRUE(SamePath(g_calls[0].file, file + topic.topic)) << g_calls[0].file;
    EXPECT_EQ(g_calls[0].command, UINT(HH_DISPLAY_TOC));
    EXPECT_EQ(g_calls[0].data, 0u);
  }
  g_calls.clear();
  const NMHDR notify{window.child(1001), 1001, 0};
  ASSERT_TRUE(ShowHelpForNotify(&notify, printer.get(), help::kBasicPage));
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].owner, window.child(1001)) << "owned by the window that sent PSN_HELP";
  EXPECT_EQ(g_resolves, 1) << "the entry is looked up once";
}

TEST_F(HelpTest, WithoutAPrinterNothingOpens) {
  EXPECT_FALSE(ShowHelpTopic(nullptr, nullptr, help::kBasicPage));
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(HelpTest, UnavailableHelpIsNotLookedUpAgain) {
  SetHtmlHelpResolver(&Unavailable);
  ControlWindow window;
  const TextRow table[] = {{1001, 5051}, {0, 0}};
  HELPINFO info{sizeof info, HELPINFO_WINDOW, 1001, window.child(1001), 0, {}};
  EXPECT_FALSE(ShowHelpTopic(nullptr, printer.get(), help::kBasicPage));
  EXPECT_FALSE(ShowHelpTopic(nullptr, printer.get(), help::kColourPage));
  EXPECT_EQ(ShowControlHelp(window.get(), table, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(HtmlHelpEntryPoint(), nullptr);
  EXPECT_EQ(g_resolves, 1);
}

// Export 15 of the control the registry names must be HtmlHelpW itself.
TEST_F(HelpTest, TheEntryIsHtmlHelpWOfTheRegisteredControl) {
  SetHtmlHelpResolver(nullptr);
  const HtmlHelpEntry entry = HtmlHelpEntryPoint();
  ASSERT_NE(entry, nullptr) << "HTML Help is not available in the test bed";
  HMODULE control = GetModuleHandleW(HtmlHelpServerPath().c_str());
  ASSERT_NE(control, nullptr) << "not loaded: " << HtmlHelpServerPath();
  EXPECT_EQ(reinterpret_cast<void*>(entry),
            reinterpret_cast<void*>(GetProcAddress(control, "HtmlHelpW")));
}

TEST_F(HelpTest, TheHelpFileHoldsEveryTopic) {
  ASSERT_TRUE(printer);
  std::u16string path;
  Win32PrinterStore store(printer.get(), false);
  ASSERT_TRUE(GetHelpFilePath(&store, &path));
  std::ifstream in(W(path.c_str()), std::ios::binary);
  const std::vector<unsigned char> chm{std::istreambuf_iterator<char>(in), {}};
  std::vector<std::string> names;
  ASSERT_TRUE(ReadChmDirectory(chm, &names)) << chm.size() << " bytes";
  const std::set<std::string> files(names.begin(), names.end());
  for (const auto& topic : help::kTopics) {
    const std::wstring wide = topic.topic;
    const std::string name(wide.begin() + 2, wide.end());  // "::/X.html" is "/X.html"
    EXPECT_EQ(files.count(name), 1u) << name << " (" << topic.shownBy << ")";
  }
  for (const char* page : {"/index.html", "/style.css", "/labels.html"})
    EXPECT_EQ(files.count(page), 1u) << page;
}

TEST_F(HelpTest, PopupHelpForVisibleEnabledControlsOfTheTable) {
  ControlWindow window;
  const TextRow table[] = {{1001, 5051}, {1002, 5052}, {1003, 5053}, {0, 0}, {1004, 5054}};
  const struct {
    int control;
    bool shown;
  } cases[] = {{1001, true}, {1002, false}, {1003, false}, {1004, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control);
    g_calls.clear();
    HELPINFO info{sizeof info, HELPINFO_WINDOW, c.control, window.child(c.control), 0, {}};
    EXPECT_EQ(ShowControlHelp(window.get(), table, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)),
              0);
    ASSERT_EQ(g_calls.size(), c.shown ? 1u : 0u);
    if (!c.shown) continue;
    const HelpCall& call = g_calls[0];
    RECT rect{};
    GetWindowRect(window.child(c.control), &rect);
    EXPECT_EQ(call.owner, window.child(c.control));
    EXPECT_EQ(call.command, UINT(HH_DISPLAY_TEXT_POPUP));
    EXPECT_TRUE(call.file.empty());
    EXPECT_EQ(call.popup.cbStruct, 72);
    EXPECT_EQ(call.text, InstalledText(5051));
    EXPECT_EQ(call.popup.pt.x, rect.left);
    EXPECT_EQ(call.popup.pt.y, rect.top + 15);
    EXPECT_EQ(call.popup.clrForeground, COLORREF(-1));
    EXPECT_EQ(call.popup.clrBackground, COLORREF(-1));
    EXPECT_EQ(call.popup.rcMargins.left, -1);
    EXPECT_EQ(call.popup.rcMargins.bottom, -1);
    EXPECT_EQ(call.popup.pszFont, nullptr);
  }
}

TEST_F(HelpTest, DialogTextsFollowTheTableToItsEnd) {
  ControlWindow window;
  const TextRow table[] = {{1001, 4379}, {1002, 4380}, {0, 0}, {1003, 4381}};
  const TextRow none[] = {{0, 0}, {1004, 4383}};
  EXPECT_TRUE(SetDialogTexts(window.get(), table));
  EXPECT_TRUE(SetDialogTexts(window.get(), none));
  EXPECT_EQ(window.text(1001), InstalledText(4379));
  EXPECT_EQ(window.text(1002), InstalledText(4380));
  EXPECT_EQ(window.text(1003), L"keep") << "rows after the end row are not read";
  EXPECT_EQ(window.text(1004), L"keep");
  EXPECT_FALSE(InstalledText(4379).empty());
}

TEST_F(HelpTest, TextsComeFromTheSheetOnceItIsHooked) {
  wchar_t buf[64];
  ASSERT_TRUE(LoadTextById(4759, buf, sizeof buf)) << "process-wide mapping before the hook";
  EXPECT_EQ(std::wstring(buf), InstalledText(4759));
  g_currentTextHandle = [] { return DifmHandle{}; };  // a sheet without a handle
  EXPECT_FALSE(LoadTextById(4759, buf, sizeof buf));
}

// The export as sibling modules call it: a long text is cut to the stated
// size in bytes; a buffer that ends before its stated size is not written.
TEST_F(HelpTest, LoadOneString2CutsTextsToTheBuffer) {
  using LoadOneString2Fn = BOOL(WINAPI*)(HANDLE, UINT, LPWSTR, DWORD);
  HMODULE ui = LoadInstalledModule(L"VQ312UI.dll");
  ASSERT_NE(ui, nullptr);
  const auto load = reinterpret_cast<LoadOneString2Fn>(
      reinterpret_cast<void*>(GetProcAddress(ui, "LoadOneString2")));
  ASSERT_NE(load, nullptr) << "LoadOneString2 is not exported";
  const DifmApi difm = InstalledDifm();
  DifmMapping map(difm, kModelName);
  const std::wstring text = InstalledText(4759);
  const size_t whole = (text.size() + 1) * sizeof(wchar_t);
  constexpr unsigned char kGuard = 0xAB;
  for (DWORD size : {DWORD(4), DWORD(5), DWORD(whole - 2), DWORD(whole), DWORD(whole + 6)}) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buf(size + 8, kGuard);
    ASSERT_TRUE(load(map.get(), 4759, reinterpret_cast<LPWSTR>(buf.data()), size));
    std::vector<unsigned char> want(buf.size(), kGuard);
    std::fill(want.begin(), want.begin() + size, 0);
    std::memcpy(want.data(), text.c_str(), std::min<size_t>(size, whole));
    EXPECT_EQ(buf, want);
  }
  wchar_t small[4];
  EXPECT_FALSE(load(nullptr, 4759, small, sizeof small));

  const SIZE_T page = 4096;
  auto* mem = static_cast<unsigned char*>(VirtualAlloc(nullptr, page, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(mem, nullptr);
  unsigned char* tail = mem + page - 8;
  std::memset(tail, kGuard, 8);
  EXPECT_TRUE(load(map.get(), 4759, reinterpret_cast<LPWSTR>(tail), 64))
      << "a buffer shorter than stated still reports success";
  EXPECT_EQ(std::vector<unsigned char>(tail, tail + 8), std::vector<unsigned char>(8, kGuard));
  VirtualFree(mem, 0, MEM_RELEASE);
}

// Every message shown with a name fills it in; a text that the one argument
// cannot feed is shown as it stands.
TEST_F(HelpTest, MessagesTakeTheirArgument) {
  std::set<uint32_t> seen;
  for (const auto& dialog : text_ids::kDialogs)
    for (const auto& use : dialog.messages) {
      if (!seen.insert(use.id).second) continue;
      const std::wstring text = InstalledMessage(use.id);
      SCOPED_TRACE(use.id);
      ASSERT_FALSE(text.empty());
      if (!use.argument) continue;
      const std::wstring shown = FormatMessageText(text, L"Label 50%");
      EXPECT_EQ(shown.find(L"%s"), std::wstring::npos) << shown;
      EXPECT_NE(shown.find(L"Label 50%"), std::wstring::npos) << "the name is missing: " << shown;
    }
  EXPECT_EQ(FormatMessageText(L"%d of %s", L"x"), L"%d of %s");
}

TEST(HelpMenu, TheModuleCarriesMenu391) {
  HMODULE ui = LoadLibraryExW((InstalledDriverFolder() + L"\\VQ312UI.dll").c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(ui, nullptr);
  HMENU menu = LoadMenuW(ui, MAKEINTRESOURCEW(IDM_CONTROL_HELP));
  if (!menu) GTEST_SKIP() << "menu 391 (uicore/help_menu.rc) is not linked into VQ312UI.dll";
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(GetMenuItemCount(popup), 1);
  EXPECT_EQ(GetMenuItemID(popup, 0), UINT(IDM_WHATS_THIS));
  DestroyMenu(menu);
  FreeLibrary(ui);
}

}  // namespace
}  // namespace vq::wine
