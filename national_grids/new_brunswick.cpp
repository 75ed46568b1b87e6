// The New Brunswick grid: the oblique stereographic projection on GRS80 centred at
// 46.5 degrees north, 66.5 degrees west.
#include "kelvane/stereographic.h"

#include "core/math_constants.h"

namespace {

void convertNewBrunswick(geodCoord* pt, int direction)
{
    if (!pt) return;
    ellipsoid ell{};
    zoneCnstnt zone{};
    initNewBrunswickParams(&ell, &zone);
    stereographic_calc(&ell, &zone, pt, direction);
}

} // namespace

void initNewBrunswickParams(ellipsoid* ell, zoneCnstnt* zone)
{
    if (ell) initEllipsoid(ell, 6378137.0, 0.0033528106811836675);
    if (!zone) return;
    const double pi = kelvane::pi();
    zone->originLat = 46.5 * pi / 180.0;
    zone->centralMeridian = -66.5 * pi / 180.0;
    zone->scaleFactor = 0.999912;
    zone->falseNorthing = 7500000.0;
    zone->falseEasting = 2500000.0;
}

void latLongToXY_newBrunswickStereographic(geodCoord* pt) { convertNewBrunswick(pt, 1); }

void XYToLatLong_newBrunswickStereographic(geodCoord* pt) { convertNewBrunswick(pt, 0); }
