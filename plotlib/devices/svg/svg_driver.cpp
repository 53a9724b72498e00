#include "devices/svg/svg_driver.h"

#include <algorithm>
#include <cstring>

#include "core/edition.h"
#include "core/fixed.h"
#include "core/sink.h"
#include "core/colour_entry.h"
#include "core/state.h"
#include "devices/sheet.h"

namespace korvan {

namespace {

// The address named in the creator comment of every document.
constexpr const char* kProjectAddress = "https://korvan.invalid/";

// Point k of n of a point list: " x, y", and a line feed after every fifth
// point but the last. p has room for 2 x 64 characters.
char* formatPoint(char* p, float x, float y, int k, int n) {
  *p++ = ' ';
  p = fmtFixed(p, x, 2);
  *p++ = ',';
  *p++ = ' ';
  p = fmtFixed(p, y, 2);
  if ((k + 1) % 5 == 0 && k != n - 1) *p++ = '\n';
  return p;
}

void writePoint(ByteSink& f, float x, float y, int k, int n) {
  char buf[160];
  f.write(buf, static_cast<std::size_t>(formatPoint(buf, x, y, k, n) - buf));
}

}  // namespace

void SvgDriver::toDevice(const Global& g, float x, float y, float& X, float& Y) const {
  qqdown(g, x, y, X, Y);
}

void SvgDriver::open(Global& g) {
  float w = static_cast<float>(g.winWidth - 1);
  float h = static_cast<float>(g.winHeight - 1);
  float pw, ph;
  qqdevpage(g, pw, ph);
  float s = std::min(w / pw, h / ph);
  s = std::min(s, (g.pageWidth > g.pageHeight ? w : h) / std::max(pw, ph));
  g.deviceScale = s;
  qqsvg2(g, w, h, 1);
  if (g.bgMode != 2) qqsvg4(g, 0.0f, 0.0f, w, h, 0, 0, 0);
}

void SvgDriver::qqsvg1(Global& g, int kind) {
  ByteSink* f = g.outFile.get();
  if (kind == 0) {
    if (group_ == 1 && f) f->puts("</g>\n");
    group_ = 0;
    return;
  }
  if (group_ == 1) return;
  if (f) {
    f->printf("<g fill=\"none\" stroke=\"#%02x%02x%02x\" ", red_, green_, blue_);
    f->printf("stroke-width=\"%.3f\">\n", static_cast<double>(strokeWidth_));
  }
  group_ = 1;
}

void SvgDriver::flushPath(Global& g) {
  const int n = path_.count;
  if (n == 0) return;
  qqsvg1(g, 1);
  ByteSink* f = g.outFile.get();
  const float* px = path_.x;
  const float* py = path_.y;
  if (f && n == 2) {
    char buf[320];
    char* p = buf;
    const char* names[4] = {"<line x1=\"", "\" y1=\"", "\" x2=\"", "\" y2=\""};
    const float values[4] = {px[0], py[0], px[1], py[1]};
    for (int i = 0; i < 4; ++i) {
      std::size_t len = std::strlen(names[i]);
      std::memcpy(p, names[i], len);
      p = fmtFixed(p + len, values[i], 2);
    }
    p = std::copy_n("\"/>\n", 4, p);
    f->write(buf, static_cast<std::size_t>(p - buf));
  } else if (f && n >= 3) {
    // The element is made in memory and written in one piece.
    static constexpr char kOpen[] = "<polyline points=\"\n";
    static constexpr char kClose[] = "\"/>\n";
    char buf[sizeof kOpen + kPathPoints * 130 + sizeof kClose];
    char* p = std::copy_n(kOpen, sizeof kOpen - 1, buf);
    for (int k = 0; k < n; ++k) {
      *p++ = ' ';
      p = fmtFixed(p, px[k], 2);
      *p++ = ',';
      *p++ = ' ';
      p = fmtFixed(p, py[k], 2);
      // a line feed after every fifth point but the last
      if (k % 5 == 4 && k != n - 1) *p++ = '\n';
    }
    p = std::copy_n(kClose, sizeof kClose - 1, p);
    f->write(buf, static_cast<std::size_t>(p - buf));
  }
  path_.written();
}

void SvgDriver::qqsvg2(Global& g, float x, float y, int op) {
  ByteSink* f = g.outFile.get();
  if (op == 1) {
    if (f) {
      f->puts("<?xml version=\"1.0\" ");
      f->puts("encoding=\"ISO-8859-1\" standalone=\"no\"?>\n");
      f->puts("<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20010904//EN\"\n");
      f->puts("  \"http://www.w3.org/TR/2001/REC-SVG-20010904/DTD/svg10.dtd\">\n");
      f->printf("<!-- Created by KORVAN (%s)\n", kProjectAddress);
      f->printf("Version: %4.1f\n", static_cast<double>(edition().version));
      const std::tm t = qqftim();
      f->printf("Date   : %s %s\n", dddate(t), ddtime(t));
      f->puts("-->\n");
      f->printf("<svg width=\"%d\" height=\"%d\"\n", static_cast<int>(x + 1.5f),
                static_cast<int>(y + 1.5f));
      f->puts("  xmlns=\"http://www.w3.org/2000/svg\"\n");
      f->puts("  xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n\n");
    }
    docOpen_ = true;
    group_ = 0;
    strokeWidth_ = 1.0f;
    path_.reset();
    return;
  }
  // Nothing belongs to the document once it has been ended.
  if (!docOpen_) return;
  auto flush = [&] { flushPath(g); };
  if (op == 2) {
    path_.draw(x, y, flush);
    return;
  }
  if (op != 6 && op != 9 && op != 999) {
    path_.move(x, y, flush);
    return;
  }
  flushPath(g);
  if (op == 6 || op == 9) {
    if (op == 6) {
      qqsvg1(g, 0);
      strokeWidth_ = x;
    }
    path_.clear();
    return;
  }
  // op 999: the end of the document
  qqsvg1(g, 0);
  if (f) f->puts("</svg>\n");
  path_.clear();
  docOpen_ = false;
}

void SvgDriver::qqsvg3(Global& g, int r, int gr, int b) {
  qqsvg2(g, 0.0f, 0.0f, 9);
  qqsvg1(g, 0);
  red_ = r;
  green_ = gr;
  blue_ = b;
}

void SvgDriver::qqsvg4(Global& g, float x, float y, float width, float height, int r, int gr,
                       int b) {
  if (!docOpen_) return;
  qqsvg1(g, 1);
  ByteSink* f = g.outFile.get();
  if (!f) return;
  f->printf("<rect x=\"%.2f\" y=\"%.2f\" ", static_cast<double>(x), static_cast<double>(y));
  f->printf("width=\"%.2f\" height=\"%.2f\"\n", static_cast<double>(width),
            static_cast<double>(height));
  f->printf(" fill=\"#%02x%02x%02x\" stroke=\"none\"", r, gr, b);
  f->puts("/>\n");
}

void SvgDriver::point(Global& g, float x, float y, int mode) {
  float X, Y;
  toDevice(g, x, y, X, Y);
  qqsvg2(g, X, Y, mode);
}

void SvgDriver::draws(Global& g, const float* xs, const float* ys, int n) {
  if (!docOpen_) return;
  auto flush = [&] { flushPath(g); };
  for (int i = 0; i < n; ++i) {
    float X, Y;
    toDevice(g, xs[i], ys[i], X, Y);
    path_.draw(X, Y, flush);
  }
}

void SvgDriver::polygon(Global& g, const float* xs, const float* ys, int n) {
  if (!docOpen_ || n < 1) return;
  // what was drawn before lies under the filled area
  qqsvg2(g, 0.0f, 0.0f, 9);
  qqsvg1(g, 1);
  ByteSink* f = g.outFile.get();
  if (!f) return;
  f->printf("<polygon fill=\"#%02x%02x%02x\" points=\"\n", red_, green_, blue_);
  for (int k = 0; k < n; ++k) {
    float X, Y;
    toDevice(g, xs[k], ys[k], X, Y);
    writePoint(*f, X, Y, k, n);
  }
  f->puts("\"/>\n");
}

void SvgDriver::box(Global& g, float x1, float y1, float x2, float y2, int colour) {
  // what was drawn before lies under the box
  qqsvg2(g, 0.0f, 0.0f, 9);
  float X1, Y1, X2, Y2;
  toDevice(g, x1, y1, X1, Y1);
  toDevice(g, x2, y2, X2, Y2);
  if (X2 < X1) std::swap(X1, X2);
  if (Y2 < Y1) std::swap(Y1, Y2);
  int r, gr, b;
  entryRgb(g, colour, r, gr, b);
  qqsvg4(g, X1, Y1, X2 - X1 + 1.0f, Y2 - Y1 + 1.0f, r, gr, b);
}

void SvgDriver::colour(Global& g, int index) {
  int r, gr, b;
  entryRgb(g, index, r, gr, b);
  qqsvg3(g, r, gr, b);
}

bool SvgDriver::rgb(Global& g, int r, int gr, int b) {
  qqsvg3(g, r, gr, b);
  return true;
}

void SvgDriver::width(Global& g, int n) {
  g.lineWidth = -n;
  qqsvg2(g, static_cast<float>(n), 0.0f, 6);
}

int SvgDriver::finish(Global& g) {
  qqsvg2(g, 0.0f, 0.0f, 999);
  return g.outFile ? 1 : 0;
}

}  // namespace korvan
