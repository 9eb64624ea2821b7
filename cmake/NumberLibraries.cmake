# Number text: header-only {fmt} (Debian's libfmt-dev) writes doubles and
# fast_float (libfast-float-dev) reads them, one code path on every
# platform; the WebAssembly build's C++ library has no floating-point
# std::to_chars or std::from_chars.
#
# The headers are copied into a folder of the build tree that holds only
# fmt/ and fast_float/, so that a cross compiler (mingw-w64, emcc) finds them
# without being pointed at the host's /usr/include, whose other headers are
# not for it.
find_path(RRENSEN_FMT_INCLUDE_DIR fmt/format.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          DOC "folder holding {fmt}'s headers (Debian: libfmt-dev)")
find_path(RRENSEN_FAST_FLOAT_INCLUDE_DIR fast_float/fast_float.h PATHS /usr/include
          NO_CMAKE_FIND_ROOT_PATH DOC "folder holding fast_float's headers (Debian: libfast-float-dev)")
if(NOT RRENSEN_FMT_INCLUDE_DIR OR NOT RRENSEN_FAST_FLOAT_INCLUDE_DIR)
  message(FATAL_ERROR "rrensen needs the headers of {fmt} and fast_float: "
                      "sudo apt-get install libfmt-dev libfast-float-dev")
endif()
set(RRENSEN_NUMBER_INCLUDE_DIR ${PROJECT_BINARY_DIR}/number-libraries/include)
file(COPY ${RRENSEN_FMT_INCLUDE_DIR}/fmt ${RRENSEN_FAST_FLOAT_INCLUDE_DIR}/fast_float
     DESTINATION ${RRENSEN_NUMBER_INCLUDE_DIR})

# Lets `target` include <fmt/format.h> (header-only) and
# <fast_float/fast_float.h>; as system headers, so that the project's
# warnings are not applied to them. FMT_STATIC_THOUSANDS_SEPARATOR keeps
# {fmt} away from std::locale: the project never formats with a locale
# ("L"), and the locale's facets were a quarter of the WebAssembly module.
# FMT_USE_FULL_CACHE_DRAGONBOX gives Dragonbox, which finds the shortest
# digits of a double, its whole table of powers of ten (10 KB) rather than
# every 27th, rebuilt by multiplying at each call: the same digits, found in
# little more than half the time. Every target that includes {fmt} must set
# it alike, or one program would have two different copies of the same
# inline functions.
function(rrensen_use_number_libraries target)
  target_include_directories(${target} SYSTEM PRIVATE ${RRENSEN_NUMBER_INCLUDE_DIR})
  target_compile_definitions(${target} PRIVATE FMT_HEADER_ONLY FMT_STATIC_THOUSANDS_SEPARATOR=0
                                               FMT_USE_FULL_CACHE_DRAGONBOX=1)
endfunction()
