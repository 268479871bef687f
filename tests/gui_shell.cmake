# Tests of the static pages, the drainage explanation window and the closing
# window, on Qt's offscreen platform.
add_executable(gui_shell_tests
  ${CMAKE_CURRENT_LIST_DIR}/gui_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gui_shell_texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gui_shell_pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gui_shell_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gui_shell_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gui_shell_placement.cpp
)
target_include_directories(gui_shell_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gui_shell_tests PRIVATE halovane_shell halovane_warnings GTest::gtest)
gtest_discover_tests(gui_shell_tests DISCOVERY_TIMEOUT 60 TEST_PREFIX "gui_shell."
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C")

# The pages and windows again on a screen of 1366 x 900 pixels scaled to
# 125 % and 200 % (683 x 450 at 200 %).
foreach(scale 1.25 2)
  string(REPLACE "." "_" suffix ${scale})
  add_test(NAME gui_shell.scaled_${suffix}
           COMMAND gui_shell_tests --gtest_filter=ShellPages*:ShellWindows*:ShellPictures*:ShellPlacement*)
  set_tests_properties(gui_shell.scaled_${suffix} PROPERTIES
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_LIST_DIR}/data/screen-1366x900.json;LC_ALL=C;QT_SCALE_FACTOR=${scale}")
endforeach()
