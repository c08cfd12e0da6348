// Driver-interface declarations that mingw-w64's winddiui.h lacks, written
// from Microsoft's documented layouts (x64). Sizes are pinned so a wrong
// declaration fails the build instead of a spooler call.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>

#include <cstddef>

#ifndef DM_NOPERMISSION
#define DM_NOPERMISSION 0x0020
#endif
#ifndef DM_USER_DEFAULT
#define DM_USER_DEFAULT 0x0040
#endif
#ifndef CDM_CONVERT
#define CDM_CONVERT 0x01
#define CDM_CONVERT351 0x02
#define CDM_DRIVER_DEFAULT 0x04
#endif
#ifndef PROPSHEETUI_REASON_BEFORE_INIT
#define PROPSHEETUI_REASON_BEFORE_INIT 5
#endif

struct DOCUMENTPROPERTYHEADER {
  WORD cbSize;
  WORD Reserved;
  HANDLE hPrinter;
  LPWSTR pszPrinterName;
  PDEVMODEW pdmIn;
  PDEVMODEW pdmOut;
  DWORD cbOut;
  DWORD fMode;
};
static_assert(sizeof(DOCUMENTPROPERTYHEADER) == 48);
static_assert(offsetof(DOCUMENTPROPERTYHEADER, pdmOut) == 32);
static_assert(offsetof(DOCUMENTPROPERTYHEADER, fMode) == 44);

struct DEVICEPROPERTYHEADER {
  WORD cbSize;
  WORD Flags;
  HANDLE hPrinter;
  LPWSTR pszPrinterName;
};
static_assert(sizeof(DEVICEPROPERTYHEADER) == 24);

struct DEVQUERYPRINT_INFO {
  WORD cbSize;
  WORD Level;
  HANDLE hPrinter;
  DEVMODEW* pDevMode;
  LPWSTR pszErrorStr;
  DWORD cchErrorStr;
  DWORD cchNeeded;
};
static_assert(sizeof(DEVQUERYPRINT_INFO) == 40);


// ATTRIBUTE_INFO_1 and _2 as Microsoft documents them; _3 extends _2 with the
// two resolution shorts (winsplp.h has only _3).
struct ATTRIBUTE_INFO_1 {
  DWORD dwJobNumberOfPagesPerSide;
  DWORD dwDrvNumberOfPagesPerSide;
  DWORD dwNupBorderFlags;
  DWORD dwJobPageOrderFlags;
  DWORD dwDrvPageOrderFlags;
  DWORD dwJobNumberOfCopies;
  DWORD dwDrvNumberOfCopies;
};
struct ATTRIBUTE_INFO_2 : ATTRIBUTE_INFO_1 {
  DWORD dwColorOptimization;
};
struct ATTRIBUTE_INFO_3_LAYOUT : ATTRIBUTE_INFO_2 {
  short dmPrintQuality;
  short dmYResolution;
};
static_assert(sizeof(ATTRIBUTE_INFO_1) == 28);
static_assert(sizeof(ATTRIBUTE_INFO_2) == 32);
static_assert(sizeof(ATTRIBUTE_INFO_3_LAYOUT) == 36);
