#include "settings/job_checks.h"

#include <algorithm>
#include <vector>

#include "base/byte_reader.h"
#include "settings/printer_store.h"

namespace vq {

PathParts SplitPath(std::u16string_view path) {
  PathParts parts;
  const size_t sep = path.find_last_of(u"\\/:");
  const size_t fileStart = sep == path.npos ? 0 : sep + 1;
  parts.folder = path.substr(0, fileStart);
  const std::u16string_view file = path.substr(fileStart);
  const size_t dot = file.rfind(u'.');
  parts.name = file.substr(0, dot);
  if (dot != file.npos) parts.extension = file.substr(dot);
  return parts;
}

std::u16string OverlayPathOf(const JobSettings& js) {
  return ByteReader(js.OverlayPath, sizeof js.OverlayPath).Text16(0, std::size(js.OverlayPath));
}

uint32_t CheckOverlayForm(const JobSettings& js, FileAccess& files) {
  uint32_t status = (OverlayOn(js) ? kOverlayIsOn : kOverlayIsOff) | kOverlayUsable;
  const uint32_t kind = OverlayKind(js);
  switch (kind) {
    case 1: status |= kOverlayCreates; break;
    case 2: status |= kOverlayUses; break;
    case 3: status |= kOverlayCreates | kOverlayUses; break;
    default: status = (status & ~kOverlayUsable) + kOverlayBadKind; break;
  }
  switch (js.OverlayOption) {
    case 1: status |= kOverlayTarget1; break;
    case 2: status |= kOverlayTarget2; break;
    default: status = (status & ~kOverlayUsable) + kOverlayBadTarget; break;
  }
  if (kind < 1 || kind > 3) return status;
  const std::u16string path = OverlayPathOf(js);
  const PathParts parts = SplitPath(path);
  const bool found = kind == 2 ? files.FileExists(path)
                               : !parts.folder.empty() && files.FolderExists(parts.folder) &&
                                     !parts.name.empty();
  if (!found || parts.extension != u".ofe")
    status = (status & ~kOverlayUsable) + kOverlayBadPath;
  return status;
}

bool OverlayFailed(uint32_t status, uint32_t test) {
  const uint32_t sum = status & 0xFF;
  constexpr uint32_t kTests[] = {kOverlayBadKind, kOverlayBadTarget, kOverlayBadPath};
  for (uint32_t subset = 0; subset < 8; ++subset) {
    uint32_t total = 0;
    for (int i = 0; i < 3; ++i)
      if (subset & (1u << i)) total += kTests[i];
    if (total != sum) continue;
    for (int i = 0; i < 3; ++i)
      if (kTests[i] == test) return subset & (1u << i);
  }
  return false;
}

bool OverlayRefusesJob(uint32_t status) {
  return (status & kOverlayIsOn) && OverlayFailed(status, kOverlayBadPath);
}

bool IccHeaderUsable(const uint8_t* header, size_t got, uint64_t fileSize) {
  return header && got >= kIccHeaderSize && ByteReader(header, got).U32BE(0) == fileSize &&
         ByteReader(header, got).U32BE(12) == kIccPrinterClass && ByteReader(header, got).U32BE(16) == kIccRgbSpace;
}

bool ProfileUsable(const std::u16string& path, FileAccess& files) {
  uint8_t header[kIccHeaderSize] = {};
  size_t got = 0;
  uint64_t size = 0;
  return files.ReadStart(path, header, sizeof header, &got, &size) &&
         IccHeaderUsable(header, got, size);
}

std::array<std::u16string, 2> ProfilePaths(const uint8_t* entry) {
  const ByteReader in(entry, kProfileEntrySize);
  return {in.Text16(0, kProfilePathChars), in.Text16(kSecondProfileOffset, kProfilePathChars)};
}

bool CheckMediaProfiles(const JobSettings& js, PrinterStore* printer, FileAccess& files) {
  if (js.Monochrome == 1 && js.MonoTone == 255) return true;
  if (js.MediaTypeId < kFirstUserMediaId || js.MediaTypeId > kFirstUserMediaId + 99) return true;
  std::vector<MediaData> media;
  ReadMediaTable(printer, &media);
  const auto it = std::find_if(media.begin(), media.end(),
                               [&](const MediaData& m) { return m.mediaId == js.MediaTypeId; });
  if (it == media.end() || it->profileNumber == 0) return true;
  uint8_t entry[kProfileEntrySize];
  if (!ReadProfileListEntry(printer, it->profileNumber, entry)) return false;
  for (const std::u16string& path : ProfilePaths(entry))
    if (!ProfileUsable(path, files)) return false;
  return true;
}

}  // namespace vq
