"""Builds the extension module rrensen._core from the library's own sources.

The sources are those that CMake compiles into the library (the object
library rrensen_fillet_objects in src/CMakeLists.txt) and into rrensen-dxf's
(rrensen_dxf_text and rrensen_dxf_lib in src/dxf/CMakeLists.txt), read from
those files, so that a source they gain is compiled here too with no second
list to keep. Everything else is declared in pyproject.toml.
"""

import os
import re
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension, build_ext
from setuptools import setup

HERE = Path(__file__).resolve().parent
# setuptools wants paths relative to this folder.
os.chdir(HERE)

# What setuptools writes goes under build/python, beside the CMake builds,
# not into the source tree.
BUILD_BASE = Path("build") / "python"


# (CMake file, target) of every library whose sources the module compiles.
LIBRARIES = [
    ("src/CMakeLists.txt", "rrensen_fillet_objects"),
    ("src/dxf/CMakeLists.txt", "rrensen_dxf_text"),
    ("src/dxf/CMakeLists.txt", "rrensen_dxf_lib"),
]


def target_sources(cmake_file, target):
    """The .cc files of add_library(target [STATIC|OBJECT] ...) in cmake_file,
    as paths from this folder."""
    cmake = Path(cmake_file)
    text = cmake.read_text(encoding="utf-8")
    match = re.search(r"add_library\(\s*" + re.escape(target) + r"\s+(?:STATIC\s+|OBJECT\s+)?([^)]*)\)", text)
    if match is None:
        raise SystemExit(f"setup.py: {cmake_file} has no add_library({target} ...)")
    sources = []
    for line in match.group(1).splitlines():
        for word in line.split("#", 1)[0].split():
            if not word.endswith(".cc") or "$" in word:
                raise SystemExit(f"setup.py: cannot read the source {word!r} of {target}")
            path = cmake.parent / word
            if not path.is_file():
                raise SystemExit(f"setup.py: {path} is listed in {cmake_file} but missing")
            sources.append(path.as_posix())
    if not sources:
        raise SystemExit(f"setup.py: add_library({target} ...) in {cmake_file} lists no source")
    return sources


def library_sources():
    """Every source of LIBRARIES, each once, in their order."""
    sources = []
    for cmake_file, target in LIBRARIES:
        sources += [s for s in target_sources(cmake_file, target) if s not in sources]
    return sources


def headers():
    """What the sources include: a change to any of them rebuilds the module
    (setuptools compares only the sources' times with the module's)."""
    found = []
    for folder in ("include/rrensen", "src/geometry", "src/platform", "src/dxf", "python/src"):
        found += sorted(p.as_posix() for p in Path(folder).glob("*.h"))
    return found + sorted({cmake_file for cmake_file, _ in LIBRARIES}) + ["setup.py"]


def version():
    header = Path("include/rrensen/version.h").read_text(encoding="utf-8")
    return re.search(r'#define RRENSEN_VERSION_STRING "([^"]+)"', header).group(1)


# At most two compilers at once (RRENSEN_BUILD_JOBS says otherwise).
ParallelCompile("RRENSEN_BUILD_JOBS", default=2).install()

BUILD_BASE.mkdir(parents=True, exist_ok=True)

setup(
    version=version(),
    ext_modules=[
        Pybind11Extension(
            "rrensen._core",
            sorted(str(p.as_posix()) for p in Path("python/src").glob("*.cc")) + library_sources(),
            include_dirs=["include", "src", "python/src"],
            # {fmt} and fast_float write and read the library's numbers, from
            # their headers alone (Debian: libfmt-dev, libfast-float-dev), as
            # cmake/NumberLibraries.cmake sets them up for the programs.
            define_macros=[
                ("FMT_HEADER_ONLY", None),
                ("FMT_STATIC_THOUSANDS_SEPARATOR", "0"),
                ("FMT_USE_FULL_CACHE_DRAGONBOX", "1"),
            ],
            depends=headers(),
            cxx_std=17,
            extra_compile_args=["-O2"] if os.name != "nt" else ["/O2"],
        )
    ],
    cmdclass={"build_ext": build_ext},
    options={
        "build": {"build_base": str(BUILD_BASE)},
        "egg_info": {"egg_base": str(BUILD_BASE)},
    },
)
