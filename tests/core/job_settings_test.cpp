#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <tuple>
#include <vector>

#include "devinfo/device_info.h"
#include "devinfo/difm_api.h"
#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq::test {
namespace {

// A device module with a chosen resolution list and defaults (0: the module's own).
struct FakeModule {
  std::vector<std::array<int32_t, 2>> resolutions;
  int32_t defaultResolution = 0;  // -1: the module has none
  uint32_t defaultPaper = 0;
} g_fake;

int32_t FakeResolutions(DifmHandle, int32_t* pairs) {
  if (pairs && !g_fake.resolutions.empty())
    std::memcpy(pairs, g_fake.resolutions.data(), g_fake.resolutions.size() * 8);
  return static_cast<int32_t>(g_fake.resolutions.size());
}

int32_t FakeDefaults(DifmHandle h, uint32_t id, void* buf, uint32_t bytes) {
  if (id == 1006 && g_fake.defaultResolution) {
    const int32_t pair[2] = {g_fake.defaultResolution, g_fake.defaultResolution};
    if (g_fake.defaultResolution > 0) std::memcpy(buf, pair, sizeof pair);
    return g_fake.defaultResolution > 0;
  }
  if (id == 2030 && g_fake.defaultPaper) return std::memcpy(buf, &g_fake.defaultPaper, 4), 1;
  return ::DifmLoadDefValues(h, id, buf, bytes);
}

PaperInfo Find(const std::vector<PaperInfo>& papers, uint32_t id) {
  for (const PaperInfo& p : papers)
    if (p.paperId == id) return p;
  ADD_FAILURE() << "no paper " << id;
  return {};
}

using Change = std::function<void(JobSettings&)>;

class JobSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { g_fake = {}; }
  // The property every case leans on: a record that validation accepts comes
  // out of a second validation byte for byte the same.
  bool Validate(JobSettings* js) {
    if (!ValidateJobSettings(js, printer.get(), t.svc)) return false;
    JobSettings again = *js;
    EXPECT_TRUE(ValidateJobSettings(&again, printer.get(), t.svc))
        << "an accepted record was refused";
    EXPECT_EQ(0, std::memcmp(&again, js, sizeof again)) << "a second validation changed the record";
    return true;
  }
  // The defaults, changed, through a validation that must accept them.
  JobSettings Repaired(const Change& change) {
    JobSettings js = t.Defaults();
    change(js);
    EXPECT_TRUE(Validate(&js));
    return js;
  }

  TestPrinter t;
  std::unique_ptr<PrinterStore> printer = t.Open();
};

TEST_F(JobSettingsTest, DefaultsComeFromTheModuleAndValidateUnchanged) {
  DifmMapping map(t.difm, kModelName);
  uint32_t paperId = 0;
  int32_t res[2] = {};
  PaperInfo paper{};
  ASSERT_TRUE(t.difm.DifmLoadDefValues(map.get(), 2030, &paperId, 4));
  ASSERT_TRUE(t.difm.DifmLoadDefValues(map.get(), 1006, res, 8));
  ASSERT_TRUE(t.difm.DifmGetPaperInfo(map.get(), &paper, paperId));
  const uint32_t scale = GetPrinterDword(printer.get(), pd::kScaling) ? kDmScale : 0;
  const JobSettings js = t.Defaults();
  // What applications see of the public part, and the values taken from the
  // module and the printer. The private part's constants are the code's own;
  // the validation below checks that they agree with each other.
#define ROW(field, want) {#field, int64_t(js.field), int64_t(want)}
  const struct { const char* field; int64_t got, want; } rows[] = {
      ROW(dmSpecVersion, 0x0401), ROW(dmDriverVersion, 0x0500), ROW(dmSize, 220),
      ROW(dmDriverExtra, 1164), ROW(dmFields, 0x800D0F | scale), ROW(dmOrientation, 1),
      ROW(dmScale, 100), ROW(dmCopies, 1), ROW(dmDefaultSource, 7), ROW(dmDuplex, 1),
      ROW(dmTTOption, 1), ROW(dmPelsWidth, 649), ROW(dmPelsHeight, 1074), ROW(dmICMIntent, 2),
      ROW(dmMediaType, 1), ROW(dmDitherType, 2),
      ROW(dmPaperSize, paperId), ROW(dmPaperWidth, paper.paperWidth),
      ROW(dmPaperLength, paper.paperLength), ROW(dmPrintQuality, res[0]),
      ROW(dmYResolution, res[1]), ROW(dmCollate, t.difm.DifmGetCollateInf(map.get())),
      ROW(PaperCount, t.Papers().size())};
#undef ROW
  for (const auto& row : rows) EXPECT_EQ(row.got, row.want) << row.field;
  EXPECT_EQ(TextOf(js.dmDeviceName), u"Morva VT-Q3120");
  EXPECT_EQ(TextOf(js.Signature), u"VQ312");
  EXPECT_EQ(TextOf(js.dmFormName), TextOf(paper.paperName));
  EXPECT_EQ(TextOf(js.SettingsName), LookUpText(4759, Language::kEnglish));
  EXPECT_EQ(0, std::memcmp(&js.Paper, &paper, sizeof paper));
  JobSettings again = js;
  ASSERT_TRUE(Validate(&again));
  EXPECT_EQ(0, std::memcmp(&again, &js, sizeof js));

  // No module, or a default paper the module does not list: nothing is written.
  g_fake.defaultPaper = 4242;
  for (auto breakModule : {+[](DifmApi& d) { d.DifmMapper = NoMapping; },
                           +[](DifmApi& d) { d.DifmLoadDefValues = FakeDefaults; }}) {
    breakModule(t.difm);
    JobSettings untouched;
    std::memset(&untouched, 0xCD, sizeof untouched);
    EXPECT_FALSE(SetDefaultJobSettings(&untouched, t.svc));
    EXPECT_EQ(RawBytes(&untouched, sizeof untouched),
              std::vector<unsigned char>(sizeof untouched, 0xCD));
    t.difm = LinkedDifmApi();
  }
  MemorySpooler noPrinters;
  t.svc.spooler = &noPrinters;
  EXPECT_EQ(t.Defaults().PaperCount, 0u) << "no printer of the model's name to count";
}

TEST_F(JobSettingsTest, ResolutionPicksTheListEndsOrAListedValueElseTheDefault) {
  using List = std::vector<std::array<int32_t, 2>>;
  const List standard = {{600, 600}, {1200, 1200}}, reversed = {{600, 600}, {300, 300}},
             single = {{360, 360}}, three = {{300, 300}, {600, 600}, {1200, 1200}}, none;
  // want 0: the record is refused.
  const struct { const List* list; int32_t defaultX; int16_t quality, want; } cases[] = {
      {&standard, 600, -4, 1200}, {&standard, 600, -3, 1200}, {&standard, 600, -2, 600},
      {&standard, 600, -1, 600},  {&standard, 600, 600, 600},  {&standard, 600, 1200, 1200},
      {&standard, 600, 300, 600}, {&standard, 600, 0, 600},    {&standard, 600, -5, 600},
      {&reversed, 300, -4, 600},  {&reversed, 300, -3, 600},   {&reversed, 300, -2, 300},
      {&reversed, 300, -1, 300},  {&reversed, 300, 600, 600},  {&reversed, 300, 1200, 300},
      {&single, 360, -4, 360},    {&single, 360, -1, 360},     {&single, 360, 720, 360},
      // The ends come from the first two entries; any entry is a valid value.
      {&three, 600, -4, 600},     {&three, 600, -1, 300},      {&three, 600, 1200, 1200},
      {&three, -1, 600, 0},       {&none, 600, 600, 0},
  };
  t.difm.DifmGetEnumResolutionsInf = FakeResolutions;
  t.difm.DifmLoadDefValues = FakeDefaults;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "quality " << c.quality << " default " << c.defaultX);
    g_fake.resolutions = *c.list;
    g_fake.defaultResolution = c.defaultX;
    JobSettings js = t.Defaults();
    js.dmPrintQuality = c.quality;
    js.dmYResolution = 77;
    ASSERT_EQ(Validate(&js), c.want != 0);
    if (c.want)
      EXPECT_EQ(std::tuple(js.dmPrintQuality, js.dmYResolution), std::tuple(c.want, c.want));
  }
}

TEST_F(JobSettingsTest, CopiesLockSettingsNameAndTheForcedFields) {
  DifmMapping map(t.difm, kModelName);
  const int32_t max = static_cast<int16_t>(t.difm.DifmGetCopiesInf(map.get()));
  ASSERT_TRUE(max > 1 && max < 32767) << max;
  const auto umax = static_cast<uint32_t>(max);
  // dmCopies, then CopyCount1 and CopyCount2.
  const struct { int32_t copies, wantCopies; uint32_t count, wantCount; } cases[] = {
      {0, 1, 0, 1}, {1, 1, 1, 1}, {max, max, umax, umax}, {max + 1, max, umax + 1, umax},
      {32767, max, 0x7FFFFFFF, umax}, {-1, 1, 0xFFFFFFFF, umax}, {-32768, 1, 0x80000000, umax}};
  for (const auto& c : cases) {
    const JobSettings js = Repaired([&](JobSettings& j) {
      j.dmCopies = static_cast<int16_t>(c.copies);
      j.CopyCount1 = j.CopyCount2 = c.count;
    });
    EXPECT_EQ(std::tuple(int32_t{js.dmCopies}, js.CopyCount1, js.CopyCount2),
              std::tuple(c.wantCopies, c.wantCount, c.wantCount)) << c.copies;
  }
  const struct { uint32_t lock; int16_t orientation, want; } locks[] = {
      {0, 1, 1}, {0, 2, 2}, {2, 2, 1}, {4, 1, 2}, {6, 2, 1},
      {6, 1, 1}, {1, 2, 2}, {8, 1, 1}, {0xFFFFFFF9, 2, 2}};
  for (const auto& c : locks) {
    const JobSettings js = Repaired([&](JobSettings& j) {
      j.OrientationLock = c.lock;
      j.dmOrientation = c.orientation;
    });
    EXPECT_EQ(js.dmOrientation, c.want) << "lock " << c.lock << " orientation " << c.orientation;
  }
  for (const auto& [in, want] : {std::pair{0u, 0u}, {11u, 11u}, {12u, 1u}, {0xFFFFFFFFu, 1u}}) {
    const uint32_t id = in;
    EXPECT_EQ(Repaired([&](JobSettings& j) { j.SettingsNameId = id; }).SettingsNameId, want) << id;
  }

  const struct { uint32_t icmMode, scaling, fieldsIn, wantMethod, wantFields; int16_t color; }
      forced[] = {{0, 1, 0x800D0F, 1, 0x800D1F, 1}, {1, 1, 0xFFFFFFFF, 2, 0x800D1F, 2},
                  {0x7FFFFFFF, 0, 0xFFFFFFFF, 2, 0x800D0F, 0}, {0x80000000, 0, 2, 2, 0x800D0F, -3},
                  {0, 5, kDmPaperSize, 1, 0x800D1F, 2}};
  for (const auto& c : forced) {
    t.data->SetDword(pd::kScaling, c.scaling);
    const JobSettings js = Repaired([&](JobSettings& j) {
      j.IcmMode = c.icmMode;
      j.dmFields = c.fieldsIn;
      j.dmColor = c.color;
    });
    EXPECT_EQ(std::tuple(js.dmICMMethod, js.dmFields, js.dmColor),
              std::tuple(c.wantMethod, c.wantFields, int16_t{2}))
        << "IcmMode " << c.icmMode << " scaling " << c.scaling;
  }
}

TEST_F(JobSettingsTest, UnusableRecordsAndTablesAreRefused) {
  // The installed paper table with bytes added (or taken away, when negative).
  auto resizeTable = [](int delta) {
    return [delta](JobSettings&, TestPrinter& p) {
      std::vector<unsigned char> v = p.data->values[pd::kPaperInfo].bytes;
      v.resize(v.size() + delta);
      p.data->SetBinary(pd::kPaperInfo, v.data(), v.size());
    };
  };
  using Spoil = std::function<void(JobSettings&, TestPrinter&)>;
  const struct { const char* what; Spoil spoil; } cases[] = {
      {"private part one short", [](auto& js, auto&) { js.dmDriverExtra = 1163; }},
      {"private part one long", [](auto& js, auto&) { js.dmDriverExtra = 1165; }},
      {"other signature", [](auto& js, auto&) { js.Signature[4] = u'3'; }},
      {"signature unterminated", [](auto& js, auto&) { js.Signature[5] = u'0'; }},
      {"paper 0", [](auto& js, auto&) { js.dmPaperSize = 0; }},
      {"no paper field", [](auto& js, auto&) { js.dmFields &= ~kDmPaperSize; }},
      {"unknown paper", [](auto& js, auto&) { js.dmPaperSize = 9999; }},
      {"paper table missing", [](auto&, auto& p) { p.data->values.erase(pd::kPaperInfo); }},
      {"paper table empty", [](auto&, auto& p) { p.data->SetBinary(pd::kPaperInfo, "", 0); }},
      {"paper table one byte short", resizeTable(-1)},
      {"paper table one byte long", resizeTable(1)},
      {"module cannot be mapped", [](auto&, auto& p) { p.difm.DifmMapper = NoMapping; }},
  };
  for (const auto& c : cases) {
    TestPrinter p;
    JobSettings js = p.Defaults();
    c.spoil(js, p);
    EXPECT_FALSE(ValidateJobSettings(&js, p.Open().get(), p.svc)) << c.what;
  }
  JobSettings js = t.Defaults();
  EXPECT_FALSE(ValidateJobSettings(&js, nullptr, t.svc)) << "no printer, no paper table";
  EXPECT_FALSE(ValidateJobSettings(nullptr, printer.get(), t.svc));
}

TEST_F(JobSettingsTest, StandardPapersTakeEverythingFromTheTable) {
  for (const PaperInfo& paper : t.Papers()) {
    if (paper.paperId == kUserDefinedPaper) continue;
    const JobSettings js = Repaired([&](JobSettings& j) {
      j.dmPaperSize = static_cast<int16_t>(paper.paperId);
      j.dmPaperWidth = 1;
      j.dmPaperLength = 2;
      std::memset(j.dmFormName, 0x41, sizeof j.dmFormName);
      std::memset(&j.Paper, 0x5A, sizeof j.Paper);
    });
    EXPECT_EQ(std::tuple(js.dmPaperWidth, js.dmPaperLength),
              std::tuple(int16_t(paper.paperWidth), int16_t(paper.paperLength))) << paper.paperId;
    EXPECT_EQ(TextOf(js.dmFormName), TextOf(paper.paperName).substr(0, 31));  // CCHFORMNAME
    EXPECT_EQ(0, std::memcmp(&js.Paper, &paper, sizeof paper)) << paper.paperId;
  }
}

TEST_F(JobSettingsTest, StoredDefaultsCopyNoMoreThanTheirOwnSize) {
  const struct { uint16_t size, extra; size_t stored, copied; } cases[] = {
      {220, 1164, 1384, 1384}, {220, 100, 1384, 320}, {300, 1164, 1464, 1384}, {0, 0, 1384, 0},
      {220, 1164, 300, 300}};  // the spooler holds less than the record claims
  for (const auto& c : cases) {
    std::vector<unsigned char> stored(c.stored);
    for (size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<unsigned char>(i % 251 + 1);
    std::memcpy(&stored[offsetof(JobSettings, dmSize)], &c.size, 2);
    std::memcpy(&stored[offsetof(JobSettings, dmDriverExtra)], &c.extra, 2);
    t.data->devMode = t.data->userDevMode = stored;
    std::vector<unsigned char> want(stored.begin(), stored.begin() + c.copied);
    want.resize(kJobSettingsSize, 0);
    for (auto get : {GetUserDefaultSettings, GetPrinterDefaultSettings}) {
      std::vector<unsigned char> out(kJobSettingsSize, 0xEE);
      uint32_t needed = 0;
      ASSERT_TRUE(get(printer.get(), reinterpret_cast<JobSettings*>(out.data()), &needed));
      EXPECT_EQ(needed, kJobSettingsSize);
      EXPECT_EQ(out, want) << c.size << " + " << c.extra << " in " << c.stored;
    }
  }
  t.data->devMode.clear();
  t.data->userDevMode.clear();
  JobSettings out{};
  uint32_t needed = 0;
  EXPECT_FALSE(GetPrinterDefaultSettings(printer.get(), &out, &needed));
  EXPECT_EQ(needed, kJobSettingsSize);
}

TEST_F(JobSettingsTest, LockedOrientationGoesBackFromATurnedTablePaper) {
  std::vector<PaperInfo> papers = t.Papers();
  PaperInfo turned = Find(papers, 1002), zero = turned, wide = turned;
  turned.paperId = 2002;
  std::swap(turned.paperWidth, turned.paperLength);
  zero.paperId = 0;
  wide.paperId = 0x10000 + 1002;  // a damaged table may hold anything
  papers.insert(papers.end() - 1, {turned, zero, wide});
  t.SetPapers(papers);
  const struct { uint32_t lock, storedId, wantId; } cases[] = {
      {0, 1002, 2002}, {2, 1002, 1002}, {4, 1002, 1002}, {2, 3003, 2002},
      {2, 0, 2002}, {2, 0x10000 + 1002, 2002}};  // ids dmPaperSize cannot carry
  for (const auto& c : cases) {
    JobSettings js = t.WithPaper(1002);
    js.Paper.paperId = c.storedId;
    js.OrientationLock = c.lock;
    js.dmPaperSize = 2002;
    ASSERT_TRUE(Validate(&js));
    const PaperInfo want = Find(papers, c.wantId);
    EXPECT_EQ(std::tuple(js.dmPaperSize, js.dmPaperWidth, js.dmPaperLength),
              std::tuple(int16_t(c.wantId), int16_t(want.paperWidth), int16_t(want.paperLength)))
        << "lock " << c.lock << " stored " << c.storedId;
    EXPECT_EQ(0, std::memcmp(&js.Paper, &want, sizeof want)) << c.lock << " " << c.storedId;
  }
}

// User-defined sizes (paper 256) against the custom-size limits. The
// printer's record of paper 256 holds the values a reset restores; they
// differ from every value the cases use, so a reset is told from a pass.
// Width and length are set in the public part too; after validation the
// paper record carries what was kept.
using Field = uint32_t PaperInfo::*;
constexpr Field kWidth = &PaperInfo::paperWidth, kLength = &PaperInfo::paperLength,
                kTop = &PaperInfo::marginTop, kBottom = &PaperInfo::marginBottom,
                kLeft = &PaperInfo::marginLeft, kRight = &PaperInfo::marginRight,
                kGap = &PaperInfo::gap, kLinerLeft = &PaperInfo::linerLeft,
                kLinerRight = &PaperInfo::linerRight;

using Assignments = std::vector<std::pair<Field, uint32_t>>;
using Layouts = std::vector<uint32_t>;
const Layouts kAllListed = {0, 16, 1, 3, 17, 19, 2, 7}, kDieCut = {0, 16},
              kWideMargins = {1, 3, 17, 19, 2, 7};

class UserSizeTest : public JobSettingsTest {
 protected:
  void SetUp() override {
    JobSettingsTest::SetUp();
    std::vector<PaperInfo> papers = t.Papers();
    PaperInfo& ref = papers.back();
    ASSERT_EQ(ref.paperId, kUserDefinedPaper);
    ref.paperNo = 77, ref.paperWidth = 700, ref.paperLength = 900, ref.gap = 45;
    ref.marginTop = 21, ref.marginBottom = 22, ref.marginLeft = 31, ref.marginRight = 32;
    ref.linerLeft = 16, ref.linerRight = 17;
    reference = ref;
    t.SetPapers(papers);
  }
  // A consistent size that every listed layout accepts as it is, then the changes.
  JobSettings UserSize(uint32_t layout, uint32_t editBits, Assignments changes) {
    JobSettings js = t.Defaults();
    js.dmPaperSize = kUserDefinedPaper;
    PaperInfo& p = js.Paper;
    p = reference;
    p.paperNo = 5, p.paperLayout = layout, p.customEditable = editBits;
    p.paperWidth = 600, p.paperLength = 800, p.marginTop = p.marginBottom = 20;
    p.marginLeft = p.marginRight = 30, p.gap = 50, p.linerLeft = p.linerRight = 10;
    for (auto [f, v] : changes) p.*f = v;
    js.dmPaperWidth = int16_t(p.paperWidth), js.dmPaperLength = int16_t(p.paperLength);
    return js;
  }
  PaperInfo reference{};
};

TEST_F(UserSizeTest, EveryBoundOfTheLimitsTable) {
  constexpr int64_t kNever = INT64_MIN;  // a check that does not apply: no value fails
  const struct { const char* what; Layouts layouts; std::vector<Field> fields;
                 int64_t passes, fails; Assignments changes; uint32_t editBits = 0x3801; }
      bounds[] = {
      {"width min", kDieCut, {kWidth}, 240, 239, {}},
      {"width max", kDieCut, {kWidth}, 1190, 1191, {}},
      {"width min", kWideMargins, {kWidth}, 250, 249, {}},
      {"width max", kWideMargins, {kWidth}, 1200, 1201, {}},
      {"length min", kAllListed, {kLength}, 60, 59, {{kTop, 15}, {kBottom, 15}}},
      {"length max", kAllListed, {kLength}, 5000, 5001, {}},
      {"top, bottom min", kAllListed, {kTop, kBottom}, 15, 14, {}},
      {"left, right min", kDieCut, {kLeft, kRight}, 15, 14, {}},
      {"left, right min", kWideMargins, {kLeft, kRight}, 27, 26, {}},
      // Upper bounds: the dimension less the opposite margin less 30.
      {"top, bottom max", kAllListed, {kTop, kBottom}, 800 - 20 - 30, 751, {}},
      {"left, right max", kAllListed, {kLeft, kRight}, 600 - 30 - 30, 541, {}},
      {"gap min", {0}, {kGap}, 25, 24, {}}, {"gap max", {0}, {kGap}, 95, 96, {}},
      {"gap min", {1, 3}, {kGap}, 30, 29, {}}, {"gap max", {1, 3}, {kGap}, 100, 101, {}},
      {"no gap test", {16, 17, 19, 2, 7}, {kGap}, 0, kNever, {}},
      {"no gap test", {16, 17, 19, 2, 7}, {kGap}, 500, kNever, {}},
      {"gap not marked", {0, 1, 3}, {kGap}, 500, kNever, {}, 0x3001},
      {"margin + liner left >= 27", {0}, {kLinerLeft}, 12, 11, {{kLeft, 15}}},
      {"liner left max", {0}, {kLinerLeft}, 50, 51, {}},
      {"margin + liner right >= 27", {0}, {kLinerRight}, 12, 11, {{kRight, 15}}},
      {"liner right max", {0}, {kLinerRight}, 955, 956,
       {{kWidth, 240}, {kLeft, 27}, {kRight, 27}, {kLinerLeft, 0}}},
      {"liners + width min", {0}, {kLinerRight}, 10, 9,
       {{kWidth, 240}, {kLeft, 27}, {kRight, 27}, {kLinerLeft, 0}}},
      {"liners + width min", {0}, {kLinerLeft}, 10, 9,
       {{kWidth, 240}, {kLeft, 27}, {kRight, 27}, {kLinerRight, 0}}},
      {"liners + width max", {0}, {kLinerRight}, 10, 11, {{kWidth, 1190}, {kLinerLeft, 0}}},
      {"liners on layout 0 only", {16, 1, 3, 17, 19, 2, 7}, {kLinerLeft, kLinerRight}, 2000,
       kNever, {}},
      {"liners need both bits", {0}, {kLinerLeft}, 51, kNever, {}, 0x1801},
      {"liners need both bits", {0}, {kLinerRight}, 2000, kNever, {}, 0x2801},
  };
  for (const auto& b : bounds) {
    for (uint32_t layout : b.layouts) {
      for (Field field : b.fields) {
        for (int64_t value : {b.passes, b.fails}) {
          if (value == kNever) continue;
          SCOPED_TRACE(testing::Message() << b.what << ", layout " << layout << ": " << value);
          Assignments changes = b.changes;
          changes.emplace_back(field, uint32_t(value));
          JobSettings js = UserSize(layout, b.editBits, changes);
          ASSERT_TRUE(Validate(&js));
          EXPECT_EQ(js.Paper.*field, value == b.passes ? value : reference.*field);
        }
      }
    }
  }
  // Any other layout has no limits to keep: size and margins all go back.
  for (uint32_t layout : {4u, 5u, 8u, 18u, 0xFFFFFFFFu}) {
    JobSettings js = UserSize(layout, 0x3801, {});
    ASSERT_TRUE(Validate(&js));
    for (Field f : {kWidth, kLength, kTop, kBottom, kLeft, kRight})
      EXPECT_EQ(js.Paper.*f, reference.*f) << "layout " << layout;
    EXPECT_EQ(js.Paper.gap, 50u);
  }
}

TEST_F(UserSizeTest, TheRecordFollowsTheCheckedSize) {
  JobSettings js = UserSize(0, 0x3801, {{kWidth, 432}, {kLength, 567}, {kTop, 16}, {kRight, 29}});
  std::memset(js.dmFormName, 0x41, sizeof js.dmFormName);
  std::memset(js.Paper.paperName, 0x41, sizeof js.Paper.paperName);
  ASSERT_TRUE(Validate(&js));
  const PaperInfo& p = js.Paper;
  EXPECT_EQ(std::tuple(js.dmPaperSize, p.paperId, p.paperWidth, p.paperLength, p.paperNo),
            std::tuple(int16_t{256}, 256u, 432u, 567u, reference.paperNo));
  EXPECT_EQ(std::tuple(p.printableWidth, p.printableLength),
            std::tuple(432u - 30 - 29, 567u - 16 - 20));
  EXPECT_EQ(TextOf(p.paperName), TextOf(reference.paperName));
  EXPECT_EQ(TextOf(js.dmFormName), TextOf(reference.paperName));

  // Bottom 14 goes back to 22, after which top 800 - 22 - 30 + 1 is too
  // large: it goes back in the same validation, not in the next one.
  js = UserSize(0, 0x3801, {{kBottom, 14}, {kTop, 800 - 22 - 30 + 1}});
  ASSERT_TRUE(Validate(&js));
  EXPECT_EQ(std::tuple(js.Paper.marginBottom, js.Paper.marginTop),
            std::tuple(reference.marginBottom, reference.marginTop));
}

TEST_F(UserSizeTest, LockedOrientationTurnsAUserSizeBack) {
  constexpr uint32_t kBoth = kDmPaperWidth | kDmPaperLength;
  const struct { const char* what; uint32_t lock, storedWidth, storedLength;
                 int16_t width, length, wantWidth, wantLength, wantOrientation;
                 uint32_t fields = kBoth; } cases[] = {
      {"turned stored size", 4, 450, 700, 700, 450, 450, 700, 2},
      {"turned stored size", 2, 450, 700, 700, 450, 450, 700, 1},
      {"turned stored size within 1", 4, 450, 700, 701, 449, 449, 701, 2},
      {"2 off the stored size", 4, 450, 700, 702, 450, 702, 450, 2},
      {"unlocked", 0, 450, 700, 700, 450, 700, 450, 1},
      {"turned table size", 2, 1000, 1500, 300, 400, 400, 300, 1},  // 1002 is 40 x 30 mm
      {"turned table size within 1", 2, 1000, 1500, 301, 399, 399, 301, 1},
      {"table size as it is", 4, 1000, 1500, 400, 300, 400, 300, 2},
      {"unlocked", 0, 1000, 1500, 300, 400, 300, 400, 1},
      // Paper 1010 is 80 x 50 mm. The stored paper is that turned: a size
      // that is the stored paper is turned to the table's; one that is the
      // table's is turned to the stored paper and then back.
      {"stored size is a table size turned", 4, 500, 800, 500, 800, 800, 500, 2},
      {"stored size is a table size turned", 4, 500, 800, 800, 500, 800, 500, 2},
      {"stored size is a table size turned, unlocked", 0, 500, 800, 500, 800, 500, 800, 1},
      // One size field: the caller's sizes stay; neither: the stored paper's.
      {"width field only", 0, 450, 700, 600, 800, 600, 800, 1, kDmPaperWidth},
      {"length field only", 0, 450, 700, 600, 800, 600, 800, 1, kDmPaperLength},
      {"no size field", 0, 450, 700, 600, 800, 450, 700, 1, 0},
      // Either way the size leaves as the next validation would make it.
      {"width field only, width too large", 0, 450, 700, 2000, 800, 700, 800, 1, kDmPaperWidth},
      {"no size field, stored size a table size turned", 4, 500, 800, 600, 600, 800, 500, 2, 0},
      {"length field only, a table size turned", 2, 450, 700, 300, 400, 400, 300, 1,
       kDmPaperLength},
  };
  for (const auto& c : cases) {
    JobSettings js = UserSize(0, 0x3801, {{kWidth, uint32_t(c.width)}, {kLength, uint32_t(c.length)}});
    js.Paper.paperWidth = c.storedWidth, js.Paper.paperLength = c.storedLength;
    js.OrientationLock = c.lock;
    js.dmFields = (js.dmFields & ~kBoth) | c.fields;
    ASSERT_TRUE(Validate(&js)) << c.what;
    EXPECT_EQ(std::tuple(js.dmPaperWidth, js.dmPaperLength, js.dmOrientation),
              std::tuple(c.wantWidth, c.wantLength, c.wantOrientation))
        << c.what << ", lock " << c.lock << ", " << c.width << " x " << c.length;
    EXPECT_EQ(std::tuple(js.Paper.paperWidth, js.Paper.paperLength),
              std::tuple(uint32_t(c.wantWidth), uint32_t(c.wantLength)))
        << c.what;
  }
}

// Random user-defined sizes, stored papers, layouts, locks and size fields:
// whatever validation accepts, a second validation leaves as it is (the
// helper checks). The table holds a turned pair (1010 and a size of 50 x 80
// mm) and a paper wider than the limits, the cases where turns and limits
// could pull a size back and forth.
TEST_F(UserSizeTest, EverySettledSizeStaysSettled) {
  std::vector<PaperInfo> papers = t.Papers();
  PaperInfo wide = Find(papers, 1002);  // wider than any layout allows
  wide.paperId = 3002, wide.paperWidth = 1500, wide.paperLength = 300;
  papers.insert(papers.end() - 1, wide);
  t.SetPapers(papers);
  std::mt19937 rng(20261206);
  const int16_t sizes[] = {0, 59, 60, 239, 240, 300, 301, 400, 500, 700, 800, 1190, 1200, 1500, 5001, -1};
  auto pick = [&](auto& list) { return list[rng() % std::size(list)]; };
  for (int i = 0; i < 4000; ++i) {
    JobSettings js = UserSize(uint32_t(pick(kAllListed)), 0x3801, {});
    js.dmPaperWidth = pick(sizes), js.dmPaperLength = pick(sizes);
    js.Paper.paperWidth = uint16_t(pick(sizes)), js.Paper.paperLength = uint16_t(pick(sizes));
    js.OrientationLock = rng() % 8;
    js.dmFields &= ~static_cast<uint32_t>((rng() % 4) << 2);  // none, one or both size fields
    SCOPED_TRACE(testing::Message() << "case " << i);
    ASSERT_TRUE(Validate(&js));
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace vq::test
