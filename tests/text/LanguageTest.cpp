// Language identification: BCP 47 tags, scripts told apart, "unsure" only when it is.
#include <gtest/gtest.h>

#include <string>

#include "tests/convert/SampleTexts.h"
#include "text/LanguageIdentifier.h"
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
        EXPECT_EQ(LanguageTagOf(sample.text), sample.tag) << sample.text;
    }
}

TEST(LanguageIdentifier, JapaneseInShiftJisIsJapanese) {
    const DecodedText decoded = DecodeText(test::Encode(test::kJapaneseText, "SHIFT_JIS"));
    EXPECT_EQ(LanguageTagOf(decoded.utf8), "ja");
}

TEST(LanguageIdentifier, UnsureAnswersAreEmpty) {
    EXPECT_EQ(LanguageTagOf(""), "");
    EXPECT_EQ(LanguageTagOf("1234 5678 ---- ****"), "");
    EXPECT_EQ(LanguageTagOf("xq zv kkp wrrt"), "");
}

TEST(LanguageIdentifier, RetiredCodesBecomeTheirBcp47Tags) {
    // The identifier's own code for Hebrew is the retired "iw".
    const LanguageGuess guess =
        IdentifyLanguage("בבוקר הלכנו לשוק הגדול שבמרכז העיר וקנינו פירות טריים, לחם חם וגבינה.");
    EXPECT_EQ(guess.tag, "he");
}

TEST(LanguageSample, BoundedAndCutOnCharacters) {
    std::string big;
    while (big.size() < 4 * 1024 * 1024) {
        big += test::kRussianText;
    }
    const std::string sample = LanguageSample(big);
    EXPECT_LT(sample.size(), 160u * 1024);
    EXPECT_EQ(DecodeText(sample).encoding, "UTF-8");  // no character cut in half
    EXPECT_EQ(LanguageTagOf(big), "ru");
}

}  // namespace
}  // namespace text
