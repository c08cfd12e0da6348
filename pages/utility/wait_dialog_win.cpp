// The wait dialog (template 102): a wait function of VQ312GS.dll runs on a
// thread of its own and tells the dialog when the printer got where it
// waits for, and how far a long job has got.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "pages/page_layouts.h"
#include "pages/sheet/dialog_win.h"
#include "pages/utility/maintenance_win.h"
#include "uicore/messages_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

struct WaitRow {
  WaitKind kind;
  const char* function;
  uint16_t message;   // text of 1218
  bool cancellable;
  uint16_t progress;  // 0: no progress line
};
// Progress texts name the percentage, then the minutes left.
constexpr WaitRow kWaits[] = {
    {WaitKind::kStopOrWait, "StopOrWait", 4725, true, 0},
    {WaitKind::kStopOrWaitSettings, "StopOrWait", 4727, true, 0},
    {WaitKind::kStopOrWaitOnline, "StopOrWaitOnline", 4725, true, 0},
    {WaitKind::kWaitClnStart, "WaitClnStart", 5343, false, 0},
    {WaitKind::kWaitEndDrain, "WaitEndDlg", 5328, false, 5344},
    {WaitKind::kWaitEndCleaning, "WaitEndDlg", 5329, false, 5344},
    {WaitKind::kReleaseInkTank, "ReleaseInkTankWait", 5327, true, 0},
    {WaitKind::kInkReplace, "StopOrWaitCRInkReplace", 4725, true, 0},
    {WaitKind::kWaitEndInkDrain, "WaitEndDlg", 4728, true, 5347},
    {WaitKind::kInkRemove, "StopOrWaitCRInkRemove", 4729, true, 0},
    {WaitKind::kInkLinesDrain, "MInkDrainsWaitEndDlg", 4730, true, 5347},
    {WaitKind::kInkInsert, "StopOrWaitCRInkInsert", 4731, true, 0},
    {WaitKind::kInkFill, "StopOrWaitCRInkFill", 4732, false, 5347},
};

// How long Cancel lets a wait stop by itself before terminating its thread.
constexpr DWORD kStopGraceMs = 500;

struct WaitData {
  const WaitRow* row;
  const MaintenanceTarget* target;
  HANDLE thread = nullptr;
  BOOL(WINAPI* setWindow)(HANDLE, HWND) = nullptr;
  BOOL(WINAPI* cancel)(HANDLE) = nullptr;
};

std::wstring Text(uint16_t id) {
  wchar_t text[512] = {};
  LoadTextById(id, text, sizeof text);
  return text;
}

// Ends the wait thread: asked first, terminated when it does not listen.
void StopThread(WaitData& data, bool cancelled) {
  if (!data.thread) return;
  if (cancelled && data.cancel) data.cancel(data.target->printer);
  if (WaitForSingleObject(data.thread, kStopGraceMs) == WAIT_TIMEOUT)
    TerminateThread(data.thread, 2);
  CloseHandle(data.thread);
  data.thread = nullptr;
  if (data.setWindow) data.setWindow(data.target->printer, nullptr);
}

void OnInit(DialogCall& call) {
  WaitData& data = call.Get<WaitData>();
  const WaitRow& row = *data.row;
  SetDlgItemTextW(call.dialog, IDC_WAIT_MESSAGE, Text(row.message).c_str());
  if (!row.cancellable) {
    HWND cancel = GetDlgItem(call.dialog, IDC_WAIT_CANCEL);
    ShowWindow(cancel, SW_HIDE);
    EnableWindow(cancel, FALSE);
    EnableMenuItem(GetSystemMenu(call.dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    HWND bar = GetDlgItem(call.dialog, IDC_WAIT_PROGRESS);
    SetWindowLongPtrW(bar, GWL_STYLE, GetWindowLongPtrW(bar, GWL_STYLE) | PBS_MARQUEE);
    EnableWindow(bar, TRUE);
    ShowWindow(bar, SW_SHOW);
    SendMessageW(bar, PBM_SETMARQUEE, TRUE, 20);
    HWND line = GetDlgItem(call.dialog, IDC_WAIT_PROGRESS_TEXT);
    EnableWindow(line, TRUE);
    ShowWindow(line, SW_SHOW);
  }
  HMODULE gs = data.target->gs;
  auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(gs, row.function)));
  data.setWindow = reinterpret_cast<decltype(data.setWindow)>(
      reinterpret_cast<void*>(GetProcAddress(gs, "SetWaitWindow")));
  data.cancel = reinterpret_cast<decltype(data.cancel)>(
      reinterpret_cast<void*>(GetProcAddress(gs, "CancelWait")));
  if (!start || !data.setWindow || !data.cancel ||
      !data.setWindow(data.target->printer, call.dialog)) {
    call.End(-1);
    return;
  }
  data.thread = CreateThread(nullptr, 0, start, data.target->printer, 0, nullptr);
  if (!data.thread) {
    data.setWindow(data.target->printer, nullptr);
    call.End(-1);
  }
}

bool OnCommand(DialogCall& call, UINT id, UINT) {
  WaitData& data = call.Get<WaitData>();
  if (id != IDC_WAIT_CANCEL && id != IDCANCEL) return false;
  if (data.row->cancellable) {
    StopThread(data, true);
    call.End(2);
  }
  return true;  // the non-cancellable waits ignore Escape and the close box
}

bool OnOther(DialogCall& call, UINT message, WPARAM wParam, LPARAM lParam) {
  WaitData& data = call.Get<WaitData>();
  switch (message) {
    case kWaitDoneMessage:
      StopThread(data, false);
      call.End(wParam ? static_cast<INT_PTR>(wParam) : 1);
      return true;
    case kWaitProgressMessage: {
      if (!data.row->progress || !lParam) return true;
      const auto* bytes = reinterpret_cast<const uint8_t*>(lParam);
      const bool two = wParam == kProgressTwoBytes;
      if (!two && wParam != kProgressOneByte) return true;
      const std::wstring format = Text(data.row->progress);
      const std::u16string line = maint::ProgressLine(
          std::u16string_view(reinterpret_cast<const char16_t*>(format.c_str()), format.size()),
          bytes[0], two ? bytes[1] : 0, two);
      SetDlgItemTextW(call.dialog, IDC_WAIT_PROGRESS_TEXT,
                      reinterpret_cast<const wchar_t*>(line.c_str()));
      return true;
    }
    default:
      return false;
  }
}

void OnDestroy(DialogCall& call) { StopThread(call.Get<WaitData>(), true); }

const DialogRow kWaitDialog = {IDD_WAIT, &pages::kLayoutWait, pages::kTextsWait, nullptr, 4756,
                               nullptr,  {OnInit, OnCommand, nullptr, nullptr, nullptr, OnOther,
                                          OnDestroy}};

}  // namespace

INT_PTR RunWaitDialog(HWND owner, const MaintenanceTarget& t, WaitKind kind) {
  for (const WaitRow& row : kWaits) {
    if (row.kind != kind) continue;
    if (!t.gs || !t.printer) return -1;
    WaitData data{&row, &t};
    return RunModalDialog(owner, kWaitDialog, &data);
  }
  return -1;
}

}  // namespace vq
