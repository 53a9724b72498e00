# The viewer tests need the element-file reader besides the library, and the
# run tests the viewer programs themselves.
if(TARGET viewers_elements_test)
  target_link_libraries(viewers_elements_test PRIVATE orbelements)
endif()
foreach(t viewers_run_test viewers_screen_test)
  if(TARGET ${t} AND TARGET orbview2 AND TARGET orbview3 AND TARGET orbview4)
    add_dependencies(${t} orbview2 orbview3 orbview4)
    target_compile_definitions(${t} PRIVATE ORBVIEW_DIR="$<TARGET_FILE_DIR:orbview2>")
  endif()
endforeach()

# The README's animation, made by orbview3 from the bundled element files.
if(TARGET orbview3)
  add_test(NAME viewers_orbits_gif_current
    COMMAND ${CMAKE_COMMAND} -DVIEWER=$<TARGET_FILE:orbview3>
      -DEXAMPLES=${PROJECT_SOURCE_DIR}/examples/orbview3
      -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/orbits_gif
      -P ${CMAKE_CURRENT_LIST_DIR}/orbits_gif.cmake)
endif()
