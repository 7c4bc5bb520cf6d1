# Program icon, pointer images and the optional skin.
# The pointers are files beside the program (the user may replace them); the window icon is
# compiled into the program (app/CMakeLists.txt). draw_images.py drew them all.
foreach(image HAND-M.CUR drag.ico)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/images/${image} ${QUILLANE_BIN_DIR}/${image} COPYONLY)
endforeach()
