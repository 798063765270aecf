# tarnwick_add_test(NAME name SOURCES ... LIBS ... [QT])
# One GoogleTest executable; each test case becomes a CTest test at test time.
# QT marks a test that needs a (offscreen) display.
include(GoogleTest)
find_package(GTest REQUIRED)

function(tarnwick_add_test)
  cmake_parse_arguments(T "QT" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_QT)
    # Widget tests run inside a QApplication.
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} tarnwick_qt_test_main GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${T_NAME} PRIVATE
    TARNWICK_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TARNWICK_BIN_DIR="${TARNWICK_BIN_DIR}")
  set(env "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0" "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  if(T_QT)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${env}")
endfunction()
