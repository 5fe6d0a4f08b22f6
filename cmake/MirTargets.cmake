# One library target per folder: mir_<folder>, made of every .cpp in it.
# A folder without sources yet is an INTERFACE target so that its dependents
# can already name it.
function(mir_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(mir_${name} STATIC ${sources})
    target_include_directories(mir_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(mir_${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(mir_${name} INTERFACE)
    target_include_directories(mir_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(mir_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# Collects every library a target links, directly or through other targets.
function(_mir_link_closure target out)
  set(seen ${${out}})
  foreach(prop LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(libs ${target} ${prop})
    if(NOT libs)
      continue()
    endif()
    foreach(lib IN LISTS libs)
      if(lib IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${lib})
      if(TARGET ${lib})
        _mir_link_closure(${lib} seen)
      endif()
    endforeach()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# The core layers must stay free of Qt: refuse to configure otherwise.
function(mir_forbid_qt)
  foreach(target IN LISTS ARGN)
    set(closure "")
    _mir_link_closure(${target} closure)
    foreach(lib IN LISTS closure)
      if(lib MATCHES "Qt")
        message(FATAL_ERROR "${target} links ${lib}: the core layers must not use Qt")
      endif()
    endforeach()
  endforeach()
endfunction()

# One test executable per tests/ subfolder, each test case registered with CTest.
function(mir_test folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  string(REPLACE "/" "_" name "test_${folder}")
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  set(MIR_LAST_TEST ${name} PARENT_SCOPE)
  # A parameterised case is named by its suite's name generator alone; the
  # value printout would otherwise stay in the CTest name beside a named case.
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
