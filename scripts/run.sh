#!/usr/bin/env bash
# Builds the editor, writes the demo image on the first run and starts the editor on it.
# Set QUORVEN_IMAGE to open another image instead, QUORVEN_BUILD_DIR to build elsewhere than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QUORVEN_BUILD_DIR:-build}"
bash scripts/deps.sh
# The same configuration as the test command (scripts/test.sh), so the two never rebuild each other's tree.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG"
cmake --build "$build" -j"$(nproc)" --target quorven-editor quorven-demo-rom
if [ ! -f "$build/demo.nes" ]; then
  "$build/bin/quorven-demo-rom" "$build/demo.nes"
fi
image="$(realpath "${QUORVEN_IMAGE:-$build/demo.nes}")"
# The colour table "fcpalette.pal" is read from the current directory: start beside it.
cd "$build/bin"
exec ./quorven-editor "$image"
