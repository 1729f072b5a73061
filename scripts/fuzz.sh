#!/usr/bin/env bash
# Runs one libFuzzer target for a while, with its seed corpus.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TARGETS="records ini unscramble checks search export table vcard archive"

usage() {
    cat <<USAGE
Usage: scripts/fuzz.sh TARGET [SECONDS]

Builds the libFuzzer target fuzz_TARGET with clang-14 into build-fuzz/ (only
that target) and runs it for SECONDS seconds (default 60; as long as you like,
hours included), on its seed corpus fuzz/corpus/TARGET plus a working corpus
build-fuzz/corpus/TARGET where the inputs it finds are kept between runs.

TARGET is one of: $TARGETS
  records     a record file of either archive: open, count, every record and field
  ini         Archivio.ini: every key the program reads, one write read back
  unscramble  the scrambled password, as text and as unins000.dll
  checks      fiscal code, VAT number, credit card, IBAN (first byte picks)
  search      the search passes, their lines and list order on any records
  export      the spreadsheet writer on damaged record bytes, both sheets
  table       the CSV and HTML table reader: limits, a second reading, a plain CSV split
  vcard       the vCard reader, and its clients written and read back byte for byte
  archive     the backup archive check: what it accepts obeys the entry rules

An input that crashes or breaks a check is saved in fuzz/crashes/TARGET/
(crash-…, leak-…, timeout-…) and the run stops with a non-zero status.
Replay one with: build-fuzz/bin/fuzz/fuzz_TARGET FILE
Once the fault is mended, move the input into fuzz/corpus/TARGET/ so every
test run replays it.

Environment: FUZZ_BUILD_DIR (default build-fuzz), FUZZ_JOBS (parallel
fuzzing processes, default 1), FUZZ_ARGS (more libFuzzer options).
USAGE
}

case "${1:-}" in
    -h | --help) usage; exit 0 ;;
    "") usage >&2; exit 1 ;;
esac
TARGET="$1"
SECONDS_TO_RUN="${2:-60}"
if [[ " $TARGETS " != *" $TARGET "* ]]; then
    echo "fuzz.sh: unknown target '$TARGET' (one of: $TARGETS)" >&2
    exit 1
fi
if ! [[ "$SECONDS_TO_RUN" =~ ^[0-9]+$ ]] || [ "$SECONDS_TO_RUN" -eq 0 ]; then
    echo "fuzz.sh: SECONDS must be a whole number above 0" >&2
    exit 1
fi

BUILD="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    CC=clang-14 CXX=clang++-14 cmake -S "$ROOT" -B "$BUILD" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCARTAVERA_FUZZ=ON >/dev/null
fi
cmake --build "$BUILD" --target "fuzz_$TARGET"

WORK="$BUILD/corpus/$TARGET"
CRASHES="$ROOT/fuzz/crashes/$TARGET"
mkdir -p "$WORK" "$CRASHES"
# Qt's own one-time allocations are left to the suppressions; any other
# finding stops the run.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:print_stacktrace=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/tests/lsan.supp:print_suppressions=0}"

PARALLEL=()
if [ "${FUZZ_JOBS:-1}" -gt 1 ]; then
    # Each process logs to fuzz-N.log in the current folder.
    PARALLEL=(-jobs="$FUZZ_JOBS" -workers="$FUZZ_JOBS")
fi

# New inputs go to the working corpus (the first folder); the seed corpus is
# only read. Records are 3310 and 3372 bytes: inputs may grow to a few.
# shellcheck disable=SC2086
exec "$BUILD/bin/fuzz/fuzz_$TARGET" "$WORK" "$ROOT/fuzz/corpus/$TARGET" \
    -max_total_time="$SECONDS_TO_RUN" -max_len=16384 -timeout=20 -rss_limit_mb=3072 \
    -artifact_prefix="$CRASHES/" -print_final_stats=1 ${PARALLEL[@]+"${PARALLEL[@]}"} ${FUZZ_ARGS:-}
