// Capabilities, conversion, job attributes and the print-time check against
// the simulated printer.
#include "entry/spooler_queries.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq {
namespace {

using test::kPrinter;
using test::TestPrinter;

TEST(Capabilities, PaperAnswersComeFromThePrintersTable) {
  TestPrinter tp;
  auto printer = tp.Open();
  const std::vector<PaperInfo> table = ReadPaperTable(printer.get());
  ASSERT_FALSE(table.empty());
  for (uint32_t cap : {kDcPapers, kDcPaperSize, kDcPaperNames}) {
    SCOPED_TRACE(cap);
    const CapabilityAnswer count = AnswerCapability(printer.get(), kPrinter, cap, false, tp.svc);
    EXPECT_EQ(count.result, table.size());
    EXPECT_TRUE(count.output.empty()) << "a count query writes nothing";
    const CapabilityAnswer full = AnswerCapability(printer.get(), kPrinter, cap, true, tp.svc);
    const size_t element = cap == kDcPapers ? 2 : cap == kDcPaperSize ? 8 : 128;
    ASSERT_EQ(full.output.size(), table.size() * element);
    for (size_t i = 0; i < table.size(); ++i) {
      const unsigned char* e = full.output.data() + i * element;
      if (cap == kDcPapers) {
        uint16_t id;
        std::memcpy(&id, e, 2);
        EXPECT_EQ(id, table[i].paperId);
      } else if (cap == kDcPaperSize) {
        int32_t wl[2];
        std::memcpy(wl, e, 8);
        EXPECT_EQ(wl[0], static_cast<int32_t>(table[i].paperWidth));
        EXPECT_EQ(wl[1], static_cast<int32_t>(table[i].paperLength));
      } else {
        EXPECT_EQ(0, std::memcmp(e, table[i].paperName, 128));
      }
    }
  }
  // A table that disagrees with its count reports no papers rather than a
  // list the caller's buffer was not sized for.
  tp.data->SetDword(pd::kPaperNum, static_cast<uint32_t>(table.size() + 1));
  EXPECT_EQ(AnswerCapability(printer.get(), kPrinter, kDcPapers, true, tp.svc).result, 0u);
  tp.data->values.erase(pd::kPaperNum);
  EXPECT_EQ(AnswerCapability(printer.get(), kPrinter, kDcPapers, false, tp.svc).result, 0u);
}

TEST(Capabilities, ConstantsFlagsAndUnansweredQueries) {
  TestPrinter tp;
  auto printer = tp.Open();
  struct Row {
    uint32_t cap;
    uint32_t expected;
  };
  const Row rows[] = {
      {kDcFields, 0x800D1F}, {kDcSize, 220}, {kDcExtra, 1164}, {kDcVersion, 0x0401},
      {kDcDriver, 0x0500}, {kDcBins, 1}, {kDcFileDependencies, 0}, {kDcPersonality, 0},
      {kDcManufacturer, kCapabilityError}, {kDcModel, kCapabilityError}, {19, kCapabilityError},
      {34, kCapabilityError}, {0, kCapabilityError},
      // Only the low 16 bits name the capability.
      {0x10000 | kDcSize, 220},
  };
  for (const Row& r : rows)
    EXPECT_EQ(AnswerCapability(printer.get(), kPrinter, r.cap, false, tp.svc).result, r.expected)
        << r.cap;

  tp.data->SetDword(pd::kScaling, 0);
  EXPECT_EQ(AnswerCapability(printer.get(), kPrinter, kDcFields, false, tp.svc).result, 0x800D0Fu);
  const CapabilityAnswer nup = AnswerCapability(printer.get(), kPrinter, kDcNup, true, tp.svc);
  EXPECT_GT(nup.result, 0u);
  EXPECT_EQ(nup.output.size(), nup.result * 4);
  tp.data->SetDword(pd::kPrintLayout, 0);
  EXPECT_EQ(AnswerCapability(printer.get(), kPrinter, kDcNup, true, tp.svc).result, 0u);
  const CapabilityAnswer bins = AnswerCapability(printer.get(), kPrinter, kDcBins, true, tp.svc);
  EXPECT_EQ(bins.output, (std::vector<unsigned char>{7, 0}));
}

TEST(Capabilities, MediaReadyNamesTheDefaultForm) {
  TestPrinter tp;
  auto printer = tp.Open();
  JobSettings js = tp.Defaults();
  tp.data->devMode.assign(reinterpret_cast<unsigned char*>(&js),
                          reinterpret_cast<unsigned char*>(&js) + kJobSettingsSize);
  const CapabilityAnswer a = AnswerCapability(printer.get(), kPrinter, kDcMediaReady, true, tp.svc);
  EXPECT_EQ(a.result, 1u);
  const std::u16string name(reinterpret_cast<const char16_t*>(a.output.data()), a.output.size() / 2 - 1);
  EXPECT_EQ(name, std::u16string(js.dmFormName));
  EXPECT_EQ(AnswerCapability(printer.get(), u"No such printer", kDcMediaReady, true, tp.svc).result,
            kCapabilityError);
}

TEST(Capabilities, UnmappableModuleAnswersNothing) {
  TestPrinter tp;
  DifmApi broken = tp.difm;
  broken.DifmMapper = [](uint32_t, const char16_t*) -> DifmHandle { return nullptr; };
  DifmApi unmapFails = tp.difm;
  unmapFails.DifmUnMapper = [](uint32_t, DifmHandle) -> int32_t { return 0; };
  auto printer = tp.Open();
  for (const DifmApi* api : {&broken, &unmapFails}) {
    const DriverServices svc{api, &tp.spooler};
    EXPECT_EQ(AnswerCapability(printer.get(), kPrinter, kDcSize, false, svc).result, kCapabilityError);
  }
}

TEST(ConvertDevMode, ModesAndErrors) {
  TestPrinter tp;
  JobSettings in = tp.WithPaper(1005), out{};
  uint32_t error = 0;
  int32_t needed = 0;
  EXPECT_FALSE(ConvertDevMode(kPrinter, &in, nullptr, &needed, kCdmConvert, tp.svc, &error));
  EXPECT_EQ(needed, 1384);
  EXPECT_EQ(error, kErrorInsufficientBuffer);
  EXPECT_FALSE(ConvertDevMode(kPrinter, nullptr, &out, &needed, kCdmConvert, tp.svc, &error));
  EXPECT_EQ(error, kErrorInvalidParameter);

  tp.data->devMode.assign(kJobSettingsSize, 0);
  in.dmCopies = 4;
  EXPECT_TRUE(ConvertDevMode(kPrinter, &in, &out, &needed, kCdmConvert, tp.svc, &error));
  EXPECT_EQ(error, 0u);
  EXPECT_EQ(out.dmCopies, 4);
  EXPECT_EQ(0, std::memcmp(tp.data->devMode.data(), &out, kJobSettingsSize)) << "stored as the default";

  // Whatever the caller hands over is copied as it is, up to its own size and
  // at most 1384 bytes: another driver's record, a short one, one that does
  // not validate. A header claiming more than was copied is stored claiming
  // what is there, so the spooler never copies past the stored bytes.
  auto header = [](JobSettings js, uint16_t size, uint16_t extra) {
    js.dmSize = size, js.dmDriverExtra = extra;
    return js;
  };
  JobSettings unknownPaper = in;
  unknownPaper.dmPaperSize = 4242;
  const struct { const char* what; JobSettings record; uint32_t copied, storedSize, storedExtra; }
      converts[] = {
          {"another driver's", header(in, 220, 10), 230, 220, 10},
          {"short", header(in, 220, 300), 520, 220, 300},
          {"public part only", header(in, 220, 0), 220, 220, 0},
          {"older public part", header(in, 188, 1164), 1352, 188, 1164},
          {"does not validate", unknownPaper, 1384, 220, 1164},
          {"claims 128 KiB", header(in, 0xFFFF, 0xFFFF), 1384, 1384, 0},
          {"claims a larger private part", header(in, 220, 2000), 1384, 220, 1164},
      };
  for (const auto& c : converts) {
    std::memset(&out, 0xEE, sizeof out);
    tp.data->devMode.assign(kJobSettingsSize, 0x11);
    ASSERT_TRUE(ConvertDevMode(kPrinter, &c.record, &out, &needed, kCdmConvert, tp.svc, &error))
        << c.what;
    const std::vector<unsigned char> given = test::RawBytes(&c.record, c.copied);
    EXPECT_EQ(test::RawBytes(&out, c.copied), given) << c.what;
    ASSERT_EQ(tp.data->devMode.size(), kJobSettingsSize) << c.what;
    JobSettings stored{};
    std::memcpy(&stored, tp.data->devMode.data(), kJobSettingsSize);
    EXPECT_EQ(std::tuple(stored.dmSize, stored.dmDriverExtra),
              std::tuple(uint16_t(c.storedSize), uint16_t(c.storedExtra)))
        << c.what;
    stored.dmSize = c.record.dmSize, stored.dmDriverExtra = c.record.dmDriverExtra;
    EXPECT_EQ(test::RawBytes(&stored, c.copied), given) << c.what;
    if (c.copied < kJobSettingsSize) {
      EXPECT_EQ(test::RawBytes(&out, kJobSettingsSize)[c.copied], 0xEE) << c.what << ": past the caller's bytes";
      EXPECT_EQ(tp.data->devMode[c.copied], 0x11) << c.what << ": the rest of the stored default";
    }
  }

  // A public part that ends before the form name does is no device mode the
  // spooler can store: refused, nothing written.
  for (uint16_t size : {uint16_t(0), uint16_t(71), uint16_t(102), uint16_t(165)}) {
    std::memset(&out, 0xEE, sizeof out);
    tp.data->devMode.assign(kJobSettingsSize, 0x11);
    JobSettings tiny = header(in, size, 1164);
    EXPECT_FALSE(ConvertDevMode(kPrinter, &tiny, &out, &needed, kCdmConvert, tp.svc, &error)) << size;
    EXPECT_EQ(error, kErrorInvalidParameter);
    EXPECT_EQ(out.dmCopies, static_cast<int16_t>(0xEEEE)) << size;
    EXPECT_EQ(tp.data->devMode, std::vector<unsigned char>(kJobSettingsSize, 0x11)) << size;
  }

  // An unknown printer: TRUE, nothing written. A printer with no stored default: FALSE.
  std::memset(&out, 0xEE, sizeof out);
  EXPECT_TRUE(ConvertDevMode(u"Elsewhere", &in, &out, &needed, kCdmConvert, tp.svc, &error));
  EXPECT_EQ(out.dmCopies, static_cast<int16_t>(0xEEEE));
  tp.data->devMode.clear();
  EXPECT_FALSE(ConvertDevMode(kPrinter, &in, &out, &needed, kCdmConvert, tp.svc, &error));

  EXPECT_TRUE(ConvertDevMode(kPrinter, nullptr, &out, &needed, kCdmDriverDefault, tp.svc, &error));
  const JobSettings defaults = tp.Defaults();
  EXPECT_EQ(0, std::memcmp(&out, &defaults, kJobSettingsSize));
  std::memset(&out, 0x33, sizeof out);
  EXPECT_TRUE(ConvertDevMode(kPrinter, &in, &out, &needed, kCdmConvert351, tp.svc, &error));
  EXPECT_EQ(out.dmCopies, 0x3333);
}

TEST(JobAttributes, ReportPagesCopiesAndBorders) {
  TestPrinter tp;
  JobSettings js = tp.Defaults();
  js.PagesPerSheet = 6;
  js.PageOrder = 1;
  js.dmCopies = 9;
  js.dmPrintQuality = 1200;
  js.dmYResolution = 1200;
  for (uint32_t border : {0u, 1u}) {
    js.PageBorder = border;
    JobAttributes a{};
    ASSERT_TRUE(QueryJobAttributes(true, &js, 3, &a, tp.svc));
    EXPECT_EQ(a.jobPagesPerSide, 6u);
    EXPECT_EQ(a.drvPagesPerSide, 1u);
    EXPECT_EQ(a.nupBorderFlags, border ? 0u : 1u);
    EXPECT_EQ(a.jobPageOrderFlags, 1u);
    EXPECT_EQ(a.jobCopies, 9u);
    EXPECT_EQ(a.drvCopies, 999u);
    EXPECT_EQ(a.printQuality, 1200);
  }
  JobAttributes a{};
  JobSettings other = js;
  other.Signature[0] = u'W';
  struct Refusal {
    bool printer;
    const void* dm;
    uint32_t level;
  } refusals[] = {{false, &js, 1}, {true, nullptr, 1}, {true, &js, 0}, {true, &js, 4}, {true, &other, 1}};
  for (const Refusal& r : refusals) EXPECT_FALSE(QueryJobAttributes(r.printer, r.dm, r.level, &a, tp.svc));
}

TEST(PrintTimeCheck, RepairsInPlaceOrRefuses) {
  TestPrinter tp;
  auto printer = tp.Open();
  JobSettings js = tp.WithPaper(1003);
  js.dmCopies = 5000;
  EXPECT_TRUE(CheckJobDevMode(&js, printer.get(), tp.svc));
  EXPECT_EQ(js.dmCopies, 999);
  JobSettings truncated = js;
  truncated.dmSize = 200;  // claims 1364 bytes: cannot be repaired where it lies
  EXPECT_FALSE(CheckJobDevMode(&truncated, printer.get(), tp.svc));
  EXPECT_EQ(truncated.dmSize, 200);
  JobSettings other = js;
  other.dmDriverExtra = 1000;
  EXPECT_FALSE(CheckJobDevMode(&other, printer.get(), tp.svc));
}

}  // namespace
}  // namespace vq
