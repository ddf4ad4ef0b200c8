# Test of the layering check: run as cmake -DSOURCE=<source folder> -P cmake/TestLayering.cmake.
# The fixture tree plants one include of each forbidden kind beside allowed ones; the check
# must fail and name exactly the planted lines.
set(fixture "${SOURCE}/tests/layering/fixture")
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${fixture} -P ${SOURCE}/cmake/CheckLayering.cmake
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0)
  message(FATAL_ERROR "the layering check passed a tree with upward includes:\n${out}")
endif()
foreach(expected
    "core/base/upward.h:3: #include \"card/cardfile.h\""
    "core/palette/decoder.h:3: #include \"core/decode/pictureload.h\""
    "weave/windowed.h:4: #include \"core/ui/numberedit.h\""
    "core/settings/angled.h:4: #include <editor/patterngrid.h>")
  string(FIND "${out}" "${expected}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the layering check did not name ${expected}:\n${out}")
  endif()
endforeach()
foreach(allowed "card/allowed.h" "weave/windowed.h:3" "angled.h:3")
  string(FIND "${out}" "${allowed}" at)
  if(NOT at LESS 0)
    message(FATAL_ERROR "the layering check refused an allowed include (${allowed}):\n${out}")
  endif()
endforeach()
