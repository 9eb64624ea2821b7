"""rrensen.fillet_dxf: rrensen-dxf's run over a file's bytes, in memory.
The run is the program's own engine; what this checks is the Python face:
each keyword argument is the program's option (the drawing, report and
messages are the program's, byte for byte), the report comes as dicts, the
status and messages as the program gives them, and bad arguments raise.

The reference is the built program; see conftest.py for how it is found."""

import json
import subprocess

import pytest

import rrensen
from shapes import ROOT

# (keyword arguments of fillet_dxf, the same as rrensen-dxf's words)
OPTION_SETS = [
    ({}, []),
    ({"size": 2.5, "style": "radius"}, ["-c", "2.5", "--style", "radius"]),
    ({"size": 1.0, "close_gap": 0.5, "join": True}, ["-c", "1", "--close-gap", "0.5", "--join"]),
    ({"size": 3.0, "style": "chamfer", "join": True, "join_gap": 0.01},
     ["-c", "3", "--style", "chamfer", "--join-gap", "0.01"]),
    ({"layer": "outline"}, ["--layer", "outline"]),
    ({"size": 2.0, "style": "radius", "corners": "concave"},
     ["-c", "2", "--style", "radius", "--corners", "concave"]),
    ({"size": 6.0, "style": "dogbone", "max_angle": 120.0},
     ["-c", "6", "--style", "dogbone", "--max-angle", "120"]),
    ({"size": 0.0, "refillet": True, "rechamfer": 3.0, "refillet_max_radius": 50.0, "tangent_tolerance": 1e-3},
     ["-c", "0", "--refillet", "--rechamfer", "3", "--refillet-max-radius", "50", "--tangent-tolerance", "0.001"]),
]


def run_program(program, tmp_path, input_path, words):
    output, report = tmp_path / "out.dxf", tmp_path / "report.jsonl"
    done = subprocess.run([program, *words, "-o", str(output), "--report", str(report), str(input_path)],
                          capture_output=True, check=False)
    return (done.returncode, output.read_bytes() if output.exists() else None,
            report.read_text() if report.exists() else None, done.stderr.decode())


@pytest.mark.parametrize("options, words", OPTION_SETS, ids=lambda o: repr(o))
@pytest.mark.parametrize("example", ["bracket.dxf", "plate.dxf"])
def test_the_drawing_report_and_messages_are_the_programs(dxf_cli, tmp_path, example, options, words):
    path = ROOT / "examples" / example
    status, drawing, report, messages = run_program(dxf_cli, tmp_path, path, words)
    result = rrensen.fillet_dxf(path.read_bytes(), name=str(path), **options)
    assert (result.status, result.dxf, result.messages) == (status, drawing, messages)
    assert result.report == [json.loads(line) for line in report.splitlines()]
    assert bool(result) == (status == 0)  # the bracket's 8E is refused: status 1


def test_bad_data_is_status_2_with_the_programs_message(dxf_cli, tmp_path):
    path = tmp_path / "bad.dxf"
    path.write_bytes(b"garbage\n")
    status, drawing, _, messages = run_program(dxf_cli, tmp_path, path, [])
    result = rrensen.fillet_dxf(path.read_bytes(), name=str(path))
    assert (result.status, result.dxf, result.report) == (2, None, [])
    assert status == 2 and drawing is None and result.messages == messages
    assert not result and "not a readable ASCII DXF file" in result.messages


@pytest.mark.parametrize("arguments, error", [
    ({"data": "0\nEOF\n"}, TypeError),
    ({"data": b"", "size": -1}, ValueError),
    ({"data": b"", "style": "round"}, ValueError),
    ({"data": b"", "corners": "inner"}, ValueError),
    ({"data": b"", "close_gap": float("nan")}, ValueError),
    ({"data": b"", "layer": 3}, TypeError),
])
def test_bad_arguments_raise_before_any_work(arguments, error):
    with pytest.raises(error):
        rrensen.fillet_dxf(**arguments)
