#include "options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "korvan.h"

namespace orbview {

namespace {

// A still or animated file: the extension and the library's keyword.
struct Format {
  const char* ext;
  const char* keyword;
};
const Format kFormats[] = {
    {"gif", "AGIF"}, {"png", "PNG"},  {"pdf", "PDF"},  {"svg", "SVG"},  {"ps", "PS"},
    {"eps", "EPS"},  {"tif", "TIFF"}, {"tiff", "TIFF"}, {"bmp", "BMP"}, {"ppm", "PPM"},
    {"cgm", "CGM"},  {"wmf", "WMF"},  {"hpg", "HPGL"}, {"met", "GKSL"}, {"java", "JAVA"},
};

// An animation file of a long run stays within a few megabytes: about this
// many frames are kept unless --step says otherwise.
constexpr long kFramesKept = 250;

bool number(const char* text, long& value) {
  if (!text || !*text) return false;
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || v < 1) return false;
  value = v;
  return true;
}

void usage(std::FILE* f, const char* program, const char* files) {
  std::fprintf(f,
               "Usage: %s [--output FILE] [--step K] [--frames N] [--dir DIR]\n"
               "       %s --help | --version\n"
               "Animates the orbits of the element files %s\n"
               "in the current directory in a screen window. After the last frame\n"
               "the window stays open until the right mouse button is released over\n"
               "it or the window is closed.\n"
               "\n"
               "  --output FILE  write the animation to FILE instead: an animated GIF\n"
               "                 for .gif; the last frame as a picture for .png, .pdf,\n"
               "                 .svg, .ps, .eps, .tif, .bmp, .ppm, .cgm, .wmf, .hpg,\n"
               "                 .met, .java. An existing FILE is never replaced.\n"
               "  --step K       keep every K-th frame (for a file: chosen so that\n"
               "                 about %ld frames are kept)\n"
               "  --frames N     stop after N frames\n"
               "  --dir DIR      read the element files from DIR\n",
               program, program, files, kFramesKept);
}

// A bad command line: the reason and the usage on standard error, status 2.
struct Bad {
  const char* program;
  const char* files;
  int operator()(const std::string& text) const {
    std::fprintf(stderr, "%s: %s\n", program, text.c_str());
    usage(stderr, program, files);
    return 2;
  }
};

}  // namespace

int viewerOptions(int argc, char** argv, const char* program, const char* files,
                  float (*version)(), ViewOptions& opt) {
  if (argc < 2) return -1;
  std::string first = argv[1];
  if (argc == 2 && first == "--version") {
    std::printf("%s (KORVAN %.1f)\n", program, static_cast<double>(version()));
    return 0;
  }
  if (argc == 2 && (first == "--help" || first == "-h")) {
    usage(stdout, program, files);
    return 0;
  }
  const Bad bad{program, files};
  std::string output, dir;
  bool haveOutput = false, haveDir = false, haveStep = false, haveFrames = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    bool* seen = nullptr;
    if (arg == "--output") seen = &haveOutput;
    else if (arg == "--dir") seen = &haveDir;
    else if (arg == "--step") seen = &haveStep;
    else if (arg == "--frames") seen = &haveFrames;
    else if (arg == "--help" || arg == "-h" || arg == "--version")
      return bad(arg + " stands alone");
    else
      return bad("unknown option '" + arg + "'");
    if (*seen) return bad(arg + " is given twice");
    *seen = true;
    if (!value) return bad(arg + " needs a value");
    ++i;
    if (arg == "--output") {
      output = value;
      if (output.empty()) return bad("--output needs a file name");
    } else if (arg == "--dir") {
      dir = value;
      if (dir.empty()) return bad("--dir needs a folder");
    } else if (!number(value, arg == "--step" ? opt.step : opt.frames)) {
      return bad(arg + " needs a whole number from 1 on, not '" + value + "'");
    }
  }

  if (haveOutput) {
    std::string ext = std::filesystem::path(output).extension().string();
    if (!ext.empty()) ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Format& f : kFormats)
      if (ext == f.ext) opt.keyword = f.keyword;
    if (opt.keyword.empty())
      return bad("--output '" + output + "': the extension names no format of the library");
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(output, ec);
    if (ec) return bad("--output '" + output + "': " + ec.message());
    if (std::filesystem::exists(path, ec))
      return bad("--output '" + output + "' exists; remove it or choose another name");
    std::filesystem::path parent = path.parent_path();
    if (!parent.empty() && !std::filesystem::is_directory(parent, ec))
      return bad("--output '" + output + "': no folder '" + parent.string() + "'");
    opt.output = path.string();
  }
  if (haveDir) {
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    if (ec) return bad("--dir '" + dir + "': " + ec.message());
    opt.dir = dir;
  }
  return -1;
}

std::vector<int> selectFrames(const ViewOptions& opt, int ndatos) {
  long n = ndatos;
  if (opt.frames > 0) n = std::min(n, opt.frames);  // at most this many kept frames
  // A frame count counts frames one by one unless a step is given too.
  long step = opt.step;
  if (step <= 0)
    step = opt.window() || opt.frames > 0 ? 1 : std::max(1L, (n + kFramesKept - 1) / kFramesKept);
  std::vector<int> list;
  for (long k = 0; k < ndatos && static_cast<long>(list.size()) < n; k += step)
    list.push_back(static_cast<int>(k));
  if (!opt.window() && !opt.animation() && list.size() > 1) list.erase(list.begin(), list.end() - 1);
  return list;
}

void selectOutput(const ViewOptions& opt) {
  if (opt.window()) {
    metafl_("CONS", 4);
    return;
  }
  metafl_(opt.keyword.c_str(), static_cast<int>(opt.keyword.size()));
  outfil_(opt.output.c_str(), static_cast<int>(opt.output.size()));
}

}  // namespace orbview
