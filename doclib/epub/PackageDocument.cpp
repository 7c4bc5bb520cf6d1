#include "doclib/epub/PackageDocument.h"

#include "doclib/epub/XhtmlText.h"

namespace Tessaly::Docs {

namespace {

void AppendElement(std::string& out, const char* open, const std::string& value,
                   const char* close) {
    const std::string text = XmlEscaped(CollapseWhiteSpace(value));
    if (text.empty()) {
        return;
    }
    out.append(open).append(text).append(close);
}

// A translator, editor or illustrator: the name, and its role refining it.
void AppendContributors(std::string& out, const std::vector<Contributor>& contributors) {
    std::size_t number = 0;
    for (const Contributor& contributor : contributors) {
        const std::string name = XmlEscaped(CollapseWhiteSpace(contributor.name));
        if (name.empty()) {
            continue;
        }
        const std::string id = "contributor" + std::to_string(++number);
        out.append("    <dc:contributor id=\"").append(id).append("\">");
        out.append(name).append("</dc:contributor>\n");
        const std::string role = XmlEscaped(CollapseWhiteSpace(contributor.role));
        if (!role.empty()) {
            out.append("    <meta refines=\"#").append(id);
            out.append("\" property=\"role\" scheme=\"marc:relators\">");
            out.append(role).append("</meta>\n");
        }
    }
}

std::string ItemId(std::size_t index) {
    return "c" + std::to_string(index + 1);
}

}  // namespace

std::string ContainerDocument() {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:"
               "container\">\n"
               "  <rootfiles>\n"
               "    <rootfile full-path=\"") +
           kPackagePath +
           "\" media-type=\"application/oebps-package+xml\"/>\n"
           "  </rootfiles>\n"
           "</container>\n";
}

std::string PackageDocument(const PackageInfo& info) {
    std::string out;
    out.append(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
        "unique-identifier=\"book-id\" xml:lang=\"");
    out.append(info.language);
    out.append(
        "\">\n"
        "  <metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n");
    AppendElement(out, "    <dc:identifier id=\"book-id\">", info.identifier, "</dc:identifier>\n");
    AppendElement(out, "    <dc:title>", info.title, "</dc:title>\n");
    for (const std::string& author : info.authors) {
        AppendElement(out, "    <dc:creator>", author, "</dc:creator>\n");
    }
    AppendContributors(out, info.contributors);
    out.append("    <dc:language>").append(info.language).append("</dc:language>\n");
    AppendElement(out, "    <dc:subject>", info.subject, "</dc:subject>\n");
    AppendElement(out, "    <dc:description>", info.description, "</dc:description>\n");
    out.append("    <meta property=\"dcterms:modified\">")
        .append(info.modified)
        .append("</meta>\n");
    // What a reader who relies on assistive technology needs to know before opening the book.
    // Images come with their alternative text, so the text alone still suffices.
    const bool images = !info.resources.empty();
    out.append("    <meta property=\"schema:accessMode\">textual</meta>\n");
    if (images) {
        out.append("    <meta property=\"schema:accessMode\">visual</meta>\n");
    }
    out.append(
        "    <meta property=\"schema:accessModeSufficient\">textual</meta>\n"
        "    <meta property=\"schema:accessibilityFeature\">structuralNavigation</meta>\n"
        "    <meta property=\"schema:accessibilityFeature\">tableOfContents</meta>\n");
    if (images) {
        out.append("    <meta property=\"schema:accessibilityFeature\">alternativeText</meta>\n");
    }
    out.append("    <meta property=\"schema:accessibilityHazard\">none</meta>\n");
    out.append(images ? "    <meta property=\"schema:accessibilitySummary\">Its headings mark the "
                        "parts and chapters, a table of contents links to each of them, and "
                        "every image has a text alternative.</meta>\n"
                      : "    <meta property=\"schema:accessibilitySummary\">A text-only book: its "
                        "headings mark the parts and chapters, and a table of contents links to "
                        "each of them.</meta>\n");
    out.append(
        "  </metadata>\n"
        "  <manifest>\n"
        "    <item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
        "properties=\"nav\"/>\n"
        "    <item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>\n"
        "    <item id=\"css\" href=\"style.css\" media-type=\"text/css\"/>\n");
    for (std::size_t i = 0; i < info.contentFiles.size(); ++i) {
        out.append("    <item id=\"").append(ItemId(i)).append("\" href=\"");
        AppendXmlEscaped(out, info.contentFiles[i]);
        out.append("\" media-type=\"application/xhtml+xml\"/>\n");
    }
    for (std::size_t i = 0; i < info.resources.size(); ++i) {
        out.append("    <item id=\"r").append(std::to_string(i + 1)).append("\" href=\"");
        AppendXmlEscaped(out, info.resources[i].href);
        out.append("\" media-type=\"");
        AppendXmlEscaped(out, info.resources[i].mediaType);
        out.append("\"/>\n");
    }
    out.append("  </manifest>\n  <spine toc=\"ncx\"");
    if (info.rightToLeft) {
        out.append(" page-progression-direction=\"rtl\"");
    }
    out.append(">\n");
    for (std::size_t i = 0; i < info.contentFiles.size(); ++i) {
        out.append("    <itemref idref=\"").append(ItemId(i)).append("\"/>\n");
    }
    out.append("  </spine>\n</package>\n");
    return out;
}

}  // namespace Tessaly::Docs
