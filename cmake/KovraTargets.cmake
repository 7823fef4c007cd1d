# Shared settings for every KOVRA target and the test helper.

function(kovra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                         -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual)
  if(KOVRA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS_IGNORED QT_NO_CAST_FROM_BYTEARRAY
                             QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER)
endfunction()

# kovra_library(name SOURCES ... LIBS ...)
function(kovra_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
  kovra_warnings(${name})
endfunction()

# The throwaway PostgreSQL server of the tests (tools/pg-test-server.sh): its state folder.
set(KOVRA_PG_STATE ${PROJECT_BINARY_DIR}/pgserver)

# kovra_test(name LABEL layer [GUI] [PGSERVER] SOURCES ... LIBS ...)
# Every test runs offscreen with its own settings folder, so tests never touch the
# caller's display or per-user settings and never depend on each other.
# PGSERVER: the test runs inside the fixture pg_server (tests/CMakeLists.txt) and finds the
# throwaway server in KOVRA_PG_HOST, KOVRA_PG_PORT, KOVRA_PG_USER, KOVRA_PG_PASSWORD, ….
function(kovra_test name)
  cmake_parse_arguments(T "GUI;PGSERVER" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
    KOVRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KOVRA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  kovra_warnings(${name})
  if(T_PGSERVER)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tools/pg-test-server.sh exec ${KOVRA_PG_STATE}
             $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED pg_server)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set(labels ${T_LABEL})
  if(T_GUI)
    list(APPEND labels gui)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(home ${PROJECT_BINARY_DIR}/testhome/${name})
  set_tests_properties(${name} PROPERTIES
    LABELS "${labels}"
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_CACHE_HOME=${home}/cache;XDG_RUNTIME_DIR=${home}/run;LC_ALL=C.UTF-8")
  file(MAKE_DIRECTORY ${home}/run)
  file(CHMOD ${home}/run DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endfunction()
