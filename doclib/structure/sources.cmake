list(APPEND DOCLIB_SOURCES
    structure/BlockTextReader.cpp
    structure/ChapterDetector.cpp
    structure/ChapterLine.cpp
    structure/DashRule.cpp
    structure/DocumentRebuilder.cpp
    structure/DocumentShape.cpp
    structure/LanguageDetector.cpp
    structure/LineFacts.cpp
    structure/ParagraphShaper.cpp
    structure/Refine.cpp
    structure/SceneBreaks.cpp
    structure/TextLine.cpp
    structure/TitleFinder.cpp
)
