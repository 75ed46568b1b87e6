// kelvane helmert fit and apply, end to end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/cli_runner.h"

using kelvane_test::lines;
using kelvane_test::runCli;

namespace {

const std::string kControl = std::string("\"") + KELVANE_SOURCE_DIR + "/examples/helmert_control.txt\"";

// The value after the label on the first output line that starts with it.
double valueOf(const std::string& out, const std::string& label, int field = 0)
{
    for (const std::string& l : lines(out)) {
        std::istringstream s(l);
        std::string first;
        s >> first;
        if (first != label) continue;
        std::string word;
        std::vector<double> v;
        while (s >> word) {
            char* end = nullptr;
            const double x = std::strtod(word.c_str(), &end);
            if (*end == '\0') v.push_back(x);
        }
        if (static_cast<int>(v.size()) > field) return v[static_cast<std::size_t>(field)];
    }
    ADD_FAILURE() << "no line '" << label << "' in\n" << out;
    return 0.0;
}

std::string applyLine(const std::string& out)
{
    for (const std::string& l : lines(out)) {
        if (l.rfind("apply with: ", 0) == 0) return l.substr(12);
    }
    return "";
}

} // namespace

// The bundled control points: the Ordnance Survey ETRS89 -> OSGB36 set with 1 cm noise.
TEST(CliHelmert, FitsTheBundledControlPoints)
{
    const auto r = runCli("helmert fit --params 7 " + kControl);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(valueOf(r.out, "scale"), 20.4894, 0.05);
    EXPECT_NEAR(valueOf(r.out, "rx"), 0.1502, 0.02);
    EXPECT_NEAR(valueOf(r.out, "rz"), 0.8421, 0.02);
    EXPECT_NEAR(valueOf(r.out, "tx"), -446.448, 0.5);
    EXPECT_NEAR(valueOf(r.out, "variance"), 1.0, 0.5);
    EXPECT_GT(valueOf(r.out, "rz", 1), 0.0); // a standard error is shown
    EXPECT_LT(std::fabs(valueOf(r.out, "EDIN", 2)), 0.1);

    // The printed 'apply' options carry the fit over to points: the first control point's
    // source lands on its target within a few centimetres.
    const std::string params = applyLine(r.out);
    ASSERT_FALSE(params.empty());
    const auto a = runCli("helmert apply " + params, "3182019.3671 -63875.7978 5508883.5798\n");
    ASSERT_EQ(a.status, 0) << a.err;
    std::istringstream s(lines(a.out).at(0));
    double X, Y, Z;
    s >> X >> Y >> Z;
    EXPECT_NEAR(X, 3181631.2687, 0.05);
    EXPECT_NEAR(Y, -63760.9219, 0.05);
    EXPECT_NEAR(Z, 5508458.2540, 0.05);
}

TEST(CliHelmert, FourParameterFitFromStandardInput)
{
    // Scale +10 ppm and a shift, exact; no names, commas allowed.
    std::string text = "# x sx y sy z sz X sX Y sY Z sZ\n";
    const double pts[4][3] = {{1000, 2000, 3000}, {-5000, 800, 12000}, {7000, -3000, 500}, {100, 9000, -4000}};
    for (const auto& p : pts) {
        char line[256];
        std::snprintf(line, sizeof line, "%.4f,0.01,%.4f,0.01,%.4f,0.01,%.6f,0.01,%.6f,0.01,%.6f,0.01\n", p[0],
                      p[1], p[2], p[0] * 1.00001 + 10, p[1] * 1.00001 - 20, p[2] * 1.00001 + 30);
        text += line;
    }
    const auto r = runCli("helmert fit --params 4", text);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(valueOf(r.out, "scale"), 10.0, 1e-4);
    EXPECT_NEAR(valueOf(r.out, "ty"), -20.0, 1e-3);
    EXPECT_NE(r.out.find("four-parameter fit from 4 control points, 8 degrees of freedom"), std::string::npos)
        << r.out;
    EXPECT_EQ(applyLine(r.out), "--params 10.0000,-20.0000,30.0000,10.000000");
}

TEST(CliHelmert, MalformedLinesAreNamedAndLeftOut)
{
    std::ifstream in(std::string(KELVANE_SOURCE_DIR) + "/examples/helmert_control.txt");
    std::stringstream all;
    all << in.rdbuf();
    std::string text = all.str() + "BAD 1 2 3\nNEG 1 -0.01 2 0.01 3 0.01 1 0.01 2 0.01 3 0.01\n";
    const auto r = runCli("helmert fit --params 7", text);
    EXPECT_EQ(r.status, 1);
    const int bad = static_cast<int>(lines(all.str()).size()) + 1;
    EXPECT_NE(r.err.find("line " + std::to_string(bad) + ":"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line " + std::to_string(bad + 1) + ": standard deviation -0.01 is negative"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("from 18 control points"), std::string::npos); // the good points still fit
}

TEST(CliHelmert, TooFewAndDegeneratePointsFailWithAMessage)
{
    const std::string one = "1 0.01 2 0.01 3 0.01 11 0.01 12 0.01 13 0.01\n";
    auto r = runCli("helmert fit --params 7", one + one);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("at least 3 control points"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    r = runCli("helmert fit --params 4", one);
    EXPECT_EQ(r.status, 1);
    r = runCli("helmert fit --params 7", one + one + one + one);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("do not determine"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST(CliHelmert, AppliesPublishedParameterSets)
{
    // Ordnance Survey ETRS89 -> OSGB36, position-vector angles given negated.
    auto r = runCli("helmert apply --params -446.448,125.157,-542.060,0.1502,0.2470,0.8421,20.4894",
                    "3790644.900 -110149.210 5111482.970\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "3790269.5492 -110038.0637 5111050.2608\n");

    // EPSG WGS 72 -> WGS 84, published in the position-vector convention.
    r = runCli("helmert apply --position-vector --params 0,0,4.5,0,0,0.554,0.219",
               "3657660.66 255768.55 5201382.11\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream s(lines(r.out).at(0));
    double X, Y, Z;
    s >> X >> Y >> Z;
    EXPECT_NEAR(X, 3657660.78, 0.01);
    EXPECT_NEAR(Y, 255778.43, 0.01);
    EXPECT_NEAR(Z, 5201387.75, 0.01);

    r = runCli("helmert apply --params=1,2,3,100", "1000 2000 3000\n");
    EXPECT_EQ(lines(r.out).at(0), "1001.1000 2002.2000 3003.3000");
    r = runCli("helmert apply --params=1,2,3,1e300", "1000 2000 3000\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 1: the result lies beyond 1e12 m"), std::string::npos) << r.err;
}

TEST(CliHelmert, UsageErrors)
{
    EXPECT_EQ(runCli("helmert", "").status, 2);
    EXPECT_EQ(runCli("helmert frob", "").status, 2);
    EXPECT_EQ(runCli("helmert fit", "").status, 2);
    EXPECT_EQ(runCli("helmert fit --params 5", "").status, 2);
    EXPECT_EQ(runCli("helmert fit --params 7 /no/such/file", "").status, 2);
    EXPECT_EQ(runCli("helmert apply", "1 2 3\n").status, 2);
    EXPECT_EQ(runCli("helmert apply --params 1,2,3", "1 2 3\n").status, 2);
    EXPECT_EQ(runCli("helmert apply --params 1,2,3,x", "1 2 3\n").status, 2);
    EXPECT_EQ(runCli("helmert apply --position-vector --params 1,2,3,4", "1 2 3\n").status, 2);
    EXPECT_EQ(runCli("helmert apply --params 0x1,2,3,4", "1 2 3\n").status, 2);
    EXPECT_EQ(runCli("helmert fit --help").status, 0);
}
