# SPDX-License-Identifier: Apache-2.0
"""Prints where Python packages go under the prefix given, relative to it.

Debian's Python looks in lib/python3/dist-packages under /usr and in
lib/python3.X/dist-packages under /usr/local; any other prefix takes the
interpreter's posix_prefix layout (lib/python3.X/site-packages)."""
import os
import sys
import sysconfig

prefix = os.path.normpath(sys.argv[1])
schemes = sysconfig.get_scheme_names()
if prefix == "/usr" and "deb_system" in schemes:
    scheme, base = "deb_system", prefix
elif prefix == "/usr/local" and "posix_local" in schemes:
    scheme, base = "posix_local", "/usr"
else:
    scheme, base = ("nt" if os.name == "nt" else "posix_prefix"), prefix
path = sysconfig.get_path("purelib", scheme, {"base": base, "platbase": base})
print(os.path.relpath(path, prefix).replace(os.sep, "/"))
