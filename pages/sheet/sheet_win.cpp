#include "pages/sheet/sheet_win.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "base/module_win.h"
#include "base/sibling_win.h"
#include "pages/advanced/advanced_page_win.h"
#include "pages/basic/basic_page_win.h"
#include "pages/colour/colour_page_win.h"
#include "pages/cut/cut_page_win.h"
#include "pages/overlay/overlay_page_win.h"
#include "pages/utility/utility_page_win.h"
#include "settings/devmode_request.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

constexpr const PageRow* kDocumentPages[] = {&kBasicPage,   &kColourPage,    &kCutPage,
                                             &kOverlayPage, &kAdvancedPage,  &kUtilityPage};
static_assert(std::size(kDocumentPages) == kMaxPages);

// The printer-data switches of the optional pages.
struct PageSwitches {
  bool printLayout;
  bool utility;
};

bool PageWanted(const PageRow& row, PageSwitches on) {
  switch (row.condition) {
    case PageCondition::kAlways: return true;
    case PageCondition::kPrintLayout: return on.printLayout;
    case PageCondition::kUtility: return on.utility;
  }
  return false;
}

SheetContext* NewContext() {
  auto* ctx = new (std::nothrow) SheetContext;
  if (!ctx) return nullptr;
  if (!SetCurrentSheet(ctx)) {
    delete ctx;
    return nullptr;
  }
  ctx->hModule = g_module;
  return ctx;
}

bool CopyText(LocalArray<wchar_t>* to, std::wstring_view text) {
  std::wstring terminated(text);
  return to->assign(terminated.c_str(), terminated.size() + 1);
}

// Steps both sheets begin with: the sheet's own printer handle and the
// mapping of the device module. Returns the sheet status.
LONG OpenPrinterAndDeviceInfo(SheetContext* ctx, HANDLE callerPrinter, const wchar_t* name) {
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ACCESS_USE};
  if (!name || !OpenPrinterW(const_cast<wchar_t*>(name), ctx->hPrinterOwn.put(), &access))
    return -1;
  ctx->hPrinter = callerPrinter;
  const DifmApi& difm = DeviceInfoApi();
  ctx->hDeviceInfo.reset(difm.DifmMapper ? difm.DifmMapper(kDifmMagic, U(name)) : nullptr);
  return ctx->hDeviceInfo ? 1 : -1;
}

// The printer's name and help file. The help file is the caller's printer's;
// an application that opened the sheet by name alone gets the sheet's own
// handle's. Returns the sheet status.
LONG CopyNameAndHelpPath(SheetContext* ctx, const wchar_t* name, Win32PrinterStore* store) {
  std::u16string help;
  if (!GetHelpFilePath(store, &help) || help.empty()) return -1;
  return CopyText(&ctx->printerName, name) && CopyText(&ctx->helpFilePath, W(help.c_str())) ? 1
                                                                                               : 0;
}

// The folder of the sibling modules: the caller's printer's driver
// directory, else this module's own.
std::wstring SiblingFolder(HANDLE callerPrinter, Win32PrinterStore* store) {
  std::u16string dir;
  if (callerPrinter && GetDriverDirectory(store, &dir)) return W(dir.c_str());
  return ModuleDirectory();
}

std::wstring ModuleFile(bool withManifestSuffix) {
  wchar_t file[160] = {};
  GetModuleFileNameW(g_module, file, 128);
  std::wstring source = file;
  if (withManifestSuffix) source += L".manifest";
  return source;
}

// Registers one page with the host; the handle it returns, or 0.
HANDLE AddPage(SheetContext* ctx, const PageRow& row, HANDLE host, PFNCOMPROPSHEET add) {
  wchar_t title[64] = {};
  LoadTextById(row.titleText, title, sizeof title);
  PROPSHEETPAGEW psp{};
  psp.dwSize = 96;  // the version that carries hActCtx
  static_assert(sizeof(PROPSHEETPAGEW) >= 96);
  psp.dwFlags = row.flags;
  psp.hInstance = g_module;
  psp.pszTemplate = MAKEINTRESOURCEW(row.templateId);
  psp.hIcon = static_cast<HICON>(
      LoadImageW(ctx->hIconModule.get(), MAKEINTRESOURCEW(row.tabIcon), IMAGE_ICON, 16, 16, 0));
  psp.pszTitle = title;
  psp.pfnDlgProc = row.procedure;
  psp.lParam = 0;
  psp.hActCtx = ctx->actCtx.handle();
  return reinterpret_cast<HANDLE>(
      add(host, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&psp), 0));
}

}  // namespace

std::span<const PageRow* const> DocumentSheetPages() { return kDocumentPages; }
const PageRow& DeviceSheetPage() { return kUtilityDevicePage; }

LONG DocumentSheetInit(PPROPSHEETUI_INFO info) {
  auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info->lParamInit);
  SheetContext* ctx = NewContext();
  if (!ctx) return 0;
  if (!header) return -1;
  ctx->documentHeader = header;
  if (const LONG rc = OpenPrinterAndDeviceInfo(ctx, header->hPrinter, header->pszPrinterName);
      rc != 1)
    return rc;

  // The paper table before the help path: a printer missing both fails for
  // its paper table (0), as the sheet's statuses rank them.
  Win32PrinterStore own(ctx->hPrinterOwn.get(), false);
  const std::vector<PaperInfo> papers = ReadPaperTable(&own);
  if (papers.empty() || !ctx->paperTable.assign(papers.data(), papers.size())) return 0;
  std::vector<MediaData> media;
  ctx->mediaCount = ReadMediaTable(&own, &media);
  if (!ctx->mediaTable.assign(media.data(), media.size())) return 0;

  Win32PrinterStore caller(header->hPrinter ? header->hPrinter : ctx->hPrinterOwn.get(), false);
  if (const LONG rc = CopyNameAndHelpPath(ctx, header->pszPrinterName, &caller); rc != 1) return rc;

  Win32PrinterStore callerSettings(header->hPrinter, false);
  bool kept = false, pastUser = false;
  BuildStartSettings(header->pdmIn, header->hPrinter ? &callerSettings : nullptr, Services(),
                     &ctx->workSettings, &kept, &pastUser);
  ctx->appliedSettings = ctx->workSettings;
  ctx->userDefaultMode = (header->fMode & DM_USER_DEFAULT) != 0;

  const std::wstring siblings = SiblingFolder(header->hPrinter, &caller);
  ctx->hIconModule.reset(LoadSiblingModule(siblings, L"VQ312RD.dll"));
  if (!ctx->hIconModule) return 0;
  ctx->actCtx.Create(ModuleFile(true).c_str());
  if (!info->pfnComPropSheet) return 0;
  ctx->hColourModule.reset(LoadSiblingModule(siblings, L"VQ312CC.dll"));
  if (!ctx->hColourModule) return 0;

  const PageSwitches on{GetPrinterDword(&own, pd::kPrintLayout) != 0,
                        GetPrinterDword(&own, pd::kUtility) == 1};
  int slot = 0;
  for (const PageRow* row : kDocumentPages) {
    if (!PageWanted(*row, on)) continue;
    if (row->condition == PageCondition::kUtility) {
      ctx->hMaintenanceModule.reset(LoadSiblingModule(siblings, L"VQ312GS.dll"));
      if (!ctx->hMaintenanceModule) return 0;
      ctx->utilityInDocSheet = 1;
    }
    ctx->pageTemplates[slot] = row->templateId;
    ctx->pageHandles[slot++] = AddPage(ctx, *row, info->hComPropSheet, info->pfnComPropSheet);
  }
  ctx->hComPropSheet = info->hComPropSheet;
  ctx->pfnComPropSheet = info->pfnComPropSheet;
  return 1;
}

LONG DocumentSheetSetResult(PPROPSHEETUI_INFO info, LPARAM setResultInfo) {
  SheetContext* ctx = CurrentSheet();
  const auto* result = reinterpret_cast<const SETRESULT_INFO*>(setResultInfo);
  if (!ctx || !result) return 1;
  for (int i = 0; i < kMaxPages && ctx->pageHandles[i]; ++i) {
    if (ctx->pageHandles[i] != result->hSetResult) continue;
    info->Result = result->Result;
    DOCUMENTPROPERTYHEADER* header = ctx->documentHeader;
    if (header && (header->fMode & DM_COPY) && header->pdmOut)
      std::memcpy(header->pdmOut, &ctx->workSettings, kJobSettingsSize);
    return 1;
  }
  return 1;
}

LONG DeviceSheetInit(PPROPSHEETUI_INFO info) {
  if (!info || !info->lParamInit) return -1;
  auto* header = reinterpret_cast<DEVICEPROPERTYHEADER*>(info->lParamInit);
  SheetContext* ctx = NewContext();
  if (!ctx) return 0;
  ctx->deviceSheet = true;
  if (const LONG rc = OpenPrinterAndDeviceInfo(ctx, header->hPrinter, header->pszPrinterName);
      rc != 1)
    return rc;
  Win32PrinterStore caller(header->hPrinter ? header->hPrinter : ctx->hPrinterOwn.get(), false);
  if (const LONG rc = CopyNameAndHelpPath(ctx, header->pszPrinterName, &caller); rc != 1) return rc;
  std::vector<unsigned char> dm;
  if (!header->hPrinter || !caller.GetDevMode(2, &dm)) return -1;
  CopyDevModeBytes(dm.data(), static_cast<uint32_t>(dm.size()), &ctx->workSettings);
  ctx->appliedSettings = ctx->workSettings;
  const std::wstring siblings = SiblingFolder(header->hPrinter, &caller);
  ctx->hIconModule.reset(LoadSiblingModule(siblings, L"VQ312RD.dll"));
  if (!ctx->hIconModule) return 0;
  ctx->actCtx.Create(ModuleFile(false).c_str());
  ctx->hMaintenanceModule.reset(LoadSiblingModule(siblings, L"VQ312GS.dll"));
  if (!ctx->hMaintenanceModule) return 0;
  ctx->utilityInDocSheet = 0;
  if (!info->pfnComPropSheet) return 0;
  AddPage(ctx, kUtilityDevicePage, info->hComPropSheet, info->pfnComPropSheet);
  return 1;
}

LONG DestroySheet() {
  SheetContext* ctx = CurrentSheet();
  if (!ctx) return -1;
  // The order the sheet releases in; the context's owners free the rest.
  ctx->hMaintenanceModule.reset();
  ctx->hIconModule.reset();
  ctx->helpFilePath.reset();
  ctx->printerName.reset();
  ctx->hDeviceInfo.reset();
  ctx->paperTable.reset();
  ctx->mediaTable.reset();
  ctx->hPrinterOwn.reset();
  ctx->actCtx.Release();
  ctx->hColourModule.reset();
  delete ctx;
  SetCurrentSheet(nullptr);
  return 1;
}

}  // namespace vq
