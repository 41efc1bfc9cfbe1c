"""The bundled examples written with the authoring library: their scripts print exactly the
documents that are checked in."""

import subprocess
import sys
import unittest

from support import ROOT


class ExampleDocumentsTest(unittest.TestCase):
    def test_scripts_regenerate_the_checked_in_documents(self):
        scripts = [script for script in sorted((ROOT / "examples").glob("*/make_demo.py"))
                   if "orvane_author" in script.read_text(encoding="utf-8")]
        self.assertTrue(scripts)
        for script in scripts:
            with self.subTest(script.parent.name):
                written = subprocess.run([sys.executable, str(script)], capture_output=True, text=True,
                                         check=True).stdout
                self.assertEqual(written, (script.parent / "demo.opr").read_text(encoding="utf-8"),
                                 f"run: python3 {script.relative_to(ROOT)} > "
                                 f"{(script.parent / 'demo.opr').relative_to(ROOT)}")


if __name__ == "__main__":
    unittest.main()
