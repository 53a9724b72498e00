// TeX-style strings: the lexer, the command tables and the two-pass reader
// that measures and draws them with the stroke fonts.
#pragma once

namespace korvan {

struct Global;

// Token kinds of qqlexan.
enum TexKind {
  kTexEnd = 0,
  kTexChar = 256,    // an ordinary character
  kTexName = 257,    // a command name
  kTexStruct = 258,  // "{", "}", and "[" "]" of a root index
  kTexExp = 267,     // "^" in math mode
  kTexIdx = 268,     // "_" in math mode
};

struct TexToken {
  int kind;
  int ch;         // the character of kinds 256 and 258
  char name[33];  // the command name of kind 257
};

struct TexLexer {
  const unsigned char* s;
  int n;
  int pos;
  bool math;
  int rootIndex;  // open root indices: "]" is structural while > 0
  char escape;
};

TexToken qqlexan(TexLexer& lex);
// The next non-blank character, not consumed; -1 at the end.
int qqlookup(const TexLexer& lex);

// The command tables, looked up in this order.
enum TexTable {
  kTexGreek = 1,
  kTexSpaces,
  kTexSymbols,
  kTexAlphabets,
  kTexStyles,
  kTexSizes,
  kTexColours,
  kTexFunctions,
  kTexCommands,
  kTexLimits,
};
// The value of a name in one table, or -1: the character of Greek letters
// and symbols, eighteenths of the height for spaces, the alphabet, the style
// level, and the position in the table for the others (limits 1, nolimits 0).
int qqchktex(const char* name, int table);
// The factor of size k.
float qqtexsize(int k);

// Reads one pass over a string (pass 1 measures, 0 draws from the text
// position); 0 on success, 1 after an error it has reported. widths carries
// what the measuring pass found for the drawing pass.
struct TexWidths;
int qqparse(Global& g, const char* text, int n, int pass, TexWidths& widths, float* reach);

// Both passes: measures the string and, if that found no error, draws it
// from the same start (with g.measuring set it only measures). Returns
// false after an error; then the text position is where it was. When reach
// is given, it receives the largest distance from the string start reached
// by the position less one spacing.
bool qqtexs(Global& g, const char* text, int n, float* reach);

}  // namespace korvan
