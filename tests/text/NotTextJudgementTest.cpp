// What is refused as "not a text file": signatures of pictures, archives, documents and
// programs, or a high share of control bytes; never a text for its zero bytes or escapes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/convert/SampleTexts.h"
#include "text/FileSignatures.h"
#include "text/TextDecoder.h"

namespace text {
namespace {

using namespace std::string_literals;

// A build log cut short by a crash: colours, then the zero bytes the file system padded with.
std::string CrashedLog() {
    return "[ 12%] Building CXX object src/main.cpp.o\n\x1B[1;31merror:\x1B[0m missing brace\n"s +
           std::string(512, '\0') + "make: *** [all] Error 2\n";
}

std::string Tar() {
    std::string header(512, '\0');
    header.replace(0, 9, "notes.txt");
    header.replace(100, 7, "0000644");
    header.replace(124, 11, "00000000017");
    header.replace(257, 8, "ustar"s + '\0' + "00");
    header.replace(148, 8, "        ");
    unsigned sum = 0;
    for (const char c : header) {
        sum += static_cast<unsigned char>(c);
    }
    char field[8];
    std::snprintf(field, sizeof field, "%06o", sum);
    header.replace(148, 7, std::string(field, 6) + '\0');
    return header + "A note in a tar.\n" + std::string(495, '\0');
}

std::string RunningProgram() {
    std::ifstream in("/proc/self/exe", std::ios::binary);
    std::string head(8192, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    return head;
}

struct Case {
    const char* what;
    std::string bytes;
    bool refused;
};

TEST(NotTextJudgement, SignaturesAndControlsRefuseZeroBytesAndEscapesDoNot) {
    const Case cases[] = {
        {"png",
         "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0\x1F\xF3\xFF"s
         "a\0\0\0\x04sBIT\x08\x08\x08\x08|\x08d\x88\0\0\0\x20IDAT8\x8D"s,
         true},
        {"zip of a text",
         "PK\x03\x04\x0A\0\0\0\0\0\x21\x64\x4B\x59\0\0\0\0\x0C\0\0\0\x0C\0\0\0"s
         "\x08\0\0\0notes.txtHello there.\n"s,
         true},
        {"tar of a text", Tar(), true},
        {"program", RunningProgram(), true},
        {"pdf",
         "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<< /Length 9 /Filter /FlateDecode >>\n"s
         "stream\nx\x9C\x03\0\0\0\0\x01\nendstream\nendobj\n"s,
         true},
        {"noise", "\x01\x02\x03\x04\x05\x06\x07\x08\x0E\x0F\x10\x11 words"s, true},
        {"crashed log", CrashedLog(), false},
        {"short text with a zero and colours", "\x1B[32mok\x1B[0m one\0 two three\n"s, false},
        {"stray control in a text", "Chapter 1\f\nA page\x02 later.\x1A"s, false},
        {"text that begins like a program", "MZ is the label on the crate.\n"s, false},
        {"text that begins like a picture", "BM was the name painted on the boat.\n"s, false},
        {"utf-16", quillane::test::Encode("Plain words here, and more of them.", "UTF-16LE"),
         false},
        {"iso-2022-kr",
         quillane::test::Encode("오늘은 날씨가 좋아서 공원에 산책을 갔다.", "ISO-2022-KR"), false},
        {"empty", "", false},
    };
    FileSignatures signatures;
    for (const Case& c : cases) {
        EXPECT_EQ(LooksLikeBinary(c.bytes, signatures), c.refused) << c.what;
    }
    EXPECT_EQ(signatures.LoadError(), "");
}

TEST(NotTextJudgement, ZeroBytesAreDroppedAndEveryOtherCharacterKept) {
    const std::string expected =
        "[ 12%] Building CXX object src/main.cpp.o\n\x1B[1;31merror:\x1B[0m missing brace\n"
        "make: *** [all] Error 2\n";
    EXPECT_EQ(DecodeText(CrashedLog()).utf8, expected);
    EXPECT_EQ(DecodeText("caf\xE9\0 au lait"s).utf8, "café au lait");
}

}  // namespace
}  // namespace text
