// Element files of the orbit viewers and the page geometry of their orbits.
//
// An element file ("elm" + four digits + ".dat") holds a header line and then
// one record per moment of time: tiempo, semieje, ex, ynclin, odo, w,
// anomamedia (reals) and nobj (integer), written in free format the way
// list-directed input reads it. Each record becomes one ellipse on the page,
// with the star in a focus at (1485, 1050).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace orbview {

// Star position: the centre of the landscape A4 page.
inline constexpr int kStarX = 1485;
inline constexpr int kStarY = 1050;

// "elm" + the four digits of the body number + ".dat". Bodies 0..9999.
std::string elementFileName(int icuerpo);

// One record as read.
struct Elements {
  float tiempo = 0.0f, semieje = 0.0f, ex = 0.0f, ynclin = 0.0f;
  float odo = 0.0f, w = 0.0f, anomamedia = 0.0f;
  int nobj = 0;
};

// The page geometry of one record at scale S plot units per unit of semieje.
struct Ellipse {
  int a = 0, b = 0;      // semi-axes, plot units
  float giro = 0.0f;     // longitude of periapsis, degrees
  int xc = 0, yc = 0;    // centre on the page
  int xv = 0, yv = 0;    // star -> periapsis offset (page sense)
};

// Single-precision conversion of one record. The result is undefined for
// records that convertible() refuses.
Ellipse convert(const Elements& e, int scale);
// True when every page value of the record fits an int at this scale.
bool convertible(const Elements& e, int scale);

// The per-body arrays: entry k is frame k (0-based here).
struct Track {
  std::vector<int> a, b, xc, yc, xv, yv;
  std::vector<float> giro;
  void push(const Ellipse& e);
  std::size_t size() const { return a.size(); }
};

// List-directed reading of one element file: blanks, commas or both between
// values, a record may span lines and every record starts on a new line,
// r*c repeats a value, r* and empty fields between commas are null values
// (the variable keeps its value from the previous record), a slash ends the
// record early. Reals take E or D exponents; nobj must be an integer.
class ElementReader {
 public:
  enum class Status { Record, End, Error };

  explicit ElementReader(std::string name) : name_(std::move(name)) {}
  ~ElementReader();
  ElementReader(const ElementReader&) = delete;
  ElementReader& operator=(const ElementReader&) = delete;

  // Opens the file without creating it and skips its header: the first
  // line, or after blank lines the first line with text unless that line
  // starts a complete record (a file without a header).
  bool open();
  // Reads the next record into rec. End: the file ended before the record
  // began; partial() then tells whether values of an unfinished record were
  // lost.
  Status next(Elements& rec);

  const std::string& name() const { return name_; }
  const std::string& error() const { return error_; }
  int line() const { return line_; }          // current line, 1-based
  int partial() const { return partial_; }    // values of a cut record
  int partialLine() const { return partialLine_; }
  int recordLine() const { return recordLine_; }  // first line of the last record

 private:
  bool fill();                                  // next line into buf_
  bool fail(int line, const std::string& text);
  bool token(std::string& text, int& line, bool& ended);  // next value field
  bool store(Elements& rec, int item, const std::string& text, int line);

  std::string name_;
  std::FILE* file_ = nullptr;
  std::string buf_;
  std::size_t pos_ = 0;
  bool haveLine_ = false;
  int line_ = 0;
  std::string error_;
  int partial_ = 0;
  int partialLine_ = 0;
  int recordLine_ = 0;
  Elements last_;  // null values keep these
  bool checkRange_ = true;  // off while telling a header from a record
  bool tooLong_ = false;    // a line passed kMaxLine: the file is refused
 public:
  // Longest line read; a longer one (a file without line feeds, a device
  // that never ends) is refused with its line number.
  static constexpr std::size_t kMaxLine = 4096;
};

// Reads the element files of the bodies in order and converts every record
// at the given scale: the first file to its end, every further file for as
// many records as the first held (ndatos = tracks[0].size()). On failure
// returns false with the message in error; a dropped incomplete last record
// of the first file is reported in warning.
bool readTracks(const std::vector<int>& bodies, int scale, std::vector<Track>& tracks,
                std::string& error, std::string& warning);

// Reads the tracks for a viewer and reports a failure or a warning on
// standard error; false when the viewer must stop (exit status 1).
bool loadTracks(const std::vector<int>& bodies, int scale, std::vector<Track>& tracks);

}  // namespace orbview
