# The committed stroke-font tables are what the generator writes from the
# Hershey fonts: it runs into a scratch directory and every file must match
# byte for byte.
if(TARGET fontgen)
  add_test(NAME fontgen_same_bytes
           COMMAND ${CMAKE_COMMAND} -DNAME=fontgen -DGENERATOR=$<TARGET_FILE:fontgen> -DARGS=${KORVAN_HERSHEY_DIR} -DGLOB=*
                   -DCOMMITTED=${PROJECT_SOURCE_DIR}/plotlib/text/glyphs
                   -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/fontgen_out
                   -P ${CMAKE_CURRENT_LIST_DIR}/../support/generated_same_bytes.cmake)
endif()
