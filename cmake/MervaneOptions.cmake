# One INTERFACE target carries the language level, warnings and Qt defines.
# Every target of the project links it; nothing is set globally.
add_library(mervane_options INTERFACE)
add_library(Mervane::options ALIAS mervane_options)

target_compile_features(mervane_options INTERFACE cxx_std_20)
target_compile_definitions(mervane_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_USE_QSTRINGBUILDER
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    MERVANE_VERSION="${PROJECT_VERSION}")
target_compile_options(mervane_options INTERFACE -Wall -Wextra -Wpedantic)

if(MERVANE_WERROR)
    target_compile_options(mervane_options INTERFACE -Werror)
endif()

# gold (part of binutils, which the compiler brings) links the test programs, each carrying
# the large static libraries, several times faster than the default linker.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=gold MERVANE_HAVE_GOLD)
if(MERVANE_HAVE_GOLD)
    target_link_options(mervane_options INTERFACE -fuse-ld=gold)
endif()

# A build with tests keeps its assertions whatever its build type or warning setting: tests
# check that programming errors are refused with a Q_ASSERT, and the standard library's
# checks catch out-of-range accesses. The shipped build (tests off, the default) has neither,
# also with MERVANE_WERROR (tools/check-default-build.sh checks the default).
if(MERVANE_TESTS)
    target_compile_definitions(mervane_options INTERFACE _GLIBCXX_ASSERTIONS QT_FORCE_ASSERTS)
endif()

if(MERVANE_SANITIZE)
    target_compile_options(mervane_options INTERFACE
        -fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer -fno-sanitize-recover=undefined,float-cast-overflow)
    target_link_options(mervane_options INTERFACE -fsanitize=address,undefined,float-cast-overflow)
endif()

if(MERVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "MERVANE_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    target_compile_options(mervane_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(mervane_options INTERFACE -fsanitize=address,undefined)
endif()

# mervane_add_library(<name> <folder sources...>) makes the static library mervane_<name>
# whose headers are reached as "<name>/Header.h" from the src folder.
function(mervane_add_library name)
    add_library(mervane_${name} STATIC ${ARGN})
    add_library(Mervane::${name} ALIAS mervane_${name})
    target_include_directories(mervane_${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>)
    target_link_libraries(mervane_${name} PRIVATE mervane_options)
endfunction()
