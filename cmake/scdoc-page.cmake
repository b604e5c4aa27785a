# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSCDOC=scdoc -DGZIP=gzip -DSOURCE=<page>.scd -DOUTPUT=<page>.gz
#       [-DSOURCE_DATE_EPOCH=<seconds>] -P scdoc-page.cmake
# One man page: scdoc's roff output, compressed as Debian wants it (best compression, no name
# or time stamp in the gzip header, so the same source gives the same bytes), dated by
# SOURCE_DATE_EPOCH when it is given.
get_filename_component(dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
string(REGEX REPLACE "\\.gz$" "" roff ${OUTPUT})
if(DEFINED SOURCE_DATE_EPOCH)
    set(ENV{SOURCE_DATE_EPOCH} ${SOURCE_DATE_EPOCH})
endif()
execute_process(COMMAND ${SCDOC} INPUT_FILE ${SOURCE} OUTPUT_FILE ${roff} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    file(REMOVE ${roff})
    message(FATAL_ERROR "scdoc could not convert ${SOURCE}")
endif()
execute_process(COMMAND ${GZIP} -9 -n -c ${roff} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    file(REMOVE ${OUTPUT})
    message(FATAL_ERROR "gzip could not compress ${roff}")
endif()
