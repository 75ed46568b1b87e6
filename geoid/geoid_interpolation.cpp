#include "geoid/geoid_interpolation.h"

#include <cmath>

#include "geoid/geoid_context.h"
#include "geoid/geoid_tiles.h"
#include "kelvane/geoid.h"

namespace kelvane::geoid {
namespace {

// Closer than this (degrees) a point counts as lying on a node or a cell side.
constexpr double kOnNode = 1e-6;

// A cell of the grid: column c, row r and index k of its south-west node.
struct Cell {
    int c, r, k;
};

// The cell that holds the point, for a point inside the grid's closed extent. False for
// a point outside it (NaN included) and for a grid whose steps give no usable cell.
bool locateCell(const GeoidGrid* g, double lon, double lat, Cell& cell)
{
    if (!g) return false;
    const int E = g->lonIntervals;
    const int F = g->latIntervals;
    if (!(lon >= g->west && lon <= g->west + E * g->lonStep)) return false;
    if (!(lat >= g->south && lat <= g->south + F * g->latStep)) return false;
    const double x = std::floor((lon - g->west) / g->lonStep);
    const double y = std::floor((lat - g->south) / g->latStep);
    // Also refuses NaN (a zero step) and a column or row past the last node, which
    // rounding could otherwise produce and which would name a node of another row.
    if (!(x >= 0.0 && x <= E && y >= 0.0 && y <= F)) return false;
    cell.c = static_cast<int>(x);
    cell.r = static_cast<int>(y);
    cell.k = gridNodeIndex(g, cell.c, cell.r);
    return true;
}

// Cubic Lagrange weights for the abscissae -1, -1/3, 1/3 and 1 of the four columns (or
// rows) c-1 .. c+2, at the local coordinate t.
void lagrangeWeights(double t, double L[4])
{
    const double t2 = t * t;
    const double t3 = t2 * t;
    L[0] = (9 * t + t2 - 9 * t3 - 1) / 16 + ((1 - t) / 2 - (1 - t2) / 2);
    L[1] = (7 * t2 + 27 * t3 - 27 * t - 7) / 16 + (1 - t2);
    L[2] = (27 * t - 27 * t3 - 9 * t2 + 9) / 16;
    L[3] = (t2 + 9 * t3 - 9 * t - 1) / 16 + ((t + 1) / 2 - (1 - t2) / 2);
}

bool hasData(const GeoidGridCell& cell)
{
    return cell.valid == '1';
}

// Inverse-distance average over the corners that exist and have data; a corner closer
// than kOnNode gives its own value.
double inverseDistance(GeoidGrid* g, double lon, double lat, const int corners[4])
{
    double weightSum = 0.0;
    double valueSum = 0.0;
    bool used = false;
    for (int i = 0; i < 4; ++i) {
        if (corners[i] < 0) continue;
        const GeoidGridCell node = getGridCell(g, corners[i]);
        if (!hasData(node)) continue;
        const double dLat = lat - gridNodeLatitude(g, corners[i]);
        const double dLon = lon - gridNodeLongitude(g, corners[i]);
        const double d = std::sqrt(dLat * dLat + dLon * dLon);
        if (d < kOnNode) return node.value;
        weightSum += 1.0 / d;
        valueSum += node.value / d;
        used = true;
    }
    return used ? valueSum / weightSum : kGeoidNoData;
}

// The values of the 4x4 nodes from column c0 and row r0 (both inside the grid with their
// three successors), rows from the south; false when any of them lacks data. A grid of
// 4-byte nodes is read row by row directly, as long as no node carries a reserved code
// (no data, or -0.0); any other grid node by node.
bool gatherNeighbourhood(GeoidGrid* g, int c0, int r0, double values[4][4])
{
    if (g->inMemory && g->compactNodes != nullptr) {
        GeoidCompactNode n[4][4];
        bool plain = true;
        const int rowLength = g->lonIntervals + 1;
        for (int j = 0; j < 4; ++j) {
            const GeoidCompactNode* row = g->compactNodes + static_cast<std::ptrdiff_t>(r0 + j) * rowLength + c0;
            for (int i = 0; i < 4; ++i) {
                n[j][i] = row[i];
                plain = plain && n[j][i] > kCompactLastReserved;
            }
        }
        if (plain) {
            for (int j = 0; j < 4; ++j) {
                for (int i = 0; i < 4; ++i) values[j][i] = compactValue(n[j][i]);
            }
            return true;
        }
    }
    for (int j = 0; j < 4; ++j) {
        const GeoidGridCell* row = g->inMemory && g->rows != nullptr ? g->rows[r0 + j] + c0 : nullptr;
        for (int i = 0; i < 4; ++i) {
            const GeoidGridCell node = row ? row[i] : getGridCell(g, gridNodeIndex(g, c0 + i, r0 + j));
            if (!hasData(node)) return false;
            values[j][i] = node.value;
        }
    }
    return true;
}

} // namespace

double interpolateGeoidCell(double lon, double lat, GeoidGrid* g)
{
    Cell cell;
    if (!locateCell(g, lon, lat, cell)) return kGeoidNoData;

    enum { SW, SE, NE, NW };
    int idx[4];
    idx[SW] = cell.k;
    idx[SE] = gridEastNeighbour(g, idx[SW]);
    idx[NW] = gridNorthNeighbour(g, idx[SW]);
    idx[NE] = idx[NW] < 0 ? -1 : gridEastNeighbour(g, idx[NW]);
    // A cell on the grid's east or north border lacks corners.
    if (idx[SE] < 0 || idx[NE] < 0 || idx[NW] < 0) return inverseDistance(g, lon, lat, idx);

    GeoidGridCell v[4];
    bool ok[4];
    bool any = false;
    for (int i = 0; i < 4; ++i) {
        v[i] = getGridCell(g, idx[i]);
        ok[i] = hasData(v[i]);
        any = any || ok[i];
    }
    if (!any) return kGeoidNoData;

    const double dPhi = g->latStep;
    const double dLambda = g->lonStep;
    double dN = gridNodeLatitude(g, idx[NE]) - lat;
    double dS = lat - gridNodeLatitude(g, idx[SW]);
    double dW = lon - gridNodeLongitude(g, idx[SW]);
    double dE = gridNodeLongitude(g, idx[SE]) - lon;
    // Values on the four sides of the cell, level with the point.
    const double west = v[NW].value * dS / dPhi + v[SW].value * dN / dPhi;
    const double east = v[NE].value * dS / dPhi + v[SE].value * dN / dPhi;
    const double north = v[NE].value * dW / dLambda + v[NW].value * dE / dLambda;
    const double south = v[SE].value * dW / dLambda + v[SW].value * dE / dLambda;
    for (double* d : {&dN, &dS, &dW, &dE}) {
        if (std::fabs(*d) < kOnNode) *d = 0.0;
    }

    if (dN == 0.0 || dS == 0.0 || dW == 0.0 || dE == 0.0) {
        // On a side of the cell: a corner the point lies on, else the side's value.
        double result = kGeoidNoData;
        for (int i = 0; i < 4; ++i) {
            if (ok[i] && std::fabs(gridNodeLongitude(g, idx[i]) - lon) < kOnNode &&
                std::fabs(gridNodeLatitude(g, idx[i]) - lat) < kOnNode) {
                result = v[i].value;
            }
        }
        if (result != kGeoidNoData) return result;
        if (ok[NE] && ok[NW] && dN == 0.0) result = north;
        if (ok[SW] && ok[SE] && dS == 0.0) result = south;
        if (ok[SW] && ok[NW] && dW == 0.0) result = west;
        if (ok[SE] && ok[NE] && dE == 0.0) result = east;
        return result;
    }
    if (!(ok[SW] && ok[SE] && ok[NE] && ok[NW])) return kGeoidNoData;
    return (south / dS + north / dN + east / dE + west / dW) /
           (1.0 / dW + 1.0 / dE + 1.0 / dN + 1.0 / dS);
}

double interpolateGeoidBicubic(double lon, double lat, GeoidGrid* g)
{
    Cell cell;
    if (!locateCell(g, lon, lat, cell)) return kGeoidNoData;
    // The 4x4 neighbourhood, columns c-1 .. c+2 and rows r-1 .. r+2, must lie in the grid.
    if (cell.c < 1 || cell.r < 1 || cell.c + 2 > g->lonIntervals ||
        cell.r + 2 > g->latIntervals) {
        return interpolateGeoidCell(lon, lat, g);
    }
    // Local coordinates put the four columns (rows) at -1, -1/3, 1/3 and 1. The node
    // position of k is west + c*step, as gridNodeLongitude/Latitude give it for a grid
    // with three or more intervals and non-zero steps, which a full neighbourhood implies.
    const double lonK = g->west + cell.c * g->lonStep;
    const double latK = g->south + cell.r * g->latStep;
    const double u = ((lon - lonK) - g->lonStep / 2) * 0.6666666666666666 / g->lonStep;
    const double v = ((lat - latK) - g->latStep / 2) * 0.6666666666666666 / g->latStep;
    double values[4][4];
    if (!gatherNeighbourhood(g, cell.c - 1, cell.r - 1, values)) {
        return interpolateGeoidCell(lon, lat, g);
    }
    double Lu[4];
    double Lv[4];
    lagrangeWeights(u, Lu);
    lagrangeWeights(v, Lv);
    double sum = 0.0;
    double weightSum = 0.0;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            const double w = Lv[j] * Lu[i];
            sum += w * values[j][i];
            weightSum += w;
        }
    }
    return sum / weightSum;
}

} // namespace kelvane::geoid

KELVANE_C_BEGIN

int getGeoidElev(double lat, double lon, double* geoidHeight)
{
    using namespace kelvane;
    if (!geoidHeight) return kvGeoidNoFile;
    GeoidGrid* grid = geoidContextGrid();
    if (!grid) return kvGeoidNoData;
    const double h = geoid::interpolateGeoidBicubic(geoid::eastLongitude(lon), lat, grid);
    // Node values near the limits of a double can overflow the sums; such a result is
    // no height either.
    if (h == kGeoidNoData || !std::isfinite(h)) {
        *geoidHeight = 0.0;
        return kvGeoidNoData;
    }
    *geoidHeight = h;
    return kvGeoidOk;
}

KELVANE_C_END
