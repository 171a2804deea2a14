# Installation of the shared libraries and of the CMake package that finds them.
# Each library is exported as kvl2005::<EXPORT_NAME> in an export set of its own. A library
# installed as an optional component (the Qt adapters, which need Qt 6) is loaded, with its
# dependency, only when a client asks for it (find_package(kvl2005 COMPONENTS qt)), so the
# core needs nothing of Qt. Package.cmake writes the package files from what is recorded here.

include(CMakePackageConfigHelpers)

set(KVL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kvl2005)

# kvl_install_library(<target> EXPORT_NAME <name> HEADERS <folder> [OPTIONAL]
#                     [COMPONENT <component>] [DEV_COMPONENT <component>]
#                     [DEPENDENCY "<find_dependency arguments>"])
# Makes <target> a versioned shared library that exports only what is marked KVL_API, and
# installs it (its runtime part in <component>, default "lib"; its headers, link name and
# export set in <dev component>, default "dev"); the header tree <folder> has its top folder
# land in the include directory. OPTIONAL makes it the CMake component <name>.
# The Qt adapters, for instance:
#   kvl_install_library(kvl2005-qt EXPORT_NAME qt OPTIONAL COMPONENT qt DEV_COMPONENT qt-dev
#       HEADERS ${CMAKE_CURRENT_SOURCE_DIR}/include/kvlqt DEPENDENCY "Qt6 COMPONENTS Widgets")
function(kvl_install_library target)
    cmake_parse_arguments(ARG "OPTIONAL" "EXPORT_NAME;HEADERS;DEPENDENCY;COMPONENT;DEV_COMPONENT"
                          "" ${ARGN})
    if(NOT ARG_COMPONENT)
        set(ARG_COMPONENT lib)
    endif()
    if(NOT ARG_DEV_COMPONENT)
        set(ARG_DEV_COMPONENT dev)
    endif()
    set_target_properties(${target} PROPERTIES
        EXPORT_NAME ${ARG_EXPORT_NAME}
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    install(TARGETS ${target} EXPORT kvl2005-${ARG_EXPORT_NAME}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
            COMPONENT ${ARG_COMPONENT} NAMELINK_COMPONENT ${ARG_DEV_COMPONENT}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(DIRECTORY ${ARG_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT ${ARG_DEV_COMPONENT} FILES_MATCHING PATTERN "*.h")
    install(EXPORT kvl2005-${ARG_EXPORT_NAME} NAMESPACE kvl2005::
        FILE kvl2005-${ARG_EXPORT_NAME}-targets.cmake
        DESTINATION ${KVL_CMAKE_DIR} COMPONENT ${ARG_DEV_COMPONENT})
    # The package file includes each export set after finding what it depends on; an
    # optional one only when asked for, and only if its files are installed.
    set(targets_file "\${CMAKE_CURRENT_LIST_DIR}/kvl2005-${ARG_EXPORT_NAME}-targets.cmake")
    set(block "")
    if(ARG_DEPENDENCY)
        string(APPEND block "find_dependency(${ARG_DEPENDENCY})\n")
    endif()
    string(APPEND block "include(\"${targets_file}\")\n")
    if(ARG_OPTIONAL)
        string(REPLACE "\n" "\n        " block "        ${block}")
        set(block "if(\"${ARG_EXPORT_NAME}\" IN_LIST kvl2005_FIND_COMPONENTS)
    if(EXISTS \"${targets_file}\")
${block}set(kvl2005_${ARG_EXPORT_NAME}_FOUND TRUE)
    else()
        set(kvl2005_${ARG_EXPORT_NAME}_FOUND FALSE)
    endif()
endif()\n")
    endif()
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

# kvl_install_config(<component> <file>): a configuration file of a private program. It goes
# under /etc/kvl2005 when installed under /usr (else <prefix>/etc/kvl2005, as GNUInstallDirs
# places it), and is linked from the private folder, where the program looks beside itself.
function(kvl_install_config component file)
    get_filename_component(name ${file} NAME)
    get_filename_component(source ${file} ABSOLUTE)
    install(CODE "
        set(private \"\${CMAKE_INSTALL_PREFIX}/${KVL_PRIVATE_BINDIR}\")
        # A link from /usr to /etc is absolute, as Debian wants between top-level folders;
        # elsewhere it is relative, so the tree can be moved.
        if(CMAKE_INSTALL_PREFIX MATCHES \"^/usr/?$\")
            set(etc /etc/kvl2005)
            set(to_etc /etc/kvl2005/${name})
        else()
            set(etc \"\${CMAKE_INSTALL_PREFIX}/etc/kvl2005\")
            file(RELATIVE_PATH to_etc \"\${private}\" \"\${etc}/${name}\")
        endif()
        # file(INSTALL) puts DESTDIR in front by itself.
        file(INSTALL \"${source}\" DESTINATION \"\${etc}\")
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${private}\")
        file(CREATE_LINK \"\${to_etc}\" \"\$ENV{DESTDIR}\${private}/${name}\" SYMBOLIC)
        message(STATUS \"Installing: \$ENV{DESTDIR}\${private}/${name} -> \${to_etc}\")"
        COMPONENT ${component})
endfunction()
