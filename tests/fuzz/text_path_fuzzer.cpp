// libFuzzer target for the whole text path: any bytes, read as a plain-text source, must give
// a book a reader can open. Checked with tools that share no code with the writer: the
// container with an independent ZIP reader, every XML file with libxml2, and the book's text
// against the decoded source, letter by letter (ICU's idea of a letter or digit).

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <stdlib.h>
#include <unicode/uchar.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "text/Utf8.h"
#include "doclib/epub/EpubWriter.h"
#include "tests/doclib/epub/ZipReading.h"
#include "tests/fuzz/TextPath.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "text path invariant broken: %s\n", what);
        std::abort();  // the fuzzer reports it as a crash and keeps the input
    }
}

// Letters and digits of UTF-8 text, in order. Punctuation and spaces may legitimately change
// shape (a scene break "* * *" becomes markup); letters never may.
void AppendLetters(std::u32string& out, std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1   ? lead
                     : length == 2 ? (lead & 0x1F)
                     : length == 3 ? (lead & 0x0F)
                                   : (lead & 0x07);
        for (int k = 1; k < length && i + static_cast<std::size_t>(k) < utf8.size(); ++k) {
            c = (c << 6) |
                (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        i += static_cast<std::size_t>(length);
        if (u_isalnum(static_cast<UChar32>(c))) {
            out.push_back(c);
        }
    }
}

void CollectText(const xmlNode* node, std::string& out) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            out.append(reinterpret_cast<const char*>(node->content));
        }
        CollectText(node->children, out);
    }
}

const xmlNode* FindBody(const xmlNode* node) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE &&
            std::string_view(reinterpret_cast<const char*>(node->name)) == "body") {
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
std::string CheckXml(const quillane::test::ZipEntryInfo& entry) {
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

std::string BookPath() {
    // One private folder per fuzzing process, for the book the writer puts on disk.
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "text-fuzz-XXXXXX").string();
        Require(mkdtemp(pattern.data()) != nullptr, "cannot create a working folder");
        return pattern;
    }();
    return folder + "/book.epub";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (xmlInitParser(), true);
    (void)ready;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    quillane::fuzz::TextSource source;
    try {
        source = quillane::fuzz::ReadTextSource(std::move(bytes), "fuzz input.txt");
    } catch (const Tessaly::Docs::DocumentError&) {
        Require(false, "plain text was refused");
    }
    Require(text::utf8::IsValidUtf8(source.text), "decoded text is not UTF-8");

    const std::string path = BookPath();
    try {
        Tessaly::Docs::WriteEpub(source.document, path);
    } catch (const Tessaly::Docs::DocumentError&) {
        Require(false, "the book could not be written");
    }
    std::ifstream in(path, std::ios::binary);
    const std::string book((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::filesystem::remove(path);

    std::vector<quillane::test::ZipEntryInfo> entries;
    try {
        entries = quillane::test::ReadZip(book);
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
    std::u32string expected;
    std::u32string found;
    AppendLetters(expected, source.text);
    AppendLetters(found, bookText);
    Require(expected == found, "the book's letters differ from the source's");
    return 0;
}
