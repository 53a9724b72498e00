// The library edition: version, patch level and the few behaviours that
// differ between library states that programs were built with.
//
// How a program chooses its edition: libkorvan.a holds edition.o, which
// defines edition() for the current state (8.3). A program that carries an
// earlier state links that edition's object file (edition81.cpp, the CMake
// object library korvan_edition81) ahead of the archive. The linker then
// finds edition() already defined and never pulls edition.o out of the
// archive, so the library itself is still built only once. edition.cpp and
// edition81.cpp must therefore define nothing but edition().
#pragma once

namespace korvan {

struct Edition {
  float version;          // reported by getver and the protocol
  int patchLevel;         // getplv; shown as a letter in the protocol
  bool hasGif;            // keyword "GIF " and extension "gif" exist
  bool alwaysFlushColour; // a colour change always flushes the open stroke
};

const Edition& edition();

}  // namespace korvan
