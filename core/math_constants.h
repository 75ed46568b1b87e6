// Constants shared by the families. Degrees are converted with pi taken as 4*atan(1),
// computed rather than written as a literal, so every family converts alike.
#ifndef KELVANE_CORE_MATH_CONSTANTS_H
#define KELVANE_CORE_MATH_CONSTANTS_H

#include <cmath>

namespace kelvane {

inline double pi() { return 4.0 * std::atan(1.0); }
inline double degToRad() { return pi() / 180.0; }

} // namespace kelvane

#endif
