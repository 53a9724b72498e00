// fontgen: writes the library's stroke-font tables (plotlib/text/glyphs/).
//
//   fontgen HERSHEY_DIR OUT_DIR
//
// The default font's alphabets 1 and 2 come from simple_glyphs.cpp; the
// others are converted from the Hershey fonts (.jhf files) on the 20 x 21
// grid: baseline at Y = 0, Y up, ink starting at X = 0. Accented letters are
// composed from a base letter and accent strokes placed by offset words.
// The output depends only on the inputs, so running it again gives the
// same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "simple_glyphs.h"

namespace fontgen {
namespace {

// Coordinates in half grid units, so that offsets of half a unit exist.
struct P {
  int x, y;
  bool operator<(const P& o) const { return x != o.x ? x < o.x : y < o.y; }
  bool operator==(const P& o) const { return x == o.x && y == o.y; }
};
using Stroke = std::vector<P>;
struct Glyph {
  std::vector<Stroke> strokes;
  std::string label;
  bool present = false;
};

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "fontgen: %s\n", what.c_str());
  std::exit(1);
}

// ---- glyph geometry ----

struct Box {
  int x0 = 1 << 20, y0 = 1 << 20, x1 = -(1 << 20), y1 = -(1 << 20);
};
Box box(const Glyph& g) {
  Box b;
  for (const Stroke& s : g.strokes)
    for (P p : s) {
      b.x0 = std::min(b.x0, p.x), b.y0 = std::min(b.y0, p.y);
      b.x1 = std::max(b.x1, p.x), b.y1 = std::max(b.y1, p.y);
    }
  return b;
}
Glyph moved(Glyph g, int dx, int dy) {
  for (Stroke& s : g.strokes)
    for (P& p : s) p.x += dx, p.y += dy;
  return g;
}
Glyph& add(Glyph& g, const Glyph& more) {
  g.strokes.insert(g.strokes.end(), more.strokes.begin(), more.strokes.end());
  return g;
}
Glyph mirrored(Glyph g) {
  Box b = box(g);
  for (Stroke& s : g.strokes)
    for (P& p : s) p.x = b.x0 + b.x1 - p.x;
  return g;
}
Glyph turned(Glyph g) {  // half a turn about the box centre
  Box b = box(g);
  for (Stroke& s : g.strokes)
    for (P& p : s) p.x = b.x0 + b.x1 - p.x, p.y = b.y0 + b.y1 - p.y;
  return g;
}
// x += y * k, rounded to whole grid units (the script and italic forms).
Glyph sheared(Glyph g, double k) {
  for (Stroke& s : g.strokes)
    for (P& p : s) p.x = 2 * static_cast<int>(std::lround((p.x + p.y * k) / 2.0));
  return g;
}
Glyph labelled(Glyph g, const std::string& label) {
  g.label = label;
  g.present = true;
  return g;
}
// Polylines given in whole grid units: {x, y, x, y, ...} per stroke.
Glyph polylines(std::initializer_list<std::initializer_list<int>> strokes) {
  Glyph g;
  for (auto& s : strokes) {
    Stroke st;
    for (auto it = s.begin(); it != s.end(); it += 2) st.push_back({2 * it[0], 2 * it[1]});
    g.strokes.push_back(st);
  }
  g.present = true;
  return g;
}
Glyph circle(int cx, int cy, int r, int n) {
  Stroke s;
  for (int i = 0; i <= n; ++i) {
    double a = 2.0 * 3.14159265358979 * i / n;
    s.push_back({2 * static_cast<int>(std::lround(cx + r * std::cos(a))),
                 2 * static_cast<int>(std::lround(cy + r * std::sin(a)))});
  }
  Glyph g;
  g.strokes.push_back(s);
  g.present = true;
  return g;
}

// ---- the default font's notation ----

int simpleCoord(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c == 'a') return -1;
  if (c == 'b') return -2;
  fail(std::string("bad coordinate ") + c);
}

Glyph simpleGlyph(const SimpleGlyph& sg) {
  Glyph g;
  std::stringstream all(sg.strokes);
  std::string part;
  while (std::getline(all, part, '|')) {
    int ox = 0, oy = 0;
    if (!part.empty() && part[0] == '+') {
      std::size_t colon = part.find(':');
      if (std::sscanf(part.c_str(), "+%d,%d:", &ox, &oy) != 2 || colon == std::string::npos)
        fail("bad offset in " + std::string(sg.strokes));
      part = part.substr(colon + 1);
    }
    Stroke s;
    std::stringstream pts(part);
    std::string tok;
    while (pts >> tok) {
      if (tok.size() != 2) fail("bad point " + tok);
      s.push_back({2 * simpleCoord(tok[0]) + ox, 2 * simpleCoord(tok[1]) + oy});
    }
    g.strokes.push_back(s);
  }
  g.present = true;
  return g;
}

// ---- Hershey fonts ----

class Hershey {
 public:
  Hershey(const std::string& dir, const std::string& name) {
    std::ifstream in(dir + "/" + name + ".jhf");
    if (!in) fail("cannot read " + dir + "/" + name + ".jhf");
    std::string line;
    while (std::getline(in, line)) {
      if (line.size() < 10) continue;
      int n = std::atoi(line.substr(5, 3).c_str());
      std::string body = line.substr(8);
      if (static_cast<int>(body.size()) < 2 * n) fail("short glyph in " + name);
      glyphs_.push_back(parse(body, n));
    }
    if (glyphs_.size() < 95) fail(name + " has fewer than 95 glyphs");
  }
  // The glyph of ASCII character c (32-126), ink starting at X = 0.
  Glyph operator[](char c) const {
    Glyph g = glyphs_.at(static_cast<unsigned char>(c) - 32);
    if (g.strokes.empty()) fail(std::string("no glyph for ") + c);
    Box b = box(g);
    g = moved(g, -b.x0, 0);
    g.label = c == '\\' ? "backslash" : std::string(1, c);
    g.present = true;
    return g;
  }

 private:
  static Glyph parse(const std::string& body, int n) {
    Glyph g;
    Stroke cur;
    for (int i = 1; i < n; ++i) {
      char a = body[2 * i], b = body[2 * i + 1];
      if (a == ' ' && b == 'R') {
        if (!cur.empty()) g.strokes.push_back(cur);
        cur.clear();
        continue;
      }
      cur.push_back({2 * (a - 'R'), 2 * (9 - (b - 'R'))});
    }
    if (!cur.empty()) g.strokes.push_back(cur);
    return g;
  }
  std::vector<Glyph> glyphs_;
};

// ---- accents on the 20 x 21 grid ----

enum Accent { Diaer, Acute, Grave, Circ, Tilde, Ring, Caron, Breve, DblAcute, DotAbove,
              Cedilla, Ogonek, Slash, Bar, BarRight, LStroke, Apos };

Glyph dot() { return polylines({{0, 1, -1, 0, 0, -1, 1, 0, 0, 1}}); }

// The accent with its origin at the attachment point (above: the centre of
// its foot; below: the foot of the letter).
Glyph accent(Accent a) {
  switch (a) {
    case Diaer: {
      Glyph g = moved(dot(), -6, 2);
      return add(g, moved(dot(), 6, 2));
    }
    case Acute: return polylines({{-1, 0, 2, 4}});
    case Grave: return polylines({{1, 0, -2, 4}});
    case Circ: return polylines({{-3, 0, 0, 3, 3, 0}});
    case Tilde: return polylines({{-4, 0, -3, 2, -1, 2, 1, 0, 3, 0, 4, 2}});
    case Ring: return polylines({{-1, 0, 1, 0, 2, 1, 2, 3, 1, 4, -1, 4, -2, 3, -2, 1, -1, 0}});
    case Caron: return polylines({{-3, 3, 0, 0, 3, 3}});
    case Breve: return polylines({{-3, 3, -2, 1, 0, 0, 2, 1, 3, 3}});
    case DblAcute: return polylines({{-3, 0, -1, 4}, {1, 0, 3, 4}});
    case DotAbove: return moved(dot(), 0, 2);
    case Cedilla: return polylines({{0, 0, 0, -2, 2, -3, 2, -4, 1, -5, -1, -5}});
    case Ogonek: return polylines({{0, 0, -2, -2, -2, -4, -1, -5, 1, -5}});
    case Apos: return polylines({{1, 4, 0, 0}});
    default: return Glyph{};
  }
}

// Strokes lying wholly above y (half units): the dot of i and j, the breve.
Glyph strokesAbove(const Glyph& g, int y, bool keep) {
  Glyph out = g;
  out.strokes.clear();
  for (const Stroke& s : g.strokes) {
    bool above = std::all_of(s.begin(), s.end(), [&](P p) { return p.y >= y; });
    if (above == keep) out.strokes.push_back(s);
  }
  return out;
}

// base with the accent composed; dx, dy move the accent (half units);
// slant moves accents above along an italic slope.
Glyph compose(Glyph base, Accent a, int dx = 0, int dy = 0, double slant = 0.0) {
  Box b = box(base);
  int cx = (b.x0 + b.x1) / 2;
  switch (a) {
    case Slash:
      base.strokes.push_back({{b.x0 + 2 + dx, b.y0 - 2 + dy}, {b.x1 - 2 + dx, b.y1 + 2 + dy}});
      return base;
    case Bar: return add(base, moved(polylines({{0, 0, 7, 0}}), b.x0 - 2 + dx, 22 + dy));
    case BarRight: return add(base, moved(polylines({{0, 0, 7, 0}}), b.x1 - 10 + dx, 36 + dy));
    case LStroke: return add(base, moved(polylines({{0, 0, 7, 5}}), b.x0 + dx, dy));
    case Cedilla: return add(base, moved(accent(a), cx + dx, dy));
    case Ogonek: return add(base, moved(accent(a), b.x1 - 4 + dx, dy));
    case Apos: return add(base, moved(accent(a), b.x1 + 2 + dx, b.y1 - 8 + dy));
    default: {
      int y = b.y1 + 4 + dy;
      int sx = static_cast<int>(std::lround(slant * (y - (b.y0 + b.y1) / 2.0)));
      return add(base, moved(accent(a), cx + dx + sx - sx % 2, y));
    }
  }
}

// ---- tables in the packed encoding ----

std::int16_t pack(int x, int y) {
  if (x < -128 || x > 127 || y < -128 || y > 127) fail("value outside a byte");
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(((y & 0xFF) << 8) | (x & 0xFF)));
}

struct Table {
  std::string name;                   // array name stem
  std::string title;                  // what it holds
  std::vector<std::vector<Glyph>> sets;  // glyph records of each index table, from index 2
  std::vector<std::string> setNames;
  std::vector<int> firstCode;         // code shown for the first record of a set (comment)
  // Fixed places: a stroke (whole units, from its minimum) at a 1-based point.
  std::vector<std::pair<Stroke, int>> pins;
};

// A stroke relative to its minimum, in whole grid units, and that offset.
struct Shape {
  Stroke pts;
  P offset;  // half units
};
Shape normalise(const Stroke& s) {
  P m{1 << 20, 1 << 20};
  for (P p : s) m.x = std::min(m.x, p.x), m.y = std::min(m.y, p.y);
  Shape sh{{}, m};
  for (P p : s) {
    if ((p.x - m.x) % 2 || (p.y - m.y) % 2) fail("a stroke mixes whole and half units");
    sh.pts.push_back({(p.x - m.x) / 2, (p.y - m.y) / 2});
  }
  return sh;
}

struct Built {
  std::vector<std::int16_t> points;
  std::vector<std::vector<std::int16_t>> index;       // per set
  std::vector<std::vector<std::string>> recordNotes;  // per set, per record
  std::vector<std::vector<int>> recordWords;          // per set: words of each record
};

Built build(const Table& t) {
  // Distinct shapes in order of first use.
  std::vector<Stroke> shapes;
  std::map<Stroke, int> shapeNo;
  auto shapeOf = [&](const Stroke& s) {
    auto [it, fresh] = shapeNo.emplace(s, static_cast<int>(shapes.size()));
    if (fresh) shapes.push_back(s);
    return it->second;
  };
  for (auto& [s, pos] : t.pins) shapeOf(s);
  for (const auto& set : t.sets)
    for (const Glyph& g : set)
      for (const Stroke& s : g.strokes) shapeOf(normalise(s).pts);
  // Places: pinned shapes first, the others at the first gap that holds them.
  std::vector<int> start(shapes.size(), 0);
  std::vector<bool> used;
  auto occupy = [&](int at, int n) {
    if (static_cast<int>(used.size()) < at + n) used.resize(at + n, false);
    for (int i = at; i < at + n; ++i) {
      if (used[i]) fail("pinned shapes overlap");
      used[i] = true;
    }
  };
  for (auto& [s, pos] : t.pins) {
    start[shapeNo[s]] = pos;
    occupy(pos, static_cast<int>(s.size()));
  }
  for (std::size_t k = 0; k < shapes.size(); ++k) {
    if (start[k] != 0) continue;
    int n = static_cast<int>(shapes[k].size());
    int at = 1;
    for (;; ++at) {
      bool fits = true;
      for (int i = at; i < at + n && fits; ++i) fits = i >= static_cast<int>(used.size()) || !used[i];
      if (fits) break;
    }
    start[k] = at;
    occupy(at, n);
  }
  Built b;
  b.points.assign(used.size() > 1 ? used.size() - 1 : 0, 0);
  for (std::size_t k = 0; k < shapes.size(); ++k)
    for (std::size_t i = 0; i < shapes[k].size(); ++i)
      b.points[start[k] - 1 + i] = pack(shapes[k][i].x, shapes[k][i].y);
  for (std::size_t si = 0; si < t.sets.size(); ++si) {
    std::vector<std::int16_t> idx;
    std::vector<std::string> notes;
    std::vector<int> words;
    for (const Glyph& g : t.sets[si]) {
      std::vector<std::int16_t> rec{0};
      for (const Stroke& s : g.strokes) {
        if (s.empty()) continue;
        Shape sh = normalise(s);
        int n = static_cast<int>(sh.pts.size());
        int at = start[shapeNo[sh.pts]];
        if (sh.offset.x == 0 && sh.offset.y == 0) {
          rec.push_back(static_cast<std::int16_t>(n));
          rec.push_back(static_cast<std::int16_t>(at));
        } else {
          rec.push_back(static_cast<std::int16_t>(-n));
          rec.push_back(static_cast<std::int16_t>(at));
          rec.push_back(pack(sh.offset.x, sh.offset.y));
        }
      }
      if (rec.size() == 1) fail("empty glyph " + g.label + " in " + t.name);
      rec[0] = static_cast<std::int16_t>(rec.size());
      idx.insert(idx.end(), rec.begin(), rec.end());
      notes.push_back(g.label);
      words.push_back(static_cast<int>(rec.size()));
    }
    b.index.push_back(idx);
    b.recordNotes.push_back(notes);
    b.recordWords.push_back(words);
  }
  return b;
}

void writeWords(std::ostream& o, const std::vector<std::int16_t>& w, std::size_t from,
                std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) o << (i ? ", " : "") << w[from + i];
  o << ",";
}

void write(const std::string& dir, const Table& t, const Built& b, std::ostream& header) {
  std::ofstream o(dir + "/" + t.name + ".cpp", std::ios::binary);
  o << "// " << t.title << ".\n"
    << "// Written by tools/fontgen; edit the generator, not this file.\n"
    << "#include \"text/glyphs/glyphs.h\"\n\nnamespace korvan {\n\n";
  std::string stem = "k" + std::string(1, static_cast<char>(t.name[0] - 32)) + t.name.substr(1);
  o << "const std::int16_t " << stem << "Points[" << b.points.size() << "] = {\n";
  for (std::size_t i = 0; i < b.points.size(); i += 10) {
    o << "   ";
    for (std::size_t k = i; k < std::min(i + 10, b.points.size()); ++k) o << " " << b.points[k] << ",";
    o << "\n";
  }
  o << "};\n";
  header << "extern const std::int16_t " << stem << "Points[" << b.points.size() << "];\n";
  for (std::size_t si = 0; si < t.sets.size(); ++si) {
    std::string arr = stem + t.setNames[si];
    o << "\n// Glyph records from character index 2 on.\n"
      << "const std::int16_t " << arr << "[" << b.index[si].size() << "] = {\n";
    std::size_t at = 0;
    for (std::size_t r = 0; r < b.recordWords[si].size(); ++r) {
      o << "    ";
      writeWords(o, b.index[si], at, b.recordWords[si][r]);
      o << "  // " << t.firstCode[si] + static_cast<int>(r) << " " << b.recordNotes[si][r] << "\n";
      at += b.recordWords[si][r];
    }
    o << "};\n";
    header << "extern const std::int16_t " << arr << "[" << b.index[si].size() << "];\n";
  }
  o << "\n}  // namespace korvan\n";
  if (!o) fail("cannot write " + t.name);
}

// ---- the alphabets ----

struct Composed {
  int pos;
  char base;
  Accent accent;
  const char* label;
  int dx = 0, dy = 0;
};

// Font positions 127-240 of the complex roman: Latin-1 letters, then those
// of Latin-2, in the order the code tables of the library use.
const Composed kRomanAccented[] = {
    {127, 'A', Diaer, "A diaeresis"}, {128, 'O', Diaer, "O diaeresis"},
    {129, 'U', Diaer, "U diaeresis"}, {130, 'a', Diaer, "a diaeresis"},
    {131, 'o', Diaer, "o diaeresis"}, {132, 'u', Diaer, "u diaeresis"},
    {134, 'A', Ring, "A ring"}, {135, 'O', Slash, "O slash"},
    {137, 'a', Ring, "a ring"}, {138, 'o', Slash, "o slash"},
    {140, 'N', Tilde, "N tilde"}, {141, 'n', Tilde, "n tilde"},
    {142, 'C', Cedilla, "C cedilla"}, {143, 'c', Cedilla, "c cedilla"},
    {144, 'E', Diaer, "E diaeresis"}, {145, 'I', Diaer, "I diaeresis"},
    {146, 'e', Diaer, "e diaeresis"}, {147, 'i', Diaer, "i diaeresis"},
    {148, 'A', Acute, "A acute"}, {149, 'E', Acute, "E acute"}, {150, 'I', Acute, "I acute"},
    {151, 'O', Acute, "O acute"}, {152, 'U', Acute, "U acute"}, {153, 'a', Acute, "a acute"},
    {154, 'e', Acute, "e acute"}, {155, 'i', Acute, "i acute"}, {156, 'o', Acute, "o acute"},
    {157, 'u', Acute, "u acute"}, {158, 'A', Grave, "A grave"}, {159, 'E', Grave, "E grave"},
    {160, 'I', Grave, "I grave"}, {161, 'O', Grave, "O grave"}, {162, 'U', Grave, "U grave"},
    {163, 'a', Grave, "a grave"}, {164, 'e', Grave, "e grave"}, {165, 'i', Grave, "i grave"},
    {166, 'o', Grave, "o grave"}, {167, 'u', Grave, "u grave"}, {168, 'A', Circ, "A circumflex"},
    {169, 'E', Circ, "E circumflex"}, {170, 'I', Circ, "I circumflex"},
    {171, 'O', Circ, "O circumflex"}, {172, 'U', Circ, "U circumflex"},
    {173, 'a', Circ, "a circumflex"}, {174, 'e', Circ, "e circumflex"},
    {175, 'i', Circ, "i circumflex"}, {176, 'o', Circ, "o circumflex"},
    {177, 'u', Circ, "u circumflex"}, {178, 'A', Tilde, "A tilde"}, {179, 'a', Tilde, "a tilde"},
    {180, 'O', Tilde, "O tilde"}, {181, 'o', Tilde, "o tilde"}, {182, 'Y', Acute, "Y acute"},
    {183, 'y', Acute, "y acute"}, {184, 'y', Diaer, "y diaeresis"},
    {187, 'D', Bar, "D stroke, Eth"}, {188, 'd', BarRight, "d stroke, eth"},
    {191, 'A', Ogonek, "A ogonek"}, {192, 'L', LStroke, "L stroke", 0, 14},
    {193, 'L', Apos, "L caron", -18, 0}, {194, 'S', Acute, "S acute"},
    {195, 'S', Caron, "S caron"}, {196, 'S', Cedilla, "S cedilla"},
    {197, 'T', Caron, "T caron"}, {198, 'Z', Acute, "Z acute"}, {199, 'Z', Caron, "Z caron"},
    {200, 'Z', DotAbove, "Z dot"}, {201, 'a', Ogonek, "a ogonek"},
    {202, 'l', LStroke, "l stroke", -1, 16}, {203, 'l', Apos, "l caron"},
    {204, 's', Acute, "s acute"}, {205, 's', Caron, "s caron"}, {206, 's', Cedilla, "s cedilla"},
    {207, 't', Apos, "t caron"}, {208, 'z', Acute, "z acute"}, {209, 'z', Caron, "z caron"},
    {210, 'z', DotAbove, "z dot"}, {211, 'R', Acute, "R acute"}, {212, 'A', Breve, "A breve"},
    {213, 'L', Acute, "L acute", -6, 0}, {214, 'C', Acute, "C acute"},
    {215, 'C', Caron, "C caron"}, {216, 'E', Ogonek, "E ogonek"}, {217, 'E', Caron, "E caron"},
    {218, 'D', Caron, "D caron"}, {219, 'N', Acute, "N acute"}, {220, 'N', Caron, "N caron"},
    {221, 'O', DblAcute, "O double acute"}, {222, 'R', Caron, "R caron"},
    {223, 'U', Ring, "U ring"}, {224, 'U', DblAcute, "U double acute"},
    {225, 'T', Cedilla, "T cedilla"}, {226, 'r', Acute, "r acute"}, {227, 'a', Breve, "a breve"},
    {228, 'l', Acute, "l acute"}, {229, 'c', Acute, "c acute"}, {230, 'c', Caron, "c caron"},
    {231, 'e', Ogonek, "e ogonek"}, {232, 'e', Caron, "e caron"}, {233, 'd', Apos, "d caron"},
    {234, 'n', Acute, "n acute"}, {235, 'n', Caron, "n caron"},
    {236, 'o', DblAcute, "o double acute"}, {237, 'r', Caron, "r caron"},
    {238, 'u', Ring, "u ring"}, {239, 'u', DblAcute, "u double acute"},
    {240, 't', Cedilla, "t cedilla"},
};

Glyph sharpS() {
  return polylines({{3, 0, 3, 17, 4, 19, 5, 20, 7, 21, 10, 21, 12, 20, 13, 18, 13, 16, 12, 14, 10, 13, 8, 13},
                    {10, 13, 13, 12, 15, 10, 16, 8, 16, 5, 15, 2, 13, 0, 10, 0, 8, 1},
                    {4, 0, 4, 17, 5, 19, 7, 21},
                    {0, 0, 4, 0}});
}

// The base of an accented letter: i loses its dot.
Glyph accentBase(const Hershey& f, char c) {
  Glyph g = f[c];
  if (c == 'i') g = strokesAbove(g, 2 * 17, false);
  return g;
}

std::vector<Glyph> complexRoman(const Hershey& r) {
  std::vector<Glyph> out(208);
  for (int c = 33; c <= 126; ++c) out[c - 33] = r[static_cast<char>(c)];
  for (const Composed& e : kRomanAccented)
    out[e.pos - 33] = labelled(compose(accentBase(r, e.base), e.accent, e.dx, e.dy), e.label);
  out[133 - 33] = labelled(sharpS(), "sharp s");
  Glyph ae = polylines({{0, 0, 11, 21, 21, 21, 21, 16}, {11, 21, 11, 0, 21, 0, 21, 5},
                        {12, 21, 12, 0}, {4, 8, 11, 8}, {12, 11, 18, 11}, {0, 0, 5, 0}});
  out[136 - 33] = labelled(ae, "AE");
  Glyph a = r['a'], e = r['e'];
  Box ba = box(a);
  out[139 - 33] = labelled(add(a, moved(e, ba.x1 - 6, 0)), "ae");
  out[185 - 33] = labelled(moved(turned(r['!']), 0, -14), "inverted exclamation");
  out[186 - 33] = labelled(moved(turned(r['?']), 0, -14), "inverted question");
  out[189 - 33] = labelled(polylines({{3, 0, 3, 21}, {4, 0, 4, 21}, {0, 21, 7, 21}, {0, 0, 7, 0},
                                      {4, 16, 12, 16, 15, 15, 16, 14, 17, 12, 17, 9, 16, 7, 15, 6,
                                       12, 5, 4, 5}}),
                          "Thorn");
  out[190 - 33] = labelled(polylines({{3, -7, 3, 21}, {4, -7, 4, 21}, {0, 21, 4, 21}, {0, -7, 7, -7},
                                      {4, 11, 6, 13, 8, 14, 11, 14, 13, 13, 15, 11, 16, 8, 16, 6, 15,
                                       3, 13, 1, 11, 0, 8, 0, 6, 1, 4, 3}}),
                          "thorn");
  for (int i = 0; i < 208; ++i)
    if (!out[i].present) fail("complex roman lacks position " + std::to_string(i + 33));
  return out;
}

// Latin letter -> position of the Greek letter in the Hershey Greek font.
constexpr char kGreekFrom[] = "ABCDEUVGI?JKLMOPHQRSW?XNTF";

std::vector<Glyph> greek(const Hershey& gr, const Hershey& roman) {
  std::vector<Glyph> out;
  for (int k = 0; k < 52; ++k) {
    char latin = static_cast<char>(k < 26 ? 'A' + k : 'a' + k - 26);
    char from = kGreekFrom[k % 26];
    if (k >= 26 && from != '?') from = static_cast<char>(from - 'A' + 'a');
    Glyph g = from == '?' ? roman[latin] : gr[from];
    out.push_back(labelled(g, std::string(1, latin)));
  }
  return out;
}

std::vector<Glyph> letters(const Hershey& f) {
  std::vector<Glyph> out;
  for (char c = 'A'; c <= 'Z'; ++c) out.push_back(f[c]);
  for (char c = 'a'; c <= 'z'; ++c) out.push_back(f[c]);
  return out;
}

std::vector<Glyph> script(const Hershey& s) {
  std::vector<Glyph> out = letters(s);
  const char* um = "AOUaou";
  for (int i = 0; i < 6; ++i)
    out.push_back(labelled(compose(s[um[i]], Diaer, 0, 0, 0.3), std::string(1, um[i]) + " diaeresis"));
  out.push_back(labelled(sheared(sharpS(), 0.3), "sharp s"));
  return out;
}

std::vector<Glyph> italic(const Hershey& it) {
  std::vector<Glyph> out;
  for (char c = 'a'; c <= 'z'; ++c) out.push_back(it[c]);
  for (char c : {'a', 'o', 'u'})
    out.push_back(labelled(compose(it[c], Diaer, 0, 0, 0.25), std::string(1, c) + " diaeresis"));
  return out;
}

std::vector<Glyph> cyrillic(const Hershey& cy) {
  auto h = [&](char c, const char* label) { return labelled(cy[c], label); };
  std::vector<Glyph> out;
  out.push_back(h('$', "YERU"));
  out.push_back(h('_', "SOFT SIGN"));
  out.push_back(labelled(compose(cy['['], Diaer), "IO"));
  out.push_back(h('&', "yeru"));
  out.push_back(h('~', "soft sign"));
  out.push_back(labelled(compose(cy['{'], Diaer), "io"));
  Glyph breve = strokesAbove(cy['e'], 2 * 15, true);
  Box bi = box(cy['I']), bb = box(breve), be = box(cy['e']);
  Glyph shortI = cy['I'];
  add(shortI, moved(breve, ((bi.x0 + bi.x1) - (be.x0 + be.x1)) / 4 * 2, bi.y1 + 2 - bb.y0));
  for (char c = 'A'; c <= 'Z'; ++c) out.push_back(c == 'E' ? labelled(shortI, "SHORT I") : cy[c]);
  out.push_back(h('[', "IE"));
  out.push_back(h('`', "TSE"));
  out.push_back(h(']', "HARD SIGN"));
  out.push_back(h('^', "YA"));
  for (char c = 'a'; c <= 'z'; ++c) out.push_back(cy[c]);
  out.push_back(h('{', "ie"));
  out.push_back(h('%', "tse"));
  out.push_back(h('|', "hard sign"));
  out.push_back(h('}', "ya"));
  return out;
}

std::vector<Glyph> mathSymbols(const Hershey& m, const Hershey& roman) {
  auto h = [&](char c, const char* label) { return labelled(m[c], label); };
  auto withBar = [&](Glyph g, const char* label) {
    Box b = box(g);
    g.strokes.push_back({{b.x0, b.y0 - 6}, {b.x1, b.y0 - 6}});
    return labelled(g, label);
  };
  Glyph ring = circle(8, 9, 8, 24);
  auto inRing = [&](Glyph inner, const char* label) { return labelled(add(inner, ring), label); };
  Glyph tilde = roman['~'];
  Box bt = box(tilde);
  tilde = moved(tilde, 0, 2 * 9 - (bt.y0 + bt.y1) / 2);
  Glyph approx = moved(tilde, 0, 6);
  add(approx, moved(tilde, 0, -6));
  Glyph eq = m['='];
  Box beq = box(eq);
  Glyph cong = eq;
  Box bt2 = box(tilde);
  add(cong, moved(tilde, ((beq.x0 + beq.x1) - (bt2.x0 + bt2.x1)) / 4 * 2, beq.y1 + 6 - bt2.y0));
  Glyph in = m['h'];
  Box bin = box(in);
  Glyph notin = in;
  notin.strokes.push_back({{bin.x0 + 2, bin.y0 - 4}, {bin.x1 - 2, bin.y1 + 4}});
  Glyph oint = m['q'];
  Box bo = box(oint);
  add(oint, moved(circle(0, 0, 3, 12), (bo.x0 + bo.x1) / 2, (bo.y0 + bo.y1) / 2));
  Glyph rarrow = polylines({{0, 12, 14, 12}, {0, 6, 14, 6}, {10, 16, 17, 9, 10, 2}});
  Glyph lrarrow = polylines({{3, 12, 17, 12}, {3, 6, 17, 6}, {7, 16, 0, 9, 7, 2}, {13, 16, 20, 9, 13, 2}});
  Glyph empty = ring;
  empty.strokes.push_back({{32, 38}, {0, -2}});
  std::vector<Glyph> out = {
      labelled(approx, "approx"), h('@', "equiv"), h('^', "propto"), h('#', "times"),
      h('x', "div"), h('!', "pm"), h('"', "mp"), h('&', "le"), h('?', "neq"), h('\'', "ge"),
      h('z', "perp"), h('g', "cap"), h('e', "cup"), h('d', "subset"), h('f', "supset"),
      h('|', "angle"), h('`', "degree"), withBar(m['d'], "subseteq"), withBar(m['f'], "supseteq"),
      h('y', "parallel"), h('v', "exists"), h('w', "aleph"), h('h', "in"), labelled(notin, "notin"),
      labelled(mirrored(in), "ni"), h('~', "therefore"),
      h('i', "rightarrow"), h('j', "uparrow"), h('k', "leftarrow"), h('l', "downarrow"),
      labelled(rarrow, "Rightarrow"), labelled(mirrored(rarrow), "Leftarrow"),
      labelled(lrarrow, "Leftrightarrow"),
      inRing(polylines({{8, 1, 8, 17}, {0, 9, 16, 9}}), "oplus"),
      inRing(polylines({{0, 9, 16, 9}}), "ominus"), inRing(moved(dot(), 16, 18), "odot"),
      labelled(polylines({{0, 21, 8, 0, 16, 21}, {3, 13, 13, 13}}), "forall"), h('_', "infty"),
      h('m', "partial"), h('n', "nabla"),
      inRing(polylines({{2, 3, 14, 15}, {2, 15, 14, 3}}), "otimes"),
      labelled(polylines({{0, 16, 7, 2, 14, 16}}), "vee"),
      labelled(polylines({{0, 2, 7, 16, 14, 2}}), "wedge"), h(';', "sum"), h(':', "prod"),
      h('o', "sqrt"), h('$', "cdot"), h('q', "int"), labelled(oint, "oint"), h('b', "surd"),
      labelled(empty, "emptyset"), labelled(cong, "cong")};
  for (int k = 0; k < 52; ++k) {
    char latin = static_cast<char>(k < 26 ? 'A' + k : 'a' + k - 26);
    out[k].label = std::string(1, latin) + " " + out[k].label;
  }
  return out;
}

}  // namespace
}  // namespace fontgen

int main(int argc, char** argv) {
  using namespace fontgen;
  if (argc != 3) {
    std::fprintf(stderr, "usage: fontgen HERSHEY_DIR OUT_DIR\n");
    return 2;
  }
  std::string in = argv[1], out = argv[2];
  Hershey roman(in, "timesr"), ital(in, "timesi"), gr(in, "greekc"), scr(in, "scriptc"),
      cy(in, "cyrillic"), math(in, "mathlow");

  std::vector<Table> tables;
  {
    Table t;
    t.name = "koralf";
    t.title = "The default font: its standard alphabet and its Greek letters, 6 x 7 grid";
    std::vector<Glyph> latin, greekSet;
    for (const SimpleGlyph& g : kSimpleLatin) {
      Glyph gl = simpleGlyph(g);
      gl.label = g.code == '\\' ? "backslash" : std::string(1, static_cast<char>(g.code));
      latin.push_back(gl);
    }
    const char* um[] = {"A diaeresis", "O diaeresis", "U diaeresis", "a diaeresis",
                        "o diaeresis", "u diaeresis", "sharp s"};
    for (int i = 0; i < 7; ++i) latin[94 + i].label = um[i];
    for (const SimpleGlyph& g : kSimpleGreek) {
      Glyph gl = simpleGlyph(g);
      gl.label = std::string(1, static_cast<char>(g.code));
      greekSet.push_back(gl);
    }
    t.sets = {latin, greekSet};
    t.setNames = {"Latin", "Greek"};
    t.firstCode = {33, 'A'};
    // The "A" of the font keeps its documented record: its outline at
    // point 139 and its bar at point 10.
    t.pins = {{{{0, 0}, {4, 0}}, 10}, {{{0, 0}, {0, 6}, {1, 7}, {3, 7}, {4, 6}, {4, 0}}, 139}};
    tables.push_back(t);
  }
  tables.push_back({"lcmath", "Mathematical symbols on the letters A-Z, a-z, 20 x 21 grid",
                    {mathSymbols(math, roman)}, {"Index"}, {'A'}, {}});
  tables.push_back({"lcomsc", "Script letters A-Z, a-z and the umlauts and sharp s, 20 x 21 grid",
                    {script(scr)}, {"Index"}, {'A'}, {}});
  tables.push_back({"lcomcy", "Cyrillic letters, 20 x 21 grid (records in character index order)",
                    {cyrillic(cy)}, {"Index"}, {2}, {}});
  tables.push_back({"lcomro", "Complex roman: codes 33-126 and font positions 127-240, 20 x 21 grid",
                    {complexRoman(roman)}, {"Index"}, {33}, {}});
  tables.push_back({"lcomgr", "Complex Greek on the letters A-Z, a-z, 20 x 21 grid",
                    {greek(gr, roman)}, {"Index"}, {'A'}, {}});
  tables.push_back({"lcomit", "Complex italic a-z and the a, o, u umlauts, 20 x 21 grid",
                    {italic(ital)}, {"Index"}, {'a'}, {}});

  std::ostringstream header;
  header << "// The stroke-font tables of the library, in the packed encoding: a point\n"
         << "// is one word, low byte X, high byte Y. Written by tools/fontgen.\n"
         << "#pragma once\n\n#include <cstdint>\n\nnamespace korvan {\n\n";
  for (const Table& t : tables) write(out, t, build(t), header);
  header << "\n}  // namespace korvan\n";
  std::ofstream h(out + "/glyphs.h", std::ios::binary);
  h << header.str();
  if (!h) fail("cannot write glyphs.h");
  return 0;
}
