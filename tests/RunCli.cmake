# Runs the runner as a test: cmake [-DEMULATOR=wine] -DCLI=... -DARGS=a;b
#   -DEXPECT_EXIT=n [-DCOPY=file] [-DWORK=folder] [-DRESULT=file -DREFERENCE=file]
#   [-DSTDERR_HAS=text] [-DSTDOUT_HAS=text] [-DABSENT=file] [-DDIGITS=n]
# COPY (one file or a list) is copied into WORK first; ABSENT must not exist
# in WORK afterwards; RESULT is compared with REFERENCE line by
# line, leaving out line 2 (it names the file), and with DIGITS=n every
# number only to its first n+1 characters.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
if(COPY)
  file(COPY ${COPY} DESTINATION "${WORK}")
endif()
execute_process(COMMAND ${EMULATOR} ${CLI} ${ARGS} WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT status EQUAL EXPECT_EXIT)
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_EXIT}\n${out}\n${err}")
endif()
if(STDERR_HAS AND NOT err MATCHES "${STDERR_HAS}")
  message(FATAL_ERROR "standard error lacks '${STDERR_HAS}':\n${err}")
endif()
if(STDOUT_HAS AND NOT out MATCHES "${STDOUT_HAS}")
  message(FATAL_ERROR "standard output lacks '${STDOUT_HAS}':\n${out}")
endif()
if(ABSENT AND EXISTS "${WORK}/${ABSENT}")
  message(FATAL_ERROR "${ABSENT} was written")
endif()
if(RESULT)
  file(STRINGS "${WORK}/${RESULT}" got)
  file(STRINGS "${REFERENCE}" want)
  list(REMOVE_AT got 1)
  list(REMOVE_AT want 1)
  if(DIGITS)
    # Every run of digits (and points) cut to its first DIGITS + 1
    # characters (CMake's expressions know no {n}).
    string(REPEAT "[0-9.]" ${DIGITS} more)
    string(REGEX REPLACE "([0-9]${more})[0-9]+" "\\1" got "${got}")
    string(REGEX REPLACE "([0-9]${more})[0-9]+" "\\1" want "${want}")
  endif()
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "${RESULT} differs from ${REFERENCE}")
  endif()
endif()
