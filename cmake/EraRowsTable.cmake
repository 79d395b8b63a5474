# Turns the era data file into the compiled-in era table.
#
#   cmake -DINPUT=<era-rows.csv> -DOUTPUT=<EraRows.cpp> -P EraRowsTable.cmake
#
# The data file has one row per line (UTF-8, LF, no header):
#   start year,years of the row,years of the era before the row,dynasty,title,personal name,era name
# Every row is kept as the string it is, in file order; the program splits
# the fields itself. A row that does not have that shape stops the build.

cmake_minimum_required(VERSION 3.25)

if(NOT INPUT OR NOT OUTPUT)
  message(FATAL_ERROR "EraRowsTable.cmake needs -DINPUT=<csv> and -DOUTPUT=<cpp>")
endif()

# file(READ) drops carriage returns, so CR LF line ends read as LF.
file(READ "${INPUT}" content)
foreach(forbidden "\"" "\\" ";" "[" "]")
  string(FIND "${content}" "${forbidden}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${INPUT}: the data file holds a character the table does not allow (quote, backslash, semicolon or square bracket)")
  endif()
endforeach()

# One list element per line; the file ends with a newline, so the last
# element is empty.
string(REPLACE "\n" ";" lines "${content}")
list(LENGTH lines line_count)
math(EXPR last "${line_count} - 1")
list(GET lines ${last} tail)
if(NOT tail STREQUAL "")
  message(FATAL_ERROR "${INPUT}: the last row must end with a newline")
endif()
list(REMOVE_AT lines ${last})

set(row_pattern "^-?[0-9]+,[0-9]+,[0-9]+,[^,]+,[^,]*,[^,]*,[^,]+$")
set(body "")
set(number 0)
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  if(NOT line MATCHES "${row_pattern}")
    message(FATAL_ERROR "${INPUT}:${number}: not a row of seven fields (start,years,earlier years,dynasty,title,name,era): '${line}'")
  endif()
  string(APPEND body "    \"${line}\",\n")
endforeach()
if(number EQUAL 0)
  message(FATAL_ERROR "${INPUT}: the data file has no rows")
endif()

file(WRITE "${OUTPUT}" "// Generated from calendar/data/era-rows.csv by cmake/EraRowsTable.cmake.
// Edit the data file, not this one.

#include \"calendar/EraRows.h\"

const char* const EraRows[] = {
${body}};

const int EraRowCount = static_cast<int>(sizeof EraRows / sizeof EraRows[0]);
")
