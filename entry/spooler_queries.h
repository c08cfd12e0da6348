// The spooler's questions about the printer and its device modes:
// capabilities, conversion, job attributes and the print-time check.
#pragma once

#include <cstdint>
#include <vector>

#include "settings/job_settings.h"

namespace vq {

inline constexpr uint32_t kCapabilityError = 0xFFFFFFFFu;  // -1 as DWORD

// DC_ capability numbers the driver answers.
enum Capability : uint16_t {
  kDcFields = 1,
  kDcPapers = 2,
  kDcPaperSize = 3,
  kDcMinExtent = 4,
  kDcMaxExtent = 5,
  kDcBins = 6,
  kDcDuplex = 7,
  kDcSize = 8,
  kDcExtra = 9,
  kDcVersion = 10,
  kDcDriver = 11,
  kDcBinNames = 12,
  kDcEnumResolutions = 13,
  kDcFileDependencies = 14,
  kDcTrueType = 15,
  kDcPaperNames = 16,
  kDcOrientation = 17,
  kDcCopies = 18,
  kDcCollate = 22,
  kDcManufacturer = 23,
  kDcModel = 24,
  kDcPersonality = 25,
  kDcPrintRate = 26,
  kDcPrintRateUnit = 27,
  kDcPrinterMem = 28,
  kDcMediaReady = 29,
  kDcStaple = 30,
  kDcPrintRatePpm = 31,
  kDcColorDevice = 32,
  kDcNup = 33,
};

// An answer: the value to return and, when the caller gave a buffer, the
// bytes to put in it. The bytes are prepared apart from the caller's
// buffer so the copy into it can be guarded as one step.
struct CapabilityAnswer {
  uint32_t result = kCapabilityError;
  std::vector<unsigned char> output;
};

// Whether the answer reads the printer's own data (the rest come from the
// device module or the record format), so a caller without a printer handle
// knows whether it must find the printer.
bool CapabilityNeedsPrinterData(uint32_t capability);

// printer: the printer's data (found by the device name when the caller had
// no handle); null when it cannot be opened. deviceName is used for
// DC_MEDIAREADY, which reads the default device mode of the named printer.
CapabilityAnswer AnswerCapability(PrinterStore* printer, const char16_t* deviceName,
                                  uint32_t capability, bool wantOutput,
                                  const DriverServices& svc);

// DrvConvertDevMode. Returns the BOOL result; *lastError is set when the
// call must set one (0: leave the thread's last error alone).
inline constexpr uint32_t kCdmConvert = 1;
inline constexpr uint32_t kCdmConvert351 = 2;
inline constexpr uint32_t kCdmDriverDefault = 4;
bool ConvertDevMode(const char16_t* printerName, const void* devModeIn, void* devModeOut,
                    int32_t* needed, uint32_t mode, const DriverServices& svc,
                    uint32_t* lastError);

// The job attributes of ATTRIBUTE_INFO_1..3, level 3 being the longest.
struct JobAttributes {
  uint32_t jobPagesPerSide;
  uint32_t drvPagesPerSide;
  uint32_t nupBorderFlags;
  uint32_t jobPageOrderFlags;
  uint32_t drvPageOrderFlags;
  uint32_t jobCopies;
  uint32_t drvCopies;
  uint32_t colorOptimization;  // levels 2 and 3
  int16_t printQuality;        // level 3
  int16_t yResolution;         // level 3
};
bool QueryJobAttributes(bool havePrinter, const void* devMode, uint32_t level,
                        JobAttributes* out, const DriverServices& svc);

// DevQueryPrintEx: whether the job's device mode is usable; it is repaired
// in place, never beyond the bytes its header says it has.
bool CheckJobDevMode(void* devMode, PrinterStore* printer, const DriverServices& svc);

}  // namespace vq
