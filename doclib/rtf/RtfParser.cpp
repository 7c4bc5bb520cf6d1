#include "doclib/rtf/RtfParser.h"

#include <algorithm>
#include <cstring>

#include "doclib/rtf/Utf8.h"

namespace Tessaly::Docs::Rtf {

namespace {

// Document properties and field codes are short; a hostile file cannot make them large.
constexpr std::size_t kMetadataLimit = 64 * 1024;

constexpr int kUtf8CodePage = 65001;

void AppendLimited(std::string& target, std::string_view text) {
    if (target.size() < kMetadataLimit) {
        target.append(text.substr(0, kMetadataLimit - target.size()));
    }
}

std::int8_t OutlineLevel(std::int32_t param) {
    return static_cast<std::int8_t>(std::clamp<std::int32_t>(param, -1, 9));
}

}  // namespace

RtfParser::RtfParser(std::string_view data) : tokens_(data) {
    stack_.reserve(64);
    // Text is rarely longer than its RTF source, and writers end most paragraphs with a line
    // end: reserving once by these estimates spares a large document the copies (and the
    // doubled peak memory) of regrowing its arena and tables.
    doc_.text.reserve(data.size());
    std::size_t lines = 0;
    for (const char* at = data.data();
         const void* found =
             std::memchr(at, '\n', static_cast<std::size_t>(data.data() + data.size() - at));) {
        ++lines;
        at = static_cast<const char*>(found) + 1;
    }
    const std::size_t estimate = std::min(lines, data.size() / 4) + 1;
    doc_.blocks.reserve(estimate);
    doc_.spans.reserve(estimate);
}

Document RtfParser::Parse() {
    for (;;) {
        Token token = tokens_.Next();
        if (token.kind == Token::kEnd || !Dispatch(token)) {
            break;
        }
    }
    FinishDocument();
    return std::move(doc_);
}

bool RtfParser::Dispatch(Token& token) {
    if (pendingCount_ > 0 && token.kind != Token::kByte) {
        // A double-byte character whose trail byte is written as plain text or \\ \{ \}.
        // (UTF-8 continuation bytes are never 7-bit.)
        if (pendingCodePage_ == kUtf8CodePage) {
            pendingCount_ = 0;
        } else if (token.kind == Token::kText) {
            OnByte(static_cast<std::uint8_t>(token.text[0]));
            token.text.remove_prefix(1);
            if (token.text.empty()) {
                return true;
            }
        } else if (token.kind == Token::kControlSymbol &&
                   (token.symbol == '\\' || token.symbol == '{' || token.symbol == '}')) {
            OnByte(static_cast<std::uint8_t>(token.symbol));
            return true;
        } else {
            pendingCount_ = 0;
        }
    }
    if (unicodeFallback_ > 0) {
        // The 8-bit fallback after \uN: each byte, escape or control word counts as one
        // character; a group boundary ends the fallback.
        switch (token.kind) {
            case Token::kText: {
                const auto n = std::min<std::size_t>(unicodeFallback_, token.text.size());
                unicodeFallback_ -= static_cast<int>(n);
                token.text.remove_prefix(n);
                if (token.text.empty()) {
                    return true;
                }
                break;
            }
            case Token::kByte:
            case Token::kControlSymbol:
                --unicodeFallback_;
                return true;
            case Token::kControlWord:
                if (token.hasParam && token.text == "u") {
                    // A writer that announced a fallback but wrote none: the next
                    // character is a character, not its predecessor's fallback.
                    unicodeFallback_ = 0;
                    break;
                }
                --unicodeFallback_;
                if (token.hasParam && token.text == "bin") {
                    tokens_.SkipBytes(token.param);
                }
                return true;
            default:
                unicodeFallback_ = 0;
                break;
        }
    }
    switch (token.kind) {
        case Token::kGroupOpen:
            OpenGroup();
            return true;
        case Token::kGroupClose:
            return CloseGroup();
        case Token::kText:
            groupStart_ = false;
            starred_ = false;
            highSurrogate_ = 0;
            Emit(token.text);
            return true;
        case Token::kByte:
            groupStart_ = false;
            starred_ = false;
            highSurrogate_ = 0;
            OnByte(token.byte);
            return true;
        case Token::kControlWord:
            OnWord(LookupWord(token.text), token.hasParam, token.param);
            return true;
        case Token::kControlSymbol:
            OnSymbol(token.symbol);
            return true;
        case Token::kEnd:
            break;
    }
    return false;
}

void RtfParser::OpenGroup() {
    unicodeFallback_ = 0;
    if (stack_.size() >= kMaxGroupDepth) {
        tokens_.SkipGroup();
        return;
    }
    stack_.push_back(state_);
    state_.end = GroupEnd::kNothing;
    groupStart_ = true;
    starred_ = false;
    if (state_.destination == Destination::kStyleSheet) {
        state_.destination = Destination::kStyleEntry;
        state_.end = GroupEnd::kStyleEntry;
        styleEntry_ = StyleEntry{};
    } else if (state_.destination == Destination::kUnicodePair) {
        // Of an \upr pair only the Unicode twin is read; the 8-bit form is passed over.
        if (tokens_.NextIsUnicodeTwin()) {
            state_.destination = state_.beforeUnicodePair;
        } else {
            SkipDestination();
        }
    }
}

bool RtfParser::CloseGroup() {
    unicodeFallback_ = 0;
    groupStart_ = false;
    starred_ = false;
    if (stack_.empty()) {
        return false;
    }
    FinishGroup(state_.end);
    state_ = stack_.back();
    stack_.pop_back();
    return !stack_.empty();
}

void RtfParser::OnSymbol(char symbol) {
    if (symbol == '*') {
        starred_ = true;  // keeps groupStart_: \* opens the destination that follows
        return;
    }
    groupStart_ = false;
    starred_ = false;
    switch (symbol) {
        case '\\':
        case '{':
        case '}':
            Emit(std::string_view(&symbol, 1));
            break;
        case '~':
            EmitCodePoint(0x00A0);
            break;
        case '_':
            EmitCodePoint(0x2011);
            break;
        default:
            break;  // \- optional hyphen, \: index subentry, \| formula: nothing to show
    }
}

void RtfParser::OnByte(std::uint8_t byte) {
    if (pendingCount_ > 0) {
        pending_[pendingCount_++] = byte;
        if (pendingCount_ == pendingNeed_) {
            const char32_t c = decoder_.DecodeSequence(pendingCodePage_, pending_, pendingCount_);
            pendingCount_ = 0;
            if (c != CodePageDecoder::kInvalid) {
                EmitCodePoint(c);
            }
        }
        return;
    }
    const int codePage = CodePage();
    const char32_t c = decoder_.DecodeByte(codePage, byte);
    if (c == CodePageDecoder::kLeadByte) {
        pending_[0] = byte;
        pendingCount_ = 1;
        pendingNeed_ = decoder_.SequenceLength(codePage, byte);
        pendingCodePage_ = codePage;
        std::uint8_t trail = 0;
        if (codePage != kUtf8CodePage && tokens_.TakeTrailByte(trail)) {
            OnByte(trail);
        }
        return;
    }
    if (c != CodePageDecoder::kInvalid) {
        EmitCodePoint(c);
    }
}

void RtfParser::OnUnicode(std::int32_t value) {
    unicodeFallback_ = state_.unicodeSkip;
    if (value < 0) {
        value += 65536;  // RTF writes code units above 32767 as negative numbers
    }
    if (value < 0) {
        highSurrogate_ = 0;
        return;
    }
    const auto unit = static_cast<char32_t>(value);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        highSurrogate_ = unit;
        return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (highSurrogate_ != 0) {
            EmitCodePoint(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
        }
        highSurrogate_ = 0;
        return;
    }
    highSurrogate_ = 0;
    EmitCodePoint(unit);
}

void RtfParser::OnWord(Word word, bool hasParam, std::int32_t param) {
    const bool atGroupStart = groupStart_;
    const bool starred = starred_;
    groupStart_ = false;
    starred_ = false;
    const bool on = !hasParam || param != 0;
    ParagraphState& para = state_.paragraph;
    CharacterState& chr = state_.character;
    auto setFormat = [&chr, on](std::uint8_t bit) {
        chr.format = static_cast<std::uint8_t>(on ? (chr.format | bit) : (chr.format & ~bit));
    };
    // Paragraph formatting of the document's own text marks a document laid out by its author.
    auto noteFormatting = [this, hasParam, param] {
        if (hasParam && param != 0 && state_.destination == Destination::kBody) {
            doc_.hasParagraphFormatting = true;
        }
    };

    switch (word) {
        case Word::kUnknown:
            // An unknown destination marked ignorable is passed over whole.
            if (starred && atGroupStart) {
                SkipDestination();
            }
            return;
        case Word::kFontTable:
        case Word::kStyleSheet:
        case Word::kInfo:
        case Word::kTitle:
        case Word::kAuthor:
        case Word::kSubject:
        case Word::kComment:
        case Word::kField:
        case Word::kFieldInstruction:
        case Word::kFieldResult:
        case Word::kFootnote:
        case Word::kUnicodePair:
        case Word::kDropped:
            // Destinations open a group; the same word elsewhere is malformed and ignored.
            if (atGroupStart) {
                StartDestination(word);
            }
            return;
        case Word::kUnicodeTwin:
        case Word::kRtf:
            return;

        case Word::kAnsi:
            defaultCodePage_ = 1252;
            codePageKnown_ = false;
            return;
        case Word::kMac:
            defaultCodePage_ = 10000;
            codePageKnown_ = false;
            return;
        case Word::kPc:
            defaultCodePage_ = 437;
            codePageKnown_ = false;
            return;
        case Word::kPca:
            defaultCodePage_ = 850;
            codePageKnown_ = false;
            return;
        case Word::kAnsiCodePage:
            if (hasParam && param > 0) {
                defaultCodePage_ = param;
                codePageKnown_ = false;
            }
            return;
        case Word::kDefaultFont:
            defaultFont_ = param;
            chr.font = param;
            codePageKnown_ = false;
            return;
        case Word::kDefaultLanguage:
            defaultLanguage_ = param;
            if (chr.language == 0) {
                chr.language = param;
            }
            return;
        case Word::kUnicodeSkip:
            state_.unicodeSkip = static_cast<std::uint8_t>(std::clamp<std::int32_t>(param, 0, 255));
            return;
        case Word::kUnicode:
            if (hasParam) {
                OnUnicode(param);
            }
            return;
        case Word::kBinary:
            // Binary data is never text, in whatever destination it stands.
            if (hasParam) {
                tokens_.SkipBytes(param);
            }
            return;

        case Word::kFont:
            if (state_.destination == Destination::kFontTable) {
                fontEntry_ = param;
                fonts_[param];
            } else {
                chr.font = param;
            }
            codePageKnown_ = false;
            return;
        case Word::kCharset:
            if (state_.destination == Destination::kFontTable && fontEntry_ >= 0) {
                fonts_[fontEntry_].charset = param;
                codePageKnown_ = false;
            }
            return;
        case Word::kCodePage:
            if (state_.destination == Destination::kFontTable && fontEntry_ >= 0) {
                fonts_[fontEntry_].codePage = param;
                codePageKnown_ = false;
            }
            return;

        case Word::kStyle:
            if (state_.destination == Destination::kStyleEntry) {
                styleEntry_.number = param;
                styleEntry_.paragraphStyle = true;
            } else {
                para.style = param;
                noteFormatting();
            }
            return;
        case Word::kCharStyle:
            if (state_.destination == Destination::kStyleEntry) {
                styleEntry_.paragraphStyle = false;
            }
            return;
        case Word::kOutlineLevel:
            if (state_.destination == Destination::kStyleEntry) {
                styleEntry_.outlineLevel = OutlineLevel(param);
            } else {
                para.outlineLevel = OutlineLevel(param);
            }
            return;

        case Word::kPlain:
            chr = CharacterState{};
            chr.font = defaultFont_;
            chr.language = defaultLanguage_;
            return;
        case Word::kBold:
            setFormat(kBold);
            return;
        case Word::kItalic:
            setFormat(kItalic);
            return;
        case Word::kUnderline:
            setFormat(kUnderline);
            return;
        case Word::kUnderlineNone:
            chr.format = static_cast<std::uint8_t>(chr.format & ~kUnderline);
            return;
        case Word::kStrike:
            setFormat(kStrike);
            return;
        case Word::kSuperscript:
            setFormat(kSuperscript);
            if (on) {
                chr.format = static_cast<std::uint8_t>(chr.format & ~kSubscript);
            }
            return;
        case Word::kSubscript:
            setFormat(kSubscript);
            if (on) {
                chr.format = static_cast<std::uint8_t>(chr.format & ~kSuperscript);
            }
            return;
        case Word::kNoSuperSub:
            chr.format = static_cast<std::uint8_t>(chr.format & ~(kSuperscript | kSubscript));
            return;
        case Word::kHidden:
            chr.hidden = on;
            return;
        case Word::kLanguage:
            chr.language = param;
            return;

        case Word::kParagraphDefault:
            para = ParagraphState{};
            return;
        case Word::kAlignLeft:
            para.alignment = Alignment::Start;
            return;
        case Word::kAlignCenter:
            para.alignment = Alignment::Center;
            return;
        case Word::kAlignRight:
            para.alignment = Alignment::End;
            return;
        case Word::kAlignJustify:
            para.alignment = Alignment::Justify;
            return;
        case Word::kLeftIndent:
            para.leftIndent = param;
            noteFormatting();
            return;
        case Word::kFirstIndent:
            para.firstIndent = param;
            noteFormatting();
            return;
        case Word::kRightIndent:
        case Word::kSpaceBefore:
        case Word::kSpaceAfter:
            noteFormatting();
            return;
        case Word::kInTable:
            para.inTable = on;
            return;
        case Word::kTableLevel:
            para.inTable = param > 0;
            return;
        case Word::kPageBreakBefore:
            para.pageBreakBefore = on;
            return;

        case Word::kParagraph:
            EmitParagraphEnd();
            return;
        case Word::kLine:
            Emit("\n");
            return;
        case Word::kTab:
            Emit("\t");
            return;
        case Word::kPage:
            if (InText() && !para.inTable) {
                Builder().Break(BlockKind::PageBreak, Shape());
            }
            return;
        case Word::kSection:
            if (state_.destination == Destination::kBody) {
                Builder().Break(BlockKind::SceneBreak, Shape());
            }
            return;
        case Word::kCell:
        case Word::kNestedCell:
        case Word::kNestedRow:
            if (InText()) {
                Builder().EndCell();
            }
            return;
        case Word::kRow:
            if (InText()) {
                Builder().EndRow(Shape());
            }
            return;

        case Word::kEmDash:
            EmitCodePoint(0x2014);
            return;
        case Word::kEnDash:
            EmitCodePoint(0x2013);
            return;
        case Word::kEmSpace:
            EmitCodePoint(0x2003);
            return;
        case Word::kEnSpace:
            EmitCodePoint(0x2002);
            return;
        case Word::kQuarterEmSpace:
            EmitCodePoint(0x2005);
            return;
        case Word::kBullet:
            EmitCodePoint(0x2022);
            return;
        case Word::kLeftQuote:
            EmitCodePoint(0x2018);
            return;
        case Word::kRightQuote:
            EmitCodePoint(0x2019);
            return;
        case Word::kLeftDoubleQuote:
            EmitCodePoint(0x201C);
            return;
        case Word::kRightDoubleQuote:
            EmitCodePoint(0x201D);
            return;
        case Word::kZeroWidthJoiner:
            EmitCodePoint(0x200D);
            return;
        case Word::kZeroWidthNonJoiner:
            EmitCodePoint(0x200C);
            return;
        case Word::kZeroWidthBreak:
            EmitCodePoint(0x200B);
            return;
        case Word::kLeftToRightMark:
            EmitCodePoint(0x200E);
            return;
        case Word::kRightToLeftMark:
            EmitCodePoint(0x200F);
            return;
    }
}

void RtfParser::Emit(std::string_view utf8) {
    switch (state_.destination) {
        case Destination::kBody:
        case Destination::kNote: {
            if (state_.character.hidden) {
                return;
            }
            ParagraphBuilder& builder = Builder();
            if (builder.InRow() && !state_.paragraph.inTable) {
                builder.EndRow(Shape());  // a row its writer never closed with \row
            }
            const std::uint32_t ref = state_.link > 0 ? state_.link - 1 : 0;
            const auto format =
                static_cast<std::uint8_t>(state_.character.format | (state_.link > 0 ? kLink : 0));
            builder.Text(utf8, format, ref);
            if (state_.destination == Destination::kBody) {
                CountLanguage(utf8.size());
            }
            return;
        }
        case Destination::kTitle:
        case Destination::kAuthor:
        case Destination::kSubject:
        case Destination::kComment: {
            std::string& target =
                state_.destination == Destination::kTitle     ? doc_.metadata.title
                : state_.destination == Destination::kAuthor  ? doc_.metadata.author
                : state_.destination == Destination::kSubject ? doc_.metadata.subject
                                                              : doc_.metadata.description;
            // Properties are one line: breaks and tabs in them read as spaces.
            if (utf8 == "\n" || utf8 == "\t") {
                utf8 = " ";
            }
            AppendLimited(target, utf8);
            return;
        }
        case Destination::kStyleEntry:
            if (styleEntry_.name.size() < 256) {
                styleEntry_.name.append(utf8.substr(0, 256));
            }
            return;
        case Destination::kFieldInstruction:
            if (state_.field >= 0 &&
                static_cast<std::size_t>(state_.field) < fieldInstructions_.size()) {
                AppendLimited(fieldInstructions_[static_cast<std::size_t>(state_.field)], utf8);
            }
            return;
        case Destination::kFontTable:
        case Destination::kStyleSheet:
        case Destination::kInfo:
        case Destination::kUnicodePair:
            return;
    }
}

void RtfParser::EmitCodePoint(char32_t c) {
    if (c == '\t') {
        Emit("\t");
    } else if (IsTextCodePoint(c)) {
        const Utf8Char utf8(c);
        Emit(utf8.view());
    }
}

void RtfParser::EmitParagraphEnd() {
    if (!InText()) {
        if (state_.destination == Destination::kTitle ||
            state_.destination == Destination::kAuthor ||
            state_.destination == Destination::kSubject ||
            state_.destination == Destination::kComment) {
            Emit("\n");
        }
        return;
    }
    ParagraphBuilder& builder = Builder();
    if (state_.paragraph.inTable) {
        builder.CellParagraph();
        return;
    }
    if (builder.InRow()) {
        builder.EndRow(Shape());  // a row its writer never closed with \row
        return;
    }
    const BlockShape shape = Shape();
    if (shape.kind == BlockKind::Heading && state_.destination == Destination::kBody &&
        builder.HasOpenParagraph()) {
        doc_.hasParagraphFormatting = true;
    }
    builder.EndParagraph(shape);
}

BlockShape RtfParser::Shape() const {
    const ParagraphState& para = state_.paragraph;
    BlockShape shape;
    shape.alignment = para.alignment;
    shape.indented = para.leftIndent > 0 || para.firstIndent > 0;
    shape.pageBreakBefore = para.pageBreakBefore;
    if (para.inTable || state_.destination != Destination::kBody) {
        return shape;
    }
    int level = 0;
    if (para.outlineLevel >= 0) {
        // Outline level 9 is RTF's explicit "body text".
        level = para.outlineLevel <= 8 ? std::min(para.outlineLevel + 1, 6) : 0;
    } else if (const auto it = headingStyles_.find(para.style); it != headingStyles_.end()) {
        level = it->second;
    }
    if (level > 0) {
        shape.kind = BlockKind::Heading;
        shape.level = static_cast<std::uint8_t>(level);
    }
    return shape;
}

int RtfParser::CodePage() {
    if (codePageKnown_ && codePageFont_ == state_.character.font) {
        return codePage_;
    }
    codePage_ = defaultCodePage_;
    if (const auto it = fonts_.find(state_.character.font); it != fonts_.end()) {
        if (it->second.codePage > 0) {
            codePage_ = it->second.codePage;
        } else if (const int fromCharset = CharsetCodePage(it->second.charset); fromCharset > 0) {
            codePage_ = fromCharset;
        }
    }
    codePageFont_ = state_.character.font;
    codePageKnown_ = true;
    return codePage_;
}

void RtfParser::CountLanguage(std::size_t bytes) {
    if (state_.character.language != countedLanguage_) {
        if (countedBytes_ > 0) {
            languageUse_[countedLanguage_] += countedBytes_;
        }
        countedLanguage_ = state_.character.language;
        countedBytes_ = 0;
    }
    countedBytes_ += bytes;
}

}  // namespace Tessaly::Docs::Rtf
