"""The Danish grids from and to WGS84: System 34 Jylland and Sjaelland, System 45 Bornholm,
and the corrected UTM zone 32 on ED50 (a seven-parameter shift to ED50, UTM zone 32, and a
polynomial to the local grid with validity checks).

The local grids give y (growing west) and x (growing north); "utm32ed50" gives easting and
northing. Heights are ellipsoidal: WGS84 on one side, International 1924 (ED50) on the
other. Status per point: 0 converted, -1 outside the grid's validity polygon, -2 the
back-transformation misses by more than 0.04 m, -3 outside its validity rectangle (or
not a finite point)."""

from . import _kelvane
from ._vector import broadcast, shaped

GRIDS = ("jylland", "sjaelland", "bornholm", "utm32ed50")


def _grid(grid):
    try:
        return GRIDS.index(str(grid).lower())
    except ValueError:
        raise ValueError(f"kelvane: Danish grid must be one of {', '.join(GRIDS)}, not {grid!r}") from None


def forward(lat, lon, h, grid):
    """WGS84 latitude, longitude (degrees), height (m) -> (y, x, h) on a local grid, or
    (easting, northing, h) on "utm32ed50"; h is the ED50 height."""
    g = _grid(grid)
    fields = ("easting", "northing", "h") if g == 3 else ("y", "x", "h")
    shape, (la, lo, he) = broadcast(lat, lon, h)
    return shaped(shape, fields, _kelvane.danish_convert(la, lo, he, False, g))


def inverse(y, x, h, grid):
    """y, x (or easting, northing on "utm32ed50"), ED50 height (m) -> WGS84 (lat, lon, h),
    degrees and metres."""
    g = _grid(grid)
    shape, (a, b, he) = broadcast(y, x, h)
    return shaped(shape, ("lat", "lon", "h"), _kelvane.danish_convert(a, b, he, True, g))
