# SPDX-License-Identifier: Apache-2.0
"""What happened in a capture: the NAS procedures of each UE with their
outcomes and causes, the protection of the messages, as one self-contained
HTML page and as JSON.

    import corvuna.report as cr
    records = cr.records_of("capture.pcapng")       # dicts of `corvuna -r FILE -T json`
    report = cr.build(records)                      # dict: the JSON
    page = cr.html(report)                          # str: the HTML page
    cr.write(["capture.pcapng"], html_path="report.html", json_path="report.json")
    print(cr.ladder(records, "001010123456819"))    # one UE's messages as text

The report works on any iterable of records of the program's JSON shape
(docs/view.schema.json, capture_record): build() reads `frame`, `time`,
`carrier`, `procedure_code`, the S1AP and NGAP UE ids, `direction`,
`security` and `view`.  A bare view record (`corvuna -f -T json`) is taken
too, without time or UE ids.  Records that carry a `capture` member are
grouped by it (write() sets it to the file name); the others form one
capture.

Top-level keys of the JSON (`schema` is "corvuna-report/1"):

- captures: name, records, first_time, last_time, duration_s, ues,
  warnings (what the reader said on standard error).
- timers: for every procedure type, its title, system, timer, seconds and
  clause: the answer an instance waits for before it counts as timed out.
- totals: messages, ues, procedures, and the instance count by status.
- procedures: per procedure type, started and the count by status
  (accepted, rejected, timed_out, unfinished, abandoned, unconfirmed) and
  success_rate = accepted / (accepted + rejected + timed_out), null when
  none of those three happened.
- ues: per UE, id, label, capture, identities (imsi, guti, tmsi, imeisv,
  suci, tracker names), plmn {mcc, mnc, from, assumed_mnc_length}, messages,
  first_time, last_time, duration_s, the procedure ids and the events (its
  messages in order: frame, time, direction, name, text, carried,
  protection, mac, body, cause, procedures).
- instances: every procedure instance: id, ue, procedure, title, system,
  status, detail, start / answer / completion {frame, time, message},
  cause {kind, value, text} (and extra_cause: the ESM cause a rejected
  attach carries), timer, timer_seconds, duration_s, note, plmn.
- causes_by_plmn: plmn, procedure, status, cause, count, ues.
- message_types: system, protocol, name, text, direction, count, carried
  (how often it came inside another message).
- rate: per capture, start, bin_seconds and the messages in each bin,
  uplink and downlink (left_out: messages before a jump of the clock of
  more than an hour, not binned).
- security: judged_carriers, not_judged (captures whose carrier shows the
  messages after the modem's own security processing), protection (per
  message type: plain / integrity / ciphered / sr_header, MAC verified /
  failed / not_checked / uncheckable, body not_ciphered / null_ciphering /
  deciphered / guessed_null / left_ciphered), unprotected (messages sent
  without protection where TS 24.301 4.4.4.2 / 4.4.4.3 or TS 24.501
  4.4.4.2 / 4.4.4.3 does not let them through), exceptions (those
  clauses' lists), algorithms (what each SECURITY MODE COMMAND selected)
  and null_algorithms, identity_before_authentication, authentication
  (failures, rejects, RES mismatches), identities_in_clear.
"""
import base64
import calendar
import collections
import html as _html
import io
import json
import math
import os
import sys
import time

import corvuna

SCHEMA = "corvuna-report/1"

ACCEPTED, REJECTED, TIMED_OUT = "accepted", "rejected", "timed_out"
UNFINISHED, ABANDONED, UNCONFIRMED = "unfinished", "abandoned", "unconfirmed"
STATUSES = (ACCEPTED, REJECTED, TIMED_OUT, UNFINISHED, ABANDONED, UNCONFIRMED)
_OPEN = "open"

UPLINK, DOWNLINK = "uplink", "downlink"


class ReportError(RuntimeError):
    """A capture could not be read, or the program is missing."""


# ---------------------------------------------------------------------------
# Procedures: how each starts, what answers it, its timer (the UE's or the
# network's supervision timer of the procedure) and clause.


class Procedure:
    """One procedure type.  `start` in `start_dir` opens an instance;
    `accept` / `reject` from the other side close it; `complete` (from the
    starting side) completes an accepted one.  `match` says how answers find
    their instance: per UE ("ue"), by procedure transaction identity of a
    UE-requested session management procedure ("pti": EPS, "psi_pti": 5GS),
    or by the bearer or PDU session a network-initiated one concerns ("ebi",
    "psi")."""

    def __init__(self, key, system, title, start, start_dir, accept, reject, complete, timer, seconds,
                 clause, match="ue"):
        self.key, self.system, self.title = key, system, title
        self.start, self.start_dir = start, start_dir
        self.accept, self.reject, self.complete = accept, reject, complete
        self.timer, self.seconds, self.clause, self.match = timer, seconds, clause, match
        self.answer_dir = DOWNLINK if start_dir == UPLINK else UPLINK
        self.layer = "mm" if match == "ue" else "sm"

    def describe(self):
        return {"title": self.title, "system": self.system, "timer": self.timer, "seconds": self.seconds,
                "clause": self.clause, "starts_with": list(self.start), "direction": self.start_dir}


def _p(*args, **kwargs):
    return Procedure(*args, **kwargs)


_EPS, _5GS = "eps", "5gs"
PROCEDURES = [
    # EPS mobility management (TS 24.301 clause 5)
    _p("eps.attach", _EPS, "Attach", ("attach_request",), UPLINK, ("attach_accept",), ("attach_reject",),
       ("attach_complete",), "T3410", 15, "TS 24.301 5.5.1.2"),
    _p("eps.tracking_area_update", _EPS, "Tracking area update", ("tracking_area_update_request",), UPLINK,
       ("tracking_area_update_accept",), ("tracking_area_update_reject",), ("tracking_area_update_complete",),
       "T3430", 15, "TS 24.301 5.5.3.2"),
    _p("eps.service_request", _EPS, "Service request",
       ("service_request", "extended_service_request", "control_plane_service_request"), UPLINK,
       ("service_accept",), ("service_reject",), (), "T3417", 5, "TS 24.301 5.6.1"),
    _p("eps.detach_ue", _EPS, "Detach (UE initiated)", ("detach_request",), UPLINK, ("detach_accept",), (), (),
       "T3421", 15, "TS 24.301 5.5.2.2"),
    _p("eps.detach_network", _EPS, "Detach (network initiated)", ("detach_request",), DOWNLINK,
       ("detach_accept",), (), (), "T3422", 6, "TS 24.301 5.5.2.3"),
    _p("eps.authentication", _EPS, "Authentication", ("authentication_request",), DOWNLINK,
       ("authentication_response",), ("authentication_failure",), (), "T3460", 6, "TS 24.301 5.4.2"),
    _p("eps.security_mode", _EPS, "Security mode control", ("security_mode_command",), DOWNLINK,
       ("security_mode_complete",), ("security_mode_reject",), (), "T3460", 6, "TS 24.301 5.4.3"),
    _p("eps.identification", _EPS, "Identification", ("identity_request",), DOWNLINK, ("identity_response",), (),
       (), "T3470", 6, "TS 24.301 5.4.4"),
    _p("eps.guti_reallocation", _EPS, "GUTI reallocation", ("guti_reallocation_command",), DOWNLINK,
       ("guti_reallocation_complete",), (), (), "T3450", 6, "TS 24.301 5.4.1"),
    # EPS session management (TS 24.301 clause 6)
    _p("eps.pdn_connectivity", _EPS, "PDN connectivity", ("pdn_connectivity_request",), UPLINK,
       ("activate_default_eps_bearer_context_request",), ("pdn_connectivity_reject",),
       ("activate_default_eps_bearer_context_accept",), "T3482", 8, "TS 24.301 6.5.1", "pti"),
    _p("eps.pdn_disconnect", _EPS, "PDN disconnect", ("pdn_disconnect_request",), UPLINK,
       ("deactivate_eps_bearer_context_request",), ("pdn_disconnect_reject",),
       ("deactivate_eps_bearer_context_accept",), "T3492", 6, "TS 24.301 6.5.2", "pti"),
    _p("eps.bearer_resource_allocation", _EPS, "Bearer resource allocation", ("bearer_resource_allocation_request",),
       UPLINK, ("activate_dedicated_eps_bearer_context_request", "modify_eps_bearer_context_request"),
       ("bearer_resource_allocation_reject",),
       ("activate_dedicated_eps_bearer_context_accept", "modify_eps_bearer_context_accept"), "T3480", 8,
       "TS 24.301 6.5.3", "pti"),
    _p("eps.bearer_resource_modification", _EPS, "Bearer resource modification",
       ("bearer_resource_modification_request",), UPLINK,
       ("modify_eps_bearer_context_request", "deactivate_eps_bearer_context_request",
        "activate_dedicated_eps_bearer_context_request"), ("bearer_resource_modification_reject",),
       ("modify_eps_bearer_context_accept", "deactivate_eps_bearer_context_accept",
        "activate_dedicated_eps_bearer_context_accept"), "T3481", 8, "TS 24.301 6.5.4", "pti"),
    _p("eps.dedicated_bearer_activation", _EPS, "Dedicated bearer activation",
       ("activate_dedicated_eps_bearer_context_request",), DOWNLINK,
       ("activate_dedicated_eps_bearer_context_accept",), ("activate_dedicated_eps_bearer_context_reject",), (),
       "T3485", 8, "TS 24.301 6.4.2", "ebi"),
    _p("eps.default_bearer_activation", _EPS, "Default bearer activation",
       ("activate_default_eps_bearer_context_request",), DOWNLINK,
       ("activate_default_eps_bearer_context_accept",), ("activate_default_eps_bearer_context_reject",), (),
       "T3485", 8, "TS 24.301 6.4.1", "ebi"),
    _p("eps.bearer_modification", _EPS, "Bearer modification", ("modify_eps_bearer_context_request",), DOWNLINK,
       ("modify_eps_bearer_context_accept",), ("modify_eps_bearer_context_reject",), (), "T3486", 8,
       "TS 24.301 6.4.3", "ebi"),
    _p("eps.bearer_deactivation", _EPS, "Bearer deactivation", ("deactivate_eps_bearer_context_request",),
       DOWNLINK, ("deactivate_eps_bearer_context_accept",), (), (), "T3495", 8, "TS 24.301 6.4.4", "ebi"),
    # 5GS mobility management (TS 24.501 clause 5)
    _p("5gs.registration", _5GS, "Registration", ("registration_request",), UPLINK, ("registration_accept",),
       ("registration_reject",), ("registration_complete",), "T3510", 15, "TS 24.501 5.5.1"),
    _p("5gs.service_request", _5GS, "Service request", ("service_request", "control_plane_service_request"),
       UPLINK, ("service_accept",), ("service_reject",), (), "T3517", 5, "TS 24.501 5.6.1"),
    _p("5gs.deregistration_ue", _5GS, "De-registration (UE originating)", ("deregistration_request_ue_originating",),
       UPLINK, ("deregistration_accept_ue_originating",), (), (), "T3521", 15, "TS 24.501 5.5.2.2"),
    _p("5gs.deregistration_network", _5GS, "De-registration (network initiated)",
       ("deregistration_request_ue_terminated",), DOWNLINK, ("deregistration_accept_ue_terminated",), (), (),
       "T3522", 6, "TS 24.501 5.5.2.3"),
    _p("5gs.authentication", _5GS, "Authentication", ("authentication_request",), DOWNLINK,
       ("authentication_response",), ("authentication_failure",), (), "T3560", 6, "TS 24.501 5.4.1"),
    _p("5gs.security_mode", _5GS, "Security mode control", ("security_mode_command",), DOWNLINK,
       ("security_mode_complete",), ("security_mode_reject",), (), "T3560", 6, "TS 24.501 5.4.2"),
    _p("5gs.identification", _5GS, "Identification", ("identity_request",), DOWNLINK, ("identity_response",), (),
       (), "T3570", 6, "TS 24.501 5.4.3"),
    # 5GS session management (TS 24.501 clause 6)
    _p("5gs.pdu_session_establishment", _5GS, "PDU session establishment", ("pdu_session_establishment_request",),
       UPLINK, ("pdu_session_establishment_accept",), ("pdu_session_establishment_reject",), (), "T3580", 16,
       "TS 24.501 6.4.1", "psi_pti"),
    _p("5gs.pdu_session_modification_ue", _5GS, "PDU session modification (UE requested)",
       ("pdu_session_modification_request",), UPLINK, ("pdu_session_modification_command",),
       ("pdu_session_modification_reject",), ("pdu_session_modification_complete",), "T3581", 16,
       "TS 24.501 6.4.2", "psi_pti"),
    _p("5gs.pdu_session_release_ue", _5GS, "PDU session release (UE requested)", ("pdu_session_release_request",),
       UPLINK, ("pdu_session_release_command",), ("pdu_session_release_reject",),
       ("pdu_session_release_complete",), "T3582", 16, "TS 24.501 6.4.3", "psi_pti"),
    _p("5gs.pdu_session_modification_network", _5GS, "PDU session modification (network requested)",
       ("pdu_session_modification_command",), DOWNLINK, ("pdu_session_modification_complete",),
       ("pdu_session_modification_command_reject",), (), "T3591", 16, "TS 24.501 6.3.2", "psi"),
    _p("5gs.pdu_session_release_network", _5GS, "PDU session release (network requested)",
       ("pdu_session_release_command",), DOWNLINK, ("pdu_session_release_complete",), (), (), "T3592", 16,
       "TS 24.501 6.3.3", "psi"),
]
PROCEDURE_BY_KEY = {p.key: p for p in PROCEDURES}

# T3417ext supervises an EXTENDED SERVICE REQUEST for CS fallback (service
# types 0, 1 and 2 of TS 24.301 9.9.3.27).
_T3417EXT = ("T3417ext", 10)
# At most one UE-initiated EMM (5GMM) specific procedure runs at a time (TS
# 24.301 5.1.3, TS 24.501 5.1.3): a new one ends those still open.
_SPECIFIC = {"eps.attach", "eps.tracking_area_update", "eps.detach_ue", "eps.service_request",
             "5gs.registration", "5gs.deregistration_ue", "5gs.service_request"}
# Common procedures run inside a specific one (authentication during an
# attach): their messages do not tell that a service request succeeded.
_COMMON_MESSAGES = {"authentication_request", "authentication_response", "authentication_failure",
                    "authentication_reject", "authentication_result", "security_mode_command",
                    "security_mode_complete", "security_mode_reject", "identity_request", "identity_response"}
_INITIAL_MESSAGES = {"attach_request", "tracking_area_update_request", "service_request",
                     "extended_service_request", "control_plane_service_request", "registration_request"}

# Messages that may be processed without integrity protection before the
# secure exchange of NAS messages is established for the connection; once it
# is, nothing unprotected may be (TS 24.301 4.4.4.2, 4.4.4.3; TS 24.501
# 4.4.4.2, 4.4.4.3).  Each entry: message name -> condition text.
EXCEPTIONS = {
    (_EPS, DOWNLINK): ("TS 24.301 4.4.4.2", {
        "identity_request": "if requested identification parameter is IMSI",
        "authentication_request": "",
        "authentication_reject": "",
        "attach_reject": "if the EMM cause is not #25",
        "detach_accept": "for non switch off",
        "tracking_area_update_reject": "if the EMM cause is not #25",
        "service_reject": "if the EMM cause is not #25",
    }),
    (_EPS, UPLINK): ("TS 24.301 4.4.4.3", {
        "attach_request": "",
        "identity_response": "if requested identification parameter is IMSI",
        "authentication_response": "",
        "authentication_failure": "",
        "security_mode_reject": "",
        "detach_request": "",
        "detach_accept": "",
        "tracking_area_update_request": "",
    }),
    (_5GS, DOWNLINK): ("TS 24.501 4.4.4.2", {
        "identity_request": "if requested identification parameter is SUCI",
        "authentication_request": "",
        "authentication_result": "",
        "authentication_reject": "",
        "registration_reject": "if the 5GMM cause is not #76 or #78",
        "deregistration_accept_ue_originating": "for non switch off",
        "service_reject": "if the 5GMM cause is not #76 or #78",
    }),
    (_5GS, UPLINK): ("TS 24.501 4.4.4.3", {
        "registration_request": "",
        "identity_response": "if requested identification parameter is SUCI",
        "authentication_response": "",
        "authentication_failure": "",
        "security_mode_reject": "",
        "deregistration_request_ue_originating": "",
        "deregistration_accept_ue_terminated": "",
    }),
}

_CAUSE_IES = {"emm_cause": "EMM", "esm_cause": "ESM", "5gmm_cause": "5GMM", "5gsm_cause": "5GSM"}
_PD = {7: ("eps", "EMM"), 2: ("eps", "ESM"), 126: ("5gs", "5GMM"), 46: ("5gs", "5GSM")}
_WRAPPER = "security_protected_nas_message"
# Carriers whose messages are a modem's own log, after its security
# processing: their protection is not what went over the air.
_NOT_JUDGED = {"gsmtap": "GSMTAP from a modem's diagnostic log shows the messages after the modem's own "
                         "security processing"}


# ---------------------------------------------------------------------------
# Records


def records_of(path, keys=None, user_dlts=(), warnings=None):
    """The records of one capture file, as dicts of the program's JSON shape,
    read by the capture library (corvuna.read).  The reader's summary and
    warnings are appended to `warnings` when a list is given."""
    if path != "-" and not os.path.isfile(path):
        raise ReportError(f"{path}: no such file")
    user_dlt = {}
    for mapping in user_dlts:
        number, _, what = mapping.partition("=")
        try:
            user_dlt[int(number)] = what
        except ValueError:
            raise ReportError(f"--user-dlt takes N=WHAT, not {mapping!r}") from None
    try:
        source = sys.stdin.buffer if path == "-" else path
        capture = corvuna.read(source, keys, user_dlt=user_dlt, name="stdin" if path == "-" else None)
        records = [r.record for r in capture]
    except (OSError, ValueError) as error:
        raise ReportError(str(error)) from None
    if warnings is not None:
        shown = "stdin" if path == "-" else path
        warnings.extend(f"corvuna: {w}" for w in capture.warnings)
        warnings.append(f"corvuna: {shown}: {capture.summary}")
    return records


def _epoch(text):
    """Seconds since 1970 of "2018-02-11T07:33:36.020764Z" (any number of
    fraction digits), or None."""
    if not isinstance(text, str) or len(text) < 19:
        return None
    try:
        whole = calendar.timegm(time.strptime(text[:19], "%Y-%m-%dT%H:%M:%S"))
    except ValueError:
        return None
    fraction = text[19:].rstrip("Z")
    if fraction.startswith(".") and fraction[1:].isdigit():
        return whole + float("0" + fraction)
    return float(whole)


def _enum(value):
    return value.get("value") if isinstance(value, dict) else value


def _ies(message):
    return message.get("ies") or [] if isinstance(message, dict) else []


def _ie(message, name):
    for ie in _ies(message):
        if ie.get("ie") == name:
            return ie.get("value")
    return None


def _carried(message):
    """The messages inside this one's containers (the ESM message of an
    attach, the 5GSM message of a transport, the NAS message container)."""
    out = []
    for ie in _ies(message):
        value = ie.get("value")
        if isinstance(value, dict) and isinstance(value.get("message"), dict):
            out.append((ie.get("ie"), value["message"]))
    return out


def _cause(message):
    for ie in _ies(message):
        kind = _CAUSE_IES.get(ie.get("ie"))
        if kind and isinstance(ie.get("value"), dict):
            cv = ie["value"].get("cause_value") or {}
            return {"kind": kind, "value": cv.get("value"), "text": cv.get("text")}
    return None


def _system(message):
    pd = _enum((message or {}).get("protocol_discriminator"))
    return _PD.get(pd, (None, None))


# ---------------------------------------------------------------------------
# Events: one record read for what the report needs.


class Event:
    __slots__ = ("index", "capture", "frame", "time", "t", "dir", "carrier", "procedure_code", "assoc", "initial",
                 "system", "protocol", "name", "text", "message", "carried", "sm", "protection", "sht", "mac", "body",
                 "algorithm", "cause", "tracker_ue", "res_check", "identities", "plmns", "octets", "ue", "tags")

    def display(self):
        names = [self.text or self.name or "(unread)"]
        return names[0] + "".join(f" + {text}" for _, _, text in self.carried)


def _identities(message, ids, plmns):
    """Identities and PLMNs in a message's IEs (and those of a NAS message
    container it carries)."""
    for ie in _ies(message):
        value = ie.get("value")
        if not isinstance(value, dict):
            continue
        name = ie.get("ie", "")
        if isinstance(value.get("message"), dict) and name == "nas_message_container":
            _identities(value["message"], ids, plmns)
        if value.get("imsi"):
            ids.append(("imsi", value["imsi"]))
        if value.get("imeisv"):
            ids.append(("imeisv", value["imeisv"]))
        if value.get("imei"):
            ids.append(("imei", value["imei"]))
        tmsi = value.get("m_tmsi") or value.get("5g_tmsi")
        if tmsi and int(tmsi, 16) != 0:
            ids.append(("tmsi", tmsi.lower()))
            if value.get("mcc") and "mme_group_id" in value:
                ids.append(("guti", f"{value['mcc']}-{value['mnc']}-{value['mme_group_id']}-"
                                    f"{value['mme_code']}-{tmsi.lower()}"))
                plmns.append(("guti", value["mcc"], value["mnc"]))
            elif value.get("mcc") and "amf_region_id" in value:
                ids.append(("guti", f"{value['mcc']}-{value['mnc']}-{value['amf_region_id']}-"
                                    f"{value['amf_set_id']}-{value['amf_pointer']}-{tmsi.lower()}"))
                plmns.append(("guti", value["mcc"], value["mnc"]))
        kind = value.get("type_of_identity") or {}
        if kind.get("text") == "SUCI" and value.get("mcc"):
            plmns.append(("suci", value["mcc"], value["mnc"]))
            scheme = _enum(value.get("protection_scheme_id"))
            if _enum(value.get("supi_format")) == 0 and scheme == 0 and value.get("msin"):
                ids.append(("imsi", value["mcc"] + value["mnc"] + value["msin"]))
            else:
                ids.append(("suci", "-".join(str(value.get(k, "")) for k in (
                    "mcc", "mnc", "routing_indicator", "home_network_public_key_identifier", "scheme_output"))))
        if name in ("last_visited_registered_tai", "tai") and value.get("mcc"):
            plmns.append(("tai", value["mcc"], value["mnc"]))
        if name == "tai_list":
            for part in value.get("partial_lists") or []:
                for tai in part.get("tais") or []:
                    if tai.get("mcc"):
                        plmns.append(("tai", tai["mcc"], tai["mnc"]))


def _event(record, index, capture):
    view = record["view"] if isinstance(record.get("view"), dict) else record
    ev = Event()
    ev.index, ev.capture = index, capture
    ev.frame = record.get("frame")
    ev.time = record.get("time")
    ev.t = _epoch(ev.time)
    ev.dir = record.get("direction") or view.get("direction")
    ev.carrier = record.get("carrier")
    ev.procedure_code = record.get("procedure_code")
    ev.octets = record.get("octets")
    security = record.get("security") or {}
    ev.tracker_ue = security.get("ue")
    ev.res_check = security.get("res_check")
    ev.assoc = None
    ev.initial = False
    ev.ue = None
    ev.tags = []
    outer = view.get("message")
    ev.message = None
    ev.system = ev.protocol = ev.name = ev.text = ev.sm = ev.cause = None
    ev.carried, ev.identities, ev.plmns = [], [], []
    ev.sht = ev.mac = ev.body = ev.algorithm = None
    ev.protection = None
    if not isinstance(outer, dict):
        return ev
    ev.system, ev.protocol = _system(outer)
    ev.sht = _enum(outer.get("security_header_type"))
    ciphering = outer.get("ciphering") if isinstance(outer.get("ciphering"), dict) else {}
    ev.mac, ev.body = ciphering.get("mac"), ciphering.get("body")
    ev.algorithm = ciphering.get("algorithm")
    top = outer
    while top.get("name") == _WRAPPER and isinstance(top.get("message"), dict):
        top = top["message"]
    if top.get("name") == _WRAPPER:  # body left ciphered: nothing to read
        ev.protection = "ciphered"
        ev.text = "Ciphered message (body not read)"
        return ev
    if ev.sht == 12 or (outer.get("name") == "service_request" and ev.system == _EPS and ev.sht not in (0, None)):
        ev.protection = "sr_header"
    elif ev.sht in (1, 3):
        ev.protection = "integrity"
    elif ev.sht in (2, 4, 5):
        ev.protection = "ciphered"
    else:
        ev.protection = "plain"
    ev.message = top
    ev.system, ev.protocol = _system(top)
    ev.name = top.get("name")
    ev.text = _enum_text(top.get("message_type")) or _readable(ev.name)
    ev.cause = _cause(top)
    for ie_name, inner in _carried(top):
        system, protocol = _system(inner)
        ev.carried.append((ie_name, inner, _enum_text(inner.get("message_type")) or _readable(inner.get("name"))))
        # The 5GSM message a transport carries is a procedure step of its own.
        if protocol == "5GSM" and ie_name == "payload_container":
            ev.sm = inner
    if ev.protocol in ("ESM", "5GSM"):
        ev.sm = top
    _identities(top, ev.identities, ev.plmns)
    return ev


def _readable(name):
    """A message name as the message type tables write it ("Service request")."""
    return name.replace("_", " ").capitalize() if name else None


def _enum_text(value):
    return value.get("text") if isinstance(value, dict) else None


# ---------------------------------------------------------------------------
# UEs: records tied together by the tracker's UE name, the S1AP or NGAP UE
# association, and the identities their messages show.


class _Groups:
    """Union-find over record, association, name and identity nodes.  Two
    groups that each know a different IMSI are never joined (a TMSI given
    again to another subscriber, ids reused on an interface)."""

    def __init__(self):
        self.parent = {}
        self.imsi = {}

    def find(self, node):
        parent = self.parent.setdefault(node, node)
        if parent == node:
            return node
        root = self.find(parent)
        self.parent[node] = root
        return root

    def union(self, a, b):
        ra, rb = self.find(a), self.find(b)
        if ra == rb:
            return
        ia, ib = self.imsi.get(ra), self.imsi.get(rb)
        if ia and ib and ia != ib:
            return
        self.parent[rb] = ra
        if ib and not ia:
            self.imsi[ra] = ib


def _association(ev, record, generation):
    """The S1AP or NGAP UE association of a record (a new one at each
    INITIAL UE MESSAGE), or the stream of a carrier without UE ids."""
    for kind, id_key, initial_code in (("s1ap", "enb_ue_s1ap_id", 12), ("ngap", "ran_ue_ngap_id", 15)):
        if record.get(id_key) is not None:
            key = (ev.capture, kind, record[id_key])
            if record.get("procedure_code") == initial_code and ev.dir == UPLINK:
                generation[key] += 1
                ev.initial = True
            return key + (generation[key],)
    for kind, id_key in (("s1ap", "mme_ue_s1ap_id"), ("ngap", "amf_ue_ngap_id")):
        if record.get(id_key) is not None:
            return (ev.capture, kind + "-core", record[id_key], 0)
    # GSMTAP, raw NAS, a file of messages: one stream of one UE.
    ev.initial = ev.dir == UPLINK and ev.name in _INITIAL_MESSAGES
    return (ev.capture, "stream", ev.carrier, 0)


def _group_ues(events, records):
    """The events of each UE.  The evidence is joined strongest first, so
    that a weaker tie never overrides a stronger one: the IMSI a message
    shows, then the UE association, then the tracker's name for the UE, then
    temporary identities."""
    groups = _Groups()
    generation = collections.Counter()
    for ev, record in zip(events, records):
        ev.assoc = _association(ev, record, generation)

    def tie(ev, node):
        if node[0] == "imsi":
            root = groups.find(node)
            groups.imsi.setdefault(root, node[2])
        groups.union(("record", ev.index), node)

    for ev in events:
        groups.find(("record", ev.index))
        for kind, value in ev.identities:
            if kind == "imsi":
                tie(ev, ("imsi", ev.capture, value))
    for ev in events:
        tie(ev, ("assoc",) + ev.assoc)
    for ev in events:
        if ev.tracker_ue:
            if ev.tracker_ue.startswith("imsi-"):
                tie(ev, ("imsi", ev.capture, ev.tracker_ue[5:]))
            else:
                tie(ev, ("name", ev.capture, ev.tracker_ue))
    for ev in events:
        for kind, value in ev.identities:
            if kind in ("tmsi", "suci"):
                tie(ev, (kind, ev.capture, value))
    members = collections.OrderedDict()
    for ev in events:
        members.setdefault(groups.find(("record", ev.index)), []).append(ev)
    return list(members.values())


def _plmn_of(identities, plmns):
    imsi = next((v for k, v in identities if k == "imsi"), None)
    seen = [(source, mcc, mnc) for source, mcc, mnc in plmns if mcc and mnc and mcc != "000"]
    if imsi:
        for source, mcc, mnc in seen:
            if imsi.startswith(mcc + mnc):
                return {"mcc": mcc, "mnc": mnc, "from": "imsi", "assumed_mnc_length": False}
        # The IMSI alone does not say how long its MNC is: North American
        # MCCs (310-316) use three digits, most others two.
        length = 3 if imsi[:3] in ("310", "311", "312", "313", "314", "315", "316") else 2
        return {"mcc": imsi[:3], "mnc": imsi[3:3 + length], "from": "imsi", "assumed_mnc_length": True}
    for wanted in ("suci", "guti", "tai"):
        for source, mcc, mnc in seen:
            if source == wanted:
                return {"mcc": mcc, "mnc": mnc, "from": source, "assumed_mnc_length": False}
    return None


def _plmn_text(plmn):
    return f"{plmn['mcc']}-{plmn['mnc']}" if plmn else "unknown"


# ---------------------------------------------------------------------------
# Procedure instances of one UE.


def _point(ev):
    return {"frame": ev.frame, "time": ev.time, "message": ev.display()}


class _Flows:
    def __init__(self, ue_id, sequence):
        self.ue = ue_id
        self.sequence = sequence  # shared counter of instance numbers
        self.instances = []
        self.open = []
        self.last_t = None

    def _new(self, rule, ev, match, detail=None):
        self.sequence[0] += 1
        inst = {"id": f"{rule.key.split('.', 1)[1]}-{self.sequence[0]}", "ue": self.ue, "procedure": rule.key,
                "title": rule.title, "system": rule.system, "status": _OPEN, "detail": detail,
                "start": _point(ev), "answer": None, "completion": None, "cause": None, "extra_cause": None,
                "timer": rule.timer, "timer_seconds": rule.seconds, "duration_s": None, "note": None,
                "_t0": ev.t, "_match": match, "_rule": rule, "_bearer": None, "_expects_completion": True}
        self.instances.append(inst)
        self.open.append(inst)
        ev.tags.append((inst["id"], "start"))
        return inst

    def _close(self, inst, status, ev=None, note=None):
        inst["status"] = status
        if inst in self.open:
            self.open.remove(inst)
        if ev is not None:
            inst["answer"] = _point(ev)
            ev.tags.append((inst["id"], status))
            if ev.t is not None and inst["_t0"] is not None:
                inst["duration_s"] = round(ev.t - inst["_t0"], 6)
        if note:
            inst["note"] = note

    def expire(self, now):
        """Open instances whose timer ran out before `now`."""
        if now is None:
            return
        for inst in list(self.open):
            t0 = inst["_t0"]
            if t0 is not None and now - t0 > inst["timer_seconds"]:
                if inst["procedure"] == "eps.service_request":
                    self._close(inst, UNCONFIRMED, note=_SR_UNCONFIRMED)
                else:
                    self._close(inst, TIMED_OUT, note=f"no answer within {inst['timer']} "
                                                      f"({inst['timer_seconds']} s)")

    def finish(self, end):
        self.expire(end)
        for inst in self.instances:
            rule = inst["_rule"]
            if inst["status"] == ACCEPTED and rule.complete and inst["completion"] is None and inst["answer"] \
                    and inst["_expects_completion"]:
                missing = " or ".join(m.replace("_", " ").upper() for m in rule.complete)
                inst["note"] = ((inst["note"] + "; ") if inst["note"] else "") + f"no {missing} seen"
        for inst in list(self.open):
            if inst["procedure"] == "eps.service_request":
                self._close(inst, UNCONFIRMED, note=_SR_UNCONFIRMED)
            else:
                self._close(inst, UNFINISHED, note="the capture ends before an answer or the timer's end")

    def _find(self, key, match=None):
        for inst in reversed(self.open):
            if inst["procedure"] == key and (match is None or inst["_match"] == match):
                return inst
        return None

    def _late(self, key, ev, match=None):
        """An answer to an instance already timed out: noted on it."""
        for inst in reversed(self.instances):
            if inst["procedure"] == key and inst["status"] == TIMED_OUT and inst["answer"] is None and (
                    match is None or inst["_match"] == match):
                inst["note"] = (inst["note"] or "") + f"; answered late by frame {ev.frame}"
                ev.tags.append((inst["id"], "late answer"))
                return True
        return False

    def _completion(self, keys, ev, name, bearer=None):
        for inst in reversed(self.instances):
            if inst["procedure"] in keys and inst["status"] == ACCEPTED and inst["completion"] is None and (
                    bearer is None or inst["_bearer"] in (None, bearer)):
                if name in inst["_rule"].complete:
                    inst["completion"] = _point(ev)
                    ev.tags.append((inst["id"], "complete"))
                    return inst
        return None

    def step(self, ev):
        self.expire(ev.t)
        if ev.t is not None:
            self.last_t = ev.t
        if ev.initial:
            for inst in list(self.open):
                if inst["_rule"].layer != "mm":
                    continue
                if inst["procedure"] == "eps.service_request":
                    self._close(inst, UNCONFIRMED, note=_SR_UNCONFIRMED)
                else:
                    self._close(inst, ABANDONED, note=f"a new NAS signalling connection began (frame {ev.frame})")
        if ev.name is None or ev.system is None:
            return
        if ev.protocol in ("EMM", "5GMM"):
            self._mobility(ev)
        if ev.sm is not None:
            self._session(ev, ev.sm)
        for ie_name, inner, _ in ev.carried:
            # The ESM message of an attach answers a bearer activation the
            # network started on its own (a modem's log shows both).
            if ie_name == "esm_message_container" and inner is not ev.sm:
                self._session(ev, inner, starts=False)
        self._service_request_went_on(ev)

    def _mobility(self, ev):
        name = ev.name
        if name == "authentication_reject":
            self._authentication_reject(ev)
            return
        for rule in PROCEDURES:
            if rule.system != ev.system or rule.layer != "mm":
                continue
            if ev.dir == rule.answer_dir and (name in rule.accept or name in rule.reject):
                inst = self._find(rule.key)
                if inst is None:
                    self._late(rule.key, ev)
                    continue
                if name in rule.accept:
                    self._close(inst, ACCEPTED, ev)
                    # TRACKING AREA UPDATE COMPLETE and REGISTRATION COMPLETE
                    # answer an accept that gave a new GUTI (or asked for it).
                    if rule.key in ("eps.tracking_area_update", "5gs.registration"):
                        inst["_expects_completion"] = bool(_ie(ev.message, "guti") or _ie(ev.message, "5g_guti"))
                else:
                    inst["cause"] = ev.cause
                    for _, inner, _ in ev.carried:
                        extra = _cause(inner)
                        if extra:
                            inst["extra_cause"] = extra
                    self._close(inst, REJECTED, ev)
            elif ev.dir == rule.start_dir and name in rule.complete:
                self._completion((rule.key,), ev, name)
        for rule in PROCEDURES:
            if rule.system == ev.system and rule.layer == "mm" and ev.dir == rule.start_dir and name in rule.start:
                self._start_mobility(rule, ev)

    def _start_mobility(self, rule, ev):
        for inst in list(self.open):
            if inst["procedure"] == rule.key or (rule.key in _SPECIFIC and inst["procedure"] in _SPECIFIC):
                if inst["procedure"] == "eps.service_request":
                    self._close(inst, UNCONFIRMED, note=_SR_UNCONFIRMED)
                else:
                    self._close(inst, ABANDONED, note=f"a new {rule.title.lower()} began (frame {ev.frame}) "
                                                      "before any answer")
        message = ev.message
        detail = _detail(rule, message)
        inst = self._new(rule, ev, "ue", detail)
        if rule.key == "eps.service_request" and ev.name == "extended_service_request":
            service_type = _enum(_first_field(_ie(message, "service_type")))
            if service_type in (0, 1, 2):
                inst["timer"], inst["timer_seconds"] = _T3417EXT
        if rule.key == "eps.detach_network" or rule.key == "5gs.deregistration_network":
            inst["cause"] = ev.cause
        switch_off = _switch_off(message)
        if switch_off and rule.key in ("eps.detach_ue", "5gs.deregistration_ue"):
            # A UE switching off sends no more and expects no answer
            # (TS 24.301 5.5.2.2.1, TS 24.501 5.5.2.2.1).
            self._close(inst, ACCEPTED, note="switch off: no answer expected")
            inst["answer"] = None
            ev.tags.append((inst["id"], "switch off"))

    def _authentication_reject(self, ev):
        # The UE aborts any EMM procedure on AUTHENTICATION REJECT (TS
        # 24.301 5.4.2.5, TS 24.501 5.4.1.3.5).
        cause = {"kind": "EMM" if ev.system == _EPS else "5GMM", "value": None, "text": "AUTHENTICATION REJECT"}
        key = f"{ev.system}.authentication"
        mine = [i for i in self.instances if i["procedure"] == key]
        auth = mine[-1] if mine else None
        if auth is not None and auth["status"] == _OPEN:
            auth["cause"] = cause
            self._close(auth, REJECTED, ev)
        elif auth is not None and auth["status"] == ACCEPTED and ev.t is not None and auth["_t0"] is not None \
                and ev.t - auth["_t0"] <= auth["timer_seconds"]:
            # The UE answered, the network found the response wrong.
            auth["cause"] = cause
            auth["note"] = "the network rejected the response"
            self._close(auth, REJECTED, ev)
        elif auth is not None:
            ev.tags.append((auth["id"], "followed by AUTHENTICATION REJECT"))
        for inst in list(self.open):
            if inst["procedure"] in _SPECIFIC:
                inst["cause"] = cause
                self._close(inst, REJECTED, ev)

    def _session(self, ev, message, starts=True):
        name = message.get("name")
        pti = _enum(message.get("procedure_transaction_identity"))
        if ev.system == _EPS:
            bearer = _enum(message.get("eps_bearer_identity"))
            ue_match, net_match = "pti", "ebi"
            ue_key = ("pti", pti)
            net_key = ("ebi", bearer)
        else:
            bearer = _enum(message.get("pdu_session_identity"))
            ue_match, net_match = "psi_pti", "psi"
            ue_key = ("psi_pti", bearer, pti)
            net_key = ("psi", bearer)
        cause = _cause(message)
        answered = False
        for rule in PROCEDURES:
            if rule.system != ev.system or rule.layer != "sm":
                continue
            match = ue_key if rule.match == ue_match else net_key
            if ev.dir == rule.answer_dir and (name in rule.accept or name in rule.reject):
                inst = self._find(rule.key, match)
                if inst is None:
                    continue
                answered = True
                if name in rule.accept:
                    inst["_bearer"] = bearer
                    self._close(inst, ACCEPTED, ev)
                else:
                    inst["cause"] = cause
                    self._close(inst, REJECTED, ev)
            elif ev.dir == rule.start_dir and name in rule.complete:
                inst = self._completion((rule.key,), ev, name, bearer)
                if inst is not None:
                    answered = True
        for rule in PROCEDURES:
            if not starts or rule.system != ev.system or rule.layer != "sm" or ev.dir != rule.start_dir or \
                    name not in rule.start:
                continue
            if rule.match == net_match and answered:
                continue  # the answer to a UE's request, not a procedure of its own
            if rule.key == "eps.default_bearer_activation" and message is not ev.message:
                continue
            match = ue_key if rule.match == ue_match else net_key
            old = self._find(rule.key, match)
            if old is not None:
                self._close(old, ABANDONED, note=f"a new {rule.title.lower()} for the same "
                                                 f"{'transaction' if rule.match == ue_match else 'bearer'} "
                                                 f"began (frame {ev.frame})")
            inst = self._new(rule, ev, match, _session_detail(rule, ev, message, bearer))
            if rule.match == net_match:
                inst["_bearer"] = bearer
                inst["cause"] = cause if rule.key.endswith(("deactivation", "release_network")) else None

    def _service_request_went_on(self, ev):
        """TS 24.301 5.6.1.4: a service request succeeds when the lower layers
        say the bearers are set up, which no NAS record shows; any further
        message of the UE other than the common procedures' shows that the
        connection went on."""
        if ev.name in _COMMON_MESSAGES or ev.name in ("service_request", "extended_service_request",
                                                       "control_plane_service_request", "service_reject"):
            return
        inst = self._find("eps.service_request")
        if inst is not None and inst["start"]["frame"] != ev.frame:
            self._close(inst, ACCEPTED, ev, note="accepted as the connection went on: no NAS answer is sent "
                                                 "(TS 24.301 5.6.1.4)")


_SR_UNCONFIRMED = ("no NAS message followed: TS 24.301 5.6.1.4 takes the lower layers' indication that the "
                   "bearers are set up as success, which a NAS record does not carry")


def _first_field(value):
    if isinstance(value, dict):
        for v in value.values():
            if isinstance(v, dict) and "text" in v:
                return v
    return None


def _switch_off(message):
    for name in ("detach_type", "de_registration_type"):
        value = _ie(message, name)
        if isinstance(value, dict):
            return _enum(value.get("switch_off")) == 1
    return False


def _detail(rule, message):
    parts = []
    for name in ("eps_attach_type", "eps_update_type", "service_type", "detach_type", "5gs_registration_type",
                 "de_registration_type", "selected_nas_security_algorithms", "identity_type"):
        value = _ie(message, name)
        if isinstance(value, dict):
            texts = [v.get("text") for k, v in value.items() if isinstance(v, dict) and v.get("text")
                     and k not in ("follow_on_request_bit_for", "active_flag", "access_type")]
            parts.extend(t for t in texts if t)
    for name in ("eps_mobile_identity", "5gs_mobile_identity"):
        value = _ie(message, name)
        if isinstance(value, dict) and isinstance(value.get("type_of_identity"), dict):
            parts.append("identity " + value["type_of_identity"].get("text", ""))
    if message.get("name") in ("extended_service_request", "control_plane_service_request"):
        parts.insert(0, message["name"].replace("_", " "))
    return ", ".join(parts) or None


def _session_detail(rule, ev, message, bearer):
    parts = []
    if ev.system == _EPS:
        if bearer:
            parts.append(f"EBI {bearer}")
        apn = _ie(message, "access_point_name")
        if isinstance(apn, dict) and apn.get("apn"):
            parts.append(f"APN {apn['apn']}")
    else:
        if bearer:
            parts.append(f"PDU session {bearer}")
        for holder in (ev.message, message):
            dnn = _ie(holder, "dnn")
            if isinstance(dnn, dict) and dnn.get("dnn"):
                parts.append(f"DNN {dnn['dnn']}")
                break
    return ", ".join(parts) or None


# ---------------------------------------------------------------------------
# Security facts of one UE's events.


def _exception_ok(ev):
    """Whether a plain message is among those TS 24.301 / TS 24.501 4.4.4.2-3
    let through before the secure exchange of NAS messages is established."""
    clause, allowed = EXCEPTIONS.get((ev.system, ev.dir), (None, {}))
    if ev.name not in allowed:
        return False
    message = ev.message
    if ev.name == "identity_request":
        kind = _ie(message, "identity_type") or _ie(message, "identity_type_2") or {}
        return _enum(kind.get("type_of_identity")) == 1  # IMSI (EPS), SUCI (5GS)
    if ev.name == "identity_response":
        identity = _ie(message, "mobile_identity") or {}
        return _enum(identity.get("type_of_identity")) == 1
    if ev.name in ("attach_reject", "tracking_area_update_reject") or (
            ev.name == "service_reject" and ev.system == _EPS):
        return not (ev.cause and ev.cause["value"] == 25)
    if ev.name in ("registration_reject", "service_reject"):
        return not (ev.cause and ev.cause["value"] in (76, 78))
    return True


class _Security:
    def __init__(self, report_security):
        self.out = report_security

    def ue(self, ue_id, events):
        secured_since = None
        authenticated = False
        pending_identity = None
        for ev in events:
            judged = ev.carrier not in _NOT_JUDGED
            if ev.initial:
                authenticated = False
                secured_since = ev.frame if (ev.protection in ("integrity", "ciphered", "sr_header")
                                             and ev.mac == "verified") else None
            if ev.res_check == "different":
                self.out["authentication"].append({"ue": ue_id, "frame": ev.frame, "time": ev.time,
                                                   "what": "RES differs from the expected RES", "cause": None})
            if ev.name is None:
                continue
            if ev.name == "authentication_failure":
                self.out["authentication"].append({"ue": ue_id, "frame": ev.frame, "time": ev.time,
                                                   "what": "AUTHENTICATION FAILURE", "cause": ev.cause})
            elif ev.name == "authentication_reject":
                self.out["authentication"].append({"ue": ue_id, "frame": ev.frame, "time": ev.time,
                                                   "what": "AUTHENTICATION REJECT", "cause": None})
            elif ev.name == "authentication_response":
                authenticated = True
            elif ev.name == "security_mode_command":
                self._algorithms(ue_id, ev)
            elif ev.name == "identity_request" and ev.dir == DOWNLINK:
                kind = _ie(ev.message, "identity_type") or _ie(ev.message, "identity_type_2") or {}
                kind = kind.get("type_of_identity") or {}
                if _enum(kind) == 1 and not authenticated and secured_since is None:
                    pending_identity = {"ue": ue_id, "frame": ev.frame, "time": ev.time, "system": ev.system,
                                        "requested": kind.get("text"), "response_frame": None,
                                        "response_protection": None, "in_clear": None}
                    self.out["identity_before_authentication"].append(pending_identity)
            elif ev.name == "identity_response" and pending_identity is not None:
                pending_identity["response_frame"] = ev.frame
                pending_identity["response_protection"] = ev.protection
                pending_identity["in_clear"] = _in_clear(ev)
                pending_identity = None
            if ev.dir == UPLINK and ev.name == "security_mode_complete" and ev.protection != "plain":
                secured_since = secured_since or ev.frame
            elif ev.dir == DOWNLINK and ev.protection in ("integrity", "ciphered") and \
                    ev.name != "security_mode_command" and ev.mac != "failed":
                secured_since = secured_since or ev.frame
            exposed = _in_clear(ev)
            if exposed and judged:
                self.out["identities_in_clear"].append({"ue": ue_id, "frame": ev.frame, "time": ev.time,
                                                        "message": ev.display(), "identity": exposed,
                                                        "protection": ev.protection})
            if ev.protection != "plain" or not judged:
                continue
            clause = EXCEPTIONS.get((ev.system, ev.dir), ("", {}))[0]
            if secured_since is not None:
                reason = f"secure exchange of NAS messages established since frame {secured_since}"
            elif not _exception_ok(ev):
                reason = "not among the messages the clause lets through before the secure exchange"
            else:
                continue
            self.out["unprotected"].append({"ue": ue_id, "frame": ev.frame, "time": ev.time,
                                            "direction": ev.dir, "message": ev.display(), "name": ev.name,
                                            "clause": clause, "reason": reason})

    def _algorithms(self, ue_id, ev):
        value = _ie(ev.message, "selected_nas_security_algorithms") or {}
        cipher = value.get("type_of_ciphering_algorithm") or {}
        integrity = value.get("type_of_integrity_protection_algorithm") or {}
        entry = {"ue": ue_id, "frame": ev.frame, "time": ev.time, "system": ev.system,
                 "ciphering": _short_algorithm(cipher, ev.system, "cipher"),
                 "integrity": _short_algorithm(integrity, ev.system, "integrity"),
                 "ciphering_text": cipher.get("text"), "integrity_text": integrity.get("text")}
        self.out["algorithms"].append(entry)
        nulls = [entry[k] for k, v in (("ciphering", cipher), ("integrity", integrity)) if _enum(v) == 0]
        if nulls:
            self.out["null_algorithms"].append(dict(entry, null=nulls))


def _short_algorithm(value, system, kind):
    number = _enum(value)
    if number is None:
        return None
    if system == _5GS:
        prefix = "5G-EA" if kind == "cipher" else "5G-IA"
        return f"{prefix}{number}" if number in (0, 4, 5, 6, 7) else f"128-{prefix}{number}"
    prefix = "EEA" if kind == "cipher" else "EIA"
    return f"{prefix}{number}" if number in (0, 4, 5, 6, 7) else f"128-{prefix}{number}"


def _in_clear(ev):
    """The permanent identity a message shows to anyone listening: an IMSI
    (or a SUCI of the null scheme) in a message not ciphered, or ciphered
    with EEA0 / 5G-EA0."""
    if ev.message is None or (ev.protection == "ciphered" and ev.body not in ("null_ciphering", "guessed_null")):
        return None
    for ie in _ies(ev.message):
        value = ie.get("value")
        if isinstance(value, dict):
            if value.get("imsi"):
                return "IMSI " + value["imsi"]
            kind = value.get("type_of_identity") or {}
            if kind.get("text") == "SUCI" and _enum(value.get("protection_scheme_id")) == 0 and value.get("msin"):
                return "SUCI of the null scheme: IMSI " + value.get("mcc", "") + value.get("mnc", "") + value["msin"]
    return None


# ---------------------------------------------------------------------------
# The report.


def build(records):
    """The report (a dict, the JSON) of an iterable of records."""
    records = list(records)
    captures = collections.OrderedDict()
    events = []
    for index, record in enumerate(records):
        capture = record.get("capture") or "capture"
        captures.setdefault(capture, {"name": capture, "records": 0, "first_time": None, "last_time": None,
                                      "duration_s": None, "ues": 0, "warnings": []})
        captures[capture]["records"] += 1
        events.append(_event(record, index, capture))
    groups = _group_ues(events, records)

    report = {"schema": SCHEMA, "captures": [], "timers": {p.key: p.describe() for p in PROCEDURES},
              "totals": {}, "procedures": {}, "ues": [], "instances": [], "causes_by_plmn": [],
              "message_types": [], "rate": {}, "security": {}}
    security = {"judged_carriers": sorted({ev.carrier for ev in events if ev.carrier and
                                           ev.carrier not in _NOT_JUDGED}),
                "not_judged": [], "protection": [], "unprotected": [], "algorithms": [], "null_algorithms": [],
                "identity_before_authentication": [], "authentication": [], "identities_in_clear": [],
                "exceptions": {f"{system} {direction}": {"clause": clause, "messages": dict(messages)}
                               for (system, direction), (clause, messages) in EXCEPTIONS.items()}}
    checker = _Security(security)
    sequence = [0]
    used_ids = collections.Counter()
    ues = []
    for members in groups:
        ids, plmns = [], []
        for ev in members:
            ids.extend(ev.identities)
            plmns.extend(ev.plmns)
        if not any(kind == "imsi" for kind, _ in ids):
            names = [ev.tracker_ue[5:] for ev in members if ev.tracker_ue and ev.tracker_ue.startswith("imsi-")]
            if names:
                ids.append(("imsi", collections.Counter(names).most_common(1)[0][0]))
        identities = _identity_summary(ids, members)
        label = _label(identities, members)
        base = label if len(captures) == 1 else f"{members[0].capture}:{label}"
        used_ids[base] += 1
        ue_id = base if used_ids[base] == 1 else f"{base}/{used_ids[base]}"
        for ev in members:
            ev.ue = ue_id
        ues.append((ue_id, label, identities, _plmn_of(ids, plmns), members, _Flows(ue_id, sequence)))
    flows_of = {ue[0]: ue[5] for ue in ues}
    # In capture order, so that instances are numbered as they began.
    for ev in events:
        flows_of[ev.ue].step(ev)
    for ue_id, label, identities, plmn, members, flows in ues:
        flows.finish(_last_time(events, members[0].capture))
        checker.ue(ue_id, members)
        times = [ev.t for ev in members if ev.t is not None]
        report["ues"].append({
            "id": ue_id, "label": label, "capture": members[0].capture, "identities": identities, "plmn": plmn,
            "messages": len(members), "first_time": members[0].time, "last_time": members[-1].time,
            "duration_s": round(max(times) - min(times), 6) if times else None,
            "procedures": [i["id"] for i in flows.instances],
            "events": [_event_json(ev) for ev in members]})
        for inst in flows.instances:
            inst["plmn"] = _plmn_text(plmn)
            report["instances"].append({k: v for k, v in inst.items() if not k.startswith("_")})
    report["instances"].sort(key=lambda i: (i["start"]["time"] or "", i["start"]["frame"] or 0))

    for capture in captures.values():
        times = [ev for ev in events if ev.capture == capture["name"] and ev.t is not None]
        if times:
            capture["first_time"], capture["last_time"] = times[0].time, times[-1].time
            capture["duration_s"] = round(times[-1].t - times[0].t, 6)
        capture["ues"] = sum(1 for ue in report["ues"] if ue["capture"] == capture["name"])
        for carrier in sorted({ev.carrier for ev in events if ev.capture == capture["name"]} & set(_NOT_JUDGED)):
            security["not_judged"].append({"capture": capture["name"], "carrier": carrier,
                                           "why": _NOT_JUDGED[carrier]})
        report["captures"].append(capture)

    report["procedures"] = _procedure_counts(report["instances"])
    report["totals"] = {"messages": len(events), "ues": len(report["ues"]), "procedures": len(report["instances"]),
                        "by_status": {s: sum(1 for i in report["instances"] if i["status"] == s) for s in STATUSES}}
    report["causes_by_plmn"] = _causes_by_plmn(report["instances"])
    report["message_types"] = _message_types(events)
    report["rate"] = _rate(events)
    security["protection"] = _protection(events)
    report["security"] = security
    return report


def _last_time(events, capture):
    for ev in reversed(events):
        if ev.capture == capture and ev.t is not None:
            return ev.t
    return None


def _identity_summary(ids, members):
    out = collections.OrderedDict((k, []) for k in ("imsi", "suci", "guti", "tmsi", "imei", "imeisv"))
    for kind, value in ids:
        if value not in out[kind]:
            out[kind].append(value)
    out["tracker"] = sorted({ev.tracker_ue for ev in members if ev.tracker_ue})
    return {k: v for k, v in out.items() if v}


def _label(identities, members):
    if identities.get("imsi"):
        return "imsi-" + identities["imsi"][0]
    if identities.get("suci"):
        return "suci-" + identities["suci"][0]
    if identities.get("guti"):
        return "guti-" + identities["guti"][0]
    if identities.get("tmsi"):
        return "tmsi-" + identities["tmsi"][0]
    if identities.get("tracker"):
        return identities["tracker"][0]
    assoc = members[0].assoc
    return f"{assoc[1]}-{assoc[2]}" if assoc else "ue"


def _event_json(ev):
    return {"frame": ev.frame, "time": ev.time, "direction": ev.dir, "carrier": ev.carrier,
            "procedure_code": ev.procedure_code, "system": ev.system, "protocol": ev.protocol, "name": ev.name,
            "text": ev.display(), "carried": [inner.get("name") for _, inner, _ in ev.carried],
            "protection": ev.protection, "mac": ev.mac, "body": ev.body, "cause": ev.cause,
            "procedures": [{"instance": i, "step": step} for i, step in ev.tags]}


def _procedure_counts(instances):
    out = collections.OrderedDict()
    for rule in PROCEDURES:
        mine = [i for i in instances if i["procedure"] == rule.key]
        if not mine:
            continue
        counts = {s: sum(1 for i in mine if i["status"] == s) for s in STATUSES}
        decided = counts[ACCEPTED] + counts[REJECTED] + counts[TIMED_OUT]
        out[rule.key] = dict({"title": rule.title, "system": rule.system, "started": len(mine)}, **counts,
                             success_rate=round(counts[ACCEPTED] / decided, 4) if decided else None,
                             timer=rule.timer, seconds=rule.seconds)
    return out


def _causes_by_plmn(instances):
    rows = collections.OrderedDict()
    for inst in instances:
        for cause in (inst["cause"], inst["extra_cause"]):
            if not cause:
                continue
            key = (inst["plmn"], inst["procedure"], inst["status"], cause["kind"], cause["value"], cause["text"])
            row = rows.setdefault(key, {"plmn": inst["plmn"], "procedure": inst["procedure"],
                                        "title": inst["title"], "status": inst["status"], "cause": dict(cause),
                                        "count": 0, "ues": []})
            row["count"] += 1
            if inst["ue"] not in row["ues"]:
                row["ues"].append(inst["ue"])
    return sorted(rows.values(), key=lambda r: (r["plmn"], r["procedure"], -r["count"]))


def _message_types(events):
    rows = collections.OrderedDict()

    def add(system, protocol, name, text, direction, carried):
        key = (system, protocol, name, direction)
        row = rows.setdefault(key, {"system": system, "protocol": protocol, "name": name, "text": text,
                                    "direction": direction, "count": 0, "carried": 0})
        row["carried" if carried else "count"] += 1

    for ev in events:
        if ev.name is None:
            add(ev.system, ev.protocol, None, ev.text or "(not read)", ev.dir, False)
            continue
        add(ev.system, ev.protocol, ev.name, ev.text, ev.dir, False)
        for _, inner, text in ev.carried:
            system, protocol = _system(inner)
            add(system, protocol, inner.get("name"), text, ev.dir, True)
    return sorted(rows.values(), key=lambda r: (-(r["count"] + r["carried"]), str(r["name"])))


def _nice_bin(span):
    for step in (1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200, 21600, 43200, 86400):
        if span / step <= 600:
            return step
    return 86400 * math.ceil(span / 86400 / 600)


def _rate(events):
    """Messages per bin of each capture.  A capture whose clock jumps (a
    modem's log that starts at its epoch, then takes the network's time) is
    drawn over its longest stretch without a gap of more than an hour; the
    messages outside it are counted in left_out."""
    per_capture = collections.OrderedDict()
    for ev in events:
        if ev.t is not None:
            per_capture.setdefault(ev.capture, []).append(ev)
    series = []
    for capture, evs in per_capture.items():
        ordered = sorted(evs, key=lambda e: e.t)
        stretches, current = [], [ordered[0]]
        for previous, ev in zip(ordered, ordered[1:]):
            if ev.t - previous.t > 3600:
                stretches.append(current)
                current = []
            current.append(ev)
        stretches.append(current)
        drawn = max(stretches, key=len)
        start = drawn[0].t
        step = _nice_bin(max(drawn[-1].t - start, 1))
        bins = int((drawn[-1].t - start) // step) + 1
        up, down = [0] * bins, [0] * bins
        for ev in drawn:
            (up if ev.dir == UPLINK else down)[int((ev.t - start) // step)] += 1
        series.append({"capture": capture, "start": drawn[0].time, "bin_seconds": step, "uplink": up,
                       "downlink": down, "left_out": len(evs) - len(drawn)})
    return {"series": series}


def _protection(events):
    rows = collections.OrderedDict()
    for ev in events:
        key = (ev.system, ev.name or "(body not read)", ev.dir)
        row = rows.setdefault(key, {"system": ev.system, "name": key[1], "text": ev.text, "direction": ev.dir,
                                    "count": 0, "protection": collections.Counter(), "mac": collections.Counter(),
                                    "body": collections.Counter()})
        row["count"] += 1
        row["protection"][ev.protection or "none"] += 1
        if ev.mac:
            row["mac"][ev.mac] += 1
        if ev.body:
            row["body"][ev.body] += 1
    out = []
    for row in rows.values():
        row = dict(row, protection=dict(row["protection"]), mac=dict(row["mac"]), body=dict(row["body"]))
        out.append(row)
    return sorted(out, key=lambda r: (str(r["system"]), r["name"], r["direction"] or ""))


# ---------------------------------------------------------------------------
# Text ladder of one UE.


def _matches(ue, query):
    q = query.strip().lower()
    for prefix in ("imsi-", "imsi:", "imsi ", "tmsi-", "tmsi:", "guti-", "guti:", "0x"):
        if q.startswith(prefix):
            q = q[len(prefix):]
    if ue["id"].lower() == query.strip().lower() or ue["label"].lower() == query.strip().lower():
        return True
    ids = ue["identities"]
    if q in ids.get("imsi", []) or q in [t.lower() for t in ids.get("tmsi", [])]:
        return True
    normal = "".join(c for c in q if c.isalnum())
    for guti in ids.get("guti", []):
        if normal == "".join(c for c in guti.lower() if c.isalnum()):
            return True
    return q in [t.lower() for t in ids.get("tracker", [])]


def ladder(records, ue):
    """The messages of the UE named by `ue` (an IMSI, a GUTI as
    MCC-MNC-MMEGI-MMEC-MTMSI or MCC-MNC-REGION-SET-POINTER-TMSI, an M-TMSI
    or 5G-TMSI in hex, or the report's UE id) as a text ladder, with the
    procedures they belong to.  `records` may also be a report of build()."""
    report = records if isinstance(records, dict) and records.get("schema") == SCHEMA else build(records)
    found = [u for u in report["ues"] if _matches(u, ue)]
    if not found:
        known = ", ".join(u["id"] for u in report["ues"]) or "none"
        raise ReportError(f"no UE matches {ue!r}; the UEs are: {known}")
    instances = {i["id"]: i for i in report["instances"]}
    out = []
    for u in found:
        out.append(_ladder_text(u, instances))
    return "\n".join(out)


def _ladder_text(ue, instances):
    width = 58
    lines = [f"UE {ue['id']}  ({_identity_line(ue)}; PLMN {_plmn_text(ue['plmn'])}; capture {ue['capture']})",
             f"{'frame':>6}  {'time':<15}  {'UE':<{width // 2}}{'network':>{width - width // 2}}  procedures"]
    t0 = _epoch(ue["first_time"])
    for ev in ue["events"]:
        t = _epoch(ev["time"])
        when = f"+{t - t0:.6f}" if t is not None and t0 is not None else ""
        label = ev["text"] + (f" #{ev['cause']['value']}" if ev["cause"] and ev["cause"]["value"] is not None else "")
        label = label[:width - 6]
        if ev["direction"] == UPLINK:
            arrow = "|-" + (" " + label + " ").center(width - 4, "-") + ">|"
        else:
            arrow = "|<" + (" " + label + " ").center(width - 4, "-") + "-|"
        tags = ", ".join(f"{step} {inst}" for inst, step in
                         ((p["instance"], p["step"]) for p in ev["procedures"]))
        protection = ev["protection"] or ""
        lines.append(f"{ev['frame'] if ev['frame'] is not None else '':>6}  {when:<15}  {arrow}  "
                     f"[{protection}] {tags}".rstrip())
    lines.append("procedures:")
    for inst_id in ue["procedures"]:
        inst = instances[inst_id]
        cause = f", cause {_cause_text(inst['cause'])}" if inst["cause"] else ""
        lines.append(f"  {inst['id']:<28} {inst['title']:<36} {inst['status']:<11} frame {inst['start']['frame']}"
                     f"{cause}" + (f"  ({inst['note']})" if inst["note"] else ""))
    return "\n".join(lines) + "\n"


def _identity_line(ue):
    ids = ue["identities"]
    parts = []
    for kind in ("imsi", "suci", "guti", "tmsi", "imeisv", "imei"):
        if ids.get(kind):
            parts.append(f"{kind.upper()} {', '.join(ids[kind][:3])}")
    return "; ".join(parts) or "no identity seen"


def _cause_text(cause):
    if not cause:
        return ""
    number = f"#{cause['value']} " if cause.get("value") is not None else ""
    return f"{cause['kind']} {number}{cause.get('text') or ''}".strip()


# ---------------------------------------------------------------------------
# HTML page: tables, a ladder per UE, and plots as embedded PNG.


_COLOURS = {ACCEPTED: "#2e7d32", REJECTED: "#c62828", TIMED_OUT: "#ef6c00", UNFINISHED: "#757575",
            ABANDONED: "#8e24aa", UNCONFIRMED: "#90a4ae"}

_CSS = """
body{font:14px/1.45 system-ui,-apple-system,"Segoe UI",Roboto,sans-serif;margin:0;color:#1d232b;background:#f6f7f9}
header{background:#1f3a5f;color:#fff;padding:18px 28px}header h1{margin:0 0 4px;font-size:22px}
header p{margin:0;opacity:.85}main{padding:8px 28px 40px;max-width:1400px}
h2{margin:28px 0 10px;font-size:18px;border-bottom:2px solid #d5dbe3;padding-bottom:4px}
h3{font-size:15px;margin:18px 0 6px}
.cards{display:flex;flex-wrap:wrap;gap:12px;margin:16px 0}
.card{background:#fff;border:1px solid #d5dbe3;border-radius:6px;padding:10px 16px;min-width:120px}
.card b{display:block;font-size:22px}.card span{color:#5a6573;font-size:12px}
table{border-collapse:collapse;background:#fff;margin:6px 0 14px;font-size:13px}
th,td{border:1px solid #d5dbe3;padding:3px 8px;text-align:left;vertical-align:top}
th{background:#eef1f5;font-weight:600}td.n{text-align:right;font-variant-numeric:tabular-nums;white-space:nowrap}
td.nw{white-space:nowrap}
.accepted{color:#2e7d32}.rejected{color:#c62828;font-weight:600}.timed_out{color:#ef6c00;font-weight:600}
.unfinished{color:#757575}.abandoned{color:#8e24aa}.unconfirmed{color:#607d8b}
img.plot{display:block;max-width:100%;background:#fff;border:1px solid #d5dbe3;margin:8px 0}
details{background:#fff;border:1px solid #d5dbe3;border-radius:6px;margin:8px 0;padding:6px 12px}
summary{cursor:pointer;font-weight:600}summary small{font-weight:400;color:#5a6573}
.badge{display:inline-block;border-radius:9px;padding:0 7px;margin-left:4px;font-size:11px;color:#fff}
.ladder{width:100%;border:0}.ladder td,.ladder th{border:0;border-bottom:1px solid #eef1f5;padding:1px 6px}
.ladder td.lane{width:50%;padding:1px 0;border-left:3px solid #1f3a5f;border-right:3px solid #1f3a5f}
.arrow{position:relative;height:24px}.arrow .line{position:absolute;left:8px;right:8px;bottom:5px;border-top:2px solid}
.arrow .line:after{content:"";position:absolute;top:-7px;border:6px solid transparent}
.ul .line:after{right:-2px;border-left:10px solid currentColor}
.dl .line:after{left:-2px;border-right:10px solid currentColor}
.arrow .label{position:absolute;left:0;right:0;top:0;text-align:center;font-size:12px;white-space:nowrap;
overflow:hidden;text-overflow:ellipsis}
.p-plain{color:#b26a00}.p-integrity{color:#1565c0}.p-ciphered{color:#2e7d32}.p-sr_header{color:#1565c0}
.p-none{color:#555}.endpoints{font-size:11px;color:#5a6573}.endpoints span+span{float:right}
.tag{font-size:11px;color:#3d4a5c}.nw{white-space:nowrap}.muted{color:#5a6573}.warn{color:#c62828}
code{font-size:12px}
"""


def _short_time(text):
    """"2019-06-09T12:52:52.575303877Z" as "2019-06-09 12:52:52.575"."""
    return text[:23].replace("T", " ") if text else ""


def _reader_line(capture, line):
    """A line of the reader without the program's name and the file's path."""
    for prefix in ("corvuna: ",):
        if line.startswith(prefix):
            line = line[len(prefix):]
    head, _, rest = line.partition(": ")
    return rest if rest and os.path.basename(head) == capture else line


def _duration(seconds):
    if seconds is None:
        return ""
    return f"{seconds * 1000:.1f} ms" if seconds < 1 else f"{seconds:.3f} s"


def _e(value):
    return _html.escape("" if value is None else str(value))


def _table(headers, rows, numeric=()):
    out = ["<table><tr>" + "".join(f"<th>{_e(h)}</th>" for h in headers) + "</tr>"]
    for row in rows:
        cells = []
        for i, cell in enumerate(row):
            raw = isinstance(cell, _Raw)
            text = cell.text if raw else _e(cell)
            cells.append(f"<td class=\"n\">{text}</td>" if i in numeric else f"<td>{text}</td>")
        out.append("<tr>" + "".join(cells) + "</tr>")
    out.append("</table>")
    return "\n".join(out)


class _Raw:
    def __init__(self, text):
        self.text = text


def _png(figure):
    buffer = io.BytesIO()
    figure.savefig(buffer, format="png", dpi=96)
    return base64.b64encode(buffer.getvalue()).decode("ascii")


def _pyplot():
    try:
        import matplotlib
        matplotlib.use("Agg")
        import matplotlib.pyplot as plt
    except ImportError as e:
        raise ReportError("the HTML report needs matplotlib (Debian package python3-matplotlib): "
                          f"{e}") from None
    return plt


def _rate_plot(plt, report):
    rate = report["rate"]
    series = [s for s in rate["series"] if sum(s["uplink"]) + sum(s["downlink"])]
    if not series:
        return None
    columns = 1 if len(series) == 1 else 2
    rows = math.ceil(len(series) / columns)
    figure, axes = plt.subplots(rows, columns, figsize=(11 if columns == 1 else 12, 3.2 * rows if columns == 1
                                                       else 2.4 * rows), squeeze=False)
    for ax, s in zip([a for row in axes for a in row], series):
        step = s["bin_seconds"]
        # Stacked steps (one polygon each, cheap to draw for many bins):
        # uplink at the bottom, downlink on top of it.
        x = [i * step for i in range(len(s["uplink"]) + 1)]
        up = [v / step for v in s["uplink"]]
        total = [u + d / step for u, d in zip(up, s["downlink"])]
        ax.fill_between(x, 0, up + up[-1:], step="post", label="uplink", color="#1565c0", linewidth=0)
        ax.fill_between(x, up + up[-1:], total + total[-1:], step="post", label="downlink", color="#ef6c00",
                        linewidth=0)
        ax.set_title(s["capture"] + (f" ({s['left_out']} messages before a clock jump not drawn)"
                                     if s["left_out"] else ""), fontsize=9)
        ax.set_xlabel(f"seconds from {s['start'][:19].replace('T', ' ')} (bins of {step} s)", fontsize=8)
        ax.set_ylabel("messages / s", fontsize=8)
        ax.tick_params(labelsize=8)
        ax.grid(alpha=.3)
        ax.legend(fontsize=7, loc="upper right")
    for ax in [a for row in axes for a in row][len(series):]:
        ax.set_visible(False)
    figure.tight_layout()
    data = _png(figure)
    plt.close(figure)
    return data


def _outcome_plot(plt, report):
    procedures = report["procedures"]
    if not procedures:
        return None
    keys = list(procedures)
    figure, ax = plt.subplots(figsize=(11, 0.42 * len(keys) + 1.2))
    left = [0] * len(keys)
    labels = [f"{procedures[k]['title']} ({procedures[k]['system'].upper()})" for k in keys]
    for status in STATUSES:
        values = [procedures[k][status] for k in keys]
        if not any(values):
            continue
        ax.barh(labels, values, left=left, color=_COLOURS[status], label=status.replace("_", " "))
        left = [a + b for a, b in zip(left, values)]
    ax.invert_yaxis()
    ax.set_xlabel("procedure instances", fontsize=9)
    ax.tick_params(labelsize=8)
    ax.legend(fontsize=8, loc="lower right")
    ax.grid(axis="x", alpha=.3)
    figure.tight_layout()
    data = _png(figure)
    plt.close(figure)
    return data


def _badges(counts):
    return "".join(f"<span class=\"badge\" style=\"background:{_COLOURS[s]}\">{n} {s.replace('_', ' ')}</span>"
                   for s, n in counts.items() if n)


def html(report):
    """The report as one self-contained HTML page (str): tables, a ladder per
    UE and the plots as embedded PNG (matplotlib, Agg)."""
    plt = _pyplot()
    rate_png = _rate_plot(plt, report)
    outcome_png = _outcome_plot(plt, report)
    totals = report["totals"]
    parts = ["<!DOCTYPE html>", "<html lang=\"en\"><head><meta charset=\"utf-8\">",
             "<title>Corvuna report: " + _e(", ".join(c["name"] for c in report["captures"])) + "</title>",
             f"<style>{_CSS}</style></head><body>",
             "<header><h1>Corvuna report</h1><p>" +
             _e(", ".join(c["name"] for c in report["captures"]) or "no capture") + "</p></header><main>"]
    decided = totals["by_status"][ACCEPTED] + totals["by_status"][REJECTED] + totals["by_status"][TIMED_OUT]
    rate = f"{100 * totals['by_status'][ACCEPTED] / decided:.1f} %" if decided else "n/a"
    cards = [("NAS messages", totals["messages"]), ("UEs", totals["ues"]), ("procedures", totals["procedures"]),
             ("success rate", rate), ("rejected", totals["by_status"][REJECTED]),
             ("timed out", totals["by_status"][TIMED_OUT]),
             ("unprotected", len(report["security"]["unprotected"])),
             ("null algorithms", len(report["security"]["null_algorithms"]))]
    parts.append("<div class=\"cards\">" + "".join(f"<div class=\"card\"><b>{_e(v)}</b><span>{_e(k)}</span></div>"
                                                   for k, v in cards) + "</div>")
    parts.append("<h2 id=\"captures\">Captures</h2>")
    parts.append(_table(["capture", "NAS messages", "UEs", "first message (UTC)", "last message (UTC)", "duration",
                         "reader said"],
                        [(c["name"], c["records"], c["ues"], _short_time(c["first_time"]),
                          _short_time(c["last_time"]), _duration(c["duration_s"]),
                          _Raw("<small class=\"muted\">" + "<br>".join(_e(_reader_line(c["name"], w))
                                                                        for w in c["warnings"][:4]) + "</small>"))
                         for c in report["captures"]], numeric=(1, 2, 5)))
    parts.append("<h2 id=\"procedures\">Procedures</h2>")
    if outcome_png:
        parts.append(f"<img class=\"plot\" id=\"plot-outcomes\" alt=\"procedure outcomes\" "
                     f"src=\"data:image/png;base64,{outcome_png}\">")
    rows = []
    for key, p in report["procedures"].items():
        rows.append((p["title"], p["system"].upper(), p["started"], p[ACCEPTED], p[REJECTED], p[TIMED_OUT],
                     p[UNFINISHED], p[ABANDONED], p[UNCONFIRMED],
                     "" if p["success_rate"] is None else f"{100 * p['success_rate']:.1f} %",
                     f"{p['timer']} {p['seconds']} s"))
    parts.append(_table(["procedure", "system", "started", "accepted", "rejected", "timed out", "unfinished",
                         "abandoned", "unconfirmed", "success rate", "timer"], rows, numeric=(2, 3, 4, 5, 6, 7, 8, 9)))
    parts.append("<p class=\"muted\">Success rate = accepted / (accepted + rejected + timed out). An instance "
                 "times out when no answer comes within its timer (the table's last column, the procedure's "
                 "clause in the JSON); unfinished: the capture ends first; abandoned: a new request or a new "
                 "NAS signalling connection came first; unconfirmed: an EPS service request that no NAS "
                 "message answers (its success is a lower-layer indication, TS 24.301 5.6.1.4).</p>")

    parts.append("<h2 id=\"causes\">Causes by PLMN</h2>")
    if report["causes_by_plmn"]:
        parts.append(_table(["PLMN", "procedure", "outcome", "cause", "count", "UEs"],
                            [(r["plmn"], r["title"], r["status"].replace("_", " "), _cause_text(r["cause"]),
                              r["count"], ", ".join(r["ues"][:6]) + (" …" if len(r["ues"]) > 6 else ""))
                             for r in report["causes_by_plmn"]], numeric=(4,)))
    else:
        parts.append("<p class=\"muted\">No procedure ended with a cause.</p>")

    parts.append("<h2 id=\"rate\">Messages over time</h2>")
    if rate_png:
        parts.append(f"<img class=\"plot\" id=\"plot-rate\" alt=\"messages per second\" "
                     f"src=\"data:image/png;base64,{rate_png}\">")
    else:
        parts.append("<p class=\"muted\">The records carry no times.</p>")

    parts.append("<h2 id=\"messages\">Message types</h2>")
    parts.append(_table(["message", "protocol", "direction", "count", "carried inside another"],
                        [(r["text"], r["protocol"], r["direction"], r["count"], r["carried"])
                         for r in report["message_types"]], numeric=(3, 4)))

    parts.append(_security_html(report["security"]))
    parts.append(_ues_html(report))
    parts.append("</main></body></html>")
    return "\n".join(parts) + "\n"


def _counter_text(counter, order):
    return ", ".join(f"{counter[k]} {k.replace('_', ' ')}" for k in order if counter.get(k))


def _security_html(security):
    out = ["<h2 id=\"security\">Security</h2>"]
    for item in security["not_judged"]:
        out.append(f"<p class=\"muted\">{_e(item['capture'])}: protection not judged ({_e(item['why'])}).</p>")
    out.append("<h3>Protection per message type</h3>")
    out.append(_table(["message", "direction", "count", "protection", "MAC", "body"],
                      [(r["text"], r["direction"], r["count"],
                        _counter_text(r["protection"], ("plain", "integrity", "ciphered", "sr_header", "none")),
                        _counter_text(r["mac"], ("verified", "failed", "not_checked", "uncheckable")),
                        _counter_text(r["body"], ("not_ciphered", "null_ciphering", "deciphered", "guessed_null",
                                                  "left_ciphered")))
                       for r in security["protection"]], numeric=(2,)))
    out.append("<h3>Messages sent without protection where the standard wants it</h3>")
    if security["unprotected"]:
        out.append(_table(["UE", "frame", "direction", "message", "clause", "why"],
                          [(u["ue"], u["frame"], u["direction"], u["message"], u["clause"], u["reason"])
                           for u in security["unprotected"]], numeric=(1,)))
    else:
        out.append("<p class=\"muted\">None.</p>")
    rows = []
    for key, item in security["exceptions"].items():
        rows.append((key, item["clause"], "; ".join(f"{m.replace('_', ' ').upper()}" + (f" ({c})" if c else "")
                                                    for m, c in item["messages"].items())))
    out.append("<details><summary>The exceptions: messages processed without integrity protection before the "
               "secure exchange of NAS messages is established</summary>" +
               _table(["system, direction", "clause", "messages"], rows) + "</details>")
    out.append("<h3>Algorithms selected by SECURITY MODE COMMAND</h3>")
    chosen = collections.Counter((a["ciphering"], a["integrity"]) for a in security["algorithms"])
    if chosen:
        out.append(_table(["ciphering", "integrity", "times", "null algorithm"],
                          [(c, i, n, "yes" if "0" in (c or "")[-1:] or "0" in (i or "")[-1:] else "")
                           for (c, i), n in chosen.most_common()], numeric=(2,)))
    else:
        out.append("<p class=\"muted\">No SECURITY MODE COMMAND was read.</p>")
    if security["null_algorithms"]:
        out.append(_table(["UE", "frame", "null algorithm selected", "ciphering", "integrity"],
                          [(a["ue"], a["frame"], ", ".join(a["null"]), a["ciphering_text"], a["integrity_text"])
                           for a in security["null_algorithms"]], numeric=(1,)))
    out.append("<h3>Identity requested before authentication</h3>")
    if security["identity_before_authentication"]:
        out.append(_table(["UE", "frame", "requested", "answered in frame", "answer's protection", "in clear"],
                          [(i["ue"], i["frame"], i["requested"], i["response_frame"], i["response_protection"],
                            i["in_clear"]) for i in security["identity_before_authentication"]], numeric=(1, 3)))
    else:
        out.append("<p class=\"muted\">None.</p>")
    out.append("<h3>Authentication failures and rejects</h3>")
    if security["authentication"]:
        out.append(_table(["UE", "frame", "what", "cause"],
                          [(a["ue"], a["frame"], a["what"], _cause_text(a["cause"]))
                           for a in security["authentication"]], numeric=(1,)))
    else:
        out.append("<p class=\"muted\">None.</p>")
    if security["identities_in_clear"]:
        out.append("<h3>Permanent identities sent in clear</h3>")
        out.append(_table(["UE", "frame", "message", "identity", "protection"],
                          [(i["ue"], i["frame"], i["message"], i["identity"], i["protection"])
                           for i in security["identities_in_clear"]], numeric=(1,)))
    return "\n".join(out)


def _ues_html(report):
    instances = {i["id"]: i for i in report["instances"]}
    out = ["<h2 id=\"ues\">UEs</h2>"]
    for n, ue in enumerate(report["ues"]):
        mine = [instances[i] for i in ue["procedures"]]
        counts = collections.Counter(i["status"] for i in mine)
        summary = (f"<summary>{_e(ue['id'])} <small>{_e(_identity_line(ue))} · PLMN {_e(_plmn_text(ue['plmn']))} · "
                   f"{ue['messages']} messages · {len(mine)} procedures</small>"
                   f"{_badges(collections.OrderedDict((s, counts[s]) for s in STATUSES))}</summary>")
        body = [summary]
        if mine:
            body.append(_table(["procedure", "detail", "started (frame)", "answer (frame)", "outcome", "cause",
                                "timer", "duration (s)", "note"],
                               [(i["title"], i["detail"], i["start"]["frame"],
                                 (i["answer"] or {}).get("frame"),
                                 _Raw(f"<span class=\"{i['status']}\">{_e(i['status'].replace('_', ' '))}</span>"),
                                 _cause_text(i["cause"]) + (f"; {_cause_text(i['extra_cause'])}"
                                                            if i["extra_cause"] else ""),
                                 _Raw(f"<span class=\"nw\">{_e(i['timer'])} {i['timer_seconds']} s</span>"),
                                 _duration(i["duration_s"]), i["note"])
                                for i in mine], numeric=(2, 3, 7)))
        body.append(_ladder_html(ue, instances))
        out.append(f"<details class=\"ue\" id=\"ue-{n}\"" + (" open" if n == 0 else "") + ">" + "".join(body) +
                   "</details>")
    return "\n".join(out)


def _ladder_html(ue, instances):
    t0 = _epoch(ue["first_time"])
    rows = ["<table class=\"ladder\"><tr><th>frame</th><th>time</th><th class=\"endpoints\" colspan=\"2\">"
            "<span>UE</span><span>network</span></th><th>procedures</th></tr>"]
    for ev in ue["events"]:
        t = _epoch(ev["time"])
        when = f"+{t - t0:.3f} s" if t is not None and t0 is not None else ""
        label = ev["text"] + (f" (#{ev['cause']['value']} {ev['cause']['text']})"
                              if ev["cause"] and ev["cause"]["value"] is not None else "")
        css = "ul" if ev["direction"] == UPLINK else "dl"
        protection = ev["protection"] or "none"
        title = f"{protection}; MAC {ev['mac'] or 'n/a'}; body {ev['body'] or 'n/a'}"
        arrow = (f"<div class=\"arrow {css} p-{_e(protection)}\" title=\"{_e(title)}\"><div class=\"label\">"
                 f"{_e(label)}</div><div class=\"line\"></div></div>")
        tags = ", ".join(f"{_e(instances[p['instance']]['title'] if p['instance'] in instances else p['instance'])}:"
                         f" {_e(p['step'])}" for p in ev["procedures"])
        rows.append(f"<tr><td class=\"n\">{_e(ev['frame'])}</td><td class=\"n\">{_e(when)}</td>"
                    f"<td class=\"lane\" colspan=\"2\">{arrow}</td><td class=\"tag\">{tags}</td></tr>")
    rows.append("</table>")
    legend = ("<p class=\"muted\">Arrow colour: <span class=\"p-plain\">plain</span>, "
              "<span class=\"p-integrity\">integrity protected</span>, <span class=\"p-ciphered\">ciphered</span>.</p>")
    return legend + "\n".join(rows)


# ---------------------------------------------------------------------------
# Files and the command line.


def read_captures(paths, keys=None, user_dlts=()):
    """The records of several captures, each tagged with its file name, and
    what the reader said of each capture (name -> lines)."""
    records, notes = [], collections.OrderedDict()
    for path in paths:
        name = os.path.basename(path)
        notes[name] = []
        for record in records_of(path, keys=keys, user_dlts=user_dlts, warnings=notes[name]):
            record["capture"] = name
            records.append(record)
    return records, notes


def _with_notes(report, notes):
    """The reader's words on each capture, and the captures without a NAS
    message, added to a report."""
    captures = {c["name"]: c for c in report["captures"]}
    for name, warnings in notes.items():
        if name not in captures:
            captures[name] = {"name": name, "records": 0, "first_time": None, "last_time": None,
                              "duration_s": None, "ues": 0, "warnings": []}
            report["captures"].append(captures[name])
        captures[name]["warnings"] = list(warnings)
    return report


def write(paths, html_path=None, json_path=None, keys=None, user_dlts=()):
    """Reads the captures, writes the HTML page and/or the JSON, returns the
    report."""
    if isinstance(paths, str):
        paths = [paths]
    records, notes = read_captures(paths, keys=keys, user_dlts=user_dlts)
    report = _with_notes(build(records), notes)
    if html_path:
        page = html(report)
        with open(html_path, "w", encoding="utf-8") as f:
            f.write(page)
    if json_path:
        with open(json_path, "w", encoding="utf-8") as f:
            json.dump(report, f, ensure_ascii=False, indent=1)
            f.write("\n")
    return report


def main(argv):
    """python3 -m corvuna report CAPTURE... | python3 -m corvuna ladder CAPTURE --ue ID"""
    import argparse
    command, argv = argv[0], argv[1:]
    if command == "ladder":
        parser = argparse.ArgumentParser(prog="python3 -m corvuna ladder",
                                         description="One UE's NAS messages and procedures as a text ladder.")
        parser.add_argument("captures", nargs="+", metavar="CAPTURE")
        parser.add_argument("--ue", help="IMSI, GUTI (MCC-MNC-MMEGI-MMEC-MTMSI), M-TMSI or 5G-TMSI (hex), or the "
                                         "report's UE id; without it the UEs are listed")
    else:
        parser = argparse.ArgumentParser(prog="python3 -m corvuna report",
                                         description="What happened in captures: procedures per UE, outcomes, "
                                                     "causes, security facts, as an HTML page and as JSON.")
        parser.add_argument("captures", nargs="+", metavar="CAPTURE")
        parser.add_argument("-o", "--output", metavar="HTML", help="the HTML page (default report.html unless "
                                                                   "only JSON is asked for)")
        parser.add_argument("--json", metavar="FILE", help="write the report as JSON to FILE")
        parser.add_argument("-T", "--format", choices=("html", "json"), default="html",
                            help="json: the JSON on standard output")
    parser.add_argument("--keys", metavar="FILE", help="subscriber keys for the capture's NAS security "
                                                       "(as corvuna --keys)")
    parser.add_argument("--user-dlt", action="append", default=[], metavar="N=WHAT",
                        help="user link type N carries WHAT (as corvuna --user-dlt)")
    args = parser.parse_args(argv)
    try:
        if command == "ladder":
            records, notes = read_captures(args.captures, keys=args.keys, user_dlts=args.user_dlt)
            report = _with_notes(build(records), notes)
            if args.ue is None:
                for ue in report["ues"]:
                    print(f"{ue['id']}\t{_identity_line(ue)}\t{ue['messages']} messages")
                return 0
            sys.stdout.write(ladder(report, args.ue))
            return 0
        html_path = args.output
        if html_path is None and args.json is None and args.format == "html":
            html_path = "report.html"
        if html_path:
            _pyplot()  # before reading: say at once that matplotlib is missing
        report = write(args.captures, html_path=html_path, json_path=args.json, keys=args.keys,
                       user_dlts=args.user_dlt)
        if args.format == "json":
            json.dump(report, sys.stdout, ensure_ascii=False, indent=1)
            sys.stdout.write("\n")
        totals = report["totals"]
        wrote = " and ".join(p for p in (html_path, args.json) if p) or "standard output"
        print(f"corvuna report: {wrote}: {len(report['captures'])} captures, {totals['messages']} NAS messages, "
              f"{totals['ues']} UEs, {totals['procedures']} procedures", file=sys.stderr)
        return 0
    except ReportError as e:
        print(f"corvuna {command}: {e}", file=sys.stderr)
        return 2
