#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "orbgen.h"

namespace orbgen {

// k = 0.01720209895 AU^(3/2) / day; one Julian year is 365.25 days.
const double kGmSun = 0.01720209895 * 0.01720209895 * 365.25 * 365.25;

namespace {

const double kPi = 3.14159265358979323846;
const double kDeg = kPi / 180.0;

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double norm(Vec3 a) { return std::sqrt(dot(a, a)); }

double degrees360(double rad) {
  double d = std::fmod(rad / kDeg, 360.0);
  if (d < 0) d += 360.0;
  if (d >= 360.0) d -= 360.0;
  return d;
}

// Stumpff functions c2(z) = (1 - cos sqrt z) / z and c3(z) = (sqrt z -
// sin sqrt z) / sqrt z^3, with their series near zero.
void stumpff(double z, double& c2, double& c3) {
  if (std::fabs(z) < 1e-6) {
    c2 = 0.5 - z / 24.0 + z * z / 720.0;
    c3 = 1.0 / 6.0 - z / 120.0 + z * z / 5040.0;
  } else if (z > 0) {
    double s = std::sqrt(z);
    c2 = (1.0 - std::cos(s)) / z;
    c3 = (s - std::sin(s)) / (s * z);
  } else {
    double s = std::sqrt(-z);
    c2 = (1.0 - std::cosh(s)) / z;
    c3 = (std::sinh(s) - s) / (s * -z);
  }
}

// The J2000 mean elements: a, e, I, mean longitude L, longitude of
// perihelion, longitude of the node; masses as the Sun's mass over the
// planet's (the Earth with the Moon).
struct Row {
  const char* name;
  double sunOverPlanet, a, e, I, L, varpi, node;
};
const Row kTable[8] = {
    {"Mercury", 6023600.0, 0.38709927, 0.20563593, 7.00497902, 252.25032350, 77.45779628,
     48.33076593},
    {"Venus", 408523.71, 0.72333566, 0.00677672, 3.39467605, 181.97909950, 131.60246718,
     76.67984255},
    {"Earth-Moon barycentre", 328900.56, 1.00000261, 0.01671123, -0.00001531, 100.46457166,
     102.93768193, 0.0},
    {"Mars", 3098708.0, 1.52371034, 0.09339410, 1.84969142, -4.55343205, -23.94362959,
     49.55953891},
    {"Jupiter", 1047.3486, 5.20288700, 0.04838624, 1.30439695, 34.39644051, 14.72847983,
     100.47390909},
    {"Saturn", 3497.898, 9.53667594, 0.05386179, 2.48599187, 49.95424423, 92.59887831,
     113.66242448},
    {"Uranus", 22902.98, 19.18916464, 0.04725744, 0.77263783, 313.23810451, 170.95427630,
     74.01692503},
    {"Neptune", 19412.24, 30.06992276, 0.00859048, 1.77004347, -55.12002969, 44.96476227,
     131.78422574},
};

}  // namespace

bool stateFromElements(const Kepler& k, double mu, Vec3& r, Vec3& v) {
  if (!(k.a > 0) || !(k.e >= 0 && k.e < 1) || !(mu > 0)) return false;
  double M = std::remainder(k.M * kDeg, 2 * kPi);
  double E = k.e < 0.8 ? M : kPi;
  for (int it = 0; it < 100; ++it) {
    double d = (E - k.e * std::sin(E) - M) / (1 - k.e * std::cos(E));
    E -= d;
    if (std::fabs(d) < 1e-15) break;
  }
  double cE = std::cos(E), sE = std::sin(E);
  double root = std::sqrt(1 - k.e * k.e);
  double n = std::sqrt(mu / (k.a * k.a * k.a));
  double den = 1 - k.e * cE;
  double px = k.a * (cE - k.e), py = k.a * root * sE;
  double vx = -k.a * n * sE / den, vy = k.a * n * root * cE / den;
  double cO = std::cos(k.node * kDeg), sO = std::sin(k.node * kDeg);
  double ci = std::cos(k.i * kDeg), si = std::sin(k.i * kDeg);
  double cw = std::cos(k.peri * kDeg), sw = std::sin(k.peri * kDeg);
  // Perifocal axes in the reference frame.
  Vec3 P{cO * cw - sO * sw * ci, sO * cw + cO * sw * ci, sw * si};
  Vec3 Q{-cO * sw - sO * cw * ci, -sO * sw + cO * cw * ci, cw * si};
  r = px * P + py * Q;
  v = vx * P + vy * Q;
  return true;
}

Kepler elementsFromState(const Vec3& r, const Vec3& v, double mu) {
  Kepler k;
  double rn = norm(r), v2 = dot(v, v), rv = dot(r, v);
  Vec3 h = cross(r, v);
  double hn = norm(h);
  k.a = 1.0 / (2.0 / rn - v2 / mu);
  Vec3 ev = (1.0 / mu) * ((v2 - mu / rn) * r - rv * v);
  k.e = norm(ev);
  k.i = std::acos(std::fmax(-1.0, std::fmin(1.0, h.z / hn))) / kDeg;
  Vec3 nv{-h.y, h.x, 0.0};
  double nn = norm(nv);
  Vec3 nodeDir{1, 0, 0};
  if (nn > 1e-14 * hn) {
    nodeDir = (1.0 / nn) * nv;
    k.node = degrees360(std::atan2(nv.y, nv.x));
  }
  Vec3 hu = (1.0 / hn) * h;
  Vec3 side = cross(hu, nodeDir);  // 90 degrees ahead of the node in the plane
  double nu;
  if (k.e > 1e-12) {
    k.peri = degrees360(std::atan2(dot(ev, side), dot(ev, nodeDir)));
    Vec3 eu = (1.0 / k.e) * ev;
    nu = std::atan2(dot(cross(eu, r), hu), dot(eu, r));
  } else {
    k.peri = 0.0;
    nu = std::atan2(dot(r, side), dot(r, nodeDir));
  }
  double E = 2.0 * std::atan2(std::sqrt(1 - k.e) * std::sin(nu / 2),
                              std::sqrt(1 + k.e) * std::cos(nu / 2));
  k.M = degrees360(E - k.e * std::sin(E));
  return k;
}

bool keplerDrift(Vec3& r, Vec3& v, double mu, double dt) {
  double r0 = norm(r), v2 = dot(v, v);
  double smu = std::sqrt(mu);
  double alpha = 2.0 / r0 - v2 / mu;  // 1 / a
  double sigma = dot(r, v) / smu;
  if (alpha > 0) {
    // Whole revolutions change nothing; only the rest is solved for.
    double period = 2 * kPi / (smu * std::pow(alpha, 1.5));
    dt = std::remainder(dt, period);
  }
  double chi = alpha > 0 ? smu * alpha * dt : smu * dt / r0;
  double c2 = 0, c3 = 0, rr = r0;
  bool converged = false;
  for (int it = 0; it < 60; ++it) {
    double z = alpha * chi * chi;
    stumpff(z, c2, c3);
    double f = sigma * chi * chi * c2 + (1 - alpha * r0) * chi * chi * chi * c3 + r0 * chi -
               smu * dt;
    rr = sigma * chi * (1 - z * c3) + (1 - alpha * r0) * chi * chi * c2 + r0;  // f'
    double f2 = sigma * (1 - z * c2) + (1 - alpha * r0) * chi * (1 - z * c3);
    // Laguerre's step (n = 5): converges from poor starting values too.
    const double n = 5;
    double disc = std::fabs((n - 1) * (n - 1) * rr * rr - n * (n - 1) * f * f2);
    double den = rr + (rr >= 0 ? 1 : -1) * std::sqrt(disc);
    double d = n * f / den;
    chi -= d;
    if (std::fabs(d) <= 1e-14 * std::fmax(1.0, std::fabs(chi))) {
      converged = true;
      break;
    }
  }
  if (!converged || !std::isfinite(chi)) return false;
  double z = alpha * chi * chi;
  stumpff(z, c2, c3);
  double f = 1 - chi * chi / r0 * c2;
  double g = dt - chi * chi * chi / smu * c3;
  Vec3 rn = f * r + g * v;
  double r1 = norm(rn);
  double fd = smu / (r1 * r0) * chi * (z * c3 - 1);
  double gd = 1 - chi * chi / r1 * c2;
  v = fd * r + gd * v;
  r = rn;
  return true;
}

const Planet* planet(int number) {
  static Planet planets[8];
  static bool made = false;
  if (!made) {
    for (int n = 0; n < 8; ++n) {
      const Row& row = kTable[n];
      Kepler k;
      k.a = row.a;
      k.e = row.e;
      k.i = row.I;
      k.node = row.node;
      k.peri = row.varpi - row.node;
      k.M = row.L - row.varpi;
      planets[n] = Planet{n + 1, row.name, 1.0 / row.sunOverPlanet, k};
    }
    made = true;
  }
  return number >= 1 && number <= 8 ? &planets[number - 1] : nullptr;
}

void System::add(double m, const Kepler& helio) {
  mass_.push_back(m);
  initial_.push_back(helio);
}

void System::start() {
  // Heliocentric states, then the Sun's barycentric velocity from the
  // total momentum being zero, which turns them into barycentric ones.
  std::size_t n = mass_.size();
  q_.assign(n, Vec3{});
  v_.assign(n, Vec3{});
  double total = 1.0;
  Vec3 p{};
  for (std::size_t k = 0; k < n; ++k) {
    stateFromElements(initial_[k], kGmSun * (1.0 + mass_[k]), q_[k], v_[k]);
    total += mass_[k];
    p = p + mass_[k] * v_[k];
  }
  Vec3 vs = (-1.0 / total) * p;
  for (auto& v : v_) v = v + vs;
}

Vec3 System::sunVelocity() const {
  Vec3 p{};
  for (std::size_t k = 0; k < mass_.size(); ++k) p = p + mass_[k] * v_[k];
  return -1.0 * p;  // the Sun's mass is one
}

void System::kick(double dt) {
  std::size_t n = mass_.size();
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 1; j < n; ++j) {
      Vec3 d = q_[j] - q_[i];
      double r2 = dot(d, d);
      double s = kGmSun * dt / (r2 * std::sqrt(r2));
      v_[i] = v_[i] + (s * mass_[j]) * d;
      v_[j] = v_[j] - (s * mass_[i]) * d;
    }
}

void System::solarDrift(double dt) {
  Vec3 p{};
  for (std::size_t k = 0; k < mass_.size(); ++k) p = p + mass_[k] * v_[k];
  for (auto& q : q_) q = q + dt * p;
}

bool System::step(double dt) {
  kick(dt / 2);
  solarDrift(dt / 2);
  for (std::size_t k = 0; k < mass_.size(); ++k)
    if (!keplerDrift(q_[k], v_[k], kGmSun, dt)) return false;
  solarDrift(dt / 2);
  kick(dt / 2);
  return true;
}

Kepler System::elements(std::size_t k) const {
  Vec3 u = v_[k] - sunVelocity();
  return elementsFromState(q_[k], u, kGmSun * (1.0 + mass_[k]));
}

double System::energy() const {
  double e = 0;
  Vec3 p{};
  std::size_t n = mass_.size();
  for (std::size_t k = 0; k < n; ++k) {
    e += mass_[k] * (0.5 * dot(v_[k], v_[k]) - kGmSun / norm(q_[k]));
    p = p + mass_[k] * v_[k];
  }
  e += 0.5 * dot(p, p);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 1; j < n; ++j)
      e -= kGmSun * mass_[i] * mass_[j] / norm(q_[i] - q_[j]);
  return e;
}

std::string record(double years, const Kepler& k, int nobj, int timeDecimals) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%.*f %.5f %.5f %.3f %.3f %.3f %.3f %d", timeDecimals, years,
                k.a, k.e, k.i, k.node, k.peri, k.M, nobj);
  return buf;
}

namespace {

bool parseList(const char* text, std::vector<int>& out) {
  out.clear();
  const char* p = text;
  while (*p) {
    char* end = nullptr;
    long a = std::strtol(p, &end, 10);
    if (end == p) return false;
    long b = a;
    p = end;
    if (*p == '-') {
      ++p;
      b = std::strtol(p, &end, 10);
      if (end == p || b < a) return false;
      p = end;
    }
    if (b - a > 10000) return false;
    for (long n = a; n <= b; ++n) out.push_back(static_cast<int>(n));
    if (*p == ',')
      ++p;
    else if (*p)
      return false;
  }
  return !out.empty();
}

bool parseNumber(const char* text, double& v) {
  char* end = nullptr;
  errno = 0;
  v = std::strtod(text, &end);
  return end != text && *end == '\0' && errno == 0 && std::isfinite(v);
}

}  // namespace

bool parseOptions(int argc, char** argv, Options& o, std::string& error, bool& help) {
  help = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      help = true;
      return true;
    }
    if (a == "--force") {
      o.force = true;
      continue;
    }
    if (i + 1 >= argc) {
      error = "option " + a + " needs a value";
      return false;
    }
    const char* val = argv[++i];
    bool ok = true;
    if (a == "--bodies")
      ok = parseList(val, o.bodies);
    else if (a == "--integrate")
      ok = parseList(val, o.integrate);
    else if (a == "--files")
      ok = parseList(val, o.files);
    else if (a == "--span")
      ok = parseNumber(val, o.span) && o.span >= 0;
    else if (a == "--step")
      ok = parseNumber(val, o.stepDays) && o.stepDays > 0;
    else if (a == "--every")
      ok = parseNumber(val, o.every) && o.every > 0;
    else if (a == "--dir")
      o.dir = val;
    else {
      error = "unknown option " + a;
      return false;
    }
    if (!ok) {
      error = "bad value \"" + std::string(val) + "\" for " + a;
      return false;
    }
  }
  std::vector<int> integrated = o.integrate;
  if (integrated.empty()) integrated = {1, 2, 3, 4, 5, 6, 7, 8};
  for (int n : integrated)
    if (!planet(n)) {
      error = "no planet " + std::to_string(n) + " (1-8)";
      return false;
    }
  for (int n : o.bodies) {
    bool in = false;
    for (int m : integrated) in = in || m == n;
    if (!in) {
      error = "body " + std::to_string(n) + " is written but not integrated";
      return false;
    }
  }
  if (!o.files.empty() && o.files.size() != o.bodies.size()) {
    error = "--files needs one number per written body";
    return false;
  }
  for (int f : o.files)
    if (f < 0 || f > 9999) {
      error = "file number " + std::to_string(f) + " outside 0-9999";
      return false;
    }
  if (o.span / o.every > 1e7) {
    error = "more than ten million records";
    return false;
  }
  return true;
}

bool generate(const Options& o, std::string& error) {
  std::vector<int> integrated = o.integrate;
  if (integrated.empty()) integrated = {1, 2, 3, 4, 5, 6, 7, 8};
  System sys;
  for (int n : integrated) sys.add(planet(n)->mass, planet(n)->j2000);
  sys.start();

  // Whole steps per output interval, so that every record falls on a step.
  long perOutput = std::lround(o.every * 365.25 / o.stepDays);
  if (perOutput < 1) perOutput = 1;
  double dt = o.every / static_cast<double>(perOutput);
  long records = static_cast<long>(std::floor(o.span / o.every + 1e-9)) + 1;
  int decimals = 1;  // "2001.0": a year that reads as a real
  for (double f = o.every; decimals < 6 && std::fabs(f - std::round(f)) > 1e-9; f *= 10)
    ++decimals;

  struct Out {
    std::size_t index;
    int nobj;
    std::string name;
    std::FILE* f;
  };
  std::vector<Out> outs;
  auto closeAll = [&]() {
    bool ok = true;
    for (auto& w : outs)
      if (w.f && std::fclose(w.f) != 0) ok = false;
    outs.clear();
    return ok;
  };
  for (std::size_t b = 0; b < o.bodies.size(); ++b) {
    std::size_t index = 0;
    while (integrated[index] != o.bodies[b]) ++index;
    int number = o.files.empty() ? o.bodies[b] : o.files[b];
    char name[16];
    std::snprintf(name, sizeof name, "elm%04d.dat", number);
    std::string path = o.dir + "/" + name;
    int flags = O_WRONLY | O_CREAT | (o.force ? O_TRUNC : O_EXCL);
    int fd = ::open(path.c_str(), flags, 0644);
    std::FILE* f = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (!f) {
      error = path + ": " + std::strerror(errno);
      if (fd >= 0) ::close(fd);
      closeAll();
      return false;
    }
    const Planet* p = planet(o.bodies[b]);
    std::fprintf(f,
                 "%s: heliocentric osculating elements from J2000 - years, a [AU], e, i, "
                 "node, periapsis, mean anomaly [deg], body\n",
                 p->name);
    outs.push_back(Out{index, o.bodies[b], path, f});
  }
  for (long r = 0; r < records; ++r) {
    if (r > 0)
      for (long s = 0; s < perOutput; ++s)
        if (!sys.step(dt)) {
          closeAll();
          error = "the integration failed at year " + std::to_string(r * o.every);
          return false;
        }
    double years = 2000.0 + static_cast<double>(r) * o.every;
    for (auto& w : outs)
      std::fprintf(w.f, "%s\n", record(years, sys.elements(w.index), w.nobj, decimals).c_str());
  }
  for (auto& w : outs)
    if (std::ferror(w.f)) {
      error = w.name + ": write error";
      closeAll();
      return false;
    }
  if (!closeAll()) {
    error = "write error on closing the element files";
    return false;
  }
  return true;
}

}  // namespace orbgen
