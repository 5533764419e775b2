#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes steel_profiles_ec.csv: the plastic section modulus Wpl,y, the
shear area Avz and the constants of lateral-torsional buckling Iz, It, Iw of
every profile of the program's profile table, computed from the rolled
geometry h, b, tw, tf, r of ../sources/steel_profiles.csv, beside the
catalogue values of profiles_catalogue.csv.

    python3 data/eurocode/make_profiles.py          # rewrite the file
    python3 data/eurocode/make_profiles.py --check  # exit 1 when anything is off

--check recomputes everything and fails when
  - the shipped steel_profiles_ec.csv differs from the recomputed text,
  - the profiles are not those of ../wert3.txt, in the same order,
  - a computed Wpl,y, Avz or Iz lies more than TOLERANCE_PCT from the
    catalogue, It or Iw more than TOLERANCE_TORSION_PCT.

Geometry of a rolled I section with four root fillets of radius r
(web height between the flanges hw = h - 2 tf):

  A     = 2 b tf + hw tw + (4 - pi) r^2
  Wpl,y = tw h^2 / 4 + (b - tw) tf (h - tf)
          + (4 - pi) / 2 r^2 hw + (3 pi - 10) / 3 r^3
  Avz   = A - 2 b tf + (tw + 2 r) tf

Wpl,y is twice the first moment of the half section about the strong axis.
The web is taken over the full height h, the flanges outside the web as two
strips (b - tw) x tf at lever arm (h - tf) / 2. Each fillet is a square r x r
less a quarter circle: area (1 - pi/4) r^2, its centroid r (10 - 3 pi) /
(3 (4 - pi)) from the inner face of the flange, which gives the two fillet
terms. Iy (cm4) and the mass per metre (kg/m) are copied from the
geometry file, which names their sources. Avz is the shear area for a load parallel to the web of a rolled I
section; the lower bound eta hw tw is left to the program, which knows eta.

Weak axis, torsion and warping:

  Iz = (2 tf b^3 + hw tw^3) / 12
       + 4 [Af (tw/2)^2 + tw Af e + (1 - 5 pi / 16) r^4]
  It = 2/3 b tf^3 + hw tw^3 / 3 + 2 a1 D1^4 - 0.420 tf^4
       a1 = -0.042 + 0.2204 tw/tf + 0.1355 r/tf - 0.0865 r tw/tf^2 - 0.0725 tw^2/tf^2
       D1 = ((tf + r)^2 + (r + tw/4) tw) / (2 r + tf)
  Iw = tf b^3 (h - tf)^2 / 24

Iz: flanges and web as rectangles, and the four fillets, each of area
Af = (1 - pi/4) r^2 with its centroid e from the face of the web as above;
(1 - 5 pi/16) r^4 is the second moment of one fillet about that face (the
square r x r, r^4/3, less the quarter circle about the same line). It: the
rolled-section formula with the fillet term a1 D1^4 of the steel makers'
catalogues (constants as in kuisidu/metku metku/sections/steel/ISection.py,
commit 040bbcf70e52b75cafb325da74e8c5463abb1ab2, which names the catalogue
and SCI P385 as its source). Iw: the two flanges as thin plates b x tf at the
distance h - tf, without the web and the fillets. Both It and Iw are
approximations; their tolerance against the catalogue is wider.
"""

import csv
import io
import math
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
GEOMETRY = HERE.parent / "sources" / "steel_profiles.csv"
CATALOGUE = HERE / "profiles_catalogue.csv"
PROGRAM_TABLE = HERE.parent / "wert3.txt"
OUTPUT = HERE / "steel_profiles_ec.csv"

TOLERANCE_PCT = 1.0
TOLERANCE_TORSION_PCT = 5.0

GEOMETRY_SOURCE = ("geometry from data/sources/steel_profiles.csv "
                   "(see data/sources/SOURCES.md)")
HEADER = ["key", "designation", "series", "h_mm", "b_mm", "tw_mm", "tf_mm",
          "r_mm", "Wpl_y_cm3", "Avz_cm2", "Wpl_y_cat_cm3", "Wpl_y_diff_pct",
          "Avz_cat_cm2", "Avz_diff_pct", "A_cm2", "Iy_cm4", "mass_kgm",
          "Iz_cm4", "It_cm4", "Iw_cm6", "Iz_cat_cm4", "Iz_diff_pct",
          "It_cat_cm4", "It_diff_pct", "Iw_cat_cm6", "Iw_diff_pct",
          "status", "source"]

# Columns compared with the catalogue and the largest difference allowed (%).
COMPARED = {"Wpl_y_diff_pct": TOLERANCE_PCT, "Avz_diff_pct": TOLERANCE_PCT, "Iz_diff_pct": TOLERANCE_PCT,
            "It_diff_pct": TOLERANCE_TORSION_PCT, "Iw_diff_pct": TOLERANCE_TORSION_PCT}


def plastic_modulus_mm3(h, b, tw, tf, r):
    hw = h - 2.0 * tf
    return (tw * h * h / 4.0 + (b - tw) * tf * (h - tf)
            + (4.0 - math.pi) / 2.0 * r * r * hw
            + (3.0 * math.pi - 10.0) / 3.0 * r ** 3)


def area_mm2(h, b, tw, tf, r):
    return 2.0 * b * tf + (h - 2.0 * tf) * tw + (4.0 - math.pi) * r * r


def shear_area_mm2(h, b, tw, tf, r):
    return area_mm2(h, b, tw, tf, r) - 2.0 * b * tf + (tw + 2.0 * r) * tf


def fillet_area_mm2(r):
    return (1.0 - math.pi / 4.0) * r * r


def fillet_centroid_mm(r):
    """Distance of a fillet's centroid from the face of the web (or flange)."""
    return r * (10.0 - 3.0 * math.pi) / (3.0 * (4.0 - math.pi))


def weak_axis_inertia_mm4(h, b, tw, tf, r):
    af = fillet_area_mm2(r)
    fillets = 4.0 * (af * (tw / 2.0) ** 2 + tw * af * fillet_centroid_mm(r)
                     + (1.0 - 5.0 * math.pi / 16.0) * r ** 4)
    return (2.0 * tf * b ** 3 + (h - 2.0 * tf) * tw ** 3) / 12.0 + fillets


def torsion_constant_mm4(h, b, tw, tf, r):
    a1 = (-0.042 + 0.2204 * tw / tf + 0.1355 * r / tf - 0.0865 * r * tw / tf ** 2
          - 0.0725 * tw ** 2 / tf ** 2)
    d1 = ((tf + r) ** 2 + (r + 0.25 * tw) * tw) / (2.0 * r + tf)
    return (2.0 / 3.0 * b * tf ** 3 + (h - 2.0 * tf) * tw ** 3 / 3.0
            + 2.0 * a1 * d1 ** 4 - 0.420 * tf ** 4)


def warping_constant_mm6(h, b, tw, tf, r):
    return tf * b ** 3 * (h - tf) ** 2 / 24.0


def percent_difference(value, reference):
    return 100.0 * (value - reference) / reference


def read_rows(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f))


def profile_rows():
    catalogue = {row["designation"]: row for row in read_rows(CATALOGUE)}
    rows = []
    for g in read_rows(GEOMETRY):
        name = g["designation"]
        h, b, tw, tf, r = (float(g[k]) for k in ("h_mm", "b_mm", "tw_mm", "tf_mm", "r_mm"))
        wpl = plastic_modulus_mm3(h, b, tw, tf, r) / 1000.0
        avz = shear_area_mm2(h, b, tw, tf, r) / 100.0
        cat = catalogue[name]
        wpl_cat = float(cat["Wpl_y_cat_mm3"]) / 1000.0
        avz_cat = float(cat["Avz_cat_mm2"]) / 100.0
        iz = weak_axis_inertia_mm4(h, b, tw, tf, r) / 1e4
        it = torsion_constant_mm4(h, b, tw, tf, r) / 1e4
        iw = warping_constant_mm6(h, b, tw, tf, r) / 1e6
        iz_cat = float(cat["Iz_cat_mm4"]) / 1e4
        it_cat = float(cat["It_cat_mm4"]) / 1e4
        iw_cat = float(cat["Iw_cat_mm6"]) / 1e6
        rows.append({
            "key": "profile." + name.replace(" ", ""),
            "designation": name,
            "series": g["series"],
            "h_mm": g["h_mm"], "b_mm": g["b_mm"], "tw_mm": g["tw_mm"],
            "tf_mm": g["tf_mm"], "r_mm": g["r_mm"],
            "Wpl_y_cm3": f"{wpl:.2f}",
            "Avz_cm2": f"{avz:.3f}",
            "Wpl_y_cat_cm3": f"{wpl_cat:.2f}",
            "Wpl_y_diff_pct": f"{percent_difference(wpl, wpl_cat):.3f}",
            "Avz_cat_cm2": f"{avz_cat:.2f}",
            "Avz_diff_pct": f"{percent_difference(avz, avz_cat):.3f}",
            "A_cm2": f"{area_mm2(h, b, tw, tf, r) / 100.0:.3f}",
            "Iy_cm4": g["Iy_cm4"],
            "mass_kgm": g["mass_kg_per_m"],
            "Iz_cm4": f"{iz:.3f}",
            "It_cm4": f"{it:.4f}",
            "Iw_cm6": f"{iw:.1f}",
            "Iz_cat_cm4": f"{iz_cat:.3f}",
            "Iz_diff_pct": f"{percent_difference(iz, iz_cat):.3f}",
            "It_cat_cm4": f"{it_cat:.4f}",
            "It_diff_pct": f"{percent_difference(it, it_cat):.3f}",
            "Iw_cat_cm6": f"{iw_cat:.1f}",
            "Iw_diff_pct": f"{percent_difference(iw, iw_cat):.3f}",
            "status": "derived",
            "source": (GEOMETRY_SOURCE + "; Wpl_y, Avz, A, Iz, It and Iw computed by make_profiles.py "
                       "(formulas in its header); Iy and the mass per metre copied from the geometry file; "
                       "catalogue columns: " + cat["source"]),
        })
    return rows


def csv_text(rows):
    out = io.StringIO()
    writer = csv.DictWriter(out, fieldnames=HEADER, lineterminator="\n")
    writer.writeheader()
    writer.writerows(rows)
    return out.getvalue()


def program_sizes():
    """Nominal sizes of line 4 of the program's profile table, in file order."""
    line = PROGRAM_TABLE.read_text(encoding="latin-1").splitlines()[3]
    return [line[i:i + 6].strip() for i in range(0, len(line.rstrip()), 6)]


def problems(rows):
    found = []
    sizes = [row["designation"].split()[1] for row in rows]
    if sizes != program_sizes():
        found.append("the profiles differ from line 4 of wert3.txt")
    for row in rows:
        for column, tolerance in COMPARED.items():
            if abs(float(row[column])) > tolerance:
                found.append(f"{row['designation']}: {column} = {row[column]} %")
    return found


def main(argv):
    rows = profile_rows()
    text = csv_text(rows)
    worst = {column: max(rows, key=lambda row: abs(float(row[column]))) for column in COMPARED}
    summary = (f"{len(rows)} profiles, largest differences to the catalogue: "
               + ", ".join(f"{column[:-9]} {row[column]} % ({row['designation']})"
                           for column, row in worst.items()))
    if "--check" in argv:
        found = problems(rows)
        if not OUTPUT.exists() or OUTPUT.read_text(encoding="utf-8") != text:
            found.append(f"{OUTPUT.name} differs from the recomputed table; run make_profiles.py")
        for message in found:
            print(message, file=sys.stderr)
        print(summary)
        return 1 if found else 0
    OUTPUT.write_text(text, encoding="utf-8")
    print(summary)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
