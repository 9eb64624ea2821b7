"""Hypothesis keeps what it stores (the examples it found, its Unicode
tables) under build/, beside the other build output, not in the source
tree. The built programs some tests compare with are fixtures here."""

import os
from pathlib import Path

import pytest
from hypothesis.configuration import set_hypothesis_home_dir

from shapes import ROOT

set_hypothesis_home_dir(str(ROOT / "build" / "python-tests" / "hypothesis"))


def built_program(variable, default, target):
    """The program $variable names, else `default` under build/default.
    A set $variable that names no file fails the test, and so does an unset
    one when $RRENSEN_REQUIRE_PROGRAMS is set (the project's test command
    sets both); otherwise a default that is not built skips it."""
    build = f"cmake --build --preset default --target {target}"
    named = os.environ.get(variable)
    if named:
        if not Path(named).is_file():
            pytest.fail(f"${variable} is {named}, which is not a file; build it: {build}", pytrace=False)
        return str(named)
    if os.environ.get("RRENSEN_REQUIRE_PROGRAMS"):
        pytest.fail(f"RRENSEN_REQUIRE_PROGRAMS is set but ${variable} is not: set it to the built {target}",
                    pytrace=False)
    path = ROOT / "build" / "default" / default
    if not path.is_file():
        pytest.skip(f"{path} is not built ({build}; set ${variable} to use another)")
    return str(path)


@pytest.fixture(scope="session")
def dxf_cli():
    """The rrensen-dxf program."""
    return built_program("RRENSEN_DXF_CLI", "src/dxf/rrensen-dxf", "rrensen-dxf")
