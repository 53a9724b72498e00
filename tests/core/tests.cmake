# A C program through the public header: the protocol byte for byte.
add_executable(gksl_caller ${CMAKE_CURRENT_LIST_DIR}/gksl_caller.c)
target_link_libraries(gksl_caller PRIVATE korvan)
set_target_properties(gksl_caller PROPERTIES LINKER_LANGUAGE CXX)
add_test(NAME gksl_caller
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:gksl_caller>
    -DEXPECTED=${CMAKE_CURRENT_LIST_DIR}/gksl_caller.expected -DOUTPUT=korvan.met
    -P ${CMAKE_CURRENT_LIST_DIR}/../support/run_and_compare.cmake)
