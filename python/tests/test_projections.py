"""The projections on parameters of their own, against published examples (the numbers
the C library's own tests reproduce), both directions, and the EOV shift round trip."""

import numpy as np
import pytest

import kelvane

AIRY = (6377563.396, 1 / 299.3249646)
EVEREST = (6377298.556, 1 / 300.8017)


def dms(d, m=0.0, s=0.0):
    return d + m / 60 + s / 3600


# (family call forward, call inverse, input, expected output, tolerance in metres, source)
ROWS = [
    ("British National Grid",
     lambda la, lo: kelvane.tm.forward(la, lo, 49.0, -2.0, 0.9996012717, 400000.0, -100000.0, AIRY),
     lambda n, e: kelvane.tm.inverse(n, e, 49.0, -2.0, 0.9996012717, 400000.0, -100000.0, AIRY),
     (50.5, 0.5), (69740.4923, 577274.9838), 1e-3),
    ("RSO Borneo (Timbalai 1948)",
     lambda la, lo: kelvane.omerc.forward(la, lo, 4.0, 115.0, dms(53, 18, 56.9537), dms(53, 7, 48.3685), 0.99984,
                                          590476.87, 442857.65, EVEREST),
     lambda n, e: kelvane.omerc.inverse(n, e, 4.0, 115.0, dms(53, 18, 56.9537), dms(53, 7, 48.3685), 0.99984,
                                        590476.87, 442857.65, EVEREST),
     (dms(5, 23, 14.1129), dms(115, 48, 19.8196)), (596562.78, 679245.73), 0.01),
]


@pytest.mark.parametrize("name,fwd,inv,geo,grid,tol", ROWS, ids=[r[0] for r in ROWS])
def test_published_examples_both_ways(name, fwd, inv, geo, grid, tol):
    r = fwd(*geo)
    assert r.ok, name
    assert r.northing == pytest.approx(grid[0], abs=tol) and r.easting == pytest.approx(grid[1], abs=tol)
    back = inv(r.northing, r.easting)
    assert back.lat == pytest.approx(geo[0], abs=1e-9) and back.lon == pytest.approx(geo[1], abs=1e-9)


def test_lambert_snyder_example_and_bad_parallels():
    clarke = kelvane._ellipsoids.axes("clarke1866")
    r = kelvane.lcc.forward(35.0, -75.0, 23.0, -96.0, 45.0, 33.0, ellipsoid=clarke)
    assert r.easting == pytest.approx(1894410.8984, abs=1e-3) and r.northing == pytest.approx(1564649.4785, abs=1e-3)
    assert r.k == pytest.approx(0.99701714, abs=1e-8)
    back = kelvane.lcc.inverse(r.northing, r.easting, 23.0, -96.0, 45.0, 33.0, ellipsoid=clarke)
    assert (back.lat, back.lon, back.k) == pytest.approx((35.0, -75.0, r.k), abs=1e-10)
    bad = kelvane.lcc.forward([35.0, 40.0], -75.0, 23.0, -96.0, 30.0, -30.0)  # equal and opposite parallels
    assert not bad.ok.any() and np.isnan(bad.northing).all()


def test_utm_zone_through_the_stand_alone_record_equals_the_utm_wrapper():
    lat, lon = np.array([52.52, -33.87]), np.array([13.4, 13.9])
    tm = kelvane.tm.forward(lat, lon, utm_zone=33)
    utm = kelvane.utm.forward(lat, lon, zone=33)
    np.testing.assert_array_equal(tm.easting, utm.easting)
    south = kelvane.tm.forward(lat[1], lon[1], utm_zone=33, south=True)
    assert south.northing == utm.northing[1]
    with pytest.raises(ValueError):
        kelvane.tm.forward(0.0, 0.0, utm_zone=61)


def test_eov_round_trip_with_a_shift_and_one_bad_point():
    shift = [-52.684, 71.194, 13.975, -0.312, -0.1063, -0.3729, -1.0191]
    lat, lon, h = np.array([47.5, 46.2, np.nan]), np.array([19.05, 20.1, 19.0]), np.array([150.0, 90.0, 0.0])
    r = kelvane.eov.forward(lat, lon, h, shift)
    assert r.ok.tolist() == [True, True, False]
    assert 400000 < r.y[0] < 950000 and 30000 < r.x[0] < 370000
    back = kelvane.eov.inverse(r.y[:2], r.x[:2], r.h[:2], shift)
    np.testing.assert_allclose(back.lat, lat[:2], atol=1e-7)
    np.testing.assert_allclose(back.h, h[:2], atol=2e-3)
    with pytest.raises(ValueError):
        kelvane.eov.forward(47.5, 19.0, 0.0, shift[:3])
