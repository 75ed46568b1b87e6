// The compiled half of the Python module: loops over the library's C functions, one call
// per point, with the GIL released. Every input arrives here as a contiguous 1-D array of
// one common length (the Python half broadcasts and flattens); every output leaves as a
// new 1-D array of that length plus an int32 status per point (the library's own code;
// the Python half turns it into the `ok` mask). No conversion formula lives here: angles
// cross this boundary in degrees and are turned into radians with the one factor below.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <string>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include "kelvane/kelvane.h"

namespace py = pybind11;

namespace {

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;
using Ints = py::array_t<std::int32_t, py::array::c_style | py::array::forcecast>;
// Inputs of any stride: a broadcast scalar arrives as a view with stride 0 and is read in
// place rather than copied out to the common length.
using AnyDoubles = py::array_t<double, py::array::forcecast>;
using AnyInts = py::array_t<std::int32_t, py::array::forcecast>;

const double kPi = 4.0 * std::atan(1.0);
const double kDegToRad = kPi / 180.0;
const double kRadToDeg = 180.0 / kPi;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The common length of the inputs of one call; a mismatch is a programming error of the
// Python half, reported as ValueError all the same.
std::size_t commonLength(std::initializer_list<py::ssize_t> sizes)
{
    py::ssize_t n = -1;
    for (py::ssize_t s : sizes) {
        if (n >= 0 && s != n) throw py::value_error("kelvane: input arrays differ in length");
        n = s;
    }
    return n < 0 ? 0 : static_cast<std::size_t>(n);
}

// A 1-D input read through its byte stride (0 for a scalar of one element). Elements are
// copied out bytewise, so a view that is not aligned is read correctly too.
template <class T>
struct Column {
    const char* base;
    py::ssize_t stride;

    Column(const py::array_t<T, py::array::forcecast>& a, std::size_t n)
        : base(reinterpret_cast<const char*>(a.data())), stride(a.ndim() == 1 && a.size() > 1 ? a.strides(0) : 0)
    {
        if (a.ndim() > 1 || (a.size() != 1 && static_cast<std::size_t>(a.size()) != n))
            throw py::value_error("kelvane: input arrays differ in length");
    }
    // Points [first, first + count) as a column for the library's batch entry points: in
    // place where the stride is not negative, else copied into buffer.
    batchIn block(std::size_t first, std::size_t count, double* buffer) const
    {
        if (stride >= 0)
            return batchIn{reinterpret_cast<const double*>(base + static_cast<py::ssize_t>(first) * stride),
                           static_cast<std::size_t>(stride)};
        for (std::size_t j = 0; j < count; ++j) buffer[j] = (*this)[first + j];
        return batchIn{buffer, sizeof(double)};
    }
    T operator[](std::size_t i) const
    {
        T v;
        std::memcpy(&v, base + static_cast<py::ssize_t>(i) * stride, sizeof v);
        return v;
    }
};

// A new 1-D array of n elements. A large one gets memory of its own aligned to 2 MiB and
// marked for transparent huge pages: the first touch of fresh memory then faults once per
// 2 MiB instead of once per 4 KiB, which on a virtual machine costs more than converting
// the points. The array owns its memory and frees it when it goes.
template <class T>
py::array_t<T> newArray(std::size_t n)
{
#ifdef __linux__
    constexpr std::size_t kHuge = std::size_t{1} << 21;
    const std::size_t bytes = (n * sizeof(T) + kHuge - 1) / kHuge * kHuge;
    if (n * sizeof(T) >= 2 * kHuge) {
        if (void* p = std::aligned_alloc(kHuge, bytes)) {
            madvise(p, bytes, MADV_HUGEPAGE); // advice only: without it the pages are ordinary
            py::capsule owner(p, [](void* q) { std::free(q); });
            return py::array_t<T>({static_cast<py::ssize_t>(n)}, {static_cast<py::ssize_t>(sizeof(T))},
                                  static_cast<T*>(p), owner);
        }
    }
#endif
    return py::array_t<T>(static_cast<py::ssize_t>(n));
}

// k new double arrays and one status array of length n, with raw pointers for the loop.
struct Outputs {
    std::vector<Doubles> arrays;
    std::vector<double*> ptr;
    Ints status;
    std::int32_t* st;

    Outputs(std::size_t n, std::size_t k) : status(newArray<std::int32_t>(n))
    {
        for (std::size_t i = 0; i < k; ++i) {
            arrays.emplace_back(newArray<double>(n));
            ptr.push_back(arrays.back().mutable_data());
        }
        st = status.mutable_data();
    }
    // Point i failed: its outputs are NaN and its status is s (never 0).
    void fail(std::size_t i, std::int32_t s)
    {
        for (double* p : ptr) p[i] = kNaN;
        st[i] = s == 0 ? 1 : s;
    }
    py::tuple result(std::vector<py::object> extra = {})
    {
        py::list out;
        for (auto& a : arrays) out.append(a);
        for (auto& e : extra) out.append(e);
        out.append(status);
        return py::tuple(out);
    }
};

bool finite(const geodCoord& p, bool grid)
{
    return grid ? std::isfinite(p.northing) && std::isfinite(p.easting) &&
                      std::isfinite(p.gridScale) && std::isfinite(p.convergence)
                : std::isfinite(p.lat) && std::isfinite(p.lon) && std::isfinite(p.gridScale) &&
                      std::isfinite(p.convergence);
}

ellipsoid makeEllipsoid(double a, double f)
{
    ellipsoid e{};
    initEllipsoid(&e, a, f);
    return e;
}

// ---- UTM ---------------------------------------------------------------------------

// The UTM loops hand the library blocks of points through its batch entry points, which
// derive a zone's constants once per call. A block is small enough that its angles in
// radians and its outputs stay in cache between the library's pass and the pass that
// turns them into degrees and marks the failures.
constexpr std::size_t kBlock = 1024;

batchIn columnIn(const double* p) { return batchIn{p, sizeof(double)}; }
batchOut columnOut(double* p) { return batchOut{p, sizeof(double)}; }
// The column c from its point j on.
batchIn from(batchIn c, std::size_t j)
{
    return batchIn{reinterpret_cast<const double*>(reinterpret_cast<const char*>(c.data) + j * c.stride), c.stride};
}

// Calls convert(first, count, code) for each run of points in [begin, end) that share one
// zone code: one call for a single zone, one per run for a column of codes.
template <class Convert>
void forZoneRuns(const Column<std::int32_t>& zone, std::size_t begin, std::size_t end, Convert convert)
{
    if (begin == end) return;
    if (zone.stride == 0) {
        convert(begin, end - begin, zone[0]);
        return;
    }
    for (std::size_t i = begin; i < end;) {
        const std::int32_t code = zone[i];
        std::size_t j = i + 1;
        while (j < end && zone[j] == code) ++j;
        convert(i, j - i, code);
        i = j;
    }
}

// How the columns of one family meet its batch entry point.
struct BlockLayout {
    bool inverse;                  // grid (or geocentric) coordinates in, angles out
    bool westLongitudes = false;   // the library counts longitudes positive west
    const Column<double>* third = nullptr; // a third input passed through as it is (height, Z)
};

// After a block: a point that the library refused, or whose results are not all finite
// numbers, reads NaN with a non-zero status; the angles of the others turn into degrees
// (the latitude and longitude of an inverse, and a convergence as the fourth output).
// `rejected(j)` names the points refused before the library saw them.
template <class Rejected>
void finishBlock(Outputs& out, std::size_t first, std::size_t count, const BlockLayout& layout, Rejected rejected)
{
    const std::size_t width = out.ptr.size();
    const double lonToDeg = layout.westLongitudes ? -kRadToDeg : kRadToDeg;
    for (std::size_t i = first; i < first + count; ++i) {
        bool good = out.st[i] == 0 && !rejected(i - first);
        for (std::size_t k = 0; k < width && good; ++k) good = std::isfinite(out.ptr[k][i]);
        if (!good) {
            out.fail(i, out.st[i]);
            continue;
        }
        if (layout.inverse) {
            out.ptr[0][i] *= kRadToDeg;
            out.ptr[1][i] *= lonToDeg;
        }
        if (width == 4) out.ptr[3][i] *= kRadToDeg;
    }
}

// n points through a batch entry point, block by block, with the GIL released. Forward
// (u, v = latitude, longitude in degrees): a block's angles are turned into radians first,
// and a latitude beyond a pole or a longitude more than a turn from Greenwich is refused
// there (NaN fails both tests). Inverse (u, v = northing, easting, or X, Y): the
// coordinates go to the library where they lie. convert(first, count, u, v, w) converts
// points [first, first + count) from the columns into the outputs at first.
template <class Convert>
void convertInBlocks(Outputs& out, std::size_t n, const Column<double>& u, const Column<double>& v,
                     const BlockLayout& layout, Convert convert)
{
    py::gil_scoped_release release;
    double buffer[3][kBlock];
    const double lonToRad = layout.westLongitudes ? -kDegToRad : kDegToRad;
    const batchIn none{nullptr, 0};
    for (std::size_t first = 0; first < n; first += kBlock) {
        const std::size_t count = std::min(kBlock, n - first);
        const batchIn w = layout.third ? layout.third->block(first, count, buffer[2]) : none;
        if (layout.inverse) {
            convert(first, count, u.block(first, count, buffer[0]), v.block(first, count, buffer[1]), w);
            finishBlock(out, first, count, layout,
                        [&](std::size_t j) { return !std::isfinite(u[first + j]) || !std::isfinite(v[first + j]); });
            continue;
        }
        for (std::size_t j = 0; j < count; ++j) {
            const double deg[2] = {u[first + j], v[first + j]};
            const bool sane = std::fabs(deg[0]) <= 90.0 && std::fabs(deg[1]) <= 360.0;
            buffer[0][j] = sane ? deg[0] * kDegToRad : kNaN;
            buffer[1][j] = sane ? deg[1] * lonToRad : kNaN;
        }
        convert(first, count, columnIn(buffer[0]), columnIn(buffer[1]), w);
        finishBlock(out, first, count, layout, [&](std::size_t j) { return std::isnan(buffer[0][j]); });
    }
}

// Output k of the points from i on, as a batch column.
batchOut outColumn(Outputs& out, std::size_t k, std::size_t i) { return columnOut(out.ptr[k] + i); }

// A batch call refused whole wrote nothing, not even the status: its m points fail.
void refusedWhole(Outputs& out, std::size_t i, std::size_t m, int result)
{
    if (result == kvBatchRefused) std::fill(out.st + i, out.st + i + m, 1);
}

// Projections on one record through a batch pair: forward (lat, lon in degrees) gives
// northing, easting, k, gamma; inverse (northing, easting) gives lat, lon, k, gamma. Each
// of forward and inverse is called as f(m, u, v, out0, out1, out2, out3, status).
template <class Forward, class Inverse>
py::tuple batchConvert(AnyDoubles u, AnyDoubles v, bool inverse, Forward forward, Inverse backward)
{
    const std::size_t n = commonLength({u.size(), v.size()});
    Outputs out(n, 4);
    convertInBlocks(out, n, Column<double>(u, n), Column<double>(v, n), BlockLayout{inverse},
                    [&](std::size_t i, std::size_t m, batchIn a, batchIn b, batchIn) {
        const batchOut o[4] = {outColumn(out, 0, i), outColumn(out, 1, i), outColumn(out, 2, i), outColumn(out, 3, i)};
        refusedWhole(out, i, m, inverse ? backward(m, a, b, o[0], o[1], o[2], o[3], out.st + i)
                                        : forward(m, a, b, o[0], o[1], o[2], o[3], out.st + i));
    });
    return out.result();
}

// Conversions with a zone code per point (UTM, state plane): the points of each block go
// to the library in runs of one code, as call(code, i, m, u, v, outputs, status) for
// points [i, i + m).
template <class Call>
py::tuple zoneBatchConvert(Outputs& out, const Column<std::int32_t>& zone, const Column<double>& u,
                           const Column<double>& v, const BlockLayout& layout, Call call)
{
    const std::size_t n = out.status.size();
    convertInBlocks(out, n, u, v, layout, [&](std::size_t first, std::size_t count, batchIn a, batchIn b, batchIn) {
        forZoneRuns(zone, first, first + count, [&](std::size_t i, std::size_t m, std::int32_t code) {
            const batchOut o[4] = {outColumn(out, 0, i), outColumn(out, 1, i), outColumn(out, 2, i),
                                   outColumn(out, 3, i)};
            refusedWhole(out, i, m, call(code, i, m, from(a, i - first), from(b, i - first), o, out.st + i));
        });
    });
    return out.result();
}

py::tuple utmForward(AnyDoubles lat, AnyDoubles lon, AnyInts zone, double a, double f)
{
    const std::size_t n = commonLength({lat.size(), lon.size()});
    Outputs out(n, 4);
    Ints zoneOut = newArray<std::int32_t>(n);
    std::int32_t* zo = zoneOut.mutable_data();
    ellipsoid ell = makeEllipsoid(a, f);
    zoneBatchConvert(out, Column<std::int32_t>(zone, n), Column<double>(lat, n), Column<double>(lon, n),
                     BlockLayout{false}, [&](std::int32_t code, std::size_t i, std::size_t m, batchIn phi,
                                             batchIn lambda, const batchOut* o, int* st) {
        return UTMGeod2GridBatch(code, &ell, m, phi, lambda, o[0], o[1], o[2], o[3], zo + i, st);
    });
    for (std::size_t i = 0; i < n; ++i)
        if (out.st[i] != 0) zo[i] = 0;
    return out.result({zoneOut});
}

py::tuple utmInverse(AnyDoubles northing, AnyDoubles easting, AnyInts zone, double a, double f)
{
    const std::size_t n = commonLength({northing.size(), easting.size()});
    Outputs out(n, 4);
    ellipsoid ell = makeEllipsoid(a, f);
    return zoneBatchConvert(out, Column<std::int32_t>(zone, n), Column<double>(northing, n),
                            Column<double>(easting, n), BlockLayout{true},
                            [&](std::int32_t code, std::size_t, std::size_t m, batchIn north, batchIn east,
                                const batchOut* o, int* st) {
        return UTMGrid2GeodBatch(code, &ell, m, north, east, o[0], o[1], o[2], o[3], st);
    });
}

std::string zoneList(int (*fill)(char*, int))
{
    std::vector<char> buf(1 << 16);
    if (fill(buf.data(), static_cast<int>(buf.size())) != 0) throw std::runtime_error("kelvane: zone list did not fit");
    return std::string(buf.data());
}

// ---- Projections on a record of their own ----------------------------------------

// One projection call per point on a geodCoord: forward reads lat, lon (degrees, positive
// east) and gives northing, easting, k, gamma; inverse reads northing, easting and gives
// lat, lon, k, gamma. `call(i, p)` is the library function bound to its record (point i
// may pick its own zone). Projections that write no scale factor or convergence (Krovak,
// Cassini-Soldner) pass withScale = false and get the coordinate pair alone. A status with
// only warning bits set counts as converted and is kept in the status array.
template <class Call>
py::tuple convertPoints(Doubles u, Doubles v, bool inverse, Call call, bool withScale = true, int warningBits = 0)
{
    const std::size_t n = commonLength({u.size(), v.size()});
    Outputs out(n, withScale ? 4 : 2);
    const double* x = u.data();
    const double* y = v.data();
    {
        py::gil_scoped_release release;
        for (std::size_t i = 0; i < n; ++i) {
            geodCoord p{};
            if (!std::isfinite(x[i]) || !std::isfinite(y[i])) { out.fail(i, 1); continue; }
            if (inverse) {
                p.northing = x[i];
                p.easting = y[i];
            } else {
                p.lat = x[i] * kDegToRad;
                p.lon = y[i] * kDegToRad;
            }
            const int s = call(i, p);
            if ((s & ~warningBits) != 0 || !finite(p, !inverse)) { out.fail(i, s); continue; }
            out.ptr[0][i] = inverse ? p.lat * kRadToDeg : p.northing;
            out.ptr[1][i] = inverse ? p.lon * kRadToDeg : p.easting;
            if (withScale) {
                out.ptr[2][i] = p.gridScale;
                out.ptr[3][i] = p.convergence * kRadToDeg;
            }
            out.st[i] = s;
        }
    }
    return out.result();
}

// ---- State plane coordinates: one zone code per point -------------------------------

// 1983: metres, longitudes positive east, as the library takes them.
py::tuple spc83Convert(AnyInts code, AnyDoubles u, AnyDoubles v, bool inverse)
{
    const std::size_t n = commonLength({u.size(), v.size()});
    Outputs out(n, 4);
    return zoneBatchConvert(out, Column<std::int32_t>(code, n), Column<double>(u, n), Column<double>(v, n),
                            BlockLayout{inverse}, [&](std::int32_t c, std::size_t, std::size_t m, batchIn a,
                                                      batchIn b, const batchOut* o, int* st) {
        return inverse ? SPC83Grid2GeodBatch(c, m, a, b, o[0], o[1], o[2], o[3], st)
                       : SPC83Geod2GridBatch(c, m, a, b, o[0], o[1], o[2], o[3], st);
    });
}

// 1927: US survey feet; the library's longitudes are positive west, so the sign is turned
// on the way in and out. The zone record is looked up once per run of one code.
py::tuple spc27Convert(AnyInts code, AnyDoubles u, AnyDoubles v, bool inverse)
{
    const std::size_t n = commonLength({u.size(), v.size()});
    Outputs out(n, 4);
    return zoneBatchConvert(out, Column<std::int32_t>(code, n), Column<double>(u, n), Column<double>(v, n),
                            BlockLayout{inverse, true}, [&](std::int32_t c, std::size_t, std::size_t m, batchIn a,
                                                            batchIn b, const batchOut* o, int* st) {
        zoneconstant27 zone{};
        if (initSPC27Zone(c, &zone) != 0) return static_cast<int>(kvBatchRefused);
        return inverse ? SPC272GeodBatch(&zone, m, a, b, o[0], o[1], o[2], o[3], st)
                       : geod2SPC27Batch(&zone, m, a, b, o[0], o[1], o[2], o[3], st);
    });
}

// n points with three outputs each: call(i, r) converts point i into r[0..2] and returns the
// library's status; a failure or a result that is not finite makes the point NaN.
template <class Call>
py::tuple threeOutputs(std::size_t n, Call call)
{
    Outputs out(n, 3);
    {
        py::gil_scoped_release release;
        for (std::size_t i = 0; i < n; ++i) {
            double r[3] = {kNaN, kNaN, kNaN};
            const int s = call(i, r);
            if (s != 0 || !std::isfinite(r[0]) || !std::isfinite(r[1]) || !std::isfinite(r[2])) {
                out.fail(i, s);
                continue;
            }
            for (int k = 0; k < 3; ++k) out.ptr[k][i] = r[k];
            out.st[i] = 0;
        }
    }
    return out.result();
}

py::tuple tmBatch(AnyDoubles u, AnyDoubles v, bool inverse, const zoneCnstntTM& zc)
{
    return batchConvert(u, v, inverse,
        [&](std::size_t m, batchIn a, batchIn b, batchOut n, batchOut e, batchOut k, batchOut g, int* st) {
            return latLong2XY_TransverseMercatorBatch(&zc, m, a, b, n, e, k, g, st);
        },
        [&](std::size_t m, batchIn a, batchIn b, batchOut la, batchOut lo, batchOut k, batchOut g, int* st) {
            return XY_TransverseMercator2latLongBatch(&zc, m, a, b, la, lo, k, g, st);
        });
}

// Transverse Mercator on explicit parameters (degrees, metres; lon0 positive east).
py::tuple tmConvert(AnyDoubles u, AnyDoubles v, bool inverse, double lat0, double lon0, double k0, double fe,
                    double fn, double a, double f)
{
    zoneCnstntTM zc{};
    zc.centralMeridian = -lon0 * kDegToRad; // the record keeps it positive west
    zc.scaleFactor = k0;
    zc.falseNorthing = fn;
    zc.falseEasting = fe;
    zc.originLat = lat0 * kDegToRad;
    zc.ell = makeEllipsoid(a, f);
    return tmBatch(u, v, inverse, zc);
}

// Transverse Mercator in a UTM zone 1..60 of either hemisphere, set up by initUTMZone.
py::tuple tmUtmConvert(AnyDoubles u, AnyDoubles v, bool inverse, int zone, bool south, double a, double f)
{
    zoneCnstntTM zc{};
    if (initUTMZone(zone, south ? 1 : 0, makeEllipsoid(a, f), &zc) != 0) throw py::value_error("kelvane: UTM zone must be 1..60");
    return tmBatch(u, v, inverse, zc);
}

// Lambert conformal conic forward on the stand-alone record (degrees, metres).
py::tuple lccForward(AnyDoubles lat, AnyDoubles lon, double lat0, double lon0, double lat1, double lat2, double fe,
                     double fn, double a, double f)
{
    zoneCnstntLambert zl{};
    zl.centralMeridian = -lon0 * kDegToRad; // positive west in the record
    zl.falseNorthing = fn;
    zl.falseEasting = fe;
    zl.originLat = lat0 * kDegToRad;
    zl.northParallel = lat1 * kDegToRad;
    zl.southParallel = lat2 * kDegToRad;
    zl.ell = makeEllipsoid(a, f);
    const auto forward = [&](std::size_t m, batchIn a, batchIn b, batchOut n, batchOut e, batchOut k, batchOut g,
                             int* st) { return latLong2XY_LambertBatch(&zl, m, a, b, n, e, k, g, st); };
    return batchConvert(lat, lon, false, forward, forward);
}

// Oblique Mercator with the grid origin at the projection centre (degrees, metres).
py::tuple omercConvert(AnyDoubles u, AnyDoubles v, bool inverse, double latc, double lonc, double alpha,
                       double gammac, double k0, double fe, double fn, double a, double f)
{
    zoneCnstntObliqueMerc z{};
    z.falseNorthing = fn;
    z.falseEasting = fe;
    z.centreLat = latc * kDegToRad;
    z.centreLon = lonc * kDegToRad;
    z.azimuth = alpha * kDegToRad;
    z.rectifiedGridAngle = gammac * kDegToRad;
    z.scaleFactor = k0;
    z.ell = makeEllipsoid(a, f);
    // The library gives this projection no convergence column: its convergence is 0.
    return batchConvert(u, v, inverse,
        [&](std::size_t m, batchIn a, batchIn b, batchOut n, batchOut e, batchOut k, batchOut g, int* st) {
            for (std::size_t i = 0; i < m; ++i) g.data[i] = 0.0;
            return latLong2XY_OMProjCenterBatch(&z, m, a, b, n, e, k, st);
        },
        [&](std::size_t m, batchIn a, batchIn b, batchOut la, batchOut lo, batchOut k, batchOut g, int* st) {
            for (std::size_t i = 0; i < m; ++i) g.data[i] = 0.0;
            return XY2latLong_OMProjCenterBatch(&z, m, a, b, la, lo, k, st);
        });
}

// Lambert conformal conic inverse on the same parameters: the zone-constant routine with
// the record laid out as the stand-alone forward lays it (central meridian positive west).
py::tuple lccInverse(Doubles northing, Doubles easting, double lat0, double lon0, double lat1, double lat2,
                     double fe, double fn, double a, double f)
{
    zoneCnstnt zone{};
    zone.projection = kvLambertConformalConic;
    zone.northParallel = lat1 * kDegToRad;
    zone.southParallel = lat2 * kDegToRad;
    zone.originLat = lat0 * kDegToRad;
    zone.originLon = -lon0 * kDegToRad;
    zone.falseNorthing = fn;
    zone.falseEasting = fe;
    ellipsoid ell = makeEllipsoid(a, f);
    return convertPoints(northing, easting, true, [&](std::size_t, geodCoord& p) {
        const int s = Lambert2Geod(&ell, &zone, &p);
        p.lon = -p.lon;
        return s;
    });
}

// Krovak oblique conic in its basic orientation (degrees, metres, longitudes positive east
// from the same prime meridian as lon0). Forward gives the Krovak Y (westing, the record's
// northing field) and X (southing, its easting field); the library writes no scale factor
// or convergence. A record that describes no projection fails its own centre, which turns
// into ValueError before any point is converted.
py::tuple krovakConvert(Doubles u, Doubles v, bool inverse, double latc, double lon0, double alphac, double latp,
                        double kp, double falseY, double falseX, double a, double f)
{
    zoneCnstntKrovakObliqueConic z{};
    z.centreLat = latc * kDegToRad;
    z.originLon = lon0 * kDegToRad;
    z.coneAxisColat = alphac * kDegToRad;
    z.pseudoParallelLat = latp * kDegToRad;
    z.pseudoParallelScale = kp;
    z.falseNorthing = falseY;
    z.falseEasting = falseX;
    z.ellipsoidDef = makeEllipsoid(a, f);
    geodCoord centre{};
    centre.lat = z.centreLat;
    centre.lon = z.originLon;
    if (latLong2XY_KrovakObliqueConic(&z, &centre) != 0)
        throw py::value_error("kelvane: the Krovak parameters describe no projection");
    return convertPoints(u, v, inverse, [&](std::size_t, geodCoord& p) {
        return inverse ? XY2latLong_KrovakObliqueConic(&z, &p) : latLong2XY_KrovakObliqueConic(&z, &p);
    }, false);
}

// The library keeps one Cassini-Soldner parameter set per process: the set-up and the
// points converted on it run under this mutex, so threads that release the GIL cannot
// interleave their set-ups.
std::mutex cassiniMutex;

// Cassini-Soldner (degrees; lengths in the unit of a). The parameters are checked once by
// the library's set-up, whose error word becomes ValueError; each point's word is kept,
// and the far-from-meridian warning still counts as converted.
py::tuple cassiniConvert(Doubles u, Doubles v, bool inverse, double lat0, double lon0, double fe, double fn,
                         double a, double f)
{
    std::unique_lock<std::mutex> lock(cassiniMutex, std::defer_lock);
    {
        py::gil_scoped_release release;
        lock.lock();
    }
    const int setup = cassiniSetup(a, f, lat0 * kDegToRad, lon0 * kDegToRad, fe, fn);
    if (setup != 0)
        throw py::value_error("kelvane: Cassini-Soldner parameters refused (error word " + std::to_string(setup) +
                              "): origin latitude within -90..90, central meridian within -180..360, "
                              "a > 0 and 1/f within 250..350");
    return convertPoints(u, v, inverse, [&](std::size_t, geodCoord& p) {
        return inverse ? cassiniInverse(p.easting, p.northing, &p.lat, &p.lon)
                       : cassiniForward(p.lat, p.lon, &p.easting, &p.northing);
    }, false, kvCassiniFarFromMeridian);
}

// Oblique stereographic through the conformal sphere, on any centre (degrees, metres). The
// library reports a point it cannot map as NaN, which the loop turns into a failure.
py::tuple stereoConvert(Doubles u, Doubles v, bool inverse, double lat0, double lon0, double k0, double fe,
                        double fn, double a, double f)
{
    zoneCnstnt zone{};
    zone.originLat = lat0 * kDegToRad;
    zone.centralMeridian = lon0 * kDegToRad; // positive east for this projection
    zone.scaleFactor = k0;
    zone.falseNorthing = fn;
    zone.falseEasting = fe;
    ellipsoid ell = makeEllipsoid(a, f);
    return convertPoints(u, v, inverse, [&](std::size_t, geodCoord& p) {
        stereographic_calc(&ell, &zone, &p, inverse ? 0 : 1);
        return 0;
    });
}

// The New Brunswick grid through its own two exports.
py::tuple newBrunswickConvert(Doubles u, Doubles v, bool inverse)
{
    return convertPoints(u, v, inverse, [&](std::size_t, geodCoord& p) {
        if (inverse)
            XYToLatLong_newBrunswickStereographic(&p);
        else
            latLongToXY_newBrunswickStereographic(&p);
        return 0;
    });
}

// The Danish grids, numbered as the Python half names them: 0 System 34 Jylland, 1 System
// 34 Sjaelland, 2 System 45 Bornholm, 3 the corrected UTM zone 32 on ED50. Forward: WGS84
// lat, lon (degrees), h -> the grid's pair and the ED50 height; inverse the other way.
using DanishCall = int (*)(double, double, double, double*, double*, double*);
const DanishCall kDanishForward[] = {latlongWGS84ToXYSys34Jylland, latlongWGS84ToXYSys34Sjlland,
                                     latlongWGS84ToXYSys45Bornholm, latlongWGS84ToXYSys34UTM32ED50};
const DanishCall kDanishInverse[] = {XYSys34Jylland2latlongWGS84, XYSys34Sjlland2latlongWGS84,
                                     XYSys34Bornholm2latlongWGS84, XYSys34UTM32ED502latlongWGS84};

// Hungarian EOV from and to WGS84, with the seven shift parameters as the library takes them
// (metres, arc-seconds, ppm). Outputs: forward y, x, h; inverse lat, lon (degrees), h.
py::tuple eovConvert(Doubles u, Doubles v, Doubles w, bool inverse, std::vector<double> shift)
{
    if (shift.size() != 7) throw py::value_error("kelvane: the EOV shift has 7 parameters dx, dy, dz, rx, ry, rz, ds");
    const double* x = u.data();
    const double* y = v.data();
    const double* h = w.data();
    const double* t = shift.data();
    return threeOutputs(commonLength({u.size(), v.size(), w.size()}), [&](std::size_t i, double* r) {
        if (inverse) {
            const int s = EOV_XYToLatLongWGS84(x[i], y[i], h[i], t[0], t[1], t[2], t[3], t[4], t[5], t[6], &r[0], &r[1], &r[2]);
            r[0] *= kRadToDeg;
            r[1] *= kRadToDeg;
            return s;
        }
        return latLongWGS84ToXY_EOV(x[i] * kDegToRad, y[i] * kDegToRad, h[i], t[0], t[1], t[2], t[3], t[4], t[5], t[6],
                                    &r[0], &r[1], &r[2]);
    });
}

py::tuple danishConvert(Doubles u, Doubles v, Doubles w, bool inverse, int grid)
{
    if (grid < 0 || grid > 3) throw py::value_error("kelvane: Danish grid number must be 0..3");
    const DanishCall call = inverse ? kDanishInverse[grid] : kDanishForward[grid];
    const double* a = u.data();
    const double* b = v.data();
    const double* c = w.data();
    return threeOutputs(commonLength({u.size(), v.size(), w.size()}), [&](std::size_t i, double* r) {
        const double scale = inverse ? 1.0 : kDegToRad;
        const int s = call(a[i] * scale, b[i] * scale, c[i], &r[0], &r[1], &r[2]);
        if (inverse) {
            r[0] *= kRadToDeg;
            r[1] *= kRadToDeg;
        }
        return s;
    });
}

// ---- Geocentric and local frames ---------------------------------------------------

// Geographic <-> geocentric: the height (or Z) column goes to the library as it is.
py::tuple geocentricConvert(AnyDoubles u, AnyDoubles v, AnyDoubles w, bool inverse, double a, double f)
{
    const std::size_t n = commonLength({u.size(), v.size(), w.size()});
    Outputs out(n, 3);
    const Column<double> third(w, n);
    const ellipsoid ell = makeEllipsoid(a, f);
    convertInBlocks(out, n, Column<double>(u, n), Column<double>(v, n), BlockLayout{inverse, false, &third},
                    [&](std::size_t i, std::size_t m, batchIn p, batchIn q, batchIn r) {
        const batchOut o[3] = {outColumn(out, 0, i), outColumn(out, 1, i), outColumn(out, 2, i)};
        refusedWhole(out, i, m, inverse ? XYZ_EC2latLongElevBatch(&ell, m, p, q, r, o[0], o[1], o[2], out.st + i)
                                        : latLongElev2XYZ_ECBatch(&ell, m, p, q, r, o[0], o[1], o[2], out.st + i));
    });
    return out.result();
}

py::tuple localFrame(Doubles lat0, Doubles lon0, Doubles u, Doubles v, Doubles w, bool inverse)
{
    const double* la = lat0.data();
    const double* lo = lon0.data();
    const double* a = u.data();
    const double* b = v.data();
    const double* c = w.data();
    const std::size_t n = commonLength({lat0.size(), lon0.size(), u.size(), v.size(), w.size()});
    return threeOutputs(n, [&](std::size_t i, double* r) {
        return inverse ? localGeodeticToLocal(la[i] * kDegToRad, lo[i] * kDegToRad, a[i], b[i], c[i], &r[0], &r[1], &r[2])
                       : localToLocalGeodetic(la[i] * kDegToRad, lo[i] * kDegToRad, a[i], b[i], c[i], &r[0], &r[1], &r[2]);
    });
}

// ---- Geoid -------------------------------------------------------------------------

// The library has one geoid context per process and no lock of its own: every geoid call
// of this module holds this mutex, so threads that release the GIL stay serialised.
std::mutex geoidMutex;

int geoidOpen(const std::string& folder, int model)
{
    py::gil_scoped_release release;
    std::lock_guard<std::mutex> lock(geoidMutex);
    return openGeoidGrid(folder.c_str(), model);
}

void geoidClose()
{
    py::gil_scoped_release release;
    std::lock_guard<std::mutex> lock(geoidMutex);
    closeGeoidGrid();
}

py::tuple geoidHeight(Doubles lat, Doubles lon)
{
    const std::size_t n = commonLength({lat.size(), lon.size()});
    Outputs out(n, 1);
    const double* la = lat.data();
    const double* lo = lon.data();
    {
        py::gil_scoped_release release;
        std::lock_guard<std::mutex> lock(geoidMutex);
        for (std::size_t i = 0; i < n; ++i) {
            double h = kNaN;
            if (!std::isfinite(la[i]) || !std::isfinite(lo[i])) { out.fail(i, -1); continue; }
            const int s = getElevFromGeoidGrid(la[i], lo[i], &h);
            if (s != 0 || !std::isfinite(h)) { out.fail(i, s == 0 ? -1 : s); continue; }
            out.ptr[0][i] = h;
            out.st[i] = 0;
        }
    }
    return out.result();
}

std::string geoidName(int model)
{
    char name[kvGeoidNameSize + 1] = {0};
    get_geoid_name(model, name);
    return std::string(name);
}

// ---- 3D similarity transformations -------------------------------------------------

// The parameters, their standard errors, the statistics and the residuals of the 3n
// condition equations from a solution object of kind Fit with P parameters; fetch(x, v, se)
// reads the parameters and their errors from the solved object.
template <class Fit, int P, class Fetch>
py::dict fitResult(int n, std::vector<double>& rows, py::tuple names, Fetch fetch)
{
    double v[P], se[P], stats[3];
    std::vector<double> res(3 * static_cast<std::size_t>(n));
    {
        py::gil_scoped_release release;
        Fit x(n, rows.data());
        fetch(x, v, se);
        x.getXformStats(&stats[0], &stats[1], &stats[2]);
        for (int i = 0; i < 3 * n; ++i)
            if (x.getXformObservationResidual(i, &res[i]) != 0) res[i] = kNaN;
    }
    py::dict d;
    d["names"] = names;
    d["values"] = std::vector<double>(v, v + P);
    d["errors"] = std::vector<double>(se, se + P);
    d["residual_measure"] = stats[0];
    d["variance"] = stats[1];
    d["sigma0"] = stats[2];
    d["residuals"] = res;
    return d;
}

// The control points as the solvers take them: n rows of x, sx, y, sy, z, sz, X, sX, Y,
// sY, Z, sZ, solved for 7 or 4 parameters.
py::dict helmertFit(Doubles points, int params)
{
    if (points.ndim() != 2 || points.shape(1) != 12) throw py::value_error("kelvane: control points must be an (n, 12) array");
    const int n = static_cast<int>(points.shape(0));
    std::vector<double> rows(points.data(), points.data() + points.size());
    if (params == 7) {
        if (n < 3) throw py::value_error("kelvane: a seven-parameter fit needs at least 3 control points");
        return fitResult<CXform3D7Param, 7>(n, rows, py::make_tuple("scale", "rx", "ry", "rz", "tx", "ty", "tz"),
                                            [](CXform3D7Param& x, double* v, double* se) {
            x.getXformParams(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]);
            x.getXformParamsSE(&se[0], &se[1], &se[2], &se[3], &se[4], &se[5], &se[6]);
        });
    }
    if (params == 4) {
        if (n < 2) throw py::value_error("kelvane: a four-parameter fit needs at least 2 control points");
        return fitResult<CXform3D4Param, 4>(n, rows, py::make_tuple("scale", "tx", "ty", "tz"),
                                            [](CXform3D4Param& x, double* v, double* se) {
            x.getXformParams(&v[0], &v[1], &v[2], &v[3]);
            x.getXformParamsSE(&se[0], &se[1], &se[2], &se[3]);
        });
    }
    throw py::value_error("kelvane: params must be 4 or 7");
}

// Applies parameters in the order of the point functions: scale, rx, ry, rz, tx, ty, tz
// (seven) or scale, tx, ty, tz (four).
py::tuple helmertApply(std::vector<double> p, Doubles X, Doubles Y, Doubles Z)
{
    if (p.size() != 7 && p.size() != 4) throw py::value_error("kelvane: give 4 or 7 parameters");
    const double* x = X.data();
    const double* y = Y.data();
    const double* z = Z.data();
    return threeOutputs(commonLength({X.size(), Y.size(), Z.size()}), [&](std::size_t i, double* r) {
        return p.size() == 7 ? xform3D_Pt(p[0], p[1], p[2], p[3], p[4], p[5], p[6], x[i], y[i], z[i], &r[0], &r[1], &r[2])
                             : xform3D4Parm_Pt(p[0], p[1], p[2], p[3], x[i], y[i], z[i], &r[0], &r[1], &r[2]);
    });
}

// ---- Named ellipsoids: the library's own table ------------------------------------

py::object ellipsoidAxes(const std::string& name)
{
    const namedEllipsoid* e = findNamedEllipsoid(name.c_str());
    if (!e) return py::none();
    return py::make_tuple(e->semiMajor, e->flattening);
}

std::vector<std::string> ellipsoidNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < namedEllipsoidCount(); ++i) names.push_back(namedEllipsoidAt(i)->name);
    return names;
}

} // namespace

PYBIND11_MODULE(_kelvane, m)
{
    m.doc() = "Compiled loops of the kelvane module; use the kelvane package instead.";
    init83ZoneConstants();
    init27ZoneConstants();

    m.def("utm_forward", &utmForward);
    m.def("utm_inverse", &utmInverse);
    m.def("utm_invalid_zone", [](int z) { return invalidUTMZone(z) != 0; });
    m.def("utm_zone_names", [] { return zoneList(UTMGetZoneLstS); });
    m.def("spc83_convert", &spc83Convert);
    m.def("spc83_invalid_zone", [](int z) { return invalidSPC83Zone(z) != 0; });
    m.def("spc83_zone_names", [] { return zoneList(SPC83GetZoneLstS); });
    m.def("spc27_convert", &spc27Convert);
    m.def("spc27_invalid_zone", [](int z) { int i; return getSPC27ZoneIndex(z, &i) != 0; });
    m.def("tm_convert", &tmConvert);
    m.def("tm_utm_convert", &tmUtmConvert);
    m.def("lcc_forward", &lccForward);
    m.def("omerc_convert", &omercConvert);
    m.def("lcc_inverse", &lccInverse);
    m.def("krovak_convert", &krovakConvert);
    m.def("cassini_convert", &cassiniConvert);
    m.def("stereo_convert", &stereoConvert);
    m.def("new_brunswick_convert", &newBrunswickConvert);
    m.def("danish_convert", &danishConvert);
    m.def("eov_convert", &eovConvert);
    m.def("geocentric_convert", &geocentricConvert);
    m.def("local_frame", &localFrame);
    m.def("geoid_open", &geoidOpen);
    m.def("geoid_close", &geoidClose);
    m.def("geoid_height", &geoidHeight);
    m.def("geoid_name", &geoidName);
    m.def("helmert_fit", &helmertFit);
    m.def("helmert_apply", &helmertApply);
    m.def("ellipsoid_axes", &ellipsoidAxes);
    m.def("ellipsoid_names", &ellipsoidNames);
}
