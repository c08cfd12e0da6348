#include "monitor/job_message.h"

#include "base/byte_reader.h"

namespace vq {
namespace {

// Frame layout: four u32 words, the payload, four zero bytes.
constexpr size_t kPayload = 16;
constexpr size_t kKindAt = kPayload + 0;
constexpr size_t kJobIdAt = kPayload + 1;
constexpr size_t kDocumentAt = kPayload + 5;
constexpr size_t kDataTypeAt = kPayload + 69;
constexpr size_t kOverlayFlagAt = kPayload + 101;
static_assert(kOverlayFlagAt + 4 == kPayload + kJobMessagePayloadSize);
static_assert(kPayload + kJobMessagePayloadSize + 4 == kJobMessageFrameSize);

}  // namespace

JobMessageFrame EncodeJobMessage(const JobMessage& message) {
  JobMessageFrame frame{};
  PutU32LE(frame.data(), kJobMessageFrameSize);
  PutU32LE(frame.data() + 12, kJobMessagePayloadSize);
  frame[kKindAt] = message.kind;
  PutU32LE(frame.data() + kJobIdAt, message.jobId);
  PutText(frame.data() + kDocumentAt, kJobDocumentSize, message.document);
  PutText(frame.data() + kDataTypeAt, kJobDataTypeSize, message.dataType);
  PutU32LE(frame.data() + kOverlayFlagAt, message.overlayFlag);
  return frame;
}

bool DecodeJobMessage(const uint8_t* bytes, size_t size, JobMessage* out) {
  const ByteReader in(bytes, size);
  if (!bytes || size != kJobMessageFrameSize || in.U32LE(0) != kJobMessageFrameSize ||
      in.U32LE(12) != kJobMessagePayloadSize)
    return false;
  out->kind = bytes[kKindAt];
  out->jobId = in.U32LE(kJobIdAt);
  out->document = in.Text(kDocumentAt, kJobDocumentSize);
  out->dataType = in.Text(kDataTypeAt, kJobDataTypeSize);
  out->overlayFlag = in.U32LE(kOverlayFlagAt);
  return true;
}

std::u16string MonitorMailslotName(std::u16string_view printer, std::u16string_view port) {
  std::u16string name(u"\\\\.\\mailslot\\");
  name.append(printer).append(u"\\lmtosm\\").append(port);
  return name;
}

}  // namespace vq
