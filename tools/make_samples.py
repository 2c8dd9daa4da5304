#!/usr/bin/env python3
"""Writes the sample dictionaries of KOVALEX Searcher into samples/.

The six KOVA dictionaries are plain Shift-JIS (code page 932) text files, one
entry per line, CR LF line ends:

    samples/KOVA5A.TXT, samples/KOVA5B.TXT   general dictionary, 5th edition
    samples/KOVA-BIL.TXT                     bilingual phrase dictionary
    samples/KOVA略語.TXT                     abbreviations
    samples/KOVA固名.TXT                     proper nouns
    samples/KOVSEN.TXT                       technical terms
    samples/KOVA4.TXT                        general dictionary, 4th edition

Their content (all of it written for this project) is kept readable in
samples/source/NAME.txt: the same lines in UTF-8 with LF line ends.  Edit a
source and run this script to write the Shift-JIS file from it.  (The sources
live in a folder of their own so that the program, which looks for
dictionaries by file mask in samples/, never takes them for dictionaries.)

Usage: python3 tools/make_samples.py [--check] [OUTPUT_DIR]
(default: samples/ of the repository).  Standard library only; the output is
deterministic.  Every file is checked to decode, to have 300 to 600 lines, all
starting with "■", and at least one line longer than 300 bytes; then the
script prints which dictionaries hold a few common words.  With --check it
writes nothing and fails when a file in OUTPUT_DIR differs from what its
source gives.
"""

import os
import sys

MARK = "■"

# File name -> dictionary number, in the order the dictionaries are numbered.
DICTIONARY_OF = {"KOVA5A.TXT": 1, "KOVA5B.TXT": 1, "KOVA-BIL.TXT": 2,
                 "KOVA略語.TXT": 3, "KOVA固名.TXT": 4, "KOVSEN.TXT": 5,
                 "KOVA4.TXT": 6}

COMMON_WORDS = ["cat", "run", "light", "book", "search", "water", "make",
                "猫", "光", "本", "検索", "水"]


def read_source(path):
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    if "\r" in text:
        raise ValueError(path + ": CR in the source; line ends are LF")
    if not text.endswith("\n"):
        raise ValueError(path + ": the last line lacks its line end")
    return text[:-1].split("\n")


def encode(name, lines):
    out = bytearray()
    for number, line in enumerate(lines, 1):
        try:
            out += line.encode("cp932") + b"\r\n"
        except UnicodeEncodeError as e:
            raise ValueError("%s(%d): %r is not in code page 932: %s"
                             % (name, number, line[e.start:e.end], line)) from None
    return bytes(out)


def check(name, data):
    lines = data.split(b"\r\n")
    assert lines[-1] == b"", name + ": last line lacks CR LF"
    lines = lines[:-1]
    assert 300 <= len(lines) <= 600, "%s: %d lines" % (name, len(lines))
    assert max(len(l) for l in lines) > 300, name + ": no line over 300 bytes"
    assert all(l.startswith(MARK.encode("cp932")) for l in lines), name
    assert data.decode("cp932").encode("cp932") == data, name
    return len(lines), max(len(l) for l in lines)


def main(args):
    verify = "--check" in args
    args = [a for a in args if a != "--check"]
    samples = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples"))
    out_dir = os.path.normpath(args[0]) if args else samples
    os.makedirs(out_dir, exist_ok=True)
    files = {}
    stale = []
    for name in DICTIONARY_OF:
        lines = read_source(os.path.join(samples, "source", os.path.splitext(name)[0] + ".txt"))
        data = encode(name, lines)
        count, longest = check(name, data)
        files[name] = lines
        target = os.path.join(out_dir, name)
        if verify:
            with open(target, "rb") as f:
                if f.read() != data:
                    stale.append(target)
        else:
            with open(target, "wb") as f:
                f.write(data)
        print("%-14s %4d lines, longest %4d bytes" % (name, count, longest))
    if stale:
        print("Not as their sources give them (run tools/make_samples.py):", *stale, sep="\n  ")
        return 1
    print("Dictionaries (1-6) holding common words:")
    for word in COMMON_WORDS:
        found = sorted({DICTIONARY_OF[n] for n, lines in files.items()
                        if any(word in l for l in lines)})
        print("  %-7s %s" % (word, " ".join(str(d) for d in found)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
