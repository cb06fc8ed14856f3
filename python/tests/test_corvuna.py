# SPDX-License-Identifier: Apache-2.0
import os
import random
import shutil
import subprocess
import sys

import pytest

import corvuna

SECURITY_MODE_COMPLETE = ("<L3Message>\n<dir>UPLINK</dir>\n<message>\n<SECURITY_MODE_COMPLETE>\n"
                          "</SECURITY_MODE_COMPLETE>\n</message>\n</L3Message>\n")
PACKAGE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(corvuna.__file__)))


def run_python(code, env_changes, cwd=None):
    env = {k: v for k, v in os.environ.items() if k not in ("CORVUNA_LIBRARY", "PYTHONPATH")}
    env.update(env_changes)
    return subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True, cwd=cwd)


@pytest.mark.parametrize("message", [b"\x07\x5e", bytearray(b"\x07\x5e"), memoryview(b"\x07\x5e"), "075e",
                                     "0x075E", "07:5e", " 07 5e "])
def test_every_message_form_gives_the_same_document(message):
    assert corvuna.decode(message) == SECURITY_MODE_COMPLETE
    # The output buffer is reused: a second call must not append to the first.
    assert corvuna.decode(message, uplink=1) == SECURITY_MODE_COMPLETE


@pytest.mark.parametrize("call, error, says", [
    (lambda: corvuna.decode(1234), TypeError, "not int"),
    (lambda: corvuna.decode(None), TypeError, "not NoneType"),
    (lambda: corvuna.decode("07 5"), ValueError, "not a hex message"),
    (lambda: corvuna.decode("zz"), ValueError, "not a hex message"),
    (lambda: corvuna.decode("075e", uplink=2), ValueError, "direction 2"),
    (lambda: corvuna.decode("075e", uplink="sideways"), ValueError, "direction 'sideways'"),
    (lambda: corvuna.view([7, 0x5e]), TypeError, "not list"),
    (lambda: corvuna.lte_gain(b""), ValueError, "at least one octet"),
    (lambda: corvuna.decode_many(["075e"], threads=0), ValueError, "threads"),
    (lambda: corvuna.decode_many([(1, "075e", 3)]), ValueError, "3 values"),
    (lambda: corvuna.decode_many([(1, 5)]), TypeError, "not int"),
])
def test_bad_arguments_raise_with_a_clear_message(call, error, says):
    with pytest.raises(error, match=says):
        call()


def test_directions_and_the_standard_view():
    downlink = corvuna.decode("0761", uplink=False)
    assert "<dir>DOWNLINK</dir>" in downlink
    assert corvuna.decode("0761", uplink="dl") == downlink
    v = corvuna.view("0761", uplink=False)
    assert (v["direction"], v["message"]["name"], v["result"]) == ("downlink", "emm_information", "decoded")
    # GUTI REALLOCATION COMMAND without its GUTI.
    assert corvuna.view("0750", uplink=False)["result"] == "decoded_with_errors"
    assert corvuna.view(b"")["result"] == "not_nas"
    assert "Message type: Security mode complete (0x5e)" in corvuna.view_text("075e")
    # A ciphered message: shown as ciphered unless the caller says EEA0.
    ciphered = "27" + "11223344" + "05" + "075e"
    left = corvuna.view(ciphered)
    assert (left["result"], left["message"]["ciphered_octets"]) == ("ciphered", "075e")
    assert left["message"]["ciphering"]["body"] == "left_ciphered"
    inner = corvuna.view(ciphered, null_ciphering=True)["message"]["message"]
    assert inner["name"] == "security_mode_complete"


def test_view_and_program_agree(corpus):
    program = shutil.which("corvuna", path=os.environ.get("CORVUNA_PROGRAM_DIR")) if os.environ.get(
        "CORVUNA_PROGRAM_DIR") else None
    if program is None:
        pytest.skip("CORVUNA_PROGRAM_DIR names no directory with the corvuna program")
    sample = corpus[::50]
    lines = subprocess.run([program, "-T", "json", "-f", "-"], capture_output=True, text=True,
                           input="".join(f"{d}\t{m.hex()}\n" for d, m in sample)).stdout.splitlines()
    import json
    assert [json.loads(line) for line in lines] == [corvuna.view(m, d) for d, m in sample]


def test_lte_gain():
    assert corvuna.lte_gain("0200c10509404010 20") == (32000000, 16000000)
    assert corvuna.lte_gain("0200c10109") == (-1, -1)
    assert corvuna.lte_gain("075e") is None


def test_decode_many_keeps_the_order_and_matches_serial_decoding(corpus):
    batch = corpus * 3
    serial = [corvuna.decode(m, d) for d, m in batch]
    assert corvuna.decode_many(batch, threads=4) == serial
    assert corvuna.decode_many(batch, threads=1) == serial
    assert corvuna.decode_many([m for d, m in corpus if d == 1], uplink=True) == [s for (d, _), s in
                                                                                   zip(corpus, serial) if d == 1]
    assert corvuna.decode_many([]) == []


def test_random_input_never_crashes():
    rng = random.Random(2411)
    for _ in range(3000):
        message = bytes(rng.randrange(256) for _ in range(rng.randrange(0, 80)))
        uplink = rng.random() < 0.5
        assert corvuna.decode(message, uplink).startswith("<L3Message>")
        assert corvuna.view(message, uplink)["result"] in ("decoded", "decoded_with_errors", "unknown_message",
                                                          "not_nas", "ciphered")


def test_the_library_search_says_what_it_tried(tmp_path):
    missing = tmp_path / "nowhere" / "libcorvuna.so.1"
    r = run_python("import corvuna; corvuna.decode('075e')", {"CORVUNA_LIBRARY": str(missing),
                                                               "PYTHONPATH": PACKAGE_DIR})
    assert r.returncode != 0 and f"CORVUNA_LIBRARY={missing} could not be loaded" in r.stderr
    # A copy of the package without any library beside it, on a system that
    # has none either.
    shutil.copytree(os.path.dirname(corvuna.__file__), tmp_path / "corvuna",
                    ignore=shutil.ignore_patterns("*.so*", "*.dll", "_installed.py", "__pycache__"))
    r = run_python("import corvuna; corvuna.decode('075e')", {"PYTHONPATH": str(tmp_path), "LD_LIBRARY_PATH": ""},
                   cwd=tmp_path)
    if r.returncode == 0:
        pytest.skip("a Corvuna library is installed on this system")
    assert "the Corvuna library was not found; tried:" in r.stderr
    assert str(tmp_path / "corvuna" / "libcorvuna.so.1") in r.stderr


def test_the_command_line():
    def run(*args):
        return subprocess.run([sys.executable, "-m", "corvuna", *args], capture_output=True, text=True,
                              cwd=PACKAGE_DIR)
    r = run("075e")
    assert (r.returncode, r.stdout) == (0, SECURITY_MODE_COMPLETE)
    r = run("-T", "json", "-d", "dl", "0761", "zz")
    assert r.returncode == 1
    assert '"emm_information"' in r.stdout and "message 2: not a hex message" in r.stderr
    r = run("--version")
    assert r.returncode == 0 and r.stdout.startswith(f"corvuna {corvuna.library_version()} (")
