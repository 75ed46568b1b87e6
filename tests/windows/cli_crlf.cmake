# kelvane.exe fed Windows text: lines ending in CR LF, on standard input and through
# --input, convert exactly as lines ending in LF do, and a malformed line is still
# reported by its number while the other lines are converted.
# Usage: cmake -DEMULATOR=a|b|c -DCLI=kelvane.exe -DWORKDIR=folder -P cli_crlf.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" emulator "${EMULATOR}")
file(MAKE_DIRECTORY "${WORKDIR}")

# Runs kelvane.exe with the arguments after inputText; sets <prefix>_out (CR removed),
# <prefix>_err and <prefix>_rc in the caller.
function(run_cli prefix inputText)
  set(inFile "${WORKDIR}/${prefix}_in.txt")
  file(WRITE "${inFile}" "${inputText}")
  execute_process(COMMAND ${emulator} ${CLI} ${ARGN}
                  INPUT_FILE "${inFile}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc
                  WORKING_DIRECTORY "${WORKDIR}" TIMEOUT 120)
  string(REPLACE "\r" "" out "${out}")
  set(${prefix}_out "${out}" PARENT_SCOPE)
  set(${prefix}_err "${err}" PARENT_SCOPE)
  set(${prefix}_rc "${rc}" PARENT_SCOPE)
endfunction()

set(failures "")
# The Linux build's output for these two points, digit for digit.
set(expected "5761510.3164 568649.7049 0.9996578544 0.7880413151 31\n"
             "6245888.0455 259583.2217 1.0003125937 1.4508329040 94\n")
string(CONCAT expected ${expected})

run_cli(lf "52.0 4.0\n# comment\n-33.9 18.4\n" utm --auto)
run_cli(crlf "52.0 4.0\r\n# comment\r\n\r\n-33.9 18.4\r\n" utm --auto)
file(WRITE "${WORKDIR}/points_crlf.txt" "52.0,4.0\r\n-33.9,18.4\r\n")
run_cli(file "" utm --auto --input points_crlf.txt)
run_cli(bad "52.0 4.0\r\n52.0 x\r\n-33.9 18.4\r\n" utm --auto)

foreach(run lf crlf file)
  if(NOT ${run}_rc EQUAL 0 OR NOT "${${run}_err}" STREQUAL "")
    set(failures "${failures}\n  ${run}: exit status ${${run}_rc}, stderr '${${run}_err}'")
  endif()
  if(NOT "${${run}_out}" STREQUAL "${expected}")
    set(failures "${failures}\n  ${run}: output\n${${run}_out}  instead of\n${expected}")
  endif()
endforeach()
if(bad_rc EQUAL 0 OR NOT bad_err MATCHES "line 2:" OR bad_err MATCHES "line [13]:")
  set(failures "${failures}\n  malformed line: exit status ${bad_rc}, stderr '${bad_err}'")
endif()
# The good lines are converted (whatever stands in for the bad one between them).
string(REPLACE "\n" ";" goodLines "${expected}")
foreach(line IN LISTS goodLines)
  string(FIND "${bad_out}" "${line}\n" at)
  if(line AND at EQUAL -1)
    set(failures "${failures}\n  malformed line: '${line}' missing from\n${bad_out}")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "kelvane.exe and CR LF input:${failures}")
endif()
message(STATUS "kelvane.exe converts CR LF input from standard input and --input like LF input")
