#!/usr/bin/env python3
"""Scorecard of the books made from real documents: where the structure is wrong.

Each text of a corpus (see scripts/debian-reference-corpus.sh) is staged as the window stages it
(stage_text) and converted by the converter tool; the book is then read back and held against
its source:

  chapters   chapter lines of the source ("Chapter 1. ...", "1. ...", "第1章 ...") found as headings
  sections   numbered section lines ("1.1. ...", "A.2. ...") found as headings
  extra      headings in the book that are neither (false headings, or contents lines of a guide)
  toc        entries of the navigation document, and its depth
  bullets    bullet lines ("* ", "- ", "• ") found as list items
  residue    paragraphs holding a run of spaces the author did not type (indent left in a join)
  cjk        spaces put between two CJK characters that the source has not
  url        "://" followed by a space that the source has not
  missing    characters of the source absent from the book (bullet markers aside)
  title, creator and language of the package document, and epubcheck's errors and warnings

  structure_scorecard.py --bin BUILD/bin --corpus DIR [--books DIR] [--only TEXT] [--details N]
                         [--no-epubcheck]
"""

import argparse
import collections
import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile
import unicodedata

from epub_book import Book, convert, epubcheck, leftover_indent, squash

CHAPTER_LINE = re.compile(
    r"^(?:[^\W\d]+\s+)?(?:\d{1,3}|[IVXLC]{1,6})\.?\s+\S"  # Chapter 1. / Kapitel 1 / IV. / 1. Title
    r"|^第\s*[0-9０-９一二三四五六七八九十百]+\s*[章部篇]"  # 第1章
    r"|^(?:[^\W\d]+\s+)?[A-Z]\.\s+\S"  # Appendix A. / A. Title
)
SECTION_LINE = re.compile(r"^(?:\d{1,3}|[A-Z])(?:\.\d{1,3})+\.?\s+\S")
BULLET_LINE = re.compile(r"^(\s*)([*•+\-])\s+(\S.*)$")
CJK = "[\u2e80-\u2fdf\u3000-\u30ff\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff\uff00-\uffef]"
CJK_SPACE = re.compile(CJK + "[ \u00a0\u3000]+" + CJK)
URL_SPACE = re.compile(r"://[ \u00a0]+\S")


def read_manifest(corpus):
    rows = []
    with open(os.path.join(corpus, "corpus.tsv"), encoding="utf-8") as f:
        for line in f:
            name, encoding, lang = line.rstrip("\n").split("\t")
            rows.append((name, encoding, lang))
    return rows


class Source:
    """What a reader expects of the book, read off the source text."""

    def __init__(self, text):
        self.text = text
        lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
        self.chapters, self.sections, self.bullets = [], [], []
        self.title = next((squash(l) for l in lines if l.strip()), "")
        marker_chars = collections.Counter()
        for i, line in enumerate(lines):
            before = lines[i - 1] if i > 0 else ""
            after = lines[i + 1] if i + 1 < len(lines) else ""
            standalone = not before.strip() and not after.strip()
            if standalone and line.strip() and not line[0].isspace() and len(line) < 160:
                if SECTION_LINE.match(line):
                    self.sections.append(squash(line))
                elif CHAPTER_LINE.match(line):
                    self.chapters.append(squash(line))
            m = BULLET_LINE.match(line)
            if m and (not before.strip() or BULLET_LINE.match(before) or before.startswith(m.group(1) + " ")):
                self.bullets.append(squash(m.group(3)))
                marker_chars[m.group(2)] += 1
        self.letters = collections.Counter(c for c in text if not c.isspace())
        self.letters.subtract(marker_chars)
        self.flat = squash(text)


def found_share(expected, actual_texts):
    actual = set(actual_texts)
    hits, misses = 0, []
    for line in expected:
        if line in actual or any(a.startswith(line) or line.startswith(a) and len(a) > 8 for a in actual):
            hits += 1
        else:
            misses.append(line)
    return hits, misses


def found_prefix(expected, items):
    starts = {squash(i)[:40] for i in items}
    heads = set()
    for i in items:
        # A list item may show its marker as text ("* RTFM ..."): judge its words.
        heads.add(re.sub(r"^[*•+\-]\s+", "", i)[:40])
    hits, misses = 0, []
    for b in expected:
        key = b[:40]
        # The source's bullet is its first line only; the item holds its continuation too.
        if key in starts or key in heads or any(s.startswith(key if len(key) < 25 else key[:25]) for s in heads):
            hits += 1
        else:
            misses.append(b)
    return hits, misses


def score(source, book):
    card = {}
    headings = [t for _, t in book.headings]
    card["chapters"] = found_share(source.chapters, headings)
    card["sections"] = found_share(source.sections, headings)
    expected = set(source.chapters) | set(source.sections)
    card["extra"] = [t for t in headings if t not in expected and t != book.title]
    card["bullets"] = found_prefix(source.bullets, book.items)
    residue, blocks = [], 0
    for block in book.blocks:
        blocks += 1
        if leftover_indent(block, source.text):
            residue.append(" | ".join(l.strip() for l in block if l.strip())[:120])
    card["residue"] = (len(residue), blocks, residue)
    book_text = "\n".join(" ".join(s) for s in book.blocks)
    # The writer keeps a run of spaces as no-break spaces: the source's own spaces are no fault.
    plain = source.text.replace("\u00a0", " ")
    card["cjk"] = [m.group(0) for m in CJK_SPACE.finditer(book_text) if m.group(0).replace("\u00a0", " ") not in plain]
    card["url"] = [m.group(0) for m in URL_SPACE.finditer(book_text) if m.group(0).replace("\u00a0", " ") not in plain]
    missing = {c: n - book.letters.get(c, 0) for c, n in source.letters.items() if n - book.letters.get(c, 0) > 0}
    card["missing"] = missing
    return card


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--bin", required=True, help="the build's bin folder (stage_text, ZOD2UVOV.exe)")
    ap.add_argument("--corpus", required=True)
    ap.add_argument("--books", help="where the books go (default: a temporary folder)")
    ap.add_argument("--only", help="only texts whose file name contains this")
    ap.add_argument("--details", type=int, default=0, help="print up to N examples of each fault")
    ap.add_argument("--no-epubcheck", action="store_true")
    args = ap.parse_args()

    books_dir = args.books or tempfile.mkdtemp(prefix="scorecard-")
    os.makedirs(books_dir, exist_ok=True)
    rows = [r for r in read_manifest(args.corpus) if not args.only or args.only in r[0]]
    checks = {}
    pool = concurrent.futures.ThreadPoolExecutor(max_workers=2)
    header = ("text", "lang", "chap", "sect", "extra", "toc", "bullets", "residue", "cjk", "url",
              "missing", "title", "creator", "epubcheck", "s")
    print("%-30s %-9s %-7s %-9s %-5s %-9s %-9s %-10s %-4s %-3s %-7s %-5s %-s" % header[:13])
    results = []
    for name, encoding, lang in rows:
        source_path = os.path.join(args.corpus, name)
        with open(source_path, "rb") as f:
            source = Source(f.read().decode(encoding.lower().replace("shift_jis", "shift_jis"), errors="replace"))
        book_path = os.path.join(books_dir, os.path.splitext(name)[0] + ".epub")
        try:
            seconds = convert(args.bin, source_path, book_path)
        except subprocess.CalledProcessError as e:
            print("%-30s conversion failed: %s" % (name, e))
            continue
        book = Book(book_path)
        if not args.no_epubcheck:
            checks[name] = pool.submit(epubcheck, book_path)
        card = score(source, book)
        results.append((name, lang, source, book, card, seconds))
        ch, se, bu, (res, blocks, _) = card["chapters"], card["sections"], card["bullets"], card["residue"]
        lang_ok = book.language.lower().startswith(lang.split("-")[0])
        title_ok = book.title == source.title
        print("%-30s %-9s %-7s %-9s %-5d %-9s %-9s %-10s %-4d %-3d %-7d %-5s %s" % (
            name[:30], book.language + ("" if lang_ok else "!"),
            "%d/%d" % (ch[0], len(source.chapters)), "%d/%d" % (se[0], len(source.sections)),
            len(card["extra"]), "%d/d%d" % (len(book.toc), book.toc_depth),
            "%d/%d" % (bu[0], len(source.bullets)), "%.1f%%" % (100.0 * res / max(blocks, 1)),
            len(card["cjk"]), len(card["url"]), sum(card["missing"].values()),
            "ok" if title_ok else "NO", book.creator or "-"))
        sys.stdout.flush()

    for name, lang, source, book, card, seconds in results:
        verdict = ""
        if name in checks:
            errors, warnings, lines = checks[name].result()
            verdict = "epubcheck %d errors, %d warnings" % (errors, warnings)
            card["epubcheck"] = lines
        print("\n== %s (%.2f s) title %r  %s" % (name, seconds, book.title, verdict))
        if args.details <= 0:
            continue
        n = args.details
        if book.title != source.title:
            print("  title expected:", repr(source.title))
        for label, misses in (("chapter", card["chapters"][1]), ("section", card["sections"][1]),
                              ("bullet", card["bullets"][1])):
            for m in misses[:n]:
                print("  missed %s: %s" % (label, m[:100]))
        for t in card["extra"][:n]:
            print("  extra heading: %s" % t[:100])
        for r in card["residue"][2][:n]:
            print("  residue: %r" % r)
        for c in card["cjk"][:n]:
            print("  cjk space: %r" % c)
        for u in card["url"][:n]:
            print("  url break: %r" % u)
        worst = sorted(card["missing"].items(), key=lambda kv: -kv[1])[:n]
        if worst:
            print("  missing characters: " + ", ".join("%r %s x%d" % (c, unicodedata.name(c, "?"), k) for c, k in worst))
        for l in card.get("epubcheck", []):
            print("  " + l[:160])
    pool.shutdown()
    print("\nbooks in", books_dir)


if __name__ == "__main__":
    main()
