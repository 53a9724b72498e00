// Rendering of the written files with real readers (Ghostscript for
// PostScript and EPS, rsvg-convert for SVG) into PPM images, and pixel
// look-ups on the result.
#pragma once

#include "support/files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace korvan::test {

struct Rgb {
  int r, g, b;
};

struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> data;
  bool empty() const { return data.empty(); }
  Rgb at(int x, int y) const {
    std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {data[i], data[i + 1], data[i + 2]};
  }
};

inline bool near(Rgb a, Rgb b, int tol = 40) {
  return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

// True if a pixel within radius of (x, y) has the colour.
inline bool hasColourNear(const Image& im, double x, double y, Rgb c, int radius = 2) {
  int cx = static_cast<int>(x), cy = static_cast<int>(y);
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      int px = cx + dx, py = cy + dy;
      if (px < 0 || py < 0 || px >= im.width || py >= im.height) continue;
      if (near(im.at(px, py), c)) return true;
    }
  return false;
}

// Reads a binary PPM (P6, maxval 255).
inline Image readPpm(const std::string& name) {
  Image im;
  if (!korvan::test::readPpm(name, im.width, im.height, im.data)) return {};
  return im;
}

// Dates ("dd.mm.yyyy") and times ("hh:mm:ss") replaced by fixed masks.
inline std::string maskDates(const std::string& s) {
  auto digits = [&s](std::size_t at, const char* shape) {
    for (std::size_t k = 0; shape[k]; ++k) {
      if (at + k >= s.size()) return false;
      char c = s[at + k];
      if (shape[k] == '9' ? (c < '0' || c > '9') : c != shape[k]) return false;
    }
    return true;
  };
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    if (digits(i, "99.99.9999")) {
      out += "DD.MM.YYYY";
      i += 10;
    } else if (digits(i, "99:99:99")) {
      out += "hh:mm:ss";
      i += 8;
    } else {
      out += s[i++];
    }
  }
  return out;
}

inline int run(const std::string& cmd) { return std::system(cmd.c_str()); }

// Ghostscript at res dpi on an A4 sheet; EPS files cropped to their
// bounding box when crop is set. Empty image if Ghostscript failed.
inline Image renderPs(const std::string& file, int res, bool crop = false,
                      std::string* messages = nullptr) {
  std::string out = file + ".ppm", log = file + ".gslog";
  std::ostringstream cmd;
  cmd << "gs -q -dNOPAUSE -dBATCH -dSAFER"
      << (crop ? " -dEPSCrop" : " -sPAPERSIZE=a4 -dFIXEDMEDIA") << " -sDEVICE=ppmraw -r" << res << " -sOutputFile=" << out
      << " " << file << " >" << log << " 2>&1";
  int rc = run(cmd.str());
  if (messages) {
    std::ifstream in(log);
    std::stringstream s;
    s << in.rdbuf();
    *messages = s.str();
  }
  if (rc != 0) return {};
  return readPpm(out);
}

// rsvg-convert on a white background at the document's own size.
inline Image renderSvg(const std::string& file) {
  std::string png = file + ".png", ppm = file + ".ppm";
  if (run("rsvg-convert -b white -f png -o " + png + " " + file + " 2>/dev/null") != 0) return {};
  if (run("pngtopnm " + png + " >" + ppm + " 2>/dev/null") != 0) return {};
  return readPpm(ppm);
}

// xmllint without network access: true if the file is well-formed XML.
inline bool wellFormed(const std::string& file) {
  return run("xmllint --noout --nonet " + file + " 2>/dev/null") == 0;
}

}  // namespace korvan::test
