#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Speed of the Python package: the legacy document of every corpus message,
repeated, through corvuna.decode in a loop, decode_many on one thread and on
one per CPU, and corvuna.dask.decode_frame on a LocalCluster of one and of
two worker processes.  Best of three runs each, in messages/s.

Usage: bench-python.py CORPUS [REPEAT]   (the library: CORVUNA_LIBRARY)"""
import csv
import os
import sys
import time

import corvuna


def best(run, count):
    times = []
    for _ in range(3):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return count / min(times)


def main():
    corpus = sys.argv[1]
    repeat = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    with open(corpus, newline="") as f:
        rows = [(int(r["direction"]), bytes.fromhex(r["hex"])) for r in csv.DictReader(f, delimiter="\t")]
    batch = rows * repeat
    n = len(batch)
    print(f"{n} messages (the corpus {repeat} times), library {corvuna.library_path()}")
    threads = os.cpu_count() or 1
    rate = best(lambda: [corvuna.decode(m, d) for d, m in batch], n)
    print(f"{'corvuna.decode, one call a message':<48} {rate:>12,.0f} messages/s")
    rate = best(lambda: corvuna.decode_many(batch, threads=1), n)
    print(f"{'corvuna.decode_many, 1 thread':<48} {rate:>12,.0f} messages/s")
    rate = best(lambda: corvuna.decode_many(batch, threads=threads), n)
    print(f"{f'corvuna.decode_many, {threads} threads':<48} {rate:>12,.0f} messages/s")

    try:
        import dask.dataframe as dd
        import pandas as pd
        from dask.distributed import Client, LocalCluster
    except ImportError as e:
        print(f"Dask not measured: {e}")
        return
    from corvuna import dask as corvuna_dask
    big = batch * 5
    frame = pd.DataFrame({"direction": [d for d, _ in big], "hex": [m.hex() for _, m in big]})
    for workers in (1, 2):
        with LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                          dashboard_address=None) as cluster, Client(cluster) as client:
            data = client.persist(dd.from_pandas(frame, npartitions=16))
            corvuna_dask.decode_frame(data, column="warm-up").compute()  # libraries loaded on the workers
            runs = []

            def run():
                # A column of its own each time: the same graph again could
                # be answered from what the cluster still holds.
                column = f"run{len(runs)}"
                runs.append(column)
                return corvuna_dask.decode_frame(data, column=column)[column].str.len().sum().compute()

            rate = best(run, len(big))
            print(f"{f'corvuna.dask.decode_frame, LocalCluster {workers} worker(s)':<48} {rate:>12,.0f} messages/s"
                  f" ({len(big)} messages, 16 partitions)")


if __name__ == "__main__":
    main()
