"""State plane coordinates of 1983: 124 zones on GRS 80, by code (101 for zone 0101)."""

import numpy as np

from . import _kelvane
from ._units import from_metres, to_metres
from ._vector import broadcast, codes, shaped


def forward(code, lat, lon, units="m"):
    """Latitude, longitude (degrees) -> (northing, easting, k, gamma) in the units asked:
    "m", "us-ft" (1200/3937 m) or "ft" (0.3048 m)."""
    codes(code, _kelvane.spc83_invalid_zone, "state plane 1983")
    shape, (c, la, lo) = broadcast(code, lat, lon, dtypes=[np.int32, None, None])
    r = _kelvane.spc83_convert(c, la, lo, False)
    r = (from_metres(r[0], units), from_metres(r[1], units)) + tuple(r[2:])
    return shaped(shape, ("northing", "easting", "k", "gamma"), r)


def inverse(code, northing, easting, units="m"):
    """Northing, easting in the units given -> (lat, lon, k, gamma), degrees."""
    codes(code, _kelvane.spc83_invalid_zone, "state plane 1983")
    shape, (c, n, e) = broadcast(code, to_metres(northing, units), to_metres(easting, units),
                                 dtypes=[np.int32, None, None])
    return shaped(shape, ("lat", "lon", "k", "gamma"), _kelvane.spc83_convert(c, n, e, True))


def zone_names():
    """The zone names, in table order."""
    return _kelvane.spc83_zone_names().splitlines()
