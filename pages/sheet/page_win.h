// The frame every property page runs in, and the registry row that describes
// a page completely.
//
// A page is a folder under pages/: its layout source (the template, control
// ids and tables are generated from it), its portable decisions, and a Win32
// dispatcher of a few handlers. The frame does what every page does: layout
// at the screen's DPI, icons, texts, pop-up help, the Help button, applying
// through the host, and the page's own state, a struct of the page's kind
// created zero-filled before the page's first message and freed with its
// window (reached through DWLP_USER). Only the frame's procedure writes
// DWLP_MSGRESULT; handlers return what it should say.
#pragma once

#include "base/ddk_win.h"

#include <prsht.h>

#include <cstddef>
#include <type_traits>

#include "uicore/layout.h"
#include "uicore/sheet_context_win.h"

namespace vq {

struct PageRow;

// One message to one page.
struct PageCall {
  HWND page;
  SheetContext& sheet;
  const PageRow& row;
  void* state;

  template <typename State>
  State& Get() const {
    return *static_cast<State*>(state);
  }
};

// What a page does beyond the frame; any handler may be null.
struct PageHandlers {
  void (*init)(PageCall&) = nullptr;                    // after layout, icons and texts
  void (*activate)(PageCall&) = nullptr;                // PSN_SETACTIVE
  void (*command)(PageCall&, UINT id, UINT code) = nullptr;
  bool (*drawItem)(PageCall&, const DRAWITEMSTRUCT&) = nullptr;  // true: drawn
  // PSN_APPLY, before the sheet's own apply: PSNRET_NOERROR lets the apply
  // go on, PSNRET_INVALID (after telling the user why) keeps the page open,
  // kApplyDeclined lets the sheet close without this page's record applied.
  LONG (*apply)(PageCall&) = nullptr;
  void (*destroy)(PageCall&) = nullptr;                 // the page's window goes
};

inline constexpr LONG kApplyDeclined = -1;

// When the document sheet adds a page.
enum class PageCondition : uint8_t {
  kAlways,
  kPrintLayout,  // printer data APUI_DWPRINTLAYOUT is not 0
  kUtility,      // printer data APUI_BUTILITY is 1
};

// PSP_USEFUSIONCONTEXT | PSP_HASHELP | PSP_USETITLE | PSP_USEHICON; a page
// created together with the sheet adds PSP_PREMATURE.
inline constexpr DWORD kPageFlags = PSP_USEFUSIONCONTEXT | PSP_HASHELP | PSP_USETITLE | PSP_USEHICON;
inline constexpr DWORD kPrematurePageFlags = kPageFlags | PSP_PREMATURE;
static_assert(kPageFlags == 0x402A && kPrematurePageFlags == 0x442A);

struct PageRow {
  uint32_t templateId;
  uint16_t titleText;
  uint16_t tabIcon;
  DWORD flags;
  PageCondition condition;
  const wchar_t* helpTopic;  // the sheet's Help button on this page
  const DialogLayout* layout;
  const TextRow* texts;
  const TextRow* help;       // pop-up help of the controls
  uint16_t windowText;       // the page window's own text, 0 = none
  PageHandlers handlers;
  size_t stateSize;          // PageStateSize<State>()
  DLGPROC procedure;         // PageProc<row>
};

// The size of a page's state; the frame creates it zero-filled and frees it
// without running constructors or destructors, so it must be plain data.
template <typename State>
constexpr size_t PageStateSize() {
  static_assert(std::is_trivially_default_constructible_v<State> &&
                std::is_trivially_destructible_v<State>);
  return sizeof(State);
}

INT_PTR RunPage(const PageRow& row, HWND page, UINT message, WPARAM wParam, LPARAM lParam);

template <const PageRow& Row>
INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  return RunPage(Row, page, message, wParam, lParam);
}

// The page's state, or null before WM_INITDIALOG and after WM_NCDESTROY.
void* PageState(HWND page);

}  // namespace vq
