# Runs one golden case with the runner of this build (through EMULATOR, e.g.
# Wine) and with the runner of a native build, and requires the output files
# to be the same byte for byte, line ends included:
#   cmake -DEMULATOR=wine -DCLI=cross.exe -DNATIVE=native -DCASE=folder
#         -DWORK=folder -P SameAsNative.cmake
# The case is run twice: answering no to both questions, and as its
# answers.txt says; each time the CSV file is written too.
file(STRINGS "${CASE}/answers.txt" answers)
set(answered "")
foreach(line ${answers})
  if(line MATCHES "^(refine|optimise) yes")
    list(APPEND answered --${CMAKE_MATCH_1})
  endif()
endforeach()
set(differences "")
foreach(run plain answered)
  foreach(side cross native)
    set(dir "${WORK}/${run}-${side}")
    file(REMOVE_RECURSE "${dir}")
    file(MAKE_DIRECTORY "${dir}")
    file(COPY "${CASE}/input.inp" DESTINATION "${dir}")
    if(side STREQUAL cross)
      set(runner ${EMULATOR} ${CLI})
    else()
      set(runner ${NATIVE})
    endif()
    set(flags "")
    if(run STREQUAL answered)
      set(flags ${answered})
    endif()
    execute_process(COMMAND ${runner} run --csv ${flags} input.inp WORKING_DIRECTORY "${dir}"
                    RESULT_VARIABLE status_${side} OUTPUT_QUIET ERROR_QUIET)
  endforeach()
  if(NOT status_cross EQUAL status_native)
    string(APPEND differences "${run}: exit status ${status_cross}, natively ${status_native}\n")
  endif()
  foreach(file input.out input.csv)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${run}-cross/${file}"
                            "${WORK}/${run}-native/${file}" RESULT_VARIABLE differ)
    if(differ)
      string(APPEND differences "${run}: ${file} differs from the native one\n")
    endif()
  endforeach()
endforeach()
if(differences)
  message(FATAL_ERROR "${differences}")
endif()
