// PDF output ("PDF "): a one-page PDF 1.3 document with a vector content
// stream, deflated when bit 0 of pdfOptions is set. Every byte goes through
// qqpdfbuf into the file the dispatch opened, so that the byte count of the
// sink gives the offsets of the cross-reference table.
//
//   open     page scale, media box, qqpdf1: header and first content stream
//   point    qqpdf2: paths (m, l, S), close and fill (h f*), width (w)
//   polygon  move, draws and close-and-fill in the current colour
//   box      qqpdf3 filling colour, then qqpdf4 (re f)
//   colour   stroking and filling colour (RG, rg); rgb the same by value
//   width    pen code 6 with the width in points
//   finish   qqpdf2 op 1: page, page tree, catalogue, info, xref, trailer
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "devices/driver.h"

namespace korvan {

class ByteSink;

class PdfDriver : public Driver {
 public:
  ~PdfDriver() override;

  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  bool polygons() const override { return true; }
  void polygon(Global& g, const float* xs, const float* ys, int n) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void colour(Global& g, int index) override;
  bool rgb(Global& g, int r, int gr, int b) override;
  void width(Global& g, int n) override;
  int finish(Global& g) override;

  // Starts the document. status 0 success, -1 the dispatch could not
  // create the file, -2 no memory for the object table.
  void qqpdf1(Global& g, int mediaWidth, int mediaHeight, int options, bool landscape,
              int& status);
  // Paths and the document: 1 end of document, 2 draw, 3 move, 5 close and
  // fill, 6 line width x (points).
  void qqpdf2(float x, float y, int op);
  // kind 0 stroking colour, 1 filling colour; components 0..255.
  void qqpdf3(int r, int gr, int b, int kind);
  // Filled rectangle in the filling colour; lower left corner and size.
  void qqpdf4(float x, float y, float width, float height);
  // The byte writer; n = -1 writes up to the terminating NUL.
  void qqpdfbuf(const char* bytes, std::ptrdiff_t n);
  // Begins object number n of the given type.
  void qqpdfobj(int n, int type);
  // (1, 1) begin a content stream, (1, 2) end it, (2, 0) fonts, (3, 0) the
  // page, (4, 0) page tree, catalogue, info, xref and trailer.
  void qqpdfadd(int part, int phase);

  // Bytes collected per compressed content stream.
  static constexpr std::size_t kCollect = 300000;
  // Object types of the table.
  enum : std::uint8_t { kOther = 0, kContent = 1, kPage = 2 };

 private:
  void printf(const char* fmt, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  void fileBytes(const char* bytes, std::size_t n);
  void strokePending();
  void toDevice(const Global& g, float x, float y, float& X, float& Y) const;
  bool growTable(int n);

  Global* g_ = nullptr;
  // The plot's file while the document is open, read at every use: the
  // dispatch owns it.
  ByteSink* sink() const;
  // Bytes in the file so far: the offsets of objects and stream lengths.
  std::uint64_t written() const;
  bool landscape_ = true;
  int mediaWidth_ = 0, mediaHeight_ = 0;

  // object table
  std::vector<std::uint64_t> offsets_;
  std::vector<std::uint8_t> types_;
  int nextObject_ = 3;
  int firstOfPage_ = 1;
  std::vector<int> streams_;  // content streams of the page
  int pages_ = 1;

  // content stream
  bool streamOpen_ = false;
  std::uint64_t streamStart_ = 0;
  int streamObject_ = 0;
  bool compress_ = false;
  std::uint8_t* collect_ = nullptr;
  std::size_t collected_ = 0;

  // path
  bool pending_ = false;
  bool drawing_ = false;
  float moveX_ = 0.0f, moveY_ = 0.0f;
  int fill_[3] = {-1, -1, -1};
  // a colour by value (rgb) in force until the next colour(); -1: none
  int byValue_[3] = {-1, -1, -1};
  bool ended_ = true;
};

}  // namespace korvan
