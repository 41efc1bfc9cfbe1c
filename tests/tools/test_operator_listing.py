"""`orvane --operators` against the code: every registered type, with the ports the graph loader numbers."""

import json
import re
import struct
import unittest

from support import PROGRAM, ROOT, needs_program, run_program
from orvane_author import FINAL_OUTPUT, Curve, Demo, load_catalog
from orvane_author.catalog import HINT_CHOICE, HINT_TOGGLE

REGISTRATION = re.compile(r'OperatorRegistration<\w+>\s+\w+\{\s*"([^"]+)"')
INPUT_LINE = re.compile(r'  in (?P<name>\S+) : (?P<kind>\w+)(?: = (?P<value>curve\(\d+ keys\)|"(?:[^"\\]|\\.)*"|\S+))?'
                        r'(?P<sources>(?: <- #\d+\.\S+)*)$')
OUTPUT_LINE = re.compile(r"  out (?P<name>\S+) : (?P<kind>\w+)$")


def escape_text(text):
    """As the program prints texts."""
    out = []
    for byte in text.encode("utf-8"):
        c = chr(byte)
        if c in '\\"':
            out.append("\\" + c)
        elif c in "\n\r\t":
            out.append({"\n": "\\n", "\r": "\\r", "\t": "\\t"}[c])
        elif byte < 0x20 or byte >= 0x7F:
            out.append(f"\\x{byte:02x}")
        else:
            out.append(c)
    return "".join(out)


def float32(value):
    return struct.unpack("<f", struct.pack("<f", float(value)))[0]


def parse_dump(text):
    """{operator index: (type, {input name: (kind, value, sources)}, [(output name, kind)])}."""
    graph, current = {}, None
    for line in text.splitlines():
        if line.startswith("#"):
            index, op_type = line[1:].split(" ", 1)
            current = graph.setdefault(int(index), (op_type, {}, []))
        elif (match := INPUT_LINE.match(line)):
            sources = re.findall(r"<- (#\d+\.\S+)", match["sources"])
            current[1][match["name"]] = (match["kind"], match["value"], sources)
        elif (match := OUTPUT_LINE.match(line)):
            current[2].append((match["name"], match["kind"]))
        else:
            raise AssertionError(f"unexpected --dump-graph line {line!r}")
    return graph


def dump_graph(demo):
    status, out, err = run_program("--dump-graph", document=demo.text())
    assert status == 0, err
    return parse_dump(out)


@needs_program
class OperatorListingTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.catalog = load_catalog(program=PROGRAM)
        status, cls.json_text, _ = run_program("--operators", "--json")
        assert status == 0

    def test_every_registered_type_is_listed_with_a_description(self):
        registered = set()
        for source in (ROOT / "src").rglob("*.cpp"):
            registered.update(REGISTRATION.findall(source.read_text(encoding="utf-8")))
        listed = [op_type.name for op_type in self.catalog]
        self.assertEqual(listed, sorted(listed, key=lambda name: name.encode()))
        self.assertEqual(set(listed), registered)
        for op_type in self.catalog:
            with self.subTest(op_type.name):
                self.assertTrue(op_type.description, "no description")
                self.assertNotIn("\n", op_type.description)
                self.assertTrue(op_type.outputs, "no output: the player evaluates the first")

    def test_text_form_says_what_the_json_says(self):
        status, text, _ = run_program("--operators")
        self.assertEqual(status, 0)
        # Raw number texts, as the program printed them.
        entries = json.loads(self.json_text, parse_float=str, parse_int=str)
        expected = []
        for entry in entries:
            expected.append(f"{entry['type']}  (category {entry['category']})  {entry['description']}")
            for port in entry["inputs"]:
                line = f"  in {port['name']} : {port['kind']}"
                if port["kind"] == "float":
                    line += f" = {port['default']}"
                elif port["kind"] == "text":
                    line += f' = "{escape_text(port["default"])}"'
                if port["hint"] != "0":
                    line += f" hint 0x{int(port['hint']):02x}"
                if port["options"]:
                    line += " options " + "|".join(port["options"])
                expected.append(line)
            expected += [f"  out {port['name']} : {port['kind']}" for port in entry["outputs"]]
        self.assertEqual(text, "\n".join(expected) + "\n")

    def test_defaults_kinds_and_outputs_are_those_of_the_loaded_graph(self):
        demo = Demo(music="music.ogg", catalog=self.catalog)
        ops = [demo.add(op_type.name) for op_type in self.catalog]
        graph = dump_graph(demo)
        self.assertEqual(graph[0][0], "FinalOutput")
        self.assertEqual(list(graph[0][1]), [port.name for port in FINAL_OUTPUT.inputs])
        self.assertEqual(graph[0][2], [(port.name, port.kind) for port in FINAL_OUTPUT.outputs])
        for op in ops:
            with self.subTest(op.type.name):
                op_type, inputs, outputs = graph[op.index]
                self.assertEqual(op_type, op.type.name)
                self.assertEqual(list(inputs), [port.name for port in op.type.inputs])
                self.assertEqual(outputs, [(port.name, port.kind) for port in op.type.outputs])
                for port in op.type.inputs:
                    kind, value, sources = inputs[port.name]
                    self.assertEqual(kind, port.kind, port.name)
                    self.assertEqual(sources, [])
                    if port.kind == "float":
                        self.assertEqual(float32(value), float32(port.default), port.name)
                    elif port.kind == "text":
                        self.assertEqual(value, f'"{escape_text(port.default)}"', port.name)
                    else:
                        self.assertIsNone(value, port.name)

    def test_every_port_of_every_type_loads_where_the_library_put_it(self):
        demo = Demo(music="music.ogg", catalog=self.catalog)
        # One operator per output kind feeds the scene, image and generic inputs.
        providers = {}
        for op_type in self.catalog:
            for port in op_type.outputs:
                if port.kind not in providers:
                    providers[port.kind] = (demo.add(op_type.name), port.name)
        providers.setdefault("generic", providers["float"])
        expected = {}
        for op_type in self.catalog:
            op = demo.add(op_type.name)
            for port in op_type.inputs:
                key = (op.index, port.name)
                if port.kind == "float" and port.hint & HINT_CHOICE:
                    value = port.options[-1]
                    expected[key] = ("value", float32(len(port.options) - 1))
                elif port.kind == "float" and port.hint & HINT_TOGGLE:
                    value, expected[key] = True, ("value", 1.0)
                elif port.kind == "float" and port.number % 2 == 1:
                    keys = 1 + (op.index + port.number) % 4
                    value = Curve([(t, t * 0.5 + op.index) for t in range(keys)], after="mirror")
                    expected[key] = ("value", f"curve({keys} keys)")
                elif port.kind == "float":
                    value = 1000.25 + 13 * op.index + port.number / 8
                    expected[key] = ("value", float32(value))
                elif port.kind == "text":
                    value = f'{op_type.name}/{port.name} "q" \\ \t \u00e9'
                    expected[key] = ("value", f'"{escape_text(value)}"')
                else:
                    source, output = providers[port.kind]
                    demo.connect(source, op, port.name, output=output)
                    expected[key] = ("sources", [f"#{source.index}.{output}"])
                    continue
                op.set({port.name: value})
        graph = dump_graph(demo)
        self.assertEqual(len(graph), len(demo.ops))
        for (index, name), (what, wanted) in expected.items():
            with self.subTest(operator=index, input=name):
                kind, value, sources = graph[index][1][name]
                if what == "sources":
                    self.assertEqual(sources, wanted)
                elif isinstance(wanted, float):
                    self.assertEqual(float32(value), wanted)
                else:
                    self.assertEqual(value, wanted)


if __name__ == "__main__":
    unittest.main()
