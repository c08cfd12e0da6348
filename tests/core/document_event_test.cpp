// Document events: the overlay and colour-profile checks, the job message,
// and the event's branches over a host that records what it was asked to do.
// The Wine tests run the event end to end: real jobs, files, launches and
// mailslot bytes.
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

// An ICC profile of `size` bytes whose header states `stated` bytes.
Bytes Profile(const char* deviceClass, const char* space, size_t size = 560, uint32_t stated = 560) {
  Bytes p(size, 0);
  for (size_t i = 0; i < 4 && i < size; ++i) p[i] = uint8_t(stated >> (24 - 8 * i));
  if (size >= 20) std::memcpy(&p[12], deviceClass, 4), std::memcpy(&p[16], space, 4);
  return p;
}

// APUI_ICPMPROFILELIST with one entry: u32 total, u32 count, two 260-unit paths.
Bytes ProfileList(std::u16string_view first, std::u16string_view second) {
  Bytes value(8 + kProfileEntrySize, 0);
  const uint32_t header[2] = {uint32_t(value.size()), 1};
  std::memcpy(value.data(), header, 8);
  std::memcpy(&value[8], first.data(), first.size() * 2);
  std::memcpy(&value[8 + 520], second.data(), second.size() * 2);
  return value;
}

class MemoryFiles : public FileAccess {
 public:
  bool FolderExists(const std::u16string& folder) override { return folder == u"C:\\forms\\"; }
  bool FileExists(const std::u16string& path) override { return files.count(path) != 0; }
  bool ReadStart(const std::u16string& path, uint8_t* buffer, size_t size, size_t* got,
                 uint64_t* fileSize) override {
    const auto it = files.find(path);
    if (it == files.end()) return false;
    *got = std::min(size, it->second.size());
    std::copy_n(it->second.begin(), *got, buffer);
    *fileSize = it->second.size();
    return true;
  }
  std::map<std::u16string, Bytes> files = {
      {u"C:\\forms\\label.ofe", {}}, {u"C:\\forms\\LABEL.OFE", {}}, {u"rgb", Profile("prtr", "RGB ")}};
};

void SetForm(JobSettings* js, uint32_t mode, uint32_t option, std::u16string_view path) {
  js->OverlayMode = mode;
  js->OverlayOption = option;
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
    SetForm(&js, c.mode, c.option, c.path);
    const uint32_t status = CheckOverlayForm(js, files);
    EXPECT_EQ(status, c.status) << std::hex << c.mode << " " << c.option;
    EXPECT_EQ(OverlayRefusesJob(status), c.refused) << std::hex << c.mode << " " << c.option;
  }
  // A path that fills its field has no terminator; it ends with the field,
  // not in the "AA" behind it.
  JobSettings js{};
  SetForm(&js, 0x80000002, 1, std::u16string(254, u'a') + u"xx.ofe");
  js.Option1336 = 0x00410041;
  EXPECT_TRUE(OverlayRefusesJob(CheckOverlayForm(js, files)));
  files.files[std::u16string(254, u'a') + u"xx.ofe"] = {};
  EXPECT_FALSE(OverlayRefusesJob(CheckOverlayForm(js, files)));
}

// A user media (262..361) with a profile prints only when both profiles of
// its entry are whole RGB printer profiles whose header states the file's
// size. Profile "p" is the entry's second.
TEST(ProfileCheck, MediaPrintOnlyWithUsableProfiles) {
  TestPrinter t;
  std::unique_ptr<PrinterStore> printer = t.Open();
  const Bytes rgb = Profile("prtr", "RGB "), cmyk = Profile("prtr", "CMYK");
  const Bytes list = ProfileList(u"rgb", u"p");
  Bytes lying = list;
  lying[0] += 1;  // the header's total disagrees with the value's size
  // The last media record is the user media `listed`; the job asks for `media`.
  const struct {
    const char* what; Bytes list, p; uint32_t listed, media, monoTone, profile; bool ok;
  } cases[] = {
      {"RGB printer profiles", list, rgb, 300, 300, 0, 1, true},
      {"header only", list, Profile("prtr", "RGB ", 128, 128), 300, 300, 0, 1, true},
      {"CMYK", list, cmyk, 300, 300, 0, 1, false},
      {"display class", list, Profile("mntr", "RGB "), 300, 300, 0, 1, false},
      {"states one byte more", list, Profile("prtr", "RGB ", 560, 561), 300, 300, 0, 1, false},
      {"states one byte less", list, Profile("prtr", "RGB ", 560, 559), 300, 300, 0, 1, false},
      {"shorter than a header", list, Profile("prtr", "RGB ", 127, 127), 300, 300, 0, 1, false},
      {"first missing", ProfileList(u"gone", u"p"), rgb, 300, 300, 0, 1, false},
      {"entry 2 of 1", list, rgb, 300, 300, 0, 2, false},
      {"header total lies", lying, rgb, 300, 300, 0, 1, false},
      {"no list", {}, rgb, 300, 300, 0, 1, false},
      {"first user id", list, cmyk, 262, 262, 0, 1, false},
      {"last user id", list, cmyk, 361, 361, 0, 1, false},
      {"true monochrome", list, cmyk, 300, 300, 255, 1, true},
      {"monochrome with tone", list, cmyk, 300, 300, 254, 1, false},
      {"built-in id", list, cmyk, 261, 261, 0, 1, true},
      {"above user ids", list, cmyk, 362, 362, 0, 1, true},
      {"no profile", list, cmyk, 300, 300, 0, 0, true},
      {"media not in table", list, cmyk, 300, 301, 0, 1, true},
  };
  std::vector<MediaData> media;
  ReadMediaTable(printer.get(), &media);
  media.push_back(media.front());
  for (const auto& c : cases) {
    MemoryFiles files;
    files.files[u"p"] = c.p;
    if (c.list.empty())
      t.data->values.erase(pd::kProfileList);
    else
      t.data->SetBinary(pd::kProfileList, c.list.data(), c.list.size());
    media.back().mediaId = c.listed;
    media.back().profileNumber = c.profile;
    WriteMediaTable(printer.get(), media.data(), uint32_t(media.size()));
    JobSettings js{};
    js.MediaTypeId = c.media;
    js.Monochrome = c.monoTone ? 1 : 0;
    js.MonoTone = c.monoTone;
    EXPECT_EQ(CheckMediaProfiles(js, printer.get(), files), c.ok) << c.what;
  }
}

// A print server's printer over the in-memory test printer; records
// launches and messages.
class RecordingHost : public DocumentEventHost {
 public:
  explicit RecordingHost(TestPrinter& t) : t(t), store(t.Open()), js(t.Defaults()) {}
  // Job 12 with the settings `js` and texts longer than the message's fields.
  bool ReadJob(uint32_t id, PrintJob* out) override {
    if (id != 12 || ++jobReads > jobReadsAllowed) return false;
    const auto* raw = reinterpret_cast<const uint8_t*>(&js);
    *out = {Bytes(raw, raw + sizeof js), std::string(80, 'd'), std::string(40, 't')};
    return true;
  }
  bool ReadConnection(PrinterConnection* out) override { return *out = connection, connectionReadable; }
  bool ReadPrinterNames(std::u16string* printer, std::u16string* ports) override {
    return *printer = u"\\\\SRV\\Morva VT-Q3120", *ports = u"USB001,USB002", true;
  }
  PrinterStore* Printer() override { return store.get(); }
  bool ModuleLoads(const std::u16string& path) override { return modules.count(path) != 0; }
  std::string ToAnsi(const std::u16string& text) override { return std::string(text.begin(), text.end()); }
  uint32_t Launch(const std::string& line) override { return launches.push_back(line), launchResult; }
  void Post(const std::u16string& mailslot, const JobMessageFrame& frame) override {
    EXPECT_EQ(mailslot, u"\\\\.\\mailslot\\\\\\SRV\\Morva VT-Q3120\\lmtosm\\USB001,USB002");
    EXPECT_TRUE(DecodeJobMessage(frame.data(), frame.size(), &posts.emplace_back()));
  }
  FileAccess& Files() override { return files; }

  TestPrinter& t;
  std::unique_ptr<PrinterStore> store;
  JobSettings js;
  int event = kDocumentEventStartDocPost;
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

// What the event returns, starts and sends, for each way it ends that the
// Wine tests do not reach (there: a local printer, refused forms and
// profiles, a form in use, the end of the device context). The overlay
// flag starts at 7 so an untouched flag shows.
TEST(DocumentEvent, ResultsLaunchesAndMessages) {
  using Host = RecordingHost;
  const struct {
    const char* what; void (*change)(Host&); int result; size_t launches; int kind; uint32_t flag;
  } cases[] = {
      {"server printer", [](Host&) {}, 1, 2, kJobStarted, 0},
      {"other event", [](Host& h) { h.event = 14; }, 1, 0, -1, 7},
      {"no connection", [](Host& h) { h.connectionReadable = false; }, 0, 0, -1, 7},
      {"no share", [](Host& h) { h.connection.share.clear(); }, 1, 0, -1, 7},
      {"monitor prints", [](Host& h) { h.t.data->SetDword(pd::kMonitorPrintFlag, 1); }, 0, 0, -1, 7},
      {"no print flag", [](Host& h) { h.t.data->values.erase(pd::kMonitorPrintFlag); }, 0, 0, -1, 7},
      {"no AN module", [](Host& h) { h.modules.erase(*h.modules.begin()); }, 0, 0, -1, 7},
      {"no RS module", [](Host& h) { h.modules.erase(*h.modules.rbegin()); }, 0, 0, -1, 7},
      {"job gone after check", [](Host& h) { h.jobReadsAllowed = 1; }, 0, 0, -1, 7},
      {"job gone at launch", [](Host& h) { h.jobReadsAllowed = 2; }, 0, 2, -1, 7},
      {"monitor not found", [](Host& h) { h.launchResult = 2; }, 0, 1, -1, 7},
      {"bad format", [](Host& h) { h.launchResult = 11; }, 0, 1, -1, 7},
      {"access denied", [](Host& h) { h.launchResult = 5; }, 1, 2, kJobStarted, 0},  // no failure
      {"one port, commas", [](Host& h) { h.connection.ports = ",USB001,"; }, 1, 1, kJobStarted, 0},
      {"form to create", [](Host& h) { SetForm(&h.js, 0x80000001, 1, u"C:\\forms\\new.ofe"); },
       1, 0, -1, 7},
      {"form to create and use", [](Host& h) { SetForm(&h.js, 0x80000003, 2, u"C:\\forms\\label.ofe"); },
       0, 2, -1, 0},
      {"unannounced 2", [](Host& h) { h.js.Option1344 = 2; }, 0, 2, kJobStartedUnannounced, 0},
      {"unannounced 3", [](Host& h) { h.js.Option1344 = 3; }, 0, 2, kJobStartedUnannounced, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestPrinter t;
    RecordingHost host(t);
    c.change(host);
    uint32_t flag = 7;
    EXPECT_EQ(HandleDocumentEvent(host, host.event, 12, &flag), c.result);
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
    const bool started = c.kind == kJobStarted;
    EXPECT_EQ(m.kind, c.kind);
    EXPECT_EQ(m.jobId, started ? 12u : 0u);
    // Texts longer than their fields are cut to leave a terminator.
    EXPECT_EQ(m.document + "/" + m.dataType,
              started ? std::string(63, 'd') + "/" + std::string(31, 't') : "/");
    EXPECT_EQ(m.overlayFlag, c.kind == kJobStartedUnannounced ? 0u : c.flag);
  }
}

}  // namespace
}  // namespace vq::test
