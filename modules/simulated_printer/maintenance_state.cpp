#include "modules/simulated_printer/maintenance_state.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "base/byte_reader.h"
#include "monitor/printer_state_record.h"

namespace vq::sim {
namespace {

constexpr char kTag[4] = {'V', 'Q', 'S', 'M'};
constexpr size_t kLogOffset = 80;
constexpr size_t kData42Offset = kLogOffset + 2 * kLogSize;

// Flags that only the printer sets (after commands 54 and 59).
constexpr uint8_t kFlagResultReady = 0x40;
constexpr uint8_t kFlagExchangeOpen = 0x80;

// Commands after which the printer works for a while: prints, cleanings,
// ink-system runs.
constexpr uint16_t kWorkingCommands[] = {10, 11, 13, 14, 15, 21, 28, 32, 33, 45, 47, 57, 58};

constexpr const char* kInkNames[4] = {"black", "cyan", "magenta", "yellow"};

void PutU16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

bool ParseNumber(std::string_view text, long long* out) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *out, base);
  return ec == std::errc() && ptr == end;
}

bool ParseRange(std::string_view text, long long lo, long long hi, long long* out) {
  return ParseNumber(text, out) && *out >= lo && *out <= hi;
}

// "a/b" into two numbers within their ranges.
bool ParsePair(std::string_view text, long long lo1, long long hi1, long long lo2, long long hi2,
               long long* a, long long* b) {
  const size_t slash = text.find('/');
  return slash != std::string_view::npos && ParseRange(text.substr(0, slash), lo1, hi1, a) &&
         ParseRange(text.substr(slash + 1), lo2, hi2, b);
}

bool ParseInkMask(std::string_view text, uint8_t* mask) {
  *mask = 0;
  if (text == "none") return true;
  while (!text.empty()) {
    const size_t plus = text.find('+');
    const std::string_view name = text.substr(0, plus);
    const auto* hit = std::find(std::begin(kInkNames), std::end(kInkNames), name);
    if (hit == std::end(kInkNames)) return false;
    *mask |= uint8_t(1u << (hit - std::begin(kInkNames)));
    text = plus == std::string_view::npos ? std::string_view() : text.substr(plus + 1);
  }
  return true;
}

std::string InkNames(uint8_t mask) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    if (!(mask & (1u << i))) continue;
    if (!text.empty()) text.push_back('+');
    text.append(kInkNames[i]);
  }
  return text.empty() ? "none" : text;
}

void SetFlag(MaintenanceState* state, uint8_t flag, bool on) {
  state->flags = on ? uint8_t(state->flags | flag) : uint8_t(state->flags & ~flag);
}

}  // namespace

std::vector<uint8_t> EncodeMaintenance(const MaintenanceState& s) {
  std::vector<uint8_t> b(kMaintenanceValueSize, 0);
  std::memcpy(b.data(), kTag, 4);
  for (size_t i = 0; i < 12; ++i) b[4 + i] = uint8_t(s.registration[i]);
  b[16] = s.switches1;
  b[17] = s.switches2;
  b[18] = s.switches3;
  b[19] = s.paperType;
  PutU32LE(&b[20], s.sleepFirst);
  PutU32LE(&b[24], s.sleepSecond);
  PutU32LE(&b[28], s.cutStop);
  PutU32LE(&b[32], s.cutPosition);
  b[36] = s.cutterMode;
  b[37] = s.inkEmpty;
  b[38] = s.inkLow;
  b[39] = s.flags;
  PutU32LE(&b[40], s.tearOff);
  PutU32LE(&b[44], s.dryingTime);
  PutU32LE(&b[48], s.capabilities);
  PutU32LE(&b[52], s.workMs);
  PutU16(&b[56], s.runningCommand);
  PutU32LE(&b[60], s.runningMs);
  PutU32LE(&b[64], uint32_t(s.startedAt));
  PutU32LE(&b[68], uint32_t(s.startedAt >> 32));
  PutU32LE(&b[72], s.commandCount);
  const size_t entries = std::min(s.log.size(), kLogSize);
  b[76] = uint8_t(entries);
  for (size_t i = 0; i < entries; ++i)
    PutU16(&b[kLogOffset + 2 * i], s.log[s.log.size() - entries + i]);
  PutU32LE(&b[kData42Offset], s.lastData42[0]);
  PutU32LE(&b[kData42Offset + 4], s.lastData42[1]);
  return b;
}

bool DecodeMaintenance(const uint8_t* bytes, size_t size, MaintenanceState* out) {
  if (!bytes || size != kMaintenanceValueSize || std::memcmp(bytes, kTag, 4) != 0) return false;
  const ByteReader r(bytes, size);
  MaintenanceState s;
  for (size_t i = 0; i < 12; ++i) s.registration[i] = int8_t(r.U8(4 + i));
  s.switches1 = r.U8(16);
  s.switches2 = r.U8(17);
  s.switches3 = r.U8(18);
  s.paperType = r.U8(19);
  s.sleepFirst = r.U32LE(20);
  s.sleepSecond = r.U32LE(24);
  s.cutStop = r.U32LE(28);
  s.cutPosition = r.U32LE(32);
  s.cutterMode = r.U8(36);
  s.inkEmpty = r.U8(37) & 0x0F;
  s.inkLow = r.U8(38) & 0x0F;
  s.flags = r.U8(39);
  s.tearOff = r.U32LE(40);
  s.dryingTime = r.U32LE(44);
  s.capabilities = r.U32LE(48);
  s.workMs = r.U32LE(52);
  s.runningCommand = r.U16LE(56);
  s.runningMs = r.U32LE(60);
  s.startedAt = r.U32LE(64) | uint64_t{r.U32LE(68)} << 32;
  s.commandCount = r.U32LE(72);
  const size_t entries = std::min<size_t>(r.U8(76), kLogSize);
  for (size_t i = 0; i < entries; ++i) s.log.push_back(r.U16LE(kLogOffset + 2 * i));
  s.lastData42 = {r.U32LE(kData42Offset), r.U32LE(kData42Offset + 4)};
  *out = std::move(s);
  return true;
}

uint16_t RunningCommand(const MaintenanceState& s, uint64_t now) {
  if (!s.runningCommand || now < s.startedAt) return s.runningCommand;
  return now - s.startedAt < s.runningMs ? s.runningCommand : 0;
}

Progress CommandProgress(const MaintenanceState& s, uint64_t now) {
  if (!RunningCommand(s, now) || s.runningMs == 0) return {100, 0};
  const uint64_t elapsed = now > s.startedAt ? now - s.startedAt : 0;
  const uint64_t left = s.runningMs - elapsed;
  return {uint8_t(elapsed * 100 / s.runningMs), uint8_t(std::min<uint64_t>((left + 59999) / 60000, 255))};
}

bool AcceptsCommands(const PrinterState& printer, const MaintenanceState& state) {
  return printer.state != kOffline && printer.state != kError &&
         printer.port != PortBehaviour::kUnplugged && !(state.flags & kFlagRefuseCommands);
}

bool IsReady(const PrinterState& printer, const MaintenanceState& state, uint64_t now) {
  return (printer.state == kIdle || printer.state == kAsleep) && printer.alerts == 0 &&
         state.inkEmpty == 0 && RunningCommand(state, now) == 0;
}

bool ApplyCommand(uint32_t code, const CommandData& data, uint64_t now, PrinterState* printer,
                  MaintenanceState* s) {
  ++s->commandCount;
  s->log.push_back(uint16_t(code));
  if (s->log.size() > kLogSize) s->log.erase(s->log.begin());
  if (!AcceptsCommands(*printer, *s)) return false;
  if (std::find(std::begin(kWorkingCommands), std::end(kWorkingCommands), code) !=
      std::end(kWorkingCommands)) {
    if (printer->state == kAsleep) printer->state = kIdle;
    if (s->workMs) {
      s->runningCommand = uint16_t(code);
      s->runningMs = s->workMs;
      s->startedAt = now;
    }
    return true;
  }
  switch (code) {
    case 16:
      if (!data.haveSleep) return false;
      s->sleepFirst = data.sleepValue & 0xFFFF;
      s->sleepSecond = (data.sleepValue >> 16 & 0xFF) << 8 | data.sleepValue >> 24;
      return true;
    case 17:
      for (const auto& b : data.switches)
        if (b.size() != 1) return false;
      s->switches1 = data.switches[0][0];
      s->switches2 = data.switches[1][0];
      s->switches3 = data.switches[2][0];
      return true;
    case 19:
      if (data.registration.size() != 12) return false;
      for (size_t i = 0; i < 12; ++i) s->registration[i] = int8_t(data.registration[i]);
      return true;
    case 24:
      if (!data.haveCut || data.cutStop > 40 || data.cutPosition > 40) return false;
      s->cutStop = data.cutStop;
      s->cutPosition = data.cutPosition;
      return true;
    case 31:
      if (data.tearOff.size() != 4) return false;
      s->tearOff = ByteReader(data.tearOff.data(), 4).U32LE(0);
      return true;
    case 42:
      if (!data.block) return false;
      s->lastData42 = {ByteReader(data.block, 8).U32LE(0), ByteReader(data.block, 8).U32LE(4)};
      return true;
    case 53:
      if (printer->state == kAsleep) printer->state = kIdle;
      return true;
    case 54:
      SetFlag(s, kFlagResultReady, true);
      return true;
    case 55:
      printer->state = kPaused;  // the ink exchange mode
      return true;
    case 56:
      if (printer->state == kPaused) printer->state = kIdle;
      SetFlag(s, kFlagExchangeOpen, false);
      return true;
    case 59:
      SetFlag(s, kFlagExchangeOpen, true);
      return true;
    default:
      return true;  // the printer's business; it is logged
  }
}

bool AnswerSettingItem(uint32_t item, const MaintenanceState& s, uint8_t* out) {
  if (s.flags & kFlagNoSettings) return false;
  switch (item) {
    case kItemSleepTimer:
      PutU32LE(out, s.sleepFirst);
      PutU32LE(out + 4, s.sleepSecond);
      return true;
    case kItemSwitches1:
      *out = s.switches1;
      return true;
    case kItemRegistration:
      for (size_t i = 0; i < 12; ++i) out[i] = uint8_t(s.registration[i]);
      return true;
    case kItemPaperType:
      *out = s.paperType;
      return true;
    case kItemCapabilities:
      for (uint32_t w = 0; w < 9; ++w) PutU32LE(out + 4 * w, s.capabilities >> w & 1);
      return true;
    case kItemCutStopPosition:
      PutU32LE(out, s.cutStop);
      return true;
    case kItemCutPosition:
      PutU32LE(out, s.cutPosition);
      return true;
    case kItemCutterMode:
      *out = s.cutterMode;
      return true;
    case kItemTearOff:
      PutU32LE(out, s.tearOff);
      return true;
    case kItemSwitches2:
      *out = s.switches2;
      return true;
    case kItemSwitches2Fallback:
      PutU32LE(out, s.switches2 & 1);
      PutU32LE(out + 4, s.switches2 >> 1 & 1);
      return true;
    case kItemSwitches3:
      *out = s.switches3;
      return true;
    case kItemDryingTime:
      PutU32LE(out, s.dryingTime);
      return true;
    default:
      return false;
  }
}

void FillStateRecord(const PrinterState& printer, const MaintenanceState& s, uint64_t now,
                     uint8_t* record) {
  size_t next = kSectionAreaBegin;
  auto place = [&](size_t field, std::string_view tag, const std::vector<uint8_t>& entries) {
    uint8_t* section = record + next;
    std::memcpy(section, tag.data(), 4);
    std::copy(entries.begin(), entries.end(), section + 4);
    const uintptr_t pointer = reinterpret_cast<uintptr_t>(section);
    std::memcpy(record + field, &pointer, sizeof pointer);
    next += 4 + entries.size() + 4;  // a zero gap after each section
  };
  const bool running = RunningCommand(s, now) != 0;
  const uint8_t mode = running && printer.state == kIdle ? uint8_t(kCleaning) : printer.state;
  place(kStateSectionField, "STA:", {mode, 0});
  std::vector<uint8_t> alerts;
  auto add = [&](uint8_t code, uint8_t value) { alerts.insert(alerts.end(), {code, value}); };
  if (printer.state == kOffline) add(kAlertOffline, 0);
  if (printer.alerts & kCoverOpen) add(kAlertCoverOpen, 0);
  if (printer.alerts & kPaperOut) add(kAlertPaperOut, 0);
  if (printer.alerts & kCutterJam) add(kAlertCutterJam, 0);
  if (printer.alerts & kHeadError) add(kAlertHeadFault, 0);
  if ((printer.alerts & kInkOut) || s.inkEmpty) add(kAlertInkEmpty, s.inkEmpty ? s.inkEmpty : 0x0F);
  if (s.inkLow) add(kAlertInkLow, s.inkLow);
  if (s.flags & kFlagBoxNearFull) add(kAlertBoxNearFull, 0);
  if (!alerts.empty()) {
    alerts.insert(alerts.end(), {'D', 'S', 'C', ':'});
    place(kAlertSectionField, "ALR:", alerts);
  }
  if (printer.state == kBusy) place(kJobSectionField, "JOB:", {1, 0});
  if (s.flags & kFlagResultReady) place(kResultSectionField, "RES:", {54, 0, kResultDone, 0});
  if (s.flags & kFlagExchangeOpen)
    place(kExchangeSectionField, "EXC:", {59, 0, 0, 0, 0, uint8_t(s.flags & kFlagExchangeDone ? 1 : 0)});
}

bool ApplyMaintenanceSetting(std::string_view word, MaintenanceState* s, bool* known,
                             std::string* error) {
  const size_t eq = word.find('=');
  const std::string_view key = word.substr(0, eq);
  const std::string_view value = eq == std::string_view::npos ? std::string_view() : word.substr(eq + 1);
  *known = true;
  MaintenanceState next = *s;
  long long a = 0, b = 0;
  bool ok = true;
  if (key == "reg") {
    size_t i = 0;
    std::string_view rest = value;
    for (; i < 12 && ok; ++i) {
      const size_t comma = rest.find(',');
      ok = ParseRange(rest.substr(0, comma), -128, 127, &a);
      next.registration[i] = int8_t(a);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
      if (comma == std::string_view::npos) {
        ++i;
        break;
      }
    }
    ok = ok && i == 12 && rest.empty();
  } else if (key == "s1" || key == "s2" || key == "s3" || key == "paper-type") {
    ok = ParseRange(value, 0, 255, &a);
    (key == "s1" ? next.switches1 : key == "s2" ? next.switches2 : key == "s3" ? next.switches3
                                                                                 : next.paperType) =
        uint8_t(a);
  } else if (key == "sleep") {
    ok = ParsePair(value, 1, 60, 0, 720, &a, &b);
    next.sleepFirst = uint32_t(a);
    next.sleepSecond = uint32_t(b);
  } else if (key == "cut") {
    ok = ParsePair(value, 0, 40, 0, 40, &a, &b);
    next.cutStop = uint32_t(a);
    next.cutPosition = uint32_t(b);
  } else if (key == "cutter-mode") {
    ok = ParseRange(value, 0, 1, &a);
    next.cutterMode = uint8_t(a);
  } else if (key == "ink-empty") {
    ok = ParseInkMask(value, &next.inkEmpty);
  } else if (key == "ink-low") {
    ok = ParseInkMask(value, &next.inkLow);
  } else if (key == "box") {
    ok = value == "near-full" || value == "ok";
    SetFlag(&next, kFlagBoxNearFull, value == "near-full");
  } else if (key == "settings") {
    ok = value == "none" || value == "answers";
    SetFlag(&next, kFlagNoSettings, value == "none");
  } else if (key == "commands") {
    ok = value == "refused" || value == "accepted";
    SetFlag(&next, kFlagRefuseCommands, value == "refused");
  } else if (key == "exchange") {
    ok = value == "done" || value == "due";
    SetFlag(&next, kFlagExchangeDone, value == "done");
  } else if (key == "work") {
    ok = ParseRange(value, 0, 3600000, &a);
    next.workMs = uint32_t(a);
  } else if (key == "caps") {
    ok = ParseRange(value, 0, 0x1FF, &a);
    next.capabilities = uint32_t(a);
  } else if (key == "tear-off") {
    ok = ParseRange(value, 0, 0xFFFFFFFFll, &a);
    next.tearOff = uint32_t(a);
  } else if (key == "log" && value == "clear") {
    next.log.clear();
    next.commandCount = 0;
  } else {
    *known = false;
    return false;
  }
  if (!ok) {
    error->assign("bad value in \"");
    error->append(word);
    error->push_back('"');
    return false;
  }
  *s = next;
  return true;
}

std::string MaintenanceSettingWords() {
  return "reg=B0,...,B11 s1=N s2=N s3=N paper-type=N sleep=FIRST/SECOND cut=STOP/POS "
         "cutter-mode=0|1 ink-empty=black+cyan+magenta+yellow|none ink-low=... "
         "box=near-full|ok settings=none|answers commands=refused|accepted exchange=done|due "
         "work=MS caps=MASK tear-off=N log=clear";
}

std::string DescribeMaintenance(const MaintenanceState& s, uint64_t now) {
  // Built from pieces appended one by one: GCC 12 warns falsely about
  // "text" + std::string temporaries in this build.
  std::string t = "  registration:";
  for (int8_t v : s.registration) {
    t += ' ';
    t += std::to_string(v);
  }
  char line[256];
  std::snprintf(line, sizeof line,
                "\n  switches: S1 0x%02X, S2 0x%02X, S3 0x%02X, tear-off %u, capabilities 0x%03X\n",
                s.switches1, s.switches2, s.switches3, s.tearOff, s.capabilities);
  t += line;
  std::snprintf(line, sizeof line, "  sleep timer: %u min, power off ", s.sleepFirst);
  t += line;
  if (s.sleepSecond) {
    std::snprintf(line, sizeof line, "%u min\n", s.sleepSecond);
    t += line;
  } else {
    t += "never\n";
  }
  std::snprintf(line, sizeof line, "  cutter: stop position %u, cut position %u, mode %u\n",
                s.cutStop, s.cutPosition, s.cutterMode);
  t += line;
  t += "  ink empty ";
  t += InkNames(s.inkEmpty);
  t += ", ink low ";
  t += InkNames(s.inkLow);
  t += ", maintenance box ";
  t += s.flags & kFlagBoxNearFull ? "near full" : "ok";
  if (s.flags & kFlagNoSettings) t += ", answers no settings";
  if (s.flags & kFlagRefuseCommands) t += ", refuses commands";
  t += '\n';
  const uint16_t running = RunningCommand(s, now);
  if (running) {
    std::snprintf(line, sizeof line, "  working on command %u: %u%% done\n", running,
                  CommandProgress(s, now).percent);
  } else {
    std::snprintf(line, sizeof line, "  working on nothing (a working command takes %u ms)\n",
                  s.workMs);
  }
  t += line;
  std::snprintf(line, sizeof line, "  commands received: %u; last:", s.commandCount);
  t += line;
  for (uint16_t c : s.log) {
    t += ' ';
    t += std::to_string(c);
  }
  t += '\n';
  return t;
}

}  // namespace vq::sim
