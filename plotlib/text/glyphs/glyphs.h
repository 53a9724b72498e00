// The stroke-font tables of the library, in the packed encoding: a point
// is one word, low byte X, high byte Y. Written by tools/fontgen.
#pragma once

#include <cstdint>

namespace korvan {

extern const std::int16_t kKoralfPoints[681];
extern const std::int16_t kKoralfLatin[620];
extern const std::int16_t kKoralfGreek[319];
extern const std::int16_t kLcmathPoints[427];
extern const std::int16_t kLcmathIndex[479];
extern const std::int16_t kLcomscPoints[1394];
extern const std::int16_t kLcomscIndex[691];
extern const std::int16_t kLcomcyPoints[876];
extern const std::int16_t kLcomcyIndex[1300];
extern const std::int16_t kLcomroPoints[1538];
extern const std::int16_t kLcomroIndex[3081];
extern const std::int16_t kLcomgrPoints[980];
extern const std::int16_t kLcomgrIndex[793];
extern const std::int16_t kLcomitPoints[499];
extern const std::int16_t kLcomitIndex[354];

}  // namespace korvan
