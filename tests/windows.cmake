# The tests of the Windows build (scripts/build-windows), run under wine with the label "wine".
# The build machine has no Windows Firebird client, so only the tests that need no database
# are built here, together with the Windows platform layer's own tests and the batch program
# run end to end without a client. The support library, which starts isql, is left out; the
# one helper of it those tests use comes from windows_support.cpp.
add_library(windows_test_support STATIC support/windows_support.cpp)
target_include_directories(windows_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_link_libraries(windows_test_support PUBLIC db GTest::gtest)

# windows_test(<name> <source> <libraries...>): a test program of this folder under wine.
function(windows_test name source)
  add_executable(${name} ${source} ${TAVLO_TEST_EXTRA_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARGN} windows_test_support)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300 LABELS wine ${TAVLO_TEST_PROPERTIES})
endfunction()

windows_test(parameter_blocks_test db/parameter_blocks_test.cpp db GTest::gtest_main)
windows_test(profile_file_test engine/common/profile_file_test.cpp engine_common Qt6::Core GTest::gtest_main)
windows_test(server_login_test engine/common/server_login_test.cpp engine_common Qt6::Core GTest::gtest_main)
windows_test(value_comparison_test engine/verify/value_comparison_test.cpp engine_verify GTest::gtest_main)
windows_test(batch_options_test app/batch_options_test.cpp batch_front_end GTest::gtest_main)
windows_test(terminal_progress_test app/terminal_progress_test.cpp batch_front_end GTest::gtest_main)

# The window's units inside a QApplication, on Qt's Windows platform itself: the build runs
# them under an X server (xvfb-run). Qt's offscreen platform does not deliver the paint events
# of a shown widget on Windows as it does on Linux.
set(TAVLO_TEST_EXTRA_SOURCES ui/qt_test_main.cpp)
set(TAVLO_TEST_PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=windows)
windows_test(message_boxes_test ui/message_boxes_test.cpp ui)
windows_test(progress_gauge_test ui/progress_gauge_test.cpp ui)
windows_test(outcome_view_test ui/outcome_view_test.cpp ui)
find_package(Qt6 QUIET COMPONENTS Test)
if(TARGET Qt6::Test)
  windows_test(filename_edit_test ui/filename_edit_test.cpp ui Qt6::Test)
endif()
foreach(name message_boxes_test progress_gauge_test outcome_view_test filename_edit_test)
  if(TARGET ${name})
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/ui)
  endif()
endforeach()
unset(TAVLO_TEST_EXTRA_SOURCES)
# Qt's own texts in Portuguese from the program folder's translations folder (qt.conf), as the
# zip ships them; the test has a main of its own.
windows_test(translations_test ui/translations_test.cpp ui)
unset(TAVLO_TEST_PROPERTIES)

add_subdirectory(platform/windows)
