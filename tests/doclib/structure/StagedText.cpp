#include "tests/doclib/structure/StagedText.h"

#include "doclib/structure/Refine.h"

namespace quillane::test {

using Tessaly::Docs::Document;

Document StagedDocument(std::string_view text, const std::string& fileName) {
    Document doc;
    doc.metadata.title = fileName;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        doc.BeginBlock();
        doc.AppendText(text.substr(start, end - start));
        start = end + 1;
    }
    return doc;
}

std::string HardWrap(const std::vector<std::string>& paragraphs, std::size_t width, bool blankLines,
                     const std::string& indent) {
    std::string out;
    for (std::size_t p = 0; p < paragraphs.size(); ++p) {
        if (p > 0 && blankLines) {
            out += "\n";
        }
        std::string line = indent;
        bool empty = true;
        for (const std::string& word : WordsOf(paragraphs[p])) {
            if (!empty && line.size() + 1 + word.size() > width) {
                out += line + "\n";
                line.clear();
                empty = true;
            }
            line += empty ? word : " " + word;
            empty = false;
        }
        out += line + "\n";
    }
    return out;
}

std::vector<std::string> BlockTexts(const Document& doc) {
    std::vector<std::string> texts;
    for (const auto& block : doc.blocks) {
        texts.push_back(doc.BlockText(block));
    }
    return texts;
}

std::vector<std::string> WordsOf(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    return words;
}

std::vector<std::string> WordsOf(const Document& doc) {
    std::vector<std::string> words;
    for (const auto& block : doc.blocks) {
        for (std::string& w : WordsOf(doc.BlockText(block))) {
            words.push_back(std::move(w));
        }
    }
    return words;
}

std::ostream& operator<<(std::ostream& os, const Heading& h) {
    return os << "{" << h.text << ", " << h.level << "}";
}

std::vector<Heading> Headings(const Document& doc) {
    std::vector<Heading> out;
    for (const auto& block : doc.blocks) {
        if (block.kind == Tessaly::Docs::BlockKind::Heading) {
            out.push_back({doc.BlockText(block), block.level});
        }
    }
    return out;
}

Document Refined(std::string_view text, const std::string& fileName) {
    Document doc = StagedDocument(text, fileName);
    Tessaly::Docs::RefineForReading(doc);
    return doc;
}

}  // namespace quillane::test
