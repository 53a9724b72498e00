// orbgen: the Sun and the planets integrated from their J2000 mean orbital
// elements, with heliocentric osculating elements as the result.
//
// Units: astronomical units, Julian years, solar masses; angles in degrees
// in the element sets, radians nowhere outside the conversions.
#pragma once

#include <string>
#include <vector>

namespace orbgen {

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

// Keplerian elements: semi-major axis, eccentricity, inclination, longitude
// of the ascending node, argument of periapsis, mean anomaly.
struct Kepler {
  double a = 0, e = 0, i = 0, node = 0, peri = 0, M = 0;
};

// G times one solar mass in AU^3 / year^2 (Gaussian constant, Julian year).
extern const double kGmSun;

// Position and velocity on the orbit of the elements about a centre of
// gravitational parameter mu; false for unbound elements (a <= 0, e >= 1).
bool stateFromElements(const Kepler& k, double mu, Vec3& r, Vec3& v);
// Osculating elements of a bound state; angles in [0, 360). A node that is
// not defined (zero inclination) is 0, a periapsis that is not (circle) is 0.
Kepler elementsFromState(const Vec3& r, const Vec3& v, double mu);
// Moves a body dt along its two-body orbit about a fixed centre (universal
// variables; any conic). False if the solution did not converge.
bool keplerDrift(Vec3& r, Vec3& v, double mu, double dt);

// A planet of the table: number 1 (Mercury) to 8 (Neptune; 3 is the
// Earth-Moon barycentre), its mass in solar masses and its J2000 elements.
struct Planet {
  int number;
  const char* name;
  double mass;
  Kepler j2000;
};
const Planet* planet(int number);

// The Sun and its planets in democratic heliocentric coordinates: the
// heliocentric position of each planet and its barycentric velocity. The
// step is the second-order Wisdom-Holman map (interaction kick, solar drift,
// Kepler drift, and back), which is symplectic.
class System {
 public:
  // Adds a planet of mass m (solar masses) from heliocentric elements.
  void add(double m, const Kepler& helio);
  // Must be called after the last add and before the first step.
  void start();
  bool step(double dt);
  std::size_t size() const { return mass_.size(); }
  // Heliocentric osculating elements of planet k (0-based, order of add).
  Kepler elements(std::size_t k) const;
  // Total energy in the barycentric frame.
  double energy() const;

 private:
  Vec3 sunVelocity() const;
  void kick(double dt);
  void solarDrift(double dt);
  std::vector<double> mass_;
  std::vector<Kepler> initial_;
  std::vector<Vec3> q_, v_;
};

// One generator run.
struct Options {
  std::vector<int> bodies{1, 2, 3, 4, 5, 6, 7, 8};  // written
  std::vector<int> integrate;                       // empty: all eight
  std::vector<int> files;                           // empty: the body numbers
  double span = 100.0;                              // years
  double stepDays = 2.0;
  double every = 0.1;                               // output interval, years
  std::string dir = ".";
  bool force = false;
};

// Parses the command line; false with a message in error.
bool parseOptions(int argc, char** argv, Options& o, std::string& error, bool& help);
// Runs the integration and writes one element file per written body; false
// with a message in error.
bool generate(const Options& o, std::string& error);
// The element-file record line of one moment.
std::string record(double years, const Kepler& k, int nobj, int timeDecimals);

}  // namespace orbgen
