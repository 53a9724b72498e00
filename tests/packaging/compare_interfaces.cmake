# Writes the interfaces of HEADER to OUTPUT and compares them with EXPECTED.
execute_process(COMMAND ${CMAKE_COMMAND} -DHEADER=${HEADER} -DOUTPUT=${OUTPUT}
    -P ${CMAKE_CURRENT_LIST_DIR}/../../tools/fortran_interfaces.cmake
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the generator failed:\n${err}")
endif()
file(READ ${OUTPUT} got)
file(READ ${EXPECTED} want)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "${OUTPUT} differs from ${EXPECTED}:\n${got}")
endif()
