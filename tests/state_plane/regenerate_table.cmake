# Regenerates one state plane zone table into the build folder and compares it with the
# committed file. Arguments: -DPYTHON= (empty: no Python, the test is skipped) -DGENERATOR=
# -DOUTPUT= -DCOMMITTED=.
if(NOT PYTHON)
  message("SKIPPED: no Python interpreter found to run ${GENERATOR}")
  return()
endif()
execute_process(COMMAND "${PYTHON}" "${GENERATOR}" "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed (${status})")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files --ignore-eol "${OUTPUT}" "${COMMITTED}"
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} differs from what ${GENERATOR} writes (${OUTPUT}): rerun the generator")
endif()
