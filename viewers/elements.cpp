#include "elements.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace orbview {

namespace {

const char kDigits[] = "0123456789";  // the table z

const char* const kItemNames[8] = {"tiempo", "semieje", "ex", "ynclin",
                                   "odo", "w", "anomamedia", "nobj"};

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool blankLine(const std::string& s) {
  for (char c : s)
    if (!isBlank(static_cast<unsigned char>(c))) return false;
  return true;
}
bool endsField(int c) { return isBlank(c) || c == ',' || c == '/'; }

// Real syntax: [sign] (digits [. [digits]] | . digits) [exponent], the
// exponent being E or D with an optional sign, or a bare sign, then digits.
// Returns the text in C form (exponent letter E) or an empty string.
std::string realText(const std::string& t) {
  std::size_t i = 0, n = t.size();
  std::string out;
  if (i < n && (t[i] == '+' || t[i] == '-')) out += t[i++];
  std::size_t mantissa = 0;
  while (i < n && isDigit(t[i])) out += t[i++], ++mantissa;
  if (i < n && t[i] == '.') {
    out += t[i++];
    while (i < n && isDigit(t[i])) out += t[i++], ++mantissa;
  }
  if (mantissa == 0) return {};
  if (i == n) return out;
  out += 'e';
  if (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D') ++i;
  if (i < n && (t[i] == '+' || t[i] == '-')) out += t[i++];
  std::size_t exponent = 0;
  while (i < n && isDigit(t[i])) out += t[i++], ++exponent;
  if (exponent == 0 || i != n) return {};
  return out;
}

bool parseInt(const std::string& t, int& v) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  if (i == t.size()) return false;
  for (std::size_t k = i; k < t.size(); ++k)
    if (!isDigit(t[k])) return false;
  errno = 0;
  long long x = std::strtoll(t.c_str(), nullptr, 10);
  if (errno == ERANGE || x < INT32_MIN || x > INT32_MAX) return false;
  v = static_cast<int>(x);
  return true;
}

// Page values must fit an int after truncation; 2^31 less the star offset.
bool fits(float v) { return std::isfinite(v) && std::fabs(v) < 2147000000.0f; }

// A field as a message may quote it: the first 32 bytes, each byte that is
// not printable as \xNN, and "..." for what is left out.
std::string excerpt(const std::string& t) {
  constexpr std::size_t kShown = 32;
  std::string out;
  for (std::size_t i = 0; i < t.size() && i < kShown; ++i) {
    unsigned char c = static_cast<unsigned char>(t[i]);
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  if (t.size() > kShown) out += "...";
  return out;
}

// The excerpt in double quotes, built by appending: GCC 12 warns falsely
// (-Wrestrict) about a literal added in front of a temporary string.
std::string quoted(const std::string& t) {
  std::string q(1, '"');
  q += excerpt(t);
  q += '"';
  return q;
}

std::string number(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", static_cast<double>(v));
  return buf;
}

}  // namespace

std::string elementFileName(int icuerpo) {
  if (icuerpo < 0 || icuerpo > 9999) throw std::out_of_range("body number outside 0..9999");
  // The digits as the real body number gives them, table index by table index.
  float cuerpo = static_cast<float>(icuerpo);
  int imill = static_cast<int>(cuerpo / 1000.0f);
  int icent = static_cast<int>((cuerpo - 1000.0f * imill) / 100.0f);
  int idece = static_cast<int>((cuerpo - 1000.0f * imill - 100.0f * icent) / 10.0f);
  int iunid = static_cast<int>(cuerpo - 1000.0f * imill - 100.0f * icent - 10.0f * idece);
  std::string name = "elm";
  name += kDigits[imill];
  name += kDigits[icent];
  name += kDigits[idece];
  name += kDigits[iunid];
  name += ".dat";
  return name;
}

Ellipse convert(const Elements& e, int scale) {
  // Single precision throughout, each product rounded as it is formed.
  const float pi = 3.1415927f;
  const float gp = pi / 180.0f;
  const float s_ = static_cast<float>(scale);
  Ellipse r;
  float sa = s_ * e.semieje;
  r.a = static_cast<int>(sa);
  float s = std::sqrt(1.0f - e.ex * e.ex);
  r.b = static_cast<int>(sa * s);
  r.giro = e.odo + e.w;
  if (r.giro > 360.0f) r.giro = r.giro - 360.0f;
  float theta = r.giro * gp + pi;
  float c = std::cos(theta);
  float sn = std::sin(theta);
  float sae = sa * e.ex;
  r.xc = static_cast<int>(sae * c) + kStarX;
  r.yc = kStarY - static_cast<int>(sae * sn);
  float q = (1.0f - e.ex) * s_ * e.semieje;
  r.xv = -static_cast<int>(q * c);
  r.yv = static_cast<int>(q * sn);
  return r;
}

bool convertible(const Elements& e, int scale) {
  float sa = static_cast<float>(scale) * e.semieje;
  float giro = e.odo + e.w;
  return fits(sa) && std::isfinite(giro) && e.ex >= 0.0f && e.ex < 1.0f;
}

void Track::push(const Ellipse& e) {
  a.push_back(e.a);
  b.push_back(e.b);
  giro.push_back(e.giro);
  xc.push_back(e.xc);
  yc.push_back(e.yc);
  xv.push_back(e.xv);
  yv.push_back(e.yv);
}

ElementReader::~ElementReader() {
  if (file_) std::fclose(file_);
}

bool ElementReader::fail(int line, const std::string& text) {
  error_ = name_ + ", line " + std::to_string(line) + ": " + text;
  return false;
}

bool ElementReader::fill() {
  buf_.clear();
  pos_ = 0;
  haveLine_ = false;
  if (!file_) return false;
  int c = std::getc(file_);
  if (c == EOF) return false;
  while (c != EOF && c != '\n') {
    if (buf_.size() == kMaxLine) {
      tooLong_ = true;
      return fail(line_ + 1, "line longer than " + std::to_string(kMaxLine) + " characters");
    }
    buf_ += static_cast<char>(c);
    c = std::getc(file_);
  }
  ++line_;
  haveLine_ = true;
  return true;
}

bool ElementReader::open() {
  // Opened for reading only: a missing file is an error, never created.
  file_ = std::fopen(name_.c_str(), "rb");
  if (!file_) {
    error_ = name_ + ": " + std::strerror(errno);
    return false;
  }
  if (!fill()) {
    if (tooLong_) return false;
    if (std::ferror(file_)) return fail(1, std::string("read error: ") + std::strerror(errno));
    return fail(1, "empty file, no header line");
  }
  haveLine_ = false;
  if (!blankLine(buf_)) return true;  // the header is the first line
  // Free-format input skips blank lines before the header. The first line
  // with text is the header, unless it starts a complete record: then the
  // file has no header and that record is data, not lost.
  long at = 0;
  int lineAt = 0;
  do {
    at = std::ftell(file_);
    lineAt = line_;
    if (!fill()) return !tooLong_;  // blank lines only: no records
  } while (blankLine(buf_));
  haveLine_ = false;
  if (at < 0 || std::fseek(file_, at, SEEK_SET) != 0) return true;  // no look-ahead: a header
  line_ = lineAt;
  Elements trial;
  checkRange_ = false;
  Status st = next(trial);
  checkRange_ = true;
  if (tooLong_) return false;
  error_.clear();
  std::clearerr(file_);
  if (std::fseek(file_, at, SEEK_SET) != 0) return fail(lineAt + 1, "cannot read the file again");
  line_ = lineAt;
  last_ = Elements{};
  partial_ = 0;
  haveLine_ = false;
  if (st != Status::Record) fill();  // the header
  return !tooLong_;
}

bool ElementReader::store(Elements& rec, int item, const std::string& text, int line) {
  const char* what = kItemNames[item];
  if (item == 7) {
    if (!parseInt(text, rec.nobj))
      return fail(line, std::string(what) + " " + quoted(text) + " is not an integer");
    return true;
  }
  std::string c = realText(text);
  if (c.empty())
    return fail(line, std::string(what) + " " + quoted(text) + " is not a real number");
  float v = std::strtof(c.c_str(), nullptr);
  if (!std::isfinite(v))
    return fail(line, std::string(what) + " " + quoted(text) + " is out of the range of a real");
  if (item == 2 && checkRange_ && !(v >= 0.0f && v < 1.0f))
    return fail(line, std::string("ex ") + quoted(text) + " is outside 0 <= ex < 1");
  float* slot[7] = {&rec.tiempo, &rec.semieje, &rec.ex,        &rec.ynclin,
                    &rec.odo,    &rec.w,       &rec.anomamedia};
  *slot[item] = v;
  return true;
}

ElementReader::Status ElementReader::next(Elements& rec) {
  rec = last_;
  partial_ = 0;
  // Every record begins on a new line: the rest of the current one is skipped.
  haveLine_ = false;
  int item = 0;
  bool afterComma = false, atStart = true;
  int repeat = 0;
  std::string repeated;  // empty: the repeated value is null
  int repeatLine = 0;
  recordLine_ = 0;

  auto cut = [&]() {
    if (tooLong_) return Status::Error;
    if (std::ferror(file_)) {
      fail(line_, std::string("read error: ") + std::strerror(errno));
      return Status::Error;
    }
    partial_ = atStart ? 0 : (item > 0 ? item : 1);
    partialLine_ = line_;
    return Status::End;
  };

  while (item < 8) {
    if (repeat > 0) {
      if (!repeated.empty() && !store(rec, item, repeated, repeatLine)) return Status::Error;
      ++item;
      --repeat;
      continue;
    }
    if (!haveLine_ && !fill()) return cut();
    while (pos_ < buf_.size() && isBlank(static_cast<unsigned char>(buf_[pos_]))) ++pos_;
    if (pos_ >= buf_.size()) {
      haveLine_ = false;  // the end of a line separates like a blank
      continue;
    }
    if (atStart) recordLine_ = line_;
    char c = buf_[pos_];
    if (c == ',') {
      ++pos_;
      bool null = afterComma || atStart;
      atStart = false;
      afterComma = true;
      if (null) ++item;  // the variable keeps its value
      continue;
    }
    if (c == '/') {
      ++pos_;
      break;  // the remaining variables keep their values
    }
    std::size_t from = pos_;
    while (pos_ < buf_.size() && !endsField(static_cast<unsigned char>(buf_[pos_]))) ++pos_;
    std::string text = buf_.substr(from, pos_ - from);
    atStart = false;
    afterComma = false;
    std::size_t star = text.find('*');
    if (star != std::string::npos) {
      std::string count = text.substr(0, star);
      bool digits = !count.empty() && count.size() < 9;
      for (char d : count) digits = digits && isDigit(static_cast<unsigned char>(d));
      int r = digits ? std::atoi(count.c_str()) : 0;
      if (r < 1) {
        fail(line_, quoted(text) + " has no valid repeat count");
        return Status::Error;
      }
      repeat = r;
      repeated = text.substr(star + 1);
      repeatLine = line_;
      continue;
    }
    if (!store(rec, item, text, line_)) return Status::Error;
    ++item;
  }
  last_ = rec;
  return Status::Record;
}

bool readTracks(const std::vector<int>& bodies, int scale, std::vector<Track>& tracks,
                std::string& error, std::string& warning) {
  tracks.assign(bodies.size(), Track{});
  error.clear();
  warning.clear();
  std::size_t ndatos = 0;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    ElementReader r(elementFileName(bodies[i]));
    if (!r.open()) {
      error = r.error();
      return false;
    }
    Track& t = tracks[i];
    Elements rec;
    for (std::size_t j = 0; i == 0 || j < ndatos; ++j) {
      ElementReader::Status st = r.next(rec);
      if (st == ElementReader::Status::Error) {
        error = r.error();
        return false;
      }
      if (st == ElementReader::Status::End) {
        if (i > 0) {
          error = r.name() + ", line " + std::to_string(r.line()) + ": end of file after " +
                  std::to_string(j) + " of " + std::to_string(ndatos) + " records";
          return false;
        }
        if (r.partial() > 0)
          warning = r.name() + ", line " + std::to_string(r.partialLine()) +
                    ": incomplete last record dropped (" + std::to_string(r.partial()) +
                    " of 8 values)";
        break;
      }
      if (!convertible(rec, scale)) {
        error = r.name() + ", line " + std::to_string(r.recordLine()) + ": " +
                (std::isfinite(rec.odo + rec.w)
                     ? "semieje " + number(rec.semieje) + " is too large for the page"
                     : "odo + w of " + number(rec.odo) + " and " + number(rec.w) +
                           " is not a finite angle");
        return false;
      }
      t.push(convert(rec, scale));
    }
    if (i == 0) ndatos = t.size();
  }
  return true;
}

bool loadTracks(const std::vector<int>& bodies, int scale, std::vector<Track>& tracks) {
  std::string error, warning;
  bool ok = readTracks(bodies, scale, tracks, error, warning);
  if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
  if (!ok) std::fprintf(stderr, "%s\n", error.c_str());
  return ok;
}

}  // namespace orbview
