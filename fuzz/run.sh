#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for FUZZ_SECONDS seconds each (60 unless set).
# Usage: fuzz/run.sh BUILD_FOLDER [TARGET...]
# Each fuzzer starts from its kept inputs (tests/data/fuzz/<target>, never written here) and
# grows its own corpus in BUILD_FOLDER/corpus/<target>; an input that fails is written to
# BUILD_FOLDER/findings/<target>/. To keep it as a regression input, copy it into
# tests/data/fuzz/<target>/ with a name saying what it shows: the test suite replays it.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: fuzz/run.sh BUILD_FOLDER [TARGET...]}
shift
seconds=${FUZZ_SECONDS:-60}
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(card pricepage passwordstore numberrules archive picture)

# Archives are records of 2592 bytes: let inputs grow to a few cards and a fragment.
max_len() {
  case "$1" in
    archive) echo 16384 ;;
    picture) echo 65536 ;;
    *) echo 8192 ;;
  esac
}

# A picture must decode within the program's bound of 256 MiB above its usual size: any
# input that takes the process (sanitizer included) past 1 GiB, or asks for one block that
# large, is a finding.
rss_limit() {
  case "$1" in
    picture) echo 1024 ;;
    *) echo 4096 ;;
  esac
}

failed=()
for t in "${targets[@]}"; do
  exe="$build/fuzz/fuzz_$t"
  [[ -x "$exe" ]] || { echo "fuzz: $exe is missing" >&2; failed+=("$t"); continue; }
  mkdir -p "$build/corpus/$t" "$build/findings/$t"
  before=$(ls -A "$build/findings/$t" | wc -l)
  echo "== fuzz_$t for ${seconds}s"
  # One worker process that is restarted after a finding, so a target runs its whole time
  # and collects every failing input, even while a kept one still fails.
  if ! QT_QPA_PLATFORM=offscreen "$exe" -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
       -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=20 -rss_limit_mb="$(rss_limit "$t")" \
       -artifact_prefix="$build/findings/$t/" "$build/corpus/$t" "tests/data/fuzz/$t"; then
    failed+=("$t")
  elif [[ $(ls -A "$build/findings/$t" | wc -l) -gt $before ]]; then
    failed+=("$t")
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzz: findings in: ${failed[*]} (see $build/findings/)" >&2
  exit 1
fi
echo "fuzz: every target ran ${seconds}s without a finding"
