// bdfgen: writes the twelve bitmap fonts of the library (BDF 2.1) from its
// own stroke fonts, so that no font files of others are needed:
//
//   complx10 .. complx18   the complex roman alphabet, thin strokes
//   simplx8 .. simplx14    the standard alphabet, thin strokes
//   helve10 .. helve18     the standard alphabet with a broad round pen
//
// The strokes are drawn at the pixel size of the file: the capitals are
// size - 1 pixels high, as stroke text of that height in pixels. A pixel is
// set when its centre lies within half the pen width of a stroke. Glyphs
// are encoded by their ISO 8859-1 codes.
//
// Usage: bdfgen <directory>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "text/glyphs/glyphs.h"

namespace {

struct Point {
  double x, y;
};
using Stroke = std::vector<Point>;

// One stroke alphabet in the packed encoding of the library.
struct Alphabet {
  const std::int16_t* points;
  int pointCount;
  const std::int16_t* index;
  int indexWords;
  int count;        // character indices covered (2 = code 33)
  int gridHeight;
  int blankWidth;   // grid units
};

template <std::size_t N>
int size(const std::int16_t (&)[N]) {
  return static_cast<int>(N);
}

void unpack(std::int16_t word, double scale, double& x, double& y) {
  std::uint16_t w = static_cast<std::uint16_t>(word);
  x = scale * static_cast<std::int8_t>(w & 0xFF);
  y = scale * static_cast<std::int8_t>(w >> 8);
}

// The strokes of a character index in grid units, Y up; empty for a blank
// or an index the alphabet does not have.
std::vector<Stroke> strokes(const Alphabet& a, int index) {
  std::vector<Stroke> out;
  if (index < 2 || index > a.count) return out;
  int at = 0;
  for (int k = 2; k < index; ++k) {
    if (a.index[at] < 1) return out;
    at += a.index[at];
    if (at >= a.indexWords) return out;
  }
  const std::int16_t* rec = a.index + at;
  int len = rec[0];
  if (len < 1 || at + len > a.indexWords) return out;
  for (int k = 1; k + 1 < len;) {
    int count = rec[k], start = rec[k + 1] - 1;
    double dx = 0, dy = 0;
    if (count < 0) {
      if (k + 2 >= len) break;
      unpack(rec[k + 2], 0.5, dx, dy);
      count = -count;
      k += 3;
    } else {
      k += 2;
    }
    Stroke s;
    for (int i = 0; i < count && start + i < a.pointCount; ++i) {
      double x, y;
      unpack(a.points[start + i], 1.0, x, y);
      s.push_back({x + dx, y + dy});
    }
    if (!s.empty()) out.push_back(s);
  }
  return out;
}

double distance(Point p, Point a, Point b) {
  double vx = b.x - a.x, vy = b.y - a.y;
  double len = vx * vx + vy * vy;
  double t = len > 0 ? std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / len, 0.0, 1.0) : 0.0;
  double ex = a.x + t * vx - p.x, ey = a.y + t * vy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

struct Glyph {
  int code = 0;
  int dwidth = 0;
  int width = 0, height = 0, x = 0, y = 0;  // BBX
  std::vector<std::string> rows;            // hexadecimal, top row first
};

// Draws the strokes at scale pixels per grid unit with a pen of the given
// width; the glyph starts at the left edge of its cell.
Glyph render(int code, const std::vector<Stroke>& strokes, double scale, double pen) {
  Glyph g;
  g.code = code;
  g.dwidth = 0;
  if (strokes.empty()) return g;
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (const Stroke& s : strokes)
    for (Point p : s) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
    }
  double r = pen / 2;
  // Pixel (f, g) is the square above and right of the point (f, g); the
  // strokes are moved so that the leftmost one lies in column 0.
  std::vector<Stroke> px;
  for (const Stroke& s : strokes) {
    Stroke t;
    for (Point p : s) t.push_back({(p.x - minX) * scale + r, p.y * scale});
    px.push_back(t);
  }
  int f1 = static_cast<int>(std::ceil((maxX - minX) * scale + 2 * r));
  int g0 = static_cast<int>(std::floor(minY * scale - r)) - 1;
  int g1 = static_cast<int>(std::ceil(maxY * scale + r)) + 1;
  std::vector<std::vector<bool>> set;
  int first = 1 << 30, last = -1, left = 1 << 30, right = -1;
  for (int gy = g0; gy <= g1; ++gy) {
    std::vector<bool> row(static_cast<std::size_t>(f1 + 1));
    for (int f = 0; f <= f1; ++f) {
      Point c{f + 0.5, gy + 0.5};
      bool on = false;
      for (const Stroke& s : px) {
        if (s.size() == 1) on = on || distance(c, s[0], s[0]) <= r;
        for (std::size_t i = 1; i < s.size() && !on; ++i) on = distance(c, s[i - 1], s[i]) <= r;
        if (on) break;
      }
      row[static_cast<std::size_t>(f)] = on;
      if (on) {
        first = std::min(first, gy);
        last = std::max(last, gy);
        left = std::min(left, f);
        right = std::max(right, f);
      }
    }
    set.push_back(row);
  }
  if (last < 0) return g;
  g.x = left;
  g.y = first;
  g.width = right - left + 1;
  g.height = last - first + 1;
  g.dwidth = right + 2;  // one free column before the spacing of the text
  for (int gy = last; gy >= first; --gy) {
    const std::vector<bool>& row = set[static_cast<std::size_t>(gy - g0)];
    std::string hex;
    for (int f = left; f <= right; f += 8) {
      int byte = 0;
      for (int b = 0; b < 8; ++b)
        if (f + b <= right && row[static_cast<std::size_t>(f + b)]) byte |= 0x80 >> b;
      hex += "0123456789ABCDEF"[byte >> 4];
      hex += "0123456789ABCDEF"[byte & 15];
    }
    g.rows.push_back(hex);
  }
  return g;
}

// Font positions of the ISO 8859-1 codes 161 .. 255 (0: none): the accented
// letters and signs of the complex alphabet.
int positionOf(int code) {
  static const unsigned char upper[65] = {
      186, 158, 148, 168, 178, 127, 134, 136, 142, 159, 149, 169, 144, 160, 150, 170, 145,
      187, 140, 161, 151, 171, 180, 128, 0,   135, 162, 152, 172, 129, 182, 189, 133, 163,
      153, 173, 179, 130, 137, 139, 143, 164, 154, 174, 146, 165, 155, 175, 147, 188, 141,
      166, 156, 176, 181, 131, 0,   138, 167, 157, 177, 132, 183, 190, 184};
  if (code < 127) return code;
  if (code == 161) return 185;
  if (code >= 191 && code <= 255) return upper[code - 191];
  return 0;
}

struct Family {
  const char* file;
  const char* name;  // of the XLFD name
  Alphabet alphabet;
  double pen(int size) const;
  bool broad;
};

double Family::pen(int size) const { return broad ? std::max(1.5, size / 7.5) : 1.0; }

bool write(const std::string& path, const Family& fam, int size) {
  const Alphabet& a = fam.alphabet;
  double scale = (size - 1.0) / a.gridHeight;
  std::vector<Glyph> glyphs;
  Glyph blank;
  blank.code = 32;
  blank.dwidth = std::max(1, static_cast<int>(std::lround(a.blankWidth * scale)));
  glyphs.push_back(blank);
  for (int code = 33; code <= 255; ++code) {
    int pos = positionOf(code);
    if (pos < 33 || pos - 31 > a.count) continue;
    std::vector<Stroke> s = strokes(a, pos - 31);
    if (s.empty()) continue;
    glyphs.push_back(render(code, s, scale, fam.pen(size)));
  }
  int ascent = 0, descent = 0, boxW = 0, boxX = 0;
  for (const Glyph& g : glyphs) {
    if (g.rows.empty()) continue;
    ascent = std::max(ascent, g.y + g.height);
    descent = std::max(descent, -g.y);
    boxW = std::max(boxW, g.x + g.width);
    boxX = std::min(boxX, g.x);
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "STARTFONT 2.1\n");
  std::fprintf(f, "COMMENT Drawn by tools/bdfgen from the KORVAN stroke fonts.\n");
  std::fprintf(f, "FONT -korvan-%s-medium-r-normal--%d-%d-75-75-p-%d-iso8859-1\n", fam.name, size,
               size * 10, boxW * 10 / 2);
  std::fprintf(f, "SIZE %d 75 75\n", size);
  std::fprintf(f, "FONTBOUNDINGBOX %d %d %d %d\n", boxW - boxX, ascent + descent, boxX, -descent);
  std::fprintf(f, "STARTPROPERTIES 4\nFONT_ASCENT %d\nFONT_DESCENT %d\nDEFAULT_CHAR 32\n",
               ascent, descent);
  std::fprintf(f, "CHARSET_REGISTRY \"ISO8859\"\nENDPROPERTIES\n");
  std::fprintf(f, "CHARS %zu\n", glyphs.size());
  for (const Glyph& g : glyphs) {
    std::fprintf(f, "STARTCHAR C%03d\nENCODING %d\n", g.code, g.code);
    std::fprintf(f, "SWIDTH %d 0\nDWIDTH %d 0\n", g.dwidth * 1000 / size, g.dwidth);
    std::fprintf(f, "BBX %d %d %d %d\nBITMAP\n", g.width, g.height, g.x, g.y);
    for (const std::string& r : g.rows) std::fprintf(f, "%s\n", r.c_str());
    std::fprintf(f, "ENDCHAR\n");
  }
  std::fprintf(f, "ENDFONT\n");
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bdfgen <directory>\n");
    return 2;
  }
  using namespace korvan;
  const Alphabet complexRoman{kLcomroPoints, size(kLcomroPoints), kLcomroIndex,
                              size(kLcomroIndex), 209, 21, 9};
  const Alphabet standard{kKoralfPoints, size(kKoralfPoints), kKoralfLatin, size(kKoralfLatin),
                          102, 7, 6};
  const Family families[3] = {{"complx", "complex", complexRoman, false},
                              {"simplx", "simplex", standard, false},
                              {"helve", "sans", standard, true}};
  const int sizes[3][4] = {{10, 12, 14, 18}, {8, 10, 12, 14}, {10, 12, 14, 18}};
  for (int k = 0; k < 3; ++k)
    for (int s : sizes[k]) {
      std::string path = std::string(argv[1]) + "/" + families[k].file + std::to_string(s) + ".bdf";
      if (!write(path, families[k], s)) {
        std::fprintf(stderr, "bdfgen: cannot write %s\n", path.c_str());
        return 1;
      }
    }
  return 0;
}
