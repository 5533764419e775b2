#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Verification of Varno's analysis against closed forms and CalculiX.

    verify.py cases       checks the closed-form cases of cases.toml
    verify.py crosscheck  compares N random beams with CalculiX
    verify.py document    writes docs/verification.md from both (--check:
                          compares the document with what it would write now)

Varno's side is `varno-calc --json` (--calc, default build/bin/varno-calc).
Exit status: 0 all values inside their tolerance, 1 a value outside it,
2 bad input (case file, missing program).
"""

import argparse
import concurrent.futures
import json
import math
import os
import re
import subprocess
import sys
import tempfile
import time
import tomllib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import beams  # noqa: E402
from formula import FormulaError, evaluate  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CASES = os.path.join(HERE, "cases.toml")
DOCUMENT = os.path.join(ROOT, "docs", "verification.md")

# The program computes in double precision; a closed form may differ from it
# only by rounding. Deviation = |Varno - closed form| / max(|closed form|, 1).
CLOSED_TOLERANCE = 1e-9
# CalculiX prints 7 significant digits; the moments follow from the reactions
# times lengths of up to about 17 m. Measured on the closed-form cases first
# (see the document); deviation relative to the beam's largest moment or force.
FE_TOLERANCE = 5e-5
# Deflections: EI*w of CalculiX's nodes (7 significant digits) against the
# exact lines, relative to the beam's largest |EI*w|. The elements keep a
# little shear deformation: at the tip of a cantilever of 0.5 m, the
# shortest, (E/G)*(h/l)^2 = 4e-4 of its bending, of which a tip load turns
# about a third into deflection. A stiffer shear modulus does not help: the
# reactions then lose digits.
FE_DEFLECTION_TOLERANCE = 2e-4
DEFLECTION_GROUP = "deflections (exact EI·w)"
DEFAULT_COUNT = 500
DEFAULT_SEED = 14
GROUPS = [
    ("support moments", ["MA", "MB", "MC", "MD"], "Mmax"),
    ("shears either side of the supports", [s + side for s in "ABCD" for side in ("li", "re")], "Vmax"),
    ("support reactions", ["A", "B", "C", "D"], "Vmax"),
    ("span maxima", ["MF1", "MF2", "MF3"], "Mmax"),
]
CASE_KEYS = {"name", "source", "lengths", "g", "q", "s", "w", "points", "vars", "let", "check", "deflection"}


class BadInput(Exception):
    """Input that stops the command; the message names the row."""


# ---------------------------------------------------------------- cases

class Case:
    def __init__(self, number, row):
        self.label = f"case {number} ({row.get('name', 'without name')})"
        unknown = set(row) - CASE_KEYS
        if unknown:
            raise BadInput(f"{self.label}: unknown entry {', '.join(sorted(unknown))}")
        for key in ("name", "source", "lengths", "check"):
            if key not in row:
                raise BadInput(f"{self.label}: '{key}' is missing")
        self.name = row["name"]
        self.source = row["source"]
        try:
            self.beam = beams.Beam(row["lengths"], {k: row[k] for k in beams.KINDS if k in row},
                                   row.get("points", []))
        except (beams.InputError, TypeError) as error:
            raise BadInput(f"{self.label}: {error}") from None
        names = {}
        self.symbols = []
        for name, value in row.get("vars", {}).items():
            if isinstance(value, bool) or not isinstance(value, (int, float)):
                raise BadInput(f"{self.label}: variable {name} = {value!r} is not a number")
            names[name] = float(value)
            self.symbols.append((name, float(value)))
        for name, text in row.get("let", {}).items():
            names[name] = self._evaluate(text, names, f"let {name}")
        self.checks = []
        checkable = set(beams.LINE_QUANTITIES) | set(beams.ENVELOPE_QUANTITIES) | set(beams.DESIGN_QUANTITIES)
        for quantity, text in row["check"].items():
            known = quantity in beams.QUANTITIES and not quantity.startswith("EI")
            if not known and quantity not in checkable:
                raise BadInput(f"{self.label}: check of unknown quantity '{quantity}'")
            self.checks.append((quantity, text, self._evaluate(text, names, quantity)))
        self.deflections = []
        for quantity, text in row.get("deflection", {}).items():
            if not quantity.startswith("EI") or quantity not in beams.QUANTITIES:
                raise BadInput(f"{self.label}: deflection of unknown term '{quantity}'")
            self.deflections.append((quantity, text, self._evaluate(text, names, quantity)))

    def _evaluate(self, text, names, what):
        try:
            return evaluate(text, names)
        except FormulaError as error:
            raise BadInput(f"{self.label}, {what}: {error}") from None


def load_cases(path=CASES):
    try:
        with open(path, "rb") as f:
            rows = tomllib.load(f).get("case", [])
    except tomllib.TOMLDecodeError as error:
        raise BadInput(f"{os.path.basename(path)}: {error}") from None
    return [Case(i + 1, row) for i, row in enumerate(rows)]


# ---------------------------------------------------------------- the two programs

def run_varno(calc, paths):
    """Varno's results of each project file, read by key from its JSON."""
    if not os.access(calc, os.X_OK):
        raise BadInput(f"varno-calc not found at {calc}: build it first (scripts/build.sh) or name it with --calc")
    results = {}
    for start in range(0, len(paths), 200):
        chunk = paths[start:start + 200]
        done = subprocess.run([calc, "--json", "--locale", "C", *chunk], capture_output=True, text=True)
        for obj in _json_objects(done.stdout):
            if "results" not in obj:
                raise BadInput(f"{obj.get('file')}: varno-calc computed nothing: {obj.get('error', done.stderr)}")
            values = dict(obj["results"])
            # The exact lines and the envelope under their dotted names.
            for region, extremes in obj.get("beamLines", {}).items():
                for key, value in extremes.items():
                    values[f"{region}.{key}"] = value
            for quantity in ("GoverningMoment", "GoverningShear"):
                if quantity in obj.get("design", {}):
                    values[f"design.{quantity}"] = obj["design"][quantity]
            for quantity, value in obj.get("envelope", {}).items():
                if isinstance(value, dict):
                    for side, v in value.items():
                        values[f"envelope.{quantity}.{side}"] = v
            results[obj["file"]] = values
    missing = [p for p in paths if p not in results]
    if missing:
        raise BadInput(f"varno-calc gave no result for {missing[0]}: {done.stderr.strip()}")
    return results


def _json_objects(text):
    """The JSON objects of varno-calc's output, one after the other however
    they are laid out."""
    decoder = json.JSONDecoder()
    at = 0
    while True:
        while at < len(text) and text[at].isspace():
            at += 1
        if at == len(text):
            return
        obj, at = decoder.raw_decode(text, at)
        yield obj


def write_lofs(folder, named_beams):
    paths = []
    for name, beam in named_beams:
        path = os.path.join(folder, name + ".lof")
        with open(path, "w", newline="") as f:
            f.write(beam.lof_text())
        paths.append(path)
    return paths


def extreme_places(beam, varno):
    """Where Varno's exact lines have their deflection extremes, on the axis
    of the CalculiX deck: (region, key, x)."""
    out = []
    for region, (x0, _) in beam.regions().items():
        for key in ("EIwMax", "EIwMin"):
            if f"{region}.x{key}" in varno:
                out.append((region, key, x0 + varno[f"{region}.x{key}"]))
    return out


def run_fe(ccx, folder, named_beams, varno=None):
    """Per beam: the internal forces from CalculiX's reactions, its
    deflection line (with nodes at the places of Varno's deflection extremes
    when `varno` gives its results per beam) and its run time."""
    def one(item):
        i, (name, beam) = item
        places = [x for _, _, x in extreme_places(beam, varno[i])] if varno else []
        start = time.perf_counter()
        reactions, line = beams.run_ccx_full(ccx, beam, folder, name, places)
        return beams.internal_forces(beam, reactions), time.perf_counter() - start, line
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        return list(pool.map(one, enumerate(named_beams)))


def deflection_deviation(beam, varno, line):
    """Largest deviation of CalculiX's deflections from Varno's exact lines:
    at the places of Varno's extremes, and beyond them (no node of a region
    may pass its extreme). Relative to the beam's largest |EI*w|; returns
    (deviation, where)."""
    scale = max([abs(varno[f"{r}.{k}"]) for r in beam.regions() for k in ("EIwMax", "EIwMin")] + [1e-300])
    worst = (0.0, "")
    for region, key, x in extreme_places(beam, varno):
        d = abs(beams.deflection_at(line, x) - varno[f"{region}.{key}"]) / scale
        worst = max(worst, (d, f"{region}.{key}"))
    for region, (x0, length) in beam.regions().items():
        inside = [w for x, w in line if x0 <= x <= x0 + length]
        over = max(max(inside) - varno[f"{region}.EIwMax"], varno[f"{region}.EIwMin"] - min(inside), 0.0) / scale
        worst = max(worst, (over, f"{region} beyond its extreme"))
    return worst


def deviations(varno, fe):
    """Largest deviation per group of one beam: {group: (deviation, quantity)}."""
    out = {}
    for group, keys, scale in GROUPS:
        for key in keys:
            if key in fe:
                d = abs(varno[key] - fe[key]) / fe[scale]
                if group not in out or d > out[group][0]:
                    out[group] = (d, key)
    return out


# ---------------------------------------------------------------- the runs

def closed_form_run(calc, cases, folder):
    paths = write_lofs(folder, [(f"case{i + 1:02d}", c.beam) for i, c in enumerate(cases)])
    results = run_varno(calc, paths)
    rows, failures = [], []
    for case, path in zip(cases, paths):
        r = results[path]
        for quantity, text, closed in case.checks:
            dev = abs(r[quantity] - closed) / max(abs(closed), 1.0)
            rows.append((case, quantity, text, closed, r[quantity], dev))
            if not dev <= CLOSED_TOLERANCE:
                failures.append(f"{case.label}: {quantity} = {r[quantity]!r}, closed form {text} = {closed!r}")
    approximations = [(case, q, text, exact, results[path][q])
                      for case, path in zip(cases, paths) for q, text, exact in case.deflections]
    return rows, approximations, failures


def fe_on_cases(ccx, cases, folder, varno):
    """Largest deviation of CalculiX from the closed forms, per group; for
    the deflections at the places the closed forms give."""
    named = [(f"fe_case{i + 1:02d}", c.beam) for i, c in enumerate(cases)]
    largest = {}
    for case, v, (fe, _, line) in zip(cases, varno, run_fe(ccx, folder, named, varno)):
        closed = {q: value for q, _, value in case.checks}
        for group, keys, scale in GROUPS:
            for key in keys:
                if key in closed and key in fe:
                    d = abs(fe[key] - closed[key]) / fe[scale]
                    if d > largest.get(group, (-1,))[0]:
                        largest[group] = (d, f"{case.name} {key}")
        regions = case.beam.regions()
        for region, (x0, _) in regions.items():
            for key in ("EIwMax", "EIwMin"):
                if f"{region}.{key}" in closed and f"{region}.x{key}" in closed:
                    scale = max(abs(w) for _, w in line)
                    x = x0 + closed[f"{region}.x{key}"]
                    d = abs(beams.deflection_at(line, x) - closed[f"{region}.{key}"]) / scale
                    if d > largest.get(DEFLECTION_GROUP, (-1,))[0]:
                        largest[DEFLECTION_GROUP] = (d, f"{case.name} {region}.{key}")
    return largest


def cross_check(calc, ccx, count, seed, folder):
    named = [(f"beam{i + 1:04d}", b) for i, b in enumerate(beams.random_beams(count, seed))]
    paths = write_lofs(folder, named)
    start = time.perf_counter()
    varno = run_varno(calc, paths)
    fe = run_fe(ccx, folder, named, [varno[p] for p in paths])
    elapsed = time.perf_counter() - start
    largest, checked, failures = {}, {}, []
    for (name, beam), path, (forces, _, line) in zip(named, paths, fe):
        devs = deviations(varno[path], forces)
        for group, keys, _ in GROUPS:
            checked[group] = checked.get(group, 0) + sum(1 for k in keys if k in forces)
        for group, (d, key) in devs.items():
            if d > largest.get(group, (-1,))[0]:
                largest[group] = (d, f"{name} {key}")
            if not d <= FE_TOLERANCE:
                failures.append((name, path, group, key, varno[path][key], forces[key], d))
        d, key = deflection_deviation(beam, varno[path], line)
        checked[DEFLECTION_GROUP] = checked.get(DEFLECTION_GROUP, 0) + 2 * len(beam.regions())
        if d > largest.get(DEFLECTION_GROUP, (-1,))[0]:
            largest[DEFLECTION_GROUP] = (d, f"{name} {key}")
        if not d <= FE_DEFLECTION_TOLERANCE:
            failures.append((name, path, DEFLECTION_GROUP, key, varno[path].get(key, float("nan")),
                             float("nan"), d))
    slowest = max(range(count), key=lambda i: fe[i][1])
    summary = {"count": count, "seed": seed, "largest": largest, "checked": checked,
               "slowest": (named[slowest][0], fe[slowest][1]), "elapsed": elapsed}
    return summary, failures


def report_failures(failures):
    for name, path, group, key, v, f, d in failures:
        tolerance = FE_DEFLECTION_TOLERANCE if group == DEFLECTION_GROUP else FE_TOLERANCE
        print(f"{name}: {key} Varno {v:.9g}, CalculiX {f:.9g}, deviation {d:.2e} > {tolerance:g} ({group})")
        with open(path, newline="") as lof:
            print(f"--- {os.path.basename(path)}\n{lof.read()}---")


# ---------------------------------------------------------------- the document

TIMING_PREFIXES = ("| slowest beam |", "| run time |")


def _g(value):
    return "0" if value == 0 else f"{value:.10g}"


def _plain(text):
    """A text of the case file as Markdown shows it: * is multiplication."""
    return text.replace("*", "·").replace("|", "\\|")


REGION_NAMES = ("F1", "F2", "F3", "Kl", "Kr")
LENGTH_NAMES = ("L1", "L2", "L3", "Lkl", "Lkr")
FIRST_SLOTS = (0, 7, 14, 21, 24, 27)
PROVENANCE_PREFIX = "| source commit |"


def case_inputs(beam):
    """The values of a case's project file, as a reader enters them: lengths
    in m, uniform loads in kN/m per kind and region, point loads F in kN at
    a in m with their region and row; what is 0 is left out."""
    parts = [", ".join(f"{n} = {_g(v)}" for n, v in zip(LENGTH_NAMES, beam.lengths) if v != 0)]
    for kind in beams.KINDS:
        row = beam.loads[kind]
        if any(row):
            parts.append(f"{kind}: " + ", ".join(f"{_g(v)} ({REGION_NAMES[r]})" for r, v in enumerate(row) if v))
    for slot, (a, force) in enumerate(beam.points):
        if force == 0 and a == 0:
            continue
        region = max(r for r in range(5) if FIRST_SLOTS[r] <= slot)
        row = slot - FIRST_SLOTS[region] + 1
        parts.append(f"F = {_g(force)} at a = {_g(a)} ({REGION_NAMES[region]}, row {row})")
    return "; ".join(parts)


def case_symbols(case):
    return ", ".join(f"{name} = {_g(value)}" for name, value in case.symbols)


def provenance(calc, ccx):
    """The program's version, the source commit and CalculiX's package
    version. Only the commit line changes with every commit; --check leaves
    it out of the comparison."""
    def output(command):
        try:
            return subprocess.run(command, capture_output=True, text=True, timeout=60, cwd=ROOT).stdout.strip()
        except (OSError, subprocess.SubprocessError):
            return ""
    version = output([calc, "--version"]) or "unknown"
    commit = output(["git", "rev-parse", "--short=12", "HEAD"]) or "unknown (not a git checkout)"
    if output(["git", "status", "--porcelain", "--untracked-files=no"]):
        commit += " with uncommitted changes"
    package = output(["dpkg-query", "-W", "-f=${Version}", "calculix-ccx"]) or "unknown"
    return [("program", version.replace("\n", " ")), ("source commit", commit),
            ("CalculiX", f"{os.path.basename(ccx)}, Debian package calculix-ccx {package}")]


def document_text(rows, approximations, fe_cases, summary, cases, made_with=()):
    out = ["# Verification of the analysis", "",
           "Written by `python3 verification/verify.py document`; never edit it by hand.",
           "CI compares it with what that command writes now.", "",
           "## What is verified and how", "",
           "Varno's numbers are those of `varno-calc --json` (the analysis as the desktop program runs it) for",
           "project files written from the cases. Three checks:", "",
           f"1. **Closed forms.** {len(cases)} textbook cases in `verification/cases.toml`, each a project file with "
           "the closed-form value of every checked quantity written as its formula and derived in the comments of "
           "that file (equilibrium, the three-moment equation, the deflection line). Deviation = |Varno − closed "
           f"form| / max(|closed form|, 1); tolerance {CLOSED_TOLERANCE:g}. Both sides are computed in double "
           "precision, whose rounding is about 1.1e-16 per operation; a case takes a few dozen operations on each "
           "side, in a different order, so the two agree to some 1e-14, and varno-calc writes its numbers in the "
           "shortest form that reads back exactly. The tolerance lies far above that rounding and far below any "
           "error of a formula (a wrong term changes a value by a few per cent at least).",
           "2. **Finite elements.** Random beams computed by CalculiX (`ccx`, Debian package `calculix-ccx`): "
           "quadratic beam elements B32R with a 0.1 m square section and a shear modulus 100 times Young's modulus "
           "(so the elements bend as slender beams without shear deformation, as the three-moment equation "
           "assumes), nodes at the supports, the tips and every point load and at most 0.25 m apart, uniform loads "
           "as consistent nodal loads. CalculiX gives the support reactions; the support moments, the shears on "
           "either side of every support and the span maxima follow from them by equilibrium. A span maximum is "
           "compared only where the shear changes sign exactly once, strictly inside the span. Deviation = "
           "|Varno − CalculiX| / (the beam's largest moment for moments, its largest shear or reaction for forces).",
           "3. **Deflections.** Varno's exact lines (`beamLines` of `varno-calc --json`) give the largest and the "
           "smallest EI·w of every span and cantilever and where they lie. The CalculiX deck gets a node at each of "
           "these places; its nodal displacement there, times the section's EI, must equal Varno's value, and no "
           "node of a region may pass the region's extremes. Deviation relative to the beam's largest |EI·w|; "
           f"tolerance {FE_DEFLECTION_TOLERANCE:g}: the elements' remaining shear deformation is largest at the tip "
           "of the shortest cantilevers (0.5 m), (E/G)·(h/l)² = 4e-4 of their bending, about a third of it "
           "showing in the tip deflection; CalculiX's 7 printed digits add 5e-7.",
           "",
           f"Tolerance of the cross-check: {FE_TOLERANCE:g}, from CalculiX's printed precision and its element "
           "formulation. CalculiX prints 7 significant digits, a rounding of up to 5e-7 of each reaction; a support "
           "moment is a sum of reactions times lever arms of several metres (taken from the side of the cut with "
           "the smaller reactions), which makes that some 1e-5 of the largest moment. The elements keep a little "
           "shear deformation: with G = 100·E and a section depth of at most 1/20 of a span (the cantilevers are "
           "statically determinate) it changes the reactions by at most about (E/G)·(h/l)² = 2.5e-5. The same "
           "deck writer run on the closed-form cases (first table "
           "below) stays well within that.", "",
           "## Made with", "",
           "| item | value |", "|---|---|"]
    out += [f"| {name} | {value} |" for name, value in made_with]
    out += ["",
            "## Symbols", "",
            "Quantities as `varno-calc --json` names them (signs as in the program: sagging moments positive, a "
            "shear positive when it points up on the left face of a cut, deflections positive downward):", "",
            "| symbol | meaning | unit |", "|---|---|---|",
            "| L1, L2, L3, Lkl, Lkr | span lengths and the lengths of the left and right cantilever | m |",
            "| g, q, s, w | uniform loads of a region (F1, F2, F3 spans, Kl, Kr cantilevers) | kN/m |",
            "| F at a | point load and its distance from the left support of a span, from the free end of the "
            "left cantilever, from the support of the right cantilever; its row in the load window | kN, m |",
            "| MA … MD | support moments | kNm |",
            "| MF1 … MF3, xF1 … xF3 | span moment at the point of zero shear and that point's distance from the "
            "left support | kNm, m |",
            "| Ali, Are … Dli, Dre | shear just left (li) and just right (re) of a support | kN |",
            "| A … D | support reactions (shear right minus shear left) | kN |",
            "| EIf1 … EIf3, EIwKl, EIwKr | the program's approximate deflection terms at mid-span and at the "
            "cantilever tips, deflection times bending stiffness | kN·m³ |",
            "| F1.Mmax, F1.xMmax … Kr.EIwMin | extremes of the exact lines of a region (`beamLines`): largest and "
            "smallest M and EI·w with their places x from the region's left end, Vmax the shear of largest "
            "magnitude | kNm, kN, kN·m³, m |",
            "| envelope.X.min, .max | the smallest and largest value of X over the load patterns | as X |",
            "| design.GoverningMoment, design.GoverningShear | the moment and the shear the design takes: of "
            "largest magnitude, with its sign (with an upward load, of the exact lines) | kNm, kN |", "",
            "Symbols of the closed forms, their values given per case below: l, l1, l2, l3 span lengths; k, k1, "
            "k2 cantilever lengths; q a uniform load; F, F1, F2 point loads; a the distance of a point load from "
            "the left support (from the free end on a left cantilever); b = l − a; c the distance of a "
            "cantilever's point load from its support; Ma, Mb, Ml, Mr end moments of a span; further names are "
            "derived in the case (`let` in `verification/cases.toml`, with their derivations in its comments).", "",
            "## Closed-form cases", "",
            "| # | case | inputs | symbols | where it comes from |", "|---|---|---|---|---|"]
    out += [f"| {i + 1} | {c.name} | {case_inputs(c.beam)} | {case_symbols(c)} | {_plain(c.source)} |"
            for i, c in enumerate(cases)]
    out += ["", "| case | quantity | closed form | value | Varno | deviation |", "|---|---|---|---|---|---|"]
    for case, quantity, text, closed, varno, dev in rows:
        out.append(f"| {case.name} | {quantity} | `{text}` | {_g(closed)} | {_g(varno)} | {dev:.1e} |")
    out += ["", f"{len(rows)} values in {len(cases)} cases, all within {CLOSED_TOLERANCE:g}.", "",
            "## Cross-check with CalculiX", "",
            "CalculiX against the closed forms (the measure of the tolerance):", "",
            "| quantity | largest deviation | where |", "|---|---|---|"]
    for group in [g for g, _, _ in GROUPS] + [DEFLECTION_GROUP]:
        d, where = fe_cases[group]
        out.append(f"| {group} | {d:.1e} | {where} |")
    out += ["", "Varno against CalculiX on random beams (1 to 3 spans of 2 to 8 m, cantilevers of 0.5 to 3 m on "
            "none, one or both sides, uniform loads per kind and region, a fifth of them upward, up to seven point "
            "loads per span and three per cantilever inside their region, a fifth of them upward, typed in any row "
            "order with empty rows between them; every span carries a downward load). Not covered by them: "
            "unloaded spans and loads that do not act, in a region the beam does not have or outside their "
            "region (the closed forms cover those), the input that the "
            "program refuses (negative or zero lengths, values beyond the double range), the envelope (closed "
            "forms only) and the design, which is not verified here:", "",
            "| item | value |", "|---|---|",
            f"| beams | {summary['count']} |", f"| seed | {summary['seed']} |",
            f"| tolerance | {FE_TOLERANCE:g} |"]
    for group in [g for g, _, _ in GROUPS] + [DEFLECTION_GROUP]:
        d, where = summary["largest"][group]
        out.append(f"| {group}: values, largest deviation | {summary['checked'][group]}, {d:.1e} ({where}) |")
    out += [f"| slowest beam | {summary['slowest'][0]}, {summary['slowest'][1]:.2f} s |",
            f"| run time | {summary['elapsed']:.0f} s |", "",
            "Every value lies within the tolerance.", "",
            "## Deflection terms: approximations", "",
            "The program's deflection terms (deflection times bending stiffness, kN·m³) are approximations chosen "
            "on purpose: the span term takes a sine-shaped deflection line (2·q·l/π for the uniform load, "
            "sin(π·a/l) for a point load) and weights the end moments with 0.0609425 instead of 1/16. They are "
            "listed here next to the exact elastic values; no tolerance applies. The exact values themselves are "
            "in `beamLines` (checked above as closed forms and against CalculiX).", "",
            "| case | term | exact value | exact | Varno | Varno / exact |", "|---|---|---|---|---|---|"]
    for case, quantity, text, exact, varno in approximations:
        out.append(f"| {case.name} | {quantity} | `{text}` | {exact:.6g} | {varno:.6g} | {varno / exact:.4f} |")
    out += ["", "## How to re-run", "",
            "After a build (`scripts/build.sh`), with `calculix-ccx` installed (`scripts/install-deps.sh`):", "",
            "    python3 verification/verify.py cases                 # the closed forms (also a CTest test)",
            "    python3 verification/verify.py crosscheck -n 50      # 50 random beams",
            f"    python3 verification/verify.py document              # this file: {DEFAULT_COUNT} beams, seed "
            f"{DEFAULT_SEED}",
            "    python3 verification/verify.py document --check      # is this file up to date?", "",
            "`scripts/test.sh` (and so CI) runs the closed forms with the other tests and the `--check`, which "
            "fails on a value outside its tolerance and on a document that differs from what the command writes "
            "now for the seed and count above; the lines with measured times are left out of that comparison."]
    return "\n".join(out) + "\n"


def recorded_run(text):
    count = re.search(r"^\| beams \| (\d+) \|$", text, re.M)
    seed = re.search(r"^\| seed \| (\d+) \|$", text, re.M)
    if not count or not seed:
        raise BadInput(f"{DOCUMENT} names no beam count and seed; write it anew with 'verify.py document'")
    return int(count.group(1)), int(seed.group(1))


def without_timing(text):
    """The lines --check compares: not the measured times, not the commit."""
    return [line for line in text.splitlines() if not line.startswith(TIMING_PREFIXES + (PROVENANCE_PREFIX,))]


def write_atomically(path, text):
    folder = os.path.dirname(path)
    fd, temp = tempfile.mkstemp(prefix=".verification-", suffix=".tmp", dir=folder)
    try:
        with os.fdopen(fd, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temp, 0o666 & ~umask)
        os.replace(temp, path)
    except BaseException:
        os.unlink(temp)
        raise


# ---------------------------------------------------------------- commands

def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("command", choices=["cases", "crosscheck", "document"])
    parser.add_argument("--calc", default=os.path.join(ROOT, "build", "bin", "varno-calc"))
    parser.add_argument("--cases", default=CASES)
    parser.add_argument("-n", "--count", type=int, default=None)
    parser.add_argument("--seed", type=int, default=DEFAULT_SEED)
    parser.add_argument("--output", default=DOCUMENT)
    parser.add_argument("--check", action="store_true", help="document: compare instead of writing")
    args = parser.parse_args(argv)
    try:
        return run(args)
    except BadInput as error:
        print(f"verify.py: {error}", file=sys.stderr)
        return 2
    except FileNotFoundError as error:
        print(f"verify.py: {error}", file=sys.stderr)
        return 2


def run(args):
    cases = load_cases(args.cases)
    calc = os.path.abspath(args.calc)
    with tempfile.TemporaryDirectory(prefix="varno-verify-") as folder:
        rows, approximations, failures = closed_form_run(calc, cases, folder)
        if args.command == "cases":
            for line in failures:
                print(line)
            print(f"closed forms: {len(rows)} values in {len(cases)} cases, {len(failures)} outside "
                  f"{CLOSED_TOLERANCE:g}")
            return 1 if failures else 0
        ccx = beams.find_ccx()
        count, seed = args.count or DEFAULT_COUNT, args.seed
        if args.command == "document" and args.check:
            with open(args.output, encoding="utf-8") as f:
                existing = f.read()
            count, seed = recorded_run(existing)
        summary, fe_failures = cross_check(calc, ccx, count, seed, folder)
        report_failures(fe_failures)
        for line in failures:
            print(line)
        print(f"cross-check: {count} beams, seed {seed}, {len(fe_failures)} values outside {FE_TOLERANCE:g}; "
              + ", ".join(f"{g} {summary['largest'][g][0]:.1e}" for g in [g for g, _, _ in GROUPS] + [DEFLECTION_GROUP])
              + f"; {summary['elapsed']:.1f} s")
        if failures or fe_failures:
            return 1
        if args.command == "crosscheck":
            return 0
        case_paths = [os.path.join(folder, f"case{i + 1:02d}.lof") for i in range(len(cases))]
        case_varno = run_varno(calc, case_paths)
        fe_cases = fe_on_cases(ccx, cases, folder, [case_varno[p] for p in case_paths])
        text = document_text(rows, approximations, fe_cases, summary, cases, provenance(calc, ccx))
        if args.check:
            if without_timing(text) != without_timing(existing):
                print(f"{os.path.relpath(args.output, ROOT)} is out of date: run "
                      "'python3 verification/verify.py document' and commit it")
                return 1
            print(f"{os.path.relpath(args.output, ROOT)} is up to date")
            return 0
        write_atomically(args.output, text)
        print(f"wrote {os.path.relpath(args.output, ROOT)}")
        return 0


if __name__ == "__main__":
    sys.exit(main())
