#include "uicore/texts_win.h"

#include <htmlhelp.h>
#include <windowsx.h>

#include "base/caller_buffer_win.h"
#include "base/module_win.h"
#include "devinfo/difm_loader_win.h"
#include "uicore/sheet_context_win.h"
#include "settings/job_settings.h"
#include "settings/printer_store_win.h"
#include "uicore/help_menu.h"
#include "uicore/texts.h"

namespace vq {

namespace {

// HH_POPUP as HTML Help reads it on x64: 72 bytes, pointers 8-aligned.
static_assert(sizeof(HH_POPUP) == 72);

// Pop-up help texts are read into a 2048-byte buffer: 1023 characters and
// the terminator.
constexpr size_t kPopupTextChars = 2048 / sizeof(wchar_t) - 1;

// The point of a pop-up below a control's top edge.
constexpr LONG kPopupBelowTop = 15;

constexpr wchar_t kHtmlHelpServerKey[] =
    L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr WORD kHtmlHelpWOrdinal = 15;

// Process-wide and written without a lock: two threads that race here at
// worst load the control twice, and both store the same entry.
HtmlHelpEntry (*g_helpResolver)() = nullptr;
HtmlHelpEntry g_helpEntry = nullptr;
bool g_helpUnavailable = false;

HtmlHelpEntry ResolveHtmlHelp() {
  HMODULE control = LoadLibraryW(HtmlHelpServerPath().c_str());
  if (!control) return nullptr;
  auto entry = reinterpret_cast<HtmlHelpEntry>(
      reinterpret_cast<void*>(GetProcAddress(control, MAKEINTRESOURCEA(kHtmlHelpWOrdinal))));
  // Kept loaded for the life of the process once it serves.
  if (!entry) FreeLibrary(control);
  return entry;
}

// The process-wide mapping for callers outside a sheet; the device module is
// pinned in memory (DeviceInfoApi), so the handle stays valid.
DifmHandle ProcessTextHandle() {
  static const DifmHandle handle = [] {
    const DifmApi& api = DeviceInfoApi();
    return api.DifmMapper ? api.DifmMapper(kDifmMagic, kModelName) : DifmHandle{};
  }();
  return handle;
}

void ShowTextPopup(HWND owner, uint32_t textId, POINT at) {
  std::u16string text;
  if (!FetchText(DeviceInfoApi(), CurrentTextHandle(), textId, &text) || text.empty()) return;
  if (text.size() > kPopupTextChars) text.resize(kPopupTextChars);
  HtmlHelpEntry entry = HtmlHelpEntryPoint();
  if (!entry) return;
  HH_POPUP popup{};
  popup.cbStruct = sizeof popup;
  popup.pszText = W(text.c_str());
  popup.pt = at;
  popup.clrForeground = static_cast<COLORREF>(-1);
  popup.clrBackground = static_cast<COLORREF>(-1);
  popup.rcMargins = {-1, -1, -1, -1};
  entry(owner, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
}

bool ShowsHelp(HWND control) {
  return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

void OnHelp(const TextRow* table, const HELPINFO* info) {
  if (!info || info->iContextType != HELPINFO_WINDOW) return;
  HWND control = static_cast<HWND>(info->hItemHandle);
  RECT rect{};
  if (!GetWindowRect(control, &rect)) return;
  const TextRow* row = FindTextRow(table, static_cast<uint32_t>(info->iCtrlId));
  if (row && ShowsHelp(control))
    ShowTextPopup(control, row->textId, {rect.left, rect.top + kPopupBelowTop});
}

void OnContextMenu(HWND dialog, const TextRow* table, POINT at) {
  HMENU menu = LoadMenuW(g_module, MAKEINTRESOURCEW(IDM_CONTROL_HELP));
  HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
  const TextRow* hit = nullptr;
  HWND control = nullptr;
  for (const TextRow* row = table; row && row->controlId != 0; ++row) {
    HWND candidate = GetDlgItem(dialog, static_cast<int>(row->controlId));
    RECT rect{};
    if (candidate && GetWindowRect(candidate, &rect) && PtInRect(&rect, at)) {
      hit = row;
      control = candidate;
      break;
    }
  }
  if (popup && hit && ShowsHelp(control)) {
    std::u16string item;
    if (FetchText(DeviceInfoApi(), CurrentTextHandle(), kWhatsThisText, &item) && !item.empty())
      ModifyMenuW(popup, IDM_WHATS_THIS, MF_BYCOMMAND | MF_STRING, IDM_WHATS_THIS,
                  W(item.c_str()));
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, dialog, nullptr));
    if (command == IDM_WHATS_THIS) ShowTextPopup(nullptr, hit->textId, at);
  }
  if (menu) DestroyMenu(menu);
}

}  // namespace

DifmHandle CurrentTextHandle() {
  if (const SheetContext* sheet = CurrentSheet()) return sheet->hDeviceInfo.get();
  return ProcessTextHandle();
}

BOOL LoadTextWithHandle(DifmHandle h, uint32_t id, void* buffer, uint32_t bufferBytes) {
  if (!h) return FALSE;
  // A buffer smaller than its stated size: the call succeeds and writes
  // nothing (see IsWritable for why this is asked first, not caught).
  if (bufferBytes && !IsWritable(buffer, bufferBytes)) return TRUE;
  return LoadTextInto(DeviceInfoApi(), h, id, buffer, bufferBytes) ? TRUE : FALSE;
}

BOOL LoadTextById(uint16_t id, wchar_t* buffer, uint32_t bufferBytes) {
  return LoadTextWithHandle(CurrentTextHandle(), id, buffer, bufferBytes);
}

BOOL SetDialogTexts(HWND dialog, const TextRow* table) {
  const DifmApi& api = DeviceInfoApi();
  const DifmHandle h = CurrentTextHandle();
  for (const TextRow* row = table; row && row->controlId != 0; ++row) {
    std::u16string text;
    if (FetchText(api, h, row->textId, &text))
      SetDlgItemTextW(dialog, static_cast<int>(row->controlId), W(text.c_str()));
  }
  return TRUE;
}

std::wstring HtmlHelpServerPath() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    // At most 260 bytes, one character of which stays the terminator.
    wchar_t value[260 / sizeof(wchar_t)] = {};
    DWORD type = 0;
    DWORD bytes = sizeof value - sizeof(wchar_t);
    const LSTATUS rc =
        RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
    RegCloseKey(key);
    if (rc == ERROR_SUCCESS && value[0] && (type == REG_SZ || type == REG_EXPAND_SZ)) {
      // Windows registers "%SystemRoot%\System32\hhctrl.ocx" as REG_EXPAND_SZ,
      // which LoadLibraryW does not expand by itself.
      if (type == REG_SZ) return value;
      wchar_t expanded[MAX_PATH];
      const DWORD n = ExpandEnvironmentStringsW(value, expanded, MAX_PATH);
      if (n && n <= MAX_PATH) return expanded;
    }
  }
  return L"hhctrl.ocx";
}

HtmlHelpEntry HtmlHelpEntryPoint() {
  if (g_helpUnavailable) return nullptr;
  if (!g_helpEntry) {
    g_helpEntry = g_helpResolver ? g_helpResolver() : ResolveHtmlHelp();
    if (!g_helpEntry) g_helpUnavailable = true;
  }
  return g_helpEntry;
}

void SetHtmlHelpResolver(HtmlHelpEntry (*resolver)()) {
  g_helpResolver = resolver;
  g_helpEntry = nullptr;
  g_helpUnavailable = false;
}

BOOL ShowHelpTopic(HWND owner, HANDLE printer, const wchar_t* topic) {
  HtmlHelpEntry entry = HtmlHelpEntryPoint();
  if (!entry || !printer || !topic) return FALSE;
  std::u16string file;
  {
    Win32PrinterStore store(printer, false);
    if (!GetHelpFilePath(&store, &file)) return FALSE;
  }
  const std::wstring path = W(file.c_str()) + std::wstring(topic);
  return entry(owner, path.c_str(), HH_DISPLAY_TOC, 0) ? TRUE : FALSE;
}

BOOL ShowHelpForNotify(const NMHDR* header, HANDLE printer, const wchar_t* topic) {
  return header ? ShowHelpTopic(header->hwndFrom, printer, topic) : FALSE;
}

LRESULT ShowControlHelp(HWND dialog, const TextRow* helpTable, UINT message, WPARAM,
                        LPARAM lParam) {
  if (message == WM_HELP)
    OnHelp(helpTable, reinterpret_cast<const HELPINFO*>(lParam));
  else if (message == WM_CONTEXTMENU)
    OnContextMenu(dialog, helpTable, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  return 0;
}

}  // namespace vq
