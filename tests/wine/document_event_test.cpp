// DrvDocumentEvent of the installed UI module, called the way GDI calls it
// (STARTDOCPOST with the job id, DELETEDC) for real jobs of a printer of
// this driver. Wine's GDI never calls it itself.
//
// A printer reached through a print server is presented to the module by
// replacing its winspool imports of GetPrinterW and GetPrinterA (see
// ConnectionPresenter): Wine's spooler cannot make such a printer. Jobs,
// printer data and driver files stay those of the real local printer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "entry/document_event.h"
#include "settings/printer_store.h"
#include "tests/wine/installed_printer.h"
#include "tests/wine/monitor_bed.h"
#include "uicore/status_monitor.h"

namespace vq::wine {
namespace {

using Bytes = std::vector<uint8_t>;
using DocumentEventFn = int(WINAPI*)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);

const std::wstring kServerPrinter = std::wstring(L"\\\\PRINTSRV\\") + kTestPrinter;

std::string Hex(const Bytes& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t b : bytes) text += {digits[b >> 4], digits[b & 15]};
  return text;
}

// The frame as the monitor must receive it, written out field by field.
Bytes ExpectedFrame(uint8_t kind, uint32_t job, const char* document, const char* dataType,
                    uint32_t overlay) {
  Bytes frame(125, 0);
  frame[0] = 125;
  frame[12] = 105;
  frame[16] = kind;
  std::memcpy(&frame[17], &job, 4);
  std::memcpy(&frame[21], document, std::strlen(document));
  std::memcpy(&frame[85], dataType, std::strlen(dataType));
  std::memcpy(&frame[117], &overlay, 4);
  return frame;
}

// An ICC header of a file of `size` bytes that states `stated` bytes.
Bytes Icc(const char* deviceClass, const char* space, size_t size, uint32_t stated) {
  Bytes p(size, 0);
  const uint8_t be[4] = {uint8_t(stated >> 24), uint8_t(stated >> 16), uint8_t(stated >> 8),
                         uint8_t(stated)};
  std::memcpy(p.data(), be, 4);
  std::memcpy(p.data() + 12, deviceClass, 4);
  std::memcpy(p.data() + 16, space, 4);
  return p;
}

// The job's data type as the spooler reports it (Wine keeps none for jobs
// started with StartDocPrinterW): the message carries it as it is.
std::string DataTypeOf(HANDLE printer, DWORD job) {
  DWORD needed = 0;
  GetJobW(printer, job, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!GetJobW(printer, job, 2, buffer.data(), needed, &needed)) return "?";
  const wchar_t* type = reinterpret_cast<const JOB_INFO_2W*>(buffer.data())->pDatatype;
  return type ? std::string(type, type + wcslen(type)) : "";
}

class DocumentEvents : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Printer(kTestPrinter)) << "the status_monitor_printer fixture did not run";
    ASSERT_TRUE(ui_ && event_) << "VQ312UI.dll with DrvDocumentEvent is not installed";
    StopMonitors();
    forms_ = TempFile(L"vq312-forms");
    CreateDirectoryW(forms_.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(forms_ + L"\\label.ofe", Bytes(64, 1)));
    ASSERT_TRUE(WriteFileBytes(forms_ + L"\\LABEL2.OFE", Bytes(64, 1)));
  }

  int Event(HANDLE printer, int event, DWORD job) {
    return event_(printer, nullptr, event, sizeof job, &job, 0, nullptr);
  }
  static void SetPath(JobSettings* js, const std::wstring& path) {
    std::memset(js->OverlayPath, 0, sizeof js->OverlayPath);
    std::memcpy(js->OverlayPath, path.data(), std::min<size_t>(path.size(), 260) * 2);
  }

  HMODULE ui_ = LoadInstalledModule(L"VQ312UI.dll");
  DocumentEventFn event_ = ui_ ? reinterpret_cast<DocumentEventFn>(reinterpret_cast<void*>(
                                     GetProcAddress(ui_, "DrvDocumentEvent")))
                               : nullptr;
  std::wstring forms_;
  MonitorSession session_;
};

// The checks' every branch runs natively; here the job's own device mode
// reaches them through the spooler, files through the file system.
TEST_F(DocumentEvents, RefusesJobsWithAnUnusableOverlayForm) {
  const struct { uint32_t mode; std::wstring path; int want; } cases[] = {
      {0x80000002, forms_ + L"\\label.ofe", 0},    // usable; a local printer needs nothing more
      {0x80000002, forms_ + L"\\LABEL2.OFE", -1},  // the file exists, its extension is capitals
      {0x00000002, forms_ + L"\\LABEL2.OFE", 0},   // overlay off
      {0x80000001, forms_ + L"\\new.ofe", 0},      // a form to create in an existing folder
      {0x80000002, std::wstring(260, L'a'), -1},     // fills the field: no terminator
  };
  for (const auto& c : cases) {
    JobSettings js = DefaultSettings(kTestPrinter);
    js.OverlayMode = c.mode;
    js.OverlayOption = 1;
    SetPath(&js, c.path);
    PrintJob job(kTestPrinter, js, L"Overlay check");
    ASSERT_NE(job.id(), 0u);
    EXPECT_EQ(Event(job.printer(), DOCUMENTEVENT_STARTDOCPOST, job.id()), c.want)
        << std::hex << c.mode << " " << std::string(c.path.end() - 12, c.path.end());
  }
}

TEST_F(DocumentEvents, RefusesMediaWhoseProfilesAreNotRgbPrinterProfiles) {
  ASSERT_TRUE(WriteFileBytes(TempFile(L"rgb.icc"), Icc("prtr", "RGB ", 560, 560)));
  ASSERT_TRUE(WriteFileBytes(TempFile(L"cmyk.icc"), Icc("prtr", "CMYK", 560, 560)));
  ASSERT_TRUE(WriteFileBytes(TempFile(L"lying.icc"), Icc("prtr", "RGB ", 560, 0x7FFFFFFF)));
  ASSERT_TRUE(WriteFileBytes(TempFile(L"short.icc"), Icc("prtr", "RGB ", 100, 100)));

  // A user media of this printer whose profiles are entry 1 of the list.
  std::vector<unsigned char> media;
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(Printer(kTestPrinter).get(), L"APUI_MEDIADATA", &media, &type));
  ASSERT_GE(media.size(), sizeof(MediaData));
  MediaData user;
  std::memcpy(&user, media.data(), sizeof user);
  user.mediaId = 300;
  user.profileNumber = 1;
  media.insert(media.end(), reinterpret_cast<uint8_t*>(&user),
               reinterpret_cast<uint8_t*>(&user) + sizeof user);
  const DWORD count = DWORD(media.size() / sizeof(MediaData));
  ValueOverride mediaData(kTestPrinter, L"APUI_MEDIADATA", REG_BINARY, media.data(),
                          DWORD(media.size()));
  ValueOverride mediaCount(kTestPrinter, L"APUI_MEDIADATACOUNT", REG_DWORD, &count, 4);

  const struct { const wchar_t *first, *second; int want; } cases[] = {
      {L"rgb.icc", L"rgb.icc", 0},    {L"rgb.icc", L"cmyk.icc", -1}, {L"lying.icc", L"rgb.icc", -1},
      {L"rgb.icc", L"short.icc", -1}, {L"rgb.icc", L"missing.icc", -1},
  };
  for (const auto& c : cases) {
    Bytes list(8 + kProfileEntrySize, 0);
    const uint32_t total = uint32_t(list.size()), entries = 1;
    std::memcpy(list.data(), &total, 4);
    std::memcpy(list.data() + 4, &entries, 4);
    const std::wstring first = TempFile(c.first), second = TempFile(c.second);
    std::memcpy(list.data() + 8, first.c_str(), first.size() * 2);
    std::memcpy(list.data() + 8 + 520, second.c_str(), second.size() * 2);
    ValueOverride profiles(kTestPrinter, L"APUI_ICPMPROFILELIST", REG_BINARY, list.data(),
                           DWORD(list.size()));
    JobSettings js = DefaultSettings(kTestPrinter);
    js.MediaTypeId = 300;
    PrintJob job(kTestPrinter, js, L"Profile check");
    ASSERT_NE(job.id(), 0u);
    EXPECT_EQ(Event(job.printer(), DOCUMENTEVENT_STARTDOCPOST, job.id()), c.want)
        << std::wstring(c.first).c_str() << " " << std::wstring(c.second).c_str();
  }
}

TEST_F(DocumentEvents, LocalPrinterStartsNoMonitorAndSendsNothing) {
  const std::u16string name = MonitorMailslotName(u"VT-Q3120 Status Test", u"FILE:");
  HANDLE slot = CreateMailslotW(reinterpret_cast<const wchar_t*>(name.c_str()), 0, 0, nullptr);
  ASSERT_NE(slot, INVALID_HANDLE_VALUE);
  PrintJob job(kTestPrinter, DefaultSettings(kTestPrinter), L"Local job");
  ASSERT_NE(job.id(), 0u);
  EXPECT_EQ(Event(job.printer(), DOCUMENTEVENT_STARTDOCPOST, job.id()), 0);
  EXPECT_EQ(Event(job.printer(), DOCUMENTEVENT_DELETEDC, 0), 0);
  // Inputs GDI would never send: no job id, a short one; other events.
  EXPECT_EQ(event_(job.printer(), nullptr, DOCUMENTEVENT_STARTDOCPOST, 0, nullptr, 0, nullptr), 0);
  DWORD id = job.id();
  EXPECT_EQ(event_(job.printer(), nullptr, DOCUMENTEVENT_STARTDOCPOST, 2, &id, 0, nullptr), 0);
  EXPECT_EQ(event_(job.printer(), nullptr, DOCUMENTEVENT_STARTDOC, 0, nullptr, 0, nullptr), 1);
  EXPECT_EQ(event_(nullptr, nullptr, DOCUMENTEVENT_DELETEDC, 0, nullptr, 0, nullptr), 0);
  Sleep(500);
  EXPECT_TRUE(MonitorProcesses().empty());
  DWORD next = 0, count = 0;
  ASSERT_TRUE(GetMailslotInfo(slot, nullptr, &next, &count, nullptr));
  EXPECT_EQ(count, 0u);
  CloseHandle(slot);
}

TEST_F(DocumentEvents, ServerPrinterStartsOneMonitorPerPort) {
  ConnectionPresenter server(ui_, {L"\\\\PRINTSRV", kServerPrinter, L"VTQ3120", L"USB001,USB002"});
  ASSERT_TRUE(server.ok());
  // The message goes to the mailslot named with the printer's whole port
  // list; the test listens there itself.
  const std::wstring slotName = L"\\\\.\\mailslot\\" + kServerPrinter + L"\\lmtosm\\USB001,USB002";
  HANDLE slot = CreateMailslotW(slotName.c_str(), 0, 5000, nullptr);
  ASSERT_NE(slot, INVALID_HANDLE_VALUE);

  PrintJob job(kTestPrinter, DefaultSettings(kTestPrinter), L"Label run 1");
  ASSERT_NE(job.id(), 0u);
  EXPECT_EQ(Event(job.printer(), DOCUMENTEVENT_STARTDOCPOST, job.id()), 1);
  for (const wchar_t* port : {L"USB001", L"USB002"}) {
    const std::wstring title = kServerPrinter + L" Status Monitor - " + port;
    EXPECT_TRUE(WaitForWindow(title, 10000)) << std::string(title.begin(), title.end());
    const std::string started = "START " + std::string(title.begin(), title.end()) + " mode=lmex";
    EXPECT_FALSE(session_.WaitForLine(started, 5000).empty()) << started;
  }
  EXPECT_EQ(MonitorProcesses().size(), 2u);

  Bytes frame(200);
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(slot, frame.data(), DWORD(frame.size()), &got, nullptr));
  frame.resize(got);
  const std::string dataType = DataTypeOf(job.printer(), job.id());
  EXPECT_EQ(Hex(frame), Hex(ExpectedFrame(0, job.id(), "Label run 1", dataType.c_str(), 0)));

  EXPECT_EQ(Event(job.printer(), DOCUMENTEVENT_DELETEDC, 0), 1);
  frame.assign(200, 0);
  ASSERT_TRUE(ReadFile(slot, frame.data(), DWORD(frame.size()), &got, nullptr));
  frame.resize(got);
  EXPECT_EQ(Hex(frame), Hex(ExpectedFrame(1, 0, "", "", 0)));
  CloseHandle(slot);
}

TEST_F(DocumentEvents, RunningMonitorReceivesTheJobMessages) {
  ConnectionPresenter server(ui_, {L"\\\\PRINTSRV", kServerPrinter, L"VTQ3120", L"USB001"});
  ASSERT_TRUE(server.ok());
  const std::wstring title = kServerPrinter + L" Status Monitor - USB001";
  {
    // No monitor listens yet: the end message finds no mailslot, which is
    // no error.
    PrintJob job(kTestPrinter, DefaultSettings(kTestPrinter), L"Label run 0");
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Event(job.printer(), DOCUMENTEVENT_DELETEDC, 0), 1);
    EXPECT_LT(GetTickCount64() - start, 1000u);
  }
  {
    PrintJob first(kTestPrinter, DefaultSettings(kTestPrinter), L"Label run 1");
    EXPECT_EQ(Event(first.printer(), DOCUMENTEVENT_STARTDOCPOST, first.id()), 1);
    ASSERT_TRUE(WaitForWindow(title, 10000));
  }
  // The next job finds the monitor listening: a second start leaves at once.
  // Its overlay uses a form, so the job's message and the end of the device
  // context both carry the overlay flag.
  JobSettings js = DefaultSettings(kTestPrinter);
  js.OverlayMode = 0x80000002;
  js.OverlayOption = 2;
  SetPath(&js, forms_ + L"\\label.ofe");
  PrintJob second(kTestPrinter, js, L"Label run 2");
  ASSERT_NE(second.id(), 0u);
  EXPECT_EQ(Event(second.printer(), DOCUMENTEVENT_STARTDOCPOST, second.id()), 1);
  const std::string dataType = DataTypeOf(second.printer(), second.id());
  const std::string jobLine = "JOB port=USB001 size=125 bytes=" +
                              Hex(ExpectedFrame(0, second.id(), "Label run 2", dataType.c_str(), 1));
  EXPECT_FALSE(session_.WaitForLine(jobLine, 5000).empty()) << jobLine;
  EXPECT_FALSE(session_.WaitForLine("ALREADY", 5000).empty());

  EXPECT_EQ(Event(second.printer(), DOCUMENTEVENT_DELETEDC, 0), 1);
  const std::string endLine = "JOB port=USB001 size=125 bytes=" + Hex(ExpectedFrame(1, 0, "", "", 1));
  EXPECT_FALSE(session_.WaitForLine(endLine, 5000).empty()) << endLine;
  EXPECT_EQ(MonitorProcesses().size(), 1u);
}

}  // namespace
}  // namespace vq::wine
