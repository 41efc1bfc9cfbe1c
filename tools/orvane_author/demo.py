"""A demo built by naming operators, inputs and outputs, written as a "demo.opr" document."""

from dataclasses import dataclass
from pathlib import Path

from .catalog import FINAL_OUTPUT, HINT_CHOICE, HINT_SEVERAL_SOURCES, AuthoringError, load_catalog, suggest
from .text import format_float, quote

# Interpolation of the segment that ends at a key, and what a curve gives outside its keys.
SHAPES = {"linear": 0, "bezier": 1, "hermite": 2, "step": 3}
EXTRAPOLATIONS = {"zero": 0, "hold": 1, "repeat": 2, "mirror": 3}


def code_of(value, names, what):
    if isinstance(value, str):
        if value not in names:
            raise AuthoringError(f"unknown {what} {value!r}{suggest(value, list(names))}; "
                                 f"the {what}s: {', '.join(names)}")
        return names[value]
    if value not in names.values():
        raise AuthoringError(f"unknown {what} code {value!r}; the {what}s: "
                             + ", ".join(f"{name} ({code})" for name, code in names.items()))
    return value


@dataclass(frozen=True)
class Key:
    """A key of a curve. `shape` shapes the segment that ends here; `cp1` (incoming) and `cp2`
    (outgoing) are handles as (time, value) offsets from the key: bezier control points, or for
    hermite the slopes cp2[1] leaving and -cp1[1] arriving, per whole segment."""
    time: float
    value: float
    shape: object = "linear"
    cp1: tuple = None
    cp2: tuple = None


class Curve:
    """Keys in ascending time, and what the curve gives before the first and after the last:
    "zero", "hold" (the end key's value), "repeat" or "mirror" (repeat, every other time backwards).
    Keys may be given as Key or as tuples (time, value) or (time, value, shape)."""

    def __init__(self, keys, before="hold", after="hold"):
        self.keys = [key if isinstance(key, Key) else Key(*key) for key in keys]
        if not self.keys:
            raise AuthoringError("a curve needs at least one key")
        for earlier, later in zip(self.keys, self.keys[1:]):
            if later.time < earlier.time:
                raise AuthoringError(f"curve keys must be in ascending time: {later.time:g} after {earlier.time:g}")
        self.shapes = [code_of(key.shape, SHAPES, "shape") for key in self.keys]
        self.before = code_of(before, EXTRAPOLATIONS, "extrapolation")
        self.after = code_of(after, EXTRAPOLATIONS, "extrapolation")

    def text(self):
        keys = []
        for i, (key, shape) in enumerate(zip(self.keys, self.shapes)):
            fields = f"time: {format_float(key.time)}; value: {format_float(key.value)}; shape: {shape};"
            for name, handle in (("cp1", key.cp1), ("cp2", key.cp2)):
                if handle is not None:
                    fields += f" {name}_x: {format_float(handle[0])}; {name}_y: {format_float(handle[1])};"
            keys.append(f"key{'' if i == 0 else '[]'} {{ {fields} }}")
        return f"track {{ before: {self.before}; after: {self.after}; {' '.join(keys)} }}"


@dataclass
class Link:
    source: "Op"
    output: str
    target: "Op"
    input: str


class Op:
    """An operator of the demo: its number in the document, its type, its input values and the
    connections into it."""

    def __init__(self, demo, index, op_type, pos):
        self.demo, self.index, self.type, self.pos = demo, index, op_type, pos
        self.values = {}  # input name -> float, str or Curve
        self.links = []  # connections into this operator's inputs, in the order they were made

    def __repr__(self):
        return f"#{self.index} {self.type.name}"

    def set(self, values=None, /, **inputs):
        """Sets inputs by name: set({"Position.X": 1}) or set(Position_X=1). Returns the operator."""
        for name, value in {**(values or {}), **inputs}.items():
            port = self.type.input(name)
            if self.sources_of(port.name):
                raise AuthoringError(f"input {port.name} of {self!r} is connected; it reads its source, not a value")
            self.values[port.name] = self._stored(port, value)
        return self

    def sources_of(self, input_name):
        return [link for link in self.links if link.input == input_name]

    def _stored(self, port, value):
        where = f"input {port.name} of {self!r}"
        if port.kind == "float":
            if isinstance(value, str) and port.hint & HINT_CHOICE:
                if value not in port.options:
                    raise AuthoringError(f"{where} has no option {value!r}; its options: {', '.join(port.options)}")
                return float(port.options.index(value))
            if isinstance(value, Curve):
                return value
            if isinstance(value, (bool, int, float)):
                format_float(value)  # refuses what the player cannot read back
                return float(value)
            raise AuthoringError(f"{where} takes a number or a Curve, not {value!r}")
        if port.kind == "text":
            if not isinstance(value, str):
                raise AuthoringError(f"{where} takes a text, not {value!r}")
            quote(value)
            return value
        raise AuthoringError(f"{where} is a {port.kind} input: it holds no value; connect an operator to it")


# Kinds that may meet in a connection. Scenes and images both draw while they are evaluated (an image
# pass can be grouped like a scene), generic ports take anything; floats and texts travel through
# registers of their own, so they meet only their own kind.
def kinds_meet(output_kind, input_kind):
    if "generic" in (output_kind, input_kind):
        return True
    drawn = ("scene", "image")
    return output_kind == input_kind or (output_kind in drawn and input_kind in drawn)


def default_position(index):
    return index * 60, (index % 5) * 40


class Demo:
    """A demo document under construction. Operator 0 is the FinalOutput (`demo.output`): connect the
    last image to its input "In"."""

    def __init__(self, music=None, catalog=None):
        self.catalog = catalog or load_catalog()
        self.music = music
        self.ops = []
        self.output = Op(self, 0, FINAL_OUTPUT, None)
        self.ops.append(self.output)

    def add(self, type_name, values=None, /, pos=None, **inputs):
        """Adds an operator of a registered type with input values: add("Sin", Amplitude=2) or
        add("Transform", {"Position.X": 1}). `pos` is its place in an editor (x, y)."""
        op = Op(self, len(self.ops), self.catalog[type_name], pos).set(values, **inputs)
        self.ops.append(op)  # only once its values are sound: a refused operator leaves no trace
        return op

    def connect(self, source, target, input, output=None):
        """Feeds `target`'s input from `source`'s output; `output` may be left out when the source
        has only one. Returns the target."""
        if output is None:
            if len(source.type.outputs) != 1:
                names = ", ".join(port.name for port in source.type.outputs)
                raise AuthoringError(f"{source!r} has several outputs; name one: {names}")
            output = source.type.outputs[0].name
        out_port = source.type.output(output)
        in_port = target.type.input(input)
        if source.type.find_input(out_port.name):
            # The loader looks a connection's port names up among the inputs first.
            raise AuthoringError(f"{source!r} has an input and an output named {out_port.name}; "
                                 "a connection from that output would link the input")
        if not kinds_meet(out_port.kind, in_port.kind):
            raise AuthoringError(f"cannot connect {source!r} output {out_port.name} ({out_port.kind}) to "
                                 f"{target!r} input {in_port.name} ({in_port.kind})")
        if in_port.name in target.values:
            raise AuthoringError(f"input {in_port.name} of {target!r} has a value; a connected input reads "
                                 "its source instead")
        earlier = target.sources_of(in_port.name)
        if earlier and not in_port.hint & HINT_SEVERAL_SOURCES:
            first = earlier[0]
            raise AuthoringError(f"input {in_port.name} of {target!r} is already connected to {first.source!r} "
                                 f"output {first.output}; only its first connection is evaluated")
        if source is target or self._depends_on(source, target):
            raise AuthoringError(f"connecting {source!r} to {target!r} would close a cycle")
        target.links.append(Link(source, out_port.name, target, in_port.name))
        return target

    def _depends_on(self, op, other):
        """Whether evaluating `op` evaluates `other`."""
        seen, stack = set(), [op]
        while stack:
            current = stack.pop()
            for link in current.links:
                if link.source is other:
                    return True
                if link.source.index not in seen:
                    seen.add(link.source.index)
                    stack.append(link.source)
        return False

    def text(self):
        """The document text."""
        lines = [f"MusicPath: {quote(self.music)};", ""] if self.music is not None else []
        for op in self.ops:
            lines.append(f"{'operator' if op.index == 0 else 'operator[]'} {{")
            lines.append(f"  type: {op.type.name};")
            x, y = op.pos if op.pos is not None else default_position(op.index)
            lines.append(f"  pos_x: {format_float(x)}; pos_y: {format_float(y)};")
            for port in op.type.inputs:
                if port.name in op.values:
                    lines.append(f"  input[{port.number}] {{ {entry(port, op.values[port.name])} }}")
            for c, link in enumerate(op.links):
                lines.append(f"  {'connection' if c == 0 else 'connection[]'} {{ source: {link.source.index}; "
                             f"sourceProp: {quote(link.output)}; target: {link.target.index}; "
                             f"targetProp: {quote(link.input)}; }}")
            lines.append("}")
        return "\n".join(lines) + "\n"

    def write(self, path="demo.opr"):
        Path(path).write_text(self.text(), encoding="utf-8", newline="\n")


def entry(port, value):
    """The statements of an input entry: the value under the port's name, and its curve."""
    if isinstance(value, Curve):
        return f"{quote(port.name)}: {format_float(value.keys[0].value)}; {value.text()}"
    if isinstance(value, str):
        return f"{quote(port.name)}: {quote(value)};"
    return f"{quote(port.name)}: {format_float(value)};"
