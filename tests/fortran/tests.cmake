# The by-address entry points called from a real Fortran program.
include(CheckLanguage)
check_language(Fortran)
if(CMAKE_Fortran_COMPILER)
  enable_language(Fortran)
  add_executable(fortran_caller ${CMAKE_CURRENT_LIST_DIR}/caller.f90)
  target_link_libraries(fortran_caller PRIVATE korvan)
  set_target_properties(fortran_caller PROPERTIES LINKER_LANGUAGE CXX)
  if(KORVAN_SANITIZE)
    target_link_libraries(fortran_caller PRIVATE gfortran)
  endif()
  add_test(NAME fortran_caller
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:fortran_caller>
      -DEXPECTED=${CMAKE_CURRENT_LIST_DIR}/caller.expected
      -DOUTPUT=korvan.met
      -P ${CMAKE_CURRENT_LIST_DIR}/../support/run_and_compare.cmake)
else()
  message(WARNING "No Fortran compiler: the Fortran caller test is not built")
endif()
