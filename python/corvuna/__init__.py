# SPDX-License-Identifier: Apache-2.0
"""Corvuna: LTE NAS (TS 24.301 EMM and ESM) messages decoded to text.

    >>> import corvuna
    >>> print(corvuna.decode(bytes.fromhex("075e")), end="")   # the legacy document
    >>> corvuna.view("075e")["message"]                         # the standard view
    'security_mode_complete'

Captures (pcap, pcapng, gzip-compressed too) are read by corvuna.read
(records with their facts and view) and corvuna.read_frame (a pandas
DataFrame); corvuna.dask.read_captures reads many across a Dask cluster.

Messages are bytes-like objects or hex strings (blanks, ':' and a leading 0x
allowed).  The calls release the GIL while the library decodes, so threads
decode in parallel; decode_many does it for a batch.
"""
import ctypes
import json
import os
import threading
from concurrent.futures import ThreadPoolExecutor

from ._library import LibraryNotFound, load
from .capture import CaptureError, count_frames, read, read_frame

__all__ = ["decode", "view", "view_text", "lte_gain", "decode_many", "library_path", "library_version",
           "read", "read_frame", "count_frames", "CaptureError",
           "LibraryNotFound", "DecodeError", "UPLINK", "DOWNLINK", "MAX_DOCUMENT_LENGTH"]

UPLINK = 1
DOWNLINK = 0
MAX_DOCUMENT_LENGTH = 16384  # CORVUNA_MAX_DOCUMENT_LENGTH
MAX_VIEW_LENGTH = 1048576    # CORVUNA_MAX_VIEW_LENGTH
_MAX_INPUT = 2 ** 31 - 1
_ERRORS = {-1: "an argument was rejected", -2: "the output did not fit", -3: "decoding failed internally"}
_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST = 705


class DecodeError(RuntimeError):
    """The library reported a failure for a message."""


_buffers = threading.local()


def _buffer(size):
    """A per-thread output buffer of at least `size` characters."""
    b = getattr(_buffers, "b", None)
    if b is None or len(b) < size:
        b = ctypes.create_string_buffer(max(size, 65536))
        _buffers.b = b
    return b


def _octets(message):
    if isinstance(message, str):
        text = message.strip()
        if text[:2] in ("0x", "0X"):
            text = text[2:]
        text = "".join(text.replace(":", " ").replace("-", " ").replace(".", " ").split())
        try:
            data = bytes.fromhex(text)
        except ValueError:
            raise ValueError(f"not a hex message: {message!r}") from None
    elif isinstance(message, (bytes, bytearray, memoryview)):
        data = bytes(message)
    else:
        raise TypeError(f"a message is bytes, bytearray, memoryview or a hex string, not {type(message).__name__}")
    if len(data) > _MAX_INPUT:
        raise ValueError(f"message of {len(data)} octets is too long")
    return data


def _direction(uplink):
    if isinstance(uplink, str):
        text = uplink.strip().lower()
        if text in ("1", "ul", "uplink", "up"):
            return UPLINK
        if text in ("0", "dl", "downlink", "down"):
            return DOWNLINK
        raise ValueError(f"direction {uplink!r} is none of uplink, ul, 1, downlink, dl, 0")
    if isinstance(uplink, bool):
        return UPLINK if uplink else DOWNLINK
    if isinstance(uplink, int) and uplink in (0, 1):
        return uplink
    raise ValueError(f"direction {uplink!r} is neither True/1 (uplink) nor False/0 (downlink)")


def library_path():
    """The path of the shared library in use."""
    return load().path


def library_version():
    """The shared library's version, "MAJOR.MINOR.PATCH"."""
    return load().version


def _decode(lib, direction, data):
    out = _buffer(MAX_DOCUMENT_LENGTH + 1)
    out[0] = b"\0"  # the bounded entry appends to the string it finds
    needed = ctypes.c_size_t(0)
    result = lib.decode_bounded(direction, data, len(data), out, len(out), ctypes.byref(needed))
    if result != 0:
        raise DecodeError(f"message {data.hex()}: {_ERRORS.get(result, f'result {result}')}")
    return out.raw[:needed.value - 1]


def decode(message, uplink=True):
    """The legacy document of one message as str, one character a byte
    (Latin-1): the document is bytes, not UTF-8 (a network name's octets
    stand in it as they were sent), so doc.encode("latin-1") gives its bytes
    exactly, and nothing is replaced or lost."""
    return _decode(load(), _direction(uplink), _octets(message)).decode("latin-1")


def decode_bytes(message, uplink=True):
    """The legacy document of one message, its bytes exactly as the C entry
    writes them."""
    return _decode(load(), _direction(uplink), _octets(message))


def _view(message, uplink, null_ciphering, form):
    lib = load()
    data = _octets(message)
    direction = _direction(uplink)
    needed = ctypes.c_size_t(0)
    size = 65536
    while True:
        out = _buffer(size)
        result = lib.decode_view(direction, data, len(data), form, 1 if null_ciphering else 0, out, len(out),
                                 ctypes.byref(needed))
        if result == -2 and needed.value > len(out):
            size = needed.value
            continue
        if result < 0:
            raise DecodeError(f"message {data.hex()}: {_ERRORS.get(result, f'result {result}')}")
        return out.raw[:needed.value - 1].decode("utf-8"), RESULTS[result]


# The results of the standard view, by the C entry's result code.
RESULTS = ("decoded", "decoded_with_errors", "unknown_message", "not_nas", "ciphered")


def view(message, uplink=True, null_ciphering=False):
    """The standard view of one message as a dict (its "result" member says
    decoded, decoded_with_errors, unknown_message, not_nas or ciphered)."""
    return json.loads(_view(message, uplink, null_ciphering, 0)[0])


def view_text(message, uplink=True, null_ciphering=False):
    """The standard view of one message as an indented text tree (str)."""
    return _view(message, uplink, null_ciphering, 1)[0]


def view_text_result(message, uplink=True, null_ciphering=False):
    """The text tree of one message and its result (one of RESULTS)."""
    return _view(message, uplink, null_ciphering, 1)


def lte_gain(message):
    """The guaranteed bit rates (downlink, uplink) in bit/s of an ACTIVATE
    DEFAULT EPS BEARER CONTEXT REQUEST: (-1, -1) when its EPS QoS carries
    none, None when the message is not such a request."""
    data = _octets(message)
    if not data:
        raise ValueError("lte_gain needs a message of at least one octet")
    rates = (ctypes.c_int * 2)(-2, -2)
    if load().lte_gain(data, len(data), _CODE_ACTIVATE_DEFAULT_BEARER_REQUEST, ctypes.byref(rates)) == 0:
        raise ValueError(f"message {data.hex()} was rejected")
    if rates[0] == -2 and rates[1] == -2:
        return None
    return rates[0], rates[1]


def _item(item):
    if isinstance(item, tuple):
        if len(item) != 2:
            raise ValueError(f"a batch item is a message or a (direction, message) pair, not {len(item)} values")
        return _direction(item[0]), _octets(item[1])
    return UPLINK, _octets(item)


def decode_many(messages, threads=None, uplink=True):
    """Legacy documents of a batch, in order.  An item is a message (of the
    direction `uplink`) or a (direction, message) pair.  threads: how many
    threads decode (default 1: in this thread).  A decode takes about a
    microsecond, less than the GIL hand-over that each call from a thread
    costs, so more threads pay off only for large messages; across cores,
    use processes (corvuna.dask)."""
    default = _direction(uplink)
    items = []
    for item in messages:
        if isinstance(item, tuple):
            items.append(_item(item))
        else:
            items.append((default, _octets(item)))
    if threads is None:
        threads = 1
    if not isinstance(threads, int) or isinstance(threads, bool) or threads < 1:
        raise ValueError(f"threads must be a positive integer, not {threads!r}")
    lib = load()

    def run(chunk):
        return [_decode(lib, d, m).decode("latin-1") for d, m in chunk]

    if threads == 1 or len(items) < 64:
        return run(items)
    size = max(16, -(-len(items) // (threads * 4)))
    chunks = [items[i:i + size] for i in range(0, len(items), size)]
    with ThreadPoolExecutor(max_workers=threads) as pool:
        return [doc for part in pool.map(run, chunks) for doc in part]


def __getattr__(name):
    if name == "__version__":
        return library_version()
    raise AttributeError(f"module 'corvuna' has no attribute {name!r}")
