#include "pages/utility/utility_page_win.h"

#include <winspool.h>

#include <cstring>
#include <span>
#include <vector>

#include "devinfo/text_ids.h"
#include "monitor/status_monitor_win.h"
#include "pages/page_layouts.h"
#include "pages/utility/head_adjust_win.h"
#include "pages/utility/maintenance_win.h"
#include "pages/utility/media_editor_win.h"
#include "pages/utility/printer_report_win.h"
#include "pages/utility/receipt_colours.h"
#include "pages/utility/receipt_colours_win.h"
#include "pages/utility/settings_dialogs_win.h"
#include "settings/printer_store_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"
#include "uicore/resource_ids.h"

namespace vq {
namespace {

constexpr size_t kButtons = std::size(maint::kUtilityButtons);
constexpr ULONGLONG kResultWaitMs = 10000;

// Page state: the button pictures, loaded once from the icon module.
struct UtilityState {
  HBITMAP normal[kButtons];
  HBITMAP pressed[kButtons];
};

void HideAndDisable(HWND control) {
  if (!control) return;
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  SetWindowLongPtrW(control, GWL_STYLE, (style & ~WS_VISIBLE) | WS_DISABLED);
}

void OnInit(PageCall& call) {
  SheetContext& sheet = call.sheet;
  Win32PrinterStore own(sheet.hPrinterOwn.get() ? sheet.hPrinterOwn.get() : sheet.dataPrinter(),
                        false);
  const uint32_t flags = sheet.utilityInDocSheet ? maint::kDocumentSheetButtonFlags
                                                 : GetPrinterDword(&own, pd::kButtonFlags);
  auto& state = call.Get<UtilityState>();
  for (size_t i = 0; i < kButtons; ++i) {
    const maint::UtilityButton& b = maint::kUtilityButtons[i];
    if (!maint::ButtonShown(b, flags)) {
      HideAndDisable(GetDlgItem(call.page, b.button));
      HideAndDisable(GetDlgItem(call.page, b.caption));
    }
    if (HMODULE icons = sheet.hIconModule.get()) {
      state.normal[i] = LoadBitmapW(icons, MAKEINTRESOURCEW(b.normalBitmap));
      state.pressed[i] = LoadBitmapW(icons, MAKEINTRESOURCEW(b.pressedBitmap));
    }
  }
  for (uint16_t id : maint::kAbsentButtons) HideAndDisable(GetDlgItem(call.page, id));
  uint32_t monitorFlag = 0;
  if (ReadPrinterDword(&own, pd::kMonitorStartFlag, &monitorFlag) && monitorFlag)
    EnableWindow(GetDlgItem(call.page, IDC_UTILITY_STATUS_MONITOR), FALSE);
}

void OnDestroy(PageCall& call) {
  auto& state = call.Get<UtilityState>();
  for (size_t i = 0; i < kButtons; ++i) {
    if (state.normal[i]) DeleteObject(state.normal[i]);
    if (state.pressed[i]) DeleteObject(state.pressed[i]);
  }
}

// The device sheet works on the printer's default settings as they are now.
void OnActivate(PageCall& call) {
  SheetContext& sheet = call.sheet;
  if (sheet.utilityInDocSheet || !sheet.hPrinter) return;
  const std::vector<unsigned char> info = GetPrinterInfo(sheet.hPrinter, 2);
  if (info.size() < sizeof(PRINTER_INFO_2W)) return;
  const DEVMODEW* dm = reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pDevMode;
  if (dm && size_t{dm->dmSize} + dm->dmDriverExtra >= kJobSettingsSize)
    std::memcpy(&sheet.workSettings, dm, kJobSettingsSize);
}

bool OnDrawItem(PageCall& call, const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return false;
  const auto& state = call.Get<UtilityState>();
  size_t i = 0;
  while (i < kButtons && maint::kUtilityButtons[i].button != item.CtlID) ++i;
  if (i == kButtons) return false;
  const bool selected = item.itemState & ODS_SELECTED;
  const bool focus = item.itemState & ODS_FOCUS;
  const bool draw = selected || item.itemAction == ODA_DRAWENTIRE || item.itemAction == ODA_FOCUS || focus;
  HBITMAP picture = selected ? state.pressed[i] : state.normal[i];
  if (draw && picture) {
    HDC memory = CreateCompatibleDC(item.hDC);
    BITMAP bm{};
    GetObjectW(picture, sizeof bm, &bm);
    HGDIOBJ old = SelectObject(memory, picture);
    const RECT& r = item.rcItem;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w == bm.bmWidth && h == bm.bmHeight) {
      // At the pictures' own size (96 DPI) a plain copy does the same for
      // far less than a halftone stretch.
      BitBlt(item.hDC, r.left, r.top, w, h, memory, 0, 0, SRCCOPY);
    } else {
      SetStretchBltMode(item.hDC, HALFTONE);
      StretchBlt(item.hDC, r.left, r.top, w, h, memory, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  if (focus) {
    RECT inner = item.rcItem;
    InflateRect(&inner, -3, -3);
    DrawFocusRect(item.hDC, &inner);
  }
  return true;
}

// ---- Operations --------------------------------------------------------------

// Nozzle check, cleaning, sensor calibration, label feed.
void SimpleCommand(HWND page, const MaintenanceTarget& t, uint32_t code, uint32_t confirmation) {
  if (ShowMessageById(page, confirmation) != IDYES) return;
  if (!IsFilePort(t.printer)) {
    const int busy = IsPrinterBusy(t);
    if (busy != kNotBusy) {
      ShowMessageById(page, busy == kBusy ? 4128 : 4078);
      return;
    }
    if (RunWaitDialog(page, t, WaitKind::kStopOrWait) != 1) {
      ShowMessageById(page, 4021);
      return;
    }
  }
  SendMaintenanceCommand(page, t, code);
}

void PrinterInformation(HWND page, const MaintenanceTarget& t) {
  if (ShowPrinterInfoOutputDialog(page, t) == 2) return;
  if (!IsFilePort(t.printer) && RunWaitDialog(page, t, WaitKind::kStopOrWait) != 1) {
    ShowMessageById(page, 4021);
    return;
  }
  if (!SendMaintenanceCommand(page, t, 13)) return;
  if (HasServerName(t.printer) && !StartStatusMonitor(t.printer)) ShowMessageById(page, 4078);
}

// Sleep timer, special settings, cutter position: the printer must be
// ready to answer before the dialog reads it.
void SettingsDialog(HWND page, const MaintenanceTarget& t, UINT button) {
  if (!CheckPrinterAdminAccess(page, t.printerName, TRUE)) return;
  const WaitKind wait = button == IDC_UTILITY_CUTTER_POSITION ? WaitKind::kStopOrWait
                                                              : WaitKind::kStopOrWaitSettings;
  if (!IsFilePort(t.printer) && RunWaitDialog(page, t, wait) != 1) {
    ShowMessageById(page, 4038);
    return;
  }
  if (button == IDC_UTILITY_SLEEP_TIMER) ShowSleepTimerDialog(page, t);
  if (button == IDC_UTILITY_SPECIAL_SETTINGS) ShowSpecialSettingsDialog(page, t);
  if (button == IDC_UTILITY_CUTTER_POSITION) ShowCutterPositionDialog(page, t);
}

// Resets the maintenance box counter: the printer reports the result.
void Command54(HWND page, const MaintenanceTarget& t) {
  if (ShowMessageById(page, 4047) != IDOK) return;
  if (IsFilePort(t.printer)) {
    ShowMessageById(page, 4079);
    return;
  }
  if (const int prepared = PrepareForMaintenance(page, t)) {
    ShowMessageById(page, PrepareMessage(prepared));
    return;
  }
  if (ShowMessageById(page, 4048) != IDOK) return;
  if (SendCommand(t, 54)) {
    // A printer that never reports a result must not hold the page: the
    // readings stop after kResultWaitMs.
    StateRecord record;
    const ULONGLONG until = GetTickCount64() + kResultWaitMs;
    while (GetTickCount64() < until && ReadPrinterState(t, &record)) {
      const auto result = record.view().Byte(kResultSectionField, 6);
      if (!record.view().Has(kResultSectionField)) continue;
      if (result == kResultDone) {
        ShowMessageById(page, 4049);
        return;
      }
      break;
    }
  }
  ShowMessageById(page, 4050);
}

// The checks before a long procedure: an administrator, the user's yes to
// `question`, no status monitor window in the way, a real port and a
// printer made ready for maintenance. Each refusal has told the user why.
bool ReadyForProcedure(HWND page, const MaintenanceTarget& t, uint32_t question) {
  if (!CheckPrinterAdminAccess(page, t.printerName, TRUE)) return false;
  if (ShowMessageById(page, question) != IDYES) return false;
  if (IsStatusMonitorOpen(t.printer) == 1) {
    ShowMessageById(page, 4084);
    return false;
  }
  if (IsFilePort(t.printer)) {
    ShowMessageById(page, 4079);
    return false;
  }
  if (const int prepared = PrepareForMaintenance(page, t)) {
    ShowMessageById(page, PrepareMessage(prepared));
    return false;
  }
  return true;
}

// Deep cleaning: repeated while the printer reports a head fault and the
// user asks to retry.
void Command45(HWND page, const MaintenanceTarget& t) {
  if (!ReadyForProcedure(page, t, 4031)) return;
  for (;;) {
    if (!SendMaintenanceCommand(page, t, 45)) return;
    if (RunWaitDialog(page, t, WaitKind::kWaitClnStart) != 1) return;
    if (RunWaitDialog(page, t, WaitKind::kWaitEndCleaning) == 1) {
      ShowMessageById(page, 4107);
      return;
    }
    StateRecord record;
    if (!ReadPrinterState(t, &record) || !record.view().Has(kAlertSectionField)) {
      ShowMessageById(page, 4079);
      return;
    }
    bool retry = false;
    for (const auto& alert : record.view().Alerts()) {
      if (alert.code == kAlertHeadFault || alert.code == kAlertBoxNearFull) {
        const int answer = ShowMessageById(page, 4108);
        if (answer == IDRETRY) retry = true;
        if (answer == IDRETRY || answer == IDCANCEL) break;
      }
    }
    if (!retry) {
      ShowMessageById(page, 4106);
      return;
    }
  }
}

// Whether the alert section holds a head fault or a nearly full box before
// its first ":"; asks `question` at each and answers: IDRETRY, IDCANCEL, or
// 0 when the scan reached the end.
int AskAtHeadAlerts(HWND page, std::span<const uint8_t> alerts, uint32_t question) {
  for (size_t i = 4; i < alerts.size() && alerts[i] != ':'; ++i) {
    if (alerts[i] != kAlertHeadFault && alerts[i] != kAlertBoxNearFull) continue;
    const int answer = ShowMessageById(page, question);
    if (answer == IDRETRY || answer == IDCANCEL) return answer;
  }
  return 0;
}

// Ink tank release (commands 32 and 33): the ink is pumped back, the tanks
// can be taken out, then the printer refills its lines.
void Command32And33(HWND page, const MaintenanceTarget& t) {
  if (!ReadyForProcedure(page, t, 4030)) return;
  KeepAwake awake;
  MonitorHold hold(t.printer);
  if (!hold.granted()) {
    ShowMessageById(page, 4079);
    return;
  }
  for (;;) {  // phase A: pumping back
    if (!SendMaintenanceCommand(page, t, 32)) return;
    const INT_PTR started = RunWaitDialog(page, t, WaitKind::kWaitClnStart);
    if (started == 6) break;  // already over: straight to phase B
    if (started != 1) return;
    if (RunWaitDialog(page, t, WaitKind::kWaitEndDrain) == 1) break;
    StateRecord record;
    if (!ReadPrinterState(t, &record) || !record.view().Has(kAlertSectionField)) {
      ShowMessageById(page, 4079);
      return;
    }
    const int answer = AskAtHeadAlerts(page, record.view().Section(kAlertSectionField), 4099);
    if (answer == IDRETRY) continue;
    if (answer == 0) ShowMessageById(page, 4097);
    return;
  }
  for (;;) {  // phase B: the tanks are out and back, the lines refill
    if (RunWaitDialog(page, t, WaitKind::kReleaseInkTank) != 1) return;
    if (!SendMaintenanceCommand(page, t, 33)) return;
    if (RunWaitDialog(page, t, WaitKind::kWaitEndDrain) == 1) {
      ShowMessageById(page, 4098);
      return;
    }
    StateRecord record;
    if (!ReadPrinterState(t, &record) || !record.view().Has(kAlertSectionField)) {
      ShowMessageById(page, 4079);
      return;
    }
    if (record.view().Byte(kAlertSectionField, 4) == ':') {
      ShowMessageById(page, 4100);
      return;
    }
    const int answer = AskAtHeadAlerts(page, record.view().Section(kAlertSectionField), 4099);
    if (answer == IDRETRY) continue;
    if (answer == 0) ShowMessageById(page, 4100);
    return;
  }
}

// The ink exchange, steps after the monitor is held: any failure sends the
// end-of-exchange command and says so.
void InkExchangeInMode(HWND page, const MaintenanceTarget& t) {
  const auto fail = [&](uint32_t message) {
    ShowMessageById(page, message);
    SendCommand(t, 56);
  };
  if (!SendCommand(t, 55)) return fail(4053);
  Sleep(500);
  StateRecord record;
  if (!ReadPrinterStateTwice(t, &record)) return fail(4053);
  if (record.view().Byte(kStateSectionField, 4) != kModeInkExchange) {
    SendCommand(t, 56);
    ShowMessageById(page, 4053);
    return;
  }
  if (!record.view().Has(kResultSectionField) &&
      (!SendCommand(t, 57) || RunWaitDialog(page, t, WaitKind::kWaitEndInkDrain) != 1))
    return fail(4053);
  if (RunWaitDialog(page, t, WaitKind::kInkRemove) != 1 || !SendCommand(t, 58)) return fail(4053);
  if (RunWaitDialog(page, t, WaitKind::kInkLinesDrain) != 1) {
    SendCommand(t, 56);  // the dialog said why
    return;
  }
  if (!SendCommand(t, 56)) return fail(4053);
  if (RunWaitDialog(page, t, WaitKind::kInkInsert) != 1 ||
      RunWaitDialog(page, t, WaitKind::kInkFill) != 1)
    return fail(4054);
  ShowMessageById(page, 4052);
}

void InkExchange(HWND page, const MaintenanceTarget& t) {
  if (!CheckPrinterAdminAccess(page, t.printerName, TRUE)) return;
  if (ShowMessageById(page, 4051) != IDYES) return;
  if (IsStatusMonitorOpen(t.printer) == 1) {
    ShowMessageById(page, 4084);
    return;
  }
  KeepAwake awake;
  if (IsFilePort(t.printer)) {
    ShowMessageById(page, 4053);
    return;
  }
  StateRecord record;
  if (!ReadPrinterStateTwice(t, &record)) {
    ShowMessageById(page, 4053);
    return;
  }
  const maint::ExchangeStart start = maint::JudgeInkExchangeStart(record.view());
  if (start.message) ShowMessageById(page, start.message);
  if (!start.proceed) return;
  if ((start.wake && !SendCommand(t, 53)) || !SendCommand(t, 59)) {
    ShowMessageById(page, 4053);
    return;
  }
  bool exchangeReported = false;
  for (int i = 0; i < 100 && !exchangeReported; ++i) {
    const bool read = ReadPrinterState(t, &record);
    Sleep(500);
    if (!read || !record.view().Has(kExchangeSectionField)) continue;
    if (record.view().Byte(kExchangeSectionField, 9) == 1) {
      ShowMessageById(page, 4055);  // nothing to exchange
      return;
    }
    exchangeReported = true;
  }
  if (!exchangeReported || RunWaitDialog(page, t, WaitKind::kInkReplace) != 1) {
    ShowMessageById(page, 4053);
    return;
  }
  MonitorHold hold(t.printer);
  if (!hold.granted()) {
    ShowMessageById(page, 4053);
    return;
  }
  InkExchangeInMode(page, t);
}

// Head position adjustment: only for a label that can hold the pattern.
void HeadAdjustment(HWND page, SheetContext& sheet, const MaintenanceTarget& t) {
  if (!CheckPrinterAdminAccess(page, t.printerName, TRUE)) return;
  Win32PrinterStore own(t.printerOwn, false);
  PaperInfo paper{};
  const JobSettings& js = sheet.workSettings;
  if (!FindPaperInfo(&own, static_cast<uint16_t>(js.dmPaperSize), &paper) ||
      !maint::PaperHoldsAdjustmentPattern(
          static_cast<int32_t>(paper.paperWidth), static_cast<int32_t>(paper.marginLeft),
          static_cast<int32_t>(paper.marginRight), static_cast<int32_t>(paper.paperLength))) {
    ShowMessageById(page, js.MeasureUnit ? 4109 : 4110);
    return;
  }
  ShowHeadAdjustmentDialog(page, sheet, t);
}

void CustomMediaTypes(HWND page, SheetContext& sheet, const MaintenanceTarget& t) {
  if (!CheckPrinterAdminAccess(page, t.printerName, TRUE)) return;
  ShowMediaEditor(page, sheet);
}

// Receipt colours replace colours of plain colour printing only.
void ReceiptColours(HWND page, const SheetContext& sheet, const MaintenanceTarget& t) {
  if (!CheckPrinterAdminAccess(page, t.printerName, TRUE)) return;
  if (!receipt::IsPlainColourPrinting(sheet.workSettings)) {
    ShowMessageById(page, 4116);
    return;
  }
  ShowReceiptColourDialog(page, t);
}

void StatusMonitor(HWND page, const MaintenanceTarget& t) {
  if (!StartStatusMonitor(t.printer)) ShowMessageById(page, 4077);
}

void OnCommand(PageCall& call, UINT id, UINT code) {
  if (code != BN_CLICKED) return;
  const MaintenanceTarget t = SheetTarget(call.sheet);
  HWND page = call.page;
  switch (id) {
    case IDC_UTILITY_NOZZLE_CHECK:
      SimpleCommand(page, t, 10, 4008);
      break;
    case IDC_UTILITY_HEAD_CLEANING:
      SimpleCommand(page, t, 11, 4022);
      break;
    case IDC_UTILITY_SENSOR_CALIBRATION:
      SimpleCommand(page, t, 28, 4009);
      break;
    case IDC_UTILITY_LABEL_FEED:
      SimpleCommand(page, t, 15, 4015);
      break;
    case IDC_UTILITY_PRINTER_INFO:
      PrinterInformation(page, t);
      break;
    case IDC_UTILITY_SLEEP_TIMER:
    case IDC_UTILITY_SPECIAL_SETTINGS:
    case IDC_UTILITY_CUTTER_POSITION:
      SettingsDialog(page, t, id);
      break;
    case IDC_UTILITY_BOX_COUNTER_RESET:
      Command54(page, t);
      break;
    case IDC_UTILITY_COMMAND45:
      Command45(page, t);
      break;
    case IDC_UTILITY_STATUS_MONITOR:
      StatusMonitor(page, t);
      break;
    case IDC_UTILITY_HEAD_ADJUSTMENT:
      HeadAdjustment(page, call.sheet, t);
      break;
    case IDC_UTILITY_COMMAND32_33:
      Command32And33(page, t);
      break;
    case IDC_UTILITY_INK_EXCHANGE:
      InkExchange(page, t);
      break;
    case IDC_UTILITY_MEDIA_EDITOR:
      CustomMediaTypes(page, call.sheet, t);
      break;
    case IDC_UTILITY_RECEIPT_COLOURS:
      ReceiptColours(page, call.sheet, t);
      break;
    default:
      break;
  }
}

constexpr PageHandlers kHandlers = {OnInit, OnActivate, OnCommand, OnDrawItem, nullptr, OnDestroy};

}  // namespace

const PageRow kUtilityPage = {
    IDD_UTILITY,           text_ids::kUtilityPageTitle, rd::kUtilityTabIcon, kPageFlags,
    PageCondition::kUtility, help::kUtilityPageDocument, &pages::kLayoutUtility,
    pages::kTextsUtility,  pages::kHelpUtility, 0, kHandlers, PageStateSize<UtilityState>(),
    &PageProc<kUtilityPage>};

const PageRow kUtilityDevicePage = {
    IDD_UTILITY,           text_ids::kUtilityDevicePageTitle, rd::kUtilityTabIcon, kPageFlags,
    PageCondition::kAlways, help::kUtilityPageDevice, &pages::kLayoutUtility,
    pages::kTextsUtility,  pages::kHelpUtility, 0, kHandlers, PageStateSize<UtilityState>(),
    &PageProc<kUtilityDevicePage>};

}  // namespace vq
