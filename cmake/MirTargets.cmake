# One library target per folder: mir_<folder>, made of every .cpp in it and
# in its sub-folders (the rooms of a wide folder). A folder without sources yet is an INTERFACE target so that its dependents
# can already name it.
function(mir_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
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

# Each program's own subsystems stay apart: refuse a build where `a` links
# `b` or `b` links `a`, directly or through other targets.
function(mir_forbid_link a b)
  foreach(pair "${a};${b}" "${b};${a}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    set(closure "")
    _mir_link_closure(${from} closure)
    if(to IN_LIST closure)
      message(FATAL_ERROR "${from} links ${to}: the collectors and the analysis must stay apart")
    endif()
  endforeach()
endfunction()

# One test executable per tests/ subfolder with the tests of its rooms, each
# test case registered with CTest.
function(mir_test folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
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

# A program in two pieces. The executable <name> holds the core layers whole
# and runs the child copies of a split run on them alone; its screens are the
# module <name>-screens, which only the user's copy loads, and Qt with it: the
# many children of a run start without Qt's libraries, whose loading costs
# each of them some 650 page faults and four times its other start-up time. The module takes the core
# from the executable, so that there is one copy of it and of its state. The
# folder holds main.cpp (the executable) and screens.cpp (the module's entry).
function(mir_program name)
  cmake_parse_arguments(ARG "" "" "CORE;SCREENS" ${ARGN})
  set(module ${name}-screens)
  add_library(${module} MODULE screens.cpp)
  set_target_properties(${module} PROPERTIES PREFIX "")
  set(archives "")
  foreach(lib IN LISTS ARG_SCREENS)
    set_target_properties(${lib} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_include_directories(${module} PRIVATE $<TARGET_PROPERTY:${lib},INTERFACE_INCLUDE_DIRECTORIES>)
    list(APPEND archives $<TARGET_FILE:${lib}>)
    add_dependencies(${module} ${lib})
  endforeach()
  # The screens' archives by file: linking their targets would bring the core
  # layers they build on into the module as a second copy.
  target_link_libraries(${module} PRIVATE -Wl,--start-group ${archives} -Wl,--end-group Qt6::Widgets)

  add_executable(${name} main.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_CORE})
  set(closure "")
  foreach(lib IN LISTS ARG_CORE)
    list(APPEND closure ${lib})
    _mir_link_closure(${lib} closure)
  endforeach()
  list(REMOVE_DUPLICATES closure)
  set(whole "")
  foreach(lib IN LISTS closure)
    if(TARGET ${lib} AND lib MATCHES "^mir_" AND NOT lib STREQUAL "mir_platform")
      list(APPEND whole $<TARGET_FILE:${lib}>)
    endif()
  endforeach()
  # Every part of the core, also what only the screens use, exported to the
  # module. The platform layer only as far as the core uses it: whole, it
  # would bring the page fetch, and libcurl with its dozens of libraries, into
  # every child of the judgement.
  list(JOIN whole " " whole_text)
  target_link_options(${name} PRIVATE "SHELL:-Wl,--whole-archive ${whole_text} -Wl,--no-whole-archive")
  # Installed, the executable finds its module beside it and nowhere else.
  set_target_properties(${name} PROPERTIES ENABLE_EXPORTS ON BUILD_RPATH "$ORIGIN;${CMAKE_CURRENT_BINARY_DIR}"
                                           INSTALL_RPATH "$ORIGIN")
  target_compile_definitions(${name} PRIVATE SCREENS_MODULE="${module}.so")
  add_dependencies(${name} ${module})
  # Both programs go into one program folder (scripts/install-programs.sh).
  install(TARGETS ${name} ${module} RUNTIME DESTINATION . LIBRARY DESTINATION .)
endfunction()
