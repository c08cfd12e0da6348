// Whether the texts a window shows can be drawn: each text of the window and
// of its visible descendants (window texts, list and combo items, tabs, list
// view items) against the font that window draws with, by
// GetGlyphIndicesW with GGI_MARK_NONEXISTING_GLYPHS. A font without the
// glyph draws an empty box, as a bed without a suitable CJK face did for
// every digit and bracket in a Chinese text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vq::wine {

// Checks `root` and its visible descendants; adds one line per text with a
// character its window's font cannot draw ("where, class id in face: text
// cannot draw ...") to `undrawable`. Returns the number of texts checked.
int CheckTexts(HWND root, const std::wstring& where, std::vector<std::wstring>* undrawable);

std::string Utf8(const std::wstring& text);
std::wstring ClassOf(HWND w);

}  // namespace vq::wine
