# Folder conventions, so that adding a file never needs a CMake edit:
#   tests/<area>/*.cpp  -> one GoogleTest executable test_<area>
#   tools/<name>/*.cpp  -> one executable vantrel_<name>
#   bench/*.cpp         -> one Google Benchmark executable each
#   fuzz/*.cpp          -> one libFuzzer executable each (VANTREL_FUZZ only)
include(GoogleTest)

# One static library vantrel_<layer> per "layer: lower lower ..." entry, of every .cpp file in the
# layer's folder and its subfolders, linking the lower layers given. The platform library exists
# before. A layer without sources yet is still a library, so that its first file needs no CMake edit.
# The include check fails the build on an upward include. It runs beside the compiling, only when a
# source or header of a layer (or the layer list) changed, and leaves a stamp; nothing waits for it, so
# a build with nothing changed does not run it at all.
function(vantrel_add_layers layers)
  set(checked ${CMAKE_SOURCE_DIR}/CMakeLists.txt ${CMAKE_SOURCE_DIR}/scripts/check-layers.sh)
  foreach(entry "platform:" ${layers})
    string(REGEX REPLACE ":.*" "" layer "${entry}")
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer}/*.cpp ${CMAKE_SOURCE_DIR}/${layer}/*.h)
    list(APPEND checked ${files})
  endforeach()
  set(stamp ${CMAKE_BINARY_DIR}/layers-checked.stamp)
  add_custom_command(OUTPUT ${stamp}
                     COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-layers.sh
                     COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
                     DEPENDS ${checked}
                     WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                     COMMENT "Checking that no include climbs a layer"
                     VERBATIM)
  add_custom_target(vantrel_layer_check ALL DEPENDS ${stamp})
  foreach(entry ${layers})
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 layer)
    list(GET parts 1 lower)
    string(STRIP "${lower}" lower)
    separate_arguments(lower)
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer}/*.cpp)
    list(FILTER srcs EXCLUDE REGEX "/app/Main\\.cpp$")
    add_library(vantrel_${layer} STATIC ${srcs} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
    target_include_directories(vantrel_${layer} PUBLIC ${CMAKE_SOURCE_DIR})
    foreach(below ${lower})
      target_link_libraries(vantrel_${layer} PUBLIC vantrel_${below})
    endforeach()
  endforeach()
endfunction()

# Test sources are two thirds of the compile time, most of it spent reading the test framework and the
# standard library again for every file: they are precompiled once (vantrel_test_pch) and every test
# executable reuses that header. Tests keep line tables only (enough for a backtrace and a debugger's
# stepping), not full debug information.
function(vantrel_test_build_options target)
  target_compile_definitions(${target} PRIVATE
      VANTREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VANTREL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(NOT VANTREL_FULL_TEST_DEBUG_INFO AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -g1)
  endif()
  # Through a precompiled header GCC 12 no longer hides its known false out-of-bounds and overflow
  # warnings on string concatenation inside the standard library's own headers.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow)
  endif()
endfunction()

function(vantrel_add_test_pch)
  add_library(vantrel_test_pch OBJECT ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  target_link_libraries(vantrel_test_pch PRIVATE vantrel_game GTest::gtest)
  vantrel_test_build_options(vantrel_test_pch)
  target_precompile_headers(vantrel_test_pch PRIVATE
      <gtest/gtest.h> <algorithm> <cstdint> <cstring> <functional> <map> <memory> <set> <string> <vector>)
endfunction()

function(vantrel_add_test_dirs)
  vantrel_add_test_pch()
  file(GLOB areas LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/*)
  foreach(dir ${areas})
    if(IS_DIRECTORY ${dir})
      get_filename_component(area ${dir} NAME)
      file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
      if(srcs AND NOT area STREQUAL "support" AND NOT area STREQUAL "golden")
        add_executable(test_${area} ${srcs})
        target_link_libraries(test_${area} PRIVATE vantrel_game vantrel_platform_sdl vantrel_builder
                              vantrel_test_support GTest::gtest GTest::gtest_main GTest::gmock)
        vantrel_test_build_options(test_${area})
        target_precompile_headers(test_${area} REUSE_FROM vantrel_test_pch)
        # The tests' saved games live in the build folder, never in the player's own: a player's
        # automatic save would otherwise be offered in the middle of a menu test.
        gtest_discover_tests(test_${area} DISCOVERY_TIMEOUT 60
                             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                             PROPERTIES LABELS ${area}
                                        ENVIRONMENT "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-home/data")
      endif()
    endif()
  endforeach()
endfunction()

function(vantrel_add_tool_dirs)
  # Test helpers shared by every test executable (golden images, temp folders).
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  add_library(vantrel_test_support STATIC ${support} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(vantrel_test_support PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(vantrel_test_support PUBLIC vantrel_game vantrel_platform PNG::PNG GTest::gtest)
  target_compile_definitions(vantrel_test_support PRIVATE
      VANTREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VANTREL_BINARY_DIR="${CMAKE_BINARY_DIR}")

  # The content builder's writers and the script assembler's core, compiled once into a library that
  # the builder and assembler tools, the tests and the benchmarks link: the tests build their records
  # and worlds with the very code that writes the game's databases. A tool's own folder keeps only its
  # Main.cpp (and whatever else is not in the library).
  file(GLOB_RECURSE builder_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/content/*.cpp)
  list(FILTER builder_srcs EXCLUDE REGEX "/tools/content/Main\\.cpp$")
  list(APPEND builder_srcs ${CMAKE_SOURCE_DIR}/tools/scriptasm/ScriptAssembler.cpp)
  add_library(vantrel_builder STATIC ${builder_srcs})
  target_include_directories(vantrel_builder PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(vantrel_builder PUBLIC vantrel_game vantrel_platform PNG::PNG Freetype::Freetype)

  file(GLOB tools LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
  foreach(dir ${tools})
    if(IS_DIRECTORY ${dir})
      get_filename_component(name ${dir} NAME)
      file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
      list(REMOVE_ITEM srcs ${builder_srcs})
      if(srcs)
        add_executable(vantrel_${name} ${srcs})
        target_link_libraries(vantrel_${name} PRIVATE vantrel_builder vantrel_game vantrel_platform
                              PNG::PNG Freetype::Freetype)
        set_target_properties(vantrel_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
      endif()
    endif()
  endforeach()
endfunction()

function(vantrel_add_benchmarks)
  if(NOT benchmark_FOUND)
    return()
  endif()
  file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  foreach(src ${benches})
    get_filename_component(name ${src} NAME_WE)
    add_executable(bench_${name} ${src})
    target_link_libraries(bench_${name} PRIVATE vantrel_game vantrel_platform vantrel_builder
                          benchmark::benchmark)
    target_compile_definitions(bench_${name} PRIVATE VANTREL_BINARY_DIR="${CMAKE_BINARY_DIR}")
    set_target_properties(bench_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  endforeach()
endfunction()

function(vantrel_add_fuzzers)
  if(NOT VANTREL_FUZZ)
    return()
  endif()
  file(GLOB fuzzers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
  foreach(src ${fuzzers})
    get_filename_component(name ${src} NAME_WE)
    add_executable(fuzz_${name} ${src})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_${name} PRIVATE vantrel_game vantrel_platform)
    set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  endforeach()
endfunction()

# The interface database and the four world databases, written by the content builder beside the
# game's executable. The game and
# every test executable depend on it, so a build always leaves a current VantrelData.pdb in the
# binary folder.
function(vantrel_add_databases)
  if(NOT TARGET vantrel_content)
    return()
  endif()
  set(db ${CMAKE_BINARY_DIR}/VantrelData.pdb)
  set(worlds ${CMAKE_BINARY_DIR}/VantrelMusic.pdb ${CMAKE_BINARY_DIR}/VantrelSound.pdb
             ${CMAKE_BINARY_DIR}/VantrelRes.pdb ${CMAKE_BINARY_DIR}/VantrelBase.pdb
             ${CMAKE_BINARY_DIR}/VantrelEmber.pdb)
  add_custom_command(OUTPUT ${db} ${worlds}
                     COMMAND vantrel_content --out ${CMAKE_BINARY_DIR}
                     DEPENDS vantrel_content
                     COMMENT "Writing the interface database and the world databases")
  add_custom_target(vantrel_databases ALL DEPENDS ${db} ${worlds})
  if(TARGET vantrel)
    add_dependencies(vantrel vantrel_databases)
  endif()
  foreach(bench bench_world_load bench_game_frame)
    if(TARGET ${bench})
      add_dependencies(${bench} vantrel_databases)
    endif()
  endforeach()
  file(GLOB areas LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/*)
  foreach(dir ${areas})
    get_filename_component(area ${dir} NAME)
    if(TARGET test_${area})
      add_dependencies(test_${area} vantrel_databases)
    endif()
  endforeach()
endfunction()
