// Decode time of a large overlay form against a memset of its output image,
// measured in the same run. The form is a full-width label, 119 mm x 500 mm
// at 600 dpi (2811 x 11811 dots), four planes, compression mode 2, with text,
// a barcode, colour bars and a dithered photograph. Target: decode within 3x
// the memset. The same page of random dots (nothing repeats, nothing
// compresses) is measured as well, as the worst case.
//
// Both sides allocate their buffer in every run, as the reader does for its
// image, and are measured twice: first with fresh memory from the system
// (each run pays the page faults of a 100 MB buffer, which dominate on most
// machines), then with the allocator told to keep freed memory, so both
// reuse pages that are already mapped and the figures show the work itself.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "pages/overlay/overlay_form.h"
#include "tools/form/overlay_form_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kWidth = 2811;    // 119 mm at 600 dpi
constexpr uint32_t kHeight = 11811;  // 500 mm at 600 dpi
constexpr int kRuns = 9;

// Keeps the compiler from dropping work whose result is not otherwise used.
void Escape(const void* p) { asm volatile("" : : "r"(p) : "memory"); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <class F>
double TimeMs(F&& f) {
  const auto start = Clock::now();
  f();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
  double decode, memset;
};

Figures Measure(const std::vector<uint8_t>& form, size_t imageBytes) {
  std::vector<double> decode, fill;
  for (int run = 0; run < kRuns; ++run) {
    decode.push_back(TimeMs([&] {
      const vq::FormImage image = vq::ReadFormData(form);
      Escape(image.pixels.data());
    }));
    fill.push_back(TimeMs([&] {
      std::unique_ptr<uint8_t[]> buffer(new uint8_t[imageBytes]);
      std::memset(buffer.get(), 0xFF, imageBytes);
      Escape(buffer.get());
    }));
  }
  return {Median(decode), Median(fill)};
}

vq::FormPicture RandomDots() {
  vq::FormPicture picture(kWidth, kHeight);
  uint64_t state = 0x9E3779B97F4A7C15u;
  for (uint8_t& dot : picture.dots) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    dot = static_cast<uint8_t>(state >> 60);  // C M Y K bits
  }
  return picture;
}

}  // namespace

int main() {
  struct Case {
    const char* name;
    std::vector<uint8_t> form;
    size_t imageBytes = 0;
    Figures fresh{}, mapped{};
  };
  vq::FormWriteOptions options;
  options.compression = 2;
  Case cases[] = {{"label", {}}, {"random dots", {}}};
  const vq::FormPicture label[] = {vq::MakeFormPattern("label", kWidth, kHeight)};
  const vq::FormPicture noise[] = {RandomDots()};
  cases[0].form = vq::WriteFormData(label, options);
  cases[1].form = vq::WriteFormData(noise, options);

  for (Case& c : cases) {
    const vq::FormImage image = vq::ReadFormData(c.form);
    if (image.status != vq::FormStatus::kOk || image.Rows() != kHeight) {
      std::printf("%s: decode failed, status %d, %u rows\n", c.name, int(image.status), image.Rows());
      return 1;
    }
    c.imageBytes = image.pixels.size();
  }
  for (Case& c : cases) c.fresh = Measure(c.form, c.imageBytes);
  // glibc: serve large blocks from the heap and never give freed memory back.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, -1);
  mallopt(M_TOP_PAD, 512 << 20);
  for (Case& c : cases) {
    (void)vq::ReadFormData(c.form);  // maps the heap once
    c.mapped = Measure(c.form, c.imageBytes);
  }

  std::printf("page: %u x %u dots (119 x 500 mm at 600 dpi), 4 planes, mode 2\n", kWidth, kHeight);
  std::printf("image: %zu bytes; median of %d runs\n\n", cases[0].imageBytes, kRuns);
  std::printf("%-12s %-15s %10s %10s %7s\n", "form", "memory", "decode", "memset", "ratio");
  for (const Case& c : cases) {
    std::printf("%-12s %-15s %7.2f ms %7.2f ms %7.2f\n", c.name, "fresh", c.fresh.decode,
                c.fresh.memset, c.fresh.decode / c.fresh.memset);
    std::printf("%-12s %-15s %7.2f ms %7.2f ms %7.2f\n", "", "already mapped", c.mapped.decode,
                c.mapped.memset, c.mapped.decode / c.mapped.memset);
  }
  std::printf("\nform file sizes: label %zu bytes, random dots %zu bytes\n", cases[0].form.size(),
              cases[1].form.size());
  std::printf("target: label decode within 3x the memset\n");
  return 0;
}
