# SPDX-License-Identifier: Apache-2.0
"""Corvuna on Dask: messages decoded partition by partition on the workers.

    import dask.dataframe as dd
    from corvuna.dask import decode_frame
    frame = dd.read_csv("messages-*.tsv", sep="\\t")     # direction, hex columns
    documents = decode_frame(frame).compute()

Each worker loads the library itself, on first use; what is sent to the
workers is these module-level functions and the partitions, which pickle.
"""
import corvuna


def decode_partition(pairs):
    """Legacy documents of one partition of (direction, message) pairs."""
    return corvuna.decode_many(list(pairs), threads=1)


def decode_bag(bag):
    """A Dask bag of (direction, message) pairs -> a bag of their legacy
    documents, in the same order.  direction: 1/True/"uplink" or
    0/False/"downlink"; message: bytes or hex text."""
    return bag.map_partitions(decode_partition)


def decode_frame_partition(partition, direction="direction", hex="hex", column="document"):
    """One pandas partition with `column` added: the legacy document of the
    message in `hex` sent in `direction`."""
    out = partition.copy()
    pairs = list(zip(partition[direction].tolist(), partition[hex].tolist()))
    out[column] = corvuna.decode_many(pairs, threads=1) if pairs else []
    if not pairs:
        out[column] = out[column].astype(object)
    return out


def decode_frame(frame, direction="direction", hex="hex", column="document"):
    """A Dask DataFrame with a direction and a hex column -> the same frame
    with a column `column` of legacy documents, computed partition by
    partition on the workers."""
    for name in (direction, hex):
        if name not in frame.columns:
            raise ValueError(f"the frame has no column {name!r} (columns: {', '.join(map(str, frame.columns))})")
    meta = frame._meta.copy()
    meta[column] = meta.get(column, None)
    meta[column] = meta[column].astype(object)
    return frame.map_partitions(decode_frame_partition, direction, hex, column, meta=meta)
