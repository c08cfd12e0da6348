// The status monitor link's bytes and the identity read over the simulated
// printer's port. Names, titles, command lines and the request's way to the
// monitor are checked end to end under Wine and in the document event tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules/simulated_printer/simulated_printer.h"
#include "monitor/status_monitor.h"

namespace vq::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(MonitorRequest, LongTextsAreCutToTheirFields) {
  const MonitorRequestBytes bytes =
      EncodeMonitorRequest({kMonitorIdentity, std::string(200, 'u'), std::string(600, 'n'), "P"});
  EXPECT_EQ(bytes[573], 'P');  // the port's field, behind two cut texts
  MonitorRequest back;
  ASSERT_TRUE(DecodeMonitorRequest(bytes.data(), bytes.size(), &back));
  EXPECT_EQ(back.requester + "|" + back.printer + "|" + back.port,
            std::string(127, 'u') + "|" + std::string(440, 'n') + "|P");
}

// A record whose stated length runs past the data does not hide the next;
// a record goes into the area with its zero byte, or not at all.
TEST(MonitorData, RecordsAreFoundAndKeptOnlyWhole) {
  Bytes data = {'D', 'A', 'T', ':', 'r', 0x12, 0xFF, 0xF0, 'x'};
  const Bytes serial = EncodeDataRecord('r', 0x12, "Q312000001");
  data.insert(data.end(), serial.begin(), serial.end());
  DataRecord r;
  ASSERT_TRUE(FindDataRecord(data.data(), data.size(), 0, &r, 'r', 0x12));
  EXPECT_EQ(std::string(r.payload, r.payload + r.payloadSize), "Q312000001");
  EXPECT_FALSE(FindDataRecord(data.data(), data.size() - 1, 0, &r));

  const Bytes big = EncodeDataRecord('r', 0x12, std::string(4087, 's'));  // 8 + 4087 + 1 = 4096
  ASSERT_TRUE(FindDataRecord(big.data(), big.size(), 0, &r));
  IdentityArea full;
  EXPECT_TRUE(full.Append(r));
  EXPECT_EQ(full.size(), 4096u);
  EXPECT_FALSE(full.Append(r));
}

// The simulated printer's port. A poll that never ends fails the test
// instead of hanging it.
class TestPort : public PrinterPort {
 public:
  explicit TestPort(const sim::PrinterState& state) : state_(state) {}
  int Read(uint8_t* buffer, uint32_t size, uint32_t* got) override {
    if (++reads_ > 200) {
      ADD_FAILURE() << "the poll does not end";
      return 0;
    }
    return port_.Read(state_, buffer, size, got);
  }
  int Write(const uint8_t* bytes, uint32_t size, uint32_t* written) override {
    writes.emplace_back(bytes, bytes + size);
    return port_.Write(state_, bytes, size, written);
  }
  void Pause() override { ++pauses; }
  int pauses = 0;
  std::vector<Bytes> writes;

 private:
  int reads_ = 0;
  sim::PrinterState state_;
  sim::SimulatedPort port_;
};

TEST(IdentityRead, ThroughThePort) {
  using sim::PortBehaviour;
  const struct { PortBehaviour port; uint8_t state, alerts; int want; size_t writes; int pauses; } cases[] = {
      {PortBehaviour::kAnswers, sim::kAsleep, 0, kIdentityRead, 2, 2},
      {PortBehaviour::kNoisy, sim::kIdle, 0, kIdentityRead, 2, 8},  // 3 noisy reads per answer
      {PortBehaviour::kAnswers, sim::kBusy, 0, kIdentityNotNow, 0, 0},
      {PortBehaviour::kAnswers, sim::kIdle, sim::kCoverOpen, kIdentityNotNow, 0, 0},
      {PortBehaviour::kGarbage, sim::kIdle, 0, kIdentityNotNow, 0, 0},
      {PortBehaviour::kSilent, sim::kIdle, 0, kIdentityNotNow, 0, 0},
      {PortBehaviour::kMute, sim::kIdle, 0, kIdentityPortFailed, 1, 1},
      {PortBehaviour::kBroken, sim::kIdle, 0, kIdentityPortFailed, 1, 1},
  };
  for (const auto& c : cases) {
    sim::PrinterState state;
    state.port = c.port;
    state.state = c.state;
    state.alerts = c.alerts;
    SCOPED_TRACE(sim::Describe(state));
    TestPort port(state);
    IdentityArea area;
    EXPECT_EQ(ReadIdentityThroughPort(port, &area), c.want);
    ASSERT_EQ(port.writes.size(), c.writes);
    EXPECT_EQ(port.pauses, c.pauses);
    // What a real printer is sent for its serial number.
    if (c.writes > 0)
      EXPECT_EQ(port.writes[0], Bytes({0x1B, 0x4B, 0x04, 0, 0, 0, 0, 0, 0x1B, 0x6D, 0x01, 0, 'r', 0x12, 0, 0}));
    PrinterIdentity id;
    EXPECT_EQ(DecodePrinterIdentity(area, &id), c.want == kIdentityRead);
    if (c.want == kIdentityRead) EXPECT_EQ(id.firmware, u"Ver.1.05A");
  }
}

}  // namespace
}  // namespace vq::test
