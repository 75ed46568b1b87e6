/* A C host: the public header must compile as C and its functions link with C linkage. */
#include <string.h>

#include "kelvane/kelvane.h"

int kelvaneCHostSmoke(void);

int kelvaneCHostSmoke(void)
{
    ellipsoid e;
    if (initEllipsoid(&e, 6378137.0, 0.0033528106811836675) != 0) return 1;
    if (fnKelvane() != 42) return 2;
    if (sizeof(geodCoord) != 64 || sizeof(ellipsoid) != 112 || sizeof(zoneCnstnt) != 160) return 3;
    if (initNamedEllipsoid(&e, "wgs84") != 0 || findNamedEllipsoid("none") != 0) return 5;
    if (invalidUTMZone(0) != 1 || utmZoneFromPosition(0.0, 0.0) != 31) return 4;
    {
        zoneCnstntObliqueMerc om = {0};
        geodCoord pt = {0};
        if (sizeof om != 192) return 5;
        initEllipsoid(&om.ell, 6378137.0, 0.0033528106811836675);
        om.scaleFactor = 1.0;
        if (latLong2XY_OMProjCenter(om, &pt) != 0 || latLong2XY_ObliqueMercator(&om, &pt) != 0) return 6;
    }
    {
        zoneCnstntLambert zl;
        zoneCnstnt z;
        geodCoord pt = {0};
        double x = 0.0;
        memset(&zl, 0, sizeof zl);
        memset(&z, 0, sizeof z);
        if (sizeof zl != 184) return 7;
        initEllipsoid(&zl.ell, 6378137.0, 0.0033528106811836675);
        zl.southParallel = 0.6;
        zl.northParallel = 0.7;
        if (latLong2XY_Lambert(&zl, &pt) != 0) return 8;
        z.southParallel = 0.6;
        z.northParallel = 0.7;
        z.scaleFactor = 1.0;
        lambert_calc(&zl.ell, &z, 0.6, 0.0, &x, &x, &x, &x, 1);
    }
    return 0;
}
