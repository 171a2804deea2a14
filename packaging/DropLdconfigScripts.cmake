# Run by CPack after it has made the packages (CPACK_POST_BUILD_SCRIPTS). CPack gives every
# package that holds a shared library a postinst and a postrm that call ldconfig; the library
# packages activate dpkg's ldconfig trigger instead, so those scripts are taken out and the
# package is built again from the same tree and control files.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    set(tree ${deb}.tree)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb -R ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    set(changed FALSE)
    foreach(script postinst postrm)
        set(path ${tree}/DEBIAN/${script})
        if(EXISTS ${path})
            file(STRINGS ${path} commands REGEX "^[ \t]*[^#]")
            list(FILTER commands EXCLUDE REGEX "^[ \t]*(set -e|if .*then|fi|ldconfig)[ \t]*$")
            if(NOT commands)
                file(REMOVE ${path})
                set(changed TRUE)
            endif()
        endif()
    endforeach()
    if(changed)
        execute_process(COMMAND dpkg-deb --root-owner-group -Zxz -b ${tree} ${deb}
            OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    endif()
    file(REMOVE_RECURSE ${tree})
endforeach()
