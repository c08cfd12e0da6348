// Receipt colours, free of Windows: the three parallel printer-data arrays
// that hold the registered pairs (a source colour and the print colour the
// printer uses instead), their list rows, registration, deletion, the ".bin"
// export file and its import, and when the dialog may open at all.
//
// Entry i of each array belongs to the same pair:
//   APGD_RECEIPTCOL         8-byte records: flags (0x11; 0 = not listed),
//                           source R G B, print R G B, entry number
//   APGD_RECEIPTCOLMSG      72-byte records: entry number, 0, memo (UTF-16,
//                           NUL-terminated, at most 34 characters)
//   APGD_RECEIPTCOLDEVMODE  1384-byte job settings as they were at registration
// Entry numbers count on from the last one modulo 256 and survive deletions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "settings/job_settings.h"

namespace vq {
class PrinterStore;
}

namespace vq::receipt {

inline constexpr size_t kColourSize = 8;
inline constexpr size_t kMemoSize = 72;
inline constexpr size_t kSettingsSize = kJobSettingsSize;
inline constexpr size_t kPairSize = kColourSize + kMemoSize + kSettingsSize;
inline constexpr uint8_t kColourFlags = 0x11;
inline constexpr size_t kMemoChars = 34;      // stored
inline constexpr size_t kMemoTypedChars = 31; // the dialog's edit
// The most pairs an export file may hold: one per entry number. The file
// header bounds what an import reads before it looks at anything else.
inline constexpr uint32_t kMaxFilePairs = 255;
inline constexpr uint64_t kMaxFileSize = 4 + uint64_t{kMaxFilePairs} * kPairSize;

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The three values as stored (bytes, possibly damaged).
struct Arrays {
  std::vector<uint8_t> colours, memos, settings;
};

// Whole records in a value; a colour or memo array whose first byte is 0 is
// empty (the install default of the memo value is 8 zero bytes).
size_t ColourCount(const Arrays& a);
size_t MemoCount(const Arrays& a);
size_t SettingsCount(const Arrays& a);
// Byte 7 of the last colour record; 0 for an empty array.
uint8_t LastNumber(const Arrays& a);

// One line of the list: the colour records whose flags are not 0, in order.
struct Row {
  size_t index;  // record index in the arrays
  uint8_t number;
  Rgb source, print;
  std::u16string memo;  // empty when the memo record's number does not match
};
std::vector<Row> ListRows(const Arrays& a);
// "R:%d G:%d B:%d"
std::u16string ColourText(const Rgb& c);

// Registration: appends one pair (an empty colour or memo array is replaced)
// and returns its number. The memo is cut to kMemoChars.
uint8_t Register(Arrays* a, const Rgb& source, const Rgb& print, std::u16string_view memo,
                 std::span<const uint8_t, kSettingsSize> settings);

// Removes the records at `indices` (any order, duplicates allowed) from all
// three arrays; the others keep their order and numbers.
void Delete(Arrays* a, std::span<const size_t> indices);

// The job settings stored with record `index`; false when there is none of
// the full size.
bool StoredSettings(const Arrays& a, size_t index, JobSettings* out);

// ---- Export file ------------------------------------------------------------
// u32 L = 8 n, the colour records, the memo records, the settings records.

// The file for the stored arrays: n is the number of whole colour records;
// memo and settings arrays that disagree are cut or padded with zeros so the
// file always has the exact size an import expects.
std::vector<uint8_t> ExportFile(const Arrays& a);

enum class FileCheck {
  kOk,
  kEmpty,          // no bytes
  kTooLarge,       // over kMaxFileSize: not read at all
  kWrongSize,      // header and size disagree (truncated, padded, L not 8 n)
  kTooManyPairs,   // the header claims more than kMaxFilePairs
  kForeignRecord,  // the first settings record is not this driver's
  kFutureVersion,  // ... or was written by a newer version
};
const char* FileCheckName(FileCheck c);
// Only the file's size is known: whether it can be a file at all.
FileCheck CheckFileSize(uint64_t size);
FileCheck CheckFile(std::span<const uint8_t> bytes);

// Takes a checked file into the arrays: appended after the stored entries
// (replacing them when the colour array is empty), renumbered from the last
// stored number + 1 modulo 256. Returns the number of pairs taken; a file
// that fails CheckFile changes nothing and gives -1.
int Import(Arrays* a, std::span<const uint8_t> file);

// ---- Printer data -----------------------------------------------------------

// Reads the three values; a missing or unreadable value is an empty array.
Arrays ReadArrays(PrinterStore* store);
// Writes colour, memo, settings in that order and stops at the first
// failure; returns how many were written (3 on success).
int WriteArrays(PrinterStore* store, const Arrays& a);

// Whether the job settings print plain colour, the only mode in which
// receipt colours apply.
bool IsPlainColourPrinting(const JobSettings& js);

// The value a source-colour edit holding `typed` (digits only) stands for,
// clamped to 0..255; empty counts as 0.
int SourceValue(std::u16string_view typed);

}  // namespace vq::receipt
