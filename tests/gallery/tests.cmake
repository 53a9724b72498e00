# The committed gallery pictures are what the gallery programs draw today.
foreach(prog ${KORVAN_GALLERY})
  if(TARGET ${prog})
    add_test(NAME gallery_${prog}_same_bytes
             COMMAND ${CMAKE_COMMAND} -DNAME=gallery -DGENERATOR=$<TARGET_FILE:${prog}>
                     -DGLOB=${prog}.png -DCOMMITTED=${PROJECT_SOURCE_DIR}/docs/gallery
                     -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/gallery_${prog}
                     -P ${CMAKE_CURRENT_LIST_DIR}/../support/generated_same_bytes.cmake)
  endif()
endforeach()
