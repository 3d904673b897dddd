# qx_shared_headers(target): in the sanitizer build, the standard headers most
# files include are parsed once per target, from a precompiled header. The
# optimised build compiles every file on its own includes, so a missing
# #include still fails there.
function(qx_shared_headers target)
  if(QX_SANITIZE OR QX_FUZZ)
    target_precompile_headers(${target} PRIVATE <algorithm> <cstdint> <cstring> <functional>
                              <map> <memory> <optional> <string> <string_view> <vector>)
  endif()
endfunction()

# One static library per source folder and the folders below it, except those
# that are layers of their own. Sources are picked up by pattern so that adding
# a file needs no build edit; a folder without sources yet becomes an interface
# library that only forwards its dependencies.
function(qx_layer name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cc)
  foreach(other ${QX_LAYERS})
    get_target_property(other_dir ${other} QX_FOLDER)
    if(other_dir MATCHES "^${dir}/")
      list(FILTER sources EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${other_dir}/")
    elseif(dir MATCHES "^${other_dir}/")
      get_target_property(theirs ${other} SOURCES)
      list(FILTER theirs EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${dir}/")
      set_target_properties(${other} PROPERTIES SOURCES "${theirs}")
    endif()
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
    qx_shared_headers(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
  set_target_properties(${name} PROPERTIES QX_FOLDER ${dir})
  set(QX_LAYERS ${QX_LAYERS} ${name} PARENT_SCOPE)
endfunction()

# qx_tool(name layer...): one executable from the *.cc files of the calling
# folder (each folder of tools/ holds one program).
function(qx_tool name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN})
  qx_shared_headers(${name})
  set_property(GLOBAL APPEND PROPERTY QX_TOOLS ${name})
endfunction()

# qx_check_layers(target...): a step of every build that fails when a file of
# one of these targets' folders includes a header of a folder whose target it
# does not link, directly or through what it links (cmake/check_layers.cmake).
# The link lines above are thus the one list of what each layer may use.
function(qx_check_layers)
  set(targets "")
  foreach(target ${ARGN})
    get_target_property(sources ${target} SOURCES)
    if(NOT sources)
      continue()
    endif()
    list(APPEND targets ${target})
    get_target_property(folder ${target} QX_FOLDER)
    if(NOT folder)
      list(GET sources 0 first)
      get_filename_component(folder ${first} DIRECTORY)
      file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${folder})
    endif()
    set(folder_${target} ${folder})
  endforeach()
  set(table "")
  set(watched "")
  foreach(target ${targets})
    set(below "")
    set(pending ${target})
    while(pending)
      list(POP_FRONT pending current)
      get_target_property(links ${current} LINK_LIBRARIES)
      foreach(link ${links})
        if(DEFINED folder_${link} AND NOT folder_${link} IN_LIST below)
          list(APPEND below ${folder_${link}})
          list(APPEND pending ${link})
        endif()
      endforeach()
    endwhile()
    string(APPEND table "${folder_${target}}|${below}\n")
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder_${target}}/*.h
         ${CMAKE_SOURCE_DIR}/${folder_${target}}/*.cc)
    list(APPEND watched ${files})
  endforeach()
  set(table_file ${CMAKE_BINARY_DIR}/layers.txt)
  file(WRITE ${table_file} "${table}")
  set(stamp ${CMAKE_BINARY_DIR}/layers.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DTABLE=${table_file} -DROOT=${CMAKE_SOURCE_DIR} -DSTAMP=${stamp}
            -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    DEPENDS ${watched} ${table_file} ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    COMMENT "Checking that each layer includes only the layers below it")
  add_custom_target(qx_layer_check ALL DEPENDS ${stamp})
endfunction()
