// Language identification: BCP 47 tags, scripts told apart, "unsure" only when it is.
#include <gtest/gtest.h>

#include <string>

#include "tests/convert/SampleTexts.h"
#include "text/LanguageIdentifier.h"
#include "text/ProseLanguage.h"
#include "text/TextDecoder.h"

namespace text {
namespace {

namespace test = quillane::test;

struct Labelled {
    const char* tag;
    std::string text;
};

TEST(LanguageIdentifier, NamesTheLanguagesOfOurSamples) {
    const Labelled samples[] = {
        {"ru", test::kRussianText},
        {"cs", test::kCzechText},
        {"ja", test::kJapaneseText},
        {"zh", test::kChineseText},
        {"fr", test::kFrenchText},
        {"sv",
         "Vi gick längs stranden hela eftermiddagen och letade efter snäckor. Mormor hade packat "
         "smörgåsar och varm choklad, och när solen gick ner satt vi på klipporna och lyssnade "
         "på måsarna som skrek över vattnet."},
        {"tr",
         "Sabah erkenden kalkıp köyün yukarısındaki tepeye yürüdük. Yol boyunca çobanlar "
         "sürülerini otlatıyordu; öğleye doğru küçük bir kahvede dinlenip çay içtik ve akşam "
         "olmadan eve döndük."},
        {"he",
         "בבוקר הלכנו לשוק הגדול שבמרכז העיר וקנינו פירות טריים, לחם חם וגבינה. אחר כך ישבנו "
         "בבית קפה קטן ודיברנו על הספרים שקראנו בקיץ."},
        // English and Russian without their commonest function words.
        {"en",
         "Rain fell steadily. Tired travellers crowded beneath station awnings, checking "
         "watches, grumbling about delayed trains, cancelled connections, missing luggage."},
        {"ru",
         "Дождь шёл весь день. Усталые путники толпились под навесами вокзала, поглядывая "
         "на часы, ворча из-за опозданий поездов, отменённых пересадок, потерянного багажа."},
    };
    for (const Labelled& sample : samples) {
        EXPECT_EQ(ProseLanguageOf(sample.text), sample.tag) << sample.text;
    }
}

TEST(LanguageIdentifier, JapaneseInShiftJisIsJapanese) {
    const DecodedText decoded = DecodeText(test::Encode(test::kJapaneseText, "SHIFT_JIS"));
    EXPECT_EQ(ProseLanguageOf(decoded.utf8), "ja");
}

TEST(LanguageIdentifier, UnsureAnswersAreEmpty) {
    EXPECT_EQ(ProseLanguageOf(""), "");
    EXPECT_EQ(ProseLanguageOf("1234 5678 ---- ****"), "");
    EXPECT_EQ(ProseLanguageOf("xq zv kkp wrrt"), "");
}

TEST(LanguageIdentifier, RetiredCodesBecomeTheirBcp47Tags) {
    // The identifier's own code for Hebrew is the retired "iw".
    const LanguageGuess guess =
        IdentifyLanguage("בבוקר הלכנו לשוק הגדול שבמרכז העיר וקנינו פירות טריים, לחם חם וגבינה.");
    EXPECT_EQ(guess.tag, "he");
}

std::string Repeated(const std::string& text, std::size_t size) {
    std::string out;
    while (out.size() < size) {
        out += text;
    }
    return out;
}

TEST(ProseLanguage, ALongTextIsReadInWindowsOverItsLength) {
    // A few English paragraphs first, then megabytes of Russian: the windows find the bulk.
    const std::string english =
        "Rain fell steadily over the harbour, and the ferry waited at the pier for the last "
        "passengers of the evening.\n\n";
    EXPECT_EQ(ProseLanguageOf(Repeated(english, 8 * 1024) + Repeated(test::kRussianText, 4 << 20)),
              "ru");
}

// A manual of our own in Russian whose commands, paths and untranslated notes are English.
const char* const kRussianManual =
    "Установка программы\n\n"
    "Перед началом работы убедитесь, что в системе есть свободное место и доступ к сети. "
    "Программа читает настройки из домашнего каталога пользователя и сохраняет журнал "
    "в отдельной папке, которую можно изменить позднее.\n\n"
    "    $ sudo apt-get install example-tool --no-install-recommends\n"
    "    $ example-tool --config ~/.config/example/settings.conf\n\n"
    "Note: this section has not been translated yet. The configuration file accepts the "
    "options described in the reference chapter, and unknown options are ignored.\n\n"
    "Подробнее смотрите https://example.org/docs/manual.html или пишите на адрес "
    "help@example.org, если что-то пошло не так. После установки перезапустите сеанс, "
    "чтобы новые значения вступили в силу, и проверьте журнал на наличие ошибок.\n\n"
    "if (config.load(path) == false) { return error(\"cannot read\"); }\n\n"
    "Когда всё готово, откройте главное окно и выберите файлы для обработки. Каждая книга "
    "сохраняется рядом с исходным файлом или в выбранной папке.\n";

struct Mixed {
    const char* tag;
    std::string text;
};

TEST(ProseLanguage, MostOfTheProseNamesTheLanguage) {
    const Mixed texts[] = {
        {"ru", kRussianManual},
        {"ja",
         "このツールはEPUB形式の電子書籍を作ります。まずFile Managerでフォルダを選び、"
         "Start Convertingを押してください。変換が終わると、同じ場所に本が保存されます。"
         "文字コードは自動で判定されるので、Shift_JISやUTF-8のファイルもそのまま使えます。\n\n"
         "詳しくは <a href=\"https://example.org/\">公式サイト</a> を読んでください。"
         "設定ファイルは ~/.config/tool/options.ini にあります。\n"},
        {"eo",
         "Esperanto estas internacia lingvo, kreita por faciligi la komunikadon inter homoj "
         "de diversaj landoj. Ĝia gramatiko estas simpla kaj regula, tial multaj homoj lernas "
         "ĝin en kelkaj monatoj. En ĉi tiu lernolibro vi trovos mallongajn lecionojn kun "
         "ekzercoj, vortaro kaj rakontoj por legi vespere.\n"},
        {"cy",
         "Roedd y glaw yn disgyn yn drwm dros y bryniau pan gyrhaeddon ni'r pentref bach ger "
         "yr afon. Aethon ni i mewn i'r dafarn i gael cinio, ac roedd y tân yn llosgi'n braf "
         "yn y gornel. Dywedodd y perchennog fod y ffordd i'r mynydd ar gau tan yfory.\n"},
        {"eu",
         "Goizean goiz jaiki ginen eta mendira igo ginen lagunekin. Bidean zehar ardiak eta "
         "behiak ikusi genituen, eta eguerdian iturri baten ondoan bazkaldu genuen. "
         "Arratsaldean herrira jaitsi ginen, nekatuta baina pozik, eta afaria prestatu genuen.\n"},
        // Half French and half German: no language holds a clear majority.
        {"",
         "Nous avons longtemps marché le long de la rivière en parlant des vieux livres que nous "
         "lisions dans notre enfance.\n\n"
         "Wir sind lange am Fluss entlang gegangen und haben über die alten Bücher gesprochen, "
         "die wir in unserer Kindheit gelesen haben.\n"},
    };
    for (const Mixed& mixed : texts) {
        EXPECT_EQ(ProseLanguageOf(mixed.text), mixed.tag) << mixed.text;
    }
}

}  // namespace
}  // namespace text
