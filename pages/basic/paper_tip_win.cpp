#include "pages/basic/paper_tip_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "base/activation_win.h"
#include "uicore/shared_controls_win.h"
#include "uicore/sheet_context_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

enum : uint16_t {
  kSizeText = 5357,  // 5357..5364: size, mm, top, bottom, left, right, liners, inch
  kDitherText = 4999,
  kDiffusionText = 5000,
  kFineText = 5002,
  kStandardText = 5003,
  kInksText = 5367,
  kProfileLineText = 5368,
};

// The open tip hangs on the page as a property, so that a page needs no
// state of its own for it and every subclassed control finds it.
constexpr wchar_t kTipProperty[] = L"VQ312.PaperTip";
// The preview the tip belongs to: a static preview lets the mouse through
// to the page, so the page looks whether the mouse is over it.
constexpr wchar_t kPreviewProperty[] = L"VQ312.PaperTipPreview";

std::u16string Text16(uint16_t id) {
  wchar_t text[1024] = {};
  LoadTextById(id, text, sizeof text - sizeof(wchar_t));
  return std::u16string(text, text + wcslen(text));
}

constexpr UINT_PTR kPreviewSubclass = 1, kCloserSubclass = 2, kPageSubclass = 3;

void OpenTip(HWND page, HWND preview, int mouseY) {
  if (GetPropW(page, kTipProperty)) return;
  const SheetContext* sheet = CurrentSheet();
  if (!sheet) return;
  const UINT toolId = static_cast<UINT>(GetDlgCtrlID(preview));
  HWND tip = CreateTrackingTip(page, toolId);
  if (!tip) return;
  SetPropW(page, kTipProperty, tip);
  RECT r{};
  GetWindowRect(preview, &r);
  ShowTrackingTip(tip, page, toolId, PaperText(sheet->workSettings, sheet->workSettings.Paper),
                  POINT{(r.left + r.right) / 2, r.top + mouseY + 20});
}

LRESULT CALLBACK TipSubclassProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR ref) {
  HWND page = reinterpret_cast<HWND>(ref);
  switch (message) {
    case WM_MOUSEMOVE:
      if (id == kPreviewSubclass) {
        OpenTip(page, w, GET_Y_LPARAM(lParam));
      } else if (id == kPageSubclass) {
        HWND preview = static_cast<HWND>(GetPropW(page, kPreviewProperty));
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MapWindowPoints(page, preview, &at, 1);
        RECT r{};
        GetClientRect(preview, &r);
        if (preview && PtInRect(&r, at))
          OpenTip(page, preview, at.y);
        else
          WithdrawPreviewTip(page);
      } else {
        WithdrawPreviewTip(page);
      }
      break;
    case WM_NOTIFY:
      if (id == kPageSubclass && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_KILLACTIVE)
        WithdrawPreviewTip(page);
      break;
    case WM_NCDESTROY:
      if (id == kPageSubclass) {
        WithdrawPreviewTip(page);
        RemovePropW(page, kPreviewProperty);
      }
      RemoveWindowSubclass(w, TipSubclassProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(w, message, wParam, lParam);
}

}  // namespace

basic::DetailTexts DetailTexts() {
  basic::DetailTexts t;
  t.size = Text16(kSizeText);
  t.mm = Text16(kSizeText + 1);
  t.top = Text16(kSizeText + 2);
  t.bottom = Text16(kSizeText + 3);
  t.left = Text16(kSizeText + 4);
  t.right = Text16(kSizeText + 5);
  t.liners = Text16(kSizeText + 6);
  t.inch = Text16(kSizeText + 7);
  t.inks = Text16(kInksText);
  t.profile = Text16(kProfileLineText);
  t.fine = Text16(kFineText);
  t.standard = Text16(kStandardText);
  t.dither = Text16(kDitherText);
  t.diffusion = Text16(kDiffusionText);
  return t;
}

std::u16string PaperText(const JobSettings& js, const PaperInfo& paper) {
  return basic::PaperDetails(paper, js.MeasureUnit != 0, LocaleUsesDecimalPoint() != 0, DetailTexts());
}

HWND CreateTrackingTip(HWND page, UINT toolId) {
  ModuleContextScope scope;
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, page, nullptr,
                             ThisModule(), nullptr);
  if (!tip) return nullptr;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  ti.hwnd = page;
  ti.uId = toolId;
  ti.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 32767);
  return tip;
}

void ShowTrackingTip(HWND tip, HWND page, UINT toolId, const std::u16string& text, POINT at) {
  const std::wstring w(text.begin(), text.end());
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = page;
  ti.uId = toolId;
  ti.lpszText = const_cast<wchar_t*>(w.c_str());
  SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void AttachPreviewTip(HWND page, HWND preview, HWND closer) {
  const DWORD_PTR ref = reinterpret_cast<DWORD_PTR>(page);
  SetPropW(page, kPreviewProperty, preview);
  SetWindowSubclass(page, TipSubclassProc, kPageSubclass, ref);
  if (preview) SetWindowSubclass(preview, TipSubclassProc, kPreviewSubclass, ref);
  if (closer) SetWindowSubclass(closer, TipSubclassProc, kCloserSubclass, ref);
}

void WithdrawPreviewTip(HWND page) {
  if (HWND tip = static_cast<HWND>(RemovePropW(page, kTipProperty))) DestroyWindow(tip);
}

}  // namespace vq
