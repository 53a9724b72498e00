# The installed package: install into a temporary prefix, then build the
# callers of examples/callers against it with find_package, with pkg-config
# and (Fortran) with `use korvan`; each must run and write its plot.
find_program(KORVAN_PKG_CONFIG pkg-config)
find_program(KORVAN_GS gs)
set(packaging_link_flags "")
if(KORVAN_SANITIZE)
  # The instrumented library needs the sanitizer runtimes in every caller.
  set(packaging_link_flags "-fsanitize=address,undefined")
endif()
add_test(NAME packaging_install_and_build
  COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${PROJECT_BINARY_DIR}
    -DCONFIG=$<CONFIG>
    -DCALLERS=${PROJECT_SOURCE_DIR}/examples/callers
    -DWORK=${CMAKE_CURRENT_BINARY_DIR}/packaging
    -DC_COMPILER=${CMAKE_C_COMPILER}
    -DCXX_COMPILER=${CMAKE_CXX_COMPILER}
    -DFortran_COMPILER=${CMAKE_Fortran_COMPILER}
    -DLINK_FLAGS=${packaging_link_flags}
    -DPKG_CONFIG=${KORVAN_PKG_CONFIG}
    -DGS=${KORVAN_GS}
    -DFONTS=${PROJECT_SOURCE_DIR}/plotlib/text/fonts
    -P ${CMAKE_CURRENT_LIST_DIR}/install_and_build.cmake)
set_tests_properties(packaging_install_and_build PROPERTIES TIMEOUT 600)

# The Fortran interface generator on a header with every kind of parameter.
add_test(NAME packaging_fortran_interfaces
  COMMAND ${CMAKE_COMMAND}
    -DHEADER=${CMAKE_CURRENT_LIST_DIR}/interfaces.h
    -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/interfaces.f90
    -DEXPECTED=${CMAKE_CURRENT_LIST_DIR}/interfaces.f90
    -P ${CMAKE_CURRENT_LIST_DIR}/compare_interfaces.cmake)
add_test(NAME packaging_fortran_interfaces_refused
  COMMAND ${CMAKE_COMMAND} -DHEADER=${CMAKE_CURRENT_LIST_DIR}/bad_interfaces.h
    -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/bad_interfaces.f90
    -P ${PROJECT_SOURCE_DIR}/tools/fortran_interfaces.cmake)
set_tests_properties(packaging_fortran_interfaces_refused PROPERTIES WILL_FAIL ON)

# The library alone configures without the test libraries.
add_test(NAME packaging_library_only
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}
    -DWORK=${CMAKE_CURRENT_BINARY_DIR}/library-only -P ${CMAKE_CURRENT_LIST_DIR}/library_only.cmake)
set_tests_properties(packaging_library_only PROPERTIES TIMEOUT 300)
