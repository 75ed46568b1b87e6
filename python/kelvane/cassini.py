"""Cassini-Soldner, ellipsoidal series form. Lengths are in the unit of the ellipsoid's
semi-major axis (metres for a named ellipsoid; give (a, f) in links for a grid in links).

``status`` is the library's error word per point. Its 0x100 bit is a warning (the point lies
more than 4 degrees of longitude from the central meridian, where the series loses
accuracy): such points are converted and ``ok``. The library keeps one parameter set per
process, so calls from several threads take turns."""

from . import _kelvane
from ._ellipsoids import axes
from ._vector import broadcast, shaped

FAR_FROM_MERIDIAN = 0x100


def forward(lat, lon, lat0, lon0, fe=0.0, fn=0.0, ellipsoid="grs80"):
    """Latitude, longitude (degrees, positive east) -> (northing, easting). lat0, lon0: the
    origin (degrees, lon0 positive east). Bad parameters raise ValueError."""
    return _convert(lat, lon, False, lat0, lon0, fe, fn, ellipsoid, ("northing", "easting"))


def inverse(northing, easting, lat0, lon0, fe=0.0, fn=0.0, ellipsoid="grs80"):
    """Northing, easting -> (lat, lon) in degrees."""
    return _convert(northing, easting, True, lat0, lon0, fe, fn, ellipsoid, ("lat", "lon"))


def _convert(u, v, inv, lat0, lon0, fe, fn, ellipsoid, fields):
    a, f = axes(ellipsoid)
    shape, (p, q) = broadcast(u, v)
    return shaped(shape, fields, _kelvane.cassini_convert(p, q, inv, float(lat0), float(lon0), float(fe), float(fn),
                                                          a, f), warnings=FAR_FROM_MERIDIAN)
