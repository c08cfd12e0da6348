#include "pages/basic/custom_paper_win.h"

#include <cstring>
#include <vector>

#include "base/handles_win.h"
#include "base/module_win.h"
#include "base/sibling_win.h"
#include "base/text_win.h"
#include "pages/basic/favourites.h"
#include "pages/basic/favourites_win.h"
#include "settings/printer_store_win.h"
#include "settings/services_win.h"
#include "uicore/help_topics.h"
#include "uicore/messages_win.h"

namespace vq {

namespace {

// The sheet whose custom paper dialog is open on this thread: the callbacks
// arrive from the sibling module in the middle of DispCCPD, with no way to
// pass it along.
thread_local SheetContext* t_paperSheet = nullptr;

class MessageBoxDialogue final : public CheckDialogue {
 public:
  explicit MessageBoxDialogue(HWND owner) : owner_(owner) {}
  bool Show(std::u16string_view text, uint32_t style) override {
    const std::wstring body(text.begin(), text.end());
    return MessageBoxW(owner_, body.c_str(), W(kCheckCaption), style) == IDYES;
  }
  bool ConfirmNewPaper(std::u16string_view name) override {
    const std::wstring n(name.begin(), name.end());
    return ShowMessageById(owner_, 4003, n.c_str()) == IDYES;
  }

 private:
  HWND owner_;
};

std::unique_ptr<PrinterStore> PaperStore(const SheetContext& sheet) { return OpenAdminStore(sheet); }

}  // namespace

DWORD WINAPI ValidateCustomPaper(HWND dialog, HWND nameField, PaperInfo* paper,
                                 PaperInfo* otherUnit, CustomPaperList* list,
                                 BOOL noConfirmation) noexcept {
  try {
    SheetContext* sheet = t_paperSheet ? t_paperSheet : CurrentSheet();
    if (!sheet || !paper || !list) return kPaperRefused;
    wchar_t name[64] = {};
    if (nameField) GetWindowTextW(nameField, name, 64);
    MessageBoxDialogue ui(dialog);
    const auto store = PaperStore(*sheet);
    return CheckAndStoreCustomPaper(ui, U(name), nameField && IsWindowEnabled(nameField), paper,
                                    otherUnit, list, noConfirmation, store.get());
  } catch (...) {
    return kPaperRefused;
  }
}

DWORD WINAPI ConfirmPaperDelete(HWND dialog, const PaperInfo* paper, CustomPaperList* list) noexcept {
  try {
    SheetContext* sheet = t_paperSheet ? t_paperSheet : CurrentSheet();
    if (!sheet || !paper) return kPaperDeleteRefused;
    JobSettings defaults{};
    if (!SetDefaultJobSettings(&defaults, Services())) return kPaperDeleteRefused;
    MessageBoxDialogue ui(dialog);
    const auto store = PaperStore(*sheet);
    return CheckAndDeletePaper(ui, *paper, list, sheet->workSettings, defaults, store.get());
  } catch (...) {
    return kPaperDeleteRefused;
  }
}

DWORD WINAPI CustomPaperNothing() noexcept { return 0; }

bool RunCustomPaperDialog(HWND page, SheetContext& sheet, bool narrowMarginAllowed,
                          const PaperInfo* userPaperRecord, CustomPaperOutcome* outcome) {
  return RunCustomPaperDialogFrom(ModuleDirectory(), page, sheet, narrowMarginAllowed,
                                  userPaperRecord, outcome);
}

bool RunCustomPaperDialogFrom(std::wstring_view folder, HWND page, SheetContext& sheet,
                              bool narrowMarginAllowed, const PaperInfo* userPaperRecord,
                              CustomPaperOutcome* outcome) {
  alignas(8) unsigned char callbacks[kCallbacksSize] = {};
  auto put = [&](size_t offset, const void* p) { std::memcpy(callbacks + offset, &p, sizeof p); };
  put(kCallbackValidateOffset, reinterpret_cast<const void*>(&ValidateCustomPaper));
  put(kCallbackDeleteOffset, reinterpret_cast<const void*>(&ConfirmPaperDelete));
  put(kCallbackNothingOffset, reinterpret_cast<const void*>(&CustomPaperNothing));
  put(kCallbackHelpTopicOffset, help::kCustomPaperDialog);
  std::vector<uint32_t> limits(kPaperTypeLimitCount);
  BuildPaperTypeLimits(narrowMarginAllowed, limits.data());

  Win32PrinterStore store(sheet.dataPrinter(), false);
  const uint32_t currentId = static_cast<uint16_t>(sheet.workSettings.dmPaperSize);
  PaperInfo current{};
  if (!FindPaperInfo(&store, currentId, &current)) current = sheet.workSettings.Paper;

  // A missing or incomplete module ends the action without a word.
  UniqueModule module(LoadSiblingModule(folder, kCustomPaperModule));
  if (!module) return false;
  auto find = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(module.get(), name)); };
  const auto open = reinterpret_cast<OpenCCPDFn>(find("OpenCCPD"));
  const auto setLimits = reinterpret_cast<SetCCPDPaperTypeInfoFn>(find("SetCCPDPaperTypeInfo"));
  const auto show = reinterpret_cast<DispCCPDFn>(find("DispCCPD"));
  const auto close = reinterpret_cast<CloseCCPDFn>(find("CloseCCPD"));
  if (!open || !setLimits || !show || !close) return false;

  HANDLE dialog = open(page, sheet.dataPrinter(), &current, callbacks);
  if (!dialog) return false;
  uint32_t firstUser = 0, userMax = 0;
  const std::vector<PaperInfo> table = ReadPaperTable(&store);
  if (!setLimits(dialog, 5, 55, limits.data()) || table.empty() ||
      !ReadPrinterDword(&store, pd::kPaperSupCount, &firstUser) ||
      !ReadPrinterDword(&store, pd::kPaperUserMax, &userMax) || firstUser == 0 ||
      firstUser > table.size() || table.size() > firstUser + userMax) {
    close(dialog);
    return false;
  }
  std::vector<PaperInfo> papers(size_t{firstUser} + userMax + 1);
  std::copy(table.begin(), table.end(), papers.begin());
  if (!sheet.userDefaultMode && userPaperRecord && userPaperRecord->paperId == kUserDefinedPaper)
    papers[firstUser - 1] = *userPaperRecord;
  if (!narrowMarginAllowed)
    for (size_t i = 0; i < table.size(); ++i) papers[i].narrowMargin = PaperHasNarrowMargin(papers[i]);

  CustomPaperRequest request{};
  request.pageWindow = page;
  request.papers = papers.data();
  request.count = uint32_t(table.size());
  request.firstUser = firstUser;
  request.userMax = userMax;
  request.currentPaper = currentId;
  request.paper = current;
  request.userDefaultMode = sheet.userDefaultMode ? 1 : 0;
  request.measureUnit = sheet.workSettings.MeasureUnit;

  SheetContext* const previous = t_paperSheet;
  t_paperSheet = &sheet;
  const BOOL confirmed = show(dialog, &request, 0);
  t_paperSheet = previous;
  close(dialog);

  if (outcome) {
    outcome->confirmed = confirmed != FALSE;
    outcome->paper = request.paper;
    outcome->measureUnit = request.measureUnit;
  }
  return true;
}

}  // namespace vq
