# SPDX-License-Identifier: Apache-2.0
"""corvuna.report over the real captures of ../shared: the procedure flows
against what tshark's listings of the captures say (their message names,
directions and frames, causes and algorithms read from the listed octets),
the security facts, the JSON's shape, the HTML page and its plots, the text
ladder, the command line and the program's `report` hook."""
import collections
import io
import json
import os
import shutil
import struct
import subprocess
import sys
import time
from html.parser import HTMLParser

import pytest

import corvuna
from corvuna import report as cr

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SHARED = os.path.join(ROOT, "..", "shared")
CAPTURES = os.environ.get("CORVUNA_CAPTURES") or os.path.join(SHARED, "captures")
CAPTURES_5G = os.environ.get("CORVUNA_CAPTURES_5G") or os.path.join(SHARED, "captures-5g")
PACKAGE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(corvuna.__file__)))
# Captures the program reads only when told what their user link type holds.
USER_DLTS = {"s1ap_dlt150_srsepc.pcap": ["150=s1ap"]}


@pytest.fixture(scope="session")
def program_dir():
    directory = os.environ.get("CORVUNA_PROGRAM_DIR")
    if not directory or not shutil.which("corvuna", path=directory):
        pytest.skip("CORVUNA_PROGRAM_DIR names no directory with the corvuna program")
    return directory


def capture_path(name):
    path = os.path.join(CAPTURES, name)
    if not os.path.isfile(path):
        pytest.skip(f"the capture {path} is not there")
    return path


_records = {}


def records(name):
    if name not in _records:
        _records[name] = cr.records_of(capture_path(name), user_dlts=USER_DLTS.get(name, ()))
    return [dict(r) for r in _records[name]]


def listing(name, directory=CAPTURES):
    """tshark's listing of a capture (CAPTURE.nas.tsv, or the file named),
    without the NAS carried in LTE RRC (the program does not read RRC)."""
    if not name.endswith(".tsv"):
        name = name.rsplit(".", 1)[0] + ".nas.tsv"
    path = os.path.join(directory, name)
    if not os.path.isfile(path):
        pytest.skip(f"the listing {path} is not there")
    with open(path, newline="") as f:
        header = f.readline().lstrip("#").rstrip("\n").split("\t")
        rows = [dict(zip(header, line.rstrip("\n").split("\t"))) for line in f if line.strip()]
    return [r for r in rows if not r.get("carrier", "").startswith("lte_rrc")]


def octets(row):
    return bytes.fromhex(row["nas_hex"])


def eps_plain(data):
    """The EMM or ESM message of an EPS NAS PDU: these captures select EEA0,
    so the body after a 6-octet security header is the plain message."""
    if data[0] & 0x0F == 7 and data[0] >> 4 in (1, 2, 3, 4):
        return data[6:]
    return data


def fivegs_plain(data):
    """(5GMM message, 5GSM message it transports or None) of a 5GS NAS PDU
    (5G-EA0: the body after the 7-octet security header is plain)."""
    mm = data[7:] if data[0] == 0x7E and data[1] & 0x0F else data
    sm = None
    if mm[0] == 0x7E and mm[2] in (0x67, 0x68) and mm[3] & 0x0F == 1:
        length = mm[4] << 8 | mm[5]
        sm = mm[6:6 + length]
    return mm, sm


def bcd_imsi(identity):
    digits = [identity[0] >> 4] + [d for b in identity[1:] for d in (b & 0x0F, b >> 4)]
    if not identity[0] & 0x08:
        digits = digits[:-1]
    return "".join(str(d) for d in digits)


def by_procedure(report, key):
    return [i for i in report["instances"] if i["procedure"] == key]


def rows_named(rows, name):
    return [r for r in rows if r["msg"] == name]


def view_cause_text(record):
    """The cause text the record's own view gives (any depth)."""
    stack = [record["view"]["message"]]
    while stack:
        message = stack.pop()
        for ie in message.get("ies") or []:
            if ie["ie"].endswith("cause"):
                return ie["value"]["cause_value"]["text"]
            if isinstance(ie.get("value"), dict) and isinstance(ie["value"].get("message"), dict):
                stack.append(ie["value"]["message"])
        if isinstance(message.get("message"), dict):
            stack.append(message["message"])
    return None


# ---------------------------------------------------------------------------
# EPS captures


def test_attach_reject_capture_nine_attempts_each_rejected_after_the_security_mode_command(program_dir):
    name = "s1ap_sll_attach_reject.pcapng"
    rows = listing(name)
    recs = records(name)
    report = cr.build(recs)
    requests, rejects = rows_named(rows, "Attach request"), rows_named(rows, "Attach reject")
    attach = by_procedure(report, "eps.attach")
    assert len(requests) == len(rejects) == len(attach) == 9
    assert sorted(i["start"]["frame"] for i in attach) == sorted(int(r["frame"]) for r in requests)
    assert sorted(i["answer"]["frame"] for i in attach) == sorted(int(r["frame"]) for r in rejects)
    by_frame = {int(r["frame"]): r for r in rows}
    record_at = {r["frame"]: r for r in recs}
    for inst in attach:
        assert inst["status"] == "rejected"
        reject = eps_plain(octets(by_frame[inst["answer"]["frame"]]))
        assert reject[1] == 0x44
        assert inst["cause"]["kind"] == "EMM" and inst["cause"]["value"] == reject[2]
        assert inst["cause"]["text"] == view_cause_text(record_at[inst["answer"]["frame"]])
        # The ESM message container (IEI 0x78) holds a PDN CONNECTIVITY REJECT.
        assert reject[3] == 0x78 and reject[6 + 2] == 0xD1
        assert inst["extra_cause"] == {"kind": "ESM", "value": reject[6 + 3], "text": inst["extra_cause"]["text"]}
    # One UE per attempt, named by the IMSI of its ATTACH REQUEST, and each
    # rejected after its SECURITY MODE COMMAND.
    imsis = sorted(bcd_imsi(eps_plain(octets(r))[4:4 + eps_plain(octets(r))[3]]) for r in requests)
    assert sorted(u["identities"]["imsi"][0] for u in report["ues"]) == imsis
    for ue in report["ues"]:
        names = [e["name"] for e in ue["events"]]
        assert names.index("security_mode_command") < names.index("attach_reject")
    causes = [r for r in report["causes_by_plmn"] if r["procedure"] == "eps.attach"]
    assert sum(r["count"] for r in causes) == 2 * 9  # the EMM cause and the ESM cause of each


def test_testepc_service_rejects_tracking_area_updates_detaches_and_failures(program_dir):
    name = "s1ap_o5gs_testepc.pcapng"
    rows = listing(name)
    report = cr.build(records(name))
    frames = lambda rs: sorted(int(r["frame"]) for r in rs)  # noqa: E731

    service = by_procedure(report, "eps.service_request")
    assert frames(rows_named(rows, "Service request")) == sorted(i["start"]["frame"] for i in service)
    rejected = [i for i in service if i["status"] == "rejected"]
    service_rejects = rows_named(rows, "Service reject")
    assert sorted(i["answer"]["frame"] for i in rejected) == frames(service_rejects)
    by_frame = {int(r["frame"]): r for r in rows}
    for inst in rejected:
        cause = eps_plain(octets(by_frame[inst["answer"]["frame"]]))[2]
        assert cause == 9 and inst["cause"]["value"] == cause
    # The service request no NAS message answers: its success is the lower
    # layers' indication.
    assert [i["status"] for i in service if i not in rejected] == ["unconfirmed"]

    tau = by_procedure(report, "eps.tracking_area_update")
    assert sorted(i["start"]["frame"] for i in tau) == frames(rows_named(rows, "Tracking area update request"))
    assert sorted(i["answer"]["frame"] for i in tau) == frames(rows_named(rows, "Tracking area update accept"))
    assert {i["status"] for i in tau} == {"accepted"}

    detach = by_procedure(report, "eps.detach_ue")
    detach_rows = [r for r in rows_named(rows, "Detach request") if r["dir"] == "1"]
    assert sorted(i["start"]["frame"] for i in detach) == frames(detach_rows)
    for inst in detach:
        switch_off = bool(eps_plain(octets(by_frame[inst["start"]["frame"]]))[2] & 0x08)
        assert inst["status"] == "accepted" and ("switch off" in (inst["note"] or "")) == switch_off

    failures = rows_named(rows, "Authentication failure")
    auth_rejected = [i for i in by_procedure(report, "eps.authentication") if i["cause"]]
    assert sorted(i["cause"]["value"] for i in auth_rejected) == sorted(eps_plain(octets(r))[2] for r in failures)
    assert sorted(a["frame"] for a in report["security"]["authentication"]) == \
        frames(failures + rows_named(rows, "Authentication reject"))

    pdn_rejects = rows_named(rows, "PDN connectivity reject")
    rejected_pdn = [i for i in by_procedure(report, "eps.pdn_connectivity") if i["status"] == "rejected"]
    assert [i["cause"]["value"] for i in rejected_pdn] == [eps_plain(octets(r))[3] for r in pdn_rejects]

    # Every SECURITY MODE COMMAND of the open5gs captures selects EEA0.
    commands = rows_named(rows, "Security mode command")
    assert all((eps_plain(octets(r))[2] >> 4) & 7 == 0 for r in commands)
    nulls = report["security"]["null_algorithms"]
    assert sorted(a["frame"] for a in nulls) == frames(commands)
    assert {a["ciphering"] for a in nulls} == {"EEA0"} and {tuple(a["null"]) for a in nulls} == {("EEA0",)}

    # The IMSI asked for before any authentication of the connection.
    imsi_requests = [r for r in rows_named(rows, "Identity request") if eps_plain(octets(r))[2] & 7 == 1]
    asked = report["security"]["identity_before_authentication"]
    assert sorted(a["frame"] for a in asked) == frames(imsi_requests)
    assert all(a["in_clear"] and a["in_clear"].startswith("IMSI ") for a in asked)


@pytest.mark.parametrize("name", sorted(n for n in os.listdir(CAPTURES) if n.endswith((".pcap", ".pcapng")))
                         if os.path.isdir(CAPTURES) else ["(no captures)"])
def test_every_message_of_every_capture_is_in_one_ue_in_order(program_dir, name):
    rows = listing(name)
    # The carriers tshark lists (the reader also finds NAS where tshark's
    # listing does not look, as inside GSMTAP's LTE RRC).
    listed = {r["carrier"].split(":")[0] for r in rows}
    recs = [r for r in records(name) if r["carrier"] in listed]
    if rows and not recs:
        pytest.skip(f"the program reads none of {name}'s listed messages")
    report = cr.build(recs)
    assert report["totals"]["messages"] == len(rows)
    frames = collections.Counter(e["frame"] for ue in report["ues"] for e in ue["events"])
    assert frames == collections.Counter(int(r["frame"]) for r in rows)
    for ue in report["ues"]:
        assert [e["frame"] for e in ue["events"]] == sorted(e["frame"] for e in ue["events"])
    # Message names as tshark lists them, where tshark read the message.
    readable = [r for r in rows if r["msg"] not in ("Ciphered message", "(protected; inner not dissected)")]
    texts = {int(r["frame"]): [] for r in readable}
    for ue in report["ues"]:
        for e in ue["events"]:
            if e["frame"] in texts:
                texts[e["frame"]].append(e["text"].split(" + ")[0].lower())
    for frame, listed in collections.Counter(int(r["frame"]) for r in readable).items():
        expected = sorted(r["msg"].lower() for r in readable if int(r["frame"]) == frame)
        assert sorted(texts[frame]) == expected, frame
    # Messages over time: every message binned by its direction, but those
    # before a jump of the capture's clock (the rayhunter logs start at the
    # modem's epoch).
    for series in report["rate"]["series"]:
        uplink = sum(1 for r in rows if r["dir"] == "1")
        assert sum(series["uplink"]) + sum(series["downlink"]) + series["left_out"] == len(rows)
        if series["left_out"] == 0 and all(r["dir"] in ("0", "1") for r in rows):  # DLT 148 lists "?"
            assert sum(series["uplink"]) == uplink
            assert len(series["uplink"]) <= 600
    # Every instance is counted once, ends in a known state, and an answer
    # never comes before its request.
    by_status = collections.Counter(i["status"] for i in report["instances"])
    assert sum(p["started"] for p in report["procedures"].values()) == len(report["instances"])
    assert set(by_status) <= set(cr.STATUSES)
    for inst in report["instances"]:
        if inst["answer"]:
            assert inst["answer"]["frame"] >= inst["start"]["frame"]
        if inst["status"] in ("timed_out", "unfinished"):
            assert inst["answer"] is None


# ---------------------------------------------------------------------------
# The timers: real records with their answer removed or delayed.


def _attach_of_first_ue(recs):
    first = next(r for r in recs if r["view"]["message"] and "attach_request" in json.dumps(r["view"]["message"]))
    ue = first["security"]["ue"]
    reject = next(r for r in recs if r["security"]["ue"] == ue and "attach_reject" in json.dumps(r["view"]))
    return first, reject


def _shift(record, seconds):
    moved = json.loads(json.dumps(record))
    t = cr._epoch(record["time"]) + seconds
    moved["time"] = time.strftime("%Y-%m-%dT%H:%M:%S", time.gmtime(int(t))) + f".{int(round((t % 1) * 1e6)):06d}Z"
    return moved


@pytest.mark.parametrize("change, expected", [
    ("as captured", "rejected"),
    ("reject removed", None),  # timed out or unfinished: worked out from the capture's end below
    ("reject removed and the capture cut after it", "unfinished"),
    ("reject 16 s late", "timed_out"),
    ("reject removed, the attach sent again 5 s later", "abandoned"),
])
def test_attach_outcome_follows_the_answer_and_t3410(program_dir, change, expected):
    recs = records("s1ap_sll_attach_reject.pcapng")
    request, reject = _attach_of_first_ue(recs)
    start = cr._epoch(request["time"])
    if change == "reject removed":
        recs = [r for r in recs if r is not reject]
        expected = "timed_out" if cr._epoch(recs[-1]["time"]) - start > 15 else "unfinished"
    elif change == "reject removed and the capture cut after it":
        recs = recs[:recs.index(reject)]
    elif change == "reject 16 s late":
        recs = [_shift(r, 16) if r is reject else r for r in recs]
    elif change == "reject removed, the attach sent again 5 s later":
        again = dict(_shift(request, 5), frame=request["frame"])
        recs = [r for r in recs if r is not reject]
        recs.insert(next(i for i, r in enumerate(recs) if cr._epoch(r["time"]) > start + 5), again)
    report = cr.build(recs)
    ue = request["security"]["ue"]
    first = next(i for i in by_procedure(report, "eps.attach") if i["ue"] == ue)
    assert first["status"] == expected
    assert first["timer"] == "T3410" and first["timer_seconds"] == 15
    if change == "reject 16 s late":
        assert f"answered late by frame {reject['frame']}" in first["note"]


@pytest.mark.parametrize("follow_within, expected", [(None, "unconfirmed"), (1.0, "accepted"), (6.0, "unconfirmed")])
def test_eps_service_request_without_nas_answer(program_dir, follow_within, expected):
    """TS 24.301 5.6.1.4: a SERVICE REQUEST succeeds by a lower-layer
    indication; a further message of the UE within T3417 shows it went on."""
    recs = records("s1ap_o5gs_testepc.pcapng")
    request = next(r for r in recs if r["view"]["message"]["name"] == "service_request" and
                   r["security"]["ue"].startswith("imsi-"))
    ue = request["security"]["ue"]
    cut = recs[:recs.index(request) + 1]
    if follow_within is not None:
        emm_information = next(r for r in recs if r["security"]["ue"] == ue and '"emm_information"' in json.dumps(r))
        cut.append(_shift(dict(emm_information, time=request["time"]), follow_within))
    instances = [i for i in by_procedure(cr.build(cut), "eps.service_request") if i["ue"] == ue]
    assert instances[-1]["status"] == expected
    assert instances[-1]["timer"] == "T3417"


# ---------------------------------------------------------------------------
# 5GS: records of the program's shape made from the 5G listings (the program
# reads no NGAP yet): the frame's time and NGAP UE ids from tshark, the view
# from the library (5G-EA0).


def _iso(epoch):
    whole, _, fraction = epoch.partition(".")
    return time.strftime("%Y-%m-%dT%H:%M:%S", time.gmtime(int(whole))) + (f".{fraction}" if fraction else "") + "Z"


def fivegs_records(listing_name, capture):
    rows = listing(listing_name, CAPTURES_5G)
    if shutil.which("tshark") is None:
        pytest.skip("tshark is not installed")
    if not os.path.isfile(capture):
        pytest.skip(f"the capture {capture} is not there")
    try:
        corvuna.view("7e0041")
    except corvuna.LibraryNotFound as e:
        pytest.skip(str(e))
    fields = subprocess.run(["tshark", "-r", capture, "-Y", "ngap", "-T", "fields", "-E", "occurrence=a",
                             "-e", "frame.number", "-e", "frame.time_epoch", "-e", "ngap.RAN_UE_NGAP_ID",
                             "-e", "ngap.AMF_UE_NGAP_ID"], capture_output=True, text=True, check=True).stdout
    frames = {}
    for line in fields.splitlines():
        f = line.split("\t")
        frames[int(f[0])] = (f[1], [int(x) for x in f[2].split(",") if x], [int(x) for x in f[3].split(",") if x])
    out = []
    for row in rows:
        frame, sub = int(row["frame"]), int(row["sub"])
        epoch, ran, amf = frames[frame]
        view = corvuna.view(row["nas_hex"], uplink=row["dir"] == "1", null_ciphering=True)
        view.pop("schema_version")
        record = {"schema_version": 1, "frame": frame, "time": _iso(epoch), "carrier": "ngap",
                  "procedure_code": int(row["procedure"].split(",")[0]), "direction": view["direction"],
                  "octets": row["nas_hex"], "view": view}
        if ran:
            record["ran_ue_ngap_id"] = ran[min(sub, len(ran) - 1)]
        if amf:
            record["amf_ue_ngap_id"] = amf[min(sub, len(amf) - 1)]
        out.append(record)
    return rows, out


@pytest.mark.parametrize("listing_name, capture", [
    ("ngap_o5gs_registration.nas5g.tsv", os.path.join(CAPTURES, "neg_ngap_5g_registration.pcapng")),
    ("ngap_o5gs_roaming_hr.nas5g.tsv", os.path.join(CAPTURES_5G, "ngap_o5gs_roaming_hr.pcapng")),
])
def test_5g_registrations_pdu_sessions_and_security(listing_name, capture):
    rows, recs = fivegs_records(listing_name, capture)
    report = cr.build(recs)
    mm = collections.defaultdict(list)  # 5GMM message type -> frames
    sm = collections.defaultdict(list)  # 5GSM message type -> (frame, PDU session id)
    plain = {}
    for row in rows:
        message, session = fivegs_plain(octets(row))
        if message[0] != 0x7E:
            continue
        mm[message[2]].append(int(row["frame"]))
        plain[int(row["frame"])] = message
        if session:
            sm[session[3]].append((int(row["frame"]), session[1]))
    registration = by_procedure(report, "5gs.registration")
    assert sorted(i["start"]["frame"] for i in registration) == sorted(mm[0x41])
    assert sorted(i["answer"]["frame"] for i in registration if i["status"] == "accepted") == sorted(mm[0x42])
    rejected = [i for i in registration if i["status"] == "rejected"]
    by_reject = [i for i in rejected if i["answer"]["frame"] in mm[0x44]]
    assert sorted(i["answer"]["frame"] for i in by_reject) == sorted(mm[0x44])
    for inst in by_reject:
        assert inst["cause"]["kind"] == "5GMM" and inst["cause"]["value"] == plain[inst["answer"]["frame"]][3]
    # The other rejections are AUTHENTICATION REJECTs ending the registration.
    assert all(i["cause"]["text"] == "AUTHENTICATION REJECT" and i["answer"]["frame"] in mm[0x58]
               for i in rejected if i not in by_reject)

    service = by_procedure(report, "5gs.service_request")
    assert sorted(i["start"]["frame"] for i in service) == sorted(mm[0x4C])
    assert sorted(i["answer"]["frame"] for i in service if i["status"] == "accepted") == sorted(mm[0x4E])

    sessions = by_procedure(report, "5gs.pdu_session_establishment")
    assert sorted(i["start"]["frame"] for i in sessions) == sorted(f for f, _ in sm[0xC1])
    assert sorted(i["answer"]["frame"] for i in sessions if i["status"] == "accepted") == \
        sorted(f for f, _ in sm[0xC2])
    for inst in sessions:
        psi = dict(sm[0xC1])[inst["start"]["frame"]]
        assert inst["detail"].startswith(f"PDU session {psi}")
    releases = by_procedure(report, "5gs.pdu_session_release_ue")
    assert sorted(i["start"]["frame"] for i in releases) == sorted(f for f, _ in sm[0xD1])
    assert sorted(i["completion"]["frame"] for i in releases if i["completion"]) == sorted(f for f, _ in sm[0xD4])

    deregistration = by_procedure(report, "5gs.deregistration_ue")
    assert sorted(i["start"]["frame"] for i in deregistration) == sorted(mm[0x45])
    for inst in deregistration:
        switch_off = bool(plain[inst["start"]["frame"]][3] & 0x08)
        assert ("switch off" in (inst["note"] or "")) == switch_off

    # 5G-EA0 in every SECURITY MODE COMMAND (high half of the selected
    # algorithms octet).
    assert mm[0x5D] and all(plain[f][3] >> 4 == 0 for f in mm[0x5D])
    nulls = report["security"]["null_algorithms"]
    assert sorted(a["frame"] for a in nulls) == sorted(mm[0x5D])
    assert {a["ciphering"] for a in nulls} == {"5G-EA0"}
    # A SUCI of the null scheme (protection scheme id 0) shows the IMSI.
    for asked in report["security"]["identity_before_authentication"]:
        assert asked["requested"] == "SUCI"
        answer = plain[asked["response_frame"]]
        assert answer[11] & 0x0F == 0 and asked["in_clear"].startswith("SUCI of the null scheme: IMSI ")


# ---------------------------------------------------------------------------
# The JSON, the HTML page and the ladder


def test_json_shape(program_dir):
    report = cr.build(records("s1ap_o5gs_testepc.pcapng"))
    assert json.loads(json.dumps(report)) == report
    assert set(report) == {"schema", "captures", "timers", "totals", "procedures", "ues", "instances",
                           "causes_by_plmn", "message_types", "rate", "security"}
    assert report["schema"] == cr.SCHEMA
    ids = [i["id"] for i in report["instances"]]
    assert len(ids) == len(set(ids)) == report["totals"]["procedures"]
    assert sorted(i for ue in report["ues"] for i in ue["procedures"]) == sorted(ids)
    for inst in report["instances"]:
        assert set(inst) == {"id", "ue", "procedure", "title", "system", "status", "detail", "start", "answer",
                             "completion", "cause", "extra_cause", "timer", "timer_seconds", "duration_s", "note",
                             "plmn"}
        assert inst["procedure"] in report["timers"] and inst["status"] in cr.STATUSES
        for point in (inst["start"], inst["answer"], inst["completion"]):
            assert point is None or set(point) == {"frame", "time", "message"}
    for ue in report["ues"]:
        assert sum(1 for _ in ue["events"]) == ue["messages"]
        for event in ue["events"]:
            assert {p["instance"] for p in event["procedures"]} <= set(ids)
    counts = report["procedures"]["eps.attach"]
    assert counts["started"] == sum(counts[s] for s in cr.STATUSES)
    rate = report["rate"]
    assert sum(sum(s["uplink"]) + sum(s["downlink"]) + s["left_out"] for s in rate["series"]) == \
        report["totals"]["messages"]
    assert sum(r["count"] for r in report["message_types"]) == report["totals"]["messages"]


class _Page(HTMLParser):
    def __init__(self):
        super().__init__()
        self.images, self.tags, self.links = [], collections.Counter(), []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.tags[tag] += 1
        if tag == "img":
            self.images.append(attrs)
        for key in ("src", "href"):
            if key in attrs and not attrs[key].startswith(("data:", "#")):
                self.links.append(attrs[key])


def png_size(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR"
    return struct.unpack(">II", data[16:24])


def test_html_page_is_self_contained_with_its_plots(program_dir):
    import base64
    import numpy
    from matplotlib import image
    report = cr.build(records("s1ap_o5gs_testepc.pcapng"))
    page = _Page()
    page.feed(cr.html(report))
    assert page.links == [] and page.tags["script"] == 0 and page.tags["link"] == 0
    assert {i["id"] for i in page.images} == {"plot-outcomes", "plot-rate"}
    for img in page.images:
        data = base64.b64decode(img["src"].split(",", 1)[1])
        width, height = png_size(data)
        pixels = image.imread(io.BytesIO(data), format="png")
        assert pixels.shape[:2] == (height, width) and width > 300 and height > 100
        assert len(numpy.unique(pixels.reshape(-1, pixels.shape[2]), axis=0)) > 10  # drawn, not blank
    assert page.tags["details"] >= len(report["ues"])


def test_html_page_says_matplotlib_is_missing(monkeypatch):
    monkeypatch.setitem(sys.modules, "matplotlib", None)
    with pytest.raises(cr.ReportError, match="python3-matplotlib"):
        cr.html(cr.build([]))


def test_ladder_of_one_ue(program_dir):
    name = "s1ap_o5gs_testepc.pcapng"
    rows = listing(name)
    report = cr.build(records(name))
    ue = next(u for u in report["ues"] if u["identities"].get("imsi") == ["001010123456815"])
    text = cr.ladder(report, "001010123456815")
    arrows = [line for line in text.splitlines() if "|-" in line or "|<" in line]
    assert len(arrows) == ue["messages"]
    direction = {int(r["frame"]): r["dir"] for r in rows}
    for line in arrows:
        frame = int(line.split()[0])
        assert ("1" if "|-" in line else "0") == direction[frame]
    assert "IMSI unknown in HSS" in text
    # Each procedure is marked where it starts and where it is answered.
    line_of = {int(line.split()[0]): line for line in arrows}
    for inst in (i for i in report["instances"] if i["ue"] == ue["id"]):
        assert f"start {inst['id']}" in line_of[inst["start"]["frame"]]
        if inst["answer"]:
            assert f"{inst['status']} {inst['id']}" in line_of[inst["answer"]["frame"]]
    # The same UE found by its TMSI and by its GUTI.
    assert cr.ladder(report, ue["identities"]["tmsi"][-1].upper()) == text
    assert cr.ladder(report, ue["identities"]["guti"][-1]) == text
    with pytest.raises(cr.ReportError, match="no UE matches"):
        cr.ladder(report, "999999999999999")


# ---------------------------------------------------------------------------
# The command lines


def run_module(*args, cwd=None, env=None):
    environment = dict(os.environ, PYTHONPATH=PACKAGE_DIR, **(env or {}))
    return subprocess.run([sys.executable, "-m", "corvuna", *args], capture_output=True, text=True, cwd=cwd,
                          env=environment)


def test_command_line_report_and_ladder(program_dir, tmp_path):
    capture = capture_path("s1ap_o5gs_testepc.pcapng")
    r = run_module("report", capture, "-o", str(tmp_path / "r.html"), "--json", str(tmp_path / "r.json"))
    assert r.returncode == 0, r.stderr
    assert (tmp_path / "r.html").read_text().startswith("<!DOCTYPE html>")
    written = json.loads((tmp_path / "r.json").read_text())
    assert written["totals"]["messages"] == len(listing("s1ap_o5gs_testepc.pcapng"))
    r = run_module("report", capture, "-T", "json", cwd=tmp_path)
    assert r.returncode == 0 and json.loads(r.stdout)["totals"] == written["totals"]
    assert not (tmp_path / "report.html").exists()
    r = run_module("report", str(tmp_path / "missing.pcap"), cwd=tmp_path)
    assert r.returncode == 2 and "missing.pcap: no such file" in r.stderr
    r = run_module("ladder", capture, "--ue", "001010000000003")
    assert r.returncode == 0 and "Authentication reject" in r.stdout and "AUTHENTICATION REJECT" in r.stdout
    r = run_module("ladder", capture)
    assert r.returncode == 0 and "imsi-001010123456819" in r.stdout


def test_the_program_runs_the_report(program_dir, tmp_path):
    program = os.path.join(program_dir, "corvuna")
    capture = capture_path("s1ap_o5gs_testepc.pcapng")
    environment = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "CORVUNA_PROGRAM_DIR")}
    r = subprocess.run([program, "report", capture, "-o", str(tmp_path / "p.html")], capture_output=True,
                       text=True, env=environment)
    if r.returncode != 0 and "package corvuna" in r.stderr:
        pytest.skip(f"this program finds no package: {r.stderr.strip()}")
    assert r.returncode == 0, r.stderr
    # As many UEs as the report built from the same records, each a section of the page.
    ues = len(cr.build(records("s1ap_o5gs_testepc.pcapng"))["ues"])
    assert ues >= 9 and f"{ues} UEs" in r.stderr
    assert (tmp_path / "p.html").read_text().count("<details class=\"ue\"") == ues
    r = subprocess.run([program, "report", capture], capture_output=True, text=True,
                       env=dict(environment, CORVUNA_PYTHON=str(tmp_path / "no-python3")))
    assert r.returncode == 2 and "no-python3 is missing" in r.stderr and "python3-matplotlib" in r.stderr
    # A copy of the program away from any package, on a system without it.
    shutil.copy(program, tmp_path / "corvuna")
    installed = subprocess.run(["/usr/bin/python3", "-c", "import corvuna.report"], cwd=tmp_path,
                               env=environment, capture_output=True).returncode == 0
    if not installed and os.path.exists("/usr/bin/python3"):
        r = subprocess.run([str(tmp_path / "corvuna"), "report", capture], capture_output=True, text=True,
                           env=environment, cwd=tmp_path)
        assert r.returncode == 2 and "the Python package corvuna" in r.stderr


def _degrade(record, rng):
    """A record as the reader may also give it: without UE ids or security
    facts, without a time, not NAS, or its body left ciphered."""
    r = json.loads(json.dumps(record))
    for key in ("procedure", "procedure_code", "enb_ue_s1ap_id", "mme_ue_s1ap_id", "security", "carrier"):
        if rng.random() < 0.3:
            r.pop(key, None)
    choice = rng.random()
    if choice < 0.1:
        r["view"].update(message=None, result="not_nas")
    elif choice < 0.3 and r["view"]["message"] and r["view"]["message"].get("name") == "security_protected_nas_message":
        r["view"]["message"].update(message=None, ciphered_octets=r["octets"][12:])
        r["view"]["message"]["ciphering"].update(body="left_ciphered", ciphered=True)
        r["view"]["result"] = "ciphered"
    if rng.random() < 0.1:
        r.pop("time")
    return r


@pytest.mark.parametrize("seed", range(6))
def test_degraded_records_still_give_a_report(program_dir, seed):
    import random
    rng = random.Random(seed)
    recs = [_degrade(r, rng) for r in records("s1ap_o5gs_testepc.pcapng") + records("s1ap_magma_32ue.pcapng")]
    report = cr.build(recs)
    assert report["totals"]["messages"] == len(recs)
    assert sum(ue["messages"] for ue in report["ues"]) == len(recs)
    assert "<details class=\"ue\"" in cr.html(report)
    for ue in report["ues"][:5]:
        assert cr.ladder(report, ue["id"]).count("\n") >= ue["messages"]
