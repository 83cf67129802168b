# Writes the header that names the interface texts: one TextId per line of the
# text tables, valued by the entry's number.
#   cmake -DJA=<ja.tsv> -DEN=<en.tsv> -DOUT=<TextId.h> -P TextIds.cmake
# A line is "number<TAB>Key<TAB>text". Both tables must give the same key to the
# same number, in the same order; a key is a PascalCase identifier and names
# one entry only. Anything else stops the build with the line at fault.
cmake_minimum_required(VERSION 3.25)

# The reason goes out on a line of its own (an error message would be wrapped).
macro(refuse reason)
  message(NOTICE "TextIds: ${reason}")
  message(FATAL_ERROR "the text tables cannot be named")
endmacro()

# Sets <out>_numbers and <out>_keys from `table`.
function(read_table table out)
  file(READ "${table}" content)
  # Semicolons would split CMake lists; only the first two fields matter here.
  string(REPLACE ";" "," content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(numbers "")
  set(keys "")
  set(line_no 0)
  foreach(line IN LISTS lines)
    math(EXPR line_no "${line_no} + 1")
    if(line STREQUAL "")
      continue()
    endif()
    if(NOT line MATCHES "^([0-9]+)\t([^\t]*)\t")
      refuse("${table}:${line_no}: expected number, tab, key, tab, text")
    endif()
    set(number "${CMAKE_MATCH_1}")
    set(key "${CMAKE_MATCH_2}")
    if(NOT key MATCHES "^[A-Z][A-Za-z0-9]*$")
      refuse("${table}:${line_no}: key \"${key}\" is not a PascalCase identifier")
    endif()
    if(key IN_LIST keys)
      refuse("${table}:${line_no}: key ${key} repeats")
    endif()
    if(number IN_LIST numbers)
      refuse("${table}:${line_no}: number ${number} repeats")
    endif()
    list(APPEND numbers "${number}")
    list(APPEND keys "${key}")
  endforeach()
  set(${out}_numbers "${numbers}" PARENT_SCOPE)
  set(${out}_keys "${keys}" PARENT_SCOPE)
endfunction()

foreach(var JA EN OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "usage: cmake -DJA=<ja.tsv> -DEN=<en.tsv> -DOUT=<header> -P TextIds.cmake")
  endif()
endforeach()
read_table("${JA}" ja)
read_table("${EN}" en)

list(LENGTH ja_keys count)
list(LENGTH en_keys en_count)
if(NOT count EQUAL en_count)
  refuse("${JA} has ${count} entries, ${EN} has ${en_count}")
endif()
set(enumerators "")
set(all "")
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  list(GET ja_numbers ${i} number)
  list(GET ja_keys ${i} key)
  list(GET en_numbers ${i} en_number)
  list(GET en_keys ${i} en_key)
  if(NOT number STREQUAL en_number OR NOT key STREQUAL en_key)
    refuse("entry ${i}: ${JA} says ${number} ${key}, ${EN} says ${en_number} ${en_key}")
  endif()
  string(APPEND enumerators "  ${key} = ${number},\n")
  string(APPEND all "    TextId::${key},\n")
endforeach()

set(header "// Generated from the text tables by cmake/TextIds.cmake: edit the tables.
#pragma once

#include <array>

namespace termika {

// An interface text by name; the value is its number in both text tables.
enum class TextId : int {
${enumerators}};

// Every entry of the tables, in their order.
inline constexpr std::array<TextId, ${count}> kAllTextIds = {
${all}};

}  // namespace termika
")
# Unchanged tables leave the header alone, so nothing recompiles.
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL header)
  file(WRITE "${OUT}" "${header}")
endif()
