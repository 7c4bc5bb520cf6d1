#include "doclib/rtf/StagedMarkdown.h"

#include "doclib/rtf/RtfTokenizer.h"
#include "text/StagingMarkdown.h"
#include "text/Utf8.h"

namespace Tessaly::Docs {

namespace {

using Rtf::RtfTokenizer;
using Rtf::Token;

// The bytes of a destination group whose name has just been read, up to its closing brace.
// Line ends of the RTF itself are layout; nested groups and other control words carry nothing.
std::string StagedBytes(RtfTokenizer& tokens) {
    std::string bytes;
    for (;;) {
        const Token token = tokens.Next();
        switch (token.kind) {
            case Token::kEnd:
            case Token::kGroupClose:
                return bytes;
            case Token::kGroupOpen:
                tokens.SkipGroup();
                break;
            case Token::kText:
                bytes.append(token.text);
                break;
            case Token::kByte:
                bytes.push_back(static_cast<char>(token.byte));
                break;
            case Token::kControlSymbol:
                if (token.symbol == '\\' || token.symbol == '{' || token.symbol == '}') {
                    bytes.push_back(token.symbol);
                }
                break;
            case Token::kControlWord:
                break;
        }
    }
}

}  // namespace

std::optional<StagedMarkdown> FindStagedMarkdown(std::string_view rtf) {
    RtfTokenizer tokens(rtf);
    if (tokens.Next().kind != Token::kGroupOpen) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    std::optional<std::string> source;
    for (;;) {
        const Token token = tokens.Next();
        if (token.kind == Token::kEnd || token.kind == Token::kGroupClose ||
            token.kind == Token::kText || token.kind == Token::kByte) {
            break;  // the document's end, or its body has begun
        }
        if (token.kind != Token::kGroupOpen) {
            continue;  // the header's control words
        }
        // "{\*\name": a destination; anything else in the header is passed over whole.
        const Token first = tokens.Next();
        Token name = first;
        if (first.kind == Token::kControlSymbol && first.symbol == '*') {
            name = tokens.Next();
        }
        const bool named = name.kind == Token::kControlWord && !name.hasParam;
        if (named && name.text == text::kMarkdownTextDestination && !text) {
            text = StagedBytes(tokens);
        } else if (named && name.text == text::kMarkdownSourceDestination && !source) {
            source = StagedBytes(tokens);
        } else if (name.kind == Token::kEnd) {
            break;
        } else if (name.kind != Token::kGroupClose) {
            if (name.kind == Token::kGroupOpen) {
                tokens.SkipGroup();  // the nested group that just opened
            }
            tokens.SkipGroup();
        }
        if (text && source) {
            break;
        }
    }
    if (!text || !source) {
        return std::nullopt;
    }
    return StagedMarkdown{text::utf8::ToValidUtf8(*text), std::move(*source)};
}

}  // namespace Tessaly::Docs
