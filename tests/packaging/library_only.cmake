# The install line of the README on a machine without the test libraries:
# configuring with GoogleTest and Google Benchmark out of reach must work and
# leave the tests and benchmarks out.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK} -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring without the test libraries failed:\n${out}\n${err}")
endif()
file(STRINGS ${WORK}/CMakeCache.txt options REGEX "^KORVAN_(TESTS|BENCH):BOOL=")
if(NOT options STREQUAL "KORVAN_BENCH:BOOL=OFF;KORVAN_TESTS:BOOL=OFF")
  message(FATAL_ERROR "without their libraries: ${options}")
endif()
file(REMOVE_RECURSE ${WORK})
