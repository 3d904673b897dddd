# One static library per source folder. Sources are picked up by pattern so
# that adding a file needs no build edit; a folder without sources yet becomes
# an interface library that only forwards its dependencies.
function(qx_layer name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cc)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
  set(QX_LAYERS ${QX_LAYERS} ${name} PARENT_SCOPE)
endfunction()

# qx_tool(name layer...): one executable from the *.cc files of the calling
# folder (each folder of tools/ holds one program).
function(qx_tool name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN})
endfunction()
