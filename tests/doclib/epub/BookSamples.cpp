#include "tests/doclib/epub/BookSamples.h"

#include "tests/support/TempHome.h"

using namespace Tessaly::Docs;

namespace quillane::test {

void AddBlock(Document& doc, BlockKind kind, std::uint8_t level, const std::string& text) {
    doc.BeginBlock(kind, level);
    doc.AppendText(text);
}

std::uint32_t AddNote(Document& doc, const std::string& text) {
    // AppendText writes to the last body block; borrow one for the note's paragraph.
    doc.blocks.push_back(Block{});
    doc.blocks.back().firstSpan = static_cast<std::uint32_t>(doc.spans.size());
    doc.AppendText(text);
    doc.noteBlocks.push_back(doc.blocks.back());
    doc.blocks.pop_back();
    doc.notes.push_back(Note{static_cast<std::uint32_t>(doc.noteBlocks.size() - 1), 1});
    return static_cast<std::uint32_t>(doc.notes.size() - 1);
}

Document MakeNovel(int parts, int chapters, std::size_t chapterBytes) {
    static const char* const kWords[] = {
        "river",  "lantern", "quiet", "harbour", "stone", "morning", "letter", "crossed",
        "slowly", "under",   "the",   "a",       "of",    "and",     "window", "bright"};
    Document doc;
    doc.metadata.title = "The Generated Novel";
    doc.metadata.author = "Test Author";
    doc.metadata.language = "en";
    unsigned seed = 1;
    for (int p = 1; p <= parts; ++p) {
        AddBlock(doc, BlockKind::Heading, 1, "Part " + std::to_string(p));
        for (int c = 1; c <= chapters; ++c) {
            AddBlock(doc, BlockKind::Heading, parts > 0 ? 2 : 1, "Chapter " + std::to_string(c));
            std::size_t written = 0;
            bool sceneBreak = false;
            while (written < chapterBytes) {
                std::string paragraph;
                const int sentences = 2 + static_cast<int>(seed % 5);
                for (int s = 0; s < sentences; ++s) {
                    const int words = 5 + static_cast<int>((seed >> 3) % 9);
                    for (int w = 0; w < words; ++w) {
                        seed = seed * 1103515245u + 12345u;
                        std::string word = kWords[(seed >> 16) % 16];
                        if (w == 0) {
                            word[0] = static_cast<char>(word[0] - 'a' + 'A');
                        }
                        paragraph += word;
                        paragraph += w + 1 < words ? " " : ". ";
                    }
                }
                paragraph.pop_back();
                written += paragraph.size();
                AddBlock(doc, BlockKind::Paragraph, 0, paragraph);
                if (!sceneBreak && written > chapterBytes / 2) {
                    doc.BeginBlock(BlockKind::SceneBreak);
                    sceneBreak = true;
                }
            }
        }
    }
    return doc;
}

std::string BodyText(const Document& doc) {
    std::string text;
    for (const Block& block : doc.blocks) {
        if (block.kind == BlockKind::Paragraph || block.kind == BlockKind::Heading) {
            text += doc.BlockText(block);
        }
    }
    return text;
}

std::vector<ZipEntryInfo> WriteAndRead(const Document& doc, const std::string& path) {
    doc.Save(path);
    return ReadZip(ReadFile(path));
}

std::vector<std::string> ContentFiles(const std::vector<ZipEntryInfo>& entries) {
    std::vector<std::string> names;
    for (const ZipEntryInfo& e : entries) {
        if (e.name.rfind("EPUB/text/", 0) == 0) {
            names.push_back(e.name);
        }
    }
    return names;
}

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
    const std::size_t a = text.find(open);
    if (a == std::string::npos) {
        return {};
    }
    const std::size_t b = text.find(close, a + open.size());
    if (b == std::string::npos) {
        return {};
    }
    return text.substr(a + open.size(), b - a - open.size());
}

}  // namespace quillane::test
