# The fuzz targets: one table of parsers, replayed over the saved crashers and the seeds by a
# test in every build, and with NUMIVA_FUZZ (clang, every library compiled with
# -fsanitize=fuzzer-no-link) one libFuzzer program per target, fuzz_<name> (scripts/fuzz).
option(NUMIVA_FUZZ "Build one libFuzzer program per fuzz target (clang only)" OFF)
add_library(numiva_fuzz_targets STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzTargets.cpp ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzTargets.h)
set_target_properties(numiva_fuzz_targets PROPERTIES AUTOMOC OFF)
target_include_directories(numiva_fuzz_targets PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)
target_link_libraries(numiva_fuzz_targets PUBLIC numiva_core numiva_charts)

numiva_test(fuzz_replay_tests SOURCES fuzz/FuzzReplayTest.cpp LIBS numiva_fuzz_targets)
target_compile_definitions(fuzz_replay_tests PRIVATE NUMIVA_TESTS_DIR="${CMAKE_CURRENT_SOURCE_DIR}")

if(NUMIVA_FUZZ)
  file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/targets.txt fuzz_lines REGEX "^[a-z]")
  set(fuzz_programs)
  foreach(line IN LISTS fuzz_lines)
    string(REGEX MATCH "^[a-z0-9_]+" name "${line}")
    add_executable(fuzz_${name} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzMain.cpp)
    target_compile_definitions(fuzz_${name} PRIVATE NUMIVA_FUZZ_TARGET="${name}")
    target_link_libraries(fuzz_${name} PRIVATE numiva_fuzz_targets numiva_network)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(fuzz_${name} PROPERTIES AUTOMOC OFF)
    list(APPEND fuzz_programs fuzz_${name})
  endforeach()
  add_custom_target(fuzz_programs DEPENDS ${fuzz_programs})
endif()
