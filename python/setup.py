# SPDX-License-Identifier: Apache-2.0
"""Builds the Corvuna shared library with CMake and puts it inside the
package, so that the installed package needs nothing else.

CORVUNA_PREBUILT_LIBRARY=/path/to/libcorvuna.so.1 takes a library already
built instead of building one."""
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


def version():
    header = open(os.path.join(ROOT, "include", "corvuna", "corvuna.h")).read()
    parts = [re.search(rf"#define CORVUNA_VERSION_{p} (\d+)", header).group(1) for p in ("MAJOR", "MINOR", "PATCH")]
    return ".".join(parts)


def build_library(build_temp):
    prebuilt = os.environ.get("CORVUNA_PREBUILT_LIBRARY")
    if prebuilt:
        if not os.path.isabs(prebuilt) or not os.path.isfile(prebuilt):
            sys.exit(f"CORVUNA_PREBUILT_LIBRARY={prebuilt}: not an absolute path to a file")
        return prebuilt
    cmake = shutil.which("cmake")
    if cmake is None:
        sys.exit("building Corvuna needs CMake (>= 3.25) and a C++20 compiler: install cmake and g++")
    build = os.path.join(os.path.abspath(build_temp), "corvuna-cmake")
    configure = [cmake, "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=Release", "-DCORVUNA_BUILD_TESTS=OFF",
                 "-DCORVUNA_BUILD_TOOLS=OFF", "-DCORVUNA_WITH_CAPTURE=OFF"]
    if shutil.which("ninja"):
        configure += ["-G", "Ninja"]
    subprocess.check_call(configure)
    subprocess.check_call([cmake, "--build", build, "--target", "corvuna_shared", "-j", str(os.cpu_count() or 1)])
    return os.path.join(build, LIBRARY)


class BuildWithLibrary(build_py):
    def run(self):
        super().run()
        library = build_library(self.get_finalized_command("build").build_temp)
        target = os.path.join(self.build_lib, "corvuna", LIBRARY)
        shutil.copyfile(library, target)  # the file itself, not a link to it


setup(version=version(), cmdclass={"build_py": BuildWithLibrary}, package_data={"corvuna": [LIBRARY]})
