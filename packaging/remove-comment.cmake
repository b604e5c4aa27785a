# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the files it is about to pack: removes the .comment
# section, the compilers' names and versions, from every ELF file, as Debian's packages have them.
find_program(ORV_OBJCOPY objcopy)
if(NOT ORV_OBJCOPY)
    message(FATAL_ERROR "objcopy (Debian package binutils) is needed to pack the programs")
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(f IN LISTS files)
    if(IS_SYMLINK "${f}")
        continue()
    endif()
    file(READ "${f}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
        execute_process(COMMAND ${ORV_OBJCOPY} --remove-section=.comment "${f}"
                        RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
            message(FATAL_ERROR "objcopy could not remove the .comment section of ${f}")
        endif()
    endif()
endforeach()
