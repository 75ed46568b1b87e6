# Windows builds (the MinGW-w64 cross build of the windows preset): the module is
# "kelvane.dll" with the import library "kelvane.lib", and kelvane.exe, the example host
# and the test programs are written beside it in bin/, so that Windows finds the DLL in
# the program's own folder.
#
# The GCC runtime is linked statically into every module (-static: libgcc, libstdc++
# and winpthread): the DLL then imports only KERNEL32.dll and msvcrt.dll, which every
# Windows has, and there are no libstdc++-6.dll, libgcc_s_seh-1.dll or
# libwinpthread-1.dll to ship beside it or to clash with other versions that a host
# application has loaded already. The library throws no exceptions across its
# interface, so a runtime of its own is safe.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_SUFFIX ".lib")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
if(MINGW)
  add_link_options(-static)
endif()
