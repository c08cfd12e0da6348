// The printer state record that VQ312GS.dll's GetStateBSCC fills (5216
// bytes) and the maintenance pages read, and the printer items that its
// GetSettingStatus answers.
//
// The record holds pointers to byte strings ("sections"); a missing section
// is a null pointer. The sections themselves live inside the record, in the
// area between kSectionAreaBegin and kSectionAreaEnd, so the record owns its
// data and a reader can prove every byte it touches lies in the record: a
// pointer that leads anywhere else counts as an absent section. A record is
// therefore read where it was filled, never from a copy.
//
// A section starts with a four-byte tag; its entries, two bytes each (code,
// value), start at byte 4. The alert section's entries run until "DSC:".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vq {

inline constexpr size_t kStateRecordSize = 5216;
inline constexpr uint32_t kNoStateRead = 4294967295u;  // GetStateBSCC: nothing could be read

// Offsets of the section pointers.
inline constexpr size_t kStateSectionField = 16;
inline constexpr size_t kAlertSectionField = 32;
inline constexpr size_t kJobSectionField = 40;
inline constexpr size_t kResultSectionField = 72;
inline constexpr size_t kExchangeSectionField = 5200;

// Where GetStateBSCC puts the section bytes.
inline constexpr size_t kSectionAreaBegin = 80;
inline constexpr size_t kSectionAreaEnd = 5200;

// The modes of the state section's byte 4 that the maintenance steps test.
inline constexpr uint8_t kModeReady = 0;
inline constexpr uint8_t kModePrinting = 1;
inline constexpr uint8_t kModeInkExchange = 3;
inline constexpr uint8_t kModeAsleep = 7;
// The result section's byte 6 once a command 54 run has finished.
inline constexpr uint8_t kResultDone = 129;

// Alert codes. " " and "!" carry a four-bit ink mask in their value
// (1 black, 2 cyan, 4 magenta, 8 yellow): empty and low tanks.
inline constexpr uint8_t kAlertInkEmpty = ' ';
inline constexpr uint8_t kAlertInkLow = '!';
inline constexpr uint8_t kAlertHeadFault = '#';
inline constexpr uint8_t kAlertBoxNearFull = '+';
inline constexpr uint8_t kAlertCoverOpen = 1;
inline constexpr uint8_t kAlertPaperOut = 2;
inline constexpr uint8_t kAlertCutterJam = 5;
inline constexpr uint8_t kAlertOffline = 10;

// A read-only view of a filled record.
class StateRecordView {
 public:
  // `record` holds kStateRecordSize bytes (fewer: every section absent).
  StateRecordView(const uint8_t* record, size_t size) : record_(record), size_(size) {}

  // The section a pointer field names, up to the end of the section area;
  // empty when absent or pointing outside the record.
  std::span<const uint8_t> Section(size_t field) const;
  bool Has(size_t field) const { return !Section(field).empty(); }
  // Byte `index` of a section, or nothing when the section is absent or
  // shorter.
  std::optional<uint8_t> Byte(size_t field, size_t index) const;

  // The alert entries up to "DSC:" (or the section's end), two bytes each.
  struct Alert {
    uint8_t code, value;
  };
  std::vector<Alert> Alerts() const;

 private:
  const uint8_t* record_;
  size_t size_;
};

// IsPrinterBusy's answers.
enum BusyResult : int {
  kNotBusy = 0,
  kBusy = 1,
  kBusyNoArgument = 2,
  kBusyNoMemory = 5,
  kBusyUnreadable = 6,
};
// Busy when the job section is present with byte 4 non-zero.
bool RecordSaysBusy(const StateRecordView& record);

// Printer items of GetSettingStatus and the bytes each fills.
enum SettingItem : uint32_t {
  kItemSleepTimer = 16,         // u32 first time, u32 second time
  kItemSwitches1 = 17,          // u8 S1
  kItemRegistration = 19,       // 12 signed bytes
  kItemPaperType = 21,          // u8 4, 5 or 6
  kItemCapabilities = 24,       // nine u32 words
  kItemCutStopPosition = 25,    // u32 slider position 0..40
  kItemCutPosition = 26,        // u32 slider position 0..40
  kItemCutterMode = 27,         // u8, bit 0
  kItemTearOff = 31,            // u32
  kItemSwitches2 = 43,          // u8 S2
  kItemSwitches2Fallback = 44,  // two u32 words
  kItemSwitches3 = 62,          // u8 S3
  kItemDryingTime = 63,         // u32
};
// The size of an item's answer; 0 for an unknown item.
size_t SettingItemSize(uint32_t item);
// The largest answer, for callers that do not know the item in advance.
inline constexpr size_t kLargestSettingItem = 36;

// The wait functions of VQ312GS.dll talk to the wait dialog with these
// messages. Before starting a wait the dialog registers itself for its
// printer handle (SetWaitWindow, an export of VQ312GS.dll); Cancel first
// asks the wait to stop (CancelWait) and terminates the thread only when it
// does not end at once.
inline constexpr unsigned kWaitDoneMessage = 32770;      // wParam: result, 0 meaning 1
inline constexpr unsigned kWaitProgressMessage = 32771;  // wParam kProgressTwoBytes or kProgressOneByte
inline constexpr unsigned kWaitAlertMessage = 32772;     // lParam: alert entries up to "DSC:"
inline constexpr unsigned kProgressTwoBytes = 3;         // lParam -> (a, b)
inline constexpr unsigned kProgressOneByte = 8;          // lParam -> a

}  // namespace vq
