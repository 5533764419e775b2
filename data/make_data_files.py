#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes wert2.txt (material values) and wert3.txt (steel profiles) from the
tables in sources/.

    python3 data/make_data_files.py          # rewrite both files
    python3 data/make_data_files.py --check  # exit 1 when a shipped file differs

Layouts (character positions count from 1):

wert2.txt, 12 lines, one property per line, values in N/mm2.
  Characters 1-84: fields 1-14, six characters each, the timber grades in list
  order. The value stands right-aligned in the first five characters; the
  sixth stays blank because the program reads only five.
  Characters 85-102 (lines 1-8 only): fields 15-17, six characters each, the
  steel grades in list order, right-aligned.
  E II and SigBzul (timber lines 1 and 4) and E and Sigzul (steel lines 1 and
  3) are read with the user's locale, so they are written as whole numbers:
  "10.5" would mean 105 or nothing under a German locale. All other values are
  read with "." as decimal point and are written with as few decimals as the
  table value needs.
  Steel uses the allowable stresses of load case H.

wert3.txt, 4 lines of 65 columns of six characters: IPE 80-550 (17 columns,
characters 1-102), HE 100-1000 A (24 columns, from 103), HE 100-1000 B
(24 columns, from 247).
  Line 1: shear area in mm2, the plain web area (h - 2 tf) tw, as allowable
          stress design took it for tau = V / A_web; rounded half up to whole
          mm2 (264.5 -> 265).
  Line 2: Iy in cm4 and
  Line 3: Wy in cm3, the catalogue value with at most one decimal (rounded
          half up to one decimal; every value fits six characters that way,
          the largest being Iy = 644700 of HE 1000 B, which fills its field).
  Lines 1-3 stand right-aligned in their fields.
  Line 4: the nominal size (shown after the series prefix, "HE-A  200"),
          left-aligned so that the label reads without a gap.

Both files are plain ASCII with LF line ends; the program's readers also
accept CR LF.
"""

import csv
import sys
from decimal import Decimal, ROUND_HALF_UP
from pathlib import Path

HERE = Path(__file__).resolve().parent
SOURCES = HERE / "sources"

TIMBER_FIELD = 6
TIMBER_WIDTH = 5
STEEL_FIELD = 6
PROFILE_FIELD = 6

# Timber rows in file order: E II, E L, G, SigBzul, SigZIIzu, SigZLzu,
# SigDIIzu, SigDL)*, SigDLzu, TauAzul, TauQzul, TauTzul.
TIMBER_COLUMNS = [
    "E_par_Nmm2", "E_perp_Nmm2", "G_Nmm2", "sigB_zul_Nmm2", "sigZ_par_zul_Nmm2",
    "sigZ_perp_zul_Nmm2", "sigD_par_zul_Nmm2", "sigD_perp_star_Nmm2",
    "sigD_perp_zul_Nmm2", "tauA_zul_Nmm2", "tauQ_zul_Nmm2", "tauT_zul_Nmm2",
]
TIMBER_WHOLE_ROWS = {0, 3}          # E II, SigBzul: locale conversion

# Steel rows in file order: E, G, Sigzul, BetaP, BetaFl, BetaZu, BetaZo, Tauzul.
STEEL_COLUMNS = [
    "E_Nmm2", "G_Nmm2", "sig_zul_H_Nmm2", "betaP_Nmm2", "betaFl_Nmm2",
    "betaZ_lower_Nmm2", "betaZ_upper_Nmm2", "tau_zul_H_Nmm2",
]
STEEL_WHOLE_ROWS = {0, 2}           # E, Sigzul: locale conversion

SERIES = [("IPE", 17), ("HEA", 24), ("HEB", 24)]


def read_rows(name):
    with open(SOURCES / name, newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f))


def plain_number(text, whole, width, what):
    """The shortest "." text of a table value; whole numbers where required."""
    value = Decimal(text)
    if whole:
        if value != value.to_integral_value():
            raise SystemExit(f"{what}: {text} must be a whole number")
        out = str(int(value))
    else:
        out = format(value.normalize(), "f")
    if len(out) > width:
        raise SystemExit(f"{what}: {out} does not fit {width} characters")
    return out


def material_lines():
    timber = sorted(read_rows("timber_grades.csv"), key=lambda r: int(r["position"]))
    steel = sorted(read_rows("steel_grades.csv"), key=lambda r: int(r["position"]))
    if len(timber) != 14 or len(steel) != 3:
        raise SystemExit("expected 14 timber and 3 steel grades")
    lines = []
    for k, column in enumerate(TIMBER_COLUMNS):
        line = ""
        for row in timber:
            text = plain_number(row[column], k in TIMBER_WHOLE_ROWS, TIMBER_WIDTH,
                                f"{row['grade_label']} {column}")
            line += text.rjust(TIMBER_WIDTH) + " " * (TIMBER_FIELD - TIMBER_WIDTH)
        if k < len(STEEL_COLUMNS):
            steel_column = STEEL_COLUMNS[k]
            for row in steel:
                text = plain_number(row[steel_column], k in STEEL_WHOLE_ROWS, STEEL_FIELD,
                                    f"{row['program_label']} {steel_column}")
                line += text.rjust(STEEL_FIELD)
        lines.append(line)
    return lines


def one_decimal(text, what):
    value = Decimal(text).quantize(Decimal("0.1"), rounding=ROUND_HALF_UP).normalize()
    out = format(value, "f")
    if len(out) > PROFILE_FIELD:
        out = str(int(Decimal(text).quantize(Decimal("1"), rounding=ROUND_HALF_UP)))
    if len(out) > PROFILE_FIELD:
        raise SystemExit(f"{what}: {text} does not fit {PROFILE_FIELD} characters")
    return out


def profile_lines():
    rows = read_rows("steel_profiles.csv")
    lines = ["", "", "", ""]
    for series, count in SERIES:
        block = [r for r in rows if r["series"] == series]
        if len(block) != count:
            raise SystemExit(f"{series}: {len(block)} rows, expected {count}")
        for r in block:
            shear = Decimal(r["Aweb_hw_tw_mm2"]).quantize(Decimal("1"), rounding=ROUND_HALF_UP)
            fields = [
                str(int(shear)).rjust(PROFILE_FIELD),
                one_decimal(r["Iy_cm4"], r["designation"] + " Iy").rjust(PROFILE_FIELD),
                one_decimal(r["Wel_y_cm3"], r["designation"] + " Wy").rjust(PROFILE_FIELD),
                r["nominal_size"].ljust(PROFILE_FIELD),
            ]
            for k, field in enumerate(fields):
                if len(field) != PROFILE_FIELD:
                    raise SystemExit(f"{r['designation']}: field {field!r} too wide")
                lines[k] += field
    return lines


def file_text(lines):
    return "".join(line + "\n" for line in lines)


def main():
    check = "--check" in sys.argv[1:]
    outputs = {"wert2.txt": file_text(material_lines()), "wert3.txt": file_text(profile_lines())}
    stale = []
    for name, text in outputs.items():
        path = HERE / name
        if check:
            if not path.exists() or path.read_bytes() != text.encode("ascii"):
                stale.append(name)
        else:
            path.write_bytes(text.encode("ascii"))
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
