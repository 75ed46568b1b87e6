// State plane 1983 before the zone table is built: this program never builds it except at
// the very end of its single test, so the library's state is the one a host sees at load.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "kelvane/spc83.h"

namespace {

TEST(Spc83BeforeInit, EveryOperationRefusesEveryRealCodeUntilTheTableIsBuilt)
{
    // The name list needs no table.
    std::vector<char> buf(2412);
    ASSERT_EQ(SPC83GetZoneLstS(buf.data(), 2412), 0);
    std::vector<int> codes;
    for (const char* p = buf.data(); *p; p = std::strchr(p, '\n') + 1) codes.push_back(std::atoi(p));
    ASSERT_EQ(codes.size(), 124u);
    codes.push_back(0); // the code an empty row carries

    geodCoord p;
    std::memset(&p, 0x11, sizeof p);
    const geodCoord pointBefore = p;
    zoneCnstnt z;
    std::memset(&z, 0x22, sizeof z);
    const zoneCnstnt zoneBefore = z;
    int index = -3;
    double tT = 4.25;
    for (int code : codes) {
        EXPECT_EQ(invalidSPC83Zone(code), 1) << code;
        EXPECT_EQ(initSPC83Zone(code, &z), 1) << code;
        EXPECT_EQ(getSPC83ZoneIndex(code, &index), 1) << code;
        EXPECT_EQ(SPC83Grid2Geod(code, &p), 1) << code;
        EXPECT_EQ(SPC83Geod2Grid(code, &p), 1) << code;
        EXPECT_EQ(computeSPC83TmT(code, 200000, 0, 200100, 100, 200200, 0, &tT), 1) << code;
    }
    EXPECT_EQ(std::memcmp(&p, &pointBefore, sizeof p), 0);
    EXPECT_EQ(std::memcmp(&z, &zoneBefore, sizeof z), 0);
    EXPECT_EQ(index, -3);
    EXPECT_EQ(tT, 4.25);

    init83ZoneConstants();
    codes.pop_back();
    for (int code : codes) EXPECT_EQ(invalidSPC83Zone(code), 0) << code;
    EXPECT_EQ(invalidSPC83Zone(0), 1);
    geodCoord origin;
    std::memset(&origin, 0, sizeof origin);
    origin.easting = 200000.0;
    EXPECT_EQ(SPC83Grid2Geod(101, &origin), 0);
}

} // namespace
