# mervane_add_subfolders(): adds every direct subfolder that has a CMakeLists.txt,
# in alphabetical order. Folders whose targets depend on each other link by name,
# which CMake resolves after all folders are read.
function(mervane_add_subfolders)
    mervane_glob_folder(here ${CMAKE_CURRENT_SOURCE_DIR})
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${here}/*)
    list(SORT children)
    foreach(child IN LISTS children)
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()

# mervane_glob_folder(<out> <folder>): the folder written as a globbing expression that matches
# only itself. A checkout's path may hold "[", "]", "*" or "?", which file(GLOB) takes for
# patterns: every file(GLOB) starts from a folder written so.
function(mervane_glob_folder out folder)
    string(REGEX REPLACE "([][*?])" "[\\1]" escaped "${folder}")
    set(${out} "${escaped}" PARENT_SCOPE)
endfunction()
