#include "monitor/printer_state_record.h"

#include <cstring>

namespace vq {

std::span<const uint8_t> StateRecordView::Section(size_t field) const {
  if (!record_ || size_ < kStateRecordSize || field + sizeof(uintptr_t) > size_) return {};
  uintptr_t pointer = 0;
  std::memcpy(&pointer, record_ + field, sizeof pointer);
  const auto base = reinterpret_cast<uintptr_t>(record_);
  // Compared as addresses so that a pointer below the record cannot wrap.
  if (pointer < base + kSectionAreaBegin || pointer >= base + kSectionAreaEnd) return {};
  const size_t offset = pointer - base;
  return {record_ + offset, kSectionAreaEnd - offset};
}

std::optional<uint8_t> StateRecordView::Byte(size_t field, size_t index) const {
  const std::span<const uint8_t> s = Section(field);
  if (index >= s.size()) return std::nullopt;
  return s[index];
}

std::vector<StateRecordView::Alert> StateRecordView::Alerts() const {
  std::vector<Alert> alerts;
  const std::span<const uint8_t> s = Section(kAlertSectionField);
  for (size_t i = 4; i + 1 < s.size(); i += 2) {
    if (i + 4 <= s.size() && std::memcmp(s.data() + i, "DSC:", 4) == 0) break;
    alerts.push_back({s[i], s[i + 1]});
  }
  return alerts;
}

bool RecordSaysBusy(const StateRecordView& record) {
  const std::optional<uint8_t> job = record.Byte(kJobSectionField, 4);
  return job && *job != 0;
}

size_t SettingItemSize(uint32_t item) {
  switch (item) {
    case kItemSleepTimer:
    case kItemSwitches2Fallback:
      return 8;
    case kItemSwitches1:
    case kItemPaperType:
    case kItemCutterMode:
    case kItemSwitches2:
    case kItemSwitches3:
      return 1;
    case kItemRegistration:
      return 12;
    case kItemCapabilities:
      return 36;
    case kItemCutStopPosition:
    case kItemCutPosition:
    case kItemTearOff:
    case kItemDryingTime:
      return 4;
    default:
      return 0;
  }
}

}  // namespace vq
