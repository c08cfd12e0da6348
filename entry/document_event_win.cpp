// DrvDocumentEvent: GDI calls it in the printing application's process.
#include "base/ddk_win.h"
#include "entry/document_event_win.h"

extern "C" int WINAPI DrvDocumentEvent(HANDLE printer, HDC, int event, ULONG inSize, PVOID in,
                                       ULONG, PVOID) noexcept {
  try {
    // STARTDOCPOST hands over the job id StartDoc returned.
    const uint32_t jobId =
        event == DOCUMENTEVENT_STARTDOCPOST && in && inSize >= sizeof(DWORD)
            ? *static_cast<const DWORD*>(in)
            : 0;
    return vq::RunDocumentEvent(printer, event, jobId);
  } catch (...) {
    // Nothing here may stop a job but the checks: printing goes on.
    return vq::kDocumentEventNothing;
  }
}
