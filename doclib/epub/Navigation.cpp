#include "doclib/epub/Navigation.h"

#include "doclib/epub/XhtmlText.h"

namespace Tessaly::Docs {

namespace {

void Indent(std::string& out, int depth) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void AppendNavList(std::string& out, const std::vector<TocNode>& nodes, int depth) {
    Indent(out, depth);
    out.append("<ol>\n");
    for (const TocNode& node : nodes) {
        Indent(out, depth + 1);
        out.append("<li><a href=\"");
        AppendXmlEscaped(out, node.entry.href);
        out.append("\">");
        AppendXmlEscaped(out, node.entry.label);
        out.append("</a>");
        if (!node.children.empty()) {
            out.push_back('\n');
            AppendNavList(out, node.children, depth + 2);
            Indent(out, depth + 1);
        }
        out.append("</li>\n");
    }
    Indent(out, depth);
    out.append("</ol>\n");
}

void AppendNavPoints(std::string& out, const std::vector<TocNode>& nodes, int depth,
                     int& playOrder) {
    for (const TocNode& node : nodes) {
        const std::string order = std::to_string(++playOrder);
        Indent(out, depth);
        out.append("<navPoint id=\"np-").append(order).append("\" playOrder=\"").append(order);
        out.append("\">\n");
        Indent(out, depth + 1);
        out.append("<navLabel><text>");
        AppendXmlEscaped(out, node.entry.label);
        out.append("</text></navLabel>\n");
        Indent(out, depth + 1);
        out.append("<content src=\"");
        AppendXmlEscaped(out, node.entry.href);
        out.append("\"/>\n");
        AppendNavPoints(out, node.children, depth + 1, playOrder);
        Indent(out, depth);
        out.append("</navPoint>\n");
    }
}

}  // namespace

std::string NavDocument(const std::string& title, const std::string& language, bool rightToLeft,
                        const std::vector<TocNode>& toc) {
    std::string out;
    out.append(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\" "
        "xmlns:epub=\"http://www.idpf.org/2007/ops\" xml:lang=\"");
    out.append(language).append("\" lang=\"").append(language);
    out.append(rightToLeft ? "\" dir=\"rtl\">\n" : "\">\n");
    out.append("<head>\n<meta charset=\"UTF-8\"/>\n<title>");
    AppendXmlEscaped(out, title);
    out.append(
        "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\"/>\n"
        "</head>\n<body>\n<nav epub:type=\"toc\" role=\"doc-toc\" id=\"toc\">\n<h1>");
    AppendXmlEscaped(out, title);
    out.append("</h1>\n");
    AppendNavList(out, toc, 0);
    out.append("</nav>\n</body>\n</html>\n");
    return out;
}

std::string NcxDocument(const std::string& identifier, const std::string& title,
                        const std::string& language, const std::vector<TocNode>& toc) {
    std::string out;
    out.append(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\" xml:lang=\"");
    out.append(language);
    out.append("\">\n<head>\n  <meta name=\"dtb:uid\" content=\"");
    AppendXmlEscaped(out, identifier);
    out.append("\"/>\n  <meta name=\"dtb:depth\" content=\"");
    out.append(std::to_string(TocDepth(toc)));
    out.append(
        "\"/>\n  <meta name=\"dtb:totalPageCount\" content=\"0\"/>\n"
        "  <meta name=\"dtb:maxPageNumber\" content=\"0\"/>\n</head>\n<docTitle><text>");
    AppendXmlEscaped(out, title);
    out.append("</text></docTitle>\n<navMap>\n");
    int playOrder = 0;
    AppendNavPoints(out, toc, 1, playOrder);
    out.append("</navMap>\n</ncx>\n");
    return out;
}

}  // namespace Tessaly::Docs
