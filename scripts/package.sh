#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of Varno and checks what it holds:
#
#   scripts/package.sh [--install] [BUILD_DIR]     (default: build)
#
# The package is BUILD_DIR/varno_<version>_<arch>.deb. Its contents are
# checked: both programs with the two data files beside them in
# /usr/lib/varno, the links in /usr/bin, the desktop entry and the icon, the
# manual pages, the user guide, copyright, changelog and AppStream file; the
# packaged varno-calc computes a project file from the unpacked tree, which
# proves that it finds its data files through the link.
#
# Then the validators, each of which fails the check on any finding:
# `reuse lint` on the source tree, `appstreamcli validate --no-net` and
# `desktop-file-validate` on the packaged files, `lintian` on the package
# (errors and warnings). The package needs no lintian override; should one
# ever be needed, it goes to usr/share/lintian/overrides/varno with a comment
# saying why its tag does not apply.
#
# With --install (as root, changes the system): installs the package with
# apt-get, checks that `man varno-calc` shows the page, starts the installed
# program on a virtual X server, waits for its splash window and removes the
# package again.
set -euo pipefail
cd "$(dirname "$0")/.."

install_test=false
if [ "${1:-}" = "--install" ]; then
    install_test=true
    shift
fi
build="${1:-build}"

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

# The checking tools, installed when missing (Debian package after the colon).
tools=(lintian:lintian reuse:reuse appstreamcli:appstream desktop-file-validate:desktop-file-utils
       man:man-db gzip:gzip)
missing=()
for tool in "${tools[@]}"; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool##*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null \
        || fail "could not install ${missing[*]}"
fi

# Reuses a configured build folder as it is (CI has just built it for the
# tests); only what is not built yet is built.
log="$(mktemp)"
unpacked="$(mktemp -d)"
trap 'rm -rf "$log" "$unpacked"' EXIT
quietly() {
    "$@" >"$log" 2>&1 || { cat "$log" >&2; fail "failed: $*"; }
}
if [ ! -f "$build/CMakeCache.txt" ]; then
    quietly cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
quietly cmake --build "$build" --parallel "$(nproc)" --target varno varno-calc varno-docs
rm -f "$build"/varno_*.deb
# cpack installs only; the two programs above are all it takes.
(cd "$build" && quietly cpack -G DEB)
debs=("$build"/varno_*.deb)
[ -f "${debs[0]}" ] || fail "no package was written"
deb="${debs[0]}"
echo "package: $deb"

contents="$(dpkg-deb -c "$deb" | awk '{ path = $6; for (i = 7; i <= NF; ++i) path = path " " $i; print path }')"
expected=(
    "./usr/lib/varno/varno"
    "./usr/lib/varno/varno-calc"
    "./usr/lib/varno/wert2.txt"
    "./usr/lib/varno/wert3.txt"
    "./usr/bin/varno -> ../lib/varno/varno"
    "./usr/bin/varno-calc -> ../lib/varno/varno-calc"
    "./usr/share/applications/varno.desktop"
    "./usr/share/mime/packages/varno.xml"
    "./usr/share/icons/hicolor/scalable/apps/varno.svg"
    "./usr/share/metainfo/example.varno.varno.metainfo.xml"
    "./usr/share/man/man1/varno.1.gz"
    "./usr/share/man/man1/varno-calc.1.gz"
    "./usr/share/man/de/man1/varno.1.gz"
    "./usr/share/man/de/man1/varno-calc.1.gz"
    "./usr/share/doc/varno/copyright"
    "./usr/share/doc/varno/changelog.gz"
    "./usr/share/doc/varno/handbuch.md"
    "./usr/share/doc/varno/handbuch.html"
    "./usr/share/doc/varno/json.md"
    "./usr/share/doc/varno/json.html"
    "./usr/share/doc/varno/projektdatei.md"
    "./usr/share/doc/varno/projektdatei.html"
    "./usr/share/doc/varno/eurocode.md"
    "./usr/share/doc/varno/eurocode.html"
    "./usr/share/doc/varno/verification-eurocode.md"
    "./usr/share/doc/varno/verification-eurocode.html"
    "./usr/share/doc/varno/SOURCES.md"
    "./usr/share/doc/varno/SOURCES-eurocode.md"
)
# The values of the Eurocode check lie beside the programs too.
for table in data/eurocode/*.csv; do
    expected+=("./usr/lib/varno/$(basename "$table")")
done
for entry in "${expected[@]}"; do
    grep -qxF "$entry" <<<"$contents" || fail "the package lacks $entry"
done
# Every picture that the guide shows is in the package.
for picture in $(grep -o 'screenshots/[A-Za-z0-9_-]*\.png' docs/handbuch.md | sort -u); do
    grep -qxF "./usr/share/doc/varno/$picture" <<<"$contents" || fail "the package lacks the guide's picture $picture"
done
echo "contents: the programs with wert2.txt, wert3.txt and the Eurocode tables beside them, links, desktop entry, icon,"
echo "          manual pages (en, de), user guide with its pictures, copyright, changelog, AppStream file"

for field in Package Version Architecture Depends; do
    value="$(dpkg-deb -f "$deb" "$field")"
    [ -n "$value" ] || fail "the control field $field is empty"
    echo "$field: $value"
done

# The changelog and the AppStream file name the release that was built.
version="$(dpkg-deb -f "$deb" Version)"
changelog_version="$(zcat "$build/packaging/changelog.gz" | head -n 1 | sed -n 's/^varno (\([^)]*\)).*/\1/p')"
[ "$changelog_version" = "$version" ] \
    || fail "packaging/changelog starts with release '$changelog_version', the package is $version: add its entry"
grep -q "<release version=\"$version\"" packaging/example.varno.varno.metainfo.xml \
    || fail "packaging/example.varno.varno.metainfo.xml has no <release> for $version"
echo "changelog and AppStream file: release $version"

# The unpacked package computes a project file through its link in bin/.
dpkg-deb -x "$deb" "$unpacked"
"$unpacked/usr/bin/varno-calc" --locale C tests/data/lof_cantilevers.lof >"$unpacked/out.txt" \
    || fail "the packaged varno-calc did not compute tests/data/lof_cantilevers.lof"
grep -q '^Stahl:  ' "$unpacked/out.txt" || fail "the packaged varno-calc did not design (data files not found?)"
echo "unpacked varno-calc: computed and designed a project file"

# "Hilfe" finds the guide by the path from the programs' folder built into
# the program (its texts are UTF-16).
guide="$(strings -el "$unpacked/usr/lib/varno/varno" | grep -m 1 '/handbuch\.html$' || true)"
[ -n "$guide" ] && [ -f "$unpacked/usr/lib/varno/$guide" ] \
    || fail "Hilfe would look for the guide at usr/lib/varno/$guide, which the package does not hold"
echo "Hilfe: finds the guide at usr/lib/varno/$guide"

# Each page renders, in the language of its folder.
for page in man1/varno.1.gz man1/varno-calc.1.gz de/man1/varno.1.gz de/man1/varno-calc.1.gz; do
    heading=NAME
    [[ "$page" == de/* ]] && heading=BEZEICHNUNG
    rendered="$(man --warnings -E UTF-8 -l -Tutf8 "$unpacked/usr/share/man/$page" 2>"$log")" \
        || { cat "$log" >&2; fail "man cannot show $page"; }
    [ ! -s "$log" ] || { cat "$log" >&2; fail "man warns about $page"; }
    # Bold comes out as overstrike when the output is no terminal.
    sed 's/.\x08//g' <<<"$rendered" | grep "^$heading" >/dev/null || fail "$page has no section $heading"
done
echo "manual pages: all four render without warnings"

if ! reuse lint >"$log" 2>&1; then
    cat "$log" >&2
    fail "reuse lint: files without copyright or licence information (scripts/add-licence-headers.sh adds the lines to sources)"
fi
echo "reuse lint: every file has its copyright and licence"

metainfo="$unpacked/usr/share/metainfo/example.varno.varno.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$log" 2>&1 || { cat "$log" >&2; fail "appstreamcli validate found problems in the AppStream file"; }
appstreamcli validate-tree --no-net "$unpacked" >"$log" 2>&1 || { cat "$log" >&2; fail "appstreamcli validate-tree found problems in the installed tree"; }
echo "appstreamcli: the AppStream file and its desktop entry are valid"

desktop-file-validate "$unpacked/usr/share/applications/varno.desktop" >"$log" 2>&1 \
    || { cat "$log" >&2; fail "desktop-file-validate found problems in varno.desktop"; }
[ ! -s "$log" ] || { cat "$log" >&2; fail "desktop-file-validate warns about varno.desktop"; }
echo "desktop-file-validate: the desktop entry is valid"

# Lintian refuses to run some checks as root only with a notice; its
# findings are the same.
if ! lintian --fail-on error,warning --display-level ">=warning" "$deb" >"$log" 2>&1; then
    grep -v 'running with root privileges' "$log" >&2 || true
    fail "lintian reports errors or warnings on $deb"
fi
echo "lintian: no error and no warning"

if ! $install_test; then
    exit 0
fi

[ "$(id -u)" -eq 0 ] || fail "--install needs root"
for tool in xvfb-run:xvfb xwininfo:x11-utils xauth:xauth update-mime-database:shared-mime-info; do
    command -v "${tool%%:*}" >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${tool##*:}" >/dev/null
done
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb" >/dev/null
echo "installed: $(dpkg-query -W -f='${Package} ${Version} ${Status}' varno)"
# Some minimal images tell dpkg to leave out manual pages; say so rather
# than report a broken package.
if [ ! -f /usr/share/man/man1/varno-calc.1.gz ]; then
    grep -rs 'path-exclude.*/usr/share/man' /etc/dpkg/dpkg.cfg.d/ >&2 \
        && fail "this system's dpkg leaves out manual pages (see above), so man varno-calc cannot be checked"
fi
# The file manager knows the project files: the package's type reached the
# shared MIME database (dpkg's trigger runs update-mime-database).
grep -q 'application/x-varno-project:\*\.lof' /usr/share/mime/globs2 \
    || fail "the MIME type of the project files was not registered"
grep -q 'application/x-varno-projekt+json:\*\.varno' /usr/share/mime/globs2 \
    || fail "the MIME type of the Varno project files was not registered"
echo "MIME types: *.lof is application/x-varno-project, *.varno application/x-varno-projekt+json"
installed_man=0
man varno-calc 2>/dev/null | sed 's/.\x08//g' | grep 'varno-calc - compute continuous beams' >/dev/null || installed_man=$?
installed_calc=0
varno-calc --locale C tests/data/lof_cantilevers.lof 2>/dev/null | grep -q '^Stahl:  ' || installed_calc=$?

# The splash is the window titled "Varno"; it is viewable once mapped.
cat >"$unpacked/splash.sh" <<'PROBE'
varno &
pid=$!
for _ in $(seq 100); do
    if xwininfo -name Varno 2>/dev/null | grep -q 'Map State: IsViewable'; then
        echo "splash shown"
        kill "$pid"
        exit 0
    fi
    sleep 0.1
done
kill "$pid" 2>/dev/null
exit 1
PROBE
status=0
# A desktop session has a private runtime folder; root's shell in CI has none.
mkdir -m 700 "$unpacked/runtime"
(cd "$unpacked" && env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$unpacked/runtime" xvfb-run -a bash "$unpacked/splash.sh") \
    || status=$?
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q varno >/dev/null
echo "removed: the package is $(dpkg-query -W -f='${Status}' varno 2>/dev/null || echo 'gone')"
[ "$installed_calc" -eq 0 ] || fail "the installed varno-calc did not compute and design a project file"
[ "$installed_man" -eq 0 ] || fail "man varno-calc does not show the installed page"
[ "$status" -eq 0 ] || fail "the installed program showed no splash window within 10 s"
echo "installed varno-calc computed a project file, man varno-calc showed its page; the installed program showed its splash"
