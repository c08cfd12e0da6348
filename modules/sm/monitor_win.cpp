// VQ312SM.exe: the status monitor stand-in. Started as
//   "DIR\VQ312SM.exe" PRINTER;PORT;lmex;   (print time; "drex" from the utility page)
// it shows a small window titled "PRINTER Status Monitor - PORT" with the
// simulated printer's state, lists every job message that arrives on its
// mailslot, and answers the status monitor pipe from the simulated printer.
// One monitor per printer and port: a second start finds the window and
// leaves. Job messages come on the mailslot the driver names with the
// printer's whole port list; on a printer of several ports the first of its
// monitors to start listens there, the others only on their own port's.
//
// For tests, two environment variables (inherited from whoever starts it):
//   VQ312SM_LOG=FILE        append one line per event to FILE
//   VQ312SM_LIFETIME=SECS   close by itself after SECS seconds
// WM_CLOSE ends it at any time.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "entry/document_event.h"
#include "modules/simulated_printer/simulated_printer_win.h"
#include "monitor/status_monitor.h"

namespace {

using namespace vq;

constexpr UINT kJobArrived = WM_APP + 1;   // lParam: heap std::wstring, the line to show
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT_PTR kLifetimeTimer = 2;
constexpr int kStateText = 100;
constexpr int kJobList = 101;

struct Monitor {
  MonitorArguments args;
  std::wstring log;
  HWND window = nullptr;
  volatile LONG held = 0;
};
Monitor g_monitor;

std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

std::wstring Widen(const std::string& s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
  std::wstring out(n > 0 ? n : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = L"";
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? value : L"";
}

// One line per event; each line is one append, so monitors sharing a log do
// not tear each other's lines.
void Log(const std::string& line) {
  if (g_monitor.log.empty()) return;
  HANDLE file = CreateFileW(g_monitor.log.c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::string Utf8(const std::wstring& s) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

std::string Hex(const uint8_t* bytes, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

const wchar_t* KindText(uint8_t kind) {
  switch (kind) {
    case kJobStarted: return L"job started";
    case kDeviceContextDeleted: return L"printing ended";
    case kJobStartedUnannounced: return L"job started (no details)";
    default: return L"unknown message";
  }
}

// The printer's whole port list as the spooler gives it in PRINTER_INFO_2W,
// the text the driver names the job mailslot with. A print server's
// printer that cannot be opened here is taken to be the same-named printer
// of this machine, as the pipe's requests are. Empty when neither opens.
std::u16string PrinterPortList(const std::u16string& printer) {
  std::u16string local = printer;  // "\\SERVER\NAME" -> "NAME"
  if (printer.rfind(u"\\\\", 0) == 0) {
    if (const size_t slash = printer.find(u'\\', 2); slash != std::u16string::npos)
      local = printer.substr(slash + 1);
  }
  for (const std::u16string& name : {printer, local}) {
    HANDLE h = nullptr;
    if (name.empty() || !OpenPrinterW(const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(name.c_str())), &h, nullptr))
      continue;
    DWORD needed = 0;
    GetPrinterW(h, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    std::u16string ports;
    if (needed && GetPrinterW(h, 2, info.data(), needed, &needed)) {
      const wchar_t* list = reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPortName;
      if (list) ports.assign(reinterpret_cast<const char16_t*>(list));
    }
    ClosePrinter(h);
    if (!ports.empty()) return ports;
  }
  return {};
}

DWORD WINAPI MailslotThread(void* handle) {
  HANDLE slot = handle;
  uint8_t frame[1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(slot, frame, sizeof frame, &got, nullptr)) {
      Sleep(100);
      continue;
    }
    JobMessage message;
    const bool known = DecodeJobMessage(frame, got, &message);
    std::string line = "JOB port=" + Utf8(Wide(g_monitor.args.port)) +
                       " size=" + std::to_string(got) + " bytes=" + Hex(frame, got);
    Log(line);
    std::wstring shown = known ? std::wstring(KindText(message.kind)) : L"unreadable message";
    if (known && message.kind == kJobStarted)
      shown += L": job " + std::to_wstring(message.jobId) + L", \"" + Widen(message.document) +
               L"\", " + Widen(message.dataType) + (message.overlayFlag ? L", overlay" : L"");
    PostMessageW(g_monitor.window, kJobArrived, 0,
                 reinterpret_cast<LPARAM>(new std::wstring(shown)));
  }
}

HANDLE NewPipeInstance() {
  const std::wstring name = Wide(MonitorPipeName(u""));
  return CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                          PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                          PIPE_UNLIMITED_INSTANCES, kMonitorReplySize, kMonitorRequestSize, 1000,
                          nullptr);
}

// One request, one reply. The request names the printer without its
// server: the state of that printer on this machine answers.
void Serve(HANDLE pipe) {
  uint8_t bytes[kMonitorRequestSize + 1];
  DWORD got = 0;
  MonitorRequest request;
  if (!ReadFile(pipe, bytes, sizeof bytes, &got, nullptr) ||
      !DecodeMonitorRequest(bytes, got, &request))
    return;
  sim::PrinterState state;
  const bool found = sim::ReadPrinterState(Widen(request.printer), &state);
  bool held = g_monitor.held != 0;
  const MonitorReply reply = sim::AnswerMonitorRequest(request, found ? &state : nullptr, &held);
  InterlockedExchange(&g_monitor.held, held ? 1 : 0);
  DWORD written = 0;
  WriteFile(pipe, &reply, sizeof reply, &written, nullptr);
  FlushFileBuffers(pipe);
  Log("PIPE command=" + std::to_string(request.command) + " printer=" + request.printer +
      " result=" + std::to_string(reply.result));
}

// Serves one client at a time. The next instance listens before the
// current client is let go, so a client arriving in between never finds the
// pipe missing; it waits (up to the pipe's default 1 s) only while both
// instances are busy.
DWORD WINAPI PipeThread(void* first) {
  HANDLE pipe = first;
  for (;;) {
    if (pipe == INVALID_HANDLE_VALUE) {
      Sleep(1000);
      pipe = NewPipeInstance();
      continue;
    }
    const bool connected = ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
    HANDLE next = NewPipeInstance();
    if (connected) Serve(pipe);
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
    pipe = next;
  }
}

void ShowState(HWND window) {
  sim::PrinterState state;
  std::wstring text;
  if (!sim::ReadPrinterState(Wide(g_monitor.args.printer), &state)) {
    text = L"The printer cannot be reached.";
  } else {
    const char* name = sim::StateName(state.state);
    text = L"State: " + (name ? Widen(name) : L"code " + std::to_wstring(state.state)) +
           L"\r\nAlerts: " + Widen(sim::AlertNames(state.alerts)) + L"\r\nSerial number: " +
           Widen(state.serial) + L"    Firmware: " + Widen(state.firmware);
  }
  if (g_monitor.held) text += L"\r\nMonitoring is on hold.";
  wchar_t current[512] = L"";
  GetDlgItemTextW(window, kStateText, current, 512);
  if (text != current) SetDlgItemTextW(window, kStateText, text.c_str());
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
      HWND state = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 440, 64,
                                   window, reinterpret_cast<HMENU>(kStateText), nullptr, nullptr);
      HWND jobs = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10,
                                  80, 440, 110, window, reinterpret_cast<HMENU>(kJobList),
                                  nullptr, nullptr);
      SendMessageW(state, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      SendMessageW(jobs, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      ShowState(window);
      SetTimer(window, kRefreshTimer, 1000, nullptr);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kLifetimeTimer) DestroyWindow(window);
      else ShowState(window);
      return 0;
    case kJobArrived: {
      auto* line = reinterpret_cast<std::wstring*>(lParam);
      HWND jobs = GetDlgItem(window, kJobList);
      const LRESULT at = SendMessageW(jobs, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line->c_str()));
      SendMessageW(jobs, LB_SETCURSEL, at, 0);
      delete line;
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  if (!ParseMonitorCommandLine(reinterpret_cast<const char16_t*>(GetCommandLineW()),
                               &g_monitor.args))
    return 2;
  const std::wstring title = Wide(MonitorWindowTitle(g_monitor.args.printer, g_monitor.args.port));
  g_monitor.log = Environment(L"VQ312SM_LOG");
  // One monitor per printer and port. The mailslot settles a race between
  // two starts: only one can create it.
  const std::wstring slotName =
      Wide(MonitorMailslotName(g_monitor.args.printer, g_monitor.args.port));
  HANDLE slot = INVALID_HANDLE_VALUE;
  if (!FindWindowW(nullptr, title.c_str()))
    slot = CreateMailslotW(slotName.c_str(), 0, MAILSLOT_WAIT_FOREVER, nullptr);
  if (slot == INVALID_HANDLE_VALUE) {
    Log("ALREADY " + Utf8(title));
    return 0;
  }
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"VQ312StatusMonitor";
  RegisterClassW(&windowClass);
  g_monitor.window = CreateWindowExW(0, windowClass.lpszClassName, title.c_str(),
                                     WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                     CW_USEDEFAULT, CW_USEDEFAULT, 476, 236, nullptr, nullptr,
                                     instance, nullptr);
  if (!g_monitor.window) return 1;
  const std::wstring lifetime = Environment(L"VQ312SM_LIFETIME");
  if (!lifetime.empty()) {
    const unsigned long seconds = std::wcstoul(lifetime.c_str(), nullptr, 10);
    if (seconds > 0) SetTimer(g_monitor.window, kLifetimeTimer, seconds * 1000, nullptr);
  }
  // Listening before the window shows: whoever waits for the window can
  // send at once.
  CloseHandle(CreateThread(nullptr, 0, MailslotThread, slot, 0, nullptr));
  // On a printer of several ports the job mailslot is not the port's own.
  const std::u16string ports = PrinterPortList(g_monitor.args.printer);
  if (!ports.empty() && ports != g_monitor.args.port) {
    const std::wstring jobSlotName = Wide(MonitorMailslotName(g_monitor.args.printer, ports));
    HANDLE jobSlot = CreateMailslotW(jobSlotName.c_str(), 0, MAILSLOT_WAIT_FOREVER, nullptr);
    if (jobSlot != INVALID_HANDLE_VALUE) {
      CloseHandle(CreateThread(nullptr, 0, MailslotThread, jobSlot, 0, nullptr));
      Log("LISTEN " + Utf8(jobSlotName));
    }
  }
  CloseHandle(CreateThread(nullptr, 0, PipeThread, NewPipeInstance(), 0, nullptr));
  ShowWindow(g_monitor.window, show);
  Log("START " + Utf8(title) + " mode=" + Utf8(Wide(g_monitor.args.mode)));

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  Log("EXIT " + Utf8(title));
  // The mailslot and pipe threads wait in blocking calls: ending the
  // process ends them.
  ExitProcess(0);
}
