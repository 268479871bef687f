# Tests of the Output and Graphs pages.
find_package(Qt6 REQUIRED COMPONENTS Test)

# The pages on Qt's offscreen platform.
add_executable(gui_results_tests
  gui_main.cpp
  gui_results_output.cpp
  gui_results_graphs.cpp
  gui_results_figures.cpp
  gui_results_large.cpp
  gui_results_fit.cpp
  gui_results_balance.cpp
  ResultsPagesFixture.h
  TestDialogs.h
  FigureChecks.h
)
target_include_directories(gui_results_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(gui_results_tests PRIVATE halovane_window halovane_warnings Qt6::Test GTest::gtest)
target_compile_definitions(gui_results_tests PRIVATE HALOVANE_CASES="${CMAKE_CURRENT_SOURCE_DIR}/cases"
                                                     HALOVANE_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
gtest_discover_tests(gui_results_tests DISCOVERY_TIMEOUT 60 TEST_PREFIX "gui_results."
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C")

# The pictures of the README are made by this command; it must keep working.
add_test(NAME gui_results.screenshots COMMAND halovane-screenshots ${CMAKE_CURRENT_BINARY_DIR}/screenshots)
set_tests_properties(gui_results.screenshots PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C")

# Every text whole: at screen scales 1 and 2 on a screen of 1366 x 900.
add_executable(gui_text_fit_tests gui_main.cpp gui_text_fit.cpp TextFit.h TestDialogs.h)
target_include_directories(gui_text_fit_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(gui_text_fit_tests PRIVATE halovane_shell halovane_window halovane_warnings Qt6::Test GTest::gtest)
target_compile_definitions(gui_text_fit_tests PRIVATE HALOVANE_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
foreach(scale 1 2)
  add_test(NAME gui_results.text_fit_scale_${scale} COMMAND gui_text_fit_tests)
  set_tests_properties(gui_results.text_fit_scale_${scale} PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/data/screen-1366x900.json;LC_ALL=C;QT_SCALE_FACTOR=${scale}")
endforeach()
