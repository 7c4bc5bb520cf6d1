#pragma once
// Source text as XML character data. Text reaches the book escaped, and characters that XML
// (or a reading system) does not accept are removed: C0 and C1 controls other than tab and line
// break, U+FFFE/U+FFFF and the other noncharacters. A byte sequence that is not UTF-8 (also an
// encoded surrogate) becomes one U+FFFD for each maximal bad stretch, so the reader sees that
// something was there. Everything else passes through in order.

#include <cstddef>
#include <string>
#include <string_view>

namespace Tessaly::Docs {

// Body text of a paragraph. A line break becomes <br/>, a tab an em space (U+2003: it reads
// as a tab in every reading system, where a preserved tab character collapses in most), and a
// space after a space a no-break space, so a run of spaces keeps its width. `afterSpace`
// carries the last character's state across the spans of one paragraph.
void AppendXhtmlText(std::string& out, std::string_view utf8, bool& afterSpace);

// Preformatted text (inside <pre>): escaped and cleaned as above, but spaces, tabs and line
// breaks stay the characters they are. Never longer than XhtmlTextBound.
void AppendPreformattedText(std::string& out, std::string_view utf8);

// The most bytes AppendXhtmlText can produce for `utf8`, whatever the state; cheap enough to
// plan chapter files with.
std::size_t XhtmlTextBound(std::string_view utf8);
// The same bound for a single byte.
std::size_t XhtmlByteBound(unsigned char byte);

// Text for an attribute value or a metadata element: escaped including quotes, with tabs and
// line breaks as plain spaces.
void AppendXmlEscaped(std::string& out, std::string_view utf8);
std::string XmlEscaped(std::string_view utf8);

// A one-line label (a title, a heading in the table of contents): white space runs become one
// space, and leading and trailing white space goes. Not escaped.
std::string CollapseWhiteSpace(std::string_view utf8);

}  // namespace Tessaly::Docs
