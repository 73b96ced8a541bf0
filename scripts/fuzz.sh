#!/usr/bin/env bash
# Fuzzing for as long as wanted: scripts/fuzz.sh [TARGET] [MINUTES]
#
# Builds the libFuzzer programs of tests/fuzz with clang (address and undefined-behaviour sanitizers, coverage)
# in build-fuzz/, then runs TARGET (image_load, ini_image, ini_roundtrip, bgbank, stagefile; "all" or nothing: each in
# turn) for MINUTES minutes each (default 10; 0 runs until stopped), starting from the seed corpus in
# tests/fuzz/corpus/<target>/. New corpus entries are kept in build-fuzz/corpus/<target>/ and any crash, leak
# or timeout in build-fuzz/crashes/<target>/, so a later run goes on from where this one stopped. Replay a
# crash with: build-fuzz/bin/fuzz_<target> <file>
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(image_load ini_image ini_roundtrip bgbank stagefile)
target="${1:-all}"
minutes="${2:-10}"
case "$target" in
  all) ;;
  image_load | ini_image | ini_roundtrip | bgbank | stagefile) targets=("$target") ;;
  -h | --help)
    sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
    ;;
  *)
    echo "unknown target '$target' (image_load, ini_image, ini_roundtrip, bgbank, stagefile or all)" >&2
    exit 2
    ;;
esac
if ! [[ "$minutes" =~ ^[0-9]+$ ]]; then
  echo "MINUTES must be a whole number, not '$minutes'" >&2
  exit 2
fi
command -v clang++ > /dev/null || { echo "fuzzing needs clang++ (Debian: apt-get install clang)" >&2; exit 1; }

launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQUORVEN_FUZZ=ON -DQUORVEN_BUILD_BENCH=OFF \
      "${launcher[@]}" > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

for t in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$t"
  crashes="build-fuzz/crashes/$t"
  mkdir -p "$corpus" "$crashes"
  limit=()
  [ "$minutes" -gt 0 ] && limit=(-max_total_time=$((minutes * 60)))
  echo "== fuzz_$t for ${minutes} minute(s); corpus $corpus, crashes $crashes"
  # New entries go into the first folder; the seed corpus is only read. -print_final_stats shows the
  # executions a second at the end.
  status=0
  "build-fuzz/bin/fuzz_$t" "${limit[@]}" -print_final_stats=1 -artifact_prefix="$crashes/" \
    "$corpus" "tests/fuzz/corpus/$t" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "fuzz_$t stopped with status $status; the input is in $crashes/" >&2
    exit "$status"
  fi
done
