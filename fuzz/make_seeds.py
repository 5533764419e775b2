#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpora of the design, analysis and project document targets.

Both targets decode their input with libFuzzer's FuzzedDataProvider: choices
and numbers are taken from the end of the input, texts from the front. This
script lays out a few meaningful inputs in that form. Run it from the
repository root; it overwrites the seeds it writes and nothing else.
"""
import os
import re
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class Back:
    """Bytes taken from the end, in the order the target consumes them."""

    def __init__(self):
        self.bytes = []

    def small(self, value):          # ConsumeIntegralInRange over fewer than 256 values
        self.bytes.append(value)

    def uint64(self, value):         # most significant byte is taken first
        for shift in range(56, -8, -8):
            self.bytes.append((value >> shift) & 0xFF)

    def tail(self):
        return bytes(reversed(self.bytes))


def text(s):
    """A text for ConsumeRandomLengthString, ended by a backslash pair."""
    return s.encode('latin-1').replace(b'\\', b'\\\\') + b'\\\n'


def write(folder, name, data):
    path = os.path.join(ROOT, 'fuzz', 'corpus', folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), 'wb') as f:
        f.write(data)


# --- analysis -------------------------------------------------------------
source = open(os.path.join(ROOT, 'fuzz', 'fuzz_analysis.cpp')).read()
block = source[source.index('Specials[] = {'):]
block = block[:block.index('};')]
specials = re.findall(r'"([^"]*)"', block)


def analysis_seed(lengths, loads=None, points=None, german=False):
    """lengths: five texts or None (default); loads: {(region, type): text};
    points: {slot: (force, distance)}. Every text must be one of the specials."""
    back = Back()
    pick = lambda t: back.small(0 if t is None else specials.index(t) + 1)
    for t in lengths:
        pick(t)
    loads = loads or {}
    for r in range(5):
        for k in range(4):
            pick(loads.get((r, k)))
    points = points or {}
    for slot in range(27):
        f, a = points.get(slot, (None, None))
        pick(f)
        pick(a)
    back.small(1 if german else 0)
    return back.tail()


write('analysis', 'defaults', analysis_seed([None] * 5))
write('analysis', 'three_spans_cantilevers',
      analysis_seed(['5', '5', '5', '-1', '0.5'], {(3, 1): '5', (4, 2): '12.5'},
                    {0: ('100', '0.5'), 8: ('-5', '5'), 15: ('5', '12.5'), 21: ('+7', '.5'), 24: ('5', '-1')},
                    german=True))
write('analysis', 'l3_without_l2', analysis_seed(['5', '0', '5', None, None]))
write('analysis', 'all_lengths_zero', analysis_seed(['0', '0', '0', '0', '0']))
write('analysis', 'huge', analysis_seed(['1e308', '1e-308', None, '1.7976931348623157e308', None],
                                        {(0, 0): '1e308', (1, 1): '1e309'}, {3: ('1e154', '1e-154')}))
write('analysis', 'no_loads', analysis_seed([None, '0', None, None, None],
                                            {(r, k): '0' for r in range(5) for k in range(4)}))

# --- design ---------------------------------------------------------------
material = open(os.path.join(ROOT, 'data', 'wert2.txt'), 'rb').read().decode('latin-1')
profiles = open(os.path.join(ROOT, 'data', 'wert3.txt'), 'rb').read()


def design_seed(results, series=1, timber=1, steel=0, german=False, fields=None,
                material_text=material, profile_bytes=profiles):
    """results: 28 values in -1000..1000 (None = 0), in ResultSet order."""
    back = Back()
    for v in results:
        if v is None:
            back.small(0)
        else:
            back.small(1)
            back.uint64(int((v + 1000) / 2000 * (2**64 - 1)))
    back.small(series + 1)
    back.small(timber + 1)
    back.small(steel + 1)
    back.small(1 if german else 0)
    back.small(0 if fields else 1)
    front = b''
    if fields:
        front += b''.join(text(f) for f in fields)
    front += text(material_text)
    return front + profile_bytes + back.tail()


# A two-span beam of 6 m with g = 2 kN/m: lengths, moments, xF, shears, EI terms.
two_spans = [6, 6, None, None, None, None, -9, None, None, 5.06, 5.06, None,
             2.25, 3.75, None, None, 4.5, -7.5, 7.5, -4.5, None, None, None,
             11.7, 11.7, None, None, None]
write('design', 'two_spans', design_seed(two_spans))
write('design', 'ipe_german', design_seed(two_spans, series=0, timber=9, steel=2, german=True,
                                          fields=['12.5', '500', '250']))
write('design', 'heb_width_zero', design_seed(two_spans, series=2, fields=['0', '300', '-150']))
write('design', 'short_tables', design_seed(two_spans, material_text='\n'.join(material.splitlines()[:4]),
                                            profile_bytes=b'  1\r\n'))
write('design', 'nothing_loaded', design_seed([None] * 28))


# --- project document -----------------------------------------------------
import copy
import json

REGIONS = ['F1', 'F2', 'F3', 'Kl', 'Kr']
LIMITS = ['timber.span.w_inst', 'timber.cantilever.w_inst', 'timber.span.w_fin', 'timber.cantilever.w_fin',
          'timber.span.w_net_fin', 'timber.cantilever.w_net_fin', 'steel.span.w', 'steel.cantilever.w']


def project_document():
    """The state of a program just started, as the document holds it."""
    return {
        'format': 'varno-projekt', 'version': '1.0', 'systemName': '',
        'lengths': {'L1': '6.00', 'L2': '6.00', 'L3': '5.00', 'Lkl': '0.00', 'Lkr': '0.00'},
        'uniformLoads': {k: dict({r: ('2.00' if k == 'g' else '0.00') for r in REGIONS}, sameForAll=True)
                         for k in 'gqsw'},
        'pointLoads': {r: [{'F': '0', 'a': '0'} for _ in range(7 if r.startswith('F') else 3)] for r in REGIONS},
        'material': {'timberGrade': 1, 'steelGrade': 0},
        'projectInfo': {'firma': 'Geben Sie hier Ihren Firmennamen ein', 'projekt': 'Neubau EFH',
                        'position': 'Decke \u00fcber EG', 'beschreibung': '', 'bearbeiter': ''},
        'resultsWindow': {'width': '8.0', 'spanLimit': '300', 'cantileverLimit': '150', 'series': 'HE-A'},
        'eurocode': {'timberClass': None, 'serviceClass': 1, 'width': '8.0', 'height': '', 'steelGrade': None,
                     'series': 'HE-A', 'profile': None, 'imposedCategory': 'A', 'snowAltitude': 'low',
                     'pointLoads': 'g', 'limits': {name: None for name in LIMITS}, 'diagram': 'moment'},
    }


def document_seed(change=None):
    doc = project_document()
    if change:
        change(doc)
    return json.dumps(doc, ensure_ascii=False, indent=1).encode('utf-8')


def every_setting(doc):
    doc['systemName'] = 'Zweifelträger'
    doc['lengths'].update(L1='4.5', L2='5,5', L3='0.00', Lkr='1.25')
    doc['uniformLoads']['q'].update(sameForAll=False, F2='3.5', Kr='1 000')
    doc['pointLoads']['F1'][2] = {'F': '12', 'a': '2.5'}
    doc['pointLoads']['Kr'][0] = {'F': '-4\t', 'a': ''}
    doc['material'] = {'timberGrade': 13, 'steelGrade': 2}
    doc['projectInfo']['firma'] = 'Zimmerei Muster GmbH\nAbteilung Statik'
    doc['resultsWindow'] = {'width': '12', 'spanLimit': '500', 'cantileverLimit': '250', 'series': 'IPE'}
    doc['eurocode'].update(timberClass='C30', serviceClass=2, width='10', height='24', steelGrade='S355',
                           series='HE-B', profile='HE 200 B', imposedCategory='C', snowAltitude='high',
                           pointLoads='q', diagram='deflectionSteel')
    doc['eurocode']['limits']['steel.span.w'] = '250'


write('projectdocument', 'defaults', document_seed())
write('projectdocument', 'every_setting', document_seed(every_setting))
write('projectdocument', 'newer_minor', document_seed(lambda d: d.update(version='1.3', loadCases=[])))
write('projectdocument', 'newer_major', document_seed(lambda d: d.update(version='2.0')))
write('projectdocument', 'wrong_type', document_seed(lambda d: d['lengths'].update(L2=6)))
write('projectdocument', 'grade_outside', document_seed(lambda d: d['material'].update(timberGrade=14)))
write('projectdocument', 'short_list', document_seed(lambda d: d['pointLoads']['Kl'].pop()))
write('projectdocument', 'control_character', document_seed(lambda d: d['projectInfo'].update(bearbeiter='\x01')))
write('projectdocument', 'truncated', document_seed()[:200])
