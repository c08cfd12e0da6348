// Windows for tests: a window of the dialog class with child controls, made
// with CreateWindowExW in pixels, and a window destroyed with its scope.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace vq::wine {

struct Control {
  const wchar_t* className;
  int id;
  DWORD style;  // WS_CHILD and WS_VISIBLE are added
  int x, y, cx, cy;
};

// The window runs DefDlgProcW with `proc` as its dialog procedure.
inline HWND MakeDialog(DWORD style, int cx, int cy, std::initializer_list<Control> controls,
                       HWND parent = nullptr, DLGPROC proc = nullptr) {
  HWND w = CreateWindowExW(0, L"#32770", L"", style, 0, 0, cx, cy, parent, nullptr, nullptr,
                           nullptr);
  SetWindowLongPtrW(w, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  for (const Control& c : controls)
    CreateWindowExW(0, c.className, L"", c.style | WS_CHILD | WS_VISIBLE, c.x, c.y, c.cx, c.cy, w,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), nullptr, nullptr);
  return w;
}

struct Window {
  HWND h;
  explicit Window(HWND w) : h(w) {}
  ~Window() { DestroyWindow(h); }
  Window(const Window&) = delete;
  operator HWND() const { return h; }
};

}  // namespace vq::wine
