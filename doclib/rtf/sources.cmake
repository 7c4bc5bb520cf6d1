list(APPEND DOCLIB_SOURCES rtf/RtfReader.cpp)
