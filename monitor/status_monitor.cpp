#include "monitor/status_monitor.h"

#include "base/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace vq {
namespace {

template <class Char>
std::basic_string<Char> Literal(const char* text) {
  return std::basic_string<Char>(text, text + std::strlen(text));
}

template <class Char>
std::basic_string<Char> CommandLine(std::basic_string_view<Char> dir,
                                    std::basic_string_view<Char> printer,
                                    std::basic_string_view<Char> port, MonitorLaunch launch) {
  std::basic_string<Char> line(1, Char('"'));
  line.append(dir).push_back(Char('\\'));
  line += Literal<Char>("VQ312SM.exe\" ");
  line.append(printer).push_back(Char(';'));
  line.append(port).push_back(Char(';'));
  line += Literal<Char>(launch == MonitorLaunch::kUtility ? "drex;" : "lmex;");
  return line;
}

template <class Char>
std::basic_string<Char> Title(std::basic_string_view<Char> printer,
                              std::basic_string_view<Char> port) {
  std::basic_string<Char> title(printer);
  title += Literal<Char>(" Status Monitor - ");
  title.append(port);
  return title;
}

template <class Char>
std::vector<std::basic_string<Char>> Split(std::basic_string_view<Char> list) {
  std::vector<std::basic_string<Char>> items;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(Char(','), start);
    if (comma == list.npos) comma = list.size();
    if (comma > start) items.emplace_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return items;
}

const uint8_t* FindTag(const uint8_t* data, size_t size, size_t from, const char* tag) {
  if (!data || from >= size) return nullptr;
  const uint8_t* end = data + size;
  const uint8_t* hit = std::search(data + from, end, tag, tag + 4);
  return hit == end ? nullptr : hit;
}

}  // namespace

std::u16string MonitorCommandLine(std::u16string_view driverDir, std::u16string_view printer,
                                  std::u16string_view port, MonitorLaunch launch) {
  return CommandLine(driverDir, printer, port, launch);
}

std::string MonitorCommandLine(std::string_view driverDir, std::string_view printer,
                               std::string_view port, MonitorLaunch launch) {
  return CommandLine(driverDir, printer, port, launch);
}

bool ParseMonitorCommandLine(std::u16string_view line, MonitorArguments* out) {
  size_t pos = 0;
  while (pos < line.size() && line[pos] == u' ') ++pos;
  // The program path: quoted (it may hold spaces) or up to the first space.
  if (pos < line.size() && line[pos] == u'"') {
    const size_t close = line.find(u'"', pos + 1);
    if (close == line.npos) return false;
    pos = close + 1;
  } else {
    pos = line.find(u' ', pos);
    if (pos == line.npos) return false;
  }
  while (pos < line.size() && line[pos] == u' ') ++pos;
  // Printer names hold spaces: the fields end only at semicolons.
  const std::u16string_view rest = line.substr(std::min(pos, line.size()));
  const size_t first = rest.find(u';');
  if (first == rest.npos || first == 0) return false;
  const size_t second = rest.find(u';', first + 1);
  if (second == rest.npos || second == first + 1) return false;
  size_t third = rest.find(u';', second + 1);
  if (third == rest.npos) third = rest.size();
  out->printer = rest.substr(0, first);
  out->port = rest.substr(first + 1, second - first - 1);
  out->mode = rest.substr(second + 1, third - second - 1);
  return true;
}

std::u16string MonitorWindowTitle(std::u16string_view printer, std::u16string_view port) {
  return Title(printer, port);
}

std::string MonitorWindowTitle(std::string_view printer, std::string_view port) {
  return Title(printer, port);
}

std::vector<std::u16string> SplitPortList(std::u16string_view ports) { return Split(ports); }
std::vector<std::string> SplitPortList(std::string_view ports) { return Split(ports); }

std::u16string MonitorPipeName(std::u16string_view serverName) {
  std::u16string name = serverName.empty() ? std::u16string(u"\\\\.\\pipe\\")
                                           : std::u16string(serverName) + u"\\pipe\\";
  return name + u"VQ312\\StatusMonitor";
}

std::u16string_view PrinterNameWithoutServer(std::u16string_view printer,
                                             std::u16string_view serverName) {
  if (serverName.empty() || printer.size() <= serverName.size() ||
      printer.substr(0, serverName.size()) != serverName || printer[serverName.size()] != u'\\')
    return printer;
  return printer.substr(serverName.size() + 1);
}

MonitorRequestBytes EncodeMonitorRequest(const MonitorRequest& request) {
  MonitorRequestBytes bytes{};
  PutU32LE(bytes.data(), request.command);
  PutText(bytes.data() + kRequestUserOffset, kRequestUserSize, request.requester);
  PutText(bytes.data() + kRequestPrinterOffset, kRequestPrinterSize, request.printer);
  PutText(bytes.data() + kRequestPortOffset, kRequestPortSize, request.port);
  return bytes;
}

bool DecodeMonitorRequest(const uint8_t* bytes, size_t size, MonitorRequest* out) {
  if (!bytes || size != kMonitorRequestSize) return false;
  const ByteReader in(bytes, size);
  out->command = in.U32LE(0);
  out->requester = in.Text(kRequestUserOffset, kRequestUserSize);
  out->printer = in.Text(kRequestPrinterOffset, kRequestPrinterSize);
  out->port = in.Text(kRequestPortOffset, kRequestPortSize);
  return true;
}

bool FindPrinterState(const uint8_t* data, size_t size, uint8_t* state) {
  const uint8_t* tag = FindTag(data, size, 0, kStatusTag);
  if (!tag || tag + 4 >= data + size) return false;
  *state = tag[4];
  return true;
}

bool PrinterIsIdle(const uint8_t* data, size_t size) {
  uint8_t state = 0;
  return size > 4 && data[4] == 0 && FindPrinterState(data, size, &state) &&
         (state == kStateReady || state == kStateAsleep);
}

bool FindDataRecord(const uint8_t* data, size_t size, size_t from, DataRecord* out, int command,
                    int code) {
  for (const uint8_t* tag = FindTag(data, size, from, kDataTag); tag;
       tag = FindTag(data, size, tag - data + 1, kDataTag)) {
    const size_t offset = tag - data;
    if (size - offset < kDataHeaderSize) return false;
    const size_t length = size_t{tag[6]} << 8 | tag[7];
    if (length > size - offset - kDataHeaderSize) continue;
    if ((command != kAnyCommand && tag[4] != command) || (code != kAnyCommand && tag[5] != code))
      continue;
    out->offset = offset;
    out->command = tag[4];
    out->code = tag[5];
    out->payload = tag + kDataHeaderSize;
    out->payloadSize = length;
    return true;
  }
  return false;
}

std::vector<uint8_t> EncodeDataRecord(uint8_t command, uint8_t code, std::string_view payload) {
  const size_t length = std::min<size_t>(payload.size(), 0xFFFF);
  std::vector<uint8_t> record(kDataHeaderSize + length);
  std::memcpy(record.data(), kDataTag, 4);
  record[4] = command;
  record[5] = code;
  record[6] = uint8_t(length >> 8);
  record[7] = uint8_t(length & 0xFF);
  std::memcpy(record.data() + kDataHeaderSize, payload.data(), length);
  return record;
}

std::array<uint8_t, 16> PortReadCommand(uint8_t request) {
  std::array<uint8_t, 16> command{};
  std::copy(kPortCommandPrefix.begin(), kPortCommandPrefix.end(), command.begin());
  command[12] = kReadCommand;
  command[13] = request;
  return command;
}

bool IdentityArea::Append(const DataRecord& record) {
  if (record.size() + 1 > bytes_.size() - used_) return false;
  std::memcpy(bytes_.data() + used_, record.payload - kDataHeaderSize, record.size());
  used_ += record.size();
  bytes_[used_++] = 0;
  return true;
}

void IdentityArea::Assign(const uint8_t* data, size_t size) {
  used_ = std::min(size, bytes_.size());
  std::memcpy(bytes_.data(), data, used_);
  std::fill(bytes_.begin() + used_, bytes_.end(), 0);
}

bool DecodePrinterIdentity(const IdentityArea& area, PrinterIdentity* out) {
  DataRecord serial, firmware;
  if (!FindDataRecord(area.data(), area.size(), 0, &serial) ||
      !FindDataRecord(area.data(), area.size(), serial.offset + serial.size(), &firmware) ||
      serial.payloadSize < kSerialChars || firmware.payloadSize < kFirmwareChars)
    return false;
  // Single-byte characters widen one to one: the printer answers in ASCII.
  out->serial.assign(serial.payload, serial.payload + kSerialChars);
  out->firmware = u"Ver.";
  out->firmware.append(firmware.payload, firmware.payload + kFirmwareChars);
  return true;
}

int ReadIdentityThroughPort(PrinterPort& port, IdentityArea* area) {
  std::vector<uint8_t> buffer(kPortReadSize);
  for (const uint8_t request : {kRequestSerial, kRequestFirmware}) {
    uint32_t got = 0;
    const int status = port.Read(buffer.data(), kPortReadSize, &got);
    got = std::min(got, kPortReadSize);
    if (status <= 0 || !PrinterIsIdle(buffer.data(), got)) return kIdentityNotNow;
    const std::array<uint8_t, 16> command = PortReadCommand(request);
    uint32_t written = 0;
    port.Write(command.data(), static_cast<uint32_t>(command.size()), &written);
    for (;;) {
      port.Pause();
      got = 0;
      const int polled = port.Read(buffer.data(), kPortReadSize, &got);
      if (polled <= 0) return kIdentityPortFailed;
      got = std::min(got, kPortReadSize);
      DataRecord record;
      if (!FindDataRecord(buffer.data(), got, 0, &record, kReadCommand, request)) continue;
      // An answer too big for the area is as good as none.
      if (!area->Append(record)) return kIdentityPortFailed;
      break;
    }
  }
  return kIdentityRead;
}

int ReadIdentityThroughMonitor(const MonitorQuery& query, IdentityArea* area) {
  MonitorReply reply{};
  query(kMonitorStatus, &reply);
  if (reply.result != kReplyAnswered || !PrinterIsIdle(reply.data, kMonitorDataSize))
    return kIdentityNotNow;
  reply = MonitorReply{};
  query(kMonitorIdentity, &reply);
  if (reply.result != kReplyAnswered) return kIdentityNotNow;
  area->Assign(reply.data, kMonitorDataSize);
  return kIdentityRead;
}

}  // namespace vq
