// TeX-style strings: the reader of both passes and what it places —
// characters at the style levels, exponents and indices, fractions, roots,
// over- and underlines, vectors, big operators with their limits, groups.
// The measuring pass records the widths that the drawing pass needs before
// it draws (fractions, limits); both passes walk the same structures, so
// the drawing pass finds them in the same order.
#include "text/tex.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "core/state.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "text/font.h"

namespace korvan {

struct TexWidths {
  std::vector<float> v;
  std::size_t next = 0;
};

namespace {

constexpr int kMaxNest = 8;
constexpr int kMaxFractions = 20;
constexpr float kStyleFactor[4] = {1.0f, 1.0f, 0.6f, 0.5f};
constexpr const char* kScriptError = "Syntax error for Indices/Exponents";
constexpr const char* kRootError = "Syntax error - missing root";
constexpr float kNone = -1e9f;

struct Pos {
  float x, y;
};

// What a group restores at its end (the position goes on).
struct Saved {
  int height, base, style, alphabet;
  bool chosen;
  int colour;
  float shift;
};

// The scripts of one base.
struct Scripts {
  bool exp = false, idx = false;
  Pos start{}, end{};   // where the scripts begin, and the farthest end
  bool limits = false;  // a big operator with limits above and below
  Pos opStart{};
  float opUp = 0, opDown = 0;  // its ink above and below its baseline
  float opSpace = 0;           // the spacing after it
  std::size_t slot = 0;        // recorded widths: operator, upper, lower limit
  std::size_t indexed = 0;     // recorded: the base has an index
};

// The ink of a piece, above and below the current baseline.
struct Ink {
  float up, down;
};

class Reader {
 public:
  Reader(Global& g, const char* text, int n, int pass, TexWidths& widths, float* reach)
      : g(g), pass(pass), widths(widths), reach(reach) {
    lex = TexLexer{reinterpret_cast<const unsigned char*>(text), n, 0, false, 0, g.texEscape};
  }

  int run() {
    stringBase = base = g.charHeight;
    style = 1;
    alphabet = g.baseAlphabet;
    return list(kTexEnd) ? 0 : 1;
  }

 private:
  Global& g;
  int pass;
  TexWidths& widths;
  float* reach;
  TexLexer lex{};
  int stringBase = 0, base = 0, style = 1, alphabet = 1;
  bool chosen = false;  // an alphabet command is in force
  int braces = 0, scripts = 0, roots = 0, fractions = 0, fractionCount = 0;

  // ---- errors ----
  bool fail(const char* text) {
    if (pass == 1) {
      char routine[sizeof g.routineName];
      std::memcpy(routine, g.routineName, sizeof routine);
      std::snprintf(g.routineName, sizeof g.routineName, "messag");
      qqserr(g, text);
      warnin(g, 101);
      std::memcpy(g.routineName, routine, sizeof routine);
    }
    return false;
  }

  // ---- positions along the text ----
  Pos here() const { return {g.textX, g.textY}; }
  void go(Pos p) {
    g.textX = p.x;
    g.textY = p.y;
  }
  Pos along(Pos p, float d) const { return {p.x + d * g.textCos, p.y - d * g.textSin}; }
  float dist(Pos a, Pos b) const { return (b.x - a.x) * g.textCos - (b.y - a.y) * g.textSin; }
  void take() {
    if (pass != 0 || !reach) return;
    float x = g.textX - g.charSpacing * g.textCos, y = g.textY + g.charSpacing * g.textSin;
    *reach = std::fmax(*reach, std::hypot(x - g.startX, y - g.startY));
  }

  // ---- recorded widths ----
  std::size_t reserve(int count) {
    std::size_t k = pass == 1 ? widths.v.size() : widths.next;
    if (pass == 1) widths.v.resize(k + static_cast<std::size_t>(count), 0.0f);
    widths.next = k + static_cast<std::size_t>(count);
    return k;
  }
  float recorded(std::size_t k) const { return pass == 0 && k < widths.v.size() ? widths.v[k] : 0.0f; }
  void record(std::size_t k, float w) {
    if (pass == 1 && k < widths.v.size()) widths.v[k] = w;
  }

  // ---- heights and style levels ----
  void qqshgt1(int h) {
    g.charHeight = h < 1 ? 1 : h;
    g.scaleAlphabet = 0;
  }
  void qqshgt2(int level) {
    style = level;
    qqshgt1(static_cast<int>(std::lround(static_cast<float>(base) * kStyleFactor[level])));
  }
  // Kinds 1 exponent, 2 index (never at text size), 3 numerator,
  // 4 denominator, 5 root index.
  void qqheight(int kind) {
    int level = std::min(style + 1, 3);
    if (kind <= 2) level = std::max(level, 2);
    qqshgt2(level);
  }
  void qqshift(float up) { g.baseShift += up; }
  float h() const { return static_cast<float>(g.charHeight); }
  // One spacing at the current height; the alphabets without a spacing of
  // their own (koralf's upright ones) get a sixth of the height, so that
  // the gaps around functions, fractions and arrow heads do not vanish.
  float gap() {
    salfpa(g, 1);
    return std::fmax(g.charSpacing, h() / 6.0f);
  }

  Saved save() const {
    return {g.charHeight, base, style, alphabet, chosen, g.currentColour, g.baseShift};
  }
  void restore(const Saved& s) {
    if (g.charHeight != s.height) qqshgt1(s.height);
    base = s.base;
    style = s.style;
    alphabet = s.alphabet;
    chosen = s.chosen;
    if (g.currentColour != s.colour && g.measuring == 0) qqsclr(g, s.colour);
    g.baseShift = s.shift;
  }

  // ---- ink ----
  Ink beginInk() {
    Ink saved{g.extentUp, g.extentDown};
    g.extentUp = g.extentDown = kNone;
    return saved;
  }
  // The ink since beginInk, relative to the current baseline (0 when none),
  // merged back into the string's.
  Ink endInk(Ink saved) {
    Ink in{std::fmax(0.0f, g.extentUp - g.baseShift), std::fmax(0.0f, g.extentDown + g.baseShift)};
    g.extentUp = std::fmax(g.extentUp, saved.up);
    g.extentDown = std::fmax(g.extentDown, saved.down);
    return in;
  }

  // A polyline in text coordinates (along, up) from o, up measured from the
  // string's baseline.
  void stroke(Pos o, std::initializer_list<std::pair<float, float>> pts) {
    bool first = true;
    for (const auto& [a, u] : pts) {
      float px = o.x + a * g.textCos - u * g.textSin;
      float py = o.y - u * g.textCos - a * g.textSin;
      float up = -(px - g.startX) * g.textSin - (py - g.startY) * g.textCos;
      g.extentUp = std::fmax(g.extentUp, up);
      g.extentDown = std::fmax(g.extentDown, -up);
      if (g.measuring == 0) {
        if (first)
          qqmove(g, px, py);
        else
          qqdraw(g, px, py);
      }
      first = false;
    }
  }

  // ---- characters ----
  int charAlphabet(int c) const {
    if (chosen || !lex.math) return alphabet;
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return letter ? 4 : 1;
  }
  // Draws one character from an alphabet and returns its advance.
  float qqplcha(int c, int alph) {
    Pos a = here();
    g.alphabet = alph;
    alfcha(g, c);
    g.alphabet = alphabet;
    take();
    return dist(a, here());
  }
  void word(const char* w) {
    qqspace(g, gap());
    for (const char* p = w; *p; ++p) qqplcha(static_cast<unsigned char>(*p), 1);
    qqspace(g, gap());
  }

  // ---- the list of a string, group or root index ----
  bool list(int closer) {
    Scripts sc;
    sc.start = sc.end = here();
    for (;;) {
      TexToken t = qqlexan(lex);
      if (t.kind == kTexEnd) {
        if (closer == kTexEnd) return true;
        return fail(closer == ']' ? kRootError : "Unbalanced parenthesis");
      }
      if (t.kind == kTexStruct && (t.ch == '}' || t.ch == ']')) {
        if (t.ch == closer) return true;
        return fail(t.ch == '}' ? "Unbalanced parenthesis" : kRootError);
      }
      if (t.kind == kTexExp || t.kind == kTexIdx) {
        if (!script(t.kind == kTexExp, sc)) return false;
        take();
        continue;
      }
      sc = Scripts{};
      if (!atom(t, sc)) return false;
      if (!sc.limits) sc.start = sc.end = here();
      take();
    }
  }

  bool atom(const TexToken& t, Scripts& sc) {
    if (t.kind == kTexChar) {
      qqplcha(t.ch, charAlphabet(t.ch));
      return true;
    }
    if (t.kind == kTexStruct) return group();  // "{"
    return command(t.name, sc);
  }

  // The body of a group whose "{" has been read.
  bool group() {
    if (braces >= kMaxNest) return fail("Too many nested parenthesis");
    Saved s = save();
    ++braces;
    bool ok = list('}');
    --braces;
    if (ok) restore(s);
    return ok;
  }
  // "{" (after blanks) begins a group.
  bool opens(int c) {
    if (qqlookup(lex) != c) return false;
    while (lex.s[lex.pos] == ' ') ++lex.pos;
    ++lex.pos;
    return true;
  }
  // The argument of a script or root: a group, a character or a command,
  // after any blanks ("\sqrt x" outside math mode).
  bool arg(const char* error) {
    while (lex.pos < lex.n && lex.s[lex.pos] == ' ') ++lex.pos;
    TexToken t = qqlexan(lex);
    if (t.kind == kTexChar) {
      qqplcha(t.ch, charAlphabet(t.ch));
      return true;
    }
    if (t.kind == kTexStruct && t.ch == '{') return group();
    if (t.kind == kTexName) {
      Scripts none;
      return command(t.name, none);
    }
    return fail(error);
  }

  // ---- exponents, indices and limits ----
  bool script(bool exp, Scripts& sc) {
    if (exp ? sc.exp : sc.idx) return fail(kScriptError);
    if (scripts >= kMaxNest) return fail("Too many nested exponents/indices");
    // An exponent sits lower on a base that also has an index, whichever
    // comes first; the measuring pass tells the drawing pass.
    if (!sc.exp && !sc.idx) sc.indexed = reserve(1);
    if (!exp) record(sc.indexed, 1.0f);
    bool indexed = sc.idx || recorded(sc.indexed) != 0.0f;
    Saved s = save();
    qqheight(exp ? 1 : 2);
    float b = h();
    std::size_t k = sc.slot + (exp ? 1 : 2);
    Pos from = sc.start;
    if (sc.limits) {
      float full = std::max({recorded(sc.slot), recorded(sc.slot + 1), recorded(sc.slot + 2)});
      from = along(sc.opStart, pass == 0 ? 0.5f * (full - recorded(k)) : 0.0f);
      g.baseShift = s.shift + (exp ? sc.opUp + 0.25f * b : -(sc.opDown + 1.25f * b));
    } else {
      qqshift(exp ? (indexed ? 0.9f : 1.1f) * b : -0.6f * b);
    }
    go(from);
    ++scripts;
    bool ok = arg(kScriptError);
    --scripts;
    if (!ok) return false;
    Pos end = here();
    if (sc.limits) {
      float w = dist(from, end);
      record(k, w);
      end = along(sc.opStart, w + sc.opSpace);
    }
    restore(s);
    if (dist(sc.end, end) > 0.0f) sc.end = end;
    go(sc.end);
    (exp ? sc.exp : sc.idx) = true;
    return true;
  }

  // sum, prod, int, oint and lim.
  bool bigOperator(int which, Scripts& sc) {
    bool limits = which != 2 && which != 3 && style == 0;
    TexLexer ahead = lex;
    TexToken t = qqlexan(lex);
    int v = t.kind == kTexName ? qqchktex(t.name, kTexLimits) : -1;
    if (v >= 0)
      limits = v == 1;
    else
      lex = ahead;
    Pos start = here();
    std::size_t slot = limits ? reserve(3) : 0;
    float full = std::max({recorded(slot), recorded(slot + 1), recorded(slot + 2)});
    if (limits) go(along(start, 0.5f * (full - recorded(slot))));
    Pos a = here();
    Ink saved = beginInk();
    if (which == 4) {
      word("lim");
    } else {
      qqplcha("rsvw"[which], 3);
    }
    Ink in = endInk(saved);
    if (!limits) return true;
    // Centred by the glyph's width, without the spacing after it.
    float space = g.charSpacing, w = dist(a, here()) - space;
    record(slot, w);
    sc.limits = true;
    sc.opSpace = space;
    sc.slot = slot;
    sc.opStart = start;
    sc.opUp = in.up;
    sc.opDown = in.down;
    sc.start = start;
    sc.end = along(start, (pass == 0 ? std::fmax(full, w) : w) + space);
    go(sc.end);
    return true;
  }

  // ---- fractions ----
  bool fraction() {
    if (fractions >= kMaxNest || fractionCount >= kMaxFractions) return fail("Too many fractions");
    if (!opens('{')) return fail("Syntax error for fractions");
    ++fractions;
    ++fractionCount;
    std::size_t k = reserve(3);  // width, numerator, denominator
    Saved s = save();
    float sp = gap();
    Pos start = here();
    float parts[2], heights[2];
    for (int i = 0; i < 2; ++i) {
      if (i == 1 && !opens('{')) return fail("Missing denominator for fractions");
      qqheight(3 + i);
      heights[i] = h();
      qqshift(i == 0 ? 2.3f * heights[i] : -1.8f * heights[i]);
      Pos from = along(start, sp + (pass == 0 ? 0.5f * (recorded(k) - recorded(k + 1 + i)) : 0.0f));
      go(from);
      if (!group()) return false;
      parts[i] = dist(from, here());
      restore(s);
    }
    float w = std::fmax(parts[0], parts[1]);
    record(k, w);
    record(k + 1, parts[0]);
    record(k + 2, parts[1]);
    // The bar halfway between the foot of the numerator and the top of the
    // denominator.
    float bar = s.shift + 0.5f * (2.3f * heights[0] - 0.8f * heights[1]);
    stroke(start, {{sp, bar}, {sp + w, bar}});
    go(along(start, sp + w + sp));
    --fractions;
    return true;
  }

  // ---- roots ----
  // The sign over a radicand of width w, depth d and height e, for the
  // height hs, from o on the baseline shifted by u.
  void qqplsqrt(Pos o, float u, float hs, float d, float e, float w) {
    stroke(o, {{0, u + 0.5f * hs},
               {0.25f * hs, u + 0.5f * hs},
               {0.5f * hs, u - d},
               {hs, u + 0.4f * hs + e},
               {1.2f * hs + w, u + 0.4f * hs + e}});
    // A second stroke thickens the descending leg.
    stroke(o, {{0.15f * hs, u + 0.5f * hs}, {0.4f * hs, u - d}});
  }

  bool root() {
    if (roots >= kMaxNest) return fail("Too many nested roots");
    ++roots;
    Saved s = save();
    float hr = h();
    Pos origin = here();
    if (opens('[')) {
      Pos s0 = here();
      ++lex.rootIndex;
      qqheight(5);
      qqshift(1.25f * h());
      bool ok = list(']');
      --lex.rootIndex;
      if (!ok) return false;
      float wi = dist(s0, here());
      restore(s);
      origin = along(s0, std::fmax(0.0f, wi - 0.5f * hr));
    }
    go(along(origin, 1.1f * hr));
    Pos from = here();
    Ink saved = beginInk();
    if (!arg(kRootError)) return false;
    float w = dist(from, here());
    Ink in = endInk(saved);
    qqplsqrt(origin, s.shift, hr, in.down, in.up, w);
    go(along(origin, 1.2f * hr + w));
    --roots;
    return true;
  }

  // ---- over- and underlines, vectors ----
  bool lined(int kind) {  // 7 overline, 8 underline, 9 vec
    static const char* const errors[3] = {"Syntax error for overstrike", "Syntax error for understrike",
                                          "Syntax error for vec"};
    if (!opens('{')) return fail(errors[kind - 7]);
    Pos a = here();
    Ink saved = beginInk();
    if (!group()) return false;
    Ink in = endInk(saved);
    float w = std::fmax(0.0f, dist(a, here()) - g.charSpacing);
    float u = kind == 8 ? g.baseShift - in.down - 0.15f * h() : g.baseShift + in.up + 0.15f * h();
    stroke(a, {{0, u}, {w, u}});
    if (kind == 9) {
      float l = 2.0f * gap();
      stroke(a, {{w - l, u + 0.4f * l}, {w, u}});
      stroke(a, {{w - l, u - 0.4f * l}, {w, u}});
    }
    return true;
  }

  // ---- command names, through the tables in order ----
  bool command(const char* name, Scripts& sc) {
    int v;
    if ((v = qqchktex(name, kTexGreek)) != -1) {
      qqplcha(v, 2);
    } else if ((v = qqchktex(name, kTexSpaces)) != -1) {
      qqspace(g, static_cast<float>(v) * h() / 18.0f);
    } else if ((v = qqchktex(name, kTexSymbols)) != -1) {
      qqplcha(v, 3);
    } else if ((v = qqchktex(name, kTexAlphabets)) != -1) {
      alphabet = v;
      chosen = true;
    } else if ((v = qqchktex(name, kTexStyles)) != -1) {
      qqshgt2(v);
    } else if ((v = qqchktex(name, kTexSizes)) != -1) {
      base = static_cast<int>(static_cast<float>(stringBase) * qqtexsize(v) + 0.5f);
      qqshgt1(base);
    } else if ((v = qqchktex(name, kTexColours)) != -1) {
      if (g.measuring == 0) qqcolr(g, name);
    } else if ((v = qqchktex(name, kTexFunctions)) != -1) {
      word(name);
    } else if ((v = qqchktex(name, kTexCommands)) != -1) {
      if (v <= 4) return bigOperator(v, sc);
      if (v == 5) return root();
      if (v == 6) return fraction();
      return lined(v);
    } else {
      return fail("Unknown TeX command");
    }
    return true;
  }
};

}  // namespace

int qqparse(Global& g, const char* text, int n, int pass, TexWidths& widths, float* reach) {
  Reader reader(g, text, n, pass, widths, reach);
  return reader.run();
}

bool qqtexs(Global& g, const char* text, int n, float* reach) {
  int measuring = g.measuring, tracking = g.trackExtent, mixing = g.mixSwitch;
  int height = g.charHeight, alphabet = g.alphabet;
  float x = g.textX, y = g.textY, shift = g.baseShift, up = g.extentUp, down = g.extentDown;
  g.mixSwitch = 0;
  g.trackExtent = 1;  // the reader measures the ink of roots and lines
  TexWidths widths;
  g.measuring = 1;
  g.extentUp = g.extentDown = 0.0f;
  int error = qqparse(g, text, n, 1, widths, nullptr);
  g.textX = x, g.textY = y, g.baseShift = shift, g.alphabet = alphabet;
  if (g.charHeight != height) {
    g.charHeight = height;
    g.scaleAlphabet = 0;
  }
  if (error == 0) {
    g.measuring = measuring;
    g.extentUp = g.extentDown = 0.0f;
    widths.next = 0;
    error = qqparse(g, text, n, 0, widths, reach);
  }
  g.measuring = measuring;
  g.mixSwitch = mixing;
  if (!tracking) g.extentUp = up, g.extentDown = down;
  g.trackExtent = tracking;
  g.baseShift = shift;
  g.alphabet = alphabet;
  return error == 0;
}

}  // namespace korvan
