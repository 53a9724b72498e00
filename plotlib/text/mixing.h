// Umlaut substitution, alphabet mixing and the instruction alphabet.
#pragma once

namespace korvan {

struct Global;

// Replaces escape sequences in place (text holds NUL-terminated bytes);
// returns the new length.
int strsft(Global& g, char* text);
// Offers a character to the alphabet mixing; true if it was consumed.
bool smixal(Global& g, int code);
// Carries out one buffered instruction (a command letter and its number).
void inscmd(Global& g, const char* ins);

}  // namespace korvan
