// DrvDocumentEvent's work. At the start of a job it refuses a job whose
// overlay form or colour profiles are unusable; on a printer reached through
// a print server it starts the status monitor for each port and tells it
// about the job through its mailslot; when the device context goes it tells
// the monitor that too. The spooler, file and process work goes through a
// host interface, so the whole flow runs in native tests.
//
// The record checks live in settings/job_checks.h (the pages run them too),
// the message frame in monitor/job_message.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/job_message.h"
#include "settings/job_checks.h"

namespace vq {

class PrinterStore;

// --- The event -------------------------------------------------------------

inline constexpr int kDocumentEventDeleteDc = 10;
inline constexpr int kDocumentEventStartDocPost = 13;
inline constexpr int kDocumentEventSuccess = 1;
inline constexpr int kDocumentEventNothing = 0;
inline constexpr int kDocumentEventFailure = -1;

// JOB_INFO_2 of a job: its device mode and its texts, single-byte.
struct PrintJob {
  std::vector<uint8_t> devMode;
  std::string document;
  std::string dataType;
};

// PRINTER_INFO_2A of the printer.
struct PrinterConnection {
  std::string server;
  std::string share;
  std::string printer;
  std::string ports;
};

// WinExec results that mean the monitor did not start (out of resources,
// file or path not found, bad format).
bool LaunchFailed(uint32_t winExecResult);

class DocumentEventHost {
 public:
  virtual ~DocumentEventHost() = default;
  virtual bool ReadJob(uint32_t jobId, PrintJob* out) = 0;
  virtual bool ReadConnection(PrinterConnection* out) = 0;
  // PRINTER_INFO_2W's printer name and port list, for the mailslot.
  virtual bool ReadPrinterNames(std::u16string* printer, std::u16string* ports) = 0;
  // The printer's data and driver files.
  virtual PrinterStore* Printer() = 0;
  // Loads the module from a full path and frees it again.
  virtual bool ModuleLoads(const std::u16string& path) = 0;
  virtual std::string ToAnsi(const std::u16string& text) = 0;
  // WinExec(commandLine, SW_SHOWNORMAL).
  virtual uint32_t Launch(const std::string& commandLine) = 0;
  // Writes the frame into the mailslot; a mailslot nobody listens on is no
  // error for the event.
  virtual void Post(const std::u16string& mailslot, const JobMessageFrame& frame) = 0;
  virtual FileAccess& Files() = 0;
};

// One document event. `jobId` is STARTDOCPOST's input; `overlayFlag` is the
// process-wide flag set at job start and carried by later messages.
int HandleDocumentEvent(DocumentEventHost& host, int event, uint32_t jobId,
                        uint32_t* overlayFlag);

}  // namespace vq
