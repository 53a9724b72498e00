# The installed package: the library (static, and shared with
# -DBUILD_SHARED_LIBS=ON), korvan.h, the CMake package korvan::korvan,
# korvan.pc, the Fortran module `korvan` and the data files.
#
# Included from plotlib/CMakeLists.txt; the work is deferred to the end of
# that directory, so that whatever is linked into the library there (in any
# order) is seen.
include_guard(GLOBAL)
include(CMakePackageConfigHelpers)

# Every package linked into the library, one line each: the name for
# find_dependency in the installed config, the imported target as linked in
# plotlib/CMakeLists.txt, and the linker flags for pkg-config's Libs.private.
# A line counts only when the target is actually linked (optional packages).
function(korvan_package_dependency package target pc_flags)
  set_property(GLOBAL APPEND PROPERTY KORVAN_DEPENDENCY_TABLE "${package}|${target}|${pc_flags}")
endfunction()
korvan_package_dependency(Libdeflate Libdeflate::Libdeflate "-ldeflate")
korvan_package_dependency(ZLIB ZLIB::ZLIB "-lz")
korvan_package_dependency(X11 X11::X11 "-lX11")
korvan_package_dependency(X11 X11::Xext "-lXext")
korvan_package_dependency(Freetype Freetype::Freetype "-lfreetype")
korvan_package_dependency(Fontconfig Fontconfig::Fontconfig "-lfontconfig")

# Data files the library looks up at run time below KORVAN_DATA_DIR, one line
# per source directory: the directory (installed only when it exists) and its
# name below the data directory.
function(korvan_data_directory source name)
  set_property(GLOBAL APPEND PROPERTY KORVAN_DATA_TABLE "${source}|${name}")
endfunction()
korvan_data_directory(${PROJECT_SOURCE_DIR}/plotlib/text/fonts fonts)

# The data directory relative to the prefix when it lies inside, so that
# `cmake --install --prefix` moves it along.
function(korvan_data_destination out)
  cmake_path(IS_PREFIX CMAKE_INSTALL_PREFIX "${KORVAN_DATA_DIR}" NORMALIZE inside)
  if(inside)
    file(RELATIVE_PATH dest "${CMAKE_INSTALL_PREFIX}" "${KORVAN_DATA_DIR}")
  else()
    set(dest "${KORVAN_DATA_DIR}")
  endif()
  set(${out} "${dest}" PARENT_SCOPE)
endfunction()

function(korvan_write_package)
  set(src ${PROJECT_SOURCE_DIR})
  set(bin ${PROJECT_BINARY_DIR}/package)
  set(cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/korvan)

  # Link dependencies: find_dependency lines for the config, flags for pkg-config.
  get_property(table GLOBAL PROPERTY KORVAN_DEPENDENCY_TABLE)
  get_target_property(links korvan LINK_LIBRARIES)
  set(packages "")
  set(pc_private "")
  foreach(item IN LISTS links)
    set(known 0)
    foreach(row IN LISTS table)
      string(REPLACE "|" ";" row "${row}")
      list(GET row 0 package)
      list(GET row 1 target)
      list(GET row 2 flags)
      if(item STREQUAL target)
        list(APPEND packages ${package})
        list(APPEND pc_private ${flags})
        set(known 1)
      endif()
    endforeach()
    if(known)
    elseif(item MATCHES "^[A-Za-z0-9_+.-]+$")
      list(APPEND pc_private "-l${item}")
    else()
      message(WARNING "korvan links '${item}', which the installed package does not name: "
        "add a line korvan_package_dependency(...) to cmake/KorvanPackaging.cmake")
    endif()
  endforeach()

  # A static libkorvan.a needs the C++ runtime also in C and Fortran programs:
  # the libraries C++ links implicitly beyond those of C.
  set(runtime ${CMAKE_CXX_IMPLICIT_LINK_LIBRARIES})
  if(CMAKE_C_IMPLICIT_LINK_LIBRARIES)
    list(REMOVE_ITEM runtime ${CMAKE_C_IMPLICIT_LINK_LIBRARIES})
  endif()
  list(REMOVE_ITEM runtime ${links})
  list(REMOVE_DUPLICATES runtime)
  foreach(lib IN LISTS runtime)
    target_link_libraries(korvan INTERFACE $<INSTALL_INTERFACE:${lib}>)
    list(APPEND pc_private "-l${lib}")
  endforeach()
  list(REMOVE_DUPLICATES packages)
  list(REMOVE_DUPLICATES pc_private)

  # The library. Only the routines of korvan.h are visible outside a shared
  # library (default visibility in the header, hidden for everything else).
  set_target_properties(korvan PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(korvan INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  set(targets korvan)
  if(BUILD_SHARED_LIBS)
    set_target_properties(korvan PROPERTIES POSITION_INDEPENDENT_CODE ON EXPORT_NAME korvan_static)
    add_library(korvan_shared SHARED $<TARGET_OBJECTS:korvan>)
    target_link_libraries(korvan_shared PRIVATE korvan)
    target_include_directories(korvan_shared INTERFACE
      $<BUILD_INTERFACE:${src}/include> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
    set_target_properties(korvan_shared PROPERTIES OUTPUT_NAME korvan EXPORT_NAME korvan
      VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
    if(NOT WIN32 AND NOT APPLE)
      # Instantiations of the C++ library's templates keep default
      # visibility; no C++ name belongs to the interface.
      target_link_options(korvan_shared PRIVATE -Wl,--version-script=${src}/cmake/korvan.map)
      set_property(TARGET korvan_shared APPEND PROPERTY LINK_DEPENDS ${src}/cmake/korvan.map)
    endif()
    list(APPEND targets korvan_shared)
  endif()
  install(TARGETS ${targets} EXPORT korvanTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${src}/include/korvan.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

  # CMake package.
  list(TRANSFORM packages REPLACE "(.+)" "find_dependency(\\1)")
  list(TRANSFORM packages REPLACE "^find_dependency\\(X11\\)$" "korvan_find_x11()")
  list(JOIN packages "\n" KORVAN_FIND_DEPENDENCIES)
  configure_package_config_file(${src}/cmake/korvanConfig.cmake.in ${bin}/korvanConfig.cmake
    INSTALL_DESTINATION ${cmake_dir})
  write_basic_package_version_file(${bin}/korvanConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
  install(EXPORT korvanTargets NAMESPACE korvan:: DESTINATION ${cmake_dir})
  install(FILES ${bin}/korvanConfig.cmake ${bin}/korvanConfigVersion.cmake
    ${src}/cmake/FindLibdeflate.cmake DESTINATION ${cmake_dir})

  # pkg-config: the prefix is found from the .pc file's own place.
  if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(KORVAN_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  else()
    file(RELATIVE_PATH up /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
    string(REGEX REPLACE "/$" "" up "${up}")
    set(KORVAN_PC_PREFIX "\${pcfiledir}/${up}")
  endif()
  foreach(kind LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
      set(KORVAN_PC_${kind} "${CMAKE_INSTALL_${kind}}")
    else()
      set(KORVAN_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
    endif()
  endforeach()
  list(JOIN pc_private " " KORVAN_PC_LIBS_PRIVATE)
  configure_file(${src}/cmake/korvan.pc.in ${bin}/korvan.pc @ONLY)
  install(FILES ${bin}/korvan.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

  # Fortran module with the interfaces of korvan.h, next to the header.
  if(CMAKE_Fortran_COMPILER_LOADED)
    set(fdir ${PROJECT_BINARY_DIR}/fortran)
    add_custom_command(OUTPUT ${fdir}/korvan.f90
      COMMAND ${CMAKE_COMMAND} -DHEADER=${src}/include/korvan.h -DOUTPUT=${fdir}/korvan.f90
        -P ${src}/tools/fortran_interfaces.cmake
      DEPENDS ${src}/include/korvan.h ${src}/tools/fortran_interfaces.cmake
      COMMENT "Writing the Fortran interfaces of korvan.h")
    add_library(korvan_fortran OBJECT ${fdir}/korvan.f90)
    set_target_properties(korvan_fortran PROPERTIES Fortran_MODULE_DIRECTORY ${fdir}/include)
    install(FILES ${fdir}/include/korvan.mod DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  endif()

  # Data files.
  korvan_data_destination(data_dest)
  get_property(table GLOBAL PROPERTY KORVAN_DATA_TABLE)
  foreach(row IN LISTS table)
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 dir)
    list(GET row 1 name)
    if(IS_DIRECTORY ${dir})
      install(DIRECTORY ${dir}/ DESTINATION ${data_dest}/${name}
        PATTERN "*.cpp" EXCLUDE PATTERN "*.h" EXCLUDE PATTERN "*.cmake" EXCLUDE
        PATTERN "CMakeLists.txt" EXCLUDE)
    endif()
  endforeach()
endfunction()

cmake_language(DEFER CALL korvan_write_package)
