# mervane_link_xcb(<target> <warning>): links the X protocol library Qt itself uses, privately,
# and defines MERVANE_HAVE_XCB; without it the target builds all the same and the warning says
# what the program then cannot do.
function(mervane_link_xcb target warning)
    find_package(PkgConfig QUIET)
    if(PkgConfig_FOUND)
        pkg_check_modules(MERVANE_XCB IMPORTED_TARGET xcb)
    endif()
    if(MERVANE_XCB_FOUND)
        target_link_libraries(${target} PRIVATE PkgConfig::MERVANE_XCB)
        target_compile_definitions(${target} PRIVATE MERVANE_HAVE_XCB)
    else()
        message(WARNING "xcb not found: ${warning}")
    endif()
endfunction()
