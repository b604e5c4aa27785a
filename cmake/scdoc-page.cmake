# cmake -DSCDOC=scdoc -DGZIP=gzip -DSOURCE=<page>.scd -DOUTPUT=<page>.gz -P scdoc-page.cmake
# One man page: scdoc's roff output, compressed as Debian wants it (best compression, no name
# or time stamp in the gzip header, so the same source gives the same bytes).
get_filename_component(dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
string(REGEX REPLACE "\\.gz$" "" roff ${OUTPUT})
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
