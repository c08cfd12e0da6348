#include "modules/simulated_printer/simulated_printer.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vq::sim {
namespace {

constexpr char kTag[4] = {'V', 'Q', 'S', 'P'};
constexpr size_t kTextSize = 16;

struct Named {
  const char* name;
  uint8_t value;
};

// One table per kind of word; the tool's usage text is built from them.
constexpr Named kStates[] = {
    {"idle", kIdle},         {"busy", kBusy},       {"cleaning", kCleaning},
    {"paused", kPaused},     {"offline", kOffline}, {"error", kError},
    {"warming-up", kWarmingUp}, {"asleep", kAsleep},
};
constexpr Named kAlerts[] = {
    {"paper-out", kPaperOut}, {"cover-open", kCoverOpen}, {"ink-out", kInkOut},
    {"cutter-jam", kCutterJam}, {"head-error", kHeadError},
};
constexpr Named kBehaviours[] = {
    {"answers", uint8_t(PortBehaviour::kAnswers)}, {"silent", uint8_t(PortBehaviour::kSilent)},
    {"garbage", uint8_t(PortBehaviour::kGarbage)}, {"noisy", uint8_t(PortBehaviour::kNoisy)},
    {"mute", uint8_t(PortBehaviour::kMute)},       {"broken", uint8_t(PortBehaviour::kBroken)},
    {"unplugged", uint8_t(PortBehaviour::kUnplugged)},
};
constexpr int kNoiseReads = 3;

// Noise as a confused port sends it: no status record and a data record
// whose length runs far past what was sent.
constexpr uint8_t kNoise[] = {0x15, 0x15, 0x15, 0x15, 0x15, 'D', 'A', 'T', ':', 'r',
                              0x12, 0xFF, 0xF0, 'Q', '3', 0x00, 0x1B, 0x40};

const Named* Find(const Named* begin, const Named* end, std::string_view name) {
  const Named* hit =
      std::find_if(begin, end, [&](const Named& n) { return name == n.name; });
  return hit == end ? nullptr : hit;
}

template <size_t N>
const Named* Find(const Named (&table)[N], std::string_view name) {
  return Find(table, table + N, name);
}

template <size_t N>
const char* NameOf(const Named (&table)[N], uint8_t value) {
  for (const Named& n : table)
    if (n.value == value) return n.name;
  return nullptr;
}

template <size_t N>
std::string Names(const Named (&table)[N]) {
  std::string text;
  for (const Named& n : table) {
    if (!text.empty()) text += '|';
    text += n.name;
  }
  return text;
}

void PutText(uint8_t* field, std::string_view text) {
  std::memcpy(field, text.data(), std::min(text.size(), kTextSize));
}

std::string GetText(const uint8_t* field) {
  const auto* begin = reinterpret_cast<const char*>(field);
  return std::string(begin, std::find(begin, begin + kTextSize, '\0'));
}

bool Printable(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

uint32_t Copy(const std::vector<uint8_t>& from, uint8_t* buffer, size_t size) {
  const size_t n = std::min(from.size(), size);
  std::memcpy(buffer, from.data(), n);
  return static_cast<uint32_t>(n);
}

}  // namespace

std::vector<uint8_t> EncodeState(const PrinterState& state) {
  std::vector<uint8_t> bytes(kStateValueSize, 0);
  std::memcpy(bytes.data(), kTag, 4);
  bytes[4] = state.state;
  bytes[5] = state.alerts;
  bytes[6] = uint8_t(state.port);
  PutText(bytes.data() + 8, state.serial);
  PutText(bytes.data() + 24, state.firmware);
  return bytes;
}

bool DecodeState(const uint8_t* bytes, size_t size, PrinterState* out) {
  if (!bytes || size != kStateValueSize || std::memcmp(bytes, kTag, 4) != 0) return false;
  out->state = bytes[4];
  out->alerts = bytes[5];
  out->port = bytes[6] <= uint8_t(PortBehaviour::kUnplugged) ? PortBehaviour(bytes[6])
                                                              : PortBehaviour::kAnswers;
  out->serial = GetText(bytes + 8);
  out->firmware = GetText(bytes + 24);
  return true;
}

void AppendName(std::string* text, std::string_view name) {
  if (!text->empty()) *text += '+';
  *text += name;
}

const char* StateName(uint8_t state) { return NameOf(kStates, state); }

std::string AlertNames(uint8_t alerts) {
  std::string text;
  for (const Named& n : kAlerts)
    if (alerts & n.value) AppendName(&text, n.name);
  const uint8_t known = kPaperOut | kCoverOpen | kInkOut | kCutterJam | kHeadError;
  if (alerts & ~known) AppendName(&text, "other");
  return text.empty() ? "none" : text;
}

const char* PortBehaviourName(PortBehaviour behaviour) {
  return NameOf(kBehaviours, uint8_t(behaviour));
}

std::string Describe(const PrinterState& s) {
  const char* state = StateName(s.state);
  std::string text = "state " + (state ? std::string(state) : std::to_string(s.state));
  text += ", alerts " + AlertNames(s.alerts);
  text += ", serial " + s.serial + ", firmware " + s.firmware;
  text += ", port " + std::string(PortBehaviourName(s.port));
  return text;
}

bool ApplySetting(std::string_view word, PrinterState* state, std::string* error) {
  const size_t eq = word.find('=');
  const std::string_view key = word.substr(0, eq);
  const std::string_view value = eq == word.npos ? std::string_view() : word.substr(eq + 1);
  PrinterState next = *state;
  if (eq == word.npos) {
    if (word == "reset") {
      next = PrinterState{};
    } else if (const Named* s = Find(kStates, word)) {
      next.state = s->value;
    } else {
      *error = "unknown state \"" + std::string(word) + "\"";
      return false;
    }
  } else if (key == "alerts") {
    next.alerts = 0;
    if (value != "none") {
      size_t start = 0;
      while (start <= value.size()) {
        size_t plus = value.find('+', start);
        if (plus == value.npos) plus = value.size();
        const Named* a = Find(kAlerts, value.substr(start, plus - start));
        if (!a) {
          *error = "unknown alert \"" + std::string(value.substr(start, plus - start)) + "\"";
          return false;
        }
        next.alerts |= a->value;
        start = plus + 1;
      }
    }
  } else if (key == "serial" || key == "firmware") {
    // The driver shows exactly 10 and 5 characters; other lengths are
    // allowed so tests can send short answers.
    if (value.empty() || value.size() > kTextSize || !Printable(value)) {
      *error = std::string(key) + " takes 1 to 16 printable ASCII characters";
      return false;
    }
    (key == "serial" ? next.serial : next.firmware) = std::string(value);
  } else if (key == "port") {
    const Named* b = Find(kBehaviours, value);
    if (!b) {
      *error = "unknown port behaviour \"" + std::string(value) + "\"";
      return false;
    }
    next.port = PortBehaviour(b->value);
  } else {
    *error = "unknown setting \"" + std::string(word) + "\"";
    return false;
  }
  *state = next;
  return true;
}

std::string SettingWords() {
  std::string words = Names(kStates);
  words += " | alerts=";
  words += Names(kAlerts);
  words += "[+...]|none | serial=TEXT | firmware=TEXT | port=";
  words += Names(kBehaviours);
  words += " | reset";
  return words;
}

std::vector<uint8_t> StatusData(const PrinterState& state) {
  return {'A', 'L', 'R', ':', state.alerts, 'D', 'B', 'S', ':', state.state};
}

std::vector<uint8_t> IdentityData(const PrinterState& state) {
  std::vector<uint8_t> data = EncodeDataRecord(kReadCommand, kRequestSerial, state.serial);
  const std::vector<uint8_t> firmware =
      EncodeDataRecord(kReadCommand, kRequestFirmware, state.firmware);
  data.insert(data.end(), firmware.begin(), firmware.end());
  return data;
}

std::vector<uint8_t> AnswerPortCommand(const PrinterState& state, const uint8_t* bytes,
                                       size_t size) {
  if (!bytes || size != kPortCommandPrefix.size() + 4 ||
      !std::equal(kPortCommandPrefix.begin(), kPortCommandPrefix.end(), bytes) ||
      bytes[12] != kReadCommand || bytes[14] != 0 || bytes[15] != 0)
    return {};
  if (bytes[13] == kRequestSerial)
    return EncodeDataRecord(kReadCommand, kRequestSerial, state.serial);
  if (bytes[13] == kRequestFirmware)
    return EncodeDataRecord(kReadCommand, kRequestFirmware, state.firmware);
  return {};
}

int SimulatedPort::Read(const PrinterState& state, uint8_t* buffer, size_t size, uint32_t* got) {
  *got = 0;
  switch (state.port) {
    case PortBehaviour::kSilent:
      return -1;
    case PortBehaviour::kGarbage:
      *got = Copy(std::vector<uint8_t>(std::begin(kNoise), std::end(kNoise)), buffer, size);
      return 1;
    case PortBehaviour::kMute:
      if (commandSent_) return -1;
      break;
    case PortBehaviour::kBroken:
      if (commandSent_) return 0;
      break;
    case PortBehaviour::kNoisy:
      if (commandSent_ && noiseLeft_ > 0) {
        --noiseLeft_;
        *got = Copy(std::vector<uint8_t>(std::begin(kNoise), std::end(kNoise)), buffer, size);
        return 1;
      }
      break;
    default:
      break;
  }
  if (commandSent_) {
    commandSent_ = false;
    // An unknown command has no answer: the printer just reports its status.
    if (!answer_.empty()) {
      *got = Copy(answer_, buffer, size);
      answer_.clear();
      return 1;
    }
  }
  *got = Copy(StatusData(state), buffer, size);
  return 1;
}

int SimulatedPort::Write(const PrinterState& state, const uint8_t* bytes, size_t size,
                         uint32_t* written) {
  answer_ = AnswerPortCommand(state, bytes, size);
  commandSent_ = true;
  noiseLeft_ = kNoiseReads;
  *written = static_cast<uint32_t>(size);
  return 1;
}

MonitorReply AnswerMonitorRequest(const MonitorRequest& request, const PrinterState* state,
                                  bool* held) {
  MonitorReply reply{};
  reply.result = kReplyNoMemory;
  if (!state) return reply;
  std::vector<uint8_t> data;
  switch (request.command) {
    case kMonitorHold:
    case kMonitorResume:
      *held = request.command == kMonitorHold;
      data = StatusData(*state);
      break;
    case kMonitorStatus:
      data = StatusData(*state);
      break;
    case kMonitorIdentity:
      data = IdentityData(*state);
      break;
    default:
      return reply;
  }
  reply.result = kReplyAnswered;
  Copy(data, reply.data, sizeof reply.data);
  return reply;
}

}  // namespace vq::sim
