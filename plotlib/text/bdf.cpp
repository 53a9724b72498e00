#include "text/bdf.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace korvan {

namespace {

constexpr std::size_t kLine = 512;
// No glyph of a real font comes near this; it bounds what a broken file
// (a BITMAP without ENDCHAR) can make us keep.
constexpr std::size_t kBitmapText = 1 << 16;
// All glyphs of a font together: more is taken as running out of memory,
// before the system would.
constexpr std::size_t kFontText = std::size_t{64} << 20;
// Room reserved up front; more glyphs still come in as they are read.
constexpr int kReserve = 1024;

class MemoryLines final : public BdfLines {
 public:
  MemoryLines(const char* data, std::size_t size) : p_(data), end_(data + size) {}
  bool next(std::string& line) override {
    if (p_ >= end_) return false;
    const char* nl = static_cast<const char*>(std::memchr(p_, '\n', static_cast<std::size_t>(end_ - p_)));
    const char* stop = nl ? nl : end_;
    line.assign(p_, std::min(static_cast<std::size_t>(stop - p_), kLine));
    p_ = nl ? nl + 1 : end_;
    return true;
  }

 private:
  const char* p_;
  const char* end_;
};

// Lines of a file, read in blocks; reading stops after kBdfMaxFile bytes.
class FileLines final : public BdfLines {
 public:
  explicit FileLines(std::FILE* f) : f_(f) {}
  bool next(std::string& line) override {
    line.clear();
    bool any = false;
    for (;;) {
      if (pos_ == len_ && !fill()) return any;
      any = true;
      const char* p = buf_.data() + pos_;
      const std::size_t n = len_ - pos_;
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', n));
      const std::size_t take = nl ? static_cast<std::size_t>(nl - p) : n;
      if (line.size() < kLine) line.append(p, std::min(take, kLine - line.size()));
      pos_ += nl ? take + 1 : take;
      if (nl) return true;
    }
  }
  // The file went on beyond what is read.
  bool cut() const { return cut_; }

 private:
  bool fill() {
    pos_ = len_ = 0;
    if (read_ >= kBdfMaxFile) {
      cut_ = std::fgetc(f_) != EOF;
      return false;
    }
    const long long room = kBdfMaxFile - read_;
    const std::size_t want = room < static_cast<long long>(buf_.size()) ? static_cast<std::size_t>(room)
                                                                         : buf_.size();
    len_ = std::fread(buf_.data(), 1, want, f_);
    read_ += static_cast<long long>(len_);
    return len_ > 0;
  }

  std::FILE* f_;
  std::vector<char> buf_ = std::vector<char>(std::size_t{1} << 16);
  std::size_t pos_ = 0, len_ = 0;
  long long read_ = 0;
  bool cut_ = false;
};

bool startsWith(const std::string& line, const char* key) {
  return line.compare(0, std::strlen(key), key) == 0;
}

// Up to n integers as "%d %d ..." reads them: blanks skipped, an optional
// sign, digits; the first thing that is no number ends the list. Values
// beyond the int range are held at its ends. Only the numbers read are
// stored.
void readInts(const char* p, int* const* out, int n) {
  for (int i = 0; i < n; ++i) {
    while (*p == ' ' || *p == '\t' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    if (*p < '0' || *p > '9') return;
    long long v = 0;
    while (*p >= '0' && *p <= '9') {
      if (v <= INT_MAX) v = v * 10 + (*p - '0');
      ++p;
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    *out[i] = static_cast<int>(v);
  }
}

void stripLineEnd(std::string& line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
}

}  // namespace

int bdfParse(BdfLines& in, BdfFont& font) {
  font = BdfFont{};
  try {
    std::string line;
    BdfGlyph glyph;
    bool collecting = false;
    std::size_t total = 0;
    while (in.next(line)) {
      stripLineEnd(line);
      if (!font.started && !line.empty() && !startsWith(line, "COMMENT"))
        font.started = startsWith(line, "STARTFONT") ? 1 : -1;
      if (collecting) {
        if (startsWith(line, "ENDCHAR")) {
          collecting = false;
          ++font.ended;
          // Glyphs the CHARS line did not announce have no room.
          if (static_cast<int>(font.glyphs.size()) < font.chars) {
            total += glyph.bitmap.size() + sizeof(BdfGlyph);
            if (total > kFontText) throw std::bad_alloc();
            font.glyphs.push_back(std::move(glyph));
          }
          glyph = BdfGlyph{};
        } else if (glyph.bitmap.size() + line.size() + 1 <= kBitmapText) {
          glyph.bitmap += line;
          glyph.bitmap += '\n';
        }
        continue;
      }
      const char* rest = line.c_str();
      if (startsWith(line, "COMMENT") || startsWith(line, "STARTFONT") ||
          startsWith(line, "FONT ")) {
        continue;
      } else if (startsWith(line, "SIZE ")) {
        int* v[] = {&font.pointSize, &font.xResolution, &font.yResolution};
        readInts(rest + 5, v, 3);
      } else if (startsWith(line, "FONTBOUNDINGBOX")) {
        int* v[] = {&font.boxWidth, &font.boxHeight, &font.boxX, &font.boxY};
        readInts(rest + 15, v, 4);
        font.boxed = true;
      } else if (startsWith(line, "CHARS ")) {
        int n = 0;
        int* v[] = {&n};
        readInts(rest + 6, v, 1);
        font.counted = n > 0;
        font.chars = n > 0 ? n : 0;
        font.glyphs.clear();
        total = 0;
        font.glyphs.reserve(static_cast<std::size_t>(std::min(font.chars, kReserve)));
      } else if (startsWith(line, "ENCODING ")) {
        int* v[] = {&glyph.encoding};
        readInts(rest + 9, v, 1);
      } else if (startsWith(line, "DWIDTH ")) {
        int* v[] = {&glyph.dwidthX, &glyph.dwidthY};
        readInts(rest + 7, v, 2);
      } else if (startsWith(line, "BBX ")) {
        int* v[] = {&glyph.bbxWidth, &glyph.bbxHeight, &glyph.bbxX, &glyph.bbxY};
        readInts(rest + 4, v, 4);
      } else if (startsWith(line, "BITMAP")) {
        collecting = true;
        glyph.bitmap.clear();
      }
    }
  } catch (const std::bad_alloc&) {
    font = BdfFont{};
    return 2;
  }
  return 0;
}

int bdfParse(const char* data, std::size_t size, BdfFont& font) {
  MemoryLines in(data, size);
  return bdfParse(in, font);
}

namespace {
bool boxFits(int w, int h, int x, int y) {
  return w >= 0 && w <= kBdfMaxBox && h >= 0 && h <= kBdfMaxBox && x >= -kBdfMaxBox &&
         x <= kBdfMaxBox && y >= -kBdfMaxBox && y <= kBdfMaxBox;
}
}  // namespace

bool bdfUsable(const BdfFont& font) {
  if (font.started != 1 || !font.boxed || !font.counted) return false;
  if (font.boxWidth <= 0 || font.boxHeight <= 0 ||
      !boxFits(font.boxWidth, font.boxHeight, font.boxX, font.boxY))
    return false;
  if (static_cast<long long>(font.glyphs.size()) != font.chars || font.ended != font.chars)
    return false;
  for (const BdfGlyph& g : font.glyphs)
    if (!boxFits(g.bbxWidth, g.bbxHeight, g.bbxX, g.bbxY)) return false;
  return true;
}

int qqgetbdf(const char* path, BdfFont& font) {
  std::FILE* f = path ? std::fopen(path, "rb") : nullptr;
  if (!f) return 1;
  int code = 2;
  try {
    FileLines in(f);
    code = bdfParse(in, font);
    // A read error is a file that cannot be read.
    if (code == 0 && std::ferror(f))
      code = 1;
    else if (code == 0 && (in.cut() || !bdfUsable(font)))
      code = 3;
  } catch (const std::bad_alloc&) {
    code = 2;
  }
  if (code != 0) font = BdfFont{};
  std::fclose(f);
  return code;
}

const BdfGlyph* bdfFind(const BdfFont& font, int code) {
  if (code < 0) return nullptr;
  for (const BdfGlyph& glyph : font.glyphs)
    if (glyph.encoding == code) return &glyph;
  return nullptr;
}

void bdfAxes(float angle, double& c, double& s) {
  // The two common angles exactly, so that upright and vertical text has
  // no rounding at all.
  if (angle == 0.0f) {
    c = 1.0;
    s = 0.0;
  } else if (angle == 90.0f) {
    c = 0.0;
    s = 1.0;
  } else {
    double a = static_cast<double>(angle) * 3.14159265358979323846 / 180.0;
    c = std::cos(a);
    s = std::sin(a);
  }
}

}  // namespace korvan
