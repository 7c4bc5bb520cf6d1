#pragma once
// The RTF reader proper: walks the tokens once, keeps the group state stack and sends text to
// the destination it belongs to (body, footnote, document properties, field codes).

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "doclib/Document.h"
#include "doclib/rtf/CodePages.h"
#include "doclib/rtf/ControlWords.h"
#include "doclib/rtf/GroupState.h"
#include "doclib/rtf/ParagraphBuilder.h"
#include "doclib/rtf/RtfTokenizer.h"

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
    struct FontEntry {
        std::int32_t charset = 0;
        std::int32_t codePage = 0;
    };
    struct StyleEntry {
        std::int32_t number = 0;
        bool paragraphStyle = true;
        std::int8_t outlineLevel = -1;
        std::string name;
    };

    // Tokens.
    bool Dispatch(Token& token);
    void OpenGroup();
    bool CloseGroup();  // false once the document's own group has closed
    void OnWord(Word word, bool hasParam, std::int32_t param);
    void OnSymbol(char symbol);
    void OnByte(std::uint8_t byte);
    void OnUnicode(std::int32_t value);

    // Text.
    void Emit(std::string_view utf8);
    void EmitCodePoint(char32_t c);
    void EmitParagraphEnd();
    bool InText() const {
        return state_.destination == Destination::kBody || state_.destination == Destination::kNote;
    }
    ParagraphBuilder& Builder() {
        return state_.destination == Destination::kNote ? noteText_ : body_;
    }
    BlockShape Shape() const;
    int CodePage();
    void CountLanguage(std::size_t bytes);

    // Destinations (RtfDestinations.cpp).
    bool StartDestination(Word word);
    void SkipDestination();
    void FinishGroup(GroupEnd end);
    void StartNote();
    void StartFieldResult();
    void RegisterStyle();
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
    bool groupStart_ = false;  // no token but \* read since the last '{'
    bool starred_ = false;     // the last token was \*
    int unicodeFallback_ = 0;  // fallback characters of the last \uN still to skip
    char32_t highSurrogate_ = 0;

    // A multi-byte character in the making (double-byte code pages, UTF-8).
    std::uint8_t pending_[4] = {};
    int pendingCount_ = 0;
    int pendingNeed_ = 0;
    int pendingCodePage_ = 0;

    int defaultCodePage_ = 1252;
    std::int32_t defaultFont_ = 0;
    std::int32_t defaultLanguage_ = 0;
    std::unordered_map<std::int32_t, FontEntry> fonts_;
    std::int32_t fontEntry_ = -1;
    bool codePageKnown_ = false;
    std::int32_t codePageFont_ = 0;
    int codePage_ = 1252;

    std::unordered_map<std::int32_t, std::uint8_t> headingStyles_;  // style number -> level
    StyleEntry styleEntry_;
    std::vector<std::string> fieldInstructions_;

    // Bytes of body text per language identifier, to name the language the text is in.
    std::unordered_map<std::int32_t, std::uint64_t> languageUse_;
    std::int32_t countedLanguage_ = 0;
    std::uint64_t countedBytes_ = 0;
};

}  // namespace Tessaly::Docs::Rtf
