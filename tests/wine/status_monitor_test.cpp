// The status monitor link and DrvDocumentEvent under Wine, with the stand-in
// monitor (VQ312SM.exe) and port module installed beside the UI module and
// the simulated printer behind them, on a printer of the tests' own. The
// identity read's and the event's branches run natively; here their Win32
// paths: the port module, a running monitor, the pipe, real jobs with their
// device modes, files, launches and mailslots.
//
// A printer reached through a print server is presented to a module by
// replacing its winspool imports of GetPrinterW and GetPrinterA (see
// ConnectionPresenter): Wine's spooler cannot make such a printer.
#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "entry/document_event.h"
#include "modules/simulated_printer/simulated_printer_win.h"
#include "settings/printer_store.h"
#include "settings/printer_store_win.h"
#include "tests/wine/installed_printer.h"
#include "monitor/status_monitor_win.h"

namespace vq::wine {
namespace {

using Bytes = std::vector<uint8_t>;

// The printer these tests change freely; the status_monitor_printer fixture
// installs it with vq312ctl on port FILE:.
constexpr wchar_t kTestPrinter[] = L"VT-Q3120 Status Test";

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

std::wstring TempFile(const std::wstring& name) {
  wchar_t dir[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, dir);
  return dir + name;
}

bool WriteFileBytes(const std::wstring& path, const Bytes& bytes) {
  std::ofstream out(Narrow(path), std::ios::binary | std::ios::trunc);
  return bool(out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size())));
}

// Whether a window of that title shows within ten seconds.
bool WaitForWindow(const std::wstring& title) {
  for (const ULONGLONG end = GetTickCount64() + 10000; !FindWindowW(nullptr, title.c_str()); Sleep(50))
    if (GetTickCount64() >= end) return false;
  return true;
}

std::vector<DWORD> MonitorProcesses() {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, L"VQ312SM.exe") == 0) found.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return found;
}

// WM_CLOSE to every monitor window; a monitor still there after two seconds
// is terminated.
void StopMonitors() {
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"VQ312StatusMonitor", nullptr));)
    PostMessageW(w, WM_CLOSE, 0, 0);
  for (DWORD id : MonitorProcesses()) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    if (WaitForSingleObject(process, 2000) != WAIT_OBJECT_0)
      TerminateProcess(process, 1), WaitForSingleObject(process, 2000);
    CloseHandle(process);
  }
}

// A real job of the test printer with `settings` as its device mode,
// printing to a file; ended and closed on destruction.
struct PrintJob {
  PrintJob(JobSettings settings, const wchar_t* document) {
    PRINTER_DEFAULTSW defaults{nullptr, reinterpret_cast<DEVMODEW*>(&settings), PRINTER_ACCESS_USE};
    if (!OpenPrinterW(const_cast<wchar_t*>(kTestPrinter), &printer, &defaults)) return;
    std::wstring output = TempFile(L"vq312-job.prn");
    DOC_INFO_1W doc{const_cast<wchar_t*>(document), output.data(), const_cast<wchar_t*>(L"RAW")};
    id = StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&doc));
  }
  ~PrintJob() {
    if (printer && id) EndDocPrinter(printer);
    if (printer) ClosePrinter(printer);
  }
  HANDLE printer = nullptr;
  DWORD id = 0;
};

// A printer-data value of the test printer replaced while the object lives.
struct ValueOverride {
  ValueOverride(const wchar_t* name, DWORD type, const void* data, DWORD size) : name(name) {
    Printer open(kTestPrinter, PRINTER_ALL_ACCESS);
    existed = ReadValue(open.get(), name, &saved, &savedType);
    SetPrinterDataW(open.get(), this->name.data(), type, static_cast<BYTE*>(const_cast<void*>(data)),
                    size);
  }
  ~ValueOverride() {
    Printer open(kTestPrinter, PRINTER_ALL_ACCESS);
    if (existed)
      SetPrinterDataW(open.get(), name.data(), savedType, saved.data(), DWORD(saved.size()));
    else  // Wine does not delete (it answers 87); Windows does
      DeletePrinterDataExW(open.get(), L"PrinterDriverData", name.c_str());
  }
  std::wstring name;
  std::vector<unsigned char> saved;
  DWORD savedType = 0;
  bool existed = false;
};

// A print server's printer as a module sees it: its GetPrinterW and
// GetPrinterA imports answer level 2 with the real printer's information,
// server, printer, share and port list replaced; every other spooler call
// reaches the real printer. One presenter at a time; the module copies the
// names out of the answer before the presenter goes.
class ConnectionPresenter {
 public:
  ConnectionPresenter(HMODULE module, const std::wstring& server, const std::wstring& printer,
                      const std::wstring& ports) {
    const std::wstring names[4] = {server, printer, L"VTQ3120", ports};
    for (int i = 0; i < 4; ++i) wide_[i] = names[i], ansi_[i] = Narrow(names[i]);
    void* replacements[2] = {reinterpret_cast<void*>(Present<0>), reinterpret_cast<void*>(Present<1>)};
    DWORD old = 0;
    for (int i = 0; i < 2; ++i) {
      // The slot stays writable: this is a test program.
      slots_[i] = ImportSlot(module, i ? "GetPrinterA" : "GetPrinterW");
      if (!slots_[i] || !VirtualProtect(slots_[i], sizeof(void*), PAGE_READWRITE, &old)) continue;
      real_[i] = reinterpret_cast<GetPrinterFn>(saved_[i] = *slots_[i]);
      *slots_[i] = replacements[i];
    }
  }
  ~ConnectionPresenter() {
    for (int i = 0; i < 2; ++i)
      if (saved_[i]) *slots_[i] = saved_[i];
  }
  bool ok() const { return saved_[0] && saved_[1]; }

 private:
  using GetPrinterFn = BOOL(WINAPI*)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
  // Server, printer, share and port list are the first four fields of both
  // PRINTER_INFO_2W and PRINTER_INFO_2A.
  static_assert(offsetof(PRINTER_INFO_2A, pPortName) == 3 * sizeof(void*));
  template <int kAnsi>
  static BOOL WINAPI Present(HANDLE printer, DWORD level, LPBYTE out, DWORD size, LPDWORD needed) {
    const BOOL ok = real_[kAnsi](printer, level, out, size, needed);
    for (int i = 0; ok && level == 2 && i < 4; ++i)
      reinterpret_cast<void**>(out)[i] = kAnsi ? static_cast<void*>(ansi_[i].data()) : wide_[i].data();
    return ok;
  }
  // The slot of `module`'s import address table that holds winspool's `function`.
  static void** ImportSlot(HMODULE module, const char* function) {
    void* target = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"winspool.drv"), function));
    auto* base = reinterpret_cast<BYTE*>(module);
    const IMAGE_DATA_DIRECTORY& iat = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew)
        ->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    auto** slots = reinterpret_cast<void**>(base + iat.VirtualAddress);
    for (DWORD i = 0; target && i < iat.Size / sizeof(void*); ++i)
      if (slots[i] == target) return &slots[i];
    return nullptr;
  }

  static inline std::wstring wide_[4];
  static inline std::string ansi_[4];
  static inline GetPrinterFn real_[2];  // GetPrinterW, GetPrinterA
  void** slots_[2] = {};
  void* saved_[2] = {};
};

// Monitors started during a test end by themselves after a minute; each
// test stops them all at both ends. The simulated printer starts idle.
class MonitorLink : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer_) << "the status_monitor_printer fixture did not run";
    ASSERT_TRUE(event_) << "VQ312UI.dll with DrvDocumentEvent is not installed";
    StopMonitors();
    SetEnvironmentVariableW(L"VQ312SM_LIFETIME", L"60");
    ASSERT_TRUE(sim::WritePrinterState(kTestPrinter, {}));
  }
  void TearDown() override {
    StopMonitors();
    sim::WritePrinterState(kTestPrinter, {});
  }

  void SetState(const char* setting) {
    sim::PrinterState state;
    std::string error;
    ASSERT_TRUE(sim::ApplySetting(setting, &state, &error)) << error;
    ASSERT_TRUE(sim::WritePrinterState(kTestPrinter, state));
  }
  // ReadPrinterIdentity's result (2 read, 1 port failed, 3 not now) and what
  // the version dialog's two controls then show, within three seconds.
  std::wstring Read() {
    HWND dialog = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr,
                                  nullptr, nullptr);
    for (int id : {kSerialNumberControl, kFirmwareControl})
      CreateWindowExW(0, L"STATIC", L"-", WS_CHILD, 0, 0, 9, 9, dialog,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    const ULONGLONG start = GetTickCount64();
    const int result = ReadPrinterIdentity(dialog, printer_.get());
    EXPECT_LT(GetTickCount64() - start, 3000u);
    wchar_t serial[64] = L"", firmware[64] = L"";
    GetDlgItemTextW(dialog, kSerialNumberControl, serial, 64);
    GetDlgItemTextW(dialog, kFirmwareControl, firmware, 64);
    DestroyWindow(dialog);
    return std::to_wstring(result) + L" " + serial + L" " + firmware;
  }
  int Event(const PrintJob& job, int event) {
    DWORD id = job.id;
    return event_(job.printer, nullptr, event, sizeof id, &id, 0, nullptr);
  }
  // The printer's default settings with a form in use, or none.
  JobSettings WithForm(const wchar_t* file) {
    JobSettings js{};
    const std::vector<unsigned char> stored = StoredDevMode(printer_.get());
    CopyDevModeBytes(stored.data(), uint32_t(stored.size()), &js);
    if (!file) return js;
    const std::wstring path = TempFile(file);
    EXPECT_TRUE(WriteFileBytes(path, Bytes(64, 1)));
    js.OverlayMode = 0x80000002;
    js.OverlayOption = 2;
    std::memset(js.OverlayPath, 0, sizeof js.OverlayPath);
    std::memcpy(js.OverlayPath, path.data(), path.size() * 2);
    return js;
  }

  Printer printer_{kTestPrinter, PRINTER_ALL_ACCESS};
  HMODULE ui_ = LoadInstalledModule(L"VQ312UI.dll");
  using DocumentEventFn = int(WINAPI*)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);
  DocumentEventFn event_ = ui_ ? reinterpret_cast<DocumentEventFn>(reinterpret_cast<void*>(
                                     GetProcAddress(ui_, "DrvDocumentEvent")))
                               : nullptr;
};

// Through the port module, until a started monitor owns the port; then a
// print server's printer (presented to this program's own spooler imports)
// is asked through the monitor's pipe.
TEST_F(MonitorLink, IdentityComesFromThePortOrTheRunningMonitor) {
  const struct { const char* setting; const wchar_t* want; } cases[] = {
      {"idle", L"2 VQ31200417 Ver.1.05A"},
      {"port=unplugged", L"1 - -"},  // the port does not open
      {"serial=Q3120", L"3 - -"},    // a short answer is no serial number
  };
  for (const auto& c : cases) {
    SetState(c.setting);
    EXPECT_EQ(Read(), c.want) << c.setting;
  }
  {
    const DWORD one = 1;
    ValueOverride flag(L"APSM_DWSTMONPRINTFLAG", REG_DWORD, &one, 4);
    EXPECT_TRUE(StartStatusMonitor(printer_.get()));
    Sleep(500);
    EXPECT_TRUE(MonitorProcesses().empty()) << "printed by the monitor itself: nothing starts";
  }
  EXPECT_EQ(IsStatusMonitorOpen(printer_.get()), 0);
  ASSERT_TRUE(StartStatusMonitor(printer_.get()));
  ASSERT_TRUE(WaitForWindow(L"VT-Q3120 Status Test Status Monitor - FILE:"));
  EXPECT_EQ(IsStatusMonitorOpen(printer_.get()), 1);
  EXPECT_EQ(IsStatusMonitorOpen(nullptr), -1) << "a monitor runs, but no printer to match";
  EXPECT_EQ(Read(), L"3 - -") << "the port belongs to the monitor";

  ConnectionPresenter server(GetModuleHandleW(nullptr), L"\\\\.", L"\\\\.\\VT-Q3120 Status Test",
                             L"FILE:");
  ASSERT_TRUE(server.ok());
  SetState("port=unplugged");  // the port would fail; the pipe answers
  EXPECT_EQ(Read(), L"2 VQ31200417 Ver.1.05A");
  SetState("busy");
  EXPECT_EQ(Read(), L"3 - -");
}

TEST_F(MonitorLink, PipeThatIsMissingOrSilentFailsInTime) {
  std::wstring name = kTestPrinter, port = L"FILE:";
  PRINTER_INFO_2W info{};
  info.pPrinterName = name.data();
  info.pPortName = port.data();
  MonitorReply reply{};
  ULONGLONG start = GetTickCount64();
  QueryStatusMonitor(printer_.get(), &info, &reply, kMonitorStatus);
  EXPECT_EQ(reply.result, kReplyFailed) << "no monitor, no pipe";
  EXPECT_LT(GetTickCount64() - start, 1000u);

  // A server of our own on the monitor's pipe takes the request and never
  // answers.
  HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\VQ312\\StatusMonitor", PIPE_ACCESS_DUPLEX,
                                 PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE, 1, 4100, 1017, 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  reply = MonitorReply{};
  start = GetTickCount64();
  QueryStatusMonitor(printer_.get(), &info, &reply, kMonitorStatus);
  EXPECT_EQ(reply.result, kReplyFailed) << "no answer";
  EXPECT_GE(GetTickCount64() - start, kMonitorReplyTimeoutMs - 100);
  EXPECT_LT(GetTickCount64() - start, kMonitorReplyTimeoutMs + 2000);
  CloseHandle(pipe);
}

// An ICC profile file of `size` bytes whose header states `stated` bytes.
Bytes Icc(const char* space, size_t size, uint32_t stated) {
  Bytes p(size, 0);
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(stated >> (24 - 8 * i));
  std::memcpy(p.data() + 12, "prtr", 4);
  std::memcpy(p.data() + 16, space, 4);
  return p;
}

// A local printer's jobs are checked and nothing more: no monitor starts,
// no message is sent. The job's own device mode reaches the checks through
// the spooler; forms and profiles are files (found without regard to case).
TEST_F(MonitorLink, LocalPrinterChecksJobsAndStartsNothing) {
  HANDLE slot = CreateMailslotW(L"\\\\.\\mailslot\\VT-Q3120 Status Test\\lmtosm\\FILE:", 0, 0, nullptr);
  ASSERT_NE(slot, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(WriteFileBytes(TempFile(L"rgb.icc"), Icc("RGB ", 560, 560)));
  ASSERT_TRUE(WriteFileBytes(TempFile(L"cmyk.icc"), Icc("CMYK", 560, 560)));
  ASSERT_TRUE(WriteFileBytes(TempFile(L"lying.icc"), Icc("RGB ", 560, 0x7FFFFFFF)));
  ASSERT_TRUE(WriteFileBytes(TempFile(L"short.icc"), Icc("RGB ", 100, 100)));
  // The first media record becomes user media 300, its profiles entry 1.
  std::vector<unsigned char> media;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(printer_.get(), L"APUI_MEDIADATA", &media, &type));
  ASSERT_GE(media.size(), sizeof(MediaData));
  reinterpret_cast<MediaData*>(media.data())->mediaId = 300;
  reinterpret_cast<MediaData*>(media.data())->profileNumber = 1;
  ValueOverride mediaData(L"APUI_MEDIADATA", REG_BINARY, media.data(), DWORD(media.size()));

  const struct { const wchar_t* form; uint32_t media; const wchar_t *first, *second; int want; }
  cases[] = {
      {L"label.ofe", 0, L"rgb.icc", L"rgb.icc", 0},
      {L"LABEL.OFE", 0, L"rgb.icc", L"rgb.icc", -1},  // the file is there; the extension is not .ofe
      {nullptr, 300, L"rgb.icc", L"rgb.icc", 0},
      {nullptr, 300, L"rgb.icc", L"cmyk.icc", -1},
      {nullptr, 300, L"lying.icc", L"rgb.icc", -1},
      {nullptr, 300, L"rgb.icc", L"short.icc", -1},
  };
  for (const auto& c : cases) {
    Bytes list(8 + kProfileEntrySize, 0);
    const uint32_t header[2] = {uint32_t(list.size()), 1};
    std::memcpy(list.data(), header, 8);
    const std::wstring first = TempFile(c.first), second = TempFile(c.second);
    std::memcpy(list.data() + 8, first.c_str(), first.size() * 2);
    std::memcpy(list.data() + 8 + 520, second.c_str(), second.size() * 2);
    ValueOverride profiles(L"APUI_ICPMPROFILELIST", REG_BINARY, list.data(), DWORD(list.size()));
    JobSettings js = WithForm(c.form);
    if (c.media) js.MediaTypeId = c.media;
    PrintJob job(js, L"Checked job");
    ASSERT_NE(job.id, 0u);
    EXPECT_EQ(Event(job, DOCUMENTEVENT_STARTDOCPOST), c.want)
        << (c.form ? c.form : L"") << " " << c.first << " " << c.second;
    EXPECT_EQ(Event(job, DOCUMENTEVENT_DELETEDC), 0);
  }
  // Inputs GDI would never send: no job id, no printer.
  EXPECT_EQ(event_(nullptr, nullptr, DOCUMENTEVENT_STARTDOCPOST, 0, nullptr, 0, nullptr), 0);
  EXPECT_EQ(event_(nullptr, nullptr, DOCUMENTEVENT_DELETEDC, 0, nullptr, 0, nullptr), 0);
  Sleep(500);
  EXPECT_TRUE(MonitorProcesses().empty());
  DWORD next = 0, count = 0;
  ASSERT_TRUE(GetMailslotInfo(slot, nullptr, &next, &count, nullptr));
  EXPECT_EQ(count, 0u);
  CloseHandle(slot);
}

// The frame as the monitor must receive it, written out field by field.
Bytes ExpectedFrame(uint8_t kind, uint32_t job, const std::string& document,
                    const std::string& dataType, uint32_t overlay) {
  Bytes frame(125, 0);
  frame[0] = 125;
  frame[12] = 105;
  frame[16] = kind;
  std::memcpy(&frame[17], &job, 4);
  std::memcpy(&frame[21], document.data(), document.size());
  std::memcpy(&frame[85], dataType.data(), dataType.size());
  std::memcpy(&frame[117], &overlay, 4);
  return frame;
}

// The printer's port list replaced while the object lives: the stand-in
// monitor asks the spooler for it.
struct PortsOverride {
  explicit PortsOverride(const std::wstring& ports) {
    Printer open(kTestPrinter, PRINTER_ALL_ACCESS);
    info = GetPrinterInfo(open.get(), 2);
    if (info.empty()) return;
    saved = reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPortName;
    ok = Set(open.get(), ports);
  }
  ~PortsOverride() {
    Printer open(kTestPrinter, PRINTER_ALL_ACCESS);
    if (!info.empty()) Set(open.get(), saved);
  }
  bool Set(HANDLE printer, std::wstring ports) {
    auto* pi = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
    pi->pPortName = ports.data();
    pi->pSecurityDescriptor = nullptr;
    if (!SetPrinterW(printer, 2, info.data(), 0)) return false;
    const std::vector<unsigned char> now = GetPrinterInfo(printer, 2);
    return !now.empty() && reinterpret_cast<const PRINTER_INFO_2W*>(now.data())->pPortName == ports;
  }
  std::vector<unsigned char> info;
  std::wstring saved;
  bool ok = false;
};

std::string ReadText(const std::wstring& path) {
  std::ifstream in(Narrow(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Hex(const Bytes& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t b : bytes) text += {digits[b >> 4], digits[b & 15]};
  return text;
}

size_t Occurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Whether `what` shows in the log `count` times within five seconds.
bool WaitForLog(const std::wstring& log, const std::string& what, size_t count) {
  for (const ULONGLONG end = GetTickCount64() + 5000;; Sleep(50)) {
    if (Occurrences(ReadText(log), what) >= count) return true;
    if (GetTickCount64() >= end) return false;
  }
}

// One monitor per port. The job messages go to the mailslot named with the
// printer's whole port list, and a monitor of that printer receives them:
// the monitors write every message they receive to their log. The monitors
// of the first job's start are running when the second job starts; that
// job uses a form, so both of its messages carry the overlay flag.
TEST_F(MonitorLink, ServerPrinterStartsAMonitorPerPortAndTellsItAboutTheJob) {
  const std::wstring printer = std::wstring(L"\\\\PRINTSRV\\") + kTestPrinter;
  const std::wstring log = TempFile(L"vq312-monitor.log");
  for (const std::wstring ports : {L"USB001", L"USB001,USB002"}) {
    SCOPED_TRACE(Narrow(ports));
    StopMonitors();
    DeleteFileW(log.c_str());
    SetEnvironmentVariableW(L"VQ312SM_LOG", log.c_str());
    PortsOverride real(ports);
    ASSERT_TRUE(real.ok) << "the spooler kept the old port list";
    ConnectionPresenter server(ui_, L"\\\\PRINTSRV", printer, ports);
    ASSERT_TRUE(server.ok());

    PrintJob first(WithForm(nullptr), L"Label run 1");
    ASSERT_NE(first.id, 0u);
    // No one listens yet: the end message finds no mailslot, which is no error.
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Event(first, DOCUMENTEVENT_DELETEDC), 1);
    EXPECT_LT(GetTickCount64() - start, 1000u);
    EXPECT_EQ(Event(first, DOCUMENTEVENT_STARTDOCPOST), 1);
    const std::vector<std::wstring> each = [&] {
      std::vector<std::wstring> list;
      for (size_t from = 0, comma;; from = comma + 1) {
        comma = ports.find(L',', from);
        list.push_back(ports.substr(from, comma - from));
        if (comma == std::wstring::npos) return list;
      }
    }();
    for (const std::wstring& port : each)
      ASSERT_TRUE(WaitForLog(log, "START " + Narrow(printer + L" Status Monitor - " + port), 1))
          << Narrow(port);
    EXPECT_EQ(MonitorProcesses().size(), each.size());

    PrintJob second(WithForm(L"label.ofe"), L"Label run 2");
    ASSERT_NE(second.id, 0u);
    EXPECT_EQ(Event(second, DOCUMENTEVENT_STARTDOCPOST), 1);
    EXPECT_EQ(Event(second, DOCUMENTEVENT_DELETEDC), 1);
    // The spooler's data type of the job (Wine keeps none) goes as it is.
    DWORD needed = 0;
    GetJobW(second.printer, second.id, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    ASSERT_TRUE(GetJobW(second.printer, second.id, 2, info.data(), needed, &needed));
    const wchar_t* type = reinterpret_cast<const JOB_INFO_2W*>(info.data())->pDatatype;
    const std::string dataType = type ? Narrow(type) : "";
    for (const Bytes& expected : {ExpectedFrame(0, second.id, "Label run 2", dataType, 1),
                                  ExpectedFrame(1, 0, "", "", 1)}) {
      const std::string line = "size=125 bytes=" + Hex(expected);
      EXPECT_TRUE(WaitForLog(log, line, 1)) << "kind " << int(expected[16]) << "\n" << ReadText(log);
      Sleep(100);
      EXPECT_EQ(Occurrences(ReadText(log), line), 1u) << "one monitor listens";
    }
    StopMonitors();
  }
  SetEnvironmentVariableW(L"VQ312SM_LOG", nullptr);
}

}  // namespace
}  // namespace vq::wine
