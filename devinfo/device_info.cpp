// The device-information module: the Morva VT-Q3120's paper and media lists,
// limits, resolutions, colour lists, install defaults and texts. Portable; the
// Windows DLL adds only its entry point and the UI language lookup.
#include "devinfo/device_info.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <string_view>

#include "devinfo/difm_api.h"
#include "devinfo/paper_media.h"

namespace vq {
namespace {

struct PaperRow {
  uint32_t no, id;
  const char16_t* name;
  uint32_t edit, layout, width, length, top, bottom, left, right, gap, linerLeft, linerRight,
      corner;
};

constexpr PaperRow kPapers[] = {
#define VQ_PAPER(...) PaperRow{__VA_ARGS__},
#include "devinfo/paper_table.inc"
#undef VQ_PAPER
};

struct MediaRow {
  uint32_t id;
  const char16_t* name;
  uint32_t mediaClass;
  uint32_t ink[8];
  uint32_t dryTime;
};

constexpr MediaRow kMedia[] = {
#define VQ_MEDIA(id, name, cls, k1, c1, m1, y1, k2, c2, m2, y2, dry) \
  MediaRow{id, name, cls, {k1, c1, m1, y1, k2, c2, m2, y2}, dry},
#include "devinfo/media_table.inc"
#undef VQ_MEDIA
};

struct TextRow {
  uint32_t id;
  std::u16string_view text[kLanguageCount];
};

constexpr TextRow kTexts[] = {
#define VQ_TEXT(id, en, zh) TextRow{id, {en, zh}},
#include "devinfo/texts.inc"
#undef VQ_TEXT
};

struct MessageRow {
  uint32_t id;
  uint32_t captionId;
  uint32_t style;
  std::u16string_view text[kLanguageCount];
};

constexpr MessageRow kMessages[] = {
#define VQ_MESSAGE(id, caption, style, en, zh) MessageRow{id, caption, style, {en, zh}},
#include "devinfo/messages.inc"
#undef VQ_MESSAGE
};

template <typename Row, size_t N>
constexpr bool SortedById(const Row (&rows)[N]) {
  for (size_t i = 1; i < N; ++i)
    if (rows[i - 1].id >= rows[i].id) return false;
  return true;
}
static_assert(SortedById(kTexts), "texts.inc rows must be sorted by number, no duplicates");
static_assert(SortedById(kMessages), "messages.inc rows must be sorted by number");

constexpr bool PaperTableWellFormed() {
  for (const PaperRow& p : kPapers)
    if (p.width == 0 || p.length == 0 || p.left + p.right >= p.width ||
        p.top + p.bottom >= p.length || std::u16string_view(p.name).size() > 31)
      return false;
  return std::size(kPapers) >= 2 && kPapers[std::size(kPapers) - 1].id == kUserDefinedPaper;
}
// Names fit dmFormName (31 characters), which applications match forms by.
static_assert(PaperTableWellFormed(),
              "every paper needs a printable area and a name of at most 31 characters, "
              "and the last row must be paper 256");

// Resolution pairs (x, y); the first is the install default.
constexpr int32_t kResolutions[][2] = {{600, 600}, {1200, 1200}};
constexpr uint32_t kDefaultPaperId = 1003;  // Label 50 x 30 mm
constexpr int32_t kMaxCopies = 999;
constexpr uint32_t kUserPaperMax = 20;
constexpr uint32_t kFavouritesFixed = 2;  // "Current settings" and "Default settings"
constexpr uint32_t kFavouritesMax = 10;
constexpr uint32_t kNupValues[] = {1, 2, 4, 6, 9, 16};

// Install defaults served by DifmLoadRegData, by id.
struct RegDefault {
  uint32_t id;
  uint32_t value;
};
constexpr RegDefault kRegDefaults[] = {
    {2000, 1},           // raster skip: leave out blank raster lines
    {2001, 0},           // driver command mode off
    {2004, 0xF0000004},  // sleep timers: 4 min, then 240 min (second time byte-reversed)
    {2005, 1},           // scaling allowed
    {2006, 1},           // advanced settings page (pages per sheet) shown
    {2007, 1},           // automatic cutter fitted
    {2008, 0},           // utility page only in the printer properties
    {2009, 0},           // head registration backup off
    {2010, 1},           // colour matching by the device
    {2011, 0},           // stretch mode honoured
    {2012, 0},           // ink counters not reset
    {2013, 0x1B67B},     // utility buttons (0x100, the cutter, is added at install)
    {2015, 128},         // band height in lines
    {2016, 16},          // dot-count blocks
    {2017, 64},
    {2018, 8},           // peak dot-count blocks
    {2019, 32},
    {2020, 20},          // cut stop position: slider position 20 = 0.0 mm
    {2021, 20},          // cut position
    {2024, static_cast<uint32_t>(std::size(kPapers))},  // predefined papers, 256 last
    {2025, kUserPaperMax},
    {2026, static_cast<uint32_t>(std::size(kPapers))},  // records in APUI_PAPERINFO
    {2027, kFavouritesFixed},
    {2028, 0},  // no favourites yet
    {2029, kFavouritesMax},
};

// Colour lists: 64-byte entries that begin with the UTF-16 name.
constexpr uint32_t kColourModeNames[] = {20101, 20102};
constexpr uint32_t kColourModeMcc3Names[] = {20111, 20112, 20113};
constexpr uint32_t kGammaNames[] = {20121, 20122, 20123};
constexpr uint32_t kTargetTypeNames[] = {20131, 20132, 20133};
constexpr uint32_t kResolutionNames[] = {20141, 20142};
constexpr uint32_t kHalftoneNames[] = {20151, 20152};
constexpr uint32_t kGammaMcc3Names[] = {20161, 20162, 20163};
constexpr uint32_t kCurveMcc3Names[] = {20171, 20172, 20173};
constexpr uint32_t kMatchingMcc3Names[] = {20181, 20182};
constexpr uint32_t kBinNameText = 20001;

static_assert(std::size(kResolutionNames) == std::size(kResolutions));

// A mapping is a pointer to one of these; mapping allocates nothing, so
// callers that map on every call pay only for the name check.
struct Mapping {
  uint32_t tag;
  Language language;
};
constexpr uint32_t kMappingTag = 0x4D464944;  // "DIFM"
Mapping g_mappings[kLanguageCount] = {{kMappingTag, Language::kEnglish},
                                      {kMappingTag, Language::kChinese}};

Language (*g_languageSource)() = nullptr;

const Mapping* FromHandle(DifmHandle h) {
  for (const Mapping& m : g_mappings)
    if (h == &m) return &m;
  return nullptr;
}

Language LanguageOf(DifmHandle h) {
  const Mapping* m = FromHandle(h);
  return m ? m->language : Language::kEnglish;
}

template <typename Row, size_t N>
const Row* FindById(const Row (&rows)[N], uint32_t id) {
  const Row* it = std::lower_bound(std::begin(rows), std::end(rows), id,
                                   [](const Row& r, uint32_t v) { return r.id < v; });
  return it != std::end(rows) && it->id == id ? it : nullptr;
}

void CopyName(char16_t* dst, size_t dstChars, std::u16string_view src) {
  const size_t n = std::min(src.size(), dstChars - 1);
  std::copy_n(src.data(), n, dst);
  std::fill(dst + n, dst + dstChars, u'\0');
}

PaperInfo MakePaper(const PaperRow& r) {
  PaperInfo p{};
  p.paperNo = r.no;
  p.paperId = r.id;
  CopyName(p.paperName, std::size(p.paperName), r.name);
  p.customEditable = r.edit;
  p.paperLayout = r.layout;
  p.labelsAcross = 1;
  p.paperWidth = r.width;
  p.paperLength = r.length;
  p.marginTop = r.top;
  p.marginBottom = r.bottom;
  p.marginLeft = r.left;
  p.marginRight = r.right;
  p.printableWidth = r.width - r.left - r.right;
  p.printableLength = r.length - r.top - r.bottom;
  p.gap = r.gap;
  p.linerLeft = r.linerLeft;
  p.linerRight = r.linerRight;
  p.cornerRadius = r.corner;
  return p;
}

MediaData MakeMedia(const MediaRow& r) {
  MediaData m{};
  m.mediaId = r.id;
  CopyName(m.mediaName, std::size(m.mediaName), r.name);
  m.mediaClass = r.mediaClass;
  std::copy(std::begin(r.ink), std::end(r.ink), m.ink);
  m.dryTime = r.dryTime;
  return m;
}

// Two-call copy of a text: null buffer -> size in bytes without terminator;
// otherwise up to *bytes bytes of it. Unknown text: size 0.
int32_t ServeText(std::u16string_view text, bool found, char16_t* buf, uint32_t* bytes) {
  if (!bytes) return 0;
  const uint32_t size = static_cast<uint32_t>(text.size() * sizeof(char16_t));
  if (!buf) {
    *bytes = found ? size : 0;
    return found ? 1 : 0;
  }
  const uint32_t n = std::min(*bytes, size) & ~1u;
  std::memcpy(buf, text.data(), n);
  *bytes = n;
  return found ? 1 : 0;
}

template <size_t N>
int32_t ServeNameList(DifmHandle h, const uint32_t (&ids)[N], void* buf) {
  if (buf) {
    auto* out = static_cast<unsigned char*>(buf);
    for (size_t i = 0; i < N; ++i) {
      char16_t entry[kDifmNameEntrySize / sizeof(char16_t)];
      CopyName(entry, std::size(entry), LookUpText(ids[i], LanguageOf(h)));
      std::memcpy(out + i * kDifmNameEntrySize, entry, sizeof entry);
    }
  }
  return static_cast<int32_t>(N);
}

}  // namespace

std::u16string_view LookUpText(uint32_t id, Language language) {
  const TextRow* row = FindById(kTexts, id);
  return row ? row->text[static_cast<int>(language)] : std::u16string_view{};
}

void SetDifmLanguageSource(Language (*source)()) { g_languageSource = source; }

size_t DifmTextCount() { return std::size(kTexts); }
uint32_t DifmTextIdAt(size_t i) { return i < std::size(kTexts) ? kTexts[i].id : 0; }
size_t DifmMessageCount() { return std::size(kMessages); }
uint32_t DifmMessageIdAt(size_t i) { return i < std::size(kMessages) ? kMessages[i].id : 0; }

DifmApi LinkedDifmApi() {
  DifmApi api;
#define VQ_DIFM_BIND(name, ret, params) api.name = &::name;
  VQ_DIFM_FUNCTIONS(VQ_DIFM_BIND)
#undef VQ_DIFM_BIND
  return api;
}

}  // namespace vq

using namespace vq;

extern "C" {

DifmHandle DifmMapper(uint32_t magic, const char16_t* printerName) {
  // Any printer of this driver is a VT-Q3120; the name only has to be there.
  if (magic != kDifmMagic || !printerName || !*printerName) return nullptr;
  const Language lang = g_languageSource ? g_languageSource() : Language::kEnglish;
  return &g_mappings[static_cast<int>(lang) < kLanguageCount ? static_cast<int>(lang) : 0];
}

int32_t DifmUnMapper(uint32_t magic, DifmHandle h) {
  return magic == kDifmMagic && FromHandle(h) ? 1 : 0;
}

int32_t DifmGetRealDataStr(DifmHandle h, uint32_t id, char16_t* buf, uint32_t* bytes) {
  if (!FromHandle(h)) return 0;
  const std::u16string_view text = LookUpText(id, LanguageOf(h));
  return ServeText(text, !text.empty(), buf, bytes);
}

int32_t DifmGetRealDataMsg(DifmHandle h, uint32_t id, char16_t* text, uint32_t* textBytes,
                           char16_t* caption, uint32_t* captionBytes, uint32_t* mbFlags) {
  if (!FromHandle(h)) return 0;
  const MessageRow* row = FindById(kMessages, id);
  const Language lang = LanguageOf(h);
  const std::u16string_view body = row ? row->text[static_cast<int>(lang)] : u"";
  const std::u16string_view title = row ? LookUpText(row->captionId, lang) : u"";
  if (mbFlags) *mbFlags = row ? row->style : 0;
  const int32_t a = ServeText(body, row != nullptr, text, textBytes);
  const int32_t b = ServeText(title, row != nullptr, caption, captionBytes);
  return a && b;
}

int32_t DifmLoadDefValues(DifmHandle h, uint32_t id, void* buf, uint32_t bytes) {
  if (!FromHandle(h) || !buf) return 0;
  switch (id) {
    case def_value::kDefaultPaper:
      if (bytes < 4) return 0;
      std::memcpy(buf, &kDefaultPaperId, 4);
      return 1;
    case def_value::kResolution:
      if (bytes < 8) return 0;
      std::memcpy(buf, kResolutions[0], 8);
      return 1;
    default:
      return 0;
  }
}

int32_t DifmLoadRegData(DifmHandle h, uint32_t id, void* buf, uint32_t bytes) {
  if (!FromHandle(h) || !buf || bytes < 4) return 0;
  const RegDefault* row = FindById(kRegDefaults, id);
  if (!row) return 0;
  std::memcpy(buf, &row->value, 4);
  return 1;
}

int32_t DifmGetPaperInfo(DifmHandle h, void* buf, uint32_t paperId) {
  if (!FromHandle(h)) return 0;
  if (paperId == 0) {
    if (buf) {
      auto* out = static_cast<unsigned char*>(buf);
      for (const PaperRow& r : kPapers) {
        const PaperInfo p = MakePaper(r);
        std::memcpy(out, &p, sizeof p);
        out += sizeof p;
      }
    }
    return static_cast<int32_t>(std::size(kPapers));
  }
  for (const PaperRow& r : kPapers) {
    if (r.id != paperId) continue;
    if (!buf) return 0;
    const PaperInfo p = MakePaper(r);
    std::memcpy(buf, &p, sizeof p);
    return 1;
  }
  return 0;
}

int32_t DifmGetMediaDataCnt(DifmHandle h) {
  return FromHandle(h) ? static_cast<int32_t>(std::size(kMedia)) : 0;
}

int32_t DifmGetMediaData(DifmHandle h, void* buf) {
  if (!FromHandle(h) || !buf) return 0;
  auto* out = static_cast<unsigned char*>(buf);
  for (const MediaRow& r : kMedia) {
    const MediaData m = MakeMedia(r);
    std::memcpy(out, &m, sizeof m);
    out += sizeof m;
  }
  return static_cast<int32_t>(std::size(kMedia));
}

int32_t DifmGetEnumResolutionsInf(DifmHandle h, int32_t* pairs) {
  if (!FromHandle(h)) return 0;
  if (pairs) std::memcpy(pairs, kResolutions, sizeof kResolutions);
  return static_cast<int32_t>(std::size(kResolutions));
}

int32_t DifmGetCopiesInf(DifmHandle h) { return FromHandle(h) ? kMaxCopies : 0; }
int32_t DifmGetCollateInf(DifmHandle h) { return FromHandle(h) ? 1 : 0; }
int32_t DifmGetTrueTypeInf(DifmHandle h) { return FromHandle(h) ? 1 : 0; }  // DCTT_BITMAP
int32_t DifmGetDuplexInf(DifmHandle) { return 0; }
int32_t DifmGetOrientationInf(DifmHandle h) { return FromHandle(h) ? 90 : 0; }
// Four inches a second: 240 inches a minute (PRINTRATEUNIT_IPM), about 40
// labels of 4 x 6 in a minute.
int32_t DifmGetPrintRateInf(DifmHandle h) { return FromHandle(h) ? 240 : 0; }
int32_t DifmGetPrintRatePPMInf(DifmHandle h) { return FromHandle(h) ? 40 : 0; }
int32_t DifmGetPrintRateUnitInf(DifmHandle h) { return FromHandle(h) ? 4 : 0; }
int32_t DifmGetPrinterMemInf(DifmHandle h) { return FromHandle(h) ? 131072 : 0; }  // KB
int32_t DifmGetStapleInf(DifmHandle) { return 0; }
int32_t DifmGetColorDeviceInf(DifmHandle h) { return FromHandle(h) ? 1 : 0; }

int32_t DifmGetBinNamesInf(DifmHandle h, void* out) {
  if (!FromHandle(h)) return 0;
  if (out) {
    char16_t name[24];  // DC_BINNAMES entries are 24 characters
    CopyName(name, std::size(name), LookUpText(kBinNameText, LanguageOf(h)));
    std::memcpy(out, name, sizeof name);
  }
  return 1;
}

// Extents are answered as DC_MINEXTENT/DC_MAXEXTENT define them: width in the
// low word, length in the high word (0.1 mm), and a POINT when a buffer is given.
static int32_t ServeExtent(DifmHandle h, void* out, int32_t width, int32_t length) {
  if (!FromHandle(h)) return 0;
  if (out) {
    const int32_t point[2] = {width, length};
    std::memcpy(out, point, sizeof point);
  }
  return (length << 16) | width;
}
int32_t DifmGetDeviceCapsMinExtentInf(DifmHandle h, void* out) {
  return ServeExtent(h, out, 240, 60);
}
int32_t DifmGetDeviceCapsMaxExtentInf(DifmHandle h, void* out) {
  return ServeExtent(h, out, 1190, 5000);
}

int32_t DifmGetNupInf(DifmHandle h, void* out) {
  if (!FromHandle(h)) return 0;
  if (out) std::memcpy(out, kNupValues, sizeof kNupValues);
  return static_cast<int32_t>(std::size(kNupValues));
}

#define VQ_NAME_LIST(fn, ids) \
  int32_t fn(DifmHandle h, void* buf) { return FromHandle(h) ? ServeNameList(h, ids, buf) : 0; }
VQ_NAME_LIST(DifmGetColorMophingInf, kColourModeNames)
VQ_NAME_LIST(DifmGetColorMophingMcc3Inf, kColourModeMcc3Names)
VQ_NAME_LIST(DifmGetGammaInf, kGammaNames)
VQ_NAME_LIST(DifmGetTargetTypeInf, kTargetTypeNames)
VQ_NAME_LIST(DifmGetResolutionInf, kResolutionNames)
VQ_NAME_LIST(DifmGetHalftoneInf, kHalftoneNames)
VQ_NAME_LIST(DifmGetGammaMcc3Inf, kGammaMcc3Names)
VQ_NAME_LIST(DifmGetCurveMcc3Inf, kCurveMcc3Names)
VQ_NAME_LIST(DifmGetMatchingMcc3Inf, kMatchingMcc3Names)
#undef VQ_NAME_LIST

}  // extern "C"
