# SPDX-License-Identifier: Apache-2.0
"""Finds and loads the Corvuna shared library and declares its entries.

Looked for, in order: the file named by CORVUNA_LIBRARY (when set, it must
load), the library inside this package (as pip installs it), the one that
cmake --install placed relative to this package, then the system loader.
"""
import ctypes
import ctypes.util
import os
import sys
import threading

_lock = threading.Lock()
_loaded = None

if sys.platform == "win32":
    _NAMES = ("Corvuna.dll",)
    _Loader = ctypes.CDLL  # cdecl exports
elif sys.platform == "darwin":
    _NAMES = ("libcorvuna.1.dylib", "libcorvuna.dylib")
    _Loader = ctypes.CDLL
else:
    _NAMES = ("libcorvuna.so.1", "libcorvuna.so")
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
