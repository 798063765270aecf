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
  # The sanitizer settings are compiled in, and the widget tests' main picks the offscreen
  # platform, so a test program behaves the same under ctest and when run by hand.
  target_link_libraries(${T_NAME} PRIVATE tarnwick_sanitizer_defaults)
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()
