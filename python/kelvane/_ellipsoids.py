"""Ellipsoids by name, or as (a, f) for any other."""

from . import _kelvane


def axes(ellipsoid):
    """(semi-major axis in metres, flattening) of a named ellipsoid or an (a, f) pair."""
    if isinstance(ellipsoid, str):
        found = _kelvane.ellipsoid_axes(ellipsoid.lower())
        if found is None:
            raise ValueError(f"kelvane: unknown ellipsoid {ellipsoid!r}; known: "
                             + ", ".join(_kelvane.ellipsoid_names()))
        return found
    try:
        a, f = (float(v) for v in ellipsoid)
    except (TypeError, ValueError):
        raise ValueError("kelvane: an ellipsoid is a name or an (a, f) pair") from None
    if not (a > 0 and 0 <= f < 1):
        raise ValueError("kelvane: an ellipsoid needs a > 0 and 0 <= f < 1")
    return a, f
