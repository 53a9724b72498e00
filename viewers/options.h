// The command line of the viewers and the frames it selects.
//
//   --output FILE  write the animation instead of opening a window: an
//                  animated GIF for ".gif", the last frame as a still
//                  picture for the other formats of the library
//   --step K       keep every K-th frame
//   --frames N     stop after N frames
//   --dir DIR      read the element files from DIR
//   --help, --version
#pragma once

#include <string>
#include <vector>

namespace orbview {

struct ViewOptions {
  std::string output;   // the file to write; empty: the screen window
  std::string keyword;  // the output keyword of the file's format ("AGIF", "PNG", ...)
  long step = 0;        // 0: every frame in the window, a step chosen from the run for a file
  long frames = -1;     // -1: every record
  std::string dir;      // empty: the current folder

  bool window() const { return output.empty(); }
  bool animation() const { return keyword == "AGIF"; }
};

// Reads the command line into opt. Returns -1 to go on, else the exit
// status: 0 after --help or --version, 2 after a bad option or value (with
// a message on standard error). Changes to --dir, the output name made
// absolute first so that it stays relative to the folder the viewer was
// started in.
int viewerOptions(int argc, char** argv, const char* program, const char* files,
                  float (*version)(), ViewOptions& opt);

// The records to draw, in order, of a run of ndatos records: every record
// in the window without options; every step-th up to the frame count; for
// a still picture only the last of those.
std::vector<int> selectFrames(const ViewOptions& opt, int ndatos);

// The output of the run: metafl with "CONS" for the window, else the
// format's keyword and the file's name.
void selectOutput(const ViewOptions& opt);

}  // namespace orbview
