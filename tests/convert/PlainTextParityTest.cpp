// A plain-text file makes the same book whether the program stages it (the window's path:
// text -> staging document -> converter) or the converter is given the file itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "convert/StagingText.h"
#include "convert/TextChunks.h"
#include "doclib/DocumentFile.h"
#include "tests/convert/SampleTexts.h"
#include "tests/support/TempHome.h"
#include "text/TextDecoder.h"
#include "util/AppError.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;
using Tessaly::Docs::Document;

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// What the window does with one source: read its chunks, stage them, open the staged file.
Document ThroughTheWindow(const std::string& source, const std::string& runFolder) {
    StagingText staging;
    for (const std::string& chunk : ReadTextChunks(source)) {
        staging.Append(chunk);
    }
    const std::string staged = runFolder + "/temp.rtf";
    staging.SaveFile(staged, fs::path(source).filename().string());
    return Tessaly::Docs::OpenDocument(staged);
}

// The blocks as "kind level: text" lines, so a difference shows where it is.
std::vector<std::string> Outline(const Document& doc) {
    std::vector<std::string> lines;
    for (const auto& block : doc.blocks) {
        lines.push_back(std::to_string(static_cast<int>(block.kind)) + " " +
                        std::to_string(block.level) + ": " + doc.BlockText(block));
    }
    return lines;
}

void ExpectSameBook(const std::string& source, const std::string& runFolder,
                    const char* language = nullptr) {
    SCOPED_TRACE(source);
    const Document window = ThroughTheWindow(source, runFolder);
    const Document library = Tessaly::Docs::OpenDocument(source);
    EXPECT_EQ(library.text, window.text);
    EXPECT_EQ(Outline(library), Outline(window));
    EXPECT_EQ(library.metadata.title, window.metadata.title);
    EXPECT_EQ(library.metadata.language, window.metadata.language);
    if (language != nullptr) {
        EXPECT_EQ(library.metadata.language, language);
    }
}

TEST(PlainTextParity, TheSampleFilesMakeTheSameBook) {
    test::TempDir run;
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(QUILLANE_SAMPLES_DIR)) {
        ExpectSameBook(entry.path().string(), run.path());
        ++seen;
    }
    EXPECT_GE(seen, 4);
}

TEST(PlainTextParity, EncodingsLineEndsAndStructureMakeTheSameBook) {
    test::TempDir dir;
    const std::string chapters =
        "The Salt Road\r\nby Ines Marrow\r\n\r\n\r\nChapter 1\r\n\r\nThe carts left before "
        "dawn,\r\nwhile the square was still dark\r\nand the dogs asleep.\r\n\r\n* * *\r\n\r\n"
        "Nobody spoke.\tA bell rang twice.\r\n\r\n\r\nChapter 2\r\n\r\nBy noon the road "
        "had turned to dust.\r\n";
    const std::string verse =
        "Winter, and the orchard sleeps,\nthe ladder leaning on the wall;\n\nthe frost "
        "keeps what the summer keeps,\nand gives it back in fall.\n";
    const struct {
        const char* name;
        std::string bytes;
        const char* language = nullptr;
    } files[] = {
        {"chapters.txt", chapters},
        {"verse.txt", verse},
        {"bom.txt", "\xEF\xBB\xBF" + chapters},
        {"russian-1251.txt", test::Encode(test::kRussianText, "WINDOWS-1251"), "ru"},
        {"russian-koi8.txt", test::Encode(test::kRussianText, "KOI8-R"), "ru"},
        {"czech-8859-2.txt", test::Encode(test::kCzechText, "ISO-8859-2"), "cs"},
        {"japanese-sjis.txt", test::Encode(test::kJapaneseText, "SHIFT_JIS"), "ja"},
        {"chinese-gb.txt", test::Encode(test::kChineseText, "GB18030"), "zh"},
        {"french-utf16.txt", test::Encode(test::kFrenchText, "UTF-16"), "fr"},
        {"spanish-1252.txt", test::Encode("El niño comió una manzana en la mañana.\n", "CP1252")},
        {"damaged-utf8.txt", test::kFrenchText + "\xFF" + test::kRussianText},
        {"empty.txt", ""},
        {"lone-cr.txt", "one\rtwo\r\rthree"},
    };
    for (const auto& file : files) {
        WriteBytes(dir / file.name, file.bytes);
        ExpectSameBook(dir / file.name, dir.path(), file.language);
    }
}

TEST(PlainTextParity, ABinaryFileIsNotATextFileOnEitherPath) {
    test::TempDir dir;
    WriteBytes(dir / "photo.txt", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01", 16));
    try {
        ReadTextChunks(dir / "photo.txt");
        ADD_FAILURE() << "staging read an image";
    } catch (const AppError& e) {
        EXPECT_EQ(e.description(), "not a text file");
    }
    try {
        Tessaly::Docs::OpenDocument(dir / "photo.txt");
        ADD_FAILURE() << "the library read an image";
    } catch (const Tessaly::Docs::DocumentError& e) {
        EXPECT_NE(std::string(e.what()).find("not a text file"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace quillane
