// Short texts in the legacy encodings people still have on disk: each must come back exactly,
// although the byte statistics alone cannot tell most of them apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "tests/convert/SampleTexts.h"
#include "text/TextDecoder.h"

namespace text {
namespace {

using quillane::test::Encode;

struct LegacySample {
    const char* encoding;
    const char* text;
};

// Our own sentences, one or two lines each, in the languages that use each encoding.
const LegacySample kSamples[] = {
    {"WINDOWS-1250", "Kůň běžel přes louku a žlutý motýl letěl za ním."},
    {"WINDOWS-1251", "Мы долго шли вдоль реки и говорили о старых книгах."},
    {"WINDOWS-1252", "El niño comió una manzana en la mañana."},
    {"WINDOWS-1253", "Η Άννα έγραψε ένα γράμμα στον παππού της…"},
    {"WINDOWS-1254", "Kobo’nun yeni cihazı şehirde çok beğenildi."},
    {"WINDOWS-1255", "שלום עולם, הספר החדש מונח על השולחן"},
    {"WINDOWS-1256", "ذهب الولد إلى المدرسة في الصباح الباكر"},
    {"WINDOWS-1257", "Šiandien ežere plaukiojo gulbės ir ančiukai."},
    {"WINDOWS-1258", "Hôm nay trời đẹp, chúng tôi đi dạo bên hồ."},
    {"KOI8-R", "Вечером в деревне зажглись огни, и собаки залаяли."},
    {"ISO-8859-2", "Wczoraj śnieg padał cały dzień, a dzieci lepiły bałwana."},
    {"ISO-8859-5", "Старик сидел у окна и смотрел на падающий снег."},
    {"ISO-8859-7", "Ένας ήσυχος δρόμος οδηγεί στην Άνω Πόλη."},
    {"ISO-8859-15", "Le cœur de l'œuvre coûte 5 € seulement."},
    {"SHIFT_JIS", "今日は雨が降っているので、家で本を読みます。"},
    {"EUC-JP", "駅の前に新しいパン屋さんができました。"},
    {"GB18030", "我们明天早上去公园散步，然后一起吃早饭。"},
    {"BIG5", "這本書講述了一個關於海洋與燈塔的故事。"},
    {"EUC-KR", "오늘은 날씨가 좋아서 공원에 산책을 갔습니다."},
};

TEST(LegacyEncodingTable, HoldsAtLeastFifteenEncodingsAndAShortText) {
    std::size_t shortest = SIZE_MAX;
    for (const LegacySample& sample : kSamples) {
        shortest = std::min(shortest, Encode(sample.text, sample.encoding).size());
    }
    EXPECT_GE(std::size(kSamples), 15u);
    EXPECT_LE(shortest, 60u);
}

TEST(LegacyEncodingTable, EveryShortTextDecodesExactly) {
    for (const LegacySample& sample : kSamples) {
        const DecodedText decoded = DecodeText(Encode(sample.text, sample.encoding));
        EXPECT_EQ(decoded.utf8, sample.text) << sample.encoding << " read as " << decoded.encoding;
    }
}

TEST(LegacyEncodingTable, TextsWithLineBreaksAndRepeatsDecodeExactly) {
    // The same sentences as a small file: several lines, each ended, with the text repeated.
    for (const LegacySample& sample : kSamples) {
        const std::string text = std::string(sample.text) + "\r\n" + sample.text + "\r\n";
        const DecodedText decoded = DecodeText(Encode(text, sample.encoding));
        EXPECT_EQ(decoded.utf8, text) << sample.encoding << " read as " << decoded.encoding;
    }
}

TEST(LegacyEncodingTable, LastLetterOfAHebrewTextIsKept) {
    // The converter holds a letter back in case a point follows; it must be flushed.
    EXPECT_EQ(DecodeText(Encode("שלום עולם", "WINDOWS-1255")).utf8, "שלום עולם");
    EXPECT_EQ(DecodeText(Encode("Đi về Việt Nam", "WINDOWS-1258")).utf8, "Đi về Việt Nam");
}

TEST(LegacyEncodingTable, TypographicPunctuationOfWindowsPagesIsKept) {
    // 0x80..0x9F are letters and punctuation in Windows pages, never control codes to drop.
    const std::string turkish =
        "Kobo’nun kılavuzu “okuyucular” için hazırlandı – yeni sürüm çıktı.";
    EXPECT_EQ(DecodeText(Encode(turkish, "WINDOWS-1254")).utf8, turkish);
    const std::string french = "Café au lait";
    EXPECT_EQ(DecodeText(Encode(french, "WINDOWS-1252")).utf8, french);
    const std::string quotes = "He said “yes” and ‘maybe’ — then left…";
    EXPECT_EQ(DecodeText(Encode(quotes, "WINDOWS-1252")).utf8, quotes);
}

TEST(LegacyEncodingTable, ShiftJisPathsKeepTheirBackslashAndTilde) {
    // Windows wrote these files: 0x5C and 0x7E are a path's backslash and a home folder's tilde.
    const std::string text = "設定ファイルは C:\\Users\\tanaka\\文書 と ~/メモ にあります。\n";
    const DecodedText decoded = DecodeText(Encode(text + text, "SHIFT_JIS"));
    EXPECT_EQ(decoded.utf8, text + text) << "read as " << decoded.encoding;
}

TEST(LegacyEncodingTable, LatinNineLettersFarIntoALongTextAreRead) {
    // The first 40 KB hold only letters both Western pages share; the words with œ and € that
    // tell ISO-8859-15 from Windows-1252 come later.
    std::string text;
    while (text.size() < 40 * 1024) {
        text += "Le café de la gare était fermé, et l'été touchait à sa fin.\n";
    }
    text += "Le cœur de l'œuvre coûte 5 € ; les sœurs ont lu chaque manœuvre.\n";
    const DecodedText decoded = DecodeText(Encode(text, "ISO-8859-15"));
    EXPECT_EQ(decoded.utf8, text) << "read as " << decoded.encoding;

    // A Windows-1252 text whose fractions sit beside digits stays Windows-1252.
    const std::string recipe =
        text.substr(0, 40 * 1024) + "Ajoutez 1½ tasse de farine et ¼ de sel.\n";
    EXPECT_EQ(DecodeText(Encode(recipe, "WINDOWS-1252")).utf8, recipe);
}

// HZ wraps GB 2312 in "~{" ... "~}" with the high bits cleared; iconv has no HZ of its own, so
// the test makes it from iconv's GB 2312.
std::string EncodeHz(const std::string& utf8) {
    const std::string gb = Encode(utf8, "GB2312");
    std::string hz;
    bool inGb = false;
    for (std::size_t i = 0; i < gb.size(); ++i) {
        const bool high = (static_cast<unsigned char>(gb[i]) & 0x80) != 0;
        if (high != inGb) {
            hz += high ? "~{" : "~}";
            inGb = high;
        }
        if (high) {
            hz += static_cast<char>(gb[i] & 0x7F);
            hz += static_cast<char>(gb[++i] & 0x7F);
        } else {
            hz += gb[i] == '~' ? std::string("~~") : std::string(1, gb[i]);
        }
    }
    return inGb ? hz + "~}" : hz;
}

TEST(LegacyEncodingTable, SevenBitEastAsianEncodingsAreReadByTheirEscapes) {
    // All ASCII bytes, so each would pass for ASCII but for its escapes or its "~{" runs.
    const LegacySample sevenBit[] = {
        {"ISO-2022-JP", "メールの件名は「明日の会議について」でした。\nThe meeting is at 10."},
        {"ISO-2022-JP-2", "駅でΩ型の鍵と한국어の本を見つけた。"},
        {"ISO-2022-JP-3", "ｶﾀｶﾅの看板が並ぶ商店街を歩いた。"},
        {"ISO-2022-KR", "오늘은 날씨가 좋아서 공원에 산책을 갔습니다.\nSee you at 5."},
        {"ISO-2022-CN", "我们明天早上去公园散步，然后一起吃早饭。"},
        {"HZ-GB-2312", "这本书讲的是海边灯塔的故事。Price ~5 yuan."},
    };
    for (const LegacySample& sample : sevenBit) {
        const std::string text = std::string(sample.text) + "\n" + sample.text + "\n";
        const std::string bytes = std::string_view(sample.encoding) == "HZ-GB-2312"
                                      ? EncodeHz(text)
                                      : Encode(text, sample.encoding);
        ASSERT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return c > 0; }));
        const DecodedText decoded = DecodeText(bytes);
        EXPECT_EQ(decoded.utf8, text) << sample.encoding << " read as " << decoded.encoding;
    }
}

TEST(LegacyEncodingTable, TerminalResetsAndTildesAreNotSevenBitEncodings) {
    // "ESC ( B" is how terminals reset colours; braces after tildes are paths and code.
    for (const std::string& text :
         {std::string("\x1B(B\x1B[mok\n"), std::string("cd ~{a,b}~ ~}\n")}) {
        const DecodedText decoded = DecodeText(text);
        EXPECT_EQ(decoded.encoding, "UTF-8") << text;
        EXPECT_EQ(decoded.utf8, text);
    }
}

}  // namespace
}  // namespace text
