"""Broadcasting and result records shared by every family of the kelvane module."""

import numpy as np


class Result(tuple):
    """The arrays of one vectorised call, in a fixed order, also reachable by name.

    Unpacks like a tuple of its named arrays (``n, e, k, gamma, zone = forward(...)``);
    ``ok`` (True where the point converted) and ``status`` (the library's own code per
    point, 0 for success) are attributes, not tuple items. A point that failed reads NaN
    in every floating output.
    """

    _fields = ()

    def __new__(cls, fields, arrays, status, ok=None):
        self = super().__new__(cls, arrays)
        self._fields = tuple(fields)
        self.status = status
        self.ok = status == 0 if ok is None else ok
        return self

    def __getattr__(self, name):
        try:
            return self[self._fields.index(name)]
        except ValueError:
            raise AttributeError(name) from None

    def __repr__(self):
        inner = ", ".join(f"{f}={v!r}" for f, v in zip(self._fields, self))
        return f"Result({inner}, ok={self.ok!r})"


def broadcast(*values, dtypes=None):
    """Broadcasts the arguments against each other; returns the common shape and one 1-D
    array per argument (float64 unless dtypes says otherwise). A scalar or an array that
    already has the common shape comes back as a view (a scalar with stride 0), so the
    compiled loops that read through strides see no copy; the others copy it themselves."""
    arrays = []
    for i, v in enumerate(values):
        a = np.asarray(v)
        dtype = np.float64 if dtypes is None or dtypes[i] is None else dtypes[i]
        if dtype is np.int32 and a.dtype.kind == "f":
            if np.any(a != np.floor(a)):
                raise ValueError("kelvane: zone codes must be whole numbers")
        arrays.append(np.asarray(a, dtype=dtype))
    arrays = np.broadcast_arrays(*arrays)
    shape = arrays[0].shape if arrays else ()
    return shape, [a.reshape(-1) for a in arrays]


def shaped(shape, fields, outputs, warnings=0):
    """A Result from the compiled call's output arrays (the last one is the status). A
    status with only `warnings` bits set counts as converted."""
    *arrays, status = outputs
    arrays = [np.asarray(a).reshape(shape) for a in arrays]
    status = np.asarray(status).reshape(shape)
    if shape == ():
        arrays = [a[()] for a in arrays]
        status = status[()]
    ok = (status & ~warnings) == 0 if warnings else None
    return Result(fields, arrays, status, ok)


def codes(values, invalid, what):
    """Checks whole-number zone codes; raises ValueError naming the first unknown one."""
    arr = np.asarray(values)
    if arr.dtype.kind not in "iuf":
        raise ValueError(f"kelvane: {what} codes must be numbers")
    for code in np.unique(arr):
        if code != int(code) or invalid(int(code)):
            raise ValueError(f"kelvane: unknown {what} zone code {code!r}")
    return arr
