# Each folder of a library is one "layer": an object library (position-independent,
# hidden visibility). The shared library is made of the objects of all its layers,
# so only the symbols marked with the library's export macro leave it. Tests link
# the objects of the layer they exercise and of the layers below it: a layer's tests
# build and run without the layers above it.

# quill_layer(<library> <folder> [DEPENDS <layer targets>...] [LIBS <other libs>...])
# creates the target <library>_<folder> from every .cpp in the folder.
function(quill_layer library folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS;LIBS" ${ARGN})
  set(target ${library}_${folder})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    # A folder without sources yet still takes part in the dependency graph.
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty_layer.cpp)
  endif()
  add_library(${target} OBJECT ${sources})
  string(TOUPPER ${library} upper)
  target_compile_definitions(${target} PRIVATE ${upper}_BUILDING)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS} ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY ${library}_LAYERS ${target})
  # Remember the layer with everything below it, for linking tests.
  set(closure ${target})
  foreach(dep ${ARG_DEPENDS})
    get_property(below GLOBAL PROPERTY ${dep}_CLOSURE)
    list(APPEND closure ${below})
  endforeach()
  list(REMOVE_DUPLICATES closure)
  set_property(GLOBAL PROPERTY ${target}_CLOSURE ${closure})
endfunction()

# The objects of `layer` and of every layer below it.
function(quill_layer_closure layer out)
  get_property(closure GLOBAL PROPERTY ${layer}_CLOSURE)
  set(${out} ${closure} PARENT_SCOPE)
endfunction()

# quill_test_folder(<name> <folder> LINK <targets>...) builds one GoogleTest program
# from tests/<folder>/*.cpp and registers its tests with CTest.
function(quill_test_folder name folder)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(objects)
  foreach(layer ${ARG_LINK})
    quill_layer_closure(${layer} closure)
    list(APPEND objects ${closure})
  endforeach()
  list(REMOVE_DUPLICATES objects)
  target_link_libraries(${name} PRIVATE ${objects} GTest::gtest GTest::gmock quill_test_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${folder})
endfunction()
