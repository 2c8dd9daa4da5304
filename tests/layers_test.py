#!/usr/bin/env python3
"""The layers include downwards only.

Every quoted include of a product source names its layer ("grep/txtfile.h"),
and a layer includes only itself and the layers below it, in the order the
top-level CMakeLists.txt builds them.  The include roots of the build already
refuse a header of a layer that a target does not link; this check also
catches a layer that links too much, and an include that names no layer.

    tests/layers_test.py [SOURCE_ROOT]
"""
import os
import re
import sys

# What each layer may include: itself and what it builds on.
BELOW = {
    "sjis": [],
    "regexp": ["sjis"],
    "grep": ["sjis", "regexp"],
    "text": ["sjis"],
    "core": ["sjis", "regexp", "grep", "text"],
    "ui": ["sjis", "regexp", "grep", "text", "core"],
    "cli": ["sjis", "regexp", "grep", "text"],
}
# Headers the build generates that belong to no layer: the forms' classes,
# the meta-object code and the product's names and version.
GENERATED = re.compile(r"^(ui_\w+\.h|\w+\.moc|moc_\w+\.cpp|kovalex_version\.h)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def faults(root):
    for layer, below in BELOW.items():
        allowed = set(below) | {layer}
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8") as f:
                    text = f.read()
                for header in INCLUDE.findall(text):
                    if GENERATED.match(header):
                        continue
                    first = header.split("/")[0] if "/" in header else None
                    rel = os.path.relpath(path, root)
                    if first not in BELOW:
                        yield f'{rel}: "{header}" names no layer'
                    elif first not in allowed:
                        yield f'{rel}: "{header}" reaches up from {layer} to {first}'


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = list(faults(root))
    for line in found:
        print(line)
    if not any(os.path.isdir(os.path.join(root, layer)) for layer in BELOW):
        print("no layer folder under", root)
        return 1
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
