"""The library's own results, called point by point through ctypes, for the binding's
tests to compare against: the same shared library, reached without the binding."""

import ctypes
import math
import os

import pytest


class GeodCoord(ctypes.Structure):
    _fields_ = [(n, ctypes.c_double) for n in
                ("lat", "lon", "northing", "easting", "elev", "gridScale", "convergence")] + \
               [("spare", ctypes.c_int32), ("utmZone", ctypes.c_int32)]


class Ellipsoid(ctypes.Structure):
    _fields_ = [(n, ctypes.c_double) for n in
                ("semiMajor", "semiMinor", "flattening", "ecc", "eccSq", "invFlattening")] + \
               [("reserved", ctypes.c_double * 8)]


class ZoneConstant27(ctypes.Structure):
    _fields_ = [("projection", ctypes.c_int32), ("zoneCode", ctypes.c_int32),
                ("param", ctypes.c_double * 11)]


class KrovakRecord(ctypes.Structure):
    _fields_ = [(n, ctypes.c_double) for n in ("reserved0", "centreLat", "originLon", "coneAxisColat",
                                               "pseudoParallelLat", "pseudoParallelScale", "falseNorthing",
                                               "falseEasting")] + \
               [("reserved1", ctypes.c_double * 2), ("ell", Ellipsoid)]


class CassiniRecord(ctypes.Structure):
    _fields_ = [(n, ctypes.c_double) for n in ("reserved0", "falseNorthing", "falseEasting", "originLat",
                                               "centralMeridian")] + \
               [("reserved1", ctypes.c_double * 2), ("ell", Ellipsoid)]


class ZoneConstant(ctypes.Structure):
    _fields_ = [("reserved", ctypes.c_ubyte * 64), ("projection", ctypes.c_int32), ("spare", ctypes.c_int32),
                ("zoneCode", ctypes.c_int32)] + \
               [(n, ctypes.c_double) for n in ("centralMeridian", "scaleFactor", "northParallel", "southParallel",
                                               "falseNorthing", "falseEasting", "calcOriginLat", "originLat",
                                               "originLon", "trailing")]


class CLibrary:
    def __init__(self, path):
        self.lib = ctypes.CDLL(path)
        self.lib.init83ZoneConstants()
        self.lib.init27ZoneConstants()
        self.rad = math.pi / 180.0

    def ellipsoid(self, a, f):
        e = Ellipsoid()
        self.lib.initEllipsoid(ctypes.byref(e), ctypes.c_double(a), ctypes.c_double(f))
        return e

    def on_point(self, function, records, point, after=(), void=False):
        """Calls function(*records, point, *after) on a geodCoord given as a dict of its
        fields and returns (status, point); a function without a result (void) has status 0."""
        p = GeodCoord(**point)
        f = getattr(self.lib, function)
        f.restype = None if void else ctypes.c_int
        s = f(*(ctypes.byref(r) for r in records), ctypes.byref(p), *after)
        return (0 if void else s), p

    def three(self, function, a, b, c):
        """A (double, double, double, double*, double*, double*) -> int export."""
        out = [ctypes.c_double() for _ in range(3)]
        s = getattr(self.lib, function)(*(ctypes.c_double(v) for v in (a, b, c)), *(ctypes.byref(o) for o in out))
        return s, [o.value for o in out]

    def utm_forward(self, lat, lon, zone, ell):
        p = GeodCoord(lat=lat * self.rad, lon=lon * self.rad)
        s = self.lib.UTMGeod2Grid(zone, ctypes.byref(ell), ctypes.byref(p))
        return s, p

    def utm_inverse(self, n, e, zone, ell):
        p = GeodCoord(northing=n, easting=e)
        s = self.lib.UTMGrid2Geod(zone, ctypes.byref(ell), ctypes.byref(p))
        return s, p

    def spc83_forward(self, code, lat, lon):
        p = GeodCoord(lat=lat * self.rad, lon=lon * self.rad)
        return self.lib.SPC83Geod2Grid(code, ctypes.byref(p)), p

    def spc27_forward(self, code, lat, lon):
        z = ZoneConstant27()
        assert self.lib.initSPC27Zone(code, ctypes.byref(z)) == 0
        p = GeodCoord(lat=lat * self.rad, lon=-lon * self.rad)
        return self.lib.geod2SPC27(ctypes.byref(z), ctypes.byref(p)), p

    def to_geocentric(self, lat, lon, h, ell):
        p = GeodCoord(lat=lat * self.rad, lon=lon * self.rad, elev=h)
        self.lib.latLongElev2XYZ_EC.argtypes = [Ellipsoid, ctypes.POINTER(GeodCoord)]
        return self.lib.latLongElev2XYZ_EC(ell, ctypes.byref(p)), p


@pytest.fixture(scope="session")
def clib():
    path = os.environ.get("KELVANE_SHARED_LIBRARY")
    if not path:
        pytest.skip("KELVANE_SHARED_LIBRARY is not set (run the tests through ctest)")
    return CLibrary(path)
