# The viewer tests need the element-file reader besides the library.
if(TARGET viewers_elements_test)
  target_link_libraries(viewers_elements_test PRIVATE orbelements)
endif()
