"""Hungarian EOV grid from and to WGS84, with a caller-given seven-parameter shift
(dx, dy, dz in metres, rx, ry, rz in arc-seconds, ds in ppm), as the library takes it:
the same parameters serve both directions (the inverse negates them itself)."""

from . import _kelvane
from ._vector import broadcast, shaped


def forward(lat, lon, h, shift):
    """WGS84 latitude, longitude (degrees), height (m) -> (y, x, h): EOV Y (easting), X
    (northing) and the height on the IUGG 1967 ellipsoid."""
    shape, (la, lo, he) = broadcast(lat, lon, h)
    return shaped(shape, ("y", "x", "h"), _kelvane.eov_convert(la, lo, he, False, [float(v) for v in shift]))


def inverse(y, x, h, shift):
    """EOV Y, X and the IUGG 1967 height (m) -> WGS84 (lat, lon, h), degrees and metres."""
    shape, (yy, xx, he) = broadcast(y, x, h)
    return shaped(shape, ("lat", "lon", "h"), _kelvane.eov_convert(yy, xx, he, True, [float(v) for v in shift]))
