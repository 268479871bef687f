# Sources of the Output and Graphs pages.
target_sources(halovane_window PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ResultsPages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultsPages.h
)
