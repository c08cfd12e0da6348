#include "uicore/shared_controls_win.h"

#include <commctrl.h>

#include <cwchar>
#include <iterator>

#include "base/module_win.h"
#include "uicore/sheet_context_win.h"
#include "base/activation_win.h"

namespace vq {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

EditProcSlots g_processEditSlots;

// The procedure an edit subclass hands on to: its saved slot, or the class's
// own procedure when the slot is empty (a sheet that lost its slots must not
// leave its edits dead).
LRESULT HandOn(WNDPROC saved, HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!saved) saved = reinterpret_cast<WNDPROC>(GetClassLongPtrW(edit, GCLP_WNDPROC));
  return CallWindowProcW(saved, edit, message, wParam, lParam);
}

const char16_t* U16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }

// Installs `proc` on the edit and returns the procedure it replaced; one
// already installed is not saved again, so the subclass never calls itself.
bool Subclass(HWND edit, WNDPROC proc, WNDPROC* slot) {
  const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
  if (current == proc) return true;
  if (!current) return false;
  *slot = current;
  SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  return true;
}

}  // namespace

WNDPROC* EditProcSlots::DialogKeySlot(uint32_t controlId) {
  for (size_t i = 0; i < std::size(kDialogKeyEditIds); ++i) {
    if (kDialogKeyEditIds[i] == controlId) return &dialogKey[i];
  }
  return nullptr;
}

EditProcSlots& CurrentEditSlots() {
  SheetContext* sheet = CurrentSheet();
  return sheet ? sheet->editSlots : g_processEditSlots;
}

LRESULT CALLBACK SignedNumberEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC saved = CurrentEditSlots().signedNumber;
  switch (message) {
    case WM_CHAR: {
      DWORD start = 0, end = 0;
      SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
      wchar_t text[kEditIntegerChars + 1] = {};
      if (wParam == L'-') GetWindowTextW(edit, text, static_cast<int>(std::size(text)));
      if (!SignedNumberAcceptsChar(static_cast<char16_t>(wParam), start, end,
                                   std::wcschr(text, L'-') != nullptr))
        return 0;
      break;
    }
    case WM_KILLFOCUS: {
      wchar_t text[kEditIntegerChars + 1] = {};
      GetWindowTextW(edit, text, static_cast<int>(std::size(text)));
      if (SignedNumberNeedsZero(U16(text))) SetWindowTextW(edit, L"0");
      break;
    }
    default:
      break;
  }
  return HandOn(saved, edit, message, wParam, lParam);
}

LRESULT CALLBACK DialogKeyEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC* slot = CurrentEditSlots().DialogKeySlot(static_cast<uint32_t>(GetDlgCtrlID(edit)));
  const WNDPROC saved = slot ? *slot : nullptr;
  auto isEnterOrEscape = [](WPARAM key) { return key == VK_RETURN || key == VK_ESCAPE; };
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT answer = HandOn(saved, edit, message, wParam, lParam);
      const MSG* asked = reinterpret_cast<const MSG*>(lParam);
      if (asked && asked->message == WM_KEYDOWN && isEnterOrEscape(asked->wParam))
        answer |= DLGC_WANTALLKEYS;
      return answer;
    }
    case WM_KEYDOWN:
      if (isEnterOrEscape(wParam)) return 0;
      break;
    default:
      break;
  }
  return HandOn(saved, edit, message, wParam, lParam);
}

BOOL SubclassSignedNumberEdit(HWND edit, uint32_t maxChars) {
  if (!edit) return FALSE;
  SendMessageW(edit, EM_LIMITTEXT, maxChars, 0);
  return Subclass(edit, SignedNumberEditProc, &CurrentEditSlots().signedNumber);
}

namespace {

LRESULT CALLBACK NameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR) {
  if (message == WM_CHAR) {
    const wchar_t c = wchar_t(wParam);
    if (c == L' ' || c == L'\u3000') return 0;
    if ((c == L'@' || c == L'\u0081') && GetKeyState(VK_SPACE) < 0) return 0;
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(edit, NameEditProc, id);
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

BOOL SubclassNameEdit(HWND edit) { return edit && SetWindowSubclass(edit, NameEditProc, 1, 0); }

BOOL SubclassDialogKeyEdit(HWND edit) {
  WNDPROC* slot = edit ? CurrentEditSlots().DialogKeySlot(GetDlgCtrlID(edit)) : nullptr;
  return slot && Subclass(edit, DialogKeyEditProc, slot);
}

int32_t ReadEditInteger(HWND edit) {
  wchar_t text[kEditIntegerChars + 1] = {};
  GetWindowTextW(edit, text, static_cast<int>(std::size(text)));
  const EditIntegerReading r = ReadEditIntegerText(U16(text));
  if (r.rewrite) SetWindowTextW(edit, reinterpret_cast<const wchar_t*>(r.text));
  return r.value;
}

void WriteEditInteger(HWND edit, int32_t value) {
  wchar_t text[16];
  wsprintfW(text, L"%d", value);
  SetWindowTextW(edit, text);
}

BOOL LocaleUsesDecimalPoint() {
  wchar_t text[64] = {};
  if (!GetNumberFormatW(LOCALE_USER_DEFAULT, 0, L"10.0", nullptr, text, 64)) return FALSE;
  return std::wcschr(text, L'.') != nullptr;
}

int CreateDialogTooltips(HWND dialog, const TooltipRow* rows, const DifmApi& difm,
                         DifmHandle texts) {
  if (!dialog || !rows) return 1;
  HWND tip = IsolatedCreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                     g_module, nullptr);
  if (!tip) return 1;
  for (const TooltipRow* row = rows; row->controlId != 0; ++row) {
    HWND control = GetDlgItem(dialog, static_cast<int>(row->controlId));
    if (!control) continue;
    // 4096 bytes with the terminator kept: at most 2047 characters a tip.
    char16_t text[2048] = {};
    uint32_t bytes = 0;
    if (difm.DifmGetRealDataStr) {
      difm.DifmGetRealDataStr(texts, row->textId, nullptr, &bytes);
      bytes = bytes < sizeof text - 4 ? bytes + 2 : sizeof text - 2;
      difm.DifmGetRealDataStr(texts, row->textId, text, &bytes);
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = reinterpret_cast<wchar_t*>(text);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 220);
    SendMessageW(tip, TTM_SETTIPTEXTCOLOR, RGB(226, 231, 240), 0);
    SendMessageW(tip, TTM_SETTIPBKCOLOR, RGB(13, 19, 134), 0);
  }
  return 1;
}

}  // namespace vq
