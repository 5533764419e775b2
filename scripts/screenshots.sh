#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Makes the pictures of the user guide, docs/screenshots/*.png:
#
#   scripts/screenshots.sh [BUILD_DIR]     (default: build)
#
# Starts the real program on a virtual X server (Xvfb, 1280x1024, 96 dpi,
# no window manager, so the pictures show the windows without a frame),
# with the Fusion style, the fonts DejaVu Sans and Liberation only and the
# German locale, and drives it with the keyboard through the example of the
# guide (docs/beispiel.lof holds the same values): a three-span floor beam
# with a cantilever. Each window is taken once its content stands still
# (two takes in a row alike); the PNG files carry no time stamps, so running
# the script again changes no picture while the program stays the same.
# The printed report is the page that varno-calc --pdf writes for
# docs/beispiel.lof, the Eurocode report the pages of --eurocode --pdf.
#
# When a step does not reach its window, the script stops with the name of
# that window and writes no further picture. The key sequences are in the
# steps below; a window whose keyboard order changed needs its step changed.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out=docs/screenshots

fail() {
    echo "screenshots.sh: $*" >&2
    exit 1
}

# Tools (Debian package after the colon), installed when run as root.
tools=(Xvfb:xvfb xdotool:xdotool import:imagemagick convert:imagemagick xwininfo:x11-utils
       pdftoppm:poppler-utils fc-match:fontconfig)
fonts=(/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf:fonts-dejavu-core
       /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf:fonts-liberation)
missing=()
for tool in "${tools[@]}"; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool##*:}")
done
for font in "${fonts[@]}"; do
    [ -f "${font%%:*}" ] || missing+=("${font##*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    [ "$(id -u)" -eq 0 ] || fail "needs the Debian packages: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null \
        || fail "could not install ${missing[*]}"
fi
locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' \
    || fail "needs the German locale de_DE.UTF-8 (scripts/install-deps.sh generates it)"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target varno varno-calc >/dev/null
program="$build/bin/varno"
calc="$build/bin/varno-calc"

work="$(mktemp -d)"
xvfb_pid=""
varno_pid=""
cleanup() {
    [ -n "$varno_pid" ] && kill "$varno_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A closed world: own home, own runtime folder, only the two font families.
mkdir -p "$work/home" "$work/run" "$work/fontcache" "$work/pictures"
chmod 700 "$work/run"
cat >"$work/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <dir>/usr/share/fonts/truetype/liberation</dir>
  <cachedir>$work/fontcache</cachedir>
  <alias><family>sans-serif</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias><family>Sans Serif</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias><family>Sans</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias><family>serif</family><prefer><family>DejaVu Serif</family></prefer></alias>
  <alias><family>monospace</family><prefer><family>DejaVu Sans Mono</family></prefer></alias>
  <match target="font">
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintslight</const></edit>
    <edit name="rgba" mode="assign"><const>none</const></edit>
  </match>
</fontconfig>
EOF
export FONTCONFIG_FILE="$work/fonts.conf"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 LANGUAGE=de
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=96
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCREEN_SCALE_FACTORS SESSION_MANAGER

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
export DISPLAY=":$(head -n 1 "$work/display")"
# The pointer rests off every window, so nothing shows a hover.
xdotool mousemove 1279 1023

"$program" -style Fusion >"$work/varno.log" 2>&1 &
varno_pid=$!

# The window with exactly this caption, once it is shown.
window() {
    local id=""
    for _ in $(seq 100); do
        id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1)" || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$varno_pid" 2>/dev/null || break
        sleep 0.1
    done
    return 1
}

reach() {
    local id
    id="$(window "$1")" || fail "could not reach the window \"$1\" ($2); no further picture written"
    xdotool windowfocus --sync "$id"
    echo "$id"
}

gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the window \"$1\" did not close ($2)"
}

keys() {
    xdotool key --delay 40 "$@"
    sleep 0.3
}

# Replaces the text of the field that has the focus.
enter() {
    xdotool key ctrl+a
    xdotool type --delay 40 "$1"
    sleep 0.2
}

# A main-window menu by its position in the menu bar (Datei = 0), opened from
# the keyboard: Alt puts the focus into the menu bar.
# The main window's title names the project once it has a file or changes.
main_title='(.+ – )?Durchlaufträger'

menu() {
    local id
    id="$(reach "$main_title" "main window")"
    keys alt
    for _ in $(seq "$1"); do keys Right; done
    keys Return
}

# Takes a window once two takes in a row are alike, as PNG without time stamps.
take() {
    local name="$1" id="$2" previous="" current
    for _ in $(seq 20); do
        sleep 0.3
        current="$(import -window "$id" rgb:- 2>/dev/null | md5sum)"
        [ "$current" = "$previous" ] && break
        previous="$current"
    done
    [ "$current" = "$previous" ] || fail "the window for $name.png did not settle"
    import -window "$id" "$work/pictures/raw.png"
    convert "$work/pictures/raw.png" -strip -define png:exclude-chunks=date,time \
        "$work/pictures/$name.png"
    echo "$name.png"
}

# Whether two pictures show the same pixels.
same_pixels() {
    [ "$(convert "$1" rgb:- | md5sum)" = "$(convert "$2" rgb:- | md5sum)" ]
}

# 1. The splash gives way to the main window on a key.
splash="$(reach "Varno" "splash window")"
keys space
main="$(reach "$main_title" "main window after the splash")"
gone "Varno" "splash window"
take hauptfenster "$main"

# 2. System, Dreifeldträger; a decimal comma shows the input error first.
menu 3
keys Down Down Return
dims="$(reach "Systemabmessungen" "System, Dreifeldträger")"
enter "4,"
box="$(reach "Eingabefehler" "a decimal comma in L1")"
take eingabefehler "$box"
keys Return
gone "Eingabefehler" "its OK"
dims="$(reach "Systemabmessungen" "back from the input error")"
for value in 4.50 5.00 4.00 0.00 1.50; do
    enter "$value"
    keys Tab
done
take systemabmessungen "$dims"
keys Return
gone "Systemabmessungen" "its OK"

# 3. Belastung: g and q the same in every region, two point loads.
menu 4
loads="$(reach "Belastung" "Belastung")"
keys Tab
enter 3.50
keys shift+Tab Right Tab
enter 2.00
keys shift+Tab
take belastung-gleichlasten "$loads"
keys Right Right Right
# From the tab strip the tab key walks the point loads region by region,
# force then distance; the left cantilever's slots are hidden.
for _ in $(seq 15); do keys Tab; done     # Feld 2, F1
enter 10
keys Tab
enter 2.50
for _ in $(seq 27); do keys Tab; done     # Kragarm re, F5
enter 5
keys Tab
enter 1.50
for _ in $(seq 5); do keys Tab; done      # OK
take belastung-einzellasten "$loads"
keys Return
gone "Belastung" "its OK"

# 4. Material, Holz and Stahl.
menu 5
keys Return
material="$(reach "Materialauswahl" "Material, Holz")"
take material-holz "$material"
keys Return
gone "Materialauswahl" "its OK"
menu 5
keys Down Return
material="$(reach "Materialauswahl" "Material, Stahl")"
take material-stahl "$material"
keys Return
gone "Materialauswahl" "its OK"

# 5. Projektinfo.
menu 7
info="$(reach "Projektinformationen" "Projektinfo")"
enter "Ingenieurbüro Muster"
keys Tab
enter "Neubau Einfamilienhaus"
keys Tab
enter "Pos. 3"
keys Tab
enter "Deckenträger über EG"
keys Tab
enter "M. Muster"
keys Tab
take projektinfo "$info"
keys Return
gone "Projektinformationen" "its OK"

# 6. Ergebnisse with the system picture, then the moment and shear diagrams.
menu 6
results="$(reach "Ergebnisse" "Ergebnisse")"
keys Tab Tab                              # from the width field to "System"
take ergebnisse-system "$results"
keys Tab space                            # "Moment"
take ergebnisse-moment "$results"
same_pixels "$work/pictures/ergebnisse-system.png" "$work/pictures/ergebnisse-moment.png" \
    && fail "could not reach the button \"Moment\" in the window \"Ergebnisse\""
keys Tab space                            # "Querkraft"
take ergebnisse-querkraft "$results"
same_pixels "$work/pictures/ergebnisse-moment.png" "$work/pictures/ergebnisse-querkraft.png" \
    && fail "could not reach the button \"Querkraft\" in the window \"Ergebnisse\""

# 7. Eurocode: the window as it opens (timber height and profile sized),
# then a timber height of 20 cm typed and the shear envelope chosen, then
# the table of every field and support.
menu 8
eurocode="$(reach "Nachweis nach Eurocode" "Eurocode")"
take eurocode "$eurocode"
keys Tab Tab Tab                          # Festigkeitsklasse -> Höhe h
enter 20
keys alt+udiaeresis Down                  # Hüllkurve: Querkraft V
take eurocode-hoehe "$eurocode"
same_pixels "$work/pictures/eurocode.png" "$work/pictures/eurocode-hoehe.png" \
    && fail "could not reach the field \"Höhe h\" in the window \"Nachweis nach Eurocode\""
keys alt+a                                # the tab "Ausnutzung je Stelle"
take eurocode-stellen "$eurocode"
same_pixels "$work/pictures/eurocode-hoehe.png" "$work/pictures/eurocode-stellen.png" \
    && fail "could not reach the tab \"Ausnutzung je Stelle\" in the window \"Nachweis nach Eurocode\""
keys Escape
gone "Nachweis nach Eurocode" "its Escape"

# 8. ?, Info.
menu 9
keys Down Return
about="$(reach "Info zu Varno" "?, Info")"
take info "$about"
keys Return
gone "Info zu Varno" "its OK"

# 9. Datei, Drucken asks first.
reach "$main_title" "main window" >/dev/null
keys ctrl+p
question="$(window "Drucken")" || fail "could not reach the window \"Drucken\" (Datei, Drucken)"
take drucken-frage "$question"
keys Escape
gone "Drucken" "its Abbrechen"

# 10. Datei, Beenden offers to save the changes first ("Verwerfen"), then
# asks, and OK ends the program.
menu 0
keys Up Return
reach "Abfrage" "the offer to save before Beenden" >/dev/null
keys alt+v
question="$(reach "Abfrage" "Datei, Beenden")"
take beenden-frage "$question"
keys Return
for _ in $(seq 50); do
    kill -0 "$varno_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$varno_pid" 2>/dev/null && fail "the program did not end after Beenden, OK"
wait "$varno_pid" || fail "the program ended with status $? after Beenden, OK"
varno_pid=""

# 11. The printed report of the same example, as varno-calc writes it.
"$calc" --pdf "$work/bericht.pdf" --firma "Ingenieurbüro Muster" --projekt "Neubau Einfamilienhaus" \
    --position "Pos. 3" --system "Dreifeldträger" docs/beispiel.lof >/dev/null \
    || fail "varno-calc did not write the report of docs/beispiel.lof"
pdftoppm -png -r 96 -singlefile "$work/bericht.pdf" "$work/pictures/bericht-raw"
convert "$work/pictures/bericht-raw.png" -strip -define png:exclude-chunks=date,time "$work/pictures/bericht.png"
echo "bericht.png"

# 12. The first two pages of the Eurocode report of the same example, as
# varno-calc --eurocode --pdf writes it (the window's "Nachweis drucken…"
# writes the same pages).
# The report names its date: a fixed one, so the pictures do not change with the day.
SOURCE_DATE_EPOCH=1767225600 \
"$calc" --eurocode --pdf "$work/nachweis.pdf" --firma "Ingenieurbüro Muster" --projekt "Neubau Einfamilienhaus" \
    --position "Pos. 3" --system "Dreifeldträger" docs/beispiel.lof >/dev/null \
    || fail "varno-calc did not write the Eurocode report of docs/beispiel.lof"
for page in 1 2; do
    pdftoppm -png -r 72 -f "$page" -l "$page" -singlefile "$work/nachweis.pdf" "$work/pictures/nachweis-raw"
    convert "$work/pictures/nachweis-raw.png" -strip -define png:exclude-chunks=date,time \
        "$work/pictures/nachweis-seite$page.png"
    echo "nachweis-seite$page.png"
done
rm -f "$work/pictures/nachweis-raw.png"

# Only now, with every window reached, the pictures replace the old ones.
mkdir -p "$out"
rm -f "$work/pictures/raw.png" "$work/pictures/bericht-raw.png"
changed=0
for picture in "$work"/pictures/*.png; do
    target="$out/$(basename "$picture")"
    if [ -f "$target" ] && cmp -s "$picture" "$target"; then
        continue
    fi
    cp "$picture" "$target"
    changed=$((changed + 1))
done
echo "screenshots: $(ls "$work"/pictures/*.png | wc -l) pictures in $out, $changed of them changed"
