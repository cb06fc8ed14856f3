# SPDX-License-Identifier: Apache-2.0
"""Finds and loads the Corvuna shared libraries and declares their entries.

The decoder (libcorvuna) is looked for, in order: the file named by
CORVUNA_LIBRARY (when set, it must load), the library inside this package
(as pip installs it), the one that cmake --install placed relative to this
package, then the system loader.  The capture library (libcorvuna-capture)
likewise, by CORVUNA_CAPTURE_LIBRARY, then beside the decoder in use.
"""
import ctypes
import ctypes.util
import os
import sys
import threading

_lock = threading.RLock()
_loaded = None

_capture_loaded = None

if sys.platform == "win32":
    _NAMES = ("Corvuna.dll",)
    _CAPTURE_NAMES = ("corvuna-capture.dll",)
    _Loader = ctypes.CDLL  # cdecl exports
elif sys.platform == "darwin":
    _NAMES = ("libcorvuna.1.dylib", "libcorvuna.dylib")
    _CAPTURE_NAMES = ("libcorvuna-capture.1.dylib", "libcorvuna-capture.dylib")
    _Loader = ctypes.CDLL
else:
    _NAMES = ("libcorvuna.so.1", "libcorvuna.so")
    _CAPTURE_NAMES = ("libcorvuna-capture.so.1", "libcorvuna-capture.so")
    _Loader = ctypes.CDLL


class LibraryNotFound(OSError):
    """No Corvuna shared library could be loaded; the message lists where
    it was looked for."""


class Library:
    """The loaded library: its path and its declared entries."""

    def __init__(self, handle, path):
        self.path = path
        self.handle = handle
        c_int, c_size_t, c_char_p = ctypes.c_int, ctypes.c_size_t, ctypes.c_char_p
        octets = ctypes.c_char_p  # bytes pass without a copy
        self.decode_bounded = handle.CorvunaDecodeBounded
        self.decode_bounded.argtypes = [c_int, octets, c_int, ctypes.c_void_p, c_size_t,
                                        ctypes.POINTER(c_size_t)]
        self.decode_bounded.restype = c_int
        self.decode_view = handle.CorvunaDecodeView
        self.decode_view.argtypes = [c_int, octets, c_int, c_int, ctypes.c_uint, ctypes.c_void_p,
                                     c_size_t, ctypes.POINTER(c_size_t)]
        self.decode_view.restype = c_int
        self.lte_gain = handle.LteGain
        self.lte_gain.argtypes = [octets, c_int, ctypes.c_uint, ctypes.POINTER(c_int * 2)]
        self.lte_gain.restype = c_int
        self.version_entry = handle.CorvunaVersion
        self.version_entry.argtypes = []
        self.version_entry.restype = c_char_p
        self.version = self.version_entry().decode("ascii")


def _candidates():
    here = os.path.dirname(os.path.abspath(__file__))
    for name in _NAMES:
        yield os.path.join(here, name)
    try:
        from . import _installed  # written by cmake --install
    except ImportError:
        pass
    else:
        yield os.path.normpath(os.path.join(here, _installed.LIBRARY))
    found = ctypes.util.find_library("corvuna") or ctypes.util.find_library("Corvuna")
    if found:
        yield found
    for name in _NAMES:
        yield name  # the loader's own search (LD_LIBRARY_PATH, ld.so.cache, PATH)


def _open(path):
    return Library(_Loader(path), path)


def load():
    """The library, loaded on first use (once per process)."""
    global _loaded
    if _loaded is not None:
        return _loaded
    with _lock:
        if _loaded is not None:
            return _loaded
        explicit = os.environ.get("CORVUNA_LIBRARY")
        if explicit:
            try:
                _loaded = _open(explicit)
            except (OSError, AttributeError) as e:
                raise LibraryNotFound(f"CORVUNA_LIBRARY={explicit} could not be loaded: {e}") from None
            return _loaded
        tried = []
        for path in _candidates():
            if os.path.isabs(path) and not os.path.exists(path):
                tried.append(f"{path} (no such file)")
                continue
            try:
                _loaded = _open(path)
                return _loaded
            except (OSError, AttributeError) as e:
                tried.append(f"{path} ({e})")
        raise LibraryNotFound("the Corvuna library was not found; tried:\n  " + "\n  ".join(tried) +
                              "\nInstall Corvuna, or set CORVUNA_LIBRARY to the library's path.")


class CaptureOptions(ctypes.Structure):
    """corvuna_capture_options (corvuna/capture.h)."""
    _fields_ = [("size", ctypes.c_size_t), ("direction", ctypes.c_int), ("null_ciphering", ctypes.c_int),
                ("keys_file", ctypes.c_char_p), ("keys_text", ctypes.c_char_p), ("no_capture_keys", ctypes.c_int),
                ("show_keys", ctypes.c_int), ("include", ctypes.c_uint), ("user_dlt", ctypes.c_char_p * 16),
                ("warning", ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_char_p)),
                ("warning_context", ctypes.c_void_p), ("first_frame", ctypes.c_uint64),
                ("last_frame", ctypes.c_uint64)]


WARNING = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_char_p)


class CaptureLibrary:
    """The loaded capture library: its path and its declared entries."""

    def __init__(self, handle, path):
        self.path = path
        c_int, c_size_t, c_char_p, c_void_p = ctypes.c_int, ctypes.c_size_t, ctypes.c_char_p, ctypes.c_void_p
        self.options_init = handle.corvuna_capture_options_init
        self.options_init.argtypes = [ctypes.POINTER(CaptureOptions)]
        self.options_init.restype = None
        self.open = handle.corvuna_capture_open
        self.open.argtypes = [c_char_p, ctypes.POINTER(CaptureOptions), ctypes.POINTER(c_void_p), c_char_p, c_size_t]
        self.open.restype = c_int
        self.open_fd = handle.corvuna_capture_open_fd
        self.open_fd.argtypes = [c_int, c_char_p, ctypes.POINTER(CaptureOptions), ctypes.POINTER(c_void_p),
                                 c_char_p, c_size_t]
        self.open_fd.restype = c_int
        self.next_batch = handle.corvuna_capture_next_batch
        self.next_batch.argtypes = [c_void_p, c_void_p, c_size_t, ctypes.POINTER(c_size_t), c_int]
        self.next_batch.restype = c_int
        self.columns = handle.corvuna_capture_columns
        self.columns.argtypes = []
        self.columns.restype = c_char_p
        self.error = handle.corvuna_capture_error
        self.error.argtypes = [c_void_p]
        self.error.restype = c_char_p
        self.summary = handle.corvuna_capture_summary
        self.summary.argtypes = [c_void_p]
        self.summary.restype = c_char_p
        self.close = handle.corvuna_capture_close
        self.close.argtypes = [c_void_p]
        self.close.restype = None
        self.render = handle.corvuna_capture_render
        self.render.argtypes = [c_char_p, c_size_t, c_int, c_void_p, c_size_t, ctypes.POINTER(c_size_t)]
        self.render.restype = c_int
        self.count_frames = handle.corvuna_capture_count_frames
        self.count_frames.argtypes = [c_char_p, ctypes.POINTER(ctypes.c_uint64), c_char_p, c_size_t]
        self.count_frames.restype = c_int


def _capture_candidates():
    explicit = os.environ.get("CORVUNA_CAPTURE_LIBRARY")
    if explicit:
        yield explicit
        return
    here = os.path.dirname(os.path.abspath(__file__))
    places = [here]
    try:
        from . import _installed  # written by cmake --install
        yield os.path.normpath(os.path.join(here, _installed.CAPTURE_LIBRARY))
    except (ImportError, AttributeError):
        pass
    try:
        decoder = load().path
    except LibraryNotFound:
        decoder = None
    if decoder and os.path.isabs(decoder):
        places.append(os.path.dirname(decoder))
    program = os.environ.get("CORVUNA_PROGRAM_DIR")
    if program:
        places.append(program)
    for place in places:
        for name in _CAPTURE_NAMES:
            yield os.path.join(place, name)
    found = ctypes.util.find_library("corvuna-capture")
    if found:
        yield found
    yield from _CAPTURE_NAMES


def load_capture():
    """The capture library, loaded on first use (once per process)."""
    global _capture_loaded
    if _capture_loaded is not None:
        return _capture_loaded
    with _lock:
        if _capture_loaded is not None:
            return _capture_loaded
        tried = []
        for path in _capture_candidates():
            if os.path.isabs(path) and not os.path.exists(path):
                tried.append(f"{path} (no such file)")
                continue
            try:
                _capture_loaded = CaptureLibrary(_Loader(path), path)
                return _capture_loaded
            except (OSError, AttributeError) as e:
                tried.append(f"{path} ({e})")
        raise LibraryNotFound("the Corvuna capture library (libcorvuna-capture) was not found; tried:\n  " +
                              "\n  ".join(tried) + "\nInstall Corvuna with capture support (libpcap), or set "
                              "CORVUNA_CAPTURE_LIBRARY to the library's path.")
