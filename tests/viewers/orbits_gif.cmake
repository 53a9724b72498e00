# The animation shown in the README is what orbview3 makes of the bundled
# element files today: run the README's command into SCRATCH and compare.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${VIEWER} --dir ${EXAMPLES} --output ${SCRATCH}/orbits.gif --step 100
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "orbview3 failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/orbits.gif ${EXAMPLES}/orbits.gif
                RESULT_VARIABLE diff)
if(NOT diff EQUAL 0)
  message(FATAL_ERROR "examples/orbview3/orbits.gif is not what orbview3 makes; make it again with "
                      "the README's command")
endif()
