// JobSettings: the driver's device mode. The public DEVMODEW (220 bytes) is
// followed by the private JobPrivate part (1164 bytes). The spooler stores the
// 1384 bytes per printer and per user and the rendering module reads them, so
// the byte layout is a file format: every offset is pinned below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "devinfo/paper_media.h"

namespace vq {

class PrinterStore;
class Spooler;
struct DifmApi;

inline constexpr uint16_t kSpecVersion = 0x0401;
inline constexpr uint16_t kDriverVersion = 0x0500;
inline constexpr uint16_t kPublicSize = 220;
inline constexpr uint16_t kPrivateSize = 1164;
inline constexpr uint32_t kJobSettingsSize = kPublicSize + kPrivateSize;

// DEVMODE field bits the record uses.
inline constexpr uint32_t kDmOrientation = 0x00000001;
inline constexpr uint32_t kDmPaperSize = 0x00000002;
inline constexpr uint32_t kDmPaperLength = 0x00000004;
inline constexpr uint32_t kDmPaperWidth = 0x00000008;
inline constexpr uint32_t kDmScale = 0x00000010;
inline constexpr uint32_t kDmCopies = 0x00000100;
inline constexpr uint32_t kDmPrintQuality = 0x00000400;
inline constexpr uint32_t kDmColor = 0x00000800;
// Every record this driver writes carries exactly these fields (plus kDmScale
// when the printer allows scaling): orientation, the four paper fields,
// copies, print quality, colour and DM_ICMMETHOD (0x800000).
inline constexpr uint32_t kJobFields = 0x800D0F;

// OrientationLock bits.
inline constexpr uint32_t kLockPortrait = 2;
inline constexpr uint32_t kLockLandscape = 4;

inline constexpr char16_t kModelName[] = u"Morva VT-Q3120";
inline constexpr char16_t kSignature[] = u"VQ312";

struct JobSettings {
  // Public part: DEVMODEW as Windows lays it out on x64.
  char16_t dmDeviceName[32];  // 0
  uint16_t dmSpecVersion;     // 64
  uint16_t dmDriverVersion;   // 66
  uint16_t dmSize;            // 68
  uint16_t dmDriverExtra;     // 70
  uint32_t dmFields;          // 72
  int16_t dmOrientation;      // 76
  int16_t dmPaperSize;        // 78
  int16_t dmPaperLength;      // 80
  int16_t dmPaperWidth;       // 82
  int16_t dmScale;            // 84
  int16_t dmCopies;           // 86
  int16_t dmDefaultSource;    // 88
  int16_t dmPrintQuality;     // 90
  int16_t dmColor;            // 92
  int16_t dmDuplex;           // 94
  int16_t dmYResolution;      // 96
  int16_t dmTTOption;         // 98
  int16_t dmCollate;          // 100
  char16_t dmFormName[32];    // 102
  uint16_t dmLogPixels;       // 166
  uint32_t dmBitsPerPel;      // 168
  uint32_t dmPelsWidth;       // 172
  uint32_t dmPelsHeight;      // 176
  uint32_t dmNup;             // 180 (dmDisplayFlags)
  uint32_t dmDisplayFrequency;  // 184
  uint32_t dmICMMethod;       // 188
  uint32_t dmICMIntent;       // 192
  uint32_t dmMediaType;       // 196
  uint32_t dmDitherType;      // 200
  uint32_t dmReserved1;       // 204
  uint32_t dmReserved2;       // 208
  uint32_t dmPanningWidth;    // 212
  uint32_t dmPanningHeight;   // 216

  // Private part.
  char16_t Signature[8];      // 220: "VQ312"
  uint32_t Option236;         // 236
  uint32_t PrintLevel;        // 240: bits 0..27 level, bit 31 automatic
  uint32_t MeasureUnit;       // 244: 0 mm, otherwise inches
  uint32_t ScalingMode;       // 248
  uint32_t PaperOption;       // 252
  PaperInfo Paper;            // 256: the selected paper record
  uint32_t PaperCount;        // 480
  uint32_t Option484;         // 484: 0 once the user-defined paper record is taken
  uint32_t ColorPlanes;       // 488: 4 colour, 1 monochrome
  uint32_t ColorFlags;        // 492
  int32_t CyanBalance;        // 496: colour block starts here (20 words)
  int32_t MagentaBalance;     // 500
  int32_t YellowBalance;      // 504
  int32_t BlackBalance;       // 508
  int32_t ToneLevel1;         // 512
  int32_t ToneLevel2;         // 516
  uint32_t ColorModeType;     // 520
  uint32_t ColorMode;         // 524
  uint32_t GammaIndex;        // 528: 1-based
  uint32_t Halftone;          // 532
  uint32_t MediaClass;        // 536
  uint32_t IcmMode;           // 540
  uint32_t Monochrome;        // 544
  uint32_t MonoTone;          // 548
  uint32_t Option552;         // 552
  uint32_t ColorStyle;        // 556
  uint8_t Option560[4];       // 560
  uint32_t Mcc3Flags;         // 564
  uint32_t ColorOptions;      // 568
  uint32_t Reserved572[3];    // 572
  char16_t SettingsName[64];  // 584
  uint32_t SettingsNameId;    // 712: 0 by hand, 1 defaults, 2..11 favourite + 2
  uint32_t PagesPerSheet;     // 716
  uint32_t PageBorder;        // 720
  uint32_t PageOrder;         // 724
  uint32_t Option728;         // 728: 1 = cutting on; also the minimum-length rule
  uint32_t CopyCount1;        // 732
  uint32_t CopyCount2;        // 736
  uint32_t Option740;         // 740: cut options, cut_option:: bits
  uint32_t OverlayMode;       // 744: bit 31 on; low 4 bits kind
  uint32_t OverlayOption;     // 748
  char16_t OverlayComment[32];  // 752
  char16_t OverlayPath[260];  // 816
  uint32_t Option1336;        // 1336
  uint32_t Option1340;        // 1340
  uint32_t Option1344;        // 1344: 2 or 3 = job start sends monitor message kind 2
  uint32_t Option1348;        // 1348
  uint32_t OverlayPreview;    // 1352
  uint32_t MediaTypeId;       // 1356
  uint32_t OrientationLock;   // 1360
  uint32_t Reserved1364[5];   // 1364
};

static_assert(sizeof(JobSettings) == kJobSettingsSize);

// Bits of Option740, what the cut settings page sets.
namespace cut_option {
inline constexpr uint32_t kLeadingEdge = 0x1;      // cut before the first label
inline constexpr uint32_t kTrailingEdge = 0x2;     // cut after the last label
inline constexpr uint32_t kBetweenLabels = 0x10;   // cut between labels
inline constexpr uint32_t kSecondMode = 0x100;     // clear: the first mode
inline constexpr uint32_t kSecondModeCount = 0x1000;  // the count is used in the second mode
}  // namespace cut_option
static_assert(offsetof(JobSettings, dmSpecVersion) == 64);
static_assert(offsetof(JobSettings, dmSize) == 68);
static_assert(offsetof(JobSettings, dmDriverExtra) == 70);
static_assert(offsetof(JobSettings, dmFields) == 72);
static_assert(offsetof(JobSettings, dmOrientation) == 76);
static_assert(offsetof(JobSettings, dmPaperSize) == 78);
static_assert(offsetof(JobSettings, dmCopies) == 86);
static_assert(offsetof(JobSettings, dmPrintQuality) == 90);
static_assert(offsetof(JobSettings, dmColor) == 92);
static_assert(offsetof(JobSettings, dmYResolution) == 96);
static_assert(offsetof(JobSettings, dmCollate) == 100);
static_assert(offsetof(JobSettings, dmFormName) == 102);
static_assert(offsetof(JobSettings, dmLogPixels) == 166);
static_assert(offsetof(JobSettings, dmPelsWidth) == 172);
static_assert(offsetof(JobSettings, dmICMMethod) == 188);
static_assert(offsetof(JobSettings, dmDitherType) == 200);
static_assert(offsetof(JobSettings, dmPanningHeight) == 216);
static_assert(offsetof(JobSettings, Signature) == 220);
static_assert(offsetof(JobSettings, Option236) == 236);
static_assert(offsetof(JobSettings, PrintLevel) == 240);
static_assert(offsetof(JobSettings, MeasureUnit) == 244);
static_assert(offsetof(JobSettings, ScalingMode) == 248);
static_assert(offsetof(JobSettings, PaperOption) == 252);
static_assert(offsetof(JobSettings, Paper) == 256);
static_assert(offsetof(JobSettings, PaperCount) == 480);
static_assert(offsetof(JobSettings, Option484) == 484);
static_assert(offsetof(JobSettings, ColorPlanes) == 488);
static_assert(offsetof(JobSettings, ColorFlags) == 492);
static_assert(offsetof(JobSettings, CyanBalance) == 496);
static_assert(offsetof(JobSettings, ToneLevel2) == 516);
static_assert(offsetof(JobSettings, ColorModeType) == 520);
static_assert(offsetof(JobSettings, ColorMode) == 524);
static_assert(offsetof(JobSettings, GammaIndex) == 528);
static_assert(offsetof(JobSettings, Halftone) == 532);
static_assert(offsetof(JobSettings, MediaClass) == 536);
static_assert(offsetof(JobSettings, IcmMode) == 540);
static_assert(offsetof(JobSettings, Monochrome) == 544);
static_assert(offsetof(JobSettings, MonoTone) == 548);
static_assert(offsetof(JobSettings, Option552) == 552);
static_assert(offsetof(JobSettings, ColorStyle) == 556);
static_assert(offsetof(JobSettings, Option560) == 560);
static_assert(offsetof(JobSettings, Mcc3Flags) == 564);
static_assert(offsetof(JobSettings, ColorOptions) == 568);
static_assert(offsetof(JobSettings, SettingsName) == 584);
static_assert(offsetof(JobSettings, SettingsNameId) == 712);
static_assert(offsetof(JobSettings, PagesPerSheet) == 716);
static_assert(offsetof(JobSettings, PageBorder) == 720);
static_assert(offsetof(JobSettings, PageOrder) == 724);
static_assert(offsetof(JobSettings, Option728) == 728);
static_assert(offsetof(JobSettings, CopyCount1) == 732);
static_assert(offsetof(JobSettings, CopyCount2) == 736);
static_assert(offsetof(JobSettings, Option740) == 740);
static_assert(offsetof(JobSettings, OverlayMode) == 744);
static_assert(offsetof(JobSettings, OverlayOption) == 748);
static_assert(offsetof(JobSettings, OverlayComment) == 752);
static_assert(offsetof(JobSettings, OverlayPath) == 816);
static_assert(offsetof(JobSettings, Option1336) == 1336);
static_assert(offsetof(JobSettings, Option1344) == 1344);
static_assert(offsetof(JobSettings, OverlayPreview) == 1352);
static_assert(offsetof(JobSettings, MediaTypeId) == 1356);
static_assert(offsetof(JobSettings, OrientationLock) == 1360);

// What the record code needs from outside: the device-information module and
// the spooler. Both are process-wide services; a null spooler means "no
// printer can be opened by name".
struct DriverServices {
  const DifmApi* difm;
  Spooler* spooler;
};

// Fills *js with the built-in defaults. Leaves it untouched and returns false
// when the device-information module cannot be mapped or has no default paper.
bool SetDefaultJobSettings(JobSettings* js, const DriverServices& svc);

// Repairs *js in place against the printer's paper table. false: the record
// is unusable (foreign driver, no paper table, unknown paper...) and the
// caller falls back to another source. printer may be null (no handle).
bool ValidateJobSettings(JobSettings* js, PrinterStore* printer, const DriverServices& svc);

// Clamps a user-defined size and its margins, gaps and liners to the limits
// of its paper layout, taking reset values from the printer's record of the
// same paper id. Does nothing when the printer has no such record.
void CheckCustomPaperSize(JobSettings* js, PrinterStore* printer);
void CheckCustomPaperSize(JobSettings* js, const PaperInfo& reference);

// Copy the per-user (level 9) or printer (level 2) default device mode into
// *out: min(dmSize + dmDriverExtra, 1384) bytes, the rest of *out zeroed.
// *needed is always set to 1384.
bool GetUserDefaultSettings(PrinterStore* printer, JobSettings* out, uint32_t* needed);
bool GetPrinterDefaultSettings(PrinterStore* printer, JobSettings* out, uint32_t* needed);

// Copies the caller-owned device mode at dm into *out without reading past
// dmSize + dmDriverExtra (or past the caller's available bytes, when known):
// min(that, 1384) bytes, the rest of *out zeroed. Returns the bytes copied.
uint32_t CopyDevModeBytes(const void* dm, uint32_t available, JobSettings* out);

inline constexpr uint32_t kUnknownSize = 0xFFFFFFFFu;

// The bytes of a caller's device mode that belong to it: dmSize + dmDriverExtra.
uint32_t DevModeTotalSize(const void* dm);

bool HasSignature(const JobSettings& js);

}  // namespace vq
