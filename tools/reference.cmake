# Writes the README's Reference, one line for every public routine of
# HEADER, between the lines "<!-- reference: begin -->" and
# "<!-- reference: end -->" of README:
#
#   cmake -DHEADER=include/korvan.h -DREADME=README.md -P tools/reference.cmake
#
# With -DCHECK=ON nothing is written: the script fails when README does not
# hold what it would write.
#
# In HEADER the routines are grouped under comment lines "/* ---- group
# ---- */", and the plain declaration of every routine (a name without a
# trailing underscore) follows one line
#     /** 1-3: One short sentence. */
# whose part before the colon is the levels at which the routine may be
# called. Each becomes "- `name(arg, arg)` (levels): sentence." under a
# heading of its group. A plain declaration without that line stops the
# script with a message that names it.
cmake_minimum_required(VERSION 3.25)

if(NOT HEADER OR NOT README)
  message(FATAL_ERROR "usage: cmake -DHEADER=<korvan.h> -DREADME=<README.md> [-DCHECK=ON] -P ${CMAKE_CURRENT_LIST_FILE}")
endif()

set(begin_marker "<!-- reference: begin -->")
set(end_marker "<!-- reference: end -->")

file(READ "${HEADER}" text)
# One list element per line: the characters CMake lists treat specially are
# stood in for first.
string(REPLACE ";" "<semicolon>" text "${text}")
string(REPLACE "[" "<open>" text "${text}")
string(REPLACE "]" "<close>" text "${text}")
string(REPLACE "\\" "<backslash>" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

set(out "")
set(doc "")        # the levels and sentence waiting for their declaration
set(decl "")       # a declaration spread over several lines
set(in_comment 0)
set(routines 0)
foreach(line IN LISTS lines)
  if(in_comment)
    if(line MATCHES "\\*/")
      set(in_comment 0)
    endif()
    continue()
  endif()
  if(line MATCHES "^/\\* ---- (.*) ----")
    string(STRIP "${CMAKE_MATCH_1}" group)
    string(SUBSTRING "${group}" 0 1 first)
    string(TOUPPER "${first}" first)
    string(SUBSTRING "${group}" 1 -1 rest)
    string(APPEND out "\n### ${first}${rest}\n\n")
    if(NOT line MATCHES "\\*/")
      set(in_comment 1)
    endif()
    continue()
  endif()
  if(line MATCHES "^/\\*\\* *([^:]+): *(.*[^ ]) *\\*/$")
    set(doc_levels "${CMAKE_MATCH_1}")
    set(doc_text "${CMAKE_MATCH_2}")
    set(doc 1)
    continue()
  endif()
  if(decl STREQUAL "" AND line MATCHES "^[ \t]*/\\*")
    if(NOT line MATCHES "\\*/")
      set(in_comment 1)
    endif()
    continue()
  endif()
  if(decl STREQUAL "" AND NOT line MATCHES "^[a-z][a-z ]*[ *]+[a-z][a-z0-9_]*\\(")
    continue()
  endif()
  # A declaration: gather its lines up to the semicolon.
  string(REGEX REPLACE "/\\*.*\\*/" "" line "${line}")
  string(APPEND decl " ${line}")
  if(NOT decl MATCHES "<semicolon>")
    continue()
  endif()
  string(REGEX REPLACE "[ \t]+" " " decl "${decl}")
  if(NOT decl MATCHES "([a-z][a-z0-9_]*) *\\(([^()]*)\\)")
    message(FATAL_ERROR "${HEADER}: cannot read the declaration '${decl}'")
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(plist "${CMAKE_MATCH_2}")
  set(decl "")
  if(name MATCHES "_$")
    continue()
  endif()
  if(NOT doc)
    message(FATAL_ERROR "${name}: the plain declaration in ${HEADER} has no line \"/** levels: sentence. */\" before it")
  endif()
  set(doc "")
  # The parameter names, without their types.
  set(args "")
  if(NOT plist MATCHES "^ *(void)? *$")
    string(REPLACE "," "<comma>" plist "${plist}")
    string(REPLACE "<comma>" ";" params "${plist}")
    foreach(p IN LISTS params)
      string(REGEX MATCH "[A-Za-z_][A-Za-z0-9_]* *$" pname "${p}")
      string(STRIP "${pname}" pname)
      list(APPEND args "${pname}")
    endforeach()
  endif()
  list(JOIN args ", " args)
  string(APPEND out "- `${name}(${args})` (${doc_levels}): ${doc_text}\n")
  math(EXPR routines "${routines} + 1")
endforeach()

if(routines EQUAL 0)
  message(FATAL_ERROR "${HEADER}: no public routines found")
endif()
string(ASCII 59 semicolon)
string(REPLACE "<semicolon>" "${semicolon}" out "${out}")
string(REPLACE "<open>" "[" out "${out}")
string(REPLACE "<close>" "]" out "${out}")
string(REPLACE "<backslash>" "\\" out "${out}")
set(reference "${begin_marker}

Every public routine of `korvan.h`, with the levels at which it may be called
(0 before `korini`, 1 after it, 2 and 3 inside an axis system; \"any\": at
every level). Each also exists in its by-address form, the name with a
trailing underscore. Written from `include/korvan.h` by
`tools/reference.cmake` (`cmake --build build --target reference_update`).
${out}
${end_marker}")

file(READ "${README}" readme)
string(FIND "${readme}" "${begin_marker}" at_begin)
string(FIND "${readme}" "${end_marker}" at_end)
if(at_begin LESS 0 OR at_end LESS at_begin)
  message(FATAL_ERROR "${README}: no lines \"${begin_marker}\" and \"${end_marker}\"")
endif()
string(LENGTH "${end_marker}" end_length)
math(EXPR after "${at_end} + ${end_length}")
string(SUBSTRING "${readme}" 0 ${at_begin} head)
string(SUBSTRING "${readme}" ${after} -1 tail)
set(written "${head}${reference}${tail}")

if(CHECK)
  if(NOT written STREQUAL readme)
    message(FATAL_ERROR "${README}: the Reference is not what ${HEADER} gives; run the reference_update target")
  endif()
  message(STATUS "${README}: the Reference of ${routines} routines is up to date")
elseif(NOT written STREQUAL readme)
  file(WRITE "${README}" "${written}")
  message(STATUS "${README}: Reference of ${routines} routines written")
endif()
