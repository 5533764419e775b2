# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later

"""Beams as project files, as CalculiX decks, and their internal forces.

A beam is held as the 81 values of a project file (.lof). From them this
module writes the project file, a CalculiX deck of the same beam, and from
the support reactions that CalculiX computes it derives the support
moments, the shears on either side of each support and the span maxima by
equilibrium, in the sign conventions of the program: sagging moments
positive, a shear positive when it points up on the left face of a cut,
a reaction = jump of the shear force at its support.
"""

import math
import os
import random
import re
import shutil
import subprocess

SUPPORTS = "ABCD"
QUANTITIES = (
    ["MA", "MB", "MC", "MD", "MF1", "MF2", "MF3", "xF1", "xF2", "xF3"]
    + [s + side for s in SUPPORTS for side in ("li", "re")]
    + list(SUPPORTS)
    + ["EIf1", "EIf2", "EIf3", "EIwKl", "EIwKr"])
# The exact lines of varno-calc's JSON (beamLines): per span F1..F3 and
# cantilever Kl, Kr the extremes of M, V and EI*w, x from the region's left end.
LINE_REGIONS = ("F1", "F2", "F3", "Kl", "Kr")
LINE_KEYS = ("Mmax", "xMmax", "Mmin", "xMmin", "Vmax", "EIwMax", "xEIwMax", "EIwMin", "xEIwMin")
LINE_QUANTITIES = [f"{r}.{k}" for r in LINE_REGIONS for k in LINE_KEYS]
# The envelope of varno-calc's JSON, smallest and largest values.
# The governing values of the design (design.GoverningMoment, ...Shear).
DESIGN_QUANTITIES = ["design.GoverningMoment", "design.GoverningShear"]
ENVELOPE_QUANTITIES = [f"envelope.{q}.{m}" for q in ["MA", "MB", "MC", "MD", "MF1", "MF2", "MF3"]
                       + [s + side for s in SUPPORTS for side in ("li", "re")] + list(SUPPORTS)
                       for m in ("min", "max")]
KINDS = "gqsw"
SPAN_SLOTS = ((0, 7), (7, 14), (14, 21))   # first slot, end of slots of spans 1 to 3
LEFT_SLOTS = (21, 24)
RIGHT_SLOTS = (24, 27)


class InputError(ValueError):
    """A value of a beam that is not a number; the message names it."""


class Beam:
    """The values of one project file: lengths L1 L2 L3 Lkl Lkr, the uniform
    loads per kind and region (regions: span 1, 2, 3, left, right cantilever),
    27 point-load slots (a, F) and the two grade positions."""

    def __init__(self, lengths, loads, points, grades=(1, 0)):
        self.lengths = [_number(v, f"L[{i}]") for i, v in enumerate(lengths)]
        if len(self.lengths) != 5:
            raise InputError("the lengths need 5 values (L1, L2, L3, Lkl, Lkr)")
        self.loads = {}
        for k in KINDS:
            row = loads.get(k, [0] * 5)
            if len(row) != 5:
                raise InputError(f"the uniform load {k} needs 5 values (regions 1 to 5)")
            self.loads[k] = [_number(v, f"{k}[{i}]") for i, v in enumerate(row)]
        self.points = [(0.0, 0.0)] * 27
        for entry in points:
            if len(entry) != 3:
                raise InputError(f"point load {entry!r} is not [slot, a, F]")
            slot = entry[0]
            if not isinstance(slot, int) or not 0 <= slot < 27:
                raise InputError(f"point-load slot {slot!r} is not a slot number 0 to 26")
            self.points[slot] = (_number(entry[1], f"a of slot {slot}"), _number(entry[2], f"F of slot {slot}"))
        self.grades = grades

    @property
    def spans(self):
        L1, L2, L3 = self.lengths[:3]
        return 3 if L3 != 0 else 2 if L2 != 0 else 1

    def region_load(self, region):
        """Total uniform load g + q + s + w of region 1 to 5."""
        return sum(self.loads[k][region - 1] for k in KINDS)

    def lof_text(self):
        """The project file: 33 lines in 14-character zones, CR LF."""
        lines = [self.lengths] + [self.loads[k] for k in KINDS] + [list(p) for p in self.points]
        out = [_zones([_text(v) for v in line]) for line in lines]
        out.append(_zones([f"{g:2d}" if g < 0 else f" {g}" for g in self.grades]))
        return "".join(line + "\r\n" for line in out)

    def regions(self):
        """The existing regions as {name: (x of the left end, length)} on the
        axis of layout(): x from the region's left end, as the exact lines
        give it (from the free end of a left cantilever)."""
        Lkl, Lkr = self.lengths[3], self.lengths[4]
        out = {}
        x = 0.0
        if Lkl != 0:
            out["Kl"] = (0.0, Lkl)
        x = Lkl
        for j in range(self.spans):
            out[f"F{j + 1}"] = (x, self.lengths[j])
            x += self.lengths[j]
        if Lkr != 0:
            out["Kr"] = (x, Lkr)
        return out

    # The beam on one axis: x = 0 at the left end (the tip of a left cantilever).
    def layout(self):
        Lkl, Lkr = self.lengths[3], self.lengths[4]
        supports = [Lkl]
        for j in range(self.spans):
            supports.append(supports[-1] + self.lengths[j])
        forces = []     # (x, side, downward force)
        uniform = []    # (x0, x1, downward load per length)

        # A load right at a support stays in its region: side +1 puts it just
        # right of that point, -1 just left (a span load at a = 0 is part of
        # the shear right of the span's left support). A load outside its
        # region (a < 0 or a > its length) does not act, nor does one in a
        # region the beam does not have.
        def place(first, end, x0, x1, length):
            for slot in range(first, end):
                a, F = self.points[slot]
                if F != 0 and 0 <= a <= length:
                    x = x0 + a
                    forces.append((x, 1 if x == x0 else -1 if x == x1 else 0, F))

        if Lkl != 0:
            uniform.append((0.0, Lkl, self.region_load(4)))
            place(*LEFT_SLOTS, 0.0, Lkl, Lkl)
        for j in range(self.spans):
            uniform.append((supports[j], supports[j + 1], self.region_load(j + 1)))
            place(*SPAN_SLOTS[j], supports[j], supports[j + 1], self.lengths[j])
        if Lkr != 0:
            uniform.append((supports[-1], supports[-1] + Lkr, self.region_load(5)))
            place(*RIGHT_SLOTS, supports[-1], supports[-1] + Lkr, Lkr)
        return supports, 0.0, supports[-1] + Lkr, forces, uniform


def _number(value, name):
    if isinstance(value, bool) or not isinstance(value, (int, float)) or not math.isfinite(value):
        raise InputError(f"{name} = {value!r} is not a number")
    return float(value)


def _text(value):
    return str(int(value)) if value == int(value) and abs(value) < 1e15 else repr(value)


def _zones(texts):
    line = ""
    for text in texts[:-1]:
        line += text.ljust((len(text) // 14 + 1) * 14)
    return line + texts[-1]


# ---------------------------------------------------------------- random beams

def random_beam(rng):
    """A valid beam: 1 to 3 spans of 2 to 8 m, cantilevers of 0.5 to 3 m on
    none, one or both sides, uniform loads per kind and region (a fifth of
    them upward), up to seven point loads per span and three per cantilever
    (a fifth of them upward), strictly inside their region on a grid of
    0.1 m, in any row order with empty rows between them. Every span carries
    a downward load."""
    spans = rng.randint(1, 3)
    lengths = [rng.randint(20, 80) / 10 if j < spans else 0.0 for j in range(3)]
    sides = rng.choice(["none", "left", "right", "both"])
    lengths.append(rng.randint(5, 30) / 10 if sides in ("left", "both") else 0.0)
    lengths.append(rng.randint(5, 30) / 10 if sides in ("right", "both") else 0.0)

    def signed(value):
        return -value if rng.random() < 0.2 else value
    loads = {k: [rng.choice([0.0, signed(rng.randint(1, 100) / 10)]) for _ in range(5)] for k in KINDS}
    points = []
    regions = [(SPAN_SLOTS[j], lengths[j], 7) for j in range(spans)]
    regions += [(LEFT_SLOTS, lengths[3], 3), (RIGHT_SLOTS, lengths[4], 3)]
    for (first, end), length, most in regions:
        if length == 0:
            continue
        inside = range(1, round(length * 10))      # grid points strictly inside
        count = rng.randint(0, min(most, len(inside)))
        # Rows in any order, empty rows anywhere.
        slots = rng.sample(range(first, end), count)
        for slot, tenth in zip(slots, rng.sample(inside, count)):
            points.append([slot, tenth / 10, signed(rng.randint(1, 100) / 2)])
    # Every span carries a downward load, so that its point of zero shear exists.
    for j in range(spans):
        first, end = SPAN_SLOTS[j]
        has_point = any(first <= p[0] < end and p[2] > 0 for p in points)
        if not has_point and sum(loads[k][j] for k in KINDS) <= 0:
            loads["g"][j] = round(rng.randint(1, 100) / 10 - sum(loads[k][j] for k in KINDS), 1)
    return Beam(lengths, loads, points)


def random_beams(count, seed):
    rng = random.Random(seed)
    return [random_beam(rng) for _ in range(count)]


# ---------------------------------------------------------------- CalculiX

CCX_PACKAGE = "calculix-ccx"
# The section is 0.1 m square; a shear modulus 100 times Young's modulus
# makes the shear deformation of the quadratic beam elements negligible, so
# the elements bend as slender Euler-Bernoulli beams, the theory of the
# three-moment equation.
SECTION = 0.1
YOUNG = 2.1e8
SHEAR = 2.1e10
MAX_ELEMENT = 0.25


def find_ccx():
    path = shutil.which("ccx")
    if path is None:
        raise FileNotFoundError(f"CalculiX (ccx) not found: install the Debian package {CCX_PACKAGE} "
                                f"(apt-get install {CCX_PACKAGE})")
    return path


# Bending stiffness of the deck's section, kN*m2: EI*w = -EI * u2.
STIFFNESS = YOUNG * SECTION ** 4 / 12
# Extra nodes closer than this to another node are left out: the deflection
# there differs from that of the node beside it by nothing measurable.
NODE_GAP = 1e-6


def deck(beam, extra=()):
    """The CalculiX deck of the beam and, per support, its node and the load
    that the deck puts on that node (CalculiX leaves it out of the reaction).
    `extra`: further places (m on the axis of layout()) that get a node."""
    supports, x_start, x_end, forces, uniform = beam.layout()
    keys = sorted({x_start, x_end, *supports, *(x for x, _, _ in forces)})
    for x in sorted(extra):
        if x_start < x < x_end and all(abs(x - k) > NODE_GAP for k in keys):
            keys = sorted(keys + [x])
    nodes = [keys[0]]
    elements = []
    for x0, x1 in zip(keys, keys[1:]):
        parts = max(1, math.ceil((x1 - x0) / MAX_ELEMENT - 1e-9))
        for i in range(parts):
            a = x0 + (x1 - x0) * i / parts
            b = x1 if i == parts - 1 else x0 + (x1 - x0) * (i + 1) / parts
            nodes += [(a + b) / 2, b]
            elements.append((len(nodes) - 2, len(nodes) - 1, len(nodes)))
    node_of = {x: nodes.index(x) + 1 for x in keys}
    load = [0.0] * (len(nodes) + 1)
    for x, _, F in forces:
        load[node_of[x]] += F
    for n0, nm, n1 in elements:
        x0, x1 = nodes[n0 - 1], nodes[n1 - 1]
        # Consistent nodal loads of a quadratic element under a uniform load.
        p = sum(q * max(0.0, min(x1, b) - max(x0, a)) for a, b, q in uniform if a <= x0 and x1 <= b)
        load[n0] += p / 6
        load[nm] += 4 * p / 6
        load[n1] += p / 6
    out = ["*HEADING", "beam of a continuous-beam verification", "*NODE, NSET=NALL"]
    out += [f"{i + 1}, {x!r}, 0, 0" for i, x in enumerate(nodes)]
    out.append("*ELEMENT, TYPE=B32R, ELSET=EALL")
    out += [f"{e + 1}, {n0}, {nm}, {n1}" for e, (n0, nm, n1) in enumerate(elements)]
    out += ["*MATERIAL, NAME=BEAM", "*ELASTIC, TYPE=ENGINEERING CONSTANTS",
            f"{YOUNG}, {YOUNG}, {YOUNG}, 0., 0., 0., {SHEAR}, {SHEAR},", f"{SHEAR}",
            "*BEAM SECTION, ELSET=EALL, MATERIAL=BEAM, SECTION=RECT", f"{SECTION}, {SECTION}", "0., 0., 1."]
    support_nodes = [node_of[x] for x in supports]
    out.append("*NSET, NSET=SUP")
    out.append(", ".join(str(n) for n in support_nodes))
    out += ["*BOUNDARY", "NALL, 3, 3", f"{support_nodes[0]}, 1, 2"]
    out += [f"{n}, 2, 2" for n in support_nodes[1:]]
    out += ["*STEP", "*STATIC", "*CLOAD"]
    # CalculiX reads at most 20 characters per field: 15 significant digits.
    out += [f"{n}, 2, {-load[n]:.15g}" for n in range(1, len(nodes) + 1) if load[n] != 0]
    out += ["*NODE PRINT, NSET=SUP", "RF", "*NODE PRINT, NSET=NALL", "U", "*END STEP"]
    return "\n".join(out) + "\n", [(n, load[n]) for n in support_nodes]


def run_ccx(ccx, beam, folder, name):
    """Runs CalculiX on the beam in `folder`; returns the support reactions
    (upward positive) in the order of the supports."""
    return run_ccx_full(ccx, beam, folder, name)[0]


def run_ccx_full(ccx, beam, folder, name, extra=()):
    """As run_ccx, and the deflection line: (x, EI*w) of every node in
    order of x, downward positive; `extra` as for deck()."""
    text, supports = deck(beam, extra)
    with open(os.path.join(folder, name + ".inp"), "w") as f:
        f.write(text)
    env = dict(os.environ, OMP_NUM_THREADS="1", CCX_NPROC_STIFFNESS="1", CCX_NPROC_EQUATION_SOLVER="1")
    done = subprocess.run([ccx, name], cwd=folder, env=env, capture_output=True, text=True)
    dat = os.path.join(folder, name + ".dat")
    if done.returncode != 0 or not os.path.exists(dat):
        raise RuntimeError(f"CalculiX failed on {name}.inp: {done.stdout[-400:]}{done.stderr[-400:]}")
    rf, u = {}, {}
    block = None
    with open(dat) as f:
        for line in f:
            fields = line.split()
            if "forces" in line:
                block = rf
            elif "displacements" in line:
                block = u
            elif block is not None and len(fields) == 4 and fields[0].isdigit():
                block[int(fields[0])] = float(fields[2])
    if any(n not in rf for n, _ in supports):
        raise RuntimeError(f"CalculiX printed no reaction for every support of {name}.inp")
    xs = [float(line.split(",")[1]) for line in text.split("*NODE, NSET=NALL\n")[1].split("*")[0].splitlines()]
    line = sorted((x, -STIFFNESS * u[i + 1]) for i, x in enumerate(xs) if i + 1 in u)
    return [rf[n] + applied for n, applied in supports], line


def deflection_at(line, x):
    """EI*w of the node nearest to x."""
    return min(line, key=lambda node: abs(node[0] - x))[1]


# ---------------------------------------------------------------- equilibrium

def internal_forces(beam, reactions):
    """Support moments, shears either side of each support, reactions and
    the span maxima (where the point of zero shear is unique and strictly
    inside the span) of the beam under its loads and the given reactions."""
    supports, _, _, forces, uniform = beam.layout()
    # Upward point forces: reactions and (negative) point loads.
    points = [(x, 0, R) for x, R in zip(supports, reactions)] + [(x, side, -F) for x, side, F in forces]

    # Each value follows from the forces on either side of the cut. The side
    # whose reactions weigh less carries less of CalculiX's rounding.
    def weight(x, left, arm):
        return sum(abs(R) * (abs(x - xr) if arm else 1) for xr, R in zip(supports, reactions)
                   if (xr < x if left else xr > x))

    def shear(x, right):
        def on_left(xp, side):
            return xp < x or (xp == x and side <= (0 if right else -1))
        v_left = (sum(P for xp, side, P in points if on_left(xp, side))
                  - sum(q * (min(x, b) - a) for a, b, q in uniform if x > a))
        v_right = (-sum(P for xp, side, P in points if not on_left(xp, side))
                   + sum(q * (b - max(x, a)) for a, b, q in uniform if x < b))
        return v_left if weight(x, True, False) <= weight(x, False, False) else v_right

    def moment(x):
        if weight(x, True, True) <= weight(x, False, True):
            m = sum(P * (x - xp) for xp, _, P in points if xp < x)
            return m - sum(q * (min(x, b) - a) * (x - (a + min(x, b)) / 2) for a, b, q in uniform if x > a)
        m = sum(P * (xp - x) for xp, _, P in points if xp > x)
        return m - sum(q * (b - max(x, a)) * ((max(x, a) + b) / 2 - x) for a, b, q in uniform if x < b)

    out = {}
    for name, x, R in zip(SUPPORTS, supports, reactions):
        out["M" + name] = moment(x)
        out[name + "li"] = shear(x, False)
        out[name + "re"] = shear(x, True)
        out[name] = R
    out["Vmax"] = max(abs(v) for k, v in out.items() if k[0] in SUPPORTS)
    maxima = [abs(out["M" + name]) for name in SUPPORTS[:len(supports)]]
    maxima += [abs(moment(x)) for x, _, _ in forces]
    for j in range(len(supports) - 1):
        x0, x1 = supports[j], supports[j + 1]
        q = next(q for a, b, q in uniform if a == x0 and b == x1)
        inside = sorted(x for x, _, _ in forces if x0 < x < x1)
        # Shear just right and just left of every break point, in order.
        walk = [shear(x0, True) - sum(F for x, side, F in forces if x == x0 and side == 1)]
        for x in inside:
            walk += [shear(x, False), shear(x, True)]
        walk.append(shear(x1, False))
        zero = _unique_zero(walk, [x0] + [x for x in inside for _ in (0, 1)] + [x1], q, out["Vmax"])
        if zero is not None:
            out[f"MF{j + 1}"] = moment(zero)
            out[f"xF{j + 1}"] = zero - x0
            maxima.append(abs(out[f"MF{j + 1}"]))
    out["Mmax"] = max(maxima)
    return out


def _unique_zero(walk, at, q, scale):
    """The point where the shear changes sign from + to -, if there is
    exactly one such change and the shear is nowhere close to 0."""
    if any(abs(v) <= 1e-6 * scale for v in walk):
        return None
    signs = [v > 0 for v in walk]
    changes = sum(1 for s, t in zip(signs, signs[1:]) if s != t)
    if not signs[0] or signs[-1] or changes != 1:
        return None
    i = signs.index(False)
    if at[i - 1] == at[i]:          # the jump at a point load
        return at[i]
    return at[i - 1] + walk[i - 1] / q
