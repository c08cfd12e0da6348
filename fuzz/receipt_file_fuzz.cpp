// Fuzz target for receipt colours: the ".bin" file check and import, and the
// readers of the three stored values (list rows, deletion, stored settings,
// export) over any bytes. An import either refuses and changes nothing, or
// takes exactly the pairs the header names; an export always passes the
// size rule of the import.
//
// Input layout:
//   byte 0       k: the stored colour value's length is 8 * (k & 7) + (k >> 3 & 7)
//   byte 1       m: the stored memo value's length is 72 * (m & 3) + (m >> 2 & 7)
//   bytes 2..    the colour value, the memo value, then the file; the stored
//                settings value is the file's bytes after its header (any length)
//
// Seeds in fuzz/corpus/receipt_file: an exported file of two pairs over a
// store of one, a file of no pairs, a truncated file, a file of another
// printer, and a store with damaged sizes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "pages/utility/receipt_colours.h"

using namespace vq::receipt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t colourBytes = 8 * (data[0] & 7) + (data[0] >> 3 & 7);
  const size_t memoBytes = 72 * (data[1] & 3) + (data[1] >> 2 & 7);
  const uint8_t* p = data + 2;
  const uint8_t* end = data + size;
  auto take = [&](size_t n) {
    n = std::min<size_t>(n, size_t(end - p));
    std::vector<uint8_t> v(p, p + n);
    p += n;
    return v;
  };
  Arrays a;
  a.colours = take(colourBytes);
  a.memos = take(memoBytes);
  const std::vector<uint8_t> file(p, end);
  if (file.size() > 4) a.settings.assign(file.begin() + 4, file.end());

  const std::vector<Row> rows = ListRows(a);
  for (const Row& r : rows) {
    vq::JobSettings js;
    if (r.index >= ColourCount(a) || r.memo.size() > kMemoChars) std::abort();
    StoredSettings(a, r.index, &js);
  }
  const std::vector<uint8_t> exported = ExportFile(a);
  const FileCheck exportedCheck = CheckFile(exported);
  if (exportedCheck == FileCheck::kWrongSize || exportedCheck == FileCheck::kTooManyPairs ||
      exportedCheck == FileCheck::kEmpty)
    std::abort();

  const Arrays before = a;
  const FileCheck check = CheckFile(file);
  const int taken = Import(&a, file);
  if (check != FileCheck::kOk) {
    if (taken != -1 || a.colours != before.colours || a.memos != before.memos ||
        a.settings != before.settings)
      std::abort();
  } else {
    const size_t n = (file[0] | file[1] << 8) / kColourSize;
    if (taken != int(n)) std::abort();
    if (n && a.colours.size() != (ColourCount(before) + n) * kColourSize) std::abort();
  }
  if (!rows.empty()) {
    const size_t first = rows.front().index;
    Delete(&a, std::span(&first, 1));
  }
  return 0;
}
