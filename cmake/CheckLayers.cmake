# Checks the layering of the libraries of src/: with a library's include path,
# an include of a header of its own folder compiles, and an include of a header
# of any folder it may not see fails for want of the file.
#
# cmake -DCXX=<compiler> -DSOURCE=<src> -DLAYERS=<Layers.cmake> -DWORK=<dir> -P CheckLayers.cmake
# Layers.cmake sets LIBRARIES and, for each, <library>_SEES (its own folder
# first) and <library>_INCLUDES.
cmake_minimum_required(VERSION 3.20)
include(${LAYERS})
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE} ${SOURCE}/*)
list(FILTER folders EXCLUDE REGEX "\\.")
set(failures 0)

# Compiles a file that includes header with the include path of library;
# sets ok when it compiled and missing when it failed for want of the header.
function(probe library header)
  set(file ${WORK}/${library}.cpp)
  file(WRITE ${file} "#include \"${header}\"\n")
  set(flags "")
  foreach(dir IN LISTS ${library}_INCLUDES)
    # The compiler's own folder stays where the compiler puts it.
    if(NOT dir STREQUAL "/usr/include")
      list(APPEND flags -I${dir})
    endif()
  endforeach()
  execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only ${flags} ${file}
                  RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
  string(FIND "${errors}" "${header}: No such file" at)
  if(result EQUAL 0)
    set(ok TRUE PARENT_SCOPE)
  else()
    set(ok FALSE PARENT_SCOPE)
  endif()
  if(NOT at EQUAL -1)
    set(missing TRUE PARENT_SCOPE)
  else()
    set(missing FALSE PARENT_SCOPE)
  endif()
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

foreach(library IN LISTS LIBRARIES)
  list(GET ${library}_SEES 0 own)
  foreach(folder IN LISTS folders)
    file(GLOB headers RELATIVE ${SOURCE} ${SOURCE}/${folder}/*.h)
    list(SORT headers)
    list(GET headers 0 header)
    if(folder STREQUAL own)
      probe(${library} ${header})
      if(NOT ok)
        message(SEND_ERROR "${library} cannot compile its own ${header}:\n${errors}")
      endif()
    elseif(NOT folder IN_LIST ${library}_SEES)
      probe(${library} ${header})
      if(NOT missing)
        message(SEND_ERROR "${library} reaches ${header}, a folder above its layer")
      endif()
    endif()
  endforeach()
endforeach()
