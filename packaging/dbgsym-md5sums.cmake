# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack (CPACK_POST_BUILD_SCRIPTS) on the packages it made. CPack writes the md5sums of
# the debug symbols package with the absolute paths of its staging folder, where dpkg expects
# paths relative to the root ("usr/lib/debug/..."): wrong for dpkg --verify and debsums, and
# different in every build folder. The .ddeb is made again by dpkg-deb with the paths mended;
# dpkg-deb orders the files and takes its dates from SOURCE_DATE_EPOCH, as CPack does. It also
# gets the link usr/share/doc/<package>-dbgsym -> <package>.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.ddeb$")
        continue()
    endif()
    set(tree ${package}.tree)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "dpkg-deb could not unpack ${package}")
    endif()
    file(READ ${tree}/DEBIAN/control control)
    file(READ ${tree}/DEBIAN/md5sums sums)
    string(REGEX REPLACE "  [^\n]*/(usr/lib/debug/)" "  \\1" sums "${sums}")
    file(WRITE ${tree}/DEBIAN/md5sums "${sums}")
    # Its documents are those of the package it belongs to, as debhelper has it.
    string(REGEX MATCH "Package: ([^\n]+)-dbgsym" package_line "${control}")
    file(MAKE_DIRECTORY ${tree}/usr/share/doc)
    file(CREATE_LINK ${CMAKE_MATCH_1} ${tree}/usr/share/doc/${CMAKE_MATCH_1}-dbgsym SYMBOLIC)
    execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
                    OUTPUT_QUIET RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "dpkg-deb could not make ${package} again")
    endif()
    file(REMOVE_RECURSE ${tree})
endforeach()
