# Debian packages, one per component: the library, its development files, kvlsql, each
# installer with its helper programs, and the Python module. Library dependencies come from
# dpkg-shlibdeps; what is only loaded at run time (the ODBC drivers) is declared here.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvl2005)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "KVL2005 developers <kvl2005@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Database access through ODBC, its client and installers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The programs link the library built here, which no installed package provides yet.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/kvl)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(same_library "libkvl2005-${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION})")

# kvl_debian_package(<component> <package name> <section> "<depends>" "<summary>")
macro(kvl_debian_package component name section depends summary)
    string(TOUPPER ${component} c)
    set(CPACK_DEBIAN_${c}_PACKAGE_NAME ${name})
    set(CPACK_DEBIAN_${c}_PACKAGE_SECTION ${section})
    set(CPACK_DEBIAN_${c}_PACKAGE_DEPENDS "${depends}")
    set(CPACK_COMPONENT_${c}_DESCRIPTION "${summary}")
endmacro()

kvl_debian_package(lib libkvl2005-${PROJECT_VERSION_MAJOR} libs ""
    "Database access through ODBC: sessions, commands and result sets")
set(CPACK_DEBIAN_LIB_PACKAGE_GENERATE_SHLIBS ON)
kvl_debian_package(dev libkvl2005-dev libdevel "${same_library}"
    "Database access through ODBC: headers, CMake package and pkg-config file")
kvl_debian_package(kvlsql kvlsql database "${same_library}, libsqliteodbc"
    "Command-line client of the KVL2005 database-access library")
kvl_debian_package(zovlt zovlt-config misc ""
    "Installer of the ZOV LT CAD add-on, with its helper programs")
kvl_debian_package(setup symbology-setup misc "${same_library}, libsqliteodbc"
    "Installer of the PDM symbology package")
# The installers' dialogs speak Portuguese with Qt's own catalogues.
set(CPACK_DEBIAN_ZOVLT_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_SETUP_PACKAGE_RECOMMENDS qt6-translations-l10n)
if(TARGET kvl2005-qt)
    kvl_debian_package(qt libkvl2005-qt-${PROJECT_VERSION_MAJOR} libs "${same_library}"
        "Qt widgets as client objects of the KVL2005 database-access library")
endif()
if(KVL_PYTHON_DEPENDS)
    kvl_debian_package(python python3-kvl2005 python "${same_library}, ${KVL_PYTHON_DEPENDS}"
        "Python module of the KVL2005 database-access library")
endif()

include(CPack)
