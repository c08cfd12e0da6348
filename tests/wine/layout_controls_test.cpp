// The shared controls on real windows: the edit subclasses driven by the
// messages a user's typing makes, edit integers, tooltips with the device
// module's texts, the locale's decimal point, and the activation context.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "settings/job_settings.h"
#include "base/module_win.h"
#include "devinfo/difm_loader_win.h"
#include "tests/wine/test_window.h"
#include "base/activation_win.h"
#include "uicore/shared_controls_win.h"

namespace vq::wine {
namespace {

std::wstring Text(HWND w) {
  wchar_t buf[64] = {};
  GetWindowTextW(w, buf, 64);
  return buf;
}

TEST(SignedNumberEdit, TypingKeepsASignedNumber) {
  Window dlg(MakeDialog(WS_POPUP | WS_VISIBLE, 150, 100,
                        {{L"EDIT", 1001, WS_BORDER, 5, 5, 60, 20},
                         {L"BUTTON", 1002, WS_TABSTOP, 5, 40, 60, 20}}));
  HWND edit = GetDlgItem(dlg, 1001);
  ASSERT_TRUE(SubclassSignedNumberEdit(edit, 3));
  ASSERT_TRUE(SubclassSignedNumberEdit(edit, 3)) << "a second install must not save itself";
  const struct {
    const wchar_t* before;
    int selStart, selEnd;
    wchar_t ch;
    const wchar_t* after;
  } typing[] = {
      {L"5", 1, 1, L'-', L"5"},    // "-" with the caret at 1 does nothing
      {L"5", 0, 0, L'-', L"-5"},   // in front it is the sign
      {L"-5", 0, 0, L'-', L"-5"},  // but only one
      {L"-5", 0, 2, L'-', L"-"},   // the whole "-5" selected is replaced
      {L"12", 2, 2, L'a', L"12"},  {L"12", 2, 2, L'3', L"123"},
      {L"123", 3, 3, L'4', L"123"},  // three at most
      {L"123", 3, 3, L'\b', L"12"},
  };
  for (const auto& t : typing) {
    SetWindowTextW(edit, t.before);
    SendMessageW(edit, EM_SETSEL, t.selStart, t.selEnd);
    SendMessageW(edit, WM_CHAR, t.ch, 1);
    EXPECT_EQ(Text(edit), t.after) << "\"" << t.before << "\" + " << static_cast<int>(t.ch);
  }
  // Leaving the field: nothing or a lone sign becomes 0.
  const wchar_t* leaving[][2] = {{L"-", L"0"}, {L"", L"0"}, {L"-3", L"-3"}};
  for (const auto& l : leaving) {
    SetWindowTextW(edit, l[0]);
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    SetFocus(GetDlgItem(dlg, 1002));
    EXPECT_EQ(Text(edit), l[1]) << "leaving \"" << l[0] << "\"";
  }
}

int g_commands = 0;  // IDOK and IDCANCEL the dialog was sent
INT_PTR CALLBACK CountingDialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
    ++g_commands;
  return message == WM_INITDIALOG;
}

TEST(DialogKeyEdit, EnterAndEscapeStayInTheField) {
  for (bool subclassed : {false, true}) {
    Window dlg(MakeDialog(WS_POPUP | WS_VISIBLE, 150, 100,
                          {{L"EDIT", 1107, WS_BORDER | WS_TABSTOP, 5, 5, 60, 20}}, nullptr,
                          CountingDialogProc));
    HWND edit = GetDlgItem(dlg, 1107);
    if (subclassed) {
      ASSERT_TRUE(SubclassDialogKeyEdit(edit));
    }
    SetFocus(edit);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
      g_commands = 0;
      // The dialog manager decides what the key does, as in a message loop.
      MSG msg{edit, WM_KEYDOWN, key, 1, GetTickCount(), {}};
      if (!IsDialogMessageW(dlg, &msg)) DispatchMessageW(&msg);
      EXPECT_EQ(g_commands, subclassed ? 0 : 1) << "key " << key << ", subclassed " << subclassed;
    }
  }
}

TEST(EditInteger, ReadsSevenCharactersAndDropsALeadingZero) {
  Window dlg(MakeDialog(WS_POPUP, 100, 50, {{L"EDIT", 1001, WS_BORDER, 5, 5, 60, 20}}));
  HWND edit = GetDlgItem(dlg, 1001);
  const struct {
    const wchar_t *text, *after;
    int32_t value;
  } reads[] = {{L"007", L"07", 7}, {L"0", L"0", 0}, {L"", L"", 2147483647},
               {L"-12345678", L"-12345678", -123456}};  // seven characters are read
  for (const auto& r : reads) {
    SetWindowTextW(edit, r.text);
    EXPECT_EQ(ReadEditInteger(edit), r.value) << r.text;
    EXPECT_EQ(Text(edit), r.after) << r.text;
  }
}

HWND OwnedTooltip(HWND owner) {
  std::pair<HWND, HWND> find{owner, nullptr};
  auto match = [](HWND w, LPARAM lp) -> BOOL {
    auto* f = reinterpret_cast<std::pair<HWND, HWND>*>(lp);
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);  // under the context the name may carry a version
    if (GetWindow(w, GW_OWNER) == f->first && std::wcsstr(cls, TOOLTIPS_CLASSW)) f->second = w;
    return !f->second;
  };
  EnumThreadWindows(GetCurrentThreadId(), match, reinterpret_cast<LPARAM>(&find));
  return find.second;
}

TEST(Tooltips, EveryRowGetsItsTextInTheSheetColours) {
  const DifmApi& difm = DeviceInfoApi();
  DifmMapping map(difm, kModelName);
  ASSERT_TRUE(map) << "the installed device module";
  Window dlg(MakeDialog(WS_POPUP, 150, 100,
                        {{L"BUTTON", 1001, 0, 5, 5, 40, 14}, {L"BUTTON", 1002, 0, 5, 25, 40, 14}}));
  // A row for a missing control, one for an unknown text, one past the end.
  const TooltipRow rows[] = {{1001, 4759}, {1500, 4760}, {1002, 65000}, {0, 4761}, {1001, 4761}};
  CreateDialogTooltips(dlg, rows, difm, map.get());
  HWND tip = OwnedTooltip(dlg);
  ASSERT_TRUE(tip);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), RGB(13, 19, 134));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0)),
            RGB(226, 231, 240));
  EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 220);
  wchar_t text[64] = {};
  TOOLINFOW tool{sizeof tool, 0, dlg, reinterpret_cast<UINT_PTR>(GetDlgItem(dlg, 1001)), {},
                 nullptr, text, 0, nullptr};
  SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text), L"Default settings");
}

// The test bed runs this once more in a German locale, expecting a comma.
TEST(Locale, DecimalPointFollowsTheUsersNumberFormat) {
  const char* expect = std::getenv("VQ312_EXPECT_DECIMAL");
  const bool comma = expect && std::string(expect) == "comma";
  EXPECT_EQ(LocaleUsesDecimalPoint(), comma ? FALSE : TRUE);
  wchar_t text[16];
  FormatFixedPoint(1234, 1000, LocaleUsesDecimalPoint(), true, text, sizeof text, nullptr);
  EXPECT_EQ(std::wstring(text), comma ? L"1,23" : L"1.23");
}

TEST(ActivationContext, FoundBoundCreatedOrNone) {
  // A DLL beside this program, with a manifest 2 that the loader binds; this
  // program, whose manifest 3 is left to the module's own code; the device
  // module, which has none.
  HMODULE bound = LoadLibraryW(L"wine_layout_actctx.dll");
  ASSERT_TRUE(bound);
  const struct {
    const char* what;
    ModuleActCtx found;
    ActCtxSource source;
  } cases[] = {
      {"manifest 2, bound by the loader", FindModuleActivationContext(bound), ActCtxSource::kBound},
      {"manifest 2", CreateActivationContextFromModule(bound), ActCtxSource::kCreatedFromResource2},
      {"manifest 3", FindModuleActivationContext(GetModuleHandleW(nullptr)),
       ActCtxSource::kCreatedFromResource3},
      {"no manifest", FindModuleActivationContext(g_module), ActCtxSource::kNone},
      {"no module", FindModuleActivationContext(nullptr), ActCtxSource::kFailed},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<int>(c.found.source), static_cast<int>(c.source)) << c.what;
    EXPECT_EQ(c.found.context != nullptr, c.source < ActCtxSource::kNone) << c.what;
    if (c.found.context && c.source != ActCtxSource::kBound) ReleaseActCtx(c.found.context);
  }
}

}  // namespace
}  // namespace vq::wine
