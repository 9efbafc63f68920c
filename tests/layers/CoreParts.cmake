# Checks that every file of a core part includes only its own folder and the folders of the parts it links, so a
# lower part never reaches up into a higher one. All core parts share one include folder, which is why the build
# alone cannot refuse such an include and this script reads the files instead.
#
#   cmake -DROOT=<folder holding the parts> -DRULES=<file> -P CoreParts.cmake
#
# RULES sets TOLVANE_PART_FOLDERS (every part's folder) and, for each folder F, TOLVANE_PART_REACHES_F (the folders
# of the parts it links, directly or through other parts). A file may include a folder that is no part (the
# standard library or a foreign layer, which the build refuses on its own) and a name without a folder (beside it).
cmake_minimum_required(VERSION 3.25)
include(${RULES})

set(failures "")
foreach(folder IN LISTS TOLVANE_PART_FOLDERS)
    set(allowed ${folder} ${TOLVANE_PART_REACHES_${folder}})
    file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    if(NOT files)
        message(FATAL_ERROR "No source files in ${ROOT}/${folder}")
    endif()
    list(SORT files)
    foreach(file IN LISTS files)
        file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
            if(NOT line MATCHES "\"(([^\"/]+)/[^\"]*)\"")
                continue()
            endif()
            set(header ${CMAKE_MATCH_1})
            set(target ${CMAKE_MATCH_2})
            if(target IN_LIST TOLVANE_PART_FOLDERS AND NOT target IN_LIST allowed)
                string(REPLACE ";" ", " reach "${allowed}")
                string(APPEND failures "\n  ${file} includes ${header}: ${folder} reaches only ${reach}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(failures)
    message(FATAL_ERROR "A core part includes a part above it:${failures}")
endif()
