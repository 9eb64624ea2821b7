#ifndef RRENSEN_EXPORT_H_
#define RRENSEN_EXPORT_H_

/// RRENSEN_API marks what the library exports. A shared build compiles its
/// own sources with RRENSEN_BUILDING_SHARED and hidden visibility, so that
/// only the marked functions are exported; programs that link the shared
/// library get RRENSEN_SHARED from the package (CMake or pkg-config), which
/// Windows needs to import them. A static library needs neither.
#if defined(_WIN32) || defined(__CYGWIN__)
#if defined(RRENSEN_BUILDING_SHARED)
#define RRENSEN_API __declspec(dllexport)
#elif defined(RRENSEN_SHARED)
#define RRENSEN_API __declspec(dllimport)
#else
#define RRENSEN_API
#endif
#elif defined(__GNUC__)
#define RRENSEN_API __attribute__((visibility("default")))
#else
#define RRENSEN_API
#endif

#endif  // RRENSEN_EXPORT_H_
