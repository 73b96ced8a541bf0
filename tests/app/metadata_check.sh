#!/usr/bin/env bash
# The desktop entry and the AppStream metadata pass their validators without a warning. Skipped (status 77)
# where the validators are not installed (Debian packages desktop-file-utils and appstream).
set -euo pipefail
packaging="$1"
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" > /dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
out="$(desktop-file-validate "$packaging/quorven-editor.desktop" 2>&1)"
[ -z "$out" ] || { echo "$out"; exit 1; }
appstreamcli validate --no-net --pedantic "$packaging/org.quorven.editor.metainfo.xml"
grep -q '<launchable type="desktop-id">quorven-editor.desktop</launchable>' "$packaging/org.quorven.editor.metainfo.xml"
grep -q '^Icon=quorven-editor$' "$packaging/quorven-editor.desktop"
