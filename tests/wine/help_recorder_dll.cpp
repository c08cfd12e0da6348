// Stands in for the HTML Help control (hhctrl.ocx) while a test points the
// control's registration at it: export 15, which the driver resolves by
// ordinal, records each call, and HelpRecorderTake hands the calls to the
// test that loaded the sheets into the same process.
#include <windows.h>

#include <string>
#include <vector>

namespace {
std::vector<std::wstring> g_files;
}  // namespace

extern "C" __declspec(dllexport) HWND WINAPI HelpRecorderHtmlHelp(HWND, const wchar_t* file,
                                                                 UINT, DWORD_PTR) {
  g_files.push_back(file ? file : L"");
  return GetDesktopWindow();  // any window: help "opened"
}

// Copies the recorded file arguments, separated by '\n', into `out` and
// forgets them; returns the characters needed.
extern "C" __declspec(dllexport) size_t HelpRecorderTake(wchar_t* out, size_t room) {
  std::wstring all;
  for (const std::wstring& f : g_files) all += f + L"\n";
  g_files.clear();
  if (out && room) lstrcpynW(out, all.c_str(), static_cast<int>(room));
  return all.size() + 1;
}
