#!/usr/bin/python3
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a Markdown document of the user guide as one HTML page.

    make_html.py IN.md OUT.html [--title TITLE]

Tables and heading anchors as the Markdown of the sources shows them (an
anchor is the heading in lower case, blanks as "-", umlauts kept), so the
links of the table of contents work in the page too. Fails (exit 1) when a
link to an anchor of the page or to a picture beside it finds nothing:
a guide whose links lead nowhere is not installed.
"""

import argparse
import html
import os
import re
import sys

import markdown
from markdown.extensions.toc import slugify_unicode

PAGE = """<!DOCTYPE html>
<html lang="de">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; line-height: 1.45; }}
table {{ border-collapse: collapse; margin: 1em 0; }}
th, td {{ border: 1px solid #888; padding: 0.25em 0.5em; vertical-align: top; text-align: left; }}
img {{ max-width: 100%; border: 1px solid #ccc; }}
code, pre {{ background: #f4f4f4; }}
pre {{ padding: 0.5em; overflow-x: auto; }}
</style>
</head>
<body>
{body}
</body>
</html>
"""


def convert(text):
    md = markdown.Markdown(extensions=["tables", "fenced_code", "toc"],
                           extension_configs={"toc": {"slugify": slugify_unicode}})
    return md.convert(text)


def broken_links(body, folder):
    """Anchors and local files the page links to but does not have."""
    ids = set(re.findall(r'id="([^"]+)"', body))
    problems = []
    for target in re.findall(r'(?:href|src)="([^"]+)"', body):
        target = html.unescape(target)
        if target.startswith("#"):
            if target[1:] not in ids:
                problems.append("no heading for the link " + target)
        elif not re.match(r"^[a-z]+:", target):
            path = os.path.join(folder, target.split("#")[0])
            if not os.path.exists(path):
                problems.append("no file " + target)
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("output")
    parser.add_argument("--title", default="Varno – Handbuch")
    args = parser.parse_args()

    with open(args.source, encoding="utf-8") as f:
        body = convert(f.read())
    problems = broken_links(body, os.path.dirname(os.path.abspath(args.source)))
    if problems:
        for p in problems:
            print(f"{args.source}: {p}", file=sys.stderr)
        return 1
    with open(args.output, "w", encoding="utf-8") as f:
        f.write(PAGE.format(title=html.escape(args.title), body=body))
    return 0


if __name__ == "__main__":
    sys.exit(main())
