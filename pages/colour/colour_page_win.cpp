#include "pages/colour/colour_page_win.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/byte_reader.h"
#include "base/handles_win.h"
#include "base/module_win.h"
#include "base/sibling_win.h"
#include "devinfo/difm_loader_win.h"
#include "devinfo/text_ids.h"
#include "pages/basic/paper_tip_win.h"
#include "pages/colour/colour_adjust_win.h"
#include "pages/colour/colour_rules.h"
#include "pages/page_layouts.h"
#include "pages/sheet/settings_name_win.h"
#include "settings/file_access_win.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "uicore/help_topics.h"
#include "uicore/resource_ids.h"
#include "uicore/texts_win.h"
#include "uicore/page_preview_win.h"

namespace vq {
namespace {

// The page preview of the paper in this page's frame.
constexpr uint32_t kColourPreviewMode = 4;

constexpr uint16_t kGrayscalePicture = 395;  // bitmap of VQ312RD.dll
constexpr uint16_t kSamplePicture = 397;     // "BIN" resource of VQ312RD.dll

// The page's own state. The colour module is loaded once per page and
// released with it, so the entry point can never outlive its module.
struct ColourPageState {
  HMODULE colourModule;
  ColourPreviewFn render;  // null: the module or its entry is missing
  bool listsFilled;
};

// The display names of the choice rows, from the device module's lists.
wchar_t g_choiceNames[colour::kChoiceRowCount][32];

using NameList = int32_t (*)(DifmHandle, void*);

// Copies the names of one device list into the rows of `listId`, by the
// row's position in its list; rows past the list's end keep an empty name.
void FetchNames(DifmHandle h, NameList fetch, uint32_t listId) {
  if (!fetch) return;
  const int32_t count = fetch(h, nullptr);
  if (count <= 0 || count > 64) return;
  LocalArray<uint8_t> buffer;
  std::vector<uint8_t> zero(size_t(count) * kDifmNameEntrySize, 0);
  if (!buffer.assign(zero.data(), zero.size()) || fetch(h, buffer.get()) <= 0) return;
  const ByteReader r(buffer.get(), buffer.size());
  for (size_t row = 0; row < colour::kChoiceRowCount; ++row) {
    if (colour::kChoiceRows[row].listId != listId) continue;
    const int item = colour::ItemOfRow(row);
    wchar_t* name = g_choiceNames[row];
    std::memset(name, 0, sizeof g_choiceNames[row]);
    if (item >= count) continue;
    const std::u16string text = r.Text16(uint64_t(item) * kDifmNameEntrySize, 31);
    std::memcpy(name, text.data(), text.size() * sizeof(char16_t));
  }
}

HWND Item(const PageCall& call, int id) { return GetDlgItem(call.page, id); }

void ShowSettingsName(PageCall& call) {
  vq::ShowSettingsName(call.page, IDC_COLOUR_SETTINGS_NAME, call.sheet.workSettings);
}

void RenameToCurrentSettings(PageCall& call) {
  NoteSettingsChanged(call.page, IDC_COLOUR_SETTINGS_NAME, call.sheet.workSettings);
}

void NoteSettingsChange(PageCall& call) {
  if (colour::ColourSettingsChanged(call.sheet.workSettings, call.sheet.appliedSettings))
    RenameToCurrentSettings(call);
}

uint32_t ProfileNumber(const SheetContext& sheet) {
  return colour::MediaProfileNumber(sheet.mediaTable.get(), sheet.mediaTable.size(),
                                    sheet.workSettings.MediaTypeId);
}

void UpdateEnables(PageCall& call) {
  const bool grayscale = IsDlgButtonChecked(call.page, IDC_COLOUR_MONOCHROME) == BST_CHECKED;
  const colour::PageEnables on = colour::ColourPageEnables(grayscale, ProfileNumber(call.sheet));
  EnableWindow(Item(call, IDC_COLOUR_COLOUR_MODE_CAPTION), on.colourMode);
  EnableWindow(Item(call, IDC_COLOUR_COLOUR_MODE_LIST), on.colourMode);
  EnableWindow(Item(call, IDC_COLOUR_MONOCHROME), on.grayscale);
}

void SelectFromRecord(PageCall& call) {
  const colour::ListSelection s = colour::SelectFromRecord(call.sheet.workSettings);
  const struct {
    int id, item;
  } lists[] = {{IDC_COLOUR_COLOUR_MODE_LIST, s.colourMode},
               {IDC_COLOUR_RESOLUTION_LIST, s.resolution},
               {IDC_COLOUR_HALFTONE_LIST, s.halftone}};
  for (const auto& l : lists)
    if (l.item >= 0) SendDlgItemMessageW(call.page, l.id, CB_SETCURSEL, l.item, 0);
  CheckDlgButton(call.page, IDC_COLOUR_MONOCHROME,
                 call.sheet.workSettings.Monochrome == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void RedrawPreview(PageCall& call) {
  HWND preview = Item(call, IDC_COLOUR_COLOUR_PREVIEW);
  InvalidateRect(preview, nullptr, FALSE);
  UpdateWindow(preview);
}

void OnInit(PageCall& call) {
  auto& state = call.Get<ColourPageState>();
  AttachPreviewTip(call.page, Item(call, IDC_COLOUR_PAPER_PREVIEW), Item(call, IDC_COLOUR_COLOUR_PREVIEW));
  state.colourModule = LoadSiblingModule(L"VQ312CC.dll");
  if (state.colourModule)
    state.render = reinterpret_cast<ColourPreviewFn>(
        reinterpret_cast<void*>(GetProcAddress(state.colourModule, "MCC4Preview")));
  if (!state.render) return;  // the lists stay empty, the preview blank

  const DifmApi& difm = DeviceInfoApi();
  const DifmHandle h = call.sheet.hDeviceInfo.get();
  FetchNames(h, difm.DifmGetColorMophingInf, colour::kColourModeList);
  FetchNames(h, difm.DifmGetResolutionInf, colour::kResolutionList);
  FetchNames(h, difm.DifmGetHalftoneInf, colour::kHalftoneList);
  for (size_t row = 0; row < colour::kChoiceRowCount; ++row)
    SendDlgItemMessageW(call.page, colour::kChoiceRows[row].listId, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(g_choiceNames[row]));
  state.listsFilled = true;
}

void OnActivate(PageCall& call) {
  call.sheet.appliedSettings = call.sheet.workSettings;
  ShowSettingsName(call);
  SelectFromRecord(call);
  UpdateEnables(call);
}

void OnListChange(PageCall& call, UINT listId) {
  const int item = static_cast<int>(SendDlgItemMessageW(call.page, listId, CB_GETCURSEL, 0, 0));
  const int row = colour::RowOfItem(listId, item);
  if (row < 0) return;
  colour::ApplyChoice(static_cast<size_t>(row), &call.sheet.workSettings);
  RedrawPreview(call);
  NoteSettingsChange(call);
}

void OnDetails(PageCall& call) {
  JobSettings& js = call.sheet.workSettings;
  const colour::AdjustmentSnapshot before = colour::TakeAdjustmentSnapshot(js);
  ShowColourAdjustDialog(call.page, call.sheet, call.Get<ColourPageState>().render);
  if (!(colour::TakeAdjustmentSnapshot(js) == before)) RenameToCurrentSettings(call);
  RedrawPreview(call);
  NoteSettingsChange(call);
}

void OnDefaults(PageCall& call) {
  JobSettings defaults{};
  if (!SetDefaultJobSettings(&defaults, Services())) return;
  colour::ApplyColourDefaults(defaults, &call.sheet.workSettings);
  RenameToCurrentSettings(call);
  SelectFromRecord(call);
  UpdateEnables(call);
  RedrawPreview(call);
  SetFocus(Item(call, IDC_COLOUR_DEFAULTS));
}

void OnCommand(PageCall& call, UINT id, UINT code) {
  switch (id) {
    case IDC_COLOUR_COLOUR_MODE_LIST:
    case IDC_COLOUR_RESOLUTION_LIST:
    case IDC_COLOUR_HALFTONE_LIST:
      if (code == CBN_SELCHANGE || code == CBN_SELENDOK) OnListChange(call, id);
      break;
    case IDC_COLOUR_MONOCHROME:
      if (code != BN_CLICKED) break;
      colour::SetGrayscale(&call.sheet.workSettings,
                           IsDlgButtonChecked(call.page, IDC_COLOUR_MONOCHROME) == BST_CHECKED);
      RedrawPreview(call);
      NoteSettingsChange(call);
      UpdateEnables(call);
      break;
    case IDC_COLOUR_DETAILS:
      if (code == BN_CLICKED) OnDetails(call);
      break;
    case IDC_COLOUR_DEFAULTS:
      if (code == BN_CLICKED) OnDefaults(call);
      break;
    case IDCANCEL:
      SendMessageW(GetParent(call.page), WM_COMMAND, MAKEWPARAM(IDCANCEL, code), 0);
      break;
  }
}

bool OnDrawItem(PageCall& call, const DRAWITEMSTRUCT& dis) {
  switch (dis.CtlID) {
    case IDC_COLOUR_PAPER_PREVIEW:
      return DrawPreviewItem(call.sheet.hIconModule.get(), dis, call.sheet.workSettings,
                             kColourPreviewMode);
    case IDC_COLOUR_COLOUR_PREVIEW:
      if (!DrawColourPreview(dis.hDC, dis.rcItem, call.sheet.workSettings,
                             call.sheet.hIconModule.get(), call.Get<ColourPageState>().render))
        FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_BTNFACE));
      ShowSettingsName(call);
      return true;
    default:
      return false;
  }
}

// The record is applied only when the job could print: its media's colour
// profiles usable and, with the overlay on, its form path sound. Otherwise
// the sheet closes without this page's record, as the job would be refused.
LONG OnApply(PageCall& call) {
  Win32PrinterStore printer(call.sheet.dataPrinter(), false);
  Win32FileAccess files;
  const JobSettings& js = call.sheet.workSettings;
  if (!CheckMediaProfiles(js, &printer, files)) return kApplyWithoutResult;
  const uint32_t overlay = CheckOverlayForm(js, files);
  if ((overlay & kOverlayIsOn) && OverlayFailed(overlay, kOverlayBadPath)) return kApplyWithoutResult;
  PostMessageW(GetParent(call.page), PSM_UNCHANGED, reinterpret_cast<WPARAM>(call.page), 0);
  return PSNRET_NOERROR;
}

void OnDestroy(PageCall& call) {
  auto& state = call.Get<ColourPageState>();
  state.render = nullptr;
  if (state.colourModule) FreeLibrary(state.colourModule);
  state.colourModule = nullptr;
}

}  // namespace

bool DrawColourPreview(HDC dc, const RECT& area, const JobSettings& settings, HMODULE resources,
                       ColourPreviewFn render) {
  if (!render || !resources) return false;
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (colour::ShowsGrayscalePicture(settings)) {
    UniqueDc memory(CreateCompatibleDC(dc));
    if (!memory) return false;
    UniqueGdi<HBITMAP> picture(static_cast<HBITMAP>(
        LoadImageW(resources, MAKEINTRESOURCEW(kGrayscalePicture), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP info{};
    if (!picture || !GetObjectW(picture.get(), sizeof info, &info)) return false;
    HGDIOBJ old = SelectObject(memory.get(), picture.get());
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, area.left, area.top, w, h, memory.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(memory.get(), old);
    return true;
  }
  HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(kSamplePicture), L"BIN");
  HGLOBAL loaded = found ? LoadResource(resources, found) : nullptr;
  const auto* source = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  const DWORD size = found ? SizeofResource(resources, found) : 0;
  // The module trusts the header for the bitmap's length; a header that
  // disagrees with the resource's size is not passed on.
  const uint64_t length = colour::PackedBitmapLength(source, size);
  if (!source || length == 0 || length != size) return false;
  // A zero-filled block of the picture's size, which MCC4Preview fills
  // with the printed picture, header first.
  UniqueHandle<HLOCAL, handles::FreeLocal> dest(LocalAlloc(LPTR, size));
  if (!dest) return false;
  auto* printed = static_cast<uint8_t*>(dest.get());
  render(source, printed, &settings.CyanBalance);
  const auto* header = reinterpret_cast<const BITMAPINFO*>(printed);
  if (header->bmiHeader.biSize != reinterpret_cast<const BITMAPINFOHEADER*>(source)->biSize)
    return false;  // the module refused it and left the block empty
  // Straight from the block to the control: the same pixels a device
  // bitmap would carry, with one transfer instead of three steps.
  SetStretchBltMode(dc, COLORONCOLOR);
  return StretchDIBits(dc, area.left, area.top, w, h, 0, 0, header->bmiHeader.biWidth,
                       std::abs(header->bmiHeader.biHeight), printed + header->bmiHeader.biSize,
                       header, DIB_RGB_COLORS, SRCCOPY) != 0;
}

const PageRow kColourPage = {
    IDD_COLOUR, text_ids::kColourPageTitle, rd::kColourTabIcon, kPageFlags, PageCondition::kAlways,
    help::kColourPage, &pages::kLayoutColour, pages::kTextsColour, pages::kHelpColour, 0,
    PageHandlers{OnInit, OnActivate, OnCommand, OnDrawItem, OnApply, OnDestroy},
    PageStateSize<ColourPageState>(), &PageProc<kColourPage>};

}  // namespace vq
