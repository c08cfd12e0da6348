#include "pages/property_pages_win.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

#include "entry/module_win.h"
#include "entry/sheet_context_win.h"
#include "pages/page_layouts.h"
#include "settings/printer_store_win.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

void OnInit(HWND page, const PageDescriptor& d) {
  ApplyPageLayout(page, d.layout, nullptr);
  // The frame's buttons and tab move only away from 96 DPI; only then does
  // the whole sheet need painting again.
  if (!IsDesignDpi(ScreenDpi())) {
    ApplySheetFrameLayout(GetParent(page), &kSheetFrameLayout, nullptr);
    RedrawWindow(GetParent(page), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  if (SheetContext* ctx = CurrentSheet())
    AttachLayoutIcons(screenDpiX, screenDpiY, ctx->hIconModule, page, d.layout, nullptr);
  SetDialogTexts(page, d.texts);
  if (d.windowText) {
    wchar_t text[128] = {};
    if (LoadTextById(static_cast<uint16_t>(d.windowText), text, sizeof text))
      SetWindowTextW(page, text);
  }
}

HANDLE PageHandle(const SheetContext& ctx, const PageDescriptor& d) {
  for (int i = 0; i < kMaxPages; ++i)
    if (ctx.pages[i] == &d) return ctx.pageHandles[i];
  return nullptr;
}

// OK or Apply: the working record, validated, becomes the applied one and
// the host is told the result, which hands the record to the caller.
LONG OnApply(const PageDescriptor& d) {
  SheetContext* ctx = CurrentSheet();
  if (!ctx || ctx->deviceSheet) return PSNRET_NOERROR;
  Win32PrinterStore printer(ctx->hPrinter ? ctx->hPrinter : ctx->hPrinterOwn, false);
  ValidateJobSettings(&ctx->workSettings, &printer, Services());
  ctx->appliedSettings = ctx->workSettings;
  if (ctx->pfnComPropSheet)
    ctx->pfnComPropSheet(ctx->hComPropSheet, CPSFUNC_SET_RESULT,
                         reinterpret_cast<LPARAM>(PageHandle(*ctx, d)), CPSUI_OK);
  return PSNRET_NOERROR;
}

INT_PTR CommonPageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp, const PageDescriptor& d) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInit(page, d);
      return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
      ShowControlHelp(page, d.help, msg, wp, lp);
      return TRUE;
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lp);
      if (nm->code == PSN_HELP) {
        SheetContext* ctx = CurrentSheet();
        ShowHelpForNotify(nm, ctx ? ctx->hPrinter : nullptr, d.helpTopic);
        return TRUE;
      }
      if (nm->code == PSN_APPLY) {
        SetWindowLongPtrW(page, DWLP_MSGRESULT, OnApply(d));
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      ReleaseLayoutIcons(page, d.layout, nullptr);
      return FALSE;
    default:
      return FALSE;
  }
}

template <const PageDescriptor& D>
INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  return CommonPageProc(page, msg, wp, lp, D);
}

}  // namespace

using namespace pages;

const PageDescriptor kBasicPage = {kDialogBasic, &PageProc<kBasicPage>, &kLayoutBasic,
                                   kTextsBasic, kHelpBasic, L"::/HBS_INFO.html", 0};
const PageDescriptor kColourPage = {kDialogColour, &PageProc<kColourPage>, &kLayoutColour,
                                    kTextsColour, kHelpColour, L"::/HCS_INFO.html", 0};
const PageDescriptor kCutPage = {kDialogCut, &PageProc<kCutPage>, &kLayoutCut, kTextsCut,
                                 kHelpCut, L"::/HPS_CSD_INFO.html", 4744};
const PageDescriptor kOverlayPage = {kDialogOverlay, &PageProc<kOverlayPage>, &kLayoutOverlay,
                                     kTextsOverlay, kHelpOverlay, L"::/HAS_OLD_INFO.html", 4748};
const PageDescriptor kAdvancedPage = {kDialogAdvanced, &PageProc<kAdvancedPage>, &kLayoutAdvanced,
                                      kTextsAdvanced, kHelpAdvanced, L"::/HAS_INFO.html", 0};
const PageDescriptor kUtilityPage = {kDialogUtility, &PageProc<kUtilityPage>, &kLayoutUtility,
                                     kTextsUtility, kHelpUtility, L"::/HUS_INFO.html", 0};

}  // namespace vq
