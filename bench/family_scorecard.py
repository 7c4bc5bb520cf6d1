#!/usr/bin/env python3
"""Scorecard of the many-family corpus (scripts/structure-corpus.sh): each text converted as the
window converts it, its book held against the structure its source declares, per family and
language, the tuning half and the checking half apart. The checking half is the figure that counts.

  head P / R  headings of the book that are headings of the source (precision; one book heading
              for each, so a contents line made a heading beside it is a false one), and headings
              of the source found in the book (recall); text matched forgivingly (case, spacing,
              punctuation and link numbers aside)
  nest        of the source's sections whose parent heading is found too, those the book nests
              deeper than that parent
  items       list items of the source found as list items
  joined      long paragraphs of the source, present in the book, that are one line of one block
  kept        lines of verbatim blocks, present in the book, that are a line of their own in it
  resid       blocks of the book holding what is no text: a decoration line (=====), a heading's
              decoration (## or === around it), a list marker left on a paragraph, indent left in
              a join (per cent of blocks)
  lost        letters and digits of the text absent from the book (per cent)
  title       books whose title is the source's title, of those whose source has one

  family_scorecard.py --bin BUILD/bin --corpus DIR [--family F[,F]] [--half tune|check|both]
                      [--lang L] [--cap N] [--jobs N] [--by-language] [--details N] [--books DIR]
                      [--epubcheck]
"""

import argparse
import collections
import concurrent.futures
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unicodedata

from epub_book import Book, convert, epubcheck, leftover_indent

LINK_NUMBER = re.compile(r"\[\d+\]")
LIST_MARKER = re.compile(r"^\s*(?:[*•◦▪·‣○●+#o-]|\(?\d{1,3}[.)]|[a-z][.)])\s+")
DECORATION_LINE = re.compile(r"^\s*([=\-*~_#^+])\1{2,}\s*$")
DECORATED_HEADING = re.compile(r"^\s*(?:#{1,6}\s|[=*~\-]{2,}\s)|\s(?:#+|[=*~\-]{2,})\s*$")
PARAGRAPH_MARKER = re.compile(r"^\s*[*•◦▪·‣+\-]\s+\S")
LONG_PARAGRAPH = 100  # letters and digits: wraps at 80 columns in any script
COUNTS = ("docs", "book_heads", "book_heads_ok", "truth_heads", "truth_heads_found", "pairs", "pairs_ok",
          "items", "items_found", "paras", "paras_joined", "verbatim", "verbatim_kept", "blocks",
          "residue", "chars", "lost", "titled", "title_ok")


def skeleton(text):
    """Letters and digits only, case folded: what two renderings of one heading share."""
    text = unicodedata.normalize("NFKC", LINK_NUMBER.sub("", text)).casefold()
    return "".join(c for c in text if unicodedata.category(c)[0] in "LN")


def same_heading(a, b):
    if not a or not b:
        return False
    if a == b:
        return True
    short, long_ = (a, b) if len(a) < len(b) else (b, a)
    return long_.startswith(short) and len(short) >= max(4, 0.6 * len(long_))


def read_rows(corpus):
    with open(os.path.join(corpus, "families.tsv"), encoding="utf-8") as f:
        return [dict(zip(("file", "encoding", "lang", "family", "package", "half"), l.rstrip("\n").split("\t")))
                for l in f if l.strip()]


def choose(rows, args):
    """At most --cap documents of each family and half, spread over packages and languages by a
    stable hash of the file name."""
    families = set(args.family.split(",")) if args.family else None
    chosen = collections.defaultdict(list)
    for row in rows:
        if families and row["family"] not in families:
            continue
        if args.half != "both" and row["half"] != args.half:
            continue
        if args.lang and row["lang"] != args.lang:
            continue
        chosen[(row["family"], row["half"])].append(row)
    picked = []
    for key in sorted(chosen):
        group = sorted(chosen[key], key=lambda r: hashlib.sha256(r["file"].encode()).hexdigest())
        picked.extend(group[: args.cap] if args.cap > 0 else group)
    return picked


def match_headings(truth_heads, book_heads):
    """Truth headings in order against the book's, each matched to the first unused book heading
    after the previous match (in the source's order), else anywhere."""
    book_skel = [skeleton(t) for _, t in book_heads]
    used = [False] * len(book_heads)
    matches, cursor = [], 0
    for _, text in truth_heads:
        s = skeleton(text)
        found = next((j for j in range(cursor, len(book_heads)) if not used[j] and same_heading(s, book_skel[j])), None)
        if found is None:
            found = next((j for j in range(len(book_heads)) if not used[j] and same_heading(s, book_skel[j])), None)
        if found is not None:
            used[found] = True
            cursor = found + 1
        matches.append(found)
    return matches


def score(text, truth, book):
    c = collections.Counter(docs=1)
    notes = collections.defaultdict(list)
    truth_heads = truth["headings"]
    title_skel = skeleton(book.title)
    matches = match_headings(truth_heads, book.headings)
    matched = set(m for m in matches if m is not None)
    # One book heading for each of the source's: a contents line made a heading beside the
    # heading itself is a false one.
    for j, (level, head) in enumerate(book.headings):
        if j in matched:
            c["book_heads_ok"] += 1
        elif skeleton(head) == title_skel:
            continue  # the book's own title page heading
        else:
            notes["false heading"].append(head)
        c["book_heads"] += 1
    c["truth_heads"] = len(truth_heads)
    c["truth_heads_found"] = sum(m is not None for m in matches)
    notes["missed heading"] = [t for (_, t), m in zip(truth_heads, matches) if m is None]
    for i, (level, head) in enumerate(truth_heads):
        parent = next((j for j in range(i - 1, -1, -1) if truth_heads[j][0] < level), None)
        if parent is None or matches[i] is None or matches[parent] is None:
            continue
        c["pairs"] += 1
        if book.headings[matches[i]][0] > book.headings[matches[parent]][0]:
            c["pairs_ok"] += 1
        else:
            notes["not nested"].append("%s  under  %s" % (head, truth_heads[parent][1]))

    items = [skeleton(LIST_MARKER.sub("", i)) for i in book.items]
    by_start = collections.defaultdict(list)
    for s in items:
        by_start[s[:6]].append(s)
    for item in truth["items"]:
        key = skeleton(item)[:30]
        if not key:
            continue
        c["items"] += 1
        pool = by_start.get(key[:6], []) if len(key) >= 6 else items
        if any(s.startswith(key) or (len(s) >= 8 and key.startswith(s)) for s in pool):
            c["items_found"] += 1
        else:
            notes["missed item"].append(item)

    # A paragraph is joined when it is one line of one block: lines kept apart by a break inside
    # a block are not joined.
    segment_skel = [skeleton(seg) for b in book.blocks for seg in b]
    apart, together = "\x00".join(segment_skel), "".join(segment_skel)
    for para in truth["paragraphs"]:
        s = skeleton(para)
        if len(s) >= LONG_PARAGRAPH and s in together:
            c["paras"] += 1
            if s in apart:
                c["paras_joined"] += 1
            else:
                notes["split paragraph"].append(para)
    segments = set(segment_skel)
    for block in truth["verbatim"]:
        for line in block:
            s = skeleton(line)
            if len(s) >= 4 and s in together:
                c["verbatim"] += 1
                if s in segments:
                    c["verbatim_kept"] += 1
                else:
                    notes["joined verbatim line"].append(line)

    for tag, block in zip(book.block_tags, book.blocks):
        c["blocks"] += 1
        if tag == "pre":
            continue
        first = next((l for l in block if l.strip()), "")
        kind = None
        if any(DECORATION_LINE.match(l) for l in block if l.strip()):
            kind = "decoration line"
        elif tag[0] == "h" and DECORATED_HEADING.search(" ".join(block)):
            kind = "decorated heading"
        elif tag == "p" and PARAGRAPH_MARKER.match(first):
            kind = "marker on a paragraph"
        elif leftover_indent(block, text):
            kind = "indent left"
        if kind:
            c["residue"] += 1
            notes[kind].append(" | ".join(l.strip() for l in block if l.strip()))

    source_chars = collections.Counter(ch for ch in text if unicodedata.category(ch)[0] in "LN")
    book_chars = collections.Counter(ch for ch in "".join(book.text_parts) if unicodedata.category(ch)[0] in "LN")
    c["chars"] = sum(source_chars.values())
    c["lost"] = sum(max(0, n - book_chars.get(ch, 0)) for ch, n in source_chars.items())
    if truth.get("title"):
        c["titled"] = 1
        if same_heading(skeleton(truth["title"]), title_skel):
            c["title_ok"] = 1
        else:
            notes["title"].append("%s  (expected %s)" % (book.title, truth["title"]))
    return c, notes


def score_one(bin_dir, corpus, books_dir, row, with_epubcheck):
    path = os.path.join(corpus, row["file"])
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    with open(os.path.splitext(path)[0] + ".json", encoding="utf-8") as f:
        truth = json.load(f)
    book_path = os.path.join(books_dir, row["file"].replace("/", "__")[:-4] + ".epub")
    try:
        convert(bin_dir, path, book_path)
    except subprocess.CalledProcessError as e:
        return row, None, {"conversion failed": [str(e)]}
    counts, notes = score(text, truth, Book(book_path))
    if with_epubcheck:
        errors, warnings, lines = epubcheck(book_path)
        counts["epubcheck_faults"] = errors + warnings
        notes["epubcheck"] = lines
    return row, counts, notes


def ratio(n, d):
    return "%.2f" % (n / d) if d else "-"


def percent(n, d):
    return "%.1f" % (100.0 * n / d) if d else "-"


HEADER = "%-15s %-6s %4s  %-5s %-5s  %-5s %-5s %-6s %-5s %-6s %-6s %-6s" % (
    "family", "lang", "docs", "headP", "headR", "nest", "items", "joined", "kept", "resid%", "lost%", "title")


def line(family, lang, c):
    return "%-15s %-6s %4d  %-5s %-5s  %-5s %-5s %-6s %-5s %-6s %-6s %-6s" % (
        family, lang, c["docs"], ratio(c["book_heads_ok"], c["book_heads"]),
        ratio(c["truth_heads_found"], c["truth_heads"]), ratio(c["pairs_ok"], c["pairs"]),
        ratio(c["items_found"], c["items"]), ratio(c["paras_joined"], c["paras"]),
        ratio(c["verbatim_kept"], c["verbatim"]), percent(c["residue"], c["blocks"]),
        percent(c["lost"], c["chars"]), "%d/%d" % (c["title_ok"], c["titled"]))


def summed(rows, keep):
    total = collections.Counter()
    for r, c in rows:
        if keep(r):
            total.update(c)
    return total


def report(results, by_language):
    for half in ("tune", "check"):
        rows = [(r, c) for r, c, _ in results if r["half"] == half and c is not None]
        if not rows:
            continue
        print("\n== %s half%s" % (half, " (the figure that counts)" if half == "check" else ""))
        print(HEADER)
        for family in sorted({r["family"] for r, _ in rows}):
            print(line(family, "all", summed(rows, lambda r: r["family"] == family)))
            if by_language:
                for lang in sorted({r["lang"] for r, _ in rows if r["family"] == family}):
                    print(line("", lang, summed(rows, lambda r: r["family"] == family and r["lang"] == lang)))
        print(line("ALL", "all", summed(rows, lambda r: True)))
        if by_language:
            for lang in sorted({r["lang"] for r, _ in rows}):
                print(line("ALL", lang, summed(rows, lambda r: r["lang"] == lang)))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--bin", required=True, help="the build's bin folder (stage_text, ZOD2UVOV.exe)")
    ap.add_argument("--corpus", required=True)
    ap.add_argument("--family", help="only these families (comma-separated)")
    ap.add_argument("--half", choices=("tune", "check", "both"), default="both")
    ap.add_argument("--lang", help="only texts of this language")
    ap.add_argument("--only", help="only texts whose file name contains this")
    ap.add_argument("--cap", type=int, default=20, help="documents of each family and half (0: all)")
    ap.add_argument("--jobs", type=int, default=1)
    ap.add_argument("--by-language", action="store_true", help="a line for each language under its family")
    ap.add_argument("--details", type=int, default=0, help="print up to N examples of each fault of each text")
    ap.add_argument("--books", help="keep the books in this folder")
    ap.add_argument("--epubcheck", action="store_true", help="run the EPUB checker on every book (slow)")
    args = ap.parse_args()

    rows = choose(read_rows(args.corpus), args)
    if args.only:
        rows = [r for r in rows if args.only in r["file"]]
    books_dir = args.books or tempfile.mkdtemp(prefix="family-scorecard-")
    os.makedirs(books_dir, exist_ok=True)
    print("%d documents, %d jobs" % (len(rows), args.jobs), file=sys.stderr)
    results = []
    with concurrent.futures.ProcessPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        futures = [pool.submit(score_one, args.bin, args.corpus, books_dir, r, args.epubcheck) for r in rows]
        for future in futures:
            row, counts, notes = future.result()
            results.append((row, counts, notes))
            if args.details > 0:
                print("\n-- %s (%s, %s half)" % (row["file"], row["lang"], row["half"]))
                for kind, examples in notes.items():
                    for e in examples[: args.details]:
                        print("  %s: %s" % (kind, e[:140]))
                sys.stdout.flush()
    failed = [r["file"] for r, c, _ in results if c is None]
    report(results, args.by_language)
    if args.epubcheck:
        faulty = sum(1 for _, c, _ in results if c and c.get("epubcheck_faults"))
        print("\nepubcheck: %d of %d books with errors or warnings" % (faulty, len(results) - len(failed)))
    for f in failed:
        print("conversion failed:", f)
    if args.books:
        print("\nbooks in", books_dir)
    else:
        shutil.rmtree(books_dir, ignore_errors=True)


if __name__ == "__main__":
    main()
