# The parts of the factory image made by other programs: the spoken prompts
# (espeak-ng), the database from the schema script (sqlite3), the fingerprint
# libraries and a few synthetic fingers for scripted sessions.
# Inputs: STAGE, SCHEMA, TEXTS (the text table), FPGEN and one variable per
# fingerprint library (each empty when that program is not part of the build).
cmake_minimum_required(VERSION 3.25)
set(APP ${STAGE}/NandFlash/zeta42)

# Prompts: file name and the English sentence spoken.
set(PROMPTS
  "passed|Thank you"
  "you_are_passed|Access granted"
  "not_passed|Access denied. Please try again"
  "place_your_finger|Please place your finger"
  "place_your_finger_again|Please place the same finger again")
find_program(ESPEAK espeak-ng REQUIRED)
foreach(prompt IN LISTS PROMPTS)
  string(REPLACE "|" ";" parts "${prompt}")
  list(GET parts 0 name)
  list(GET parts 1 sentence)
  execute_process(COMMAND ${ESPEAK} -v en-us -s 150 -w ${APP}/wav/${name}.wav "${sentence}"
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "espeak-ng could not render ${name}.wav")
  endif()
endforeach()

if(EXISTS ${SCHEMA})
  find_program(SQLITE3 sqlite3 REQUIRED)
  file(REMOVE ${APP}/DB/KD4700.DB)
  execute_process(COMMAND ${SQLITE3} -bail ${APP}/DB/KD4700.DB INPUT_FILE ${SCHEMA} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the factory database could not be built from ${SCHEMA}")
  endif()
  # The head office carries its name in the factory language, as a factory
  # reset names it again.
  file(STRINGS ${TEXTS} head_office ENCODING UTF-8 REGEX "^CDeptStorage\tDS0001\t")
  string(REPLACE "\t" ";" fields "${head_office}")
  list(GET fields 3 name)
  string(REPLACE "'" "''" name "${name}")
  execute_process(COMMAND ${SQLITE3} -bail ${APP}/DB/KD4700.DB "UPDATE Dept SET DeptName = '${name}' WHERE Deptid = 1"
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the head office could not be named in the factory database")
  endif()
  # The copy a factory reset puts back is taken while the database is still
  # in the rollback-journal format (header bytes 18 and 19 are 1), as every
  # copy of the terminal is: one file that stands alone, which no program
  # that opens it leaves a "-wal" and "-shm" beside. The terminal's
  # connection puts the database back into its own mode as it opens it.
  file(COPY_FILE ${APP}/DB/KD4700.DB ${APP}/DB/back/KD4700.bak)
  file(READ ${APP}/DB/back/KD4700.bak format OFFSET 18 LIMIT 2 HEX)
  if(NOT format STREQUAL "0101")
    message(FATAL_ERROR "the factory copy of the database is not in the rollback-journal format (${format})")
  endif()
  # Delivered in the mode the terminal runs it in (data/DbSqlite.cpp); the
  # program folds the log back into the file and removes it as it ends, so
  # the image holds the database file alone.
  execute_process(COMMAND ${SQLITE3} -bail ${APP}/DB/KD4700.DB "PRAGMA journal_mode=WAL"
                  OUTPUT_QUIET RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR EXISTS ${APP}/DB/KD4700.DB-wal OR EXISTS ${APP}/DB/KD4700.DB-shm)
    message(FATAL_ERROR "the factory database could not be put into write-ahead-log mode")
  endif()
endif()

# Built under the names the terminal loads them by.
foreach(lib fp_control fp_match fp_process)
  if(${lib})
    get_filename_component(name ${${lib}} NAME)
    file(COPY_FILE ${${lib}} ${APP}/${name})
  endif()
endforeach()

# Sample fingers beside the application folder: three people, two fingers
# each, two presses of every finger, and one smudge.
if(FPGEN)
  file(MAKE_DIRECTORY ${STAGE}/samples)
  foreach(person 1 2 3)
    foreach(finger 0 1)
      math(EXPR seed "${person} * 10 + ${finger}")
      foreach(press 1 2)
        execute_process(COMMAND ${FPGEN} ${seed} ${press} ${STAGE}/samples/user${person}_finger${finger}_press${press}.bmp
                        RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
          message(FATAL_ERROR "fpgen could not draw a sample finger")
        endif()
      endforeach()
    endforeach()
  endforeach()
  execute_process(COMMAND ${FPGEN} 99 1 ${STAGE}/samples/smudge.bmp --smudge)
endif()

# Cards for the card reader at the window (Ctrl+K shows them in turn):
# hexadecimal card numbers, one a line.
file(MAKE_DIRECTORY ${STAGE}/samples)
file(WRITE ${STAGE}/samples/cards.txt "00A1B2C3\n00D4E5F6\n12345678\n")
