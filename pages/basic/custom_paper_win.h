// The custom paper dialog of VQ312CP.dll as the basic page opens it, and the
// callbacks this module hands it (ValidateCustomPaper, ConfirmPaperDelete
// and one that does nothing).
#pragma once

#include <windows.h>

#include <string_view>

#include "pages/basic/custom_paper.h"
#include "uicore/sheet_context_win.h"

namespace vq {

inline constexpr wchar_t kCustomPaperModule[] = L"VQ312CP.dll";
inline constexpr int kCustomPaperButtonControl = 1101;  // on the basic page

// The exports of VQ312CP.dll.
using OpenCCPDFn = HANDLE(WINAPI*)(HWND page, HANDLE printer, const PaperInfo* current,
                                   const void* callbacks);
using SetCCPDPaperTypeInfoFn = BOOL(WINAPI*)(HANDLE dialog, DWORD groups, DWORD count,
                                             const uint32_t* limits);
using DispCCPDFn = BOOL(WINAPI*)(HANDLE dialog, CustomPaperRequest* request, DWORD reserved);
using CloseCCPDFn = void(WINAPI*)(HANDLE dialog);

// The callbacks, at offsets 80, 88 and 96 of the callbacks block.
using ValidateCustomPaperFn = DWORD(WINAPI*)(HWND dialog, HWND nameField, PaperInfo* paper,
                                             PaperInfo* otherUnit, CustomPaperList* list,
                                             BOOL noConfirmation);
using ConfirmPaperDeleteFn = DWORD(WINAPI*)(HWND dialog, const PaperInfo* paper,
                                            CustomPaperList* list);
using CustomPaperNothingFn = DWORD(WINAPI*)();

DWORD WINAPI ValidateCustomPaper(HWND dialog, HWND nameField, PaperInfo* paper,
                                 PaperInfo* otherUnit, CustomPaperList* list,
                                 BOOL noConfirmation) noexcept;
DWORD WINAPI ConfirmPaperDelete(HWND dialog, const PaperInfo* paper, CustomPaperList* list) noexcept;
DWORD WINAPI CustomPaperNothing() noexcept;

// What the dialog gave back.
struct CustomPaperOutcome {
  bool confirmed = false;     // DispCCPD returned non-zero
  PaperInfo paper{};          // the paper the dialog returned (as shown when not confirmed)
  uint32_t measureUnit = 0;   // the request's MeasureUnit afterwards
};

// Button 1101, up to the dialog's end: builds the callbacks and the limits,
// loads VQ312CP.dll from this module's folder, opens the dialog on the
// working record's paper, lets the user work (the callbacks store the paper
// table as the user adds, changes and deletes papers), closes it and
// unloads the module. `userPaperRecord` (null in user-default mode) stands
// in for the user-defined size. false when the module is missing, lacks an
// export, or the dialog could not start: nothing has changed then. What the
// page does with the outcome (its paper list, the record's paper fields,
// MeasureUnit, check box 1124) is the page's own work.
bool RunCustomPaperDialog(HWND page, SheetContext& sheet, bool narrowMarginAllowed,
                          const PaperInfo* userPaperRecord, CustomPaperOutcome* outcome);

// The same with VQ312CP.dll taken from `folder` (tests: a missing or broken
// module).
bool RunCustomPaperDialogFrom(std::wstring_view folder, HWND page, SheetContext& sheet,
                              bool narrowMarginAllowed, const PaperInfo* userPaperRecord,
                              CustomPaperOutcome* outcome);

}  // namespace vq
