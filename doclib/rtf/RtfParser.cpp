#include "doclib/rtf/RtfParser.h"

#include <algorithm>
#include <cstring>

#include "doclib/HugePages.h"
#include "doclib/TextCodePoint.h"

namespace Tessaly::Docs::Rtf {

namespace {

// Document properties and field codes are short; a hostile file cannot make them large.
constexpr std::size_t kMetadataLimit = 64 * 1024;

void AppendLimited(std::string& target, std::string_view text) {
    if (target.size() < kMetadataLimit) {
        target.append(text.substr(0, kMetadataLimit - target.size()));
    }
}

bool IsSpaces(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
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
    AdviseHugePagesFor(doc_.text);
    AdviseHugePagesFor(doc_.blocks);
    AdviseHugePagesFor(doc_.spans);
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
    if (!groupSpace_.empty() && !KeepsGroupSpace(token)) {
        FlushGroupSpace();
    }
    switch (token.kind) {
        case Token::kGroupOpen:
            OpenGroup();
            return true;
        case Token::kGroupClose:
            return CloseGroup();
        case Token::kText:
            if (groupStart_ && groupSpace_.empty() && IsSpaces(token.text)) {
                groupSpace_ = token.text;
                return true;
            }
            groupStart_ = false;
            starred_ = false;
            highSurrogate_ = 0;
            OnText(token.text);
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

bool RtfParser::KeepsGroupSpace(const Token& token) const {
    if (token.kind == Token::kControlSymbol) {
        return token.symbol == '*';
    }
    if (token.kind != Token::kControlWord) {
        return false;
    }
    const Word word = LookupWord(token.text);
    return KindOf(word) == WordKind::kDestination || (word == Word::kUnknown && starred_);
}

void RtfParser::FlushGroupSpace() {
    const std::string_view spaces = groupSpace_;
    groupSpace_ = {};
    groupStart_ = false;
    starred_ = false;
    OnText(spaces);
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
        styles_.BeginEntry();
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

void RtfParser::OnWord(Word word, bool hasParam, std::int32_t param) {
    const bool atGroupStart = groupStart_;
    const bool starred = starred_;
    groupStart_ = false;
    starred_ = false;
    groupSpace_ = {};  // still here: it stood before a destination, so it was not text
    switch (KindOf(word)) {
        case WordKind::kIgnored:
            // An unknown destination marked ignorable is passed over whole.
            if (word == Word::kUnknown && starred && atGroupStart) {
                SkipDestination();
            }
            return;
        case WordKind::kCodePage:
            OnCodePageWord(word, hasParam, param);
            return;
        case WordKind::kDestination:
            OnDestinationWord(word, atGroupStart);
            return;
        case WordKind::kCharacterFormat:
            OnCharacterFormatWord(word, hasParam, param);
            return;
        case WordKind::kParagraph:
            OnParagraphWord(word, hasParam, param);
            return;
        case WordKind::kCharacter:
            EmitCodePoint(WordCharacter(word));
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
                languages_.Count(state_.character.language, utf8.size());
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
            styles_.AppendEntryName(utf8);
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
        case Destination::kObject:
            return;
    }
}

void RtfParser::EmitCodePoint(char32_t c) {
    if (c == '\t') {
        Emit("\t");
    } else if (c == 0x0C) {
        EmitPageBreak();  // a form feed starts a new page
    } else if (c == 0x0B) {
        Emit("\n");  // a vertical tab breaks the line
    } else if (IsTextCodePoint(c)) {
        const Utf8Char utf8(c);
        Emit(utf8.view());
    }
}

}  // namespace Tessaly::Docs::Rtf
