/* Export and linkage macros shared by every public header of Kelvane. */
#ifndef KELVANE_EXPORT_H
#define KELVANE_EXPORT_H

/* On Windows the DLL exports the marked names and its users import them; a program
   that links the library's objects statically (its own tests do) defines KELVANE_STATIC. */
#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(KELVANE_BUILDING_LIBRARY)
#    define KELVANE_API __declspec(dllexport)
#  elif defined(KELVANE_STATIC)
#    define KELVANE_API
#  else
#    define KELVANE_API __declspec(dllimport)
#  endif
#else
#  define KELVANE_API __attribute__((visibility("default")))
#endif

/* Free functions on plain records have C linkage, so C and FFI hosts can call them. */
#ifdef __cplusplus
#  define KELVANE_C_BEGIN extern "C" {
#  define KELVANE_C_END }
#else
#  define KELVANE_C_BEGIN
#  define KELVANE_C_END
#endif

#endif /* KELVANE_EXPORT_H */
