// Fuzz target for the stored media table: any bytes as APUI_MEDIADATA under
// a count near or far from what they hold, then what the media editor does
// with a table it accepted. Aborts when the reader accepts a table that is
// not the stored bytes, when a row as shown counts as an unsaved edit, or
// when a save or a deletion touches any record but its own.
//
// Input layout:
//   byte 0   bits 0..1  count = records held + 0, -1, +1, or 2^31
//            bits 2..3  class of the saved record (index into 1, 2, 4, 3)
//            bits 4..7  the row deleted (modulo the table's size)
//   byte 1   the first ink value of the save (the others are 40)
//   byte 2.. the value; its first bytes also name the save (up to 8 units)
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "pages/utility/media_editor.h"
#include "settings/memory_store.h"
#include "settings/printer_store.h"

using namespace vq;

namespace {

bool SameRecords(const MediaData* a, const MediaData* b, size_t n) {
  return n == 0 || std::memcmp(a, b, n * sizeof(MediaData)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const uint8_t* value = data + 2;
  const size_t valueSize = size - 2;
  const uint32_t held = uint32_t(valueSize / kMediaDataSize);
  const uint32_t deltas[4] = {held, held - 1, held + 1, 0x80000000u};
  const uint32_t count = deltas[flags & 3];

  auto memory = std::make_shared<MemoryPrinter>();
  memory->SetDword(pd::kMediaDataCount, count);
  memory->SetBinary(pd::kMediaData, value, valueSize);
  auto printer = OpenMemoryPrinter(memory);

  std::vector<MediaData> table;
  const media::TableStatus status = media::LoadMediaTable(printer.get(), &table);
  const bool whole = valueSize == size_t{count} * kMediaDataSize;
  if ((status == media::TableStatus::kOk) != whole) std::abort();
  if (status != media::TableStatus::kOk) return 0;
  if (table.size() != count || (count && std::memcmp(table.data(), value, valueSize) != 0)) std::abort();

  for (size_t row = 0; row < table.size(); ++row) {
    const MediaData& m = table[row];
    if (media::IsCustom(m) && media::NameOf(m).empty()) continue;  // a nameless custom row differs
    if (media::EditsDiffer(table, media::EditsForRow(table, int(row), 600), 600)) std::abort();
  }

  // Save a record named after the value's first bytes.
  std::u16string name;
  for (size_t i = 0; i + 1 < std::min<size_t>(valueSize, 16); i += 2)
    if (const char16_t c = char16_t(value[i] | value[i + 1] << 8)) name += c;
  const uint32_t classes[4] = {1, 2, 4, 3};
  const uint32_t classValue = classes[(flags >> 2) & 3];
  media::InkValues values;
  values.fill(40);
  values[0] = std::min<uint32_t>(data[1], media::kValueMax);
  const std::vector<MediaData> before = table;
  const media::SavePlan plan = media::PlanSave(table, name, classValue, values, 600);
  if (plan.step == media::SaveStep::kAskAdd || plan.step == media::SaveStep::kAskReplace) {
    if (!media::ApplySave(printer.get(), &table, plan, name, classValue, values)) std::abort();
    std::vector<MediaData> stored;
    if (media::LoadMediaTable(printer.get(), &stored) != media::TableStatus::kOk) std::abort();
    if (plan.step == media::SaveStep::kAskAdd) {
      if (stored.size() != before.size() + 1 || !SameRecords(stored.data(), before.data(), before.size()))
        std::abort();
      if (std::count_if(stored.begin(), stored.end(),
                        [&](const MediaData& m) { return m.mediaId == plan.newId; }) != 1)
        std::abort();
    } else {
      const size_t i = size_t(plan.index);
      if (stored.size() != before.size() || !SameRecords(stored.data(), before.data(), i) ||
          !SameRecords(stored.data() + i + 1, before.data() + i + 1, before.size() - i - 1))
        std::abort();
    }
    if (media::ValuesOf(stored[plan.step == media::SaveStep::kAskAdd ? before.size() : size_t(plan.index)]) != values)
      std::abort();
  }

  if (table.empty()) return 0;
  const size_t gone = (flags >> 4) % table.size();
  const std::vector<MediaData> kept = table;
  if (media::ApplyDelete(printer.get(), &table, int(gone), 1, 1) != media::DeleteResult::kDeleted) std::abort();
  std::vector<MediaData> stored;
  if (media::LoadMediaTable(printer.get(), &stored) != media::TableStatus::kOk ||
      stored.size() != kept.size() - 1 || !SameRecords(stored.data(), kept.data(), gone) ||
      !SameRecords(stored.data() + gone, kept.data() + gone + 1, kept.size() - gone - 1))
    std::abort();
  return 0;
}
