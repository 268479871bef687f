# Tests of the Output and Graphs pages.
find_package(Qt6 REQUIRED COMPONENTS Test)

# Scaling, graph drawing and table texts: no window needed.
add_executable(results_unit_tests
  test_graph_scale.cpp
  test_graph_drawing.cpp
  test_graph_files.cpp
  test_output_tables.cpp
  test_fit_graphs.cpp
)
target_link_libraries(results_unit_tests PRIVATE halovane_window halovane_warnings GTest::gtest_main)
gtest_discover_tests(results_unit_tests DISCOVERY_TIMEOUT 60 TEST_PREFIX "results."
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C")

# The pages on Qt's offscreen platform.
add_executable(gui_results_tests
  gui_main.cpp
  gui_results_output.cpp
  gui_results_graphs.cpp
  gui_results_figures.cpp
  gui_results_large.cpp
  gui_results_fit.cpp
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
