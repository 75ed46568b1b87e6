"""Four- and seven-parameter 3D similarity transformations by iterated least squares.

Parameters are in the library's units: scale as a plain factor (1 + ppm 1e-6), rotations
in radians (coordinate-frame convention), translations in the coordinates' unit."""

import numpy as np

from . import _kelvane
from ._vector import broadcast, shaped


class Fit:
    """A solution: parameters and their standard errors (dicts by name), sigma0 squared
    (variance), sigma0, the residual measure and the residuals (n, 3) of the condition
    equations of the last pass."""

    def __init__(self, d, n):
        names = list(d["names"])
        self.params = len(names)
        self.parameters = dict(zip(names, d["values"]))
        self.standard_errors = dict(zip(names, d["errors"]))
        self.variance = d["variance"]
        self.sigma0 = d["sigma0"]
        self.residual_measure = d["residual_measure"]
        self.residuals = np.asarray(d["residuals"]).reshape(n, 3)
        self.ok = bool(np.isfinite(self.variance))

    def values(self):
        """The parameters in the order of apply(): scale, rx, ry, rz, tx, ty, tz (seven)
        or scale, tx, ty, tz (four)."""
        order = ("scale", "rx", "ry", "rz", "tx", "ty", "tz") if self.params == 7 else ("scale", "tx", "ty", "tz")
        return [self.parameters[k] for k in order]

    def apply(self, x, y, z):
        return apply(self.values(), x, y, z)


def fit(source, target, sigmas=1.0, params=7):
    """Solves the parameters from control points: source and target (n, 3) arrays,
    sigmas broadcastable to (n, 6) (sx, sy, sz of the source, then sX, sY, sZ of the
    target; all positive)."""
    src = np.asarray(source, dtype=np.float64)
    dst = np.asarray(target, dtype=np.float64)
    if src.ndim != 2 or src.shape[1] != 3 or dst.shape != src.shape:
        raise ValueError("kelvane: source and target must be (n, 3) arrays of equal shape")
    if params not in (4, 7):
        raise ValueError("kelvane: params must be 4 or 7")
    n = src.shape[0]
    try:
        sig = np.broadcast_to(np.asarray(sigmas, dtype=np.float64), (n, 6))
    except ValueError:
        raise ValueError("kelvane: sigmas must broadcast to (n, 6)") from None
    if np.any(~(sig > 0)):
        raise ValueError("kelvane: standard deviations must be positive")
    rows = np.empty((n, 12))
    rows[:, 0:6:2] = src
    rows[:, 1:6:2] = sig[:, :3]
    rows[:, 6:12:2] = dst
    rows[:, 7:12:2] = sig[:, 3:]
    return Fit(_kelvane.helmert_fit(rows, params), n)


def apply(parameters, x, y, z):
    """Transforms points with known parameters (order as Fit.values())."""
    p = [float(v) for v in parameters]
    if len(p) not in (4, 7):
        raise ValueError("kelvane: give 4 or 7 parameters")
    shape, (X, Y, Z) = broadcast(x, y, z)
    return shaped(shape, ("x", "y", "z"), _kelvane.helmert_apply(p, X, Y, Z))
