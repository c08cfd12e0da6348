// Fuzz target for the print-time colour check: the profile-list reader over
// any APUI_ICPMPROFILELIST value and the ICC header test over any profile
// file bytes, through CheckMediaProfiles as a job meets them.
//
// Input layout:
//   byte 0         flags
//     bits 0..1    profile number of the job's media, minus 1
//     bit 2        point the entry's two paths at the files "A" and "B"
//     bit 3        make the list's header agree with its size
//     bit 4        true monochrome job (the check passes without reading)
//   bytes 1..2     n, little-endian: length of the list value
//   bytes 3..      the list value (n bytes, or what is left), then the
//                  profile files: the first half "A", the second half "B"
//
// Seeds in fuzz/corpus/media_profiles: a usable list and two RGB printer
// profiles; the second profile CMYK; a lying size field; a list whose
// header total disagrees with its size; a truncated list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "entry/document_event.h"
#include "settings/memory_store.h"
#include "settings/printer_store.h"

namespace {

using namespace vq;

class FuzzFiles : public FileAccess {
 public:
  bool FolderExists(const std::u16string&) override { return false; }
  bool FileExists(const std::u16string& path) override { return files.count(path) != 0; }
  bool ReadStart(const std::u16string& path, uint8_t* buffer, size_t size, size_t* got,
                 uint64_t* fileSize) override {
    const auto it = files.find(path);
    if (it == files.end()) return false;
    *got = std::min(size, it->second.size());
    if (*got) std::memcpy(buffer, it->second.data(), *got);
    *fileSize = it->second.size();
    return true;
  }
  std::map<std::u16string, std::vector<uint8_t>> files;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const uint8_t flags = data[0];
  const size_t listSize = std::min<size_t>(data[1] | size_t{data[2]} << 8, size - 3);
  std::vector<uint8_t> list(data + 3, data + 3 + listSize);
  const uint8_t* rest = data + 3 + listSize;
  const size_t restSize = size - 3 - listSize;
  const uint32_t number = (flags & 3) + 1;

  if ((flags & 4) && list.size() >= 8 + number * kProfileEntrySize) {
    uint8_t* entry = list.data() + 8 + (number - 1) * kProfileEntrySize;
    std::memcpy(entry, u"A", 4);
    std::memcpy(entry + kSecondProfileOffset, u"B", 4);
  }
  if ((flags & 8) && list.size() >= 8) {
    const uint32_t total = uint32_t(list.size());
    const uint32_t count = uint32_t((list.size() - 8) / kProfileEntrySize);
    std::memcpy(list.data(), &total, 4);
    std::memcpy(list.data() + 4, &count, 4);
  }

  auto printer = std::make_shared<MemoryPrinter>();
  MediaData media{};
  media.mediaId = 300;
  media.profileNumber = number;
  printer->SetDword(pd::kMediaDataCount, 1);
  printer->SetBinary(pd::kMediaData, &media, sizeof media);
  printer->SetBinary(pd::kProfileList, list.data(), list.size());
  std::unique_ptr<PrinterStore> store = OpenMemoryPrinter(printer);

  FuzzFiles files;
  files.files[u"A"].assign(rest, rest + restSize / 2);
  files.files[u"B"].assign(rest + restSize / 2, rest + restSize);

  JobSettings js{};
  js.MediaTypeId = 300;
  if (flags & 0x10) js.Monochrome = 1, js.MonoTone = 255;
  const bool usable = CheckMediaProfiles(js, store.get(), files);

  // The check's answer follows from its parts read separately.
  uint8_t entry[kProfileEntrySize];
  bool expected = (flags & 0x10) != 0;
  if (!expected && ProfileListEntry(list.data(), list.size(), number, entry)) {
    expected = true;
    for (const std::u16string& path : ProfilePaths(entry)) {
      const auto it = files.files.find(path);
      expected = expected && it != files.files.end() &&
                 IccHeaderUsable(it->second.data(), it->second.size(), it->second.size());
    }
  }
  if (usable != expected) std::abort();
  return 0;
}
