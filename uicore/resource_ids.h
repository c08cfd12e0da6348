// Ids of the icons and bitmaps the pages take from the resource module
// VQ312RD.dll (drawn by tools/iconsmith). Layout tables name the icons their
// statics show directly; these are the ones code asks for.
#pragma once

#include <cstdint>

namespace vq::rd {

// Tab icons, 16 x 16 on the tabs.
inline constexpr uint16_t kBasicTabIcon = 151;
inline constexpr uint16_t kColourTabIcon = 152;
inline constexpr uint16_t kCutTabIcon = 457;
inline constexpr uint16_t kOverlayTabIcon = 455;
inline constexpr uint16_t kAdvancedTabIcon = 355;
inline constexpr uint16_t kUtilityTabIcon = 150;

}  // namespace vq::rd
