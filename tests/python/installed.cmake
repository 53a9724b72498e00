# The installed package: install the build into a new prefix and import the
# package from there with nothing but PYTHONPATH, the way the README says.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK}/prefix
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=KORVAN --unset=KORVAN_LIBRARY
          PYTHONPATH=${WORK}/prefix/lib/python3/dist-packages
          ${PYTHON} -c "import korvan\nwith korvan.Plot('PNG') as p:\n    korvan.messag('installed', 100, 100)\nassert p.data.startswith(b'\\x89PNG')\nprint(korvan.__file__)"
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "prefix/lib/python3/dist-packages/korvan/__init__.py")
  message(FATAL_ERROR "import korvan from the installed prefix failed: ${out} ${err}")
endif()
