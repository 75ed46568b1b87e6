"""State plane coordinates of 1927: 130 zones on Clarke 1866, grid in US survey feet.

Longitudes are positive east here, as everywhere in this module (the library's own
state plane 1927 routines take them positive west; the sign is turned in the loop)."""

import numpy as np

from . import _kelvane
from ._units import from_us_feet, to_us_feet
from ._vector import broadcast, codes, shaped


def forward(code, lat, lon, units="us-ft"):
    """Latitude, longitude (degrees) -> (northing, easting, k, gamma); units "us-ft"
    (the system's own) or "m"."""
    codes(code, _kelvane.spc27_invalid_zone, "state plane 1927")
    shape, (c, la, lo) = broadcast(code, lat, lon, dtypes=[np.int32, None, None])
    r = _kelvane.spc27_convert(c, la, lo, False)
    r = (from_us_feet(r[0], units), from_us_feet(r[1], units)) + tuple(r[2:])
    return shaped(shape, ("northing", "easting", "k", "gamma"), r)


def inverse(code, northing, easting, units="us-ft"):
    """Northing, easting in the units given -> (lat, lon, k, gamma), degrees."""
    codes(code, _kelvane.spc27_invalid_zone, "state plane 1927")
    shape, (c, n, e) = broadcast(code, to_us_feet(northing, units), to_us_feet(easting, units),
                                 dtypes=[np.int32, None, None])
    return shaped(shape, ("lat", "lon", "k", "gamma"), _kelvane.spc27_convert(c, n, e, True))
