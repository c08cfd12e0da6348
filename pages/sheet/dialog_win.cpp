#include "pages/sheet/dialog_win.h"

#include "base/activation_win.h"
#include "base/module_win.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/sheet_context_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

struct Frame {
  const DialogRow& row;
  void* data;
};

// Dialogs open from a sheet's page, so the sheet's icon module and printer
// are at hand; a dialog run without a sheet (a test host, a tool) shows no
// icons and opens help without a printer.
HMODULE IconModule() {
  const SheetContext* sheet = CurrentSheet();
  return sheet ? sheet->hIconModule.get() : nullptr;
}

HANDLE HelpPrinter() {
  const SheetContext* sheet = CurrentSheet();
  return sheet ? sheet->dataPrinter() : nullptr;
}

void OnInit(DialogCall& call) {
  const DialogRow& row = call.row;
  if (row.layout) {
    // A popup has a caption and a frame around the table's client area.
    ApplyDialogLayout(screenDpiX, screenDpiY, call.dialog, row.layout, nullptr);
    if (HMODULE icons = IconModule())
      AttachLayoutIcons(screenDpiX, screenDpiY, icons, call.dialog, row.layout, nullptr);
  }
  if (row.texts) SetDialogTexts(call.dialog, row.texts);
  if (row.titleText) {
    wchar_t text[128] = {};
    if (LoadTextById(row.titleText, text, sizeof text)) SetWindowTextW(call.dialog, text);
  }
  if (row.handlers.init) row.handlers.init(call);
}

bool OnCommand(DialogCall& call, UINT id, UINT code) {
  if (call.row.handlers.command && call.row.handlers.command(call, id, code)) return true;
  switch (id) {
    case IDOK:
    case IDCANCEL:
      call.End(id);
      return true;
    case IDHELP:
      if (call.row.helpTopic) ShowHelpTopic(call.dialog, HelpPrinter(), call.row.helpTopic);
      return true;
    default:
      return false;
  }
}

INT_PTR CALLBACK DialogFrameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!frame) return FALSE;
  DialogCall call{dialog, frame->row, frame->data};
  const DialogHandlers& h = frame->row.handlers;
  switch (message) {
    case WM_INITDIALOG:
      OnInit(call);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(call, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: {
      if (!h.notify) return FALSE;
      bool handled = false;
      const LRESULT result = h.notify(call, *reinterpret_cast<const NMHDR*>(lParam), &handled);
      if (handled) SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
      return handled;
    }
    case WM_DRAWITEM:
      return h.drawItem && h.drawItem(call, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_TIMER:
      if (!h.timer) return FALSE;
      h.timer(call, wParam);
      return TRUE;
    case WM_HELP:
      // F1 on the dialog itself opens its topic; on a control, the pop-up.
      if (frame->row.helpTopic && !frame->row.help) {
        ShowHelpTopic(dialog, HelpPrinter(), frame->row.helpTopic);
        return 0;
      }
      [[fallthrough]];
    case WM_CONTEXTMENU:
      return frame->row.help ? ShowControlHelp(dialog, frame->row.help, message, wParam, lParam) : 0;
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORLISTBOX:
      // A dialog procedure answers these with the brush itself.
      if (h.ctlColor)
        return reinterpret_cast<INT_PTR>(
            h.ctlColor(call, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
      return h.other && h.other(call, message, wParam, lParam);
    case WM_DESTROY:
      if (h.destroy) h.destroy(call);
      if (frame->row.layout) ReleaseLayoutIcons(dialog, frame->row.layout, nullptr);
      return FALSE;
    default:
      return h.other && h.other(call, message, wParam, lParam);
  }
}

}  // namespace

INT_PTR RunModalDialog(HWND owner, const DialogRow& row, void* data) {
  Frame frame{row, data};
  // The module's context makes the dialog's common controls version 6, as
  // on the pages; without one the dialog still runs, with the old controls.
  ModuleContextScope context;
  return DialogBoxParamW(g_module, MAKEINTRESOURCEW(row.templateId), owner, DialogFrameProc,
                         reinterpret_cast<LPARAM>(&frame));
}

}  // namespace vq
