# The committed bitmap fonts are what bdfgen writes from the stroke fonts.
if(TARGET bdfgen)
  add_test(NAME bdfgen_same_bytes
           COMMAND ${CMAKE_COMMAND} -DNAME=bdfgen -DGENERATOR=$<TARGET_FILE:bdfgen> -DGLOB=*.bdf
                   -DCOMMITTED=${PROJECT_SOURCE_DIR}/plotlib/text/fonts
                   -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/bdfgen_out
                   -P ${CMAKE_CURRENT_LIST_DIR}/../support/generated_same_bytes.cmake)
endif()
