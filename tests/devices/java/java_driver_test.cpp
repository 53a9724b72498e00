// The Java applet source: its records, and javac accepts it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/state.h"
#include "draw/device_ops.h"
#include "devices/dispatch.h"
#include "korvan.h"
#include "support/plot_fixture.h"

using namespace korvan;
using korvan::test::PlotTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class JavaApplet : public PlotTest {};

TEST_F(JavaApplet, RecordsAndClassName) {
  touch("korvan.java");  // taken: the plot goes to korvan_1.java, class korvan_1
  CaptureStdout();
  metafl("JAVA");
  korini();
  Global& g = qqgglb();
  float s = g.deviceScale;
  EXPECT_FLOAT_EQ(s, 602.0f / 2099.0f);
  xjdraw(g, 0, 0, 3);
  xjdraw(g, 2969, 2099, 2);
  xjdraw(g, 100, 0, 3);  // a move only remembers the point
  xjdraw(g, 100, 100, 2);
  g.colourTable[254] = 0xFF0000;
  dbox(g, 0, 0, 100, 50, 254 + 256);  // the index is taken modulo 256
  erase();
  korfin();
  std::string out = GetCapturedStdout();
  EXPECT_NE(out.find("Metafile: korvan_1.java"), std::string::npos);
  std::string f = masked(slurp("korvan_1.java"));
  EXPECT_EQ(f.substr(0, 200),
            std::string("// KORVAN Java Metafile\n"
                        "// Creator: KORVAN  8.3\n"
                        "// Date   : DD.MM.YYYY, hh:mm:ss\n"
                        "// Size   : 853 603\n"
                        "\n"
                        "import java.applet.*;\n"
                        "import java.awt.*;\n\n"
                        "public class korvan_1 extends Applet {\n"
                        "public void paint(Graphics g) {\n")
                .substr(0, 200));
  EXPECT_NE(f.find("  g.drawLine (0,0,852,602);\n  g.drawLine (29,0,29,29);\n"), std::string::npos);
  EXPECT_NE(f.find("  g.setColor (new Color (255,0,0));\n  g.fillRect (0,0,30,15);\n"),
            std::string::npos);
  EXPECT_NE(f.find("  g.clearRect (0,0,853,603);\n"), std::string::npos);
  EXPECT_EQ(f.substr(f.size() - 6), "  }\n}\n");
  if (std::system("command -v javac >/dev/null 2>&1") != 0) GTEST_SKIP() << "no javac";
  EXPECT_EQ(std::system("javac -nowarn -Xlint:none korvan_1.java >javac.log 2>&1"), 0)
      << slurp("javac.log");
  EXPECT_TRUE(exists("korvan_1.class"));
}

TEST_F(JavaApplet, LargePlotCompilesAndKeepsEveryStatementInOrder) {
  CaptureStdout();
  metafl("JAVA");
  korini();
  for (int i = 0; i < 30000; ++i) line(i % 2900, 100, i % 2900, 2000);
  korfin();
  GetCapturedStdout();
  std::string f = slurp("korvan.java");
  // the statements follow each other in drawing order, whatever part holds them
  std::size_t at = f.find("public void paint(Graphics g) {\n"), n = 0;
  for (std::size_t p = f.find("g.drawLine", at); p != std::string::npos;
       p = f.find("g.drawLine", p + 1), ++n) {
    int x = static_cast<int>(n % 2900) * 852 / 2969;  // within a unit of the scale
    ASSERT_NEAR(std::atoi(f.c_str() + p + 12), x, 1) << "statement " << n;
  }
  EXPECT_EQ(n, 30000u);
  EXPECT_EQ(f.substr(f.size() - 6), "  }\n}\n");
  if (std::system("command -v javac >/dev/null 2>&1") != 0) GTEST_SKIP() << "no javac";
  EXPECT_EQ(std::system("javac -nowarn -Xlint:none korvan.java >javac.log 2>&1"), 0)
      << slurp("javac.log");
}
