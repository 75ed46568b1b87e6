#!/usr/bin/env python3
"""10^6 points to UTM through the kelvane Python module and through pyproj's Transformer,
in one run on the same arrays: ns per point and the ratio.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_utm_bench.py [n]

kelvane also returns the point scale factor and the meridian convergence of every point;
the Transformer returns only the coordinates. Each figure is the best of five runs, in CPU time of the process (steady on a busy machine)."""

import sys
import time

import numpy as np

import kelvane


def best(fn, repeats=5):
    times = []
    for _ in range(repeats):
        t0 = time.process_time()
        fn()
        times.append(time.process_time() - t0)
    return min(times)


def main():
    n = int(sys.argv[1]) if len(sys.argv) > 1 else 1_000_000
    rng = np.random.default_rng(0)
    lat = rng.uniform(-80.0, 84.0, n)
    lon = rng.uniform(12.0, 18.0, n)  # zone 33
    k_fixed = best(lambda: kelvane.utm.forward(lat, lon, zone=33))
    k_auto = best(lambda: kelvane.utm.forward(np.abs(lat), lon, zone=0))
    print(f"kelvane.utm.forward, zone 33:       {k_fixed / n * 1e9:7.1f} ns/point (with k and gamma)")
    print(f"kelvane.utm.forward, zone chosen:   {k_auto / n * 1e9:7.1f} ns/point")
    try:
        from pyproj import Transformer
    except ImportError:
        print("pyproj is not installed: no ratio")
        return 0
    t = Transformer.from_crs("+proj=longlat +ellps=GRS80", "+proj=utm +zone=33 +ellps=GRS80", always_xy=True)
    p = best(lambda: t.transform(lon, lat))
    e, nn = t.transform(lon, lat)
    r = kelvane.utm.forward(lat, lon, zone=33)
    north = np.where(lat < 0, r.northing - 10_000_000.0, r.northing)
    diff = max(np.max(np.abs(e - r.easting)), np.max(np.abs(nn - north)))
    print(f"pyproj Transformer, zone 33:        {p / n * 1e9:7.1f} ns/point (coordinates only)")
    print(f"ratio kelvane / pyproj:             {k_fixed / p:7.3f}  ({p / k_fixed:.1f}x faster); "
          f"largest difference {diff * 1000:.3f} mm")
    return 0


if __name__ == "__main__":
    sys.exit(main())
