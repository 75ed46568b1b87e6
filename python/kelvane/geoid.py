"""Geoid heights from the text grid files of the 39 geoid models.

The library keeps one geoid context per process, so one Model is open at a time::

    with kelvane.geoid.Model("grids/", 4) as egm96:
        n = egm96.height(lat, lon)        # Result with .height, .ok and .status

The context is closed when the block ends, by an exception too."""

from . import _kelvane
from ._vector import broadcast, shaped

FIRST_MODEL, LAST_MODEL = 1, 39

_open_model = None


def name(model):
    """The name of model 1..39."""
    if not FIRST_MODEL <= int(model) <= LAST_MODEL:
        raise ValueError(f"kelvane: geoid model must be 1..39, not {model!r}")
    return _kelvane.geoid_name(int(model))


class Model:
    """One geoid model in one folder; open on entry (or open()), closed on exit."""

    def __init__(self, folder, model):
        if not FIRST_MODEL <= int(model) <= LAST_MODEL:
            raise ValueError(f"kelvane: geoid model must be 1..39, not {model!r}")
        self.folder = str(folder)
        self.model = int(model)
        self.is_open = False

    def open(self):
        global _open_model
        if _open_model is not None and _open_model is not self:
            raise ValueError("kelvane: another geoid model is open; close it first")
        status = _kelvane.geoid_open(self.folder, self.model)
        if status != 0:
            raise ValueError(f"kelvane: cannot open geoid model {self.model} ({name(self.model)}) "
                             f"in {self.folder!r}: the model's grid files are not there")
        self.is_open = True
        _open_model = self
        return self

    def close(self):
        global _open_model
        if self.is_open:
            _kelvane.geoid_close()
            self.is_open = False
            _open_model = None

    def __enter__(self):
        return self.open()

    def __exit__(self, *exc):
        self.close()
        return False

    def height(self, lat, lon):
        """Geoid heights at latitude, longitude (degrees): Result with .height; points
        outside the model or without data read NaN with status from the library (-1..-5)."""
        if not self.is_open:
            raise ValueError("kelvane: the geoid model is not open")
        shape, (la, lo) = broadcast(lat, lon)
        return shaped(shape, ("height",), _kelvane.geoid_height(la, lo))
