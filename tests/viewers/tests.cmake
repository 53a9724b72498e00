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
