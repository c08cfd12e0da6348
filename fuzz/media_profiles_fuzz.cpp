// Fuzz target for the print-time colour check: the profile-list reader over
// any APUI_ICPMPROFILELIST value and the ICC header test over any profile
// file bytes, through CheckMediaProfiles as a job meets them. Its answer
// must follow from the parts read separately.
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
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "entry/document_event.h"
#include "settings/memory_store.h"
#include "settings/printer_store.h"

namespace {

// The profile files "A" and "B".
struct FuzzFiles : vq::FileAccess {
  const std::vector<uint8_t>* Find(const std::u16string& p) { return p == u"A" ? &a : p == u"B" ? &b : nullptr; }
  bool FolderExists(const std::u16string&) override { return false; }
  bool FileExists(const std::u16string& path) override { return Find(path); }
  bool ReadStart(const std::u16string& path, uint8_t* buffer, size_t size, size_t* got,
                 uint64_t* fileSize) override {
    const std::vector<uint8_t>* file = Find(path);
    if (!file) return false;
    std::copy_n(file->begin(), *got = std::min(size, file->size()), buffer);
    *fileSize = file->size();
    return true;
  }
  std::vector<uint8_t> a, b;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vq;
  if (size < 3) return 0;
  const uint8_t flags = data[0];
  const uint32_t number = (flags & 3) + 1;
  std::vector<uint8_t> list(data + 3, data + 3 + std::min<size_t>(data[1] | data[2] << 8, size - 3));
  if ((flags & 4) && list.size() >= 8 + number * kProfileEntrySize) {
    uint8_t* entry = list.data() + 8 + (number - 1) * kProfileEntrySize;
    std::memcpy(entry, u"A", 4), std::memcpy(entry + kSecondProfileOffset, u"B", 4);
  }
  const uint32_t header[2] = {uint32_t(list.size()), uint32_t((list.size() - 8) / kProfileEntrySize)};
  if ((flags & 8) && list.size() >= 8) std::memcpy(list.data(), header, 8);
  FuzzFiles files;
  const uint8_t* rest = data + 3 + list.size();
  files.a.assign(rest, rest + (data + size - rest) / 2);
  files.b.assign(rest + files.a.size(), data + size);

  auto printer = std::make_shared<MemoryPrinter>();
  MediaData media{};
  media.mediaId = 300;
  media.profileNumber = number;
  printer->SetDword(pd::kMediaDataCount, 1);
  printer->SetBinary(pd::kMediaData, &media, sizeof media);
  printer->SetBinary(pd::kProfileList, list.data(), list.size());
  JobSettings js{};
  js.MediaTypeId = 300;
  if (flags & 0x10) js.Monochrome = 1, js.MonoTone = 255;

  bool expected = flags & 0x10;
  uint8_t entry[kProfileEntrySize];
  if (!expected && ProfileListEntry(list.data(), list.size(), number, entry)) {
    expected = true;
    for (const std::u16string& path : ProfilePaths(entry)) {
      const std::vector<uint8_t>* file = files.Find(path);
      expected = expected && file && IccHeaderUsable(file->data(), file->size(), file->size());
    }
  }
  if (CheckMediaProfiles(js, OpenMemoryPrinter(printer).get(), files) != expected) std::abort();
  return 0;
}
