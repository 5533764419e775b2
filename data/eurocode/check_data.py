#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the Eurocode data files of this folder.

    python3 data/eurocode/check_data.py

Every CSV file needs a non-empty source and a known status on every row and
unique keys; every number must parse, be finite and, where a negative or zero
value makes no sense, be positive. A row marked as sourced or derived must not
call its own source a placeholder, a project default or not found. Every
strength class has all its values, the material its name says (C.. solid
timber, GL..h and GL..c glulam) and the bending strength its name carries.
A few rules between the values catch slips in transcription (kmod growing
with shorter load duration, fu above fy, the mean density above the
characteristic one, ...). Finally make_profiles.py --check recomputes the
profile table. Exit status 0 when all is well, 1 otherwise; the values marked
as not found in a citable source are listed either way.
"""

import csv
import math
import re
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
STATUSES = {"sourced", "derived", "not found in a citable source"}
NOT_FOUND = "not found in a citable source"
DURATIONS = ["permanent", "long", "medium", "short", "instantaneous"]

# Columns that must hold a number; True where zero or a negative value is allowed.
NUMBER_COLUMNS = {
    "value": True, "service_class": False, "span_ratio": False,
    "gamma_M0": False, "gamma_M1": False,
    "Wpl_y_diff_pct": True, "Avz_diff_pct": True, "Iz_diff_pct": True, "It_diff_pct": True, "Iw_diff_pct": True,
}
NUMBER_SUFFIXES = ("_Nmm2", "_kgm3", "_kgm", "_mm", "_mm2", "_mm3", "_mm4", "_mm6", "_cm2", "_cm3", "_cm4", "_cm6")

# Words with which a source says that it is none; a row saying so must be
# marked as not found, so that every output flags its value.
NO_SOURCE_WORDS = ("placeholder", "product owner", "project default", "not found")

# The values every strength class needs.
CLASS_COLUMNS = ("fm_k_Nmm2", "fv_k_Nmm2", "E0_mean_Nmm2", "E0_05_Nmm2", "G_mean_Nmm2", "rho_k_kgm3",
                 "ft_0_k_Nmm2", "fc_0_k_Nmm2", "fc_90_k_Nmm2", "rho_mean_kgm3")
# A class name and the material it stands for; the number is fm,k in N/mm².
CLASS_NAMES = ((re.compile(r"C(\d+)"), "solid"), (re.compile(r"GL(\d+)[hc]"), "glulam"))


def is_number_column(name):
    return name in NUMBER_COLUMNS or name.endswith(NUMBER_SUFFIXES)


def read(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f))


def check_rows(path, rows, errors):
    """The rows whose fields match the header; the problems of every row go to errors."""
    keys = set()
    kept = []
    for line, row in enumerate(rows, start=2):
        where = f"{path.name}:{line}"
        if None in row or None in row.values():
            errors.append(f"{where}: the number of fields is not that of the header")
            continue
        kept.append(row)
        if not (row.get("source") or "").strip():
            errors.append(f"{where}: no source")
        if row.get("status") not in STATUSES:
            errors.append(f"{where}: status '{row.get('status')}' is not one of {sorted(STATUSES)}")
        elif row["status"] != NOT_FOUND:
            said = [w for w in NO_SOURCE_WORDS if w in (row.get("source") or "").lower()]
            if said:
                errors.append(f"{where}: status '{row['status']}' but the source says '{said[0]}'")
        key = row.get("key") or row.get("designation")
        if not key:
            errors.append(f"{where}: no key")
        elif key in keys:
            errors.append(f"{where}: key {key} twice")
        keys.add(key)
        for column, text in row.items():
            if not is_number_column(column) or text == "":
                continue
            try:
                number = float(text)
            except ValueError:
                errors.append(f"{where}: {column} = '{text}' is not a number")
                continue
            if not math.isfinite(number):
                errors.append(f"{where}: {column} = {text} is not finite")
            elif number <= 0 and not NUMBER_COLUMNS.get(column, False):
                errors.append(f"{where}: {column} = {text} must be positive")
    return kept


def by_key(rows):
    return {row["key"]: row for row in rows}


def number(rows, key):
    return float(rows[key]["value"])


def check_relations(tables, errors):
    factors = by_key(tables["timber_factors.csv"])
    for material in ("solid", "glulam"):
        kdef = []
        for sc in (1, 2, 3):
            try:
                kmod = [number(factors, f"kmod.{material}.sc{sc}.{d}") for d in DURATIONS]
                mixed = number(factors, f"kmod.{material}.sc{sc}.short_instantaneous")
                kdef.append(number(factors, f"kdef.{material}.sc{sc}"))
            except KeyError as missing:
                errors.append(f"timber_factors.csv: {missing} missing")
                continue
            if kmod != sorted(kmod):
                errors.append(f"timber_factors.csv: kmod of {material} in service class {sc} "
                              "does not grow with shorter load duration")
            if abs(mixed - (kmod[3] + kmod[4]) / 2) > 1e-9:
                errors.append(f"timber_factors.csv: kmod.{material}.sc{sc}.short_instantaneous "
                              "is not the mean of short and instantaneous")
        if kdef != sorted(kdef):
            errors.append(f"timber_factors.csv: kdef of {material} does not grow with the service class")

    try:
        l1, l2 = number(factors, "kcrit.lambda_1"), number(factors, "kcrit.lambda_2")
        a, b = number(factors, "kcrit.intercept"), number(factors, "kcrit.slope")
    except KeyError as missing:
        errors.append(f"timber_factors.csv: {missing} missing")
    else:
        # kcrit of (6.34) is continuous to within the rounding of its constants.
        if abs(a - b * l1 - 1) > 0.005 or abs(a - b * l2 - 1 / l2 ** 2) > 0.005:
            errors.append("timber_factors.csv: kcrit constants do not join 1 at lambda_1 and 1/lambda^2 at lambda_2")

    for row in tables["timber_classes.csv"]:
        check_class(row, errors)

    actions = by_key(tables["actions.csv"])
    load_duration = by_key(tables["load_duration.csv"])
    variable = [f"imposed.{c}" for c in "ABCDEFGH"] + ["snow.low", "snow.high", "wind"]
    for name in variable:
        try:
            psi = [number(actions, f"psi{i}.{name}") for i in range(3)]
        except KeyError as missing:
            errors.append(f"actions.csv: {missing} missing")
        else:
            if not 0 <= psi[2] <= psi[1] <= psi[0] <= 1:
                errors.append(f"actions.csv: psi of {name} not in 1 >= psi0 >= psi1 >= psi2 >= 0")
    for name in variable + ["self_weight"]:
        row = load_duration.get(f"kled.{name}")
        if row is None:
            errors.append(f"load_duration.csv: kled.{name} missing")
        elif f"kmod.solid.sc1.{row['load_duration']}" not in factors:
            errors.append(f"load_duration.csv: kled.{name} names the unknown class {row['load_duration']}")
    for key in ("gamma.G.sup", "gamma.G.inf", "gamma.Q"):
        if key not in actions:
            errors.append(f"actions.csv: {key} missing")
    if "gamma.G.sup" in actions and "gamma.G.inf" in actions \
            and number(actions, "gamma.G.sup") <= number(actions, "gamma.G.inf"):
        errors.append("actions.csv: gamma.G.sup is not above gamma.G.inf")

    for row in tables["steel_grades.csv"]:
        if float(row["fu_Nmm2"]) <= float(row["fy_Nmm2"]):
            errors.append(f"steel_grades.csv: {row['key']} has fu <= fy")

    limits = by_key(tables["deflection_limits.csv"])
    wanted = [f"limit.timber.{m}.{q}" for m in ("span", "cantilever") for q in ("w_inst", "w_fin", "w_net_fin")]
    wanted += ["limit.steel.span.w", "limit.steel.cantilever.w"]
    for key in wanted:
        if key not in limits:
            errors.append(f"deflection_limits.csv: {key} missing")


def check_class(row, errors):
    where = f"timber_classes.csv: {row.get('key')}"
    values = {}
    for column in CLASS_COLUMNS:
        try:
            values[column] = float(row.get(column) or "")
        except ValueError:
            errors.append(f"{where}: no {column}")
    name = row.get("class") or ""
    for pattern, material in CLASS_NAMES:
        match = pattern.fullmatch(name)
        if match:
            break
    else:
        errors.append(f"{where}: class '{name}' is neither C.. nor GL..h nor GL..c")
        return
    if row.get("material") != material:
        errors.append(f"{where}: class {name} is {material}, not '{row.get('material')}'")
    if "fm_k_Nmm2" in values and values["fm_k_Nmm2"] != float(match.group(1)):
        errors.append(f"{where}: fm_k {row['fm_k_Nmm2']} is not the {match.group(1)} of the class name")
    if {"E0_05_Nmm2", "E0_mean_Nmm2"} <= values.keys() and values["E0_05_Nmm2"] >= values["E0_mean_Nmm2"]:
        errors.append(f"{where}: E0_05 >= E0_mean")
    if {"rho_k_kgm3", "rho_mean_kgm3"} <= values.keys() and values["rho_k_kgm3"] >= values["rho_mean_kgm3"]:
        errors.append(f"{where}: rho_k >= rho_mean")


def check(directory):
    """The tables of the folder and the problems found in them (without the profile table)."""
    errors = []
    tables = {}
    for path in sorted(Path(directory).glob("*.csv")):
        rows = read(path)
        if not rows:
            errors.append(f"{path.name}: no rows")
        tables[path.name] = check_rows(path, rows, errors)
    try:
        check_relations(tables, errors)
    except KeyError as missing:
        errors.append(f"file or column {missing} missing")
    return tables, errors


def main():
    tables, errors = check(HERE)

    profiles = subprocess.run([sys.executable, str(HERE / "make_profiles.py"), "--check"],
                              capture_output=True, text=True)
    if profiles.returncode != 0:
        errors.append("make_profiles.py --check failed:\n" + profiles.stderr.strip())

    for name, rows in tables.items():
        for row in rows:
            if row.get("status") == NOT_FOUND:
                print(f"not found in a citable source: {name} {row.get('key')}")
    for message in errors:
        print(message, file=sys.stderr)
    print(f"{len(tables)} files, {sum(len(r) for r in tables.values())} rows, {len(errors)} problems; "
          + profiles.stdout.strip())
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
