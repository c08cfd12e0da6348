// What the Wine tests do to the driver's pages and dialogs the way a user
// works them: message boxes answered as they come, clicks and typing, the
// document sheet opened on a record with OK handing the record back, and
// screenshots when the main job asks for them.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/ddk_win.h"
#include "tests/wine/installed_printer.h"
#include "tools/sheet_host/sheet_host_win.h"

namespace vq::wine {

// The sheet's tab control: a dialog holding it is the sheet, not a box.
inline constexpr int kSheetTabControl = 12320;
// The text of a message box.
inline constexpr int kMessageBoxText = 0xFFFF;

// Whether `w` is a shown dialog of this process other than the sheet.
inline bool IsOwnDialog(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t cls[16] = {};
  return pid == GetCurrentProcessId() && IsWindowVisible(w) && GetClassNameW(w, cls, 16) &&
         !std::wcscmp(cls, L"#32770") && !GetDlgItem(w, kSheetTabControl);
}

// A shown dialog of this process holding `control` (kMessageBoxText: a
// message box); null after `ms`.
inline HWND WaitForDialog(int control, DWORD ms = 8000) {
  struct Find {
    int control;
    HWND found;
  };
  for (DWORD waited = 0;; waited += 20) {
    Find f{control, nullptr};
    EnumWindows(
        [](HWND w, LPARAM l) -> BOOL {
          auto* f = reinterpret_cast<Find*>(l);
          if (!IsOwnDialog(w) || !GetDlgItem(w, f->control)) return TRUE;
          f->found = w;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    if (f.found || waited >= ms) return f.found;
    Sleep(20);
  }
}

inline void WaitGone(HWND w, DWORD ms = 8000) {
  for (DWORD waited = 0; waited < ms && IsWindow(w); waited += 10) Sleep(10);
}

// Answers every message box of this process as it appears (with `answer`
// where the box has that button, else OK) and keeps their texts and titles.
// With AnswerEveryDialog, the driver's own dialogs are answered the same
// way (closed), except one holding the control given to Leave, which the
// test works itself.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int answer = IDYES) : answer_(answer) {
    thread_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
  }
  ~BoxAnswerer() {
    stop_ = true;
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  void SetAnswer(int answer) { answer_ = answer; }
  void AnswerEveryDialog() { everyDialog_ = true; }
  void Leave(int control) { leave_ = control; }
  // The texts (or titles) of the boxes answered since the last call.
  std::vector<std::wstring> Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    titles_.clear();
    return std::exchange(texts_, {});
  }
  std::vector<std::wstring> TakeTitles() {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_.clear();
    return std::exchange(titles_, {});
  }
  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
  }
  std::wstring Last() {
    std::lock_guard<std::mutex> lock(mutex_);
    return last_;
  }

 private:
  static DWORD WINAPI Run(void* p) {
    auto* self = static_cast<BoxAnswerer*>(p);
    while (!self->stop_) {
      EnumWindows(
          [](HWND w, LPARAM l) -> BOOL {
            reinterpret_cast<BoxAnswerer*>(l)->Answer(w);
            return TRUE;
          },
          reinterpret_cast<LPARAM>(self));
      Sleep(20);
    }
    return 0;
  }
  void Answer(HWND w) {
    if (!IsOwnDialog(w) || !(everyDialog_ || GetDlgItem(w, kMessageBoxText)) ||
        (leave_ && GetDlgItem(w, leave_)) || !answered_.insert(w).second)
      return;
    wchar_t text[2048] = {}, title[256] = {};
    GetDlgItemTextW(w, kMessageBoxText, text, 2048);
    GetWindowTextW(w, title, 256);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      texts_.push_back(text);
      titles_.push_back(title);
      last_ = text;
      ++count_;
    }
    const int id = GetDlgItem(w, answer_) ? answer_.load() : IDOK;
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, id)));
  }

  HANDLE thread_ = nullptr;
  std::atomic<int> answer_;
  std::atomic<bool> stop_{false}, everyDialog_{false};
  std::atomic<int> leave_{0};
  std::set<HWND> answered_;  // the answering thread's own
  std::mutex mutex_;
  std::vector<std::wstring> texts_, titles_;
  std::wstring last_;
  size_t count_ = 0;
};

// ---- Controls, from the thread that drives the window -----------------------

inline HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
inline void Click(HWND dialog, int id) { SendMessageW(Item(dialog, id), BM_CLICK, 0, 0); }
// A click whose handler opens a modal window: posted, so the caller stays
// free to drive that window.
inline void PostClick(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(dialog, id)));
}
inline bool Checked(HWND dialog, int id) {
  return SendMessageW(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline bool Enabled(HWND dialog, int id) { return IsWindowEnabled(Item(dialog, id)); }
inline bool Visible(HWND dialog, int id) { return IsWindowVisible(Item(dialog, id)); }
inline void Type(HWND dialog, int id, const std::wstring& text) {
  SendMessageW(Item(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
inline std::wstring TextOf(HWND dialog, int id) {
  wchar_t text[1024] = {};
  GetWindowTextW(Item(dialog, id), text, 1024);
  return text;
}
inline void Key(HWND control, WPARAM key) {
  SendMessageW(control, WM_KEYDOWN, key, 1);
  SendMessageW(control, WM_KEYUP, key, 0xC0000001);
}
// Picks item `index` of drop-down list `id` as a user's choice does.
inline void Pick(HWND dialog, int id, int index) {
  SendMessageW(Item(dialog, id), CB_SETCURSEL, index, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(dialog, id)));
}
inline int Selected(HWND dialog, int id) {
  return static_cast<int>(SendMessageW(Item(dialog, id), CB_GETCURSEL, 0, 0));
}
inline int Count(HWND dialog, int id) {
  return static_cast<int>(SendMessageW(Item(dialog, id), CB_GETCOUNT, 0, 0));
}
inline void Scroll(HWND dialog, int bar, int code, int pos = 0) {
  SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(Item(dialog, bar)));
}

// Answers the next message box with `button`; its text, "" when none came.
inline std::wstring AnswerBox(int button, DWORD ms = 8000) {
  const HWND box = WaitForDialog(kMessageBoxText, ms);
  if (!box) return L"";
  const std::wstring text = TextOf(box, kMessageBoxText);
  PostClick(box, button);
  WaitGone(box);
  return text;
}

inline HWND ShowPage(HWND sheet, int index) {
  SendMessageW(sheet, PSM_SETCURSEL, index, 0);
  return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// Whether the control shows a picture rather than one flat colour, read
// back from the screen after it has painted.
inline bool ShowsPicture(HWND control) {
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Sleep(100);
  RECT r{};
  GetWindowRect(control, &r);
  HDC screen = GetDC(nullptr);
  const COLORREF first = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  int differing = 0;
  for (int y = r.top + 4; y < r.bottom - 3; y += 7)
    for (int x = r.left + 4; x < r.right - 3; x += 7) differing += GetPixel(screen, x, y) != first;
  ReleaseDC(nullptr, screen);
  return differing > 20;
}

// Saves `window` as NAME-en.bmp or NAME-zh.bmp (the UI language) in the
// folder VQ312_SCREENSHOTS names; nothing without it.
inline void Shoot(HWND window, const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"VQ312_SCREENSHOTS", folder, MAX_PATH)) return;
  CreateDirectoryW(folder, nullptr);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(400);
  const bool chinese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
  host::SaveWindowBitmap(window, std::wstring(folder) + L"\\" + name + (chinese ? L"-zh" : L"-en") + L".bmp");
}

// The installed driver's document sheet in this project's host, so that OK
// hands the record back as an application gets it.
class DocumentSheet {
 public:
  DocumentSheet() : printer_(), ui_(LoadInstalledModule(L"VQ312UI.dll")) {
    if (ui_) entry_ = Export<host::SheetEntry>(ui_, "DrvDocumentPropertySheets");
  }
  ~DocumentSheet() {
    if (ui_) FreeLibrary(ui_);
  }
  DocumentSheet(const DocumentSheet&) = delete;
  DocumentSheet& operator=(const DocumentSheet&) = delete;

  bool ready() const { return printer_ && entry_; }
  HANDLE printer() const { return printer_.get(); }
  // The printer's stored default record.
  JobSettings Stored() const {
    JobSettings js{};
    DocumentProperties(printer_.get(), nullptr, &js, DM_OUT_BUFFER);
    return js;
  }

  // Opens the sheet on `in`, lets the window settle, runs `drive` with it on
  // the drive thread, then presses OK (Cancel when `drive` says false).
  // What OK handed back goes to *out (zero after Cancel).
  host::HostResult Run(const JobSettings& in, JobSettings* out, const std::function<bool(HWND sheet)>& drive) {
    JobSettings source = in;
    *out = JobSettings{};
    DOCUMENTPROPERTYHEADER h{};
    h.cbSize = sizeof h;
    h.hPrinter = printer_.get();
    h.pszPrinterName = const_cast<wchar_t*>(kPrinterName);
    h.pdmIn = reinterpret_cast<DEVMODEW*>(&source);
    h.pdmOut = reinterpret_cast<DEVMODEW*>(out);
    h.cbOut = sizeof *out;
    h.fMode = DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER;
    return host::RunSheet(entry_, &h, L"Page test", [&](HWND sheet) {
      Sleep(200);
      const bool ok = drive(sheet);
      PostMessageW(sheet, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
    });
  }

 private:
  Printer printer_;
  HMODULE ui_;
  host::SheetEntry entry_ = nullptr;
};

}  // namespace vq::wine
