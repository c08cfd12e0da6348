// iconsmith: draws the icons and bitmaps of VQ312RD.dll from the shape
// descriptions below, so they can be redrawn at any time. Icons are drawn
// for 192 DPI (the pages scale them down); one style throughout: a rounded
// tile in the subsystem's colour with a white glyph, anti-aliased by 4x4
// supersampling.
//
//   iconsmith OUTDIR     writes OUTDIR/<id>.ico, OUTDIR/<id>.bmp and OUTDIR/resources.rc
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "uicore/preview_pictures.h"

namespace {

struct Rgba {
  uint8_t r, g, b, a;
};

// Coverage of a shape at a point in unit coordinates (0..1 across the icon).
using Shape = std::function<bool(double x, double y)>;

Shape RoundRect(double x0, double y0, double x1, double y1, double r) {
  return [=](double x, double y) {
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    const double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}
Shape Rect(double x0, double y0, double x1, double y1) { return RoundRect(x0, y0, x1, y1, 0); }
Shape Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
Shape Ring(double cx, double cy, double r, double w) {
  return [=](double x, double y) {
    const double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
    return d <= r && d >= r - w;
  };
}
Shape Line(double x0, double y0, double x1, double y1, double w) {
  return [=](double x, double y) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    const double px = x0 + t * dx - x, py = y0 + t * dy - y;
    return px * px + py * py <= w * w / 4;
  };
}
Shape Union(std::vector<Shape> parts) {
  return [=](double x, double y) {
    for (const Shape& s : parts)
      if (s(x, y)) return true;
    return false;
  };
}
Shape Minus(Shape a, Shape b) {
  return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

struct Layer {
  Shape shape;
  Rgba colour;
};

class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, Rgba{0, 0, 0, 0}) {}
  void Draw(const Layer& layer) {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx)
            hits += layer.shape((x + (sx + 0.5) / 4) / w_, (y + (sy + 0.5) / 4) / h_);
        if (!hits) continue;
        Blend(px_[static_cast<size_t>(y) * w_ + x], layer.colour, hits / 16.0);
      }
  }
  // Opaque pixels x0..x1-1 by y0..y1-1 (clipped): the printed patterns are
  // lines one dot wide, drawn as they are.
  void Fill(int x0, int y0, int x1, int y1, Rgba colour) {
    for (int y = std::max(y0, 0); y < std::min(y1, h_); ++y)
      for (int x = std::max(x0, 0); x < std::min(x1, w_); ++x) px_[static_cast<size_t>(y) * w_ + x] = colour;
  }
  int width() const { return w_; }
  int height() const { return h_; }
  const Rgba& at(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }

 private:
  static void Blend(Rgba& d, Rgba s, double cover) {
    const double a = s.a / 255.0 * cover, da = d.a / 255.0, oa = a + da * (1 - a);
    if (oa <= 0) return;
    auto mix = [&](uint8_t sc, uint8_t dc) {
      return static_cast<uint8_t>(std::lround((sc * a + dc * da * (1 - a)) / oa));
    };
    d = Rgba{mix(s.r, d.r), mix(s.g, d.g), mix(s.b, d.b), static_cast<uint8_t>(std::lround(oa * 255))};
  }
  int w_, h_;
  std::vector<Rgba> px_;
};

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// One 32-bit BGRA image with its AND mask, as .ico files hold them.
std::vector<uint8_t> IconFile(const Canvas& c) {
  std::vector<uint8_t> dib;
  Put32(dib, 40);
  Put32(dib, c.width());
  Put32(dib, c.height() * 2);  // colour and mask
  Put16(dib, 1);
  Put16(dib, 32);
  for (int i = 0; i < 6; ++i) Put32(dib, 0);
  for (int y = c.height() - 1; y >= 0; --y)
    for (int x = 0; x < c.width(); ++x) {
      const Rgba p = c.at(x, y);
      dib.insert(dib.end(), {p.b, p.g, p.r, p.a});
    }
  const int maskStride = ((c.width() + 31) / 32) * 4;
  for (int y = c.height() - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < c.width(); ++x)
      if (c.at(x, y).a == 0) row[x / 8] |= 0x80 >> (x % 8);
    dib.insert(dib.end(), row.begin(), row.end());
  }
  std::vector<uint8_t> ico;
  Put16(ico, 0);
  Put16(ico, 1);
  Put16(ico, 1);
  ico.push_back(c.width() >= 256 ? 0 : c.width());
  ico.push_back(c.height() >= 256 ? 0 : c.height());
  ico.push_back(0);
  ico.push_back(0);
  Put16(ico, 1);
  Put16(ico, 32);
  Put32(ico, static_cast<uint32_t>(dib.size()));
  Put32(ico, 22);
  ico.insert(ico.end(), dib.begin(), dib.end());
  return ico;
}

// A 24-bit bottom-up BMP on white.
std::vector<uint8_t> BitmapFile(const Canvas& c) {
  const int stride = (c.width() * 3 + 3) & ~3;
  std::vector<uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + stride * c.height());
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, c.width());
  Put32(b, c.height());
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, stride * c.height());
  for (int i = 0; i < 4; ++i) Put32(b, 0);
  for (int y = c.height() - 1; y >= 0; --y) {
    for (int x = 0; x < c.width(); ++x) {
      const Rgba p = c.at(x, y);
      auto over = [&](uint8_t v) { return static_cast<uint8_t>((v * p.a + 255 * (255 - p.a)) / 255); };
      b.insert(b.end(), {over(p.b), over(p.g), over(p.r)});
    }
    b.insert(b.end(), stride - c.width() * 3, 0);
  }
  return b;
}

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kPaperTile{38, 110, 196, 255};     // paper and cutting: blue
constexpr Rgba kColourTile{200, 72, 120, 255};    // colour: magenta
constexpr Rgba kLayoutTile{64, 140, 92, 255};     // layout and order: green
constexpr Rgba kUtilityTile{96, 96, 110, 255};    // maintenance: slate
constexpr Rgba kInk[4] = {{0, 174, 239, 255}, {236, 0, 140, 255}, {255, 221, 0, 255}, {35, 31, 32, 255}};

Layer Tile(Rgba colour) { return {RoundRect(0.04, 0.04, 0.96, 0.96, 0.18), colour}; }

// A label on its liner: the glyph of everything about paper.
Shape LabelGlyph() {
  return Minus(RoundRect(0.22, 0.2, 0.78, 0.8, 0.08), Rect(0.3, 0.56, 0.7, 0.62));
}

struct IconDef {
  int id;
  int size;  // pixels at 192 DPI
  std::vector<Layer> layers;
};

std::vector<IconDef> Icons() {
  const Shape label = LabelGlyph();
  const Shape scissors = Union({Ring(0.33, 0.7, 0.12, 0.05), Ring(0.67, 0.7, 0.12, 0.05),
                                Line(0.38, 0.6, 0.7, 0.2, 0.07), Line(0.62, 0.6, 0.3, 0.2, 0.07)});
  const Shape layers = Union({Minus(RoundRect(0.2, 0.2, 0.65, 0.65, 0.05), RoundRect(0.28, 0.28, 0.57, 0.57, 0.02)),
                              RoundRect(0.35, 0.35, 0.8, 0.8, 0.05)});
  const Shape grid = Union({Rect(0.22, 0.22, 0.47, 0.47), Rect(0.53, 0.22, 0.78, 0.47),
                            Rect(0.22, 0.53, 0.47, 0.78), Rect(0.53, 0.53, 0.78, 0.78)});
  const Shape wrench = Union({Ring(0.36, 0.36, 0.17, 0.08), Line(0.45, 0.45, 0.78, 0.78, 0.12)});
  const Shape portrait = RoundRect(0.32, 0.18, 0.68, 0.82, 0.04);
  const Shape landscape = RoundRect(0.18, 0.32, 0.82, 0.68, 0.04);
  const Shape copies = Union({Minus(RoundRect(0.2, 0.2, 0.6, 0.7, 0.04), RoundRect(0.27, 0.27, 0.53, 0.63, 0.02)),
                              RoundRect(0.4, 0.32, 0.8, 0.82, 0.04)});
  const Shape star = Union({Line(0.5, 0.18, 0.5, 0.82, 0.1), Line(0.2, 0.4, 0.8, 0.4, 0.1),
                            Line(0.3, 0.78, 0.7, 0.78, 0.1)});
  const Shape drop = Union({Circle(0.5, 0.58, 0.22), Line(0.5, 0.18, 0.5, 0.5, 0.16)});
  const Shape lock = Union({Minus(RoundRect(0.32, 0.18, 0.68, 0.52, 0.16), RoundRect(0.4, 0.26, 0.6, 0.6, 0.1)),
                            RoundRect(0.26, 0.44, 0.74, 0.82, 0.06)});
  const Shape option = Union({Rect(0.22, 0.3, 0.78, 0.38), Rect(0.22, 0.48, 0.78, 0.56), Rect(0.22, 0.66, 0.6, 0.74)});
  const Shape cutEvery = Union({Rect(0.15, 0.3, 0.85, 0.7), });
  const Shape order12 = Union({Line(0.3, 0.3, 0.3, 0.7, 0.08), Line(0.5, 0.3, 0.72, 0.3, 0.08),
                               Line(0.72, 0.3, 0.5, 0.7, 0.08), Line(0.5, 0.7, 0.74, 0.7, 0.08)});
  const Shape levelLow = Union({Rect(0.2, 0.6, 0.34, 0.8)});
  const Shape levelHigh = Union({Rect(0.2, 0.6, 0.34, 0.8), Rect(0.43, 0.42, 0.57, 0.8), Rect(0.66, 0.22, 0.8, 0.8)});
  std::vector<IconDef> icons = {
      // Tab icons (16 px at 96 DPI).
      {151, 32, {Tile(kPaperTile), {label, kWhite}}},
      {152, 32, {Tile(kColourTile), {drop, kWhite}}},
      {457, 32, {Tile(kPaperTile), {scissors, kWhite}}},
      {455, 32, {Tile(kPaperTile), {layers, kWhite}}},
      {355, 32, {Tile(kLayoutTile), {grid, kWhite}}},
      {150, 32, {Tile(kUtilityTile), {wrench, kWhite}}},
      // Basic settings page.
      {281, 64, {Tile(kPaperTile), {star, kWhite}}},
      {175, 64, {Tile(kPaperTile), {label, kWhite}}},
      {176, 64, {Tile(kPaperTile), {option, kWhite}}},
      {170, 64, {Tile(kPaperTile), {copies, kWhite}}},
      {173, 64, {Tile(kPaperTile), {portrait, kWhite}}},
      {172, 64, {Tile(kPaperTile), {landscape, kWhite}}},
      {171, 64, {Tile(kPaperTile), {lock, kWhite}}},
      // Colour page.
      {145, 64, {Tile(kColourTile), {Circle(0.38, 0.4, 0.16), kInk[0]}, {Circle(0.62, 0.4, 0.16), kInk[1]},
                 {Circle(0.5, 0.62, 0.16), kInk[2]}}},
      // Cut settings page: first and second mode.
      {389, 64, {Tile(kPaperTile), {cutEvery, kWhite}, {Line(0.5, 0.18, 0.5, 0.82, 0.06), kInk[1]}}},
      {390, 64, {Tile(kPaperTile), {cutEvery, kWhite}, {Line(0.36, 0.18, 0.36, 0.82, 0.06), kInk[1]},
                 {Line(0.64, 0.18, 0.64, 0.82, 0.06), kInk[1]}}},
      // Advanced settings page.
      {342, 64, {Tile(kLayoutTile), {order12, kWhite}}},
      {340, 64, {Tile(kLayoutTile), {Line(0.3, 0.3, 0.3, 0.7, 0.08), kWhite}, {Line(0.55, 0.3, 0.75, 0.7, 0.08), kWhite}}},
      // Print level: slow and fast ends of the slider, and the same greyed
      // while the printer chooses the level itself.
      {382, 64, {Tile(kLayoutTile), {levelLow, kWhite}}},
      {381, 64, {Tile(kLayoutTile), {levelHigh, kWhite}}},
      {384, 64, {Tile({170, 176, 172, 255}), {levelLow, {235, 235, 235, 255}}}},
      {383, 64, {Tile({170, 176, 172, 255}), {levelHigh, {235, 235, 235, 255}}}},
      {333, 64, {Tile(kLayoutTile), {grid, kWhite}}},
      {341, 64, {Tile(kLayoutTile), {Minus(Rect(0.2, 0.2, 0.8, 0.8), Rect(0.26, 0.26, 0.74, 0.74)), kWhite}}},
      // Favourites lists (16 px): the current settings (a pencil over a
      // label), the defaults (a label with a check), a saved favourite (a
      // star) and one that cannot be used here (a star struck through).
      {291, 32, {Tile(kPaperTile), {label, kWhite}, {Line(0.5, 0.78, 0.84, 0.3, 0.1), {255, 196, 0, 255}}}},
      {296, 32, {Tile(kPaperTile), {label, kWhite},
                 {Union({Line(0.3, 0.5, 0.45, 0.68, 0.09), Line(0.45, 0.68, 0.76, 0.3, 0.09)}), {40, 160, 70, 255}}}},
      {298, 32, {Tile({230, 160, 20, 255}), {star, kWhite}}},
      {299, 32, {Tile({150, 150, 150, 255}), {star, {225, 225, 225, 255}},
                 {Line(0.18, 0.82, 0.82, 0.18, 0.1), {200, 40, 40, 255}}}},
      // Settings summary rows (16 px in the list).
      {283, 32, {Tile(kPaperTile), {Union({Rect(0.2, 0.5, 0.5, 0.8), Line(0.45, 0.55, 0.78, 0.22, 0.08),
                                           Rect(0.6, 0.2, 0.8, 0.28), Rect(0.72, 0.2, 0.8, 0.4)}), kWhite}}},
      {140, 32, {Tile(kColourTile), {Circle(0.5, 0.5, 0.28), {60, 60, 60, 255}},
                 {Minus(Circle(0.5, 0.5, 0.28), Rect(0.5, 0, 1, 1)), {220, 220, 220, 255}}}},
      {375, 32, {Tile(kPaperTile), {scissors, kWhite}}},
      {388, 32, {Tile(kPaperTile), {layers, kWhite}}},
      {142, 32, {Tile(kColourTile), {drop, kInk[0]}}},
      {144, 32, {Tile(kColourTile), {drop, kInk[1]}}},
      {143, 32, {Tile(kColourTile), {drop, kInk[2]}}},
      {394, 32, {Tile(kUtilityTile), {option, kWhite}}},
  };
  return icons;
}

// Shapes in the pixels of a w x h canvas (the shape functions work in 0..1).
struct Px {
  double w, h;
  Shape Box(double x0, double y0, double x1, double y1, double r = 0) const {
    return RoundRect(x0 / w, y0 / h, x1 / w, y1 / h, r / std::max(w, h));
  }
};

// A digit of seven segments in the box (x, y, cw, ch), strokes t thick.
Shape Digit(const Px& px, int d, double x, double y, double cw, double ch, double t) {
  static constexpr uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  const double m = y + ch / 2;
  const Shape seg[7] = {px.Box(x, y, x + cw, y + t),           px.Box(x + cw - t, y, x + cw, m),
                        px.Box(x + cw - t, m, x + cw, y + ch), px.Box(x, y + ch - t, x + cw, y + ch),
                        px.Box(x, m, x + t, y + ch),           px.Box(x, y, x + t, m),
                        px.Box(x, m - t / 2, x + cw, m + t / 2)};
  std::vector<Shape> on;
  for (int i = 0; i < 7; ++i)
    if (kSegments[d % 10] & (1 << i)) on.push_back(seg[i]);
  return Union(on);
}

constexpr Rgba kLiner{226, 214, 186, 255};
constexpr Rgba kLabelEdge{150, 150, 150, 255};
constexpr Rgba kPrint{120, 128, 140, 255};
constexpr Rgba kCopyTint{214, 232, 250, 255};

// The cut illustration: nine labels on their liner, seen from above, the
// strip leaving the printer to the left. The page draws the cut lines over
// it, so the geometry is fixed: label boundaries every 53 pixels from
// x = 77, edges at 18 and 506, lines from y = 20 to 95. Every N labels
// (473) numbers the labels 1..9; after each copy (474) shows three copies of
// three pages, the middle copy tinted.
Canvas CutStrip(bool copies) {
  Canvas c(524, 115);
  const Px px{524, 115};
  c.Draw({px.Box(0, 0, 524, 115), {255, 255, 255, 255}});
  c.Draw({px.Box(0, 24, 524, 91), kLiner});
  for (int k = 0; k < 9; ++k) {
    const double x0 = 24 + 53.0 * k + 3, x1 = 24 + 53.0 * (k + 1) - 3;
    const bool tinted = copies && k / 3 == 1;
    c.Draw({px.Box(x0, 29, x1, 86, 5), kLabelEdge});
    c.Draw({px.Box(x0 + 1, 30, x1 - 1, 85, 4), tinted ? kCopyTint : kWhite});
    c.Draw({Digit(px, copies ? k % 3 + 1 : k + 1, x0 + 6, 36, 11, 18, 2.5), kPrint});
    for (int line = 0; line < 3; ++line)
      c.Draw({px.Box(x0 + 6, 60 + 7.0 * line, x1 - 6 - 8 * (line == 2), 63 + 7.0 * line), {190, 196, 204, 255}});
  }
  // Feed direction.
  c.Draw({Union({px.Box(420, 100, 470, 103), Line(420.0 / 524, 101.5 / 115, 428.0 / 524, 96.0 / 115, 0.006),
                 Line(420.0 / 524, 101.5 / 115, 428.0 / 524, 107.0 / 115, 0.006)}),
          kPrint});
  return c;
}


// The utility page's picture buttons: a wide slate face (darker and shifted
// by a pixel while pressed) with the operation's glyph on its left and the
// four ink colours as a strip on its right, drawn at twice the button's
// 92 x 31 pixels so the page can scale it down at any DPI.
Shape Fit(Shape glyph, double x0, double y0, double x1, double y1) {
  return [=](double x, double y) {
    return x >= x0 && x <= x1 && y >= y0 && y <= y1 && glyph((x - x0) / (x1 - x0), (y - y0) / (y1 - y0));
  };
}

Canvas ButtonPicture(const Shape& glyph, bool pressed) {
  constexpr int kW = 184, kH = 62;
  Canvas c(kW, kH);
  const double dx = pressed ? 2.0 / kW : 0, dy = pressed ? 2.0 / kH : 0;
  c.Draw({Rect(0, 0, 1, 1), {236, 236, 240, 255}});
  c.Draw({RoundRect(0.015 + dx, 0.05 + dy, 0.985 + dx, 0.95 + dy, 0.06),
          pressed ? Rgba{70, 70, 84, 255} : Rgba{96, 96, 110, 255}});
  c.Draw({Fit(glyph, 0.06 + dx, 0.12 + dy, 0.06 + 0.76 * kH / kW + dx, 0.88 + dy), kWhite});
  for (int i = 0; i < 4; ++i) {
    const double x0 = 0.56 + 0.09 * i + dx;
    c.Draw({RoundRect(x0, 0.36 + dy, x0 + 0.065, 0.64 + dy, 0.02), kInk[i]});
  }
  return c;
}

// A page-layout picture: one label holding `columns` x `rows` pages in
// reading order, as the advanced page stretches it into its sheet.
Canvas LayoutSheet(bool wide, int columns, int rows) {
  const int w = wide ? 240 : 192, h = wide ? 192 : 240;
  Canvas c(w, h);
  const Px px{double(w), double(h)};
  c.Draw({px.Box(0, 0, w, h), kWhite});
  const double margin = 8, gap = 6;
  const double cw = (w - 2 * margin - gap * (columns - 1)) / columns;
  const double ch = (h - 2 * margin - gap * (rows - 1)) / rows;
  for (int r = 0; r < rows; ++r)
    for (int col = 0; col < columns; ++col) {
      const double x = margin + col * (cw + gap), y = margin + r * (ch + gap);
      c.Draw({px.Box(x, y, x + cw, y + ch), {200, 206, 214, 255}});
      c.Draw({px.Box(x + 1, y + 1, x + cw - 1, y + ch - 1), {246, 248, 252, 255}});
      const int page = r * columns + col + 1;
      const double dh = std::min(ch * 0.45, cw * 0.7), dw = dh * 0.55, t = std::max(1.5, dh / 8);
      const double dx = x + cw / 2 - (page > 9 ? dw + t : dw / 2), dy = y + ch * 0.12;
      c.Draw({Digit(px, page > 9 ? page / 10 : page, dx, dy, dw, dh, t), kLayoutTile});
      if (page > 9) c.Draw({Digit(px, page % 10, dx + dw + 2 * t, dy, dw, dh, t), kLayoutTile});
      for (int line = 0; line < 3; ++line) {
        const double ly = dy + dh + ch * (0.1 + 0.1 * line);
        if (ly + 2 < y + ch - 2)
          c.Draw({px.Box(x + cw * 0.15, ly, x + cw * (line == 2 ? 0.6 : 0.85), ly + std::max(1.5, ch / 40)),
                  {180, 186, 196, 255}});
      }
    }
  return c;
}

struct BitmapDef {
  int id;
  std::function<Canvas()> draw;
};

std::vector<BitmapDef> Bitmaps() {
  std::vector<BitmapDef> bitmaps = {{473, [] { return CutStrip(false); }},
                                    {474, [] { return CutStrip(true); }}};
  // 432..443: pages per label 1, 2, 4, 6, 9, 16 in portrait (432 + i) and
  // landscape (433, 439..443); 2 and 6 pages also come side by side (434,
  // 436) and stacked (439, 441), whichever the label's proportions need.
  struct Sheet {
    int id;
    bool wide;
    int columns, rows;
  };
  const Sheet sheets[] = {{432, false, 1, 1}, {433, true, 1, 1},  {434, true, 2, 1},
                          {439, false, 1, 2}, {435, false, 2, 2}, {440, true, 2, 2},
                          {436, true, 3, 2},  {441, false, 2, 3}, {437, false, 3, 3},
                          {442, true, 3, 3},  {438, false, 4, 4}, {443, true, 4, 4}};
  for (const Sheet& s : sheets) bitmaps.push_back({s.id, [s] { return LayoutSheet(s.wide, s.columns, s.rows); }});
  return bitmaps;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(f);
}

#include "tools/iconsmith/preview_art.inc"
#include "tools/iconsmith/head_art.inc"

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: iconsmith OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  std::string rc = "// Generated by iconsmith: the icons and bitmaps of VQ312RD.dll.\n";
  for (const IconDef& icon : Icons()) {
    Canvas c(icon.size, icon.size);
    for (const Layer& l : icon.layers) c.Draw(l);
    const std::string file = std::to_string(icon.id) + ".ico";
    if (!WriteFile(dir + "/" + file, IconFile(c))) return 1;
    rc += std::to_string(icon.id) + " ICON \"" + file + "\"\n";
  }
  for (const BitmapDef& bitmap : Bitmaps()) {
    const std::string file = std::to_string(bitmap.id) + ".bmp";
    if (!WriteFile(dir + "/" + file, BitmapFile(bitmap.draw()))) return 1;
    rc += std::to_string(bitmap.id) + " BITMAP \"" + file + "\"\n";
  }
  if (!WritePreviewArt(dir, rc)) return 1;
  if (!WriteHeadArt(dir, rc)) return 1;
  {
    const Shape drop = Union({Circle(0.5, 0.6, 0.24), Line(0.5, 0.16, 0.5, 0.5, 0.18)});
    const Shape nozzles = Union({Line(0.2, 0.2, 0.2, 0.8, 0.08), Line(0.4, 0.2, 0.4, 0.8, 0.08),
                                 Line(0.6, 0.2, 0.6, 0.8, 0.08), Line(0.8, 0.2, 0.8, 0.8, 0.08)});
    const Shape eye = Union({Ring(0.5, 0.5, 0.3, 0.08), Circle(0.5, 0.5, 0.1)});
    const Shape cross = Union({Ring(0.5, 0.5, 0.28, 0.07), Line(0.5, 0.1, 0.5, 0.9, 0.07),
                               Line(0.1, 0.5, 0.9, 0.5, 0.07)});
    const Shape info = Union({Circle(0.5, 0.22, 0.09), Line(0.5, 0.4, 0.5, 0.86, 0.14)});
    const Shape feed = Union({Minus(RoundRect(0.25, 0.12, 0.75, 0.6, 0.05), Rect(0.32, 0.4, 0.68, 0.46)),
                              Line(0.5, 0.66, 0.5, 0.9, 0.08), Line(0.36, 0.76, 0.5, 0.9, 0.08),
                              Line(0.64, 0.76, 0.5, 0.9, 0.08)});
    const Shape clock = Union({Ring(0.5, 0.5, 0.36, 0.08), Line(0.5, 0.5, 0.5, 0.26, 0.07),
                               Line(0.5, 0.5, 0.68, 0.6, 0.07)});
    const Shape exchange = Union({Circle(0.36, 0.62, 0.18), Line(0.36, 0.24, 0.36, 0.5, 0.14),
                                  Line(0.64, 0.2, 0.84, 0.4, 0.07), Line(0.84, 0.4, 0.64, 0.6, 0.07)});
    const Shape monitor = Union({Minus(RoundRect(0.14, 0.18, 0.86, 0.68, 0.04), Rect(0.22, 0.26, 0.78, 0.6)),
                                 Rect(0.44, 0.68, 0.56, 0.8), Rect(0.3, 0.8, 0.7, 0.86)});
    const Shape switches = Union({Rect(0.16, 0.24, 0.84, 0.3), Rect(0.16, 0.47, 0.84, 0.53),
                                  Rect(0.16, 0.7, 0.84, 0.76), Circle(0.34, 0.27, 0.09),
                                  Circle(0.66, 0.5, 0.09), Circle(0.44, 0.73, 0.09)});
    const Shape cutter = Union({Ring(0.33, 0.7, 0.13, 0.06), Ring(0.67, 0.7, 0.13, 0.06),
                                Line(0.38, 0.58, 0.72, 0.14, 0.08), Line(0.62, 0.58, 0.28, 0.14, 0.08)});
    const Shape box = Union({Minus(Rect(0.18, 0.3, 0.82, 0.84), Rect(0.26, 0.38, 0.74, 0.76)),
                             Rect(0.12, 0.22, 0.88, 0.3), Rect(0.4, 0.5, 0.6, 0.56)});
    const Shape colours = Union({Circle(0.36, 0.38, 0.18), Circle(0.64, 0.38, 0.18), Circle(0.5, 0.64, 0.18)});
    const Shape deep = Union({Circle(0.3, 0.64, 0.16), Line(0.3, 0.28, 0.3, 0.54, 0.12),
                              Circle(0.7, 0.64, 0.16), Line(0.7, 0.28, 0.7, 0.54, 0.12)});
    const Shape drain = Union({drop, Rect(0.12, 0.9, 0.88, 0.96)});
    const Shape media = Union({Minus(RoundRect(0.16, 0.16, 0.62, 0.62, 0.05), RoundRect(0.24, 0.24, 0.54, 0.54, 0.02)),
                               RoundRect(0.38, 0.38, 0.84, 0.84, 0.05)});
    const struct {
      int normal, pressed;
      Shape glyph;
    } pictures[] = {
        {178, 179, nozzles}, {471, 472, drop},     {180, 181, eye},     {194, 191, cross},
        {193, 192, info},    {184, 177, feed},     {183, 182, clock},   {202, 201, exchange},
        {188, 187, monitor}, {186, 185, switches}, {424, 425, cutter},  {200, 199, box},
        {481, 480, colours}, {479, 478, deep},     {477, 476, drain},   {499, 498, media},
    };
    for (const auto& p : pictures) {
      for (bool pressed : {false, true}) {
        const int id = pressed ? p.pressed : p.normal;
        const std::string file = std::to_string(id) + ".bmp";
        if (!WriteFile(dir + "/" + file, BitmapFile(ButtonPicture(p.glyph, pressed)))) return 1;
        rc += std::to_string(id) + " BITMAP \"" + file + "\"\n";
      }
    }
  }
  std::ofstream(dir + "/resources.rc") << rc;
  return 0;
}
