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
  ${CMAKE_CURRENT_LIST_DIR}/GraphSaveTypes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphSaveTypes.h
  ${CMAKE_CURRENT_LIST_DIR}/GraphView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphView.h
  ${CMAKE_CURRENT_LIST_DIR}/FitReportView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FitReportView.h
  ${CMAKE_CURRENT_LIST_DIR}/BalanceView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BalanceView.h
)
target_link_libraries(halovane_window PUBLIC halovane_graphs halovane_figures)
