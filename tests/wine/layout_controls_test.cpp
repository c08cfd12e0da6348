// The shared controls on real windows: the edit subclasses driven by the
// messages a user's typing makes, edit integers, tooltips with the device
// module's texts, the locale's decimal point, and the activation context.
#include <gtest/gtest.h>

#include <cderr.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "entry/module_win.h"
#include "tests/wine/dialog_template.h"
#include "uicore/activation_win.h"
#include "uicore/shared_controls_win.h"

namespace vq::wine {
namespace {

// Stands between an edit and its class procedure, so a test sees what the
// subclass let through: it is the procedure the subclass saves.
WNDPROC g_editClassProc = nullptr;
int g_reached = 0;  // WM_CHAR and WM_KEYDOWN that got through
LRESULT CALLBACK Spy(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CHAR || m == WM_KEYDOWN) ++g_reached;
  return CallWindowProcW(g_editClassProc, w, m, wp, lp);
}
void InstallSpy(HWND edit) {
  g_editClassProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Spy)));
}

// The slots of a pretend sheet, reached through the hook the sheet code sets.
EditProcSlots g_sheetSlots;
struct SheetSlotsHook {
  SheetSlotsHook() {
    g_sheetSlots = {};
    g_currentEditSlots = [] { return &g_sheetSlots; };
  }
  ~SheetSlotsHook() { g_currentEditSlots = nullptr; }
};

std::wstring Text(HWND w) {
  wchar_t buf[64] = {};
  GetWindowTextW(w, buf, 64);
  return buf;
}

TEST(SignedNumberEdit, TypingKeepsASignedNumber) {
  SheetSlotsHook hook;
  Window dlg(DialogTemplate(WS_POPUP | WS_VISIBLE, 100, 60)
                 .Add(kEditAtom, 1001, WS_BORDER | ES_AUTOHSCROLL, 5, 5, 40, 12)
                 .Add(kButtonAtom, 1002, WS_TABSTOP, 5, 25, 40, 14, L"Next")
                 .Create(nullptr, PlainDialogProc));
  HWND edit = GetDlgItem(dlg, 1001);
  InstallSpy(edit);
  ASSERT_TRUE(SubclassSignedNumberEdit(edit, 3));
  ASSERT_TRUE(SubclassSignedNumberEdit(edit, 3)) << "a second install";
  EXPECT_EQ(g_sheetSlots.signedNumber, Spy) << "saved in the sheet's slots, and only once";

  const struct {
    const wchar_t* before;
    int selStart, selEnd;
    wchar_t ch;
    const wchar_t* after;
    bool reachesEdit;
  } typing[] = {
      {L"5", 1, 1, L'-', L"5", false},    // "-" with the caret at 1 does nothing
      {L"5", 0, 0, L'-', L"-5", true},    // in front it is the sign
      {L"-5", 0, 0, L'-', L"-5", false},  // but only one
      {L"-5", 0, 2, L'-', L"-", true},    // the whole "-5" selected is replaced
      {L"12", 2, 2, L'a', L"12", false},  {L"12", 2, 2, L'.', L"12", false},
      {L"12", 2, 2, L'3', L"123", true},  {L"123", 3, 3, L'4', L"123", true},  // three at most
      {L"123", 3, 3, L'\b', L"12", true},
  };
  for (const auto& t : typing) {
    SCOPED_TRACE(testing::Message() << "\"" << t.before << "\" + " << static_cast<int>(t.ch));
    SetWindowTextW(edit, t.before);
    SendMessageW(edit, EM_SETSEL, t.selStart, t.selEnd);
    g_reached = 0;
    SendMessageW(edit, WM_CHAR, t.ch, 1);
    EXPECT_EQ(Text(edit), t.after);
    EXPECT_EQ(g_reached != 0, t.reachesEdit);
  }
  // Leaving the field: nothing or a lone sign becomes 0.
  const wchar_t* leaving[][2] = {{L"-", L"0"}, {L"", L"0"}, {L"-3", L"-3"}, {L"12", L"12"}};
  for (const auto& l : leaving) {
    SetWindowTextW(edit, l[0]);
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    SetFocus(GetDlgItem(dlg, 1002));
    EXPECT_EQ(Text(edit), l[1]) << "leaving \"" << l[0] << "\"";
  }
}

int g_okCommands = 0, g_cancelCommands = 0;
INT_PTR CALLBACK CountingDialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) ++g_okCommands;
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) ++g_cancelCommands;
  return message == WM_INITDIALOG;
}

TEST(DialogKeyEdit, EnterAndEscapeStayInTheField) {
  SheetSlotsHook hook;
  for (bool subclassed : {false, true}) {
    Window dlg(DialogTemplate(WS_POPUP | WS_VISIBLE, 120, 60)
                   .Add(kEditAtom, 1107, WS_BORDER | WS_TABSTOP, 5, 5, 40, 12)
                   .Add(kButtonAtom, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 25, 40, 14, L"OK")
                   .Add(kButtonAtom, IDCANCEL, WS_TABSTOP, 50, 25, 40, 14, L"Cancel")
                   .Create(nullptr, CountingDialogProc));
    HWND edit = GetDlgItem(dlg, 1107);
    InstallSpy(edit);
    if (subclassed) {
      ASSERT_TRUE(SubclassDialogKeyEdit(edit));
      EXPECT_EQ(*g_sheetSlots.DialogKeySlot(1107), Spy);
    }
    SetFocus(edit);
    const struct {
      WPARAM key;
      int ok, cancel;  // the dialog's commands without the subclass
    } keys[] = {{VK_RETURN, 1, 0}, {VK_ESCAPE, 0, 1}, {'A', 0, 0}};
    for (const auto& k : keys) {
      SCOPED_TRACE(testing::Message() << "key " << k.key << (subclassed ? ", subclassed" : ""));
      const bool dialogKey = k.ok || k.cancel;
      g_okCommands = g_cancelCommands = g_reached = 0;
      MSG msg{edit, WM_KEYDOWN, k.key, 1, GetTickCount(), {}};
      const LRESULT code = SendMessageW(edit, WM_GETDLGCODE, k.key, reinterpret_cast<LPARAM>(&msg));
      EXPECT_EQ((code & DLGC_WANTALLKEYS) != 0, subclassed && dialogKey);
      // The dialog manager decides what the key does, as in a message loop.
      if (!IsDialogMessageW(dlg, &msg)) DispatchMessageW(&msg);
      EXPECT_EQ(g_okCommands, subclassed ? 0 : k.ok);
      EXPECT_EQ(g_cancelCommands, subclassed ? 0 : k.cancel);
      EXPECT_EQ(g_reached != 0, !dialogKey) << "what the edit itself was given";
    }
  }
  Window other(DialogTemplate(WS_POPUP, 60, 30)
                   .Add(kEditAtom, 1234, WS_BORDER, 5, 5, 40, 12)
                   .Create(nullptr, PlainDialogProc));
  EXPECT_FALSE(SubclassDialogKeyEdit(GetDlgItem(other, 1234))) << "an id without a slot";
  EXPECT_FALSE(SubclassDialogKeyEdit(nullptr));
}

TEST(EditInteger, ReadsAndWritesTheField) {
  Window dlg(DialogTemplate(WS_POPUP, 60, 30)
                 .Add(kEditAtom, 1001, WS_BORDER, 5, 5, 40, 12)
                 .Create(nullptr, PlainDialogProc));
  HWND edit = GetDlgItem(dlg, 1001);
  // The rule itself is tested natively; here: eight characters read, the
  // field rewritten.
  const wchar_t* reads[][2] = {{L"007", L"07"}, {L"", L""}, {L"-12345678", L"-12345678"}};
  const int32_t values[] = {7, 2147483647, -123456};
  for (int i = 0; i < 3; ++i) {
    SetWindowTextW(edit, reads[i][0]);
    EXPECT_EQ(ReadEditInteger(edit), values[i]) << reads[i][0];
    EXPECT_EQ(Text(edit), reads[i][1]) << reads[i][0];
  }
  for (int32_t v : {-35, -2147483647 - 1}) {
    WriteEditInteger(edit, v);
    EXPECT_EQ(Text(edit), std::to_wstring(v));
  }
}

HWND OwnedTooltip(HWND owner) {
  struct Find {
    HWND owner, found;
  } find{owner, nullptr};
  auto match = [](HWND w, LPARAM lp) -> BOOL {
    auto* f = reinterpret_cast<Find*>(lp);
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);  // under the context the name may carry a version
    if (GetWindow(w, GW_OWNER) == f->owner && std::wcsstr(cls, TOOLTIPS_CLASSW)) f->found = w;
    return !f->found;
  };
  EnumThreadWindows(GetCurrentThreadId(), match, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

std::wstring TipText(HWND tip, HWND owner, HWND control) {
  wchar_t text[2048] = {};
  TOOLINFOW tool{sizeof tool, 0,    owner, reinterpret_cast<UINT_PTR>(control), {},
                 nullptr,     text, 0,     nullptr};
  SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  return text;
}

TEST(Tooltips, EveryRowGetsItsTextInTheSheetColours) {
  const DifmApi& difm = DeviceInfoApi();
  ASSERT_TRUE(difm.Complete()) << "the installed device module";
  DifmMapping map(difm, kModelName);
  ASSERT_TRUE(map);
  Window dlg(DialogTemplate(WS_POPUP, 100, 60)
                 .Add(kButtonAtom, 1001, 0, 5, 5, 40, 14, L"A")
                 .Add(kButtonAtom, 1002, 0, 5, 25, 40, 14, L"B")
                 .Create(nullptr, PlainDialogProc));
  // A row for a missing control, one for an unknown text, and one past the end.
  const TooltipRow rows[] = {{1001, 4759}, {1500, 4760}, {1002, 65000}, {0, 4761}, {1001, 4761}};
  EXPECT_EQ(CreateDialogTooltips(dlg, rows, difm, map.get()), 1);
  HWND tip = OwnedTooltip(dlg);
  ASSERT_TRUE(tip);
  EXPECT_EQ(GetWindowLongW(tip, GWL_STYLE) & TTS_ALWAYSTIP, TTS_ALWAYSTIP);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), RGB(13, 19, 134));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0)),
            RGB(226, 231, 240));
  EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 220);
  uint32_t bytes = 0;
  ASSERT_TRUE(difm.DifmGetRealDataStr(map.get(), 4759, nullptr, &bytes));
  std::wstring expected(bytes / 2, L'\0');
  difm.DifmGetRealDataStr(map.get(), 4759, reinterpret_cast<char16_t*>(expected.data()), &bytes);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(TipText(tip, dlg, GetDlgItem(dlg, 1001)), expected);
  EXPECT_EQ(TipText(tip, dlg, GetDlgItem(dlg, 1002)), L"");

  Window bare(DialogTemplate(WS_POPUP, 60, 30).Create(nullptr, PlainDialogProc));
  EXPECT_EQ(CreateDialogTooltips(bare, nullptr, difm, map.get()), 1);
  EXPECT_EQ(CreateDialogTooltips(nullptr, rows, difm, map.get()), 1);
  EXPECT_FALSE(OwnedTooltip(bare));
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
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dll(self);
  dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"wine_layout_actctx.dll";
  HMODULE bound = LoadLibraryW(dll.c_str());
  ASSERT_TRUE(bound);
  const struct {
    const char* what;
    HMODULE module;
    ActCtxSource source;
  } cases[] = {
      {"a DLL with manifest 2, bound by the loader", bound, ActCtxSource::kBound},
      {"this program, manifest 3", GetModuleHandleW(nullptr), ActCtxSource::kCreatedFromResource3},
      {"the device module, no manifest", g_module, ActCtxSource::kNone},
      {"no module", nullptr, ActCtxSource::kFailed},
  };
  for (const auto& c : cases) {
    const ModuleActCtx found = FindModuleActivationContext(c.module);
    EXPECT_EQ(static_cast<int>(found.source), static_cast<int>(c.source)) << c.what;
    EXPECT_EQ(found.context != nullptr, c.source == ActCtxSource::kBound ||
                                            c.source == ActCtxSource::kCreatedFromResource3)
        << c.what;
    if (c.source == ActCtxSource::kNone) {
      EXPECT_TRUE(found.error >= 1812 && found.error <= 1815) << found.error;
    }
    if (found.context && found.source != ActCtxSource::kBound) ReleaseActCtx(found.context);
  }
  // Resource 2 is used too when the loader did not bind it.
  const ModuleActCtx created = CreateActivationContextFromModule(bound);
  EXPECT_EQ(static_cast<int>(created.source),
            static_cast<int>(ActCtxSource::kCreatedFromResource2));
  if (created.context) ReleaseActCtx(created.context);
  EXPECT_EQ(ThisModule(), GetModuleHandleW(nullptr));
}

HANDLE CurrentContext() {
  HANDLE h = nullptr;
  GetCurrentActCtx(&h);
  if (h) ReleaseActCtx(h);
  return h;
}

template <typename Fn>
Fn Export(const wchar_t* module, const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

TEST(ActivationContext, WrappedCallsRunInsideItAndKeepTheirError) {
  EXPECT_FALSE(CurrentContext());
  EXPECT_TRUE(CallInModuleContext(HANDLE{}, CurrentContext));
  EXPECT_FALSE(CurrentContext()) << "deactivated after the call";
  SetLastError(0);
  EXPECT_FALSE(IsolatedLoadLibraryW(L"no-such-module-vq312.dll"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

  HIMAGELIST list = IsolatedImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1);
  ASSERT_TRUE(list);
  EXPECT_EQ(IsolatedImageList_ReplaceIcon(list, -1, LoadIconW(nullptr, IDI_APPLICATION)), 0);
  EXPECT_EQ(Export<int(WINAPI*)(HIMAGELIST)>(L"comctl32.dll", "ImageList_GetImageCount")(list), 1);
  Export<BOOL(WINAPI*)(HIMAGELIST)>(L"comctl32.dll", "ImageList_Destroy")(list);

  // A structure of no size makes the common dialogs refuse without showing
  // anything; their own error says they were reached.
  OPENFILENAMEW ofn{};
  EXPECT_FALSE(IsolatedGetOpenFileNameW(&ofn));
  auto dialogError = Export<DWORD(WINAPI*)()>(L"comdlg32.dll", "CommDlgExtendedError");
  ASSERT_TRUE(dialogError) << "comdlg32 loaded on first need";
  EXPECT_EQ(dialogError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  EXPECT_FALSE(IsolatedGetSaveFileNameW(&ofn));
  EXPECT_EQ(dialogError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}

// Debugger output, caught as the exception OutputDebugString raises.
std::string g_debugOutput;
LONG CALLBACK CatchDebugOutput(EXCEPTION_POINTERS* e) {
  const EXCEPTION_RECORD* r = e->ExceptionRecord;
  if (r->ExceptionCode == DBG_PRINTEXCEPTION_C && r->NumberParameters >= 2)
    g_debugOutput += reinterpret_cast<const char*>(r->ExceptionInformation[1]);
  return EXCEPTION_CONTINUE_SEARCH;
}

// Clean-up is for good: this runs last (gtest keeps the order of the file,
// and no test in the other file uses the wrappers).
TEST(ActivationContextCleanup, WrappersSayItAndGoOnWithoutTheContext) {
  IsolationCleanup();
  void* handler = AddVectoredExceptionHandler(1, CatchDebugOutput);
  g_debugOutput.clear();
  HIMAGELIST list = IsolatedImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  EXPECT_EQ(g_debugOutput, "IsolationAware function called after IsolationAwareCleanup\n");
  EXPECT_TRUE(list) << "the call is still made";
  EXPECT_FALSE(CallInModuleContext(HANDLE{}, CurrentContext));
  RemoveVectoredExceptionHandler(handler);
}

}  // namespace
}  // namespace vq::wine
