# Refuses the qualified forms of Qt includes (<QtWidgets/QWidget>, <QtGui/QFont>) in the given folders. Which Qt
# modules a layer sees is decided by the include folders its target gets, and the build proves it with the short
# forms (<QWidget>). A qualified name is found through Qt's top include folder, which every Qt target gets, so the
# build cannot refuse it: these folders use the short forms only.
#
#   cmake -DROOT=<source folder> -DFOLDERS=<folder,folder> -DMODULES=<QtWidgets,QtGui> -P QualifiedQt.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" folders "${FOLDERS}")
string(REPLACE "," "|" modules "${MODULES}")

set(failures "")
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    if(NOT files)
        message(FATAL_ERROR "No source files in ${ROOT}/${folder}")
    endif()
    list(SORT files)
    foreach(file IN LISTS files)
        file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](${modules})/")
        foreach(line IN LISTS includes)
            string(REGEX MATCH "[<\"][^>\"]*[>\"]" header "${line}")
            string(APPEND failures "\n  ${file}: ${header}")
        endforeach()
    endforeach()
endforeach()

if(failures)
    message(FATAL_ERROR "Qualified Qt includes, which the layer's include folders cannot refuse:${failures}")
endif()
