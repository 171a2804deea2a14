# Installation of the shared libraries and of the CMake package that finds them.
# Each library is exported as kvl2005::<EXPORT_NAME> in an export set of its own, so a
# library that needs more (the Qt adapters need Qt 6) brings its dependency along only
# when it is installed. Package.cmake writes the package files from what is recorded here.

include(CMakePackageConfigHelpers)

set(KVL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kvl2005)

# kvl_install_library(<target> EXPORT_NAME <name> HEADERS <folder> [COMPONENT <component>]
#                     [DEPENDENCY "<find_dependency arguments>"])
# Makes <target> a versioned shared library that exports only what is marked KVL_API, and
# installs it (its runtime part in <component>, default "lib", its link part in "dev"), the
# header tree <folder> (whose top folder lands in the include directory) and its export set.
# The Qt adapters, for instance:
#   kvl_install_library(kvl2005-qt EXPORT_NAME qt COMPONENT qt
#       HEADERS ${CMAKE_CURRENT_SOURCE_DIR}/include/kvlqt DEPENDENCY "Qt6 COMPONENTS Widgets")
function(kvl_install_library target)
    cmake_parse_arguments(ARG "" "EXPORT_NAME;HEADERS;DEPENDENCY;COMPONENT" "" ${ARGN})
    if(NOT ARG_COMPONENT)
        set(ARG_COMPONENT lib)
    endif()
    set_target_properties(${target} PROPERTIES
        EXPORT_NAME ${ARG_EXPORT_NAME}
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    install(TARGETS ${target} EXPORT kvl2005-${ARG_EXPORT_NAME}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
            COMPONENT ${ARG_COMPONENT} NAMELINK_COMPONENT dev
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(DIRECTORY ${ARG_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev
        FILES_MATCHING PATTERN "*.h")
    install(EXPORT kvl2005-${ARG_EXPORT_NAME} NAMESPACE kvl2005::
        FILE kvl2005-${ARG_EXPORT_NAME}-targets.cmake
        DESTINATION ${KVL_CMAKE_DIR} COMPONENT dev)
    # The package file includes each export set after finding what it depends on.
    set(block "")
    if(ARG_DEPENDENCY)
        string(APPEND block "find_dependency(${ARG_DEPENDENCY})\n")
    endif()
    string(APPEND block "include(\"\${CMAKE_CURRENT_LIST_DIR}/kvl2005-${ARG_EXPORT_NAME}-targets.cmake\")\n")
    set_property(GLOBAL APPEND_STRING PROPERTY KVL_PACKAGE_TARGETS "${block}")
    # Targets inside the build can use the same name as clients of the installed package.
    add_library(kvl2005::${ARG_EXPORT_NAME} ALIAS ${target})
endfunction()

# Installed programs find the library relative to their own place, so an installed tree
# works wherever it is put.
function(kvl_relative_rpath target from)
    file(RELATIVE_PATH to_lib /prefix/${from} /prefix/${CMAKE_INSTALL_LIBDIR})
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${to_lib}")
endfunction()

# kvl_install_programs(<component> <target>...): programs that go into the bin folder.
function(kvl_install_programs component)
    foreach(t ${ARGN})
        kvl_relative_rpath(${t} ${CMAKE_INSTALL_BINDIR})
    endforeach()
    install(TARGETS ${ARGN} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
endfunction()

# The installers look for their helper programs and files in their own folder, and some of
# the helpers bear names other packages use in the bin folder (regsvr32). So a program goes
# with its helpers into a private folder, and only the program is linked from bin.
set(KVL_PRIVATE_BINDIR ${CMAKE_INSTALL_LIBEXECDIR}/kvl2005)

# kvl_install_private(<component> TARGETS <target>... [FILES <file>...] [LINKS <program>...])
function(kvl_install_private component)
    cmake_parse_arguments(ARG "" "" "TARGETS;FILES;LINKS" ${ARGN})
    foreach(t ${ARG_TARGETS})
        kvl_relative_rpath(${t} ${KVL_PRIVATE_BINDIR})
    endforeach()
    install(TARGETS ${ARG_TARGETS} RUNTIME DESTINATION ${KVL_PRIVATE_BINDIR} COMPONENT ${component})
    if(ARG_FILES)
        install(FILES ${ARG_FILES} DESTINATION ${KVL_PRIVATE_BINDIR} COMPONENT ${component})
    endif()
    file(RELATIVE_PATH to_private /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KVL_PRIVATE_BINDIR})
    foreach(program ${ARG_LINKS})
        install(CODE "
            set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
            file(MAKE_DIRECTORY \"\${bin}\")
            file(CREATE_LINK ${to_private}/${program} \"\${bin}/${program}\" SYMBOLIC)
            message(STATUS \"Installing: \${bin}/${program} -> ${to_private}/${program}\")"
            COMPONENT ${component})
    endforeach()
endfunction()
