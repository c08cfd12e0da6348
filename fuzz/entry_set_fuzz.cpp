// Fuzz target for the favourites reader: any bytes as APUI_ENTRYSET, any
// count, then the operations the dialog runs on what was read. Aborts when
// the reader offers a slot that is not a used record of this driver, or when
// a deletion leaves the set unpacked.
//
// Input layout: byte 0 the stored APUI_ENTRYSETNUM, byte 1 the maximum,
// the rest the value (13880 bytes make it the right size).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "pages/basic/favourites.h"
#include "settings/memory_store.h"

using namespace vq;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  auto printer = std::make_shared<MemoryPrinter>();
  printer->SetDword(pd::kEntrySetNum, data[0]);
  printer->SetDword(pd::kEntrySetDefNum, 2);
  printer->SetDword(pd::kEntrySetMaxNum, data[1]);
  printer->SetBinary(pd::kEntrySet, data + 2, size - 2);
  auto store = OpenMemoryPrinter(printer);
  static FavouriteSet set;
  const bool read = ReadFavourites(store.get(), &set);
  if (read != (size - 2 == kEntrySetSize)) std::abort();
  if (!read) return 0;
  if (set.count > kFavouriteSlots || set.maximum > kFavouriteSlots) std::abort();
  for (uint32_t i = 0; i < set.count; ++i) {
    if (!set.InUse(i) || !HasSignature(set.slots[i].settings)) std::abort();
    (void)ClassifyFavourite(set, i + 2, false, {});
    (void)PlanSave(set, int32_t(i + 2), set.Name(i), true, u"a", u"b");
  }
  const uint32_t before = set.count;
  if (before > 0) {
    if (!DeleteFavouriteSlot(&set, 0) || set.count != before - 1) std::abort();
    for (uint32_t i = 0; i < set.count; ++i)
      if (!set.InUse(i)) std::abort();
    RemoveFavourite(store.get(), set);
  }
  (void)AddFavourite(&set, set.slots[0].settings, u"x");
  if (set.count > kFavouriteSlots) std::abort();
  return 0;
}
