# Reads kelvane.dll's export and import tables with objdump -p and checks them:
#  - every name the shared-library test (EXPORT_TEST, the Linux test read by dlsym)
#    expects is exported under its plain C name, and none it expects hidden is;
#  - every exported name belongs to the public headers (HEADERS): a C name declared
#    there, or a C++ symbol of a class or function declared there, so no internal
#    helper leaks into the table;
#  - the DLL imports nothing but KERNEL32.dll and msvcrt.dll, which every Windows has
#    (the GCC runtime is linked in statically).
# Usage: cmake -DOBJDUMP=... -DDLL=... -DEXPORT_TEST=... -DHEADERS=... -P check_dll_exports.cmake
cmake_minimum_required(VERSION 3.25)
foreach(var OBJDUMP DLL EXPORT_TEST HEADERS)
  if(NOT ${var})
    message(FATAL_ERROR "check_dll_exports: ${var} is not set")
  endif()
endforeach()

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed (${rc})")
endif()
string(REPLACE ";" "" dump "${dump}")
string(REPLACE "\n" ";" dumpLines "${dump}")

# The export names follow "[Ordinal/Name Pointer] Table" as "\t[  12] name" lines; the
# imported modules stand in "DLL Name: KERNEL32.dll" lines.
set(exports "")
set(imports "")
set(inNames FALSE)
foreach(line IN LISTS dumpLines)
  if(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
    set(inNames TRUE)
  elseif(inNames AND line MATCHES "^[ \t]*\\[ *[0-9]+\\] ([^ \t]+)$")
    list(APPEND exports "${CMAKE_MATCH_1}")
  elseif(inNames AND line STREQUAL "")
    set(inNames FALSE)
  elseif(line MATCHES "DLL Name: ([^ \t]+)")
    list(APPEND imports "${CMAKE_MATCH_1}")
  endif()
endforeach()
list(LENGTH exports exportCount)
if(exportCount EQUAL 0)
  message(FATAL_ERROR "no export table found in ${DLL}")
endif()

# The quoted names of a C++ initialiser list in text, from the first occurrence of
# startText up to the first endText after it.
function(quoted_names text startText endText outVar)
  string(FIND "${text}" "${startText}" begin)
  if(begin EQUAL -1)
    message(FATAL_ERROR "'${startText}' not found in ${EXPORT_TEST}")
  endif()
  string(SUBSTRING "${text}" ${begin} -1 rest)
  string(FIND "${rest}" "${endText}" end)
  string(SUBSTRING "${rest}" 0 ${end} block)
  string(REGEX MATCHALL "\"[A-Za-z_][A-Za-z0-9_]*\"" quoted "${block}")
  string(REPLACE "\"" "" names "${quoted}")
  set(${outVar} "${names}" PARENT_SCOPE)
endfunction()

file(READ "${EXPORT_TEST}" exportTest)
quoted_names("${exportTest}" "exported[] = {" "};" expected)
quoted_names("${exportTest}" "KeepsInternalHelpersHidden" "})" hidden)
list(LENGTH expected expectedCount)
if(expectedCount LESS 10)
  message(FATAL_ERROR "read only ${expectedCount} expected names from ${EXPORT_TEST}")
endif()

set(failures "")
foreach(name IN LISTS expected)
  if(NOT name IN_LIST exports)
    list(APPEND failures "missing export: ${name}")
  endif()
endforeach()
foreach(name IN LISTS hidden)
  if(name IN_LIST exports)
    list(APPEND failures "internal helper exported: ${name}")
  endif()
endforeach()

# Every export must name something the public headers declare. A C++ symbol is judged
# by its first source name: _ZN6Matrix5printEPKc by Matrix, _Z10matrixCopyP6MatrixS0_
# by matrixCopy, _ZTV14CXform3D4Param (a vtable) by CXform3D4Param.
file(GLOB headerFiles "${HEADERS}/*.h")
set(headerText "")
foreach(h IN LISTS headerFiles)
  file(READ "${h}" t)
  string(APPEND headerText " ${t} ")
endforeach()
set(cNames 0)
foreach(name IN LISTS exports)
  set(identifier "${name}")
  if(name MATCHES "^_Z(T[VIS])?N?K?([0-9]+)(.*)$")
    string(SUBSTRING "${CMAKE_MATCH_3}" 0 ${CMAKE_MATCH_2} identifier)
  else()
    math(EXPR cNames "${cNames} + 1")
  endif()
  if(NOT headerText MATCHES "[^A-Za-z0-9_]${identifier}[^A-Za-z0-9_]")
    list(APPEND failures "exported but not in the public headers: ${name}")
  endif()
endforeach()

foreach(module IN LISTS imports)
  string(TOLOWER "${module}" lower)
  if(NOT lower MATCHES "^(kernel32|msvcrt)\\.dll$")
    list(APPEND failures "imports ${module}, which a clean Windows may lack")
  endif()
endforeach()

math(EXPR cppNames "${exportCount} - ${cNames}")
message(STATUS "${DLL}: ${exportCount} exports (${cNames} C names, ${cppNames} C++ symbols); "
               "imports ${imports}; ${expectedCount} expected names checked")
if(failures)
  string(REPLACE ";" "\n  " text "${failures}")
  message(FATAL_ERROR "kelvane.dll's tables are wrong:\n  ${text}")
endif()
