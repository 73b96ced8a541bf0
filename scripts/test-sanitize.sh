#!/usr/bin/env bash
# The sanitizer half of the test command: builds the editor, the tools and every test with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/ and runs the whole suite there,
# the fuzz corpus replays included. Any out-of-bounds access, use after free, undefined behaviour or leak
# fails the run (the whole suite runs clean under the leak checker with the offscreen platform, so no
# suppressions are needed). Set QUORVEN_QUICK=1 to skip it.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${QUORVEN_QUICK:-0}" = "1" ]; then
  echo "QUORVEN_QUICK=1: sanitizer half skipped"
  exit 0
fi

bash scripts/deps.sh
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# -O0 with line tables only (-g1) keeps the build short (about a third shorter than -O1) and the stack traces
# exact; benchmarks are not built.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O0" \
      -DQUORVEN_SANITIZE=ON -DQUORVEN_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build build-sanitize -j"$(nproc)"

cd build-sanitize
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
