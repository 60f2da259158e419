# One static library per folder of src/. A library publishes only its own
# folder: its headers are reached as "<folder>/X.h" through an include root of
# its own in the build tree, which holds a link named <folder> to the source
# folder. A library therefore sees its own folder and the folders of the
# libraries it links, and nothing else of src/: an include against the
# layering fails to compile.

# Publishes the headers of the source folder dir as "<folder>/X.h" to target
# and to everything that links it.
function(tessara_publish_headers target dir)
  get_filename_component(folder ${dir} NAME)
  set(root ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${dir} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# The library of the current source folder, built from its .cpp files, with
# its headers published.
function(tessara_library target)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(REMOVE_ITEM sources ${ARGN})
  add_library(${target} STATIC ${sources})
  tessara_publish_headers(${target} ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()
