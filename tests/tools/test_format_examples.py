"""The examples of docs/format.md load as the page says: each `opr` block is a document, and the
blocks after it (`dump-document`, `dump-graph`, `eval I:PORT T`) hold what the program prints."""

import re
import unittest

from support import ROOT, needs_program, run_program

FENCE = re.compile(r"^```([^\n]*)\n(.*?)^```$", re.S | re.M)


def examples():
    """(line, document, info, expected output) for every block after an `opr` block."""
    text = (ROOT / "docs" / "format.md").read_text(encoding="utf-8")
    document = None
    for match in FENCE.finditer(text):
        info, body = match[1].strip(), match[2]
        line = text.count("\n", 0, match.start()) + 1
        if info == "opr":
            document = body
        elif info.split(" ")[0] in ("dump-document", "dump-graph", "eval"):
            assert document is not None, f"format.md:{line}: {info} block before any opr block"
            yield line, document, info, body


@needs_program
class FormatExamplesTest(unittest.TestCase):
    def test_examples_load_as_documented(self):
        found = list(examples())
        self.assertGreaterEqual(len(found), 8)
        for line, document, info, expected in found:
            with self.subTest(f"format.md:{line} {info}"):
                command = info.split(" ")
                arguments = ["--" + command[0]]
                if command[0] == "eval":
                    arguments = ["--eval", command[1], "--time", command[2]]
                status, out, err = run_program(*arguments, document=document)
                self.assertEqual(status, 0, err)
                self.assertEqual(out, expected)


if __name__ == "__main__":
    unittest.main()
