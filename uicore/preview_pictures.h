// The bitmap ids of the page previews, shared by the drawing code and by
// tools/iconsmith, which draws the bitmaps: one table, so that every id the
// pages ask for is drawn.
#pragma once

#include <cstdint>

namespace vq::preview {

// Stretched behind the sheet: 211 on the basic page (modes 2 and 3), 241 on
// the colour and advanced pages (modes 1, 4 and 5).
inline constexpr uint16_t kFrameBackgrounds[] = {211, 241};

// Behind the orientation picture: {small papers, papers of layout 128 and
// up} for mode 2, then for mode 1.
inline constexpr uint16_t kPictureBackgroundsMode2[2] = {213, 212};
inline constexpr uint16_t kPictureBackgroundsMode1[2] = {257, 240};

// Orientation pictures by shape (tall, wide, square), kind (small, big, big
// with labels across), orientation (portrait, landscape); each cell holds
// the bitmap for PaperOption set, then clear.
using PictureTable = uint16_t[3][3][2][2];
inline constexpr PictureTable kPicturesMode2 = {
    {{{231, 230}, {232, 233}}, {{219, 218}, {220, 221}}, {{372, 371}, {373, 374}}},
    {{{227, 226}, {228, 229}}, {{215, 214}, {217, 216}}, {{368, 367}, {369, 370}}},
    {{{235, 234}, {236, 237}}, {{223, 222}, {224, 225}}, {{376, 375}, {377, 378}}},
};
inline constexpr PictureTable kPicturesMode1 = {
    {{{263, 271}, {264, 265}}, {{247, 246}, {248, 244}}, {{384, 383}, {385, 386}}},
    {{{259, 258}, {260, 256}}, {{238, 242}, {249, 245}}, {{380, 379}, {381, 382}}},
    {{{267, 266}, {268, 269}}, {{251, 255}, {252, 253}}, {{388, 387}, {389, 390}}},
};

// Where a picture is pasted on its background, and the largest picture that
// fits there (the backgrounds are kPictureWidth x kPictureHeight).
inline constexpr int kPictureWidth = 345, kPictureHeight = 120;
inline constexpr int kSmallX = 18, kSmallY = 47, kSmallW = 309, kSmallH = 66;
inline constexpr int kBigX = 4, kBigY = 70, kBigW = 337, kBigH = 46;

}  // namespace vq::preview
