#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Reads ASN.1 modules and writes the PER descriptor tables of src/per/.

    asn1_per_gen.py --name NAME --variant aligned|unaligned --out DIR FILE.asn...

Writes DIR/per_NAME.h and DIR/per_NAME.cpp: one descriptor per type of
the modules (named types, the types written inline inside them, the
instances of parameterised types), the members of SEQUENCE and CHOICE
types, the names of ENUMERATED values, the value and size bounds, the
information object sets that open types are resolved through (key ->
type), and the INTEGER values the modules assign (ids, procedure codes,
bounds).  The header gives every named type's index and every integer
value as a C++ constant (hyphens become underscores).

Only the part of ASN.1 that the 3GPP modules of TS 36.331, TS 36.413 and
TS 38.413 use is read: type, value, class, object and object set
assignments; parameterised types; BOOLEAN, NULL, INTEGER, ENUMERATED,
BIT STRING, OCTET STRING, the character strings, OBJECT IDENTIFIER,
SEQUENCE (OPTIONAL, DEFAULT, extension marker, extension addition groups),
SEQUENCE OF, CHOICE; value and size constraints with extension markers,
CONTAINING, and table constraints on class fields.  Constraints PER does
not see (WITH COMPONENTS, permitted alphabets) are read and dropped.  The
modules of one NAME share one name space, as the IMPORTS between them say.
Python 3 standard library only.
"""
import argparse
import os
import re
import sys

# ---------------------------------------------------------------- lexer

TOKEN = re.compile(r"""
    (?P<space>\s+)
  | (?P<comment>--[^\n]*?(?:--|(?=\n)|$))
  | (?P<block>/\*.*?\*/)
  | (?P<p>::=|\.\.\.|\.\.|\[\[|\]\]|[{}()\[\],|@.;:<!^-])
  | (?P<bstr>'[01\s]*'B)
  | (?P<hstr>'[0-9A-Fa-f\s]*'H)
  | (?P<cstr>"(?:[^"]|"")*")
  | (?P<field>&[A-Za-z][A-Za-z0-9]*(?:-[A-Za-z0-9]+)*)
  | (?P<id>[A-Za-z][A-Za-z0-9]*(?:-[A-Za-z0-9]+)*)
  | (?P<num>\d+)
""", re.X | re.S)


class Tok:
    __slots__ = ("kind", "text", "where")

    def __init__(self, kind, text, where):
        self.kind, self.text, self.where = kind, text, where

    def __repr__(self):
        return self.text


def tokenize(text, path):
    out, at, line = [], 0, 1
    while at < len(text):
        m = TOKEN.match(text, at)
        if not m:
            raise SyntaxError("%s:%d: cannot read %r" % (path, line, text[at:at + 20]))
        kind = m.lastgroup
        if kind not in ("space", "comment", "block"):
            out.append(Tok(kind, m.group(), (path, line)))
        line += m.group().count("\n")
        at = m.end()
    return out


# ---------------------------------------------------------------- parser

BUILTIN_WORDS = {"BOOLEAN", "NULL", "INTEGER", "ENUMERATED", "BIT", "OCTET", "SEQUENCE", "SET", "CHOICE",
                 "PrintableString", "VisibleString", "IA5String", "UTF8String", "NumericString", "OBJECT"}
CHAR_STRINGS = {"PrintableString", "VisibleString", "IA5String", "NumericString"}


class Parser:
    def __init__(self, toks):
        self.t, self.i = toks, 0

    def peek(self, k=0):
        j = self.i + k
        return self.t[j] if j < len(self.t) else Tok("eof", "<end>", ("", 0))

    def next(self):
        tok = self.peek()
        self.i += 1
        return tok

    def at(self, text, k=0):
        return self.peek(k).text == text

    def expect(self, text):
        tok = self.next()
        if tok.text != text:
            self.fail("expected %r, found %r" % (text, tok.text), tok)
        return tok

    def fail(self, why, tok=None):
        tok = tok or self.peek()
        raise SyntaxError("%s:%d: %s" % (tok.where[0], tok.where[1], why))

    def ident(self):
        tok = self.next()
        if tok.kind != "id":
            self.fail("expected a name, found %r" % tok.text, tok)
        return tok.text

    def group(self, open_="{", close="}"):
        """The tokens between a bracket and its match (both consumed)."""
        self.expect(open_)
        depth, out = 1, []
        while True:
            tok = self.next()
            if tok.kind == "eof":
                self.fail("unbalanced %r" % open_)
            if tok.text == open_:
                depth += 1
            elif tok.text == close:
                depth -= 1
                if depth == 0:
                    return out
            out.append(tok)

    # ---- modules

    def modules(self):
        mods = []
        while self.peek().kind != "eof":
            mods.append(self.module())
        return mods

    def module(self):
        name = self.ident()
        while not self.at("DEFINITIONS"):
            if self.peek().kind == "eof":
                self.fail("no DEFINITIONS after module name %s" % name)
            self.next()
        while not self.at("BEGIN"):
            self.next()
        self.next()
        out = []
        while not self.at("END"):
            if self.at("IMPORTS") or self.at("EXPORTS"):
                while not self.at(";"):
                    self.next()
                self.next()
                continue
            out.append(self.assignment())
        self.next()
        return name, out

    def assignment(self):
        start = self.i
        out = self.assignment_body()
        return out + (" ".join(t.text for t in self.t[start:self.i]),)

    def assignment_body(self):
        where = self.peek().where
        name = self.ident()
        params = None
        if self.at("{"):
            params = self.params()
        if self.at("::="):
            self.next()
            if self.at("CLASS"):
                return ("class", name, self.class_body(), where)
            return ("type", name, (params, self.type_()), where)
        governor = self.type_()
        self.expect("::=")
        if self.at("{"):
            return ("braced", name, (governor, self.group()), where)
        return ("value", name, (governor, self.value()), where)

    def params(self):
        out = []
        for chunk in split_top(self.group(), ","):
            if len(chunk) >= 3 and chunk[-2].text == ":":
                out.append((" ".join(t.text for t in chunk[:-2]), chunk[-1].text))
            else:
                out.append((None, chunk[-1].text))
        return out

    def class_body(self):
        self.next()  # CLASS
        fields = {}
        for chunk in split_top(self.group(), ","):
            fname = chunk[0].text
            info = {"type_field": fname[1].isupper()}
            if not info["type_field"]:
                # A fixed-type value field: its type, up to UNIQUE, OPTIONAL or DEFAULT.
                toks = chunk[1:]
                cut = next((i for i, t in enumerate(toks) if t.text in ("UNIQUE", "OPTIONAL", "DEFAULT")),
                           len(toks))
                info["type"] = Parser(toks[:cut] + [Tok("p", ";", chunk[0].where)]).type_()
            fields[fname] = info
        syntax = None
        if self.at("WITH"):
            self.next()
            self.expect("SYNTAX")
            syntax = syntax_tree(self.group())
        return {"fields": fields, "syntax": syntax}

    # ---- values

    def value(self):
        tok = self.peek()
        if tok.text == "-":
            self.next()
            return -int(self.expect_num())
        if tok.kind == "num":
            self.next()
            return int(tok.text)
        if tok.text == "{":
            return ("braced", self.group())
        self.next()
        if tok.kind == "id":
            return ("ref", tok.text)
        return ("literal", tok.text)

    def expect_num(self):
        tok = self.next()
        if tok.kind != "num":
            self.fail("expected a number", tok)
        return tok.text

    # ---- types

    def type_(self):
        t = self.base_type()
        while self.at("("):
            t.setdefault("cons", []).append(self.constraint())
        return t

    def base_type(self):
        tok = self.next()
        w = tok.text
        if w in ("BOOLEAN", "NULL", "UTF8String"):
            return {"k": w}
        if w in CHAR_STRINGS:
            return {"k": "CHARS", "string": w}
        if w == "OBJECT":
            self.expect("IDENTIFIER")
            return {"k": "OID"}
        if w == "INTEGER":
            if self.at("{"):
                self.group()  # named numbers: no bearing on PER
            return {"k": "INTEGER"}
        if w == "ENUMERATED":
            return self.enumerated()
        if w in ("BIT", "OCTET"):
            self.expect("STRING")
            if w == "BIT" and self.at("{"):
                self.group()  # named bits
            return {"k": w + " STRING"}
        if w == "CHOICE":
            root, ext, extensible = self.components()
            return {"k": "CHOICE", "root": root, "ext": ext, "extensible": extensible}
        if w in ("SEQUENCE", "SET"):
            cons = None
            if self.at("SIZE"):
                self.next()
                cons = {"root": [("size", self.constraint())], "extensible": False}
            elif self.at("("):
                cons = self.constraint()
            if self.at("OF"):
                self.next()
                if self.peek().kind == "id" and self.peek(1).kind == "id" and self.peek(1).text[0].isupper() \
                        and self.peek().text[0].islower():
                    self.next()  # a named element: SEQUENCE OF name Type
                t = {"k": "SEQUENCE OF", "elem": self.type_()}
                if cons:
                    t["cons"] = [cons]
                return t
            if w == "SET":
                self.fail("SET is not supported", tok)
            root, ext, extensible = self.components()
            return {"k": "SEQUENCE", "root": root, "ext": ext, "extensible": extensible}
        if tok.kind != "id":
            self.fail("expected a type, found %r" % w, tok)
        if self.at(".") and self.peek(1).kind == "field":
            self.next()
            return {"k": "FIELD", "cls": w, "field": self.next().text}
        t = {"k": "REF", "name": w, "where": tok.where}
        if self.at("{"):
            t["args"] = [self.actual(chunk) for chunk in split_top(self.group(), ",")]
        return t

    def actual(self, toks):
        """One actual parameter: a type, a value or an object set."""
        first = toks[0]
        if first.text == "{":
            return ("set", toks)
        if first.kind == "num" or first.text == "-":
            return ("value", Parser(toks).value())
        if first.kind == "id" and first.text[0].islower() and len(toks) == 1:
            return ("value", ("ref", first.text))
        return ("type", Parser(toks + [Tok("p", ";", first.where)]).type_())

    def enumerated(self):
        root, ext, seen_marker = [], [], False
        for chunk in split_top(self.group(), ","):
            if chunk[0].text == "...":
                seen_marker = True
                continue
            name = chunk[0].text
            number = None
            if len(chunk) > 1:
                inner = [t.text for t in chunk[2:-1]]
                number = -int(inner[1]) if inner[0] == "-" else int(inner[0])
            (ext if seen_marker else root).append((name, number))
        return {"k": "ENUMERATED", "root": root, "ext": ext, "extensible": seen_marker}

    def components(self):
        """SEQUENCE and CHOICE bodies: root components, extension
        additions (groups as lists), and whether there is a marker."""
        root, ext, markers = [], [], 0
        for chunk in split_top(self.group(), ","):
            if chunk[0].text == "...":
                markers += 1
                continue
            if chunk[0].text == "[[":
                inner = chunk[1:-1]
                if len(inner) >= 2 and inner[0].kind == "num" and inner[1].text == ":":
                    inner = inner[2:]  # version number
                members = [Parser(c + [Tok("p", ";", c[0].where)]).component() for c in split_top(inner, ",")]
                ext.append(("group", members))
                continue
            member = Parser(chunk + [Tok("p", ";", chunk[0].where)]).component()
            if markers == 1:
                ext.append(("one", member))
            else:
                root.append(member)
        return root, ext, markers > 0

    def component(self):
        if self.at("COMPONENTS"):
            self.fail("COMPONENTS OF is not supported")
        name = self.ident()
        t = self.type_()
        m = {"name": name, "type": t, "optional": False, "default": False}
        if self.at("OPTIONAL"):
            self.next()
            m["optional"] = True
        elif self.at("DEFAULT"):
            self.next()
            self.value()
            m["default"] = True
        if not self.at(";"):
            self.fail("unexpected %r after component %s" % (self.peek().text, name))
        return m

    # ---- constraints

    def constraint(self):
        toks = self.group("(", ")")
        return parse_constraint(toks)


def split_top(toks, sep):
    """Splits a token list at `sep` outside brackets; empty parts dropped."""
    out, cur, depth = [], [], 0
    for tok in toks:
        if tok.text in ("{", "(", "[", "[["):
            depth += 1 if tok.text != "[[" else 1
        elif tok.text in ("}", ")", "]", "]]"):
            depth -= 1
        if tok.text == sep and depth == 0:
            if cur:
                out.append(cur)
            cur = []
        else:
            cur.append(tok)
    if cur:
        out.append(cur)
    return out


def parse_constraint(toks):
    """A constraint's content: {'root': [elements], 'extensible': bool}.
    Elements: ('range', lo, hi), ('size', constraint), ('containing',
    type), ('table', set tokens, at-name), ('nested', constraint), or
    None for what PER does not see."""
    parts = split_top(toks, ",")
    root, extensible, seen = [], False, False
    for part in parts:
        if part[0].text == "...":
            extensible = seen = True
            continue
        if seen:
            continue  # additions to an extensible constraint: not PER-visible
        for elem in split_top(part, "|"):
            root.append(constraint_element(elem))
    return {"root": root, "extensible": extensible}


def constraint_element(toks):
    p = Parser(toks + [Tok("p", ";", toks[0].where)])
    first = p.peek()
    if first.text == "SIZE":
        p.next()
        return ("size", p.constraint())
    if first.text == "CONTAINING":
        p.next()
        return ("containing", p.type_())
    if first.text in ("WITH", "FROM", "PATTERN", "CONSTRAINED"):
        return None
    if first.text == "(":
        return ("nested", p.constraint())
    if first.text == "{":
        set_toks = p.group()
        at = None
        if p.at("{"):
            inner = p.group()
            at = inner[-1].text if inner and inner[0].text == "@" else None
        return ("table", set_toks, at)
    lo = bound(p)
    hi = lo
    if p.at(".."):
        p.next()
        hi = bound(p)
    if not p.at(";"):
        return None
    return ("range", lo, hi)


def bound(p):
    tok = p.next()
    if tok.text == "-":
        return -int(p.expect_num())
    if tok.kind == "num":
        return int(tok.text)
    if tok.text in ("MIN", "MAX"):
        return tok.text
    if tok.kind == "id":
        return ("ref", tok.text)
    p.fail("unexpected %r in a constraint" % tok.text, tok)


def syntax_tree(toks):
    """WITH SYNTAX as a list of ('lit', word), ('field', &name), ('opt', [...])."""
    out, stack = [], []
    cur = out
    for tok in toks:
        texts = ["["] * 2 if tok.text == "[[" else ["]"] * 2 if tok.text == "]]" else [tok.text]
        for text in texts:
            if text == "[":
                stack.append(cur)
                new = []
                cur.append(("opt", new))
                cur = new
            elif text == "]":
                cur = stack.pop()
            elif text.startswith("&"):
                cur.append(("field", text))
            else:
                cur.append(("lit", text))
    return out


# ---------------------------------------------------------------- model

K_NULL, K_BOOLEAN, K_INTEGER, K_ENUMERATED, K_BIT_STRING, K_OCTET_STRING, K_CHAR_STRING, K_UTF8_STRING, \
    K_OBJECT_IDENTIFIER, K_SEQUENCE, K_SEQUENCE_OF, K_CHOICE, K_OPEN_TYPE = range(13)
KIND_NAMES = ["kNull", "kBoolean", "kInteger", "kEnumerated", "kBitString", "kOctetString", "kCharString",
              "kUtf8String", "kObjectIdentifier", "kSequence", "kSequenceOf", "kChoice", "kOpenType"]
F_EXTENSIBLE, F_LOWER, F_UPPER = 1, 2, 4
M_OPTIONAL, M_DEFAULT, M_GROUP = 1, 2, 4
MAX_KEY_MEMBER = 3
NO_SET = 0xFFFFFFFF  # the runtime keeps the INTEGER values of a SEQUENCE's first four members


class Gen:
    def __init__(self, modules):
        self.types, self.values, self.classes, self.braced, self.where = {}, {}, {}, {}, {}
        texts = {}
        for _, assignments in modules:
            for kind, name, body, where, text in assignments:
                table = {"type": self.types, "value": self.values, "class": self.classes,
                         "braced": self.braced}[kind]
                if name in table:
                    # Modules may each define the same thing alike (the SON
                    # transfer IEs repeat some of S1AP's); never differently.
                    if texts[(kind, name)] == text:
                        continue
                    raise SyntaxError("%s:%d: %s assigned twice, differently" % (where[0], where[1], name))
                table[name] = body
                texts[(kind, name)] = text
                self.where[name] = where
        self.descs = []        # [kind, flags, root, ext, opt, name, ref, bounds]
        self.members = []      # (name, type, flags)
        self.value_names = []  # name offsets of ENUMERATED values
        self.bounds = []       # (lb, ub)
        self.bounds_index = {}
        self.sets = []         # (first entry, count)
        self.set_index = {}
        self.entries = []      # (key, type, name)
        self.names = [""]
        self.name_index = {"": 0}
        self.name_offsets = [0]
        self.name_size = 1
        self.class_tables = {}  # (class, type field, key field): set of every object
        self.memo = {}         # named type instances
        self.struct = {}       # inline descriptors, by content
        self.named = {}        # named, non-parameterised types: index
        self.active = set()

    # ---- pools

    def name(self, text):
        if text not in self.name_index:
            self.name_index[text] = len(self.names)
            self.names.append(text)
            self.name_offsets.append(self.name_size)
            self.name_size += len(text) + 1
        return self.name_index[text]

    def bound_pair(self, lb, ub):
        key = (lb, ub)
        if key not in self.bounds_index:
            self.bounds_index[key] = len(self.bounds)
            self.bounds.append(key)
        return self.bounds_index[key]

    def add(self, desc, members=None, enum_names=None, named=None):
        """Adds a descriptor (an inline one equal to an earlier is shared)."""
        members = members or []
        enum_names = enum_names or []
        key = (tuple(desc), tuple(members), tuple(enum_names))
        if named is None and key in self.struct:
            return self.struct[key]
        if members:
            desc[6] = len(self.members)
            self.members.extend(members)
        if enum_names:
            desc[6] = len(self.value_names)
            self.value_names.extend(self.name(n) for n in enum_names)
        if named is not None:
            self.descs[named] = desc
            return named
        self.descs.append(desc)
        index = len(self.descs) - 1
        self.struct[key] = index
        return index

    def reserve(self):
        self.descs.append(None)
        return len(self.descs) - 1

    # ---- values

    def int_value(self, v, env, seen=()):
        if isinstance(v, int):
            return v
        if isinstance(v, tuple) and v[0] == "ref":
            name = v[1]
            if name in env:
                return self.int_value(env[name][1], {}, seen)
            if name in self.values and name not in seen:
                return self.int_value(self.values[name][1], {}, seen + (name,))
            raise SyntaxError("value %s is not an integer known here" % name)
        raise SyntaxError("not an integer value: %r" % (v,))

    # ---- constraints

    def effective(self, cons_list, env, what):
        """The PER-visible (lb, ub, extensible) of value ('value') or size
        ('size') constraints, and a CONTAINING type if any."""
        lb = ub = None
        extensible = False
        containing = None
        table = None
        for cons in cons_list or []:
            r = self.constraint_range(cons, env, what)
            if r["containing"] is not None:
                containing = r["containing"]
            if r["table"] is not None:
                table = r["table"]
            if r["lb"] is not None or r["ub"] is not None:
                lb, ub, extensible = r["lb"], r["ub"], r["extensible"]
        return lb, ub, extensible, containing, table

    def constraint_range(self, cons, env, what):
        lows, highs = [], []
        out = {"lb": None, "ub": None, "extensible": cons["extensible"], "containing": None, "table": None}
        for elem in cons["root"]:
            if elem is None:
                continue
            if elem[0] == "containing":
                out["containing"] = elem[1]
            elif elem[0] == "table":
                out["table"] = (elem[1], elem[2])
            elif elem[0] == "nested":
                inner = self.constraint_range(elem[1], env, what)
                for k in ("containing", "table"):
                    if inner[k] is not None:
                        out[k] = inner[k]
                if inner["lb"] is not None or inner["ub"] is not None:
                    lows.append(inner["lb"])
                    highs.append(inner["ub"])
                    out["extensible"] = out["extensible"] or inner["extensible"]
            elif elem[0] == "size":
                if what == "size":
                    inner = self.constraint_range(elem[1], env, "value")
                    lows.append(inner["lb"])
                    highs.append(inner["ub"])
                    out["extensible"] = out["extensible"] or inner["extensible"]
            elif elem[0] == "range" and what == "value":
                lo = None if elem[1] == "MIN" else self.int_value(elem[1], env)
                hi = None if elem[2] == "MAX" else self.int_value(elem[2], env)
                lows.append(lo)
                highs.append(hi)
        if lows:
            out["lb"] = None if any(v is None for v in lows) else min(lows)
            out["ub"] = None if any(v is None for v in highs) else max(highs)
            if out["lb"] is None and out["ub"] is None:
                out["lb"] = out["ub"] = None
        return out

    # ---- object sets

    def object_set(self, toks, env, cls):
        """Evaluates an object set written in braces: a list of objects
        (dicts of field -> (setting tokens, env)) and a description key."""
        objects, key = [], []
        body = split_top(toks, ",")
        for part in body:
            if part[0].text == "...":
                continue
            for elem in split_top(part, "|"):
                if elem[0].text == "{":
                    obj = self.defined_syntax(cls, elem[1:-1], env)
                    objects.append(obj)
                    key.append(("inline",) + elem[0].where)
                elif len(elem) == 1 and elem[0].kind == "id":
                    objs, k = self.object_ref(elem[0].text, env, cls)
                    objects.extend(objs)
                    key.append(k)
                else:
                    raise SyntaxError("%s:%d: cannot read this object set element" % elem[0].where)
        return objects, tuple(key)

    def object_ref(self, name, env, cls):
        if name in env:
            kind, val = env[name]
            if kind != "set":
                raise SyntaxError("%s is not an object set" % name)
            return val
        if name not in self.braced:
            raise SyntaxError("object or object set %s is not defined" % name)
        governor, toks = self.braced[name]
        gcls = governor.get("name")
        if gcls not in self.classes:
            raise SyntaxError("%s is not of a class" % name)
        if name[0].isupper():  # an object set
            objs, _ = self.object_set(toks, {}, gcls)
            return objs, ("set", name)
        obj = self.defined_syntax(gcls, toks, {})
        obj["__name__"] = name
        return [obj], ("object", name)

    def defined_syntax(self, cls, toks, env):
        syntax = self.classes[cls]["syntax"]
        literals = set()

        def collect(items):
            for kind, v in items:
                if kind == "lit":
                    literals.add(v)
                elif kind == "opt":
                    collect(v)
        collect(syntax)
        settings = {}
        pos = 0

        def match(items):
            nonlocal pos
            for kind, v in items:
                if kind == "lit":
                    if pos >= len(toks) or toks[pos].text != v:
                        return False
                    pos += 1
                elif kind == "field":
                    start, depth = pos, 0
                    while pos < len(toks):
                        t = toks[pos].text
                        if depth == 0 and t in literals:
                            break
                        depth += t in ("{", "(")
                        depth -= t in ("}", ")")
                        pos += 1
                    settings[v] = (toks[start:pos], env)
                else:
                    save = pos
                    if not match(v):
                        pos = save
            return True
        if not match(syntax) or pos != len(toks):
            where = toks[0].where if toks else ("?", 0)
            raise SyntaxError("%s:%d: object does not follow the syntax of %s" % (where[0], where[1], cls))
        settings["__class__"] = cls
        return settings

    def setting_value(self, setting):
        toks, env = setting
        return self.int_value(Parser(toks + [Tok("p", ";", toks[0].where)]).value(), env)

    def setting_type(self, setting):
        toks, env = setting
        return self.emit(Parser(toks + [Tok("p", ";", toks[0].where)]).type_(), env)

    def open_table(self, objects, type_field, key_field):
        """The object set table of one open type: key -> type, sorted."""
        rows = {}
        for obj in objects:
            if type_field not in obj or key_field not in obj:
                continue
            key = self.setting_value(obj[key_field])
            t = self.setting_type(obj[type_field])
            if key not in rows:
                rows[key] = (t, self.name(obj.get("__name__", "")))
        return self.table(rows)

    def class_table(self, cls, type_field, key_field):
        """Every object of class `cls` that the modules define, key -> type:
        where an open type meets a key its own object set lacks (a message
        carrying an IE the message's IE set does not list), the protocol's
        one type for that key.  Keys given different types are left out."""
        memo = (cls, type_field, key_field)
        if memo in self.class_tables:
            return self.class_tables[memo]
        rows, clashes = {}, set()
        for name, (governor, toks) in sorted(self.braced.items()):
            if governor.get("name") != cls:
                continue
            if name[0].isupper():
                objects, _ = self.object_set(toks, {}, cls)
            else:
                objects = [dict(self.defined_syntax(cls, toks, {}), __name__=name)]
            for obj in objects:
                if type_field not in obj or key_field not in obj:
                    continue
                key = self.setting_value(obj[key_field])
                t = self.setting_type(obj[type_field])
                if key in rows and rows[key][0] != t:
                    clashes.add(key)
                rows.setdefault(key, (t, self.name(obj.get("__name__", ""))))
        for key in clashes:
            del rows[key]
        self.class_tables[memo] = self.table(rows)
        return self.class_tables[memo]

    def table(self, rows):
        entries = tuple((k, rows[k][0], rows[k][1]) for k in sorted(rows))
        if entries not in self.set_index:
            self.set_index[entries] = len(self.sets)
            self.sets.append((len(self.entries), len(entries)))
            self.entries.extend(entries)
        return self.set_index[entries]

    # ---- types

    def named_type(self, name, args, env, where):
        if name in env:
            kind, val = env[name]
            if kind != "type":
                raise SyntaxError("%s is not a type parameter" % name)
            return val
        if name not in self.types:
            raise SyntaxError("%s:%d: type %s is not defined" % (where[0], where[1], name))
        params, body = self.types[name]
        inner = {}
        key = [name]
        if params:
            if not args or len(args) != len(params):
                raise SyntaxError("%s:%d: %s takes %d parameters" % (where[0], where[1], name, len(params)))
            for (governor, formal), (kind, actual) in zip(params, args):
                if kind == "type":
                    idx = self.emit(actual, env)
                    inner[formal] = ("type", idx)
                    key.append(("type", idx))
                elif kind == "value":
                    v = self.int_value(actual, env)
                    inner[formal] = ("value", v)
                    key.append(("value", v))
                else:
                    cls = governor
                    objs, k = self.object_set(actual[1:-1], env, cls)
                    inner[formal] = ("set", (objs, k))
                    key.append(("set", k))
        key = tuple(key)
        if key in self.memo:
            return self.memo[key]
        if body["k"] == "REF" and not body.get("cons"):
            index = self.named_type(body["name"], body.get("args"), inner, body["where"])
            self.memo[key] = index
            return index
        index = self.reserve()
        self.memo[key] = index
        self.emit(body, inner, named=index, type_name=name)
        return index

    def emit(self, t, env, named=None, type_name=""):
        k = t["k"]
        nm = self.name(type_name)
        if k == "REF":
            base = self.named_type(t["name"], t.get("args"), env, t["where"])
            if not t.get("cons"):
                if named is not None:
                    self.descs[named] = list(self.descs[base])
                    self.descs[named][5] = nm
                return base
            if self.descs[base] is None:
                raise SyntaxError("constraint on %s inside its own definition" % t["name"])
            desc = list(self.descs[base])
            desc[5] = nm
            return self.constrained(desc, t["cons"], env, named)
        if k == "FIELD":
            cls = self.classes.get(t["cls"])
            if cls is None:
                raise SyntaxError("class %s is not defined" % t["cls"])
            field = t["field"]
            table = None
            for cons in t.get("cons", []):
                for elem in cons["root"]:
                    if elem and elem[0] == "table":
                        table = elem
            if not cls["fields"][field]["type_field"]:
                # A fixed-type value field (&id, &criticality): the field's type.
                return self.emit(cls["fields"][field]["type"], {}, named, type_name)
            if table is None or table[2] is None:
                # No object set to resolve it through: its octets alone.
                return self.add([K_OPEN_TYPE, 0, 0, 0, 0, nm, NO_SET, NO_SET], named=named)
            # Resolved by the enclosing SEQUENCE, which holds the key member.
            objs, _ = self.object_set(table[1], env, t["cls"])
            return ("open", objs, field, table[2], nm)
        if k in ("NULL", "BOOLEAN", "UTF8String", "OID"):
            kind = {"NULL": K_NULL, "BOOLEAN": K_BOOLEAN, "UTF8String": K_UTF8_STRING,
                    "OID": K_OBJECT_IDENTIFIER}[k]
            return self.add([kind, 0, 0, 0, 0, nm, 0, 0], named=named)
        if k == "INTEGER":
            return self.constrained([K_INTEGER, 0, 0, 0, 0, nm, 0, 0], t.get("cons"), env, named)
        if k in ("BIT STRING", "OCTET STRING", "CHARS"):
            kind = {"BIT STRING": K_BIT_STRING, "OCTET STRING": K_OCTET_STRING, "CHARS": K_CHAR_STRING}[k]
            return self.constrained([kind, 0, 0, 0, 0, nm, 0, 0], t.get("cons"), env, named)
        if k == "ENUMERATED":
            root = t["root"]
            if any(n is not None for _, n in root):
                # Explicit numbers: PER numbers the values in ascending order.
                numbered, free = [], 0
                used = {n for _, n in root if n is not None}
                for name, n in root:
                    if n is None:
                        while free in used:
                            free += 1
                        n = free
                        used.add(n)
                    numbered.append((n, name))
                root = [(name, None) for _, name in sorted(numbered)]
            names = [n for n, _ in root] + [n for n, _ in t["ext"]]
            desc = [K_ENUMERATED, F_EXTENSIBLE if t["extensible"] else 0, len(root), len(t["ext"]), 0, nm, 0, 0]
            return self.add(desc, enum_names=names, named=named)
        if k == "SEQUENCE OF":
            elem = self.emit(t["elem"], env)
            if isinstance(elem, tuple):
                raise SyntaxError("an open type cannot be a SEQUENCE OF element")
            desc = [K_SEQUENCE_OF, 0, 0, 0, 0, nm, elem, 0]
            return self.constrained(desc, t.get("cons"), env, named)
        if k in ("SEQUENCE", "CHOICE"):
            return self.constructed(t, env, named, nm)
        raise SyntaxError("type %s is not supported" % k)

    def constrained(self, desc, cons, env, named):
        kind = desc[0]
        what = "value" if kind == K_INTEGER else "size"
        lb, ub, extensible, containing, _ = self.effective(cons, env, what)
        if lb is not None or ub is not None:
            if kind == K_UTF8_STRING:
                lb = ub = None  # not PER-visible
            else:
                flags = desc[1] & ~(F_LOWER | F_UPPER | F_EXTENSIBLE)
                if lb is not None:
                    flags |= F_LOWER
                if ub is not None:
                    flags |= F_UPPER
                if extensible:
                    flags |= F_EXTENSIBLE
                desc[1] = flags
                desc[7] = self.bound_pair(lb if lb is not None else 0, ub if ub is not None else 0)
        if containing is not None and kind in (K_OCTET_STRING, K_BIT_STRING):
            inner = self.emit(containing, env)
            desc[6] = inner + 1
        return self.add(desc, named=named)

    def constructed(self, t, env, named, nm):
        is_seq = t["k"] == "SEQUENCE"
        members, optionals = [], 0
        pending_open = []  # (member position, open type description)

        def member(m, in_root):
            nonlocal optionals
            idx = self.emit(m["type"], env)
            flags = (M_OPTIONAL if m["optional"] else 0) | (M_DEFAULT if m["default"] else 0)
            if is_seq and in_root and flags:
                optionals += 1
            if isinstance(idx, tuple):
                pending_open.append((len(members), idx))
                idx = 0
            members.append([self.name(m["name"]), idx, flags])

        for m in t["root"]:
            member(m, True)
        ext_count = 0
        for kind, body in t["ext"]:
            ext_count += 1 if is_seq or kind == "one" else len(body)
            if kind == "one":
                member(body, False)
            elif is_seq:
                inner = {"k": "SEQUENCE", "root": body, "ext": [], "extensible": False}
                gidx = self.constructed(inner, env, None, 0)
                members.append([0, gidx, M_GROUP])
            else:
                for m in body:
                    member(m, False)
        for pos, (_, objs, field, at, onm) in pending_open:
            key_pos = next((i for i, m in enumerate(t["root"]) if m["name"] == at), None)
            if key_pos is None or key_pos > MAX_KEY_MEMBER:
                raise SyntaxError("open type keyed by %s: the key must be one of the first members" % at)
            key_type = t["root"][key_pos]["type"]
            key_field = key_type["field"] if key_type["k"] == "FIELD" else None
            if key_field is None:
                raise SyntaxError("open type keyed by %s, which is not a class field" % at)
            set_index = self.open_table(objs, field, key_field)
            fallback = self.class_table(key_type["cls"], field, key_field)
            members[pos][1] = self.add([K_OPEN_TYPE, 0, 0, 0, key_pos, onm, set_index, fallback])
        kind = K_SEQUENCE if is_seq else K_CHOICE
        root_count = len(t["root"]) if is_seq else len(t["root"])
        desc = [kind, F_EXTENSIBLE if t["extensible"] else 0, root_count, ext_count, optionals, nm, 0, 0]
        return self.add(desc, members=[tuple(m) for m in members], named=named)

    def run(self):
        for name, (params, _) in sorted(self.types.items()):
            if params is None:
                self.named[name] = self.named_type(name, None, {}, self.where[name])
        for i, d in enumerate(self.descs):
            if d is None:
                raise SyntaxError("descriptor %d was never filled" % i)


# ---------------------------------------------------------------- output

def cxx_name(name):
    out = name.replace("-", "_")
    if out in CXX_KEYWORDS:
        out += "_"
    return out


CXX_KEYWORDS = {"and", "or", "not", "xor", "bool", "char", "class", "default", "delete", "do", "double", "else",
                "enum", "false", "float", "for", "if", "int", "long", "new", "private", "public", "return",
                "short", "signed", "static", "struct", "switch", "this", "true", "union", "unsigned", "void",
                "while", "register", "template", "typename", "volatile", "NULL"}


def write(gen, name, variant, out_dir, sources):
    ns = cxx_name(name)
    header = os.path.join(out_dir, "per_%s.h" % name)
    source = os.path.join(out_dir, "per_%s.cpp" % name)
    constants = []
    for vname, (governor, value) in sorted(gen.values.items()):
        if governor.get("k") in ("INTEGER", "REF") and (isinstance(value, int) or
                                                      (isinstance(value, tuple) and value[0] == "ref")):
            try:
                v = gen.int_value(value, {})
            except SyntaxError:
                continue
            tname = governor.get("name", "INTEGER")
            constants.append((vname, tname, v))
            gen.name(vname)
            gen.name(tname)
    srcs = ", ".join(os.path.basename(s) for s in sources)
    with open(header + ".tmp", "w") as h:
        h.write("// Generated by tools/per_gen/asn1_per_gen.py from %s: do not edit.\n" % srcs)
        h.write("#pragma once\n\n#include <cstdint>\n\n#include \"per/per.h\"\n\n")
        h.write("namespace corvuna::per::%s {\n\n" % ns)
        h.write("// The descriptors of the modules, %s PER.\n" % variant)
        h.write("extern const Module kModule;\n")
        h.write("inline constexpr uint32_t kTypeCount = %d;\n\n" % len(gen.descs))
        h.write("// Named types.\nnamespace type {\n")
        for tname, index in sorted(gen.named.items()):
            h.write("inline constexpr TypeId %s = %d;\n" % (cxx_name(tname), index))
        h.write("}  // namespace type\n\n// Integer values.\nnamespace value {\n")
        for vname, _, v in constants:
            h.write("inline constexpr int64_t %s = %s;\n" % (cxx_name(vname), cxx_int(v)))
        h.write("}  // namespace value\n\n}  // namespace corvuna::per::%s\n" % ns)
    os.replace(header + ".tmp", header)

    with open(source + ".tmp", "w") as c:
        c.write("// Generated by tools/per_gen/asn1_per_gen.py from %s: do not edit.\n" % srcs)
        c.write("#include \"per_%s.h\"\n\n" % name)
        c.write("namespace corvuna::per::%s {\n\nnamespace {\n\n" % ns)
        c.write("constexpr char kNames[] =\n")
        line = "    \"\\0\""
        for text in gen.names[1:]:
            piece = " \"%s\\0\"" % text
            if len(line) + len(piece) > 110:
                c.write(line + "\n")
                line = "   "
            line += piece
        c.write(line + ";\n\n")
        c.write("constexpr Type kTypes[] = {\n")
        for d in gen.descs:
            c.write("    {Kind::%s, %d, %d, %d, %d, %d, %du, %du},\n" %
                    (KIND_NAMES[d[0]], d[1], d[2], d[3], d[4], gen.name_offsets[d[5]], d[6], d[7]))
        c.write("};\n\nconstexpr Member kMembers[] = {\n")
        for m in gen.members or [(0, 0, 0)]:
            c.write("    {%d, %d, %d},\n" % (gen.name_offsets[m[0]], m[1], m[2]))
        c.write("};\n\nconstexpr uint32_t kValueNames[] = {\n")
        c.write(wrap([str(gen.name_offsets[v]) for v in gen.value_names or [0]]))
        c.write("};\n\nconstexpr Bounds kBounds[] = {\n")
        for lb, ub in gen.bounds or [(0, 0)]:
            if ub < lb:
                raise SyntaxError("an empty range %d..%d" % (lb, ub))
            c.write("    {%s, %s},\n" % (cxx_int(lb), cxx_uint(ub - lb)))
        c.write("};\n\nconstexpr ObjectSet kSets[] = {\n")
        for first, count in gen.sets or [(0, 0)]:
            c.write("    {%d, %d},\n" % (first, count))
        c.write("};\n\nconstexpr SetEntry kEntries[] = {\n")
        for key, t, nmi in gen.entries or [(0, 0, 0)]:
            c.write("    {%s, %d, %d},\n" % (cxx_int(key), t, gen.name_offsets[nmi]))
        c.write("};\n\nconstexpr Constant kConstants[] = {\n")
        for vname, tname, v in constants or [("", "", 0)]:
            c.write("    {%d, %d, %s},\n" % (gen.name_offsets[gen.name(vname)], gen.name_offsets[gen.name(tname)],
                                             cxx_int(v)))
        c.write("};\n\n}  // namespace\n\n")
        c.write("constexpr Module kModule{\"%s\", Variant::%s, kTypes, %d, kMembers, kValueNames, kBounds, kSets,\n"
                "                        %d, kEntries, kConstants, %d, kNames};\n\n" %
                (name, "kAligned" if variant == "aligned" else "kUnaligned", len(gen.descs), len(gen.sets),
                 len(constants)))
        c.write("}  // namespace corvuna::per::%s\n" % ns)
    os.replace(source + ".tmp", source)


def cxx_int(v):
    if v == -2**63:
        return "INT64_MIN"
    return "%dLL" % v if abs(v) > 2**31 - 1 else "%d" % v


def cxx_uint(v):
    return "%dULL" % v if v > 2**31 - 1 else "%du" % v


def wrap(items):
    out, line = "", "   "
    for it in items:
        if len(line) + len(it) + 2 > 110:
            out += line + "\n"
            line = "   "
        line += " " + it + ","
    return out + line + "\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--name", required=True)
    ap.add_argument("--variant", choices=["aligned", "unaligned"], required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--dump", metavar="TYPE", help="print the descriptors under TYPE instead of writing")
    ap.add_argument("files", nargs="+")
    args = ap.parse_args()
    modules = []
    for path in args.files:
        with open(path, encoding="utf-8") as f:
            modules.extend(Parser(tokenize(f.read(), path)).modules())
    gen = Gen(modules)
    gen.run()
    if args.dump:
        dump(gen, gen.named[args.dump], 0, set())
        return
    os.makedirs(args.out, exist_ok=True)
    write(gen, args.name, args.variant, args.out, args.files)
    print("per_%s: %d types, %d members, %d object sets, %d names" %
          (args.name, len(gen.descs), len(gen.members), len(gen.sets), len(gen.names)))


def dump(gen, index, depth, seen, label=""):
    """Prints a descriptor tree (for people checking the tables)."""
    d = gen.descs[index]
    pad = "  " * depth
    name = gen.names[d[5]]
    extra = ""
    if d[1] & (F_LOWER | F_UPPER):
        extra = " %s..%s" % gen.bounds[d[7]]
    if d[1] & F_EXTENSIBLE:
        extra += " ext"
    print("%s%s#%d %s%s%s" % (pad, label + ": " if label else "", index, KIND_NAMES[d[0]][1:],
                              " " + name if name else "", extra))
    if index in seen or depth > 12:
        return
    seen = seen | {index}
    if d[0] in (K_SEQUENCE, K_CHOICE):
        for i in range(d[2] + (d[3] if d[0] == K_CHOICE else 0) + (0 if d[0] == K_CHOICE else d[3])):
            m = gen.members[d[6] + i]
            flags = "".join(f for f, b in (("?", M_OPTIONAL), ("=", M_DEFAULT), ("[[", M_GROUP)) if m[2] & b)
            dump(gen, m[1], depth + 1, seen, gen.names[m[0]] + flags + ("" if i < d[2] else " (ext)"))
    elif d[0] == K_SEQUENCE_OF:
        dump(gen, d[6], depth + 1, seen, "item")
    elif d[0] == K_ENUMERATED:
        print(pad + "  " + ", ".join(gen.names[v] for v in gen.value_names[d[6]:d[6] + d[2] + d[3]]))
    elif d[0] == K_OPEN_TYPE and d[6] != NO_SET:
        first, count = gen.sets[d[6]]
        for key, t, nmi in gen.entries[first:first + count][:6]:
            dump(gen, t, depth + 1, seen, "key %d%s" % (key, " " + gen.names[nmi] if nmi else ""))
        if count > 6:
            print(pad + "  ... %d entries" % count)
    elif d[0] in (K_OCTET_STRING, K_BIT_STRING) and d[6]:
        dump(gen, d[6] - 1, depth + 1, seen, "containing")


def guarded_main(outcome):
    try:
        main()
        outcome.append(0)
    except SyntaxError as e:
        outcome.append("asn1_per_gen: %s" % e)


if __name__ == "__main__":
    # The modules nest deeply (type references chain through hundreds of
    # types): a deep recursion limit, on a thread with a stack to match.
    import threading
    sys.setrecursionlimit(100000)
    threading.stack_size(512 * 1024 * 1024)
    outcome = []
    worker = threading.Thread(target=guarded_main, args=(outcome,))
    worker.start()
    worker.join()
    sys.exit(outcome[0] if outcome else 1)
