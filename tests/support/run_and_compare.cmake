# Runs PROGRAM in a fresh directory and compares its standard output, with
# date and time masked, byte for byte with the file EXPECTED. If OUTPUT is
# given, that file must have been written by the program.
get_filename_component(name ${PROGRAM} NAME)
set(work ${CMAKE_CURRENT_BINARY_DIR}/run-${name})
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
execute_process(COMMAND ${PROGRAM} WORKING_DIRECTORY ${work}
  OUTPUT_VARIABLE out RESULT_VARIABLE rc TIMEOUT 120)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${name} ended with status ${rc}:\n${out}")
endif()
string(REGEX REPLACE "[0-9][0-9]\\.[0-9][0-9]\\.[0-9][0-9][0-9][0-9]" "DD.MM.YYYY" out "${out}")
string(REGEX REPLACE "[0-9][0-9]:[0-9][0-9]:[0-9][0-9]" "hh:mm:ss" out "${out}")
file(READ ${EXPECTED} want)
if(NOT out STREQUAL want)
  file(WRITE ${work}/actual.txt "${out}")
  message(FATAL_ERROR "output differs from ${EXPECTED}; see ${work}/actual.txt:\n${out}")
endif()
if(OUTPUT AND NOT EXISTS ${work}/${OUTPUT})
  message(FATAL_ERROR "${name} did not write ${OUTPUT}")
endif()
