// The text settings a program chooses, seen in the strokes of messag: each
// case draws a string after the setting and a reference string without it.
#include <cmath>
#include <functional>
#include <string>

#include "text/text_recording.h"

namespace korvan::test {
namespace {

class TextOptionsTest : public TextRecordingTest {
 protected:
  // A fresh plot with every setting at its default.
  void restart() {
    G().device = 603;
    quiet([] { korfin(); });
    G().driver.reset();
    qqsglb(1);
    start();
    G().protocolOn = 0;
  }
};

struct Case {
  const char* what;
  std::function<void()> set;
  const char *text, *reference;  // the reference is drawn before the setting
  std::function<bool(const Paths& got, const Paths& ref)> holds;
};

TEST_F(TextOptionsTest, EachSettingChangesTheStrokes) {
  auto same = [](const Paths& a, const Paths& b) { return samePaths(a, b); };
  auto differ = [](const Paths& a, const Paths& b) { return !samePaths(a, b); };
  auto wider = [](float f) {
    return [=](const Paths& a, const Paths& b) {
      const Extent ea = extent(a), eb = extent(b);
      return ea.x1 - ea.x0 > f * (eb.x1 - eb.x0);
    };
  };
  const Case cases[] = {
      {"centred", [] { txtjus("CENT"); }, "AB", "AB",
       [](const Paths& a, const Paths& b) {
         const Extent ea = extent(a), eb = extent(b);
         return ea.x0 < 100 && ea.x1 > 100 && std::fabs((ea.x0 + ea.x1) / 2 - 100) < 15 &&
                std::fabs((ea.x1 - ea.x0) - (eb.x1 - eb.x0)) < 1;
       }},
      {"right", [] { txtjus("RIGH"); }, "AB", "AB",
       [](const Paths& a, const Paths&) { return extent(a).x1 <= 100.5f; }},
      {"framed", [] { txtfrm(2, -1); }, "AB", "AB",
       [](const Paths& a, const Paths& b) { return a.size() >= b.size() + 2; }},
      {"own exponent characters", [] { expctl("ON", "^_@"); }, "x^2@y", "x2y",
       [](const Paths& a, const Paths& b) {
         return a.size() == b.size() && extent(a).y0 < extent(b).y0 - 5;
       }},
      {"exponent characters kept", [] { expctl("ON", ""); }, "x[2$y", "x2y",
       [](const Paths& a, const Paths& b) {
         return a.size() == b.size() && extent(a).y0 < extent(b).y0 - 5;
       }},
      {"umlaut escape", [] { umlaut("ON", "!"); }, "M!arz", "Marz",
       [](const Paths& a, const Paths& b) { return a.size() > b.size(); }},
      {"mixed alphabets", [] {
         mixdef(1, 2, "{}");
         mixalf("ON");
       }, "{a}", "{a}",
       [](const Paths& a, const Paths& b) { return !samePaths(a, b) && extent(a).x1 < extent(b).x1; }},
      {"wide characters", [] { txtfac(2.0f, 0.0f, 0.0f); }, "AB", "AB", wider(1.8f)},
      {"slanted", [] { txtfac(1.0f, 0.0f, 0.5f); }, "I", "I", wider(1.3f)},
      {"spaced", [] { txtfac(1.0f, 1.0f, 0.0f); }, "AB", "AB", wider(1.5f)},
      {"fixed pitch", [] { fixpit("ON", 2.0f); }, "ii", "ii", wider(2.0f)},
      // ISO 8859-1 a-umlaut read as the font's own a-umlaut
      {"coding", [] { txtcod(1); }, "\xe4", "\x82", same},
      {"coding differs", [] {}, "\xe4", "\x82", differ},
      {"frame off again", [] {
         txtfrm(2, -1);
         txtfrm(0, -1);
       }, "AB", "AB", same},
  };
  for (const Case& c : cases) {
    restart();
    const Paths ref = text(c.reference);
    c.set();
    const Paths got = text(c.text);
    EXPECT_TRUE(c.holds(got, ref)) << c.what << ": " << got.size() << " paths, reference "
                                   << ref.size();
  }
}

TEST_F(TextOptionsTest, TexEscapeCharacter) {
  texmod("ON");
  const Paths alpha = text("$\\alpha$");
  texesc("#");
  EXPECT_TRUE(samePaths(text("$#alpha$"), alpha));
  EXPECT_FALSE(samePaths(text("$\\alpha$"), alpha));
}

TEST_F(TextOptionsTest, FrameColourAndRefusals) {
  txtfrm(1, 3);
  qqstrk(G());
  rec->clear();
  messag("AB", 100, 200);
  int framed = 0;
  for (const Event& e : rec->events) framed += e.kind == Event::Colour && e.value == 3;
  EXPECT_GE(framed, 1);
  const std::function<void()> bad[] = {
      [] { txtjus("MIDD"); },           [] { txtfrm(1, 300); },
      [] { expctl("ON", "^^@"); },      [] { expctl("ON", "ab"); },
      [] { umlaut("ON", "12345678"); }, [] { mixdef(7, 2, "{}"); },
      [] { mixdef(1, 2, "{"); },        [] { txtcod(3); },
      [] { txtfac(0.0f, 0.0f, 0.0f); }, [] { fixpit("ON", -1.0f); },
      [] { texesc("$"); },              [] { texesc("ab"); },
  };
  for (const auto& f : bad) {
    const int before = G().warningCount;
    quiet(f);
    EXPECT_EQ(G().warningCount, before + 1);
  }
  // The library's reset at korini brings the defaults back.
  txtjus("RIGH");
  restart();
  EXPECT_EQ(extent(text("AB")).x0 >= 100, true);
}

}  // namespace
}  // namespace korvan::test
