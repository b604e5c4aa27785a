# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
# orv_add_man_pages(<folder>)
#
# Every <name>.<section>.scd in <folder> (scdoc's source format) becomes the man page
# <name>.<section>.gz, converted by scdoc and compressed at build time, and installed into
# share/man/man<section>. A new page joins by being put into the folder. Without scdoc the build
# goes on without the man pages and says so.
function(orv_add_man_pages folder)
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.scd)
    find_program(ORV_SCDOC scdoc)
    find_program(ORV_GZIP gzip)
    if(NOT ORV_SCDOC OR NOT ORV_GZIP)
        message(NOTICE "scdoc or gzip not found: the man pages are skipped "
                       "(Debian: apt install scdoc)")
        return()
    endif()
    # The pages' date: the time SOURCE_DATE_EPOCH names when the build folder is configured,
    # else when the pages are built (scdoc reads it), else today.
    set(epoch)
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        set(epoch -DSOURCE_DATE_EPOCH=$ENV{SOURCE_DATE_EPOCH})
    endif()
    set(pages)
    foreach(source IN LISTS sources)
        get_filename_component(page ${source} NAME_WLE) # orvcfg.1
        string(REGEX MATCH "[^.]+$" section ${page})    # 1
        set(out ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
        add_custom_command(
            OUTPUT ${out}
            COMMAND ${CMAKE_COMMAND} -DSCDOC=${ORV_SCDOC} -DGZIP=${ORV_GZIP} -DSOURCE=${source}
                    -DOUTPUT=${out} ${epoch} -P ${PROJECT_SOURCE_DIR}/cmake/scdoc-page.cmake
            DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/scdoc-page.cmake
            COMMENT "Man page ${page}"
            VERBATIM)
        install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
        list(APPEND pages ${out})
    endforeach()
    add_custom_target(man_pages ALL DEPENDS ${pages})
endfunction()
