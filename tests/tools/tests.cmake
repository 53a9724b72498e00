# The generator's tests link its core and the viewers' reader, which must
# read what the generator writes.
if(TARGET orbgen_physics_test)
  target_link_libraries(orbgen_physics_test PRIVATE orbgencore orbelements)
endif()

# The README's Reference is what tools/reference.cmake writes from korvan.h,
# and every plain declaration there has its line of levels and sentence.
add_test(NAME reference_same_text
  COMMAND ${CMAKE_COMMAND} -DHEADER=${PROJECT_SOURCE_DIR}/include/korvan.h
    -DREADME=${PROJECT_SOURCE_DIR}/README.md -DCHECK=ON
    -P ${PROJECT_SOURCE_DIR}/tools/reference.cmake)
# A declaration without that line stops the generator, naming the routine
# (CMake wraps the message where the path's length puts it).
add_test(NAME reference_needs_every_line
  COMMAND ${CMAKE_COMMAND} -DHEADER=${CMAKE_CURRENT_LIST_DIR}/reference_missing.h
    -DREADME=${PROJECT_SOURCE_DIR}/README.md -DCHECK=ON
    -P ${PROJECT_SOURCE_DIR}/tools/reference.cmake)
set_tests_properties(reference_needs_every_line PROPERTIES
  PASS_REGULAR_EXPRESSION "undoc:[ \n]+the[ \n]+plain[ \n]+declaration[ \n]+in[^\"]*reference_missing.h[ \n]+has[ \n]+no[ \n]+line")
