#include "devices/pdf/pdf_driver.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string>

#include "core/edition.h"
#include "core/sink.h"
#include "core/colour_entry.h"
#include "core/state.h"
#include "core/fixed.h"
#include "devices/deflate.h"
#include "devices/dispatch.h"
#include "devices/sheet.h"

namespace korvan {

namespace {

// The printable area in points: 195 mm by 280 mm.
constexpr double kAreaShort = 3900.0 * 0.5 * 72.0 / 254.0;
constexpr double kAreaLong = 5600.0 * 0.5 * 72.0 / 254.0;
// One plot unit (1/10 mm) at natural size, in points.
constexpr double kNatural = 72.0 / 254.0;

}  // namespace

PdfDriver::~PdfDriver() { std::free(collect_); }

ByteSink* PdfDriver::sink() const { return g_ && !ended_ ? g_->outFile.get() : nullptr; }

std::uint64_t PdfDriver::written() const {
  ByteSink* out = sink();
  return out ? out->count() : 0;
}

void PdfDriver::toDevice(const Global& g, float x, float y, float& X, float& Y) const {
  qqsheet(g, landscape_, x, y, X, Y);
}

void PdfDriver::open(Global& g) {
  g_ = &g;
  double w = g.pageWidth, h = g.pageHeight;
  landscape_ = qqsheetTurned(g);
  double d = landscape_ ? std::min(kAreaLong / w, kAreaShort / h)
                        : std::min(kAreaShort / w, kAreaLong / h);
  d = std::min(d, kNatural);
  g.deviceScale = static_cast<float>(d);
  double a = landscape_ ? h : w;
  double b = landscape_ ? w : h;
  int mw = static_cast<int>(a * d + 1.0);
  int mh = static_cast<int>(b * d + 1.0);
  int status = 0;
  qqpdf1(g, mw, mh, g.pdfOptions, landscape_, status);
  if (status == -1) {
    // the dispatch has reported the file error already
    qqfatal();
  }
  if (status == -2) {
    warnin(g, 53);
    qqfatal();
  }
  if (g.bgMode != 2) {
    qqpdf3(0, 0, 0, 1);
    qqpdf4(0.0f, 0.0f, static_cast<float>(a * d), static_cast<float>(b * d));
  }
}

bool PdfDriver::growTable(int n) {
  std::size_t need = static_cast<std::size_t>(n) + 1;
  if (need <= offsets_.size()) return true;
  std::size_t size = (need + 99) / 100 * 100;
  try {
    offsets_.resize(size, 0);
    types_.resize(size, kOther);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void PdfDriver::qqpdf1(Global& g, int mediaWidth, int mediaHeight, int options, bool landscape,
                       int& status) {
  g_ = &g;
  status = 0;
  offsets_.clear();
  types_.clear();
  if (!growTable(99)) {
    status = -2;
    return;
  }
  nextObject_ = 3;
  if (!g.outFile) {
    offsets_.clear();
    types_.clear();
    status = -1;
    return;
  }
  mediaWidth_ = mediaWidth;
  mediaHeight_ = mediaHeight;
  landscape_ = landscape;
  compress_ = (options & 1) != 0;
  pages_ = 1;
  streams_.clear();
  firstOfPage_ = 1;
  streamOpen_ = false;
  pending_ = false;
  drawing_ = false;
  moveX_ = moveY_ = 0.0f;
  fill_[0] = fill_[1] = fill_[2] = -1;
  ended_ = false;
  qqpdfbuf("%PDF-1.3\n", -1);
  qqpdfadd(1, 1);
  qqpdfbuf("0.709 w\n", -1);
  qqpdfbuf("2 J\n", -1);
  qqpdfbuf("2 j\n", -1);
}

void PdfDriver::fileBytes(const char* bytes, std::size_t n) {
  if (ByteSink* out = sink()) out->write(bytes, n);
}

void PdfDriver::qqpdfbuf(const char* bytes, std::ptrdiff_t n) {
  std::size_t len = n < 0 ? std::strlen(bytes) : static_cast<std::size_t>(n);
  while (len > 0) {
    if (!streamOpen_ || !collect_) {
      fileBytes(bytes, len);
      return;
    }
    if (collected_ + len > kCollect && collected_ > 0) {
      // the collection is full: this stream ends, the bytes start the next
      qqpdfadd(1, 2);
      qqpdfadd(1, 1);
      continue;
    }
    std::size_t take = std::min(len, kCollect - collected_);
    std::memcpy(collect_ + collected_, bytes, take);
    collected_ += take;
    bytes += take;
    len -= take;
  }
}

void PdfDriver::printf(const char* fmt, ...) {
  char buf[256];
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (n <= 0) return;
  qqpdfbuf(buf, std::min<std::ptrdiff_t>(n, static_cast<std::ptrdiff_t>(sizeof buf) - 1));
}

void PdfDriver::qqpdfobj(int n, int type) {
  if (n < 0) {
    // -1 creates the table, -2 frees it
    if (n == -1) {
      offsets_.clear();
      types_.clear();
      if (!growTable(99) && g_) {
        warnin(*g_, 53);
        qqfatal();
      }
    } else {
      offsets_.clear();
      types_.clear();
      offsets_.shrink_to_fit();
      types_.shrink_to_fit();
    }
    return;
  }
  if (!growTable(n)) {
    if (g_) warnin(*g_, 53);
    qqfatal();
  }
  std::size_t i = static_cast<std::size_t>(n);
  offsets_[i] = written();
  types_[i] = static_cast<std::uint8_t>(type);
  if (type == kContent) streams_.push_back(n);
  printf("%d 0 obj\n", n);
  nextObject_ = std::max(nextObject_, n + 1);
}

void PdfDriver::qqpdfadd(int part, int phase) {
  if (part == 1 && phase == 1) {
    std::free(collect_);
    collect_ = nullptr;
    if (compress_) collect_ = static_cast<std::uint8_t*>(std::malloc(kCollect));
    streamObject_ = nextObject_;
    qqpdfobj(streamObject_, kContent);
    if (!collect_) {
      printf("<< /Length %d 0 R >>\n", streamObject_ + 1);
      qqpdfbuf("stream\n", -1);
    }
    streamStart_ = written();
    streamOpen_ = true;
    collected_ = 0;
    return;
  }
  if (part == 1 && phase == 2) {
    if (!streamOpen_) return;
    streamOpen_ = false;
    if (collect_) {
      std::size_t c = collected_;
      std::size_t cap = qqzbound(c, kPdfDeflateLevel);
      auto* out = static_cast<std::uint8_t*>(std::malloc(cap));
      std::size_t produced = out ? qqzlib(collect_, c, out, cap, kPdfDeflateLevel) : 0;
      bool ok = produced > 0;
      if (ok) {
        printf("<< /Length %lu\n", static_cast<unsigned long>(produced));
        qqpdfbuf("/Filter /FlateDecode\n", -1);
        qqpdfbuf(">>\n", -1);
        qqpdfbuf("stream\n", -1);
        qqpdfbuf(reinterpret_cast<const char*>(out), static_cast<std::ptrdiff_t>(produced));
      } else {
        // without compression the stream keeps its true length
        printf("<< /Length %lu >>\n", static_cast<unsigned long>(c));
        qqpdfbuf("stream\n", -1);
        qqpdfbuf(reinterpret_cast<const char*>(collect_), static_cast<std::ptrdiff_t>(c));
      }
      std::free(out);
      std::free(collect_);
      collect_ = nullptr;
      qqpdfbuf("endstream\n", -1);
      qqpdfbuf("endobj\n", -1);
      return;
    }
    std::uint64_t length = written() - streamStart_;
    qqpdfbuf("endstream\n", -1);
    qqpdfbuf("endobj\n", -1);
    qqpdfobj(streamObject_ + 1, kOther);
    printf("%lu\n", static_cast<unsigned long>(length));
    qqpdfbuf("endobj\n", -1);
    return;
  }
  if (part == 2) return;  // no text, so no font objects
  if (part == 3) {
    qqpdfobj(nextObject_, kPage);
    qqpdfbuf("<<\n", -1);
    qqpdfbuf("/Type /Page\n", -1);
    printf("/MediaBox [0 0 %d %d]\n", mediaWidth_, mediaHeight_);
    qqpdfbuf("/Parent 2 0 R\n", -1);
    if (landscape_) qqpdfbuf("/Rotate 90\n", -1);
    qqpdfbuf("/Resources << /ProcSet [/PDF]\n", -1);
    qqpdfbuf(">>\n", -1);
    if (streams_.size() == 1) {
      printf("/Contents %d 0 R\n", streams_[0]);
    } else {
      qqpdfbuf("/Contents [\n", -1);
      for (int s : streams_) printf("%d 0 R\n", s);
      qqpdfbuf("]\n", -1);
    }
    qqpdfbuf(">>\n", -1);
    qqpdfbuf("endobj\n", -1);
    return;
  }
  if (part == 4) {
    qqpdfobj(2, kOther);
    qqpdfbuf("<< /Type /Pages /Kids [\n", -1);
    for (int k = 1; k < nextObject_; ++k)
      if (types_[static_cast<std::size_t>(k)] == kPage) printf("%d 0 R\n", k);
    printf("] /Count %d\n", pages_);
    qqpdfbuf(">>\n", -1);
    qqpdfbuf("endobj\n", -1);

    qqpdfobj(1, kOther);
    qqpdfbuf("<< /Type /Catalog /Pages 2 0 R\n", -1);
    qqpdfbuf(">>\n", -1);
    qqpdfbuf("endobj\n", -1);

    int info = nextObject_;
    qqpdfobj(info, kOther);
    std::tm tmv = qqftim();
    printf("<< /CreationDate (D:%04d%02d%02d%02d%02d%02d)\n", tmv.tm_year + 1900,
           tmv.tm_mon + 1, tmv.tm_mday, tmv.tm_hour, tmv.tm_min, tmv.tm_sec);
    printf("/Producer (KORVAN %.1f)\n", static_cast<double>(edition().version));
    qqpdfbuf(">>\n", -1);
    qqpdfbuf("endobj\n", -1);

    std::uint64_t xref = written();
    int count = nextObject_;
    qqpdfbuf("xref\n", -1);
    printf("0 %d\n", count);
    qqpdfbuf("0000000000 65535 f \n", -1);
    for (int k = 1; k < count; ++k)
      printf("%010llu 00000 n \n",
             static_cast<unsigned long long>(offsets_[static_cast<std::size_t>(k)]));
    qqpdfbuf("trailer\n", -1);
    printf("<< /Size %d /Root 1 0 R /Info %d 0 R\n", count, info);
    qqpdfbuf(">>\n", -1);
    qqpdfbuf("startxref\n", -1);
    printf("%llu\n", static_cast<unsigned long long>(xref));
    qqpdfbuf("%%EOF\n", -1);
  }
}

void PdfDriver::strokePending() {
  if (!pending_) return;
  qqpdfbuf("S\n", -1);
  pending_ = false;
  drawing_ = false;
}

void PdfDriver::qqpdf2(float x, float y, int op) {
  if (ended_) return;
  if (op != 2 && op != 5) strokePending();
  switch (op) {
    case 3:
      moveX_ = x;
      moveY_ = y;
      drawing_ = false;
      return;
    case 2: {
      // "%.2f %.2f m" and "%.2f %.2f l", the bulk of every stream
      char buf[160];
      char* p = buf;
      if (!drawing_) {
        p = fmtFixed(p, moveX_, 2);
        *p++ = ' ';
        p = fmtFixed(p, moveY_, 2);
        p = std::copy_n(" m\n", 3, p);
      }
      p = fmtFixed(p, x, 2);
      *p++ = ' ';
      p = fmtFixed(p, y, 2);
      p = std::copy_n(" l\n", 3, p);
      qqpdfbuf(buf, p - buf);
      pending_ = true;
      moveX_ = x;
      moveY_ = y;
      drawing_ = true;
      return;
    }
    case 5:
      // A fill without a path would be an error for readers.
      if (pending_) {
        qqpdfbuf("h\n", -1);
        qqpdfbuf("f*\n", -1);
      }
      pending_ = false;
      drawing_ = false;
      return;
    case 6:
      printf("%.3f w\n", static_cast<double>(x));
      return;
    case 1:
      qqpdfadd(1, 2);
      qqpdfadd(2, 0);
      qqpdfadd(3, 0);
      qqpdfadd(4, 0);
      ended_ = true;  // the dispatch closes the file
      qqpdfobj(-2, 0);
      streams_.clear();
      return;
    default:
      return;
  }
}

void PdfDriver::qqpdf3(int r, int gr, int b, int kind) {
  if (ended_) return;
  strokePending();
  if (kind == 1) {
    if (r == fill_[0] && gr == fill_[1] && b == fill_[2]) return;
    fill_[0] = r;
    fill_[1] = gr;
    fill_[2] = b;
  }
  for (int c : {r, gr, b}) {
    if (c == 0)
      qqpdfbuf("0 ", -1);
    else if (c == 255)
      qqpdfbuf("1 ", -1);
    else
      printf("%5.3f ", c / 255.0);
  }
  qqpdfbuf(kind == 1 ? "rg\n" : "RG\n", -1);
}

void PdfDriver::qqpdf4(float x, float y, float width, float height) {
  if (ended_) return;
  strokePending();
  printf("%.2f %.2f %.2f %.2f re\n", static_cast<double>(x), static_cast<double>(y),
         static_cast<double>(width), static_cast<double>(height));
  qqpdfbuf("f\n", -1);
}

void PdfDriver::point(Global& g, float x, float y, int mode) {
  float X, Y;
  toDevice(g, x, y, X, Y);
  qqpdf2(X, Y, mode);
}

void PdfDriver::polygon(Global& g, const float* xs, const float* ys, int n) {
  if (n < 1) return;
  // A box may have left its own colour as the filling colour: the polygon
  // is filled in the current colour.
  int r = byValue_[0], gr = byValue_[1], b = byValue_[2];
  if (r < 0) entryRgb(g, g.currentColour, r, gr, b);
  qqpdf3(r, gr, b, 1);
  xjdraw(g, xs[0], ys[0], 3);
  for (int k = 1; k < n; ++k) xjdraw(g, xs[k], ys[k], 2);
  xjdraw(g, 0.0f, 0.0f, 5);
}

void PdfDriver::box(Global& g, float x1, float y1, float x2, float y2, int colour) {
  float X1, Y1, X2, Y2;
  toDevice(g, x1, y1, X1, Y1);
  toDevice(g, x2, y2, X2, Y2);
  int r, gr, b;
  entryRgb(g, colour, r, gr, b);
  qqpdf3(r, gr, b, 1);
  qqpdf4(std::min(X1, X2), std::min(Y1, Y2), std::abs(X2 - X1), std::abs(Y2 - Y1));
}

void PdfDriver::colour(Global& g, int index) {
  byValue_[0] = -1;
  int r, gr, b;
  entryRgb(g, index, r, gr, b);
  qqpdf3(r, gr, b, 0);
  qqpdf3(r, gr, b, 1);
}

bool PdfDriver::rgb(Global&, int r, int gr, int b) {
  byValue_[0] = r;
  byValue_[1] = gr;
  byValue_[2] = b;
  qqpdf3(r, gr, b, 0);
  qqpdf3(r, gr, b, 1);
  return true;
}

void PdfDriver::width(Global& g, int n) {
  g.lineWidth = -n;
  int w = std::max(static_cast<int>(2.0f * static_cast<float>(n) * g.unitScale), 5);
  float v = static_cast<float>(w) * 0.5f * 72.0f / (g.deviceScale * 254.0f);
  xjdraw(g, v, v, 6);
}

int PdfDriver::finish(Global& g) {
  if (ended_) return 0;
  qqpdf2(0.0f, 0.0f, 1);
  return g.outFile && !g.fileError ? 1 : 0;
}

}  // namespace korvan
