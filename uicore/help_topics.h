// The help file's topics, as the pages and dialogs open them: the topic is
// appended to the help file's path (GetHelpFilePath) and handed to HTML Help.
// Every topic is a page of help/ listed in help/vq312.hhp and help/toc.hhc;
// the tests check the sources and the compiled VQ312.chm against this table.
#pragma once

namespace vq::help {

inline constexpr wchar_t kBasicPage[] = L"::/HBS_INFO.html";
inline constexpr wchar_t kCustomPaperDialog[] = L"::/HPS_PCD_INFO.html";
inline constexpr wchar_t kFavouritesDialog[] = L"::/HBS_SDD_INFO.html";
inline constexpr wchar_t kCutPage[] = L"::/HPS_CSD_INFO.html";
inline constexpr wchar_t kColourPage[] = L"::/HCS_INFO.html";
inline constexpr wchar_t kColourDetailDialog[] = L"::/HCS_DSD_INFO.html";
inline constexpr wchar_t kAdvancedPage[] = L"::/HAS_INFO.html";
inline constexpr wchar_t kOverlayPage[] = L"::/HAS_OLD_INFO.html";  // and the overlay dialog
inline constexpr wchar_t kOverlayHowTo[] = L"::/HAS_OVERLAY_USE.html";
inline constexpr wchar_t kUtilityPageDevice[] = L"::/HUS_INFO.html";     // printer properties
inline constexpr wchar_t kUtilityPageDocument[] = L"::/HUS_INFO2.html";  // printing preferences
inline constexpr wchar_t kSpecialSettingsDialog[] = L"::/HUS_SSD_INFO.html";
inline constexpr wchar_t kHeadAdjustDialog[] = L"::/HUS_HPD_INFO.html";
inline constexpr wchar_t kHeadAdjustPattern[] = L"::/LI_HEAD_ALIGNMENT.html";
inline constexpr wchar_t kDetailedHeadAdjustDialog[] = L"::/HUS_HPDD_INFO.html";
inline constexpr wchar_t kDetailedHeadAdjustPattern[] = L"::/LI_HEAD_ALIGNMENT_DETAIL.html";
inline constexpr wchar_t kSleepTimerDialog[] = L"::/HUS_STD_INFO.html";
inline constexpr wchar_t kCutterPositionDialog[] = L"::/HUS_CPD_INFO.html";
inline constexpr wchar_t kReceiptColourDialog[] = L"::/HUS_RSD_INFO.html";
inline constexpr wchar_t kMediaEditorDialog[] = L"::/HUS_CPTD_INFO.html";

struct Topic {
  const wchar_t* topic;
  const char* shownBy;
};

inline constexpr Topic kTopics[] = {
    {kBasicPage, "basic settings page"},
    {kCustomPaperDialog, "custom paper dialog"},
    {kFavouritesDialog, "favorites dialog"},
    {kCutPage, "cut settings page"},
    {kColourPage, "color page"},
    {kColourDetailDialog, "color adjustment dialog"},
    {kAdvancedPage, "advanced page"},
    {kOverlayPage, "overlay forms page and overlay settings dialog"},
    {kOverlayHowTo, "overlay forms page, How to Use"},
    {kUtilityPageDevice, "maintenance page in the printer properties"},
    {kUtilityPageDocument, "maintenance page in printing preferences"},
    {kSpecialSettingsDialog, "special settings dialog"},
    {kHeadAdjustDialog, "head position adjustment dialog"},
    {kHeadAdjustPattern, "head position adjustment, How to Read the Pattern"},
    {kDetailedHeadAdjustDialog, "detailed head position adjustment dialog"},
    {kDetailedHeadAdjustPattern, "detailed head position adjustment, How to Read the Pattern"},
    {kSleepTimerDialog, "sleep timer dialog"},
    {kCutterPositionDialog, "cutter position dialog"},
    {kReceiptColourDialog, "color replacement dialog"},
    {kMediaEditorDialog, "custom media type editor"},
};

}  // namespace vq::help
