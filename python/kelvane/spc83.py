"""State plane coordinates of 1983: 124 zones on GRS 80, by code (101 for zone 0101)."""

from . import _kelvane
from ._state_plane import StatePlane
from ._units import from_metres, to_metres

_SYSTEM = StatePlane("state plane 1983", _kelvane.spc83_convert, _kelvane.spc83_invalid_zone, to_metres, from_metres)


def forward(code, lat, lon, units="m"):
    """Latitude, longitude (degrees) -> (northing, easting, k, gamma) in the units asked:
    "m", "us-ft" (1200/3937 m) or "ft" (0.3048 m)."""
    return _SYSTEM.forward(code, lat, lon, units)


def inverse(code, northing, easting, units="m"):
    """Northing, easting in the units given -> (lat, lon, k, gamma), degrees."""
    return _SYSTEM.inverse(code, northing, easting, units)


def zone_names():
    """The zone names, in table order."""
    return _kelvane.spc83_zone_names().splitlines()
