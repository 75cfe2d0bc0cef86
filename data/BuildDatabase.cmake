# Runs the catalogue SQL on an empty file. Called at build time with
# -DSQLITE3=<program> -DSQL_FILE=<sql> -DDATABASE=<output>.
#
# The old file goes first: the SQL creates its tables, and running it on a
# database that already has them would fail (or, with other SQL, mix old and
# new rows). A failed run leaves no file, so the next build tries again
# instead of treating a half-filled database as up to date.

foreach(required SQLITE3 SQL_FILE DATABASE)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "BuildDatabase.cmake needs -D${required}=...")
  endif()
endforeach()

file(REMOVE ${DATABASE})
execute_process(
  COMMAND ${SQLITE3} -batch -bail ${DATABASE}
  INPUT_FILE ${SQL_FILE}
  RESULT_VARIABLE sqlite_result
  ERROR_VARIABLE sqlite_errors)
if(NOT sqlite_result EQUAL 0)
  file(REMOVE ${DATABASE})
  message(FATAL_ERROR "sqlite3 rejected ${SQL_FILE}:\n${sqlite_errors}")
endif()
