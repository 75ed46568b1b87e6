"""The Dask example converts a generated file in several partitions and gives the same
numbers as one call over all points."""

import os
import runpy

import numpy as np
import pytest

import kelvane

dd = pytest.importorskip("dask.dataframe")
pd = pytest.importorskip("pandas")


def test_partitioned_conversion_equals_the_single_call(tmp_path):
    example = runpy.run_path(os.path.join(os.environ["KELVANE_SOURCE_DIR"], "examples", "dask_convert.py"))
    rng = np.random.default_rng(1)
    n = 5000
    frame = pd.DataFrame({"id": np.arange(n), "lat": rng.uniform(-80, 84, n),
                          "lon": rng.uniform(-180, 180, n), "h": rng.uniform(0, 100, n)})
    frame.loc[17, "lat"] = np.nan  # one bad point among thousands
    source = tmp_path / "points.csv"
    frame.to_csv(source, index=False)
    out = tmp_path / "utm.csv"
    assert example["main"]([str(source), str(out), "--blocksize", "40KB"]) == 0
    assert dd.read_csv(str(source), blocksize="40KB").npartitions > 3

    got = pd.read_csv(out)
    want = kelvane.utm.forward(pd.read_csv(source)["lat"].to_numpy(), pd.read_csv(source)["lon"].to_numpy())
    assert got["id"].tolist() == list(range(n))
    np.testing.assert_array_equal(got["ok"].to_numpy(), want.ok)
    ok = want.ok
    np.testing.assert_allclose(got["northing"].to_numpy()[ok], want.northing[ok], rtol=0, atol=1e-6)
    np.testing.assert_allclose(got["easting"].to_numpy()[ok], want.easting[ok], rtol=0, atol=1e-6)
    np.testing.assert_array_equal(got["zone"].to_numpy()[ok], want.zone[ok])
    assert not got["ok"][17] and np.isnan(got["northing"][17])
