# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later

"""Tests of the data checker: each row damages one row of a copy of the
shipped files and expects the checker to name it.

Run: python3 -m unittest discover -s data/eurocode (CTest runs it too)."""

import os
import shutil
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_data  # noqa: E402

# file, key of the row, text in that row, its replacement, expected message
FAULTS = {
    "project default marked as sourced": (
        "deflection_limits.csv", "limit.steel.span.w", "not found in a citable source,", "sourced,",
        "deflection_limits.csv:8: status 'sourced' but the source says"),
    "placeholder marked as derived": (
        "load_duration.csv", "kled.imposed.A", "not found in a citable source,", "derived,",
        "load_duration.csv:3: status 'derived' but the source says 'placeholder'"),
    "no status": ("actions.csv", "gamma.G.sup", ",sourced,", ",,", "actions.csv:2: status '' is not one of"),
    "no source": ("timber_classes.csv", "timber.C18", ",sourced,BP en_338_2016 table_1.py (EN 338:2016 Table 1),",
                  ",sourced,,", "timber_classes.csv:4: no source"),
    "a field too many": ("steel_grades.csv", "steel.S275", "275,430,", "275,,430,",
                         "steel_grades.csv:3: the number of fields is not that of the header"),
    "no fc,90,k": ("timber_classes.csv", "timber.C24", ",2.5,420,", ",,420,", "timber.C24: no fc_90_k_Nmm2"),
    "glulam class as solid timber": ("timber_classes.csv", "timber.GL26c", ",glulam,", ",solid,",
                                     "timber.GL26c: class GL26c is glulam, not 'solid'"),
    "fm,k not the number of the class": ("timber_classes.csv", "timber.C27", "Table 1,27,", "Table 1,22,",
                                         "timber.C27: fm_k 22 is not the 27 of the class name"),
    "kcrit constants that do not join": ("timber_factors.csv", "kcrit.intercept", ",1.56,", ",1.65,",
                                          "kcrit constants do not join"),
    "mean density below the characteristic": ("timber_classes.csv", "timber.C14", ",350,sourced", ",250,sourced",
                                              "timber.C14: rho_k >= rho_mean"),
}


class CheckDataTest(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.dir)
        for path in check_data.HERE.glob("*.csv"):
            shutil.copy(path, self.dir)

    def damage(self, name, key, old, new):
        path = self.dir / name
        lines = path.read_text(encoding="utf-8").split("\n")
        hits = [i for i, line in enumerate(lines) if line.startswith(key + ",")]
        self.assertEqual(len(hits), 1, key)
        self.assertIn(old, lines[hits[0]])
        lines[hits[0]] = lines[hits[0]].replace(old, new, 1)
        path.write_text("\n".join(lines), encoding="utf-8")

    def test_shipped_files_pass(self):
        self.assertEqual(check_data.check(self.dir)[1], [])

    def test_faults(self):
        for fault, (name, key, old, new, message) in FAULTS.items():
            with self.subTest(fault):
                self.setUp()
                self.damage(name, key, old, new)
                errors = check_data.check(self.dir)[1]
                self.assertEqual(len(errors), 1, errors)
                self.assertIn(message, errors[0])


if __name__ == "__main__":
    unittest.main()
