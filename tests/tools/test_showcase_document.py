"""The showcase example (examples/showcase) uses every operator type the program registers, so
that it keeps covering the set as operators are added, and the program finds nothing to report
in it."""

import json
import re
import subprocess
import unittest

from support import PROGRAM, ROOT, needs_program

SHOWCASE = ROOT / "examples" / "showcase"


def types_in_document(path):
    return set(re.findall(r"^\s*type:\s*([A-Za-z0-9_]+)\s*;", path.read_text(encoding="utf-8"), re.MULTILINE))


@needs_program
class ShowcaseDocumentTest(unittest.TestCase):
    def test_every_registered_operator_appears_in_the_showcase(self):
        listing = subprocess.run([PROGRAM, "--operators", "--json"], capture_output=True, text=True, check=True)
        registered = {entry["type"] for entry in json.loads(listing.stdout)}
        registered = {name for name in registered if not name.startswith("Test")}
        self.assertGreaterEqual(len(registered), 36)
        used = types_in_document(SHOWCASE / "demo.opr")
        self.assertEqual(registered - used, set(), "operator types the showcase does not use")
        self.assertEqual(used - registered - {"FinalOutput"}, set(), "types the program does not know")

    def test_check_reports_nothing(self):
        result = subprocess.run([PROGRAM, str(SHOWCASE), "--check"], capture_output=True, text=True, check=False)
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "", ""))


if __name__ == "__main__":
    unittest.main()
