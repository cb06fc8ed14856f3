# SPDX-License-Identifier: Apache-2.0
import glob
import importlib.util
import os
import pickle

import pytest

import corvuna
import corvuna.dask

dask = pytest.importorskip("dask")
dd = pytest.importorskip("dask.dataframe")
db = pytest.importorskip("dask.bag")
distributed = pytest.importorskip("dask.distributed")
pd = pytest.importorskip("pandas")


@pytest.fixture(scope="module")
def client():
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as c:
        yield c


def test_the_functions_pickle():
    for f in (corvuna.dask.decode_bag, corvuna.dask.decode_frame, corvuna.dask.decode_partition,
              corvuna.dask.decode_frame_partition):
        assert pickle.loads(pickle.dumps(f)) is f


def test_a_frame_read_from_csv_is_decoded_on_two_workers(client, corpus, tmp_path):
    rows = corpus * 20
    path = tmp_path / "messages.tsv"
    with open(path, "w") as f:
        f.write("direction\thex\n")
        f.writelines(f"{d}\t{m.hex()}\n" for d, m in rows)
    frame = dd.read_csv(str(path), sep="\t", blocksize=256 * 1024, dtype={"direction": "int64", "hex": "object"})
    assert frame.npartitions >= 4
    result = corvuna.dask.decode_frame(frame).compute()
    serial = [corvuna.decode(m, d) for d, m in rows]
    assert list(result["document"]) == serial
    assert list(result["hex"]) == [m.hex() for _, m in rows]
    # Both workers took part.
    assert len(client.scheduler_info()["workers"]) == 2


def test_a_bag_keeps_its_order(client, corpus):
    rows = [(d, m) for d, m in corpus[:400]]
    bag = db.from_sequence(rows, npartitions=7)
    assert corvuna.dask.decode_bag(bag).compute() == [corvuna.decode(m, d) for d, m in rows]


def test_a_frame_without_the_columns_is_refused():
    import pandas as pd
    frame = dd.from_pandas(pd.DataFrame({"dir": [1], "hex": ["075e"]}), npartitions=1)
    with pytest.raises(ValueError, match="no column 'direction'"):
        corvuna.dask.decode_frame(frame)


CAPTURES = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                        "..", "shared", "captures")


def _same(left, right):
    """Two frames of records with the same rows, compared as text."""
    left, right = left.reset_index(drop=True), right.reset_index(drop=True)
    assert list(left.columns) == list(right.columns)
    assert len(left) == len(right)
    assert (left.astype(str) == right.astype(str)).all().all()


def test_captures_are_read_on_two_workers_as_the_serial_reader_reads_them(client):
    paths = sorted(glob.glob(os.path.join(CAPTURES, "*.pcap*")))
    if not paths:
        pytest.skip(f"no shared captures in {CAPTURES}")
    frame = corvuna.dask.read_captures(os.path.join(CAPTURES, "*.pcap*"), user_dlt={150: "s1ap"})
    assert frame.npartitions == len(paths)
    serial = pd.concat([corvuna.read_frame(p, user_dlt={150: "s1ap"}) for p in paths], ignore_index=True)
    _same(frame.compute(), serial)
    # The questions the frame is for, answered on the workers.
    causes = frame[~frame["cause"].isna()].groupby(["plmn", "cause_text"], observed=True).size().compute()
    expected = serial[serial["cause"].notna()].groupby(["plmn", "cause_text"], observed=True).size()
    assert causes.sort_index().to_dict() == expected.sort_index().to_dict() and expected.sum() > 10
    assert len(client.scheduler_info()["workers"]) == 2


def test_a_capture_split_in_frame_ranges_reads_as_a_whole(client):
    path = os.path.join(CAPTURES, "s1ap_o5gs_testepc.pcapng")
    if not os.path.isfile(path):
        pytest.skip(f"the shared capture {path} is not there")
    frame = corvuna.dask.read_captures(path, partition_frames=100, partition_bytes=0)
    assert frame.npartitions == 7
    _same(frame.compute(), corvuna.read_frame(path))


def test_a_capture_that_cannot_be_read_fails_or_is_skipped(client, tmp_path):
    bad = tmp_path / "bad.pcap"
    bad.write_text("not a capture\n")
    with pytest.raises(corvuna.CaptureError, match="bad.pcap: not a pcap"):
        corvuna.dask.read_captures(str(bad)).compute()
    with pytest.warns(RuntimeWarning, match="bad.pcap"):
        assert len(corvuna.dask.read_captures(str(bad), on_error="skip").compute(scheduler="sync")) == 0


def test_the_frame_goes_to_parquet(client, tmp_path):
    if not any(importlib.util.find_spec(m) for m in ("pyarrow", "fastparquet")):
        pytest.skip("no Parquet engine (pyarrow or fastparquet) is installed: Debian 12 packages neither")
    path = os.path.join(CAPTURES, "s1ap_o5gs_testepc.pcapng")
    frame = corvuna.dask.read_captures(path)
    frame.to_parquet(str(tmp_path / "nas"))
    back = dd.read_parquet(str(tmp_path / "nas")).compute()
    assert len(back) == len(frame) and list(back["frame"]) == list(frame["frame"].compute())
