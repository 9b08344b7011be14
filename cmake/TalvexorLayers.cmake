# Layers the build enforces. Each library sees the sources' folders through
# include roots in the build tree, one per library, holding a link to that
# library's own folder only: "suite/kit/TxtKit.h" resolves for a file whose
# library links suite_kit, and nowhere else. Including a header of a layer
# that is not linked (an upper one) fails to compile. Tests and benchmarks
# see the whole tree (tests/CMakeLists.txt, bench/CMakeLists.txt).
function(talvexor_layer target)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
