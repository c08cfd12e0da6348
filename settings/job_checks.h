// The checks of a job's record that both printing and the pages run: the
// overlay form it creates or uses, and the colour profiles of its media. A
// print job is refused when they fail (DrvDocumentEvent); a page refuses to
// apply. The file questions go through an interface, so the checks run in
// native tests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/job_settings.h"

namespace vq {

class PrinterStore;

// The few file questions the checks ask.
class FileAccess {
 public:
  virtual ~FileAccess() = default;
  // `folder` ends with its separator, as a split path gives it ("C:\\forms\\").
  virtual bool FolderExists(const std::u16string& folder) = 0;
  virtual bool FileExists(const std::u16string& path) = 0;
  // Opens the file for reading and reads up to `size` bytes from its start
  // into buffer: *got bytes read, *fileSize the whole file's size. false
  // when the file cannot be opened.
  virtual bool ReadStart(const std::u16string& path, uint8_t* buffer, size_t size, size_t* got,
                         uint64_t* fileSize) = 0;
};

// --- Overlay form --------------------------------------------------------

// The overlay status word. Bits say what the record asks for; the low byte
// is the sum of the numbers of the failed tests (2 kind, 3 target, 4 path).
// Every subset of {2, 3, 4} has its own sum, so each failure can be read back.
inline constexpr uint32_t kOverlayTarget1 = 1u << 16;
inline constexpr uint32_t kOverlayTarget2 = 1u << 17;
inline constexpr uint32_t kOverlayCreates = 1u << 20;  // kind 1 and 3
inline constexpr uint32_t kOverlayUses = 1u << 21;     // kind 2 and 3
inline constexpr uint32_t kOverlayIsOn = 1u << 24;
inline constexpr uint32_t kOverlayIsOff = 1u << 25;
inline constexpr uint32_t kOverlayUsable = 1u << 28;
inline constexpr uint32_t kOverlayBadKind = 2;
inline constexpr uint32_t kOverlayBadTarget = 3;
inline constexpr uint32_t kOverlayBadPath = 4;

inline constexpr uint32_t kOverlayOnBit = 0x80000000u;  // of OverlayMode
inline constexpr uint32_t OverlayKind(const JobSettings& js) { return js.OverlayMode & 0xF; }
inline constexpr bool OverlayOn(const JobSettings& js) { return js.OverlayMode & kOverlayOnBit; }

// The path of a form file in its parts: folder with its final separator
// ("C:\\forms\\"), name ("label"), extension with its dot (".ofe").
struct PathParts {
  std::u16string folder;
  std::u16string name;
  std::u16string extension;
};
PathParts SplitPath(std::u16string_view path);
// OverlayPath up to its terminator, or all 260 units when it has none.
std::u16string OverlayPathOf(const JobSettings& js);

// The status word of the record's overlay settings. The path tests: for a
// form to create (kind 1, 3) its folder must exist and its name must not be
// empty; for a form to use (kind 2) the file must exist; either way the
// extension must be ".ofe", exactly.
uint32_t CheckOverlayForm(const JobSettings& js, FileAccess& files);
bool OverlayFailed(uint32_t status, uint32_t test);
// A job is refused when its overlay is on and the path test failed.
bool OverlayRefusesJob(uint32_t status);

// --- Colour profiles -----------------------------------------------------

inline constexpr size_t kIccHeaderSize = 128;
inline constexpr uint32_t kIccPrinterClass = 0x70727472;  // 'prtr'
inline constexpr uint32_t kIccRgbSpace = 0x52474220;      // 'RGB '
inline constexpr size_t kProfilePathChars = 260;
inline constexpr size_t kSecondProfileOffset = 520;

// A profile the printer can use: a whole 128-byte header whose size field
// (big-endian, bytes 0..3) is the file's size, printer class, RGB data.
bool IccHeaderUsable(const uint8_t* header, size_t got, uint64_t fileSize);
bool ProfileUsable(const std::u16string& path, FileAccess& files);
// The two profile paths of a profile-list entry (1056 bytes), each up to its
// terminator or 260 units.
std::array<std::u16string, 2> ProfilePaths(const uint8_t* entry);

// Whether the job's media can print with its colour profiles: always for
// true monochrome (Monochrome 1, MonoTone 255), for built-in media and for
// media without a profile; otherwise both profiles of its entry in
// APUI_ICPMPROFILELIST must be usable.
bool CheckMediaProfiles(const JobSettings& js, PrinterStore* printer, FileAccess& files);

}  // namespace vq
