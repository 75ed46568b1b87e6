// The polynomial stage of the Danish grids: validity rectangles and polygons, the
// evaluation of the polynomial tables and the back-transformation check.
#include "national_grids/danish_grid.h"

#include <algorithm>
#include <cmath>

namespace kelvane::danish {

namespace {

// Closed intervals of the first and the second input.
struct Rectangle {
    double firstMin, firstMax, secondMin, secondMax;
    bool contains(double p, double q) const
    {
        return p >= firstMin && p <= firstMax && q >= secondMin && q <= secondMax;
    }
};

// [region][direction]. The two regions of system 4 use one rectangle both ways.
constexpr Rectangle kRectangles[kRegionCount][2] = {
    {{6000000, 6500000, 300000, 700000}, {-32000, 468000, 95000, 495000}},
    {{6000000, 6315000, 550000, 775000}, {-43894, 280862, 31610, 248251}},
    {{6006000, 6200000, 800000, 1000000}, {-50000, 150000, -56000, 150000}},
    {{6006000, 6200000, 800000, 1000000}, {6006000, 6200000, 800000, 1000000}},
    {{6000000, 6500000, 300000, 775000}, {6000000, 6500000, 300000, 775000}},
};

// Polygon tables: the vertex count, then (first, second) pairs.
constexpr double kJyllandUtmPolygon[] = {8,       6080000, 460000, 6130000, 435000, 6280000, 435000,
                                         6370000, 496000,  6410000, 600000, 6300000, 670000,
                                         6050000, 670000,  6060000, 540000};
constexpr double kJyllandLocalPolygon[] = {8,        49741.6,  338404.7, 100249.6, 362414.7, 250280.9,
                                           359416.9, 339073.3, 296600.2, 376988.8, 191783.1, 265574.7,
                                           123987.5, 15564.9,  128976.2, 28148.8,  258789.3};
constexpr double kSjaellandUtmPolygon[] = {8,       6300000, 670000, 6250000, 750000, 6190000, 770000,
                                           6120000, 770000,  6030000, 700000, 6070000, 580000,
                                           6260000, 580000,  6290000, 620000};
constexpr double kSjaellandLocalPolygon[] = {8,        265558.8, 123989.1, 213963.1, 45022.2,  153598.1,
                                             26229.5,  83639.7,  27605.4,  -4968.3,  99310.9,  37335.1,
                                             218539.4, 227365.1, 214764.5, 256577.4, 174191.0};
constexpr double kBornholmUtmPolygon[] = {4,       6150000, 894000, 6146000, 862000,
                                          6116000, 860000,  6106000, 894000};
constexpr double kBornholmLocalPolygon[] = {4, 76000, 26000, 76000, 70000, 30000, 70000, 30000, 26000};
constexpr double kUtm32WestPolygon[] = {11,      6080000, 460000, 6130000, 440000, 6280000, 440000,
                                        6370000, 496000,  6410000, 600000, 6300000, 670000,
                                        6250000, 750000,  6190000, 770000, 6120000, 770000,
                                        6030000, 700000,  6060000, 540000};

// [region][direction]; system 4 uses its region's polygon both ways.
const double* const kPolygons[kRegionCount][2] = {
    {kJyllandUtmPolygon, kJyllandLocalPolygon},
    {kSjaellandUtmPolygon, kSjaellandLocalPolygon},
    {kBornholmUtmPolygon, kBornholmLocalPolygon},
    {kBornholmUtmPolygon, kBornholmUtmPolygon},
    {kUtm32WestPolygon, kUtm32WestPolygon},
};

// The east region of system 4 starts at this second input (easting); below 800000 it has
// no correction, so points in the gap pass through.
constexpr double kUtm32EastFrom = 775000.0;
constexpr Rectangle kUtm32EastCorrected = kRectangles[kUtm32East][kForward];

// The largest degree a table may claim (the tables hold degrees 4 to 15).
constexpr int kMaxDegree = 30;

// Sum over j of b^j * (sum over i of c[i, j] * a^i), the coefficients ordered by the power
// j of b and, within it, by the power i of a from 0 to d - j: an inner Horner polynomial
// in a per power of b, and an outer Horner scheme in b starting from the pure b^d term.
double nestedHorner(const double* c, int d, double a, double b)
{
    std::size_t end = static_cast<std::size_t>(d + 1) * static_cast<std::size_t>(d + 2) / 2;
    double outer = 0.0;
    for (int j = d; j >= 0; --j) {
        const std::size_t runLength = static_cast<std::size_t>(d - j + 1);
        const double* run = c + (end - runLength);
        end -= runLength;
        double inner = 0.0;
        for (std::size_t i = runLength; i-- > 0;) inner = inner * a + run[i];
        outer = outer * b + inner;
    }
    return outer;
}

// The inputs copied to the outputs.
int passThrough(double p, double q, double* firstOut, double* secondOut)
{
    *firstOut = p;
    *secondOut = q;
    return 0;
}

} // namespace

int danishSystemFromCode(int code)
{
    switch (code) {
    case kSystemJylland: case 'J': case 'j': return kSystemJylland;
    case kSystemSjaelland: case 'S': case 's': return kSystemSjaelland;
    case kSystemBornholm: case 'B': case 'b': return kSystemBornholm;
    case kSystemUtm32Ed50: case 'U': case 'u': return kSystemUtm32Ed50;
    default: return 0;
    }
}

bool evaluatePolynomialTable(const PolynomialTable& table, double p, double q, double& first,
                             double& second)
{
    if (!table.values || table.size < 1) return false;
    const double degree = table.values[0];
    if (!(degree >= 0.0 && degree <= kMaxDegree)) return false;
    const int d = static_cast<int>(degree);
    const std::size_t n = static_cast<std::size_t>(d + 1) * static_cast<std::size_t>(d + 2) / 2;
    if (table.size != 2 * n + 3) return false;

    const double* firstRun = table.values + 1;
    const double u0 = table.values[n + 1];
    const double* secondRun = table.values + n + 2;
    const double w0 = table.values[2 * n + 2];
    const double u = p - u0;
    const double w = q - w0;
    first = nestedHorner(firstRun, d, u, w);
    second = nestedHorner(secondRun, d, w, u);
    return true;
}

int pointInPolygon(const double* polygon, const double* first, const double* second)
{
    if (!polygon || !first || !second) return -1;
    const double x = *first;
    const double y = *second;
    if (!std::isfinite(x) || !std::isfinite(y)) return -1;
    // Vertex counts beyond any real polygon are refused before the table is read.
    if (!(polygon[0] >= 3.0 && polygon[0] <= 1e6)) return -1;
    int n = static_cast<int>(polygon[0]);
    const double* v = polygon + 1;
    if (v[0] == v[2 * (n - 1)] && v[1] == v[2 * (n - 1) + 1]) --n; // repeated closing vertex
    if (n < 3) return -1;

    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const double xi = v[2 * i], yi = v[2 * i + 1];
        const double xj = v[2 * j], yj = v[2 * j + 1];
        if (x == xi && y == yi) return 0;
        // On the edge: inside its bounding box, and the two products of the cross-product
        // test equal to within 2^-34 of their size.
        if (x >= std::min(xi, xj) && x <= std::max(xi, xj) && y >= std::min(yi, yj) &&
            y <= std::max(yi, yj)) {
            const double a = (xj - xi) * (y - yi);
            const double b = (yj - yi) * (x - xi);
            if (std::fabs(a - b) <= std::ldexp(std::fabs(a) + std::fabs(b), -34)) return 0;
        }
        // Crossing number: edges that straddle the line through the point, crossed on
        // the point's smaller-first side.
        if ((yi > y) != (yj > y)) {
            const double xCross = xi + (y - yi) * (xj - xi) / (yj - yi);
            if (x < xCross) inside = !inside;
        }
    }
    return inside ? 1 : -1;
}

int transformDanishGrid(double first, double second, double* firstOut, double* secondOut, int system,
                        int direction, int /*unused1*/, int /*unused2*/)
{
    if (!firstOut || !secondOut) return 1;
    const int sys = danishSystemFromCode(system);
    if (sys == 0 || direction == 0) return passThrough(first, second, firstOut, secondOut);
    const int dir = direction > 0 ? kForward : kBack;
    const bool correction = sys == kSystemUtm32Ed50;

    Region region = static_cast<Region>(sys - 1);
    if (correction) {
        region = second >= kUtm32EastFrom ? kUtm32East : kUtm32West;
        if (region == kUtm32East && !kUtm32EastCorrected.contains(first, second))
            return passThrough(first, second, firstOut, secondOut);
    }

    if (!kRectangles[region][dir].contains(first, second))
        return correction ? passThrough(first, second, firstOut, secondOut) : kOutsideRectangle;

    int result = 0;
    if (pointInPolygon(kPolygons[region][dir], &first, &second) < 0) {
        if (correction) return passThrough(first, second, firstOut, secondOut);
        result = kOutsidePolygon;
    }

    double out1, out2, back1, back2;
    if (!evaluatePolynomialTable(kPolynomialTables[region][dir], first, second, out1, out2) ||
        !evaluatePolynomialTable(kPolynomialTables[region][1 - dir], out1, out2, back1, back2))
        return 1; // a table that does not match its degree: never the case for the built-in ones
    *firstOut = out1;
    *secondOut = out2;
    if (!(std::fabs(first - back1) <= kBackTransformationTolerance) ||
        !(std::fabs(second - back2) <= kBackTransformationTolerance))
        result = kBackTransformationFailed;
    return result;
}

} // namespace kelvane::danish
