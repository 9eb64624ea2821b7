# Installs the project from BUILD_DIR into a fresh prefix, then configures,
# builds and runs the consumer project against that installed copy only.
set(work "${BUILD_DIR}/consumer-test")
file(REMOVE_RECURSE "${work}")
function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGV}")
  endif()
endfunction()
run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${work}/prefix")
run(${CMAKE_COMMAND} -S "${SOURCE_DIR}/tests/consumer" -B "${work}/build"
    -DCMAKE_PREFIX_PATH=${work}/prefix -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build "${work}/build")
run("${work}/build/consumer")
