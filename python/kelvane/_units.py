"""Length units of the state plane grids: both feet are defined exactly in metres."""

import numpy as np

_METRES_PER = {"m": 1.0, "us-ft": 1200.0 / 3937.0, "ft": 0.3048}


def _factor(units, allowed=("m", "us-ft", "ft")):
    if units not in allowed:
        raise ValueError(f"kelvane: units must be one of {', '.join(allowed)}, not {units!r}")
    return _METRES_PER[units]


def to_metres(value, units):
    return np.asarray(value, dtype=np.float64) * _factor(units)


def from_metres(value, units):
    return np.asarray(value) / _factor(units)


def to_us_feet(value, units):
    return np.asarray(value, dtype=np.float64) * (_factor(units, ("us-ft", "m")) / _METRES_PER["us-ft"])


def from_us_feet(value, units):
    return np.asarray(value) * (_METRES_PER["us-ft"] / _factor(units, ("us-ft", "m")))
