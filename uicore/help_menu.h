// The context menu that pages and dialogs show on a right click: one pop-up
// with the single command "What's This?". Read by help_menu.rc and by the
// control help routine (uicore/texts_win.cpp), which sets the item's text
// from the device module (text kWhatsThisText) before showing it.
#pragma once

#define IDM_CONTROL_HELP 391
#define IDM_WHATS_THIS 40002

#ifndef RC_INVOKED
inline constexpr unsigned kWhatsThisText = 20201;
#endif
