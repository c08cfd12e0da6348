// Writes the seed corpus of fuzz_validate (layout in validate_fuzz.cpp) into
// the folder given as the argument. Run from the source tree:
//   clang++ -std=c++20 -I. fuzz/make_validate_seeds.cpp tests/core/test_printer.cpp \
//     build/native/libvq312_core.a build/native/libvq312_devinfo.a -o /tmp/seeds &&
//   /tmp/seeds fuzz/corpus/validate
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

using namespace vq;

namespace {

std::vector<unsigned char> Seed(const JobSettings& js, size_t keep = sizeof(JobSettings)) {
  const auto* b = reinterpret_cast<const unsigned char*>(&js);
  return {b, b + keep};
}

// The record, the flags byte and the paper table bytes.
std::vector<unsigned char> Seed(const JobSettings& js, unsigned char flags,
                                const std::vector<PaperInfo>& table) {
  std::vector<unsigned char> s = Seed(js);
  s.push_back(flags);
  const auto* b = reinterpret_cast<const unsigned char*>(table.data());
  s.insert(s.end(), b, b + table.size() * sizeof(PaperInfo));
  return s;
}

JobSettings UserSize(test::TestPrinter& t, uint32_t layout, int16_t width, int16_t length,
                     uint32_t lock, uint32_t storedWidth, uint32_t storedLength) {
  JobSettings js = t.WithPaper(256);
  js.Paper.paperLayout = layout;
  js.Paper.paperWidth = storedWidth;
  js.Paper.paperLength = storedLength;
  js.dmPaperWidth = width;
  js.dmPaperLength = length;
  js.OrientationLock = lock;
  return js;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  test::TestPrinter t;
  const std::vector<PaperInfo> papers = t.Papers();
  std::vector<std::pair<std::string, std::vector<unsigned char>>> seeds;
  for (int16_t id : {1003, 1009, 1011, 1013, 1015, 1018})
    seeds.emplace_back("paper_" + std::to_string(id), Seed(t.WithPaper(id)));
  seeds.emplace_back("user_size_layout0", Seed(UserSize(t, 0, 620, 410, 0, 1000, 1500)));
  seeds.emplace_back("user_size_layout3", Seed(UserSize(t, 3, 1201, 59, 0, 1000, 1500)));
  seeds.emplace_back("user_size_layout5", Seed(UserSize(t, 5, 600, 800, 0, 1000, 1500)));
  seeds.emplace_back("user_size_locked_turned", Seed(UserSize(t, 0, 700, 450, 4, 450, 700)));
  seeds.emplace_back("user_size_locked_table", Seed(UserSize(t, 0, 800, 500, 4, 500, 800)));

  JobSettings foreign = t.Defaults();
  foreign.dmDriverExtra = 0;
  seeds.emplace_back("foreign_extra", Seed(foreign));
  foreign = t.Defaults();
  foreign.Signature[0] = u'X';
  foreign.dmOrientation = 2;
  seeds.emplace_back("foreign_signature", Seed(foreign));
  JobSettings truncated = t.WithPaper(1002);
  truncated.dmDriverExtra = 80;
  seeds.emplace_back("truncated_300", Seed(truncated, 300));

  // Own records over other tables: a small one with a turned paper, an
  // empty one, none at all.
  PaperInfo turned = papers[1];
  turned.paperId = 2002;
  std::swap(turned.paperWidth, turned.paperLength);
  JobSettings locked = t.WithPaper(1002);
  locked.OrientationLock = 2;
  seeds.emplace_back("table_small", Seed(locked, 1 | 2 | (1 << 2) | (1 << 4),
                                         {papers[1], turned, papers.back()}));
  seeds.emplace_back("table_empty", Seed(t.Defaults(), 1 | (1 << 2), {}));
  seeds.emplace_back("table_missing", Seed(t.Defaults(), 1 | (2 << 2), {}));
  seeds.emplace_back("table_appended", Seed(UserSize(t, 16, 300, 400, 2, 1000, 1500),
                                            1 | 2 | (3 << 2) | (15 << 4), {turned}));

  for (const auto& [name, bytes] : seeds) {
    const std::string path = std::string(argv[1]) + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) return 1;
    std::fclose(f);
  }
  return 0;
}
