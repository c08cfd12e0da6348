#include "entry/document_event.h"

#include "monitor/status_monitor.h"
#include "settings/printer_store.h"

namespace vq {
namespace {

JobSettings SettingsOf(const PrintJob& job) {
  JobSettings js{};
  if (!job.devMode.empty())
    CopyDevModeBytes(job.devMode.data(), static_cast<uint32_t>(job.devMode.size()), &js);
  return js;
}

void SendJobMessage(DocumentEventHost& host, const JobMessage& message) {
  std::u16string printer, ports;
  if (!host.ReadPrinterNames(&printer, &ports)) return;
  host.Post(MonitorMailslotName(printer, ports), EncodeJobMessage(message));
}

}  // namespace

bool LaunchFailed(uint32_t rc) { return rc == 0 || rc == 2 || rc == 3 || rc == 11; }

int HandleDocumentEvent(DocumentEventHost& host, int event, uint32_t jobId,
                        uint32_t* overlayFlag) {
  if (event != kDocumentEventStartDocPost && event != kDocumentEventDeleteDc)
    return kDocumentEventSuccess;

  PrintJob job;
  if (event == kDocumentEventStartDocPost && host.ReadJob(jobId, &job)) {
    const JobSettings js = SettingsOf(job);
    if (OverlayRefusesJob(CheckOverlayForm(js, host.Files())) ||
        !CheckMediaProfiles(js, host.Printer(), host.Files()))
      return kDocumentEventFailure;
  }

  // Only a printer reached through a print server has its monitor started
  // and told about jobs from here.
  PrinterConnection printer;
  if (!host.ReadConnection(&printer) || printer.server.empty()) return kDocumentEventNothing;
  if (event == kDocumentEventDeleteDc) {
    SendJobMessage(host, {kDeviceContextDeleted, 0, {}, {}, *overlayFlag});
    return kDocumentEventSuccess;
  }
  if (printer.share.empty()) return kDocumentEventSuccess;

  uint32_t monitorPrints = 0;
  if (!ReadPrinterDword(host.Printer(), pd::kMonitorPrintFlag, &monitorPrints) ||
      monitorPrints != 0)
    return kDocumentEventNothing;
  std::u16string dir;
  if (!GetDriverDirectory(host.Printer(), &dir)) return kDocumentEventNothing;
  // The monitor needs both modules; without them it is not started at all.
  if (!host.ModuleLoads(dir + u"\\VQ312AN.dll") || !host.ModuleLoads(dir + u"\\VQ312RS.dll"))
    return kDocumentEventNothing;
  const std::string ansiDir = host.ToAnsi(dir);

  if (!host.ReadJob(jobId, &job)) return kDocumentEventNothing;
  JobSettings js = SettingsOf(job);
  // A job that creates a form prints nothing for the monitor to watch.
  if (OverlayOn(js) && OverlayKind(js) == 1) return kDocumentEventSuccess;
  for (const std::string& port : SplitPortList(std::string_view(printer.ports)))
    if (LaunchFailed(host.Launch(
            MonitorCommandLine(ansiDir, printer.printer, port, MonitorLaunch::kPrintTime))))
      return kDocumentEventNothing;

  if (!host.ReadJob(jobId, &job)) return kDocumentEventNothing;
  js = SettingsOf(job);
  if (OverlayOn(js)) {
    *overlayFlag = OverlayKind(js) == 2 ? 1 : 0;
    if (*overlayFlag == 0) return kDocumentEventNothing;
  } else {
    *overlayFlag = 0;
  }
  if (js.Option1344 == 2 || js.Option1344 == 3) {
    SendJobMessage(host, {kJobStartedUnannounced, 0, {}, {}, 0});
    return kDocumentEventNothing;
  }
  SendJobMessage(host, {kJobStarted, jobId, job.document, job.dataType, *overlayFlag});
  return kDocumentEventSuccess;
}

}  // namespace vq
