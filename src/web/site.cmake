# The WebAssembly module and the site (Emscripten builds only).
#
# rrensen.mjs + rrensen.wasm: the module as an ES module for the site;
# rrensen-single.mjs: the same with the WebAssembly inlined (SINGLE_FILE),
# from which make_site.py writes rrensen.html, a page that opens from disk.
set(rrensen_web_link_options
  -lembind
  -sMODULARIZE=1 -sEXPORT_ES6=1 -sEXPORT_NAME=createRrensenModule
  -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sFILESYSTEM=0
  -sINCOMING_MODULE_JS_API=[]
  # 10 MB of DXF keeps several copies and its tags in memory.
  -sINITIAL_MEMORY=33554432)

# Small before fast: the page downloads it, and the filleting is quick
# either way.
foreach(library rrensen_web_api rrensen_view_lib rrensen_dxf_lib rrensen_dxf_text rrensen_core
                rrensen_fillet_objects)
  target_compile_options(${library} PRIVATE -Oz)
endforeach()
list(APPEND rrensen_web_link_options -Oz)

add_executable(rrensen_web bindings.cc)
target_link_libraries(rrensen_web PRIVATE rrensen_web_api)
set_target_properties(rrensen_web PROPERTIES OUTPUT_NAME rrensen SUFFIX .mjs)
target_link_options(rrensen_web PRIVATE ${rrensen_web_link_options})

add_executable(rrensen_web_single bindings.cc)
target_link_libraries(rrensen_web_single PRIVATE rrensen_web_api)
set_target_properties(rrensen_web_single PROPERTIES OUTPUT_NAME rrensen-single SUFFIX .mjs)
target_link_options(rrensen_web_single PRIVATE ${rrensen_web_link_options} -sSINGLE_FILE=1)

# The site: build/web/site/ with the page, the module and the examples, and
# build/web/rrensen.html with all of it but the examples in one file.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB rrensen_page_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/*.html
     ${PROJECT_SOURCE_DIR}/web/*.js ${PROJECT_SOURCE_DIR}/web/*.css)
file(GLOB rrensen_example_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.txt
     ${PROJECT_SOURCE_DIR}/examples/*.dxf)
set(rrensen_site ${PROJECT_BINARY_DIR}/site)
add_custom_command(
  OUTPUT ${rrensen_site}/index.html ${PROJECT_BINARY_DIR}/rrensen.html
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/make_site.py
          --page ${PROJECT_SOURCE_DIR}/web
          --module $<TARGET_FILE:rrensen_web>
          --single-module $<TARGET_FILE:rrensen_web_single>
          --site ${rrensen_site}
          --single-file ${PROJECT_BINARY_DIR}/rrensen.html
          --version ${PROJECT_VERSION}
          ${rrensen_example_files}
  DEPENDS rrensen_web rrensen_web_single ${CMAKE_CURRENT_SOURCE_DIR}/make_site.py
          ${rrensen_page_files} ${rrensen_example_files}
  COMMENT "Laying out the site in ${rrensen_site} and writing rrensen.html"
  VERBATIM)
add_custom_target(rrensen_web_site ALL
  DEPENDS ${rrensen_site}/index.html ${PROJECT_BINARY_DIR}/rrensen.html)
