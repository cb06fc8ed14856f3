#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Speed of the Python package: the legacy document of every corpus message,
repeated, through corvuna.decode in a loop, decode_many on one thread and on
one per CPU, and corvuna.dask.decode_frame on a LocalCluster of one and of
two worker processes.  Best of three runs each, in messages/s.

With --captures: corvuna.read over a capture (the messages iterated, and
three facts of each read), corvuna.read_frame, and
corvuna.dask.read_captures with the capture in as many frame ranges as
workers on a LocalCluster of one and of two worker processes, with the
speed-up (processor time of this process for corvuna.read: on a machine
shared with other work the wall clock mostly measures the waiting).

Usage: bench-python.py CORPUS [REPEAT]   (the library: CORVUNA_LIBRARY)
       bench-python.py --captures CAPTURE"""
import csv
import os
import sys
import time

import corvuna
import corvuna.capture


def best(run, count):
    times = []
    for _ in range(3):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return count / min(times)


def best_cpu(run, count):
    times = []
    for _ in range(3):
        start = time.process_time()
        run()
        times.append(time.process_time() - start)
    return count / min(times)


def captures(path):
    frames = corvuna.count_frames(path)
    n = sum(1 for _ in corvuna.read(path))
    print(f"{path}: {frames} frames, {n} NAS messages, library {corvuna.capture.load_capture().path}")

    def iterate():
        for _ in corvuna.read(path):
            pass

    def facts():
        for r in corvuna.read(path):
            r.message, r.direction, r.cause

    rate = best_cpu(iterate, n)
    print(f"{'corvuna.read, the records iterated':<52} {rate:>12,.0f} messages/s (target 300,000)")
    rate = best_cpu(facts, n)
    print(f"{'corvuna.read, three facts of each read':<52} {rate:>12,.0f} messages/s")
    rate = best(lambda: corvuna.read_frame(path), n)
    print(f"{'corvuna.read_frame (pandas, the view as JSON)':<52} {rate:>12,.0f} messages/s")
    try:
        from dask.distributed import Client, LocalCluster
    except ImportError as e:
        print(f"Dask not measured: {e}")
        return
    from corvuna import dask as corvuna_dask
    rates = {}
    for workers in (1, 2):
        with LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                          dashboard_address=None) as cluster, Client(cluster):
            runs = []

            def run():
                # Ranges a frame apart each time: a graph of its own, which
                # the cluster cannot answer from what it still holds.
                runs.append(len(runs))
                parts = -(-frames // 2) + len(runs)
                frame = corvuna_dask.read_captures(path, partition_frames=parts, partition_bytes=0)
                return frame.map_partitions(len).compute().sum()

            run()  # libraries loaded on the workers
            rates[workers] = best(run, n)
            print(f"{f'corvuna.dask.read_captures, {workers} worker(s), 2 frame ranges':<52} "
                  f"{rates[workers]:>12,.0f} messages/s")
    print(f"speed-up with two workers: {rates[2] / rates[1]:.2f} (target 1.7)")


def main():
    if sys.argv[1] == "--captures":
        captures(sys.argv[2])
        return
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
