#include "tests/wine/monitor_bed.h"

#include <psapi.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "modules/simulated_printer/simulated_printer_win.h"
#include "tests/wine/installed_printer.h"

namespace vq::wine {
namespace {

std::string Ansi(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 1, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

// --- The presented connection -------------------------------------------

// Server, printer, share and ports of the presented connection.
std::wstring g_wide[4];
std::string g_ansi[4];
// GetPrinterW and GetPrinterA share their signature (the buffer is bytes).
using GetPrinterWFn = BOOL(WINAPI*)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
GetPrinterWFn g_realW = nullptr;
GetPrinterWFn g_realA = nullptr;

size_t Length(const char* s) { return std::strlen(s); }
size_t Length(const wchar_t* s) { return wcslen(s); }

// Packs a PRINTER_INFO_2 as the spooler does: the structure, the device
// mode, then the strings, all inside the caller's buffer.
template <class Info, class Char>
BOOL Pack(Info info, LPBYTE out, DWORD size, LPDWORD needed) {
  Char** strings[] = {&info.pServerName, &info.pPrinterName, &info.pShareName,
                      &info.pPortName,   &info.pDriverName,  &info.pComment,
                      &info.pLocation,   &info.pSepFile,     &info.pPrintProcessor,
                      &info.pDatatype,   &info.pParameters};
  const size_t head = (sizeof(Info) + 7) & ~size_t{7};
  const size_t devMode =
      info.pDevMode ? ((info.pDevMode->dmSize + info.pDevMode->dmDriverExtra + 7) & ~size_t{7}) : 0;
  size_t total = head + devMode;
  for (Char** s : strings)
    if (*s) total += (Length(*s) + 1) * sizeof(Char);
  *needed = static_cast<DWORD>(total);
  if (!out || size < total) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  BYTE* p = out + head;
  if (info.pDevMode) {
    std::memcpy(p, info.pDevMode, info.pDevMode->dmSize + info.pDevMode->dmDriverExtra);
    info.pDevMode = reinterpret_cast<decltype(info.pDevMode)>(p);
    p += devMode;
  }
  for (Char** s : strings) {
    if (!*s) continue;
    const size_t bytes = (Length(*s) + 1) * sizeof(Char);
    std::memcpy(p, *s, bytes);
    *s = reinterpret_cast<Char*>(p);
    p += bytes;
  }
  info.pSecurityDescriptor = nullptr;
  std::memcpy(out, &info, sizeof info);
  return TRUE;
}

// The real level-2 information with the connection's four names put in.
template <class Info, class Char>
BOOL Present(GetPrinterWFn real, const std::basic_string<Char>* names, HANDLE printer,
             DWORD level, LPBYTE out, DWORD size, LPDWORD needed) {
  if (level != 2) return real(printer, level, out, size, needed);
  DWORD n = 0;
  real(printer, 2, nullptr, 0, &n);
  std::vector<BYTE> buffer(n ? n : 1);
  if (!real(printer, 2, buffer.data(), n, &n)) return FALSE;
  Info info = *reinterpret_cast<Info*>(buffer.data());
  std::basic_string<Char> copies[4] = {names[0], names[1], names[2], names[3]};
  info.pServerName = copies[0].data();
  info.pPrinterName = copies[1].data();
  info.pShareName = copies[2].data();
  info.pPortName = copies[3].data();
  info.Attributes = (info.Attributes & ~PRINTER_ATTRIBUTE_LOCAL) | PRINTER_ATTRIBUTE_NETWORK |
                    PRINTER_ATTRIBUTE_SHARED;
  return Pack<Info, Char>(info, out, size, needed);
}

BOOL WINAPI PresentedGetPrinterW(HANDLE printer, DWORD level, LPBYTE out, DWORD size,
                                 LPDWORD needed) {
  return Present<PRINTER_INFO_2W, wchar_t>(g_realW, g_wide, printer, level, out, size, needed);
}

BOOL WINAPI PresentedGetPrinterA(HANDLE printer, DWORD level, LPBYTE out, DWORD size,
                                 LPDWORD needed) {
  return Present<PRINTER_INFO_2A, char>(g_realA, g_ansi, printer, level, out, size, needed);
}

BOOL CALLBACK CloseMonitorWindow(HWND window, LPARAM) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  if (wcscmp(name, L"VQ312StatusMonitor") == 0) PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

std::wstring TempFile(const std::wstring& name) {
  wchar_t dir[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

PrintJob::PrintJob(const wchar_t* printer, const JobSettings& settings, const wchar_t* document) {
  JobSettings copy = settings;
  PRINTER_DEFAULTSW defaults{nullptr, reinterpret_cast<DEVMODEW*>(&copy), PRINTER_ACCESS_USE};
  if (!OpenPrinterW(const_cast<wchar_t*>(printer), &printer_, &defaults)) {
    printer_ = nullptr;
    return;
  }
  std::wstring output = TempFile(L"vq312-job.prn");
  DOC_INFO_1W doc{const_cast<wchar_t*>(document), output.data(), const_cast<wchar_t*>(L"RAW")};
  id_ = StartDocPrinterW(printer_, 1, reinterpret_cast<BYTE*>(&doc));
}

PrintJob::~PrintJob() {
  if (!printer_) return;
  if (id_) EndDocPrinter(printer_);
  ClosePrinter(printer_);
}

JobSettings DefaultSettings(const wchar_t* printer) {
  Printer open(printer);
  JobSettings js{};
  const std::vector<unsigned char> stored = open ? StoredDevMode(open.get()) : std::vector<unsigned char>();
  if (!stored.empty()) CopyDevModeBytes(stored.data(), static_cast<uint32_t>(stored.size()), &js);
  return js;
}

ValueOverride::ValueOverride(const wchar_t* printer, const wchar_t* name, DWORD type,
                             const void* data, DWORD size)
    : printer_(printer), name_(name) {
  Printer open(printer, PRINTER_ALL_ACCESS);
  std::vector<unsigned char> saved;
  existed_ = ReadValue(open.get(), name, &saved, &type_);
  saved_.assign(saved.begin(), saved.end());
  SetPrinterDataW(open.get(), const_cast<wchar_t*>(name), type,
                  static_cast<BYTE*>(const_cast<void*>(data)), size);
}

ValueOverride::~ValueOverride() {
  Printer open(printer_.c_str(), PRINTER_ALL_ACCESS);
  if (existed_)
    SetPrinterDataW(open.get(), name_.data(), type_, saved_.data(), DWORD(saved_.size()));
  else  // Wine does not delete (it answers 87); Windows does
    DeletePrinterDataExW(open.get(), L"PrinterDriverData", name_.c_str());
}

bool SetSimulatedPrinter(const wchar_t* printer, const sim::PrinterState& state) {
  return sim::WritePrinterState(printer, state);
}

MonitorSession::MonitorSession() {
  log_ = TempFile(L"vq312sm-" + std::to_wstring(GetCurrentProcessId()) + L".log");
  DeleteFileW(log_.c_str());
  SetEnvironmentVariableW(L"VQ312SM_LOG", log_.c_str());
  SetEnvironmentVariableW(L"VQ312SM_LIFETIME", L"60");
}

MonitorSession::~MonitorSession() {
  StopMonitors();
  SetEnvironmentVariableW(L"VQ312SM_LOG", nullptr);
  SetEnvironmentVariableW(L"VQ312SM_LIFETIME", nullptr);
}

std::vector<std::string> MonitorSession::Lines() const {
  std::vector<std::string> lines;
  std::ifstream in(Ansi(log_));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string MonitorSession::WaitForLine(const std::string& text, DWORD ms) const {
  const ULONGLONG end = GetTickCount64() + ms;
  do {
    for (const std::string& line : Lines())
      if (line.find(text) != std::string::npos) return line;
    Sleep(50);
  } while (GetTickCount64() < end);
  return {};
}

std::vector<DWORD> MonitorProcesses() {
  DWORD ids[1024], bytes = 0;
  std::vector<DWORD> found;
  if (!EnumProcesses(ids, sizeof ids, &bytes)) return found;
  for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
    if (!process) continue;
    HMODULE first = nullptr;
    DWORD needed = 0;
    wchar_t name[MAX_PATH] = L"";
    if (EnumProcessModules(process, &first, sizeof first, &needed) &&
        GetModuleBaseNameW(process, first, name, MAX_PATH) && _wcsicmp(name, L"VQ312SM.exe") == 0)
      found.push_back(ids[i]);
    CloseHandle(process);
  }
  return found;
}

void StopMonitors() {
  EnumWindows(CloseMonitorWindow, 0);
  for (DWORD id : MonitorProcesses()) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    if (!process) continue;
    if (WaitForSingleObject(process, 2000) != WAIT_OBJECT_0) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 2000);
    }
    CloseHandle(process);
  }
}

bool WaitForWindow(const std::wstring& title, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  do {
    if (FindWindowW(nullptr, title.c_str())) return true;
    Sleep(50);
  } while (GetTickCount64() < end);
  return false;
}

std::wstring MonitorExecutable() { return InstalledDriverFolder() + L"\\VQ312SM.exe"; }

ConnectionPresenter::ConnectionPresenter(HMODULE module, const Connection& connection) {
  const std::wstring names[4] = {connection.server, connection.printer, connection.share,
                                 connection.ports};
  for (int i = 0; i < 4; ++i) g_wide[i] = names[i], g_ansi[i] = Ansi(names[i]);
  wide_ = std::make_unique<ImportPatch>(module, "winspool.drv", "GetPrinterW",
                                        reinterpret_cast<void*>(PresentedGetPrinterW));
  ansi_ = std::make_unique<ImportPatch>(module, "winspool.drv", "GetPrinterA",
                                        reinterpret_cast<void*>(PresentedGetPrinterA));
  if (!*wide_) wide_.reset();
  if (!*ansi_) ansi_.reset();
  g_realW = wide_ ? reinterpret_cast<GetPrinterWFn>(wide_->original()) : nullptr;
  g_realA = ansi_ ? reinterpret_cast<GetPrinterWFn>(ansi_->original()) : nullptr;
}

ConnectionPresenter::~ConnectionPresenter() = default;

}  // namespace vq::wine
