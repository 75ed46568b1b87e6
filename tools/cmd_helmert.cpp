// kelvane helmert: fits a four- or seven-parameter 3D similarity transformation to
// control points, or applies a given parameter set to points.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

const double kArcSec = 4.0 * std::atan(1.0) / 648000.0;
constexpr double kPpm = 1e-6;

// An angle in arc-seconds, reduced to one turn around 0.
double arcSeconds(double radians)
{
    return std::remainder(radians, 2.0 * 4.0 * std::atan(1.0)) / kArcSec;
}

struct ControlPoints {
    std::vector<double> values; // 12 per point
    std::vector<std::string> names;
};

std::optional<std::string> readControlPoint(const std::vector<std::string>& fields, ControlPoints& cps)
{
    std::vector<std::string> numbers = fields;
    std::string name = std::to_string(cps.names.size() + 1);
    if (fields.size() == 13) {
        name = fields[0];
        numbers.erase(numbers.begin());
    }
    std::vector<double> v;
    if (auto problem = parseNumbers(numbers, 12, v)) {
        return *problem + " (a control point is [name] x sx y sy z sz X sX Y sY Z sZ)";
    }
    for (int k = 1; k < 12; k += 2) {
        if (v[k] < 0.0) return "standard deviation " + numbers[k] + " is negative";
    }
    cps.values.insert(cps.values.end(), v.begin(), v.end());
    cps.names.push_back(name);
    return std::nullopt;
}

// What a fit prints, whichever the number of parameters.
struct FitReport {
    struct Row {
        const char* name;
        const char* unit;
        double value;
        double se;
        int decimals;
    };
    const char* title;
    int numParams;
    std::vector<Row> rows;
    std::vector<double> applyValues; // in the order of 'apply --params'
    std::vector<int> applyDecimals;  // printed with these decimals
    double variance, sigma0, residualMeasure;
    std::function<int(int, double*)> residual;
};

const char* const kDegenerate =
    "the control points do not determine the parameters (coincident or collinear points, zero "
    "standard deviations on both sides, or -- for four parameters -- first two points with equal x)";

int printFit(const std::string& cmd, const ControlPoints& cps, const FitReport& r)
{
    if (std::isnan(r.variance)) {
        std::cerr << "kelvane " << cmd << ": " << kDegenerate << '\n';
        return kExitLineFailed;
    }
    const int n = static_cast<int>(cps.names.size());
    std::cout << r.title << " fit from " << n << " control points, " << 3 * n - r.numParams
              << " degrees of freedom\n\n";
    char line[200];
    for (const auto& row : r.rows) {
        std::snprintf(line, sizeof line, "  %-6s %-7s %18.*f  +- %.*f\n", row.name, row.unit, row.decimals,
                      row.value, row.decimals, row.se);
        std::cout << line;
    }
    std::snprintf(line, sizeof line,
                  "\nvariance factor sigma0^2  %.6f\nsigma0                    %.6f\n"
                  "residual measure          %.4f m   (3 sqrt(sum r^2) / n)\n",
                  r.variance, r.sigma0, r.residualMeasure);
    std::cout << line;

    std::size_t width = 5;
    for (const auto& name : cps.names) width = std::max(width, name.size());
    std::cout << "\nresiduals of the condition equations (about transformed source minus target), m\n";
    std::snprintf(line, sizeof line, "  %-*s %12s %12s %12s\n", static_cast<int>(width), "point", "rX", "rY", "rZ");
    std::cout << line;
    for (int i = 0; i < n; ++i) {
        double v[3] = {0.0, 0.0, 0.0};
        for (int k = 0; k < 3; ++k) r.residual(3 * i + k, &v[k]);
        std::snprintf(line, sizeof line, "  %-*s %12.4f %12.4f %12.4f\n", static_cast<int>(width),
                      cps.names[static_cast<std::size_t>(i)].c_str(), v[0], v[1], v[2]);
        std::cout << line;
    }
    std::cout << "\napply with: --params ";
    for (std::size_t k = 0; k < r.applyValues.size(); ++k) {
        std::cout << (k ? "," : "") << fixed(r.applyValues[k], r.applyDecimals[k]);
    }
    std::cout << '\n';
    return kExitOk;
}

int tooFew(const std::string& cmd, const char* what)
{
    std::cerr << "kelvane " << cmd << ": " << what << '\n';
    return kExitLineFailed;
}

int fitSeven(const std::string& cmd, ControlPoints& cps)
{
    const int n = static_cast<int>(cps.names.size());
    if (n < 3) return tooFew(cmd, "a seven-parameter fit needs at least 3 control points");
    const CXform3D7Param fit(n, cps.values.data());
    double s, rx, ry, rz, tx, ty, tz, ss, srx, sry, srz, stx, sty, stz;
    fit.getXformParams(&s, &rx, &ry, &rz, &tx, &ty, &tz);
    fit.getXformParamsSE(&ss, &srx, &sry, &srz, &stx, &sty, &stz);
    FitReport r{"seven-parameter", 7,
                {{"scale", "ppm", (s - 1.0) / kPpm, ss / kPpm, 6},
                 {"rx", "arcsec", arcSeconds(rx), srx / kArcSec, 6},
                 {"ry", "arcsec", arcSeconds(ry), sry / kArcSec, 6},
                 {"rz", "arcsec", arcSeconds(rz), srz / kArcSec, 6},
                 {"tx", "m", tx, stx, 4},
                 {"ty", "m", ty, sty, 4},
                 {"tz", "m", tz, stz, 4}},
                {tx, ty, tz, arcSeconds(rx), arcSeconds(ry), arcSeconds(rz), (s - 1.0) / kPpm},
                {4, 4, 4, 6, 6, 6, 6},
                0.0, 0.0, 0.0,
                [&](int k, double* v) { return fit.getXformObservationResidual(k, v); }};
    fit.getXformStats(&r.residualMeasure, &r.variance, &r.sigma0);
    return printFit(cmd, cps, r);
}

int fitFour(const std::string& cmd, ControlPoints& cps)
{
    const int n = static_cast<int>(cps.names.size());
    if (n < 2) return tooFew(cmd, "a four-parameter fit needs at least 2 control points");
    const CXform3D4Param fit(n, cps.values.data());
    double s, tx, ty, tz, ss, stx, sty, stz;
    fit.getXformParams(&s, &tx, &ty, &tz);
    fit.getXformParamsSE(&ss, &stx, &sty, &stz);
    FitReport r{"four-parameter", 4,
                {{"scale", "ppm", (s - 1.0) / kPpm, ss / kPpm, 6},
                 {"tx", "m", tx, stx, 4},
                 {"ty", "m", ty, sty, 4},
                 {"tz", "m", tz, stz, 4}},
                {tx, ty, tz, (s - 1.0) / kPpm},
                {4, 4, 4, 6},
                0.0, 0.0, 0.0,
                [&](int k, double* v) { return fit.getXformObservationResidual(k, v); }};
    fit.getXformStats(&r.residualMeasure, &r.variance, &r.sigma0);
    return printFit(cmd, cps, r);
}

int runFit(const Invocation& inv)
{
    const std::string cmd = inv.name();
    const std::optional<std::string> params = inv.value("--params");
    std::optional<std::string> input = inv.value("--input");
    const std::vector<std::string>& positionals = inv.positionals();
    if (!params || (*params != "7" && *params != "4")) {
        return usageError(cmd, "give the number of parameters as --params 7 or --params 4");
    }
    if (inv.flag("--position-vector")) return usageError(cmd, "--position-vector belongs to 'apply'");
    if (positionals.size() > 2 || (positionals.size() == 2 && input)) {
        return usageError(cmd, "give one control-point file");
    }
    if (positionals.size() == 2) input = positionals[1];

    ControlPoints cps;
    const int read = readLines(cmd, input, [&](const std::vector<std::string>& fields) {
        return readControlPoint(fields, cps);
    });
    if (read == kExitUsage) return read;
    if (read != kExitOk) {
        std::cerr << "kelvane " << cmd << ": fitting the " << cps.names.size()
                  << " control points that could be read\n";
    }
    const int fitted = (*params == "7") ? fitSeven(cmd, cps) : fitFour(cmd, cps);
    return fitted != kExitOk ? fitted : read;
}

int runApply(const Invocation& inv)
{
    const std::optional<std::string> paramText = inv.value("--params");
    const bool positionVector = inv.flag("--position-vector");
    if (inv.positionals().size() > 1) {
        return inv.usageError("unexpected argument '" + inv.positionals()[1] + "' (see --help)");
    }
    if (!paramText) return inv.usageError("give the parameters as --params TX,TY,TZ,RX,RY,RZ,DS or TX,TY,TZ,DS");

    const std::vector<std::string> fields = splitFields(*paramText);
    std::vector<double> p;
    if (fields.size() != 7 && fields.size() != 4) {
        return inv.usageError("--params takes 7 values (TX,TY,TZ,RX,RY,RZ,DS) or 4 (TX,TY,TZ,DS), not " +
                              std::to_string(fields.size()));
    }
    if (auto problem = parseNumbers(fields, fields.size(), p)) return inv.usageError("--params: " + *problem);
    if (fields.size() == 4 && positionVector) return inv.usageError("--position-vector needs the seven-parameter form");

    const bool seven = p.size() == 7;
    const double sign = positionVector ? -1.0 : 1.0;
    const double scale = 1.0 + p.back() * kPpm;
    double r[3] = {0.0, 0.0, 0.0};
    if (seven) {
        for (int k = 0; k < 3; ++k) r[k] = sign * p[3 + static_cast<std::size_t>(k)] * kArcSec;
    }
    const auto metres = [](const char* name) { return Column{name, Quantity::Length, 4, false}; };
    return convertLines(inv, {{metres("x"), metres("y"), metres("z")},
                              {metres("X"), metres("Y"), metres("Z")},
                              [&](const Values& v, std::vector<double>& out) -> std::optional<std::string> {
                                  double X, Y, Z;
                                  if (seven) {
                                      xform3D_Pt(scale, r[0], r[1], r[2], p[0], p[1], p[2], v[0], v[1], v[2], &X, &Y, &Z);
                                  } else {
                                      xform3D4Parm_Pt(scale, p[0], p[1], p[2], v[0], v[1], v[2], &X, &Y, &Z);
                                  }
                                  // Beyond a billion kilometres (or not finite) is refused rather than printed.
                                  if (!(std::fabs(X) < 1e12 && std::fabs(Y) < 1e12 && std::fabs(Z) < 1e12)) {
                                      return "the result lies beyond 1e12 m";
                                  }
                                  out = {X, Y, Z};
                                  return std::nullopt;
                              }});
}

int run(const Invocation& inv)
{
    const std::string action = inv.positionals().empty() ? "" : inv.positionals()[0];
    if (action == "fit") return runFit(inv.action("fit"));
    if (action == "apply") return runApply(inv.action("apply"));
    return inv.usageError(action.empty() ? "give an action: fit or apply (see --help)"
                                         : "unknown action '" + action + "' (fit or apply; see --help)");
}

const Command kCommand{
    "helmert",
    "fit or apply 4-/7-parameter 3D similarity transformations",
    65,
    {"helmert fit --params 7|4 [FILE]",
     "helmert apply --params TX,TY,TZ,RX,RY,RZ,DS [--position-vector] [--input FILE]",
     "helmert apply --params TX,TY,TZ,DS [--input FILE]"},
    "Three-dimensional similarity transformations between two Cartesian systems:\n"
    "  seven parameters  (X Y Z) = (1 + DS/1e6) R (x y z) + (TX TY TZ)\n"
    "  four parameters   (X Y Z) = (1 + DS/1e6)   (x y z) + (TX TY TZ)\n"
    "Units: TX TY TZ metres, RX RY RZ arc-seconds, DS parts per million.\n"
    "Angles follow the coordinate-frame convention: for small angles R has the rows\n"
    "(1, RZ, -RY), (-RZ, 1, RX), (RY, -RX, 1). A set published in the position-vector\n"
    "convention is entered with --position-vector (or with its three angles negated).\n"
    "\n"
    "fit: reads control points, one per line, from FILE (or standard input):\n"
    "  [name] x sx y sy z sz X sX Y sY Z sZ\n"
    "source coordinates and their standard deviations, then the target's (metres; the\n"
    "standard deviations must not be negative). Blank lines and '#' lines are skipped;\n"
    "malformed lines are reported with their line number and left out of the fit (the\n"
    "exit status is then 1). Both sets of coordinates are treated as observations and\n"
    "the fit is iterated at most 10 times. Prints the parameters with their standard\n"
    "errors, the variance factor sigma0^2 (near 1 when the standard deviations fit the\n"
    "data), the residual measure 3 sqrt(sum r^2)/n and, per point, the residuals of the\n"
    "three condition equations (about transformed source minus target), followed by the\n"
    "'apply' options that reproduce the fit. Rotations are shown in -648000..648000\n"
    "arc-seconds. Needs 3 points for 7 parameters, 2 for 4; more give statistics.\n"
    "\n"
    "apply: transforms 'x y z' lines (standard input or --input FILE) to 'X Y Z', metres\n"
    "to 0.1 mm; a result beyond 1e12 m is refused as a bad line.\n",
    {{"--params", "LIST", "fit: the number of parameters, 7 or 4;\n"
                          "apply: TX,TY,TZ,RX,RY,RZ,DS (seven) or TX,TY,TZ,DS (four)"},
     {"--position-vector", nullptr, "apply: the angles are given in the position-vector convention"}},
    "",
    {"echo '3182019.3671 -63875.7978 5508883.5798' | kelvane helmert apply --params 1,2,3,100"},
    Input::Points,
    run,
    true,
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
