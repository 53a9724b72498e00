# Writes the Fortran module `korvan` with an explicit interface for every
# by-address routine (name with a trailing underscore) declared in HEADER.
#
#   cmake -DHEADER=include/korvan.h -DOUTPUT=korvan.f90 -P tools/fortran_interfaces.cmake
#
# The interfaces follow the default calling convention of gfortran, so they
# need no bind(C): every argument by address, the Fortran name is the C name
# without its underscore, and the length of a character dummy is passed
# behind all other arguments by the compiler itself.
#
# Mapping of the by-address parameters:
#   const int* / int*      integer, intent(in) / intent(inout)
#   const float* / float*  real, likewise (double: double precision)
#   const char* / char*    character(len=*), likewise; one trailing by-value
#                          length parameter per text, which Fortran hides
# A numeric pointer is an array (dimension(*)) when the routine's plain form
# takes a const pointer at the same place while it takes other arguments by
# value (areaf(const int* nxray, ..., int n)): a plain form that is all
# pointers itself says nothing, and its pointers stay scalars. A writable
# pointer of the plain form is a scalar result (trfdat's day, month, year),
# unless its name ends in "ray": an array the routine fills (hstgrm's iray).
# Any other parameter or result stops the build with a message that names
# the routine.
cmake_minimum_required(VERSION 3.25)

if(NOT HEADER OR NOT OUTPUT)
  message(FATAL_ERROR "usage: cmake -DHEADER=<korvan.h> -DOUTPUT=<file.f90> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()

file(READ "${HEADER}" text)
# Comments, preprocessor lines and the linkage block carry no declarations.
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" " " text "${text}")
string(REGEX REPLACE "//[^\n]*" " " text "${text}")
string(REGEX REPLACE "(^|\n)[ \t]*#[^\n]*" "\n" text "${text}")
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_ \t\r\n*]*\\([^()]*\\)" decls "${text}")

# Splits one declaration into KIND (return type), NAME and PARAMS (a list of
# "const|ptr|base|name" records; const and ptr are 0 or 1).
function(parse_declaration decl)
  string(REGEX REPLACE "[ \t\r\n]+" " " decl "${decl}")
  string(REGEX REPLACE " *\\* *" " * " decl "${decl}")
  if(NOT decl MATCHES "^(.*[^A-Za-z0-9_])([A-Za-z_][A-Za-z0-9_]*) *\\((.*)\\)$")
    set(NAME "" PARENT_SCOPE)
    return()
  endif()
  string(STRIP "${CMAKE_MATCH_1}" kind)
  set(name "${CMAKE_MATCH_2}")
  string(STRIP "${CMAKE_MATCH_3}" plist)
  set(params "")
  if(NOT plist STREQUAL "void" AND NOT plist STREQUAL "")
    string(REPLACE "," ";" plist "${plist}")
    foreach(p IN LISTS plist)
      string(STRIP "${p}" p)
      string(REPLACE " " ";" words "${p}")
      set(is_const 0)
      set(is_ptr 0)
      set(base "")
      set(pname "")
      foreach(w IN LISTS words)
        if(w STREQUAL "const")
          set(is_const 1)
        elseif(w STREQUAL "*")
          math(EXPR is_ptr "${is_ptr} + 1")
        elseif(w MATCHES "^(int|float|double|char|long|short|unsigned|signed|size_t|void)$")
          string(APPEND base "${w}")
        else()
          set(pname "${w}")
        endif()
      endforeach()
      list(APPEND params "${is_const}|${is_ptr}|${base}|${pname}")
    endforeach()
  endif()
  set(KIND "${kind}" PARENT_SCOPE)
  set(NAME "${name}" PARENT_SCOPE)
  set(PARAMS "${params}" PARENT_SCOPE)
endfunction()

# First pass: the plain forms, which tell arrays from scalars.
set(routines "")
foreach(decl IN LISTS decls)
  parse_declaration("${decl}")
  if(NAME MATCHES "_$")
    list(APPEND routines "${decl}")
  elseif(NAME)
    set(plain_${NAME} "${PARAMS}")
    set(plain_${NAME}_seen 1)
  endif()
endforeach()

set(body "")
set(count 0)
foreach(decl IN LISTS routines)
  parse_declaration("${decl}")
  string(REGEX REPLACE "_$" "" stem "${NAME}")
  if(NOT stem MATCHES "^[a-z][a-z0-9_]*$")
    message(FATAL_ERROR "${NAME}: a Fortran caller cannot reach this name (lower case letters, digits, underscores only)")
  endif()

  if(KIND MATCHES "^(extern )?void$")
    set(unit "subroutine")
  elseif(KIND MATCHES "^(extern )?int$")
    set(unit "integer function")
  elseif(KIND MATCHES "^(extern )?float$")
    set(unit "real function")
  elseif(KIND MATCHES "^(extern )?double$")
    set(unit "double precision function")
  else()
    message(FATAL_ERROR "${NAME}: Fortran has no counterpart for the result type '${KIND}'")
  endif()

  # Texts and the trailing by-value lengths that belong to them.
  set(args "")
  set(texts 0)
  set(lengths 0)
  foreach(p IN LISTS PARAMS)
    string(REPLACE "|" ";" f "${p}")
    list(GET f 1 is_ptr)
    list(GET f 2 base)
    if(is_ptr GREATER 1)
      message(FATAL_ERROR "${NAME}: Fortran has no counterpart for a pointer to a pointer")
    elseif(is_ptr)
      if(lengths GREATER 0)
        message(FATAL_ERROR "${NAME}: text lengths must follow all other arguments")
      endif()
      list(APPEND args "${p}")
      if(base STREQUAL "char")
        math(EXPR texts "${texts} + 1")
      endif()
    elseif(base MATCHES "^(unsigned)?(int|long|longlong|size_t|)$" AND NOT base STREQUAL "")
      math(EXPR lengths "${lengths} + 1")
    else()
      message(FATAL_ERROR "${NAME}: a by-address routine takes '${base}' by value")
    endif()
  endforeach()
  if(lengths GREATER texts)
    message(FATAL_ERROR "${NAME}: a by-address routine takes a number by value")
  elseif(lengths LESS texts)
    message(FATAL_ERROR "${NAME}: ${texts} text argument(s) but ${lengths} length(s)")
  endif()

  # Arrays: see the head of this file.
  set(plain "")
  set(plain_usable 0)
  if(plain_${stem}_seen)
    set(plain "${plain_${stem}}")
    list(LENGTH plain n_plain)
    list(LENGTH args n_args)
    if(n_plain EQUAL n_args AND NOT plain STREQUAL args)
      set(plain_usable 1)
    endif()
  endif()

  set(dummies "")
  set(decls_f "")
  set(used "${stem}")
  set(i 0)
  foreach(p IN LISTS args)
    string(REPLACE "|" ";" f "${p}")
    list(GET f 0 is_const)
    list(GET f 2 base)
    list(GET f 3 pname)
    math(EXPR i "${i} + 1")
    string(TOLOWER "${pname}" dname)
    if(NOT dname MATCHES "^[a-z][a-z0-9_]*$")
      set(dname "a${i}")
    endif()
    while(dname IN_LIST used)
      string(APPEND dname "_")
    endwhile()
    list(APPEND used "${dname}")
    list(APPEND dummies "${dname}")

    if(is_const)
      set(intent "intent(in)")
    else()
      set(intent "intent(inout)")
    endif()
    set(dim "")
    if(plain_usable AND NOT base STREQUAL "char")
      math(EXPR k "${i} - 1")
      list(GET plain ${k} q)
      string(REPLACE "|" ";" q "${q}")
      list(GET q 0 q_const)
      list(GET q 1 q_ptr)
      list(GET q 3 q_name)
      if(q_ptr AND (q_const OR q_name MATCHES "ray$"))
        set(dim ", dimension(*)")
      endif()
    endif()
    if(base STREQUAL "int")
      set(ftype "integer")
    elseif(base STREQUAL "float")
      set(ftype "real")
    elseif(base STREQUAL "double")
      set(ftype "double precision")
    elseif(base STREQUAL "char")
      set(ftype "character(len=*)")
    else()
      message(FATAL_ERROR "${NAME}: Fortran has no counterpart for '${base}*'")
    endif()
    string(APPEND decls_f "      ${ftype}, ${intent}${dim} :: ${dname}\n")
  endforeach()

  # The heading, broken into lines of about 80 columns.
  set(head "    ${unit} ${stem}(")
  set(line "${head}")
  set(first 1)
  foreach(d IN LISTS dummies)
    if(NOT first)
      string(APPEND line ", ")
    endif()
    string(LENGTH "${line}${d}" len)
    if(len GREATER 80)
      string(APPEND body "${line}&\n")
      set(line "        ")
    endif()
    string(APPEND line "${d}")
    set(first 0)
  endforeach()
  string(REGEX REPLACE "^.* " "" end_unit "${unit}")
  string(APPEND body "${line})\n      implicit none\n${decls_f}    end ${end_unit} ${stem}\n")
  math(EXPR count "${count} + 1")
endforeach()

if(count EQUAL 0)
  message(FATAL_ERROR "${HEADER}: no by-address routines found")
endif()

get_filename_component(header_name "${HEADER}" NAME)
set(module "! Generated from ${header_name} by tools/fortran_interfaces.cmake; do not edit.
! Explicit interfaces of the ${count} by-address routines: `use korvan`.
module korvan
  implicit none
  interface
${body}  end interface
end module korvan
")
file(WRITE "${OUTPUT}" "${module}")
