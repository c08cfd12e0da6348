// The maintenance modules as the utility page, its dialogs and the console
// tool use them: VQ312GS.dll for the printer's state, settings and waits,
// VQ312GD.dll (beside it) for commands. The functions here show no
// messages unless they take a window to show them over.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "monitor/printer_state_record.h"
#include "pages/utility/maintenance_rules.h"
#include "settings/job_settings.h"

namespace vq {

struct SheetContext;

// What every maintenance call needs.
struct MaintenanceTarget {
  HMODULE gs = nullptr;              // VQ312GS.dll, loaded by the sheet (or the tool)
  HANDLE printer = nullptr;          // commands and printer-data writes
  HANDLE printerOwn = nullptr;       // setting reads and printer-data reads
  const JobSettings* settings = nullptr;  // handed to the command channel
  const wchar_t* printerName = nullptr;
};
MaintenanceTarget SheetTarget(const SheetContext& sheet);

// A state record read by GetStateBSCC, kept where it was filled.
class StateRecord {
 public:
  StateRecord() : bytes_(new (std::nothrow) uint8_t[kStateRecordSize]()) {}
  bool ok() const { return bytes_ != nullptr; }
  uint8_t* data() { return bytes_.get(); }
  StateRecordView view() const { return {bytes_.get(), bytes_ ? kStateRecordSize : 0}; }
  void Clear();

 private:
  std::unique_ptr<uint8_t[]> bytes_;
};

// GetStateBSCC into a cleared record; false when the module lacks it or the
// printer could not be read.
bool ReadPrinterState(const MaintenanceTarget& t, StateRecord* record);
// Two readings 100 ms apart, keeping the second.
bool ReadPrinterStateTwice(const MaintenanceTarget& t, StateRecord* record);
// kNotBusy, kBusy, kBusyUnreadable, kBusyNoMemory, kBusyNoArgument. With a
// record, that record is judged; else the printer is read twice.
int IsPrinterBusy(const MaintenanceTarget& t, const StateRecord* record = nullptr);
// GetSettingStatus into `out` (`size` bytes, at least the item's size).
bool ReadPrinterSetting(const MaintenanceTarget& t, uint32_t item, void* out, size_t size);
// Item 31 (the tear-off state), read on `printer` straight into *value: a
// printer that cannot answer now leaves its reason there (153) while the
// read fails.
bool ReadTearOffState(const MaintenanceTarget& t, uint32_t* value);
// AnalyzeBSCCRegData, loading VQ312GS.dll from the driver folder by full
// path for the call: -1 module, function or unload missing, else its answer.
int ReadRegistrationValues(const MaintenanceTarget& t, maint::Registration* values);

// The printer's port is "FILE:".
bool IsFilePort(HANDLE printer);
// The printer is shared from a print server.
bool HasServerName(HANDLE printer);

// The command channel of VQ312GD.dll: opened for a record and a printer,
// closed on destruction. Send and Close report each step.
class CommandChannel {
 public:
  explicit CommandChannel(const MaintenanceTarget& t);
  ~CommandChannel();
  CommandChannel(const CommandChannel&) = delete;
  CommandChannel& operator=(const CommandChannel&) = delete;
  bool open() const { return channel_ != nullptr; }
  bool Send(uint32_t code, const void* data = nullptr);
  bool Close();  // false when closing failed (or was already done)

 private:
  HMODULE gd_ = nullptr;
  HANDLE channel_ = nullptr;
  BOOL(WINAPI* send_)(HANDLE, DWORD, const void*) = nullptr;
  BOOL(WINAPI* close_)(HANDLE) = nullptr;
};

// Open, send without data, close; true only when all three succeed.
bool SendCommand(const MaintenanceTarget& t, uint32_t code, const void* data = nullptr);
// The same, showing message 4078 over `window` on failure.
bool SendMaintenanceCommand(HWND window, const MaintenanceTarget& t, uint32_t code);

// The wait dialog (template 102) and the waits it runs.
enum class WaitKind {
  kStopOrWait,          // text 4725
  kStopOrWaitSettings,  // text 4727
  kStopOrWaitOnline,
  kWaitClnStart,
  kWaitEndDrain,        // WaitEndDlg, text 5328
  kWaitEndCleaning,     // WaitEndDlg, text 5329
  kReleaseInkTank,
  kInkReplace,
  kWaitEndInkDrain,     // WaitEndDlg, text 4728
  kInkRemove,
  kInkLinesDrain,       // MInkDrainsWaitEndDlg
  kInkInsert,
  kInkFill,
};
// 1 when the printer got there, 2 when cancelled (6 for WaitClnStart when
// the work was already over), -1 when the dialog or the wait could not start.
INT_PTR RunWaitDialog(HWND owner, const MaintenanceTarget& t, WaitKind kind);

// PrepareForMaintenance: 0 ready, 1 busy, 2 missing argument, 6 unreadable,
// 7 the wait did not end with 1, 8 the wake-up command failed.
int PrepareForMaintenance(HWND page, const MaintenanceTarget& t);
// The confirmation `confirmation`, then (unless printing to a file) the
// printer must become ready; false with the message shown when either
// says no.
bool ConfirmAndWait(HWND dialog, const MaintenanceTarget& t, uint32_t confirmation);

// The message for a PrepareForMaintenance result (0 for 0).
uint32_t PrepareMessage(int result);

// Asks the status monitor to hold (kMonitorHold) or resume (kMonitorResume)
// its polling of the printer, so that it does not talk to the printer in
// the middle of a procedure. kHoldGoAhead when the procedure may go on: at
// once for a local printer without the monitor service, else when the
// monitor answered; otherwise the reply's result word (0 when the printer
// could not be read).
inline constexpr int kHoldGoAhead = 3;
int HoldStatusMonitor(uint32_t mode, HANDLE printer);

// Holds the monitor for the life of the object and resumes it on every way
// out once the hold was granted.
class MonitorHold {
 public:
  explicit MonitorHold(HANDLE printer);
  ~MonitorHold();
  MonitorHold(const MonitorHold&) = delete;
  MonitorHold& operator=(const MonitorHold&) = delete;
  bool granted() const { return granted_; }

 private:
  HANDLE printer_;
  bool granted_;
};

// Keeps the machine from going to sleep while a long procedure runs.
class KeepAwake {
 public:
  KeepAwake() : held_(SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0) {}
  ~KeepAwake() {
    if (held_) SetThreadExecutionState(ES_CONTINUOUS);
  }
  KeepAwake(const KeepAwake&) = delete;
  KeepAwake& operator=(const KeepAwake&) = delete;

 private:
  bool held_;
};

}  // namespace vq
