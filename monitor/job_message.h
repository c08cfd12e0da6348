// The messages the driver sends the status monitor about a job, through the
// monitor's mailslot: their 125-byte frame and the mailslot's name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vq {

enum JobMessageKind : uint8_t {
  kJobStarted = 0,
  kDeviceContextDeleted = 1,
  kJobStartedUnannounced = 2,  // Option1344 2 or 3: no job details
};
inline constexpr size_t kJobMessagePayloadSize = 105;
inline constexpr size_t kJobMessageFrameSize = 125;
inline constexpr size_t kJobDocumentSize = 64;
inline constexpr size_t kJobDataTypeSize = 32;

struct JobMessage {
  uint8_t kind = kJobStarted;
  uint32_t jobId = 0;
  std::string document;  // single-byte texts, cut to leave a terminator
  std::string dataType;
  uint32_t overlayFlag = 0;
};
using JobMessageFrame = std::array<uint8_t, kJobMessageFrameSize>;
// The frame: u32 125, u32 0, u32 0, u32 105, the 105-byte payload (kind at
// 0, job id at 1, document at 5, data type at 69, overlay flag at 101, all
// packed little-endian), four zero bytes.
JobMessageFrame EncodeJobMessage(const JobMessage& message);
// false unless the frame's sizes are those above.
bool DecodeJobMessage(const uint8_t* bytes, size_t size, JobMessage* out);

// "\\\\.\\mailslot\\PRINTER\\lmtosm\\PORT".
std::u16string MonitorMailslotName(std::u16string_view printer, std::u16string_view port);

}  // namespace vq
