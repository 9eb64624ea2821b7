#ifndef RRENSEN_VERSION_H_
#define RRENSEN_VERSION_H_

/// The library's version. The major number changes when a program built
/// against an earlier release could break; it is also the inline namespace
/// (rrensen::v1) that the library's symbols carry.
#define RRENSEN_VERSION_MAJOR 1
#define RRENSEN_VERSION_MINOR 1
#define RRENSEN_VERSION_PATCH 0
#define RRENSEN_VERSION_STRING "1.1.0"

#endif  // RRENSEN_VERSION_H_
