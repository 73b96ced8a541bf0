#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks the installed layout: the program in bin, its
# colour table and name lists in share/quorven-editor, the desktop entry in share/applications, the icon in
# share/icons/hicolor, the metadata in share/metainfo, the tools in bin, and a desktop entry that starts the
# installed program by name.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
for f in bin/quorven-editor share/quorven-editor/fcpalette.pal share/quorven-editor/ChipAttributes.txt \
         share/quorven-editor/ObjectList.txt share/quorven-editor/ChipAttributes_en.txt \
         share/quorven-editor/ObjectList_en.txt share/applications/quorven-editor.desktop \
         share/icons/hicolor/scalable/apps/quorven-editor.svg share/icons/hicolor/48x48/apps/quorven-editor.png \
         share/icons/hicolor/256x256/apps/quorven-editor.png share/metainfo/org.quorven.editor.metainfo.xml \
         bin/quorven-patch bin/quorven-render-stage; do
  [ -f "$prefix/$f" ] || { echo "missing: $f"; exit 1; }
done
[ -x "$prefix/bin/quorven-editor" ] || { echo "not executable: bin/quorven-editor"; exit 1; }
[ "$(stat -c %s "$prefix/share/quorven-editor/fcpalette.pal")" -eq 192 ] || { echo "colour table size"; exit 1; }
grep -q '^Exec=quorven-editor' "$prefix/share/applications/quorven-editor.desktop" || { echo "Exec line"; exit 1; }
echo "installed layout complete"
