#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Lists the longest function definitions in the C++ sources below the given
folders (default: src apps), by non-blank lines from the signature to the
closing brace. A definition is found by the project's style: a signature that
starts in column 0 and a body that closes with a brace in column 0."""
import pathlib
import re
import sys

roots = sys.argv[1:] or ["src", "apps"]
signature = re.compile(r"^[A-Za-z_][\w:<>,\s\*&~]*\b([\w:~]+)\s*\(")
found = []
for root in roots:
    for path in sorted(pathlib.Path(root).rglob("*.cpp")):
        lines = path.read_text(encoding="utf-8").splitlines()
        start = None
        for number, line in enumerate(lines):
            if start is None:
                m = signature.match(line)
                if m and not line.rstrip().endswith(";") and not line.startswith(("namespace", "class", "struct")):
                    start, name = number, m.group(1)
            elif line.startswith("}"):
                size = sum(1 for l in lines[start:number + 1] if l.strip())
                found.append((size, f"{path}:{start + 1}", name))
                start = None
for size, where, name in sorted(found, reverse=True)[:12]:
    print(f"{size:5d}  {name}  {where}")
