#pragma once

// ZRWND_API marks what the library exports. The static core that the tests link
// is compiled with ZRWND_STATIC_CORE so that nothing is imported from a DLL.
#if defined(_WIN32)
#  if defined(ZRWND_BUILDING)
#    define ZRWND_API __declspec(dllexport)
#  elif defined(ZRWND_STATIC_CORE)
#    define ZRWND_API
#  else
#    define ZRWND_API __declspec(dllimport)
#  endif
#else
#  define ZRWND_API __attribute__((visibility("default")))
#endif
