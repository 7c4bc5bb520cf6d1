#include "tests/fuzz/BookChecks.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <stdlib.h>
#include <unicode/uchar.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/doclib/epub/ZipReading.h"
#include "text/Utf8.h"

namespace quillane::fuzz {

namespace {

bool IsElement(const xmlNode* node, std::string_view name) {
    return node->type == XML_ELEMENT_NODE &&
           std::string_view(reinterpret_cast<const char*>(node->name)) == name;
}

void CollectText(const xmlNode* node, std::string& out) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            out.append(reinterpret_cast<const char*>(node->content));
        } else if (IsElement(node, "img")) {
            if (xmlChar* alt = xmlGetProp(node, reinterpret_cast<const xmlChar*>("alt"))) {
                out.append(reinterpret_cast<const char*>(alt));
                xmlFree(alt);
            }
        }
        CollectText(node->children, out);
    }
}

const xmlNode* FindBody(const xmlNode* node) {
    for (; node != nullptr; node = node->next) {
        if (IsElement(node, "body")) {
            return node;
        }
        if (const xmlNode* found = FindBody(node->children)) {
            return found;
        }
    }
    return nullptr;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// Parses one XML file of the book; returns the text of its body when it is a content file.
std::string CheckXml(const test::ZipEntryInfo& entry) {
    const xmlDocPtr xml =
        xmlReadMemory(entry.data.data(), static_cast<int>(entry.data.size()), entry.name.c_str(),
                      "UTF-8", XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    Require(xml != nullptr, "an XML file of the book is not well-formed");
    std::string text;
    if (entry.name.rfind("EPUB/text/", 0) == 0) {
        const xmlNode* body = FindBody(xmlDocGetRootElement(xml));
        Require(body != nullptr, "a content file has no body");
        CollectText(body->children, text);
    }
    xmlFreeDoc(xml);
    return text;
}

}  // namespace

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "book invariant broken: %s\n", what);
        std::abort();  // the fuzzer reports it as a crash and keeps the input
    }
}

const std::string& WorkFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-XXXXXX").string();
        Require(mkdtemp(pattern.data()) != nullptr, "cannot create a working folder");
        return pattern;
    }();
    return folder;
}

std::string CheckedBookText(const std::string& epubPath) {
    static const bool ready = (xmlInitParser(), true);
    (void)ready;
    std::ifstream in(epubPath, std::ios::binary);
    const std::string book((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::filesystem::remove(epubPath);

    std::vector<test::ZipEntryInfo> entries;
    try {
        entries = test::ReadZip(book);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Require(false, "the container does not open");
    }
    Require(!entries.empty() && entries.front().name == "mimetype" &&
                entries.front().data == "application/epub+zip",
            "the container does not start with its media type");
    std::string bookText;
    for (const auto& entry : entries) {
        if (EndsWith(entry.name, ".xhtml") || EndsWith(entry.name, ".opf") ||
            EndsWith(entry.name, ".ncx") || EndsWith(entry.name, ".xml")) {
            Require(text::utf8::IsValidUtf8(entry.data), "an XML file of the book is not UTF-8");
            bookText.append(CheckXml(entry));
        }
    }
    return bookText;
}

std::u32string LettersOf(std::string_view utf8) {
    std::u32string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const text::utf8::CodePoint cp = text::utf8::DecodeAt(utf8, i);
        i += cp.length;
        if (u_isalnum(static_cast<UChar32>(cp.value))) {
            out.push_back(cp.value);
        }
    }
    return out;
}

}  // namespace quillane::fuzz
