"""Oblique (double) stereographic through a conformal sphere on any centre, and the New
Brunswick grid (GRS 80, centre 46.5 N 66.5 W, k0 0.999912, false origin 2 500 000 /
7 500 000 m) built on it."""

from . import _kelvane
from ._ellipsoids import axes
from ._vector import broadcast, shaped


def forward(lat, lon, lat0, lon0, k0, fe=0.0, fn=0.0, ellipsoid="grs80"):
    """Latitude, longitude (degrees) -> (northing, easting, k, gamma). lat0, lon0: the
    projection centre (degrees, lon0 positive east); k0 the scale there; fe, fn (m)."""
    return _convert(lat, lon, False, lat0, lon0, k0, fe, fn, ellipsoid, ("northing", "easting", "k", "gamma"))


def inverse(northing, easting, lat0, lon0, k0, fe=0.0, fn=0.0, ellipsoid="grs80"):
    """Northing, easting (m) -> (lat, lon, k, gamma), degrees."""
    return _convert(northing, easting, True, lat0, lon0, k0, fe, fn, ellipsoid, ("lat", "lon", "k", "gamma"))


def new_brunswick_forward(lat, lon):
    """Latitude, longitude (degrees) -> New Brunswick (northing, easting, k, gamma)."""
    shape, (p, q) = broadcast(lat, lon)
    return shaped(shape, ("northing", "easting", "k", "gamma"), _kelvane.new_brunswick_convert(p, q, False))


def new_brunswick_inverse(northing, easting):
    """New Brunswick northing, easting (m) -> (lat, lon, k, gamma), degrees."""
    shape, (p, q) = broadcast(northing, easting)
    return shaped(shape, ("lat", "lon", "k", "gamma"), _kelvane.new_brunswick_convert(p, q, True))


def _convert(u, v, inv, lat0, lon0, k0, fe, fn, ellipsoid, fields):
    a, f = axes(ellipsoid)
    shape, (p, q) = broadcast(u, v)
    return shaped(shape, fields, _kelvane.stereo_convert(p, q, inv, float(lat0), float(lon0), float(k0), float(fe),
                                                         float(fn), a, f))
