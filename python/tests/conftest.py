"""Hypothesis keeps what it stores (the examples it found, its Unicode
tables) under build/, beside the other build output, not in the source
tree."""

from pathlib import Path

from hypothesis.configuration import set_hypothesis_home_dir

set_hypothesis_home_dir(str(Path(__file__).resolve().parents[2] / "build" / "python-tests" / "hypothesis"))
