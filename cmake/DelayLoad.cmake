# Delay-loaded system DLLs for the executable, with MinGW's own means.
#
# The tool needs some DLLs only on a click, in the folder dialog or in the
# command-line mode. Imported normally, each is mapped and initialised before
# the window can appear; delay-loaded, the first call loads it. dlltool makes
# a delay import library from a .def file in cmake/delayload/ that lists the
# functions the product calls (i686 stdcall names, @N kept for the linker and
# cut off the imported name by --kill-at); MinGW's runtime (libmingwex)
# supplies __delayLoadHelper2, which the library's thunks call.
#
# zovrel_delay_load(<out-var> <dll>...) builds lib<dll>_delay.a for each DLL
# and sets <out-var> to link items: for a target that
# zovrel_use_delay_loading(<target>) has marked, the delay libraries, for
# any other the ordinary import libraries. The condition is evaluated on the
# target being linked, so a static library can carry the items for both.

if(NOT CMAKE_DLLTOOL)
  message(FATAL_ERROR "delay loading needs dlltool; the MinGW toolchain provides it")
endif()

add_custom_target(zovrel_delay_imports)

function(zovrel_delay_load out_var)
  # The commands run in this folder, so it has to exist before they do.
  set(folder ${PROJECT_BINARY_DIR}/delayload)
  file(MAKE_DIRECTORY ${folder})
  set(delayed "$<BOOL:$<TARGET_PROPERTY:ZOVREL_DELAY_LOAD>>")
  set(items)
  set(libraries)
  foreach(dll IN LISTS ARGN)
    set(def ${PROJECT_SOURCE_DIR}/cmake/delayload/${dll}.def)
    set(library ${folder}/lib${dll}_delay.a)
    # dlltool names the library's symbols after the output path it is given:
    # a bare file name keeps the build folder out of them.
    add_custom_command(OUTPUT ${library}
      COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${def} --dllname ${dll}.dll
        --output-delaylib lib${dll}_delay.a
      WORKING_DIRECTORY ${folder}
      DEPENDS ${def}
      COMMENT "Generating delay import library for ${dll}.dll"
      VERBATIM)
    list(APPEND libraries ${library})
    # A delay-load address table entry holds its thunk's address until the
    # first call, and a caller that goes through __imp_ leaves that entry the
    # thunk's only user. GNU ld keeps every .idata section under
    # --gc-sections without following their references, so it would drop
    # the thunk and leave the entry 0: a call to address 0. Each thunk,
    # named as a required symbol, is kept; the names are the .def's, with
    # the underscore of i686 C names.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    file(STRINGS ${def} names REGEX "^[A-Za-z_][A-Za-z0-9_]*@[0-9]+$")
    foreach(name IN LISTS names)
      list(APPEND items "$<${delayed}:-Wl$<COMMA>--require-defined=_${name}>")
    endforeach()
    list(APPEND items "$<IF:${delayed},${library},${dll}>")
  endforeach()
  target_sources(zovrel_delay_imports PRIVATE ${libraries})
  set(${out_var} ${items} PARENT_SCOPE)
endfunction()

# Links <target> against the delay libraries instead of the ordinary ones.
function(zovrel_use_delay_loading target)
  set_property(TARGET ${target} PROPERTY ZOVREL_DELAY_LOAD TRUE)
  add_dependencies(${target} zovrel_delay_imports)
endfunction()
