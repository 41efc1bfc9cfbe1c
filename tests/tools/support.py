"""Shared by the tests of the authoring tools: where things are, and running the program."""

import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools"))

PROGRAM = os.environ.get("ORVANE_PROGRAM")

needs_program = unittest.skipUnless(PROGRAM, "ORVANE_PROGRAM names no built orvane")


def run_program(*arguments, document=None):
    """Runs orvane, in a fresh demo folder holding `document` as demo.opr when one is given;
    returns (exit status, stdout, stderr)."""
    with tempfile.TemporaryDirectory() as folder:
        if document is not None:
            Path(folder, "demo.opr").write_text(document, encoding="utf-8", newline="\n")
        result = subprocess.run([PROGRAM, folder, *arguments], capture_output=True, check=False)
    return result.returncode, result.stdout.decode("utf-8", "replace"), result.stderr.decode("utf-8", "replace")
