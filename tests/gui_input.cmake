# GUI tests of the main window and the Input page, on Qt's offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(gui_input_tests
  gui_main.cpp
  gui_input_workflow.cpp
  gui_input_grids.cpp
  gui_input_checks.cpp
  gui_input_fit_report.cpp
  gui_input_entries.cpp
  gui_input_run.cpp
  gui_input_drain_design.cpp
  gui_input_document.cpp
  gui_input_scenarios.cpp
  InputPageFixture.h
  TestDialogs.h
)
target_include_directories(gui_input_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(gui_input_tests PRIVATE halovane_window halovane_warnings Qt6::Test GTest::gtest)
target_compile_definitions(gui_input_tests PRIVATE HALOVANE_CASES="${CMAKE_CURRENT_SOURCE_DIR}/cases"
                                                   HALOVANE_EXAMPLES="${PROJECT_SOURCE_DIR}/examples"
                                                   HALOVANE_TEST_DATA="${HALOVANE_TEST_DATA}")
gtest_discover_tests(gui_input_tests DISCOVERY_TIMEOUT 60 TEST_PREFIX "gui_input."
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C")

# The program itself under a real X server.
if(TARGET halovane)
  add_test(NAME gui_start_under_xvfb COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/start_under_xvfb.sh $<TARGET_FILE:halovane>)
  set_tests_properties(gui_start_under_xvfb PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 30)
  # Closing both windows ends the process: the windows are closed from
  # outside, as a window manager's close button does.
  find_package(X11)
  if(X11_FOUND)
    add_executable(x_close_window x_close_window.cpp)
    target_link_libraries(x_close_window PRIVATE X11::X11)
    add_test(NAME gui_program_ends_when_closed
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/close_program.sh $<TARGET_FILE:halovane> $<TARGET_FILE:x_close_window>)
    set_tests_properties(gui_program_ends_when_closed PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 30)
  endif()
endif()
