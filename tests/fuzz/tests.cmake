# libFuzzer runs of the readers of the library's own files (raster dump, BMP,
# GIF), of the BDF font parser, of the TeX-style text reader, of the smooth
# painter, of the viewers' element-file reader and of random sequences of
# public calls. The fuzzers
# are built with clang from the reader sources themselves, whatever compiler
# builds the project, and each runs for a short while as one test. Skipped in the sanitizer build: the fuzzers carry AddressSanitizer
# already, so one run per CI pass is enough.
find_program(KORVAN_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
set(KORVAN_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzzer runs in the test suite")

if(KORVAN_CLANGXX AND NOT KORVAN_SANITIZE)
  set(_lib ${PROJECT_SOURCE_DIR}/plotlib)
  set(_fuzz ${PROJECT_SOURCE_DIR}/fuzz)
  set(_out ${CMAKE_CURRENT_BINARY_DIR}/fuzz)
  file(MAKE_DIRECTORY ${_out})
  set(raster_dump_FUZZ_SOURCES ${_lib}/devices/raster/dump_read.cpp)
  set(bmp_read_FUZZ_SOURCES ${_lib}/devices/image/bmp_read.cpp ${_lib}/devices/image/prow.cpp)
  set(gif_read_FUZZ_SOURCES ${_lib}/devices/image/gif_read.cpp ${_lib}/devices/image/prow.cpp)
  set(bdf_parse_FUZZ_SOURCES ${_lib}/text/bdf.cpp)
  file(GLOB _glyphs ${_lib}/text/glyphs/*.cpp)
  set(tex_parse_FUZZ_SOURCES ${_lib}/text/tex.cpp ${_lib}/text/tex_lex.cpp ${_lib}/text/font.cpp
      ${_lib}/core/line_buffer.cpp ${_lib}/core/sink.cpp ${_glyphs})
  set(smooth_paint_FUZZ_SOURCES ${_lib}/devices/raster/smooth.cpp)
  foreach(name raster_dump bmp_read gif_read bdf_parse tex_parse smooth_paint)
    set(_sources ${_fuzz}/${name}_fuzz.cpp ${_lib}/devices/raster/raster.cpp ${${name}_FUZZ_SOURCES})
    add_custom_command(
      OUTPUT ${_out}/${name}_fuzz
      COMMAND ${KORVAN_CLANGXX} -std=c++20 -g -O1 -Wall -Wextra
              -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
              -I${_lib} ${_sources} -o ${_out}/${name}_fuzz
      DEPENDS ${_sources} ${_fuzz}/fuzz_raster.h ${_lib}/devices/raster/raster.h
              ${_lib}/devices/raster/smooth.h
              ${_lib}/devices/raster/dump.h ${_lib}/devices/image/image.h
              ${_lib}/devices/image/byte_source.h ${_lib}/text/bdf.h
              ${_lib}/text/tex.h ${_lib}/text/font.h ${_lib}/text/text_fields.h
      COMMENT "Building fuzzer ${name}_fuzz with clang"
      VERBATIM)
    add_custom_target(${name}_fuzz ALL DEPENDS ${_out}/${name}_fuzz)
    add_test(NAME fuzz_${name}
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_fuzz.sh ${_out}/${name}_fuzz
                     ${_fuzz}/corpus/${name} ${KORVAN_FUZZ_SECONDS} ${_out})
    set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 300 LABELS fuzz)
  endforeach()

  # The element reader of the viewers, and the whole library (headless, no
  # window fonts) behind its public routines. The library is compiled one
  # object per source, so that make runs them side by side and rebuilds
  # only what changed.
  set(_flags -std=c++20 -g -O1 -Wall -Wextra -fsanitize=fuzzer-no-link,address,undefined
      -fno-sanitize-recover=undefined)
  set(element_read_FUZZ_SOURCES ${PROJECT_SOURCE_DIR}/viewers/elements.cpp)
  set(element_read_FUZZ_FLAGS -I${PROJECT_SOURCE_DIR}/viewers)
  file(GLOB_RECURSE _lib_sources ${_lib}/*.cpp)
  list(FILTER _lib_sources EXCLUDE REGEX "/core/edition81\\.cpp$")
  file(GLOB_RECURSE _lib_headers ${_lib}/*.h)
  file(MAKE_DIRECTORY ${_out}/api_calls_objects)
  set(api_calls_FUZZ_SOURCES "")
  foreach(_source ${_lib_sources})
    file(RELATIVE_PATH _object ${_lib} ${_source})
    string(REPLACE "/" "_" _object "${_object}")
    set(_object ${_out}/api_calls_objects/${_object}.o)
    add_custom_command(
      OUTPUT ${_object}
      COMMAND ${KORVAN_CLANGXX} ${_flags} -I${_lib} -I${PROJECT_SOURCE_DIR}/include
              -DKORVAN_HAVE_LIBDEFLATE=1 -DKORVAN_DATA_DIR="${PROJECT_SOURCE_DIR}/plotlib/text"
              -c ${_source} -o ${_object}
      DEPENDS ${_source} ${_lib_headers} ${PROJECT_SOURCE_DIR}/include/korvan.h
      VERBATIM)
    list(APPEND api_calls_FUZZ_SOURCES ${_object})
  endforeach()
  set(api_calls_FUZZ_FLAGS -I${PROJECT_SOURCE_DIR}/include -ldeflate -lm)
  foreach(name element_read api_calls)
    set(_sources ${_fuzz}/${name}_fuzz.cpp ${${name}_FUZZ_SOURCES})
    add_custom_command(
      OUTPUT ${_out}/${name}_fuzz
      COMMAND ${KORVAN_CLANGXX} -std=c++20 -g -O1 -Wall -Wextra
              -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
              -I${_lib} ${_sources} ${${name}_FUZZ_FLAGS} -o ${_out}/${name}_fuzz
      DEPENDS ${_sources} ${PROJECT_SOURCE_DIR}/viewers/elements.h ${PROJECT_SOURCE_DIR}/include/korvan.h
              ${_lib_headers}
      COMMENT "Building fuzzer ${name}_fuzz with clang"
      VERBATIM)
    add_custom_target(${name}_fuzz ALL DEPENDS ${_out}/${name}_fuzz)
    add_test(NAME fuzz_${name}
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_fuzz.sh ${_out}/${name}_fuzz
                     ${_fuzz}/corpus/${name} ${KORVAN_FUZZ_SECONDS} ${_out})
    set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 300 LABELS fuzz)
  endforeach()
endif()
