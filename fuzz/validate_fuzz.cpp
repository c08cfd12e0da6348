// Fuzz target for the job settings record: ValidateJobSettings over any
// record and any paper table, and the no-UI device-mode request over any
// caller device mode. Aborts when a record that validation accepted changes
// on a second validation.
//
// Input layout:
//   bytes 0 .. 1383   the record (zero-padded when the input is shorter)
//   byte 1384         flags
//     bit 0           make it this driver's record: dmSize, dmDriverExtra,
//                     signature and DM_PAPERSIZE set, so validation goes deep
//     bit 1           dmPaperSize = id of table record (flags >> 4), 15 = last
//     bits 2..3       APUI_PAPERINFO: 0 the installed table, 1 the rest of the
//                     input (any size), 2 none, 3 the installed table followed
//                     by the rest of the input
//   bytes 1385 ..     paper table bytes; also the device mode's bytes beyond
//                     1384 when it claims more
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "settings/devmode_request.h"
#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace {

using namespace vq;

struct Bed {
  test::TestPrinter printer;
  std::vector<unsigned char> installedTable;
  Bed() { installedTable = printer.data->values[pd::kPaperInfo].bytes; }
};

void ValidateTwice(JobSettings* js, PrinterStore* store, const DriverServices& svc) {
  if (!ValidateJobSettings(js, store, svc)) return;
  JobSettings again = *js;
  if (!ValidateJobSettings(&again, store, svc) || std::memcmp(&again, js, sizeof again) != 0)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Bed bed;
  MemoryPrinter& printer = *bed.printer.data;
  const DriverServices& svc = bed.printer.svc;

  JobSettings record{};
  std::memcpy(&record, data, std::min<size_t>(size, sizeof record));
  const uint8_t flags = size > sizeof record ? data[sizeof record] : 0;
  const uint8_t* rest = size > sizeof record + 1 ? data + sizeof record + 1 : nullptr;
  const size_t restSize = rest ? size - sizeof record - 1 : 0;

  std::vector<unsigned char> table;
  switch ((flags >> 2) & 3) {
    case 0: table = bed.installedTable; break;
    case 1: table.assign(rest, rest + restSize); break;
    case 3:
      table = bed.installedTable;
      table.insert(table.end(), rest, rest + restSize);
      break;
  }
  if (((flags >> 2) & 3) == 2)
    printer.values.erase(pd::kPaperInfo);
  else
    printer.SetBinary(pd::kPaperInfo, table.data(), table.size());

  if (flags & 1) {
    record.dmSize = kPublicSize;
    record.dmDriverExtra = kPrivateSize;
    std::memcpy(record.Signature, kSignature, sizeof kSignature);
    record.dmFields |= kDmPaperSize;
  }
  const size_t papers = table.size() / sizeof(PaperInfo);
  if ((flags & 2) && papers) {
    const size_t index = (flags >> 4) == 15 ? papers - 1 : std::min<size_t>(flags >> 4, papers - 1);
    uint32_t id;
    std::memcpy(&id, table.data() + index * sizeof(PaperInfo) + offsetof(PaperInfo, paperId), 4);
    record.dmPaperSize = static_cast<int16_t>(id);
  }

  auto store = bed.printer.Open();
  JobSettings js = record;
  ValidateTwice(&js, store.get(), svc);

  // The caller's device mode ends exactly where its allocation does. It
  // cannot be shorter than the header that states its size.
  const size_t total = std::max<size_t>(DevModeTotalSize(&record), offsetof(JobSettings, dmFields));
  std::unique_ptr<unsigned char[]> in(new unsigned char[total]);
  std::memset(in.get(), 0, total);
  std::memcpy(in.get(), &record, std::min(total, sizeof record));
  if (total > sizeof record && rest)
    std::memcpy(in.get() + sizeof record, rest, std::min(total - sizeof record, restSize));
  JobSettings out;
  uint32_t cbOut = 0;
  for (uint32_t mode : {kDmCopy | kDmModify, kDmCopy}) {
    std::memset(&out, 0xAB, sizeof out);
    if (HandleDevModeRequest({store.get(), in.get(), &out, &cbOut, mode}, svc) != 1) std::abort();
    ValidateTwice(&out, store.get(), svc);
  }
  return 0;
}
