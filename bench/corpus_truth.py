"""What a document's source says its structure is: title, headings with their levels, list items,
paragraphs and verbatim blocks, read by a real parser of the source format (HTML, pandoc's
document tree for Markdown and reStructuredText, the node layout of an Info file), never off the
rendered text the converter is given."""

import html.parser
import json
import re
import subprocess

from epub_book import squash

# Elements that never hold content, and those whose content is not part of the reading.
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source", "track", "wbr"}
HIDDEN = {"script", "style", "head", "template", "noscript"}
BLOCKS_CLOSING_P = {"p", "div", "ul", "ol", "dl", "pre", "table", "blockquote", "h1", "h2", "h3", "h4", "h5", "h6"}


def empty_truth():
    return {"title": None, "headings": [], "items": [], "paragraphs": [], "verbatim": []}


class _Node:
    __slots__ = ("tag", "children")

    def __init__(self, tag):
        self.tag = tag
        self.children = []  # nodes and strings


class _TreeBuilder(html.parser.HTMLParser):
    """A forgiving tree of the page: unclosed paragraphs and items close as browsers close them."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.root = _Node("#root")
        self.stack = [self.root]

    def _close(self, tag):
        for i in range(len(self.stack) - 1, 0, -1):
            if self.stack[i].tag == tag:
                del self.stack[i:]
                return

    def handle_starttag(self, tag, attrs):
        if tag in BLOCKS_CLOSING_P and any(n.tag == "p" for n in self.stack[-2:]):
            self._close("p")
        if tag == "li" and self.stack[-1].tag == "li":
            self.stack.pop()
        node = _Node(tag)
        self.stack[-1].children.append(node)
        if tag not in VOID:
            self.stack.append(node)

    def handle_startendtag(self, tag, attrs):
        self.stack[-1].children.append(_Node(tag))

    def handle_endtag(self, tag):
        if tag not in VOID:
            self._close(tag)

    def handle_data(self, data):
        self.stack[-1].children.append(data)


def _text(node, skip_lists=False):
    parts = []

    def walk(n):
        for c in n.children:
            if isinstance(c, str):
                parts.append(c)
            elif c.tag == "br":
                parts.append("\n")
            elif c.tag in HIDDEN or (skip_lists and c.tag in ("ul", "ol")):
                continue
            else:
                walk(c)

    walk(node)
    return "".join(parts)


def html_truth(markup):
    builder = _TreeBuilder()
    builder.feed(markup)
    builder.close()
    truth = empty_truth()

    def walk(node, in_item):
        for c in node.children:
            if isinstance(c, str):
                continue
            if c.tag == "head":
                title = next((t for t in c.children if not isinstance(t, str) and t.tag == "title"), None)
                if title is not None and truth["title"] is None:
                    truth["title"] = squash(_text(title)) or None
            elif c.tag in HIDDEN:
                continue
            elif re.fullmatch(r"h[1-6]", c.tag):
                text = squash(_text(c))
                if text:
                    truth["headings"].append([int(c.tag[1]), text])
            elif c.tag == "li":
                text = squash(_text(c, skip_lists=True))
                if text:
                    truth["items"].append(text)
                walk(c, True)
            elif c.tag == "p":
                text = squash(_text(c))
                if text and not in_item:
                    truth["paragraphs"].append(text)
            elif c.tag == "pre":
                lines = [l.rstrip() for l in _text(c).split("\n") if l.strip()]
                if lines:
                    truth["verbatim"].append(lines)
            else:
                walk(c, in_item)

    walk(builder.root, False)
    return truth


def _inline_text(inlines):
    parts = []
    for el in inlines:
        t, c = el.get("t"), el.get("c")
        if t == "Str":
            parts.append(c)
        elif t in ("Space", "SoftBreak", "LineBreak"):
            parts.append(" ")
        elif t in ("Code", "Math", "RawInline"):
            parts.append(c[1])
        elif t in ("Emph", "Strong", "Strikeout", "Superscript", "Subscript", "SmallCaps", "Underline"):
            parts.append(_inline_text(c))
        elif t == "Quoted":
            parts.append('"' + _inline_text(c[1]) + '"')
        elif t in ("Link", "Image", "Span"):
            parts.append(_inline_text(c[1]))
        elif t == "Cite":
            parts.append(_inline_text(c[1]))
    return "".join(parts)


def _pandoc_blocks(blocks, truth, in_item):
    for b in blocks:
        t, c = b.get("t"), b.get("c")
        if t == "Header":
            truth["headings"].append([c[0], squash(_inline_text(c[2]))])
        elif t == "Para" and not in_item:
            truth["paragraphs"].append(squash(_inline_text(c)))
        elif t in ("BulletList", "OrderedList"):
            for item in c if t == "BulletList" else c[1]:
                first = next((x for x in item if x.get("t") in ("Plain", "Para")), None)
                if first is not None:
                    truth["items"].append(squash(_inline_text(first["c"])))
                _pandoc_blocks(item, truth, True)
        elif t == "CodeBlock":
            lines = [l.rstrip() for l in c[1].split("\n") if l.strip()]
            if lines:
                truth["verbatim"].append(lines)
        elif t in ("BlockQuote", "Div"):
            _pandoc_blocks(c if t == "BlockQuote" else c[1], truth, in_item)
        elif t == "DefinitionList":
            for _, definitions in c:
                for d in definitions:
                    _pandoc_blocks(d, truth, in_item)


def pandoc_truth(path, reader):
    """Markdown or reStructuredText read by pandoc; a title the reader lifted out of the body
    (reStructuredText's lone top section) is the document's first heading as well as its title."""
    run = subprocess.run(["pandoc", "-f", reader, "-t", "json", path], capture_output=True, check=True)
    return pandoc_tree_truth(json.loads(run.stdout))


def pandoc_tree_truth(doc):
    truth = empty_truth()
    _pandoc_blocks(doc.get("blocks", []), truth, False)
    truth["headings"] = [h for h in truth["headings"] if h[1]]
    truth["paragraphs"] = [p for p in truth["paragraphs"] if p]
    truth["items"] = [i for i in truth["items"] if i]
    meta_title = doc.get("meta", {}).get("title")
    if meta_title and meta_title.get("t") == "MetaInlines":
        truth["title"] = squash(_inline_text(meta_title["c"]))
        truth["headings"].insert(0, [0, truth["title"]])
    elif truth["headings"] and doc["blocks"] and doc["blocks"][0].get("t") == "Header":
        truth["title"] = truth["headings"][0][1]
    return truth


def rst_truth(text):
    """reStructuredText read by docutils, the language's own parser: a manual's directives and
    roles that docutils does not know (Sphinx's) are left out, never read as text around them. A
    lone top section is the document's title and first heading, as pandoc_truth has it."""
    import docutils.core
    import docutils.nodes as dn

    settings = {"report_level": 5, "halt_level": 5, "warning_stream": False, "file_insertion_enabled": False,
                "raw_enabled": False, "input_encoding": "unicode", "sectnum_xform": False}
    tree = docutils.core.publish_doctree(text, settings_overrides=settings)
    truth = empty_truth()
    hidden = (dn.system_message, dn.comment, dn.substitution_definition, dn.target, dn.raw)

    def walk(node, depth, in_item):
        for child in node.children:
            # The list a "contents" directive generates is no list of the source's.
            if isinstance(child, hidden) or (isinstance(child, dn.topic) and "contents" in child["classes"]):
                continue
            if isinstance(child, dn.section):
                title = child.next_node(dn.title)
                if title is not None:
                    truth["headings"].append([depth + 1, squash(title.astext())])
                walk(child, depth + 1, in_item)
            elif isinstance(child, dn.title):
                continue
            elif isinstance(child, dn.paragraph):
                if not in_item:
                    truth["paragraphs"].append(squash(child.astext()))
            elif isinstance(child, dn.list_item):
                first = child.next_node(dn.paragraph)
                if first is not None:
                    truth["items"].append(squash(first.astext()))
                walk(child, depth, True)
            elif isinstance(child, dn.literal_block):
                lines = [l.rstrip() for l in child.astext().split("\n") if l.strip()]
                if lines:
                    truth["verbatim"].append(lines)
            elif isinstance(child, dn.Element):
                walk(child, depth, in_item)

    walk(tree, 0, False)
    title = tree.next_node(dn.title)
    if title is not None and title.parent is tree:
        truth["title"] = squash(title.astext())
        truth["headings"].insert(0, [0, truth["title"]])
    truth["headings"] = [h for h in truth["headings"] if h[1]]
    truth["paragraphs"] = [p for p in truth["paragraphs"] if p]
    truth["items"] = [i for i in truth["items"] if i]
    return truth


# The sectioning command of a Texinfo node is written as the underline of its title.
INFO_LEVELS = {"*": 1, "=": 2, "-": 3, ".": 4}
INFO_BULLET = re.compile(r"^\s+[•*-]\s+(\S.*)$")
INFO_MENU_ENTRY = re.compile(r"^\* [^:]+::|^\* [^:]+:\s")


def info_truth(raw):
    """An Info file's nodes: each title over its underline, the Top node's title as the book's."""
    truth = empty_truth()
    nodes = raw.split("\x1f")[1:]
    for node in nodes:
        lines = node.lstrip("\n").split("\n")
        header = lines[0]
        if not header.startswith("File:"):
            continue  # the tag table and other indexes of the file
        is_top = "Node: Top," in header or header.rstrip().endswith("Node: Top")
        in_menu = False
        block = []
        for i, line in enumerate(lines + [""]):
            under = lines[i + 1] if i + 1 < len(lines) else ""
            if (line.strip() and under and len(set(under)) == 1 and under[0] in INFO_LEVELS
                    and len(under) == len(line)):
                level = 0 if is_top and not truth["headings"] else INFO_LEVELS[under[0]]
                truth["headings"].append([level, squash(line)])
                if level == 0:
                    truth["title"] = squash(line)
                continue
            if line == "* Menu:":
                in_menu = True
                continue
            if not line.strip():
                if block:
                    truth["paragraphs"].append(squash(" ".join(block)))
                    block = []
                continue
            if line.startswith("File:") or set(line) <= set(INFO_LEVELS):
                continue
            if in_menu and INFO_MENU_ENTRY.match(line):
                continue
            m = INFO_BULLET.match(line)
            if m:
                if block:
                    truth["paragraphs"].append(squash(" ".join(block)))
                    block = []
                truth["items"].append(squash(m.group(1)))
                continue
            indent = len(line) - len(line.lstrip(" "))
            if indent < 5 and (block or not in_menu):
                block.append(line)
    return truth
