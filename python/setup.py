# SPDX-License-Identifier: Apache-2.0
"""Builds the Corvuna shared libraries with CMake and puts them inside the
package, so that the installed package needs nothing else: the decoder
(libcorvuna) and, where libpcap and zlib are installed, the capture library
(libcorvuna-capture) that corvuna.read uses.

CORVUNA_PREBUILT_LIBRARY=/path/to/libcorvuna.so.1 takes a library already
built instead of building one (and libcorvuna-capture.so.1 beside it, or
CORVUNA_PREBUILT_CAPTURE_LIBRARY)."""
import os
import re
import shutil
import subprocess
import sys

from setuptools import setup
from setuptools.command.build_py import build_py

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
LIBRARY = "Corvuna.dll" if sys.platform == "win32" else "libcorvuna.so.1"
CAPTURE_LIBRARY = "corvuna-capture.dll" if sys.platform == "win32" else "libcorvuna-capture.so.1"


def version():
    header = open(os.path.join(ROOT, "include", "corvuna", "corvuna.h")).read()
    parts = [re.search(rf"#define CORVUNA_VERSION_{p} (\d+)", header).group(1) for p in ("MAJOR", "MINOR", "PATCH")]
    return ".".join(parts)


def build_libraries(build_temp):
    """The decoder library, and the capture library or None."""
    prebuilt = os.environ.get("CORVUNA_PREBUILT_LIBRARY")
    if prebuilt:
        if not os.path.isabs(prebuilt) or not os.path.isfile(prebuilt):
            sys.exit(f"CORVUNA_PREBUILT_LIBRARY={prebuilt}: not an absolute path to a file")
        capture = os.environ.get("CORVUNA_PREBUILT_CAPTURE_LIBRARY") or \
            os.path.join(os.path.dirname(prebuilt), CAPTURE_LIBRARY)
        return prebuilt, capture if os.path.isfile(capture) else None
    cmake = shutil.which("cmake")
    if cmake is None:
        sys.exit("building Corvuna needs CMake (>= 3.25) and a C++20 compiler: install cmake and g++")
    build = os.path.join(os.path.abspath(build_temp), "corvuna-cmake")
    configure = [cmake, "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=Release", "-DCORVUNA_BUILD_TESTS=OFF",
                 "-DCORVUNA_BUILD_TOOLS=OFF"]
    if shutil.which("ninja"):
        configure += ["-G", "Ninja"]
    subprocess.check_call(configure)
    jobs = ["-j", str(os.cpu_count() or 1)]
    subprocess.check_call([cmake, "--build", build, "--target", "corvuna_shared"] + jobs)
    capture = None
    if subprocess.call([cmake, "--build", build, "--target", "corvuna_capture_shared"] + jobs) == 0:
        capture = os.path.join(build, CAPTURE_LIBRARY)
    else:
        print("note: the capture library was not built (it needs libpcap-dev, zlib1g-dev, libssl-dev and "
              "libipsec-mb-dev): corvuna.read will look for an installed one", file=sys.stderr)
    return os.path.join(build, LIBRARY), capture


class BuildWithLibrary(build_py):
    def run(self):
        super().run()
        library, capture = build_libraries(self.get_finalized_command("build").build_temp)
        # The files themselves, not links to them.
        shutil.copyfile(library, os.path.join(self.build_lib, "corvuna", LIBRARY))
        if capture:
            shutil.copyfile(capture, os.path.join(self.build_lib, "corvuna", CAPTURE_LIBRARY))


setup(version=version(), cmdclass={"build_py": BuildWithLibrary}, package_data={"corvuna": [LIBRARY, CAPTURE_LIBRARY]})
