"""Lambert conformal conic with two standard parallels, on parameters of its own."""

from . import _kelvane
from ._ellipsoids import axes
from ._vector import broadcast, shaped


def forward(lat, lon, lat0, lon0, lat1, lat2, fe=0.0, fn=0.0, ellipsoid="grs80"):
    """Latitude, longitude (degrees) -> (northing, easting, k, gamma). lat0, lon0: the grid
    origin (degrees, lon0 positive east); lat1, lat2: the standard parallels; fe, fn: the
    false origin (m). Parallels that leave the cone undefined fail every point."""
    a, f = axes(ellipsoid)
    shape, (x, y) = broadcast(lat, lon)
    return shaped(shape, ("northing", "easting", "k", "gamma"),
                  _kelvane.lcc_forward(x, y, float(lat0), float(lon0), float(lat1), float(lat2), float(fe), float(fn),
                                       a, f))


def inverse(northing, easting, lat0, lon0, lat1, lat2, fe=0.0, fn=0.0, ellipsoid="grs80"):
    """Northing, easting (m) -> (lat, lon, k, gamma), degrees; parameters as forward()."""
    a, f = axes(ellipsoid)
    shape, (x, y) = broadcast(northing, easting)
    return shaped(shape, ("lat", "lon", "k", "gamma"),
                  _kelvane.lcc_inverse(x, y, float(lat0), float(lon0), float(lat1), float(lat2), float(fe), float(fn),
                                       a, f))
