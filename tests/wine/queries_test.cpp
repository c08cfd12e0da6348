// The spooler's questions, asked of the installed driver: capabilities
// through winspool as applications ask them, and the entry points Wine's
// spooler never calls (conversion, job attributes, the print-time check)
// called as the spooler would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "base/ddk_win.h"
#include "settings/printer_store.h"
#include "settings/printer_store_win.h"
#include "tests/wine/installed_printer.h"

namespace vq::wine {
namespace {


class Queries : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer_);
    ASSERT_NE(ui_, nullptr);
    ASSERT_TRUE(difm_.Complete());
    Win32PrinterStore store(printer_.get(), false);
    papers_ = ReadPaperTable(&store);
    ASSERT_FALSE(papers_.empty());
  }
  void TearDown() override { FreeLibrary(ui_); }

  int Caps(WORD capability, void* out = nullptr) {
    return DeviceCapabilitiesW(kPrinterName, nullptr, capability, static_cast<wchar_t*>(out),
                               nullptr);
  }
  JobSettings Stored() {
    JobSettings js{};
    EXPECT_EQ(DocumentProperties(printer_.get(), nullptr, &js, DM_OUT_BUFFER), 1);
    return js;
  }

  Printer printer_;
  HMODULE ui_ = LoadInstalledModule(L"VQ312UI.dll");
  DifmApi difm_ = InstalledDifm();
  std::vector<PaperInfo> papers_;
};

// Each capability through winspool, against the printer's data and the
// device module's own answers.
TEST_F(Queries, AnswersEveryCapabilityThroughWinspool) {
  DifmMapping map(difm_, kModelName);
  const DifmHandle h = map.get();
  struct Row {
    WORD capability;
    int expected;
  };
  const Row rows[] = {
      {DC_FIELDS, 0x800D1F},  // scaling is allowed at installation
      {DC_PAPERS, static_cast<int>(papers_.size())},
      {DC_PAPERSIZE, static_cast<int>(papers_.size())},
      {DC_PAPERNAMES, static_cast<int>(papers_.size())},
      {DC_BINS, 1},
      {DC_DUPLEX, difm_.DifmGetDuplexInf(h)},
      {DC_SIZE, 220},
      {DC_EXTRA, 1164},
      {DC_VERSION, 0x0401},
      {DC_DRIVER, 0x0500},
      {DC_BINNAMES, difm_.DifmGetBinNamesInf(h, nullptr)},
      {DC_ENUMRESOLUTIONS, difm_.DifmGetEnumResolutionsInf(h, nullptr)},
      {DC_FILEDEPENDENCIES, 0},
      {DC_TRUETYPE, difm_.DifmGetTrueTypeInf(h)},
      {DC_ORIENTATION, difm_.DifmGetOrientationInf(h)},
      {DC_COPIES, static_cast<int16_t>(difm_.DifmGetCopiesInf(h))},
      {DC_COLLATE, difm_.DifmGetCollateInf(h)},
      {DC_MANUFACTURER, -1},
      {DC_MODEL, -1},
      {DC_PERSONALITY, 0},
      {DC_PRINTRATE, difm_.DifmGetPrintRateInf(h)},
      {DC_PRINTRATEUNIT, difm_.DifmGetPrintRateUnitInf(h)},
      {DC_PRINTERMEM, difm_.DifmGetPrinterMemInf(h)},
      {DC_MEDIAREADY, 1},
      {DC_STAPLE, difm_.DifmGetStapleInf(h)},
      {DC_PRINTRATEPPM, difm_.DifmGetPrintRatePPMInf(h)},
      {DC_COLORDEVICE, difm_.DifmGetColorDeviceInf(h)},
      {DC_NUP, difm_.DifmGetNupInf(h, nullptr)},
      {19, -1},
      {34, -1},
      {0, -1},
  };
  for (const Row& r : rows) EXPECT_EQ(Caps(r.capability), r.expected) << "capability " << r.capability;

  std::vector<WORD> ids(papers_.size());
  std::vector<POINT> sizes(papers_.size());
  std::vector<wchar_t> names(papers_.size() * 64);
  ASSERT_EQ(Caps(DC_PAPERS, ids.data()), static_cast<int>(papers_.size()));
  ASSERT_EQ(Caps(DC_PAPERSIZE, sizes.data()), static_cast<int>(papers_.size()));
  ASSERT_EQ(Caps(DC_PAPERNAMES, names.data()), static_cast<int>(papers_.size()));
  for (size_t i = 0; i < papers_.size(); ++i) {
    EXPECT_EQ(ids[i], papers_[i].paperId);
    EXPECT_EQ(sizes[i].x, static_cast<LONG>(papers_[i].paperWidth));
    EXPECT_EQ(sizes[i].y, static_cast<LONG>(papers_[i].paperLength));
    EXPECT_EQ(0, std::memcmp(&names[i * 64], papers_[i].paperName, 128));
  }
  LONG resolutions[8] = {};
  ASSERT_EQ(Caps(DC_ENUMRESOLUTIONS, resolutions), 2);
  EXPECT_EQ(resolutions[0], 600);
  EXPECT_EQ(resolutions[2], 1200);
  WORD bins[4] = {};
  EXPECT_EQ(Caps(DC_BINS, bins), 1);
  EXPECT_EQ(bins[0], DMBIN_AUTO);
}

// The printer's own data decides, not the module: a printer whose paper
// table or layout flag changed answers with the change.
TEST_F(Queries, FollowThePrintersData) {
  Printer admin(kPrinterName, PRINTER_ALL_ACCESS);
  Win32PrinterStore store(admin.get(), false);
  ASSERT_TRUE(WritePaperTable(&store, papers_.data(), 3));
  EXPECT_EQ(Caps(DC_PAPERS), 3);
  ASSERT_TRUE(WritePaperTable(&store, papers_.data(), static_cast<uint32_t>(papers_.size())));
  EXPECT_EQ(Caps(DC_PAPERS), static_cast<int>(papers_.size()));
}

// A buffer that ends at a page the process may not touch: the call
// returns 0 and writes nothing, through winspool and called directly.
TEST_F(Queries, TooSmallBufferReturnsZero) {
  auto caps = Export<DeviceCapabilitiesFn>(ui_, "DrvDeviceCapabilities");
  ASSERT_NE(caps, nullptr);
  SYSTEM_INFO si;
  GetSystemInfo(&si);
  auto* pages = static_cast<unsigned char*>(
      VirtualAlloc(nullptr, si.dwPageSize * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD old;
  ASSERT_TRUE(VirtualProtect(pages + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old));
  const size_t needed = papers_.size() * 128;
  unsigned char* tooSmall = pages + si.dwPageSize - needed / 2;
  std::memset(pages, 0xCC, si.dwPageSize);
  EXPECT_EQ(caps(printer_.get(), const_cast<wchar_t*>(kPrinterName), DC_PAPERNAMES, tooSmall, nullptr), 0u);
  EXPECT_EQ(Caps(DC_PAPERNAMES, tooSmall), 0);
  EXPECT_EQ(tooSmall[0], 0xCC) << "nothing may be written when the answer does not fit";
  unsigned char* fits = pages + si.dwPageSize - needed;
  EXPECT_EQ(Caps(DC_PAPERNAMES, fits), static_cast<int>(papers_.size()));
  VirtualFree(pages, 0, MEM_RELEASE);
}

// What callers of the export see: the needed size and last errors, a
// conversion that becomes the printer's default, and a foreign record that
// does not. (The modes' rules are tested natively.)
TEST_F(Queries, ConvertsAndReportsErrorsLikeTheSpoolerExpects) {
  auto convert = Export<ConvertFn>(ui_, "DrvConvertDevMode");
  ASSERT_NE(convert, nullptr);
  auto* name = const_cast<wchar_t*>(kPrinterName);
  JobSettings in = Stored(), out{};
  auto* inDm = reinterpret_cast<DEVMODEW*>(&in);
  auto* outDm = reinterpret_cast<DEVMODEW*>(&out);
  LONG needed = 0;
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(convert(name, inDm, nullptr, &needed, CDM_CONVERT));
  EXPECT_EQ(needed, 1384);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(convert(name, nullptr, outDm, &needed, CDM_CONVERT));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  JobSettings changed = in, foreign = in, shortRecord = in;
  changed.dmCopies = 7;
  foreign.Signature[0] = u'Z';
  shortRecord.dmDriverExtra = 300;
  SetLastError(0xdeadbeef);
  EXPECT_TRUE(convert(name, reinterpret_cast<DEVMODEW*>(&changed), outDm, &needed, CDM_CONVERT));
  EXPECT_EQ(GetLastError(), 0xdeadbeefu) << "success leaves the caller's error alone";
  EXPECT_EQ(Stored().dmCopies, 7);

  // Another driver's record and a short one become the stored default as
  // they are; whoever reads the default gets a record of this driver.
  for (const JobSettings* record : {&foreign, &shortRecord}) {
    const size_t size = size_t{record->dmSize} + record->dmDriverExtra;
    ASSERT_TRUE(convert(name, reinterpret_cast<DEVMODEW*>(const_cast<JobSettings*>(record)), outDm,
                        &needed, CDM_CONVERT));
    EXPECT_EQ(0, std::memcmp(&out, record, size));
    std::vector<unsigned char> stored = StoredDevMode(printer_.get());
    stored.resize(size);
    // Wine keeps the two names as single-byte text: the device name comes
    // back as text (what follows its end does not), the form name empty.
    JobSettings given = *record;
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(stored.data()),
                 reinterpret_cast<const wchar_t*>(given.dmDeviceName));
    for (size_t at : {offsetof(JobSettings, dmDeviceName), offsetof(JobSettings, dmFormName)}) {
      std::memset(reinterpret_cast<unsigned char*>(&given) + at, 0, 64);
      std::memset(stored.data() + at, 0, 64);
    }
    const auto* want = reinterpret_cast<const unsigned char*>(&given);
    const size_t differs = std::mismatch(stored.begin(), stored.end(), want).first - stored.begin();
    EXPECT_EQ(differs, size) << "stored as given, " << size << " bytes";
    const JobSettings read = Stored();
    EXPECT_TRUE(HasSignature(read));
    EXPECT_EQ(read.dmDriverExtra, kPrivateSize);
    EXPECT_NE(read.dmCopies, 7) << "the unusable default gave way to the built-in one";
  }
  ASSERT_TRUE(convert(name, inDm, outDm, &needed, CDM_CONVERT));
  EXPECT_EQ(Stored().dmCopies, in.dmCopies) << "the default is back";
}

// The three levels' structures as the spooler lays them out: level 1 is
// seven DWORDs, 2 adds the colour optimisation, 3 the two resolutions.
TEST_F(Queries, FillsEachAttributeLevelToItsSize) {
  auto query = Export<JobAttributesFn>(ui_, "DrvQueryJobAttributes");
  ASSERT_NE(query, nullptr);
  JobSettings js = Stored();
  js.PagesPerSheet = 4;
  js.dmCopies = 3;
  for (DWORD level : {1u, 2u, 3u}) {
    SCOPED_TRACE(level);
    ATTRIBUTE_INFO_3_LAYOUT info;
    std::memset(&info, 0x5A, sizeof info);
    ASSERT_TRUE(query(printer_.get(), reinterpret_cast<DEVMODEW*>(&js), level, reinterpret_cast<BYTE*>(&info)));
    EXPECT_EQ(info.dwJobNumberOfPagesPerSide, 4u);
    EXPECT_EQ(info.dwJobNumberOfCopies, 3u);
    EXPECT_EQ(info.dwColorOptimization, level >= 2 ? 0u : 0x5A5A5A5Au);
    EXPECT_EQ(info.dmPrintQuality, level == 3 ? js.dmPrintQuality : static_cast<short>(0x5A5A));
  }
  ATTRIBUTE_INFO_3_LAYOUT info{};
  EXPECT_FALSE(query(nullptr, reinterpret_cast<DEVMODEW*>(&js), 1, reinterpret_cast<BYTE*>(&info)));
}

}  // namespace
}  // namespace vq::wine
