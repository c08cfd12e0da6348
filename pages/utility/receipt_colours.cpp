#include "pages/utility/receipt_colours.h"

#include <algorithm>
#include <cstring>

#include "base/byte_reader.h"
#include "settings/printer_store.h"

namespace vq::receipt {
namespace {

constexpr size_t kMemoText = 2;  // the text starts after the number and a 0
// Where the first settings record's signature and sizes sit.
constexpr size_t kSignatureOffset = kPublicSize;
constexpr size_t kSpecVersionOffset = 64, kDriverVersionOffset = 66, kDmSizeOffset = 68,
                 kDriverExtraOffset = 70;

bool EmptyByFirstByte(const std::vector<uint8_t>& v) { return v.empty() || v[0] == 0; }

Rgb RgbAt(const uint8_t* p) { return {p[0], p[1], p[2]}; }

void PutMemo(uint8_t* record, uint8_t number, std::u16string_view memo) {
  std::memset(record, 0, kMemoSize);
  record[0] = number;
  const size_t n = std::min(memo.size(), kMemoChars);
  for (size_t i = 0; i < n; ++i) {
    record[kMemoText + 2 * i] = uint8_t(memo[i]);
    record[kMemoText + 2 * i + 1] = uint8_t(memo[i] >> 8);
  }
}

// Erases record `i` of `size`-byte records when the array holds it whole.
void EraseRecord(std::vector<uint8_t>* v, size_t i, size_t size) {
  if ((i + 1) * size <= v->size())
    v->erase(v->begin() + ptrdiff_t(i * size), v->begin() + ptrdiff_t((i + 1) * size));
}

// Copies `count` records of `size` bytes from `from` (shorter: zeros).
void AppendPadded(std::vector<uint8_t>* out, const std::vector<uint8_t>& from, size_t count,
                  size_t size) {
  const size_t want = count * size;
  const size_t have = std::min(want, from.size());
  out->insert(out->end(), from.begin(), from.begin() + ptrdiff_t(have));
  out->resize(out->size() + (want - have), 0);
}

}  // namespace

size_t ColourCount(const Arrays& a) {
  return EmptyByFirstByte(a.colours) ? 0 : a.colours.size() / kColourSize;
}
size_t MemoCount(const Arrays& a) {
  return EmptyByFirstByte(a.memos) ? 0 : a.memos.size() / kMemoSize;
}
size_t SettingsCount(const Arrays& a) { return a.settings.size() / kSettingsSize; }

uint8_t LastNumber(const Arrays& a) {
  const size_t n = ColourCount(a);
  return n ? a.colours[n * kColourSize - 1] : 0;
}

std::vector<Row> ListRows(const Arrays& a) {
  std::vector<Row> rows;
  const size_t memos = MemoCount(a);
  for (size_t i = 0, n = ColourCount(a); i < n; ++i) {
    const uint8_t* c = a.colours.data() + i * kColourSize;
    if (c[0] == 0) continue;
    Row row{i, c[7], RgbAt(c + 1), RgbAt(c + 4), {}};
    if (i < memos && a.memos[i * kMemoSize] == c[7])
      row.memo = ByteReader(a.memos.data() + i * kMemoSize, kMemoSize).Text16(kMemoText, kMemoChars);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::u16string ColourText(const Rgb& c) {
  const std::string s = "R:" + std::to_string(c.r) + " G:" + std::to_string(c.g) +
                        " B:" + std::to_string(c.b);
  return std::u16string(s.begin(), s.end());
}

uint8_t Register(Arrays* a, const Rgb& source, const Rgb& print, std::u16string_view memo,
                 std::span<const uint8_t, kSettingsSize> settings) {
  const bool empty = ColourCount(*a) == 0;
  const uint8_t number = empty ? 1 : uint8_t(LastNumber(*a) + 1);
  const uint8_t colour[kColourSize] = {kColourFlags, source.r, source.g, source.b,
                                       print.r,      print.g,  print.b,  number};
  if (empty) a->colours.clear();
  a->colours.insert(a->colours.end(), colour, colour + kColourSize);
  uint8_t record[kMemoSize];
  PutMemo(record, number, memo);
  if (EmptyByFirstByte(a->memos)) a->memos.clear();
  a->memos.insert(a->memos.end(), record, record + kMemoSize);
  a->settings.insert(a->settings.end(), settings.begin(), settings.end());
  return number;
}

void Delete(Arrays* a, std::span<const size_t> indices) {
  std::vector<size_t> order(indices.begin(), indices.end());
  std::sort(order.begin(), order.end());
  order.erase(std::unique(order.begin(), order.end()), order.end());
  const size_t colours = ColourCount(*a), memos = MemoCount(*a);
  // From the back, so the positions still to go do not move.
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    if (*it >= colours) continue;
    EraseRecord(&a->colours, *it, kColourSize);
    if (*it < memos) EraseRecord(&a->memos, *it, kMemoSize);
    EraseRecord(&a->settings, *it, kSettingsSize);
  }
}

bool StoredSettings(const Arrays& a, size_t index, JobSettings* out) {
  if (index >= SettingsCount(a)) return false;
  std::memcpy(out, a.settings.data() + index * kSettingsSize, kSettingsSize);
  return true;
}

std::vector<uint8_t> ExportFile(const Arrays& a) {
  const size_t n = std::min<size_t>(ColourCount(a), kMaxFilePairs);
  std::vector<uint8_t> file(4);
  PutU32LE(file.data(), uint32_t(n * kColourSize));
  file.reserve(4 + n * kPairSize);
  AppendPadded(&file, a.colours, n, kColourSize);
  AppendPadded(&file, MemoCount(a) ? a.memos : std::vector<uint8_t>{}, n, kMemoSize);
  AppendPadded(&file, a.settings, n, kSettingsSize);
  return file;
}

const char* FileCheckName(FileCheck c) {
  switch (c) {
    case FileCheck::kOk: return "ok";
    case FileCheck::kEmpty: return "the file is empty";
    case FileCheck::kTooLarge: return "the file is larger than any receipt colour file";
    case FileCheck::kWrongSize: return "the file's size does not match its header (truncated?)";
    case FileCheck::kTooManyPairs: return "the header claims more than 255 colours";
    case FileCheck::kForeignRecord: return "the settings are not this printer's";
    case FileCheck::kFutureVersion: return "the settings come from a newer driver version";
  }
  return "unknown";
}

FileCheck CheckFileSize(uint64_t size) {
  if (size == 0) return FileCheck::kEmpty;
  if (size > kMaxFileSize) return FileCheck::kTooLarge;
  return FileCheck::kOk;
}

FileCheck CheckFile(std::span<const uint8_t> bytes) {
  // Checked in this order so that each refusal names the first fault a
  // reader would meet: presence, a size that cannot be one, the header's
  // claim, the size it implies, then the first record's origin.
  if (const FileCheck size = CheckFileSize(bytes.size()); size != FileCheck::kOk) return size;
  const ByteReader r(bytes);
  if (bytes.size() < 4) return FileCheck::kWrongSize;
  const uint64_t length = r.U32LE(0);
  const uint64_t n = length / kColourSize;
  if (n > kMaxFilePairs) return FileCheck::kTooManyPairs;
  if (length % kColourSize || bytes.size() != 4 + n * kPairSize) return FileCheck::kWrongSize;
  if (n == 0) return FileCheck::kOk;
  const uint64_t first = 4 + n * (kColourSize + kMemoSize);
  if (r.Text16(first + kSignatureOffset, 8) != kSignature || r.U8(first + kSignatureOffset + 10) ||
      r.U8(first + kSignatureOffset + 11) || r.U16LE(first + kDmSizeOffset) != kPublicSize ||
      r.U16LE(first + kDriverExtraOffset) != kPrivateSize)
    return FileCheck::kForeignRecord;
  if (r.U16LE(first + kDriverVersionOffset) > kDriverVersion ||
      r.U16LE(first + kSpecVersionOffset) > kSpecVersion)
    return FileCheck::kFutureVersion;
  return FileCheck::kOk;
}

int Import(Arrays* a, std::span<const uint8_t> file) {
  if (CheckFile(file) != FileCheck::kOk) return -1;
  const size_t n = ByteReader(file).U32LE(0) / kColourSize;
  if (n == 0) return 0;
  const size_t colours = ColourCount(*a);
  uint8_t number = uint8_t(LastNumber(*a) + 1);
  if (colours == 0) {
    a->colours.clear();
    a->memos.clear();
    a->settings.clear();
  } else {
    // The stored arrays line up with the colours before anything is added,
    // so that the new entries keep their index in all three.
    a->colours.resize(colours * kColourSize);
    std::vector<uint8_t> memos;
    AppendPadded(&memos, MemoCount(*a) ? a->memos : std::vector<uint8_t>{}, colours, kMemoSize);
    a->memos = std::move(memos);
    a->settings.resize(colours * kSettingsSize, 0);
  }
  const uint8_t* c = file.data() + 4;
  const uint8_t* m = c + n * kColourSize;
  const uint8_t* s = m + n * kMemoSize;
  for (size_t i = 0; i < n; ++i, ++number) {
    const size_t at = a->colours.size();
    a->colours.insert(a->colours.end(), c + i * kColourSize, c + (i + 1) * kColourSize);
    a->colours[at + 7] = number;
    const size_t memoAt = a->memos.size();
    a->memos.insert(a->memos.end(), m + i * kMemoSize, m + (i + 1) * kMemoSize);
    a->memos[memoAt] = number;
  }
  a->settings.insert(a->settings.end(), s, s + n * kSettingsSize);
  return int(n);
}

Arrays ReadArrays(PrinterStore* store) {
  Arrays a;
  uint32_t type = 0;
  // A value of another type is not one of these arrays: it reads as empty.
  if (!ReadPrinterValue(store, pd::kReceiptCol, &a.colours, &type) || type != kRegBinary)
    a.colours.clear();
  if (!ReadPrinterValue(store, pd::kReceiptColMsg, &a.memos, &type) || type != kRegBinary)
    a.memos.clear();
  if (!ReadPrinterValue(store, pd::kReceiptColDevMode, &a.settings, &type) || type != kRegBinary)
    a.settings.clear();
  return a;
}

int WriteArrays(PrinterStore* store, const Arrays& a) {
  const std::vector<uint8_t>* values[3] = {&a.colours, &a.memos, &a.settings};
  const char16_t* names[3] = {pd::kReceiptCol, pd::kReceiptColMsg, pd::kReceiptColDevMode};
  for (int i = 0; i < 3; ++i) {
    const std::vector<uint8_t>& v = *values[i];
    if (store->SetData(names[i], kRegBinary, v.data(), uint32_t(v.size())) != kErrorSuccess)
      return i;
  }
  return 3;
}

bool IsPlainColourPrinting(const JobSettings& js) {
  return js.Option552 != 1 && js.ColorStyle == 0 && js.Monochrome != 1 && js.IcmMode != 1 &&
         !(js.Mcc3Flags & 1) && (js.MediaTypeId < 262 || js.MediaTypeId > 361);
}

int SourceValue(std::u16string_view typed) {
  int value = 0;
  for (char16_t c : typed) {
    if (c < u'0' || c > u'9') break;
    value = std::min(value * 10 + (c - u'0'), 1000);
  }
  return std::min(value, 255);
}

}  // namespace vq::receipt
