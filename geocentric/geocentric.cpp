// Geographic <-> Earth-centred Cartesian coordinates, and the rotation of a geocentric
// difference vector into the local east/north/up frame of a point.
#include "kelvane/geocentric.h"

#include <cmath>

#include "core/batch.h"
#include "core/ellipsoid_terms.h"
#include "core/math_constants.h"
#include "core/named_ellipsoids.h"
#include "geocentric/geocentric_internal.h"

namespace kelvane::geocentric {

namespace {

// GRS80 axes written into the fixed-ellipsoid pair ecef2lat / lat2ecef: the semi-minor
// axis is the printed 6356752.3141403 m (a - f*a falls 5.6e-8 m above it).
constexpr double kGrs80A = kelvane::kGrs80.a;
constexpr double kGrs80B = 6356752.3141403;
// e^2 as the constant that ecef2lat uses in its latitude formula.
constexpr double kGrs80EccSq = 0.0066943800229034;

// The radius of curvature in the prime vertical N at latitude phi, and the height h above
// the ellipsoid, along the normal of latitude phi, of a point at distance p from the axis
// and Z along it. Near the equator h = p/cos(phi) - N; towards the poles that form
// divides by a vanishing cosine and loses millimetres within tens of metres of the axis,
// so there the equivalent h = Z/sin(phi) - N(1 - e^2) is used, with N(1 - e^2) = N b^2/a^2.
// The two forms are equal at the point's own latitude; the iteration settles on heights
// that differ by less than a micrometre between them, the second being the closer.
void radiusAndHeight(double a2, double b2, double p, double Z, double phi, double& N, double& h)
{
    const double c = std::cos(phi);
    const double s = std::sin(phi);
    N = a2 / std::sqrt(a2 * c * c + b2 * s * s);
    h = (std::fabs(c) >= std::fabs(s)) ? (p - N * c) / c : Z / s - N * b2 / a2;
}

// Latitude and height by one step, for every point about half an equatorial radius or more
// from the centre (z^2 + ec^2 p^2 >= (a/2)^2: from 3000 km below the surface out to any
// orbit); false, with nothing written, for points deeper in, which are left to the
// iteration below.
//
// The unknown is the reduced latitude beta of the point's foot on the meridian ellipse,
// where with s = sin(beta), c = cos(beta), z = |Z| and ec = sqrt(1 - e^2)
//     f(beta) = p s - ec z c - a e^2 s c = 0
// (the line from the foot to the point is normal to the ellipse). Bowring's start,
// tan(beta0) = z / (ec p), is exact on the ellipsoid itself; one pass of the fixed point
// tan(beta) = ec z / (p - a e^2 cos(beta)) divides its error by more than 200 at any
// height, and one Halley step from there leaves an error below the rounding of the
// results (about 3e-16 rad) from 4000 km from the centre outwards, about 1e-14 rad at
// the half-radius limit. The pair (s, c) is carried unnormalised until the Halley step,
// so that points next to the axis (p tiny) and on the equator (z = 0) need no case of
// their own.
//
// The height is measured along the normal of the latitude found,
//     h = p cos(phi) + z sin(phi) - a sqrt(1 - e^2 sin^2(phi)),
// which does not move to first order with an error in the latitude; with
// tan(phi) = s / (ec c) it reads (ec p c + z s - b) / sqrt(ec^2 c^2 + s^2), a ec being b.
bool oneStepLatitudeHeight(double a, double b, double e2, double p, double Z, double& phi, double& h)
{
    const double ae2 = a * e2;
    const double ec = std::sqrt(1.0 - e2);
    const double z = std::fabs(Z);
    const double ecz = ec * z;
    const double r0 = std::sqrt(z * z + ec * ec * p * p); // a NaN goes on, to NaN results
    if (r0 < 0.5 * a) return false;

    // The start after its fixed-point pass, normalised.
    const double S = ecz * r0;
    const double C = p * (r0 - ae2 * ec);
    const double norm = 1.0 / std::sqrt(S * S + C * C);
    const double s = S * norm;
    const double c = C * norm;

    // Halley's step d = -f f' / (f'^2 - f f''/2), then (s, c) turned through d (the sine
    // and cosine of d to third order: exact to rounding, as |d| stays below 1e-4 here).
    const double f = p * s - ecz * c - ae2 * s * c;
    const double df = p * c + ecz * s - ae2 * (c * c - s * s);
    const double ddf = 3.0 * ae2 * s * c - f;
    const double d = -f * df / (df * df - 0.5 * f * ddf);
    const double cosd = 1.0 - 0.5 * d * d;
    const double sind = d * (1.0 - d * d / 6.0);
    const double s1 = s * cosd + c * sind;
    const double c1 = c * cosd - s * sind;

    const double ecc1 = ec * c1;
    h = (p * ecc1 + z * s1 - b) / std::sqrt(ecc1 * ecc1 + s1 * s1);
    phi = std::copysign(std::atan(s1 / ecc1), Z);
    return true;
}

// The latitude-height iteration, from the start phi = atan(Z / (p (1 - e^2))) until a pass
// moves the height by no more than 0.1 mm and the latitude by no more than 1e-10 rad. It
// serves the points within half an equatorial radius of the centre, where the one step
// above would start too far from the root; there it gives what it always gave.
void iterateLatitudeHeight(double a, double b, double e2, double p, double Z, double& phi, double& h)
{
    const double a2 = a * a;
    const double b2 = b * b;
    phi = std::atan((Z / p) / (1.0 - e2));
    double N;
    radiusAndHeight(a2, b2, p, Z, phi, N, h);

    double dh = 5.0;
    double dphi = 5.0;
    int passes = 0;
    // A NaN in either difference ends the loop, as does the pass cap.
    while ((dh > kHeightTolerance || dphi > kLatitudeTolerance) && passes < kMaxPasses) {
        const double hPrev = h;
        const double phiPrev = phi;
        phi = std::atan((Z / p) / (1.0 - e2 * N / (N + h)));
        radiusAndHeight(a2, b2, p, Z, phi, N, h);
        dh = std::fabs(h - hPrev);
        dphi = std::fabs(phi - phiPrev);
        ++passes;
    }
}

} // namespace

void toCartesian(double a, double b, double phi, double lambda, double h, double& X, double& Y,
                 double& Z)
{
    const double e2 = kelvane::eSqOfAxes(a, b);
    const double N = a / kelvane::W(e2, phi);
    X = (N + h) * std::cos(phi) * std::cos(lambda);
    Y = (N + h) * std::cos(phi) * std::sin(lambda);
    Z = ((1.0 - e2) * N + h) * std::sin(phi);
}

void fromCartesian(double a, double b, double e2, double X, double Y, double Z, double& phi,
                  double& lambda, double& h)
{
    const double p = std::sqrt(X * X + Y * Y);

    if (p == 0.0 && !std::isnan(Z)) {
        // On the polar axis (the centre included) latitude and height are those of the
        // pole on Z's side; every longitude is the same point, 0 is reported.
        phi = (Z < 0.0 ? -0.5 : 0.5) * kelvane::pi();
        lambda = 0.0;
        h = std::fabs(Z) - b;
        return;
    }

    if (!oneStepLatitudeHeight(a, b, e2, p, Z, phi, h)) iterateLatitudeHeight(a, b, e2, p, Z, phi, h);

    // Half-angle form of the longitude, in (-pi, pi]; it reads 0/0 on the 180-degree
    // meridian, where the answer is +pi.
    lambda = (Y == 0.0 && X < 0.0) ? kelvane::pi() : 2.0 * std::atan(Y / (p + X));
}

} // namespace kelvane::geocentric

using namespace kelvane::geocentric;

void ecef2lat(double x, double y, double z, double* lat, double* lon, double* h)
{
    if (!lat || !lon || !h) return;
    fromCartesian(kGrs80A, kGrs80B, kGrs80EccSq, x, y, z, *lat, *lon, *h);
}

void lat2ecef(double* x, double* y, double* z, double lat, double lon, double h)
{
    if (!x || !y || !z) return;
    toCartesian(kGrs80A, kGrs80B, lat, lon, h, *x, *y, *z);
}

int latLongElev2XYZ_EC(ellipsoid ell, geodCoord* pt)
{
    if (!pt) return 1;
    double X, Y, Z;
    toCartesian(ell.semiMajor, ell.semiMinor, pt->lat, pt->lon, pt->elev, X, Y, Z);
    pt->easting = X;
    pt->northing = Y;
    pt->elev = Z;
    return 0;
}

int XYZ_EC2latLongElev(ellipsoid ell, geodCoord* pt)
{
    if (!pt) return 1;
    double phi, lambda, h;
    fromCartesian(ell.semiMajor, ell.semiMinor, kelvane::eSqOfEcc(ell.ecc), pt->easting, pt->northing,
                  pt->elev, phi, lambda, h);
    pt->lat = phi;
    pt->lon = lambda;
    pt->elev = h;
    return 0;
}

// The batches convert as latLongElev2XYZ_EC and XYZ_EC2latLongElev do, point by point;
// the ellipsoid's constants are a few products, formed with each point as the one-point
// functions form them. Neither conversion fails for a point: every status is 0.
int latLongElev2XYZ_ECBatch(const ellipsoid* ell, size_t n, batchIn lat, batchIn lon, batchIn elev, batchOut X,
                            batchOut Y, batchOut Z, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!ell) return kvBatchRefused;
    return kelvane::batch::convertRecords(n, status, {{lat, &geodCoord::lat}, {lon, &geodCoord::lon}, {elev, &geodCoord::elev}},
                                          {{X, &geodCoord::easting}, {Y, &geodCoord::northing}, {Z, &geodCoord::elev}}, 3,
                                          [&](geodCoord& pt, std::size_t) { return latLongElev2XYZ_EC(*ell, &pt); });
}

int XYZ_EC2latLongElevBatch(const ellipsoid* ell, size_t n, batchIn X, batchIn Y, batchIn Z, batchOut lat,
                            batchOut lon, batchOut elev, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!ell) return kvBatchRefused;
    return kelvane::batch::convertRecords(n, status, {{X, &geodCoord::easting}, {Y, &geodCoord::northing}, {Z, &geodCoord::elev}},
                                          {{lat, &geodCoord::lat}, {lon, &geodCoord::lon}, {elev, &geodCoord::elev}}, 3,
                                          [&](geodCoord& pt, std::size_t) { return XYZ_EC2latLongElev(*ell, &pt); });
}

namespace {

// Rotation from geocentric differences into the east/north/up frame at (phi, lambda):
// rows east, north, up of the unit vectors expressed in X, Y, Z.
struct LocalRotation {
    double r[3][3];
    LocalRotation(double phi, double lambda)
    {
        const double sphi = std::sin(phi);
        const double cphi = std::cos(phi);
        const double slam = std::sin(lambda);
        const double clam = std::cos(lambda);
        r[0][0] = -slam;
        r[0][1] = clam;
        r[0][2] = 0.0;
        r[1][0] = -sphi * clam;
        r[1][1] = -sphi * slam;
        r[1][2] = cphi;
        r[2][0] = cphi * clam;
        r[2][1] = cphi * slam;
        r[2][2] = sphi;
    }
};

// out[i] = sum over k of m(i, k) v[k], each sum started from 0.0 and taken in column
// order, as the library's matrix product sums: the results are bit for bit those of R
// and its transpose multiplied as 3 x 3 and 3 x 1 matrices, without their allocations.
template <typename Element>
void rotate(Element m, double v0, double v1, double v2, double* out0, double* out1, double* out2)
{
    double* out[3] = {out0, out1, out2};
    for (int i = 0; i < 3; ++i) {
        double sum = 0.0;
        sum += m(i, 0) * v0;
        sum += m(i, 1) * v1;
        sum += m(i, 2) * v2;
        *out[i] = sum;
    }
}

} // namespace

// Each refuses a null output pointer with 1, writing nothing.
int localToLocalGeodetic(double lat, double lon, double dX, double dY, double dZ, double* east,
                         double* north, double* up)
{
    if (!east || !north || !up) return 1;
    const LocalRotation R(lat, lon);
    rotate([&R](int i, int k) { return R.r[i][k]; }, dX, dY, dZ, east, north, up);
    return 0;
}

// The inverse rotation is the transpose.
int localGeodeticToLocal(double lat, double lon, double east, double north, double up, double* dX,
                         double* dY, double* dZ)
{
    if (!dX || !dY || !dZ) return 1;
    const LocalRotation R(lat, lon);
    rotate([&R](int i, int k) { return R.r[k][i]; }, east, north, up, dX, dY, dZ);
    return 0;
}
