// The tokens of TeX-style strings and the tables of their command names.
#include <cstring>

#include "text/tex.h"

namespace korvan {

namespace {

// A table of names with values; the names are blank-separated.
struct Table {
  const char* names;
  const int* values;  // nullptr: the position in the table (0-based)
  const char* chars;  // or the character at that position
};

constexpr const char* kGreekNames =
    "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi pi rho sigma tau "
    "upsilon phi chi psi omega Gamma Delta Theta Lambda Xi Pi Sigma Upsilon Phi Psi Omega";
constexpr const char* kGreekChars = "abcdezhqiklmnxprstyfguwCDQLXPSYFUW";

constexpr const char* kSpaceNames = "quad qquad , : ; !";
constexpr int kSpaceValues[] = {18, 36, 3, 4, 5, -3};

constexpr const char* kSymbolNames =
    "pm mp times div cdot ast star cap cup vee wedge setminus odot oplus ominus le leq subset "
    "subseteq in ge geq supset supseteq ni neq cong equiv parallel sim mid notin not= leftarrow "
    "Leftarrow rightarrow to Rightarrow Leftrightarrow uparrow downarrow emptyset nabla surd "
    "partial forall exists backslash infty perp";
constexpr const char* kSymbolChars = "FGDE.**LMpq\\jhiHHNRWJJOSYIzBT~|XIcfaeegbdynxmkU\\lK";

constexpr const char* kAlphabetNames = "rm gr it cal ru";
constexpr int kAlphabetValues[] = {1, 2, 4, 5, 6};

constexpr const char* kStyleNames =
    "displaystyle D textstyle T scriptstyle S scriptscriptstyle SS";
constexpr int kStyleValues[] = {0, 0, 1, 1, 2, 2, 3, 3};

constexpr const char* kSizeNames =
    "tiny scriptsize footnotesize small normalsize large Large LARGE huge Huge";
constexpr float kSizeFactors[] = {0.482f, 0.578f, 0.695f, 0.83f, 1.0f,
                                  1.2f,   1.44f,  1.728f, 2.0736f, 2.488f};

constexpr const char* kColourNames =
    "black red green blue cyan yellow orange magenta white fore back";

constexpr const char* kFunctionNames =
    "arccos arcsin arctan arg cos cosh cot coth csc dec dim exp hom ln log sec sin sinh tan tanh";

constexpr const char* kCommandNames = "sum prod int oint lim sqrt frac overline underline vec";

constexpr const char* kLimitNames = "nolimits limits";

constexpr Table kTables[10] = {
    {kGreekNames, nullptr, kGreekChars},   {kSpaceNames, kSpaceValues, nullptr},
    {kSymbolNames, nullptr, kSymbolChars}, {kAlphabetNames, kAlphabetValues, nullptr},
    {kStyleNames, kStyleValues, nullptr},  {kSizeNames, nullptr, nullptr},
    {kColourNames, nullptr, nullptr},      {kFunctionNames, nullptr, nullptr},
    {kCommandNames, nullptr, nullptr},     {kLimitNames, nullptr, nullptr},
};

// Entry k of a blank-separated list into out; false past its end.
bool entry(const char* names, int k, char (&out)[33]) {
  const char* p = names;
  for (int i = 0; i < k; ++i) {
    p = std::strchr(p, ' ');
    if (!p) return false;
    ++p;
  }
  std::size_t len = std::strcspn(p, " ");
  if (len > 32) len = 32;
  std::memcpy(out, p, len);
  out[len] = '\0';
  return true;
}

// Characters that end a command name.
bool endsName(int c) { return c == ' ' || std::strchr("^_{}$()*+-/[]=", c) != nullptr; }

bool letter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

int qqchktex(const char* name, int table) {
  if (table < 1 || table > 10 || !name) return -1;
  const Table& t = kTables[table - 1];
  char e[33];
  for (int k = 0; entry(t.names, k, e); ++k) {
    if (std::strcmp(e, name) != 0) continue;
    if (t.chars) return static_cast<unsigned char>(t.chars[k]);
    return t.values ? t.values[k] : k;
  }
  return -1;
}

float qqtexsize(int k) { return k >= 0 && k < 10 ? kSizeFactors[k] : 1.0f; }

int qqlookup(const TexLexer& lex) {
  int p = lex.pos;
  while (p < lex.n && lex.s[p] == ' ') ++p;
  return p < lex.n ? lex.s[p] : -1;
}

TexToken qqlexan(TexLexer& lex) {
  TexToken t{kTexEnd, 0, {0}};
  for (;;) {
    if (lex.pos >= lex.n) return t;
    int c = lex.s[lex.pos];
    if (c == '$') {
      lex.math = !lex.math;
      ++lex.pos;
      continue;
    }
    if (c == ' ' && lex.math) {
      ++lex.pos;
      continue;
    }
    break;
  }
  int c = lex.s[lex.pos++];
  if (c == static_cast<unsigned char>(lex.escape)) {
    int next = lex.pos < lex.n ? lex.s[lex.pos] : -1;
    if (next >= 0 && std::strchr("$[\\]^_{}", next) && next != 0) {
      ++lex.pos;
      t.kind = kTexChar;
      t.ch = next;
      return t;
    }
    t.kind = kTexName;
    int len = 0;
    if (next >= 0 && !letter(next) && !endsName(next)) {
      // A name of one sign (the thin spaces "\," "\;" ...) ends at once, so
      // that it may be written against the text that follows.
      t.name[len++] = static_cast<char>(next);
      ++lex.pos;
    } else {
      // The next escape ends a name too ("\rm\alpha"). The blank that ends
      // a name stays: outside math mode it is a blank of the text
      // ("\alpha particles"), inside it is skipped like any other.
      int esc = static_cast<unsigned char>(lex.escape);
      while (lex.pos < lex.n && !endsName(lex.s[lex.pos]) && lex.s[lex.pos] != esc) {
        if (len < 32) t.name[len++] = static_cast<char>(lex.s[lex.pos]);
        ++lex.pos;
      }
      if (len > 0 && lex.math && lex.pos < lex.n && lex.s[lex.pos] == ' ') ++lex.pos;
    }
    t.name[len] = '\0';
    if (std::strcmp(t.name, "not") == 0 && lex.pos < lex.n && lex.s[lex.pos] == '=') {
      std::strcpy(t.name, "not=");
      ++lex.pos;
    }
    return t;
  }
  t.ch = c;
  // "[" of a root index is taken by the reader right after the command.
  if (c == '{' || c == '}' || (c == ']' && lex.rootIndex > 0)) {
    t.kind = kTexStruct;
  } else if (lex.math && (c == '^' || c == '_')) {
    t.kind = c == '^' ? kTexExp : kTexIdx;
  } else {
    t.kind = kTexChar;
  }
  return t;
}

}  // namespace korvan
