# Test registration shared by both builds.
#
# Host build: test programs run natively.
# Windows build: CMake runs them through the Wine wrapper (the cross-compiling
# emulator); every such test needs the "wine" fixture, which sets up a
# throw-away prefix and a headless display first and tears them down last.

if(WIN32 AND CMAKE_CROSSCOMPILING)
  # Each build has a rig of its own: a prefix of its architecture, never
  # shared with the other build's.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QV_WINE_ARCH win64)
  else()
    set(QV_WINE_ARCH win32)
  endif()
  set(QV_WINE_STATE ${CMAKE_BINARY_DIR}/wine-rig)
  add_test(NAME wine_rig_setup
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine/setup.sh ${QV_WINE_STATE} ${QV_WINE_ARCH})
  set_tests_properties(wine_rig_setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
  add_test(NAME wine_rig_cleanup
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine/cleanup.sh ${QV_WINE_STATE})
  set_tests_properties(wine_rig_cleanup PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
endif()

# qv_add_test(NAME target [ARGS ...] [TIMEOUT s] [RUN_SERIAL] [LABELS ...])
# Label "portable": the program tests only code the host build also compiles
# and tests (natively, 64-bit, with and without sanitizers).
function(qv_add_test name target)
  cmake_parse_arguments(T "RUN_SERIAL" "TIMEOUT" "ARGS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${target} ${T_ARGS})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine
                         ENVIRONMENT "QV_WINE_STATE=${QV_WINE_STATE}")
  endif()
  if(T_RUN_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL ON)
  endif()
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# A GoogleTest program built from the given sources, linked with the libraries
# named after LIBS.
function(qv_gtest target)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  target_compile_options(${target} PRIVATE ${QV_WARNINGS})
  target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
endfunction()
