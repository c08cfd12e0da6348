#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
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
  uint32_t RegData(uint32_t id) {
    uint32_t v = 0;
    EXPECT_TRUE(DifmLoadRegData(h, id, &v, 4)) << id;
    return v;
  }
  DifmHandle h = DifmMapper(kDifmMagic, kModelName);
};

// A two-call query fills exactly count x size bytes: the element after is a guard.
template <typename Query>
std::vector<unsigned char> FetchAll(Query query, size_t elementSize, int32_t* count) {
  *count = std::max(query(nullptr), 0);
  EXPECT_GT(*count, 0);
  std::vector<unsigned char> buf((*count + 1) * elementSize, 0xAB);
  EXPECT_EQ(query(buf.data()), *count);
  EXPECT_EQ(std::vector<unsigned char>(buf.end() - elementSize, buf.end()),
            std::vector<unsigned char>(elementSize, 0xAB))
      << "wrote past count x element size";
  buf.resize(*count * elementSize);
  return buf;
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
      EXPECT_GT(textBytes, 0u) << id;
      EXPECT_GT(captionBytes, 0u) << id;
      EXPECT_NE(flags, 0xDEADu) << id;
    }
    uint32_t bytes = 99;
    EXPECT_FALSE(DifmGetRealDataStr(mapped, 1, nullptr, &bytes)) << "there is no text 1";
    EXPECT_EQ(bytes, 0u);
  }
}

TEST_F(DeviceInfoTest, PaperTable) {
  int32_t count = 0;
  const std::vector<unsigned char> bytes =
      FetchAll([&](void* b) { return DifmGetPaperInfo(h, b, 0); }, sizeof(PaperInfo), &count);
  std::vector<PaperInfo> papers(count);
  std::memcpy(papers.data(), bytes.data(), bytes.size());
  EXPECT_EQ(uint32_t(count), RegData(2026)) << "APUI_PAPERNUM install value";
  const uint32_t supported = RegData(2024);
  ASSERT_TRUE(supported >= 1 && supported <= uint32_t(count));
  EXPECT_EQ(papers[supported - 1].paperId, kUserDefinedPaper) << "at APUI_PAPERSUPCOUNT - 1";
  EXPECT_EQ(papers.back().paperId, kUserDefinedPaper);
  uint32_t defaultPaper = 0;
  ASSERT_TRUE(DifmLoadDefValues(h, 2030, &defaultPaper, 4));

  std::set<uint32_t> ids;
  for (const PaperInfo& p : papers) {
    SCOPED_TRACE(p.paperId);
    EXPECT_TRUE(p.paperId != 0 && ids.insert(p.paperId).second) << "ids are unique, not 0";
    EXPECT_TRUE(p.paperWidth >= 240 && p.paperWidth <= 1190) << p.paperWidth;
    EXPECT_FALSE(TextOf(p.paperName).empty());
    EXPECT_EQ(p.printableWidth, p.paperWidth - p.marginLeft - p.marginRight);
    EXPECT_EQ(p.printableLength, p.paperLength - p.marginTop - p.marginBottom);
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
    EXPECT_EQ(js.dmPaperWidth, static_cast<int16_t>(p.paperWidth));
    EXPECT_EQ(js.dmPaperLength, static_cast<int16_t>(p.paperLength));
    EXPECT_EQ(0, std::memcmp(&js.Paper, &p, sizeof p));
  }
  EXPECT_EQ(ids.count(defaultPaper), 1u) << "default paper " << defaultPaper;
  PaperInfo none{};
  EXPECT_EQ(DifmGetPaperInfo(h, &none, 9999), 0);
}

TEST_F(DeviceInfoTest, MediaResolutionsAndNameLists) {
  int32_t count = 0;
  const std::vector<unsigned char> bytes = FetchAll(
      [&](void* b) { return b ? DifmGetMediaData(h, b) : DifmGetMediaDataCnt(h); },
      sizeof(MediaData), &count);
  std::vector<MediaData> media(count);
  std::memcpy(media.data(), bytes.data(), bytes.size());
  std::set<uint32_t> ids, classes;
  for (const MediaData& m : media) {
    SCOPED_TRACE(m.mediaId);
    EXPECT_TRUE(ids.insert(m.mediaId).second);
    EXPECT_TRUE(m.mediaId < kFirstUserMediaId || m.mediaId > kLastUserMediaId);
    EXPECT_TRUE(!TextOf(m.mediaName).empty() && m.mediaName[63] == u'\0');
    EXPECT_EQ(m.profileNumber, 0u) << "built-in media carry no profile";
    classes.insert(m.mediaClass);
  }
  EXPECT_EQ(classes, (std::set<uint32_t>{1, 2, 4}));

  const std::vector<unsigned char> pairBytes = FetchAll(
      [&](void* b) { return DifmGetEnumResolutionsInf(h, static_cast<int32_t*>(b)); }, 8, &count);
  std::vector<std::pair<int32_t, int32_t>> pairs(count);
  std::memcpy(pairs.data(), pairBytes.data(), pairBytes.size());
  int32_t preferred[2] = {};
  ASSERT_TRUE(DifmLoadDefValues(h, 1006, preferred, 8));
  for (auto pair : {std::pair{preferred[0], preferred[1]}, {600, 600}, {1200, 1200}})
    EXPECT_NE(std::find(pairs.begin(), pairs.end(), pair), pairs.end()) << pair.first;

  const DifmApi api = LinkedDifmApi();
  for (auto list : {api.DifmGetColorMophingInf, api.DifmGetColorMophingMcc3Inf, api.DifmGetGammaInf,
                    api.DifmGetTargetTypeInf, api.DifmGetResolutionInf, api.DifmGetHalftoneInf,
                    api.DifmGetGammaMcc3Inf, api.DifmGetCurveMcc3Inf, api.DifmGetMatchingMcc3Inf}) {
    const std::vector<unsigned char> entries =
        FetchAll([&](void* b) { return list(h, b); }, kDifmNameEntrySize, &count);
    for (int32_t i = 0; i < count; ++i) {
      char16_t name[32];
      std::memcpy(name, &entries[i * kDifmNameEntrySize], sizeof name);
      EXPECT_TRUE(name[0] && std::find(name, name + 32, u'\0') != name + 32) << "entry " << i;
    }
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
