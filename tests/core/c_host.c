/* A C host: the public header must compile as C and its functions link with C linkage. */
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
    return 0;
}
