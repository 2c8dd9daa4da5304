#!/usr/bin/env python3
"""Mutation testing: how many small faults put into the code do the tests catch?

A mutant is the product code with one small change: a comparison or
arithmetic operator swapped (== !=, < <=, > >=, + -, += -=, && ||), an integer
constant changed (0 -> 1, 1 -> 0, n -> n+1), an if-condition negated
(if (x) -> if (!(x))) or a returned truth value flipped (return true <->
return false).  Every place in the chosen files where such a change can be
made is listed in a fixed order; a seed picks a sample of them, so the same
seed on the same sources gives the same mutants.

Each mutant is written into a scratch copy of the tree (never into the working
tree), the test executables built from the changed file are rebuilt
incrementally (with ccache when it is installed), and the ctest suites of
those executables run with a time limit; a change in sjis/ or regexp/ thus also runs
the window tests and kovagrep's.  A mutant is
  killed      when a test fails, crashes or runs out of time,
  survived    when every test passes (or no test executable is built from it),
  not viable  when it does not compile (left out of the score).
The score is killed / (killed + survived).  The report lists every mutant and,
at its end, the survivors as file:line and the change made.

Usually run through tools/mutation.sh, which checks that the tools it needs
are there; see --help.
"""

import argparse
import fnmatch
import io
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tarfile
import time

# The toolkit-free layers: the Shift-JIS basics, the engine, the grep and the
# application core.
DEFAULT_FILES = ["sjis/*.cpp", "regexp/*.cpp", "grep/*.cpp", "core/*.cpp"]

# ---------------------------------------------------------------------------
# Finding the places to mutate
# ---------------------------------------------------------------------------

# A string or character literal, a comment or a preprocessor line: nothing in
# them is mutated, so they are blanked out of the text that is searched.
_NOT_CODE = re.compile(
    r'R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)"'  # raw string
    r'|"(?:\\.|[^"\\\n])*"'  # string
    r"|'(?:\\.|[^'\\\n])*'"  # character
    r"|//[^\n]*"  # line comment
    r"|/\*.*?\*/"  # block comment
    r"|^[ \t]*#(?:[^\n]*\\\n)*[^\n]*",  # preprocessor line, with continuations
    re.S | re.M)

# Binary operators are recognised by the spaces around them (the formatter
# puts them there), which keeps template brackets, unary minus, <<, -> and
# forwarding references out.
_OPERATOR = re.compile(r"(?<=\s)(==|!=|<=|>=|&&|\|\||\+=|-=|<|>|\+|-)(?=\s)")
_OPERATOR_SWAP = {
    "==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">",
    "+": "-", "-": "+", "+=": "-=", "-=": "+=", "&&": "||", "||": "&&",
}
_INTEGER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|[0-9]+)(?=[uUlL]*(?![\w.']))")
_IF = re.compile(r"\bif\s*\(")
_RETURN_BOOL = re.compile(r"\breturn\s+(true|false)\s*;")


def blank_non_code(text):
    """The text with literals, comments and preprocessor lines turned into spaces
    (line ends kept), so offsets in it are offsets in the text."""

    def blank(m):
        return re.sub(r"[^\n]", " ", m.group(0))

    return _NOT_CODE.sub(blank, text)


def changed_integer(literal):
    if literal[:2].lower() == "0x":
        value = int(literal, 16)
        new = 1 if value == 0 else 0 if value == 1 else value + 1
        digits = format(new, "X" if any(c in "ABCDEF" for c in literal[2:]) else "x")
        return literal[:2] + digits.rjust(len(literal) - 2, "0")
    value = int(literal)
    return str(1 if value == 0 else 0 if value == 1 else value + 1)


def matching_paren(code, open_at):
    depth = 0
    for i in range(open_at, len(code)):
        if code[i] == "(":
            depth += 1
        elif code[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def negated_condition(code, open_at):
    """The edits that negate the condition of the if whose '(' is at open_at, or
    None where the condition declares a variable (it would not compile)."""
    close = matching_paren(code, open_at)
    if close < 0:
        return None
    start = open_at + 1
    # With an init-statement, only the condition after its ';' is negated.
    depth = 0
    for i in range(open_at + 1, close):
        c = code[i]
        depth += c in "([{"
        depth -= c in ")]}"
        if c == ";" and depth == 0:
            start = i + 1
    condition = code[start:close]
    if re.match(r"\s*(auto|const|[\w:]+(<[^=]*>)?[\s*&]+\w+\s*=[^=])", condition):
        return None
    while code[start] == " ":
        start += 1
    return [(start, "", "!("), (close, "", ")")]


def mutations_in(path, text):
    """Every mutation of one file, as dicts in the order of their offsets."""
    code = blank_non_code(text)
    found = []

    def add(kind, edits, what):
        edits = [(at, text[at:at + len(old)], new) for at, old, new in edits]
        found.append({"file": path, "offset": edits[0][0], "kind": kind, "edits": edits, "what": what})

    for m in _OPERATOR.finditer(code):
        op = m.group(1)
        add("operator", [(m.start(), op, _OPERATOR_SWAP[op])], f"{op} -> {_OPERATOR_SWAP[op]}")
    for m in _INTEGER.finditer(code):
        new = changed_integer(m.group(1))
        add("constant", [(m.start(), m.group(1), new)], f"{m.group(1)} -> {new}")
    for m in _IF.finditer(code):
        if re.match(r"\s*constexpr\b", code[m.end():]):
            continue
        edits = negated_condition(code, m.end() - 1)
        if edits:
            add("condition", edits, "if (x) -> if (!(x))")
    for m in _RETURN_BOOL.finditer(code):
        old = m.group(1)
        new = "false" if old == "true" else "true"
        add("return", [(m.start(1), old, new)], f"return {old} -> return {new}")
    found.sort(key=lambda f: (f["offset"], f["kind"]))
    for f in found:
        f["line"] = text.count("\n", 0, f["offset"]) + 1
    return found


def apply_edits(text, edits):
    for at, old, new in sorted(edits, reverse=True):
        assert text[at:at + len(old)] == old
        text = text[:at] + new + text[at + len(old):]
    return text


def choose_mutants(tree, patterns, seed, count):
    """The sample: every mutation of the files of tree (path -> bytes) that
    match the patterns, in a fixed order, and seeded picks among them."""
    files = sorted(p for p in tree if any(fnmatch.fnmatchcase(p, pat) for pat in patterns))
    if not files:
        sys.exit(f"mutation: no file matches {' '.join(patterns)}")
    every = []
    for path in files:
        every.extend(mutations_in(path, tree[path].decode("utf-8")))
    picked = sorted(random.Random(seed).sample(range(len(every)), min(count, len(every))))
    mutants = [every[i] for i in picked]
    for number, m in enumerate(mutants, 1):
        m["id"] = f"M{number:03d}"
    return files, len(every), mutants


# ---------------------------------------------------------------------------
# The scratch tree and its build
# ---------------------------------------------------------------------------


def run(cmd, cwd=None, timeout=None):
    """Runs a command; returns (exit status or None on time-out, output, seconds)."""
    began = time.monotonic()
    proc = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="replace", start_new_session=True)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out, time.monotonic() - began
    except subprocess.TimeoutExpired:
        kill_group(proc.pid)
        out, _ = proc.communicate()
        return None, out, time.monotonic() - began
    except BaseException:
        kill_group(proc.pid)
        proc.wait()
        raise


def kill_group(pid):
    """Kills a command's process group, which may have ended already (then an
    interrupted run would lose its report)."""
    try:
        os.killpg(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def read_tree(root, commit):
    """The files of the tree as path -> bytes: those of a commit, or the
    working tree's files that git tracks or would track (uncommitted changes
    included)."""
    if commit:
        archive = subprocess.run(["git", "archive", "--format=tar", commit], cwd=root, check=True,
                                 capture_output=True).stdout
        with tarfile.open(fileobj=io.BytesIO(archive)) as tar:
            return {m.name: tar.extractfile(m).read() for m in tar.getmembers() if m.isfile()}
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"], cwd=root,
                            check=True, capture_output=True).stdout.decode().split("\0")
    tree = {}
    for path in listed:
        full = os.path.join(root, path)
        if path and os.path.isfile(full) and not os.path.islink(full):
            with open(full, "rb") as f:
                tree[path] = f.read()
    return tree


def sync_tree(tree, copy):
    """Makes the folder copy hold exactly the files of tree.  Unchanged files
    keep their times, so the build stays incremental."""
    for path, data in tree.items():
        target = os.path.join(copy, path)
        if os.path.isfile(target):
            with open(target, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
        if path.endswith(".sh") or data.startswith(b"#!"):
            os.chmod(target, 0o755)
    for folder, _, names in os.walk(copy):
        for name in names:
            path = os.path.relpath(os.path.join(folder, name), copy)
            if path not in tree:
                os.remove(os.path.join(copy, path))


class Build:
    """The scratch build: which test executables each source feeds, which
    ctest tests run each executable, and building and testing a mutant."""

    def __init__(self, source, build, jobs):
        self.source, self.build, self.jobs = source, build, jobs

    def configure(self):
        cmd = ["cmake", "-S", self.source, "--preset", "dev", "-B", self.build, "-G", "Ninja"]
        if shutil.which("ccache"):
            cmd.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        status, out, _ = run(cmd)
        if status != 0:
            sys.exit("mutation: configuring the scratch build failed:\n" + out)

    def ninja(self, targets, dry=False, timeout=None):
        return run(["ninja", "-C", self.build, f"-j{self.jobs}"] + (["-n"] if dry else []) + targets,
                   timeout=timeout)

    def build_all(self):
        status, out, _ = self.ninja([])
        if status != 0:
            sys.exit("mutation: the unmutated tree does not build:\n" + out[-4000:])
        self.tests = self._tests()
        self.executables = sorted({t["exe"] for t in self.tests if t["exe"]})

    def _tests(self):
        """Every ctest test with the built executable it runs (its program or,
        for a script, an executable among its arguments)."""
        status, out, _ = run(["ctest", "--test-dir", self.build, "--show-only=json-v1"])
        if status != 0:
            sys.exit("mutation: ctest cannot list the tests:\n" + out)
        tests = []
        for number, t in enumerate(json.loads(out)["tests"], 1):
            exe = None
            for arg in t.get("command", []):
                if os.path.isabs(arg) and arg.startswith(os.path.abspath(self.build)) and os.access(arg, os.X_OK):
                    exe = os.path.relpath(arg, self.build)
                    break
            tests.append({"number": number, "name": t["name"], "exe": exe})
        return tests

    def executables_fed_by(self, path):
        """The test executables built from the source at path: the file is
        among an executable's inputs or among the headers its objects were
        compiled from (as ninja recorded them)."""
        if not hasattr(self, "_feeds"):
            compiled_from = self._recorded_headers()
            self._feeds = {}
            for exe in self.executables:
                inputs = self._ninja_paths(["-t", "inputs", exe])
                self._feeds[exe] = inputs.union(*(compiled_from.get(i, ()) for i in inputs))
        full = os.path.realpath(os.path.join(self.source, path))
        return [exe for exe in self.executables if full in self._feeds[exe]]

    def _ninja_paths(self, tool):
        _, out, _ = run(["ninja", "-C", self.build] + tool)
        return {os.path.realpath(os.path.join(self.build, l)) for l in out.splitlines()
                if l.strip() and not l.startswith("ninja:")}

    def _recorded_headers(self):
        """Object file -> the sources and headers it was compiled from."""
        _, out, _ = run(["ninja", "-C", self.build, "-t", "deps"])
        headers, current = {}, None
        for line in out.splitlines():
            if " #deps " in line:
                obj = os.path.realpath(os.path.join(self.build, line.split(": #deps")[0]))
                current = headers.setdefault(obj, set())
            elif line.startswith(" ") and line.strip() and current is not None:
                # A layer's headers are included through a link in the build
                # tree (cmake/Layers.cmake): the real path is the source's.
                current.add(os.path.realpath(os.path.join(self.build, line.strip())))
        return headers

    def test(self, executables, timeout, test_timeout):
        """Runs the ctest tests of the executables, each within test_timeout
        and all within timeout; (passed, seconds, output).  A time-out counts
        as a failure."""
        numbers = [str(t["number"]) for t in self.tests if t["exe"] in executables]
        if not numbers:
            return True, 0.0, "no test"
        cmd = ["ctest", "--test-dir", self.build, "-j", str(self.jobs), "--timeout", str(int(test_timeout)),
               "--stop-on-failure", "-I", "0,0,0," + ",".join(numbers)]
        status, out, seconds = run(cmd, timeout=timeout)
        return status == 0, seconds, out + ("\n[mutant timed out]" if status is None else "")


def slowest_test(ctest_output):
    return max((float(s) for s in re.findall(r"Passed\s+([0-9.]+) sec", ctest_output)), default=0.0)


# ---------------------------------------------------------------------------
# The run
# ---------------------------------------------------------------------------


def parse_seconds(text):
    m = re.fullmatch(r"(\d+(?:\.\d+)?)([smh]?)", text)
    if not m:
        raise argparse.ArgumentTypeError(f"not a duration: {text} (like 600, 90m, 2h)")
    return float(m.group(1)) * {"": 1, "s": 1, "m": 60, "h": 3600}[m.group(2)]


def options(argv):
    p = argparse.ArgumentParser(prog="tools/mutation.sh", description=__doc__.split("\n\n")[0],
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--seed", type=int, default=15, help="seed of the sample (default 15)")
    p.add_argument("--count", type=int, default=150, help="number of mutants (default 150)")
    p.add_argument("--files", nargs="+", metavar="GLOB", default=DEFAULT_FILES,
                   help="files to mutate: patterns of paths in the repository, where * also crosses /"
                   " (default: %(default)s)")
    p.add_argument("--budget", type=parse_seconds, default=0, metavar="TIME",
                   help="start no mutant after TIME (600, 90m, 2h); the rest are reported as not run")
    p.add_argument("--timeout", type=parse_seconds, default=0, metavar="TIME",
                   help="test time limit per mutant (default: 3 x the unmutated run + 30 s); a single test"
                   " gets 5 x the slowest unmutated test, at least 10 s")
    p.add_argument("--commit", metavar="REV",
                   help="mutate and test the tree of this commit (default: the working tree, uncommitted changes"
                   " included); the script itself may be newer than that commit")
    p.add_argument("--only", nargs="+", metavar="ID", help="run only these mutants of the sample (M001 ...)")
    p.add_argument("--list", action="store_true", help="print the sample and stop")
    p.add_argument("--scratch", default="build-mutation",
                   help="folder of the scratch copy and its build, relative to the repository (default %(default)s)")
    p.add_argument("--report", help="report file (default SCRATCH/report.txt)")
    p.add_argument("--jobs", type=int, default=2, help="build and test jobs (default 2)")
    return p.parse_args(argv)


def describe(m):
    return f"{m['file']}:{m['line']}: {m['what']}"


def first_failure(ctest_output):
    m = re.search(r"tests FAILED:\s*\n\s*\d+ - (\S+ \([^)]*\))", ctest_output)
    return m.group(1) if m else "the time limit of the mutant" if "[mutant timed out]" in ctest_output else "?"


def try_mutant(build, source, m, executables, limits):
    """Builds and tests one mutant in the scratch tree and puts the file back
    (also when interrupted).  Returns verdict, build and test seconds, and
    what killed it."""
    full = os.path.join(source, m["file"])
    with open(full, "rb") as f:
        original = f.read()
    try:
        with open(full, "wb") as f:
            f.write(apply_edits(original.decode("utf-8"), m["edits"]).encode("utf-8"))
        if not executables:
            return "survived", 0.0, 0.0, "no test executable uses the file"
        status, out, built = build.ninja(executables, timeout=1800)
        if status != 0 and status is not None and re.search(r": error:|undefined reference", out):
            return "not viable", built, 0.0, ""
        if status != 0:
            # Compiled, but listing the tests of an executable crashed or hung.
            return "killed", built, 0.0, "test discovery"
        passed, tested, out = build.test(executables, *limits)
        return ("survived", built, tested, "") if passed else ("killed", built, tested, first_failure(out))
    finally:
        with open(full, "wb") as f:
            f.write(original)


def main(argv):
    opt = options(argv)
    # Ending by a signal goes the way of Ctrl-C: the scratch file is put back
    # and the mutants run so far are reported.
    for sig in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, signal.default_int_handler)
    say = lambda text: print(text, flush=True)
    root = subprocess.run(["git", "rev-parse", "--show-toplevel"], check=True, capture_output=True,
                          text=True).stdout.strip()
    tree = read_tree(root, opt.commit)
    if "CMakePresets.json" not in tree:  # a commit from before the presets: configure it with today's
        with open(os.path.join(root, "CMakePresets.json"), "rb") as f:
            tree["CMakePresets.json"] = f.read()
    files, sites, mutants = choose_mutants(tree, opt.files, opt.seed, opt.count)
    if opt.only:
        mutants = [m for m in mutants if m["id"] in opt.only]
    if opt.list:
        for m in mutants:
            say(f"{m['id']} {m['kind']:9} {describe(m)}")
        say(f"{len(mutants)} of {sites} places in {len(files)} files, seed {opt.seed}")
        return 0

    began = time.monotonic()
    scratch = os.path.abspath(os.path.join(root, opt.scratch))
    source = os.path.join(scratch, "src")
    report_path = os.path.abspath(opt.report or os.path.join(scratch, "report.txt"))
    say(f"Copying the tree to {source}")
    os.makedirs(source, exist_ok=True)
    sync_tree(tree, source)
    build = Build(source, os.path.join(scratch, "build"), opt.jobs)
    build.configure()
    say("Building the unmutated tree")
    build.build_all()
    fed = {path: build.executables_fed_by(path) for path in sorted({m["file"] for m in mutants})}
    if not any(fed.values()):
        sys.exit("mutation: no test executable is built from " + " ".join(sorted(fed)))
    passed, baseline, out = build.test(sorted({e for exes in fed.values() for e in exes}), 3600, 1500)
    if not passed:
        sys.exit("mutation: the tests fail on the unmutated tree:\n" + out[-4000:])
    # A mutant that makes a test loop for ever costs the limit of one test,
    # not of the whole run.
    limit = opt.timeout or 3 * baseline + 30
    limits = (limit, min(limit, max(10, 5 * slowest_test(out))))
    say(f"Unmutated tests: {baseline:.0f} s; time limit per mutant {limits[0]:.0f} s, per test {limits[1]:.0f} s")

    results = []
    try:
        for m in mutants:
            if opt.budget and time.monotonic() - began > opt.budget:
                break
            verdict, built, tested, note = try_mutant(build, source, m, fed[m["file"]], limits)
            results.append({"mutant": m, "verdict": verdict, "build": built, "test": tested, "note": note})
            say(f"{m['id']} {verdict:10} build {built:5.1f} s  test {tested:5.1f} s  {describe(m)}  {note}")
    except KeyboardInterrupt:
        say("Interrupted; reporting the mutants run so far")
    results += [{"mutant": m, "verdict": "not run", "build": 0, "test": 0, "note": ""} for m in mutants[len(results):]]

    summary = write_report(report_path, opt, root, files, sites, tree, results, baseline, limits,
                           time.monotonic() - began)
    say(summary)
    say(f"Report: {report_path}")
    return 0


def write_report(path, opt, root, files, sites, tree, results, baseline, limits, elapsed):
    """Writes the report; returns its summary lines."""
    count = {v: sum(1 for r in results if r["verdict"] == v) for v in ("killed", "survived", "not viable", "not run")}
    judged = count["killed"] + count["survived"]
    score = f"{100 * count['killed'] / judged:.1f} %" if judged else "n/a"
    commit = subprocess.run(["git", "describe", "--always"] + ([opt.commit] if opt.commit else ["--dirty"]),
                            cwd=root, capture_output=True, text=True).stdout.strip()
    viable = [r for r in results if r["verdict"] in ("killed", "survived")]
    mean_build = sum(r["build"] for r in viable) / len(viable) if viable else 0
    mean_test = sum(r["test"] for r in viable) / len(viable) if viable else 0
    summary = [
        "Mutation testing report",
        f"command:    tools/mutation.sh {' '.join(sys.argv[1:])}",
        f"tree:       {commit}",
        f"files:      {len(files)} ({' '.join(opt.files)}), {sites} places, seed {opt.seed}, {len(results)} mutants",
        f"killed:     {count['killed']}",
        f"survived:   {count['survived']}",
        f"not viable: {count['not viable']} (did not compile; not in the score)",
        f"not run:    {count['not run']}",
        f"score:      {score} (killed / (killed + survived))",
        f"time:       {elapsed:.0f} s in all; unmutated tests {baseline:.0f} s, limits {limits[0]:.0f} s a mutant,"
        f" {limits[1]:.0f} s a test;"
        f" per viable mutant build {mean_build:.1f} s + tests {mean_test:.1f} s",
    ]
    lines = summary + ["", "Mutants (verdict, build s, test s, place, change, what killed it)"]
    for r in results:
        m = r["mutant"]
        lines.append(f"{m['id']} {r['verdict']:10} {r['build']:6.1f} {r['test']:6.1f}  {describe(m)}  {r['note']}")
    lines += ["", "Survivors (file:line: change | the line before the change)"]
    for r in results:
        if r["verdict"] == "survived":
            m = r["mutant"]
            code = tree[m["file"]].decode("utf-8").split("\n")[m["line"] - 1].strip()
            lines.append(f"{describe(m)} | {code}")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    return "\n".join(summary)


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except KeyboardInterrupt:
        sys.exit("mutation: interrupted before the first mutant")
