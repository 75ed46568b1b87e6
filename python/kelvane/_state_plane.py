"""The part the two state plane systems share: zone codes checked up front, one code per
point broadcast against the coordinates, grid lengths turned between the caller's unit and
the library's (metres for 1983, US survey feet for 1927)."""

import numpy as np

from ._vector import broadcast, codes, shaped


class StatePlane:
    def __init__(self, name, convert, invalid, to_library, from_library):
        self.name = name                  # for messages: "state plane 1983"
        self.convert = convert            # the compiled loop (codes, u, v, inverse)
        self.invalid = invalid            # True for a code that is no zone
        self.to_library = to_library      # grid length in the caller's unit -> the library's
        self.from_library = from_library  # and back

    def forward(self, code, lat, lon, units):
        codes(code, self.invalid, self.name)
        shape, (c, la, lo) = broadcast(code, lat, lon, dtypes=[np.int32, None, None])
        r = self.convert(c, la, lo, False)
        r = (self.from_library(r[0], units), self.from_library(r[1], units)) + tuple(r[2:])
        return shaped(shape, ("northing", "easting", "k", "gamma"), r)

    def inverse(self, code, northing, easting, units):
        codes(code, self.invalid, self.name)
        shape, (c, n, e) = broadcast(code, self.to_library(northing, units), self.to_library(easting, units),
                                     dtypes=[np.int32, None, None])
        return shaped(shape, ("lat", "lon", "k", "gamma"), self.convert(c, n, e, True))
