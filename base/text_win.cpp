#include "base/text_win.h"

namespace vq {

int WideToAnsi(char* out, const wchar_t* text, int size) {
  if (!out) return WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size == 0) size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  return WideCharToMultiByte(CP_ACP, 0, text, -1, out, size, nullptr, nullptr);
}

std::string Ansi(const wchar_t* text) {
  if (!text) return {};
  const int n = WideToAnsi(nullptr, text, 0);
  if (n <= 1) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideToAnsi(out.data(), text, n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

}  // namespace vq
