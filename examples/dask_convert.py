#!/usr/bin/env python3
"""Converts a large file of geographic points to UTM in partitions, with Dask.

    python3 examples/dask_convert.py points.csv utm.csv [--zone 0] [--blocksize 64MB]

The input is a CSV file with columns `lat` and `lon` (decimal degrees, longitude positive
east) and any others (IDs, heights, codes), which pass through unchanged. The output has
the same rows with `northing`, `easting`, `k`, `gamma` (degrees), `zone` and `ok` appended;
a point that cannot be converted reads NaN with ok False. A `.parquet` output name writes
Parquet instead (needs pyarrow).

Dask reads the file in blocks and converts each block with one vectorised call of the
kelvane module inside `map_partitions`; the module releases the GIL in its loops, so the
local threaded scheduler uses every core, and the same code runs unchanged on a
distributed cluster (start a `dask.distributed.Client` first and Dask uses it).
"""

import argparse
import sys

import numpy as np
import pandas as pd

import kelvane

OUTPUT_COLUMNS = {"northing": "f8", "easting": "f8", "k": "f8", "gamma": "f8", "zone": "i4", "ok": "bool"}


def convert_partition(frame, zone=0):
    """One partition: appends the UTM columns to a pandas DataFrame with lat and lon."""
    r = kelvane.utm.forward(frame["lat"].to_numpy(dtype=np.float64),
                            frame["lon"].to_numpy(dtype=np.float64), zone=zone)
    out = frame.copy()
    for name in ("northing", "easting", "k", "gamma", "zone"):
        out[name] = getattr(r, name)
    out["ok"] = r.ok
    return out


def convert(source, zone=0, blocksize="64MB"):
    """A lazy Dask DataFrame of the converted points of a CSV file (or a Dask DataFrame)."""
    import dask.dataframe as dd

    frame = dd.read_csv(source, blocksize=blocksize) if isinstance(source, str) else source
    meta = frame._meta.assign(**{c: pd.Series(dtype=t) for c, t in OUTPUT_COLUMNS.items()})
    return frame.map_partitions(convert_partition, zone=zone, meta=meta)


def main(argv=None):
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("input", help="CSV file with lat and lon columns (degrees)")
    p.add_argument("output", help="CSV (or .parquet) file to write")
    p.add_argument("--zone", type=int, default=0, help="UTM zone code 1..120; 0 chooses per point")
    p.add_argument("--blocksize", default="64MB", help="bytes of input per partition")
    p.add_argument("--scheduler", default="threads", help="Dask scheduler (threads, processes, synchronous)")
    a = p.parse_args(argv)
    result = convert(a.input, a.zone, a.blocksize)
    if a.output.endswith(".parquet"):
        result.to_parquet(a.output, compute_kwargs={"scheduler": a.scheduler})
    else:
        result.to_csv(a.output, single_file=True, index=False, compute_kwargs={"scheduler": a.scheduler})
    return 0


if __name__ == "__main__":
    sys.exit(main())
