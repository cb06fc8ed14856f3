# SPDX-License-Identifier: Apache-2.0
"""Captures from Python: every NAS message of a pcap or pcapng file with
what is known of it, through the capture library (libcorvuna-capture).

    >>> for r in corvuna.read("attach.pcapng", keys="subscribers.keys"):
    ...     print(r.frame, r.direction, r.message, r.cause, r.imsi, r.view["message"]["name"])
    >>> frame = corvuna.read_frame("attach.pcapng")     # a pandas DataFrame

A record has the facts as attributes and as keys (record.frame,
record["frame"]); `view` is the standard view as a dict, `record` the
whole record as the program's -T json writes it (both parsed when first
asked for), `text` the view's tree when read(..., text=True).
"""
import ctypes
import io
import os
import threading

from ._library import WARNING, CaptureOptions, LibraryNotFound, load_capture

__all__ = ["read", "read_frame", "count_frames", "CaptureError", "Record", "Capture", "COLUMNS"]

_SEPARATOR, _END = "\x1f", "\x1e"
_INCLUDE_JSON, _INCLUDE_TEXT = 1, 2
_BATCH = 1 << 22  # octets a batch call may fill
_ERRORS = {-1: "bad argument", -2: "cannot open", -3: "not a capture it reads", -4: "cannot read",
           -5: "bad keys", -6: "no room", -7: "internal error"}

# The facts of a message, in the capture library's order, and their kinds.
_INTS = {"frame", "seconds", "nanoseconds", "procedure_code", "enb_ue_s1ap_id", "mme_ue_s1ap_id",
         "ran_ue_ngap_id", "amf_ue_ngap_id", "security_header", "eea", "eia", "count", "errors", "cause", "tac"}


class CaptureError(OSError):
    """A capture could not be opened or read; the message names it."""

    def __init__(self, code, message):
        super().__init__(message)
        self.code = code

    def __reduce__(self):  # raised on a Dask worker, it reaches the client whole
        return (CaptureError, (self.code, str(self)))


def _columns():
    return load_capture().columns().decode("ascii").split(_SEPARATOR)


_RECORD, _VIEW_JSON, _VIEW_TEXT = 0, 1, 2
_render_buffers = threading.local()


def _render(input_text, what):
    """The record, view or text tree of a batch record's input (str)."""
    lib = load_capture()
    data = input_text.encode("ascii")
    needed = ctypes.c_size_t(0)
    size = 65536
    while True:
        buffer = getattr(_render_buffers, "b", None)
        if buffer is None or len(buffer) < size:
            buffer = _render_buffers.b = ctypes.create_string_buffer(size)
        got = lib.render(data, len(data), what, buffer, len(buffer), ctypes.byref(needed))
        if got == -6 and needed.value > len(buffer):
            size = needed.value
            continue
        if got < 0:
            raise CaptureError(got, f"the record input cannot be written: {_ERRORS.get(got, got)}")
        return ctypes.string_at(buffer, needed.value - 1).decode("utf-8", "surrogateescape")


def _make_record_class(columns):
    """Record: one message's facts, with a property per column."""
    index = {name: i for i, name in enumerate(columns)}
    if columns[-3:] != ["view", "text", "input"]:
        raise LibraryNotFound(f"the capture library's records end in {columns[-3:]}, not view, text, input: "
                              "it is of another version than this package")

    def field(i, integer):
        # A batch's column is split into its fields when one is first asked for.
        if integer:
            def get(self):
                column = self._b[i]
                v = (column if column is not None else self._b.split(i))[self._i]
                return int(v) if v else None
        else:
            def get(self):
                column = self._b[i]
                return (column if column is not None else self._b.split(i))[self._i] or None
        return property(get)

    namespace = {"__slots__": (), "__doc__": Record.__doc__}
    for name, i in index.items():
        if name not in ("view", "text", "input"):
            namespace[name] = field(i, name in _INTS)
    namespace["_keys"] = tuple(["file"] + [n for n in columns if n not in ("view", "text", "input")] +
                               ["nas_procedure", "view"])
    return type("Record", (Record,), namespace)


class Record:
    """One NAS message of a capture: where it was (file, frame, time,
    carrier, procedure, UE ids), its direction, security facts, octets
    (hex), the view's result, message name, cause, identities, PLMN, TAC,
    and the standard view (`view`, a dict; `text`, its tree; `record`, the
    whole record as the program's -T json writes it), written when first
    asked for."""

    __slots__ = ("_b", "_i")

    @property
    def file(self):
        """The capture, as it was named."""
        return self._b.file

    def _field(self, i):
        column = self._b[i]
        return (column if column is not None else self._b.split(i))[self._i]

    @property
    def view(self):
        """The standard view of the message (dict), None when its NAS was not
        read (an AS-ciphered LTE RRC PDU)."""
        views = self._b.views
        cached = views.get(self._i)
        if cached is None:
            import json
            text = self._field(-3) or _render(self._field(-1), _VIEW_JSON)
            cached = views[self._i] = json.loads(text) if text else {}
        return cached or None

    @property
    def text(self):
        """The standard view as an indented text tree (str)."""
        return self._field(-2) or _render(self._field(-1), _VIEW_TEXT)

    @property
    def json(self):
        """The record as the program's -T json writes it (str)."""
        return _render(self._field(-1), _RECORD)

    @property
    def record(self):
        """The record as a dict: where the message was found, its octets, the
        UE's security context, the view."""
        import json
        return json.loads(self.json)

    @property
    def nas_procedure(self):
        """The NAS procedure of the message ("eps.attach", "5gs.registration"), or None."""
        return procedure_of(self.nas, self.message)

    @property
    def datetime(self):
        """The frame's time as an aware datetime (UTC; microseconds)."""
        import datetime
        return datetime.datetime.fromtimestamp(self.seconds, datetime.timezone.utc) + \
            datetime.timedelta(microseconds=self.nanoseconds // 1000)

    @property
    def octets_bytes(self):
        """The message's octets as carried (bytes)."""
        return bytes.fromhex(self.octets or "")

    def __getitem__(self, key):
        if key not in self._keys:
            raise KeyError(key)
        return getattr(self, key)

    def get(self, key, default=None):
        return getattr(self, key) if key in self._keys else default

    def keys(self):
        return self._keys

    def items(self):
        return [(k, getattr(self, k)) for k in self._keys]

    def as_dict(self):
        """The facts and the view as a plain dict."""
        return dict(self.items())

    def __iter__(self):
        return iter(self._keys)

    def __repr__(self):
        return (f"<Record {self.file} frame {self.frame} {self.direction} {self.message or '?'}"
                f"{' cause ' + str(self.cause) if self.cause is not None else ''}>")


_record_class = None


class _Batch(list):
    """The columns of a batch of records: each the column's text until it
    is first asked for, then the list of its fields."""

    __slots__ = ("_texts", "file", "views")

    def __init__(self, text, count, file):
        super().__init__([None] * count)
        self._texts = text.split(_END)
        self.file = file
        self.views = {}  # the views asked for, parsed, by record

    def split(self, i):
        i %= len(self)
        fields = self._texts[i].split(_SEPARATOR)
        self[i] = fields
        return fields


def _record_type():
    global _record_class
    if _record_class is None:
        _record_class = _make_record_class(_columns())
    return _record_class


def _keys_option(keys, options, keep):
    if keys is None:
        return
    if isinstance(keys, (str, bytes, os.PathLike)):
        path = os.fsencode(keys)
        keep.append(path)
        options.keys_file = path
        return
    if isinstance(keys, dict):
        lines = []
        for who, value in keys.items():
            if isinstance(value, dict):
                lines.append(f"{who} " + " ".join(f"{k}={v}" for k, v in value.items()))
            else:
                lines.append(f"{who} {value}")
        text = "\n".join(lines).encode("ascii")
    else:
        text = "\n".join(keys).encode("ascii")
    keep.append(text)
    options.keys_text = text


_procedure_of = None


def procedure_of(nas, message):
    """The NAS procedure a message belongs to, as corvuna.report names them
    ("eps.attach", "5gs.registration", ...): the one it starts, else the
    first it answers or completes; None for a message of no procedure."""
    global _procedure_of
    if _procedure_of is None:
        from .report import PROCEDURES
        table = {}
        for part in ("start", "accept", "reject", "complete"):
            for p in PROCEDURES:
                for name in getattr(p, part):
                    table.setdefault((p.system, name), p.key)
        _procedure_of = table
    return _procedure_of.get((nas, message))


def _direction(direction):
    if direction in (1, True, "1", "ul", "uplink"):
        return 1
    if direction in (0, False, "0", "dl", "downlink"):
        return 0
    raise ValueError(f"direction {direction!r} is none of uplink, ul, 1, downlink, dl, 0")


class Capture:
    """A capture being read: iterate it for its records; `summary` and
    `warnings` tell what was met.  Closes itself at its end; use it in a
    with block (or call close()) when leaving it before."""

    def __init__(self, source, keys=None, *, null_ciphering=False, direction="uplink", user_dlt=None,
                 capture_keys=True, show_keys=False, view=False, text=False, first_frame=1, last_frame=None,
                 name=None):
        self.lib = load_capture()
        self.warnings = []
        self._keep = []
        self._handle = ctypes.c_void_p()
        self._feeder = None
        options = CaptureOptions()
        self.lib.options_init(ctypes.byref(options))
        options.direction = _direction(direction)
        options.null_ciphering = 1 if null_ciphering else 0
        options.no_capture_keys = 0 if capture_keys else 1
        options.show_keys = 1 if show_keys else 0
        # The view and its tree are written when a record is first asked for
        # them, unless wanted for every record as it is read.
        options.include = (_INCLUDE_JSON if view else 0) | (_INCLUDE_TEXT if text else 0)
        options.first_frame = int(first_frame or 1)
        options.last_frame = int(last_frame or 0)
        _keys_option(keys, options, self._keep)
        for dlt, what in (user_dlt or {}).items():
            if not 147 <= int(dlt) <= 162:
                raise ValueError(f"user link type {dlt} is not one of 147 to 162")
            word = str(what).encode("ascii")
            self._keep.append(word)
            options.user_dlt[int(dlt) - 147] = word

        def warned(_context, message):
            self.warnings.append(message.decode("utf-8", "replace"))
        self._warning = WARNING(warned)
        options.warning = self._warning
        error = ctypes.create_string_buffer(1024)
        if isinstance(source, (str, bytes, os.PathLike)):
            self.name = os.fsdecode(source)
            code = self.lib.open(os.fsencode(source), ctypes.byref(options), ctypes.byref(self._handle), error,
                                 len(error))
        else:
            fd, self.name = self._descriptor(source, name)
            code = self.lib.open_fd(fd, self.name.encode("utf-8", "replace"), ctypes.byref(options),
                                    ctypes.byref(self._handle), error, len(error))
            if self._feeder is not None:
                os.close(fd)  # the reader holds its own duplicate
        if code != 0:
            self._handle = ctypes.c_void_p()
            message = error.value.decode("utf-8", "replace")
            if code == -2 and "No such file" in message:
                raise FileNotFoundError(2, message)
            raise CaptureError(code, message)
        self._buffer = ctypes.create_string_buffer(_BATCH)
        self._record = _record_type()
        self._columns = len(_columns())

    def _descriptor(self, source, name):
        """A descriptor to read `source` from: its own when it is an int or a
        raw file; else a pipe a thread fills from source.read()."""
        if isinstance(source, int):
            return source, name or f"descriptor {source}"
        shown = name or getattr(source, "name", None) or type(source).__name__
        if not isinstance(shown, str):
            shown = str(shown)
        if isinstance(source, io.RawIOBase) or isinstance(source, io.FileIO):
            return source.fileno(), shown
        read_end, write_end = os.pipe()

        def feed():
            try:
                with os.fdopen(write_end, "wb") as out:
                    while True:
                        chunk = source.read(1 << 16)
                        if not chunk:
                            break
                        out.write(chunk)
            except (BrokenPipeError, OSError, ValueError):
                pass
        self._feeder = threading.Thread(target=feed, name="corvuna-capture-feeder", daemon=True)
        self._feeder.start()
        return read_end, shown

    def column_batches(self):
        """The records batch by batch, column by column: (batch, count)."""
        lib, handle, buffer = self.lib, self._handle, self._buffer
        used = ctypes.c_size_t(0)
        try:
            while handle:
                got = lib.next_batch(handle, buffer, len(buffer), ctypes.byref(used), 100000)
                if got == 0:
                    break
                if got == -6:  # a record larger than the buffer
                    buffer = self._buffer = ctypes.create_string_buffer(used.value + 1)
                    continue
                if got < 0:
                    raise CaptureError(got, (lib.error(handle) or b"").decode("utf-8", "replace") or
                                       f"{self.name}: {_ERRORS.get(got, got)}")
                text = ctypes.string_at(buffer, used.value).decode("utf-8", "surrogateescape")
                yield _Batch(text, self._columns, self.name), got
        finally:
            self.summary = self._summary()
            self.close()

    def batches(self):
        """The records in lists, batch by batch."""
        record, new = self._record, object.__new__
        for batch, count in self.column_batches():
            out = []
            for i in range(count):
                r = new(record)
                r._b = batch
                r._i = i
                out.append(r)
            yield out

    def __iter__(self):
        record, new = self._record, object.__new__
        for batch, count in self.column_batches():
            for i in range(count):
                r = new(record)
                r._b = batch
                r._i = i
                yield r

    def _summary(self):
        if not self._handle:
            return getattr(self, "summary", "")
        return self.lib.summary(self._handle).decode("utf-8", "replace")

    def close(self):
        if self._handle:
            self.summary = self._summary()
            self.lib.close(self._handle)
            self._handle = ctypes.c_void_p()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def __del__(self):
        try:
            self.close()
        except Exception:
            pass


def read(source, keys=None, **options):
    """The NAS messages of a capture, one Record each, in order.

    source: a path ("-" is not special: pass sys.stdin.buffer), a
    descriptor, or a binary file object (a pipe, a socket's file, BytesIO,
    gzip.open(...)); gzip-compressed captures are read as they are.
    keys: a keys file (as the program's --keys reads it), a dict
    {IMSI or "*": {"k": HEX, "opc": HEX}} or {IMSI: "kasme=HEX"}, or lines.
    options: null_ciphering, direction (of raw NAS that gives none),
    user_dlt ({147: "nas", ...}), capture_keys (use the KASMEs of the
    capture's S6a answers; True), show_keys, view and text (write the view
    and its tree for every record as it is read, rather than when a record
    is first asked for them), first_frame, last_frame, name (of a file
    object).

    Returns a Capture: iterate it; its summary and warnings say what was
    met.  Raises FileNotFoundError or CaptureError (naming the capture)."""
    return Capture(source, keys, **options)


def count_frames(path):
    """The number of frames of the capture at `path`."""
    lib = load_capture()
    frames = ctypes.c_uint64(0)
    error = ctypes.create_string_buffer(1024)
    code = lib.count_frames(os.fsencode(path), ctypes.byref(frames), error, len(error))
    if code != 0:
        raise CaptureError(code, error.value.decode("utf-8", "replace"))
    return frames.value


# The DataFrame's columns and their types.
_CATEGORIES = ("file", "carrier", "procedure", "direction", "direction_source", "nas", "mac", "body", "result",
               "message", "cause_text", "plmn")
_SMALL = {"procedure_code": "Int16", "security_header": "Int8", "eea": "Int8", "eia": "Int8", "cause": "Int16",
          "errors": "int32", "tac": "Int32"}


def frame_of(by_column, file_names):
    """A pandas DataFrame of records given column by column (lists of
    fields) and their files."""
    import numpy as np
    import pandas as pd
    columns = _columns()
    values = dict(zip(columns, by_column))
    rows = len(file_names)

    def integers(v, dtype):
        array = pd.to_numeric(pd.Series(v, dtype="object").replace("", None), errors="coerce")
        return array.astype(dtype).array if rows else pd.array([], dtype=dtype)

    seconds = np.array(values["seconds"], dtype="int64") if rows else np.array([], dtype="int64")
    nanos = np.array(values["nanoseconds"], dtype="int64") if rows else np.array([], dtype="int64")
    data = {"file": pd.Categorical(file_names), "frame": np.array(values["frame"], dtype="int64"),
            "time": pd.to_datetime(seconds * 1_000_000_000 + nanos, unit="ns", utc=True)}
    for name in columns:
        if name in ("frame", "time", "seconds", "nanoseconds", "input") or (name == "text" and not any(values[name])):
            continue
        v = values[name]
        if name in _INTS:
            data[name] = integers(v, _SMALL.get(name, "Int64"))
        elif name in _CATEGORIES:
            data[name] = pd.Categorical(v).remove_categories([""]) if "" in v else pd.Categorical(v)
        else:
            data[name] = pd.array([x or None for x in v], dtype="object")
    frame = pd.DataFrame(data)
    # The NAS procedure of each message, for the questions asked per
    # procedure (attach success rate per cell and hour).
    procedures = [procedure_of(n, m) for n, m in zip(values["nas"], values["message"])]
    frame.insert(frame.columns.get_loc("message") + 1, "nas_procedure", pd.Categorical(procedures))
    return frame


def read_frame(source, keys=None, **options):
    """The NAS messages of a capture as a pandas DataFrame: one row a
    message, flat typed columns (file, frame, time (UTC), carrier,
    procedure, UE ids, ue, direction, security facts, octets, result,
    errors, message, cause, cause_text, imsi, guti, tmsi, plmn, tac) and the
    standard view beside them (`view`: its JSON text; json.loads it)."""
    options.setdefault("view", True)
    capture = Capture(source, keys, **options)
    columns = [[] for _ in _columns()]
    for batch, _ in capture.column_batches():
        for i, column in enumerate(columns):
            column.extend(batch.split(i)[:-1])
    frame = frame_of(columns, [capture.name] * len(columns[0]))
    frame.attrs["summary"] = capture.summary
    frame.attrs["warnings"] = list(capture.warnings)
    return frame
