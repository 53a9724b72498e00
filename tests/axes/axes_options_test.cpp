// The axis settings a program chooses, seen in what graf draws: each case
// draws one axis system after a reference set-up and after the setting,
// and compares the two drawings.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "support/recording_driver.h"

namespace korvan::test {
namespace {

struct Drawing {
  std::vector<Seg> segs;
  std::vector<Event> events;
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  int colours(int index) const {
    int n = 0;
    for (const Event& e : events) n += e.kind == Event::Colour && e.value == index;
    return n;
  }
  int boxes(int colour) const {
    int n = 0;
    for (const Event& e : events) n += e.kind == Event::Box && e.value == colour;
    return n;
  }
};

class AxisOptionsTest : public RecordingTest {
 protected:
  // The warnings f gives, quietly.
  template <class F>
  static int quietCount(F f) {
    const int before = G().warningCount;
    quiet(f);
    return G().warningCount - before;
  }
  // A fresh plot, set up by f, with the axis system 0..10 by 2, 0..5 by 1
  // (or what draw does), and what reached the device.
  Drawing plot(const std::function<void()>& f, const std::function<void()>& draw = nullptr) {
    if (rec) {
      G().device = 603;
      quiet([] { korfin(); });
      G().driver.reset();
      qqsglb(1);
    }
    start();
    qqgglb().protocolOn = 0;
    axspos(500, 1700);
    axslen(2000, 1200);
    if (f) f();
    rec->clear();
    if (draw) {
      draw();
    } else {
      graf(0, 10, 0, 2, 0, 5, 0, 1);
      endgrf();
    }
    Drawing d;
    d.segs = drawn();
    d.events = rec->events;
    for (const Seg& s : d.segs) {
      d.minX = std::min({d.minX, s.x1, s.x2});
      d.maxX = std::max({d.maxX, s.x1, s.x2});
      d.minY = std::min({d.minY, s.y1, s.y2});
      d.maxY = std::max({d.maxY, s.y1, s.y2});
    }
    return d;
  }
};

struct Case {
  const char* what;
  std::function<void()> ref, set;
  std::function<bool(const Drawing& ref, const Drawing& got)> holds;
};

TEST_F(AxisOptionsTest, EachSettingChangesTheDrawing) {
  auto nothing = [] {};
  auto fewer = [](const Drawing& r, const Drawing& d) { return d.segs.size() < r.segs.size(); };
  auto more = [](const Drawing& r, const Drawing& d) { return d.segs.size() > r.segs.size(); };
  auto lower = [](float by) {
    return [=](const Drawing& r, const Drawing& d) { return d.maxY >= r.maxY + by; };
  };
  auto named = [] { name("Time", "X"); };
  const Case cases[] = {
      {"no labels", nothing, [] { labfmt("NONE", "XY"); },
       [](const Drawing& r, const Drawing& d) { return d.minX > r.minX + 50 && d.maxY < r.maxY; }},
      {"*10 labels", nothing, [] { labfmt("EXPO", "X"); }, more},
      {"E labels", nothing, [] { labfmt("EXPE", "X"); }, more},
      {"user labels", [] { labfmt("USER", "X"); }, [] {
         labfmt("USER", "X");
         labtxt("one|two|three|four|five|six", "X");
       }, more},
      {"ticks inside", nothing, [] { ticpos("INSI", "XY"); },
       [](const Drawing& r, const Drawing& d) { return d.maxY < r.maxY - 10; }},
      {"long ticks", nothing, [] { ticlen(80, 40, "X"); }, lower(40)},
      {"label distance", nothing, [] { labdis(150, "X"); }, lower(100)},
      {"vertical labels", nothing, [] { labori("VERT", "X"); }, lower(20)},
      {"labels between ticks", nothing, [] { labpos("CENT", "X"); }, fewer},
      {"first and last left out", nothing, [] { labomt(3, "XY"); }, fewer},
      {"name distance", named, [=] { named(); namdis(200, "X"); }, lower(150)},
      {"name height", named, [=] { named(); namhgt(100, "X"); }, lower(50)},
      {"name at the start", named, [=] { named(); namjus("STAR", "X"); },
       [](const Drawing& r, const Drawing& d) {
         return d.segs.size() == r.segs.size() && d.events.size() == r.events.size() &&
                d.maxX <= r.maxX && d.minX <= r.minX;
       }},
      {"line colour", nothing, [] { axsclr(2, "LINE", "XY"); },
       [](const Drawing& r, const Drawing& d) { return d.colours(2) > r.colours(2); }},
      {"no axes drawn", nothing, [] { axsdrw("NONE"); },
       [](const Drawing&, const Drawing& d) { return d.segs.empty(); }},
      {"two axes", nothing, [] { axsdrw("TWO"); }, fewer},
      {"no frame", nothing, [] { axsfrm(0); }, fewer},
      {"thick frame", nothing, [] { axsfrm(5); }, more},
      {"background", nothing, [] { axsbgd(3); },
       [](const Drawing& r, const Drawing& d) { return d.boxes(3) == r.boxes(3) + 1; }},
      {"sides off", nothing, [] {
         axslev(0, 0, 0, 0);
         axsfrm(0);
       }, [](const Drawing&, const Drawing& d) { return d.segs.empty(); }},
      {"centred", [] { axspos(100, 1700); }, [] {
         axspos(100, 1700);
         center();
       },
       [](const Drawing& r, const Drawing& d) {
         const float c = (d.minX + d.maxX) / 2, rc = (r.minX + r.maxX) / 2;
         return std::abs(c - 2969 / 2.0f) < 40 && std::abs(rc - 2969 / 2.0f) > 40;
       }},
      {"crossed", nothing, [] { axscrs("ON"); },
       [](const Drawing&, const Drawing& d) {
         // the Y axis at x = 0 of -10..10, in the middle of the rectangle
         for (const Seg& s : d.segs)
           if (s.x1 == s.x2 && std::abs(s.x1 - 1499.5f) < 2 && std::abs(s.y1 - s.y2) > 1000)
             return true;
         return false;
       }},
  };
  for (const Case& c : cases) {
    const bool crossed = std::string(c.what) == "crossed";
    auto draw = [&] {
      graf(crossed ? -10 : 0, 10, crossed ? -10 : 0, 2, crossed ? -5 : 0, 5, crossed ? -5 : 0, 1);
      endgrf();
    };
    const Drawing r = plot(c.ref, draw);
    const Drawing d = plot(c.set, draw);
    EXPECT_TRUE(c.holds(r, d)) << c.what << ": " << r.segs.size() << " -> " << d.segs.size()
                               << " segments, bottom " << r.maxY << " -> " << d.maxY;
  }
}

TEST_F(AxisOptionsTest, LogFallbackDrawsValuesBelowZero) {
  const float x[3] = {1, 0, 100}, y[3] = {1, 2, 3};
  auto curveOnLog = [&] {
    graf(0, 2, 0, 1, 0, 5, 0, 1);
    qqstrk(G());
    rec->clear();
    curve(x, y, 3);
  };
  const Drawing gap = plot([] { axsscl("LOG", "X"); }, curveOnLog);
  const Drawing joined = plot([] {
    axsscl("LOG", "X");
    logfbk("ON", 0.5f);
  }, curveOnLog);
  EXPECT_EQ(gap.segs.size(), 0u);
  EXPECT_EQ(joined.segs.size(), 2u);
}

TEST_F(AxisOptionsTest, DateFormsChangeTheLabels) {
  auto dated = [](const std::function<void()>& more) {
    return [=] {
      basdat(1, 1, 2026);
      labfmt("DATE", "X");
      labfmt("NONE", "Y");
      more();
    };
  };
  auto draw = [] {
    graf(0, 365, 0, 2, 0, 5, 0, 1);  // quarterly
    endgrf();
  };
  const Drawing shortNames = plot(dated([] { datfmt("NONE", "SHOR", "NONE"); }), draw);
  const Drawing longNames = plot(dated([] { datfmt("NONE", "LONG", "NONE"); }), draw);
  const Drawing upper = plot(dated([] {
    datfmt("NONE", "SHOR", "NONE");
    datcas("UPPE");
  }), draw);
  const Drawing german = plot(dated([] {
    datfmt("NONE", "SHOR", "NONE");
    datlan("GERM");
  }), draw);
  const Drawing withSep = plot(dated([] { datfmt("NUMB", "NUMB", "NONE"); }), draw);
  const Drawing noSep = plot(dated([] {
    datfmt("NUMB", "NUMB", "NONE");
    datsep("NONE");
  }), draw);
  const Drawing ordered = plot(dated([] {
    datfmt("NUMB", "NUMB", "LONG");
    datord("YMD");
  }), draw);
  const Drawing dmy = plot(dated([] { datfmt("NUMB", "NUMB", "LONG"); }), draw);
  EXPECT_GT(longNames.segs.size(), shortNames.segs.size());
  auto differ = [](const Drawing& a, const Drawing& b) {
    if (a.segs.size() != b.segs.size()) return true;
    for (std::size_t i = 0; i < a.segs.size(); ++i)
      if (a.segs[i].x1 != b.segs[i].x1 || a.segs[i].y1 != b.segs[i].y1) return true;
    return false;
  };
  EXPECT_TRUE(differ(upper, shortNames));
  EXPECT_TRUE(differ(german, shortNames));
  EXPECT_LT(noSep.segs.size(), withSep.segs.size());
  // the same parts in another order: as many strokes, other places
  EXPECT_EQ(ordered.segs.size(), dmy.segs.size());
  EXPECT_NE(ordered.minX, dmy.minX);
}

TEST_F(AxisOptionsTest, BaseDateAndRefusals) {
  start();
  G().protocolOn = 0;
  EXPECT_EQ(quietCount([] { EXPECT_EQ(incdat(1, 2, 2026), 0); }), 1);
  basdat(1, 1, 2026);
  EXPECT_EQ(incdat(1, 2, 2026), 31);
  int d, m, y;
  trfdat(59, &d, &m, &y);
  EXPECT_EQ(d * 10000 + m * 1000 + y, 1 * 10000 + 3 * 1000 + 2026);
  // Refused: each a warning, nothing changed.
  const std::function<void()> bad[] = {
      [] { basdat(29, 2, 2026); },      [] { labfmt("BOLD", "X"); },
      [] { labfmt("LOG", "W"); },       [] { ticlen(-1, 10, "X"); },
      [] { axsclr(256, "LINE", "X"); }, [] { axslev(5, 0, 0, 0); },
      [] { datord("DDD"); },            [] { datsep(""); },
      [] { labtxt("a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p|q|r|s|t|u", "X"); },
      [] { labtxt("a label much longer than thirty-two characters", "X"); },
  };
  for (const auto& f : bad) EXPECT_EQ(quietCount(f), 1);
  EXPECT_EQ(incdat(1, 2, 2026), 31);
  // Settings of the whole system belong to level 1 only.
  graf(0, 10, 0, 2, 0, 5, 0, 1);
  EXPECT_EQ(quietCount([] { axsdrw("TWO"); }), 1);
  EXPECT_EQ(quietCount([] { labfmt("FLOA", "X"); }), 0);
  endgrf();
}

}  // namespace
}  // namespace korvan::test
