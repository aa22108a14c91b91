# Small helpers so that every folder declares its library and its tests the same way.

# bw_library(<name> SOURCES <files...> [DEPS <targets...>] [PRIVATE_DEPS <targets...>])
function(bw_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# bw_test(<name> SOURCES <files...> [DEPS <targets...>])
# Each test binary has its own working folder under the build tree, and each test case runs
# in a fresh folder of its own below it (tests/support/isolated_main.cpp), so tests that
# write files never meet each other.
function(bw_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} bw_test_main GTest::gmock)
  set(workdir ${CMAKE_CURRENT_BINARY_DIR}/${name}.work)
  file(MAKE_DIRECTORY ${workdir})
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${workdir}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()

# bw_debug_records(<target>): after every link, the program file gets its debug records
# (procedures, source lines, source files from its DWARF), which the crash reporter reads to
# name the procedure and line of each address in a report.
function(bw_debug_records target)
  add_dependencies(${target} boxwright_debug_records)
  # A new build of the tool links the program again, so its records are always the tool's.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS $<TARGET_FILE:boxwright_debug_records>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND boxwright_debug_records --source-root ${PROJECT_SOURCE_DIR} --objcopy ${CMAKE_OBJCOPY}
            $<TARGET_FILE:${target}>
    COMMENT "Writing the debug records of ${target}"
    VERBATIM)
endfunction()
