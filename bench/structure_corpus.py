#!/usr/bin/env python3
"""Writes the many-family development corpus: real documentation Debian ships, as the plain
texts people have on disk, each beside the structure its source declares.

Families (the text a user would hold, and where its truth comes from):
  w3m, lynx, elinks, html2text, pandoc-plain   HTML manuals rendered to text by that renderer
  pandoc-oneline                               the same, one paragraph a line (no wrapping)
  pandoc-rst, pandoc-gfm, pandoc-setext        the same manuals written as reStructuredText or
                                               Markdown text (underlined or '#' headings)
  info                                         Texinfo manuals as the info reader writes them
  markdown, rst                                Markdown and reStructuredText files of the packages'
                                               documentation, read as plain text
The truth of an HTML page is the page; of Markdown, pandoc's reading; of reStructuredText, docutils'; of an
Info manual, its node titles and their underlines (see corpus_truth.py).

  structure_corpus.py OUT [--jobs N] [--per-language N] [--per-package N] [--extra]
                      [--more-tuning-pages SKIP] [--only PACKAGE[,PACKAGE]]
  structure_corpus.py --packages      (what scripts/structure-corpus.sh installs)

OUT receives FAMILY/NAME.txt, FAMILY/NAME.json (truth, package, family, language) and
families.tsv (file, encoding, language, family, package, half). A document's half, "tune" or
"check", follows a stable hash of its package, so every document of a package lands in one half.
Only the packages of the allow-lists below are read.
"""

import argparse
import concurrent.futures
import gzip
import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile

import corpus_truth

# Manuals Debian ships as HTML, in many languages.
HTML_PACKAGES = [
    "maint-guide", "maint-guide-ca", "maint-guide-de", "maint-guide-es", "maint-guide-fr",
    "maint-guide-it", "maint-guide-ja", "maint-guide-ru", "maint-guide-vi", "maint-guide-zh-cn",
    "maint-guide-zh-tw", "debmake-doc", "harden-doc", "debian-handbook", "installation-guide-amd64",
    "debian-history", "debian-reference-en", "debian-reference-de", "debian-reference-fr",
    "debian-reference-ja", "debian-reference-zh-cn", "debian-reference-zh-tw", "debian-reference-es",
    "debian-reference-it", "debian-reference-pt",
]
# Packages whose documentation holds Markdown files.
MARKDOWN_PACKAGES = [
    "nodejs", "python3-pip", "systemd", "openssl", "zstd", "sysstat", "man-db", "procps", "git", "apt",
    "googletest", "libbenchmark-dev", "pandoc", "bats", "pkgconf-bin", "iso-codes", "libxml2",
    "libcbor0.8", "libjsoncpp25", "libidn2-0", "libffi8", "libgnutls30", "postgresql-common", "tcl8.6",
]
# Packages whose documentation holds reStructuredText; the first also names it ".txt".
RST_PACKAGES = [
    "docutils-doc", "python3-pip", "python3-lazr.restfulclient", "python3-setuptools",
    "python3-wadllib", "python3-oauthlib", "python3-lazr.uri", "python3-jwt", "libnghttp2-14",
    "libjansson4", "yq",
]
RST_AS_TXT = {"docutils-doc"}
# A supplementary tuning set (--extra): manuals of other makers and more reStructuredText, none of
# them in the lists above, all in the tuning half, so that the checking half stays unseen.
EXTRA_HTML_PACKAGES = [
    "valgrind", "ninja-build", "w3m", "aptitude-doc-en", "aptitude-doc-cs", "aptitude-doc-es",
    "aptitude-doc-fi", "aptitude-doc-fr", "aptitude-doc-it", "aptitude-doc-ja", "debian-kernel-handbook",
    "debian-edu-doc-en", "debian-edu-doc-de", "debian-edu-doc-es", "debian-edu-doc-fr", "debian-edu-doc-it",
    "debian-edu-doc-ja", "debian-edu-doc-nl", "libpam-doc", "xorg-docs", "postgresql-doc-15", "mutt",
    "exim4-doc-html", "nut-doc", "bind9-doc", "apache2-doc", "blends-doc", "apt-doc", "dbconfig-common",
    "live-manual-html",
]
EXTRA_MARKDOWN_PACKAGES = [
    "libnss-mdns", "polkitd", "libxmlsec1-dev", "libcrypt-dev", "rsync", "python3-yaml", "python3-xmltodict",
    "python3-httplib2", "psmisc", "shared-mime-info", "t1utils", "lintian",
]
EXTRA_RST_PACKAGES = [
    "lintian", "python3.11", "python3-pkg-resources", "python3-tz", "python3-more-itertools",
    "python3-colorama", "python3-flask", "python3-pytest", "sphinx-doc", "python-requests-doc",
    "python-jinja2-doc",
]
# Packages with Texinfo manuals in Info form.
INFO_PACKAGES = [
    "grep", "sed", "gzip", "diffutils", "findutils", "texinfo", "wget", "bc", "ed", "time", "bzip2",
    "gnupg", "nettle-dev", "libtasn1-6-dev", "lzip", "gnu-standards", "info", "readline-common",
    "coreutils", "gettext",
]
# The programs that write the texts.
TOOL_PACKAGES = ["w3m", "lynx", "elinks", "html2text", "pandoc", "info", "texinfo", "python3-docutils"]

RENDERERS = {
    "w3m": ["w3m", "-dump", "-cols", "80", "-O", "UTF-8", "-T", "text/html", "{}"],
    "lynx": ["lynx", "-dump", "-width=80", "-display_charset=UTF-8", "-force_html", "{}"],
    "elinks": ["elinks", "-no-home", "1", "-dump", "1", "-dump-width", "80", "-dump-charset", "UTF-8", "{}"],
    "html2text": ["html2text", "-utf8", "-nobs", "-width", "80", "{}"],
    "pandoc-plain": ["pandoc", "-f", "html", "-t", "plain", "--columns=80", "{}"],
    # One paragraph a line, as a word processor exports text.
    "pandoc-oneline": ["pandoc", "-f", "html", "-t", "plain", "--wrap=none", "{}"],
    "pandoc-rst": ["pandoc", "-f", "html", "-t", "rst", "--columns=80", "{}"],
    "pandoc-gfm": ["pandoc", "-f", "html", "-t", "gfm-raw_html", "--columns=80", "{}"],
    "pandoc-setext": ["pandoc", "-f", "html", "-t", "markdown_strict-raw_html", "--markdown-headings=setext",
                      "--columns=80", "{}"],
}

LANG_ATTR = re.compile(r"<html[^>]*?\b(?:xml:)?lang=[\"']([A-Za-z_-]+)[\"']", re.I)
LANG_IN_PATH = re.compile(r"(?:^|[./])((?:[a-z]{2})(?:[-_](?:[A-Za-z]{2}))?)(?=[./]|$)")
KNOWN_LANGS = {"ar", "ca", "cs", "da", "de", "el", "en", "es", "fa", "fr", "hr", "hu", "id", "it", "ja",
               "ko", "lt", "nb", "nl", "pl", "pt", "ro", "ru", "sv", "tr", "vi", "zh", "sk", "fi"}
KEEP_REGION = {"zh-cn", "zh-tw", "pt-br"}


def half_of(package):
    return "tune" if hashlib.sha256(package.encode()).digest()[0] % 2 == 0 else "check"


def language_code(tag):
    tag = tag.lower().replace("_", "-")
    return tag if tag in KEEP_REGION else tag.split("-")[0]


def files_of(package):
    run = subprocess.run(["dpkg", "-L", package], capture_output=True, text=True)
    if run.returncode != 0:
        print("  not installed, left out: %s" % package, file=sys.stderr)
        return []
    return sorted(p for p in run.stdout.splitlines() if os.path.isfile(p) and not os.path.islink(p))


def read_maybe_gzip(path):
    with (gzip.open(path, "rb") if path.endswith(".gz") else open(path, "rb")) as f:
        return f.read()


def page_language(path, markup):
    m = LANG_ATTR.search(markup[:4000])
    if m and language_code(m.group(1)) in KNOWN_LANGS | KEEP_REGION:
        return language_code(m.group(1))
    for part in reversed(re.findall(LANG_IN_PATH, path)):
        code = language_code(part)
        if code in KNOWN_LANGS or code in KEEP_REGION:
            return code
    return "en"


def html_sources(packages, per_language, skip=0):
    """The largest pages of each manual and language: chapters rather than contents pages; past
    the `skip` largest, for pages of the same manuals that another corpus did not take."""
    sources = []
    for package in packages:
        by_language = {}
        for path in files_of(package):
            name = os.path.basename(path)
            if not re.search(r"\.x?html?$", name) or name.startswith(("index", "toc", "ix")):
                continue
            markup = open(path, encoding="utf-8", errors="replace").read()
            by_language.setdefault(page_language(path, markup), []).append((len(markup), path))
        for language, pages in sorted(by_language.items()):
            for _, path in sorted(pages, key=lambda p: (-p[0], p[1]))[skip:skip + per_language]:
                sources.append((package, language, path))
    return sources


def doc_sources(packages, pattern, per_package):
    sources = []
    for package in packages:
        found = []
        for path in files_of(package):
            if re.search(pattern(package), path):
                size = len(read_maybe_gzip(path))
                if size >= 2000:
                    found.append((size, path))
        for _, path in sorted(found, key=lambda p: (-p[0], p[1]))[:per_package]:
            sources.append((package, path))
    return sources


def doc_name(package, language, path):
    stem = re.sub(r"(\.gz|\.x?html?|\.info|\.md|\.rst|\.txt)+$", "", os.path.basename(path))
    return re.sub(r"[^A-Za-z0-9._-]+", "_", "%s.%s.%s" % (package, language, stem))


class Writer:
    def __init__(self, out, max_bytes, half=None):
        self.out = out
        self.max_bytes = max_bytes
        self.half = half
        self.rows = []

    def write(self, family, package, language, name, text, truth, source):
        if not text.strip() or not truth["headings"] or len(text.encode("utf-8")) > self.max_bytes:
            return
        os.makedirs(os.path.join(self.out, family), exist_ok=True)
        rel = os.path.join(family, name + ".txt")
        with open(os.path.join(self.out, rel), "w", encoding="utf-8") as f:
            f.write(text)
        truth = dict(truth, package=package, family=family, lang=language, source=source)
        with open(os.path.join(self.out, family, name + ".json"), "w", encoding="utf-8") as f:
            json.dump(truth, f, ensure_ascii=False, indent=0)
        self.rows.append((rel, "UTF-8", language, family, package, self.half or half_of(package)))

    def finish(self):
        with open(os.path.join(self.out, "families.tsv"), "w", encoding="utf-8") as f:
            for row in sorted(self.rows):
                f.write("\t".join(row) + "\n")
        return len(self.rows)


def render(family, path, env):
    command = [a.replace("{}", path) for a in RENDERERS[family]]
    try:
        run = subprocess.run(command, capture_output=True, env=env, timeout=300)
    except subprocess.TimeoutExpired:
        return None
    if run.returncode != 0:
        return None
    try:
        return run.stdout.decode("utf-8")
    except UnicodeDecodeError:
        return None


def info_text(path, env):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "manual.txt")
        subprocess.run(["info", "--subnodes", "-f", path, "-o", out], capture_output=True, env=env, timeout=300)
        if not os.path.exists(out):
            return None
        return open(out, encoding="utf-8", errors="replace").read()


def info_raw(path):
    """The manual's whole node text, its split parts (name.info-1.gz, ...) in order."""
    base = re.sub(r"\.gz$", "", path)
    parts = [path]
    n = 1
    while True:
        part = next((p for p in ("%s-%d.gz" % (base, n), "%s-%d" % (base, n)) if os.path.exists(p)), None)
        if part is None:
            break
        parts.append(part)
        n += 1
    return "".join(read_maybe_gzip(p).decode("utf-8", errors="replace") for p in parts)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("out", nargs="?")
    ap.add_argument("--packages", action="store_true", help="print the packages read, and stop")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--per-language", type=int, default=2, help="pages of each HTML manual and language")
    ap.add_argument("--per-package", type=int, default=8, help="Markdown, reStructuredText or Info files of a package")
    ap.add_argument("--extra", action="store_true", help="write the supplementary tuning set instead")
    ap.add_argument("--more-tuning-pages", type=int, default=0, metavar="SKIP",
                    help="write only further pages of the tuning half's HTML manuals, past the SKIP largest of each language")
    ap.add_argument("--only", default="", metavar="PACKAGES",
                    help="read only these packages of the chosen lists (comma-separated)")
    ap.add_argument("--max-bytes", type=int, default=700000, help="leave out texts larger than this")
    args = ap.parse_args()
    if args.packages:
        every = TOOL_PACKAGES + HTML_PACKAGES + MARKDOWN_PACKAGES + RST_PACKAGES + INFO_PACKAGES
        every += EXTRA_HTML_PACKAGES + EXTRA_MARKDOWN_PACKAGES + EXTRA_RST_PACKAGES
        print("\n".join(sorted(set(every))))
        return
    if not args.out:
        ap.error("the corpus folder is missing")

    os.makedirs(args.out, exist_ok=True)
    more = args.more_tuning_pages > 0
    writer = Writer(args.out, args.max_bytes, "tune" if args.extra or more else None)
    html, markdown, rst, info = (
        (EXTRA_HTML_PACKAGES, EXTRA_MARKDOWN_PACKAGES, EXTRA_RST_PACKAGES, [])
        if args.extra else (HTML_PACKAGES, MARKDOWN_PACKAGES, RST_PACKAGES, INFO_PACKAGES))
    if more:
        html, markdown, rst, info = [p for p in HTML_PACKAGES if half_of(p) == "tune"], [], [], []
    if args.only:
        only = set(args.only.split(","))
        html, markdown, rst, info = ([p for p in packages if p in only] for packages in (html, markdown, rst, info))
    home = tempfile.mkdtemp(prefix="corpus-home-")
    env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", HOME=home, TERM="dumb")
    pool = concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs))

    pages = html_sources(html, args.per_language, args.more_tuning_pages)
    print("HTML pages: %d" % len(pages), file=sys.stderr)
    jobs = []
    for package, language, path in pages:
        truth = corpus_truth.html_truth(open(path, encoding="utf-8", errors="replace").read())
        name = doc_name(package, language, path)
        for family in RENDERERS:
            jobs.append((family, package, language, name, truth, path, pool.submit(render, family, path, env)))

    for package, path in doc_sources(markdown, lambda p: r"\.(md|markdown)(\.gz)?$", args.per_package):
        text = read_maybe_gzip(path).decode("utf-8", errors="replace")
        with tempfile.NamedTemporaryFile("w", suffix=".md", encoding="utf-8") as tmp:
            tmp.write(text)
            tmp.flush()
            truth = corpus_truth.pandoc_truth(tmp.name, "gfm")
        writer.write("markdown", package, "en", doc_name(package, "en", path), text, truth, path)

    def rst_pattern(p):
        # A Sphinx manual keeps its sources beside the pages as "NAME.rst.txt".
        return r"\.(rst|txt)(\.gz)?$" if p in RST_AS_TXT else r"\.rst(\.txt)?(\.gz)?$"

    for package, path in doc_sources(rst, rst_pattern, args.per_package):
        text = read_maybe_gzip(path).decode("utf-8", errors="replace")
        # docutils rather than pandoc: pandoc runs an inline literal of a Sphinx manual on over
        # whole sections, and loses their headings with it.
        try:
            truth = corpus_truth.rst_truth(text)
        except Exception:  # a text docutils cannot read at all is left out
            continue
        writer.write("rst", package, "en", doc_name(package, "en", path), text, truth, path)

    for package, path in doc_sources(info, lambda p: r"/usr/share/info/[^/]+\.info(\.gz)?$", args.per_package):
        text = info_text(path, env)
        if text:
            writer.write("info", package, "en", doc_name(package, "en", path), text,
                         corpus_truth.info_truth(info_raw(path)), path)

    for family, package, language, name, truth, path, future in jobs:
        text = future.result()
        if text is not None:
            writer.write(family, package, language, name, text, truth, path)
    pool.shutdown()
    total = writer.finish()
    print("corpus: %d documents in %s" % (total, args.out), file=sys.stderr)


if __name__ == "__main__":
    main()
