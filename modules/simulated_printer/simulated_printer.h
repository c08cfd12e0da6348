// The simulated Morva VT-Q3120 behind the stand-in status monitor
// (VQ312SM.exe) and port module (VQ312PC.dll): its state, alerts, serial
// number, firmware version and how its port behaves, and the bytes it sends.
//
// The state lives in ONE place: the printer-data value "APSM_SIMPRINTER" of
// the printer (REG_BINARY, 40 bytes, layout below). The monitor and the port
// module read it on every status question; `vq312ctl state` and the tests
// write it. A printer without the value is an idle printer with the default
// identity. Connections "\\\\SERVER\\NAME" find the state of the local
// printer NAME: the simulation has one machine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/status_monitor.h"

namespace vq::sim {

inline constexpr char16_t kStateValue[] = u"APSM_SIMPRINTER";

// Value layout (little-endian):
//   0  "VQSP"
//   4  u8 state byte (the byte of the "DBS:" record)
//   5  u8 alert bits (any of them stops the printer)
//   6  u8 port behaviour
//   7  u8 0
//   8  char[16] serial number, zero-padded
//   24 char[16] firmware version, zero-padded
inline constexpr size_t kStateValueSize = 40;

// State bytes. Ready and asleep count as idle for the driver.
enum State : uint8_t {
  kIdle = 0,
  kBusy = 1,  // printing
  kCleaning = 2,
  kPaused = 3,
  kOffline = 4,
  kError = 5,
  kWarmingUp = 6,
  kAsleep = 7,
};

enum Alert : uint8_t {
  kPaperOut = 0x01,
  kCoverOpen = 0x02,
  kInkOut = 0x04,
  kCutterJam = 0x08,
  kHeadError = 0x10,
};

// What the port does with reads, to walk the driver's failure paths.
enum class PortBehaviour : uint8_t {
  kAnswers = 0,    // status on every read, the answer after a command
  kSilent = 1,     // every read: nothing to read
  kGarbage = 2,    // every read: noise with a broken record, never an answer
  kNoisy = 3,      // three reads of noise before each answer
  kMute = 4,       // status fine; after a command, nothing to read
  kBroken = 5,     // status fine; after a command, reads fail
  kUnplugged = 6,  // the port does not open
};

struct PrinterState {
  uint8_t state = kIdle;
  uint8_t alerts = 0;
  PortBehaviour port = PortBehaviour::kAnswers;
  std::string serial = "VQ31200417";
  std::string firmware = "1.05A";
};

std::vector<uint8_t> EncodeState(const PrinterState& state);
// false for a value that is not a state record (wrong size or tag); *out is
// then left alone.
bool DecodeState(const uint8_t* bytes, size_t size, PrinterState* out);

// Names for people: the tool's words and the monitor's window.
const char* StateName(uint8_t state);  // "state 9" style text is the caller's job
std::string AlertNames(uint8_t alerts);  // "paper-out+cover-open", or "none"
const char* PortBehaviourName(PortBehaviour behaviour);
std::string Describe(const PrinterState& state);

// Applies one word of `vq312ctl state`: a state name ("idle", "busy",
// "asleep", ...), "alerts=NAME+NAME" or "alerts=none", "serial=TEXT",
// "firmware=TEXT", "port=BEHAVIOUR", or "reset". false with *error set for
// anything else; *state is then unchanged.
bool ApplySetting(std::string_view word, PrinterState* state, std::string* error);
// Every word ApplySetting knows, for the usage text.
std::string SettingWords();

// What a status read returns: "ALR:" and the alert bits (so byte 4 of the
// data is 0 only for a printer without alerts), then "DBS:" and the state.
std::vector<uint8_t> StatusData(const PrinterState& state);
// The identity as the monitor hands it over: serial record, firmware record.
std::vector<uint8_t> IdentityData(const PrinterState& state);
// The answer to bytes written to the port: a data record for a known read
// command, nothing for anything else.
std::vector<uint8_t> AnswerPortCommand(const PrinterState& state, const uint8_t* bytes,
                                       size_t size);

// One open port: what each read returns after what was written.
class SimulatedPort {
 public:
  // Same contract as the port module's read: 0 failure, negative nothing to
  // read, positive data. Copies at most `size` bytes.
  int Read(const PrinterState& state, uint8_t* buffer, size_t size, uint32_t* got);
  int Write(const PrinterState& state, const uint8_t* bytes, size_t size, uint32_t* written);

 private:
  bool commandSent_ = false;   // a command waits for its answer
  std::vector<uint8_t> answer_;
  int noiseLeft_ = 0;
};

// The monitor's answer to a pipe request. `state` is null when the request
// names a printer the monitor cannot find: the reply then says not answered.
// Hold and resume switch *held and answer with the status.
MonitorReply AnswerMonitorRequest(const MonitorRequest& request, const PrinterState* state,
                                  bool* held);

}  // namespace vq::sim
