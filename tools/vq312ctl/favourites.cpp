// `vq312ctl favourites`: the printer's favourites (APUI_ENTRYSET) listed,
// exported to a file and imported from one, for administrators who set up
// many machines without opening a window. The file is the value itself:
// 13880 bytes, ten slots of a used flag and a job settings record.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/text_win.h"
#include "pages/basic/favourites.h"
#include "settings/printer_store_win.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {

namespace {

constexpr char kFavouritesUsage[] =
    "usage: vq312ctl favourites [--printer NAME] list | export FILE | import FILE\n";

std::string NameOf(const JobSettings& js) {
  const std::u16string name = SettingsNameOf(js);
  return Narrow(std::wstring(name.begin(), name.end()));
}

int List(PrinterStore* store, const std::string& printer) {
  std::vector<unsigned char> value;
  uint32_t type = 0;
  ReadPrinterValue(store, pd::kEntrySet, &value, &type);
  const EntrySetStatus status = CheckEntrySet(value.empty() ? nullptr : value.data(), value.size());
  FavouriteSet set{};
  if (!ReadFavourites(store, &set)) {
    Print("vq312ctl: the favourites of \"%s\" cannot be read: %s\n", printer.c_str(),
          EntrySetStatusName(status));
    return 1;
  }
  Print("Favourites of \"%s\": %u of %u\n", printer.c_str(), set.count, set.maximum);
  if (status != EntrySetStatus::kOk)
    Print("  (the stored value is damaged: %s; only the entries before the damage are offered)\n",
          EntrySetStatusName(status));
  for (uint32_t slot = 0; slot < set.count; ++slot) {
    const JobSettings& js = set.slots[slot].settings;
    const std::u16string paper(js.Paper.paperName, js.Paper.paperName + std::char_traits<char16_t>::length(js.Paper.paperName));
    Print("  %u  %-16s  paper %d (%s), %d copies, media %u, %s\n", slot + 1, NameOf(js).c_str(),
          js.dmPaperSize, Narrow(std::wstring(paper.begin(), paper.end())).c_str(), js.dmCopies,
          js.MediaTypeId, js.dmOrientation == 2 ? "landscape" : "portrait");
  }
  return 0;
}

int Export(PrinterStore* store, const std::wstring& file) {
  std::vector<unsigned char> value;
  uint32_t type = 0;
  if (!ReadPrinterValue(store, pd::kEntrySet, &value, &type) || value.size() != kEntrySetSize) {
    Print("vq312ctl: the printer holds no favourites of %u bytes to export\n", kEntrySetSize);
    return 1;
  }
  std::ofstream out(file.c_str(), std::ios::binary | std::ios::trunc);
  if (!out.write(reinterpret_cast<const char*>(value.data()), std::streamsize(value.size()))) {
    Print("vq312ctl: cannot write %s\n", Narrow(file).c_str());
    return 1;
  }
  Print("Exported the favourites (%u bytes) to %s\n", kEntrySetSize, Narrow(file).c_str());
  return 0;
}

// A file is taken whole or not at all: its size, flags, packing and every
// record's signature and version are checked before anything is stored.
int Import(PrinterStore* store, const std::wstring& file) {
  std::ifstream in(file.c_str(), std::ios::binary);
  if (!in) {
    Print("vq312ctl: cannot read %s\n", Narrow(file).c_str());
    return 1;
  }
  // One byte more than a value holds is enough to call the file too long.
  std::vector<unsigned char> bytes(kEntrySetSize + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  bytes.resize(size_t(in.gcount()));
  const EntrySetStatus status = CheckEntrySet(bytes.data(), bytes.size());
  if (status != EntrySetStatus::kOk) {
    Print("vq312ctl: %s is not a favourites file of this driver: %s. The stored favourites are "
          "unchanged.\n", Narrow(file).c_str(), EntrySetStatusName(status));
    return 1;
  }
  FavouriteSet set{};
  if (!ReadFavourites(store, &set)) {
    Print("vq312ctl: the printer's favourites numbers cannot be read; nothing imported\n");
    return 1;
  }
  set.count = kFavouriteSlots;
  LoadEntrySet(bytes.data(), bytes.size(), &set);
  if (set.count > set.maximum) {
    Print("vq312ctl: the file holds %u favourites, the printer takes %u. The stored favourites are "
          "unchanged.\n", set.count, set.maximum);
    return 1;
  }
  if (!SaveFavourites(store, set, set.count)) {
    Print("vq312ctl: cannot store the favourites (error %lu); administrator rights are needed\n",
          GetLastError());
    return 1;
  }
  Print("Imported %u favourites from %s\n", set.count, Narrow(file).c_str());
  return 0;
}

}  // namespace

int RunFavourites(int argc, wchar_t** argv) {
  return RunListExportImport(argc, argv, {kFavouritesUsage, List, Export, Import});
}

}  // namespace vq::ctl
