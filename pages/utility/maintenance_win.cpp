#include "pages/utility/maintenance_win.h"

#include <winspool.h>

#include <cstring>
#include <vector>

#include "base/handles_win.h"
#include "base/sibling_win.h"
#include "monitor/status_monitor_win.h"
#include "settings/printer_store_win.h"
#include "uicore/messages_win.h"
#include "uicore/sheet_context_win.h"

namespace vq {
namespace {

using GetStateFn = DWORD(WINAPI*)(HANDLE, BYTE*);
using GetSettingFn = BOOL(WINAPI*)(HANDLE, DWORD, BYTE*);
using AnalyzeFn = int(WINAPI*)(HANDLE, BYTE*);
using OpenChannelFn = HANDLE(WINAPI*)(const void*, HANDLE);

template <typename F>
F Resolve(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

// The folder a loaded module came from.
std::wstring FolderOf(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
  if (!n || n >= MAX_PATH) return {};
  std::wstring folder(path, n);
  const size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

}  // namespace

MaintenanceTarget SheetTarget(const SheetContext& sheet) {
  MaintenanceTarget t;
  t.gs = sheet.hMaintenanceModule.get();
  t.printer = sheet.hPrinter;
  t.printerOwn = sheet.hPrinterOwn.get() ? sheet.hPrinterOwn.get() : sheet.hPrinter;
  t.settings = &sheet.workSettings;
  t.printerName = sheet.printerName.get();
  return t;
}

void StateRecord::Clear() {
  if (bytes_) std::memset(bytes_.get(), 0, kStateRecordSize);
}

bool ReadPrinterState(const MaintenanceTarget& t, StateRecord* record) {
  auto getState = Resolve<GetStateFn>(t.gs, "GetStateBSCC");
  if (!getState || !record || !record->ok() || !t.printer) return false;
  record->Clear();
  return getState(t.printer, record->data()) != kNoStateRead;
}

bool ReadPrinterStateTwice(const MaintenanceTarget& t, StateRecord* record) {
  if (!ReadPrinterState(t, record)) return false;
  Sleep(100);
  return ReadPrinterState(t, record);
}

int IsPrinterBusy(const MaintenanceTarget& t, const StateRecord* record) {
  if (record) return record->ok() && RecordSaysBusy(record->view()) ? kBusy : kNotBusy;
  if (!t.printer) return kBusyNoArgument;
  StateRecord own;
  if (!own.ok()) return kBusyNoMemory;
  if (!ReadPrinterStateTwice(t, &own)) return kBusyUnreadable;
  return RecordSaysBusy(own.view()) ? kBusy : kNotBusy;
}

bool ReadPrinterSetting(const MaintenanceTarget& t, uint32_t item, void* out, size_t size) {
  auto getSetting = Resolve<GetSettingFn>(t.gs, "GetSettingStatus");
  const size_t need = SettingItemSize(item);
  if (!getSetting || !out || !need || size < need || !t.printerOwn) return false;
  // The module writes the item's whole answer; a scratch buffer of the
  // largest answer keeps a short caller buffer safe.
  uint8_t scratch[kLargestSettingItem] = {};
  if (!getSetting(t.printerOwn, item, scratch)) return false;
  std::memcpy(out, scratch, need);
  return true;
}

bool ReadTearOffState(const MaintenanceTarget& t, uint32_t* value) {
  auto getSetting = Resolve<GetSettingFn>(t.gs, "GetSettingStatus");
  if (!getSetting || !value || !t.printer) return false;
  static_assert(sizeof *value >= 4);
  uint8_t bytes[4];
  std::memcpy(bytes, value, 4);
  const bool read = getSetting(t.printer, kItemTearOff, bytes) != 0;
  std::memcpy(value, bytes, 4);
  return read;
}

int ReadRegistrationValues(const MaintenanceTarget& t, maint::Registration* values) {
  const std::wstring folder = t.gs ? FolderOf(t.gs) : std::wstring();
  if (folder.empty() || !values) return -1;
  HMODULE gs = LoadSiblingModule(folder, L"VQ312GS.dll");
  auto analyze = Resolve<AnalyzeFn>(gs, "AnalyzeBSCCRegData");
  if (!analyze) {
    if (gs) FreeLibrary(gs);
    return -1;
  }
  BYTE bytes[12] = {};
  const int answer = analyze(t.printerOwn, bytes);
  if (!FreeLibrary(gs)) return -1;
  if (answer > 0) std::memcpy(values->data(), bytes, 12);
  return answer;
}

bool HasServerName(HANDLE printer) {
  const std::vector<unsigned char> info = GetPrinterInfo(printer, 2);
  return info.size() >= sizeof(PRINTER_INFO_2W) &&
         reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pServerName &&
         *reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pServerName;
}

bool ConfirmAndWait(HWND dialog, const MaintenanceTarget& t, uint32_t confirmation) {
  if (ShowMessageById(dialog, confirmation) != IDYES) return false;
  if (!IsFilePort(t.printer) && RunWaitDialog(dialog, t, WaitKind::kStopOrWait) != 1) {
    ShowMessageById(dialog, 4021);
    return false;
  }
  return true;
}

bool IsFilePort(HANDLE printer) {
  const std::vector<unsigned char> info = GetPrinterInfo(printer, 2);
  if (info.size() < sizeof(PRINTER_INFO_2W)) return false;
  const auto* p2 = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
  return p2->pPortName && lstrcmpiW(p2->pPortName, L"FILE:") == 0;
}

CommandChannel::CommandChannel(const MaintenanceTarget& t) {
  const std::wstring folder = t.gs ? FolderOf(t.gs) : std::wstring();
  if (folder.empty() || !t.settings || !t.printer) return;
  gd_ = LoadSiblingModule(folder, L"VQ312GD.dll");
  auto open = Resolve<OpenChannelFn>(gd_, MAKEINTRESOURCEA(2));
  send_ = Resolve<decltype(send_)>(gd_, MAKEINTRESOURCEA(3));
  close_ = Resolve<decltype(close_)>(gd_, MAKEINTRESOURCEA(4));
  if (open && send_ && close_) channel_ = open(t.settings, t.printer);
}

CommandChannel::~CommandChannel() {
  Close();
  if (gd_) FreeLibrary(gd_);
}

bool CommandChannel::Send(uint32_t code, const void* data) {
  return channel_ && send_(channel_, code, data);
}

bool CommandChannel::Close() {
  if (!channel_) return false;
  const bool closed = close_(channel_) != 0;
  channel_ = nullptr;
  return closed;
}

bool SendCommand(const MaintenanceTarget& t, uint32_t code, const void* data) {
  CommandChannel channel(t);
  if (!channel.open()) return false;
  const bool sent = channel.Send(code, data);
  return channel.Close() && sent;
}

bool SendMaintenanceCommand(HWND window, const MaintenanceTarget& t, uint32_t code) {
  if (SendCommand(t, code)) return true;
  ShowMessageById(window, 4078);
  return false;
}

int PrepareForMaintenance(HWND page, const MaintenanceTarget& t) {
  if (!page || !t.printer || !t.gs) return 2;
  StateRecord record;
  if (!record.ok()) return 6;
  if (!ReadPrinterStateTwice(t, &record)) return 6;
  if (IsPrinterBusy(t, &record) == kBusy) return 1;
  if (record.view().Byte(kStateSectionField, 4) == kModeAsleep && !SendCommand(t, 53)) return 8;
  return RunWaitDialog(page, t, WaitKind::kStopOrWaitOnline) == 1 ? 0 : 7;
}

int HoldStatusMonitor(uint32_t mode, HANDLE printer) {
  const std::vector<unsigned char> buffer = GetPrinterInfo(printer, 2);
  if (buffer.size() < sizeof(PRINTER_INFO_2W)) return 0;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  const bool local = !info->pServerName || !*info->pServerName;
  if (local && !IsMonitorServiceInstalled()) return kHoldGoAhead;
  auto reply = std::make_unique<MonitorReply>();
  QueryStatusMonitor(printer, info, reply.get(), mode);
  return reply->result == kReplyAnswered ? kHoldGoAhead : static_cast<int>(reply->result);
}

MonitorHold::MonitorHold(HANDLE printer)
    : printer_(printer), granted_(HoldStatusMonitor(kMonitorHold, printer) == kHoldGoAhead) {}

MonitorHold::~MonitorHold() {
  if (granted_) HoldStatusMonitor(kMonitorResume, printer_);
}

uint32_t PrepareMessage(int result) {
  return result == 0 ? 0 : result == 1 ? 4128 : result == 7 ? 4021 : 4079;
}

}  // namespace vq
