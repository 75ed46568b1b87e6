/* Export and linkage macros shared by every public header of Kelvane. */
#ifndef KELVANE_EXPORT_H
#define KELVANE_EXPORT_H

#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(KELVANE_BUILDING_LIBRARY)
#    define KELVANE_API __declspec(dllexport)
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
