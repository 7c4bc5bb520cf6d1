# The Samples folder beside the program.
# The example texts are copied beside the built program, so the program run from the build
# tree finds its Samples folder as it does installed. configure_file makes a changed or added
# text reach the build folder at the next build.
include(GNUInstallDirs)

file(GLOB quillane_sample_texts CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/Samples/*.txt)
foreach(sample ${quillane_sample_texts})
    get_filename_component(sample_name ${sample} NAME)
    configure_file(${sample} ${QUILLANE_BIN_DIR}/Samples/${sample_name} COPYONLY)
endforeach()

install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/Samples DESTINATION ${CMAKE_INSTALL_LIBDIR}/quillane)
