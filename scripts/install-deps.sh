#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Varno needs to build, run and test.
# Does nothing when everything is there already.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libgl-dev
    fonts-liberation poppler-utils locales man-db
    libbenchmark-dev
    python3 python3-markdown calculix-ccx
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -q
    $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A German locale, so the tests can check that numbers read the same under it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "note: German locale not generated; its tests will be skipped"
fi
