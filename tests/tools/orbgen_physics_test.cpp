// The generator's integrator: conversions between elements and states,
// the Kepler drift, two-body orbits and the energy of the planetary system.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "elements.h"
#include "orbgen.h"

using orbgen::Kepler;
using orbgen::Vec3;

namespace {

double angleDiff(double a, double b) { return std::remainder(a - b, 360.0); }

void expectSameOrbit(const Kepler& k, const Kepler& want, double tol, bool withM = true) {
  EXPECT_NEAR(k.a, want.a, tol * want.a);
  EXPECT_NEAR(k.e, want.e, tol);
  EXPECT_NEAR(k.i, want.i, tol * 57.3);
  EXPECT_NEAR(angleDiff(k.node, want.node), 0.0, tol * 57.3 / std::fmax(want.e, 1e-3));
  EXPECT_NEAR(angleDiff(k.peri, want.peri), 0.0, tol * 57.3 / std::fmax(want.e, 1e-3));
  if (withM) {
    EXPECT_NEAR(angleDiff(k.M, want.M), 0.0, tol * 57.3 / std::fmax(want.e, 1e-3));
  }
}

Kepler orbit(double a, double e, double i, double node, double peri, double M) {
  Kepler k;
  k.a = a;
  k.e = e;
  k.i = i;
  k.node = node;
  k.peri = peri;
  k.M = M;
  return k;
}

}  // namespace

TEST(OrbgenConversions, ElementsSurviveARoundTrip) {
  const double mu = orbgen::kGmSun;
  for (const Kepler& k : {orbit(1.0, 0.0167, 5.0, 10.0, 100.0, 45.0),
                          orbit(5.2, 0.3, 30.0, 200.0, 300.0, 359.0),
                          orbit(0.387, 0.9, 120.0, 48.0, 29.0, 1.0),
                          orbit(30.0, 0.5, 170.0, 131.0, 273.0, 180.0)}) {
    Vec3 r, v;
    ASSERT_TRUE(orbgen::stateFromElements(k, mu, r, v));
    // The state is on the orbit: energy and distance agree with a and e.
    double rn = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
    EXPECT_GE(rn, k.a * (1 - k.e) * (1 - 1e-12));
    EXPECT_LE(rn, k.a * (1 + k.e) * (1 + 1e-12));
    expectSameOrbit(orbgen::elementsFromState(r, v, mu), k, 1e-10);
  }
  Vec3 r, v;
  EXPECT_FALSE(orbgen::stateFromElements(orbit(1.0, 1.0, 0, 0, 0, 0), mu, r, v));
  EXPECT_FALSE(orbgen::stateFromElements(orbit(-1.0, 0.5, 0, 0, 0, 0), mu, r, v));
}

TEST(OrbgenConversions, UndefinedAnglesAreZero) {
  // In the reference plane the node is 0 and the periapsis longitude is the
  // argument of periapsis; on a circle the periapsis is 0 too.
  Vec3 r, v;
  ASSERT_TRUE(orbgen::stateFromElements(orbit(2.0, 0.1, 0.0, 0.0, 75.0, 10.0),
                                        orbgen::kGmSun, r, v));
  Kepler k = orbgen::elementsFromState(r, v, orbgen::kGmSun);
  EXPECT_NEAR(k.node, 0.0, 1e-9);
  EXPECT_NEAR(k.peri, 75.0, 1e-8);
  ASSERT_TRUE(orbgen::stateFromElements(orbit(2.0, 0.0, 10.0, 40.0, 0.0, 30.0),
                                        orbgen::kGmSun, r, v));
  k = orbgen::elementsFromState(r, v, orbgen::kGmSun);
  EXPECT_NEAR(k.peri, 0.0, 1e-9);
  EXPECT_NEAR(k.M, 30.0, 1e-8);
}

TEST(OrbgenKepler, DriftFollowsTheMeanMotion) {
  const double mu = orbgen::kGmSun;
  Kepler k = orbit(1.5, 0.6, 20.0, 50.0, 80.0, 10.0);
  Vec3 r, v;
  ASSERT_TRUE(orbgen::stateFromElements(k, mu, r, v));
  double n = std::sqrt(mu / (k.a * k.a * k.a)) * 180.0 / M_PI;  // deg / year
  double period = 360.0 / n;
  // Many small steps, one long one across several revolutions, and back.
  for (int s = 0; s < 1000; ++s) ASSERT_TRUE(orbgen::keplerDrift(r, v, mu, period / 1000.0 * 0.37));
  Kepler after = orbgen::elementsFromState(r, v, mu);
  Kepler want = k;
  want.M = k.M + 0.37 * 360.0;
  expectSameOrbit(after, want, 1e-9);
  ASSERT_TRUE(orbgen::keplerDrift(r, v, mu, 7.25 * period));
  want.M += 0.25 * 360.0;
  expectSameOrbit(orbgen::elementsFromState(r, v, mu), want, 1e-9);
  ASSERT_TRUE(orbgen::keplerDrift(r, v, mu, -7.62 * period));
  expectSameOrbit(orbgen::elementsFromState(r, v, mu), k, 1e-9);
}

TEST(OrbgenKepler, HyperbolicDrift) {
  // An unbound state keeps its energy and angular momentum along the drift.
  const double mu = orbgen::kGmSun;
  Vec3 r{1.0, 0.0, 0.0}, v{0.0, 1.2 * std::sqrt(2 * mu), 0.1};
  auto energy = [&](const Vec3& p, const Vec3& q) {
    return 0.5 * (q.x * q.x + q.y * q.y + q.z * q.z) -
           mu / std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
  };
  double e0 = energy(r, v), h0 = r.x * v.y - r.y * v.x;
  ASSERT_TRUE(orbgen::keplerDrift(r, v, mu, 3.0));
  EXPECT_NEAR(energy(r, v), e0, 1e-10 * std::fabs(e0));
  EXPECT_NEAR(r.x * v.y - r.y * v.x, h0, 1e-10 * std::fabs(h0));
  EXPECT_GT(std::sqrt(r.x * r.x + r.y * r.y), 10.0);
}

TEST(OrbgenSystem, TwoBodyOrbitKeepsItsElements) {
  // A test particle moves on its Kepler ellipse exactly; a Jupiter-mass
  // planet only with the small wobble of the splitting.
  for (double m : {0.0, 1e-3}) {
    orbgen::System sys;
    Kepler k = orbit(5.2, 0.3, 10.0, 100.0, 275.0, 20.0);
    sys.add(m, k);
    sys.start();
    Kepler k0 = sys.elements(0);
    expectSameOrbit(k0, k, 1e-12);
    double mu = orbgen::kGmSun * (1 + m);
    double period = 2 * M_PI / std::sqrt(mu / (k.a * k.a * k.a));
    const int perOrbit = 60, orbits = 100;
    double maxDa = 0, maxDe = 0, maxDw = 0;
    for (int s = 1; s <= perOrbit * orbits; ++s) {
      ASSERT_TRUE(sys.step(period / perOrbit));
      Kepler e = sys.elements(0);
      maxDa = std::fmax(maxDa, std::fabs(e.a - k.a) / k.a);
      maxDe = std::fmax(maxDe, std::fabs(e.e - k.e));
      maxDw = std::fmax(maxDw, std::fabs(angleDiff(e.node + e.peri, k.node + k.peri)));
      EXPECT_NEAR(e.i, k.i, 1e-9);
    }
    double tol = m == 0 ? 1e-10 : 1e-4;
    EXPECT_LT(maxDa, tol) << m;
    EXPECT_LT(maxDe, tol) << m;
    EXPECT_LT(maxDw, tol * 100) << m;
    // After whole orbits the body is back at its mean anomaly.
    EXPECT_NEAR(angleDiff(sys.elements(0).M, k.M), 0.0, m == 0 ? 1e-7 : 0.1) << m;
  }
}

TEST(OrbgenSystem, EnergyErrorStaysBounded) {
  // The outer planets over 2000 years at 40-day steps: the energy error of
  // a symplectic map oscillates and does not grow.
  orbgen::System sys;
  for (int n = 5; n <= 8; ++n) sys.add(orbgen::planet(n)->mass, orbgen::planet(n)->j2000);
  sys.start();
  double e0 = sys.energy();
  const double dt = 40.0 / 365.25;
  const int steps = static_cast<int>(2000.0 / dt);
  double firstHalf = 0, secondHalf = 0;
  for (int s = 1; s <= steps; ++s) {
    ASSERT_TRUE(sys.step(dt));
    double err = std::fabs((sys.energy() - e0) / e0);
    (s <= steps / 2 ? firstHalf : secondHalf) = std::fmax(s <= steps / 2 ? firstHalf : secondHalf, err);
  }
  EXPECT_LT(firstHalf, 1e-6);
  EXPECT_LT(secondHalf, 1e-6);
  EXPECT_LT(secondHalf, 3.0 * firstHalf + 1e-12);
  // The orbits stay what they are: Jupiter near 5.2 AU, small eccentricity.
  Kepler j = sys.elements(0);
  EXPECT_NEAR(j.a, 5.203, 0.01);
  EXPECT_LT(j.e, 0.07);
}

TEST(OrbgenSystem, InnerPlanetsKeepEnergyWithTheWholeSystem) {
  orbgen::System sys;
  for (int n = 1; n <= 8; ++n) sys.add(orbgen::planet(n)->mass, orbgen::planet(n)->j2000);
  sys.start();
  double e0 = sys.energy();
  const double dt = 2.0 / 365.25;
  double worst = 0;
  for (int s = 1; s <= static_cast<int>(50.0 / dt); ++s) {
    ASSERT_TRUE(sys.step(dt));
    worst = std::fmax(worst, std::fabs((sys.energy() - e0) / e0));
  }
  EXPECT_LT(worst, 1e-7);
  // Mercury's semi-major axis stays put to a few parts in 10^5.
  EXPECT_NEAR(sys.elements(0).a, 0.38709927, 2e-5);
}

TEST(OrbgenTable, PlanetsFromTheJ2000Elements) {
  ASSERT_NE(orbgen::planet(3), nullptr);
  EXPECT_EQ(orbgen::planet(0), nullptr);
  EXPECT_EQ(orbgen::planet(9), nullptr);
  // Longitudes of perihelion and mean longitudes come out of the angles.
  const Kepler& e = orbgen::planet(3)->j2000;
  EXPECT_NEAR(e.node + e.peri, 102.93768193, 1e-9);
  EXPECT_NEAR(e.node + e.peri + e.M, 100.46457166, 1e-9);
  EXPECT_NEAR(1.0 / orbgen::planet(5)->mass, 1047.3486, 1e-6);
}

class OrbgenFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/orbgen_files_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ASSERT_NE(getcwd(old_, sizeof old_), nullptr);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(old_), 0);
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  static bool run(std::vector<std::string> args, std::string& error) {
    std::vector<char*> argv{const_cast<char*>("orbgen")};
    for (auto& a : args) argv.push_back(a.data());
    orbgen::Options o;
    bool help;
    if (!orbgen::parseOptions(static_cast<int>(argv.size()), argv.data(), o, error, help))
      return false;
    return orbgen::generate(o, error);
  }
  std::string dir_;
  char old_[4096];
};

TEST_F(OrbgenFiles, TheViewersReadWhatItWrites) {
  std::string error;
  ASSERT_TRUE(run({"--bodies", "3,4", "--files", "5,6", "--span", "20", "--every", "0.5"},
                  error))
      << error;
  std::vector<orbview::Track> tracks;
  std::string warning;
  ASSERT_TRUE(orbview::readTracks({5, 6}, 257, tracks, error, warning)) << error;
  EXPECT_TRUE(warning.empty());
  ASSERT_EQ(tracks[0].size(), 41u);
  ASSERT_EQ(tracks[1].size(), 41u);
  // Earth and Mars at 257 plot units per AU, on the page.
  EXPECT_NEAR(tracks[0].a[0], 257, 1);
  EXPECT_NEAR(tracks[1].a[40], 391, 1);
  EXPECT_NEAR(tracks[1].giro[0], 336.06, 0.01);  // Mars: -23.94 + 360
  std::ifstream f("elm0006.dat");
  std::string header, first;
  std::getline(f, header);
  std::getline(f, first);
  EXPECT_EQ(header.rfind("Mars:", 0), 0u);
  std::istringstream in(first);
  double t, a, e;
  in >> t >> a >> e;
  EXPECT_EQ(t, 2000.0);
  EXPECT_NEAR(a, 1.52371, 1e-5);
  EXPECT_EQ(first.substr(first.size() - 2), " 4");  // nobj is the body
}

TEST_F(OrbgenFiles, RefusesBadOptionsAndExistingFiles) {
  std::string error;
  EXPECT_FALSE(run({"--bodies", "9"}, error));
  EXPECT_FALSE(run({"--bodies", "2", "--integrate", "5-8"}, error));
  EXPECT_EQ(error, "body 2 is written but not integrated");
  EXPECT_FALSE(run({"--step", "0"}, error));
  EXPECT_FALSE(run({"--files", "1,2", "--bodies", "3"}, error));
  EXPECT_FALSE(run({"--span"}, error));
  EXPECT_FALSE(run({"--colour", "red"}, error));
  ASSERT_TRUE(run({"--bodies", "5", "--integrate", "5", "--span", "1", "--every", "1"}, error));
  EXPECT_FALSE(run({"--bodies", "5", "--integrate", "5", "--span", "1", "--every", "1"}, error));
  EXPECT_EQ(error, "./elm0005.dat: File exists");
  EXPECT_TRUE(run({"--bodies", "5", "--integrate", "5", "--span", "2", "--every", "1", "--force"},
                  error))
      << error;
}
