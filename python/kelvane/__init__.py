"""Kelvane: coordinate conversions for surveying and mapping, vectorised over NumPy arrays.

Each family is a submodule with functions over arrays of any shape (scalars broadcast
against arrays), angles in decimal degrees with longitudes positive east, lengths in
metres (US survey feet for spc27 grid coordinates). Every call returns a Result: a tuple
of output arrays, also reachable by name, with ``ok`` (a boolean mask) and ``status``
(the library's code per point). A point that fails reads NaN; it never raises. Bad
arguments (unknown zone codes, wrong shapes) raise ValueError.
"""

from . import cassini, danish, eov, geocentric, geoid, helmert, krovak, lcc, omerc, spc27, spc83, stereo, tm, utm
from ._vector import Result

__all__ = ["Result", "cassini", "danish", "eov", "geocentric", "geoid", "helmert", "krovak", "lcc", "omerc", "spc27",
           "spc83", "stereo", "tm", "utm"]
