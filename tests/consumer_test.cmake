# Builds the consumer project (tests/consumer) against an installed copy of
# the filleting library only, in a fresh prefix, and runs it:
#
#   MODE=static     the project's own build (BUILD_DIR) installed, the
#                   consumer found through find_package(rrensen)
#   MODE=shared     the library alone built again with BUILD_SHARED_LIBS=ON
#                   and installed; the same consumer through find_package,
#                   and what the shared library exports
#   MODE=pkgconfig  BUILD_DIR installed, the consumer compiled with one
#                   compiler command and `pkg-config --cflags --libs rrensen`
#
# Other variables: SOURCE_DIR (the project), TOOL (the built rrensen, whose
# --version the consumer must match), CXX_COMPILER, GENERATOR, LIBDIR (the
# install's library folder), NM and OBJDUMP (binutils, for the shared
# library's symbols and soname), WERROR.
set(work "${BUILD_DIR}/consumer-test/${MODE}")
set(prefix "${work}/prefix")
file(REMOVE_RECURSE "${work}")

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGV}")
  endif()
endfunction()

# Runs "$@" and puts its standard output in `out`.
function(run_for out)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE text
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(require condition_text)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${condition_text}")
  endif()
endfunction()

run_for(tool_says "${TOOL}" --version)
if(NOT tool_says MATCHES "^rrensen ([0-9]+\\.[0-9]+\\.[0-9]+)$")
  message(FATAL_ERROR "rrensen --version said \"${tool_says}\"")
endif()
set(version "${CMAKE_MATCH_1}")

# Configures, builds and runs tests/consumer against the prefix.
function(build_and_run_consumer linkage)
  run(${CMAKE_COMMAND} -S "${SOURCE_DIR}/tests/consumer" -B "${work}/build" -G "${GENERATOR}"
      -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_PREFIX_PATH=${prefix}
      -DCMAKE_BUILD_TYPE=Release)
  run(${CMAKE_COMMAND} --build "${work}/build")
  run("${work}/build/consumer" "${version}" ${linkage})
endfunction()

if(MODE STREQUAL "static")
  run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
  require("no static library installed" EXISTS "${prefix}/${LIBDIR}/librrensen.a")
  build_and_run_consumer(static)

elseif(MODE STREQUAL "shared")
  # The library's own build tree is kept from run to run, so that only what
  # changed is compiled again.
  set(library_build "${BUILD_DIR}/consumer-test/shared-library")
  run(${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${library_build}" -G "${GENERATOR}"
      -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_BUILD_TYPE=Release
      -DBUILD_SHARED_LIBS=ON -DRRENSEN_TESTS=OFF -DRRENSEN_WERROR=${WERROR})
  run(${CMAKE_COMMAND} --build "${library_build}" --target rrensen_library --parallel 2)
  run(${CMAKE_COMMAND} --install "${library_build}" --prefix "${prefix}" --component library)
  run(${CMAKE_COMMAND} --install "${library_build}" --prefix "${prefix}"
      --component development)

  set(lib "${prefix}/${LIBDIR}")
  string(REGEX MATCH "^[0-9]+" major "${version}")
  require("librrensen.so.${version} not installed" EXISTS "${lib}/librrensen.so.${version}")
  require("librrensen.so.${major} is not a link" IS_SYMLINK "${lib}/librrensen.so.${major}")
  require("librrensen.so is not a link" IS_SYMLINK "${lib}/librrensen.so")
  require("a static library was installed too" NOT EXISTS "${lib}/librrensen.a")
  require("the tool was installed with the library" NOT EXISTS "${prefix}/bin/rrensen")

  run_for(headers "${OBJDUMP}" -p "${lib}/librrensen.so.${version}")
  require("the soname is not librrensen.so.${major}"
          headers MATCHES "SONAME +librrensen\\.so\\.${major}\n")

  # The library exports the functions the headers mark RRENSEN_API and
  # nothing else: no internal function, no instance of a standard template.
  set(api_names "")
  file(GLOB headers "${SOURCE_DIR}/include/rrensen/*.h")
  foreach(header IN LISTS headers)
    file(STRINGS "${header}" declarations REGEX "^RRENSEN_API ")
    foreach(declaration IN LISTS declarations)
      string(REGEX MATCH "([A-Za-z_][A-Za-z_0-9]*)\\(" name "${declaration}")
      list(APPEND api_names "${CMAKE_MATCH_1}")
    endforeach()
  endforeach()
  list(LENGTH api_names api_count)
  list(REMOVE_DUPLICATES api_names)
  string(REPLACE ";" "|" api_pattern "${api_names}")
  run_for(exported "${NM}" -D -C --defined-only "${lib}/librrensen.so.${version}")
  string(REPLACE "\n" ";" exported "${exported}")
  set(api_functions 0)
  foreach(symbol IN LISTS exported)
    if(symbol MATCHES
       " T rrensen::v1::(${api_pattern})(\\[abi:cxx11\\])?\\(")
      math(EXPR api_functions "${api_functions} + 1")
    else()
      message(FATAL_ERROR "exported, and not marked RRENSEN_API: ${symbol}")
    endif()
  endforeach()
  require("exports ${api_functions} of the ${api_count} functions of the headers"
          api_functions EQUAL api_count)

  file(READ "${lib}/pkgconfig/rrensen.pc" pc)
  require("rrensen.pc for the shared library lacks -DRRENSEN_SHARED"
          pc MATCHES "\nCflags: [^\n]* -DRRENSEN_SHARED")
  build_and_run_consumer(shared)

elseif(MODE STREQUAL "pkgconfig")
  find_program(pkg_config NAMES pkg-config pkgconf)
  if(NOT pkg_config)
    message("pkg-config is not installed: the pkg-config build is skipped "
            "(apt-get install pkg-config)")
    return()
  endif()
  run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
  set(ENV{PKG_CONFIG_PATH} "${prefix}/${LIBDIR}/pkgconfig")
  run_for(pc_version "${pkg_config}" --modversion rrensen)
  require("pkg-config says version ${pc_version}, the tool ${version}"
          pc_version STREQUAL version)
  run_for(flags "${pkg_config}" --cflags --libs rrensen)
  message("pkg-config --cflags --libs rrensen: ${flags}")
  separate_arguments(flags UNIX_COMMAND "${flags}")
  file(MAKE_DIRECTORY "${work}/build")
  run("${CXX_COMPILER}" -std=c++17 -O2 "${SOURCE_DIR}/tests/consumer/consumer.cc" ${flags}
      -o "${work}/build/consumer")
  run("${work}/build/consumer" "${version}" static)

else()
  message(FATAL_ERROR "MODE must be static, shared or pkgconfig, not \"${MODE}\"")
endif()
