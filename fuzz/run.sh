#!/bin/sh
# Runs each libFuzzer harness of a fuzz build for the given number of
# seconds, one after the other, starting from the checked-in corpus. New
# inputs go to BUILD/fuzz-corpus/NAME (the checked-in corpus stays small),
# findings to BUILD/fuzz-findings/. Exits non-zero on the first finding.
#
#   fuzz/run.sh BUILD SECONDS [HARNESS...]    (default: every harness)
set -eu
build=${1:?usage: run.sh BUILD SECONDS [HARNESS...]}
seconds=${2:?usage: run.sh BUILD SECONDS [HARNESS...]}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- percent_decoding html_decoding document

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

for name in "$@"; do
  fuzzer="$build/fuzz/${name}_fuzzer"
  work="$build/fuzz-corpus/$name"
  findings="$build/fuzz-findings"
  log="$build/fuzz-$name.log"
  mkdir -p "$work" "$findings"
  dict=""
  [ -f "$here/$name.dict" ] && dict="-dict=$here/$name.dict"
  echo "== $name: fuzzing for ${seconds}s (log: $log)"
  # -timeout: a document that takes seconds is a finding as well.
  if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$findings/$name-" $dict "$work" "$here/corpus/$name" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "== $name: FINDING, see $findings and $log"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  reached=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 | sed 's/.*DONE *\(cov: [0-9]* ft: [0-9]* corp: [^ ]*\).*/\1/')
  pcs=$(sed -n 's/.*PC tables (\([0-9]*\) PCs).*/\1/p' "$log" | head -n 1)
  echo "== $name: $runs executions, no finding; $reached (of $pcs instrumented PCs)"
done
