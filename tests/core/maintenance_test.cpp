// The maintenance utility's portable parts: the state record reader, the
// simulated printer's maintenance side, and the page's and dialogs' rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "modules/simulated_printer/maintenance_state.h"
#include "monitor/printer_state_record.h"
#include "pages/utility/maintenance_rules.h"

namespace vq {
namespace {

using maint::Registration;

std::u16string U(const char* s) { return std::u16string(s, s + std::strlen(s)); }

struct Record {
  uint8_t bytes[kStateRecordSize] = {};
  StateRecordView view() const { return {bytes, sizeof bytes}; }
  void Point(size_t field, const void* where) {
    const uintptr_t p = reinterpret_cast<uintptr_t>(where);
    std::memcpy(bytes + field, &p, sizeof p);
  }
};

TEST(StateRecord, SectionsOutsideTheRecordCountAsAbsent) {
  Record r;
  static uint8_t elsewhere[16] = {'J', 'O', 'B', ':', 1};
  r.Point(kJobSectionField, elsewhere);
  EXPECT_FALSE(r.view().Has(kJobSectionField));
  EXPECT_FALSE(RecordSaysBusy(r.view()));
  r.Point(kJobSectionField, r.bytes + kSectionAreaEnd);  // the pointer area itself
  EXPECT_FALSE(r.view().Has(kJobSectionField));
  r.Point(kJobSectionField, r.bytes + kSectionAreaEnd - 3);  // too short for byte 4
  EXPECT_FALSE(r.view().Byte(kJobSectionField, 4).has_value());
  std::memcpy(r.bytes + 100, "JOB:\x01", 5);
  r.Point(kJobSectionField, r.bytes + 100);
  EXPECT_TRUE(RecordSaysBusy(r.view()));
  // A record too short to hold its pointers has no sections at all.
  EXPECT_FALSE(StateRecordView(r.bytes, 64).Has(kJobSectionField));
}

TEST(StateRecord, AlertsRunToTheirEndMarkOrTheSectionsEnd) {
  Record r;
  std::memcpy(r.bytes + 200, "ALR: \x04#\x00" "DSC:\x01\x01", 13);
  r.Point(kAlertSectionField, r.bytes + 200);
  const auto alerts = r.view().Alerts();
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_EQ(alerts[0].code, ' ');
  EXPECT_EQ(alerts[0].value, 4);
  EXPECT_EQ(alerts[1].code, '#');
  // Without "DSC:" the scan stops at the end of the section area.
  std::memset(r.bytes + 80, 0x2B, kSectionAreaEnd - 80);
  r.Point(kAlertSectionField, r.bytes + kSectionAreaEnd - 8);
  EXPECT_EQ(r.view().Alerts().size(), 2u);
}

TEST(SimulatedPrinter, StateRecordFollowsThePrinter) {
  struct Case {
    const char* name;
    uint8_t state, alerts, inkEmpty, flags;
    bool busy, hasAlerts;
    uint8_t mode;
  };
  const Case cases[] = {
      {"idle", sim::kIdle, 0, 0, 0, false, false, 0},
      {"printing", sim::kBusy, 0, 0, 0, true, false, 1},
      {"asleep", sim::kAsleep, 0, 0, 0, false, false, kModeAsleep},
      {"cover open", sim::kIdle, sim::kCoverOpen, 0, 0, false, true, 0},
      {"cyan empty", sim::kIdle, 0, 2, 0, false, true, 0},
      {"box near full", sim::kIdle, 0, 0, sim::kFlagBoxNearFull, false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::PrinterState p;
    p.state = c.state;
    p.alerts = c.alerts;
    sim::MaintenanceState m;
    m.inkEmpty = c.inkEmpty;
    m.flags = c.flags;
    Record r;
    sim::FillStateRecord(p, m, 1000, r.bytes);
    EXPECT_EQ(RecordSaysBusy(r.view()), c.busy);
    EXPECT_EQ(r.view().Has(kAlertSectionField), c.hasAlerts);
    EXPECT_EQ(r.view().Byte(kStateSectionField, 4), c.mode);
    EXPECT_FALSE(r.view().Has(kResultSectionField));
  }
}

TEST(SimulatedPrinter, CommandsChangeWhatThePrinterHolds) {
  sim::PrinterState p;
  sim::MaintenanceState m;
  m.workMs = 60000;
  sim::CommandData none;
  // A cleaning runs for the working time, with progress and minutes left.
  ASSERT_TRUE(sim::ApplyCommand(11, none, 1000, &p, &m));
  EXPECT_EQ(sim::RunningCommand(m, 31000), 11);
  EXPECT_EQ(sim::CommandProgress(m, 31000).percent, 50);
  EXPECT_EQ(sim::CommandProgress(m, 31000).minutesLeft, 1);
  EXPECT_FALSE(sim::IsReady(p, m, 31000));
  EXPECT_TRUE(sim::IsReady(p, m, 61000));
  // Settings commands take their data from what the pages stored.
  sim::CommandData sleep;
  sleep.haveSleep = true;
  sleep.sleepValue = 0xD0020004;
  ASSERT_TRUE(sim::ApplyCommand(16, sleep, 2000, &p, &m));
  EXPECT_EQ(m.sleepFirst, 4u);
  EXPECT_EQ(m.sleepSecond, 720u);
  sim::CommandData reg;
  reg.registration = {1, 2, 3, 0xFC, 5, 6, 7, 8, 9, 10, 11, 12};
  ASSERT_TRUE(sim::ApplyCommand(19, reg, 2000, &p, &m));
  EXPECT_EQ(m.registration[3], -4);
  reg.registration.resize(11);
  EXPECT_FALSE(sim::ApplyCommand(19, reg, 2000, &p, &m)) << "a short value is refused";
  EXPECT_EQ(m.registration[0], 1);
  sim::CommandData cut;
  cut.haveCut = true;
  cut.cutStop = 41;
  EXPECT_FALSE(sim::ApplyCommand(24, cut, 2000, &p, &m));
  // Waking, and an offline printer refusing (but logging) commands.
  p.state = sim::kAsleep;
  ASSERT_TRUE(sim::ApplyCommand(53, none, 2000, &p, &m));
  EXPECT_EQ(p.state, sim::kIdle);
  p.state = sim::kOffline;
  EXPECT_FALSE(sim::ApplyCommand(10, none, 2000, &p, &m));
  EXPECT_EQ(m.log.back(), 10);
  EXPECT_EQ(m.commandCount, 7u);
}

// The ink exchange as the printer goes through it: the exchange section
// after 59, the exchange mode after 55, ink again after the drain (58), and
// back to idle after 56. A printer busy with its tear-off sensor fails item
// 31 with its reason in the answer.
TEST(SimulatedPrinter, InkExchangeAndTearOff) {
  sim::PrinterState p;
  sim::MaintenanceState m;
  m.workMs = 1000;
  m.inkEmpty = 4;
  sim::CommandData none;
  Record r;
  sim::FillStateRecord(p, m, 0, r.bytes);
  EXPECT_TRUE(maint::JudgeInkExchangeStart(r.view()).proceed);
  ASSERT_TRUE(sim::ApplyCommand(59, none, 0, &p, &m));
  sim::FillStateRecord(p, m, 0, r.bytes);
  EXPECT_EQ(r.view().Byte(kExchangeSectionField, 9), 0) << "an exchange is due";
  ASSERT_TRUE(sim::ApplyCommand(55, none, 0, &p, &m));
  sim::FillStateRecord(p, m, 0, r.bytes);
  EXPECT_EQ(r.view().Byte(kStateSectionField, 4), kModeInkExchange);
  ASSERT_TRUE(sim::ApplyCommand(58, none, 0, &p, &m));
  EXPECT_EQ(m.inkEmpty, 0);
  EXPECT_EQ(sim::RunningCommand(m, 500), 58);
  ASSERT_TRUE(sim::ApplyCommand(56, none, 2000, &p, &m));
  EXPECT_TRUE(sim::IsReady(p, m, 2000));

  uint8_t answer[4] = {};
  m.flags |= sim::kFlagTearOffBusy;
  EXPECT_FALSE(sim::AnswerSettingItem(kItemTearOff, m, answer));
  EXPECT_EQ(answer[0], kTearOffNotNow);
  bool known = false;
  std::string error;
  ASSERT_TRUE(sim::ApplyMaintenanceSetting("tear-off=1", &m, &known, &error));
  EXPECT_TRUE(sim::AnswerSettingItem(kItemTearOff, m, answer));
  EXPECT_EQ(answer[0], 1);
}

TEST(SimulatedPrinter, MaintenanceValueRoundTripsAndRefusesDamage) {
  sim::MaintenanceState m;
  m.registration = {-127, 127, 0, 1, 2, 3, 4, 5, 6, 7, 8, -9};
  m.startedAt = 0x123456789ABull;
  for (int i = 0; i < 30; ++i) m.log.push_back(uint16_t(i));
  std::vector<uint8_t> bytes = sim::EncodeMaintenance(m);
  sim::MaintenanceState back;
  ASSERT_TRUE(sim::DecodeMaintenance(bytes.data(), bytes.size(), &back));
  EXPECT_EQ(back.registration, m.registration);
  EXPECT_EQ(back.startedAt, m.startedAt);
  ASSERT_EQ(back.log.size(), sim::kLogSize);
  EXPECT_EQ(back.log.back(), 29);
  bytes[0] = 'X';
  EXPECT_FALSE(sim::DecodeMaintenance(bytes.data(), bytes.size(), &back));
  EXPECT_FALSE(sim::DecodeMaintenance(bytes.data(), bytes.size() - 1, &back));
}

TEST(SimulatedPrinter, SettingWords) {
  struct Case {
    const char* word;
    bool ok;
  };
  const Case cases[] = {{"reg=1,2,3,4,5,6,7,8,9,10,11,-12", true}, {"reg=1,2,3", false},
                        {"reg=1,2,3,4,5,6,7,8,9,10,11,12,13", false}, {"reg=1,2,3,4,5,6,7,8,9,10,11,200", false},
                        {"s1=0x28", true}, {"sleep=10/1", true}, {"sleep=61/1", false},
                        {"cut=0/40", true}, {"ink-empty=cyan+black", true}, {"ink-low=green", false},
                        {"work=0", true}, {"cutter-mode=2", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    sim::MaintenanceState m;
    bool known = false;
    std::string error;
    EXPECT_EQ(sim::ApplyMaintenanceSetting(c.word, &m, &known, &error), c.ok);
    EXPECT_TRUE(known);
  }
  sim::MaintenanceState m;
  bool known = true;
  std::string error;
  EXPECT_FALSE(sim::ApplyMaintenanceSetting("busy", &m, &known, &error));
  EXPECT_FALSE(known) << "a printer-state word is not the maintenance side's";
  ASSERT_TRUE(sim::ApplyMaintenanceSetting("ink-empty=cyan+black", &m, &known, &error));
  EXPECT_EQ(m.inkEmpty, 3);
}

TEST(UtilityRules, ButtonsFollowTheFlags) {
  int shown = 0;
  for (const auto& b : maint::kUtilityButtons) shown += maint::ButtonShown(b, maint::kDocumentSheetButtonFlags);
  EXPECT_EQ(shown, 6);
  for (uint16_t id : {1075, 1076, 1078, 1079, 1081, 1086})
    EXPECT_TRUE(maint::ButtonShown(*maint::FindUtilityButton(id), maint::kDocumentSheetButtonFlags)) << id;
  EXPECT_FALSE(maint::ButtonShown(*maint::FindUtilityButton(1089), 0xFFFFFFFF));
  EXPECT_EQ(maint::FindUtilityButton(1077), nullptr);
}

// Whether an ink exchange may start, from the state the printer reports.
TEST(UtilityRules, InkExchangeStart) {
  struct Case {
    const char* name;
    std::vector<uint8_t> state, alerts, job;  // empty: section absent
    bool proceed;
    uint32_t message;
    bool wake;
  };
  const std::vector<uint8_t> dsc = {'D', 'S', 'C', ':'};
  auto alerts = [&](std::vector<uint8_t> entries) {
    entries.insert(entries.end(), dsc.begin(), dsc.end());
    return entries;
  };
  const Case cases[] = {
      {"magenta empty", {0}, alerts({' ', 4}), {}, true, 0, false},
      {"magenta and cyan empty", {0}, alerts({' ', 6}), {}, false, 4057, false},
      {"magenta low, ready", {0}, alerts({'!', 4}), {}, true, 0, false},
      {"magenta low while printing", {1}, alerts({'!', 4}), {}, false, 4057, false},
      {"cover open", {0}, alerts({1, 0}), {}, false, 4057, false},
      {"printing, no alerts", {1}, {}, {1}, true, 4057, false},
      {"asleep", {7}, {}, {}, true, 0, true},
      {"nothing reported", {}, {}, {}, false, 4053, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Record r;
    std::vector<uint8_t> sections[3];
    const size_t fields[3] = {kStateSectionField, kAlertSectionField, kJobSectionField};
    const std::vector<uint8_t>* bodies[3] = {&c.state, &c.alerts, &c.job};
    size_t at = kSectionAreaBegin;
    for (int i = 0; i < 3; ++i) {
      if (bodies[i]->empty()) continue;
      std::memcpy(r.bytes + at, "SEC:", 4);
      std::memcpy(r.bytes + at + 4, bodies[i]->data(), bodies[i]->size());
      r.Point(fields[i], r.bytes + at);
      at += 4 + bodies[i]->size() + 4;
    }
    const maint::ExchangeStart start = maint::JudgeInkExchangeStart(r.view());
    EXPECT_EQ(start.proceed, c.proceed);
    EXPECT_EQ(start.message, c.message);
    EXPECT_EQ(start.wake, c.wake);
  }
  // The ink-fill wait's messages for the alerts it is told of.
  const std::pair<uint8_t, uint32_t> fill[] = {{1, 4068}, {4, 4068}, {5, 4069}, {9, 4069},
                                               {'#', 4070}, {'+', 4070}, {10, 4072}, {6, 4071},
                                               {' ', 0}};
  for (const auto& [code, message] : fill) EXPECT_EQ(maint::InkFillAlertMessage(code), message) << int(code);
  // The head adjustment pattern needs 19.6 mm across the margins and 38.1 mm.
  EXPECT_TRUE(maint::PaperHoldsAdjustmentPattern(300, 52, 52, 381));
  EXPECT_FALSE(maint::PaperHoldsAdjustmentPattern(300, 53, 52, 381));
  EXPECT_FALSE(maint::PaperHoldsAdjustmentPattern(300, 0, 0, 380));
}

TEST(UtilityRules, ProgressLine) {
  const std::u16string format = U("%d%% done (about %d min left)");
  EXPECT_EQ(maint::ProgressLine(format, 3, 40, true), U("40% done (about 3 min left)"));
  EXPECT_EQ(maint::ProgressLine(format, 0, 95, true), U("95% done"));
  EXPECT_EQ(maint::ProgressLine(format, 70, 0, false), U("70% done"));
  EXPECT_EQ(maint::ProgressLine(U("%s %d"), 1, 2, true), U("%s 2"));
}

TEST(SleepTimerRules, PackingAndTyping) {
  EXPECT_EQ(maint::PackSleepTimer(4, 720), 0xD0020004u);
  EXPECT_EQ(maint::PackSleepTimer(10, 1), 0x0100000Au);
  EXPECT_EQ(maint::PackSleepTimer(60, 0), 60u);
  struct Case {
    const char* typed;
    int32_t lo, hi, expect;
  };
  const Case cases[] = {{"75", 1, 60, 60}, {"0", 1, 60, 1}, {"-", 1, 60, 1}, {"--5", 1, 60, 1},
                        {"0x10", 1, 60, 1}, {"999999", 1, 720, 720}, {"-7", -8, 8, -7},
                        {"99999999999999999999", 1, 720, 720}, {"", 1, 60, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(maint::ClampTypedValue(U(c.typed), c.lo, c.hi), c.expect) << c.typed;
}

TEST(CutterRules, Offsets) {
  struct Case {
    int position;
    bool inches;
    const char* shown;
  };
  const Case cases[] = {{0, false, "-10.0"}, {40, false, "10.0"}, {19, false, "-0.5"},
                        {27, false, "3.5"},  {20, false, "0.0"},  {0, true, "-0.39"},
                        {40, true, "0.39"},  {21, true, "0.02"},  {19, true, "-0.02"}};
  for (const Case& c : cases)
    EXPECT_EQ(maint::FormatCutterOffset(maint::CutterOffset(c.position), c.inches), U(c.shown))
        << c.position << (c.inches ? " in" : " mm");
}

TEST(SpecialSettingsRules, SwitchBits) {
  const maint::SpecialSwitches s = maint::SwitchesFromBytes(0x28, 0x01);
  EXPECT_TRUE(s.autoCleaning);
  EXPECT_EQ(s.headRaise, 3);
  EXPECT_TRUE(s.gapDetection);
  for (int raise = 0; raise < 4; ++raise) {
    maint::SpecialSwitches t = s;
    t.headRaise = raise;
    uint8_t s1 = 0x41, s2 = 0xF0;  // bits no control stands for stay
    maint::SwitchesToBytes(t, &s1, &s2);
    EXPECT_EQ(maint::SwitchesFromBytes(s1, s2).headRaise, raise);
    EXPECT_EQ(s1 & 0x41, 0x41);
    EXPECT_EQ(s2 & 0xF0, 0xF0);
  }
}

TEST(RegistrationRules, StageRanges) {
  Registration r{};
  maint::Corrections e{};
  r[3] = 20;
  auto range = maint::StageRange(maint::kC6038, r, e, false, 1);
  EXPECT_EQ(range.lo, -32);
  EXPECT_EQ(range.hi, 12);
  EXPECT_EQ(range.position, 0);
  r[1] = 60;
  e[maint::kC6038] = 10;
  range = maint::StageRange(maint::kC6041, r, e, false, 1);
  EXPECT_EQ(range.lo, 6);
  EXPECT_EQ(range.hi, 32);
  EXPECT_EQ(range.position, 6) << "a range above 0 starts at its low end";
  range = maint::StageRange(maint::kC6041, r, e, false, 2);
  EXPECT_EQ(range.lo, 6);
  EXPECT_EQ(range.hi, 8);
  Registration wide{};
  wide[6] = 40;
  EXPECT_TRUE(maint::IsExtendedRange(wide));
  EXPECT_EQ(maint::CorrectionLimit(maint::kC6063, true, 2), 127);
  wide[6] = 30;
  EXPECT_FALSE(maint::IsExtendedRange(wide));
  EXPECT_EQ(maint::RegistrationSizeClass(800, 46, 46, 762), 1);
  EXPECT_EQ(maint::RegistrationSizeClass(800, 46, 47, 762), 2);
}

TEST(RegistrationRules, CorrectionsStayWithinTheLimits) {
  Registration r{};
  r[3] = 30;
  r[0] = 60;
  r[6] = -29;
  maint::Corrections e{};
  e[maint::kC6038] = 10;   // b3 40 -> 32
  e[maint::kC6041] = -10;  // b1 += 20
  e[maint::kC6049] = 5;    // b0 += 25 -> 64
  e[maint::kC6042] = -3;
  e[maint::kC6063] = -5;   // b6 += -8 -> -30
  const Registration out = maint::AddCorrections(r, e, false);
  EXPECT_EQ(out[3], 32);
  EXPECT_EQ(out[1], 20);
  EXPECT_EQ(out[0], 64);
  EXPECT_EQ(out[2], 20);
  EXPECT_EQ(out[9], -3);
  EXPECT_EQ(out[6], -30);
  EXPECT_EQ(out[4], 0);
  EXPECT_EQ(maint::AddCorrections(r, e, true)[3], 40) << "extended range widens b3";
}

// Values at and just beyond the normal limits: one step outside switches to
// the extended range, and even there b0..b2 never leave -64..64 nor any value
// -127..127 (a byte of -128 from the printer included).
TEST(RegistrationRules, ExtendedRangeEdges) {
  struct Case {
    size_t index;
    int8_t value;
    bool extended;
  };
  const Case cases[] = {{0, 64, false}, {0, 65, true},   {2, -64, false}, {2, -65, true},
                        {3, 32, false}, {3, -33, true},  {6, -30, false}, {9, 31, true},
                        {4, 127, false}, {11, -128, false}, {1, -128, true}, {8, 127, true}};
  for (const Case& c : cases) {
    Registration r{};
    r[c.index] = c.value;
    EXPECT_EQ(maint::IsExtendedRange(r), c.extended) << "b" << c.index << " = " << int(c.value);
    maint::Corrections e{};
    e.fill(127);
    for (bool extended : {false, true}) {
      for (int sign : {1, -1}) {
        maint::Corrections signedE = e;
        for (int32_t& x : signedE) x *= sign;
        const Registration out = maint::AddCorrections(r, signedE, extended);
        for (size_t b : {0u, 1u, 2u}) EXPECT_LE(std::abs(int(out[b])), 64);
        for (size_t b : {3u, 6u, 7u, 8u, 9u}) EXPECT_LE(std::abs(int(out[b])), extended ? 127 : 32);
        EXPECT_EQ(out[4], r[4]);
        EXPECT_EQ(out[11], r[11]);
      }
    }
  }
}

TEST(RegistrationRules, DetailedAdjustment) {
  EXPECT_EQ(maint::RowMean(1, 1, 2), 1);
  EXPECT_EQ(maint::RowMean(-1, -1, -2), -1);
  EXPECT_EQ(maint::RowMean(1, 2, 2), 2);
  EXPECT_EQ(maint::RowMean(-1, -2, -2), -2);
  Registration r{};
  r[1] = 60;
  const int32_t d = maint::DetailLimit(700, 0, 0, false);
  EXPECT_EQ(d, 4);
  const auto ranges = maint::DetailStageRanges(2, r, 0, d);
  EXPECT_EQ(ranges.first.lo, -4);
  EXPECT_EQ(ranges.first.hi, 4);
  const Registration out = maint::AddDetailCorrections(r, ranges.first.lo, 0, 0);
  EXPECT_EQ(out[1], 64);
  EXPECT_EQ(maint::AddDetailCorrections(r, 4, 1, -1)[0], -3);
}

// What the user types into a correction edit, and where the slider puts a
// correction, both kept within the range of the correction's stage.
TEST(RegistrationRules, EditsAndSliderStayInRange) {
  struct Typed {
    const char16_t* typed;
    const char16_t* shown;  // "" : left as typed
  };
  const maint::CorrectionRange range{-8, 12, 0};
  for (const Typed& t : {Typed{u"007", u"7"}, Typed{u"-0", u"0"}, Typed{u"-05", u"-5"},
                         Typed{u"-", u""}, Typed{u"", u""}, Typed{u"--5", u"0"},
                         Typed{u"0x10", u"0"}, Typed{u"123456", u"12"}, Typed{u"-9", u"-8"}})
    EXPECT_EQ(maint::CorrectionEditText(t.typed, range.lo, range.hi), t.shown)
        << std::string(t.typed, t.typed + std::char_traits<char16_t>::length(t.typed));
  struct Slid {
    int32_t centre, position, value;
  };
  for (const Slid& s : {Slid{32, 32, 0}, Slid{32, 0, 12}, Slid{32, 64, -8}, Slid{32, 27, 5},
                        Slid{8, 16, -8}, Slid{8, 5, 3}})
    EXPECT_EQ(maint::SliderCorrection(s.centre, s.position, range), s.value)
        << s.centre << "/" << s.position;
  EXPECT_EQ(maint::SliderPosition(32, maint::SliderValue(32, 20)), 20);
  // The detailed dialog looks at b0..b3 only.
  Registration r{};
  r[6] = 40;
  EXPECT_FALSE(maint::IsDetailExtendedRange(r));
  r[3] = -33;
  EXPECT_TRUE(maint::IsDetailExtendedRange(r));
}

TEST(RegistrationRules, PaperType) {
  EXPECT_EQ(maint::RegistrationPaperType(128, 951, 0, 0, 0), 5);
  EXPECT_EQ(maint::RegistrationPaperType(128, 950, 0, 0, 0), 6);
  EXPECT_EQ(maint::RegistrationPaperType(0, 0, 300, 25, 26), 5);
  EXPECT_EQ(maint::RegistrationPaperType(1, 0, 350, 25, 26), 6);
  EXPECT_EQ(maint::RegistrationPaperType(1, 0, 731, 0, 0), 4);
}

}  // namespace
}  // namespace vq
