// The per-sheet context: one zero-initialised block per open property
// sheet, reached only through the module's thread-local slot, from INIT to
// DESTROY. Pages keep their own state in the block too.
#pragma once

#include "entry/ddk_win.h"

#include "devinfo/difm_api.h"
#include "settings/job_settings.h"
#include "uicore/shared_controls_win.h"

namespace vq {

struct PageDescriptor;
inline constexpr int kMaxPages = 6;

struct SheetContext {
  HINSTANCE hModule;
  HMODULE hIconModule;       // VQ312RD.dll: page icons and bitmaps
  HANDLE hPrinter;           // the caller's handle (may be null)
  HANDLE hPrinterOwn;        // opened by the sheet, PRINTER_ACCESS_USE
  DifmHandle hDeviceInfo;
  wchar_t* printerName;      // LocalAlloc
  wchar_t* helpFilePath;     // LocalAlloc
  JobSettings workSettings;
  PaperInfo* paperTable;     // LocalAlloc; document sheet only
  DWORD paperCount;
  MediaData* mediaTable;     // LocalAlloc; document sheet only
  DWORD mediaCount;
  BOOL userDefaultMode;
  JobSettings appliedSettings;
  HANDLE hActCtx;
  HMODULE hKernel32;
  HANDLE(WINAPI* pfnCreateActCtxW)(PCACTCTXW);
  void(WINAPI* pfnReleaseActCtx)(HANDLE);
  BYTE utilityInDocSheet;
  HMODULE hColourModule;      // VQ312CC.dll; document sheet only
  HMODULE hMaintenanceModule; // VQ312GS.dll; when the utility page is shown
  HANDLE hComPropSheet;
  PFNCOMPROPSHEET pfnComPropSheet;
  HANDLE pageHandles[kMaxPages];
  const PageDescriptor* pages[kMaxPages];  // which page each handle is
  // Which sheet this is, and the header it was opened with (the caller's
  // device modes travel in it until DESTROY).
  BOOL deviceSheet;
  DOCUMENTPROPERTYHEADER* documentHeader;
  // The edit controls' saved window procedures of this sheet's pages.
  EditProcSlots editSlots;
};

// The sheet open on the calling thread, or null.
SheetContext* CurrentSheet();

}  // namespace vq
