// The file system as the job checks ask it (settings/job_checks.h): what
// the document event and the pages pass when they run the overlay and
// colour-profile checks.
#pragma once

#include <windows.h>

#include "settings/job_checks.h"

namespace vq {

class Win32FileAccess final : public FileAccess {
 public:
  bool FolderExists(const std::u16string& folder) override;
  bool FileExists(const std::u16string& path) override;
  bool ReadStart(const std::u16string& path, uint8_t* buffer, size_t size, size_t* got,
                 uint64_t* fileSize) override;
};

}  // namespace vq
