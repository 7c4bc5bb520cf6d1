# The converter and its library, embedded in the program byte for byte.
# Resources ":/payload/101" (ZOD2UVOV.exe) and ":/payload/102" (Tessaly.Docs.dll) are compiled
# from the built files. rcc reruns whenever either target is rebuilt, because the command
# depends on both targets (which adds a dependency on their files).
set(quillane_payload_qrc ${CMAKE_CURRENT_BINARY_DIR}/payloads.qrc)
set(quillane_payload_cpp ${CMAKE_CURRENT_BINARY_DIR}/qrc_payloads.cpp)
file(GENERATE OUTPUT ${quillane_payload_qrc} CONTENT
"<!DOCTYPE RCC><RCC version=\"1.0\">
<qresource prefix=\"/payload\">
  <file alias=\"101\">$<TARGET_FILE:ZOD2UVOV></file>
  <file alias=\"102\">$<TARGET_FILE:tessaly_docs></file>
</qresource>
</RCC>
")
add_custom_command(
    OUTPUT ${quillane_payload_cpp}
    COMMAND Qt6::rcc --name payloads --output ${quillane_payload_cpp} ${quillane_payload_qrc}
    DEPENDS ${quillane_payload_qrc} ZOD2UVOV tessaly_docs
    COMMENT "Embedding the converter and its library"
    VERBATIM)

# An object library, so the resource's static registration is always linked in: into the
# program, and into the tests that run the real embedded converter.
add_library(quillane_payloads OBJECT ${quillane_payload_cpp})
target_link_libraries(quillane_payloads PUBLIC Qt6::Core)
target_link_libraries(quillane PRIVATE quillane_payloads)
