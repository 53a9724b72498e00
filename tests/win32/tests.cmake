# The Windows build under Wine: cross-built with cmake/mingw-w64.cmake and
# run on an Xvfb server of its own (tests/win32/wine_test.sh). Skipped with
# a message when mingw-w64, Wine, Xvfb or the X tools are missing.
add_executable(win32_probe ${CMAKE_CURRENT_LIST_DIR}/win32_probe.cpp)
target_include_directories(win32_probe PRIVATE ${PROJECT_SOURCE_DIR}/plotlib)
target_link_libraries(win32_probe PRIVATE korvan)
if(NOT KORVAN_SANITIZE AND TARGET orbview2 AND TARGET orbview3 AND TARGET orbview4)
  # One run is enough: the sanitizers do not reach into the Windows programs.
  add_test(NAME win32_wine
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine_test.sh ${PROJECT_SOURCE_DIR}
      ${CMAKE_CURRENT_BINARY_DIR}/win32 $<TARGET_FILE:win32_probe> $<TARGET_FILE_DIR:orbview2>)
  set_tests_properties(win32_wine PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77 RUN_SERIAL ON)
endif()
