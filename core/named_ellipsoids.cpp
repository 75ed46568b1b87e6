// The public table of named ellipsoids and its lookups.
#include <cstring>

#include "core/named_ellipsoids.h"
#include "kelvane/ellipsoids.h"

namespace {

const namedEllipsoid kTable[] = {
    {"grs80", "GRS 1980", kelvane::kGrs80.a, kelvane::kGrs80.f},
    {"wgs84", "WGS 84", kelvane::kWgs84.a, kelvane::kWgs84.f},
    {"intl1924", "International 1924", kelvane::kInternational1924.a, kelvane::kInternational1924.f},
    {"clarke1866", "Clarke 1866", kelvane::kClarke1866.a, kelvane::kClarke1866.f},
    {"airy1830", "Airy 1830", kelvane::kAiry1830.a, kelvane::kAiry1830.f},
    {"bessel1841", "Bessel 1841", kelvane::kBessel1841.a, kelvane::kBessel1841.f},
    {"grs67", "GRS 1967", kelvane::kGrs67.a, kelvane::kGrs67.f},
    {"wgs72", "WGS 72", kelvane::kWgs72.a, kelvane::kWgs72.f},
};

constexpr int kCount = static_cast<int>(sizeof(kTable) / sizeof(kTable[0]));

} // namespace

int namedEllipsoidCount(void)
{
    return kCount;
}

const namedEllipsoid* namedEllipsoidAt(int index)
{
    return index >= 0 && index < kCount ? &kTable[index] : nullptr;
}

const namedEllipsoid* findNamedEllipsoid(const char* name)
{
    if (name == nullptr) return nullptr;
    for (const namedEllipsoid& e : kTable) {
        if (std::strcmp(e.name, name) == 0) return &e;
    }
    return nullptr;
}

int initNamedEllipsoid(ellipsoid* ell, const char* name)
{
    const namedEllipsoid* e = findNamedEllipsoid(name);
    if (ell == nullptr || e == nullptr) return 1;
    return initEllipsoid(ell, e->semiMajor, e->flattening);
}
