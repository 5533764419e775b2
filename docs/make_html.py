#!/usr/bin/python3
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a Markdown document of the user guide as one HTML page.

    make_html.py IN.md OUT.html [--title TITLE] [--link FROM=TO ...] [--page NAME.md ...]

Tables and heading anchors as the Markdown of the sources shows them (an
anchor is the heading in lower case, blanks as "-", umlauts kept), so the
links of the table of contents work in the page too. Fails (exit 1) when a
link to an anchor of the page or to a picture beside it finds nothing:
a guide whose links lead nowhere is not installed. --link FROM=TO points a
link of the source tree to where the installed page finds its target.
--page NAME.md names a document that is installed as HTML beside this one:
a link to it (with or without an anchor) leads to NAME.html. Any other
link to a Markdown document that --link does not name fails: the
installed pages link to each other's HTML.
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


def relink(body, links):
    """The page with each link FROM pointing to TO instead."""
    for source, installed in links.items():
        body = body.replace(f'href="{html.escape(source)}"', f'href="{html.escape(installed)}"')
    return body


def link_pages(body, pages):
    """The page with each link to a document of `pages` (NAME.md, anchor
    kept) pointing to its HTML page NAME.html."""
    def html_page(match):
        target = html.unescape(match.group(2))
        path, hash_, anchor = target.partition("#")
        if path in pages:
            target = path[:-len(".md")] + ".html" + hash_ + anchor
        return match.group(1) + html.escape(target) + '"'
    return re.sub(r'(href=")([^"]+)"', html_page, body)


def unpaged_documents(body, installed=()):
    """Local links that still lead to a Markdown document; the targets in
    `installed` are given by --link."""
    problems = []
    for target in re.findall(r'href="([^"]+)"', body):
        path = html.unescape(target).split("#")[0]
        if path.endswith(".md") and path not in installed and not re.match(r"^[a-z]+:", path):
            problems.append("link to " + path + ", which is not installed as an HTML page (--page)")
    return problems


def broken_links(body, folder, installed=()):
    """Anchors and local files the page links to but does not have; the
    targets in `installed` are given by --link and not looked for here."""
    ids = set(re.findall(r'id="([^"]+)"', body))
    problems = []
    for target in re.findall(r'(?:href|src)="([^"]+)"', body):
        target = html.unescape(target)
        if target in installed:
            continue
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
    parser.add_argument("--title", help="default: the document's first heading")
    parser.add_argument("--link", action="append", default=[], metavar="FROM=TO")
    parser.add_argument("--page", action="append", default=[], metavar="NAME.md")
    args = parser.parse_args()
    links = dict(item.split("=", 1) for item in args.link)

    with open(args.source, encoding="utf-8") as f:
        text = f.read()
    heading = re.search(r"^# (.+)$", text, re.M)
    title = args.title or (heading.group(1) if heading else os.path.basename(args.source))
    body = convert(text)
    problems = broken_links(body, os.path.dirname(os.path.abspath(args.source)))
    body = link_pages(relink(body, links), set(args.page))
    problems += unpaged_documents(body, set(links.values()))
    if problems:
        for p in problems:
            print(f"{args.source}: {p}", file=sys.stderr)
        return 1
    with open(args.output, "w", encoding="utf-8") as f:
        f.write(PAGE.format(title=html.escape(title), body=body))
    return 0


if __name__ == "__main__":
    sys.exit(main())
