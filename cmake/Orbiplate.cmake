# orbi_core_library(<folder> DEPS <libs...>)
# Builds core_<folder> from src/<folder>/*.cpp (headless: Qt Core/Gui only).
function(orbi_core_library folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
  file(GLOB _hdrs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
  list(FILTER _srcs EXCLUDE REGEX "/main\\.cpp$")
  if(NOT _srcs)
    add_library(core_${folder} INTERFACE)
    target_include_directories(core_${folder} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(core_${folder} INTERFACE ${ARG_DEPS} Qt6::Core Qt6::Gui)
    return()
  endif()
  add_library(core_${folder} STATIC ${_srcs} ${_hdrs})
  target_compile_options(core_${folder} PRIVATE ${ORBIPLATE_FUZZ_COVERAGE})
  target_include_directories(core_${folder} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(core_${folder} PUBLIC ${ARG_DEPS} Qt6::Core Qt6::Gui)
endfunction()

# orbi_gui_library(<folder> DEPS <libs...>)
# Builds gui_<folder> from src/<folder>/windows/*.cpp (Qt Widgets).
function(orbi_gui_library folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/windows/*.cpp)
  file(GLOB _hdrs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/windows/*.h)
  if(NOT _srcs)
    add_library(gui_${folder} INTERFACE)
    target_link_libraries(gui_${folder} INTERFACE core_${folder} ${ARG_DEPS} Qt6::Widgets Qt6::PrintSupport)
    return()
  endif()
  add_library(gui_${folder} STATIC ${_srcs} ${_hdrs})
  set_target_properties(gui_${folder} PROPERTIES AUTOMOC ON)
  target_include_directories(gui_${folder} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(gui_${folder} PUBLIC core_${folder} ${ARG_DEPS} Qt6::Widgets Qt6::PrintSupport)
endfunction()

# orbi_test(<folder> DEPS <libs...>)
# One GoogleTest program per folder of tests/, from every .cpp in it.
function(orbi_test folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT _srcs)
    return()
  endif()
  add_executable(test_${folder} ${_srcs} ${CMAKE_SOURCE_DIR}/tests/test_main.cpp)
  set_target_properties(test_${folder} PROPERTIES AUTOMOC ON)
  # The tests' own code is assertions and set-up: unoptimised it compiles in half the
  # time, and the code under test keeps the build's optimisation.
  target_compile_options(test_${folder} PRIVATE -O0)
  # Qt's and GoogleTest's headers parsed once per program rather than once per file.
  target_precompile_headers(test_${folder} PRIVATE ${CMAKE_SOURCE_DIR}/tests/pch.h)
  target_include_directories(test_${folder} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(test_${folder} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock Qt6::Test Qt6::Widgets)
  gtest_discover_tests(test_${folder}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORBIPLATE_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()
