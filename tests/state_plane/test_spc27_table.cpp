// State plane 1927: the zone table built from the generated rows, its order and lookups.
// (The generated rows themselves are checked against the committed CSV by the
// regeneration test.)
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kelvane/spc27.h"
#include "state_plane/spc27_zone_table.h"
#include "state_plane/spc27_zones.h"

namespace {

class Spc27Table : public ::testing::Test {
protected:
    static void SetUpTestSuite() { init27ZoneConstants(); }
};

// Every generated row is in the table at its own index, found by its code, and building
// the table again rewrites the same values.
TEST_F(Spc27Table, EveryRowAtItsIndexAndRebuildingChangesNothing)
{
    for (int i = 0; i < kelvane::spc27::kZoneCount; ++i) {
        const kelvane::spc27::ZoneRow& want = kelvane::spc27::kZoneRows[i];
        zoneconstant27 zone;
        ASSERT_EQ(initSPC27Zone(want.code, &zone), 0) << want.code;
        EXPECT_EQ(zone.zoneCode, want.code);
        EXPECT_EQ(zone.projection, want.kind) << want.code;
        EXPECT_EQ(std::memcmp(zone.param, want.param, sizeof zone.param), 0) << want.code;
        int index = -1;
        ASSERT_EQ(getSPC27ZoneIndex(want.code, &index), 0);
        EXPECT_EQ(index, i);
    }
    std::vector<unsigned char> before(sizeof kelvane::spc27Zones);
    std::memcpy(before.data(), kelvane::spc27Zones, before.size());
    init27ZoneConstants();
    EXPECT_EQ(std::memcmp(before.data(), kelvane::spc27Zones, before.size()), 0);
}

// Rows as the USC&GS tables print them, digit for digit, at their published positions.
TEST_F(Spc27Table, TellingRowsAsPublished)
{
    const struct {
        int code, index, kind;
        std::vector<double> params; // the rest of the eleven are zero
    } rows[] = {
        {101, 0, 0, {500000, 309000, 1822, 21.00903, 0.99996, 0.3817065}},
        {5001, 2, 2, {}},
        {5007, 8, 3, {700000, 583200}},
        {5010, 11, 1, {3000000, 633600, 15893950.36, 16564628.77, 0.9998480641, 0.796922394, 3161, 47.87068, 3.79919, 5.9155, 44}},
        {2900, 83, 0, {2000000, 268800, 2321, 27.02745, 0.9999750295, 0.3810845}},
        {4904, 129, 0, {500000, 396300, 2431, 20.83533, 0.9999411765, 0.3808422}},
    };
    for (const auto& r : rows) {
        zoneconstant27 zone;
        ASSERT_EQ(initSPC27Zone(r.code, &zone), 0) << r.code;
        EXPECT_EQ(zone.projection, r.kind) << r.code;
        for (std::size_t p = 0; p < 11; ++p) {
            EXPECT_EQ(zone.param[p], p < r.params.size() ? r.params[p] : 0.0) << r.code << " param " << p + 1;
        }
        int index = -1;
        EXPECT_EQ(getSPC27ZoneIndex(r.code, &index), 0);
        EXPECT_EQ(index, r.index) << r.code;
    }
}

// Codes of no 1927 zone (5200 exists only in the 1983 system) and null outputs: 1, and the
// caller's record and index untouched.
TEST_F(Spc27Table, UnknownCodesLeaveTheCallersRecordAlone)
{
    zoneconstant27 zone;
    std::memset(&zone, 0x5a, sizeof zone);
    const zoneconstant27 before = zone;
    for (int code : {5200, 0, 100, 1600, 5011, -101}) {
        int index = -7;
        EXPECT_EQ(getSPC27ZoneIndex(code, &index), 1) << code;
        EXPECT_EQ(index, -7) << code;
        EXPECT_EQ(initSPC27Zone(code, &zone), 1) << code;
    }
    EXPECT_EQ(std::memcmp(&zone, &before, sizeof zone), 0);
    EXPECT_EQ(initSPC27Zone(101, nullptr), 1);
    EXPECT_EQ(getSPC27ZoneIndex(101, nullptr), 1);
}

} // namespace
