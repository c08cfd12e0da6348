// Texts, messages and context help of the pages and dialogs.
//
// Every visible text comes from the device-information module by number, in
// the user's UI language. The pages reach it through the device-information
// handle of the sheet open on the calling thread (CurrentSheet). A thread
// with no sheet open (a tool, a test program, a dialog opened without a
// sheet) gets its texts from one mapping that this module makes on first use
// and keeps for the life of the process, before and after any sheet.
#pragma once

#include <windows.h>

#include <string>

#include "devinfo/difm_api.h"
#include "uicore/layout.h"

namespace vq {

// The handle texts are fetched with now: the calling thread's sheet's (null
// when that sheet has none), else the process-wide mapping (null when the
// device module is missing).
DifmHandle CurrentTextHandle();

// Text `id` into `buffer` (bufferBytes bytes, which the call zeroes first).
// A text longer than the buffer is cut to the byte, without a terminator.
// FALSE when there is no handle or memory runs out; TRUE when the buffer is
// not writable over its stated size (nothing is written then).
BOOL LoadTextById(uint16_t id, wchar_t* buffer, uint32_t bufferBytes);

// The same with an explicit handle; FALSE for a null handle. The body of the
// exported LoadOneString2.
BOOL LoadTextWithHandle(DifmHandle h, uint32_t id, void* buffer, uint32_t bufferBytes);

// Sets the text of every control of the table (up to the row whose control
// id is 0). Always TRUE; a text that cannot be had leaves its control as it is.
BOOL SetDialogTexts(HWND dialog, const TextRow* table);

// HTML Help. The entry is HtmlHelpW, export 15 of the HTML Help control named
// by the registry (CLSID {ADB880A6-D8FF-11CF-9377-00AA003B7A11},
// InprocServer32), or of "hhctrl.ocx" when that key is missing. It is looked
// up on the first help request; when that fails help stays unavailable for
// the life of the process and every help call returns 0 without trying again.
using HtmlHelpEntry = HWND(WINAPI*)(HWND owner, const wchar_t* file, UINT command,
                                    DWORD_PTR data);

// The entry, resolving it on first use; null while help is unavailable.
HtmlHelpEntry HtmlHelpEntryPoint();

// The file the registry names for the HTML Help control (environment
// variables expanded), or "hhctrl.ocx".
std::wstring HtmlHelpServerPath();

// For tests: replaces the lookup of the entry (null restores the real one)
// and forgets what was resolved, the unavailable mark included.
void SetHtmlHelpResolver(HtmlHelpEntry (*resolver)());

// Opens the printer's help file (GetHelpFilePath) at `topic` ("::/....html").
// FALSE when help is unavailable, the printer names no help file, or HTML
// Help opens no window.
BOOL ShowHelpTopic(HWND owner, HANDLE printer, const wchar_t* topic);

// ShowHelpTopic owned by the window that sent the notification (PSN_HELP).
BOOL ShowHelpForNotify(const NMHDR* header, HANDLE printer, const wchar_t* topic);

// WM_HELP and WM_CONTEXTMENU of a page or dialog: shows the pop-up help text
// of the control from `helpTable` (control id, text id; ends at control id 0)
// when the control is visible and enabled. WM_CONTEXTMENU first offers menu
// 391 ("What's This?", command 40002) at the clicked point. Returns 0, the
// answer both messages want.
LRESULT ShowControlHelp(HWND dialog, const TextRow* helpTable, UINT message, WPARAM wParam,
                        LPARAM lParam);

}  // namespace vq
