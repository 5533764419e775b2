#!/usr/bin/env bash
# Builds the Debian package of Varno and checks what it holds:
#
#   scripts/package.sh [--install] [BUILD_DIR]     (default: build)
#
# The package is BUILD_DIR/varno_<version>_<arch>.deb. Its contents are
# checked: both programs with the two data files beside them in
# /usr/lib/varno, the links in /usr/bin, the desktop entry and the icon; the
# packaged varno-calc computes a project file from the unpacked tree, which
# proves that it finds its data files through the link.
#
# With --install (as root, changes the system): installs the package with
# apt-get, starts the installed program on a virtual X server, waits for its
# splash window and removes the package again.
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
quietly cmake --build "$build" --parallel "$(nproc)" --target varno varno-calc
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
    "./usr/share/icons/hicolor/scalable/apps/varno.svg"
)
for entry in "${expected[@]}"; do
    grep -qxF "$entry" <<<"$contents" || fail "the package lacks $entry"
done
echo "contents: the programs with wert2.txt and wert3.txt beside them, links, desktop entry, icon"

for field in Package Version Architecture Depends; do
    value="$(dpkg-deb -f "$deb" "$field")"
    [ -n "$value" ] || fail "the control field $field is empty"
    echo "$field: $value"
done

# The unpacked package computes a project file through its link in bin/.
dpkg-deb -x "$deb" "$unpacked"
"$unpacked/usr/bin/varno-calc" --locale C tests/data/lof_cantilevers.lof >"$unpacked/out.txt" \
    || fail "the packaged varno-calc did not compute tests/data/lof_cantilevers.lof"
grep -q '^Stahl:  ' "$unpacked/out.txt" || fail "the packaged varno-calc did not design (data files not found?)"
echo "unpacked varno-calc: computed and designed a project file"

if ! $install_test; then
    exit 0
fi

[ "$(id -u)" -eq 0 ] || fail "--install needs root"
for tool in xvfb-run:xvfb xwininfo:x11-utils xauth:xauth; do
    command -v "${tool%%:*}" >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${tool##*:}" >/dev/null
done
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb" >/dev/null
echo "installed: $(dpkg-query -W -f='${Package} ${Version} ${Status}' varno)"
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
(cd "$unpacked" && env -u QT_QPA_PLATFORM xvfb-run -a bash "$unpacked/splash.sh") || status=$?
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q varno >/dev/null
echo "removed: the package is $(dpkg-query -W -f='${Status}' varno 2>/dev/null || echo 'gone')"
[ "$installed_calc" -eq 0 ] || fail "the installed varno-calc did not compute and design a project file"
[ "$status" -eq 0 ] || fail "the installed program showed no splash window within 10 s"
echo "installed varno-calc computed a project file; the installed program showed its splash"
