#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Hand-calculated Eurocode cases against varno-calc --eurocode --json.

    eurocode.py cases [--calc PROGRAM]     checks eurocode_cases.toml
    eurocode.py document [--check]         writes docs/verification-eurocode.md
                                           (--check: compares instead)

A value passes when |Varno - hand| <= 1e-3 * max(|hand|, 1e-9).
Exit status: 0 all pass, 1 a value fails, 2 bad input.
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import tomllib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import beams  # noqa: E402
from formula import FormulaError, evaluate  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CASES = os.path.join(HERE, "eurocode_cases.toml")
DOCUMENT = os.path.join(ROOT, "docs", "verification-eurocode.md")
TOLERANCE = 1e-3
SEARCH_STEPS = 20000


def maximum(formula, over, lo, hi, variables):
    """Largest value of the formula for `over` in [lo, hi]: a grid of
    SEARCH_STEPS intervals, then golden-section refinement around the best."""
    def f(x):
        return evaluate(formula, {**variables, over: x})
    step = (hi - lo) / SEARCH_STEPS
    best = max(range(SEARCH_STEPS + 1), key=lambda i: f(lo + i * step))
    a, b = max(lo, lo + (best - 1) * step), min(hi, lo + (best + 1) * step)
    ratio = (5 ** 0.5 - 1) / 2
    for _ in range(100):
        c, d = b - ratio * (b - a), a + ratio * (b - a)
        if f(c) > f(d):
            b = d
        else:
            a = c
    return f((a + b) / 2)


def variables_of(case):
    values = dict(case.get("vars", {}))
    for name, formula in case.get("let", []):
        if isinstance(formula, dict):
            values[name] = maximum(formula["max"], formula["over"], evaluate(formula["from"], values),
                                   evaluate(formula["to"], values), values)
        else:
            values[name] = evaluate(formula, values)
    return values


def member(eurocode, path):
    part, *rest = path.split(".")
    node = eurocode[part]
    if len(rest) == 2:
        node = node["checks"][rest[0]][rest[1]]
    else:
        node = node[rest[0]]
    return node


def run_case(calc, case, folder, index):
    beam = beams.Beam(case["lengths"], {k: case[k] for k in beams.KINDS if k in case}, case.get("points", []))
    path = os.path.join(folder, f"case{index}.lof")
    with open(path, "w", newline="") as f:
        f.write(beam.lof_text())
    done = subprocess.run([calc, "--json", "--locale", "C", "--eurocode", *case.get("args", []), path],
                          capture_output=True, text=True)
    if not done.stdout.strip():
        raise RuntimeError(f"{case['name']}: no output: {done.stderr.strip()}")
    obj = json.loads(done.stdout.splitlines()[0])
    if "eurocode" not in obj:
        raise RuntimeError(f"{case['name']}: no eurocode object: {done.stderr.strip()}")
    return obj["eurocode"]


def check_case(calc, case, folder, index):
    """Rows (what, hand, varno, ok) of one case."""
    eurocode = run_case(calc, case, folder, index)
    values = variables_of(case)
    rows = []
    for path, formula in case.get("check", {}).items():
        hand = evaluate(formula, values)
        varno = float(member(eurocode, path))
        ok = abs(varno - hand) <= TOLERANCE * max(abs(hand), 1e-9)
        rows.append((path, formula, hand, varno, ok))
    for path, expected in case.get("regions", {}).items():
        *check, action = path.split(".")
        factors = member(eurocode, ".".join(check + ["factors"]))
        got = factors.get(action, {}).get("regions", [])
        rows.append((path, "Bereiche", ", ".join(expected), ", ".join(got), got == expected))
    return rows


def all_rows(calc):
    with open(CASES, "rb") as f:
        cases = tomllib.load(f)["case"]
    out = []
    with tempfile.TemporaryDirectory() as folder:
        for index, case in enumerate(cases):
            out.append((case, check_case(calc, case, folder, index)))
    return out


def document_text(results):
    lines = [
        "# Verifikation der Eurocode-Nachweise",
        "",
        "Geschrieben von `python3 verification/eurocode.py document` aus",
        "`verification/eurocode_cases.toml`; CI prüft die Fälle mit `eurocode.py cases`.",
        "Jeder Wert ist von Hand gerechnet (Formel) und mit der JSON-Ausgabe von",
        f"`varno-calc --eurocode` verglichen; Toleranz {TOLERANCE:g} relativ.",
        "Die Werte der Normen stehen in `data/eurocode/*.csv` (Quellen in",
        "`data/eurocode/SOURCES.md`), die Regeln in `docs/eurocode.md`.",
        "",
    ]
    for case, rows in results:
        lines.append(f"## {case['name']}")
        lines.append("")
        loads = ", ".join(f"{k} = {case[k]}" for k in beams.KINDS if k in case)
        lines.append(f"Längen {case['lengths']} m; {loads or 'keine Streckenlasten'}"
                     + (f"; Einzellasten [Platz, a, F] {case['points']}" if "points" in case else "")
                     + f"; Optionen `{' '.join(case.get('args', []))}`.")
        lines.append("")
        for name, formula in case.get("let", []):
            if isinstance(formula, dict):
                formula = f"max über {formula['over']} von {formula['from']} bis {formula['to']}: {formula['max']}"
            lines.append(f"- {name} = `{formula}`")
        if case.get("let"):
            lines.append("")
        lines.append("| Wert | von Hand | Varno | |")
        lines.append("|---|---|---|---|")
        for path, formula, hand, varno, ok in rows:
            hand_text = f"`{formula}` = {hand:.6g}" if formula != "Bereiche" else hand
            varno_text = f"{varno:.6g}" if isinstance(varno, float) else varno
            lines.append(f"| {path} | {hand_text} | {varno_text} | {'ok' if ok else 'ABWEICHUNG'} |")
        lines.append("")
    return "\n".join(lines)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("command", choices=["cases", "document"])
    parser.add_argument("--calc", default=os.environ.get("VARNO_CALC", os.path.join(ROOT, "build", "bin", "varno-calc")))
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args(argv)
    try:
        results = all_rows(args.calc)
    except (OSError, RuntimeError, FormulaError, beams.InputError, KeyError) as error:
        print(f"eurocode.py: {error}", file=sys.stderr)
        return 2
    failed = [(case["name"], row) for case, rows in results for row in rows if not row[4]]
    for name, (path, formula, hand, varno, _) in failed:
        print(f"{name}: {path}: hand {hand}, Varno {varno}", file=sys.stderr)
    count = sum(len(rows) for _, rows in results)
    print(f"{len(results)} cases, {count} values, {len(failed)} off")
    if args.command == "document":
        text = document_text(results) + "\n"
        if args.check:
            with open(DOCUMENT, encoding="utf-8") as f:
                if f.read() != text:
                    print("docs/verification-eurocode.md is not up to date", file=sys.stderr)
                    return 1
        else:
            with open(DOCUMENT, "w", encoding="utf-8") as f:
                f.write(text)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
