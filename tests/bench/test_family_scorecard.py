"""The many-family scorecard judges the converter: its truth readers and its matching must be
right, or every figure tuned against it is wrong."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "bench"))

import corpus_truth  # noqa: E402
import family_scorecard  # noqa: E402


class FakeBook:
    def __init__(self, title, headings, items=(), blocks=()):
        self.title = title
        self.headings = list(headings)
        self.items = list(items)
        self.blocks = [list(lines) for _, lines in blocks]
        self.block_tags = [tag for tag, _ in blocks]
        self.text_parts = [" ".join(t for _, t in headings)] + ["\n".join(lines) for _, lines in blocks]


class TruthReaders(unittest.TestCase):
    def test_html_page_closes_paragraphs_and_items_as_browsers_do(self):
        page = """<html><head><title>Guide &amp; Notes</title><style>h1{}</style></head><body>
            <h1>1. Start</h1><p>First paragraph
            <p>Second <b>one</b><ul><li>outer<ul><li>inner</li></ul><li><p>item para</p></ul>
            <h2>1.1. Next</h2><pre>line one\n  line two\n\n</pre><script>var h2 = 1;</script></body></html>"""
        truth = corpus_truth.html_truth(page)
        self.assertEqual(truth["title"], "Guide & Notes")
        self.assertEqual(truth["headings"], [[1, "1. Start"], [2, "1.1. Next"]])
        self.assertEqual(truth["items"], ["outer", "inner", "item para"])
        self.assertEqual(truth["paragraphs"], ["First paragraph", "Second one"])
        self.assertEqual(truth["verbatim"], [["line one", "  line two"]])

    def test_info_nodes_give_levels_by_underline_and_skip_menus(self):
        raw = ("This is x.info, produced by makeinfo.\n\x1f\n"
               "File: x.info,  Node: Top,  Next: Intro,  Up: (dir)\n\nManual\n******\n\nAbout it.\n\n"
               "* Menu:\n\n* Intro::     The start.\n\n"
               "\x1f\nFile: x.info,  Node: Intro,  Prev: Top,  Up: Top\n\n1 Intro\n*******\n\n"
               "Text of the\nchapter.\n\n   • first point\n   • second point\n\n"
               "1.1 Detail\n==========\n\n     example line\n\n"
               "\x1f\nTag Table:\nNode: Top\x7f27\n\x1f\nEnd Tag Table\n")
        truth = corpus_truth.info_truth(raw)
        self.assertEqual(truth["title"], "Manual")
        self.assertEqual(truth["headings"], [[0, "Manual"], [1, "1 Intro"], [2, "1.1 Detail"]])
        self.assertEqual(truth["items"], ["first point", "second point"])
        self.assertEqual(truth["paragraphs"], ["About it.", "Text of the chapter."])

    def test_pandoc_tree_lifts_title_and_reads_lists_and_code(self):
        def words(text):
            out = []
            for i, w in enumerate(text.split(" ")):
                if i:
                    out.append({"t": "Space"})
                out.append({"t": "Str", "c": w})
            return out

        doc = {"meta": {"title": {"t": "MetaInlines", "c": words("The Tool")}}, "blocks": [
            {"t": "Header", "c": [1, ["", [], []], [{"t": "Code", "c": [["", [], []], "tool"]}]]},
            {"t": "Para", "c": words("Some") + [{"t": "SoftBreak"}, {"t": "Emph", "c": words("words here")}]},
            {"t": "BulletList", "c": [[{"t": "Plain", "c": words("one")}],
                                      [{"t": "Para", "c": words("two")}, {"t": "Para", "c": words("more")}]]},
            {"t": "CodeBlock", "c": [["", [], []], "a = 1\n\nb = 2\n"]},
        ]}
        truth = corpus_truth.pandoc_tree_truth(doc)
        self.assertEqual(truth["title"], "The Tool")
        self.assertEqual(truth["headings"], [[0, "The Tool"], [1, "tool"]])
        self.assertEqual(truth["paragraphs"], ["Some words here"])
        self.assertEqual(truth["items"], ["one", "two"])
        self.assertEqual(truth["verbatim"], [["a = 1", "b = 2"]])


class Matching(unittest.TestCase):
    def test_headings_match_forgivingly_but_not_loosely(self):
        cases = [
            ("4.1. `control`", "4.1. control", True),
            ("[12]Installing Postfix", "Installing Postfix", True),
            ("CHAPTER 2. SETUP", "Chapter 2. Setup", True),
            ("第4章 debian/ ディレクトリー", "第4章 debian/ ディレクトリー以下", True),
            ("Intro", "Introduction to the system", False),
            ("", "", False),
        ]
        for a, b, expected in cases:
            with self.subTest(a=a, b=b):
                sa, sb = family_scorecard.skeleton(a), family_scorecard.skeleton(b)
                self.assertEqual(family_scorecard.same_heading(sa, sb), expected)

    def test_score_counts_each_fault_once(self):
        long_para = "word " * 40
        truth = {"title": "The Guide", "headings": [[1, "1. Start"], [2, "1.1. Next"], [2, "1.2. Last"]],
                 "items": ["first item", "missing item text"],
                 "paragraphs": [long_para.strip(), ("other " * 40).strip()],
                 "verbatim": [["keep this line", "and this one"]]}
        book = FakeBook("The Guide", [
            (1, "The Guide"),  # the title page heading: neither right nor wrong
            (2, "1.1. Next"),  # a contents line made a heading: the real one follows
            (1, "1. Start"), (2, "1.1. Next"), (1, "1.2. Last"), (2, "Not a heading")],
            items=["• first item"],
            blocks=[("p", [long_para]), ("p", ["other " * 20, "other " * 20]),
                    ("p", ["keep this line", "and this one"]), ("p", ["======"]),
                    ("h2", ["## Title"]), ("p", ["* stray marker"]), ("pre", ["======"])])
        counts, notes = family_scorecard.score("ΩΩ ψ 9 1.", truth, book)
        self.assertEqual((counts["book_heads_ok"], counts["book_heads"]), (3, 5))
        self.assertEqual((counts["truth_heads_found"], counts["truth_heads"]), (3, 3))
        self.assertEqual((counts["pairs_ok"], counts["pairs"]), (1, 2))
        self.assertEqual((counts["items_found"], counts["items"]), (1, 2))
        self.assertEqual((counts["paras_joined"], counts["paras"]), (1, 2))
        self.assertEqual((counts["verbatim_kept"], counts["verbatim"]), (2, 2))
        self.assertEqual(counts["residue"], 3)
        self.assertEqual(sorted(k for k in notes if k in ("decoration line", "decorated heading",
                                                          "marker on a paragraph")),
                         ["decorated heading", "decoration line", "marker on a paragraph"])
        self.assertEqual((counts["lost"], counts["chars"]), (4, 5))  # 1 is in the book
        self.assertEqual((counts["title_ok"], counts["titled"]), (1, 1))


if __name__ == "__main__":
    unittest.main()
