# SPDX-License-Identifier: Apache-2.0
import pickle

import pytest

import corvuna
import corvuna.dask

dask = pytest.importorskip("dask")
dd = pytest.importorskip("dask.dataframe")
db = pytest.importorskip("dask.bag")
distributed = pytest.importorskip("dask.distributed")


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
