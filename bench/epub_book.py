"""The book as a reader gets it, shared by the scorecards: a text staged as the window stages it,
converted by the converter tool, and read back (reading order, headings, list items, contents,
package metadata), with the EPUB checker's verdict."""

import collections
import os
import re
import subprocess
import tempfile
import time
import xml.etree.ElementTree as ET
import zipfile

XHTML = "{http://www.w3.org/1999/xhtml}"
OPF = "{http://www.idpf.org/2007/opf}"
DC = "{http://purl.org/dc/elements/1.1/}"
EPUBCHECK = "/usr/share/java/epubcheck.jar"


def squash(text):
    return " ".join(text.replace("\u00a0", " ").split())


class Book:
    """The reading order's text, headings and list items, and the package's metadata."""

    def __init__(self, path):
        self.headings, self.items, self.blocks, self.toc = [], [], [], []
        self.block_tags = []  # the element of each block, beside it
        self.toc_depth = 0
        self.text_parts = []
        with zipfile.ZipFile(path) as z:
            container = ET.fromstring(z.read("META-INF/container.xml"))
            opf_path = container.find(".//{urn:oasis:names:tc:opendocument:xmlns:container}rootfile").get("full-path")
            base = os.path.dirname(opf_path)
            opf = ET.fromstring(z.read(opf_path))
            meta = opf.find(OPF + "metadata")
            self.title = squash("".join(meta.find(DC + "title").itertext())) if meta.find(DC + "title") is not None else ""
            self.language = meta.findtext(DC + "language", "")
            self.creator = squash(meta.findtext(DC + "creator", ""))
            manifest = {i.get("id"): i for i in opf.find(OPF + "manifest")}
            nav_href = next((i.get("href") for i in manifest.values() if "nav" in (i.get("properties") or "").split()), None)
            for ref in opf.find(OPF + "spine"):
                item = manifest[ref.get("idref")]
                if item.get("href") == nav_href:
                    continue
                self.read_content(ET.fromstring(z.read(os.path.join(base, item.get("href")).lstrip("/"))))
            if nav_href:
                self.read_nav(ET.fromstring(z.read(os.path.join(base, nav_href).lstrip("/"))))
        self.flat = squash(" ".join(self.text_parts))
        self.letters = collections.Counter(c for c in "".join(self.text_parts) if not c.isspace())

    def read_content(self, root):
        body = root.find(XHTML + "body")
        for el in body.iter():
            tag = el.tag.replace(XHTML, "")
            if tag in ("h1", "h2", "h3", "h4", "h5", "h6"):
                self.headings.append((int(tag[1]), squash("".join(el.itertext()))))
            elif tag == "li":
                # The item's own text: a list nested in it has items of its own.
                self.items.append(squash(" ".join(self.segments(el))))
            if tag in ("p", "li", "h1", "h2", "h3", "h4", "h5", "h6", "pre"):
                self.blocks.append(self.segments(el))
                self.block_tags.append(tag)
        self.text_parts.append("".join(body.itertext()))

    @staticmethod
    def segments(el):
        # A block's lines: text split at <br/>, nested lists left to their own items.
        lines, current = [], []

        def walk(node):
            if node.text:
                current.append(node.text)
            for child in node:
                tag = child.tag.replace(XHTML, "")
                if tag == "br":
                    lines.append("".join(current))
                    current.clear()
                elif tag not in ("ul", "ol"):
                    walk(child)
                if child.tail:
                    current.append(child.tail)

        walk(el)
        lines.append("".join(current))
        return lines

    def read_nav(self, root):
        def depth(ol, level):
            for li in ol.findall(XHTML + "li"):
                a = li.find(XHTML + "a")
                if a is not None:
                    self.toc.append((level, squash("".join(a.itertext()))))
                self.toc_depth = max(self.toc_depth, level)
                for sub in li.findall(XHTML + "ol"):
                    depth(sub, level + 1)

        for nav in root.iter(XHTML + "nav"):
            if nav.get("{http://www.idpf.org/2007/ops}type") == "toc":
                for ol in nav.findall(XHTML + "ol"):
                    depth(ol, 1)


SPACE_RUN = re.compile(r"\S[ \u00a0]{2,}\S")


def leftover_indent(block, source_text):
    """Whether a block keeps indent the author never meant as text: a continuation line still
    indented, or a run of spaces the source has not, left by a line join. The block's common
    indent is layout, not a fault."""
    lines = [l.replace("\u00a0", " ") for l in block if l.strip()]
    if not lines:
        return False
    common = min(len(l) - len(l.lstrip(" ")) for l in lines)
    for i, line in enumerate(l[common:] for l in lines):
        m = SPACE_RUN.search(line.strip())
        if (i > 0 and line.startswith("  ")) or (m and m.group(0) not in source_text):
            return True
    return False


def epubcheck(book):
    run = subprocess.run(["java", "-jar", EPUBCHECK, book], capture_output=True, text=True)
    out = run.stdout + run.stderr
    errors = len(re.findall(r"^(?:ERROR|FATAL)", out, re.M))
    warnings = len(re.findall(r"^WARNING", out, re.M))
    return errors, warnings, [l for l in out.splitlines() if re.match(r"^(ERROR|FATAL|WARNING)", l)][:5]


def convert(bin_dir, source_path, book_path):
    with tempfile.TemporaryDirectory() as tmp:
        staged = os.path.join(tmp, "temp.rtf")
        start = time.monotonic()
        subprocess.run([os.path.join(bin_dir, "stage_text"), source_path, staged], check=True)
        subprocess.run([os.path.join(bin_dir, "ZOD2UVOV.exe"), staged, book_path], check=True)
        return time.monotonic() - start
