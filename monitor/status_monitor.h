// The status monitor as the driver sees it: how it is started and recognised,
// the named-pipe request and reply it answers, the tagged records of the
// monitor's and the printer port's data, and the port commands that read the
// printer's serial number and firmware version. Bytes and names only; the
// Win32 side (status_monitor_win.h) does the talking.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

inline constexpr char16_t kMonitorExe[] = u"VQ312SM.exe";
inline constexpr char16_t kPortModuleFile[] = u"VQ312PC.dll";
inline constexpr char16_t kMonitorServiceName[] = u"VQ312 Status Monitor Service";

// Who starts the monitor: the document event at print time ("lmex") or the
// utility page ("drex"). The monitor tells the two apart by this word.
enum class MonitorLaunch { kPrintTime, kUtility };

// "\"DIR\\VQ312SM.exe\" PRINTER;PORT;lmex;" (or drex). Wide for
// CreateProcessW, single-byte for WinExec.
std::u16string MonitorCommandLine(std::u16string_view driverDir, std::u16string_view printer,
                                  std::u16string_view port, MonitorLaunch launch);
std::string MonitorCommandLine(std::string_view driverDir, std::string_view printer,
                               std::string_view port, MonitorLaunch launch);

// What the monitor finds after its own path on that command line.
struct MonitorArguments {
  std::u16string printer;
  std::u16string port;
  std::u16string mode;  // "lmex", "drex", or whatever a caller wrote
};
// false when the line has no "PRINTER;PORT;" after the program path.
bool ParseMonitorCommandLine(std::u16string_view commandLine, MonitorArguments* out);

// A running monitor is recognised by its top-level window's title.
std::u16string MonitorWindowTitle(std::u16string_view printer, std::u16string_view port);
std::string MonitorWindowTitle(std::string_view printer, std::string_view port);

// PRINTER_INFO_2's port list: comma-separated; empty items are dropped.
std::vector<std::u16string> SplitPortList(std::u16string_view ports);
std::vector<std::string> SplitPortList(std::string_view ports);

// "\\\\.\\pipe\\VQ312\\StatusMonitor" for a local printer, or the server's
// name ("\\\\SERVER") followed by "\\pipe\\VQ312\\StatusMonitor". Its length
// with the terminator is the server name's length + 26, or 29 without one.
std::u16string MonitorPipeName(std::u16string_view serverName);

// A connection's printer name ("\\\\SERVER\\NAME") without the server part
// and its backslash; other names unchanged.
std::u16string_view PrinterNameWithoutServer(std::u16string_view printer,
                                             std::u16string_view serverName);

// The pipe request, 1017 bytes. Every text is single-byte (active code page),
// zero-terminated within its field; longer texts are cut to fit.
inline constexpr size_t kMonitorRequestSize = 1017;
inline constexpr size_t kRequestUserOffset = 4;
inline constexpr size_t kRequestUserSize = 128;
inline constexpr size_t kRequestPrinterOffset = 132;
inline constexpr size_t kRequestPrinterSize = 441;
inline constexpr size_t kRequestPortOffset = 573;
inline constexpr size_t kRequestPortSize = 441;
static_assert(kRequestPortOffset + kRequestPortSize + 3 == kMonitorRequestSize);
// Only this many characters of the computer name go into the request.
inline constexpr size_t kRequestComputerChars = 16;

enum MonitorCommand : uint32_t {
  kMonitorStatus = 0,
  kMonitorHold = 1,
  kMonitorResume = 2,
  kMonitorIdentity = 5,
};

struct MonitorRequest {
  uint32_t command = kMonitorStatus;
  std::string requester;  // "COMPUTER\\user"
  std::string printer;    // without the server part
  std::string port;
};
using MonitorRequestBytes = std::array<uint8_t, kMonitorRequestSize>;
MonitorRequestBytes EncodeMonitorRequest(const MonitorRequest& request);
// false for a request of another size. Texts end at their terminator or at
// the end of their field, whichever comes first.
bool DecodeMonitorRequest(const uint8_t* bytes, size_t size, MonitorRequest* out);

// The reply: a result word and the monitor's data.
inline constexpr size_t kMonitorDataSize = 4096;
inline constexpr uint32_t kReplyNoMemory = 0;  // the request could not be built
inline constexpr uint32_t kReplyFailed = 1;    // the pipe call failed
inline constexpr uint32_t kReplyAnswered = 2;
struct MonitorReply {
  uint32_t result;
  uint8_t data[kMonitorDataSize];
};
inline constexpr size_t kMonitorReplySize = 4100;
static_assert(sizeof(MonitorReply) == kMonitorReplySize);

// Tagged records of the monitor's and the port's data. A status record is
// "DBS:" and a state byte; a data record is "DAT:", a command letter, a
// command code, a big-endian 16-bit payload length and the payload.
inline constexpr char kStatusTag[] = "DBS:";
inline constexpr char kDataTag[] = "DAT:";
inline constexpr size_t kDataHeaderSize = 8;
inline constexpr uint8_t kStateReady = 0;
inline constexpr uint8_t kStateAsleep = 7;

// The state byte of the first status record; false when there is none.
bool FindPrinterState(const uint8_t* data, size_t size, uint8_t* state);
// Idle enough to be asked: byte 4 of the data is 0 and the state byte is
// ready or asleep (a sleeping printer wakes for a command).
bool PrinterIsIdle(const uint8_t* data, size_t size);

struct DataRecord {
  size_t offset = 0;  // of "DAT:" in the data
  uint8_t command = 0;
  uint8_t code = 0;
  const uint8_t* payload = nullptr;
  size_t payloadSize = 0;
  size_t size() const { return kDataHeaderSize + payloadSize; }
};
inline constexpr int kAnyCommand = -1;
// The first complete data record at or after `from` (with the given command
// letter and code, unless kAnyCommand). A record whose stated length runs
// past the data is not complete and does not count.
bool FindDataRecord(const uint8_t* data, size_t size, size_t from, DataRecord* out,
                    int command = kAnyCommand, int code = kAnyCommand);
std::vector<uint8_t> EncodeDataRecord(uint8_t command, uint8_t code, std::string_view payload);

// Port commands: a fixed prefix, then a four-byte request "r" CODE 00 00.
inline constexpr std::array<uint8_t, 12> kPortCommandPrefix = {0x1B, 0x4B, 0x04, 0x00, 0x00, 0x00,
                                                               0x00, 0x00, 0x1B, 0x6D, 0x01, 0x00};
inline constexpr uint8_t kReadCommand = 'r';
inline constexpr uint8_t kRequestSerial = 0x12;    // answer: 10 ASCII characters
inline constexpr uint8_t kRequestFirmware = 0x06;  // answer: at least 5 characters
std::array<uint8_t, 16> PortReadCommand(uint8_t request);

inline constexpr size_t kSerialChars = 10;
inline constexpr size_t kFirmwareChars = 5;
inline constexpr uint32_t kPortReadSize = 5120;

// Where the identity answers gather: copies of data records, each followed
// by a zero byte, in 4096 bytes.
class IdentityArea {
 public:
  bool Append(const DataRecord& record);  // false when it no longer fits
  void Assign(const uint8_t* data, size_t size);
  const uint8_t* data() const { return bytes_.data(); }
  size_t size() const { return used_; }

 private:
  std::array<uint8_t, kMonitorDataSize> bytes_{};
  size_t used_ = 0;
};

// The serial number (10 characters) and the firmware version as shown,
// "Ver." and five characters, from the first two data records of the area.
// false when either record is missing or too short.
struct PrinterIdentity {
  std::u16string serial;
  std::u16string firmware;
};
bool DecodePrinterIdentity(const IdentityArea& area, PrinterIdentity* out);

// ReadPrinterIdentity's results.
inline constexpr int kIdentityError = 0;      // no printer information or ports
inline constexpr int kIdentityPortFailed = 1; // the port would not open or stopped answering
inline constexpr int kIdentityRead = 2;
inline constexpr int kIdentityNotNow = 3;     // monitor in the way, printer busy, no answer

// The printer port as the port module gives it.
class PrinterPort {
 public:
  virtual ~PrinterPort() = default;
  // 0 failure, negative nothing to read, positive data (*got bytes).
  virtual int Read(uint8_t* buffer, uint32_t size, uint32_t* got) = 0;
  virtual int Write(const uint8_t* bytes, uint32_t size, uint32_t* written) = 0;
  virtual void Pause() = 0;  // between two polls: 100 ms
};

// The port path: for the serial number, then the firmware version, check
// that the printer is idle, send the command and poll until its answer. The
// poll has no overall limit: it ends when the port fails, returns nothing, or
// answers. Returns kIdentityRead with the area filled, kIdentityNotNow when
// the printer is not idle, kIdentityPortFailed when the port fails.
int ReadIdentityThroughPort(PrinterPort& port, IdentityArea* area);

// The pipe path: a status query that must find the printer idle, then the
// identity query, whose data is the area.
using MonitorQuery = std::function<void(uint32_t command, MonitorReply* reply)>;
int ReadIdentityThroughMonitor(const MonitorQuery& query, IdentityArea* area);

}  // namespace vq
