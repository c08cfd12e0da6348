// Finding, starting and questioning the status monitor, and the fallback
// that reads the printer's identity through the port module when no monitor
// is in the way.
#pragma once

#include <windows.h>
#include <winspool.h>

#include "monitor/status_monitor.h"

namespace vq {

// The port module's functions, resolved by name from VQ312PC.dll.
using RpxOpenPortFn = int(WINAPI*)(const char* printer, const char* port, int shared, int mode,
                                   HANDLE* port_handle);
using RpxReadPortFn = int(WINAPI*)(HANDLE port_handle, BYTE* buffer, DWORD size, DWORD* read);
using RpxWritePortFn = int(WINAPI*)(HANDLE port_handle, const BYTE* bytes, DWORD size,
                                    DWORD* written);
using RpxClosePortFn = int(WINAPI*)(HANDLE* port_handle);

// Controls of the version dialog that show the identity.
inline constexpr int kSerialNumberControl = 1208;
inline constexpr int kFirmwareControl = 1209;

// How long a monitor may take to answer once it has taken the request. The
// pipe call itself has no limit; a monitor that accepts and never answers
// would otherwise hold the dialog forever.
inline constexpr DWORD kMonitorReplyTimeoutMs = 3000;

// 1 when a monitor runs for this printer (its process exists and its window
// is there for one of the printer's ports), 0 when not, -1 when the printer
// cannot be read.
int IsStatusMonitorOpen(HANDLE printer);

// Starts the monitor for the printer unless the monitor prints by itself
// (APSM_DWSTMONPRINTFLAG 1, which counts as success). FALSE when the flags
// cannot be read or the process does not start.
BOOL StartStatusMonitor(HANDLE printer);

BOOL IsMonitorServiceInstalled();

// VQ312PC.dll from the driver directory, or null.
HMODULE LoadPortModule(HANDLE printer);

// One request to the monitor's pipe (on the printer's server when it has
// one). The result word of *reply says how it went: kReplyAnswered with the
// monitor's data, kReplyFailed when the pipe could not be called or did not
// answer in time, kReplyNoMemory when the request could not be built.
void QueryStatusMonitor(HANDLE printer, const PRINTER_INFO_2W* info, MonitorReply* reply,
                        DWORD command);

// Reads the serial number and firmware version into the dialog's controls
// (kIdentity* results). A running monitor for the printer owns the port:
// then nothing is read (kIdentityNotNow).
int ReadPrinterIdentity(HWND dialog, HANDLE printer);

}  // namespace vq
