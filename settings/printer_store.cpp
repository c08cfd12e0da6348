#include "settings/printer_store.h"

#include <cstring>
#include <iterator>

namespace vq {

const PrinterValueInfo kPrinterValues[] = {
    {pd::kPaperInfo, kRegBinary, 0},
    {pd::kPaperNum, kRegDword, 4},
    {pd::kPaperSupCount, kRegDword, 4},
    {pd::kPaperUserMax, kRegDword, 4},
    {pd::kMediaData, kRegBinary, 0},
    {pd::kMediaDataCount, kRegDword, 4},
    {pd::kScaling, kRegDword, 4},
    {pd::kPrintLayout, kRegDword, 4},
    {pd::kUtility, kRegDword, 4},
    {pd::kSleepTimer, kRegDword, 4},
    {pd::kAutoCutter, kRegDword, 4},
    {pd::kCutPos, kRegDword, 4},
    {pd::kCutStopPos, kRegDword, 4},
    {pd::kRegPositionBackup, kRegDword, 4},
    {pd::kRegPosition, kRegBinary, 12},
    {pd::kRegPaperType, kRegBinary, 0},
    {pd::kButtonFlags, kRegDword, 4},
    {pd::kInkResetFlag, kRegDword, 4},
    {pd::kMonitorStartFlag, kRegDword, 4},
    {pd::kMonitorPrintFlag, kRegDword, 4},
    {pd::kHelpName, kRegSz, 0},
    {pd::kSpecialSet, kRegBinary, 0},
    {pd::kSpecialSet02, kRegBinary, 0},
    {pd::kSpecialSet03, kRegBinary, 0},
    {pd::kSpecialTearOff, kRegBinary, 0},
    {pd::kEntrySet, kRegBinary, kEntrySetSize},
    {pd::kEntrySetNum, kRegDword, 4},
    {pd::kEntrySetDefNum, kRegDword, 4},
    {pd::kEntrySetMaxNum, kRegDword, 4},
    {pd::kProfileList, kRegBinary, 0},
    {pd::kRasterSkip, kRegDword, 4},
    {pd::kDriverCmdFlag, kRegDword, 4},
    {pd::kBlockSkip, kRegDword, 4},
    {pd::kBandHeight, kRegDword, 4},
    {pd::kMassDotBlockNum, kRegDword, 4},
    {pd::kMassDotBlockUnit, kRegDword, 4},
    {pd::kPeakDotBlockNum, kRegDword, 4},
    {pd::kPeakDotBlockUnit, kRegDword, 4},
    {pd::kStretchIgnore, kRegDword, 4},
    {pd::kMcc4DevFlag, kRegDword, 4},
    {pd::kMcc4DutyParam, kRegBinary, 4},
    {pd::kHsData, kRegBinary, 1},
    {pd::kReceiptCol, kRegBinary, 0},
    {pd::kReceiptColMsg, kRegBinary, 8},
    {pd::kReceiptColDevMode, kRegBinary, 0},
};
const size_t kPrinterValueCount = std::size(kPrinterValues);

bool ReadPrinterDword(PrinterStore* printer, const char16_t* name, uint32_t* value) {
  if (!printer) return false;
  uint32_t type = 0, needed = 0, v = 0;
  if (printer->GetData(name, &type, &v, sizeof v, &needed) != kErrorSuccess || needed != 4)
    return false;
  *value = v;
  return true;
}

uint32_t GetPrinterDword(PrinterStore* printer, const char16_t* name) {
  uint32_t v = 0;
  return ReadPrinterDword(printer, name, &v) ? v : 0;
}

bool WritePrinterDword(PrinterStore* printer, const char16_t* name, uint32_t value) {
  return printer && printer->SetData(name, kRegDword, &value, sizeof value) == kErrorSuccess;
}

bool ReadPrinterValue(PrinterStore* printer, const char16_t* name, std::vector<unsigned char>* out,
                      uint32_t* type) {
  if (!printer) return false;
  uint32_t t = 0, needed = 0;
  // Most values are small: try a modest buffer first, then the size asked for.
  out->resize(256);
  uint32_t rc = printer->GetData(name, &t, out->data(), 256, &needed);
  if (rc == kErrorMoreData) {
    out->resize(needed);
    rc = printer->GetData(name, &t, out->data(), needed, &needed);
  }
  if (rc != kErrorSuccess || needed > out->size()) {
    out->clear();
    return false;
  }
  out->resize(needed);
  if (type) *type = t;
  return true;
}

std::vector<PaperInfo> ReadPaperInfoValue(PrinterStore* printer) {
  std::vector<PaperInfo> table;
  if (!printer) return table;
  // One read serves both the count and the records for any table up to 32
  // papers; a larger one costs a second read.
  table.resize(32);
  uint32_t type = 0, needed = 0;
  uint32_t rc = printer->GetData(pd::kPaperInfo, &type, table.data(),
                                 static_cast<uint32_t>(table.size() * kPaperInfoSize), &needed);
  if (rc == kErrorMoreData && needed % kPaperInfoSize == 0) {
    table.resize(needed / kPaperInfoSize);
    rc = printer->GetData(pd::kPaperInfo, &type, table.data(), needed, &needed);
  }
  if (rc != kErrorSuccess || needed == 0 || needed % kPaperInfoSize != 0 ||
      needed / kPaperInfoSize > table.size()) {
    table.clear();
    return table;
  }
  table.resize(needed / kPaperInfoSize);
  return table;
}

std::vector<PaperInfo> ReadPaperTable(PrinterStore* printer) {
  uint32_t count = 0;
  if (!ReadPrinterDword(printer, pd::kPaperNum, &count) || count == 0) return {};
  std::vector<PaperInfo> table = ReadPaperInfoValue(printer);
  if (table.size() != count) table.clear();
  return table;
}

bool WritePaperTable(PrinterStore* printer, const PaperInfo* records, uint32_t count) {
  if (!printer || !records || count == 0) return false;
  printer->SetData(pd::kPaperInfo, kRegBinary, records, count * kPaperInfoSize);
  WritePrinterDword(printer, pd::kPaperNum, count);
  return true;
}

bool FindPaperInfo(PrinterStore* printer, uint32_t paperId, PaperInfo* out) {
  for (const PaperInfo& p : ReadPaperInfoValue(printer)) {
    if (p.paperId == paperId) {
      *out = p;
      return true;
    }
  }
  return false;
}

uint32_t PaperIndexOf(PrinterStore* printer, uint32_t paperId) {
  const std::vector<PaperInfo> table = ReadPaperInfoValue(printer);
  for (uint32_t i = 0; i < table.size(); ++i)
    if (table[i].paperId == paperId) return i;
  return 0;
}

bool SizeMatches(uint32_t value, uint32_t reference, uint32_t tolerance) {
  if (value == reference) return true;
  if (reference < 2) return false;
  const uint32_t diff = value > reference ? value - reference : reference - value;
  return tolerance != 0 && diff == tolerance;
}

bool PaperSizeInTable(const std::vector<PaperInfo>& table, uint32_t width, uint32_t length,
                      uint32_t tolerance) {
  for (const PaperInfo& p : table)
    if (SizeMatches(width, p.paperWidth, tolerance) &&
        SizeMatches(length, p.paperLength, tolerance))
      return true;
  return false;
}

bool PaperSizeInTable(PrinterStore* printer, uint32_t width, uint32_t length,
                      uint32_t tolerance) {
  return PaperSizeInTable(ReadPaperInfoValue(printer), width, length, tolerance);
}

uint32_t ReadMediaTable(PrinterStore* printer, std::vector<MediaData>* out) {
  uint32_t count = 0;
  if (!ReadPrinterDword(printer, pd::kMediaDataCount, &count)) return 0;
  if (!out) return count;
  out->clear();
  if (count == 0) return 0;
  // A count beyond what a value can sensibly hold is a damaged value, not a
  // reason to allocate gigabytes.
  if (count > 0x10000) return 0;
  out->resize(count);
  uint32_t type = 0, needed = 0;
  const uint32_t bytes = count * kMediaDataSize;
  if (printer->GetData(pd::kMediaData, &type, out->data(), bytes, &needed) != kErrorSuccess ||
      needed != bytes) {
    out->clear();
    return 0;
  }
  return count;
}

bool WriteMediaTable(PrinterStore* printer, const MediaData* records, uint32_t count) {
  if (!printer || !records || count == 0) return false;
  if (!WritePrinterDword(printer, pd::kMediaDataCount, count)) return false;
  return printer->SetData(pd::kMediaData, kRegBinary, records, count * kMediaDataSize) ==
         kErrorSuccess;
}

uint32_t MediaIndexOf(PrinterStore* printer, uint32_t mediaId) {
  std::vector<MediaData> media;
  const uint32_t count = ReadMediaTable(printer, &media);
  for (uint32_t i = 0; i < media.size(); ++i)
    if (media[i].mediaId == mediaId) return i;
  return count;
}

bool ProfileListEntry(const unsigned char* value, size_t size, uint32_t number,
                      unsigned char* out) {
  if (!value || size < 8 || number == 0) return false;
  uint32_t total = 0, count = 0;
  std::memcpy(&total, value, 4);
  std::memcpy(&count, value + 4, 4);
  if (total != size || count > (size - 8) / kProfileEntrySize ||
      8 + uint64_t{count} * kProfileEntrySize != size || number > count)
    return false;
  std::memcpy(out, value + 8 + size_t{number - 1} * kProfileEntrySize, kProfileEntrySize);
  return true;
}

bool ReadProfileListEntry(PrinterStore* printer, uint32_t number, unsigned char* out) {
  if (!printer || !out) return false;
  uint32_t type = 0, needed = 0;
  if (printer->GetData(pd::kProfileList, &type, nullptr, 0, &needed) != kErrorMoreData ||
      needed < 8)
    return false;
  std::vector<unsigned char> value(needed);
  if (printer->GetData(pd::kProfileList, &type, value.data(), needed, &needed) != kErrorSuccess)
    return false;
  return ProfileListEntry(value.data(), needed, number, out);
}

bool IsSpecialSetClear(PrinterStore* printer) {
  std::vector<unsigned char> value;
  return ReadPrinterValue(printer, pd::kSpecialSet, &value) && !value.empty() &&
         (value[0] & 0x10) == 0;
}

bool GetDriverDirectory(PrinterStore* printer, std::u16string* out) {
  std::u16string config, help;
  if (!printer || !printer->GetDriverFiles(&config, &help)) return false;
  const size_t slash = config.find_last_of(u'\\');
  if (slash == std::u16string::npos) return false;
  *out = config.substr(0, slash);
  return true;
}

bool GetHelpFilePath(PrinterStore* printer, std::u16string* out) {
  std::u16string config, help;
  if (!printer || !printer->GetDriverFiles(&config, &help)) return false;
  if (!help.empty()) {
    *out = help;
    return true;
  }
  std::u16string dir;
  std::vector<unsigned char> name;
  uint32_t type = 0;
  if (!GetDriverDirectory(printer, &dir) || !ReadPrinterValue(printer, pd::kHelpName, &name, &type))
    return false;
  std::u16string file(name.size() / 2, u'\0');
  std::memcpy(file.data(), name.data(), file.size() * 2);
  file.resize(std::char_traits<char16_t>::length(file.c_str()));
  if (file.empty()) return false;
  *out = dir + u'\\' + file;
  return true;
}

bool CopyPathToBuffer(const std::u16string& path, char16_t* buf, uint32_t bytes,
                      uint32_t* needed) {
  const uint32_t need = static_cast<uint32_t>(path.size() * 2 + 2);
  if (needed) *needed = need;
  if (!buf || bytes < need) return false;
  std::memcpy(buf, path.c_str(), need);
  return true;
}

uint32_t TenthMmToHundredthInch(uint32_t value) {
  return static_cast<uint32_t>((uint64_t{value} * 100 + 127) / 254);
}

uint32_t DotsToHundredthInch(uint32_t dots, uint32_t dpi) {
  if (dots == 0 || dpi == 0) return 0;
  const uint64_t rounded = (uint64_t{dots} * 254000 / dpi + 500) / 10;
  return static_cast<uint32_t>(rounded * 100 / 254);
}

bool HasPrinterAdminAccess(Spooler* spooler, const char16_t* printerName) {
  return spooler && printerName && spooler->Open(printerName, kPrinterAllAccess) != nullptr;
}

}  // namespace vq
