# One convention for every module directory, so that adding a file needs no build edit:
#   carelog_module(NAME [DEPS lib...])
#     - every *.cpp of the directory except *_test.cpp, *_fuzz.cpp and *_main.cpp forms the
#       static library carelog_NAME (an INTERFACE library when there are none);
#     - every *_test.cpp forms one GoogleTest executable NAME_tests, registered with CTest;
#     - every *_fuzz.cpp forms a libFuzzer target fuzz_<file> (fuzz configuration only),
#       registered as a short CTest run over the corpus directory fuzz/<file>/ when present.
#   carelog_executable(NAME SOURCES file... [DEPS lib...]) for programs and tools.

# Every fuzz target under ctest tries a fixed number of inputs from a fixed seed over its
# checked-in corpus fuzz/<file>/, so the verdict is the same on any machine. Longer, random
# exploration is scripts/fuzz-explore.sh.
set(CARELOG_FUZZ_RUNS 10000 CACHE STRING "Inputs each fuzz target tries under ctest")
set(CARELOG_FUZZ_SEED 1 CACHE STRING "libFuzzer seed of the ctest runs")

function(carelog_module name)
  cmake_parse_arguments(M "" "" "DEPS" ${ARGN})
  file(GLOB all_src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(lib_src)
  set(test_src)
  set(fuzz_src)
  foreach(f ${all_src})
    if(f MATCHES "_test\\.cpp$")
      list(APPEND test_src ${f})
    elseif(f MATCHES "_fuzz\\.cpp$")
      list(APPEND fuzz_src ${f})
    elseif(NOT f MATCHES "_main\\.cpp$")
      list(APPEND lib_src ${f})
    endif()
  endforeach()

  set(lib carelog_${name})
  if(lib_src)
    if(CARELOG_FUZZ)
      # The fuzz configuration builds only what some fuzz target needs.
      add_library(${lib} STATIC EXCLUDE_FROM_ALL ${lib_src})
    else()
      add_library(${lib} STATIC ${lib_src})
    endif()
    target_include_directories(${lib} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${lib} PUBLIC ${M_DEPS})
  else()
    add_library(${lib} INTERFACE)
    target_include_directories(${lib} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${lib} INTERFACE ${M_DEPS})
  endif()

  if(CARELOG_FUZZ)
    foreach(f ${fuzz_src})
      get_filename_component(stem ${f} NAME_WE)
      set(target fuzz_${stem})
      add_executable(${target} ${f})
      target_link_libraries(${target} PRIVATE ${lib})
      target_link_options(${target} PRIVATE -fsanitize=fuzzer)
      add_test(NAME ${target}
               COMMAND ${CMAKE_SOURCE_DIR}/cmake/fuzz_run.sh $<TARGET_FILE:${target}>
                       ${CMAKE_BINARY_DIR}/fuzz-work/${stem} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${stem}
                       ${CARELOG_FUZZ_RUNS} ${CARELOG_FUZZ_SEED})
    endforeach()
  elseif(test_src)
    add_executable(${name}_tests ${test_src})
    target_link_libraries(${name}_tests PRIVATE ${lib} GTest::gtest_main GTest::gmock)
    # Tests find their data beside their sources whatever the compiler makes of __FILE__.
    target_compile_definitions(${name}_tests
                               PRIVATE CARELOG_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
    gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST
                         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} PROPERTIES TIMEOUT 600)
  endif()
endfunction()

function(carelog_executable name)
  cmake_parse_arguments(E "" "" "SOURCES;DEPS" ${ARGN})
  if(CARELOG_FUZZ)
    return()
  endif()
  add_executable(${name} ${E_SOURCES})
  target_link_libraries(${name} PRIVATE ${E_DEPS})
endfunction()
