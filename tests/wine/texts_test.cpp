// The device module serves its texts in the user's UI language. The test
// bed runs this program once per language (LANG), naming the expected one.
#include <gtest/gtest.h>

#include <string>

#include "devinfo/difm_api.h"
#include "tests/wine/installed_printer.h"

namespace vq::wine {
namespace {

std::wstring g_expected = L"en";

std::wstring Text(const DifmApi& difm, DifmHandle h, uint32_t id) {
  uint32_t bytes = 0;
  if (!difm.DifmGetRealDataStr(h, id, nullptr, &bytes)) return L"(missing)";
  std::wstring text(bytes / 2 + 1, L'\0');
  difm.DifmGetRealDataStr(h, id, reinterpret_cast<char16_t*>(text.data()), &bytes);
  return text.c_str();
}

TEST(Texts, FollowTheUserInterfaceLanguage) {
  const DifmApi difm = InstalledDifm();
  ASSERT_TRUE(difm.Complete());
  DifmMapping map(difm, kModelName);
  ASSERT_TRUE(map);
  const bool chinese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
  ASSERT_EQ(chinese, g_expected == L"zh") << "the test bed did not set the UI language";
  EXPECT_EQ(Text(difm, map.get(), 4759), chinese ? L"默认设置" : L"Default settings");

  uint32_t textBytes = 0, captionBytes = 0, style = 0;
  ASSERT_TRUE(difm.DifmGetRealDataMsg(map.get(), 4080, nullptr, &textBytes, nullptr,
                                      &captionBytes, &style));
  std::wstring text(textBytes / 2 + 1, L'\0');
  difm.DifmGetRealDataMsg(map.get(), 4080, reinterpret_cast<char16_t*>(text.data()), &textBytes,
                          nullptr, &captionBytes, &style);
  EXPECT_EQ(text.find(chinese ? L"权限" : L"permission") != std::wstring::npos, true) << text;
  EXPECT_EQ(style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

}  // namespace
}  // namespace vq::wine

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) vq::wine::g_expected = argv[1];
  return RUN_ALL_TESTS();
}
