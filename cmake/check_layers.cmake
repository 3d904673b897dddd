# cmake -DTABLE=FILE -DROOT=DIR -DSTAMP=FILE -P check_layers.cmake
#
# Reads every quoted #include of the folders TABLE names and fails when one
# names a header of a folder its own may not use. Each line of TABLE is
# "folder|allowed folder;allowed folder;...", folders relative to ROOT; a
# folder no line names (src/storage/records, src/lancamento/gravacao) belongs,
# files and all, to the nearest folder above it that one does. An include is
# looked for beside the file, then under src/ and tools/, as the compiler's
# include paths do; one found nowhere there (a system header) is not ours to
# check.
cmake_minimum_required(VERSION 3.25)
file(STRINGS "${TABLE}" lines)
set(known "")
foreach(line ${lines})
  string(FIND "${line}" "|" bar)
  string(SUBSTRING "${line}" 0 ${bar} folder)
  math(EXPR bar "${bar} + 1")
  string(SUBSTRING "${line}" ${bar} -1 below)
  list(APPEND known "${folder}")
  set("allowed_${folder}" "${folder};${below}")
endforeach()

# The folder of the table that holds `path` (a file's folder, relative to ROOT).
function(owner path out)
  set(dir "${path}")
  while(NOT dir STREQUAL "" AND NOT dir IN_LIST known)
    get_filename_component(dir "${dir}" DIRECTORY)
  endwhile()
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

set(faults "")
foreach(folder ${known})
  file(GLOB_RECURSE files "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cc" "${ROOT}/${folder}/*.def")
  foreach(file ${files})
    get_filename_component(here "${file}" DIRECTORY)
    file(RELATIVE_PATH mine "${ROOT}" "${here}")
    owner("${mine}" mine)
    if(NOT mine STREQUAL folder)
      continue()
    endif()
    file(STRINGS "${file}" includes REGEX "^#include \"")
    foreach(include ${includes})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" name "${include}")
      set(found "")
      foreach(base "${here}" "${ROOT}/src" "${ROOT}/tools")
        if(found STREQUAL "" AND EXISTS "${base}/${name}")
          get_filename_component(found "${base}/${name}" ABSOLUTE)
        endif()
      endforeach()
      if(found STREQUAL "" OR NOT found MATCHES "^${ROOT}/")
        continue()
      endif()
      file(RELATIVE_PATH target "${ROOT}" "${found}")
      get_filename_component(target "${target}" DIRECTORY)
      owner("${target}" target)
      if(NOT target STREQUAL "" AND NOT target IN_LIST "allowed_${folder}")
        file(RELATIVE_PATH shown "${ROOT}" "${file}")
        string(APPEND faults "\n  ${shown}: #include \"${name}\" (${target} is not below ${folder})")
      endif()
    endforeach()
  endforeach()
endforeach()
if(NOT faults STREQUAL "")
  message(FATAL_ERROR "a layer includes a header of a layer it may not use:${faults}\n"
                      "Move the code to the layer that may use both, or add the dependency "
                      "where the layers are listed (CMakeLists.txt) if the design allows it.")
endif()
file(TOUCH "${STAMP}")
