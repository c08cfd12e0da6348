// libFuzzer target for the overlay form reader over memory. The seed corpus
// is the sample forms; `fuzz_form_file FILE` replays one input.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pages/overlay/overlay_form.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Smaller limits than a real read: the same code paths, but an input that
  // floods blank lines costs milliseconds instead of a 500 MB image per run.
  vq::FormLimits limits;
  limits.blankAllowance = 4u << 20;
  limits.maxPlaneBytes = 16u << 20;
  limits.maxImageBytes = 64u << 20;
  const vq::FormImage form = vq::ReadFormData({data, size}, limits);

  // What every caller relies on, whatever the input.
  if (form.status != vq::FormStatus::kOk && !form.pixels.empty()) __builtin_trap();
  if (form.pixels.size() % 24 != 0) __builtin_trap();  // 8 pixels per black-plane byte
  if (form.pixels.size() > limits.maxImageBytes) __builtin_trap();
  if (form.planeCount > 8) __builtin_trap();
  if (uint64_t{form.Rows()} * form.info.imageWidth * 3 > form.pixels.size()) __builtin_trap();

  // The line decoder on its own, mode from the first byte: a line can grow at
  // most 256 times its length.
  if (size > 0) {
    std::vector<uint8_t> line;
    vq::DecodeFormLine(data[0] & 7, {data + 1, size - 1}, line);
    if (line.size() > 256 * size) __builtin_trap();
  }
  return 0;
}
