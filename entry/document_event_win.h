// The Win32 side of the document event: file questions answered by the file
// system, and the event run against the spooler, the process table and the
// monitor's mailslot.
#pragma once

#include <windows.h>

#include "entry/document_event.h"
#include "settings/file_access_win.h"

namespace vq {

// The overlay flag of this process: 1 when the last job started here had its
// overlay on with a form to use. Written at job start without a lock, as
// each printing process has its own.
extern uint32_t g_overlayFlag;

// DrvDocumentEvent for the printer handle GDI passed.
int RunDocumentEvent(HANDLE printer, int event, uint32_t jobId);

}  // namespace vq
