#include "pages/overlay/overlay_form_win.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "base/activation_win.h"
#include "base/handles_win.h"
#include "pages/control_ids.h"
#include "pages/overlay/overlay_form.h"
#include "uicore/shared_controls_win.h"
#include "uicore/texts_win.h"

namespace vq {
namespace {

// A form is one printed label; anything larger than this is not one, and
// reading it whole would only cost memory.
constexpr LONGLONG kMaxFormFileBytes = LONGLONG{256} << 20;

// Reads the whole file with no sharing, as the printer driver does while it
// writes or prints the form: a form that another process has open is not
// ready to be used.
bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
  UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return false;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxFormFileBytes) return false;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  return bytes.empty() ||
         (ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
          got == bytes.size());
}

std::u16string Text(uint16_t id) {
  wchar_t text[256] = {};
  LoadTextById(id, text, sizeof text);
  return reinterpret_cast<const char16_t*>(text);
}

}  // namespace

overlay::FormCheck ShowFormInfo(HWND dialog, const std::wstring& path, bool createMode) {
  const HWND info = GetDlgItem(dialog, IDC_OVERLAY_FORM_INFO);
  SetWindowTextW(info, L"");
  if (createMode) return overlay::FormCheck::kCreateMode;
  const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return overlay::FormCheck::kNoFile;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return overlay::FormCheck::kUnreadable;
  const overlay::FormDescription form = overlay::DescribeForm(bytes);
  if (form.check != overlay::FormCheck::kForm) return form.check;
  SetDlgItemTextW(dialog, IDC_OVERLAY_COMMENT, reinterpret_cast<const wchar_t*>(form.comment.c_str()));
  const std::u16string text = overlay::FormInfoText(form, Text, LocaleUsesDecimalPoint());
  SetWindowTextW(info, reinterpret_cast<const wchar_t*>(text.c_str()));
  SendMessageW(info, EM_SETSEL, 0, 0);
  SendMessageW(info, EM_SCROLLCARET, 0, 0);
  return form.check;
}

std::wstring PathFieldText(HWND dialog, int control) {
  wchar_t text[overlay::kPathChars + 1] = {};
  GetDlgItemTextW(dialog, control, text, static_cast<int>(std::size(text)));
  return text;
}

bool BrowseForForm(HWND owner, bool create, bool overwritePrompt, std::wstring& path) {
  wchar_t file[MAX_PATH] = {};
  path.copy(file, std::min<size_t>(path.size(), MAX_PATH - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = L"Form files(*.ofe)\0*.ofe\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = L"ofe";
  // A form to create does not exist yet: the save dialog must accept a new
  // name, and asks before it replaces an existing form.
  ofn.Flags = create ? OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | (overwritePrompt ? OFN_OVERWRITEPROMPT : 0)
                     : OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  const BOOL chosen = create ? IsolatedGetSaveFileNameW(&ofn) : IsolatedGetOpenFileNameW(&ofn);
  if (!chosen || wcslen(file) > overlay::kPathChars) return false;
  path = file;
  return true;
}

class FormThumbnail {
 public:
  // The decoded form of `path`, read only when it is not the one held.
  const FormImage& Of(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA now{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &now)) now = {};
    if (path != path_ || std::memcmp(&now, &stamp_, sizeof now) != 0) {
      form_ = ReadFormFile(std::filesystem::path(path));
      path_ = path;
      stamp_ = now;
    }
    return form_;
  }

 private:
  std::wstring path_;
  WIN32_FILE_ATTRIBUTE_DATA stamp_{};
  FormImage form_;
};

FormThumbnail* NewFormThumbnail() { return new (std::nothrow) FormThumbnail; }
void DeleteFormThumbnail(FormThumbnail* thumbnail) { delete thumbnail; }

void DrawFormThumbnail(const DRAWITEMSTRUCT& di, const std::wstring& path, FormThumbnail* cache) {
  FillRect(di.hDC, &di.rcItem, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(di.hDC, &di.rcItem, GetSysColorBrush(COLOR_BTNSHADOW));
  if (path.empty()) return;
  FormImage read;
  if (!cache) read = ReadFormFile(std::filesystem::path(path));
  const FormImage& form = cache ? cache->Of(path) : read;
  const uint32_t rows = form.Rows();
  const uint32_t width = form.info.imageWidth;
  if (form.status != FormStatus::kOk || rows == 0 || width == 0) return;
  const int cw = di.rcItem.right - di.rcItem.left - 4, ch = di.rcItem.bottom - di.rcItem.top - 4;
  if (cw <= 0 || ch <= 0) return;
  // Keep the form's proportions: scale to the tighter side, centre on the other.
  int w = cw, h = static_cast<int>(int64_t{cw} * rows / width);
  if (h > ch) {
    h = ch;
    w = static_cast<int>(int64_t{ch} * width / rows);
  }
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = static_cast<LONG>(width);
  bmi.bmiHeader.biHeight = -static_cast<LONG>(rows);  // top-down
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 24;
  bmi.bmiHeader.biCompression = BI_RGB;
  // DIB rows are padded to 4 bytes; the reader's rows are 3 * width bytes,
  // a multiple of 4 only because the width is a multiple of 32.
  SetStretchBltMode(di.hDC, HALFTONE);
  SetBrushOrgEx(di.hDC, 0, 0, nullptr);
  StretchDIBits(di.hDC, di.rcItem.left + 2 + (cw - w) / 2, di.rcItem.top + 2 + (ch - h) / 2, w, h,
                0, 0, static_cast<int>(width), static_cast<int>(rows), form.pixels.data(), &bmi,
                DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace vq
