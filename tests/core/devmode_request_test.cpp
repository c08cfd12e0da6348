#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "settings/devmode_request.h"
#include "tests/core/test_printer.h"

namespace vq::test {
namespace {

std::vector<unsigned char> Bytes(const JobSettings& js) { return RawBytes(&js, sizeof js); }

// Where the result comes from, and what the caller hands over.
enum Source { kCaller, kUser, kPrinterDefault, kBuiltIn };
enum Caller { kOwn, kForeignExtra, kForeignSignature, kNone };
constexpr uint32_t kCopyModify = kDmCopy | kDmModify;

class DevModeRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    own = t.WithPaper(1002);
    own.dmOrientation = 2;
    foreign = own;
    foreign.dmDriverExtra = 0;
  }
  int32_t Request(const void* in, void* out, uint32_t mode, uint32_t* cbOut = nullptr) {
    return HandleDevModeRequest({printer.get(), in, out, cbOut, mode}, t.svc);
  }
  // The stored defaults; an invalid one is another driver's record.
  void Store(bool userValid, bool printerValid) {
    t.data->devMode = Bytes(printerValid ? printerDefault : foreign);
    t.data->userDevMode = Bytes(userValid ? user : foreign);
  }
  JobSettings From(Source s) {
    if (s == kBuiltIn) return t.Defaults();
    return s == kCaller ? own : s == kUser ? user : printerDefault;
  }

  TestPrinter t;
  std::unique_ptr<PrinterStore> printer = t.Open();
  JobSettings own{}, foreign{}, user = t.WithPaper(1011), printerDefault = t.WithPaper(1015);
};

TEST_F(DevModeRequestTest, SizeQueriesAndRequestsThatTouchNothing) {
  JobSettings out{};
  for (auto [mode, target] : {std::pair<uint32_t, void*>{0, &out}, {0, nullptr}, {kDmCopy, nullptr},
                              {kCopyModify, nullptr}}) {
    uint32_t cbOut = 0;
    EXPECT_EQ(Request(&own, target, mode, &cbOut), 1384) << mode;
    EXPECT_EQ(cbOut, 1384u) << mode;
  }
  EXPECT_EQ(Request(nullptr, nullptr, 0), 1384) << "no cbOut to fill";
  EXPECT_EQ(Bytes(out), std::vector<unsigned char>(sizeof out, 0));

  for (uint32_t mode : {kDmCopy | kDmNoPermission, kCopyModify | kDmNoPermission, kDmUpdate,
                        kDmModify, kDmPrompt, kDmNoPermission, kDmUserDefault}) {
    std::memset(&out, 0xAB, sizeof out);
    const std::vector<unsigned char> before = Bytes(out);
    EXPECT_EQ(Request(&own, &out, mode), 1) << mode;
    EXPECT_EQ(Bytes(out), before) << mode;
  }
}

TEST_F(DevModeRequestTest, StartSettingsAndTheCallersOrientation) {
  // The caller's record, whether the per-user and printer defaults are this
  // driver's, the printer default's lock and orientation, fMode, whether the
  // caller's dmFields has DM_ORIENTATION and its dmOrientation; the result.
  const struct { Caller caller; bool userValid, printerValid; uint32_t printerLock;
                 int16_t printerOrientation; uint32_t mode; bool callerHasOrientation;
                 int16_t callerOrientation; Source want; int16_t wantOrientation; } cases[] = {
      {kOwn, true, true, 0, 1, kCopyModify, true, 2, kCaller, 2},
      // Another driver's record: the per-user default, whatever the caller's orientation.
      {kForeignExtra, true, true, 0, 1, kCopyModify, true, 2, kUser, 1},
      {kForeignSignature, true, true, 0, 1, kCopyModify, true, 2, kUser, 1},
      // Past the per-user default the caller's portrait or landscape is taken...
      {kForeignExtra, false, true, 0, 1, kCopyModify, true, 2, kPrinterDefault, 2},
      {kForeignSignature, false, true, 0, 2, kCopyModify, true, 1, kPrinterDefault, 1},
      {kForeignExtra, false, false, 0, 1, kCopyModify, true, 2, kBuiltIn, 2},
      // ...unless the result locks it, or the caller did not ask for it.
      {kForeignExtra, false, true, 2, 1, kCopyModify, true, 2, kPrinterDefault, 1},
      {kForeignExtra, false, true, 4, 2, kCopyModify, true, 1, kPrinterDefault, 2},
      {kForeignExtra, false, true, 0, 1, kDmCopy, true, 2, kPrinterDefault, 1},
      {kForeignExtra, false, true, 0, 1, kCopyModify, false, 2, kPrinterDefault, 1},
      {kForeignExtra, false, true, 0, 1, kCopyModify, true, 3, kPrinterDefault, 1},
      // No caller record: nothing to carry over.
      {kNone, true, true, 0, 1, kCopyModify, true, 2, kUser, 1},
      {kNone, false, true, 0, 1, kCopyModify, true, 2, kPrinterDefault, 1},
      {kNone, false, false, 0, 1, kCopyModify, true, 2, kBuiltIn, 1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    SCOPED_TRACE(i);
    printerDefault.OrientationLock = c.printerLock;
    printerDefault.dmOrientation = c.printerOrientation;
    Store(c.userValid, c.printerValid);
    JobSettings in = c.caller == kForeignExtra ? foreign : own;
    if (c.caller == kForeignSignature) in.Signature[0] = u'X';
    in.dmOrientation = c.callerOrientation;
    if (!c.callerHasOrientation) in.dmFields &= ~kDmOrientation;
    JobSettings want = From(c.want);
    want.dmOrientation = c.wantOrientation;

    JobSettings out, same = in;  // same: one buffer for input and output
    std::memset(&out, 0xAB, sizeof out);
    ASSERT_EQ(Request(c.caller == kNone ? nullptr : &in, &out, c.mode), 1);
    EXPECT_EQ(Bytes(out), Bytes(want));
    if (c.caller == kNone) continue;
    ASSERT_EQ(Request(&same, &same, c.mode), 1);
    EXPECT_EQ(Bytes(same), Bytes(want));
  }
}

TEST_F(DevModeRequestTest, ACallerRecordIsReadOnlyUpToItsOwnSize) {
  const struct { uint16_t size, extra; bool userValid; Source want; int16_t wantOrientation; }
      cases[] = {{220, 1164, true, kCaller, 2}, {220, 0, true, kUser, 1},
                 {220, 100, true, kUser, 1},    {220, 1163, true, kUser, 1},
                 {220, 1200, true, kUser, 1},   {100, 0, true, kUser, 1},
                 // Too short to hold the fields, or the orientation to pass on.
                 {72, 0, false, kPrinterDefault, 1}, {76, 0, false, kPrinterDefault, 1},
                 {78, 0, false, kPrinterDefault, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " + " << c.extra);
    Store(c.userValid, true);
    // The record ends where the caller's allocation ends.
    const size_t total = size_t{c.size} + c.extra;
    std::unique_ptr<unsigned char[]> in(new unsigned char[total]);
    std::memset(in.get(), 0x5A, total);
    std::memcpy(in.get(), &own, std::min<size_t>(total, sizeof own));
    std::memcpy(in.get() + offsetof(JobSettings, dmSize), &c.size, 2);
    std::memcpy(in.get() + offsetof(JobSettings, dmDriverExtra), &c.extra, 2);
    JobSettings want = From(c.want), out{};
    if (c.want == kCaller) std::memcpy(&want, in.get(), sizeof want);
    want.dmOrientation = c.wantOrientation;
    ASSERT_EQ(Request(in.get(), &out, kCopyModify), 1);
    EXPECT_EQ(Bytes(out), Bytes(want));
  }
}

}  // namespace
}  // namespace vq::test
