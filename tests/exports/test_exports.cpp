// The shared library as a host loads it: every exported free function and variable is
// found by its plain C name, and internal helpers stay hidden.
#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

class SharedLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() { handle_ = dlopen(KELVANE_SHARED_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL); }
    static void TearDownTestSuite()
    {
        if (handle_) dlclose(handle_);
        handle_ = nullptr;
    }
    static void* handle_;
};

void* SharedLibrary::handle_ = nullptr;

TEST_F(SharedLibrary, ExportsEveryFunctionByItsCName)
{
    ASSERT_NE(handle_, nullptr) << dlerror();
    const char* const exported[] = {
        // core, dispatch and arc-to-chord corrections
        "initEllipsoid", "fnKelvane", "nKelvane", "namedEllipsoidCount", "namedEllipsoidAt", "findNamedEllipsoid",
        "initNamedEllipsoid", "geod2Grid", "grid2Geod", "getTMT", "tmArcToChord",
        "lambertArcToChord", "omArcToChord",
        // Transverse Mercator and UTM
        "geod2TM", "TM2Geod", "UTMInitializeZoneConstants", "UTMGeod2Grid", "UTMGrid2Geod", "invalidUTMZone",
        "UTMGetZoneLstS", "utmZoneFromPosition", "roundHalfUp", "initUTMZone", "latLong2XY_TransverseMercator",
        "XY_TransverseMercator2latLong", "UTMGeod2GridBatch", "UTMGrid2GeodBatch",
        "latLong2XY_TransverseMercatorBatch", "XY_TransverseMercator2latLongBatch",
        // Lambert and oblique Mercator
        "geod2Lambert", "Lambert2Geod", "geod2OM", "OM2Geod", "latLong2XY_Lambert", "lambert_calc",
        "latLong2XY_LambertBatch", "lambert_calcBatch",
        // projection-centre oblique Mercator and its one-point wrappers
        "latLong2XY_OMProjCenter", "XY2latLong_OMProjCenter", "latLong2XY_ObliqueMercator",
        "XY2latLong_ObliqueMercator", "latLong2XY_OMProjCenterBatch", "XY2latLong_OMProjCenterBatch",
        // state plane 1983 and 1927
        "init83ZoneConstants", "invalidSPC83Zone", "initSPC83Zone", "getSPC83ZoneIndex", "SPC83Grid2Geod",
        "SPC83Geod2Grid", "computeSPC83TmT", "SPC83GetZoneLstS", "init27ZoneConstants", "initSPC27Zone",
        "getSPC27ZoneIndex", "geod2SPC27", "SPC272Geod",
        "SPC83Geod2GridBatch", "SPC83Grid2GeodBatch", "geod2SPC27Batch", "SPC272GeodBatch",
        // geocentric and local frames
        "ecef2lat", "lat2ecef", "latLongElev2XYZ_EC", "XYZ_EC2latLongElev", "localToLocalGeodetic",
        "localGeodeticToLocal", "latLongElev2XYZ_ECBatch", "XYZ_EC2latLongElevBatch",
        // geoid
        "openGeoidGrid", "closeGeoidGrid", "getElevFromGeoidGrid", "get_geoid_name", "getGeoidElev",
        "getGeoidLoadFailure",
        // 3D transformations
        "xform_3D_7Param", "xform3D_Pt", "xform3D_PtAlt", "xform_3D_4Param", "xform3D4Parm_Pt",
        // Krovak, Cassini-Soldner and the New Brunswick stereographic
        "latLong2XY_KrovakObliqueConic", "XY2latLong_KrovakObliqueConic", "latLong2XY_CassiniSoldner",
        "XY2latLong2_CassiniSoldner", "cassiniSetup", "cassiniForward", "cassiniInverse", "stereographic_calc",
        "initNewBrunswickParams", "latLongToXY_newBrunswickStereographic", "XYToLatLong_newBrunswickStereographic",
        // Danish grids and EOV
        "latlongWGS84ToXYSys34Jylland", "latlongWGS84ToXYSys34Sjlland", "latlongWGS84ToXYSys45Bornholm",
        "latlongWGS84ToXYSys34UTM32ED50", "XYSys34Jylland2latlongWGS84", "XYSys34Sjlland2latlongWGS84",
        "XYSys34Bornholm2latlongWGS84", "XYSys34UTM32ED502latlongWGS84", "latLongWGS84ToXY_EOV",
        "EOV_XYToLatLongWGS84",
    };
    for (const char* name : exported) {
        EXPECT_NE(dlsym(handle_, name), nullptr) << name << " is not exported with C linkage";
    }
}

TEST_F(SharedLibrary, KeepsInternalHelpersHidden)
{
    ASSERT_NE(handle_, nullptr) << dlerror();
    for (const char* name : {"spc83PointToGeod", "arcCosh", "loadGeoidGridFile", "createGeoidGrid",
                             "selectGeoidFile", "matrixAdd", "dumpMatrix",
                             "omProjCenterConstants", "signOf", "transformDanishGrid",
                             "pointInPolygon", "projectToEov", "wgs84ToUtm32Ed50",
                             "ed50ToWgs84Geocentric"}) {
        EXPECT_EQ(dlsym(handle_, name), nullptr) << name << " should not be visible to hosts";
    }
}

} // namespace
