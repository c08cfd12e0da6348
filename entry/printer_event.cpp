#include "entry/printer_event.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "devinfo/difm_api.h"
#include "settings/printer_store.h"

namespace vq {
namespace {

// One row of the install sequence: a REG_DWORD from an install default
// (with bits added) or a constant, or a REG_BINARY of zero bytes.
struct InstallValue {
  const char16_t* name;
  uint32_t type;
  int32_t regId;      // DifmLoadRegData id; -1 for a constant
  uint32_t value;     // constant, or bits added to the install default
  uint32_t zeroBytes; // REG_BINARY size
  bool mayFail;       // a failed write does not stop the installation
};

constexpr InstallValue FromId(const char16_t* name, int32_t id, uint32_t bits = 0) {
  return {name, kRegDword, id, bits, 0, false};
}
constexpr InstallValue Constant(const char16_t* name, uint32_t v) {
  return {name, kRegDword, -1, v, 0, false};
}
constexpr InstallValue Zeros(const char16_t* name, uint32_t bytes) {
  return {name, kRegBinary, -1, 0, bytes, false};
}
constexpr InstallValue Optional(InstallValue v) {
  v.mayFail = true;
  return v;
}

// Set by the first ADD_CONNECTION of the process.
bool g_connectionRead = false;

// The install sequence in the order it is written.
constexpr InstallValue kInstallValues[] = {
    FromId(pd::kRasterSkip, 2000),
    FromId(pd::kDriverCmdFlag, 2001),
    Constant(pd::kBlockSkip, 1),
    FromId(pd::kBandHeight, 2015),
    FromId(pd::kMassDotBlockNum, 2016),
    FromId(pd::kMassDotBlockUnit, 2017),
    FromId(pd::kPeakDotBlockNum, 2018),
    FromId(pd::kPeakDotBlockUnit, 2019),
    FromId(pd::kCutStopPos, 2020),
    FromId(pd::kCutPos, 2021),
    FromId(pd::kStretchIgnore, 2011),
    FromId(pd::kSleepTimer, 2004),
    FromId(pd::kScaling, 2005),
    FromId(pd::kPrintLayout, 2006),
    FromId(pd::kUtility, 2008),
    FromId(pd::kRegPositionBackup, 2009),
    FromId(pd::kAutoCutter, 2007),
    FromId(pd::kButtonFlags, 2013, 0x100),  // the cutter button is always offered
    Zeros(pd::kRegPosition, 12),
    FromId(pd::kMcc4DevFlag, 2010),
    Zeros(pd::kMcc4DutyParam, 4),
    Zeros(pd::kReceiptColMsg, 8),
    Zeros(pd::kHsData, 1),
    FromId(pd::kInkResetFlag, 2012),
    Optional(FromId(pd::kPaperSupCount, 2024)),
    Optional(FromId(pd::kPaperUserMax, 2025)),
    Optional(FromId(pd::kPaperNum, 2026)),
    Constant(pd::kMonitorStartFlag, 0),
    Constant(pd::kMonitorPrintFlag, 0),
    // The favourites store: emptied on every installation.
    Zeros(pd::kEntrySet, kEntrySetSize),
    FromId(pd::kEntrySetDefNum, 2027),
    FromId(pd::kEntrySetNum, 2028),
    FromId(pd::kEntrySetMaxNum, 2029),
};

}  // namespace

int32_t ConnectPrinterOnce(const char16_t* printerName, const DriverServices& svc) {
  if (g_connectionRead) return 0;
  if (svc.spooler) {
    if (auto printer = svc.spooler->Open(printerName, kPrinterAccessUse)) {
      std::vector<unsigned char> ignored;
      printer->GetDevMode(2, &ignored);
    }
  }
  g_connectionRead = true;
  return 1;
}

int32_t SeedNewPrinter(const char16_t* printerName, const DriverServices& svc) {
  if (!svc.spooler || !svc.difm) return 0;
  std::unique_ptr<PrinterStore> admin = svc.spooler->Open(printerName, kPrinterAllAccess);
  std::unique_ptr<PrinterStore> plain = svc.spooler->Open(printerName, kAccessDefault);
  if (!admin || !plain) return 0;

  std::vector<unsigned char> current;
  JobSettings defaults;
  if (plain->GetDevMode(2, &current) && SetDefaultJobSettings(&defaults, svc))
    admin->SetDevMode(&defaults, kJobSettingsSize);

  DifmMapping map(*svc.difm, kModelName);
  if (!map) return -1;
  const DifmApi& difm = map.api();

  // The tables are written whatever the module lists, an empty paper table
  // too; a table that cannot be written leaves the printer without it (every
  // reader copes with a missing table) and the rest is still seeded.
  const int32_t papers = std::max(difm.DifmGetPaperInfo(map.get(), nullptr, 0), 0);
  std::vector<PaperInfo> paperTable(static_cast<size_t>(papers));
  if (papers > 0) difm.DifmGetPaperInfo(map.get(), paperTable.data(), 0);
  admin->SetData(pd::kPaperInfo, kRegBinary, paperTable.data(),
                 static_cast<uint32_t>(papers) * kPaperInfoSize);
  const int32_t media = difm.DifmGetMediaDataCnt(map.get());
  if (media > 0) {
    std::vector<MediaData> table(static_cast<size_t>(media));
    difm.DifmGetMediaData(map.get(), table.data());
    admin->SetData(pd::kMediaData, kRegBinary, table.data(), media * kMediaDataSize);
    WritePrinterDword(admin.get(), pd::kMediaDataCount, static_cast<uint32_t>(media));
  }

  for (const InstallValue& v : kInstallValues) {
    uint32_t rc;
    if (v.type == kRegBinary) {
      const std::vector<unsigned char> zeros(v.zeroBytes);
      rc = admin->SetData(v.name, kRegBinary, zeros.data(), v.zeroBytes);
    } else {
      uint32_t value = v.value;
      if (v.regId >= 0) {
        uint32_t installDefault = 0;
        difm.DifmLoadRegData(map.get(), static_cast<uint32_t>(v.regId), &installDefault, 4);
        value |= installDefault;
      }
      rc = admin->SetData(v.name, kRegDword, &value, sizeof value);
    }
    if (rc != kErrorSuccess && !v.mayFail) return 0;
  }

  if (!map.Unmap()) return -1;

  // The help file's name only: the folder is the driver's own wherever the
  // spooler put it.
  std::u16string help;
  if (!GetHelpFilePath(admin.get(), &help)) return 0;
  const size_t slash = help.find_last_of(u'\\');
  if (slash == std::u16string::npos) return 0;
  const std::u16string name = help.substr(slash + 1);
  if (admin->SetData(pd::kHelpName, kRegSz, name.c_str(),
                     static_cast<uint32_t>(name.size() * 2)) != kErrorSuccess)
    return 0;
  return 1;
}

}  // namespace vq
