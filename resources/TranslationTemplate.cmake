# Writes the translation template: every text of the strings table found in the .cpp and .h
# files under src/, with its source only. Run as
#   cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<checkout> -DOUTPUT=<file.ts> -P TranslationTemplate.cmake
foreach(variable LUPDATE SOURCE_DIR OUTPUT)
    if(NOT ${variable})
        message(FATAL_ERROR "TranslationTemplate.cmake needs -D${variable}=...")
    endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/../cmake/MervaneSubdirs.cmake)
mervane_glob_folder(source_folder "${SOURCE_DIR}")
file(GLOB_RECURSE sources LIST_DIRECTORIES false "${source_folder}/src/*.cpp" "${source_folder}/src/*.h")
list(SORT sources)
# The file list goes through a list file: the command line would be too long.
set(list_file "${OUTPUT}.sources")
list(JOIN sources "\n" source_lines)
file(WRITE "${list_file}" "${source_lines}\n")
# lupdate merges into an existing file; the template starts afresh each time.
file(REMOVE "${OUTPUT}")
execute_process(
    COMMAND "${LUPDATE}" -silent -no-obsolete -locations relative -I "${SOURCE_DIR}/src"
            "@${list_file}" -ts "${OUTPUT}"
    RESULT_VARIABLE result)
file(REMOVE "${list_file}")
if(NOT result EQUAL 0 OR NOT EXISTS "${OUTPUT}")
    message(FATAL_ERROR "lupdate failed (${result}): no template at ${OUTPUT}")
endif()
