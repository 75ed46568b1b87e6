"""State plane coordinates of 1927: 130 zones on Clarke 1866, grid in US survey feet.

Longitudes are positive east here, as everywhere in this module (the library's own
state plane 1927 routines take them positive west; the sign is turned in the loop)."""

from . import _kelvane
from ._state_plane import StatePlane
from ._units import from_us_feet, to_us_feet

_SYSTEM = StatePlane("state plane 1927", _kelvane.spc27_convert, _kelvane.spc27_invalid_zone, to_us_feet,
                     from_us_feet)


def forward(code, lat, lon, units="us-ft"):
    """Latitude, longitude (degrees) -> (northing, easting, k, gamma); units "us-ft"
    (the system's own) or "m"."""
    return _SYSTEM.forward(code, lat, lon, units)


def inverse(code, northing, easting, units="us-ft"):
    """Northing, easting in the units given -> (lat, lon, k, gamma), degrees."""
    return _SYSTEM.inverse(code, northing, easting, units)
