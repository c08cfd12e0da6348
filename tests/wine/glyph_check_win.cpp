#include "tests/wine/glyph_check_win.h"

#include <commctrl.h>

namespace vq::wine {

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                 out.data(), static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

namespace {

// The texts a window draws, as its class keeps them.
std::vector<std::wstring> TextsOf(HWND w) {
  std::vector<std::wstring> texts;
  const std::wstring cls = ClassOf(w);
  wchar_t buf[1024];
  if (cls == L"ComboBox") {
    // A ComboBoxEx32 draws its items itself from its own copies.
    if (ClassOf(GetParent(w)) == L"ComboBoxEx32") return texts;
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    if ((style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) && !(style & CBS_HASSTRINGS)) return texts;
    const LRESULT n = SendMessageW(w, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i)
      if (SendMessageW(w, CB_GETLBTEXTLEN, i, 0) < 1000 && SendMessageW(w, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf)) > 0)
        texts.push_back(buf);
  } else if (cls == L"ComboBoxEx32") {
    const LRESULT n = SendMessageW(w, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      COMBOBOXEXITEMW item{};
      item.mask = CBEIF_TEXT;
      item.iItem = i;
      item.pszText = buf;
      item.cchTextMax = 1024;
      buf[0] = 0;
      if (SendMessageW(w, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) texts.push_back(buf);
    }
  } else if (cls == L"ListBox") {
    if (!(GetWindowLongW(w, GWL_STYLE) & LBS_HASSTRINGS)) return texts;
    const LRESULT n = SendMessageW(w, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i)
      if (SendMessageW(w, LB_GETTEXTLEN, i, 0) < 1000 && SendMessageW(w, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf)) > 0)
        texts.push_back(buf);
  } else if (cls == L"SysTabControl32") {
    const LRESULT n = SendMessageW(w, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = buf;
      item.cchTextMax = 1024;
      buf[0] = 0;
      if (SendMessageW(w, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item))) texts.push_back(buf);
    }
  } else if (cls == L"SysListView32") {
    const LRESULT n = SendMessageW(w, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      LVITEMW item{};
      item.pszText = buf;
      item.cchTextMax = 1024;
      buf[0] = 0;
      if (SendMessageW(w, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item)) > 0) texts.push_back(buf);
    }
  } else {
    const LRESULT n = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
    if (n > 0 && n < 1000 && GetWindowTextW(w, buf, 1024) > 0) texts.push_back(buf);
  }
  return texts;
}

}  // namespace

int CheckTexts(HWND root, const std::wstring& where, std::vector<std::wstring>* undrawable) {
  int count = 0;
  std::vector<HWND> windows{root};
  EnumChildWindows(root, [](HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&windows));
  HDC dc = GetDC(nullptr);
  for (HWND w : windows) {
    if (!IsWindowVisible(w)) continue;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    for (std::wstring text : TextsOf(w)) {
      ++count;
      std::wstring drawn;  // the characters that reach the screen
      for (wchar_t c : text)
        if (c != L'&' && c != L'\r' && c != L'\n' && c != L'\t') drawn += c;
      std::vector<WORD> glyphs(drawn.size());
      if (drawn.empty()) continue;
      if (GetGlyphIndicesW(dc, drawn.c_str(), static_cast<int>(drawn.size()), glyphs.data(),
                           GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        undrawable->push_back(where + L": no glyph indices for \"" + text + L"\"");
        continue;
      }
      std::wstring missing;
      for (size_t i = 0; i < drawn.size(); ++i)
        if (glyphs[i] == 0xFFFF) missing += drawn[i];
      if (!missing.empty())
        undrawable->push_back(where + L", " + ClassOf(w) + L" " +
                                   std::to_wstring(GetDlgCtrlID(w)) + L" in " + face + L": \"" +
                                   text + L"\" cannot draw \"" + missing + L"\"");
    }
    SelectObject(dc, old);
  }
  ReleaseDC(nullptr, dc);
  return count;
}


}  // namespace vq::wine
