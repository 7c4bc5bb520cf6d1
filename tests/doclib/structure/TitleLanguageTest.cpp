// Title, author and language of a refined book.

#include <gtest/gtest.h>

#include "doclib/structure/LanguageDetector.h"
#include "doclib/structure/PageHeader.h"
#include "doclib/structure/Refine.h"
#include "doclib/structure/TitleFinder.h"
#include "tests/doclib/structure/SampleProse.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using Tessaly::Docs::BlockKind;
using Tessaly::Docs::DetectLanguage;
using Tessaly::Docs::Document;
using namespace quillane::test;

std::string Body() {
    return HardWrap(HarbourParagraphs(), 72);
}

TEST(Title, FileNamesAreRecognisedAndTidied) {
    EXPECT_TRUE(Tessaly::Docs::LooksLikeFileName("my_story.txt"));
    EXPECT_TRUE(Tessaly::Docs::LooksLikeFileName("Notes from the Harbour.md"));
    EXPECT_FALSE(Tessaly::Docs::LooksLikeFileName("The Long Walk"));
    EXPECT_FALSE(Tessaly::Docs::LooksLikeFileName("Vol.2"));
    EXPECT_FALSE(Tessaly::Docs::LooksLikeFileName("Dr. Who"));
    EXPECT_EQ(Tessaly::Docs::TidyFileName("my_story.txt"), "my story");
    EXPECT_EQ(Tessaly::Docs::TidyFileName("the.long.walk.txt"), "the long walk");
    EXPECT_EQ(Tessaly::Docs::TidyFileName("__odd__name__.text"), "odd name");
    EXPECT_EQ(Tessaly::Docs::TidyFileName("/home/hella/harbour-log.txt"), "harbour-log");
}

TEST(Title, TheDocumentsOwnTitleWins) {
    Document doc = StagedDocument("The Harbour Office\n\nChapter 1\n\n" + Body(), "x.txt");
    doc.metadata.title = "Salt and Lamplight";
    Tessaly::Docs::RefineForReading(doc);
    EXPECT_EQ(doc.metadata.title, "Salt and Lamplight");
}

TEST(Title, AFirstLineFollowedByChaptersIsTheTitleAndStaysInTheBook) {
    const std::string text =
        "   The Harbour Office\n\nChapter 1\n\n" + Body() + "\nChapter 2\n\n" + Body();
    const Document doc = Refined(text, "harbour_office_final.txt");
    EXPECT_EQ(doc.metadata.title, "The Harbour Office");
    ASSERT_FALSE(doc.blocks.empty());
    EXPECT_EQ(doc.blocks[0].kind, BlockKind::Heading);
    EXPECT_EQ(doc.blocks[0].level, 1);
    EXPECT_EQ(doc.BlockText(doc.blocks[0]), "The Harbour Office");
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
}

TEST(Title, MarkupAboveTheTitleNamesNothing) {
    // Tags, badges, directives and a lone link stand over a README's or a converted page's
    // title; the title is the line under them, and they stay in the book.
    const std::string title = "The Harbour Office";
    const struct {
        const char* shape;
        std::string above;
    } cases[] = {
        {"tags", "<div class=\"navheader\">\n\n<p align=\"center\"><img src=\"logo.png\"></p>\n\n"},
        {"a badge", "[![Build](https://ci.example.org/badge.svg)](https://ci.example.org)\n\n"},
        {"a directive", ".. container:: navheader\n\n"},
        {"a link", "[Download the logbook](https://example.org/get/)\n\n"},
        {"a converter's placeholder", "[TABLE]\n\n"},
    };
    for (const auto& c : cases) {
        const std::string text =
            c.above + title + "\n\nChapter 1\n\n" + Body() + "\nChapter 2\n\n" + Body();
        const Document doc = Refined(text, "harbour.txt");
        EXPECT_EQ(doc.metadata.title, title) << c.shape;
        EXPECT_EQ(WordsOf(text), WordsOf(doc)) << c.shape;
    }
    // A title that only opens with a tag's bracket is still a title.
    EXPECT_FALSE(Tessaly::Docs::IsMarkupLine("<Harbour> Office"));
    EXPECT_FALSE(Tessaly::Docs::IsMarkupLine(".. the harbour:: notes"));
}

TEST(Title, AByLineNamesTheAuthorAndStays) {
    const std::string text = "The Long Walk\nby Mira Oss\n\n" + Body();
    const Document doc = Refined(text, "the.long.walk.txt");
    EXPECT_EQ(doc.metadata.title, "The Long Walk");
    EXPECT_EQ(doc.metadata.author, "Mira Oss");
    EXPECT_EQ(BlockTexts(doc)[1], "by Mira Oss");
    EXPECT_EQ(WordsOf(text), WordsOf(doc));

    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("BY J. R. HOLM"), "J. R. HOLM");
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("von Greta Lind"), "Greta Lind");
    EXPECT_FALSE(Tessaly::Docs::AuthorFromByLine("by the river we sat"));
    EXPECT_FALSE(Tessaly::Docs::AuthorFromByLine("By then it was late."));
    EXPECT_FALSE(Tessaly::Docs::AuthorFromByLine("Bye now"));
    // By-lines of other languages, the name before the mark in Japanese and Chinese.
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("oleh Budi Santoso"), "Budi Santoso");
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("Yazan: Ay\u015Fe Demir"), "Ay\u015Fe Demir");
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("\u00CDrta: Kov\u00E1cs Anna"), "Kov\u00E1cs Anna");
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("\uC800\uC790: \uAE40\uBBFC\uC900"),
              "\uAE40\uBBFC\uC900");
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("山本\u3000花子\u3000著"), "山本 花子");
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("王小明 编著"), "王小明");
    EXPECT_FALSE(Tessaly::Docs::AuthorFromByLine("江戸時代の名著"));
    EXPECT_FALSE(Tessaly::Docs::AuthorFromByLine("Yazan bir adam"));  // no colon: a phrase
    // A date after the name is not the name.
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("By Mara Lindqvist, March 2021"), "Mara Lindqvist");
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("von Greta Lind (2019)"), "Greta Lind");
    EXPECT_EQ(Tessaly::Docs::AuthorFromByLine("by Holm, Jr."), "Holm, Jr.");
}

TEST(Title, AByLineUnderASubtitleNamesTheAuthor) {
    const std::string text = "The Long Walk\nNotes from a coast path\nby Mira Oss\n\n" + Body();
    const Document doc = Refined(text, "the.long.walk.txt");
    EXPECT_EQ(doc.metadata.title, "The Long Walk");
    EXPECT_EQ(doc.metadata.author, "Mira Oss");
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
    // A name under a paragraph signs the paragraph, not the book.
    const Document prose = Refined(
        "The Long Walk\nWe left at dawn and walked all day along the cliffs until the light went "
        "and the tide came in over the flats.\nby Mira Oss\n\n" +
            Body(),
        "x.txt");
    EXPECT_EQ(prose.metadata.author, "");
}

TEST(Title, WithoutATitleLineTheFileNameIsTidied) {
    // The first line is a sentence of the story, not a title.
    const Document doc = Refined(Body(), "the.long.walk.txt");
    EXPECT_EQ(doc.metadata.title, "the long walk");
    EXPECT_EQ(doc.blocks[0].kind, BlockKind::Paragraph);

    // A short first line with no chapters and no by-line is not taken either.
    const Document note = Refined("Shopping\n\nflour, cardamom, lamp oil\n", "my_story.txt");
    EXPECT_EQ(note.metadata.title, "my story");
    EXPECT_EQ(note.blocks[0].kind, BlockKind::Paragraph);
}

TEST(Title, TheFirstHeadingOfAFormattedSourceNamesIt) {
    Document doc;
    doc.metadata.title = "harbour.rtf";
    doc.BeginBlock(BlockKind::Heading, 1);
    doc.AppendText("The Ferry");
    doc.BeginBlock();
    doc.AppendText("Nobody got off at first.");
    Tessaly::Docs::RefineForReading(doc);
    EXPECT_EQ(doc.metadata.title, "The Ferry");
}

struct LanguageSample {
    const char* tag;
    const char* text;
};

// Our own sentences, a few in each language.
const LanguageSample kSamples[] = {
    {"en",
     "The ferry came in late that evening, and nobody got off at first. Then a boy with "
     "a canvas bag climbed the ladder and asked her whether this was the last stop."},
    {"de",
     "Die Fähre kam an diesem Abend spät, und zuerst stieg niemand aus. Dann kletterte "
     "ein Junge mit einer Tasche die Leiter hinauf und fragte sie, ob das die letzte "
     "Haltestelle sei. Sie sagte ihm, es sei die einzige."},
    {"fr",
     "Le bateau est arrivé tard ce soir-là, et personne n'est descendu tout de suite. "
     "Puis un garçon avec un sac est monté sur le quai et lui a demandé si c'était le "
     "dernier arrêt. Elle a dit que c'était le seul, mais il ne riait pas."},
    {"es",
     "El barco llegó tarde aquella noche y al principio nadie bajó. Luego un chico con "
     "una bolsa subió por la escalera y le preguntó si era la última parada. Ella le "
     "dijo que era la única, pero él no se rió y miró hacia el pueblo."},
    {"it",
     "Il traghetto arrivò tardi quella sera e all'inizio non scese nessuno. Poi un "
     "ragazzo con una borsa salì sulla scala e le chiese se era l'ultima fermata. Lei "
     "gli disse che era l'unica, ma lui non rise e guardò la città."},
    {"pt",
     "O barco chegou tarde naquela noite e no começo ninguém desceu. Depois um menino "
     "com uma bolsa subiu a escada e perguntou se aquela era a última parada. Ela disse "
     "que era a única, mas ele não riu e olhou para a cidade."},
    {"nl",
     "De veerboot kwam die avond laat aan en eerst stapte er niemand uit. Toen klom een "
     "jongen met een tas de ladder op en vroeg haar of dit de laatste halte was. Ze zei "
     "dat het de enige was, maar hij lachte niet."},
    {"pl",
     "Prom przypłynął późnym wieczorem i na początku nikt nie wysiadł. Potem chłopiec z "
     "torbą wspiął się po drabinie i zapytał, czy to jest ostatni przystanek. Powiedziała "
     "mu, że jedyny, ale on się nie zaśmiał i patrzył na miasto."},
    {"cs",
     "Trajekt připlul pozdě večer a nejdřív nikdo nevystoupil. Pak chlapec s taškou "
     "vylezl po žebříku a zeptal se jí, jestli je to poslední zastávka. Řekla mu, že je "
     "to jediná, ale on se nezasmál a díval se na město."},
    {"ru",
     "Паром пришёл поздно вечером, и сначала никто не вышел. Потом мальчик с сумкой "
     "поднялся по лестнице и спросил, это ли последняя остановка. Она ответила, что "
     "единственная, но он не засмеялся и посмотрел на город."},
    {"uk",
     "Пором прийшов пізно ввечері, і спочатку ніхто не вийшов. Потім хлопець із сумкою "
     "піднявся драбиною і запитав, чи це остання зупинка. Вона відповіла, що єдина, але "
     "він не засміявся і дивився на місто."},
    {"ja",
     "その夜、フェリーは遅く着いた。最初は誰も降りなかった。それから鞄を持った少年が"
     "梯子を登って、ここが終点かと彼女に聞いた。"},
    {"zh",
     "那天晚上渡轮来得很晚，起初没有人下船。后来一个背着帆布包的男孩爬上梯子，问她这里"
     "是不是最后一站。"},
    {"ko",
     "그날 저녁 배는 늦게 들어왔고 처음에는 아무도 내리지 않았다. 그러다 가방을 든 "
     "소년이 사다리를 올라와 여기가 마지막 정류장이냐고 물었다."},
};

TEST(Language, CommonLanguagesAreRecognised) {
    for (const LanguageSample& sample : kSamples) {
        EXPECT_EQ(DetectLanguage(sample.text), sample.tag) << sample.text;
    }
}

TEST(Language, UnsureTextGivesNoTag) {
    EXPECT_EQ(DetectLanguage(""), "");
    EXPECT_EQ(DetectLanguage("Hello."), "");
    EXPECT_EQ(DetectLanguage("1234 5678 ---- ****"), "");
    // Letters that spell no language's words.
    EXPECT_EQ(DetectLanguage("xq zv kkp wrrt qxz vvb"), "");
}

TEST(Language, RefinementSetsItUnlessTheSourceGaveOne) {
    const Document english = Refined(Body());
    EXPECT_EQ(english.metadata.language, "en");

    Document given = StagedDocument(Body());
    given.metadata.language = "en-GB";
    Tessaly::Docs::RefineForReading(given);
    EXPECT_EQ(given.metadata.language, "en-GB");
}

TEST(Language, ABooksParagraphsVoteAsParagraphs) {
    // The refined book keeps its paragraphs with no break between them: each must still be
    // read on its own, the commands and the English note among the Russian prose outvoted.
    const std::string russian =
        "Глава первая\n\n"
        "Рано утром паром отошёл от причала, и город медленно скрылся в тумане. Пассажиры "
        "стояли у борта и смотрели, как чайки кружат над водой.\n\n"
        "$ ferry --route north --at 06:30\n\n"
        "Note: the timetable below has not been translated yet.\n\n"
        "Капитан вышел на палубу, поздоровался с каждым и рассказал, что к вечеру погода "
        "испортится, поэтому остановка на острове будет короткой.\n\n"
        "Ближе к полудню показался маяк, а за ним — старая деревня с белыми домами.\n";
    const std::string esperanto =
        "Unua leciono\n\n"
        "Esperanto estas internacia lingvo, kreita por faciligi la komunikadon inter homoj "
        "de diversaj landoj. Ĝia gramatiko estas simpla kaj regula.\n\n"
        "En ĉi tiu lernolibro vi trovos mallongajn lecionojn kun ekzercoj kaj rakontoj.\n";
    EXPECT_EQ(Refined(russian).metadata.language, "ru");
    EXPECT_EQ(Refined(esperanto).metadata.language, "eo");
}

TEST(Language, ALargeDocumentIsSampledNotRead) {
    // German at the start, English in bulk: the head weighs most, the spread samples the rest.
    std::string text(kSamples[1].text);
    text += "\n";
    std::string english;
    while (english.size() < 3 * 1024 * 1024) {
        english += std::string(kSamples[0].text) + " ";
    }
    Document doc;
    doc.BeginBlock();
    doc.AppendText(english);
    EXPECT_EQ(Tessaly::Docs::DetectDocumentLanguage(doc), "en");
}

}  // namespace
