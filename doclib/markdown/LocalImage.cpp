#include "doclib/markdown/LocalImage.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fileio/File.h"
#include "text/HexDigit.h"

namespace Tessaly::Docs {

namespace {

constexpr std::string_view kSvgNamespace = "http://www.w3.org/2000/svg";
constexpr std::string_view kXlinkNamespace = "http://www.w3.org/1999/xlink";
constexpr std::string_view kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

std::string PercentDecoded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && ::text::HexDigitValue(s[i + 1]) >= 0 &&
            ::text::HexDigitValue(s[i + 2]) >= 0) {
            out.push_back(static_cast<char>(::text::HexDigitValue(s[i + 1]) * 16 +
                                            ::text::HexDigitValue(s[i + 2])));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

// "http:", "data:", "C:" and every other scheme: not a relative path.
bool HasScheme(std::string_view s) {
    const auto colon = s.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        return false;
    }
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = s[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> CanonicalPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        return std::nullopt;
    }
    return std::string(resolved.get());
}

std::string_view SvgNamespaceOf(const xmlNode* node) {
    return node->ns == nullptr || node->ns->href == nullptr
               ? std::string_view()
               : std::string_view(reinterpret_cast<const char*>(node->ns->href));
}

std::string_view SvgNameOf(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

// A reference inside the image itself ("#gradient") or data it carries; anything else would
// reach outside the book.
bool IsSelfContainedReference(const xmlAttr* attribute) {
    xmlChar* value = xmlNodeListGetString(attribute->doc, attribute->children, 1);
    const std::string_view v = value == nullptr ? "" : reinterpret_cast<const char*>(value);
    const bool inside = v.empty() || v.front() == '#' || v.substr(0, 5) == "data:";
    xmlFree(value);
    return inside;
}

// Elements of SVG only (no editor's private markup, which the checker rejects), no scripts or
// foreign content, and no reference to anything outside the image.
bool IsPlainSvgElement(const xmlNode* node) {
    if (SvgNamespaceOf(node) != kSvgNamespace || SvgNameOf(node) == "script" ||
        SvgNameOf(node) == "foreignObject") {
        return false;
    }
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        const std::string_view ns =
            a->ns == nullptr ? std::string_view()
                             : std::string_view(reinterpret_cast<const char*>(a->ns->href));
        const std::string_view name = reinterpret_cast<const char*>(a->name);
        if (!ns.empty() && ns != kXlinkNamespace && ns != kXmlNamespace) {
            return false;
        }
        if (name.substr(0, 2) == "on") {
            return false;  // event handlers
        }
        if (name == "href" && !IsSelfContainedReference(a)) {
            return false;
        }
    }
    return true;
}

bool IsSelfContainedSvg(std::string_view bytes) {
    if (bytes.size() > INT_MAX) {
        return false;
    }
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "image.svg", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        &xmlFreeDoc);
    if (!doc || doc->intSubset != nullptr || doc->extSubset != nullptr) {
        return false;  // not XML, or a document type that points elsewhere
    }
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (root == nullptr || SvgNameOf(root) != "svg") {
        return false;
    }
    // Every element, walked without recursion.
    const xmlNode* node = root;
    while (node != nullptr) {
        if (node->type == XML_ELEMENT_NODE && !IsPlainSvgElement(node)) {
            return false;
        }
        if (node->type == XML_ENTITY_REF_NODE) {
            return false;
        }
        if (node->children != nullptr && node->type == XML_ELEMENT_NODE) {
            node = node->children;
            continue;
        }
        while (node != nullptr && node != root && node->next == nullptr) {
            node = node->parent;
        }
        node = node == nullptr || node == root ? nullptr : node->next;
    }
    return true;
}

}  // namespace

std::optional<std::string> ResolveLocalImage(const std::string& folder,
                                             std::string_view reference) {
    if (folder.empty() || reference.empty() || reference.front() == '/' || HasScheme(reference)) {
        return std::nullopt;
    }
    reference = reference.substr(0, reference.find_first_of("?#"));
    const std::string decoded = PercentDecoded(reference);
    if (decoded.empty() || decoded.front() == '/' || decoded.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    // The path's own steps may not climb above the folder, whatever the links inside it do.
    std::vector<std::string_view> steps;
    std::string_view rest = decoded;
    while (!rest.empty()) {
        const auto slash = rest.find('/');
        const std::string_view step = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (step.empty() || step == ".") {
            continue;
        }
        if (step == "..") {
            if (steps.empty()) {
                return std::nullopt;
            }
            steps.pop_back();
            continue;
        }
        steps.push_back(step);
    }
    if (steps.empty()) {
        return std::nullopt;
    }
    std::string path = folder;
    for (std::string_view step : steps) {
        path.append("/").append(step);
    }
    // And where symbolic links lead, it must still be inside the folder.
    const std::optional<std::string> base = CanonicalPath(folder);
    const std::optional<std::string> target = CanonicalPath(path);
    if (!base || !target) {
        return std::nullopt;
    }
    const std::string prefix = *base == "/" ? *base : *base + "/";
    if (target->compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    return target;
}

std::string ImageMediaType(std::string_view bytes) {
    if (bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
        return "image/png";
    }
    if (bytes.substr(0, 3) == "\xFF\xD8\xFF") {
        return "image/jpeg";
    }
    if (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a") {
        return "image/gif";
    }
    if (IsSelfContainedSvg(bytes)) {
        return "image/svg+xml";
    }
    return {};
}

std::optional<Image> ReadLocalImage(const std::string& path, std::uint64_t sizeLimit) {
    Image image;
    if (!fileio::ReadRegularFile(path, sizeLimit, image.data).ok()) {
        return std::nullopt;
    }
    image.mediaType = ImageMediaType(image.data);
    if (image.mediaType.empty()) {
        return std::nullopt;
    }
    return image;
}

}  // namespace Tessaly::Docs
