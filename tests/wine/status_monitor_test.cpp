// Finding, starting and questioning the status monitor under Wine, with the
// stand-in monitor and port module installed beside the UI module and the
// simulated printer behind them.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "modules/simulated_printer/simulated_printer.h"
#include "tests/wine/installed_printer.h"
#include "tests/wine/monitor_bed.h"
#include "uicore/status_monitor_win.h"

namespace vq::wine {
namespace {

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

class StatusMonitorLink : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer_) << "the status_monitor_printer fixture did not run";
    StopMonitors();
    ASSERT_TRUE(SetSimulatedPrinter(kTestPrinter, {}));
    dialog_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                              nullptr, nullptr);
    for (int id : {kSerialNumberControl, kFirmwareControl})
      CreateWindowExW(0, L"STATIC", L"-", WS_CHILD, 0, 0, 100, 20, dialog_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(dialog_);
    SetSimulatedPrinter(kTestPrinter, {});
  }

  void SetState(const char* setting) {
    sim::PrinterState state;
    std::string error;
    ASSERT_TRUE(sim::ApplySetting(setting, &state, &error)) << error;
    ASSERT_TRUE(SetSimulatedPrinter(kTestPrinter, state));
  }
  std::wstring Shown(int id) {
    wchar_t text[64] = L"";
    GetDlgItemTextW(dialog_, id, text, 64);
    return text;
  }
  void ClearShown() {
    SetDlgItemTextW(dialog_, kSerialNumberControl, L"-");
    SetDlgItemTextW(dialog_, kFirmwareControl, L"-");
  }
  // A monitor of this printer for another port: it serves the pipe, but its
  // window does not stand for the printer's own port.
  bool StartMonitorFor(const wchar_t* port) {
    const std::u16string dir(reinterpret_cast<const char16_t*>(InstalledDriverFolder().c_str()));
    std::u16string line = MonitorCommandLine(dir, u"VT-Q3120 Status Test",
                                             reinterpret_cast<const char16_t*>(port),
                                             MonitorLaunch::kPrintTime);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(line.data()), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS, nullptr, nullptr, &startup, &process))
      return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return WaitForWindow(std::wstring(kTestPrinter) + L" Status Monitor - " + port, 10000);
  }

  MonitorSession session_;
  Printer printer_{kTestPrinter, PRINTER_ALL_ACCESS};
  HWND dialog_ = nullptr;
};

TEST_F(StatusMonitorLink, StartsTheMonitorUnlessItPrintsByItself) {
  const std::wstring title = std::wstring(kTestPrinter) + L" Status Monitor - FILE:";
  {
    const DWORD one = 1;
    ValueOverride flag(kTestPrinter, L"APSM_DWSTMONPRINTFLAG", REG_DWORD, &one, 4);
    EXPECT_TRUE(StartStatusMonitor(printer_.get()));
    Sleep(500);
    EXPECT_TRUE(MonitorProcesses().empty()) << "printed by the monitor itself: nothing starts";
  }
  {
    const BYTE two[2] = {0, 0};
    ValueOverride damaged(kTestPrinter, L"APUI_DWSTMONSTARTFLAG", REG_BINARY, two, 2);
    EXPECT_FALSE(StartStatusMonitor(printer_.get()));
  }
  EXPECT_EQ(IsStatusMonitorOpen(printer_.get()), 0);
  ASSERT_TRUE(StartStatusMonitor(printer_.get()));
  ASSERT_TRUE(WaitForWindow(title, 10000));
  EXPECT_FALSE(session_.WaitForLine("START " + Narrow(title) + " mode=lmex", 5000).empty());
  EXPECT_EQ(IsStatusMonitorOpen(printer_.get()), 1);
  EXPECT_EQ(IsStatusMonitorOpen(nullptr), -1) << "a monitor runs, but no printer to match";
  StopMonitors();
  EXPECT_EQ(IsStatusMonitorOpen(printer_.get()), 0);
}

// Through VQ312PC.dll and the simulated printer's stored state; every
// branch of the read itself runs natively.
TEST_F(StatusMonitorLink, ReadsTheIdentityThroughThePortModule) {
  const struct {
    const char* setting; int want; const wchar_t* serial = L"-"; const wchar_t* firmware = L"-";
  } cases[] = {
      {"idle", kIdentityRead, L"VQ31200417", L"Ver.1.05A"},
      {"firmware=2.00C", kIdentityRead, L"VQ31200417", L"Ver.2.00C"},
      {"busy", kIdentityNotNow},
      {"port=silent", kIdentityNotNow},
      {"port=mute", kIdentityPortFailed},
      {"port=unplugged", kIdentityPortFailed},
      {"serial=Q3120", kIdentityNotNow},  // a short answer is no serial number
  };
  for (const auto& c : cases) {
    SetState(c.setting);
    ClearShown();
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(ReadPrinterIdentity(dialog_, printer_.get()), c.want) << c.setting;
    EXPECT_LT(GetTickCount64() - start, 3000u) << c.setting;
    EXPECT_EQ(Shown(kSerialNumberControl), c.serial) << c.setting;
    EXPECT_EQ(Shown(kFirmwareControl), c.firmware) << c.setting;
  }
}

TEST_F(StatusMonitorLink, RunningMonitorOwnsThePort) {
  ASSERT_TRUE(StartStatusMonitor(printer_.get()));
  ASSERT_TRUE(WaitForWindow(std::wstring(kTestPrinter) + L" Status Monitor - FILE:", 10000));
  ClearShown();
  EXPECT_EQ(ReadPrinterIdentity(dialog_, printer_.get()), kIdentityNotNow);
  EXPECT_EQ(Shown(kSerialNumberControl), L"-");
  EXPECT_EQ(Shown(kFirmwareControl), L"-");
}

TEST_F(StatusMonitorLink, QueriesTheMonitorsPipe) {
  ASSERT_TRUE(StartMonitorFor(L"REMOTE"));
  // The server "\\\\." names this machine: its pipe is the local one.
  std::wstring server = L"\\\\.", name = L"\\\\.\\VT-Q3120 Status Test", port = L"FILE:";
  PRINTER_INFO_2W info{};
  info.pServerName = server.data();
  info.pPrinterName = name.data();
  info.pPortName = port.data();
  const struct { const char* state; DWORD command; uint32_t result; bool idle; } cases[] = {
      {"asleep", kMonitorStatus, kReplyAnswered, true},
      {"cleaning", kMonitorStatus, kReplyAnswered, false},
      {"idle", kMonitorHold, kReplyAnswered, true},
      {"idle", 3, kReplyNoMemory, false},  // the monitor does not answer unknown commands
  };
  for (const auto& c : cases) {
    SetState(c.state);
    MonitorReply reply{};
    QueryStatusMonitor(printer_.get(), &info, &reply, c.command);
    EXPECT_EQ(reply.result, c.result) << c.state << " " << c.command;
    EXPECT_EQ(PrinterIsIdle(reply.data, sizeof reply.data), c.idle) << c.state << " " << c.command;
    // The request named the printer without the server.
    EXPECT_FALSE(session_.WaitForLine("PIPE command=" + std::to_string(c.command) +
                                          " printer=VT-Q3120 Status Test result=" +
                                          std::to_string(c.result), 3000).empty());
  }
  std::wstring unknown = L"\\\\.\\Nobody";
  info.pPrinterName = unknown.data();
  MonitorReply reply{};
  QueryStatusMonitor(printer_.get(), &info, &reply, kMonitorStatus);
  EXPECT_EQ(reply.result, kReplyNoMemory) << "a printer the monitor does not know";
}

// The printer presented as one on a print server: identity questions go to
// the server's monitor, never to the port module.
TEST_F(StatusMonitorLink, ServerPrinterIsAskedThroughThePipe) {
  ASSERT_TRUE(StartMonitorFor(L"REMOTE"));
  ConnectionPresenter server(GetModuleHandleW(nullptr),
                             {L"\\\\.", L"\\\\.\\VT-Q3120 Status Test", L"VTQ", L"FILE:"});
  ASSERT_TRUE(server.ok());
  const struct { const char* state; int want; } cases[] = {
      {"port=unplugged", kIdentityRead},  // the port would fail; the pipe answers
      {"busy", kIdentityNotNow},
  };
  for (const auto& c : cases) {
    SetState(c.state);
    ClearShown();
    EXPECT_EQ(ReadPrinterIdentity(dialog_, printer_.get()), c.want) << c.state;
    EXPECT_EQ(Shown(kSerialNumberControl), c.want == kIdentityRead ? L"VQ31200417" : L"-");
  }
}

TEST_F(StatusMonitorLink, PipeThatIsMissingOrSilentFailsInTime) {
  PRINTER_INFO_2W info{};
  std::wstring name = kTestPrinter, port = L"FILE:";
  info.pPrinterName = name.data();
  info.pPortName = port.data();
  MonitorReply reply{};
  ULONGLONG start = GetTickCount64();
  QueryStatusMonitor(printer_.get(), &info, &reply, kMonitorStatus);
  EXPECT_EQ(reply.result, kReplyFailed) << "no monitor, no pipe";
  EXPECT_LT(GetTickCount64() - start, 1000u);

  // Servers of our own on the monitor's pipe: one that takes the request and
  // never answers, one that answers three bytes.
  for (const DWORD answer : {DWORD(0), DWORD(3)}) {
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\VQ312\\StatusMonitor", PIPE_ACCESS_DUPLEX,
                                   PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4100,
                                   1017, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    std::thread serve([&] {
      if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) return;
      BYTE request[1017];
      DWORD got = 0;
      ReadFile(pipe, request, sizeof request, &got, nullptr);
      if (answer) {
        const BYTE reply[3] = {2, 0, 0};
        WriteFile(pipe, reply, answer, &got, nullptr);
      }
      WaitForSingleObject(stop, 10000);
    });
    reply = MonitorReply{};
    start = GetTickCount64();
    QueryStatusMonitor(printer_.get(), &info, &reply, kMonitorStatus);
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_EQ(reply.result, kReplyFailed) << "answer of " << answer << " bytes";
    if (answer == 0) {
      EXPECT_GE(took, kMonitorReplyTimeoutMs - 100);
      EXPECT_LT(took, kMonitorReplyTimeoutMs + 2000);
    }
    SetEvent(stop);
    serve.join();
    CloseHandle(pipe);
    CloseHandle(stop);
  }
}

TEST_F(StatusMonitorLink, InstalledServiceSendsQuestionsToThePipe) {
  EXPECT_FALSE(IsMonitorServiceInstalled());
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
  ASSERT_TRUE(manager);
  const std::wstring binary = L"\"" + MonitorExecutable() + L"\"";
  SC_HANDLE service = CreateServiceW(manager, L"VQ312 Status Monitor Service",
                                     L"VQ312 Status Monitor Service", SERVICE_ALL_ACCESS,
                                     SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                     SERVICE_ERROR_IGNORE, binary.c_str(), nullptr, nullptr,
                                     nullptr, nullptr, nullptr);
  ASSERT_TRUE(service) << GetLastError();
  EXPECT_TRUE(IsMonitorServiceInstalled());
  // The port module would answer; with the service there, only the pipe is
  // asked, and no monitor serves it.
  ClearShown();
  EXPECT_EQ(ReadPrinterIdentity(dialog_, printer_.get()), kIdentityNotNow);
  EXPECT_EQ(Shown(kSerialNumberControl), L"-");
  DeleteService(service);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  EXPECT_FALSE(IsMonitorServiceInstalled());
}

}  // namespace
}  // namespace vq::wine
