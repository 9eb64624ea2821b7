"""Every public function, class and property says what it is, with its
signature and an example that runs; the type stubs name what the module
has."""

import ast
import doctest
import inspect
from pathlib import Path

import pytest

import rrensen
from rrensen import _core
from shapes import ROOT

PUBLIC = [name for name in rrensen.__all__ if name != "__version__"]
FUNCTIONS = {
    "fillet": 'fillet(points, size=5.0, *, closing="proximity", style="chord") -> Outline',
    "fillet_dxf": (
        'fillet_dxf(data, size=5.0, *, style="chord", corners="all", max_angle=None,'
        ' tbone_side=None, close_gap=None, join=False, join_gap=None, refillet=False, rechamfer=None,'
        ' refillet_max_radius=None, tangent_tolerance=None, layer=None, name="<data>") -> DxfResult'
    ),
    "plan_polyline": (
        'plan_polyline(vertices, *, entity="LWPOLYLINE", handle=None, layer="0", flags=0,'
        ' widths=None, vertex_flags=None,'
        ' size=5.0, style="chord", corners="all", close_gap=None, refillet=False, rechamfer=None,'
        ' refillet_max_radius=None, tangent_tolerance=None) -> PolylinePlan'
    ),
    "fillet_polyline": 'fillet_polyline(vertices, size, *, closed, style="chord") -> PolylineResult',
    "largest_fillet_size": (
        'largest_fillet_size(points, *, closing="proximity", limit=None, style="chord") -> float | None'
    ),
}


def run_examples(text, name):
    parser = doctest.DocTestParser()
    test = parser.get_doctest(text, {"rrensen": rrensen}, name, None, 0)
    assert test.examples, f"{name} has no example"
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    runner.run(test, out=lambda s: pytest.fail(f"{name}:\n{s}"))


def test_the_version_is_the_librarys():
    header = (ROOT / "include" / "rrensen" / "version.h").read_text()
    assert f'#define RRENSEN_VERSION_STRING "{rrensen.__version__}"' in header
    assert rrensen.__version__ == _core.__version__


@pytest.mark.parametrize("name", sorted(FUNCTIONS))
def test_functions_state_their_signature_and_show_an_example(name):
    function = getattr(rrensen, name)
    assert function.__doc__.startswith(FUNCTIONS[name] + "\n\n")
    # inspect reads the same signature, without the types
    assert f"{name}{inspect.signature(function)}" == FUNCTIONS[name].split(" ->")[0].replace('"', "'")
    run_examples(function.__doc__, name)


@pytest.mark.parametrize("name", sorted(set(PUBLIC) - set(FUNCTIONS)))
def test_classes_and_their_properties_say_what_they_are(name):
    cls = getattr(rrensen, name)
    run_examples(cls.__doc__, name)
    for attribute, value in vars(cls).items():
        if isinstance(value, property):
            assert value.__doc__ and len(value.__doc__) > 10, f"{name}.{attribute}"


def test_the_package_says_what_it_is():
    run_examples(rrensen.__doc__, "rrensen")


def test_the_stubs_name_what_the_module_has():
    stubs = ast.parse((Path(rrensen.__file__).parent / "_core.pyi").read_text())
    stubbed = {}
    for node in stubs.body:
        if isinstance(node, ast.ClassDef):
            stubbed[node.name] = {item.name for item in node.body if isinstance(item, ast.FunctionDef)
                                  and not item.name.startswith("_")}
            stubbed[node.name] |= {item.targets[0].id for item in node.body if isinstance(item, ast.Assign)}
        elif isinstance(node, ast.FunctionDef):
            stubbed[node.name] = None
            assert [a.arg for a in node.args.args + node.args.kwonlyargs] == list(
                inspect.signature(getattr(_core, node.name)).parameters), node.name
    for name in PUBLIC:
        assert name in stubbed, name
        cls = getattr(_core, name)
        if stubbed[name] is not None:
            if isinstance(cls, type) and issubclass(cls, rrensen.Result):
                has = set(cls.__members__)
            else:
                has = {a for a in vars(cls) if not a.startswith("_")}
            assert stubbed[name] == has, name
    assert (Path(rrensen.__file__).parent / "py.typed").is_file()
