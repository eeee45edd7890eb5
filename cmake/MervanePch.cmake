# Precompiled headers: the Qt, standard and GoogleTest headers nearly every source includes
# are parsed once per build instead of once per source. A handful of small "PCH targets"
# each compile one header set; every library and program of the project reuses the one
# that matches what it links (REUSE_FROM), so its sources get the same flags, defines and
# headers as that PCH target. The sets grow by level: Qt Core, + Qt Gui, + Qt Widgets,
# each optionally with GoogleTest. Qt Test stays out: its headers read QT_TESTCASE_BUILDDIR,
# which every test program defines as its own folder. -Winvalid-pch (added by CMake) names a
# source the PCH does not fit; with MERVANE_WERROR that fails the build.
#
# Call mervane_use_precompiled_headers() once every target exists.
option(MERVANE_PCH "Precompile the common Qt, standard and GoogleTest headers" ON)

set(_MERVANE_PCH_STD
    <algorithm> <array> <atomic> <cmath> <cstring> <functional> <limits> <map> <memory>
    <optional> <utility> <vector>)
set(_MERVANE_PCH_CORE
    <QByteArray> <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList>
    <QLocale> <QMetaType> <QMutex> <QObject> <QPointer> <QRegularExpression> <QSet> <QString>
    <QStringList> <QThread> <QTimer> <QUrl> <QVariant> <QVariantMap>)
set(_MERVANE_PCH_GUI
    <QColor> <QFont> <QFontMetricsF> <QGuiApplication> <QImage> <QPainter> <QPainterPath>
    <QWindow>)
set(_MERVANE_PCH_WIDGETS
    <QAbstractButton> <QApplication> <QCheckBox> <QComboBox> <QHBoxLayout> <QLabel>
    <QLineEdit> <QListView> <QMouseEvent> <QPushButton> <QToolButton> <QVBoxLayout> <QWidget>)
set(_MERVANE_PCH_GTEST <gtest/gtest.h> <gmock/gmock.h>)

# Sets <out> to every library <target> compiles against: its own links, then the
# interface links of those, transitively ($<LINK_ONLY:...> entries give no headers).
function(_mervane_pch_compile_closure target out)
    get_target_property(queue ${target} LINK_LIBRARIES)
    if(NOT queue)
        set(queue)
    endif()
    set(seen)
    while(queue)
        list(POP_FRONT queue item)
        if(item MATCHES "^::@" OR item MATCHES "^\\$<LINK_ONLY:")
            continue()
        endif()
        # From cmake/MervaneWidgetBoundary.cmake: the name as written, aliases resolved.
        _mervane_link_name("${item}" item)
        if(item IN_LIST seen)
            continue()
        endif()
        list(APPEND seen "${item}")
        if(TARGET "${item}")
            get_target_property(more "${item}" INTERFACE_LINK_LIBRARIES)
            if(more)
                list(APPEND queue ${more})
            endif()
        endif()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Makes (once) the PCH target for <level> (core, gui, widgets), with GoogleTest or not,
# and sets <out> to its name.
function(_mervane_pch_target level gtest out)
    set(name mervane_pch_${level})
    set(libs Qt6::Core)
    set(headers ${_MERVANE_PCH_STD} ${_MERVANE_PCH_CORE})
    if(level STREQUAL "gui" OR level STREQUAL "widgets")
        list(APPEND libs Qt6::Gui)
        list(APPEND headers ${_MERVANE_PCH_GUI})
    endif()
    if(level STREQUAL "widgets")
        list(APPEND libs Qt6::Widgets)
        list(APPEND headers ${_MERVANE_PCH_WIDGETS})
    endif()
    if(gtest)
        string(APPEND name _gtest)
        list(APPEND libs GTest::gtest GTest::gmock)
        list(APPEND headers ${_MERVANE_PCH_GTEST})
    endif()
    if(NOT TARGET ${name})
        set(source ${PROJECT_BINARY_DIR}/pch/${name}.cpp)
        file(CONFIGURE OUTPUT ${source} CONTENT "// Only carries the precompiled header.\n")
        add_library(${name} STATIC ${source})
        target_link_libraries(${name} PRIVATE mervane_options ${libs})
        target_precompile_headers(${name} PRIVATE ${headers})
        set_target_properties(${name} PROPERTIES AUTOMOC OFF)
    endif()
    set(${out} ${name} PARENT_SCOPE)
endfunction()

# AUTOMOC compiles one mocs_compilation.cpp per target, empty when no header of the target
# declares a meta-object. Such an empty source costs seconds with the PCH (it is loaded all the
# same) and nothing without it. The headers AUTOMOC reads: those among the sources, and the
# one beside each source with its base name. A header mentioned only in a comment merely
# keeps the PCH.
function(_mervane_pch_skip_empty_moc target)
    get_target_property(automoc ${target} AUTOMOC)
    if(NOT automoc)
        return()
    endif()
    get_target_property(dir ${target} SOURCE_DIR)
    get_target_property(sources ${target} SOURCES)
    foreach(source IN LISTS sources)
        if(source MATCHES "\\$<")
            continue()
        endif()
        get_filename_component(path "${source}" ABSOLUTE BASE_DIR "${dir}")
        get_filename_component(ext "${path}" LAST_EXT)
        set(headers)
        if(ext STREQUAL ".h")
            set(headers "${path}")
        elseif(ext STREQUAL ".cpp")
            get_filename_component(base "${path}" NAME_WLE)
            get_filename_component(folder "${path}" DIRECTORY)
            set(headers "${folder}/${base}.h")
        endif()
        foreach(header IN LISTS headers)
            if(EXISTS "${header}")
                file(STRINGS "${header}" macros REGEX "Q_(OBJECT|GADGET|NAMESPACE)")
                if(macros)
                    return()
                endif()
            endif()
        endforeach()
    endforeach()
    get_target_property(binary_dir ${target} BINARY_DIR)
    set_source_files_properties("${binary_dir}/${target}_autogen/mocs_compilation.cpp"
        TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
endfunction()

function(mervane_use_precompiled_headers)
    if(NOT MERVANE_PCH)
        return()
    endif()
    foreach(lib options Core Widgets Gui gtest gmock)
        set(key ${lib})
        if(lib STREQUAL "options")
            set(name mervane_options)
        elseif(lib MATCHES "^g")
            set(name GTest::${lib})
        else()
            set(name Qt6::${lib})
        endif()
        _mervane_link_name(${name} resolved_${key})
        set(names_${key} ${name} ${resolved_${key}})
    endforeach()

    _mervane_targets_under("${PROJECT_SOURCE_DIR}" all)
    foreach(target IN LISTS all)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$" OR target MATCHES "^mervane_pch_")
            continue()
        endif()
        get_target_property(own ${target} PRECOMPILE_HEADERS)
        get_target_property(reused ${target} PRECOMPILE_HEADERS_REUSE_FROM)
        if(own OR reused)
            continue()
        endif()
        _mervane_pch_compile_closure(${target} closure)
        # Only the project's own targets (those built with its options) on Qt share the
        # PCH's flags (Qt's -fPIC among them) and reach its headers.
        foreach(key options Core Widgets Gui gtest gmock)
            set(reaches_${key} OFF)
            foreach(name IN LISTS names_${key})
                if(name IN_LIST closure)
                    set(reaches_${key} ON)
                endif()
            endforeach()
        endforeach()
        if(NOT reaches_options OR NOT reaches_Core)
            continue()
        endif()
        if(reaches_Widgets)
            set(level widgets)
        elseif(reaches_Gui)
            set(level gui)
        else()
            set(level core)
        endif()
        set(gtest OFF)
        if(reaches_gtest AND reaches_gmock)
            set(gtest ON)
        endif()
        _mervane_pch_target(${level} ${gtest} pch)
        target_precompile_headers(${target} REUSE_FROM ${pch})
        _mervane_pch_skip_empty_moc(${target})
    endforeach()
endfunction()
