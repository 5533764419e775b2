# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later

"""Tests of the verification checker: formulas, bad input, project files,
equilibrium from reactions, the CalculiX deck and the document check.

Run: python3 -m unittest discover -s verification (CTest runs it too;
VARNO_CALC names varno-calc for the tests that need it)."""

import io
import os
import shutil
import sys
import tempfile
import unittest
from contextlib import redirect_stderr

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import beams  # noqa: E402
import verify  # noqa: E402
from formula import FormulaError, evaluate  # noqa: E402

CALC = os.environ.get("VARNO_CALC", os.path.join(verify.ROOT, "build", "bin", "varno-calc"))


class FormulaTest(unittest.TestCase):
    def test_values(self):
        rows = {
            "power before product and sign": ("-q*l^2/8", {"q": 10, "l": 6}, -45.0),
            "power is right-associative": ("2^3^2", {}, 512.0),
            "parentheses": ("(a+b)*(a-b)", {"a": 3, "b": 1}, 8.0),
            "functions and pi": ("sqrt(16)+sin(pi/2)", {}, 5.0),
            "decimal numbers": ("0.08*q*l^2", {"q": 10, "l": 4}, 12.8),
        }
        for name, (text, names, expected) in rows.items():
            with self.subTest(name):
                self.assertAlmostEqual(evaluate(text, names), expected, places=12)

    def test_refused(self):
        rows = {
            "unknown name": ("q*L", {"q": 1}, "unknown name 'L'"),
            "function call of Python": ("__import__('os').getcwd()", {}, "not plain arithmetic"),
            "attribute": ("q.real", {"q": 1}, "not plain arithmetic"),
            "text constant": ("'abc'", {}, "not plain arithmetic"),
            "syntax": ("q*(l", {"q": 1, "l": 2}, "cannot be read"),
            "division by zero": ("q/(l-l)", {"q": 1, "l": 2}, "divides by zero"),
            "overflow": ("10^400", {}, "no finite value"),
            "not a text": (12, {}, "not a text"),
        }
        for name, (text, names, message) in rows.items():
            with self.subTest(name), self.assertRaises(FormulaError) as caught:
                evaluate(text, names)
            self.assertIn(message, str(caught.exception))


GOOD = '''
[[case]]
name = "good"
source = "single span"
lengths = [6, 0, 0, 0, 0]
g = [10, 0, 0, 0, 0]
vars = { l = 6, q = 10 }
check = { A = "q*l/2" }
'''


class CaseFileTest(unittest.TestCase):
    def load(self, text):
        with tempfile.NamedTemporaryFile("w", suffix=".toml", delete=False) as f:
            f.write(text)
        self.addCleanup(os.unlink, f.name)
        return verify.load_cases(f.name)

    def test_bad_rows_are_named(self):
        bad = GOOD.replace('name = "good"', 'name = "bad-row"')
        rows = {
            "unknown quantity": (bad.replace("check = { A", "check = { MX"), "unknown quantity 'MX'"),
            "deflection term checked": (bad.replace("check = { A", "check = { EIf1"), "unknown quantity 'EIf1'"),
            "formula does not evaluate": (bad.replace('"q*l/2"', '"q*l/"'), "A: formula 'q*l/' cannot be read"),
            "unknown name in formula": (bad.replace('"q*l/2"', '"q*k/2"'), "unknown name 'k'"),
            "length not a number": (bad.replace("[6, 0,", '["6,5", 0,'), "L[0] = '6,5' is not a number"),
            "load not a number": (bad.replace("g = [10,", 'g = ["x",'), "g[0] = 'x' is not a number"),
            "force not a number": (bad + 'points = [[0, 2, "F"]]\n', "F of slot 0 = 'F' is not a number"),
            "slot out of range": (bad + "points = [[27, 2, 1]]\n", "slot 27 is not a slot number"),
            "variable not a number": (bad.replace("l = 6,", 'l = "6",'), "variable l = '6' is not a number"),
            "missing check": (bad.replace('check = { A = "q*l/2" }', ""), "'check' is missing"),
        }
        for name, (text, message) in rows.items():
            with self.subTest(name), self.assertRaises(verify.BadInput) as caught:
                self.load(text)
            self.assertIn("case 1 (bad-row)", str(caught.exception))
            self.assertIn(message, str(caught.exception))

    def test_the_second_row_is_named_by_its_number(self):
        text = GOOD + GOOD.replace('"good"', '"second"').replace('"q*l/2"', '"q*l/0"')
        with self.assertRaises(verify.BadInput) as caught:
            self.load(text)
        self.assertIn("case 2 (second)", str(caught.exception))

    def test_bad_input_stops_the_command_with_status_2(self):
        with tempfile.NamedTemporaryFile("w", suffix=".toml", delete=False) as f:
            f.write(GOOD.replace("check = { A", "check = { MX"))
        self.addCleanup(os.unlink, f.name)
        err = io.StringIO()
        with redirect_stderr(err):
            status = verify.main(["cases", "--cases", f.name, "--calc", CALC])
        self.assertEqual(status, 2)
        self.assertIn("case 1 (good): check of unknown quantity 'MX'", err.getvalue())

    def test_the_case_file_has_the_cases_it_promises(self):
        cases = verify.load_cases()
        self.assertGreaterEqual(len(cases), 44)
        self.assertEqual(len({c.name for c in cases}), len(cases))


class ProjectFileTest(unittest.TestCase):
    def test_layout(self):
        beam = beams.Beam([6, 4.5, 0, 1.25, 0], {"q": [0, 2, 0, 0, 0]}, [[0, 2, 10], [26, 0.5, 3]], (1, 0))
        lines = beam.lof_text().split("\r\n")
        self.assertEqual(len(lines), 34)        # 33 lines, each ended by CR LF
        self.assertEqual(lines[-1], "")
        self.assertEqual(lines[0], "6".ljust(14) + "4.5".ljust(14) + "0".ljust(14) + "1.25".ljust(14) + "0")
        self.assertEqual(lines[2], "0".ljust(14) + "2" + " " * 13 + "0".ljust(14) * 2 + "0")
        self.assertEqual(lines[5], "2".ljust(14) + "10")            # slot 0: a, then F
        self.assertEqual(lines[31], "0.5".ljust(14) + "3")          # slot 26
        self.assertEqual(lines[32], " 1".ljust(14) + " 0")

    def test_varno_output_read_by_key_in_any_layout(self):
        rows = {
            "one object per line": '{"file": "a", "results": {"MA": 1}}\n{"file": "b", "results": {"MA": 2}}\n',
            "indented": '{\n    "results": {\n        "MA": 1\n    },\n    "file": "a"\n}\n{"file": "b",\n'
                        ' "results": {"MA": 2}}',
        }
        for name, text in rows.items():
            with self.subTest(name):
                objects = list(verify._json_objects(text))
                self.assertEqual([(o["file"], o["results"]["MA"]) for o in objects], [("a", 1), ("b", 2)])

    @unittest.skipUnless(os.access(CALC, os.X_OK), "varno-calc not built")
    def test_varno_reads_the_values_written(self):
        beam = beams.Beam([5, 0, 0, 0, 2], {"g": [1, 0, 0, 0, 0], "w": [2, 0, 0, 0, 4]}, [[24, 2, 7]])
        with tempfile.TemporaryDirectory() as folder:
            path = verify.write_lofs(folder, [("b", beam)])[0]
            r = verify.run_varno(CALC, [path])[path]
        self.assertAlmostEqual(r["MB"], -4 * 2 * 2 / 2 - 7 * 2, places=9)
        self.assertAlmostEqual(r["Bre"], 4 * 2 + 7, places=9)


class EquilibriumTest(unittest.TestCase):
    def test_single_span_with_cantilever(self):
        # l = 6, q = 2 on the span, F = 12 at 2 m, right cantilever 2 m with
        # a tip load of 3: MB = -6; moments about B give A.
        beam = beams.Beam([6, 0, 0, 0, 2], {"g": [2, 0, 0, 0, 0]}, [[0, 2, 12], [24, 2, 3]])
        A = (2 * 6 * 3 + 12 * 4 - 6) / 6
        f = beams.internal_forces(beam, [A, 2 * 6 + 12 + 3 - A])
        self.assertAlmostEqual(f["MA"], 0, places=12)
        self.assertAlmostEqual(f["MB"], -6, places=12)
        self.assertAlmostEqual(f["Are"], A, places=12)
        self.assertAlmostEqual(f["Bli"], A - 12 - 12, places=12)
        self.assertAlmostEqual(f["Bre"], 3, places=12)
        self.assertAlmostEqual(f["xF1"], 2, places=12)            # the shear changes sign at the load
        self.assertAlmostEqual(f["MF1"], A * 2 - 2 * 2 ** 2 / 2, places=12)

    def test_span_maximum_only_where_the_zero_is_unique(self):
        rows = {
            # Two equal loads symmetric, no q: the shear is 0 between them.
            "zero over a stretch": (beams.Beam([6, 0, 0, 0, 0], {}, [[0, 2, 5], [1, 4, 5]]), [5, 5], False),
            # A heavy cantilever: the shear in the span never turns positive.
            "no sign change": (beams.Beam([4, 0, 0, 0, 3], {"g": [1, 0, 0, 0, 10]}, []), [-9.25, 43.25], False),
            "one sign change": (beams.Beam([6, 0, 0, 0, 0], {"g": [2, 0, 0, 0, 0]}, []), [6, 6], True),
        }
        for name, (beam, reactions, compared) in rows.items():
            with self.subTest(name):
                self.assertEqual("MF1" in beams.internal_forces(beam, reactions), compared)

    def test_a_load_right_on_a_support_stays_in_its_span(self):
        # F at a = 0 of span 1 belongs to the shear right of A, F at a = l
        # to the shear left of B, as the program counts them.
        beam = beams.Beam([6, 0, 0, 0, 0], {"g": [2, 0, 0, 0, 0]}, [[0, 0, 5], [1, 6, 7]])
        f = beams.internal_forces(beam, [6 + 5, 6 + 7])
        self.assertAlmostEqual(f["Are"], 11, places=12)
        self.assertAlmostEqual(f["Bli"], -13, places=12)
        self.assertAlmostEqual(f["MF1"], 2 * 6 ** 2 / 8, places=12)

    def test_loads_that_do_not_act_stay_out_of_the_deck(self):
        # Beyond span 1, before it, in span 2 of a single span and in a left
        # cantilever of length 0: only the load at 3 m acts.
        beam = beams.Beam([6, 0, 0, 0, 0], {"g": [2, 0, 0, 0, 0]},
                          [[0, 8, 5], [1, -1, 5], [7, 2, 5], [21, 1, 5], [2, 3, 7]])
        self.assertEqual(beam.layout()[3], [(3.0, 0, 7.0)])


class CalculixTest(unittest.TestCase):
    def test_missing_ccx_names_the_package(self):
        path = os.environ["PATH"]
        os.environ["PATH"] = ""
        try:
            with self.assertRaises(FileNotFoundError) as caught:
                beams.find_ccx()
        finally:
            os.environ["PATH"] = path
        self.assertIn("calculix-ccx", str(caught.exception))

    def test_deck_has_nodes_at_supports_tips_and_loads(self):
        beam = beams.Beam([5, 0, 0, 1, 0], {"g": [1, 0, 0, 0, 0]}, [[0, 1.3, 4], [21, 0.4, 2]])
        text, supports = beams.deck(beam)
        xs = [float(line.split(",")[1]) for line in text.split("*NODE, NSET=NALL\n")[1].split("*")[0].splitlines()]
        for x in (0.0, 0.4, 1.0, 2.3, 6.0):
            self.assertIn(x, xs)
        self.assertTrue(all(b - a <= beams.MAX_ELEMENT / 2 + 1e-12 for a, b in zip(xs, xs[1:])))
        # The consistent nodal loads add up to the whole load.
        loads = [float(line.split(",")[2]) for line in text.split("*CLOAD\n")[1].split("*")[0].splitlines()]
        self.assertAlmostEqual(-sum(loads), 5 * 1 + 4 + 2, places=9)
        self.assertEqual(len(supports), 2)

    @unittest.skipUnless(shutil.which("ccx"), "CalculiX not installed")
    def test_two_equal_spans(self):
        beam = beams.Beam([5, 5, 0, 0, 0], {"g": [10, 10, 0, 0, 0]}, [])
        with tempfile.TemporaryDirectory() as folder:
            reactions = beams.run_ccx(beams.find_ccx(), beam, folder, "two")
        for got, expected in zip(reactions, [18.75, 62.5, 18.75]):
            self.assertAlmostEqual(got / expected, 1, delta=verify.FE_TOLERANCE)


    @unittest.skipUnless(shutil.which("ccx"), "CalculiX not installed")
    def test_deflection_at_an_extra_node(self):
        # 5*q*l^4/384 at mid-span, 2.9 m off every node the loads ask for.
        beam = beams.Beam([6, 0, 0, 0, 0], {"g": [10, 0, 0, 0, 0]}, [])
        with tempfile.TemporaryDirectory() as folder:
            _, line = beams.run_ccx_full(beams.find_ccx(), beam, folder, "one", [3.0, 2.9])
        self.assertIn(2.9, [x for x, _ in line])
        self.assertAlmostEqual(beams.deflection_at(line, 3.0) / (5 * 10 * 6 ** 4 / 384), 1,
                               delta=verify.FE_DEFLECTION_TOLERANCE)
        self.assertEqual(beams.deflection_at(line, 0.0), 0.0)


class RandomBeamTest(unittest.TestCase):
    def test_rows_unordered_with_gaps_and_upward_loads(self):
        found = {"descending rows": False, "gap before a load": False, "upward force": False, "upward q": False}
        for beam in beams.random_beams(200, 3):
            for first, end in beams.SPAN_SLOTS[:beam.spans]:
                rows = beam.points[first:end]
                used = [a for a, F in rows if F != 0]
                found["descending rows"] |= any(b < a for a, b in zip(used, used[1:]))
                found["gap before a load"] |= any(F == 0 and any(G != 0 for _, G in rows[i + 1:])
                                                  for i, (_, F) in enumerate(rows))
                found["upward force"] |= any(F < 0 for _, F in rows)
                # Every span still carries a downward load.
                self.assertTrue(any(F > 0 for _, F in rows) or beam.region_load(1 + first // 7) > 0)
            found["upward q"] |= any(v < 0 for k in beams.KINDS for v in beam.loads[k])
        self.assertEqual(found, {k: True for k in found})


class DocumentTest(unittest.TestCase):
    TEXT = "# V\n| beams | 500 |\n| seed | 14 |\n| slowest beam | beam0001, 0.10 s |\n| run time | 20 s |\n"

    def test_timing_lines_alone_are_left_out_of_the_comparison(self):
        other_times = self.TEXT.replace("0.10 s", "0.30 s").replace("20 s", "31 s")
        self.assertEqual(verify.without_timing(self.TEXT), verify.without_timing(other_times))
        other_count = self.TEXT.replace("| beams | 500 |", "| beams | 50 |")
        self.assertNotEqual(verify.without_timing(self.TEXT), verify.without_timing(other_count))

    def test_recorded_run(self):
        self.assertEqual(verify.recorded_run(self.TEXT), (500, 14))
        with self.assertRaises(verify.BadInput):
            verify.recorded_run("# V\n")

    def test_a_failed_write_leaves_the_old_document_and_no_temporary_file(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "verification.md")
            with open(path, "w") as f:
                f.write("old\n")
            with self.assertRaises(TypeError):
                verify.write_atomically(path, None)
            self.assertEqual(os.listdir(folder), ["verification.md"])
            with open(path) as f:
                self.assertEqual(f.read(), "old\n")
            verify.write_atomically(path, "new\n")
            self.assertEqual(os.listdir(folder), ["verification.md"])
            self.assertEqual(os.stat(path).st_mode & 0o044, 0o044)      # readable like any file


if __name__ == "__main__":
    unittest.main()
