// Device-mode corruptor: mutated device modes of every kind go through the
// four spooler entry points that take one. The driver must not crash, must
// hand back only records that re-validate unchanged, and must leave the
// printer's data as it found it.
//
//   wine_corruptor_tests [--gtest_...] [--count N] [--seed S]
//
// The suite runs it at a size of about a minute; --count 100000 is the full run.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/ddk_win.h"
#include "settings/printer_store.h"
#include "tests/wine/installed_printer.h"

namespace vq::wine {
namespace {

unsigned g_count = 25000;
unsigned g_seed = 20261205;

using DevQueryFn = BOOL(WINAPI*)(DEVQUERYPRINT_INFO*);

// Memory whose end is followed by a page nobody may touch: a device mode
// placed flush against it shows any read past the bytes the caller owns.
class GuardedArena {
 public:
  static constexpr size_t kRoom = 3 * 4096;
  GuardedArena() {
    base_ = static_cast<unsigned char*>(
        VirtualAlloc(nullptr, kRoom + 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(base_ + kRoom, 4096, PAGE_NOACCESS, &old);
  }
  ~GuardedArena() { VirtualFree(base_, 0, MEM_RELEASE); }
  unsigned char* Place(const std::vector<unsigned char>& bytes) {
    unsigned char* p = base_ + kRoom - bytes.size();
    std::memcpy(p, bytes.data(), bytes.size());
    return p;
  }

 private:
  unsigned char* base_;
};

std::map<std::wstring, std::vector<unsigned char>> Snapshot(HANDLE printer) {
  std::map<std::wstring, std::vector<unsigned char>> values;
  for (size_t i = 0; i < kPrinterValueCount; ++i) {
    const std::wstring name(reinterpret_cast<const wchar_t*>(kPrinterValues[i].name));
    std::vector<unsigned char> bytes;
    DWORD type = 0;
    if (ReadValue(printer, name.c_str(), &bytes, &type)) values[name] = bytes;
  }
  return values;
}

// The mutations, each a kind of device mode a caller can hand the driver.
class Mutator {
 public:
  Mutator(const JobSettings& base, unsigned seed) : base_(base), rng_(seed) {}

  std::vector<unsigned char> Next() {
    std::vector<unsigned char> dm(kJobSettingsSize);
    std::memcpy(dm.data(), &base_, kJobSettingsSize);
    switch (Pick(8)) {
      case 0:  // a few flipped bits anywhere
        for (unsigned n = 1 + Pick(8); n; --n) dm[Pick(kJobSettingsSize)] ^= 1u << Pick(8);
        break;
      case 1:  // truncated: the header says fewer bytes than the record has
        SetHeader(dm, static_cast<uint16_t>(Pick(2) ? kPublicSize : Pick(kPublicSize + 1)),
                  static_cast<uint16_t>(Pick(kPrivateSize + 1)));
        break;
      case 2:  // another driver's header
        SetHeader(dm, kPublicSize, static_cast<uint16_t>(Pick(4096)));
        if (Pick(2)) dm[kPublicSize + 2 * Pick(6)] ^= 0x20;
        break;
      case 3: {  // extreme sizes
        const uint16_t extremes[] = {0, 1, 71, 72, 219, 220, 221, 1163, 1164, 1165, 0x7FFF, 0xFFFF};
        SetHeader(dm, extremes[Pick(12)], extremes[Pick(12)]);
        break;
      }
      case 4: {  // one public or private word at a limit
        const size_t at = 64 + 2 * Pick((kJobSettingsSize - 64) / 2);
        const uint16_t limits[] = {0, 1, 0x7FFF, 0x8000, 0xFFFF, 0x0100};
        std::memcpy(&dm[at], &limits[Pick(6)], 2);
        break;
      }
      case 5: {  // a private 32-bit field at a limit
        const size_t at = kPublicSize + 16 + 4 * Pick((kPrivateSize - 16) / 4);
        const uint32_t limits[] = {0, 1, 12, 256, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
        std::memcpy(&dm[at], &limits[Pick(7)], 4);
        break;
      }
      case 6:  // garbage in a stretch of the record
        for (size_t i = Pick(kJobSettingsSize), n = Pick(200); n && i < dm.size(); --n, ++i)
          dm[i] = static_cast<unsigned char>(rng_());
        break;
      default: {  // a user-defined size with random dimensions and layout
        auto* js = reinterpret_cast<JobSettings*>(dm.data());
        js->dmPaperSize = 256;
        js->dmPaperWidth = static_cast<int16_t>(rng_());
        js->dmPaperLength = static_cast<int16_t>(rng_());
        js->Paper.paperLayout = Pick(24);
        js->OrientationLock = Pick(8);
        break;
      }
    }
    // The caller owns dmSize + dmDriverExtra bytes (at least the header).
    uint16_t size, extra;
    std::memcpy(&size, &dm[68], 2);
    std::memcpy(&extra, &dm[70], 2);
    const size_t owned = std::max<size_t>(72, std::min<size_t>(size_t{size} + extra, GuardedArena::kRoom));
    dm.resize(owned, 0);
    return dm;
  }

  unsigned Pick(unsigned n) { return static_cast<unsigned>(rng_() % n); }

 private:
  static void SetHeader(std::vector<unsigned char>& dm, uint16_t size, uint16_t extra) {
    std::memcpy(&dm[68], &size, 2);
    std::memcpy(&dm[70], &extra, 2);
  }
  JobSettings base_;
  std::mt19937 rng_;
};

TEST(Corruptor, MutatedDeviceModesNeverHurtTheDriverOrThePrinter) {
  Printer printer;
  ASSERT_TRUE(printer);
  HMODULE ui = LoadInstalledModule(L"VQ312UI.dll");
  auto convert = Export<ConvertFn>(ui, "DrvConvertDevMode");
  auto attributes = Export<JobAttributesFn>(ui, "DrvQueryJobAttributes");
  auto devQuery = Export<DevQueryFn>(ui, "DevQueryPrintEx");
  ASSERT_TRUE(convert && attributes && devQuery);

  JobSettings base{};
  ASSERT_EQ(DocumentProperties(printer.get(), nullptr, &base, DM_OUT_BUFFER), 1);
  const std::vector<unsigned char> storedBefore = StoredDevMode(printer.get());
  const auto valuesBefore = Snapshot(printer.get());

  GuardedArena arena;
  Mutator mutate(base, g_seed);
  auto* name = const_cast<wchar_t*>(kPrinterName);
  unsigned accepted = 0, refused = 0;
  for (unsigned i = 0; i < g_count; ++i) {
    const std::vector<unsigned char> dm = mutate.Next();
    SCOPED_TRACE(testing::Message() << "mutation " << i << " (seed " << g_seed << ")");

    // Whatever comes in, what goes out validates unchanged.
    JobSettings out{}, again{};
    const DWORD mode = DM_IN_BUFFER | DM_OUT_BUFFER | (mutate.Pick(2) ? DM_MODIFY : 0);
    ASSERT_EQ(DocumentProperties(printer.get(), arena.Place(dm), &out, mode), 1);
    ASSERT_EQ(DocumentProperties(printer.get(), &out, &again, DM_IN_BUFFER | DM_OUT_BUFFER), 1);
    ASSERT_EQ(0, std::memcmp(&out, &again, kJobSettingsSize));

    // The print-time check repairs in place; a record it accepts is final.
    unsigned char* job = arena.Place(dm);
    DEVQUERYPRINT_INFO info{sizeof info, 1, printer.get(), reinterpret_cast<DEVMODEW*>(job), nullptr, 0, 0};
    if (devQuery(&info)) {
      ++accepted;
      std::vector<unsigned char> repaired(job, job + dm.size());
      ASSERT_TRUE(devQuery(&info));
      ASSERT_EQ(0, std::memcmp(job, repaired.data(), repaired.size()));
    } else {
      ++refused;
    }

    ATTRIBUTE_INFO_3_LAYOUT attrs{};
    attributes(printer.get(), reinterpret_cast<DEVMODEW*>(arena.Place(dm)), mutate.Pick(5),
               reinterpret_cast<BYTE*>(&attrs));

    // Conversion stores the caller's record as the printer's default,
    // whatever it holds; whoever reads the default gets a record of this
    // driver all the same.
    LONG needed = 0;
    JobSettings converted{};
    if (convert(name, reinterpret_cast<DEVMODEW*>(arena.Place(dm)),
                reinterpret_cast<DEVMODEW*>(&converted), &needed, CDM_CONVERT) &&
        i % 64 == 0) {
      JobSettings stored{};
      ASSERT_EQ(DocumentProperties(printer.get(), nullptr, &stored, DM_OUT_BUFFER), 1);
      ASSERT_TRUE(HasSignature(stored));
    }
  }
  std::printf("%u mutated device modes: the print-time check accepted %u and refused %u\n",
              g_count, accepted, refused);

  // Put back the default the conversions replaced, then compare everything.
  ASSERT_TRUE(convert(name, reinterpret_cast<DEVMODEW*>(const_cast<unsigned char*>(storedBefore.data())),
                      reinterpret_cast<DEVMODEW*>(&base), nullptr, CDM_CONVERT));
  EXPECT_EQ(Snapshot(printer.get()), valuesBefore);
  FreeLibrary(ui);
}

}  // namespace
}  // namespace vq::wine

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"--count") vq::wine::g_count = std::wcstoul(argv[i + 1], nullptr, 10);
    if (std::wstring(argv[i]) == L"--seed") vq::wine::g_seed = std::wcstoul(argv[i + 1], nullptr, 10);
  }
  return RUN_ALL_TESTS();
}
