// The simulated printer's maintenance side: the settings it keeps (head
// registration, switches, sleep times, cutter offsets), what it is working
// on, its ink and maintenance-box alerts and a log of the commands it got.
// VQ312GS.dll answers from it, VQ312GD.dll changes it, `vq312ctl state`
// shows and sets it.
//
// It lives beside the printer's state value (simulated_printer.h) in a
// printer-data value of its own, "APSM_SIMMAINT" (REG_BINARY, layout below);
// a printer without it has the defaults.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modules/simulated_printer/simulated_printer.h"

namespace vq::sim {

inline constexpr char16_t kMaintenanceValue[] = u"APSM_SIMMAINT";

// Value layout (little-endian), kMaintenanceValueSize bytes:
//   0   "VQSM"
//   4   i8[12]  registration values b0..b11
//   16  u8 S1, u8 S2, u8 S3, u8 paper type (item 21)
//   20  u32 first sleep time, u32 second sleep time
//   28  u32 cut stop position, u32 cut position (slider positions 0..40)
//   36  u8 cutter mode, u8 ink-empty mask, u8 ink-low mask, u8 flags
//   40  u32 tear-off state (item 31), u32 drying time (item 63)
//   48  u32 capability words present (bit n: word n of item 24 is 1)
//   52  u32 how long a working command keeps the printer busy (ms)
//   56  u16 running command, u16 0, u32 its duration (ms)
//   64  u64 when it started (ms since 1601, UTC)
//   72  u32 commands received in all, u8 entries in the log, u8[3] 0
//   80  u16[kLogSize] the last commands, oldest first
//   80 + 2 * kLogSize  u32[2] the last command-42 data block
inline constexpr size_t kLogSize = 24;
inline constexpr size_t kMaintenanceValueSize = 80 + 2 * kLogSize + 8;

enum MaintenanceFlags : uint8_t {
  kFlagBoxNearFull = 0x01,   // the maintenance box is nearly full
  kFlagNoSettings = 0x02,    // the printer answers no setting item
  kFlagExchangeDone = 0x04,  // an ink exchange finds nothing to exchange
  kFlagRefuseCommands = 0x08,  // the command channel opens but every send fails
};

struct MaintenanceState {
  std::array<int8_t, 12> registration{};
  uint8_t switches1 = 0x06, switches2 = 0, switches3 = 0, paperType = 5;
  uint32_t sleepFirst = 4, sleepSecond = 240;
  uint32_t cutStop = 20, cutPosition = 20;
  uint8_t cutterMode = 0, inkEmpty = 0, inkLow = 0, flags = 0;
  uint32_t tearOff = 0, dryingTime = 0;
  uint32_t capabilities = 0x1FF;
  uint32_t workMs = 3000;
  uint16_t runningCommand = 0;
  uint32_t runningMs = 0;
  uint64_t startedAt = 0;
  uint32_t commandCount = 0;
  std::vector<uint16_t> log;  // at most kLogSize, oldest first
  std::array<uint32_t, 2> lastData42{};
};

std::vector<uint8_t> EncodeMaintenance(const MaintenanceState& state);
// false for a value that is not a maintenance record; *out is then unchanged.
bool DecodeMaintenance(const uint8_t* bytes, size_t size, MaintenanceState* out);

// The command the printer is working on at `now` (0: none), and how far it
// got (0..100) with the minutes left, rounded up.
uint16_t RunningCommand(const MaintenanceState& state, uint64_t now);
struct Progress {
  uint8_t percent, minutesLeft;
};
Progress CommandProgress(const MaintenanceState& state, uint64_t now);

// Whether the printer would take a command now: not offline, in error, or
// unplugged.
bool AcceptsCommands(const PrinterState& printer, const MaintenanceState& state);
// Ready for a maintenance command: idle or asleep, no alert but a low ink
// tank, nothing running.
bool IsReady(const PrinterState& printer, const MaintenanceState& state, uint64_t now);

// Settings of a command taken from the printer data when it is sent.
struct CommandData {
  std::vector<uint8_t> registration;       // command 19: APUI_REGPOSITION, 12 bytes
  std::vector<uint8_t> switches[3];        // command 17: APUI_SPECIALSET, _02, _03
  bool haveSleep = false;                  // command 16: APUI_DWSLEEPTIMER
  uint32_t sleepValue = 0;
  bool haveCut = false;                    // command 24: APUI_DWCUTSTOPPOS, APUI_DWCUTPOS
  uint32_t cutStop = 0, cutPosition = 0;
  std::vector<uint8_t> tearOff;            // command 31: APUI_SPECIALTEAROFF
  const uint8_t* block = nullptr;          // the caller's data block (command 42: 8 bytes)
};

// Applies a command at `now`: logged always, then what it does to the
// printer. false when the printer refuses it (the log still shows it).
bool ApplyCommand(uint32_t code, const CommandData& data, uint64_t now, PrinterState* printer,
                  MaintenanceState* state);

// GetSettingStatus: the answer for `item` into `out` (SettingItemSize bytes);
// false when the printer does not answer it.
bool AnswerSettingItem(uint32_t item, const MaintenanceState& state, uint8_t* out);

// The section bytes of GetStateBSCC, placed into a zeroed record of
// kStateRecordSize bytes (pointers included). Absent sections stay null.
void FillStateRecord(const PrinterState& printer, const MaintenanceState& state, uint64_t now,
                     uint8_t* record);

// `vq312ctl state` words of the maintenance side: "reg=B0,B1,...", "s1=0x28",
// "s2=", "s3=", "sleep=FIRST/SECOND", "cut=STOP/POS", "cutter-mode=0|1",
// "ink-empty=black+cyan|none", "ink-low=...", "box=near-full|ok",
// "settings=none|answers", "commands=refused|accepted", "exchange=done|due",
// "work=MS", "paper-type=N", "caps=HEX", "log=clear". false when the word is
// not one of them (*known false) or its value is bad (*known true, *error set).
bool ApplyMaintenanceSetting(std::string_view word, MaintenanceState* state, bool* known,
                             std::string* error);
std::string MaintenanceSettingWords();
// Several lines: settings, registration values, timers, what is running,
// the command log.
std::string DescribeMaintenance(const MaintenanceState& state, uint64_t now);

}  // namespace vq::sim
