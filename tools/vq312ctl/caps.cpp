// `vq312ctl caps`: every capability answer of the printer, asked the way an
// application asks (DeviceCapabilitiesW through winspool).
#include <windows.h>
#include <wingdi.h>

#include <vector>

#include "tools/vq312ctl/describe.h"
#include "tools/vq312ctl/ctl.h"

namespace vq::ctl {
namespace {

enum class Shape { kValue, kFlags, kPapers, kPaperSizes, kPaperNames, kBins, kBinNames,
                   kResolutions, kNup, kExtent, kName };

struct CapabilityRow {
  WORD capability;
  const char* name;
  Shape shape;
};

constexpr CapabilityRow kCapabilities[] = {
    {DC_FIELDS, "DC_FIELDS", Shape::kFlags},
    {DC_PAPERS, "DC_PAPERS", Shape::kPapers},
    {DC_PAPERSIZE, "DC_PAPERSIZE", Shape::kPaperSizes},
    {DC_PAPERNAMES, "DC_PAPERNAMES", Shape::kPaperNames},
    {DC_MINEXTENT, "DC_MINEXTENT", Shape::kExtent},
    {DC_MAXEXTENT, "DC_MAXEXTENT", Shape::kExtent},
    {DC_BINS, "DC_BINS", Shape::kBins},
    {DC_BINNAMES, "DC_BINNAMES", Shape::kBinNames},
    {DC_DUPLEX, "DC_DUPLEX", Shape::kValue},
    {DC_SIZE, "DC_SIZE", Shape::kValue},
    {DC_EXTRA, "DC_EXTRA", Shape::kValue},
    {DC_VERSION, "DC_VERSION", Shape::kFlags},
    {DC_DRIVER, "DC_DRIVER", Shape::kFlags},
    {DC_ENUMRESOLUTIONS, "DC_ENUMRESOLUTIONS", Shape::kResolutions},
    {DC_FILEDEPENDENCIES, "DC_FILEDEPENDENCIES", Shape::kValue},
    {DC_TRUETYPE, "DC_TRUETYPE", Shape::kFlags},
    {DC_ORIENTATION, "DC_ORIENTATION", Shape::kValue},
    {DC_COPIES, "DC_COPIES", Shape::kValue},
    {DC_COLLATE, "DC_COLLATE", Shape::kValue},
    {DC_MANUFACTURER, "DC_MANUFACTURER", Shape::kValue},
    {DC_MODEL, "DC_MODEL", Shape::kValue},
    {DC_PERSONALITY, "DC_PERSONALITY", Shape::kValue},
    {DC_PRINTRATE, "DC_PRINTRATE", Shape::kValue},
    {DC_PRINTRATEUNIT, "DC_PRINTRATEUNIT", Shape::kValue},
    {DC_PRINTERMEM, "DC_PRINTERMEM", Shape::kValue},
    {DC_MEDIAREADY, "DC_MEDIAREADY", Shape::kName},
    {DC_STAPLE, "DC_STAPLE", Shape::kValue},
    {DC_PRINTRATEPPM, "DC_PRINTRATEPPM", Shape::kValue},
    {DC_COLORDEVICE, "DC_COLORDEVICE", Shape::kValue},
    {DC_NUP, "DC_NUP", Shape::kNup},
};

std::string Wide(const wchar_t* s, size_t max) {
  size_t n = 0;
  while (n < max && s[n]) ++n;
  return Utf8(std::u16string_view(reinterpret_cast<const char16_t*>(s), n));
}

}  // namespace

int RunCaps(const Options& options) {
  const wchar_t* printer = options.printer.c_str();
  Print("Capabilities of \"%s\" (DeviceCapabilitiesW)\n", Narrow(options.printer).c_str());
  for (const CapabilityRow& row : kCapabilities) {
    const int n = DeviceCapabilitiesW(printer, nullptr, row.capability, nullptr, nullptr);
    Print("  %-20s %d", row.name, n);
    if (n <= 0 || row.shape == Shape::kValue) {
      Print(n == -1 ? " (not answered)\n" : "\n");
      continue;
    }
    // Lists get 128 bytes an entry (the longest, a paper name); an extent
    // or a name is one small record whatever the value says.
    const bool list = row.shape != Shape::kExtent && row.shape != Shape::kName;
    std::vector<unsigned char> buf((list ? static_cast<size_t>(n) : 1) * 128 + 64);
    auto* w = reinterpret_cast<wchar_t*>(buf.data());
    auto* words = reinterpret_cast<WORD*>(buf.data());
    auto* longs = reinterpret_cast<LONG*>(buf.data());
    auto* dwords = reinterpret_cast<DWORD*>(buf.data());
    if (row.shape != Shape::kFlags)
      DeviceCapabilitiesW(printer, nullptr, row.capability, w, nullptr);
    switch (row.shape) {
      case Shape::kFlags: Print(" (0x%x)\n", n); break;
      case Shape::kExtent:
        Print(" (%s x %s)\n", Millimetres(longs[0]).c_str(), Millimetres(longs[1]).c_str());
        break;
      case Shape::kName: Print(" \"%s\"\n", Wide(w, 32).c_str()); break;
      case Shape::kPapers:
        Print(":");
        for (int i = 0; i < n; ++i) Print(" %u", words[i]);
        Print("\n");
        break;
      case Shape::kBins:
        Print(": %u\n", words[0]);
        break;
      case Shape::kPaperSizes:
        Print("\n");
        for (int i = 0; i < n; ++i)
          Print("      %s x %s\n", Millimetres(longs[2 * i]).c_str(),
                Millimetres(longs[2 * i + 1]).c_str());
        break;
      case Shape::kPaperNames:
        Print("\n");
        for (int i = 0; i < n; ++i) Print("      %s\n", Wide(w + 64 * i, 64).c_str());
        break;
      case Shape::kBinNames:
        Print(":");
        for (int i = 0; i < n; ++i) Print(" \"%s\"", Wide(w + 24 * i, 24).c_str());
        Print("\n");
        break;
      case Shape::kResolutions:
        Print(":");
        for (int i = 0; i < n; ++i) Print(" %ldx%ld dpi", longs[2 * i], longs[2 * i + 1]);
        Print("\n");
        break;
      case Shape::kNup:
        Print(":");
        for (int i = 0; i < n; ++i) Print(" %lu", dwords[i]);
        Print(" pages per sheet\n");
        break;
      case Shape::kValue: break;
    }
  }
  return 0;
}

}  // namespace vq::ctl
