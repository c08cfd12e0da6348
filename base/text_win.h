// Text conversions at the Win32 boundary: the portable code holds UTF-16 as
// char16_t, Windows as wchar_t (the same 16-bit units on this platform).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vq {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline wchar_t* W(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }
inline const char16_t* U(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }
inline std::u16string_view U(std::wstring_view s) { return {U(s.data()), s.size()}; }

// A copy of a text the spooler or a window handed over; empty for null.
inline std::u16string Text(const wchar_t* s) { return s ? std::u16string(U(s)) : std::u16string(); }

// Wide text to the active code page. size 0: the exact size is used; a null
// out returns the size needed (terminator included).
int WideToAnsi(char* out, const wchar_t* text, int size);

// The whole text in the active code page (what the status monitor and the
// ANSI interfaces of the spooler expect); empty for a null text.
std::string Ansi(const wchar_t* text);
inline std::string Ansi(std::u16string_view text) { return Ansi(std::wstring(text.begin(), text.end()).c_str()); }

}  // namespace vq
