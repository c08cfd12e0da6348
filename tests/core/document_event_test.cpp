// Document events: the overlay and colour-profile checks, the job message,
// and the whole event over a host that records what it was asked to do.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "entry/document_event.h"
#include "settings/printer_store.h"
#include "tests/core/test_printer.h"

namespace vq::test {
namespace {

using Bytes = std::vector<uint8_t>;

class MemoryFiles : public FileAccess {
 public:
  bool FolderExists(const std::u16string& folder) override { return folders.count(folder) != 0; }
  bool FileExists(const std::u16string& path) override { return files.count(path) != 0; }
  bool ReadStart(const std::u16string& path, uint8_t* buffer, size_t size, size_t* got,
                 uint64_t* fileSize) override {
    const auto it = files.find(path);
    if (it == files.end()) return false;
    *got = std::min(size, it->second.size());
    if (*got) std::memcpy(buffer, it->second.data(), *got);
    *fileSize = it->second.size();
    return true;
  }
  std::set<std::u16string> folders = {u"C:\\forms\\"};
  std::map<std::u16string, Bytes> files = {{u"C:\\forms\\label.ofe", {}},
                                           {u"C:\\forms\\LABEL.OFE", {}}};
};

// An ICC profile of `size` bytes whose header states `stated` bytes.
Bytes Profile(const char* deviceClass, const char* space, size_t size = 560,
              uint32_t stated = 0) {
  Bytes p(size, 0);
  if (stated == 0) stated = uint32_t(size);
  const uint8_t be[4] = {uint8_t(stated >> 24), uint8_t(stated >> 16), uint8_t(stated >> 8),
                         uint8_t(stated)};
  std::memcpy(p.data(), be, std::min<size_t>(4, size));
  if (size >= 20) std::memcpy(p.data() + 12, deviceClass, 4), std::memcpy(p.data() + 16, space, 4);
  return p;
}

// APUI_ICPMPROFILELIST: u32 total, u32 count, entries of two 260-unit paths.
Bytes ProfileList(const std::vector<std::pair<std::u16string, std::u16string>>& entries) {
  Bytes value(8 + entries.size() * kProfileEntrySize, 0);
  const uint32_t total = uint32_t(value.size()), count = uint32_t(entries.size());
  std::memcpy(value.data(), &total, 4);
  std::memcpy(value.data() + 4, &count, 4);
  for (size_t i = 0; i < entries.size(); ++i) {
    uint8_t* entry = value.data() + 8 + i * kProfileEntrySize;
    std::memcpy(entry, entries[i].first.data(), entries[i].first.size() * 2);
    std::memcpy(entry + 520, entries[i].second.data(), entries[i].second.size() * 2);
  }
  return value;
}

void SetPath(JobSettings* js, std::u16string_view path) {
  std::fill(std::begin(js->OverlayPath), std::end(js->OverlayPath), u'\0');
  std::copy_n(path.begin(), std::min<size_t>(path.size(), 260), js->OverlayPath);
}

TEST(OverlayCheck, StatusWordForEachKindTargetAndPath) {
  MemoryFiles files;
  const struct { uint32_t mode, option; const char16_t* path; uint32_t status; bool refused; } cases[] = {
      {0x80000002, 1, u"C:\\forms\\label.ofe", 0x11210000, false},
      {0x80000002, 2, u"C:\\forms\\label.ofe", 0x11220000, false},
      {0x80000002, 1, u"C:\\forms\\LABEL.OFE", 0x01210004, true},   // exists, but capitals
      {0x80000002, 1, u"C:\\forms\\other.ofe", 0x01210004, true},   // missing file
      {0x00000002, 1, u"C:\\forms\\LABEL.OFE", 0x02210004, false},  // overlay off
      {0x80000001, 1, u"C:\\forms\\new.ofe", 0x11110000, false},    // to create: folder exists
      {0x80000003, 2, u"C:\\forms\\new.ofe", 0x11320000, false},
      {0x80000001, 1, u"C:\\none\\new.ofe", 0x01110004, true},
      {0x80000001, 1, u"C:\\forms\\.ofe", 0x01110004, true},        // no name
      {0x80000001, 1, u"new.ofe", 0x01110004, true},                // no folder
      {0x80000004, 1, u"C:\\forms\\LABEL.OFE", 0x01010002, false},  // unknown kind: no path test
      {0x80000002, 7, u"C:\\forms\\label.ofe", 0x01200003, false},
      {0x80000002, 0, u"C:\\forms\\x.OFE", 0x01200007, true},       // target and path: 3 + 4
      {0x8000000F, 9, u"C:\\forms\\x.OFE", 0x01000005, false},      // kind and target: 2 + 3
  };
  for (const auto& c : cases) {
    JobSettings js{};
    js.OverlayMode = c.mode;
    js.OverlayOption = c.option;
    SetPath(&js, c.path);
    const uint32_t status = CheckOverlayForm(js, files);
    EXPECT_EQ(status, c.status) << std::hex << c.mode << " " << c.option;
    EXPECT_EQ(OverlayRefusesJob(status), c.refused) << std::hex << c.mode << " " << c.option;
  }
  // Every sum of failed tests reads back: 2+4 and 2+3+4 as well.
  EXPECT_TRUE(OverlayFailed(kOverlayIsOn | 6, kOverlayBadPath));
  EXPECT_TRUE(OverlayFailed(kOverlayIsOn | 9, kOverlayBadKind));
  EXPECT_FALSE(OverlayFailed(kOverlayIsOn | 5, kOverlayBadPath));
  EXPECT_FALSE(OverlayFailed(kOverlayIsOn | 8, kOverlayBadPath));

  // A path that fills its field has no terminator; it ends with the field.
  JobSettings js{};
  js.OverlayMode = 0x80000002;
  js.OverlayOption = 1;
  std::fill(std::begin(js.OverlayPath), std::end(js.OverlayPath), u'a');
  std::copy_n(u"xx.ofe", 6, js.OverlayPath + 254);
  js.Option1336 = 0x00410041;  // "AA" right behind the field
  ASSERT_EQ(OverlayPathOf(js).size(), 260u);
  EXPECT_TRUE(OverlayRefusesJob(CheckOverlayForm(js, files)));
  files.files[OverlayPathOf(js)] = {};
  EXPECT_FALSE(OverlayRefusesJob(CheckOverlayForm(js, files)));
}

TEST(ProfileCheck, IccHeaders) {
  const struct { Bytes file; bool usable; const char* why; } cases[] = {
      {Profile("prtr", "RGB "), true, "printer RGB"},
      {Profile("prtr", "RGB ", 128), true, "header only"},
      {Profile("prtr", "CMYK"), false, "CMYK"},
      {Profile("mntr", "RGB "), false, "display class"},
      {Profile("prtr", "RGB ", 560, 561), false, "states one byte more"},
      {Profile("prtr", "RGB ", 560, 559), false, "states one byte less"},
      {Profile("prtr", "RGB ", 127), false, "shorter than a header"},
      {Bytes{}, false, "empty"},
  };
  for (const auto& c : cases) {
    MemoryFiles files;
    files.files[u"p.icc"] = c.file;
    EXPECT_EQ(ProfileUsable(u"p.icc", files), c.usable) << c.why;
  }
}

TEST(ProfileCheck, MediaAndTheirProfileEntries) {
  TestPrinter t;
  std::unique_ptr<PrinterStore> printer = t.Open();
  MemoryFiles files;
  files.files[u"rgb"] = Profile("prtr", "RGB ");
  files.files[u"cmyk"] = Profile("prtr", "CMYK");
  using Entries = std::vector<std::pair<std::u16string, std::u16string>>;
  const Entries rgb = {{u"rgb", u"rgb"}}, cmykSecond = {{u"rgb", u"cmyk"}};
  Bytes lying = ProfileList(rgb);
  lying[0] += 1;  // the header's total disagrees with the value's size
  // The last media record is the user media `listed`; the job asks for `media`.
  const struct {
    const char* what; Bytes list; uint32_t listed, media, mono, tone, profile; bool ok;
  } cases[] = {
      {"both RGB", ProfileList(rgb), 300, 300, 0, 0, 1, true},
      {"second CMYK", ProfileList(cmykSecond), 300, 300, 0, 0, 1, false},
      {"first user id", ProfileList(cmykSecond), 262, 262, 0, 0, 1, false},
      {"last user id", ProfileList(cmykSecond), 361, 361, 0, 0, 1, false},
      {"first missing", ProfileList({{u"gone", u"rgb"}}), 300, 300, 0, 0, 1, false},
      {"entry 2 of 1", ProfileList(rgb), 300, 300, 0, 0, 2, false},
      {"header total lies", lying, 300, 300, 0, 0, 1, false},
      {"no list", {}, 300, 300, 0, 0, 1, false},
      {"true monochrome", ProfileList(cmykSecond), 300, 300, 1, 255, 1, true},
      {"monochrome with tone", ProfileList(cmykSecond), 300, 300, 1, 254, 1, false},
      {"built-in id", ProfileList(cmykSecond), 261, 261, 0, 0, 1, true},
      {"above user ids", ProfileList(cmykSecond), 362, 362, 0, 0, 1, true},
      {"no profile", ProfileList(cmykSecond), 300, 300, 0, 0, 0, true},
      {"media not in table", ProfileList(cmykSecond), 300, 301, 0, 0, 1, true},
  };
  std::vector<MediaData> media;
  ReadMediaTable(printer.get(), &media);
  media.push_back(media.front());
  for (const auto& c : cases) {
    if (c.list.empty())
      t.data->values.erase(pd::kProfileList);
    else
      t.data->SetBinary(pd::kProfileList, c.list.data(), c.list.size());
    media.back().mediaId = c.listed;
    media.back().profileNumber = c.profile;
    WriteMediaTable(printer.get(), media.data(), uint32_t(media.size()));
    JobSettings js{};
    js.MediaTypeId = c.media;
    js.Monochrome = c.mono;
    js.MonoTone = c.tone;
    EXPECT_EQ(CheckMediaProfiles(js, printer.get(), files), c.ok) << c.what;
  }
}

// The frame's fixed bytes are checked under Wine as the monitor receives
// them; here, texts longer than their fields.
TEST(JobMessage, LongTextsKeepATerminatorAndStayInPlace) {
  const JobMessageFrame cut =
      EncodeJobMessage({kJobStarted, 1, std::string(80, 'd'), std::string(40, 't'), 5});
  EXPECT_EQ(cut[21 + 62], 'd');
  EXPECT_EQ(cut[21 + 63], 0);
  EXPECT_EQ(cut[85 + 30], 't');
  EXPECT_EQ(cut[85 + 31], 0);
  EXPECT_EQ(cut[117], 5);
  JobMessage back;
  EXPECT_FALSE(DecodeJobMessage(cut.data(), 124, &back));
}

// A host over the in-memory test printer that records launches and posts.
class RecordingHost : public DocumentEventHost {
 public:
  explicit RecordingHost(TestPrinter& t) : store(t.Open()) {}
  bool ReadJob(uint32_t id, PrintJob* out) override {
    if (id != 12 || ++jobReads > jobReadsAllowed) return false;
    *out = job;
    return true;
  }
  bool ReadConnection(PrinterConnection* out) override {
    *out = connection;
    return connectionReadable;
  }
  bool ReadPrinterNames(std::u16string* printer, std::u16string* ports) override {
    *printer = u"\\\\SRV\\Morva VT-Q3120";
    *ports = u"USB001,USB002";
    return true;
  }
  PrinterStore* Printer() override { return store.get(); }
  bool ModuleLoads(const std::u16string& path) override { return modules.count(path) != 0; }
  std::string ToAnsi(const std::u16string& text) override { return std::string(text.begin(), text.end()); }
  uint32_t Launch(const std::string& line) override {
    launches.push_back(line);
    return launchResult;
  }
  void Post(const std::u16string& mailslot, const JobMessageFrame& frame) override {
    EXPECT_EQ(mailslot, u"\\\\.\\mailslot\\\\\\SRV\\Morva VT-Q3120\\lmtosm\\USB001,USB002");
    JobMessage m;
    EXPECT_TRUE(DecodeJobMessage(frame.data(), frame.size(), &m));
    posts.push_back(m);
  }
  FileAccess& Files() override { return files; }

  std::unique_ptr<PrinterStore> store;
  PrintJob job;
  int jobReads = 0, jobReadsAllowed = 99;
  PrinterConnection connection{"\\\\SRV", "VTQ", "\\\\SRV\\Morva VT-Q3120", "USB001,USB002"};
  bool connectionReadable = true;
  std::set<std::u16string> modules = {u"C:\\windows\\system32\\spool\\drivers\\x64\\3\\VQ312AN.dll",
                                      u"C:\\windows\\system32\\spool\\drivers\\x64\\3\\VQ312RS.dll"};
  uint32_t launchResult = 33;
  std::vector<std::string> launches;
  std::vector<JobMessage> posts;
  MemoryFiles files;
};

// Every way the event ends, with what it returns, starts and sends. The
// overlay flag starts at 7 so an untouched flag shows.
TEST(DocumentEvent, ResultsLaunchesAndMessages) {
  enum Change {
    kNone, kDeleteDc, kLocal, kLocalDeleteDc, kNoConnection, kNoShare, kPrintFlagSet,
    kPrintFlagMissing, kNoAnModule, kNoRsModule, kJobGoneAfterCheck, kJobGoneAtLaunch,
    kLaunchNotFound, kLaunchBadFormat, kLaunchDenied, kOverlayCreates, kOverlayUses, kOverlayBoth,
    kUnannounced2, kUnannounced3, kUpperCaseForm, kCmykProfile, kUnknownEvent, kOneBadPort,
  };
  const struct { Change change; int result; size_t launches; int kind; uint32_t flag; } cases[] = {
      {kNone, 1, 2, kJobStarted, 0},
      {kDeleteDc, 1, 0, kDeviceContextDeleted, 7},
      {kLocal, 0, 0, -1, 7},
      {kLocalDeleteDc, 0, 0, -1, 7},
      {kNoConnection, 0, 0, -1, 7},
      {kNoShare, 1, 0, -1, 7},
      {kPrintFlagSet, 0, 0, -1, 7},
      {kPrintFlagMissing, 0, 0, -1, 7},
      {kNoAnModule, 0, 0, -1, 7},
      {kNoRsModule, 0, 0, -1, 7},
      {kJobGoneAfterCheck, 0, 0, -1, 7},
      {kJobGoneAtLaunch, 0, 2, -1, 7},
      {kLaunchNotFound, 0, 1, -1, 7},
      {kLaunchBadFormat, 0, 1, -1, 7},
      {kLaunchDenied, 1, 2, kJobStarted, 0},  // 5 is not one of the failures
      {kOverlayCreates, 1, 0, -1, 7},
      {kOverlayUses, 1, 2, kJobStarted, 1},
      {kOverlayBoth, 0, 2, -1, 0},
      {kUnannounced2, 0, 2, kJobStartedUnannounced, 0},
      {kUnannounced3, 0, 2, kJobStartedUnannounced, 0},
      {kUpperCaseForm, -1, 0, -1, 7},
      {kCmykProfile, -1, 0, -1, 7},
      {kUnknownEvent, 1, 0, -1, 7},
      {kOneBadPort, 1, 1, kJobStarted, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << c.change);
    TestPrinter t;
    RecordingHost host(t);
    JobSettings js = t.Defaults();
    int event = kDocumentEventStartDocPost;
    switch (c.change) {
      case kDeleteDc: event = kDocumentEventDeleteDc; break;
      case kLocal: host.connection.server.clear(); break;
      case kLocalDeleteDc: host.connection.server.clear(), event = kDocumentEventDeleteDc; break;
      case kNoConnection: host.connectionReadable = false; break;
      case kNoShare: host.connection.share.clear(); break;
      case kPrintFlagSet: t.data->SetDword(pd::kMonitorPrintFlag, 1); break;
      case kPrintFlagMissing: t.data->values.erase(pd::kMonitorPrintFlag); break;
      case kNoAnModule: host.modules.erase(*host.modules.begin()); break;
      case kNoRsModule: host.modules.erase(*host.modules.rbegin()); break;
      case kJobGoneAfterCheck: host.jobReadsAllowed = 1; break;
      case kJobGoneAtLaunch: host.jobReadsAllowed = 2; break;
      case kLaunchNotFound: host.launchResult = 2; break;
      case kLaunchBadFormat: host.launchResult = 11; break;
      case kLaunchDenied: host.launchResult = 5; break;
      case kOverlayCreates: js.OverlayMode = 0x80000001, js.OverlayOption = 1;
        SetPath(&js, u"C:\\forms\\new.ofe"); break;
      case kOverlayUses: js.OverlayMode = 0x80000002, js.OverlayOption = 1;
        SetPath(&js, u"C:\\forms\\label.ofe"); break;
      case kOverlayBoth: js.OverlayMode = 0x80000003, js.OverlayOption = 2;
        SetPath(&js, u"C:\\forms\\label.ofe"); break;
      case kUnannounced2: js.Option1344 = 2; break;
      case kUnannounced3: js.Option1344 = 3; break;
      case kUpperCaseForm: js.OverlayMode = 0x80000002, js.OverlayOption = 1;
        SetPath(&js, u"C:\\forms\\LABEL.OFE"); break;
      case kCmykProfile: {
        std::vector<MediaData> media;
        ReadMediaTable(host.store.get(), &media);
        media.push_back(media.front());
        media.back().mediaId = 262;
        media.back().profileNumber = 1;
        WriteMediaTable(host.store.get(), media.data(), uint32_t(media.size()));
        const Bytes list = ProfileList({{u"C:\\rgb", u"C:\\cmyk"}});
        t.data->SetBinary(pd::kProfileList, list.data(), list.size());
        host.files.files[u"C:\\rgb"] = Profile("prtr", "RGB ");
        host.files.files[u"C:\\cmyk"] = Profile("prtr", "CMYK");
        js.MediaTypeId = 262;
        break;
      }
      case kUnknownEvent: event = 14; break;
      case kOneBadPort: host.connection.ports = ",USB001,"; break;
      default: break;
    }
    host.job = {Bytes(reinterpret_cast<uint8_t*>(&js), reinterpret_cast<uint8_t*>(&js) + sizeof js),
                "Doc", "RAW"};
    uint32_t flag = 7;
    EXPECT_EQ(HandleDocumentEvent(host, event, 12, &flag), c.result);
    EXPECT_EQ(host.launches.size(), c.launches);
    EXPECT_EQ(flag, c.flag);
    if (c.launches > 0)
      EXPECT_EQ(host.launches[0], "\"C:\\windows\\system32\\spool\\drivers\\x64\\3\\VQ312SM.exe\" "
                                  "\\\\SRV\\Morva VT-Q3120;USB001;lmex;");
    if (c.launches > 1) EXPECT_EQ(host.launches[1].substr(host.launches[1].size() - 12), "USB002;lmex;");
    if (c.kind < 0) {
      EXPECT_TRUE(host.posts.empty());
      continue;
    }
    ASSERT_EQ(host.posts.size(), 1u);
    const JobMessage& m = host.posts[0];
    EXPECT_EQ(m.kind, c.kind);
    EXPECT_EQ(m.jobId, c.kind == kJobStarted ? 12u : 0u);
    EXPECT_EQ(m.document, c.kind == kJobStarted ? "Doc" : "");
    EXPECT_EQ(m.dataType, c.kind == kJobStarted ? "RAW" : "");
    EXPECT_EQ(m.overlayFlag, c.kind == kJobStartedUnannounced ? 0u : c.flag);
  }
}

}  // namespace
}  // namespace vq::test
