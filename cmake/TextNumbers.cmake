# Writes the header of named text numbers from the text inventory:
#   cmake -DINVENTORY=<texts.tsv> -DOUTPUT=<TextNumbers.h> -P TextNumbers.cmake
# Every line "id<TAB>name<TAB>placeholders<TAB>meaning" whose name is not "-" becomes
# `inline constexpr int Name = id;` in namespace tolvane::text. A name given twice, or a name that is no C++
# identifier, stops the build: two meanings under one name would compile to the wrong text.
# The header is rewritten only when its content changes, so an edit of a meaning rebuilds nothing.
cmake_minimum_required(VERSION 3.25)

if(NOT INVENTORY OR NOT OUTPUT)
    message(FATAL_ERROR "TextNumbers.cmake needs -DINVENTORY=<texts.tsv> and -DOUTPUT=<header>")
endif()

file(READ "${INVENTORY}" inventory)
# Only the first two fields of each text line: a meaning may hold any character, a semicolon too, which a CMake
# list would split.
string(REGEX MATCHALL "(^|\n)[0-9]+\t[^\t\n]+" entries "${inventory}")

set(body "")
set(seen "")
foreach(entry IN LISTS entries)
    string(REGEX MATCH "([0-9]+)\t([^\t\n]+)" unused "${entry}")
    set(id "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    if(name STREQUAL "-")
        continue()
    endif()
    if(NOT name MATCHES "^[A-Z][A-Za-z0-9]*$")
        message(FATAL_ERROR "${INVENTORY}: text ${id}: name \"${name}\" is not CamelCase")
    endif()
    if(name IN_LIST seen)
        message(FATAL_ERROR "${INVENTORY}: text ${id}: name ${name} is given twice")
    endif()
    list(APPEND seen "${name}")
    string(APPEND body "inline constexpr int ${name} = ${id};\n")
endforeach()

set(header "// Made by the build from data/Language/texts.tsv (cmake/TextNumbers.cmake): do not edit.
// The catalog text numbers the code calls by name.
#pragma once

namespace tolvane::text {

${body}
} // namespace tolvane::text
")

set(old "")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL header)
    file(WRITE "${OUTPUT}" "${header}")
endif()
