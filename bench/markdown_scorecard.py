#!/usr/bin/env python3
"""Scorecard of the books made from real Markdown, with pandoc's reading as the truth.

Each file of a corpus (see scripts/markdown-corpus.sh) is staged as the window stages it
(stage_text) and converted by the converter tool; the book is then read back and held against
what `pandoc -f gfm -t json` reads in the same file (its front matter taken off first, as ours
is):

  headings   headings found as h1..h6, and those of levels 1-3 found in the contents
  links      external links (http, https, mailto) found as links
  code       code blocks found as pre
  items      list items found as li
  tables     tables found as table
  emphasis   emphasis, strong and strikethrough found as em, strong and del/s
  syntax     Markdown syntax in the book's text outside code that pandoc's text has not
  text       pandoc's words (text, code, alternative texts) found in the book
  epubcheck  errors and warnings

Each share is what was found of what pandoc found, summed over the files. The files are split
into two halves by a hash of their names: tune on "dev", report "held" (--half).

  markdown_scorecard.py --bin BUILD/bin --corpus DIR [--half dev|held|all] [--details N]
                        [--no-epubcheck]
"""

import argparse
import collections
import json
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile
import zlib

XHTML = "{http://www.w3.org/1999/xhtml}"
OPF = "{http://www.idpf.org/2007/opf}"
EPUB_NS = "{http://www.idpf.org/2007/ops}"
EPUBCHECK = "/usr/share/java/epubcheck.jar"
EXTERNAL = ("http://", "https://", "mailto:")
FRONT_MATTER = re.compile(r"\A(?:\ufeff)?---[ \t]*\r?\n.*?\r?\n(?:---|\.\.\.)[ \t]*(?:\r?\n|\Z)",
                          re.S)
WORD = re.compile(r"\w+")
# Markdown syntax that a reader should never see outside code.
SYNTAX = {
    "strong": re.compile(r"(?:^|\s)\*\*\S"),
    "link": re.compile(r"\]\((?:https?:|mailto:|[\w./#-]+\))"),
    "image": re.compile(r"!\[[^\]]*\]\("),
    "fence": re.compile(r"```|~~~"),
    "heading": re.compile(r"^\s*#{1,6}\s+\S"),
    "table": re.compile(r"\|\s*:?-{3,}:?\s*\|"),
}
KEYS = ("headings", "contents", "links", "code", "items", "tables", "emphasis")


class Counts:
    def __init__(self):
        self.n = collections.Counter()
        self.words = collections.Counter()
        self.syntax = collections.Counter()


def count_syntax(blocks_text, counter):
    for text in blocks_text:
        for name, pattern in SYNTAX.items():
            counter[name] += len(pattern.findall(text))


def truth_of(path):
    """What pandoc reads in the file."""
    with open(path, encoding="utf-8", errors="replace") as f:
        source = FRONT_MATTER.sub("", f.read(), count=1)
    run = subprocess.run(["pandoc", "-f", "gfm", "-t", "json"], input=source,
                         capture_output=True, text=True, check=True)
    doc = json.loads(run.stdout)
    counts = Counts()
    block_texts = []
    seen_notes = set()

    def inline_text(inlines, out, in_code=False):
        for node in inlines:
            t, c = node.get("t"), node.get("c")
            if t == "Str":
                out.append(c)
                counts.words.update(w.lower() for w in WORD.findall(c))
            elif t in ("Space", "SoftBreak", "LineBreak"):
                out.append(" ")
            elif t == "Code":
                counts.words.update(w.lower() for w in WORD.findall(c[1]))
            elif t in ("Emph", "Strong", "Strikeout"):
                counts.n["emphasis"] += 1
                inline_text(c, out)
            elif t == "Link":
                if c[2][0].startswith(EXTERNAL):
                    counts.n["links"] += 1
                inline_text(c[1], out)
            elif t == "Image":
                inline_text(c[1], out)
            elif t == "Note":
                # pandoc repeats a footnote at every reference to it; the book holds it once.
                key = json.dumps(c, sort_keys=True)
                if key not in seen_notes:
                    seen_notes.add(key)
                    walk(c)
            elif isinstance(c, list):
                walk(c, out)

    def walk(node, out=None):
        if isinstance(node, list):
            for x in node:
                walk(x, out)
            return
        if not isinstance(node, dict):
            return
        t, c = node.get("t"), node.get("c")
        if t in ("Para", "Plain"):
            texts = []
            inline_text(c, texts)
            block_texts.append("".join(texts))
        elif t == "Header":
            counts.n["headings"] += 1
            if c[0] <= 3:
                counts.n["contents"] += 1
            texts = []
            inline_text(c[2], texts)
            block_texts.append("".join(texts))
        elif t == "CodeBlock":
            counts.n["code"] += 1
            counts.words.update(w.lower() for w in WORD.findall(c[1]))
        elif t == "BulletList":
            counts.n["items"] += len(c)
            walk(c)
        elif t == "OrderedList":
            counts.n["items"] += len(c[1])
            walk(c[1])
        elif t == "Table":
            counts.n["tables"] += 1
            walk(c)
        elif t in ("RawBlock", "RawInline"):
            return
        elif t in ("Str", "Emph", "Strong", "Strikeout", "Link", "Image", "Code"):
            texts = []
            inline_text([node], texts)
            block_texts.append("".join(texts))
        elif c is not None:
            walk(c)

    walk(doc["blocks"])
    count_syntax(block_texts, counts.syntax)
    return counts


def book_of(path):
    """What a reader finds in the book."""
    counts = Counts()
    block_texts = []
    with zipfile.ZipFile(path) as z:
        opf_name = next(n for n in z.namelist() if n.endswith(".opf"))
        opf = ET.fromstring(z.read(opf_name))
        base = os.path.dirname(opf_name)
        items = {i.get("id"): i for i in opf.iter(OPF + "item")}
        nav = next((i for i in items.values() if "nav" in (i.get("properties") or "").split()),
                   None)
        spine = [items[r.get("idref")] for r in opf.iter(OPF + "itemref")]
        for item in spine:
            if item is nav:
                continue
            root = ET.fromstring(z.read(os.path.join(base, item.get("href"))))
            body = root.find(XHTML + "body")
            read_content(body, counts, block_texts)
        if nav is not None:
            root = ET.fromstring(z.read(os.path.join(base, nav.get("href"))))
            for n in root.iter(XHTML + "nav"):
                if n.get(EPUB_NS + "type") == "toc":
                    counts.n["contents"] += sum(1 for _ in n.iter(XHTML + "a"))
    count_syntax(block_texts, counts.syntax)
    return counts


BLOCKS = {"p", "li", "h1", "h2", "h3", "h4", "h5", "h6", "td", "th", "dt", "dd", "summary",
          "figcaption", "blockquote", "div"}


def read_content(body, counts, block_texts):
    def text_of(el, in_code, out):
        tag = el.tag.replace(XHTML, "")
        code = in_code or tag in ("pre", "code")
        if tag == "img" and el.get("alt"):
            counts.words.update(w.lower() for w in WORD.findall(el.get("alt")))
            out.append(el.get("alt"))
        if el.text:
            counts.words.update(w.lower() for w in WORD.findall(el.text))
            if not code:
                out.append(el.text)
        for child in el:
            child_tag = child.tag.replace(XHTML, "")
            if child_tag in BLOCKS:
                inner = []
                text_of(child, code, inner)
                block_texts.append("".join(inner))
            else:
                text_of(child, code, out)
            if child.tail:
                counts.words.update(w.lower() for w in WORD.findall(child.tail))
                if not code:
                    out.append(child.tail)

    for el in body.iter():
        tag = el.tag.replace(XHTML, "")
        if tag in ("h1", "h2", "h3", "h4", "h5", "h6"):
            counts.n["headings"] += 1
        elif tag == "a" and (el.get("href") or "").startswith(EXTERNAL):
            counts.n["links"] += 1
        elif tag == "pre":
            counts.n["code"] += 1
        elif tag == "li":
            counts.n["items"] += 1
        elif tag == "table":
            counts.n["tables"] += 1
        elif tag in ("em", "strong", "del", "s"):
            counts.n["emphasis"] += 1
    top = []
    text_of(body, False, top)
    block_texts.append("".join(top))


def epubcheck_all(books):
    """The checker's verdict on every book, in one Java process (tests/support/EpubcheckBatch)."""
    batch = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support",
                         "EpubcheckBatch.java")
    run = subprocess.run(["java", "-cp", EPUBCHECK, batch], input="\n".join(books) + "\n",
                         capture_output=True, text=True)
    verdicts, lines = {}, []
    for line in run.stdout.splitlines():
        if line.startswith("@@book "):
            lines = []
        elif line.startswith("@@verdict "):
            n, fatals, errors, warnings = re.findall(r"\d+", line)[:4]
            clean = fatals == errors == warnings == "0"
            verdicts[books[int(n)]] = (clean, lines)
        else:
            lines.append(line)
    return verdicts


def convert(bin_dir, source, book, work):
    staged = os.path.join(work, "temp.rtf")
    subprocess.run([os.path.join(bin_dir, "stage_text"), source, staged], check=True)
    subprocess.run([os.path.join(bin_dir, "ZOD2UVOV.exe"), staged, book], check=True,
                   capture_output=True)


def half_of(name):
    return "dev" if zlib.crc32(name.encode()) % 2 == 0 else "held"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True)
    ap.add_argument("--corpus", required=True)
    ap.add_argument("--half", choices=("dev", "held", "all"), default="held")
    ap.add_argument("--details", type=int, default=0)
    ap.add_argument("--no-epubcheck", action="store_true")
    args = ap.parse_args()

    with open(os.path.join(args.corpus, "corpus.tsv"), encoding="utf-8") as f:
        names = [line.split("\t")[0] for line in f if line.strip()]
    names = [n for n in names if args.half == "all" or half_of(n) == args.half]
    totals = {k: [0, 0] for k in KEYS + ("text",)}
    syntax_left = collections.Counter()
    cards = []
    unclean = 0
    with tempfile.TemporaryDirectory() as work:
        made = {}
        for i, name in enumerate(names):
            source = os.path.join(args.corpus, name)
            book = os.path.join(work, "%04d.epub" % i)
            try:
                convert(args.bin, source, book, work)
            except subprocess.CalledProcessError as e:
                cards.append((name, "NOT CONVERTED: %s" % (e.stderr or b"").decode()[-200:], 1.0))
                unclean += 1
                continue
            truth, ours = truth_of(source), book_of(book)
            made[book] = name
            misses = []
            for k in KEYS:
                found = min(ours.n[k], truth.n[k])
                totals[k][0] += found
                totals[k][1] += truth.n[k]
                if found < truth.n[k]:
                    misses.append("%s %d/%d" % (k, found, truth.n[k]))
            found_words = sum(min(c, ours.words[w]) for w, c in truth.words.items())
            all_words = sum(truth.words.values())
            totals["text"][0] += found_words
            totals["text"][1] += all_words
            if found_words < all_words:
                missing = [w for w, c in truth.words.items() if ours.words[w] < c][:8]
                misses.append("text %d/%d (%s)" % (found_words, all_words, " ".join(missing)))
            for k in SYNTAX:
                left = max(0, ours.syntax[k] - truth.syntax[k])
                if left:
                    syntax_left[k] += left
                    misses.append("syntax %s x%d" % (k, left))
            share = found_words / all_words if all_words else 1.0
            cards.append((name, "; ".join(misses), share))
        if not args.no_epubcheck and made:
            verdicts = epubcheck_all(list(made))
            for book, name in made.items():
                clean, lines = verdicts.get(book, (False, ["no verdict"]))
                if not clean:
                    unclean += 1
                    cards.append((name, "epubcheck: " + " | ".join(lines[:3]), 0.0))

    print("%d files (%s half)" % (len(names), args.half))
    for k in KEYS + ("text",):
        found, total = totals[k]
        print("  %-9s %6.1f %%  (%d of %d)" % (k, 100.0 * found / total if total else 100.0,
                                              found, total))
    print("  syntax    %d left (%s)" % (sum(syntax_left.values()),
                                        ", ".join("%s %d" % kv for kv in syntax_left.items())))
    print("  epubcheck %d of %d books not clean" % (unclean, len(names)))
    shown = [c for c in cards if c[1]]
    for name, verdict, _ in sorted(shown, key=lambda c: c[2])[:args.details]:
        print("    %s: %s" % (name, verdict))
    return 0


if __name__ == "__main__":
    sys.exit(main())
