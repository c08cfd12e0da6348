// The property pages of the driver: their templates, tables and dialog
// procedures. What every page does (layout at any DPI, texts, pop-up help,
// the Help button, applying through the host) lives in one place; what a
// page does beyond that belongs to that page.
#pragma once

#include <windows.h>

#include "uicore/layout.h"

namespace vq {

struct PageDescriptor {
  UINT templateId;
  DLGPROC procedure;
  const DialogLayout* layout;
  const TextRow* texts;
  const TextRow* help;
  const wchar_t* helpTopic;  // shown by the sheet's Help button
  UINT windowText;           // the page window's own text, 0 = none
};

extern const PageDescriptor kBasicPage;
extern const PageDescriptor kColourPage;
extern const PageDescriptor kCutPage;
extern const PageDescriptor kOverlayPage;
extern const PageDescriptor kAdvancedPage;
extern const PageDescriptor kUtilityPage;

}  // namespace vq
