"""The authoring library on its own: what it writes, and the mistakes it refuses."""

import struct
import unittest

import support  # noqa: F401  (puts tools/ on the path)
from orvane_author import AuthoringError, Curve, Demo, Key, format_float, load_catalog, quote
from orvane_author.catalog import CATALOG_FILE
from orvane_author.reference import render_reference


def new_demo():
    return Demo(music="music.ogg", catalog=load_catalog(path=CATALOG_FILE))


class ErrorsTest(unittest.TestCase):
    def assertRefused(self, action, *fragments):
        with self.assertRaises(AuthoringError) as caught:
            action()
        for fragment in fragments:
            self.assertIn(fragment, str(caught.exception))

    def test_unknown_type_names_the_types(self):
        demo = new_demo()
        self.assertRefused(lambda: demo.add("Sine"), "unknown operator type 'Sine'", "did you mean 'Sin'",
                           "Camera", "Transform")

    def test_unknown_ports_name_the_operator_and_its_ports(self):
        demo = new_demo()
        wave = demo.add("Sin")
        time = demo.add("Time")
        cases = [
            (lambda: wave.set(Amplitud=2), ["Sin has no input 'Amplitud'", "did you mean 'Amplitude'",
                                            "Value, Amplitude, Frequency, Phase, Offset"]),
            (lambda: demo.connect(time, wave, "Valu"), ["Sin has no input 'Valu'"]),
            (lambda: demo.connect(time, wave, "Value", output="Out"), ["Time has no output 'Out'", "FloatOut"]),
            (lambda: demo.add("Time", Value=1), ["Time has no input 'Value'", "its inputs: none"]),
        ]
        for action, fragments in cases:
            with self.subTest(fragments[0]):
                self.assertRefused(action, *fragments)

    def test_connections_must_match_in_kind_and_count(self):
        demo = new_demo()
        time, cube, wave = demo.add("Time"), demo.add("Cube"), demo.add("Sin")
        group, hsv = demo.add("Group"), demo.add("HSV2RGB")
        lights = demo.add("LightPass")
        demo.connect(time, wave, "Value")
        cases = [
            (lambda: demo.connect(cube, wave, "Amplitude"),
             ["#2 Cube output OutScene (scene)", "#3 Sin input Amplitude (float)"]),
            (lambda: demo.connect(time, lights, "PointLight"), ["(float)", "PointLight (text)"]),
            (lambda: demo.connect(time, wave, "Value"), ["already connected to #1 Time output FloatOut"]),
            (lambda: demo.connect(hsv, wave, "Phase"), ["#5 HSV2RGB has several outputs", "Red, Green, Blue"]),
            (lambda: demo.connect(wave, wave, "Phase"), ["would close a cycle"]),
            (lambda: wave.set(Value=1), ["input Value of #3 Sin is connected"]),
            (lambda: demo.add("Material", sceneIn=1), ["sceneIn of #7 Material is a scene input"]),
            (lambda: demo.add("Sin", Amplitude="loud"), ["takes a number or a Curve"]),
            (lambda: demo.add("LightPass", DirLight=2.0), ["DirLight of #7 LightPass takes a text"]),
        ]
        for action, fragments in cases:
            with self.subTest(fragments[0]):
                self.assertRefused(action, *fragments)
        # Scenes and images both draw where they are evaluated: a light pass groups like a scene.
        demo.connect(lights, group, "InScene")
        demo.connect(cube, group, "InScene")  # Group takes several scenes
        later = demo.add("Sin", Amplitude=2)
        self.assertRefused(lambda: demo.connect(time, later, "Amplitude"), "Amplitude of #7 Sin has a value")

    def test_values_the_player_cannot_read_back_are_refused(self):
        demo = new_demo()
        for value, fragment in ((float("nan"), "not a finite number"), (1e39, "too large"),
                                ("a\0b", "NUL")):
            with self.subTest(value=value):
                port = "Amplitude" if not isinstance(value, str) else "PointLight"
                kind = "Sin" if port == "Amplitude" else "LightPass"
                self.assertRefused(lambda: demo.add(kind, {port: value}), fragment)

    def test_curves_are_checked(self):
        cases = [
            (lambda: Curve([]), "at least one key"),
            (lambda: Curve([(1, 0), (0, 1)]), "ascending time"),
            (lambda: Curve([(0, 0, "smooth")]), "unknown shape 'smooth'"),
            (lambda: Curve([(0, 0)], after="loop"), "unknown extrapolation 'loop'"),
            (lambda: Curve([(0, 0, 9)]), "unknown shape code 9"),
        ]
        for action, fragment in cases:
            with self.subTest(fragment):
                self.assertRefused(action, fragment)
        demo = new_demo()
        self.assertRefused(lambda: demo.add("LightPass", DirLight=Curve([(0, 0)])), "takes a text")


class WritingTest(unittest.TestCase):
    def test_a_small_demo_is_written_by_names(self):
        demo = new_demo()
        time = demo.add("Time")
        wave = demo.add("Sin", Amplitude=2, Frequency=Curve([Key(0, 1), Key(4, 3, "bezier", cp1=(-1, 0), cp2=(1, 0.5))],
                                                            before="zero", after="mirror"))
        demo.connect(time, wave, "Value")
        demo.connect(wave, demo.output, "In")
        self.assertEqual(demo.text(), (
            'MusicPath: "music.ogg";\n'
            "\n"
            "operator {\n"
            "  type: FinalOutput;\n"
            "  pos_x: 0; pos_y: 0;\n"
            '  connection { source: 2; sourceProp: "FloatOut"; target: 0; targetProp: "In"; }\n'
            "}\n"
            "operator[] {\n"
            "  type: Time;\n"
            "  pos_x: 60; pos_y: 40;\n"
            "}\n"
            "operator[] {\n"
            "  type: Sin;\n"
            "  pos_x: 120; pos_y: 80;\n"
            '  input[1] { "Amplitude": 2; }\n'
            '  input[2] { "Frequency": 1; track { before: 0; after: 3; key { time: 0; value: 1; shape: 0; } '
            "key[] { time: 4; value: 3; shape: 1; cp1_x: -1; cp1_y: 0; cp2_x: 1; cp2_y: 0.5; } } }\n"
            '  connection { source: 1; sourceProp: "FloatOut"; target: 2; targetProp: "Value"; }\n'
            "}\n"))

    def test_choices_toggles_and_dotted_names(self):
        demo = new_demo()
        image = demo.add("Image", Clear=True, Clear_R=0.5, pos=(7, 8.5))
        transform = demo.add("Transform", {"Position.X": 3})
        self.assertEqual(image.values, {"Clear": 1.0, "Clear.R": 0.5})
        self.assertEqual(transform.values, {"Position.X": 3.0})
        self.assertIn("  pos_x: 7; pos_y: 8.5;\n", demo.text())

    def test_floats_read_back_as_the_same_32_bit_value(self):
        for value, text in ((0.1, "0.1"), (60, "60"), (-2.5, "-2.5"), (1e7, "1e+07"), (3.14159265, "3.1415927"),
                            (1.5707963267948966, "1.5707964"), (4.5961940777, "4.5961941"), (123456.7, "123456.7"), (-0.0, "-0")):
            with self.subTest(value=value):
                self.assertEqual(format_float(value), text)
                self.assertEqual(struct.pack("<f", float(text)), struct.pack("<f", value))

    def test_texts_are_quoted_with_escapes(self):
        self.assertEqual(quote('a "b" \\ c'), '"a \\"b\\" \\\\ c"')
        self.assertEqual(quote("line\nnext\ttab\x01"), '"line\\nnext\\ttab\\001"')
        self.assertEqual(quote("\u00e9t\u00e9"), '"\u00e9t\u00e9"')


class ReferenceTest(unittest.TestCase):
    def test_types_are_grouped_by_family_with_a_fallback_for_new_ones(self):
        def entry(name, category, inputs=()):
            return {"type": name, "category": category, "description": f"{name} does it.", "inputs": list(inputs),
                    "outputs": [{"name": "ImageOut", "kind": "image"}]}
        choice = {"name": "Color", "kind": "float", "default": 0, "hint": 0x20, "options": ["Normal", "Add"]}
        path = {"name": "Filepath", "kind": "text", "default": "a|b", "hint": 0x02, "options": []}
        text = render_reference([entry("Blend", 2, [choice, path]), entry("Bloom", 2), entry("Spark", 0),
                                 entry("Weird", 9), entry("Texture", 2), entry("Wave", 3)])
        sections = [line for line in text.splitlines() if line.startswith("## ") or line.startswith("### ")]
        self.assertEqual(sections, ["## Scalars", "### Wave", "## Scene", "### Spark", "### Texture",
                                    "## Images and effects", "### Bloom", "## Compositing", "### Blend",
                                    "## Other", "### Weird"])
        self.assertIn("| 0 | `Color` | float | 0 | choice: 0 Normal, 1 Add |", text)
        self.assertIn('| 1 | `Filepath` | text | `"a\\|b"` | shader file path |', text)
        self.assertIn("Blend does it.\n\nCategory 2. Output: `ImageOut` (image).", text)


if __name__ == "__main__":
    unittest.main()
