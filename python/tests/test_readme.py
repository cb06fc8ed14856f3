# SPDX-License-Identifier: Apache-2.0
"""The README's Python examples marked as running as written, run as
written from the project's root."""
import os
import re
import subprocess
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MARK = "<!-- runs as written from the project's root: python/tests/test_readme.py -->"


def examples():
    text = open(os.path.join(ROOT, "README.md"), encoding="utf-8").read()
    return re.findall(re.escape(MARK) + r"\n```python\n(.*?)```", text, re.S)


def test_the_readme_marks_its_examples():
    assert len(examples()) >= 2


@pytest.mark.parametrize("index", range(len(examples())))
def test_a_readme_example_runs_as_written(index, tmp_path):
    if not os.path.isdir(os.path.join(ROOT, "..", "shared", "captures")):
        pytest.skip("the examples read ../shared/captures, which is not there")
    code = examples()[index]
    if "dask" in code:
        pytest.importorskip("dask.distributed")
    pytest.importorskip("pandas")
    script = tmp_path / "example.py"
    script.write_text(code)
    # The package these tests import, wherever it is installed.
    import corvuna
    env = dict(os.environ, PYTHONPATH=os.path.dirname(os.path.dirname(os.path.abspath(corvuna.__file__))))
    done = subprocess.run([sys.executable, str(script)], cwd=ROOT, capture_output=True, text=True, timeout=600,
                          env=env)
    assert done.returncode == 0, done.stderr
    assert done.stdout.strip(), "the example printed nothing"
