// The property-sheet entry points: Printing Preferences (document sheet)
// and the printer properties' utility page (device sheet), driven by the
// common property-sheet host through INIT, SET_RESULT and DESTROY; and the
// no-UI device-mode request that shares DrvDocumentPropertySheets.
#include "entry/ddk_win.h"

#include <cstring>
#include <vector>

#include "entry/devmode_request.h"
#include "entry/module_win.h"
#include "entry/sheet_context_win.h"
#include "pages/property_pages_win.h"
#include "settings/printer_store.h"
#include "settings/printer_store_win.h"
#include "uicore/dialog_layout_win.h"
#include "uicore/shared_controls_win.h"
#include "uicore/texts_win.h"

namespace vq {

SheetContext* CurrentSheet() {
  return g_tlsSlot == TLS_OUT_OF_INDEXES ? nullptr
                                         : static_cast<SheetContext*>(TlsGetValue(g_tlsSlot));
}

namespace {

// The document sheet's pages in order, with the condition of each.
enum class PageCondition { kAlways, kPrintLayout, kUtility };
struct PageEntry {
  const PageDescriptor* page;
  uint32_t titleText;
  uint32_t iconId;
  DWORD flags;
  PageCondition condition;
};
// PSP_USEFUSIONCONTEXT | PSP_HASHELP | PSP_USETITLE | PSP_USEHICON; the
// overlay page adds PSP_PREMATURE (created together with the sheet).
constexpr DWORD kPageFlags = 0x402A;
constexpr DWORD kPrematurePageFlags = 0x442A;
const PageEntry kDocumentPages[] = {
    {&kBasicPage, 5370, 151, kPageFlags, PageCondition::kAlways},
    {&kColourPage, 5371, 152, kPageFlags, PageCondition::kAlways},
    {&kCutPage, 5372, 457, kPageFlags, PageCondition::kAlways},
    {&kOverlayPage, 5373, 455, kPrematurePageFlags, PageCondition::kAlways},
    {&kAdvancedPage, 5374, 355, kPageFlags, PageCondition::kPrintLayout},
    {&kUtilityPage, 5375, 150, kPageFlags, PageCondition::kUtility},
};
const PageEntry kDevicePage = {&kUtilityPage, 4738, 150, kPageFlags, PageCondition::kAlways};

template <typename T>
T* LocalCopy(const T* data, size_t count) {
  if (count == 0) return nullptr;
  auto* p = static_cast<T*>(LocalAlloc(LPTR, count * sizeof(T)));
  if (p) std::memcpy(p, data, count * sizeof(T));
  return p;
}

wchar_t* LocalString(const std::u16string& s) {
  return LocalCopy(reinterpret_cast<const wchar_t*>(s.c_str()), s.size() + 1);
}

HMODULE LoadSibling(const std::wstring& folder, const wchar_t* file) {
  if (folder.size() > 250) return nullptr;  // the driver keeps these paths in 256 characters
  const std::wstring path = folder + L"\\" + file;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Texts and the shared edit controls of a page find their sheet through
// these: the sheet open on the calling thread.
DifmHandle SheetTextHandle() {
  SheetContext* ctx = CurrentSheet();
  return ctx ? ctx->hDeviceInfo : nullptr;
}
EditProcSlots* SheetEditSlots() {
  SheetContext* ctx = CurrentSheet();
  return ctx ? &ctx->editSlots : nullptr;
}

SheetContext* NewContext() {
  g_currentTextHandle = &SheetTextHandle;
  g_currentEditSlots = &SheetEditSlots;
  auto* ctx = static_cast<SheetContext*>(LocalAlloc(LPTR, sizeof(SheetContext)));
  if (!ctx) return nullptr;
  if (g_tlsSlot == TLS_OUT_OF_INDEXES || !TlsSetValue(g_tlsSlot, ctx)) {
    LocalFree(ctx);
    return nullptr;
  }
  ctx->hModule = g_module;
  return ctx;
}

// Opens the sheet's own printer handle, maps the device module, copies the
// name and help path and finds the folder of the sibling modules (the
// caller's printer's driver directory, else this module's own): what both
// sheets need. Returns the sheet result on failure, 1 on success.
LONG OpenSheetBasics(SheetContext* ctx, HANDLE callerPrinter, const wchar_t* name,
                     std::wstring* siblings) {
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ACCESS_USE};
  if (!name || !OpenPrinterW(const_cast<wchar_t*>(name), &ctx->hPrinterOwn, &access)) return -1;
  ctx->hPrinter = callerPrinter;
  const DifmApi& difm = DeviceInfoApi();
  ctx->hDeviceInfo = difm.DifmMapper ? difm.DifmMapper(kDifmMagic, U(name)) : nullptr;
  if (!ctx->hDeviceInfo) return -1;
  ctx->printerName = LocalCopy(name, wcslen(name) + 1);
  // The help file is the caller's printer's; an application that opened the
  // sheet by name alone gets the sheet's own handle's.
  Win32PrinterStore store(callerPrinter ? callerPrinter : ctx->hPrinterOwn, false);
  std::u16string help, dir;
  if (!GetHelpFilePath(&store, &help) || help.empty()) return -1;
  ctx->helpFilePath = LocalString(help);
  *siblings = callerPrinter && GetDriverDirectory(&store, &dir)
                  ? std::wstring(reinterpret_cast<const wchar_t*>(dir.c_str()))
                  : ModuleDirectory();
  return ctx->printerName && ctx->helpFilePath ? 1 : 0;
}

// The module's manifest asks for common controls 6; the pages run in an
// activation context made from it.
void CreateActivationContext(SheetContext* ctx, bool withManifestSuffix) {
  ctx->hKernel32 = LoadLibraryW(L"kernel32.dll");
  if (ctx->hKernel32) {
    ctx->pfnCreateActCtxW = reinterpret_cast<decltype(ctx->pfnCreateActCtxW)>(
        reinterpret_cast<void*>(GetProcAddress(ctx->hKernel32, "CreateActCtxW")));
    ctx->pfnReleaseActCtx = reinterpret_cast<decltype(ctx->pfnReleaseActCtx)>(
        reinterpret_cast<void*>(GetProcAddress(ctx->hKernel32, "ReleaseActCtx")));
  }
  if (!ctx->hKernel32 || !ctx->pfnCreateActCtxW || !ctx->pfnReleaseActCtx) {
    if (ctx->hKernel32) FreeLibrary(ctx->hKernel32);
    ctx->hKernel32 = nullptr;
    ctx->pfnCreateActCtxW = nullptr;
    ctx->pfnReleaseActCtx = nullptr;
    return;
  }
  wchar_t source[160] = {};
  GetModuleFileNameW(g_module, source, 128);
  if (withManifestSuffix) wcscat(source, L".manifest");
  ACTCTXW act{};
  act.cbSize = sizeof act;
  act.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  act.lpResourceName = MAKEINTRESOURCEW(1);
  act.lpSource = source;
  // A failed context does not stop the sheet: the pages get what came back.
  ctx->hActCtx = ctx->pfnCreateActCtxW(&act);
}

// Registers one page with the host; the handle it returns, or 0.
HANDLE AddPage(SheetContext* ctx, const PageEntry& entry, HANDLE host, PFNCOMPROPSHEET add) {
  wchar_t title[64] = {};
  LoadTextById(entry.titleText, title, sizeof title);
  PROPSHEETPAGEW psp{};
  psp.dwSize = 96;  // the version that carries hActCtx
  static_assert(sizeof(PROPSHEETPAGEW) >= 96);
  psp.dwFlags = entry.flags;
  psp.hInstance = g_module;
  psp.pszTemplate = MAKEINTRESOURCEW(entry.page->templateId);
  psp.hIcon = static_cast<HICON>(
      LoadImageW(ctx->hIconModule, MAKEINTRESOURCEW(entry.iconId), IMAGE_ICON, 16, 16, 0));
  psp.pszTitle = title;
  psp.pfnDlgProc = entry.page->procedure;
  psp.lParam = 0;
  psp.hActCtx = ctx->hActCtx;
  return reinterpret_cast<HANDLE>(
      add(host, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&psp), 0));
}

LONG DocumentSheetInit(PPROPSHEETUI_INFO info) {
  auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info->lParamInit);
  SheetContext* ctx = NewContext();
  if (!ctx) return 0;
  if (!header) return -1;
  ctx->documentHeader = header;
  std::wstring siblings;
  if (const LONG rc = OpenSheetBasics(ctx, header->hPrinter, header->pszPrinterName, &siblings);
      rc != 1)
    return rc;

  Win32PrinterStore own(ctx->hPrinterOwn, false);
  const std::vector<PaperInfo> papers = ReadPaperTable(&own);
  if (papers.empty()) return 0;
  ctx->paperTable = LocalCopy(papers.data(), papers.size());
  ctx->paperCount = static_cast<DWORD>(papers.size());
  std::vector<MediaData> media;
  ctx->mediaCount = ReadMediaTable(&own, &media);
  ctx->mediaTable = LocalCopy(media.data(), media.size());

  Win32PrinterStore caller(header->hPrinter, false);
  bool kept = false, pastUser = false;
  BuildStartSettings(header->pdmIn, header->hPrinter ? &caller : nullptr, Services(),
                     &ctx->workSettings, &kept, &pastUser);
  ctx->appliedSettings = ctx->workSettings;
  ctx->userDefaultMode = (header->fMode & DM_USER_DEFAULT) != 0;

  if (!(ctx->hIconModule = LoadSibling(siblings, L"VQ312RD.dll"))) return 0;
  CreateActivationContext(ctx, true);
  if (!info->pfnComPropSheet) return 0;
  if (!(ctx->hColourModule = LoadSibling(siblings, L"VQ312CC.dll"))) return 0;

  const bool printLayout = GetPrinterDword(&own, pd::kPrintLayout) != 0;
  const bool utility = GetPrinterDword(&own, pd::kUtility) == 1;
  int slot = 0;
  for (const PageEntry& entry : kDocumentPages) {
    if (entry.condition == PageCondition::kPrintLayout && !printLayout) continue;
    if (entry.condition == PageCondition::kUtility) {
      if (!utility) continue;
      if (!(ctx->hMaintenanceModule = LoadSibling(siblings, L"VQ312GS.dll"))) return 0;
      ctx->utilityInDocSheet = 1;
    }
    ctx->pages[slot] = entry.page;
    ctx->pageHandles[slot++] = AddPage(ctx, entry, info->hComPropSheet, info->pfnComPropSheet);
  }
  ctx->hComPropSheet = info->hComPropSheet;
  ctx->pfnComPropSheet = info->pfnComPropSheet;
  return 1;
}

LONG DocumentSheetSetResult(PPROPSHEETUI_INFO info, LPARAM lParam) {
  SheetContext* ctx = CurrentSheet();
  const auto* result = reinterpret_cast<const SETRESULT_INFO*>(lParam);
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

// Releases everything the sheet took, in a fixed order, and the context.
LONG DestroySheet() {
  SheetContext* ctx = CurrentSheet();
  if (!ctx) return -1;
  if (ctx->hMaintenanceModule) FreeLibrary(ctx->hMaintenanceModule);
  ctx->hMaintenanceModule = nullptr;
  if (ctx->hIconModule) FreeLibrary(ctx->hIconModule);
  ctx->hIconModule = nullptr;
  LocalFree(ctx->helpFilePath);
  ctx->helpFilePath = nullptr;
  LocalFree(ctx->printerName);
  ctx->printerName = nullptr;
  const DifmApi& difm = DeviceInfoApi();
  if (ctx->hDeviceInfo && difm.DifmUnMapper) difm.DifmUnMapper(kDifmMagic, ctx->hDeviceInfo);
  ctx->hDeviceInfo = nullptr;
  LocalFree(ctx->paperTable);
  ctx->paperTable = nullptr;
  LocalFree(ctx->mediaTable);
  ctx->mediaTable = nullptr;
  if (ctx->hPrinterOwn) ClosePrinter(ctx->hPrinterOwn);
  ctx->hPrinterOwn = nullptr;
  if (ctx->hActCtx && ctx->hActCtx != INVALID_HANDLE_VALUE && ctx->pfnReleaseActCtx)
    ctx->pfnReleaseActCtx(ctx->hActCtx);
  ctx->hActCtx = nullptr;
  if (ctx->hKernel32) FreeLibrary(ctx->hKernel32);
  ctx->hKernel32 = nullptr;
  if (ctx->hColourModule) FreeLibrary(ctx->hColourModule);
  ctx->hColourModule = nullptr;
  LocalFree(ctx);
  TlsSetValue(g_tlsSlot, nullptr);
  return 1;
}

LONG DeviceSheetInit(PPROPSHEETUI_INFO info) {
  if (!info || !info->lParamInit) return -1;
  auto* header = reinterpret_cast<DEVICEPROPERTYHEADER*>(info->lParamInit);
  SheetContext* ctx = NewContext();
  if (!ctx) return 0;
  ctx->deviceSheet = TRUE;
  std::wstring siblings;
  if (const LONG rc = OpenSheetBasics(ctx, header->hPrinter, header->pszPrinterName, &siblings);
      rc != 1)
    return rc;
  Win32PrinterStore caller(header->hPrinter, false);
  std::vector<unsigned char> dm;
  if (!header->hPrinter || !caller.GetDevMode(2, &dm)) return -1;
  CopyDevModeBytes(dm.data(), static_cast<uint32_t>(dm.size()), &ctx->workSettings);
  ctx->appliedSettings = ctx->workSettings;
  if (!(ctx->hIconModule = LoadSibling(siblings, L"VQ312RD.dll"))) return 0;
  CreateActivationContext(ctx, false);
  if (!(ctx->hMaintenanceModule = LoadSibling(siblings, L"VQ312GS.dll"))) return 0;
  ctx->utilityInDocSheet = 0;
  if (!info->pfnComPropSheet) return 0;
  AddPage(ctx, kDevicePage, info->hComPropSheet, info->pfnComPropSheet);
  return 1;
}

}  // namespace
}  // namespace vq

using namespace vq;

extern "C" {

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) noexcept {
  try {
    RefreshScreenDpi();
    if (!info) {
      auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam);
      if (!header) return -1;
      Win32PrinterStore printer(header->hPrinter, false);
      const DevModeRequest request{header->hPrinter ? &printer : nullptr, header->pdmIn,
                                   header->pdmOut, reinterpret_cast<uint32_t*>(&header->cbOut),
                                   header->fMode};
      return HandleDevModeRequest(request, Services());
    }
    switch (info->Reason) {
      case PROPSHEETUI_REASON_INIT: {
        // A sheet that cannot open gives back what it took at once; the
        // host's DESTROY, if it still comes, then finds no sheet.
        const LONG rc = DocumentSheetInit(info);
        if (rc != 1 && CurrentSheet()) DestroySheet();
        return rc;
      }
      case PROPSHEETUI_REASON_SET_RESULT: return DocumentSheetSetResult(info, lParam);
      case PROPSHEETUI_REASON_DESTROY: return DestroySheet();
      default: return 1;  // GET_INFO_HEADER, BEFORE_INIT and the rest
    }
  } catch (...) {
    return 0;
  }
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM) noexcept {
  try {
    if (!info) return -1;
    RefreshScreenDpi();
    switch (info->Reason) {
      case PROPSHEETUI_REASON_INIT: {
        const LONG rc = DeviceSheetInit(info);
        if (rc != 1 && CurrentSheet()) DestroySheet();
        return rc;
      }
      case PROPSHEETUI_REASON_DESTROY: return DestroySheet();
      default: return 1;
    }
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
