"""Krovak oblique conformal conic in its basic orientation: the Krovak X axis points
south and the Y axis west (the Czech and Slovak S-JTSK grid).

The library holds no Krovak constants; SJTSK gives the published ones for S-JTSK on
Bessel 1841 with Greenwich longitudes, e.g. ``krovak.forward(lat, lon, **krovak.SJTSK)``.
The point's longitudes and lon0 must share one prime meridian. The inverse finds the
latitude in three fixed passes from the centre latitude: good to about a centimetre
within two degrees of latitude of the centre, and no scale factor or convergence is given."""

from . import _kelvane
from ._ellipsoids import axes
from ._vector import broadcast, shaped

# S-JTSK: centre 49 deg 30', origin 24 deg 50' E of Greenwich (42 deg 30' E of Ferro), cone
# axis co-latitude 30 deg 17' 17.30311", pseudo standard parallel 78 deg 30', scale 0.9999.
SJTSK = {"lat_c": 49.5, "lon_0": 24.0 + 50.0 / 60.0, "alpha_c": 30.0 + 17.0 / 60.0 + 17.30311 / 3600.0,
         "lat_p": 78.5, "k_p": 0.9999, "ellipsoid": "bessel1841"}


def forward(lat, lon, lat_c, lon_0, alpha_c, lat_p, k_p, false_y=0.0, false_x=0.0, ellipsoid="bessel1841"):
    """Latitude, longitude (degrees, positive east) -> (y, x): Krovak Y (westing) and X
    (southing) in metres, each plus its false value. All angles are degrees."""
    return _convert(lat, lon, False, lat_c, lon_0, alpha_c, lat_p, k_p, false_y, false_x, ellipsoid, ("y", "x"))


def inverse(y, x, lat_c, lon_0, alpha_c, lat_p, k_p, false_y=0.0, false_x=0.0, ellipsoid="bessel1841"):
    """Krovak Y, X (m) -> (lat, lon) in degrees."""
    return _convert(y, x, True, lat_c, lon_0, alpha_c, lat_p, k_p, false_y, false_x, ellipsoid, ("lat", "lon"))


def _convert(u, v, inv, lat_c, lon_0, alpha_c, lat_p, k_p, false_y, false_x, ellipsoid, fields):
    a, f = axes(ellipsoid)
    shape, (p, q) = broadcast(u, v)
    return shaped(shape, fields, _kelvane.krovak_convert(p, q, inv, float(lat_c), float(lon_0), float(alpha_c),
                                                         float(lat_p), float(k_p), float(false_y), float(false_x),
                                                         a, f))
