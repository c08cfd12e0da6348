// VQ312GS.dll: the printer's state, its settings and the waits of the
// maintenance utility, answered from the simulated printer.
//
// A wait function runs as the start routine of a thread the wait dialog
// creates, with the printer handle as its parameter. The dialog registers
// its window for that handle first (SetWaitWindow); the wait polls the
// printer, reports progress to the window, and posts kWaitDoneMessage when
// the printer got where it waits for. Cancel sets the handle's cancel mark
// (CancelWait), which the wait sees at its next poll: the dialog then only
// terminates a thread that did not stop by itself, because a thread killed
// inside the spooler or the heap would leave their locks held.
#include <windows.h>

#include <map>
#include <mutex>

#include "modules/simulated_printer/maintenance_state_win.h"
#include "monitor/printer_state_record.h"

namespace {

using vq::sim::MaintenanceState;
using vq::sim::PrinterState;

constexpr DWORD kPollMs = 100;
constexpr UINT kSendTimeoutMs = 500;

struct Target {
  HWND window = nullptr;
  bool cancelled = false;
};
std::mutex g_lock;
std::map<HANDLE, Target> g_targets;

// The window to report to, or null once the wait was cancelled or its
// dialog went.
HWND WindowFor(HANDLE printer) {
  std::lock_guard<std::mutex> lock(g_lock);
  auto it = g_targets.find(printer);
  return it == g_targets.end() || it->second.cancelled ? nullptr : it->second.window;
}

enum class Until {
  kReady,       // idle or asleep, no stopping alert, nothing running
  kWorkDone,    // the running command finished (progress on the way)
  kWorkStarts,  // a command is running (1), or already over (6)
};

DWORD Wait(HANDLE printer, Until until, bool reportAlerts) {
  uint8_t lastAlertsSent = 0xFF;
  for (;;) {
    HWND window = WindowFor(printer);
    if (!window) return 2;
    PrinterState state;
    MaintenanceState maintenance;
    if (vq::sim::ReadSimulatedPrinter(printer, &state, &maintenance)) {
      const uint64_t now = vq::sim::NowMs();
      WPARAM done = 0;
      switch (until) {
        case Until::kReady:
          if (vq::sim::IsReady(state, maintenance, now)) done = 1;
          break;
        case Until::kWorkDone: {
          const vq::sim::Progress p = vq::sim::CommandProgress(maintenance, now);
          uint8_t bytes[2] = {p.minutesLeft, p.percent};
          DWORD_PTR ignored = 0;
          SendMessageTimeoutW(window, vq::kWaitProgressMessage, vq::kProgressTwoBytes,
                              reinterpret_cast<LPARAM>(bytes), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                              &ignored);
          if (reportAlerts && state.alerts != lastAlertsSent) {
            // The alert entries as the state record carries them.
            uint8_t record[vq::kStateRecordSize] = {};
            vq::sim::FillStateRecord(state, maintenance, now, record);
            const vq::StateRecordView view(record, sizeof record);
            const auto section = view.Section(vq::kAlertSectionField);
            if (!section.empty())
              SendMessageTimeoutW(window, vq::kWaitAlertMessage, 0,
                                  reinterpret_cast<LPARAM>(section.data() + 4), SMTO_ABORTIFHUNG,
                                  kSendTimeoutMs, &ignored);
            lastAlertsSent = state.alerts;
          }
          if (!vq::sim::RunningCommand(maintenance, now)) done = 1;
          break;
        }
        case Until::kWorkStarts:
          if (vq::sim::RunningCommand(maintenance, now))
            done = 1;
          else if (vq::sim::IsReady(state, maintenance, now))
            done = 6;
          break;
      }
      if (done) {
        PostMessageW(window, vq::kWaitDoneMessage, done, 0);
        return static_cast<DWORD>(done);
      }
    }
    Sleep(kPollMs);
  }
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// Fills the caller's zeroed record; 0 when read, 4294967295 when the printer
// could not be read (its port does not answer).
DWORD WINAPI GetStateBSCC(HANDLE printer, BYTE* record) noexcept {
  try {
    PrinterState state;
    MaintenanceState maintenance;
    if (!record || !vq::sim::ReadSimulatedPrinter(printer, &state, &maintenance))
      return vq::kNoStateRead;
    using vq::sim::PortBehaviour;
    if (state.port == PortBehaviour::kSilent || state.port == PortBehaviour::kGarbage ||
        state.port == PortBehaviour::kUnplugged)
      return vq::kNoStateRead;
    vq::sim::FillStateRecord(state, maintenance, vq::sim::NowMs(), record);
    return 0;
  } catch (...) {
    return vq::kNoStateRead;
  }
}

// Non-zero when `out` (vq::SettingItemSize(item) bytes) was filled.
BOOL WINAPI GetSettingStatus(HANDLE printer, DWORD item, BYTE* out) noexcept {
  try {
    PrinterState state;
    MaintenanceState maintenance;
    if (!out || !vq::SettingItemSize(item) ||
        !vq::sim::ReadSimulatedPrinter(printer, &state, &maintenance) ||
        !vq::sim::AcceptsCommands(state, maintenance))
      return FALSE;
    return vq::sim::AnswerSettingItem(item, maintenance, out);
  } catch (...) {
    return FALSE;
  }
}

// The twelve registration values: 1 read, 0 the printer answered nothing,
// -1 failure.
int WINAPI AnalyzeBSCCRegData(HANDLE printer, BYTE* values) noexcept {
  try {
    PrinterState state;
    MaintenanceState maintenance;
    if (!values || !vq::sim::ReadSimulatedPrinter(printer, &state, &maintenance)) return -1;
    if (!vq::sim::AcceptsCommands(state, maintenance)) return 0;
    return vq::sim::AnswerSettingItem(vq::kItemRegistration, maintenance, values) ? 1 : 0;
  } catch (...) {
    return -1;
  }
}

// Registers (or, with a null window, forgets) the dialog a wait on this
// printer handle reports to. A new registration clears the cancel mark.
BOOL WINAPI SetWaitWindow(HANDLE printer, HWND window) noexcept {
  try {
    std::lock_guard<std::mutex> lock(g_lock);
    if (window)
      g_targets[printer] = Target{window, false};
    else
      g_targets.erase(printer);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL WINAPI CancelWait(HANDLE printer) noexcept {
  std::lock_guard<std::mutex> lock(g_lock);
  auto it = g_targets.find(printer);
  if (it == g_targets.end()) return FALSE;
  it->second.cancelled = true;
  return TRUE;
}

#define VQ312_WAIT(name, until, alerts)                      \
  DWORD WINAPI name(LPVOID printer) noexcept {               \
    try {                                                    \
      return Wait(static_cast<HANDLE>(printer), until, alerts); \
    } catch (...) {                                          \
      return 0;                                              \
    }                                                        \
  }

VQ312_WAIT(StopOrWait, Until::kReady, false)
VQ312_WAIT(StopOrWaitOnline, Until::kReady, false)
VQ312_WAIT(StopOrWaitCRInkReplace, Until::kReady, false)
VQ312_WAIT(StopOrWaitCRInkRemove, Until::kReady, false)
VQ312_WAIT(StopOrWaitCRInkInsert, Until::kReady, false)
VQ312_WAIT(ReleaseInkTankWait, Until::kReady, false)
VQ312_WAIT(StopOrWaitCRInkFill, Until::kWorkDone, true)
VQ312_WAIT(WaitEndDlg, Until::kWorkDone, false)
VQ312_WAIT(MInkDrainsWaitEndDlg, Until::kWorkDone, false)
VQ312_WAIT(WaitClnStart, Until::kWorkStarts, false)

}  // extern "C"
