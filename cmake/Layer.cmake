# glowmeter_layer(<folder> <sources>...): the folder's code as an object library, named
# glowmeter_<folder>, built on the libraries of the folders listed for it in Layers.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)
function(glowmeter_layer folder)
  add_library(glowmeter_${folder} OBJECT ${ARGN})
  target_link_libraries(glowmeter_${folder} PUBLIC glowmeter_product PRIVATE glowmeter_warnings glowmeter_plugin_code)
  foreach(below IN LISTS GLOWMETER_BUILDS_ON_${folder})
    if(TARGET glowmeter_${below})
      target_link_libraries(glowmeter_${folder} PUBLIC glowmeter_${below})
    endif()
  endforeach()
  add_dependencies(glowmeter_${folder} glowmeter_check_includes)
endfunction()
