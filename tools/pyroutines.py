#!/usr/bin/env python3
"""Writes python/korvan/_routines.py, the table of every public routine of
include/korvan.h that the Python package builds its functions from.

    python3 tools/pyroutines.py include/korvan.h python/korvan/_routines.py

Each plain declaration becomes one row: name, result type, parameters and
the doc line (levels and sentence) of the comment before it. How each
parameter reaches Python:
  int/float/double       a number
  const char*            a str
  char*                  a text the routine writes: returned
  const int*/float*      an array; its length is the first int after it,
                         taken from the array (the 'len' parameters); a
                         number by address where every argument is a pointer
  int*/float*            a value the routine writes: returned
Routines whose arrays follow other rules are described in SPECIAL.
"""
import re
import sys

# Routines whose parameters need more than the rules above: parameter name ->
# (kind, dtype, size expression over the other parameters).
SPECIAL = {
    "outget": None,   # written by hand: the file kept in memory
    "wrncbk": None,   # written by hand: the warnings become Python warnings
    "hstgrm": {"iray": ("outarr", "i", "nbins")},
    "delaun": {"i1ray": ("outarr", "i", "nmax"), "i2ray": ("outarr", "i", "nmax"),
               "i3ray": ("outarr", "i", "nmax")},
}
# A matrix (zmat): column-major values at (x[i], y[j]), a 2-D array of shape
# (nx, ny) in Python; its dimensions are the parameters nx and ny.
MATRIX = ("zmat", "nx", "ny")

TYPES = {"int": "i", "float": "f", "double": "d"}


def declarations(text):
    """(doc, declaration) pairs of the plain forms, in order."""
    out = []
    group = ""
    doc = None
    for m in re.finditer(r"/\*\*(.*?)\*/|/\*\s*----\s*(.*?)\s*----.*?\*/|/\*.*?\*/|"
                         r"typedef[^;]*;|([A-Za-z_][\w \t\n*]*\([^()]*\))\s*;", text, re.S):
        if m.group(1) is not None:
            doc = " ".join(m.group(1).split())
        elif m.group(2) is not None:
            group = m.group(2)
        elif m.group(3) is not None:
            decl = " ".join(m.group(3).split())
            name = re.match(r".*?(\w+)\s*\(", decl).group(1)
            if not name.endswith("_"):
                out.append((group, doc or "", decl))
            doc = None
    return out


def parse(decl):
    m = re.match(r"(.*?)\b(\w+)\s*\((.*)\)$", decl)
    rtype, name, plist = m.group(1).strip(), m.group(2), m.group(3).strip()
    params = []
    if plist and plist != "void":
        for p in plist.split(","):
            p = p.strip().replace("*", " * ")
            words = p.split()
            const = "const" in words
            ptr = words.count("*")
            base = [w for w in words if w in ("int", "float", "double", "char")]
            params.append((const, ptr, base[0] if base else words[0], words[-1]))
    return rtype, name, params


def row(group, doc, decl):
    rtype, name, params = parse(decl)
    if name in SPECIAL and SPECIAL[name] is None:
        return None
    special = SPECIAL.get(name) or {}
    # A plain form that takes every argument by address says nothing about
    # arrays: its pointers are single values.
    scalars = all(ptr for _, ptr, base, _ in params if base != "char")
    kinds = []
    for const, ptr, base, pname in params:
        if pname in special:
            kind, dtype, size = special[pname]
            kinds.append([pname, kind, dtype, size])
        elif pname == MATRIX[0] and ptr == 1 and const:
            kinds.append([pname, "mat", TYPES[base], " ".join(MATRIX[1:])])
        elif ptr == 0 and base in TYPES:
            kinds.append([pname, TYPES[base], "", ""])
        elif ptr == 1 and base == "char":
            kinds.append([pname, "str" if const else "outstr", "", ""])
        elif ptr == 1 and base in TYPES and const:
            kinds.append([pname, "ref" if scalars else "arr", TYPES[base], ""])
        elif ptr == 1 and base in TYPES:
            kinds.append([pname, "out", TYPES[base], ""])
        else:
            sys.exit(f"{name}: no Python form for parameter '{pname}' (add it to SPECIAL)")
    # An array's length is the first int parameter after it.
    for i, k in enumerate(kinds):
        if k[1] == "arr":
            for j in range(i + 1, len(kinds)):
                if kinds[j][1] in ("i", "len"):
                    kinds[j][1] = "len"
                    k[3] = kinds[j][0]
                    break
            else:
                sys.exit(f"{name}: array '{k[0]}' has no length parameter after it")
    # A matrix's dimensions are taken from it where no array gives them.
    if any(k[1] == "mat" for k in kinds):
        for k in kinds:
            if k[0] in MATRIX[1:] and k[1] == "i":
                k[1] = "len"
    levels, _, sentence = doc.partition(":") if re.match(r"^[\w-]+:", doc) else ("", "", doc)
    res = {"void": "", "int": "i", "float": "f", "double": "d"}.get(rtype)
    if res is None:
        sys.exit(f"{name}: no Python form for the result type '{rtype}'")
    return (name, res, tuple(tuple(k) for k in kinds), group, levels.strip(), sentence.strip())


def main():
    header, output = sys.argv[1], sys.argv[2]
    rows = [r for r in (row(*d) for d in declarations(open(header).read())) if r]
    with open(output, "w") as f:
        f.write("# Written by tools/pyroutines.py from include/korvan.h; do not edit.\n")
        f.write("# (name, result, ((parameter, kind, dtype, length or size), ...), group, levels, doc)\n")
        f.write("ROUTINES = (\n")
        for r in rows:
            f.write(f"    {r!r},\n")
        f.write(")\n")


if __name__ == "__main__":
    main()
