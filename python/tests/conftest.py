"""Hypothesis keeps the examples it found under build/, beside the other
build output, not in the source tree."""

from pathlib import Path

from hypothesis import settings
from hypothesis.database import DirectoryBasedExampleDatabase

_DATABASE = Path(__file__).resolve().parents[2] / "build" / "python-tests" / "hypothesis"
settings.register_profile("rrensen", database=DirectoryBasedExampleDatabase(str(_DATABASE)))
settings.load_profile("rrensen")
