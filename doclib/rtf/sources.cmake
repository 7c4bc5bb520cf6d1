list(APPEND DOCLIB_SOURCES
    rtf/CharacterFormatWords.cpp
    rtf/CodePageWords.cpp
    rtf/CodePages.cpp
    rtf/ControlWords.cpp
    rtf/FieldInstruction.cpp
    rtf/LanguageTags.cpp
    rtf/ParagraphBuilder.cpp
    rtf/ParagraphWords.cpp
    rtf/RtfDestinations.cpp
    rtf/RtfParser.cpp
    rtf/RtfReader.cpp
    rtf/RtfTokenizer.cpp
    rtf/StagedMarkdown.cpp
    rtf/SymbolFonts.cpp
)
