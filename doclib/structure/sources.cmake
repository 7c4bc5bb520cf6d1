list(APPEND DOCLIB_SOURCES structure/Refine.cpp)
