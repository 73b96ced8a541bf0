#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need (skipped when all are present).
set -euo pipefail
pkgs=(g++ cmake ninja-build qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgtest-dev libgmock-dev libbenchmark-dev fonts-ipafont-gothic zlib1g-dev appstream desktop-file-utils nlohmann-json3-dev tiled)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
