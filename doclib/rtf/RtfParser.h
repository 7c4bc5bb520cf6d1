#pragma once
// The RTF reader proper: walks the tokens once, keeps the group state stack and sends text to
// the destination it belongs to (body, footnote, document properties, field codes).
//
// Control words are handled by kind, each kind in a file of its own: code pages and fonts
// (CodePageWords.cpp), character formatting (CharacterFormatWords.cpp), paragraphs and breaks
// (ParagraphWords.cpp) and destinations (RtfDestinations.cpp). What the header and the tables
// declare is kept by objects of its own: the fonts and their code pages, the heading styles,
// and the tally of the text's languages.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/Document.h"
#include "doclib/ParagraphBuilder.h"
#include "doclib/rtf/CodePages.h"
#include "doclib/rtf/ControlWords.h"
#include "doclib/rtf/FontTable.h"
#include "doclib/rtf/GroupState.h"
#include "doclib/rtf/LanguageTally.h"
#include "doclib/rtf/RtfTokenizer.h"
#include "doclib/rtf/StyleTable.h"
#include "doclib/rtf/SymbolFonts.h"

namespace Tessaly::Docs::Rtf {

class RtfParser {
  public:
    // Groups nested deeper than this are passed over whole, so hostile nesting costs neither
    // stack nor memory.
    static constexpr std::size_t kMaxGroupDepth = 1024;

    explicit RtfParser(std::string_view data);
    RtfParser(const RtfParser&) = delete;
    RtfParser& operator=(const RtfParser&) = delete;

    // Reads the whole text; call once.
    Document Parse();

  private:
    static constexpr int kUtf8CodePage = 65001;

    // Tokens (RtfParser.cpp).
    bool Dispatch(Token& token);
    void OpenGroup();
    bool CloseGroup();  // false once the document's own group has closed
    void OnWord(Word word, bool hasParam, std::int32_t param);
    void OnSymbol(char symbol);
    // Spaces right after '{' wait for the next token: before a destination they are layout
    // of the RTF ("{ \pict"), before anything else they are text.
    bool KeepsGroupSpace(const Token& token) const;
    void FlushGroupSpace();

    // Text (RtfParser.cpp).
    void Emit(std::string_view utf8);
    void EmitCodePoint(char32_t c);
    bool InText() const {
        return state_.destination == Destination::kBody || state_.destination == Destination::kNote;
    }
    ParagraphBuilder& Builder() {
        return state_.destination == Destination::kNote ? noteText_ : body_;
    }

    // Code pages, fonts and characters given by number (CodePageWords.cpp).
    void OnCodePageWord(Word word, bool hasParam, std::int32_t param);
    void OnText(std::string_view text);
    void OnByte(std::uint8_t byte);
    void OnUnicode(std::int32_t value);
    int CodePage() { return fonts_.CodePageOf(state_.character.font); }
    SymbolFont CurrentSymbolFont() { return fonts_.SymbolFontFor(state_.character.font); }

    // Character formatting (CharacterFormatWords.cpp).
    void OnCharacterFormatWord(Word word, bool hasParam, std::int32_t param);

    // Paragraph formatting and breaks (ParagraphWords.cpp).
    void OnParagraphWord(Word word, bool hasParam, std::int32_t param);
    void EmitParagraphEnd();
    void EmitPageBreak();
    BlockShape Shape() const;

    // Destinations (RtfDestinations.cpp).
    void OnDestinationWord(Word word, bool atGroupStart);
    bool StartDestination(Word word);
    void SkipDestination();
    void FinishGroup(GroupEnd end);
    void StartNote();
    void StartFieldResult();
    void StartListNumber();
    void FinishDocument();

    RtfTokenizer tokens_;
    CodePageDecoder decoder_;
    Document doc_;
    // Footnotes are gathered apart and appended after the body, so every block's spans stay
    // one contiguous run.
    Document notes_;
    ParagraphBuilder body_{doc_};
    ParagraphBuilder noteText_{notes_};

    GroupState state_;
    std::vector<GroupState> stack_;
    bool groupStart_ = false;       // no token but \* read since the last '{'
    bool starred_ = false;          // the last token was \*
    std::string_view groupSpace_;   // spaces read right after '{', not yet known to be text
    bool listNumberShown_ = false;  // the paragraph being read has its list number
    int unicodeFallback_ = 0;       // fallback characters of the last \uN still to skip
    char32_t highSurrogate_ = 0;

    // A multi-byte character in the making (double-byte code pages, UTF-8).
    std::uint8_t pending_[4] = {};
    int pendingCount_ = 0;
    int pendingNeed_ = 0;
    int pendingCodePage_ = 0;

    FontTable fonts_;
    StyleTable styles_;
    LanguageTally languages_;
    std::vector<std::string> fieldInstructions_;
};

}  // namespace Tessaly::Docs::Rtf
