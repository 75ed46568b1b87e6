"""Each family against the library's own results on the same points, the NaN/status
contract, shapes and broadcasting."""

import math

import numpy as np
import pytest

import kelvane

DEG = 180.0 / math.pi  # radians to degrees, the factor the module uses
GRS80 = kelvane._ellipsoids.axes("grs80")
# Points spread over the UTM zones of both hemispheres (degrees), with awkward ones:
# a zone boundary, the equator, the Norway and Svalbard latitudes, near the antimeridian.
POINTS = [(52.520008, 13.404954), (-33.8688, 151.2093), (0.0, 3.0), (60.0, 6.0),
          (78.2, 15.6), (-45.0, -179.9), (38.628155, -90.220845), (10.5, -66.9)]


@pytest.mark.parametrize("lat,lon", POINTS)
def test_utm_matches_the_library_bit_for_bit(clib, lat, lon):
    ell = clib.ellipsoid(*GRS80)
    s, p = clib.utm_forward(lat, lon, 0, ell)
    r = kelvane.utm.forward(lat, lon)
    assert s == 0 and r.ok
    assert (r.northing, r.easting, r.k, r.zone) == (p.northing, p.easting, p.gridScale, p.utmZone)
    assert r.gamma == p.convergence * DEG
    s, q = clib.utm_inverse(p.northing, p.easting, p.utmZone, ell)
    back = kelvane.utm.inverse(r.northing, r.easting, r.zone)
    assert (back.lat, back.lon) == (q.lat * DEG, q.lon * DEG)


def test_utm_arrays_of_points_and_zones_equal_one_call_per_point():
    lat, lon = np.array([p[0] for p in POINTS]), np.array([p[1] for p in POINTS])
    r = kelvane.utm.forward(lat, lon)  # the points' zones change from one point to the next
    back = kelvane.utm.inverse(r.northing, r.easting, r.zone)
    for i in range(len(POINTS)):
        one = kelvane.utm.inverse(r.northing[i], r.easting[i], r.zone[i])
        assert (back.lat[i], back.lon[i], back.k[i], back.gamma[i]) == tuple(one)


@pytest.mark.parametrize("code,lat,lon", [(101, 33.0, -86.0), (4803, 31.0, -99.0),
                                          (5001, 57.0, -134.0), (2600, 36.5, -116.0)])
def test_spc83_matches_the_library_in_every_unit(clib, code, lat, lon):
    s, p = clib.spc83_forward(code, lat, lon)
    assert s == 0
    m = kelvane.spc83.forward(code, lat, lon)
    assert (m.northing, m.easting) == (p.northing, p.easting)
    us = kelvane.spc83.forward(code, lat, lon, units="us-ft")
    assert us.northing == pytest.approx(p.northing * 3937 / 1200, rel=1e-15)
    ft = kelvane.spc83.forward(code, lat, lon, units="ft")
    assert ft.easting == pytest.approx(p.easting / 0.3048, rel=1e-15)
    back = kelvane.spc83.inverse(code, us.northing, us.easting, units="us-ft")
    assert back.lat == pytest.approx(lat, abs=1e-10) and back.lon == pytest.approx(lon, abs=1e-10)


@pytest.mark.parametrize("code,lat,lon", [(101, 33.0, -86.0), (4204, 30.5, -99.0), (5001, 57.0, -134.0)])
def test_spc27_matches_the_library_with_east_positive_longitudes(clib, code, lat, lon):
    s, p = clib.spc27_forward(code, lat, lon)
    assert s == 0
    r = kelvane.spc27.forward(code, lat, lon)
    assert (r.northing, r.easting, r.k) == (p.northing, p.easting, p.gridScale)
    back = kelvane.spc27.inverse(code, r.northing, r.easting)
    assert back.lon == pytest.approx(lon, abs=1e-9)
    metres = kelvane.spc27.forward(code, lat, lon, units="m")
    assert metres.northing == pytest.approx(p.northing * 1200 / 3937, rel=1e-15)


def test_geocentric_matches_the_library_and_round_trips(clib):
    ell = clib.ellipsoid(*GRS80)
    lat, lon, h = np.array([45.0, -89.9, 0.0]), np.array([7.0, 10.0, -120.0]), np.array([100.0, -50.0, 8000.0])
    r = kelvane.geocentric.forward(lat, lon, h)
    for i in range(3):
        _, p = clib.to_geocentric(lat[i], lon[i], h[i], ell)
        assert (r.x[i], r.y[i], r.z[i]) == (p.easting, p.northing, p.elev)
    back = kelvane.geocentric.inverse(r.x, r.y, r.z)
    np.testing.assert_allclose(back.lat, lat, atol=1e-10)
    np.testing.assert_allclose(back.h, h, atol=1e-4)
    enu = kelvane.geocentric.to_enu(lat, lon, 1.0, 2.0, 3.0)
    np.testing.assert_allclose(np.sqrt(enu.east**2 + enu.north**2 + enu.up**2), math.sqrt(14), rtol=1e-14)
    d = kelvane.geocentric.from_enu(lat, lon, enu.east, enu.north, enu.up)
    np.testing.assert_allclose(np.stack(d), np.broadcast_to([[1.0], [2.0], [3.0]], (3, 3)), atol=1e-12)


def test_shapes_broadcast_and_one_bad_point_does_not_spoil_the_rest():
    lat = np.array([[52.0, np.nan], [91.0, -33.0]])
    r = kelvane.utm.forward(lat, 13.0)
    assert r.northing.shape == (2, 2) and r.zone.shape == (2, 2)
    assert r.ok.tolist() == [[True, False], [False, True]]
    assert np.isnan(r.northing[0, 1]) and np.isnan(r.easting[1, 0])
    assert r.status[0, 0] == 0 and r.status[0, 1] != 0
    n, e, k, gamma, zone = r  # unpacks like the tuple it is
    assert zone[0, 0] == 33 and zone[1, 1] == 93
    view = np.linspace(-60.0, 60.0, 9)[::-2]  # inputs read in place through negative and zero strides
    np.testing.assert_array_equal(kelvane.utm.forward(view, 13.0).easting,
                                  kelvane.utm.forward(view.copy(), [13.0] * 5).easting)
    scalar = kelvane.utm.forward(52.0, 13.0, zone=33)
    assert np.ndim(scalar.northing) == 0 and scalar.ok


@pytest.mark.parametrize("call", [
    lambda: kelvane.utm.forward(52.0, 13.0, zone=121),
    lambda: kelvane.utm.inverse(0.0, 500000.0, zone=0),
    lambda: kelvane.utm.forward([1.0, 2.0], [1.0, 2.0, 3.0]),
    lambda: kelvane.spc83.forward(9999, 33.0, -86.0),
    lambda: kelvane.spc83.forward(101, 33.0, -86.0, units="yards"),
    lambda: kelvane.spc27.forward(101.5, 33.0, -86.0),
    lambda: kelvane.geocentric.forward(0, 0, 0, ellipsoid="mars"),
    lambda: kelvane.helmert.fit(np.zeros((3, 2)), np.zeros((3, 2))),
    lambda: kelvane.geoid.Model("/nonexistent", 40),
])
def test_bad_arguments_raise_value_error(call):
    with pytest.raises(ValueError):
        call()


def test_helmert_recovers_known_parameters():
    rng = np.random.default_rng(7)
    src = rng.uniform(-1000, 1000, (6, 3)) + [4.0e6, 1.0e6, 4.8e6]
    truth = [1.0 + 5e-6, 2e-6, -1e-6, 3e-6, 100.0, -50.0, 20.0]
    dst = np.stack(kelvane.helmert.apply(truth, src[:, 0], src[:, 1], src[:, 2]), axis=1)
    fit = kelvane.helmert.fit(src, dst, sigmas=0.01, params=7)
    assert fit.ok and fit.residuals.shape == (6, 3)
    assert fit.parameters["scale"] == pytest.approx(truth[0], abs=1e-9)
    assert fit.parameters["tx"] == pytest.approx(100.0, abs=1e-3)
    moved = fit.apply(src[:, 0], src[:, 1], src[:, 2])
    np.testing.assert_allclose(np.stack(moved, axis=1), dst, atol=1e-4)
    four = kelvane.helmert.fit(src, dst, sigmas=0.01, params=4)
    assert set(four.parameters) == {"scale", "tx", "ty", "tz"}


def test_geoid_context_manager_closes_on_exceptions(tmp_path):
    # A one-cell EGM96-named grid: 10x10 degrees of constant height 12.5.
    lines = ["0", "0", "10", "10", "1", "1"] + ["12.5"] * 4
    (tmp_path / "egm96.grd").write_text("\n".join(lines) + "\n")
    folder = str(tmp_path) + "/"
    with pytest.raises(RuntimeError):
        with kelvane.geoid.Model(folder, 4) as m:
            r = m.height([5.0, 50.0], [5.0, 5.0])
            assert r.ok.tolist() == [True, False] and r.height[0] == pytest.approx(12.5)
            raise RuntimeError("boom")
    assert not m.is_open
    with kelvane.geoid.Model(folder, 4) as again:  # a second open works: the first closed
        assert again.height(5.0, 5.0).ok
    with pytest.raises(ValueError):
        m.height(5.0, 5.0)
    assert kelvane.geoid.name(4) == "EGM96"
