# Compiler settings shared by every target of the project.

add_compile_options(-Wall -Wextra -Wpedantic)

# The function table and the key tables are assembled and checked while compiling; clang's
# default evaluation budget is too small for the table-wide checks.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fconstexpr-steps=50000000)
endif()

if(VEXA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VEXA_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz build needs clang (use the 'fuzz' preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds the static library of one subsystem folder under src/: every .cpp in the folder (and,
# for the platform, its posix/ implementations), linked to the folders below it.
function(vexa_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXTRA_DIRS" ${ARGN})
  set(dirs ${CMAKE_CURRENT_SOURCE_DIR}/${name} ${ARG_EXTRA_DIRS})
  set(sources)
  foreach(dir IN LISTS dirs)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  add_library(vexa_${name}_lib STATIC ${sources})
  target_include_directories(vexa_${name}_lib PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(vexa_${name}_lib PUBLIC ${ARG_DEPENDS})
endfunction()

# Adds the GoogleTest program of one test folder: every .cpp in tests/<name>/.
function(vexa_test_folder name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(vexa_${name}_tests ${sources})
  target_link_libraries(vexa_${name}_tests PRIVATE ${ARG_LIBS} vexa_test_support GTest::gtest_main)
  target_compile_definitions(vexa_${name}_tests PRIVATE VEXA_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
                                                       VEXA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(vexa_${name}_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${name}")
endfunction()
