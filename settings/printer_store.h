// Printer data: the named values the driver keeps per printer on the spooler,
// the few printer facts it reads (stored device modes, driver files), and the
// routines that read and write the structured values.
//
// PrinterStore is one open printer (a printer handle). It has a Win32
// implementation over winspool and an in-memory one for native tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devinfo/paper_media.h"

namespace vq {

// Registry value types and Win32 errors, as the spooler reports them.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kErrorSuccess = 0;
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorInsufficientBuffer = 122;
inline constexpr uint32_t kErrorMoreData = 234;

// Desired access when opening a printer.
inline constexpr uint32_t kAccessDefault = 0;  // no PRINTER_DEFAULTS
inline constexpr uint32_t kPrinterAccessUse = 0x8;
inline constexpr uint32_t kPrinterAllAccess = 0xF000C;

class PrinterStore {
 public:
  virtual ~PrinterStore() = default;
  // GetPrinterDataW: returns a Win32 error; *needed receives the value's
  // size (ERROR_MORE_DATA when it does not fit into size bytes).
  virtual uint32_t GetData(const char16_t* name, uint32_t* type, void* data, uint32_t size,
                           uint32_t* needed) = 0;
  virtual uint32_t SetData(const char16_t* name, uint32_t type, const void* data,
                           uint32_t size) = 0;
  // The printer's stored device mode: level 2 the printer default, level 9
  // the per-user default. false when the printer cannot be read or has none.
  virtual bool GetDevMode(uint32_t level, std::vector<unsigned char>* out) = 0;
  // Stores a new printer default device mode (SetPrinterW level 2).
  virtual bool SetDevMode(const void* devmode, uint32_t size) = 0;
  // GetPrinterDriverW level 3: the full path of the UI module and of the
  // help file (empty when the driver names none).
  virtual bool GetDriverFiles(std::u16string* configFile, std::u16string* helpFile) = 0;
};

class Spooler {
 public:
  virtual ~Spooler() = default;
  // nullptr when the printer does not exist or the access is refused.
  virtual std::unique_ptr<PrinterStore> Open(const char16_t* name, uint32_t access) = 0;
};

// Value names. Owner prefixes: APUI_ this module, APGD_/APGI_ the rendering
// module, APSM_ the status monitor.
namespace pd {
inline constexpr char16_t kPaperInfo[] = u"APUI_PAPERINFO";
inline constexpr char16_t kPaperNum[] = u"APUI_PAPERNUM";
inline constexpr char16_t kPaperSupCount[] = u"APUI_PAPERSUPCOUNT";
inline constexpr char16_t kPaperUserMax[] = u"APUI_PAPERUSERMAX";
inline constexpr char16_t kMediaData[] = u"APUI_MEDIADATA";
inline constexpr char16_t kMediaDataCount[] = u"APUI_MEDIADATACOUNT";
inline constexpr char16_t kScaling[] = u"APUI_BSCALING";
inline constexpr char16_t kPrintLayout[] = u"APUI_DWPRINTLAYOUT";
inline constexpr char16_t kUtility[] = u"APUI_BUTILITY";
inline constexpr char16_t kSleepTimer[] = u"APUI_DWSLEEPTIMER";
inline constexpr char16_t kAutoCutter[] = u"APUI_AUTOCUTTER";
inline constexpr char16_t kCutPos[] = u"APUI_DWCUTPOS";
inline constexpr char16_t kCutStopPos[] = u"APUI_DWCUTSTOPPOS";
inline constexpr char16_t kRegPositionBackup[] = u"APUI_BREGPOSITION_BK";
inline constexpr char16_t kRegPosition[] = u"APUI_REGPOSITION";
inline constexpr char16_t kRegPaperType[] = u"APUI_REGPAPERTYPE";
inline constexpr char16_t kButtonFlags[] = u"APUI_DWBUTTONFLG";
inline constexpr char16_t kInkResetFlag[] = u"APUI_BYINKWSRESETFLAG";
inline constexpr char16_t kMonitorStartFlag[] = u"APUI_DWSTMONSTARTFLAG";
inline constexpr char16_t kMonitorPrintFlag[] = u"APSM_DWSTMONPRINTFLAG";
inline constexpr char16_t kHelpName[] = u"APUI_DRVHELPNAME";
inline constexpr char16_t kSpecialSet[] = u"APUI_SPECIALSET";
inline constexpr char16_t kSpecialSet02[] = u"APUI_SPECIALSET_02";
inline constexpr char16_t kSpecialSet03[] = u"APUI_SPECIALSET_03";
inline constexpr char16_t kSpecialTearOff[] = u"APUI_SPECIALTEAROFF";
inline constexpr char16_t kEntrySet[] = u"APUI_ENTRYSET";
inline constexpr char16_t kEntrySetNum[] = u"APUI_ENTRYSETNUM";
inline constexpr char16_t kEntrySetDefNum[] = u"APUI_ENTRYSETDEFNUM";
inline constexpr char16_t kEntrySetMaxNum[] = u"APUI_ENTRYSETMAXNUM";
inline constexpr char16_t kProfileList[] = u"APUI_ICPMPROFILELIST";
inline constexpr char16_t kRasterSkip[] = u"APGD_BRASTERSKIPFLAG";
inline constexpr char16_t kDriverCmdFlag[] = u"APGI_BDRIVERCMDFLAG";
inline constexpr char16_t kBlockSkip[] = u"APGD_BBLOCKSKIPFLAG";
inline constexpr char16_t kBandHeight[] = u"APGD_DWBANDHEIGHT";
inline constexpr char16_t kMassDotBlockNum[] = u"APGD_DWMASSDOTCNTBLOCKNUM";
inline constexpr char16_t kMassDotBlockUnit[] = u"APGD_DWMASSDOTCNTBLOCKUNIT";
inline constexpr char16_t kPeakDotBlockNum[] = u"APGD_DWPEAKDOTCNTBLOCKNUM";
inline constexpr char16_t kPeakDotBlockUnit[] = u"APGD_DWPEAKDOTCNTBLOCKUNIT";
inline constexpr char16_t kStretchIgnore[] = u"APGI_BSTRETCHMODEIGNOREFLAG";
inline constexpr char16_t kMcc4DevFlag[] = u"APGD_DWMCC4DEVFLAG";
inline constexpr char16_t kMcc4DutyParam[] = u"APGD_MCC4DUTYPARAM";
inline constexpr char16_t kHsData[] = u"APGD_HSDATA";
inline constexpr char16_t kReceiptCol[] = u"APGD_RECEIPTCOL";
inline constexpr char16_t kReceiptColMsg[] = u"APGD_RECEIPTCOLMSG";
inline constexpr char16_t kReceiptColDevMode[] = u"APGD_RECEIPTCOLDEVMODE";
}  // namespace pd

// Every value of the driver with its type and, where it is fixed, its size
// (0: variable). The value table is the single list; `vq312ctl show` walks it.
struct PrinterValueInfo {
  const char16_t* name;
  uint32_t type;
  uint32_t size;
};
extern const PrinterValueInfo kPrinterValues[];
extern const size_t kPrinterValueCount;

inline constexpr uint32_t kEntrySetSize = 13880;  // 10 favourites of 1388 bytes
inline constexpr uint32_t kProfileEntrySize = 1056;

// Reads a REG_DWORD value; 0 when missing, of another size or no printer.
uint32_t GetPrinterDword(PrinterStore* printer, const char16_t* name);
// Reads a REG_DWORD value into *value; false when missing or of another size.
bool ReadPrinterDword(PrinterStore* printer, const char16_t* name, uint32_t* value);
bool WritePrinterDword(PrinterStore* printer, const char16_t* name, uint32_t value);

// A whole value of any size; false when missing.
bool ReadPrinterValue(PrinterStore* printer, const char16_t* name, std::vector<unsigned char>* out,
                      uint32_t* type = nullptr);

// The records of APUI_PAPERINFO, its size telling the count. Empty when the
// value is missing, empty or not a whole number of records.
std::vector<PaperInfo> ReadPaperInfoValue(PrinterStore* printer);

// ReadPaperTable: APUI_PAPERNUM records of APUI_PAPERINFO; empty on any
// failure (missing values, a count that disagrees with the value's size).
std::vector<PaperInfo> ReadPaperTable(PrinterStore* printer);
// Writes APUI_PAPERINFO then APUI_PAPERNUM. false only for an empty table:
// write failures are not reported, as the pages expect.
bool WritePaperTable(PrinterStore* printer, const PaperInfo* records, uint32_t count);
bool FindPaperInfo(PrinterStore* printer, uint32_t paperId, PaperInfo* out);
// Position of the paper in the table; 0 both for the first and for none.
uint32_t PaperIndexOf(PrinterStore* printer, uint32_t paperId);
// Whether a size matches a paper of the table: values equal, or differing by
// exactly `tolerance` when the compared (table) value is at least 2.
bool PaperSizeInTable(PrinterStore* printer, uint32_t width, uint32_t length, uint32_t tolerance);
bool PaperSizeInTable(const std::vector<PaperInfo>& table, uint32_t width, uint32_t length,
                      uint32_t tolerance);
bool SizeMatches(uint32_t value, uint32_t reference, uint32_t tolerance);

// Null out: the value of APUI_MEDIADATACOUNT. Otherwise also reads
// APUI_MEDIADATA (count x 180 bytes) into *out; 0 on failure.
uint32_t ReadMediaTable(PrinterStore* printer, std::vector<MediaData>* out);
bool WriteMediaTable(PrinterStore* printer, const MediaData* records, uint32_t count);
// Position of the media id; the count when absent.
uint32_t MediaIndexOf(PrinterStore* printer, uint32_t mediaId);

// Entry `number` (1-based) of APUI_ICPMPROFILELIST into out (1056 bytes).
bool ReadProfileListEntry(PrinterStore* printer, uint32_t number, unsigned char* out);
// Same over the bytes of the value, for callers that already have them.
bool ProfileListEntry(const unsigned char* value, size_t size, uint32_t number,
                      unsigned char* out);

bool IsSpecialSetClear(PrinterStore* printer);

// The folder of the driver's files (the UI module's folder, no final
// backslash) and the help file's full path.
bool GetDriverDirectory(PrinterStore* printer, std::u16string* out);
bool GetHelpFilePath(PrinterStore* printer, std::u16string* out);

// The needed-size contract of the two routines above for a caller's buffer:
// needed = characters x 2 + 2; false when buf is null or smaller.
bool CopyPathToBuffer(const std::u16string& path, char16_t* buf, uint32_t bytes,
                      uint32_t* needed);

uint32_t TenthMmToHundredthInch(uint32_t value);
uint32_t DotsToHundredthInch(uint32_t dots, uint32_t dpi);

// Whether the printer can be opened for administration.
bool HasPrinterAdminAccess(Spooler* spooler, const char16_t* printerName);

}  // namespace vq
