# Debian packages, one per component: the library and its development files, the Qt adapters
# and theirs, kvlsql, each installer with its helper programs, the Python module and the
# reference client. Library dependencies come from dpkg-shlibdeps; what is only loaded at run
# time (the ODBC drivers) is declared here.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvl2005)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "KVL2005 developers <kvl2005@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed under DESTDIR with the real prefix, so the install rules that place configuration
# under /etc (see kvl_install_config) see /usr as the prefix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The programs link the libraries built here, which no installed package provides yet.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/kvl ${CMAKE_BINARY_DIR}/kvlqt)
# Dependants of a library package need at least the version they were built against. CPack
# takes this for every package; only shared libraries with a soname get entries, so the
# library packages are the only ones with a shlibs file.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(version ${PROJECT_VERSION})
set(lib_package libkvl2005-${PROJECT_VERSION_MAJOR})
set(qt_package libkvl2005-qt${PROJECT_VERSION_MAJOR})
set(same_library "${lib_package} (= ${version})")
set(packaging ${CMAKE_CURRENT_LIST_DIR})

# The changelog, compressed as Debian installs it; every package carries it with the copyright.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
execute_process(COMMAND gzip -9nc ${packaging}/debian/changelog
    OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging}/debian/changelog)
# A library package registers its library through dpkg's ldconfig trigger.
file(WRITE ${CMAKE_BINARY_DIR}/packaging/triggers "activate-noawait ldconfig\n")

# kvl_debian_package(<component> <package> <section> "<depends>" "<synopsis>" "<description>")
# The synopsis is the first line of the control file's Description, the description (paragraphs
# separated by a blank line) the extended text under it.
function(kvl_debian_package component name section depends synopsis description)
    string(TOUPPER ${component} c)
    set(CPACK_DEBIAN_${c}_PACKAGE_NAME ${name} PARENT_SCOPE)
    set(CPACK_DEBIAN_${c}_PACKAGE_SECTION ${section} PARENT_SCOPE)
    set(CPACK_DEBIAN_${c}_PACKAGE_DEPENDS "${depends}" PARENT_SCOPE)
    set(CPACK_DEBIAN_${c}_DESCRIPTION "${synopsis}\n${description}" PARENT_SCOPE)
    install(FILES ${packaging}/debian/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${name} COMPONENT ${component})
endfunction()

# kvl_debian_library(<component>): the package of a shared library activates the trigger.
macro(kvl_debian_library component)
    string(TOUPPER ${component} c)
    set(CPACK_DEBIAN_${c}_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/packaging/triggers)
endmacro()

set(about "KVL2005 gives C++ programs sessions, commands and result sets on any database
with an ODBC driver (unixODBC), with the automation members its clients expect.")

kvl_debian_package(lib ${lib_package} libs ""
    "database access through ODBC - shared library"
    "${about}\n\nThis package holds the shared library. It opens SQLite files through
libsqliteodbc and PostgreSQL through odbc-postgresql.")
kvl_debian_library(lib)
set(CPACK_DEBIAN_LIB_PACKAGE_SUGGESTS "libsqliteodbc, odbc-postgresql")

kvl_debian_package(dev libkvl2005-dev libdevel "${same_library}, unixodbc-dev"
    "database access through ODBC - development files"
    "${about}\n\nThis package holds the headers (usable from C++17), the CMake package
kvl2005 and the pkg-config file kvl2005. The Qt adapters' development files
are in libkvl2005-qt-dev.")

if(TARGET kvl2005-qt)
    kvl_debian_package(qt ${qt_package} libs "${same_library}"
        "database access through ODBC - Qt adapters"
        "${about}\n\nThis package holds the shared library that adapts Qt widgets (windows,
their controls, list controls, a progress form, message boxes) to the
library's client objects.")
    kvl_debian_library(qt)
    kvl_debian_package(qt-dev libkvl2005-qt-dev libdevel
        "${qt_package} (= ${version}), libkvl2005-dev (= ${version}), qt6-base-dev"
        "database access through ODBC - Qt adapters' development files"
        "${about}\n\nThis package holds the headers of the Qt adapters and the CMake component
qt of the package kvl2005: find_package(kvl2005 COMPONENTS qt).")
endif()

kvl_debian_package(kvlsql kvlsql database "${same_library}, libsqliteodbc"
    "command-line client of the KVL2005 database-access library"
    "${about}\n\nkvlsql runs SQL commands and scripts through the library and prints their
rows. Without connection options it opens an embedded SQLite sample database;
PostgreSQL servers need odbc-postgresql. The catalog views the library's
services read are in /usr/share/kvl2005/sql.")
set(CPACK_DEBIAN_KVLSQL_PACKAGE_SUGGESTS odbc-postgresql)

kvl_debian_package(zovlt zovlt-config misc ""
    "installer of the ZOV LT CAD add-on"
    "zovlt-config installs the ZOV LT add-on of a CAD application on a Windows
drive of this host (such as a Wine prefix's drive_c), with its helper
programs: cad-standin, a stand-in automation server of the CAD application,
and regsvr32. Its automation class registry is
/etc/kvl2005/zovlt-config.classes.")
kvl_debian_package(setup symbology-setup misc "${same_library}, libsqliteodbc"
    "installer of the PDM symbology package"
    "symbology-setup installs the PDM symbology package of Cartelix 06.00 on a
Windows drive of this host (such as a Wine prefix's drive_c) and re-points
its symbol library, opened through ODBC, at the installed files.")
# The installers' dialogs speak Portuguese with Qt's own catalogues.
set(CPACK_DEBIAN_ZOVLT_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_SETUP_PACKAGE_RECOMMENDS qt6-translations-l10n)
# Installed under /etc, the class registry is a conffile: an administrator's changes survive
# upgrades.
file(WRITE ${CMAKE_BINARY_DIR}/packaging/zovlt/conffiles "/etc/kvl2005/zovlt-config.classes\n")
set(CPACK_DEBIAN_ZOVLT_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/packaging/zovlt/conffiles)

if(KVL_PYTHON_DEPENDS)
    kvl_debian_package(python python3-kvl2005 python "${same_library}, ${KVL_PYTHON_DEPENDS}"
        "Python module of the KVL2005 database-access library"
        "${about}\n\nThe module kvl2005 gives Python the library's session and result-set
objects and kvl2005.connect, a database interface after PEP 249. SQLite
needs libsqliteodbc, PostgreSQL odbc-postgresql.")
    set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS "libsqliteodbc, odbc-postgresql")
endif()

if(TARGET kvl-moradas)
    kvl_debian_package(moradas kvl-moradas database
        "${same_library}, ${qt_package} (= ${version}), libsqliteodbc"
        "reference Qt client of the KVL2005 database-access library"
        "${about}\n\nkvl-moradas shows and edits the streets of the sample database in a Qt
window, with the library's rights, lists, search and window positions. It
opens an embedded SQLite database, or a PostgreSQL server through
odbc-postgresql.")
    set(CPACK_DEBIAN_MORADAS_PACKAGE_SUGGESTS odbc-postgresql)
endif()

# CPack also writes an ldconfig call into the library packages' maintainer scripts; the
# trigger does that job, so the packages are rebuilt without those scripts.
set(CPACK_POST_BUILD_SCRIPTS ${packaging}/DropLdconfigScripts.cmake)

include(CPack)
