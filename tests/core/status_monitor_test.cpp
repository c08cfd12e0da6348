// The status monitor link's bytes and names, and the identity read over the
// simulated printer's port.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "modules/simulated_printer/simulated_printer.h"
#include "uicore/status_monitor.h"

namespace vq::test {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(MonitorNames, CommandLinesTitlesPipesAndPorts) {
  EXPECT_EQ(MonitorCommandLine(u"C:\\drv\\x64\\3", u"Morva VT-Q3120", u"USB001",
                               MonitorLaunch::kPrintTime),
            u"\"C:\\drv\\x64\\3\\VQ312SM.exe\" Morva VT-Q3120;USB001;lmex;");
  EXPECT_EQ(MonitorCommandLine("C:\\d", "\\\\SRV\\P", "LPT1:", MonitorLaunch::kUtility),
            "\"C:\\d\\VQ312SM.exe\" \\\\SRV\\P;LPT1:;drex;");
  EXPECT_EQ(MonitorWindowTitle("P", "COM1:"), "P Status Monitor - COM1:");
  // With its terminator the pipe name is the server name's length + 26, or 29.
  EXPECT_EQ(MonitorPipeName(u""), u"\\\\.\\pipe\\VQ312\\StatusMonitor");
  EXPECT_EQ(MonitorPipeName(u"").size() + 1, 29u);
  EXPECT_EQ(MonitorPipeName(u"\\\\PRINTSRV"), u"\\\\PRINTSRV\\pipe\\VQ312\\StatusMonitor");
  EXPECT_EQ(MonitorPipeName(u"\\\\PRINTSRV").size() + 1, 10u + 26);
  EXPECT_EQ(SplitPortList(",LPT1:,,FILE:,"), (std::vector<std::string>{"LPT1:", "FILE:"}));

  const struct { const char16_t *printer, *server, *want; } names[] = {
      {u"\\\\SRV\\Morva VT-Q3120", u"\\\\SRV", u"Morva VT-Q3120"},
      {u"Morva VT-Q3120", u"", u"Morva VT-Q3120"},
      {u"\\\\SRVX\\P", u"\\\\SRV", u"\\\\SRVX\\P"},  // a longer name is another server
      {u"\\\\SRV", u"\\\\SRV", u"\\\\SRV"},
  };
  for (const auto& n : names) EXPECT_EQ(PrinterNameWithoutServer(n.printer, n.server), n.want);
}

TEST(MonitorRequest, FieldsSitAtTheirOffsets) {
  const MonitorRequestBytes bytes =
      EncodeMonitorRequest({kMonitorIdentity, "HOST\\anna", "Morva VT-Q3120", "USB001"});
  Bytes expected(kMonitorRequestSize, 0);
  expected[0] = 5;
  std::memcpy(&expected[4], "HOST\\anna", 9);
  std::memcpy(&expected[132], "Morva VT-Q3120", 14);
  std::memcpy(&expected[573], "USB001", 6);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);

  // Texts longer than their field keep a terminator and do not spill.
  const MonitorRequestBytes cut =
      EncodeMonitorRequest({0, std::string(200, 'u'), std::string(600, 'n'), "P"});
  EXPECT_EQ(cut[4 + 126], 'u');
  EXPECT_EQ(cut[4 + 127], 0);
  EXPECT_EQ(cut[132 + 440], 0);
  EXPECT_EQ(cut[573], 'P');

  // Fields without terminators end at their field, not in the next one.
  const Bytes full(kMonitorRequestSize, 'x');
  MonitorRequest decoded;
  ASSERT_TRUE(DecodeMonitorRequest(full.data(), full.size(), &decoded));
  EXPECT_EQ(decoded.requester.size(), kRequestUserSize);
  EXPECT_EQ(decoded.port.size(), kRequestPortSize);
  EXPECT_FALSE(DecodeMonitorRequest(full.data(), full.size() - 1, &decoded));
}

TEST(MonitorData, IdleMeansNoAlertAndReadyOrAsleep) {
  const struct { Bytes data; bool idle; } cases[] = {
      {Of(std::string("ALR:\0DBS:\0", 10)), true},
      {Of(std::string("ALR:\0DBS:\7", 10)), true},
      {Of(std::string("ALR:\0DBS:\1", 10)), false},  // printing
      {Of(std::string("ALR:\2DBS:\0", 10)), false},  // an alert at byte 4
      {Of(std::string("ALR:\0DBS:", 9)), false},     // tag without its state byte
      {Of(std::string("DBS:\7", 5)), false},         // byte 4 is the state itself
      {Of(std::string("DBS:", 4)), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PrinterIsIdle(c.data.data(), c.data.size()), c.idle)
        << std::string(c.data.begin(), c.data.end());
}

TEST(MonitorData, RecordsAreFoundAndKeptOnlyWhole) {
  Bytes data = Of("noise");
  const Bytes lying = {'D', 'A', 'T', ':', 'r', 0x12, 0xFF, 0xF0, 'x'};
  data.insert(data.end(), lying.begin(), lying.end());
  const size_t serialAt = data.size();
  for (const Bytes& r : {EncodeDataRecord('r', 0x12, "Q312000001"), EncodeDataRecord('r', 0x06, "1.05A")})
    data.insert(data.end(), r.begin(), r.end());
  DataRecord r;
  ASSERT_TRUE(FindDataRecord(data.data(), data.size(), 0, &r));
  EXPECT_EQ(r.offset, serialAt);
  ASSERT_TRUE(FindDataRecord(data.data(), data.size(), 0, &r, 'r', 0x06));
  EXPECT_EQ(std::string(r.payload, r.payload + r.payloadSize), "1.05A");
  EXPECT_FALSE(FindDataRecord(data.data(), data.size() - 1, 0, &r, 'r', 0x06));

  IdentityArea area;
  area.Assign(data.data(), data.size());
  PrinterIdentity id;
  ASSERT_TRUE(DecodePrinterIdentity(area, &id));
  EXPECT_EQ(id.serial, u"Q312000001");
  EXPECT_EQ(id.firmware, u"Ver.1.05A");
  area.Assign(data.data(), data.size() - 1);  // the firmware record cut short
  EXPECT_FALSE(DecodePrinterIdentity(area, &id));

  // Each record with its zero byte, or not at all: 8 + 4087 + 1 fills 4096.
  const Bytes big = EncodeDataRecord('r', 0x12, std::string(4087, 's'));
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
    if (c.writes == 0) continue;
    EXPECT_EQ(port.writes[0], Bytes({0x1B, 0x4B, 0x04, 0, 0, 0, 0, 0, 0x1B, 0x6D, 0x01, 0, 'r', 0x12, 0, 0}));
    if (c.want != kIdentityRead) continue;
    EXPECT_EQ(Bytes(port.writes[1].begin() + 12, port.writes[1].end()), Bytes({'r', 0x06, 0, 0}));
    Bytes expected = EncodeDataRecord('r', 0x12, state.serial);
    expected.push_back(0);
    const Bytes fw = EncodeDataRecord('r', 0x06, state.firmware);
    expected.insert(expected.end(), fw.begin(), fw.end());
    expected.push_back(0);
    EXPECT_EQ(Bytes(area.data(), area.data() + area.size()), expected);
  }
}

}  // namespace
}  // namespace vq::test
