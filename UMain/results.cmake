# Sources of the Output and Graphs pages.
target_sources(halovane_window PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ResultsPages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultsPages.h
  ${CMAKE_CURRENT_LIST_DIR}/OutputResults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutputResults.h
  ${CMAKE_CURRENT_LIST_DIR}/OutputGridModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutputGridModel.h
  ${CMAKE_CURRENT_LIST_DIR}/OutputPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutputPage.h
  ${CMAKE_CURRENT_LIST_DIR}/GraphsPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphsPage.h
  ${CMAKE_CURRENT_LIST_DIR}/GraphView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphView.h
  ${CMAKE_CURRENT_LIST_DIR}/FitReportView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FitReportView.h
)
target_link_libraries(halovane_window PUBLIC halovane_graphs halovane_figures)

# Pictures of the Output and Graphs pages for the README, made offscreen:
#   halovane-screenshots FOLDER [INPUT.inp]
add_executable(halovane-screenshots ${CMAKE_CURRENT_LIST_DIR}/OutputScreenshots.cpp)
target_link_libraries(halovane-screenshots PRIVATE halovane_window halovane_warnings)
target_compile_definitions(halovane-screenshots PRIVATE HALOVANE_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
