# SPDX-License-Identifier: Apache-2.0
"""corvuna.read and corvuna.read_frame against the program's own reading of
the real captures, and the ways a capture reaches the reader."""
import gzip
import io
import json
import os
import shutil
import subprocess
import sys

import pytest

import corvuna

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CAPTURES = os.path.join(ROOT, "..", "shared", "captures")
NAMES = sorted(n for n in os.listdir(CAPTURES) if n.endswith((".pcap", ".pcapng"))) if os.path.isdir(CAPTURES) else []
USER_DLT = {150: "s1ap"}  # s1ap_dlt150_srsepc: S1AP in user link type 3
OPEN5GS_KEYS = {"*": {"k": "465b5ce8b199b49faa5f0a2ee238a6bc", "opc": "e8ed289deba952e4283b54e88e6183ca"}}


def capture(name):
    path = os.path.join(CAPTURES, name)
    if not os.path.isfile(path):
        pytest.skip(f"the shared capture {path} is not there")
    return path


def program():
    place = os.environ.get("CORVUNA_PROGRAM_DIR")
    found = os.path.join(place, "corvuna") if place else shutil.which("corvuna")
    if not found or not os.path.exists(found):
        pytest.skip("the corvuna program is not found (CORVUNA_PROGRAM_DIR or PATH)")
    return found


def program_records(path, *options):
    out = subprocess.run([program(), "-r", path, "-T", "json", "--user-dlt", "150=s1ap", *options],
                         capture_output=True, text=True, check=False)
    return out.stdout.splitlines()


@pytest.mark.parametrize("name", NAMES or ["(no captures)"])
def test_every_record_is_the_programs_and_its_facts_are_the_views(name):
    path = capture(name)
    records = list(corvuna.read(path, user_dlt=USER_DLT))
    assert [r.json for r in records] == program_records(path)
    for r in records:
        whole = r.record
        assert (r.frame, r.time, r.carrier, r.direction, r.octets) == \
            (whole["frame"], whole["time"], whole["carrier"], whole["direction"], whole.get("octets"))
        # The view alone carries the schema version the record carries.
        assert (r.view and {k: v for k, v in r.view.items() if k != "schema_version"}) == whole.get("view")
        if r.view is None:
            assert r.nas == "as_ciphered"
            continue
        assert r.result == r.view["result"] and r.errors == len(r.view["errors"])
        # The message named is the inner one of a protected message whose body was read.
        message = r.view["message"]
        inner = message.get("message") if message["name"] == "security_protected_nas_message" else None
        assert r.message == ((inner or {}).get("name") or message["name"])
        causes = [ie["value"]["cause_value"] for ie in (inner or message)["ies"]
                  if ie["ie"].endswith("cause") and "cause_value" in ie["value"]]
        if causes:
            assert (r.cause, r.cause_text) == (causes[0]["value"], causes[0]["text"])


def test_identities_plmn_and_tac_of_an_attach():
    path = capture("s1ap_o5gs_testepc.pcapng")
    records = list(corvuna.read(path))
    request = next(r for r in records if r.message == "attach_request" and r.imsi)
    assert request.imsi == "001010123456819" and request.procedure == "initialUEMessage"
    assert (request.plmn, request.tac, request.tai) == ("001-01", 12345, "00f110-3039")
    accept = next(r for r in records if r.message == "attach_accept" and r.guti)
    guti = next(ie["value"] for ie in accept.view["message"]["message"]["ies"] if ie["ie"] == "guti")
    assert accept.guti == f"{guti['mcc']}-{guti['mnc']}-{guti['mme_group_id']:04x}-{guti['mme_code']:02x}-" \
                          f"{guti['m_tmsi']}"
    assert accept.tmsi == guti["m_tmsi"] and accept.ue == request.ue


def test_a_suci_of_the_null_scheme_gives_the_imsi():
    path = os.path.join(ROOT, "..", "shared", "captures-5g", "ngap_o5gs_roaming_hr.pcapng")
    if not os.path.isfile(path):
        pytest.skip(f"the shared capture {path} is not there")
    records = [r for r in corvuna.read(path) if r.imsi]
    assert records and records[0].message == "identity_response" and records[0].nas == "5gs"
    suci = next(ie["value"] for ie in records[0].view["message"]["ies"] if ie["ie"] == "mobile_identity")
    assert suci["protection_scheme_id"]["value"] == 0
    assert records[0].imsi == suci["mcc"] + suci["mnc"] + suci["msin"]


def test_files_pipes_and_gzip_give_what_the_path_gives(tmp_path):
    path = capture("s1ap_o5gs_testattach.pcapng")
    expected = [r.json for r in corvuna.read(path)]
    data = open(path, "rb").read()
    packed = tmp_path / "c.pcapng.gz"
    packed.write_bytes(gzip.compress(data))
    with open(path, "rb") as f:
        from_file = [r.json for r in corvuna.read(f)]
    from_bytes = [r.json for r in corvuna.read(io.BytesIO(data), name=path)]
    from_gzip = [r.json for r in corvuna.read(str(packed))]
    with subprocess.Popen(["cat", path], stdout=subprocess.PIPE) as cat:
        from_pipe = [r.json for r in corvuna.read(cat.stdout.fileno(), name="pipe")]
    assert from_file == from_bytes == from_gzip == from_pipe == expected


def test_keys_given_as_a_dict_verify_as_the_keys_file_does(tmp_path):
    path = capture("s1ap_o5gs_testattach.pcapng")
    keys = tmp_path / "open5gs.keys"
    keys.write_text("* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca\n")
    by_file = [(r.mac, r.body) for r in corvuna.read(path, str(keys), capture_keys=False)]
    by_dict = [(r.mac, r.body) for r in corvuna.read(path, OPEN5GS_KEYS, capture_keys=False)]
    without = [(r.mac, r.body) for r in corvuna.read(path, capture_keys=False)]
    assert by_file == by_dict and by_dict.count(("verified", "null_ciphering")) > 0
    assert ("verified", "null_ciphering") not in without


@pytest.mark.parametrize("how, error, says", [
    ("missing", FileNotFoundError, "missing.pcap: cannot open"),
    ("text", corvuna.CaptureError, "text.pcap: not a pcap or pcapng capture"),
    ("cut", corvuna.CaptureError, "cut.pcap: ends after"),
    ("keys", corvuna.CaptureError, "bad.keys"),
])
def test_errors_name_the_input(tmp_path, how, error, says):
    path = capture("s1ap_o5gs_testattach.pcapng")
    (tmp_path / "text.pcap").write_text("07 41\n")
    (tmp_path / "cut.pcap").write_bytes(open(path, "rb").read()[:10])
    (tmp_path / "bad.keys").write_text("001010000000001 k=12\n")
    with pytest.raises(error) as raised:
        if how == "keys":
            corvuna.read(path, str(tmp_path / "bad.keys"))
        else:
            corvuna.read(str(tmp_path / f"{how}.pcap"))
    assert says in str(raised.value)


def test_frame_ranges_read_as_the_whole_capture():
    path = capture("s1ap_o5gs_testepc.pcapng")
    whole = [r.json for r in corvuna.read(path)]
    frames = corvuna.count_frames(path)
    assert frames == 644
    pieces = []
    for first in range(1, frames + 1, 97):
        pieces += [r.json for r in corvuna.read(path, first_frame=first, last_frame=min(first + 96, frames))]
    assert pieces == whole


def test_the_data_frame_has_typed_columns_and_the_records_facts():
    pd = pytest.importorskip("pandas")
    path = capture("s1ap_o5gs_testepc.pcapng")
    frame = corvuna.read_frame(path)
    records = list(corvuna.read(path))
    assert len(frame) == len(records) and "179 NAS messages" in frame.attrs["summary"]
    assert str(frame["time"].dtype) == "datetime64[ns, UTC]" and str(frame["cause"].dtype) == "Int16"
    assert list(frame["frame"]) == [r.frame for r in records]
    assert list(frame["cause"].astype(object).where(frame["cause"].notna(), None)) == [r.cause for r in records]
    assert [json.loads(v) for v in frame["view"]] == [r.view for r in records]
    assert frame.loc[frame["message"] == "service_reject", "cause"].tolist() == [9, 9]
    assert pd.Timestamp(records[0].datetime) == frame["time"].iloc[0].floor("us")


@pytest.mark.parametrize("name", NAMES or ["(no captures)"])
def test_the_module_and_the_program_say_the_same_of_a_capture(name):
    path = capture(name)
    if "dlt150" in name:
        pytest.skip("the module reads no user link type mapping")
    env = dict(os.environ)
    module = subprocess.run([sys.executable, "-m", "corvuna", "-r", path, "-T", "json"], capture_output=True,
                            text=True, env=env, cwd=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    prog = subprocess.run([program(), "-r", path, "-T", "json"], capture_output=True, text=True)
    assert module.returncode == prog.returncode
    assert module.stdout == prog.stdout
    summary = [line for line in prog.stderr.splitlines() if line.startswith(f"corvuna: {path}: ") and "frames" in line]
    assert summary and summary[0] in module.stderr.splitlines()
