# The rules of the Input page that decide what is stored, and the cell texts
# of its grids: standard C++ only, built and tested also where Qt is missing.
add_library(halovane_input_rules STATIC
  ${CMAKE_CURRENT_LIST_DIR}/InputRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputRules.h
  ${CMAKE_CURRENT_LIST_DIR}/GridCells.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridCells.h
  ${CMAKE_CURRENT_LIST_DIR}/DrainDesignRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DrainDesignRules.h
)
target_include_directories(halovane_input_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(halovane_input_rules PUBLIC halovane_engine PRIVATE halovane_warnings)
