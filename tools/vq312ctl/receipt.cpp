// `vq312ctl receipt-colours`: the printer's receipt colour pairs listed,
// exported to a ".bin" file and imported from one, through the same checks
// as the receipt colour dialog: a file is taken whole or not at all.
#include <algorithm>
#include <string>
#include <vector>

#include "base/text_win.h"
#include "pages/utility/receipt_colours.h"
#include "pages/utility/receipt_colours_win.h"
#include "settings/printer_store_win.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {
namespace {

constexpr char kReceiptUsage[] =
    "usage: vq312ctl receipt-colours [--printer NAME] list | export FILE | import FILE\n";

std::string Text(const std::u16string& s) { return Narrow(std::wstring(s.begin(), s.end())); }

int List(PrinterStore* store, const std::string& printer) {
  const receipt::Arrays a = receipt::ReadArrays(store);
  const std::vector<receipt::Row> rows = receipt::ListRows(a);
  Print("Receipt colours of \"%s\": %zu\n", printer.c_str(), rows.size());
  if (receipt::SettingsCount(a) < receipt::ColourCount(a) ||
      (receipt::MemoCount(a) && receipt::MemoCount(a) < receipt::ColourCount(a)))
    Print("  (the stored values disagree in length: %zu colours, %zu memos, %zu settings)\n",
          receipt::ColourCount(a), receipt::MemoCount(a), receipt::SettingsCount(a));
  for (size_t i = 0; i < rows.size(); ++i)
    Print("  %zu  No. %u  %s -> %s  %s\n", i + 1, rows[i].number,
          Text(receipt::ColourText(rows[i].source)).c_str(),
          Text(receipt::ColourText(rows[i].print)).c_str(), Text(rows[i].memo).c_str());
  return 0;
}

int Export(PrinterStore* store, const std::wstring& file) {
  const receipt::Arrays a = receipt::ReadArrays(store);
  if (!WriteReceiptFile(file, a)) {
    Print("vq312ctl: cannot write %s\n", Narrow(file).c_str());
    return 1;
  }
  const size_t pairs = std::min<size_t>(receipt::ColourCount(a), receipt::kMaxFilePairs);
  Print("Exported %zu receipt colours (%zu bytes) to %s\n", pairs, 4 + pairs * receipt::kPairSize,
        Narrow(file).c_str());
  return 0;
}

int Import(PrinterStore* store, const std::wstring& file) {
  std::vector<uint8_t> bytes;
  if (!ReadReceiptFile(file, &bytes)) {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    const bool exists = GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &info);
    const uint64_t size = uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    Print("vq312ctl: %s cannot be imported: %s. The stored receipt colours are unchanged.\n",
          Narrow(file).c_str(),
          !exists ? "no such file"
          : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
              ? "it is a folder"
              : receipt::FileCheckName(receipt::CheckFileSize(size)));
    return 1;
  }
  const receipt::FileCheck check = receipt::CheckFile(bytes);
  if (check != receipt::FileCheck::kOk) {
    Print("vq312ctl: %s is not a receipt colour file of this driver: %s. The stored receipt "
          "colours are unchanged.\n", Narrow(file).c_str(), receipt::FileCheckName(check));
    return 1;
  }
  receipt::Arrays a = receipt::ReadArrays(store);
  const int taken = receipt::Import(&a, bytes);
  if (taken > 0) {
    const int written = receipt::WriteArrays(store, a);
    if (written != 3) {
      Print("vq312ctl: storing the receipt colours failed after %d of 3 values (error %lu); "
            "administrator rights are needed\n", written, GetLastError());
      return 1;
    }
  }
  Print("Imported %d receipt colours from %s\n", taken, Narrow(file).c_str());
  return 0;
}

}  // namespace

int RunReceiptColours(int argc, wchar_t** argv) {
  return RunListExportImport(argc, argv, {kReceiptUsage, List, Export, Import});
}

}  // namespace vq::ctl
