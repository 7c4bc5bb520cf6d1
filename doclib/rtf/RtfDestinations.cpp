// The destinations the reader keeps or drops: font table, style sheet, document properties,
// fields, footnotes, list numbers and embedded objects, and what closing their groups
// completes.

#include "doclib/rtf/FieldInstruction.h"
#include "doclib/rtf/RtfParser.h"

namespace Tessaly::Docs::Rtf {

namespace {

bool IsTextDestination(Destination d) {
    return d == Destination::kBody || d == Destination::kNote;
}

void Trim(std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(0, first);
    text.erase(text.find_last_not_of(' ') + 1);
}

}  // namespace

void RtfParser::OnDestinationWord(Word word, bool atGroupStart) {
    // Destinations open a group; the same word elsewhere is malformed and ignored.
    if (atGroupStart) {
        StartDestination(word);
    }
}

bool RtfParser::StartDestination(Word word) {
    const Destination current = state_.destination;
    switch (word) {
        case Word::kFontTable:
            state_.destination = Destination::kFontTable;
            fonts_.BeginTable();
            return true;
        case Word::kStyleSheet:
            state_.destination = Destination::kStyleSheet;
            return true;
        case Word::kInfo:
            state_.destination = Destination::kInfo;
            return true;
        case Word::kTitle:
            doc_.metadata.title.clear();
            state_.destination = Destination::kTitle;
            return true;
        case Word::kAuthor:
            doc_.metadata.author.clear();
            state_.destination = Destination::kAuthor;
            return true;
        case Word::kSubject:
            doc_.metadata.subject.clear();
            state_.destination = Destination::kSubject;
            return true;
        case Word::kComment:
            doc_.metadata.description.clear();
            state_.destination = Destination::kComment;
            return true;
        case Word::kField:
            fieldInstructions_.emplace_back();
            state_.field = static_cast<std::int32_t>(fieldInstructions_.size() - 1);
            state_.end = GroupEnd::kField;
            return true;
        case Word::kFieldInstruction:
            if (state_.field < 0 || current == Destination::kFieldInstruction) {
                SkipDestination();
                return false;
            }
            state_.destination = Destination::kFieldInstruction;
            return true;
        case Word::kFieldResult:
            StartFieldResult();
            return true;
        case Word::kFootnote:
            // A note inside a note, or in a heading or property, has nowhere to go.
            if (current != Destination::kBody) {
                SkipDestination();
                return false;
            }
            StartNote();
            return true;
        case Word::kUnicodePair:
            state_.beforeUnicodePair = current;
            state_.destination = Destination::kUnicodePair;
            return true;
        case Word::kListNumber:
            if (!IsTextDestination(current) || listNumberShown_) {
                SkipDestination();
                return false;
            }
            // The number or bullet as the writer shows it: part of the item's text.
            listNumberShown_ = true;
            return true;
        case Word::kObject:
            if (!IsTextDestination(current)) {
                SkipDestination();
                return false;
            }
            state_.beforeObject = current;
            state_.destination = Destination::kObject;
            return true;
        case Word::kObjectResult:
            // The object as its application last drew it: text, or a picture (dropped).
            if (current == Destination::kObject) {
                state_.destination = state_.beforeObject;
            }
            return true;
        default:
            SkipDestination();
            return false;
    }
}

void RtfParser::SkipDestination() {
    tokens_.SkipGroup();
    CloseGroup();
}

void RtfParser::StartFieldResult() {
    if (state_.field < 0 || static_cast<std::size_t>(state_.field) >= fieldInstructions_.size()) {
        return;
    }
    std::string& instruction = fieldInstructions_[static_cast<std::size_t>(state_.field)];
    if (IsTextDestination(state_.destination)) {
        // A link to a bookmark of this document alone ("#name", e.g. a contents entry) would
        // point nowhere in the book: bookmarks are not kept. Its text stays, unlinked.
        if (auto target = HyperlinkTarget(instruction); target && target->front() != '#') {
            doc_.links.push_back(std::move(*target));
            state_.link = static_cast<std::uint32_t>(doc_.links.size());
        }
    }
    instruction = std::string();
}

void RtfParser::StartNote() {
    const auto index = static_cast<std::uint32_t>(doc_.notes.size());
    Note note;
    note.firstBlock = static_cast<std::uint32_t>(notes_.blocks.size());
    doc_.notes.push_back(note);
    // The reference mark is the note's number, as RTF's automatic footnote mark shows it.
    body_.Text(std::to_string(index + 1), kNoteRef, index);
    state_.destination = Destination::kNote;
    state_.end = GroupEnd::kNote;
    state_.link = 0;
    state_.paragraph = ParagraphState{};
}

void RtfParser::FinishGroup(GroupEnd end) {
    switch (end) {
        case GroupEnd::kNothing:
            return;
        case GroupEnd::kStyleEntry:
            styles_.FinishEntry();
            return;
        case GroupEnd::kNote: {
            noteText_.Finish(Shape());
            Note& note = doc_.notes.back();
            note.blockCount = static_cast<std::uint32_t>(notes_.blocks.size() - note.firstBlock);
            return;
        }
        case GroupEnd::kField:
            if (!fieldInstructions_.empty()) {
                fieldInstructions_.pop_back();
            }
            return;
    }
}

void RtfParser::FinishDocument() {
    // A truncated document: close what is open, so notes, fields and styles are complete.
    const BlockShape lastShape = Shape();
    const bool endsInNote = state_.destination == Destination::kNote;
    while (!stack_.empty()) {
        CloseGroup();
    }
    body_.Finish(endsInNote ? BlockShape{} : lastShape);

    // Note blocks follow the body in the same arena; their spans are indexes into `spans`.
    const auto spanBase = static_cast<std::uint32_t>(doc_.spans.size());
    const std::uint64_t textBase = doc_.text.size();
    doc_.text.append(notes_.text);
    doc_.spans.reserve(doc_.spans.size() + notes_.spans.size());
    for (Span span : notes_.spans) {
        span.offset += textBase;
        doc_.spans.push_back(span);
    }
    doc_.noteBlocks.reserve(notes_.blocks.size());
    for (Block block : notes_.blocks) {
        block.firstSpan += spanBase;
        doc_.noteBlocks.push_back(block);
    }
    notes_ = Document();
    if (doc_.text.capacity() > doc_.text.size() * 2 + 65536) {
        doc_.text.shrink_to_fit();
    }

    Trim(doc_.metadata.title);
    Trim(doc_.metadata.author);
    Trim(doc_.metadata.subject);
    Trim(doc_.metadata.description);

    // The language most of the text is marked with, else the document's default language.
    doc_.metadata.language = languages_.MostUsedTag();
}

}  // namespace Tessaly::Docs::Rtf
