#!/usr/bin/env bash
# Every text of the program has its English: lupdate, run over src/ with the build's options into a copy of
# translations/quorven_en.ts, must find no text without a finished translation and lose none.
# Usage: translations_check.sh LUPDATE TS_FILE SOURCE_DIR [lupdate options...]
set -euo pipefail
lupdate="$1"; ts="$2"; src="$3"; shift 3
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/check.ts"
mapfile -t sources < <(find "$src" \( -name '*.cpp' -o -name '*.h' \) | sort)
"$lupdate" "$@" "${sources[@]}" -ts "$work/check.ts" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
if grep -q 'type="unfinished"' "$work/check.ts"; then
  echo "texts without their English (add them with the update_translations target, then translate):"
  grep -A1 '<source>' "$work/check.ts" | grep -B1 'type="unfinished"' | grep '<source>'
  exit 1
fi
before=$(grep -c '<source>' "$ts"); after=$(grep -c '<source>' "$work/check.ts")
if [ "$before" != "$after" ]; then
  echo "the translation file holds $before texts but the sources $after: run the update_translations target"
  exit 1
fi
echo "all $after texts have their English"
