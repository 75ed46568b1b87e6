"""Transverse Mercator on parameters of its own, or in a UTM zone of either hemisphere."""

from . import _kelvane
from ._ellipsoids import axes
from ._vector import broadcast, shaped


def forward(lat, lon, lat0=0.0, lon0=0.0, k0=1.0, fe=0.0, fn=0.0, ellipsoid="grs80", utm_zone=None, south=False):
    """Latitude, longitude (degrees) -> (northing, easting, k, gamma). The projection is
    lat0, lon0 (degrees, lon0 positive east), k0 and the false origin fe, fn (m), or the
    UTM zone utm_zone (1..60) with south for the southern hemisphere."""
    return _convert(lat, lon, False, lat0, lon0, k0, fe, fn, ellipsoid, utm_zone, south,
                    ("northing", "easting", "k", "gamma"))


def inverse(northing, easting, lat0=0.0, lon0=0.0, k0=1.0, fe=0.0, fn=0.0, ellipsoid="grs80", utm_zone=None,
            south=False):
    """Northing, easting (m) -> (lat, lon, k, gamma), degrees."""
    return _convert(northing, easting, True, lat0, lon0, k0, fe, fn, ellipsoid, utm_zone, south,
                    ("lat", "lon", "k", "gamma"))


def _convert(u, v, inv, lat0, lon0, k0, fe, fn, ellipsoid, utm_zone, south, fields):
    a, f = axes(ellipsoid)
    shape, (x, y) = broadcast(u, v)
    if utm_zone is not None:
        return shaped(shape, fields, _kelvane.tm_utm_convert(x, y, inv, int(utm_zone), bool(south), a, f))
    return shaped(shape, fields, _kelvane.tm_convert(x, y, inv, float(lat0), float(lon0), float(k0), float(fe),
                                                     float(fn), a, f))
