// Driving a modal dialog from a second thread the way a user works it:
// clicks, typed text, list selections, message boxes answered, screenshots.
// Shared by the Wine tests of the pages' dialogs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "base/text_win.h"
#include "tests/wine/installed_printer.h"
#include "tools/sheet_host/sheet_host_win.h"

namespace vq::wine {

// The UI language of the run ("en" or "zh"): screenshots carry it.
inline std::wstring g_language = L"en";

// ---- Driving a modal dialog from another thread ---------------------------

// The top-level window of `thread` that holds control `control`.
inline HWND WaitForWindow(DWORD thread, int control, DWORD ms = 8000) {
  for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end; Sleep(20)) {
    std::pair<int, HWND> found{control, nullptr};
    EnumThreadWindows(thread, [](HWND w, LPARAM p) {
      auto* f = reinterpret_cast<std::pair<int, HWND>*>(p);
      if (IsWindowVisible(w) && GetDlgItem(w, f->first)) {
        f->second = w;
        return FALSE;
      }
      return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    if (found.second) return found.second;
  }
  return nullptr;
}

inline std::wstring WindowText(HWND w) {
  wchar_t text[2048] = {};
  GetWindowTextW(w, text, 2048);
  return text;
}

// Runs `script` on a thread of its own while `run` shows a modal dialog on
// this one. The script's findings are checked here once both are done; a
// script that loses its way cancels every window of the dialog's thread.
class Driver {
 public:
  explicit Driver(std::function<void(Driver&)> script) : script_(std::move(script)) {}

  INT_PTR Run(const std::function<INT_PTR()>& run) {
    thread_ = GetCurrentThreadId();
    std::thread watcher([this] { script_(*this); });
    const INT_PTR result = run();
    watcher.join();
    return result;
  }

  HWND Dialog(int control) {
    HWND w = WaitForWindow(thread_, control);
    if (!w) Fail("no dialog with control " + std::to_string(control));
    dialog_ = w;
    return w;
  }
  // Returns once the dialog's thread is back in a message loop: whatever
  // the last click or answer set going has run by then.
  void Sync() const {
    DWORD_PTR ignored = 0;
    if (dialog_) SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, 8000, &ignored);
  }
  // A message box (text control 0xFFFF) of the dialog's thread: its text
  // and caption, answered with `button`. Empty when none shows.
  std::wstring Answer(int button, std::wstring* caption = nullptr) {
    HWND box = WaitForWindow(thread_, 0xFFFF);
    if (!box) {
      Fail("no message box");
      return L"";
    }
    const std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
    if (caption) *caption = WindowText(box);
    PostMessageW(box, WM_COMMAND, button, 0);
    for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
    Sync();
    return text;
  }
  // A click that may raise a message box: posted, not sent.
  static void Click(HWND dialog, int control) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
    Sleep(60);
  }
  // A click that raises no message box: done when it returns.
  static void Press(HWND dialog, int control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
  }
  static void Type(HWND dialog, int control, const wchar_t* text) {
    SendMessageW(GetDlgItem(dialog, control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static void SelectRow(HWND dialog, int control, int row) {
    HWND list = GetDlgItem(dialog, control);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  }
  static std::wstring RowText(HWND dialog, int control, int row, int column = 0) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(GetDlgItem(dialog, control), LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }
  static int Rows(HWND dialog, int control) {
    return int(SendDlgItemMessageW(dialog, control, LVM_GETITEMCOUNT, 0, 0));
  }
  void Shot(HWND dialog, const wchar_t* name) {
    CreateDirectoryW(L"screenshots", nullptr);
    Sleep(150);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(150);
    const std::wstring path = L"screenshots\\dialog-" + std::wstring(name) + L"-" + g_language + L".bmp";
    if (!host::SaveWindowBitmap(dialog, path)) Fail("screenshot not saved");
  }
  void Fail(const std::string& what) {
    failures.push_back(what);
    EnumThreadWindows(thread_, [](HWND w, LPARAM) {
      PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    }, 0);
  }

  std::vector<std::string> failures;
  std::vector<std::wstring> seen;  // what the script read, for the checks

 private:
  std::function<void(Driver&)> script_;
  DWORD thread_ = 0;
  HWND dialog_ = nullptr;
};

inline std::wstring Message(uint32_t id, const wchar_t* argument = nullptr) {
  const DifmApi difm = InstalledDifm();
  DifmHandle h = difm.DifmMapper(kDifmMagic, U(kPrinterName));
  char16_t text[1024] = {}, caption[256] = {};
  uint32_t textBytes = sizeof text - 2, captionBytes = sizeof caption - 2;
  uint32_t flags = 0;
  difm.DifmGetRealDataMsg(h, id, text, &textBytes, caption, &captionBytes, &flags);
  std::wstring t(W(text));
  if (argument) t.replace(t.find(L"%s"), 2, argument);
  return t;
}

// Runs the console tool from the build tree (dist\\vq312ctl.exe); its exit code.
inline DWORD RunCtl(const std::wstring& arguments) {
  std::wstring line = L"dist\\vq312ctl.exe " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 999;
  WaitForSingleObject(process.hProcess, 20000);
  DWORD code = 998;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return code;
}

// Printer-data values kept at construction and written back as they were when
// the keeper goes; a value that did not exist is left as the test made it.
class SavedPrinterData {
 public:
  struct Value {
    const wchar_t* name = nullptr;
    std::vector<unsigned char> bytes;
    DWORD type = 0;
    bool existed = false;
  };
  SavedPrinterData(HANDLE printer, std::initializer_list<const wchar_t*> names) : printer_(printer) {
    for (const wchar_t* name : names) {
      Value v;
      v.name = name;
      v.existed = ReadValue(printer, name, &v.bytes, &v.type);
      values_.push_back(v);
    }
  }
  ~SavedPrinterData() {
    for (const Value& v : values_)
      if (v.existed) Restore(v);
  }
  SavedPrinterData(const SavedPrinterData&) = delete;
  SavedPrinterData& operator=(const SavedPrinterData&) = delete;

  const Value& operator[](size_t i) const { return values_[i]; }
  void Restore(const Value& v) const {
    SetPrinterDataW(printer_, const_cast<wchar_t*>(v.name), v.type, const_cast<BYTE*>(v.bytes.data()),
                    DWORD(v.bytes.size()));
  }

 private:
  HANDLE printer_;
  std::vector<Value> values_;
};

}  // namespace vq::wine
