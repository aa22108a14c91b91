# Small helpers so that every folder declares its library and its tests the same way.

# The product's layers from the bottom up; folders in one entry stand side by side and never
# include each other. A folder may include its own headers and those of the layers below it.
# tests/structure holds every #include of the tree to this table.
set(BW_LAYERS
  "platform/codepages"
  "platform/win"
  "platform/rt"
  "platform/midi platform/framework platform/qt"
  "platform/harness"
  "textrope toolkit"
  "links"
  "crash"
  "app")
# The same folders one by one, bottom up: the order the build adds them in.
string(REPLACE " " ";" BW_FOLDERS "${BW_LAYERS}")

# Each product folder compiles against a folder of its own in the build tree that links to
# just the folders it may use, so an include from a layer above does not compile. Paths of
# headers reached that way are written as the source's own into debug records and __FILE__.
# Made afresh at each configure, so a folder taken off a layer's list is gone from its view
# (removing the links never touches the folders they point to).
file(REMOVE_RECURSE ${PROJECT_BINARY_DIR}/layers)
set(_below "")
foreach(layer IN LISTS BW_LAYERS)
  string(REPLACE " " ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(view ${PROJECT_BINARY_DIR}/layers/${folder})
    foreach(allowed IN LISTS _below folder)
      get_filename_component(parent ${view}/${allowed} DIRECTORY)
      file(MAKE_DIRECTORY ${parent})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${allowed} ${view}/${allowed} SYMBOLIC)
    endforeach()
    add_compile_options(-ffile-prefix-map=${view}=${PROJECT_SOURCE_DIR})
  endforeach()
  list(APPEND _below ${folders})
endforeach()

# bw_library(<name> SOURCES <files...> [DEPS <targets...>] [PRIVATE_DEPS <targets...>])
function(bw_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT IS_DIRECTORY ${PROJECT_BINARY_DIR}/layers/${folder})
    message(FATAL_ERROR "${folder} is not in BW_LAYERS (cmake/Boxwright.cmake)")
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_BINARY_DIR}/layers/${folder})
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
# name the procedure and line of each address in a report. The program carries a build id,
# by which the reporter knows its file for the running image's own.
function(bw_debug_records target)
  add_dependencies(${target} boxwright_debug_records)
  target_link_options(${target} PRIVATE -Wl,--build-id)
  # A new build of the tool links the program again, so its records are always the tool's.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS $<TARGET_FILE:boxwright_debug_records>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND boxwright_debug_records --source-root ${PROJECT_SOURCE_DIR} --objcopy ${CMAKE_OBJCOPY}
            $<TARGET_FILE:${target}>
    COMMENT "Writing the debug records of ${target}"
    VERBATIM)
endfunction()
