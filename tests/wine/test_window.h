// Dialogs for tests, built as DLGTEMPLATEEX in memory: a real dialog with
// real controls, without a resource for each case.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

namespace vq::wine {

inline constexpr WORD kButtonAtom = 0x0080;
inline constexpr WORD kEditAtom = 0x0081;
inline constexpr WORD kStaticAtom = 0x0082;

class DialogTemplate {
 public:
  // Dialog units; the font is the usual MS Shell Dlg 8.
  DialogTemplate(DWORD style, short cx, short cy) {
    Put16(1), Put16(0xFFFF), Put32(0), Put32(0), Put32(style | DS_SETFONT);
    countAt_ = bytes_.size();
    Put16(0), Put16(0), Put16(0), Put16(cx), Put16(cy);
    Put16(0), Put16(0), PutText(L"");  // no menu, the dialog class, no title
    Put16(8), Put16(FW_NORMAL), bytes_.push_back(0), bytes_.push_back(DEFAULT_CHARSET);
    PutText(L"MS Shell Dlg");
  }

  DialogTemplate& Add(WORD classAtom, DWORD id, DWORD style, short x, short y, short cx,
                      short cy, const wchar_t* text = L"") {
    while (bytes_.size() % 4) bytes_.push_back(0);
    Put32(0), Put32(0), Put32(style | WS_CHILD | WS_VISIBLE);
    Put16(x), Put16(y), Put16(cx), Put16(cy), Put32(id);
    Put16(0xFFFF), Put16(classAtom), PutText(text), Put16(0);
    uint16_t count;
    std::memcpy(&count, &bytes_[countAt_], 2);
    ++count;
    std::memcpy(&bytes_[countAt_], &count, 2);
    return *this;
  }

  HWND Create(HWND parent, DLGPROC proc, LPARAM param = 0) const {
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                      reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()), parent,
                                      proc, param);
  }

 private:
  void Put16(uint32_t v) {
    bytes_.push_back(v & 0xFF);
    bytes_.push_back((v >> 8) & 0xFF);
  }
  void Put32(uint32_t v) { Put16(v & 0xFFFF), Put16(v >> 16); }
  void PutText(const wchar_t* s) {
    do Put16(static_cast<uint16_t>(*s)); while (*s++);
  }
  std::vector<uint8_t> bytes_;
  size_t countAt_ = 0;
};

inline INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// A window destroyed with its scope.
struct Window {
  HWND h = nullptr;
  explicit Window(HWND w) : h(w) {}
  ~Window() {
    if (h) DestroyWindow(h);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  operator HWND() const { return h; }
};

// A control's rectangle in its parent's client coordinates, as x, y, cx, cy.
inline RECT ChildRect(HWND parent, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(parent, id), &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline SIZE WindowSize(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace vq::wine
