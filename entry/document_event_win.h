// The Win32 side of the document event: file questions answered by the file
// system, and the event run against the spooler, the process table and the
// monitor's mailslot.
#pragma once

#include <windows.h>

#include "entry/document_event.h"

namespace vq {

// The file system as CheckOverlayForm and CheckMediaProfiles ask it; also
// what the pages pass when they run the checks on apply.
class Win32FileAccess final : public FileAccess {
 public:
  bool FolderExists(const std::u16string& folder) override;
  bool FileExists(const std::u16string& path) override;
  bool ReadStart(const std::u16string& path, uint8_t* buffer, size_t size, size_t* got,
                 uint64_t* fileSize) override;
};

// The overlay flag of this process: 1 when the last job started here had its
// overlay on with a form to use. Written at job start without a lock, as
// each printing process has its own.
extern uint32_t g_overlayFlag;

// DrvDocumentEvent for the printer handle GDI passed.
int RunDocumentEvent(HANDLE printer, int event, uint32_t jobId);

}  // namespace vq
