# Sources of the main window frame and the Input page.
target_sources(halovane_window PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/UMainForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UMainForm.h
  ${CMAKE_CURRENT_LIST_DIR}/InputPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputPage.h
  ${CMAKE_CURRENT_LIST_DIR}/UStringGrid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UStringGrid.h
  ${CMAKE_CURRENT_LIST_DIR}/UPanelKit.h
  ${CMAKE_CURRENT_LIST_DIR}/UInputWorkflow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunTask.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunTask.h
  ${CMAKE_CURRENT_LIST_DIR}/UGeneralPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UHydrPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/USoilPanels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/USaltPanels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UDrainCondPanels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DrainDesignBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DrainDesignBox.h
  ${CMAKE_CURRENT_LIST_DIR}/ScenarioDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScenarioDialog.h
  ${CMAKE_CURRENT_LIST_DIR}/UShowDataSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UGridHeadings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UGridHeadings.h
  ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.h
)
