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


# ---------------------------------------------------------------------------
# Captures across a cluster.

def _capture_paths(paths_or_glob):
    """The capture files named: a glob, a path, or a list of either."""
    import glob
    import os
    items = [paths_or_glob] if isinstance(paths_or_glob, (str, os.PathLike)) else list(paths_or_glob)
    paths = []
    for item in items:
        item = os.fspath(item)
        found = sorted(glob.glob(item)) if any(c in item for c in "*?[") else [item]
        if not found:
            raise FileNotFoundError(2, f"no capture matches {item}")
        paths.extend(found)
    if not paths:
        raise ValueError("no capture given")
    return paths


def read_capture_part(part):
    """One partition: the messages of a capture's frames first..last (a
    pandas DataFrame, as corvuna.read_frame gives it)."""
    path, first, last, keys, options = part
    options = dict(options)
    on_error = options.pop("on_error", "raise")
    try:
        return corvuna.read_frame(path, keys, first_frame=first, last_frame=last, **options)
    except (OSError, corvuna.CaptureError) as error:
        if on_error != "skip":
            raise
        import warnings
        warnings.warn(f"skipped: {error}", RuntimeWarning)
        from .capture import _columns, frame_of
        return frame_of([[] for _ in _columns()], [])


def capture_parts(paths, keys=None, partition_frames=500_000, partition_bytes=64 << 20, **options):
    """The partitions of read_captures: (path, first frame, last frame or
    None, keys, options), one a capture, a capture larger than
    partition_bytes split into ranges of about partition_frames frames."""
    import os
    parts = []
    for path in paths:
        if partition_frames and os.path.getsize(path) > partition_bytes:
            frames = corvuna.count_frames(path)
            pieces = max(1, -(-frames // partition_frames))
            size = -(-frames // pieces) if frames else 1
            for first in range(1, max(frames, 1) + 1, size):
                last = first + size - 1
                parts.append((path, first, None if last >= frames else last, keys, options))
        else:
            parts.append((path, 1, None, keys, options))
    return parts


def read_captures(paths_or_glob, keys=None, partition_frames=500_000, partition_bytes=64 << 20, **options):
    """The NAS messages of many captures as a Dask DataFrame, decoded on the
    workers: one partition a capture, and a capture of more than
    partition_bytes octets split into frame ranges of about
    partition_frames frames (each range's reader follows the frames before
    it, so security contexts and RLC are as in a whole reading).  Columns
    as corvuna.read_frame gives them; the files (and a keys file) must be
    readable by the workers at the same paths.  on_error="skip" leaves out
    (with a warning) a capture that cannot be read, rather than failing.

        frame = corvuna.dask.read_captures("/captures/*.pcapng", keys="subscribers.keys")
        frame.groupby(["plmn", "cause_text"]).size().compute()
        frame.to_parquet("nas/")   # needs pyarrow or fastparquet
    """
    import dask.dataframe as dd
    from dask.dataframe.utils import clear_known_categories

    from .capture import frame_of
    paths = _capture_paths(paths_or_glob)
    parts = capture_parts(paths, keys, partition_frames, partition_bytes, **options)
    from .capture import _columns
    meta = clear_known_categories(frame_of([[] for _ in _columns()], []))
    return dd.from_map(read_capture_part, parts, meta=meta, enforce_metadata=False)
