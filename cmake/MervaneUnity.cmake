# Unity builds for the test builds: each target's sources are compiled in batches
# (UNITY_BUILD), so the headers and inline code they share are parsed and optimised once
# per batch instead of once per source, and the precompiled header is loaded once per batch.
#   OFF    (the default, and what ships) every source on its own
#   TESTS  batches tests, benchmarks and fuzz replays; the program's sources stay on their
#          own, as users build them, so a missing #include in one still fails the build
#   ALL    batches every target (the sanitizer build; the TESTS build checks the sources)
# A source that cannot share a batch sets SKIP_UNITY_BUILD_INCLUSION, with its reason.
#
# Call mervane_use_unity_builds() once every target exists.
set(MERVANE_UNITY OFF CACHE STRING "Unity builds: OFF, TESTS (tests, benchmarks, fuzz) or ALL")
set_property(CACHE MERVANE_UNITY PROPERTY STRINGS OFF TESTS ALL)
set(MERVANE_UNITY_BATCH_SIZE 16 CACHE STRING "Sources per unity batch")

function(mervane_use_unity_builds)
    if(NOT MERVANE_UNITY)
        return()
    endif()
    if(NOT MERVANE_UNITY MATCHES "^(TESTS|ALL)$")
        message(FATAL_ERROR "MERVANE_UNITY is OFF, TESTS or ALL, not \"${MERVANE_UNITY}\"")
    endif()
    _mervane_targets_under("${PROJECT_SOURCE_DIR}" all)
    foreach(target IN LISTS all)
        get_target_property(type ${target} TYPE)
        get_target_property(dir ${target} SOURCE_DIR)
        if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$" OR target MATCHES "^mervane_pch_")
            continue()
        endif()
        if(MERVANE_UNITY STREQUAL "TESTS")
            # Compared as paths: a checkout's own path may hold any character ("c++", "a+b").
            set(batched FALSE)
            foreach(top IN ITEMS tests bench fuzz)
                set(top_dir "${PROJECT_SOURCE_DIR}/${top}")
                cmake_path(IS_PREFIX top_dir "${dir}" NORMALIZE under)
                if(under)
                    set(batched TRUE)
                endif()
            endforeach()
            if(NOT batched)
                continue()
            endif()
        endif()
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON
            UNITY_BUILD_BATCH_SIZE ${MERVANE_UNITY_BATCH_SIZE})
        # GCC takes every source of a batch for a header, and warns for each class there that
        # uses the anonymous namespace, such as every test fixture kept in one.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
            target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
        endif()
    endforeach()
endfunction()
