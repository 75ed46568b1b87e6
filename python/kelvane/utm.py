"""UTM: 120 zone codes, 1-60 north and 61-120 south (false northing 10 000 000 m)."""

import numpy as np

from . import _kelvane
from ._ellipsoids import axes
from ._vector import broadcast, codes, shaped


def _zones(zone, allow_auto):
    arr = np.asarray(zone)
    if allow_auto:
        auto = arr == 0
        codes(np.where(auto, 1, arr), _kelvane.utm_invalid_zone, "UTM")
    else:
        codes(arr, _kelvane.utm_invalid_zone, "UTM")
    return arr


def forward(lat, lon, zone=0, ellipsoid="grs80"):
    """Latitude, longitude (degrees) -> (northing, easting, k, gamma, zone).

    zone 0 chooses each point's zone from its position; gamma is the meridian convergence
    in degrees."""
    a, f = axes(ellipsoid)
    shape, (la, lo, z) = broadcast(lat, lon, _zones(zone, True), dtypes=[None, None, np.int32])
    return shaped(shape, ("northing", "easting", "k", "gamma", "zone"),
                  _kelvane.utm_forward(la, lo, z, a, f))


def inverse(northing, easting, zone, ellipsoid="grs80"):
    """Northing, easting (m) in zone code 1..120 -> (lat, lon, k, gamma), degrees."""
    a, f = axes(ellipsoid)
    shape, (n, e, z) = broadcast(northing, easting, _zones(zone, False), dtypes=[None, None, np.int32])
    return shaped(shape, ("lat", "lon", "k", "gamma"), _kelvane.utm_inverse(n, e, z, a, f))


def zone_names():
    """The 120 zone names, in code order."""
    return _kelvane.utm_zone_names().splitlines()
