#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
# 500 random beams against CalculiX, and docs/verification.md as the
# verification command would write it now.
python3 verification/verify.py document --check --calc build/bin/varno-calc
python3 verification/eurocode.py document --check --calc build/bin/varno-calc
