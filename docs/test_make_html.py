# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The links of the installed HTML pages (make_html.py)."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_html  # noqa: E402


class InstalledLinks(unittest.TestCase):
    def page(self, markdown, pages, links=None):
        body = make_html.relink(make_html.convert(markdown), links or {})
        return make_html.link_pages(body, set(pages))

    def test_a_page_links_to_the_html_of_another_page(self):
        body = self.page("[Regeln](eurocode.md#werte-und-quellen) und [JSON](json.md)",
                         ["eurocode.md", "json.md"])
        self.assertIn('href="eurocode.html#werte-und-quellen"', body)
        self.assertIn('href="json.html"', body)
        self.assertEqual(make_html.unpaged_documents(body), [])

    def test_a_document_that_is_no_page_is_named(self):
        body = self.page("[Guide](handbuch.md) and [Checks](verification-eurocode.md)", ["handbuch.md"])
        problems = make_html.unpaged_documents(body)
        self.assertEqual(len(problems), 1)
        self.assertIn("verification-eurocode.md", problems[0])

    def test_a_file_given_by_link_is_kept(self):
        links = {"../data/eurocode/SOURCES.md": "SOURCES-eurocode.md"}
        body = self.page("[Quellen](../data/eurocode/SOURCES.md)", [], links)
        self.assertIn('href="SOURCES-eurocode.md"', body)
        self.assertEqual(make_html.unpaged_documents(body, set(links.values())), [])


if __name__ == "__main__":
    unittest.main()
