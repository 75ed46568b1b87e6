"""Geographic <-> Earth-centred Cartesian X Y Z, and local east/north/up frames."""

from . import _kelvane
from ._ellipsoids import axes
from ._vector import broadcast, shaped


def forward(lat, lon, h, ellipsoid="grs80"):
    """Latitude, longitude (degrees), ellipsoidal height (m) -> (x, y, z) in metres."""
    a, f = axes(ellipsoid)
    shape, (la, lo, he) = broadcast(lat, lon, h)
    return shaped(shape, ("x", "y", "z"), _kelvane.geocentric_convert(la, lo, he, False, a, f))


def inverse(x, y, z, ellipsoid="grs80"):
    """X, Y, Z (m) -> (lat, lon, h): degrees and metres."""
    a, f = axes(ellipsoid)
    shape, (X, Y, Z) = broadcast(x, y, z)
    return shaped(shape, ("lat", "lon", "h"), _kelvane.geocentric_convert(X, Y, Z, True, a, f))


def to_enu(lat0, lon0, dx, dy, dz):
    """A geocentric difference vector (m) -> (east, north, up) at the origin (degrees)."""
    shape, args = broadcast(lat0, lon0, dx, dy, dz)
    return shaped(shape, ("east", "north", "up"), _kelvane.local_frame(*args, False))


def from_enu(lat0, lon0, east, north, up):
    """Local east, north, up (m) at the origin (degrees) -> (dx, dy, dz)."""
    shape, args = broadcast(lat0, lon0, east, north, up)
    return shaped(shape, ("dx", "dy", "dz"), _kelvane.local_frame(*args, True))
