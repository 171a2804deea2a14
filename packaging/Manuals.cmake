# Manual pages of the installed programs, made from their --help at build time so they never
# drift from it, and compressed as Debian installs them. Without help2man there are none.
# Sanitizer builds are never installed, and their programs may report on exit.
if(KVL_SANITIZE OR KVL_TSAN)
    return()
endif()
find_program(KVL_HELP2MAN help2man)
if(NOT KVL_HELP2MAN)
    message(STATUS "help2man not found: the programs get no manual pages")
    return()
endif()
set(KVL_MAN_DIR ${CMAKE_BINARY_DIR}/man)

# kvl_manual(<program target> <component> "<what the program is>")
function(kvl_manual target component name)
    if(NOT TARGET ${target})
        return()
    endif()
    set(page ${KVL_MAN_DIR}/${target}.1.gz)
    # The Qt programs answer --help before opening a window; offscreen keeps them off any display.
    add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${KVL_MAN_DIR}
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            sh -c "\"$0\" --no-info --no-discard-stderr --version-string=\"$1\" --name=\"$2\" \"$3\" | gzip -9n >\"$4\""
            ${KVL_HELP2MAN} ${PROJECT_VERSION} ${name} $<TARGET_FILE:${target}> ${page}
        DEPENDS ${target}
        COMMENT "Manual page of ${target}"
        VERBATIM)
    add_custom_target(${target}_manual ALL DEPENDS ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()

kvl_manual(kvlsql kvlsql "command-line client of the KVL2005 database-access library")
kvl_manual(zovlt-config zovlt "installer of the ZOV LT add-on for the CAD application")
kvl_manual(cad-standin zovlt "stand-in automation server of the CAD application")
kvl_manual(symbology-setup setup "installer of the PDM symbology package")
kvl_manual(kvl-moradas moradas "reference Qt client of the KVL2005 library")
