// The by-address forms of the settings draw what their plain forms draw,
// with blank-padded texts as a Fortran caller passes them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/recording_driver.h"

namespace korvan::test {
namespace {

class ByAddressTest : public RecordingTest {
 protected:
  // What a fresh plot draws after f: an axis system, a text, a polyline.
  std::vector<Seg> scene(const std::function<void()>& f) {
    if (rec) {
      G().device = 603;
      quiet([] { korfin(); });
      G().driver.reset();
      qqsglb(1);
    }
    start();
    G().protocolOn = 0;
    basdat(1, 1, 2026);
    f();
    rec->clear();
    graf(0, 365, 0, 2, 0, 5, 0, 1);
    endgrf();
    messag("x^2@y !a #", 100, 100);
    const int x[3] = {100, 900, 100}, y[3] = {1900, 1900, 2000};
    polyln(x, y, 3);
    return drawn();
  }
};

// A text as Fortran passes it: blank-padded to n characters.
struct Padded {
  std::string text;
  Padded(const char* s, std::size_t n) : text(s) { text.resize(n, ' '); }
  const char* p() const { return text.c_str(); }
  int len() const { return static_cast<int>(text.size()); }
};

TEST_F(ByAddressTest, SameDrawingAsThePlainForm) {
  const Padded date("DATE", 8), x("X", 3), list("Q1|Q2|Q3", 40), on("ON", 4), chars("^_@", 3),
      esc("!", 10), sep("/", 1), shor("SHOR", 6), none("NONE", 6), numb("NUMB", 6), ymd("YMD", 3),
      cent("CENT", 4);
  const int three = 3, two = 2, four = 4, forty = 40, one = 1;
  const float half = 0.5f, wide = 1.5f, zero = 0.0f;
  const struct {
    const char* what;
    std::function<void()> plain, address;
  } cases[] = {
      {"labfmt", [] { labfmt("DATE", "X"); }, [&] { labfmt_(date.p(), x.p(), date.len(), x.len()); }},
      {"labtxt", [] {
         labfmt("USER", "X");
         labtxt("Q1|Q2|Q3", "X");
       }, [&] {
         labfmt("USER", "X");
         labtxt_(list.p(), x.p(), list.len(), x.len());
       }},
      {"datfmt, datord, datsep", [] {
         labfmt("DATE", "X");
         datfmt("NUMB", "SHOR", "NONE");
         datord("YMD");
         datsep("/");
       }, [&] {
         labfmt("DATE", "X");
         datfmt_(numb.p(), shor.p(), none.p(), numb.len(), shor.len(), none.len());
         datord_(ymd.p(), ymd.len());
         datsep_(sep.p(), sep.len());
       }},
      {"expctl", [] { expctl("ON", "^_@"); },
       [&] { expctl_(on.p(), chars.p(), on.len(), chars.len()); }},
      {"umlaut", [] { umlaut("ON", "!"); }, [&] { umlaut_(on.p(), esc.p(), on.len(), esc.len()); }},
      {"texesc", [] {
         texmod("ON");
         texesc("!");
       }, [&] {
         texmod("ON");
         texesc_(esc.p(), esc.len());
       }},
      {"txtjus, txtfrm", [] {
         txtjus("CENT");
         txtfrm(3, 2);
       }, [&] {
         txtjus_(cent.p(), cent.len());
         txtfrm_(&three, &two);
       }},
      {"ticlen, axsfrm, axslev", [] {
         ticlen(40, 2, "X");
         axsfrm(3);
         axslev(4, 1, 1, 4);
       }, [&] {
         ticlen_(&forty, &two, x.p(), x.len());
         axsfrm_(&three);
         axslev_(&four, &one, &one, &four);
       }},
      {"txtfac, clpwin", [] {
         txtfac(1.5f, 0.5f, 0.0f);
         clpwin(0, 0, 1500, 1950);
       }, [&] {
         txtfac_(&wide, &half, &zero);
         const int w = 1500, h = 1950, o = 0;
         clpwin_(&o, &o, &w, &h);
       }},
  };
  for (const auto& c : cases) {
    const std::vector<Seg> a = scene(c.plain), b = scene(c.address);
    ASSERT_EQ(a.size(), b.size()) << c.what;
    // Ticks are drawn forwards and backwards by turns, continuing from the
    // plot before: a segment is compared by its two ends in either order.
    auto ends = [](const Seg& s) {
      return s.x1 < s.x2 || (s.x1 == s.x2 && s.y1 <= s.y2) ? s : Seg{s.x2, s.y2, s.x1, s.y1};
    };
    for (std::size_t i = 0; i < a.size(); ++i) {
      const Seg p = ends(a[i]), q = ends(b[i]);
      EXPECT_TRUE(p.x1 == q.x1 && p.y1 == q.y1 && p.x2 == q.x2 && p.y2 == q.y2)
          << c.what << " " << i;
    }
    // and the setting took effect
    EXPECT_NE(a.size(), scene([] {}).size()) << c.what;
  }
}

}  // namespace
}  // namespace korvan::test
