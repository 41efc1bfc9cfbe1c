"""Writing orvane demos from Python: operators, inputs and outputs by name instead of by number.

    import sys; sys.path.insert(0, "tools")  # from the checkout's root
    from orvane_author import Curve, Demo

    demo = Demo(music="music.ogg")
    time = demo.add("Time")
    wave = demo.add("Sin", Amplitude=2.0, Frequency=Curve([(0, 1), (10, 4, "step")]))
    demo.connect(time, wave, "Value")
    demo.write("demo.opr")

The operator types and their ports come from the program (`orvane --operators --json`, kept in
operators.json); a wrong type, port, value or connection raises AuthoringError naming the operator
and the valid names. Standard library only.
"""

from .catalog import FINAL_OUTPUT, AuthoringError, Catalog, Input, OperatorType, Output, load_catalog
from .demo import EXTRAPOLATIONS, SHAPES, Curve, Demo, Key, Op
from .text import format_float, quote

__all__ = ["AuthoringError", "Catalog", "Curve", "Demo", "EXTRAPOLATIONS", "FINAL_OUTPUT", "Input", "Key", "Op",
           "OperatorType", "Output", "SHAPES", "format_float", "load_catalog", "quote"]
