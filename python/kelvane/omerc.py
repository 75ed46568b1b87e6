"""Hotine oblique Mercator with the grid origin at the projection centre."""

from . import _kelvane
from ._ellipsoids import axes
from ._vector import broadcast, shaped


def forward(lat, lon, latc, lonc, azimuth, gamma_c, k0, fe=0.0, fn=0.0, ellipsoid="grs80"):
    """Latitude, longitude (degrees) -> (northing, easting, k, gamma). The centre latc, lonc,
    the azimuth of the central line and the rectified grid angle gamma_c are degrees."""
    return _convert(lat, lon, False, latc, lonc, azimuth, gamma_c, k0, fe, fn, ellipsoid,
                    ("northing", "easting", "k", "gamma"))


def inverse(northing, easting, latc, lonc, azimuth, gamma_c, k0, fe=0.0, fn=0.0, ellipsoid="grs80"):
    """Northing, easting (m) -> (lat, lon, k, gamma), degrees."""
    return _convert(northing, easting, True, latc, lonc, azimuth, gamma_c, k0, fe, fn, ellipsoid,
                    ("lat", "lon", "k", "gamma"))


def _convert(u, v, inv, latc, lonc, azimuth, gamma_c, k0, fe, fn, ellipsoid, fields):
    a, f = axes(ellipsoid)
    shape, (x, y) = broadcast(u, v)
    return shaped(shape, fields, _kelvane.omerc_convert(x, y, inv, float(latc), float(lonc), float(azimuth),
                                                        float(gamma_c), float(k0), float(fe), float(fn), a, f))
