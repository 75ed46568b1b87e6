// The Danish grids: the datum stage (WGS84 <-> ED50 and UTM zone 32 / ED50).
#include "national_grids/danish_internal.h"

#include "core/math_constants.h"
#include "kelvane/matrix.h"

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

} // namespace kelvane::danish
