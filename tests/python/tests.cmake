# The Python package's tests (pytest), with the package of the build tree
# and Debian's Python and NumPy. Not in the sanitizer build: a Python
# process cannot load the instrumented library without its runtime first.
find_program(KORVAN_SYSTEM_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(TARGET korvan_python AND KORVAN_SYSTEM_PYTHON AND NOT KORVAN_SANITIZE)
  set(gallery "")
  if(TARGET errbar)
    set(gallery "KORVAN_GALLERY_BIN=$<TARGET_FILE_DIR:errbar>")
  endif()
  add_test(NAME python_package
    COMMAND ${KORVAN_SYSTEM_PYTHON} -m pytest -q -p no:cacheprovider ${PROJECT_SOURCE_DIR}/python/tests)
  set_tests_properties(python_package PROPERTIES
    ENVIRONMENT "PYTHONPATH=${PROJECT_BINARY_DIR}/python;KORVAN=${PROJECT_SOURCE_DIR}/plotlib/text;${gallery}"
    TIMEOUT 600)
endif()
if(TARGET korvan_python AND KORVAN_SYSTEM_PYTHON AND NOT KORVAN_SANITIZE)
  add_test(NAME python_package_installed
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DPYTHON=${KORVAN_SYSTEM_PYTHON}
      -DWORK=${CMAKE_CURRENT_BINARY_DIR}/python_installed -P ${CMAKE_CURRENT_LIST_DIR}/installed.cmake)
endif()
