// State plane 1927 before init27ZoneConstants has run (a process of its own): no zone
// code is found, while the conversions still work on a record the caller fills.
#include <gtest/gtest.h>

#include <cstring>

#include "kelvane/spc27.h"

namespace {

TEST(Spc27Uninitialised, NoZoneIsFoundBeforeTheTableIsBuilt)
{
    for (int code : {101, 5001, 4904, 0}) {
        zoneconstant27 zone;
        std::memset(&zone, 0x5a, sizeof zone);
        const zoneconstant27 before = zone;
        EXPECT_EQ(initSPC27Zone(code, &zone), 1) << code;
        EXPECT_EQ(std::memcmp(&zone, &before, sizeof zone), 0) << code;
        int index = -3;
        EXPECT_EQ(getSPC27ZoneIndex(code, &index), 1) << code;
        EXPECT_EQ(index, -3) << code;
    }
}

TEST(Spc27Uninitialised, ConversionsUseOnlyTheCallersRecord)
{
    // Zone 0101 filled by hand: on its central meridian the easting is the false easting.
    zoneconstant27 zone{};
    zone.projection = 0;
    zone.zoneCode = 101;
    const double params[6] = {500000, 309000, 1822, 21.00903, 0.99996, 0.3817065};
    for (int p = 0; p < 6; ++p) zone.param[p] = params[p];
    geodCoord point{};
    point.lat = 31.5 * 0.0174532925199433;
    point.lon = (85.0 + 50.0 / 60.0) * 0.0174532925199433;
    ASSERT_EQ(geod2SPC27(&zone, &point), 0);
    EXPECT_NEAR(point.easting, 500000.0, 1e-6);
    EXPECT_NEAR(point.northing, 363717.2559, 0.001);
}

} // namespace
