list(APPEND DOCLIB_SOURCES epub/EpubWriter.cpp)
