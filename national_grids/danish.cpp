// The Danish grids: the datum stage (WGS84 <-> ED50 and UTM zone 32 / ED50) and the
// eight exports that chain it with the polynomial stage.
#include "national_grids/danish_internal.h"

#include <cmath>

#include "core/math_constants.h"
#include "kelvane/danish.h"
#include "kelvane/geocentric.h"
#include "kelvane/matrix.h"
#include "kelvane/transverse_mercator.h"
#include "national_grids/danish_grid.h"

namespace kelvane::danish {

namespace {

// Translation (m) removed before the rotation, rotations about x, y, z (arc-seconds) and
// the scale factor applied last.
struct SevenParameters {
    double tX, tY, tZ;
    double rX, rY, rZ;
    double scale;
};

constexpr SevenParameters kWgs84ToEd50 = {-81.0703, -89.3603, -115.7526, -0.48488, -0.02436, -0.41321,
                                          1.0000005406452923};
constexpr SevenParameters kEd50ToWgs84 = {81.0703, 89.3603, 115.7526, 0.48488, 0.02436, 0.41321,
                                          0.999999459355};

void setRows(Matrix& m, const double (&values)[9])
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m.element(i, j) = values[3 * i + j];
}

int applySevenParameters(const SevenParameters& s, const geodCoord& in, geodCoord* out)
{
    if (!out) return 1;
    const double secondsToRad = pi() / 648000.0;
    const double thetaX = s.rX * secondsToRad;
    const double thetaY = s.rY * secondsToRad;
    const double thetaZ = s.rZ * secondsToRad;
    const double cx = std::cos(thetaX), sx = std::sin(thetaX);
    const double cy = std::cos(thetaY), sy = std::sin(thetaY);
    const double cz = std::cos(thetaZ), sz = std::sin(thetaZ);

    Matrix Rz(3, 3), Ry(3, 3), Rx(3, 3), RzRy(3, 3), R(3, 3);
    setRows(Rz, {cz, sz, 0.0, -sz, cz, 0.0, 0.0, 0.0, 1.0});
    setRows(Ry, {cy, 0.0, -sy, 0.0, 1.0, 0.0, sy, 0.0, cy});
    setRows(Rx, {1.0, 0.0, 0.0, 0.0, cx, sx, 0.0, -sx, cx});
    matrixMultiply(&Rz, &Ry, &RzRy);
    matrixMultiply(&RzRy, &Rx, &R);
    if (matrixInverse(&R) != 0) return 1;

    Matrix d(3, 1), result(3, 1);
    d.element(0, 0) = in.easting - s.tX;
    d.element(1, 0) = in.northing - s.tY;
    d.element(2, 0) = in.elev - s.tZ;
    matrixMultiply(&R, &d, &result);
    out->easting = result.element(0, 0) * s.scale;
    out->northing = result.element(1, 0) * s.scale;
    out->elev = result.element(2, 0) * s.scale;
    return 0;
}

} // namespace

int wgs84ToEd50Geocentric(geodCoord in, geodCoord* out)
{
    return applySevenParameters(kWgs84ToEd50, in, out);
}

int ed50ToWgs84Geocentric(geodCoord in, geodCoord* out)
{
    return applySevenParameters(kEd50ToWgs84, in, out);
}

namespace {

struct Datums {
    ellipsoid wgs84, ed50;
    zoneCnstntTM utm32;
};

// The two ellipsoids and UTM zone 32 north on the ED50 one; 0 or the builder's status.
int setUpDatums(Datums& d)
{
    initEllipsoid(&d.wgs84, kWgs84A, kWgs84F);
    initEllipsoid(&d.ed50, kEd50A, kEd50F);
    return initUTMZone(32, 0, d.ed50, &d.utm32);
}

} // namespace

int wgs84ToUtm32Ed50(double lat, double lon, double h, geodCoord* out)
{
    if (!out) return 1;
    Datums d{};
    int status = setUpDatums(d);
    geodCoord wgs{}, g{};
    wgs.lat = lat;
    wgs.lon = lon;
    wgs.elev = h;
    if (status == 0) status = latLongElev2XYZ_EC(d.wgs84, &wgs);
    if (status == 0) status = wgs84ToEd50Geocentric(wgs, &g);
    if (status == 0) status = XYZ_EC2latLongElev(d.ed50, &g);
    if (status == 0) status = latLong2XY_TransverseMercator(d.utm32, &g);
    if (status == 0) *out = g;
    return status;
}

int utm32Ed50ToWgs84(double easting, double northing, double h, geodCoord* out)
{
    if (!out) return 1;
    Datums d{};
    int status = setUpDatums(d);
    geodCoord ed50{}, g{};
    ed50.easting = easting;
    ed50.northing = northing;
    if (status == 0) status = XY_TransverseMercator2latLong(d.utm32, &ed50);
    ed50.elev = h;
    if (status == 0) status = latLongElev2XYZ_EC(d.ed50, &ed50);
    if (status == 0) status = ed50ToWgs84Geocentric(ed50, &g);
    if (status == 0) status = XYZ_EC2latLongElev(d.wgs84, &g);
    if (status == 0) *out = g;
    return status;
}

namespace {

bool finite(double a, double b, double c) { return std::isfinite(a) && std::isfinite(b) && std::isfinite(c); }

// WGS84 -> the system's grid: (second output, first output, ED50 height) of the
// polynomial stage, written only on 0.
int fromWgs84(int system, double lat, double lon, double h, double* o1, double* o2, double* o3)
{
    if (!o1 || !o2 || !o3) return 1;
    if (!finite(lat, lon, h) || std::fabs(lat) > 0.5 * pi()) return kOutsideRectangle;
    geodCoord g{};
    int status = wgs84ToUtm32Ed50(lat, lon, h, &g);
    if (status != 0) return status;
    double first, second;
    status = transformDanishGrid(g.northing, g.easting, &first, &second, system, 1, 0, 0);
    if (status != 0) return status;
    if (!finite(first, second, g.elev)) return kOutsideRectangle;
    *o1 = second;
    *o2 = first;
    *o3 = g.elev;
    return 0;
}

// The system's grid (a = second input, b = first input, c = ED50 height) -> WGS84, written
// only on 0.
int toWgs84(int system, double a, double b, double c, double* lat, double* lon, double* h)
{
    if (!lat || !lon || !h) return 1;
    if (!finite(a, b, c)) return kOutsideRectangle;
    double northing, easting;
    int status = transformDanishGrid(b, a, &northing, &easting, system, -1, 0, 0);
    if (status != 0) return status;
    geodCoord g{};
    status = utm32Ed50ToWgs84(easting, northing, c, &g);
    if (status != 0) return status;
    if (!finite(g.lat, g.lon, g.elev)) return kOutsideRectangle;
    *lat = g.lat;
    *lon = g.lon;
    *h = g.elev;
    return 0;
}

} // namespace

} // namespace kelvane::danish

using namespace kelvane::danish;

int latlongWGS84ToXYSys34Jylland(double lat, double lon, double h, double* y, double* x, double* hEd50)
{
    return fromWgs84(kSystemJylland, lat, lon, h, y, x, hEd50);
}

int latlongWGS84ToXYSys34Sjlland(double lat, double lon, double h, double* y, double* x, double* hEd50)
{
    return fromWgs84(kSystemSjaelland, lat, lon, h, y, x, hEd50);
}

int latlongWGS84ToXYSys45Bornholm(double lat, double lon, double h, double* y, double* x, double* hEd50)
{
    return fromWgs84(kSystemBornholm, lat, lon, h, y, x, hEd50);
}

int latlongWGS84ToXYSys34UTM32ED50(double lat, double lon, double h, double* easting, double* northing,
                                   double* hEd50)
{
    return fromWgs84(kSystemUtm32Ed50, lat, lon, h, easting, northing, hEd50);
}

int XYSys34Jylland2latlongWGS84(double y, double x, double hEd50, double* lat, double* lon, double* h)
{
    return toWgs84(kSystemJylland, y, x, hEd50, lat, lon, h);
}

int XYSys34Sjlland2latlongWGS84(double y, double x, double hEd50, double* lat, double* lon, double* h)
{
    return toWgs84(kSystemSjaelland, y, x, hEd50, lat, lon, h);
}

int XYSys34Bornholm2latlongWGS84(double y, double x, double hEd50, double* lat, double* lon, double* h)
{
    return toWgs84(kSystemBornholm, y, x, hEd50, lat, lon, h);
}

int XYSys34UTM32ED502latlongWGS84(double easting, double northing, double hEd50, double* lat, double* lon,
                                  double* h)
{
    return toWgs84(kSystemUtm32Ed50, easting, northing, hEd50, lat, lon, h);
}
