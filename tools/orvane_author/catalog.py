"""The operator types and their ports, as the program itself lists them (`orvane --operators --json`).

The checked-in `operators.json` beside this file is that listing; `scripts/gen-operator-docs`
rewrites it and a test fails when it differs from what the program prints. Setting ORVANE_PROGRAM
to a built `orvane` (or passing `program=`) reads the listing from the program instead.
"""

import difflib
import json
import os
import subprocess
from dataclasses import dataclass, field
from pathlib import Path

CATALOG_FILE = Path(__file__).with_name("operators.json")

KINDS = ("float", "scene", "image", "text", "generic")

# Input hints, as the program declares them.
HINT_TEXTURE_PATH = 0x01
HINT_SHADER_PATH = 0x02
HINT_MESH_PATH = 0x04
HINT_SEVERAL_SOURCES = 0x08
HINT_TOGGLE = 0x10
HINT_CHOICE = 0x20


class AuthoringError(ValueError):
    """A demo that the player would load differently from what its script says."""


def suggest(name, names):
    """' (did you mean X?)' when one of `names` is close to `name`, else ''."""
    close = difflib.get_close_matches(name, names, n=1, cutoff=0.6)
    return f" (did you mean {close[0]!r}?)" if close else ""


@dataclass(frozen=True)
class Input:
    name: str
    kind: str
    default: object  # a float, a str, or None for scene, image and generic inputs
    hint: int
    options: tuple
    number: int  # k of the document's input[k]: inputs are numbered in declaration order


@dataclass(frozen=True)
class Output:
    name: str
    kind: str


@dataclass(frozen=True)
class OperatorType:
    name: str
    category: int
    description: str
    inputs: tuple
    outputs: tuple
    _inputs_by_name: dict = field(default_factory=dict, compare=False, repr=False)

    def __post_init__(self):
        self._inputs_by_name.update((port.name, port) for port in self.inputs)

    def find_input(self, name):
        return self._inputs_by_name.get(name)

    def find_output(self, name):
        return next((port for port in self.outputs if port.name == name), None)

    def input(self, name):
        """The input called `name`; "Position_X" also finds "Position.X" (for keyword arguments)."""
        port = self.find_input(name)
        if port is None and "_" in name:
            port = self.find_input(name.replace("_", "."))
        if port is None:
            names = [p.name for p in self.inputs]
            listed = ", ".join(names) if names else "none"
            raise AuthoringError(f"{self.name} has no input {name!r}{suggest(name, names)}; its inputs: {listed}")
        return port

    def output(self, name):
        port = self.find_output(name)
        if port is None:
            names = [p.name for p in self.outputs]
            raise AuthoringError(f"{self.name} has no output {name!r}{suggest(name, names)}; "
                                 f"its outputs: {', '.join(names)}")
        return port


def operator_type(entry):
    """An OperatorType from one object of the program's JSON listing."""
    inputs = tuple(Input(p["name"], p["kind"], p["default"], p["hint"], tuple(p["options"]), number)
                   for number, p in enumerate(entry["inputs"]))
    outputs = tuple(Output(p["name"], p["kind"]) for p in entry["outputs"])
    return OperatorType(entry["type"], entry["category"], entry["description"], inputs, outputs)


# Operator 0 of every document. The graph loader makes it itself: it is no registered type, so the
# program's listing leaves it out; the tests check these two ports against the loaded graph.
FINAL_OUTPUT = OperatorType("FinalOutput", 2, "The demo's result: what its input leaves is shown.",
                            (Input("In", "generic", None, 0, (), 0),), (Output("FinalOutput", "generic"),))


class Catalog:
    """The registered operator types by name."""

    def __init__(self, entries):
        self.types = {entry["type"]: operator_type(entry) for entry in entries}

    def __getitem__(self, name):
        found = self.types.get(name)
        if found is None:
            names = sorted(self.types)
            raise AuthoringError(f"unknown operator type {name!r}{suggest(name, names)}; "
                                 f"the types: {', '.join(names)}")
        return found

    def __iter__(self):
        return iter(self.types.values())


_loaded = {}


def program_listing(program):
    """The JSON text `program --operators --json` prints."""
    result = subprocess.run([str(program), "--operators", "--json"], capture_output=True, text=True, check=False)
    if result.returncode != 0:
        raise AuthoringError(f"{program} --operators --json failed ({result.returncode}): {result.stderr.strip()}")
    return result.stdout


def load_catalog(program=None, path=None):
    """The operator types, read once per process: from the listing file `path` when given; else from
    `program` (or $ORVANE_PROGRAM) when given; else from the checked-in operators.json."""
    if path is None:
        program = program or os.environ.get("ORVANE_PROGRAM")
    key = ("file", str(path or CATALOG_FILE)) if path or not program else ("program", str(program))
    if key not in _loaded:
        text = Path(key[1]).read_text(encoding="utf-8") if key[0] == "file" else program_listing(program)
        _loaded[key] = Catalog(json.loads(text))
    return _loaded[key]
