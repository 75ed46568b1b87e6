"""The national and special grids against the library's own results, point by point
through ctypes, in both directions: Krovak, Cassini-Soldner, the oblique stereographic and
the New Brunswick grid, the Danish grids. Each table mixes good points with ones the library
refuses, which must come back NaN with the library's status."""

import math

import numpy as np
import pytest

import kelvane
from conftest import CassiniRecord, KrovakRecord, ZoneConstant

RAD = math.pi / 180.0
DEG = 180.0 / math.pi  # the two factors the module uses
KROVAK = kelvane.krovak.SJTSK
CLARKE = kelvane._ellipsoids.axes("clarke1866")
BESSEL = (6377397.155, 1 / 299.15281)
RD_NEW = (52.0 + 9 / 60 + 22.178 / 3600, 5.0 + 23 / 60 + 15.5 / 3600, 0.9999079, 155000.0, 463000.0)


def krovak_record(c):
    z = KrovakRecord(centreLat=KROVAK["lat_c"] * RAD, originLon=KROVAK["lon_0"] * RAD,
                     coneAxisColat=KROVAK["alpha_c"] * RAD, pseudoParallelLat=KROVAK["lat_p"] * RAD,
                     pseudoParallelScale=KROVAK["k_p"])
    z.ell = c.ellipsoid(*kelvane._ellipsoids.axes("bessel1841"))
    return [z]


def cassini_record(c):
    z = CassiniRecord(originLat=40 * RAD, centralMeridian=-75 * RAD)
    z.ell = c.ellipsoid(*CLARKE)
    return [z]


def rd_new(c):
    lat0, lon0, k0, fe, fn = RD_NEW
    return [c.ellipsoid(*BESSEL), ZoneConstant(originLat=lat0 * RAD, centralMeridian=lon0 * RAD, scaleFactor=k0,
                                               falseEasting=fe, falseNorthing=fn)]


def projection(function, records=lambda c: [], after=(), void=False, inverse=False):
    """The library's conversion of one point on a geodCoord: (a, b) -> (status, outputs)
    in the module's units (degrees, metres)."""
    def call(c, a, b):
        point = {"northing": a, "easting": b} if inverse else {"lat": a * RAD, "lon": b * RAD}
        s, p = c.on_point(function, records(c), point, after, void)
        pair = [p.lat * DEG, p.lon * DEG] if inverse else [p.northing, p.easting]
        return s, pair + [p.gridScale, p.convergence * DEG]
    return call


def danish(grid, forward, inverse):
    return (grid, lambda a, b: kelvane.danish.forward(a, b, 40.0, grid),
            lambda r: kelvane.danish.inverse(r[0], r[1], r[2], grid),
            lambda c, a, b: c.three(forward, a * RAD, b * RAD, 40.0),
            lambda c, a, b, h: (lambda s, o: (s, [o[0] * DEG, o[1] * DEG, o[2]]))(*c.three(inverse, a, b, h)),
            0, [(56.0, 9.5), (55.5, 11.8), (55.1, 14.9), (56.6, 8.2), (10.0, 10.0), (np.nan, 9.5)])


# (name, module forward (a, b), module inverse of its forward Result, library forward,
#  library inverse, status bits that are only warnings, points in degrees)
ROWS = [
    ("krovak", lambda a, b: kelvane.krovak.forward(a, b, **KROVAK), lambda r: kelvane.krovak.inverse(*r, **KROVAK),
     projection("latLong2XY_KrovakObliqueConic", krovak_record),
     projection("XY2latLong_KrovakObliqueConic", krovak_record, inverse=True), 0,
     [(50.209011, 16.849772), (49.5, 24.0 + 50 / 60), (48.8, 14.5), (np.nan, 15.0), (95.0, 15.0)]),
    ("cassini", lambda a, b: kelvane.cassini.forward(a, b, 40.0, -75.0, ellipsoid=CLARKE),
     lambda r: kelvane.cassini.inverse(*r, 40.0, -75.0, ellipsoid=CLARKE),
     projection("latLong2XY_CassiniSoldner", cassini_record),
     projection("XY2latLong2_CassiniSoldner", cassini_record, inverse=True), kelvane.cassini.FAR_FROM_MERIDIAN,
     [(43.0, -73.0), (40.0, -75.0), (45.0, -81.0), (100.0, -75.0), (30.0, 200.0)]),
    ("stereographic", lambda a, b: kelvane.stereo.forward(a, b, *RD_NEW, ellipsoid=BESSEL),
     lambda r: kelvane.stereo.inverse(r[0], r[1], *RD_NEW, ellipsoid=BESSEL),
     projection("stereographic_calc", rd_new, after=(1,), void=True),
     projection("stereographic_calc", rd_new, after=(0,), void=True, inverse=True), 0,
     [(53.0, 6.0), (52.2, 4.4), (50.0, -2.0), (95.0, 5.0)]),
    ("new brunswick", kelvane.stereo.new_brunswick_forward,
     lambda r: kelvane.stereo.new_brunswick_inverse(r[0], r[1]),
     projection("latLongToXY_newBrunswickStereographic", void=True),
     projection("XYToLatLong_newBrunswickStereographic", void=True, inverse=True), 0,
     [(46.5, -66.5), (46.0, -66.0), (47.9, -68.5), (np.nan, -66.0)]),
    danish("jylland", "latlongWGS84ToXYSys34Jylland", "XYSys34Jylland2latlongWGS84"),
    danish("sjaelland", "latlongWGS84ToXYSys34Sjlland", "XYSys34Sjlland2latlongWGS84"),
    danish("bornholm", "latlongWGS84ToXYSys45Bornholm", "XYSys34Bornholm2latlongWGS84"),
    danish("utm32ed50", "latlongWGS84ToXYSys34UTM32ED50", "XYSys34UTM32ED502latlongWGS84"),
]


def expect_library(result, i, status, values, warnings):
    """Point i of a module Result equals the library's status and outputs bit for bit, or is
    NaN with the library's status where the library refused it (a NaN result included)."""
    width = len(result)
    refused = (status & ~warnings) != 0 or not np.all(np.isfinite(values[:width]))
    assert result.status[i] == (status if status != 0 or not refused else 1)
    if refused:
        assert not result.ok[i] and all(np.isnan(a[i]) for a in result)
    else:
        assert result.ok[i] and [a[i] for a in result] == values[:width]
    return not refused


@pytest.mark.parametrize("name,fwd,inv,lib_fwd,lib_inv,warnings,points", ROWS, ids=[r[0] for r in ROWS])
def test_grids_match_the_library_both_ways(clib, name, fwd, inv, lib_fwd, lib_inv, warnings, points):
    a, b = (np.array(v) for v in zip(*points))
    r = fwd(a, b)
    back = inv(r)
    converted = 0
    for i in range(len(points)):
        s, out = lib_fwd(clib, a[i], b[i])
        if expect_library(r, i, s, out, warnings):
            converted += 1
            s, lib_back = lib_inv(clib, *out[:len(r)] if len(r) == 3 else out[:2])
            expect_library(back, i, s, lib_back, warnings)
    assert 0 < converted < len(points), "each table has points the library converts and points it refuses"


def test_bad_grid_parameters_raise_value_error():
    for call in (lambda: kelvane.cassini.forward(43.0, -73.0, 40.0, -75.0, ellipsoid=(6378137.0, 1 / 200)),
                 lambda: kelvane.krovak.forward(50.0, 15.0, **{**KROVAK, "lat_p": 0.0}),
                 lambda: kelvane.danish.forward(56.0, 9.5, 0.0, "fyn")):
        with pytest.raises(ValueError):
            call()
