# Each plain C++ module is one static library made of the SOURCES listed
# for it (paths below src/<name>); a new file is added to its list.
function(orb_module name)
  cmake_parse_arguments(M "" "" "SOURCES;DEPS;LIBS" ${ARGN})
  list(TRANSFORM M_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/src/${name}/ OUTPUT_VARIABLE srcs)
  if(srcs)
    set(scope PUBLIC)
    add_library(orb_${name} STATIC ${srcs})
  else()
    set(scope INTERFACE)
    add_library(orb_${name} INTERFACE)
  endif()
  target_include_directories(orb_${name} ${scope} ${PROJECT_SOURCE_DIR}/src)
  foreach(d ${M_DEPS})
    target_link_libraries(orb_${name} ${scope} orb_${d})
  endforeach()
  if(M_LIBS)
    target_link_libraries(orb_${name} ${scope} ${M_LIBS})
  endif()
endfunction()

# One GoogleTest executable per test folder: the SOURCES listed (paths below
# tests/<name>) -> test_<name>.
# LABEL groups the tests for `ctest -L`: unit (fast, in-process; the default),
# process (drive orb-cli or orb-devsim as child processes) or window.
function(orb_gtest name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;DEPS;LIBS" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  list(TRANSFORM T_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/tests/${name}/ OUTPUT_VARIABLE srcs)
  if(NOT srcs)
    return()
  endif()
  add_executable(test_${name} ${srcs})
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  foreach(d ${T_DEPS})
    target_link_libraries(test_${name} PRIVATE orb_${d})
  endforeach()
  target_link_libraries(test_${name} PRIVATE GTest::gtest_main GTest::gmock ${T_LIBS})
  target_compile_definitions(test_${name} PRIVATE
    ORB_SOURCE_DIR="${PROJECT_SOURCE_DIR}" ORB_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 LABELS ${T_LABEL})
endfunction()
