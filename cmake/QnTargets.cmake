# One way to add a library and one way to add a test, used by every folder.
#
# Every target sees the repository root as its include root, so an include
# names its module: #include "calendar/ChnCal.h", #include "store/uDM.h".

# qn_add_library(<name> SOURCES <files...> [LIBS <public dependencies...>])
function(qn_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  qn_warnings(${name})
endfunction()

# qn_add_test(<executable> SOURCES <files...> [LIBS <libraries...>]
#             [MAIN <file>] [QTEST [NAME <ctest name>]]
#             [DEFINITIONS <compile definitions...>] [TIMEOUT <seconds>])
#
# A GoogleTest program by default: every test case becomes its own CTest
# test. Its main is GoogleTest's own, or MAIN (tests/support/QtTestMain.cpp
# gives the tests a QApplication). QTEST makes it a QtTest program, run as
# one CTest test named NAME (default: the executable's name).
# Every test runs on the offscreen platform and never sees a display.
function(qn_add_test exe)
  cmake_parse_arguments(ARG "QTEST" "MAIN;NAME;TIMEOUT" "SOURCES;LIBS;DEFINITIONS" ${ARGN})
  set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_TIMEOUT)
    list(APPEND properties TIMEOUT ${ARG_TIMEOUT})
  endif()
  add_executable(${exe} ${ARG_SOURCES} ${ARG_MAIN})
  target_include_directories(${exe} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${exe} PRIVATE ${ARG_LIBS})
  if(ARG_DEFINITIONS)
    target_compile_definitions(${exe} PRIVATE ${ARG_DEFINITIONS})
  endif()
  if(TARGET Qt6::Test)
    target_link_libraries(${exe} PRIVATE Qt6::Test)
  endif()
  qn_warnings(${exe})
  if(ARG_QTEST)
    if(NOT ARG_NAME)
      set(ARG_NAME ${exe})
    endif()
    add_test(NAME ${ARG_NAME} COMMAND ${exe})
    set_tests_properties(${ARG_NAME} PROPERTIES ${properties})
  else()
    if(ARG_MAIN)
      target_link_libraries(${exe} PRIVATE GTest::gtest GTest::gmock)
    else()
      target_link_libraries(${exe} PRIVATE GTest::gtest_main GTest::gmock)
    endif()
    gtest_discover_tests(${exe} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
  endif()
endfunction()
