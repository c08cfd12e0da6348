#include "monitor/status_monitor_win.h"

#include <psapi.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "base/sibling_win.h"
#include "settings/printer_store.h"
#include "settings/printer_store_win.h"

namespace vq {
namespace {

std::vector<unsigned char> GetPrinterInfoA(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterA(printer, 2, nullptr, 0, &needed);
  std::vector<unsigned char> info;
  if (needed == 0) return info;
  info.resize(needed);
  if (!GetPrinterA(printer, 2, info.data(), needed, &needed)) info.clear();
  return info;
}


bool MonitorProcessRuns(bool* enumerated) {
  DWORD ids[1024], bytes = 0;
  *enumerated = EnumProcesses(ids, sizeof ids, &bytes) != FALSE;
  if (!*enumerated) return false;
  for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
    if (!process) continue;
    HMODULE first = nullptr;
    DWORD needed = 0;
    char name[MAX_PATH] = "";
    const bool named = EnumProcessModules(process, &first, sizeof first, &needed) &&
                       GetModuleBaseNameA(process, first, name, MAX_PATH);
    CloseHandle(process);
    // Case matters: only the monitor's own file name counts.
    if (named && std::strcmp(name, "VQ312SM.exe") == 0) return true;
  }
  return false;
}

// A pipe call's request, reply buffer and overlapped block. Heap-allocated:
// after a timeout the system may still write into them until the cancel
// is confirmed.
struct PipeCall {
  OVERLAPPED overlapped{};
  MonitorRequestBytes request{};
  uint8_t reply[kMonitorReplySize]{};
};

// CallNamedPipeW's transaction (wait for a free instance for the server's
// default time, message mode, one request, one reply), except that the reply
// is waited for at most kMonitorReplyTimeoutMs.
bool CallMonitorPipe(const std::wstring& name, const MonitorRequestBytes& request,
                     MonitorReply* reply) {
  HANDLE pipe = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (pipe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PIPE_BUSY &&
      WaitNamedPipeW(name.c_str(), NMPWAIT_USE_DEFAULT_WAIT))
    pipe = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OVERLAPPED, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) return false;
  DWORD mode = PIPE_READMODE_MESSAGE;
  auto* call = new (std::nothrow) PipeCall;
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool answered = false, settled = true;
  if (call && done && SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr)) {
    call->overlapped.hEvent = done;
    call->request = request;
    DWORD got = 0;
    BOOL ok = TransactNamedPipe(pipe, call->request.data(), kMonitorRequestSize, call->reply,
                                kMonitorReplySize, &got, &call->overlapped);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
      if (WaitForSingleObject(done, kMonitorReplyTimeoutMs) == WAIT_OBJECT_0) {
        ok = GetOverlappedResult(pipe, &call->overlapped, &got, FALSE);
      } else {
        CancelIoEx(pipe, &call->overlapped);
        settled = WaitForSingleObject(done, 1000) == WAIT_OBJECT_0;
      }
    }
    // A reply longer than the buffer fails, as with CallNamedPipeW; one too
    // short to hold its result word is no answer either.
    if (ok && got >= sizeof reply->result) {
      std::memcpy(reply, call->reply, got);
      answered = true;
    }
  }
  CloseHandle(pipe);
  // An I/O the system never confirmed cancelled keeps its buffers: a few
  // kilobytes lost rather than a write into freed memory.
  if (settled) {
    delete call;
    if (done) CloseHandle(done);
  }
  return answered;
}

std::string Requester() {
  wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = L"";
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  GetComputerNameW(computer, &size);
  wchar_t user[256 + 1] = L"";
  DWORD userSize = 256 + 1;
  GetUserNameW(user, &userSize);
  const std::u16string name = Text(computer).substr(0, kRequestComputerChars);
  return Ansi(name) + "\\" + Ansi(Text(user));
}

// The port module's port as the identity read uses it.
class ModulePort final : public PrinterPort {
 public:
  ModulePort(HANDLE handle, RpxReadPortFn read, RpxWritePortFn write)
      : handle_(handle), read_(read), write_(write) {}
  int Read(uint8_t* buffer, uint32_t size, uint32_t* got) override {
    DWORD n = 0;
    const int rc = read_(handle_, buffer, size, &n);
    *got = n;
    return rc;
  }
  int Write(const uint8_t* bytes, uint32_t size, uint32_t* written) override {
    DWORD n = 0;
    const int rc = write_(handle_, bytes, size, &n);
    *written = n;
    return rc;
  }
  void Pause() override { Sleep(100); }

 private:
  HANDLE handle_;
  RpxReadPortFn read_;
  RpxWritePortFn write_;
};

template <class Fn>
Fn Resolve(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int ReadThroughPortModule(HANDLE printer, const PRINTER_INFO_2W* info, IdentityArea* area) {
  HMODULE module = LoadPortModule(printer);
  if (!module) return kIdentityNotNow;
  const auto open = Resolve<RpxOpenPortFn>(module, "RPXOpenPort");
  const auto read = Resolve<RpxReadPortFn>(module, "RPXReadPort");
  const auto write = Resolve<RpxWritePortFn>(module, "RPXWritePort");
  const auto close = Resolve<RpxClosePortFn>(module, "RPXClosePort");
  int result = kIdentityNotNow;
  if (open && read && write && close) {
    const std::string printerName = Ansi(Text(info->pPrinterName));
    const std::string portName = Ansi(Text(info->pPortName));
    HANDLE port = nullptr;
    if (open(printerName.c_str(), portName.c_str(), 1, 1, &port) < 1) {
      result = kIdentityPortFailed;
    } else {
      ModulePort modulePort(port, read, write);
      result = ReadIdentityThroughPort(modulePort, area);
      close(&port);
    }
  }
  FreeLibrary(module);
  return result;
}

}  // namespace

int IsStatusMonitorOpen(HANDLE printer) {
  bool enumerated = false;
  if (!MonitorProcessRuns(&enumerated) && enumerated) return 0;
  const std::vector<unsigned char> buffer = GetPrinterInfoA(printer);
  if (buffer.empty()) return -1;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
  const std::string printerName = info->pPrinterName ? info->pPrinterName : "";
  for (const std::string& port : SplitPortList(std::string_view(info->pPortName ? info->pPortName : "")))
    if (FindWindowA(nullptr, MonitorWindowTitle(printerName, port).c_str())) return 1;
  return 0;
}

BOOL StartStatusMonitor(HANDLE printer) {
  Win32PrinterStore store(printer, false);
  // The start flag is only required to be there: a printer whose values
  // were never seeded gets no monitor.
  uint32_t startFlag = 0, printFlag = 0;
  if (!ReadPrinterDword(&store, pd::kMonitorStartFlag, &startFlag) ||
      !ReadPrinterDword(&store, pd::kMonitorPrintFlag, &printFlag))
    return FALSE;
  if (printFlag == 1) return TRUE;
  std::u16string dir;
  const std::vector<unsigned char> buffer = GetPrinterInfo(printer, 2);
  if (!GetDriverDirectory(&store, &dir) || buffer.empty()) return FALSE;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  std::u16string line = MonitorCommandLine(dir, Text(info->pPrinterName), Text(info->pPortName),
                                           MonitorLaunch::kPrintTime);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<wchar_t*>(L"Winsta0\\Default");
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, W(line.data()), nullptr, nullptr, FALSE,
                      DETACHED_PROCESS | CREATE_UNICODE_ENVIRONMENT, nullptr, nullptr, &startup,
                      &process))
    return FALSE;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return TRUE;
}

BOOL IsMonitorServiceInstalled() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return FALSE;
  SC_HANDLE service = OpenServiceW(manager, W(kMonitorServiceName), READ_CONTROL);
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return service != nullptr;
}

HMODULE LoadPortModule(HANDLE printer) {
  Win32PrinterStore store(printer, false);
  std::u16string dir;
  if (!GetDriverDirectory(&store, &dir)) return nullptr;
  return LoadSiblingModule(std::wstring_view(W(dir.c_str()), dir.size()),
                           W(kPortModuleFile));
}

void QueryStatusMonitor(HANDLE, const PRINTER_INFO_2W* info, MonitorReply* reply,
                        DWORD command) {
  if (!reply) return;
  try {
    const std::u16string server = info ? Text(info->pServerName) : std::u16string();
    const std::u16string pipe = MonitorPipeName(server);
    MonitorRequest request;
    request.command = command;
    request.requester = Requester();
    if (info) {
      request.printer = Ansi(PrinterNameWithoutServer(Text(info->pPrinterName), server));
      request.port = Ansi(Text(info->pPortName));
    }
    if (!CallMonitorPipe(std::wstring(pipe.begin(), pipe.end()), EncodeMonitorRequest(request),
                         reply))
      reply->result = kReplyFailed;
  } catch (const std::bad_alloc&) {
    reply->result = kReplyNoMemory;
  }
}

int ReadPrinterIdentity(HWND dialog, HANDLE printer) {
  if (IsStatusMonitorOpen(printer) != 0) return kIdentityNotNow;
  const std::vector<unsigned char> buffer = GetPrinterInfo(printer, 2);
  if (buffer.empty()) return kIdentityError;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  DWORD needed = 0, count = 0;
  EnumPortsW(nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> ports(needed ? needed : 1);
  if (!EnumPortsW(nullptr, 2, ports.data(), needed, &needed, &count)) return kIdentityError;

  IdentityArea area;
  const bool local = !info->pServerName || !*info->pServerName;
  int result;
  if (local && !IsMonitorServiceInstalled()) {
    result = ReadThroughPortModule(printer, info, &area);
  } else {
    result = ReadIdentityThroughMonitor(
        [&](uint32_t command, MonitorReply* reply) {
          QueryStatusMonitor(printer, info, reply, command);
        },
        &area);
  }
  if (result != kIdentityRead) return result;
  // An answer without both records is no identity: nothing is shown.
  PrinterIdentity identity;
  if (!DecodePrinterIdentity(area, &identity)) return kIdentityNotNow;
  SetDlgItemTextW(dialog, kSerialNumberControl, W(identity.serial.c_str()));
  SetDlgItemTextW(dialog, kFirmwareControl, W(identity.firmware.c_str()));
  return kIdentityRead;
}

}  // namespace vq
