// kelvane lcc: geographic <-> Lambert conformal conic grid coordinates on parameters given
// on the command line, one point per line.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "projection_options.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

struct LccParameters {
    ellipsoid ell;
    double farPole;          // the pole the cone opens away from, degrees: it has no image
    zoneCnstnt calc;         // the zone as lambert_calc reads it (central meridian east)
    zoneCnstntLambert record; // the same zone as the stand-alone record (central meridian west)
};

std::optional<LccParameters> parameters(const Invocation& inv)
{
    const std::optional<ellipsoid> ell = chosenEllipsoid(inv);
    if (!ell) return std::nullopt;
    const std::optional<double> lat1 = latitudeOption(inv, "--lat1", std::nullopt);
    if (!lat1) return std::nullopt;
    const bool oneParallel = !inv.value("--lat2");
    const std::optional<double> lat2 = latitudeOption(inv, "--lat2", *lat1); // one parallel: the same twice
    // A cone on one parallel has its origin on that parallel.
    const std::optional<double> lat0 =
        lat2 ? latitudeOption(inv, "--lat0", oneParallel ? std::optional<double>(*lat1) : std::nullopt)
             : std::nullopt;
    const std::optional<double> lon0 = lat0 ? longitudeOption(inv, "--lon0", std::nullopt) : std::nullopt;
    const std::optional<ScaleAndFalseOrigin> k0FeFn = lon0 ? scaleAndFalseOrigin(inv) : std::nullopt;
    if (!k0FeFn) return std::nullopt;
    if (std::fabs(*lat1) == 90.0 || std::fabs(*lat2) == 90.0 || *lat1 == -*lat2) {
        inv.usageError("standard parallels at a pole, or equal and opposite, leave no cone");
        return std::nullopt;
    }
    if (oneParallel && *lat0 != *lat1) {
        inv.usageError("with one standard parallel the grid origin lies on it: give --lat0 equal to --lat1, or none");
        return std::nullopt;
    }

    LccParameters p{};
    p.ell = *ell;
    p.farPole = *lat1 + *lat2 > 0.0 ? -90.0 : 90.0;
    p.calc.northParallel = degToRad(std::fmax(*lat1, *lat2));
    p.calc.southParallel = degToRad(std::fmin(*lat1, *lat2));
    p.calc.calcOriginLat = degToRad(*lat0);
    p.calc.centralMeridian = degToRad(*lon0);
    p.calc.scaleFactor = k0FeFn->k0;
    p.calc.falseEasting = k0FeFn->fe;
    p.calc.falseNorthing = k0FeFn->fn;
    p.record.ell = *ell;
    p.record.northParallel = p.calc.northParallel;
    p.record.southParallel = p.calc.southParallel;
    p.record.originLat = p.calc.calcOriginLat;
    p.record.centralMeridian = -1.0 * p.calc.centralMeridian;
    p.record.falseEasting = k0FeFn->fe;
    p.record.falseNorthing = k0FeFn->fn;
    return p;
}

const char* const kNoImage = "the point has no image on this cone (the pole the cone opens away from)";

int run(const Invocation& inv)
{
    std::optional<LccParameters> params = parameters(inv);
    if (!params) return kExitUsage;
    const bool inverseMode = inv.flag("--inverse");
    const bool record = inv.flag("--record");
    if (record && (inverseMode || params->calc.scaleFactor != 1.0 ||
                   params->calc.northParallel == params->calc.southParallel)) {
        return inv.usageError("--record converts forward only, on two standard parallels with --k0 1");
    }
    LccParameters& p = *params;
    const double lon0 = radToDeg(p.calc.centralMeridian);

    // Results of a block: northing, easting (or latitude, longitude), scale, convergence.
    constexpr std::size_t kIn = 2, kOut = 4;
    if (inverseMode) {
        return convertLines(
            inv, {{kNorthing, kEasting},
                  {kLatitude, kLongitude, kScale, kConvergence},
                  inBatches({kIn, kOut,
                             asGiven,
                             [p](std::size_t n, const double* x, double* r, int* status) {
                                 ellipsoid ell = p.ell;
                                 zoneCnstnt calc = p.calc;
                                 lambert_calcBatch(&ell, &calc, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1),
                                                   resultColumn(r, kOut, 1), resultColumn(r, kOut, 0),
                                                   resultColumn(r, kOut, 2), resultColumn(r, kOut, 3), 0, status);
                             },
                             [](const Values& in, const double* r, int status,
                                std::vector<double>& out) -> std::optional<std::string> {
                                 if (status != 0 || !std::isfinite(r[0]) || !std::isfinite(r[1]) || !std::isfinite(r[2])) {
                                     return std::string("northing ") + in.text(0) + " easting " + in.text(1) +
                                            " does not lie on the cone's map";
                                 }
                                 out = geographicRow(r);
                                 return std::nullopt;
                             }})});
    }
    return convertLines(
        inv, {{kLatitude, kLongitude},
              {kNorthing, kEasting, kScale, kConvergence},
              inBatches({kIn, kOut,
                         [farPole = p.farPole, lon0](const Values& in, double* x) -> std::optional<std::string> {
                             if (in[0] == farPole) return std::string(kNoImage);
                             // The longitude is taken within 180 degrees of the central meridian.
                             x[0] = degToRad(in[0]);
                             x[1] = degToRad(nearestTurn(in[1], lon0));
                             return std::nullopt;
                         },
                         [p, record](std::size_t n, const double* x, double* r, int* status) {
                             if (record) {
                                 latLong2XY_LambertBatch(&p.record, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1),
                                                         resultColumn(r, kOut, 0), resultColumn(r, kOut, 1),
                                                         resultColumn(r, kOut, 2), resultColumn(r, kOut, 3), status);
                                 return;
                             }
                             ellipsoid ell = p.ell;
                             zoneCnstnt calc = p.calc;
                             lambert_calcBatch(&ell, &calc, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1),
                                               resultColumn(r, kOut, 1), resultColumn(r, kOut, 0),
                                               resultColumn(r, kOut, 2), resultColumn(r, kOut, 3), 1, status);
                         },
                         [](const Values&, const double* r, int status,
                            std::vector<double>& out) -> std::optional<std::string> {
                             if (status != 0) return std::string(kNoImage);
                             out = {r[0], r[1], r[2], radToDeg(r[3])};
                             return finiteResults({r[0], r[1], r[2]}, kNoImage);
                         }})});
}

const Command kCommand{
    "lcc",
    "geographic <-> Lambert conformal conic on given parameters",
    30,
    {"lcc --lat1 DEG [--lat2 DEG] --lat0 DEG --lon0 DEG [--k0 K] [--fe M] [--fn M] [--ellipsoid NAME]",
     "lcc --inverse --lat1 DEG [--lat2 DEG] --lat0 DEG --lon0 DEG [--k0 K] [--fe M] [--fn M] ...",
     "lcc --record --lat1 DEG --lat2 DEG --lat0 DEG --lon0 DEG [--fe M] [--fn M] ..."},
    "Converts geographic coordinates to Lambert conformal conic grid coordinates on one or\n"
    "two standard parallels, or back with --inverse. One point per line from standard input\n"
    "or --input FILE; fields separated by blanks, tabs or commas.\n"
    "\n"
    "  input (forward):  lat lon            decimal degrees, north and east positive\n"
    "  output:           northing easting scale convergence\n"
    "  input (inverse):  northing easting   metres\n"
    "  output:           lat lon scale convergence\n"
    "\n"
    "The conversion is the t-function form with the scale factor k0 on the mapping radius\n"
    "(lambert_calc); --record runs the forward through the stand-alone Lambert record\n"
    "instead (latLong2XY_Lambert: two parallels, no scale factor). Metres to 0.1 mm,\n"
    "degrees and scale to 10 decimals; the convergence in degrees, positive east of the\n"
    "central meridian on a cone that opens south (standard parallels in the north).\n",
    {{"--lat1", "DEG", "a standard parallel, degrees (-90..90, not a pole)"},
     {"--lat2", "DEG", "the other standard parallel, degrees; without it the cone\ntouches at --lat1 alone"},
     {"--lat0", "DEG", "latitude of the grid origin, degrees (with one parallel:\nthat parallel, the default)"},
     {"--lon0", "DEG", "central meridian, degrees east"},
     {"--k0", "K", "scale factor applied to the mapping radius, a ratio (default 1)"},
     {"--fe", "M", "false easting at the grid origin, metres (default 0)"},
     {"--fn", "M", "false northing at the grid origin, metres (default 0)"},
     {"--inverse", nullptr, "northing easting -> lat lon"},
     {"--record", nullptr, "forward through the stand-alone Lambert record"},
     kEllipsoidOption},
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90, the pole the cone opens away from,\n"
    "and grid coordinates that fall on no point of the map. Longitudes may be given in any\n"
    "turn; the one within 180 degrees of the central meridian is used, and the inverse\n"
    "writes longitudes in -180..180. The inverse's latitude iteration stops on a step below\n"
    "1e-7 rad, which leaves it within about 1e-9 rad (6 mm on the ground).\n",
    {"echo '28.5 -96' | kelvane lcc --lat1 28.383333 --lat2 30.283333 --lat0 27.833333 --lon0 -99 "
     "--fe 609601.2192 --ellipsoid clarke1866"},
    Input::Points,
    run,
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
