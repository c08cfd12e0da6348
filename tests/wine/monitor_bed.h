// What the status monitor and document event tests share under Wine: their
// own printer, real print jobs, the monitors they start (and stop), the
// simulated printer's state, and a print server's printer presented to a
// module through its spooler imports.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <vector>

#include "modules/simulated_printer/simulated_printer.h"
#include "settings/job_settings.h"
#include "tests/wine/import_patch.h"

namespace vq::wine {

// The printer these tests change freely; the status_monitor_printer fixture
// installs it with vq312ctl on port FILE:.
inline constexpr wchar_t kTestPrinter[] = L"VT-Q3120 Status Test";

std::wstring TempFile(const std::wstring& name);
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);

// A real job of the printer: opened with `settings` as its device mode,
// started with an output file, ended and closed on destruction.
class PrintJob {
 public:
  PrintJob(const wchar_t* printer, const JobSettings& settings, const wchar_t* document);
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;
  HANDLE printer() const { return printer_; }
  DWORD id() const { return id_; }

 private:
  HANDLE printer_ = nullptr;
  DWORD id_ = 0;
};

// The printer's stored default device mode as a JobSettings.
JobSettings DefaultSettings(const wchar_t* printer);

// A printer-data value replaced for the life of the object, then put back.
class ValueOverride {
 public:
  ValueOverride(const wchar_t* printer, const wchar_t* name, DWORD type, const void* data,
                DWORD size);
  ~ValueOverride();
  ValueOverride(const ValueOverride&) = delete;
  ValueOverride& operator=(const ValueOverride&) = delete;

 private:
  std::wstring printer_, name_;
  DWORD type_ = 0;
  std::vector<BYTE> saved_;
  bool existed_ = false;
};

bool SetSimulatedPrinter(const wchar_t* printer, const sim::PrinterState& state);

// Status monitor processes started while the session lives log to a file of
// their own and end by themselves after a minute; the session stops every
// monitor when it ends, so none outlives the test program.
class MonitorSession {
 public:
  MonitorSession();
  ~MonitorSession();
  MonitorSession(const MonitorSession&) = delete;
  MonitorSession& operator=(const MonitorSession&) = delete;
  std::vector<std::string> Lines() const;
  // The first log line containing `text` within `ms`, or empty.
  std::string WaitForLine(const std::string& text, DWORD ms) const;
  const std::wstring& log() const { return log_; }

 private:
  std::wstring log_;
};

std::vector<DWORD> MonitorProcesses();
// WM_CLOSE to every monitor window, then TerminateProcess for any monitor
// that is still there after two seconds; returns when all have ended.
void StopMonitors();
bool WaitForWindow(const std::wstring& title, DWORD ms);
std::wstring MonitorExecutable();

// A print server's printer as a module sees it: its calls to GetPrinterW and
// GetPrinterA at level 2 return the real printer's information with the
// server name, printer name, share name and port list replaced. Wine's
// spooler has no print-server connections, so the tests present one this
// way; every other spooler call (jobs, printer data, driver files) reaches
// the real printer.
struct Connection {
  std::wstring server;   // "\\\\PRINTSRV"
  std::wstring printer;  // "\\\\PRINTSRV\\NAME"
  std::wstring share;
  std::wstring ports;    // comma-separated
};
class ConnectionPresenter {
 public:
  ConnectionPresenter(HMODULE module, const Connection& connection);
  ~ConnectionPresenter();
  ConnectionPresenter(const ConnectionPresenter&) = delete;
  ConnectionPresenter& operator=(const ConnectionPresenter&) = delete;
  bool ok() const { return wide_ && ansi_; }

 private:
  std::unique_ptr<ImportPatch> wide_, ansi_;
};

}  // namespace vq::wine
