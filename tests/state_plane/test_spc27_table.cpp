// State plane 1927: the zone table, its row order and its lookups.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kelvane/spc27.h"
#include "state_plane/spc27_zones.h"

namespace {

class Spc27Table : public ::testing::Test {
protected:
    static void SetUpTestSuite() { init27ZoneConstants(); }
};

struct ExpectedRow {
    int code;
    int kind;
    std::vector<double> params; // the rest of the eleven are zero
};

// Rows as the USC&GS tables print them: every digit of a row must come back.
const ExpectedRow kTellingRows[] = {
    {101, 0, {500000, 309000, 1822, 21.00903, 0.99996, 0.3817065}},
    {2900, 0, {2000000, 268800, 2321, 27.02745, 0.9999750295, 0.3810845}},
    {5105, 0, {500000, 576600, 1294, 0.0528, 0.9999999999, 0.3824867}},
    {301, 1, {2000000, 331200, 29277593.61, 29732882.87, 0.999935937, 0.5818991407, 2126, 46.35656, 3.81452, 3.26432, 0}},
    {2111, 1, {2000000, 313200, 20041716.18, 20589420.09, 0.9999410344, 0.7227899381, 2768, 22.25085, 3.80501, 4.6843, 36}},
    {407, 1, {4186692.58, 426000, 30891382.1, 35055396.31, 0.999988535, 0.5612432071, 2040, 22.88096, 3.81572, 3.0952, 0}},
    {5010, 1, {3000000, 633600, 15893950.36, 16564628.77, 0.9998480641, 0.796922394, 3161, 47.87068, 3.79919, 5.9155, 44}},
    {4204, 1, {2000000, 356400, 37261509.2, 37807440.38, 0.9998632433, 0.4899126408, 1752, 37.19059, 3.81962, 2.56899, 0}},
    {1703, 1, {2000000, 328800, 41091749.54, 41576762.39, 0.9998947956, 0.4540068519, 1612, 59.30342, 3.82138, 2.27436, 25}},
    {4904, 0, {500000, 396300, 2431, 20.83533, 0.9999411765, 0.3808422}},
    {5001, 2, {}},
};

TEST_F(Spc27Table, TellingRowsComeBackDigitForDigit)
{
    for (const ExpectedRow& expected : kTellingRows) {
        SCOPED_TRACE(expected.code);
        zoneconstant27 zone;
        ASSERT_EQ(initSPC27Zone(expected.code, &zone), 0);
        EXPECT_EQ(zone.zoneCode, expected.code);
        EXPECT_EQ(zone.projection, expected.kind);
        for (std::size_t p = 0; p < 11; ++p) {
            const double want = p < expected.params.size() ? expected.params[p] : 0.0;
            EXPECT_EQ(zone.param[p], want) << "param " << p + 1;
        }
    }
}

TEST_F(Spc27Table, RowOrderAnchors)
{
    const struct {
        int code;
        int index;
    } anchors[] = {{101, 0}, {5001, 2}, {5010, 11}, {2900, 83}, {4904, 129}};
    for (const auto& a : anchors) {
        int index = -7;
        EXPECT_EQ(getSPC27ZoneIndex(a.code, &index), 0) << a.code;
        EXPECT_EQ(index, a.index) << a.code;
    }
    // Codes of no 1927 zone: 5200 exists only in the 1983 system.
    for (int code : {5200, 0, 100, 1600, 5011, -101}) {
        int index = -7;
        EXPECT_EQ(getSPC27ZoneIndex(code, &index), 1) << code;
        EXPECT_EQ(index, -7) << code;
    }
}

TEST_F(Spc27Table, EveryRowIsFoundAtItsOwnIndexAndKindsAreAsPublished)
{
    int perKind[4] = {0, 0, 0, 0};
    std::vector<int> nonZeroL3;
    for (int i = 0; i < kelvane::spc27::kZoneCount; ++i) {
        const zoneconstant27& row = kelvane::spc27Zones[i];
        int index = -1;
        ASSERT_EQ(getSPC27ZoneIndex(row.zoneCode, &index), 0);
        EXPECT_EQ(index, i);
        ASSERT_GE(row.projection, 0);
        ASSERT_LE(row.projection, 3);
        ++perKind[row.projection];
        if (row.projection == 1 && row.param[10] != 0.0) nonZeroL3.push_back(row.zoneCode);
        if (row.projection == 0) {
            for (int p = 6; p < 11; ++p) EXPECT_EQ(row.param[p], 0.0) << row.zoneCode;
        }
    }
    EXPECT_EQ(perKind[0], 49);
    EXPECT_EQ(perKind[1], 72);
    EXPECT_EQ(perKind[2], 1);
    EXPECT_EQ(perKind[3], 8);
    EXPECT_EQ(nonZeroL3, (std::vector<int>{5010, 1703, 2111, 2112, 2113}));
}

TEST_F(Spc27Table, AlaskaZonesTwoToNineStepFourDegreesWest)
{
    for (int code = 5002; code <= 5009; ++code) {
        zoneconstant27 zone;
        ASSERT_EQ(initSPC27Zone(code, &zone), 0);
        EXPECT_EQ(zone.projection, 3);
        EXPECT_EQ(zone.param[1], 511200.0 + 14400.0 * (code - 5002)) << code;
        const double x0 = code == 5007 ? 700000.0 : code == 5009 ? 600000.0 : 500000.0;
        EXPECT_EQ(zone.param[0], x0) << code;
        for (int p = 2; p < 11; ++p) EXPECT_EQ(zone.param[p], 0.0) << code;
    }
}

TEST_F(Spc27Table, UnknownCodeLeavesTheCallersRecordAlone)
{
    zoneconstant27 zone;
    std::memset(&zone, 0x5a, sizeof zone);
    zoneconstant27 before = zone;
    EXPECT_EQ(initSPC27Zone(5200, &zone), 1);
    EXPECT_EQ(std::memcmp(&zone, &before, sizeof zone), 0);
    EXPECT_EQ(initSPC27Zone(101, nullptr), 1);
    EXPECT_EQ(getSPC27ZoneIndex(101, nullptr), 1);
}

TEST_F(Spc27Table, BuildingAgainRewritesTheSameValues)
{
    std::vector<unsigned char> before(sizeof kelvane::spc27Zones);
    std::memcpy(before.data(), kelvane::spc27Zones, before.size());
    init27ZoneConstants();
    EXPECT_EQ(std::memcmp(before.data(), kelvane::spc27Zones, before.size()), 0);
}

} // namespace
