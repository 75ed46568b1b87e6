// The defining constants of the named ellipsoids, for use inside the library as well as in
// the public table (core/named_ellipsoids.cpp builds the table from these).
#ifndef KELVANE_CORE_NAMED_ELLIPSOIDS_H
#define KELVANE_CORE_NAMED_ELLIPSOIDS_H

namespace kelvane {

struct EllipsoidDefinition {
    double a; // semi-major axis, m
    double f; // flattening
};

// GRS 80 with the flattening of the state plane 1983 conversions (1/f = 298.257222101).
constexpr EllipsoidDefinition kGrs80{6378137.0, 0.0033528106811836675};
constexpr EllipsoidDefinition kWgs84{6378137.0, 1.0 / 298.257223563};
constexpr EllipsoidDefinition kAiry1830{6377563.396, 1.0 / 299.3249646};
constexpr EllipsoidDefinition kInternational1924{6378388.0, 1.0 / 297.0};
// Clarke 1866 is defined by its axes a = 6378206.4 m and b = 6356583.8 m.
constexpr EllipsoidDefinition kClarke1866{6378206.4, (6378206.4 - 6356583.8) / 6378206.4};
constexpr EllipsoidDefinition kBessel1841{6377397.155, 1.0 / 299.1528128};
constexpr EllipsoidDefinition kGrs67{6378160.0, 1.0 / 298.247167427};
constexpr EllipsoidDefinition kWgs72{6378135.0, 1.0 / 298.26};

} // namespace kelvane

#endif
