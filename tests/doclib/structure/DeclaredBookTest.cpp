// What a text declares about itself: the library layout's header in each era, its front and
// back matter, the chapters of its languages; and the CJK title shapes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doclib/structure/BookFrame.h"
#include "doclib/structure/ChapterLine.h"
#include "doclib/structure/DeclaredBook.h"
#include "doclib/structure/HeaderFields.h"
#include "doclib/structure/LanguageName.h"
#include "doclib/structure/TitleFinder.h"
#include "tests/doclib/structure/LibraryLayoutTexts.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using Tessaly::Docs::Contributor;
using Tessaly::Docs::Document;
using namespace quillane::test;

std::vector<std::string> Authors(const Document& doc) {
    std::vector<std::string> all;
    if (!doc.metadata.author.empty()) {
        all.push_back(doc.metadata.author);
    }
    all.insert(all.end(), doc.metadata.coauthors.begin(), doc.metadata.coauthors.end());
    return all;
}

struct EraCase {
    const char* era;
    std::string text;
    std::string title;
    std::vector<std::string> authors;
    std::vector<Contributor> contributors;
    std::string language;
    std::vector<Heading> headings;
};

TEST(LibraryLayout, EveryEraNamesTitleAuthorsLanguageAndChapters) {
    const std::vector<EraCase> cases = {
        {"today, Finnish",
         FinnishTodayText(),
         "Satamakonttori",
         {"Aino Virtanen", "Eero Laine"},
         {{"Maija Koski", "trl"}},
         "fi",
         {{"The Project Gutenberg eBook of Satamakonttori, by Aino Virtanen and Eero Laine", 1},
          {"SATAMAKONTTORI", 1},
          {"LUKU I.", 1},
          {"LUKU II.", 1},
          {"LUKU III.", 1},
          {"*** END OF THE PROJECT GUTENBERG EBOOK SATAMAKONTTORI ***", 1}}},
        {"2000s, French",
         FrenchTwoThousandsText(),
         "Le Port des Brumes",
         {"Jules Marin"},
         {{"Claire Dubois", "edt"}},
         "fr",
         {{"The Project Gutenberg EBook of Le Port des Brumes, by Jules Marin", 1},
          {"LE PORT DES BRUMES", 1},
          {"CHAPITRE PREMIER", 1},
          {"CHAPITRE II", 1},
          {"CHAPITRE III", 1},
          {"End of the Project Gutenberg EBook of Le Port des Brumes, by Jules Marin", 1}}},
        {"1990s, Italian",
         ItalianNinetiesText(),
         "Il Faro sul Mare",
         {"Paolo Rossi"},
         {},
         "",  // declared nowhere: the identifier's word
         {{"**The Project Gutenberg Etext of Il Faro sul Mare, by Paolo Rossi**", 1},
          {"IL FARO SUL MARE", 1},
          {"CAPITOLO PRIMO", 1},
          {"CAPITOLO II", 1},
          {"CAPITOLO III", 1},
          {"End of the Project Gutenberg Etext of Il Faro sul Mare, by Paolo Rossi", 1}}},
        {"2000s wrapped, Spanish",
         SpanishWrappedText(),
         "El Faro del Norte y Otras Historias de la Costa",
         {"Ana Ruiz", "Luis Gómez"},
         {{"Peter Vance", "trl"}, {"Rosa Vance", "trl"}, {"Marta Sol", "ill"}},
         "es",
         {{"The Project Gutenberg EBook of El Faro del Norte y Otras Historias de la Costa, by "
           "Ana Ruiz and Luis Gómez",
           1},
          {"EL FARO DEL NORTE", 1},
          {"I.", 1},
          {"II.", 1},
          {"III.", 1},
          {"*** END OF THIS PROJECT GUTENBERG EBOOK EL FARO DEL NORTE ***", 1}}},
        {"today, Dutch, three authors",
         DutchThreeAuthorsText(),
         "De Vuurtoren",
         {"Jan de Vries", "Piet Bakker", "Kees Smit"},
         {},
         "nl",
         {{"The Project Gutenberg eBook of De Vuurtoren, by Jan de Vries, Piet Bakker and Kees "
           "Smit",
           1},
          {"DE VUURTOREN", 1},
          {"HOOFDSTUK I.", 1},
          {"HOOFDSTUK II.", 1},
          {"HOOFDSTUK III.", 1},
          {"*** END OF THE PROJECT GUTENBERG EBOOK DE VUURTOREN ***", 1}}},
    };
    for (const EraCase& c : cases) {
        SCOPED_TRACE(c.era);
        const Document doc = Refined(c.text, "pg99991.txt");
        EXPECT_EQ(doc.metadata.title, c.title);
        EXPECT_EQ(Authors(doc), c.authors);
        EXPECT_EQ(doc.metadata.contributors, c.contributors);
        if (!c.language.empty()) {
            EXPECT_EQ(doc.metadata.language, c.language);
        }
        EXPECT_EQ(Headings(doc), c.headings);
        // Header and licence are kept, word for word.
        EXPECT_EQ(WordsOf(c.text), WordsOf(doc));
    }
}

TEST(LibraryLayout, TheLicenceBeforeAndAfterTheBookHoldsNoHeadingOfItsOwn) {
    // "Section 1." and "1.A." of the licence are no chapters of the book.
    for (const Heading& h : Headings(Refined(FinnishTodayText(), "x.txt"))) {
        EXPECT_EQ(h.text.find("Section"), std::string::npos) << h;
        EXPECT_EQ(h.text.find("1.A."), std::string::npos) << h;
    }
}

TEST(LibraryLayout, ATitlePageAloneNamesTheBook) {
    // Markers without a header: the title page after the start marker names title and author.
    const std::string text =
        "*** START OF THE PROJECT GUTENBERG EBOOK DER LEUCHTTURM ***\n\n[Illustration]\n\n"
        "DER LEUCHTTURM\n\nvon\n\n"
        "GRETA LIND\n\n\nKAPITEL I.\n\nDas Schiff lief bei Tagesanbruch in den Hafen ein.\n\n\n"
        "KAPITEL II.\n\nAm Abend drehte der Wind.\n\n*** END OF THE PROJECT GUTENBERG EBOOK DER "
        "LEUCHTTURM ***\n";
    const Document doc = Refined(text, "pg5.txt");
    EXPECT_EQ(doc.metadata.title, "DER LEUCHTTURM");
    EXPECT_EQ(Authors(doc), std::vector<std::string>{"GRETA LIND"});
    const std::vector<Heading> headings = Headings(doc);
    ASSERT_EQ(headings.size(), 4u);
    EXPECT_EQ(headings[0].text, "DER LEUCHTTURM");
    EXPECT_EQ(headings[1].text, "KAPITEL I.");
    EXPECT_EQ(headings[2].text, "KAPITEL II.");
}

TEST(LibraryLayout, HeaderLinesOfEachEraAreRead) {
    using Tessaly::Docs::MatchEbookLine;
    struct Case {
        const char* line;
        const char* title;
        const char* author;
    };
    const std::vector<Case> cases = {
        {"The Project Gutenberg EBook of The Harbour Office, by Mira Oss", "The Harbour Office",
         "Mira Oss"},
        {"The Project Gutenberg eBook of The Harbour Office", "The Harbour Office", ""},
        {"**The Project Gutenberg Etext of Salt, Wind, and Rain, by Jon Holm**",
         "Salt, Wind, and Rain", "Jon Holm"},
        {"Project Gutenberg's The Harbour Office, by Mira Oss", "The Harbour Office", "Mira Oss"},
        {"The Project Gutenberg EBook of Tides, by Mira Oss, Illustrated by Ada Vik", "Tides",
         "Mira Oss"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto ebook = MatchEbookLine(c.line);
        ASSERT_TRUE(ebook);
        EXPECT_EQ(ebook->title, c.title);
        EXPECT_EQ(ebook->author, c.author);
    }
    EXPECT_FALSE(MatchEbookLine("The project was finished by Mira Oss"));
    EXPECT_FALSE(MatchEbookLine("The Project Gutenberg eBook of "));
}

TEST(LibraryLayout, FieldsAndNameListsAreSplitAsWritten) {
    using Tessaly::Docs::HeaderField;
    using Tessaly::Docs::MatchHeaderField;
    using Tessaly::Docs::SplitNames;
    EXPECT_EQ(MatchHeaderField("Translator: Maija Koski")->field, HeaderField::Translator);
    EXPECT_EQ(MatchHeaderField("Release date: March 3, 2024")->field, HeaderField::Other);
    EXPECT_EQ(MatchHeaderField("Language: Finnish")->value, "Finnish");
    EXPECT_FALSE(MatchHeaderField("note: this is prose, not a field"));
    EXPECT_FALSE(MatchHeaderField("10:30 the ferry left"));

    const std::vector<std::pair<std::string, std::vector<std::string>>> names = {
        {"Mira Oss", {"Mira Oss"}},
        {"Mira Oss and Jon Holm", {"Mira Oss", "Jon Holm"}},
        {"A. Berg, B. Dahl and C. Ek", {"A. Berg", "B. Dahl", "C. Ek"}},
        {"A. Berg, B. Dahl, and C. Ek", {"A. Berg", "B. Dahl", "C. Ek"}},
        {"Mira Oss & Jon Holm", {"Mira Oss", "Jon Holm"}},
        {"Jon Holm, Jr.", {"Jon Holm, Jr."}},
        {"Mira Oss (1850-1910)", {"Mira Oss"}},
        {"Mira Oss, 1850-1910", {"Mira Oss"}},
        {"Mira Oss and Mira Oss", {"Mira Oss", "Mira Oss"}},  // splitting only; the book dedups
    };
    for (const auto& [value, expected] : names) {
        EXPECT_EQ(SplitNames(value), expected) << value;
    }
}

TEST(LibraryLayout, MarkersOfEachEraAreKnown) {
    using Tessaly::Docs::FrameMarker;
    using Tessaly::Docs::MatchFrameMarker;
    const std::vector<std::pair<std::string, FrameMarker>> cases = {
        {"*** START OF THE PROJECT GUTENBERG EBOOK THE HARBOUR ***", FrameMarker::Start},
        {"*** START OF THIS PROJECT GUTENBERG EBOOK THE HARBOUR ***", FrameMarker::Start},
        {"***START OF THE PROJECT GUTENBERG EBOOK THE HARBOUR***", FrameMarker::Start},
        {"*END*THE SMALL PRINT! FOR PUBLIC DOMAIN ETEXTS*Ver.04.29.93*END*", FrameMarker::Start},
        {"***START**THE SMALL PRINT!**FOR PUBLIC DOMAIN ETEXTS**START***", FrameMarker::None},
        {"*** END OF THE PROJECT GUTENBERG EBOOK THE HARBOUR ***", FrameMarker::End},
        {"End of the Project Gutenberg EBook of The Harbour, by Mira Oss", FrameMarker::End},
        {"End of Project Gutenberg's The Harbour, by Mira Oss", FrameMarker::End},
        {"End of the day, we went home.", FrameMarker::None},
        {"*** START OF THE SECOND PART ***", FrameMarker::None},
    };
    for (const auto& [line, marker] : cases) {
        EXPECT_EQ(MatchFrameMarker(line), marker) << line;
    }
}

TEST(LibraryLayout, DeclaredLanguagesAreTagsAndGiveWayOnlyToASureIdentifier) {
    using Tessaly::Docs::ChooseLanguage;
    using Tessaly::Docs::LanguageTagFromName;
    EXPECT_EQ(LanguageTagFromName("Finnish"), "fi");
    EXPECT_EQ(LanguageTagFromName(" french "), "fr");
    EXPECT_EQ(LanguageTagFromName("Dutch"), "nl");
    EXPECT_EQ(LanguageTagFromName("fr"), "fr");
    EXPECT_EQ(LanguageTagFromName("pt_BR"), "pt-BR");
    EXPECT_EQ(LanguageTagFromName("English and French"), "");
    EXPECT_EQ(LanguageTagFromName("English, French"), "");
    EXPECT_EQ(LanguageTagFromName("Klingonese"), "");
    EXPECT_EQ(LanguageTagFromName("zz"), "");

    EXPECT_EQ(ChooseLanguage("fi", ""), "fi");          // the identifier is unsure
    EXPECT_EQ(ChooseLanguage("pt-BR", "pt"), "pt-BR");  // it agrees
    EXPECT_EQ(ChooseLanguage("en", "fr"), "fr");        // it read French
    EXPECT_EQ(ChooseLanguage("", "fr"), "fr");
}

TEST(LibraryLayout, HostileHeadersCostLittleAndNameABoundedFew) {
    // A header of thousands of author lines names a bounded few; a text of "BY" lines is only
    // text. (Their cost is measured at full size outside the tests.)
    std::string authors = "The Project Gutenberg eBook of Many Hands\n\nTitle: Many Hands\n\n";
    for (int i = 0; i < 20000; ++i) {
        authors += "Author: Writer " + std::string(1, static_cast<char>('A' + i % 26)) + "\n";
    }
    authors += "\n*** START OF THE PROJECT GUTENBERG EBOOK MANY HANDS ***\n\nText.\n";
    const Document many = Refined(authors, "x.txt");
    EXPECT_EQ(many.metadata.title, "Many Hands");
    EXPECT_LE(Authors(many).size(), 32u);
    EXPECT_GE(Authors(many).size(), 2u);

    std::string by;
    for (int i = 0; i < 40000; ++i) {
        by += i % 2 == 0 ? "BY\n" : "\n";
    }
    const Document bys = Refined(by, "by.txt");
    EXPECT_TRUE(Authors(bys).empty());
}

TEST(ChapterWords, LanguagesOfTheLibraryAndNumeralsAlone) {
    std::string scratch;
    struct Case {
        const char* line;
        int number;  // -2: no chapter line
    };
    const std::vector<Case> cases = {
        {"LUKU I.", 1},
        {"Luku 12", 12},
        {"I LUKU", 1},
        {"3. luku", 3},
        {"II. fejezet", 2},
        {"IV.", 4},
        {"XII", 12},
        {"IV. THE STORM", 4},
        {"VIII. Am Hafen", 8},
        {"I am here.", -2},
        {"IV. the storm", -2},
        {"12.", -2},
        {"MIX", -2},
        {"C. Smith.", -2},
        {"番外　星夜", -1},
        {"番外篇 归途", -1},
        {"番外二：归途", 2},
        {"外传 旧事", -1},
        {"番外的故事很多。", -2},
        {"Poglavlje 11.", 11},
        {"Cap. 4", 4},
        {"11. peatükk", 11},
        {"Κεφάλαιο 3", 3},
        {"Bölüm 2: Kurulum", 2},
    };
    for (const Case& c : cases) {
        const auto match = Tessaly::Docs::MatchChapterLine(c.line, scratch);
        if (c.number == -2) {
            EXPECT_FALSE(match) << c.line;
        } else {
            ASSERT_TRUE(match) << c.line;
            EXPECT_EQ(match->number, c.number) << c.line;
        }
    }
}

TEST(ChapterWords, AStrayRomanNumeralIsNoChapter) {
    const std::string prose =
        "The Harbour\n\nChapter 1\n\nThe ferry came in at dawn and nobody got off.\n\nI.\n\n"
        "The end of the first note.\n\nChapter 2\n\nThe gulls were loud that day.\n";
    std::vector<std::string> texts;
    for (const Heading& h : Headings(Refined(prose, "x.txt"))) {
        texts.push_back(h.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"The Harbour", "Chapter 1", "Chapter 2"}));
}

TEST(ChapterWords, KoreanSectionsAreHeadingsBelowTheirChapter) {
    const std::string p =
        "이 문서는 항구 사무소의 프로그램을 설치하고 사용하는 방법을 설명합니다. 처음 사용하는 "
        "사람도 쉽게 따라 할 수 있도록 단계별로 적었습니다.\n\n"
        "각 단계에는 필요한 명령과 화면에 나오는 내용을 함께 적어 두었습니다.\n\n"
        "모르는 것이 있으면 사무소에 전화하여 물어보십시오.\n\n";
    const std::string text = "설치 안내서\n\n제1장 기본\n\n" + p + "제 1 절 준비\n\n" + p +
                             "제 2 절 실행\n\n" + p + "제2장 고급\n\n" + p + "제1절 문제 해결\n\n" +
                             p;
    EXPECT_EQ(Headings(Refined(text, "ko.txt")), (std::vector<Heading>{{"설치 안내서", 1},
                                                                       {"제1장 기본", 1},
                                                                       {"제 1 절 준비", 2},
                                                                       {"제 2 절 실행", 2},
                                                                       {"제2장 고급", 1},
                                                                       {"제1절 문제 해결", 2}}));
}

TEST(CjkTitles, WebNovelsLoseTheirBookTitleMarksAndKeepTheirSideStories) {
    const std::string body =
        "\u3000\u3000夜色渐深，港口的灯火一盏一盏亮了起来。老船长站在甲板上，望着远处的灯塔。\n\n";
    const std::string text = "《星河旧梦》\n\n作者：林晚舟\n\n第一章　出发之前\n\n" + body +
                             "第二章　海上\n\n" + body + "番外　星夜\n\n" + body +
                             "番外篇 归途\n\n" + body;
    const Document doc = Refined(text, "novel.txt");
    EXPECT_EQ(doc.metadata.title, "星河旧梦");
    EXPECT_EQ(doc.metadata.author, "林晚舟");
    std::vector<std::string> texts;
    for (const Heading& h : Headings(doc)) {
        texts.push_back(h.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"《星河旧梦》", "第一章　出发之前", "第二章　海上",
                                               "番外　星夜", "番外篇 归途"}));

    using Tessaly::Docs::WithoutTitleMarks;
    EXPECT_EQ(WithoutTitleMarks("『港の灯』"), "港の灯");
    EXPECT_EQ(WithoutTitleMarks("「港の灯」"), "港の灯");
    EXPECT_EQ(WithoutTitleMarks("《甲》与《乙》"), "《甲》与《乙》");  // two books named
    EXPECT_EQ(WithoutTitleMarks("《》"), "《》");
    EXPECT_EQ(WithoutTitleMarks("The Harbour"), "The Harbour");
}

TEST(CjkTitles, AShortFirstLineStandingAloneTitlesAJapaneseDocument) {
    const std::string text =
        "よくある質問と回答集\n\nこの文書は、港の事務所でよく聞かれる質問とその答えを集めたものです"
        "。"
        "質問は分野ごとに並べてあります。\n\n最初に、事務所の開いている時間について説明します。\n";
    const Document doc = Refined(text, "faq-ja.txt");
    EXPECT_EQ(doc.metadata.title, "よくある質問と回答集");
    // A sentence on the first line is no title.
    const Document sentence = Refined("これは短い文です。\n\n次の段落です。\n", "memo-ja.txt");
    EXPECT_EQ(sentence.metadata.title, "memo-ja");
}

}  // namespace
