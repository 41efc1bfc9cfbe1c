"""How numbers and texts are written in the document format so that they read back unchanged."""

import math
import struct

from .catalog import AuthoringError


def float32_bits(value):
    try:
        return struct.pack("<f", value)
    except OverflowError:
        raise AuthoringError(f"{value!r} is too large for a 32-bit float") from None


def format_float(value):
    """The number as "%g" writes it (six significant digits), or with up to nine where six do not
    read back as the same 32-bit float in the player."""
    number = float(value)
    if not math.isfinite(number):
        raise AuthoringError(f"{value!r} is not a finite number")
    bits = float32_bits(number)
    stored = struct.unpack("<f", bits)[0]  # the float the player keeps; its digits may be shorter
    for digits in range(6, 10):
        for candidate in (number, stored):
            text = f"{candidate:.{digits}g}"
            if float32_bits(float(text)) == bits:
                return text
    return f"{stored:.9g}"


_ESCAPES = {'"': '\\"', "\\": "\\\\", "\n": "\\n", "\r": "\\r", "\t": "\\t"}


def quote(text):
    """`text` as a quoted string of the format: quotes, backslashes and control bytes escaped.
    Bytes from 0x80 up (UTF-8) are written as they are."""
    if "\0" in text:
        raise AuthoringError(f"{text!r}: a text cannot hold a NUL byte (the player's texts end there)")
    out = []
    for c in text:
        if c in _ESCAPES:
            out.append(_ESCAPES[c])
        elif ord(c) < 0x20 or ord(c) == 0x7F:
            out.append(f"\\{ord(c):03o}")  # three octal digits, so that a digit after it stays apart
        else:
            out.append(c)
    return '"' + "".join(out) + '"'
