#include "entry/document_event_win.h"

#include <winspool.h>

#include <algorithm>
#include <vector>

#include "base/sibling_win.h"
#include "base/text_win.h"
#include "settings/printer_store_win.h"

namespace vq {

uint32_t g_overlayFlag = 0;

namespace {

std::string NarrowText(const char* s) { return s ? s : ""; }

class Win32DocumentEventHost final : public DocumentEventHost {
 public:
  explicit Win32DocumentEventHost(HANDLE printer) : printer_(printer), store_(printer, false) {}

  bool ReadJob(uint32_t jobId, PrintJob* out) override {
    DWORD needed = 0;
    GetJobW(printer_, jobId, 2, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!GetJobW(printer_, jobId, 2, buffer.data(), needed, &needed)) return false;
    const auto* job = reinterpret_cast<const JOB_INFO_2W*>(buffer.data());
    out->devMode.clear();
    if (const auto* dm = reinterpret_cast<const BYTE*>(job->pDevMode)) {
      // The spooler's copy lies inside the buffer it filled; never read past it.
      const size_t room = buffer.data() + buffer.size() - dm;
      const size_t size = std::min<size_t>(size_t{job->pDevMode->dmSize} +
                                               job->pDevMode->dmDriverExtra, room);
      out->devMode.assign(dm, dm + size);
    }
    out->document = Ansi(job->pDocument);
    out->dataType = Ansi(job->pDatatype);
    return true;
  }

  bool ReadConnection(PrinterConnection* out) override {
    DWORD needed = 0;
    GetPrinterA(printer_, 2, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterA(printer_, 2, buffer.data(), needed, &needed)) return false;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    *out = {NarrowText(info->pServerName), NarrowText(info->pShareName),
            NarrowText(info->pPrinterName), NarrowText(info->pPortName)};
    return true;
  }

  bool ReadPrinterNames(std::u16string* printer, std::u16string* ports) override {
    const std::vector<unsigned char> buffer = GetPrinterInfo(printer_, 2);
    if (buffer.empty()) return false;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    *printer = Text(info->pPrinterName);
    *ports = Text(info->pPortName);
    return true;
  }

  PrinterStore* Printer() override { return &store_; }

  bool ModuleLoads(const std::u16string& path) override {
    const size_t slash = path.find_last_of(u'\\');
    if (slash == std::u16string::npos) return false;
    const std::u16string folder = path.substr(0, slash), file = path.substr(slash + 1);
    HMODULE module = LoadSiblingModule(std::wstring_view(W(folder.c_str()), folder.size()),
                                       W(file.c_str()));
    if (!module) return false;
    FreeLibrary(module);
    return true;
  }

  std::string ToAnsi(const std::u16string& text) override { return Ansi(W(text.c_str())); }

  uint32_t Launch(const std::string& commandLine) override {
    return WinExec(commandLine.c_str(), SW_SHOWNORMAL);
  }

  void Post(const std::u16string& mailslot, const JobMessageFrame& frame) override {
    HANDLE slot = CreateFileW(W(mailslot.c_str()), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (slot == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(slot, frame.data(), static_cast<DWORD>(frame.size()), &written, nullptr);
    CloseHandle(slot);
  }

  FileAccess& Files() override { return files_; }

 private:
  HANDLE printer_;
  Win32PrinterStore store_;
  Win32FileAccess files_;
};

}  // namespace

int RunDocumentEvent(HANDLE printer, int event, uint32_t jobId) {
  Win32DocumentEventHost host(printer);
  return HandleDocumentEvent(host, event, jobId, &g_overlayFlag);
}

}  // namespace vq
