#include "pages/sheet/page_win.h"

#include <cstdlib>

#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

// Property-page messages come only while the sheet is open on this thread;
// a page without its sheet (a host that destroyed the context early) only
// gets the default handling.
void OnInit(PageCall& call) {
  const PageRow& row = call.row;
  ApplyPageLayout(call.page, row.layout, nullptr);
  // The frame's buttons and tab move only away from 96 DPI; only then does
  // the whole sheet need painting again.
  if (!IsDesignDpi(ScreenDpi())) {
    ApplySheetFrameLayout(GetParent(call.page), &kSheetFrameLayout, nullptr);
    RedrawWindow(GetParent(call.page), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  AttachLayoutIcons(screenDpiX, screenDpiY, call.sheet.hIconModule.get(), call.page, row.layout,
                    nullptr);
  SetDialogTexts(call.page, row.texts);
  if (row.windowText) {
    wchar_t text[128] = {};
    if (LoadTextById(row.windowText, text, sizeof text)) SetWindowTextW(call.page, text);
  }
  if (row.handlers.init) row.handlers.init(call);
}

HANDLE OwnHandle(const SheetContext& sheet, uint32_t templateId) {
  for (int i = 0; i < kMaxPages && sheet.pageHandles[i]; ++i)
    if (sheet.pageTemplates[i] == templateId) return sheet.pageHandles[i];
  return nullptr;
}

// OK or Apply: the page's own checks, then the working record, validated,
// becomes the applied one and the host is told the result, which hands the
// record to the caller. The device sheet has no record to hand back.
LONG OnApply(PageCall& call) {
  if (call.row.handlers.apply) {
    const LONG verdict = call.row.handlers.apply(call);
    if (verdict == kApplyDeclined) return PSNRET_NOERROR;
    if (verdict != PSNRET_NOERROR) return verdict;
  }
  SheetContext& sheet = call.sheet;
  if (sheet.deviceSheet) return PSNRET_NOERROR;
  Win32PrinterStore printer(sheet.dataPrinter(), false);
  ValidateJobSettings(&sheet.workSettings, &printer, Services());
  sheet.appliedSettings = sheet.workSettings;
  if (sheet.pfnComPropSheet)
    sheet.pfnComPropSheet(sheet.hComPropSheet, CPSFUNC_SET_RESULT,
                          reinterpret_cast<LPARAM>(OwnHandle(sheet, call.row.templateId)),
                          CPSUI_OK);
  return PSNRET_NOERROR;
}

INT_PTR OnNotify(PageCall& call, const NMHDR& nm) {
  switch (nm.code) {
    case PSN_HELP:
      ShowHelpForNotify(&nm, call.sheet.hPrinter, call.row.helpTopic);
      return TRUE;
    case PSN_SETACTIVE:
      if (call.row.handlers.activate) call.row.handlers.activate(call);
      SetWindowLongPtrW(call.page, DWLP_MSGRESULT, 0);
      return TRUE;
    case PSN_APPLY:
      SetWindowLongPtrW(call.page, DWLP_MSGRESULT, OnApply(call));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void* PageState(HWND page) { return reinterpret_cast<void*>(GetWindowLongPtrW(page, DWLP_USER)); }

INT_PTR RunPage(const PageRow& row, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG && row.stateSize)
    SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(std::calloc(1, row.stateSize)));
  if (message == WM_NCDESTROY) {
    std::free(PageState(page));
    SetWindowLongPtrW(page, DWLP_USER, 0);
    return FALSE;
  }
  SheetContext* sheet = CurrentSheet();
  if (!sheet) {
    if (message == WM_DESTROY) ReleaseLayoutIcons(page, row.layout, nullptr);
    return FALSE;
  }
  PageCall call{page, *sheet, row, PageState(page)};
  if (row.stateSize && !call.state) return message == WM_INITDIALOG;  // out of memory: an empty page
  switch (message) {
    case WM_INITDIALOG:
      OnInit(call);
      return TRUE;
    case WM_COMMAND:
      if (!row.handlers.command) return FALSE;
      row.handlers.command(call, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_DRAWITEM:
      return row.handlers.drawItem &&
             row.handlers.drawItem(call, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_NOTIFY:
      return OnNotify(call, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
    case WM_CONTEXTMENU:
      // Both answer 0, whether or not a pop-up was shown.
      return ShowControlHelp(page, row.help, message, wParam, lParam);
    case WM_DESTROY:
      if (row.handlers.destroy) row.handlers.destroy(call);
      ReleaseLayoutIcons(page, row.layout, nullptr);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace vq
