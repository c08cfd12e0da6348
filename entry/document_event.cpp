#include "entry/document_event.h"

#include <algorithm>
#include <cstring>

#include "settings/printer_store.h"
#include "uicore/status_monitor.h"

namespace vq {
namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void PutU32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
uint32_t GetU32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// A fixed-size UTF-16 field up to its terminator; unaligned-safe.
std::u16string Field(const uint8_t* bytes, size_t units) {
  std::u16string text(units, u'\0');
  std::memcpy(text.data(), bytes, units * 2);
  const size_t end = text.find(u'\0');
  if (end != text.npos) text.resize(end);
  return text;
}

// Frame layout: four u32 words, the payload, four zero bytes.
constexpr size_t kPayload = 16;
constexpr size_t kKindAt = kPayload + 0;
constexpr size_t kJobIdAt = kPayload + 1;
constexpr size_t kDocumentAt = kPayload + 5;
constexpr size_t kDataTypeAt = kPayload + 69;
constexpr size_t kOverlayFlagAt = kPayload + 101;
static_assert(kOverlayFlagAt + 4 == kPayload + kJobMessagePayloadSize);
static_assert(kPayload + kJobMessagePayloadSize + 4 == kJobMessageFrameSize);

void PutText(uint8_t* field, size_t width, const std::string& text) {
  std::memcpy(field, text.data(), std::min(text.size(), width - 1));
}

std::string GetText(const uint8_t* field, size_t width) {
  const auto* begin = reinterpret_cast<const char*>(field);
  return std::string(begin, std::find(begin, begin + width, '\0'));
}

JobSettings SettingsOf(const PrintJob& job) {
  JobSettings js{};
  if (!job.devMode.empty())
    CopyDevModeBytes(job.devMode.data(), static_cast<uint32_t>(job.devMode.size()), &js);
  return js;
}

void SendJobMessage(DocumentEventHost& host, const JobMessage& message) {
  std::u16string printer, ports;
  if (!host.ReadPrinterNames(&printer, &ports)) return;
  host.Post(MonitorMailslotName(printer, ports), EncodeJobMessage(message));
}

}  // namespace

PathParts SplitPath(std::u16string_view path) {
  PathParts parts;
  const size_t sep = path.find_last_of(u"\\/:");
  const size_t fileStart = sep == path.npos ? 0 : sep + 1;
  parts.folder = path.substr(0, fileStart);
  const std::u16string_view file = path.substr(fileStart);
  const size_t dot = file.rfind(u'.');
  parts.name = file.substr(0, dot);
  if (dot != file.npos) parts.extension = file.substr(dot);
  return parts;
}

std::u16string OverlayPathOf(const JobSettings& js) {
  return Field(reinterpret_cast<const uint8_t*>(js.OverlayPath), std::size(js.OverlayPath));
}

uint32_t CheckOverlayForm(const JobSettings& js, FileAccess& files) {
  uint32_t status = (OverlayOn(js) ? kOverlayIsOn : kOverlayIsOff) | kOverlayUsable;
  const uint32_t kind = OverlayKind(js);
  switch (kind) {
    case 1: status |= kOverlayCreates; break;
    case 2: status |= kOverlayUses; break;
    case 3: status |= kOverlayCreates | kOverlayUses; break;
    default: status = (status & ~kOverlayUsable) + kOverlayBadKind; break;
  }
  switch (js.OverlayOption) {
    case 1: status |= kOverlayTarget1; break;
    case 2: status |= kOverlayTarget2; break;
    default: status = (status & ~kOverlayUsable) + kOverlayBadTarget; break;
  }
  if (kind < 1 || kind > 3) return status;
  const std::u16string path = OverlayPathOf(js);
  const PathParts parts = SplitPath(path);
  const bool found = kind == 2 ? files.FileExists(path)
                               : !parts.folder.empty() && files.FolderExists(parts.folder) &&
                                     !parts.name.empty();
  if (!found || parts.extension != u".ofe")
    status = (status & ~kOverlayUsable) + kOverlayBadPath;
  return status;
}

bool OverlayFailed(uint32_t status, uint32_t test) {
  const uint32_t sum = status & 0xFF;
  constexpr uint32_t kTests[] = {kOverlayBadKind, kOverlayBadTarget, kOverlayBadPath};
  for (uint32_t subset = 0; subset < 8; ++subset) {
    uint32_t total = 0;
    for (int i = 0; i < 3; ++i)
      if (subset & (1u << i)) total += kTests[i];
    if (total != sum) continue;
    for (int i = 0; i < 3; ++i)
      if (kTests[i] == test) return subset & (1u << i);
  }
  return false;
}

bool OverlayRefusesJob(uint32_t status) {
  return (status & kOverlayIsOn) && OverlayFailed(status, kOverlayBadPath);
}

bool IccHeaderUsable(const uint8_t* header, size_t got, uint64_t fileSize) {
  return header && got >= kIccHeaderSize && BigEndian32(header) == fileSize &&
         BigEndian32(header + 12) == kIccPrinterClass && BigEndian32(header + 16) == kIccRgbSpace;
}

bool ProfileUsable(const std::u16string& path, FileAccess& files) {
  uint8_t header[kIccHeaderSize] = {};
  size_t got = 0;
  uint64_t size = 0;
  return files.ReadStart(path, header, sizeof header, &got, &size) &&
         IccHeaderUsable(header, got, size);
}

std::array<std::u16string, 2> ProfilePaths(const uint8_t* entry) {
  return {Field(entry, kProfilePathChars), Field(entry + kSecondProfileOffset, kProfilePathChars)};
}

bool CheckMediaProfiles(const JobSettings& js, PrinterStore* printer, FileAccess& files) {
  if (js.Monochrome == 1 && js.MonoTone == 255) return true;
  if (js.MediaTypeId < kFirstUserMediaId || js.MediaTypeId > kFirstUserMediaId + 99) return true;
  std::vector<MediaData> media;
  ReadMediaTable(printer, &media);
  const auto it = std::find_if(media.begin(), media.end(),
                               [&](const MediaData& m) { return m.mediaId == js.MediaTypeId; });
  if (it == media.end() || it->profileNumber == 0) return true;
  uint8_t entry[kProfileEntrySize];
  if (!ReadProfileListEntry(printer, it->profileNumber, entry)) return false;
  for (const std::u16string& path : ProfilePaths(entry))
    if (!ProfileUsable(path, files)) return false;
  return true;
}

JobMessageFrame EncodeJobMessage(const JobMessage& message) {
  JobMessageFrame frame{};
  PutU32(frame.data(), kJobMessageFrameSize);
  PutU32(frame.data() + 12, kJobMessagePayloadSize);
  frame[kKindAt] = message.kind;
  PutU32(frame.data() + kJobIdAt, message.jobId);
  PutText(frame.data() + kDocumentAt, kJobDocumentSize, message.document);
  PutText(frame.data() + kDataTypeAt, kJobDataTypeSize, message.dataType);
  PutU32(frame.data() + kOverlayFlagAt, message.overlayFlag);
  return frame;
}

bool DecodeJobMessage(const uint8_t* bytes, size_t size, JobMessage* out) {
  if (!bytes || size != kJobMessageFrameSize || GetU32(bytes) != kJobMessageFrameSize ||
      GetU32(bytes + 12) != kJobMessagePayloadSize)
    return false;
  out->kind = bytes[kKindAt];
  out->jobId = GetU32(bytes + kJobIdAt);
  out->document = GetText(bytes + kDocumentAt, kJobDocumentSize);
  out->dataType = GetText(bytes + kDataTypeAt, kJobDataTypeSize);
  out->overlayFlag = GetU32(bytes + kOverlayFlagAt);
  return true;
}

std::u16string MonitorMailslotName(std::u16string_view printer, std::u16string_view port) {
  std::u16string name(u"\\\\.\\mailslot\\");
  name.append(printer).append(u"\\lmtosm\\").append(port);
  return name;
}

bool LaunchFailed(uint32_t rc) { return rc == 0 || rc == 2 || rc == 3 || rc == 11; }

int HandleDocumentEvent(DocumentEventHost& host, int event, uint32_t jobId,
                        uint32_t* overlayFlag) {
  if (event != kDocumentEventStartDocPost && event != kDocumentEventDeleteDc)
    return kDocumentEventSuccess;

  PrintJob job;
  if (event == kDocumentEventStartDocPost && host.ReadJob(jobId, &job)) {
    const JobSettings js = SettingsOf(job);
    if (OverlayRefusesJob(CheckOverlayForm(js, host.Files())) ||
        !CheckMediaProfiles(js, host.Printer(), host.Files()))
      return kDocumentEventFailure;
  }

  // Only a printer reached through a print server has its monitor started
  // and told about jobs from here.
  PrinterConnection printer;
  if (!host.ReadConnection(&printer) || printer.server.empty()) return kDocumentEventNothing;
  if (event == kDocumentEventDeleteDc) {
    SendJobMessage(host, {kDeviceContextDeleted, 0, {}, {}, *overlayFlag});
    return kDocumentEventSuccess;
  }
  if (printer.share.empty()) return kDocumentEventSuccess;

  uint32_t monitorPrints = 0;
  if (!ReadPrinterDword(host.Printer(), pd::kMonitorPrintFlag, &monitorPrints) ||
      monitorPrints != 0)
    return kDocumentEventNothing;
  std::u16string dir;
  if (!GetDriverDirectory(host.Printer(), &dir)) return kDocumentEventNothing;
  // The monitor needs both modules; without them it is not started at all.
  if (!host.ModuleLoads(dir + u"\\VQ312AN.dll") || !host.ModuleLoads(dir + u"\\VQ312RS.dll"))
    return kDocumentEventNothing;
  const std::string ansiDir = host.ToAnsi(dir);

  if (!host.ReadJob(jobId, &job)) return kDocumentEventNothing;
  JobSettings js = SettingsOf(job);
  // A job that creates a form prints nothing for the monitor to watch.
  if (OverlayOn(js) && OverlayKind(js) == 1) return kDocumentEventSuccess;
  for (const std::string& port : SplitPortList(std::string_view(printer.ports)))
    if (LaunchFailed(host.Launch(
            MonitorCommandLine(ansiDir, printer.printer, port, MonitorLaunch::kPrintTime))))
      return kDocumentEventNothing;

  if (!host.ReadJob(jobId, &job)) return kDocumentEventNothing;
  js = SettingsOf(job);
  if (OverlayOn(js)) {
    *overlayFlag = OverlayKind(js) == 2 ? 1 : 0;
    if (*overlayFlag == 0) return kDocumentEventNothing;
  } else {
    *overlayFlag = 0;
  }
  if (js.Option1344 == 2 || js.Option1344 == 3) {
    SendJobMessage(host, {kJobStartedUnannounced, 0, {}, {}, 0});
    return kDocumentEventNothing;
  }
  SendJobMessage(host, {kJobStarted, jobId, job.document, job.dataType, *overlayFlag});
  return kDocumentEventSuccess;
}

}  // namespace vq
