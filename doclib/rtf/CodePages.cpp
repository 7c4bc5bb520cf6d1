#include "doclib/rtf/CodePages.h"

#include <string>
#include <string_view>

#include "text/EncodingConversion.h"
#include "text/Utf8.h"

namespace Tessaly::Docs::Rtf {

namespace {

constexpr int kUtf8 = 65001;
// A byte table entry not converted yet.
constexpr char32_t kNotLookedUp = 0xFFFFFFFD;

std::string IconvName(int codePage) {
    switch (codePage) {
        case 10000:
            return "MACINTOSH";
        case 10007:
            return "MAC-CYRILLIC";
        case 10029:
            return "MAC-CENTRALEUROPE";
        case 1361:
            return "JOHAB";
        case 20866:
            return "KOI8-R";
        case 21866:
            return "KOI8-U";
        case 20127:
            return "ASCII";
        default:
            break;
    }
    if (codePage >= 28591 && codePage <= 28606) {
        return "ISO-8859-" + std::to_string(codePage - 28590);
    }
    return "CP" + std::to_string(codePage);
}

// One character through the page's converter, in the reader's terms.
char32_t Convert(text::CharacterConverter& converter, const std::uint8_t* bytes, int count) {
    const char32_t c = converter.Convert(bytes, count);
    if (c == text::CharacterConverter::kIncomplete) {
        return CodePageDecoder::kLeadByte;
    }
    return c == text::CharacterConverter::kInvalid ? CodePageDecoder::kInvalid : c;
}

char32_t DecodeUtf8(const std::uint8_t* b, int count) {
    const std::string_view bytes(reinterpret_cast<const char*>(b), static_cast<std::size_t>(count));
    const text::utf8::CodePoint cp = text::utf8::DecodeAt(bytes, 0);
    return cp.length == bytes.size() && text::utf8::IsWellFormed(bytes, 0, cp)
               ? cp.value
               : CodePageDecoder::kInvalid;
}

}  // namespace

int CharsetCodePage(int charset) {
    switch (charset) {
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 130:
            return 1361;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        case 255:
            return 850;
        default:
            // 0 (ANSI), 1 (default), 2 (symbol) and the rest: the document's code page.
            return 0;
    }
}

struct CodePageDecoder::Page {
    int codePage = 0;
    std::unique_ptr<text::CharacterConverter> converter;  // none for UTF-8
    // Each byte's character, looked up the first time the byte is met.
    std::array<char32_t, 256> bytes{};
    // Two-byte characters, one row of 256 per lead byte, made when the lead byte is first
    // met; 0 means not looked up yet.
    std::array<std::unique_ptr<std::array<char32_t, 256>>, 256> pairs;
};

CodePageDecoder::CodePageDecoder() = default;

CodePageDecoder::~CodePageDecoder() = default;

CodePageDecoder::Page& CodePageDecoder::Find(int codePage) {
    if (last_ != nullptr && last_->codePage == codePage) {
        return *last_;
    }
    for (const auto& page : pages_) {
        if (page->codePage == codePage) {
            last_ = page.get();
            return *last_;
        }
    }
    auto page = std::make_unique<Page>();
    page->codePage = codePage;
    for (int b = 0; b < 256; ++b) {
        page->bytes[b] = b < 0x80 ? static_cast<char32_t>(b) : kNotLookedUp;
    }
    if (codePage == kUtf8) {
        for (int b = 0x80; b < 256; ++b) {
            page->bytes[b] = (b >= 0xC2 && b <= 0xF4) ? kLeadByte : kInvalid;
        }
    } else {
        page->converter = std::make_unique<text::CharacterConverter>(IconvName(codePage));
        if (!page->converter->Valid()) {
            // An unknown code page reads as Windows Latin 1, the usual default.
            page->converter = std::make_unique<text::CharacterConverter>("CP1252");
        }
    }
    pages_.push_back(std::move(page));
    last_ = pages_.back().get();
    return *last_;
}

char32_t CodePageDecoder::DecodeByte(int codePage, std::uint8_t byte) {
    Page& page = Find(codePage);
    char32_t& c = page.bytes[byte];
    if (c == kNotLookedUp) {
        c = page.converter == nullptr ? static_cast<char32_t>(byte)
                                      : Convert(*page.converter, &byte, 1);
    }
    return c;
}

int CodePageDecoder::SequenceLength(int codePage, std::uint8_t lead) {
    if (codePage != kUtf8) {
        return 2;
    }
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
}

char32_t CodePageDecoder::DecodeSequence(int codePage, const std::uint8_t* bytes, int count) {
    if (codePage == kUtf8) {
        return DecodeUtf8(bytes, count);
    }
    Page& page = Find(codePage);
    if (count != 2 || page.converter == nullptr) {
        return kInvalid;
    }
    auto& row = page.pairs[bytes[0]];
    if (!row) {
        row = std::make_unique<std::array<char32_t, 256>>();
        row->fill(0);
    }
    char32_t& cached = (*row)[bytes[1]];
    if (cached == 0) {
        cached = Convert(*page.converter, bytes, 2);
        if (cached == kLeadByte || cached == 0) {
            cached = kInvalid;
        }
    }
    return cached;
}

}  // namespace Tessaly::Docs::Rtf
