# The package files of what kvl_install_library recorded, and the Debian packages.

get_property(KVL_PACKAGE_TARGETS GLOBAL PROPERTY KVL_PACKAGE_TARGETS)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/kvl2005Config.cmake.in
    ${CMAKE_BINARY_DIR}/packaging/kvl2005Config.cmake
    INSTALL_DESTINATION ${KVL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/packaging/kvl2005ConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/packaging/kvl2005Config.cmake
              ${CMAKE_BINARY_DIR}/packaging/kvl2005ConfigVersion.cmake
        DESTINATION ${KVL_CMAKE_DIR} COMPONENT dev)

# pkg-config: the prefix is found from the file's own place, so the tree can be moved.
set(pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH KVL_PC_TO_PREFIX /prefix/${pc_dir} /prefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kvl2005.pc.in ${CMAKE_BINARY_DIR}/packaging/kvl2005.pc
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/kvl2005.pc DESTINATION ${pc_dir} COMPONENT dev)

include(${CMAKE_CURRENT_LIST_DIR}/Manuals.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/Debian.cmake)
