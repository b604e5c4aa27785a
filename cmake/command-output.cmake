# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DOUTPUT=<file> -P command-output.cmake -- <program> [<argument>...]
# Runs a program and writes what it prints to OUTPUT; a program that fails leaves no file.
set(command)
set(take OFF)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
    if(take)
        list(APPEND command "${CMAKE_ARGV${i}}")
    elseif(CMAKE_ARGV${i} STREQUAL "--")
        set(take ON)
    endif()
endforeach()
execute_process(COMMAND ${command} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    file(REMOVE ${OUTPUT})
    message(FATAL_ERROR "${command} failed: ${rc}")
endif()
