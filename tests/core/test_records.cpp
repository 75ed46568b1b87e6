// Core records and the ellipsoid set-up.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "kelvane/kelvane.h"

extern "C" int kelvaneCHostSmoke(void);

TEST(Ellipsoid, Grs80DerivedConstants)
{
    ellipsoid e;
    std::memset(&e, 0x5a, sizeof e);
    ASSERT_EQ(initEllipsoid(&e, 6378137.0, 0.0033528106811836675), 0);
    EXPECT_DOUBLE_EQ(e.semiMajor, 6378137.0);
    EXPECT_NEAR(e.semiMinor, 6356752.314140, 1e-6);
    EXPECT_NEAR(e.eccSq, 0.0066943800229034, 1e-16);
    EXPECT_NEAR(e.invFlattening, 298.25722210088, 1e-10);
    EXPECT_DOUBLE_EQ(e.ecc * e.ecc, e.eccSq);
    // The caller's trailing storage is never touched.
    unsigned char expected[sizeof e.reserved];
    std::memset(expected, 0x5a, sizeof expected);
    EXPECT_EQ(std::memcmp(e.reserved, expected, sizeof expected), 0);
}

TEST(Ellipsoid, SphereHasInfiniteInverseFlattening)
{
    ellipsoid e{};
    EXPECT_EQ(initEllipsoid(&e, 6371000.0, 0.0), 0);
    EXPECT_EQ(e.semiMinor, e.semiMajor);
    EXPECT_EQ(e.ecc, 0.0);
    EXPECT_EQ(e.eccSq, 0.0);
    EXPECT_TRUE(std::isinf(e.invFlattening));
    EXPECT_EQ(initEllipsoid(nullptr, 6371000.0, 0.0), 1);
}

// The table the library and the command line share: the names are unique and each entry
// builds the ellipsoid initEllipsoid builds; an unknown name leaves the record as it was.
TEST(Ellipsoid, NamedTable)
{
    ASSERT_GE(namedEllipsoidCount(), 4);
    EXPECT_STREQ(namedEllipsoidAt(0)->name, "grs80");
    EXPECT_EQ(namedEllipsoidAt(-1), nullptr);
    EXPECT_EQ(namedEllipsoidAt(namedEllipsoidCount()), nullptr);
    for (int i = 0; i < namedEllipsoidCount(); ++i) {
        const namedEllipsoid* e = namedEllipsoidAt(i);
        EXPECT_EQ(findNamedEllipsoid(e->name), e);
        ellipsoid byName{};
        ellipsoid byValue{};
        ASSERT_EQ(initNamedEllipsoid(&byName, e->name), 0);
        initEllipsoid(&byValue, e->semiMajor, e->flattening);
        EXPECT_EQ(std::memcmp(&byName, &byValue, sizeof byName), 0) << e->name;
    }
    EXPECT_NEAR(findNamedEllipsoid("clarke1866")->semiMajor * (1.0 - findNamedEllipsoid("clarke1866")->flattening),
                6356583.8, 1e-6);

    ellipsoid untouched;
    std::memset(&untouched, 0x5a, sizeof untouched);
    const ellipsoid before = untouched;
    EXPECT_EQ(initNamedEllipsoid(&untouched, "GRS80"), 1);
    EXPECT_EQ(initNamedEllipsoid(&untouched, nullptr), 1);
    EXPECT_EQ(initNamedEllipsoid(nullptr, "grs80"), 1);
    EXPECT_EQ(std::memcmp(&untouched, &before, sizeof before), 0);
    EXPECT_EQ(findNamedEllipsoid(nullptr), nullptr);
}

TEST(TemplateExports, AnswerAsHostsExpect)
{
    EXPECT_EQ(fnKelvane(), 42);
    EXPECT_EQ(nKelvane, 0);
    CKelvane a;
    CKelvane b;
    a = b;
    (void)a;
}

TEST(CHost, HeaderCompilesAsCAndLinksWithCLinkage)
{
    EXPECT_EQ(kelvaneCHostSmoke(), 0);
}
