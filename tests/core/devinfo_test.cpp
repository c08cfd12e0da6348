#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "devinfo/device_info.h"
#include "devinfo/difm_api.h"
#include "settings/job_settings.h"
#include "tests/core/test_printer.h"

namespace vq::test {
namespace {

Language g_language = Language::kEnglish;

class DeviceInfoTest : public ::testing::Test {
 protected:
  void TearDown() override { SetDifmLanguageSource(nullptr); }
  DifmHandle h = DifmMapper(kDifmMagic, kModelName);
};

// A two-call query fills exactly count x size bytes: the element after is a guard.
template <typename T, typename Query>
std::vector<T> FetchAll(Query query) {
  const int32_t count = std::max(query(nullptr), 0);
  EXPECT_GT(count, 0);
  std::vector<unsigned char> buf((count + 1) * sizeof(T), 0xAB);
  EXPECT_EQ(query(buf.data()), count);
  EXPECT_EQ(std::count(buf.end() - sizeof(T), buf.end(), 0xAB), long(sizeof(T)))
      << "wrote past count x element size";
  std::vector<T> out(count);
  std::memcpy(out.data(), buf.data(), count * sizeof(T));
  return out;
}

TEST_F(DeviceInfoTest, EveryTextAndMessageInBothLanguages) {
  for (Language language : {Language::kEnglish, Language::kChinese}) {
    SCOPED_TRACE(static_cast<int>(language));
    g_language = language;
    SetDifmLanguageSource([] { return g_language; });
    DifmHandle mapped = DifmMapper(kDifmMagic, kModelName);
    ASSERT_NE(mapped, nullptr);
    for (size_t i = 0; i < DifmTextCount(); ++i) {
      const uint32_t id = DifmTextIdAt(i);
      SCOPED_TRACE(id);
      const std::u16string_view text = LookUpText(id, language);
      ASSERT_FALSE(text.empty());
      uint32_t bytes = 0;
      ASSERT_TRUE(DifmGetRealDataStr(mapped, id, nullptr, &bytes));
      ASSERT_EQ(bytes, text.size() * 2) << "size without the terminator";
      std::u16string buf(bytes / 2 + 1, u'\0');  // callers add 2 for the terminator
      uint32_t size = bytes + 2;
      ASSERT_TRUE(DifmGetRealDataStr(mapped, id, buf.data(), &size));
      EXPECT_EQ(buf, std::u16string(text) + u'\0');
      char16_t small[3] = {0, 0, u'\xFFFF'};
      size = 4;
      DifmGetRealDataStr(mapped, id, small, &size);
      EXPECT_EQ(small[2], u'\xFFFF') << "a short buffer takes what fits";
    }
    for (size_t i = 0; i < DifmMessageCount(); ++i) {
      const uint32_t id = DifmMessageIdAt(i);
      uint32_t textBytes = 0, captionBytes = 0, flags = 0xDEAD;
      ASSERT_TRUE(
          DifmGetRealDataMsg(mapped, id, nullptr, &textBytes, nullptr, &captionBytes, &flags));
      EXPECT_TRUE(textBytes > 0 && captionBytes > 0 && flags != 0xDEADu) << id;
    }
    uint32_t bytes = 99;
    EXPECT_FALSE(DifmGetRealDataStr(mapped, 1, nullptr, &bytes)) << "there is no text 1";
    EXPECT_EQ(bytes, 0u);
  }
}

// A Chinese label keeps the English label's keyboard access, written the way
// Chinese Windows writes it: "&Portrait" / "纵向(&P)", the key in brackets
// after the words (before a closing "..."), and no other "&".
TEST_F(DeviceInfoTest, ChineseLabelsKeepTheEnglishKeys) {
  auto key = [](std::u16string_view text) -> char16_t {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != u'&') continue;
      if (text[i + 1] != u'&') return text[i + 1];
      ++i;  // "&&" draws one "&"
    }
    return 0;
  };
  auto upper = [](char16_t c) -> char16_t { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; };
  int keys = 0;
  for (size_t i = 0; i < DifmTextCount(); ++i) {
    const uint32_t id = DifmTextIdAt(i);
    const std::u16string_view en = LookUpText(id, Language::kEnglish);
    const std::u16string_view zh = LookUpText(id, Language::kChinese);
    SCOPED_TRACE(id);
    const char16_t k = key(en);
    if (!k) {
      EXPECT_EQ(key(zh), 0) << "a key the English label does not have";
      continue;
    }
    ++keys;
    const std::u16string mark = std::u16string(u"(&") + upper(k) + u")";
    const size_t at = zh.find(mark);
    ASSERT_NE(at, std::u16string_view::npos) << "no (&" << char(upper(k)) << ")";
    const std::u16string_view rest = zh.substr(at + mark.size());
    EXPECT_TRUE(rest.empty() || rest == u"...") << "the key stands after the words";
    EXPECT_EQ(zh.find(u'&'), at + 1) << "one key only";
  }
  EXPECT_GT(keys, 50);
}

TEST_F(DeviceInfoTest, PaperTable) {
  const std::vector<PaperInfo> papers =
      FetchAll<PaperInfo>([&](void* b) { return DifmGetPaperInfo(h, b, 0); });
  uint32_t installCount = 0, defaultPaper = 0;
  ASSERT_TRUE(DifmLoadRegData(h, 2026, &installCount, 4));
  EXPECT_EQ(installCount, papers.size()) << "APUI_PAPERNUM must match APUI_PAPERINFO";
  ASSERT_TRUE(DifmLoadDefValues(h, 2030, &defaultPaper, 4));
  std::set<uint32_t> ids;
  for (const PaperInfo& p : papers) {
    SCOPED_TRACE(p.paperId);
    EXPECT_TRUE(p.paperId != 0 && ids.insert(p.paperId).second) << "ids are unique, not 0";
    EXPECT_FALSE(TextOf(p.paperName).empty());
    PaperInfo one{};
    ASSERT_TRUE(DifmGetPaperInfo(h, &one, p.paperId));
    EXPECT_EQ(0, std::memcmp(&one, &p, sizeof p));

    // The paper as a user-defined size against a reference of markers: a
    // marker in the result means one of its layout's limits reset a value.
    constexpr uint32_t kMarker = 0x7ABC;
    JobSettings js{};
    js.Paper = p;
    js.dmPaperSize = static_cast<int16_t>(p.paperId);
    js.dmPaperWidth = static_cast<int16_t>(p.paperWidth);
    js.dmPaperLength = static_cast<int16_t>(p.paperLength);
    PaperInfo marker = p;
    for (uint32_t* f : {&marker.paperWidth, &marker.paperLength, &marker.marginTop,
                        &marker.marginBottom, &marker.marginLeft, &marker.marginRight, &marker.gap,
                        &marker.linerLeft, &marker.linerRight})
      *f = kMarker;
    CheckCustomPaperSize(&js, marker);
    EXPECT_EQ(std::tuple(js.dmPaperWidth, js.dmPaperLength),
              std::tuple(int16_t(p.paperWidth), int16_t(p.paperLength)));
    EXPECT_EQ(0, std::memcmp(&js.Paper, &p, sizeof p));
  }
  EXPECT_EQ(ids.count(defaultPaper), 1u) << "default paper " << defaultPaper;
  PaperInfo none{};
  EXPECT_EQ(DifmGetPaperInfo(h, &none, 9999), 0);
}

TEST_F(DeviceInfoTest, MediaResolutionsAndNameLists) {
  std::set<uint32_t> ids;
  for (const MediaData& m : FetchAll<MediaData>(
           [&](void* b) { return b ? DifmGetMediaData(h, b) : DifmGetMediaDataCnt(h); })) {
    EXPECT_TRUE(ids.insert(m.mediaId).second) << m.mediaId;
    EXPECT_TRUE(m.mediaId < kFirstUserMediaId || m.mediaId > kLastUserMediaId) << m.mediaId;
    EXPECT_TRUE(!TextOf(m.mediaName).empty() && m.mediaName[63] == u'\0') << m.mediaId;
  }
  using Pair = std::array<int32_t, 2>;
  const std::vector<Pair> pairs = FetchAll<Pair>(
      [&](void* b) { return DifmGetEnumResolutionsInf(h, static_cast<int32_t*>(b)); });
  Pair preferred{};
  ASSERT_TRUE(DifmLoadDefValues(h, 1006, preferred.data(), 8));
  EXPECT_NE(std::find(pairs.begin(), pairs.end(), preferred), pairs.end()) << "default not listed";

  using Name = std::array<char16_t, kDifmNameEntrySize / 2>;
  const DifmApi api = LinkedDifmApi();
  for (auto list : {api.DifmGetColorMophingInf, api.DifmGetColorMophingMcc3Inf, api.DifmGetGammaInf,
                    api.DifmGetTargetTypeInf, api.DifmGetResolutionInf, api.DifmGetHalftoneInf,
                    api.DifmGetGammaMcc3Inf, api.DifmGetCurveMcc3Inf, api.DifmGetMatchingMcc3Inf}) {
    for (const Name& name : FetchAll<Name>([&](void* b) { return list(h, b); }))
      EXPECT_TRUE(name[0] && std::find(name.begin(), name.end(), u'\0') != name.end());
  }
}

TEST_F(DeviceInfoTest, ForeignHandles) {
  int local = 0;
  for (DifmHandle foreign : {DifmHandle{}, DifmHandle(&local), DifmHandle((char*)h + 1)}) {
    uint32_t bytes = 0;
    EXPECT_EQ(DifmUnMapper(kDifmMagic, foreign), 0);
    EXPECT_EQ(DifmGetCopiesInf(foreign), 0);
    EXPECT_EQ(DifmGetPaperInfo(foreign, nullptr, 0), 0);
    EXPECT_EQ(DifmGetRealDataStr(foreign, 4759, nullptr, &bytes), 0);
  }
  EXPECT_EQ(DifmUnMapper(kDifmMagic - 1, h), 0);
  EXPECT_NE(DifmUnMapper(kDifmMagic, h), 0);
  EXPECT_EQ(DifmMapper(kDifmMagic - 1, kModelName), nullptr);
  EXPECT_EQ(DifmMapper(kDifmMagic, nullptr), nullptr);
  EXPECT_EQ(DifmMapper(kDifmMagic, u""), nullptr);
}

}  // namespace
}  // namespace vq::test
