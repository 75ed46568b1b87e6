# Checks of the Windows build that run on the build machine against the cross-built
# files: the DLL's export and import tables, and kelvane.exe fed Windows text.

if(CMAKE_CROSSCOMPILING_EMULATOR)
  # Create the Wine prefix once, at configure time, rather than in whichever test
  # program happens to start first (two starting together would both build it).
  if(NOT EXISTS "${CMAKE_BINARY_DIR}/wineprefix/system.reg")
    message(STATUS "Creating the Wine prefix ${CMAKE_BINARY_DIR}/wineprefix")
    execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot --init
                    RESULT_VARIABLE _kelvane_wineboot OUTPUT_QUIET ERROR_QUIET TIMEOUT 300)
    if(NOT _kelvane_wineboot EQUAL 0)
      message(WARNING "wineboot --init failed (${_kelvane_wineboot}); the tests may not run")
    endif()
  endif()
endif()

add_test(NAME windows_dll_exports
         COMMAND ${CMAKE_COMMAND}
                 -DOBJDUMP=${CMAKE_OBJDUMP}
                 -DDLL=$<TARGET_FILE:kelvane>
                 -DEXPORT_TEST=${CMAKE_CURRENT_SOURCE_DIR}/exports/test_exports.cpp
                 "-DHEADERS=${PROJECT_SOURCE_DIR}/include/kelvane"
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/check_dll_exports.cmake)

if(TARGET kelvane_cli AND CMAKE_CROSSCOMPILING_EMULATOR)
  string(REPLACE ";" "|" _kelvane_emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
  add_test(NAME windows_cli_crlf
           COMMAND ${CMAKE_COMMAND}
                   "-DEMULATOR=${_kelvane_emulator}"
                   -DCLI=$<TARGET_FILE:kelvane_cli>
                   -DWORKDIR=${CMAKE_CURRENT_BINARY_DIR}/tmp/cli_crlf
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/cli_crlf.cmake)
endif()
