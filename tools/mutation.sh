#!/usr/bin/env bash
# Mutation testing of the toolkit-free layers: puts a fixed, seeded sample of
# small faults into sjis/, regexp/, grep/ and core/, one at a time, in a
# scratch copy of the tree (build-mutation/ by default; the working tree
# is never written), rebuilds the test executables that depend on the changed
# file and reports how many mutants their ctest suites kill.
#
#   tools/mutation.sh                          150 mutants, seed 15
#   tools/mutation.sh --seed 7 --count 12      a small sample
#   tools/mutation.sh --files 'regexp/*.cpp' --budget 90m
#   tools/mutation.sh --list                   show the sample, build nothing
#   tools/mutation.sh --commit REV             the tree of a commit, with this script
#   tools/mutation.sh --help                   every option
#
# The report (build-mutation/report.txt) gives killed, survived, not viable
# (did not compile), the score killed / (killed + survived), the time taken and
# the survivors as file:line with the change made.  The same seed on the same
# sources picks the same mutants; when the code changes between two runs
# (before and after a refactoring) the places differ too, so compare the
# scores of the same seed and count, not single mutants.  On a shared machine,
# run it under `nice -n 15`; Ctrl-C stops it and still writes the report of
# the mutants run so far.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
for tool in cmake ninja ctest python3 git; do
  command -v "$tool" >/dev/null || { echo "mutation: $tool is missing (tools/setup.sh installs it)" >&2; exit 1; }
done
export QT_QPA_PLATFORM=offscreen
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
exec python3 tools/mutation.py "$@"
