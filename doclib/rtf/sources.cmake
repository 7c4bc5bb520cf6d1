list(APPEND DOCLIB_SOURCES
    rtf/CharacterFormatWords.cpp
    rtf/CodePageWords.cpp
    rtf/CodePages.cpp
    rtf/ControlWords.cpp
    rtf/FieldInstruction.cpp
    rtf/FontTable.cpp
    rtf/LanguageTags.cpp
    rtf/LanguageTally.cpp
    rtf/ParagraphWords.cpp
    rtf/RtfDestinations.cpp
    rtf/RtfParser.cpp
    rtf/RtfReader.cpp
    rtf/RtfTokenizer.cpp
    rtf/StagedMarkdown.cpp
    rtf/StyleTable.cpp
    rtf/SymbolFonts.cpp
)
