// The per-sheet context: one block per open property sheet, reached only
// through the module's thread-local slot, from INIT to DESTROY. It holds
// what the pages of a sheet share; each page keeps its own state in a struct
// of its own (see pages/sheet/page_win.h).
#pragma once

#include "base/ddk_win.h"

#include <array>

#include "base/activation_win.h"
#include "base/handles_win.h"
#include "devinfo/difm_loader_win.h"
#include "devinfo/paper_media.h"
#include "settings/job_settings.h"
#include "uicore/shared_controls_win.h"

namespace vq {

inline constexpr int kMaxPages = 6;

// What the head position adjustment dialogs keep while the sheet is open,
// so that closing one and opening it again (or going on to the detailed
// one) finds the registration values, the ranges and the radio as they were.
struct HeadAdjustmentState {
  struct Range {
    uint16_t radio;  // 0: an empty entry
    int32_t hi, lo, value;
  };
  std::array<int8_t, 12> registration{};  // b0..b11
  Range ranges[8] = {};
  uint16_t currentRadio = 0;
  bool patternPrinted = false;
};

struct SheetContext {
  HINSTANCE hModule = nullptr;
  UniqueModule hIconModule;          // VQ312RD.dll: page icons and bitmaps
  HANDLE hPrinter = nullptr;         // the caller's handle (may be null)
  UniquePrinter hPrinterOwn;         // opened by the sheet, PRINTER_ACCESS_USE
  UniqueDeviceInfo hDeviceInfo;      // the mapping of VQ312DI.dll for this printer
  LocalArray<wchar_t> printerName;
  LocalArray<wchar_t> helpFilePath;
  JobSettings workSettings{};
  LocalArray<PaperInfo> paperTable;  // document sheet only
  LocalArray<MediaData> mediaTable;  // document sheet only
  DWORD mediaCount = 0;
  BOOL userDefaultMode = FALSE;
  JobSettings appliedSettings{};
  SheetActivationContext actCtx;
  BYTE utilityInDocSheet = 0;
  UniqueModule hColourModule;        // VQ312CC.dll; document sheet only
  UniqueModule hMaintenanceModule;   // VQ312GS.dll; when the utility page is shown
  HANDLE hComPropSheet = nullptr;
  PFNCOMPROPSHEET pfnComPropSheet = nullptr;
  HANDLE pageHandles[kMaxPages] = {};
  uint32_t pageTemplates[kMaxPages] = {};  // which page each handle is
  // Which sheet this is, and the header it was opened with (the caller's
  // device modes travel in it until DESTROY).
  bool deviceSheet = false;
  DOCUMENTPROPERTYHEADER* documentHeader = nullptr;
  // The edit controls' saved window procedures of this sheet's pages.
  EditProcSlots editSlots;
  HeadAdjustmentState headAdjustment;

  DWORD paperCount() const { return static_cast<DWORD>(paperTable.size()); }
  // The printer handle the pages read printer data with: the caller's, or
  // the sheet's own when the caller gave none.
  HANDLE dataPrinter() const { return hPrinter ? hPrinter : hPrinterOwn.get(); }
};

// The sheet open on the calling thread, or null.
SheetContext* CurrentSheet();

// Makes `ctx` the calling thread's sheet (null: none). FALSE when the slot
// cannot be had.
BOOL SetCurrentSheet(SheetContext* ctx);

}  // namespace vq
