"""rrensen.fillet_dxf: rrensen-dxf's run over a file's bytes, in memory.
For the same file and options its drawing is the one the program writes,
byte for byte, with the same report and messages.

The reference is the built program: $RRENSEN_DXF_CLI, or
build/default/src/dxf/rrensen-dxf in this checkout (the project's test
command builds it). Where it is not built those tests are skipped."""

import json
import os
import subprocess
from pathlib import Path

import pytest

import rrensen

ROOT = Path(__file__).resolve().parents[2]
EXAMPLES = ["bracket.dxf", "plate.dxf"]
# (keyword arguments of fillet_dxf, the same as rrensen-dxf's words)
OPTION_SETS = [
    ({}, []),
    ({"size": 2.5, "style": "radius"}, ["-c", "2.5", "--style", "radius"]),
    ({"size": 1.0, "close_gap": 0.5, "join": True}, ["-c", "1", "--close-gap", "0.5", "--join"]),
    ({"size": 3.0, "style": "chamfer", "join": True, "join_gap": 0.01},
     ["-c", "3", "--style", "chamfer", "--join-gap", "0.01"]),
    ({"layer": "outline"}, ["--layer", "outline"]),
]


def program():
    path = Path(os.environ.get("RRENSEN_DXF_CLI") or ROOT / "build" / "default" / "src" / "dxf" / "rrensen-dxf")
    if not path.is_file():
        pytest.skip(f"rrensen-dxf is not built ({path}): cmake --build --preset default --target rrensen-dxf")
    return path


def run_program(tmp_path, input_path, words):
    output = tmp_path / "out.dxf"
    report = tmp_path / "report.jsonl"
    for stale in (output, report):
        if stale.exists():
            stale.unlink()
    done = subprocess.run([str(program()), *words, "-o", str(output), "--report", str(report), str(input_path)],
                          capture_output=True, check=False)
    return (done.returncode,
            output.read_bytes() if output.exists() else None,
            report.read_text() if report.exists() else None,
            done.stderr.decode())


@pytest.mark.parametrize("options, words", OPTION_SETS, ids=lambda o: repr(o))
@pytest.mark.parametrize("example", EXAMPLES)
def test_the_drawing_report_and_messages_are_the_programs(tmp_path, example, options, words):
    path = ROOT / "examples" / example
    status, drawing, report, messages = run_program(tmp_path, path, words)
    result = rrensen.fillet_dxf(path.read_bytes(), name=str(path), **options)
    assert result.status == status
    assert result.dxf == drawing
    assert result.report == [json.loads(line) for line in report.splitlines()]
    assert result.messages == messages


def test_bad_data_is_status_2_with_the_programs_message(tmp_path):
    path = tmp_path / "bad.dxf"
    path.write_bytes(b"garbage\n")
    status, drawing, _, messages = run_program(tmp_path, path, [])
    result = rrensen.fillet_dxf(path.read_bytes(), name=str(path))
    assert (result.status, result.dxf, result.report) == (2, None, [])
    assert status == 2 and drawing is None and result.messages == messages
    assert not result and "not a readable ASCII DXF file" in result.messages


def test_a_drawing_with_no_polyline_is_copied_and_reported_empty():
    data = b"  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n"
    result = rrensen.fillet_dxf(data)
    assert result and result.status == 0 and result.report == []
    assert result.dxf == data
    assert result.messages == "rrensen-dxf: 0 polylines filleted, 0 partly, 0 left unchanged\n"


def test_a_refused_polyline_is_status_1_and_reported():
    result = rrensen.fillet_dxf((ROOT / "examples" / "bracket.dxf").read_bytes())
    assert result.status == 1 and not result
    left = [line for line in result.report if line["status"] == "unchanged"]
    assert [line["handle"] for line in left] == ["8E"]
    (run,) = left[0]["refused_runs"]
    assert run["reason"] == "short_side" and run["largest_size"] == 0.75
    assert 'LWPOLYLINE 8E on layer "outline"' in result.messages


@pytest.mark.parametrize("arguments, error", [
    ({"data": "0\nEOF\n"}, TypeError),
    ({"data": b"", "size": -1}, ValueError),
    ({"data": b"", "style": "round"}, ValueError),
    ({"data": b"", "close_gap": float("nan")}, ValueError),
    ({"data": b"", "layer": 3}, TypeError),
])
def test_bad_arguments_raise_before_any_work(arguments, error):
    with pytest.raises(error):
        rrensen.fillet_dxf(**arguments)
