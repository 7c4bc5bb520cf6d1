#include "doclib/epub/Stylesheet.h"

namespace Tessaly::Docs {

std::string_view Stylesheet() {
    // Reading systems apply the reader's own font and size; the sheet sets only what the
    // markup means: paragraph rhythm, headings, the scene rule, page breaks and notes.
    return "body { margin: 0 1em; line-height: 1.4; }\n"
           "p { margin: 0 0 0.5em 0; }\n"
           "p.indent { text-indent: 1.5em; }\n"
           "p.cont { text-indent: 0; }\n"
           "p.gap { margin-top: 1.2em; }\n"
           ".center { text-align: center; }\n"
           ".end { text-align: right; }\n"
           ".justify { text-align: justify; }\n"
           "h1, h2, h3, h4, h5, h6 { line-height: 1.2; margin: 1.5em 0 0.8em 0; "
           "page-break-after: avoid; break-after: avoid; }\n"
           "h1 { font-size: 1.6em; }\n"
           "h2 { font-size: 1.35em; }\n"
           "h3 { font-size: 1.15em; }\n"
           "h4, h5, h6 { font-size: 1em; }\n"
           // The item's own marker ("*", "2.", "b)") is part of its text, so the list shows no
           // second one; the marker hangs in the margin and wrapped lines align after it.
           "ul.text, ol.text { list-style: none; margin: 0 0 0.5em 0; padding: 0 0 0 1.2em; }\n"
           "ul.text ul.text, ul.text ol.text, ol.text ul.text, ol.text ol.text "
           "{ margin: 0.3em 0 0 0; }\n"
           "ul.text > li, ol.text > li { margin: 0 0 0.3em 0; padding-left: 1.2em; "
           "text-indent: -1.2em; }\n"
           "li.cont { text-indent: 0; }\n"
           "p.scene { text-align: center; text-indent: 0; margin: 1em 0; }\n"
           "p.rule { white-space: nowrap; overflow: hidden; }\n"
           "hr.scene { border: 0; border-top: 1px solid; width: 25%; margin: 1.5em auto; }\n"
           "div.page-break { page-break-before: always; break-before: page; }\n"
           "a.noteref { text-decoration: none; vertical-align: super; font-size: 0.75em; }\n"
           "aside.footnote { margin: 1em 0 0 0; font-size: 0.9em; }\n"
           "aside.footnote p { margin: 0 0 0.3em 0; }\n"
           // Code keeps its lines and spaces but wraps on a narrow screen rather than running
           // off it.
           "pre { white-space: pre-wrap; margin: 0 0 0.5em 0; }\n"
           "pre, code, kbd { font-family: monospace; }\n"
           "blockquote { margin: 0 0 0.5em 1.2em; padding-left: 0.6em; border-left: 2px solid; }\n"
           "table { border-collapse: collapse; margin: 0 0 0.5em 0; }\n"
           "th, td { border: 1px solid; padding: 0.2em 0.4em; vertical-align: top; }\n"
           ".start { text-align: left; }\n"
           "li.task { list-style: none; }\n"
           "img { max-width: 100%; }\n";
}

}  // namespace Tessaly::Docs
