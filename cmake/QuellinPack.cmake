# quellin_pack(<image-target> <payload-target> <output-file-name> <image-copy-name>)
#
# Adds the target pack_<output-file-name without extension>, built by default, that writes
# <output-file-name> next to the image target's program: the image, a trailer naming
# <image-copy-name>, the payload target's program and a trailer naming "rmevents.exe". At start-up
# the program divides itself into TMP, so <image-copy-name> is where the copy of the image lands
# there. The packer runs on the build host: cross builds compile it with the host's C++ compiler
# (a target of the cross build would be a Windows program); other builds use the quellin_pack
# target of tools/pack.
include_guard(GLOBAL)

set(QUELLIN_PACK_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# Sets <out_tool> to the packer command and <out_depends> to what a packing step depends on.
function(_quellin_pack_tool out_tool out_depends)
  if(NOT CMAKE_CROSSCOMPILING)
    set(${out_tool} quellin_pack PARENT_SCOPE)
    set(${out_depends} quellin_pack PARENT_SCOPE)
    return()
  endif()
  set(root ${QUELLIN_PACK_SOURCE_ROOT})
  set(tool ${CMAKE_BINARY_DIR}/host-tools/quellin_pack)
  get_property(defined GLOBAL PROPERTY QUELLIN_PACK_HOST_TOOL_DEFINED)
  if(NOT defined)
    find_program(QUELLIN_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
    set(sources ${root}/tools/pack/pack_main.cpp ${root}/tools/pack/container_join.cpp
                ${root}/src/startup/hex_text.cpp)
    set(headers ${root}/tools/pack/container_join.h ${root}/src/startup/hex_text.h)
    add_custom_command(
      OUTPUT ${tool}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host-tools
      COMMAND ${QUELLIN_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -I${root}/src -I${root}/tools
              ${sources} -o ${tool}
      DEPENDS ${sources} ${headers}
      COMMENT "Building the host packer quellin_pack"
      VERBATIM)
    add_custom_target(quellin_pack_host DEPENDS ${tool})
    set_property(GLOBAL PROPERTY QUELLIN_PACK_HOST_TOOL_DEFINED TRUE)
  endif()
  set(${out_tool} ${tool} PARENT_SCOPE)
  # The file for rebuilds when the packer changes, the target so that it exists in time even for
  # generators that cannot see another folder's custom command outputs.
  set(${out_depends} ${tool} quellin_pack_host PARENT_SCOPE)
endfunction()

function(quellin_pack image payload output image_copy_name)
  foreach(target IN ITEMS ${image} ${payload})
    if(NOT TARGET ${target})
      message(FATAL_ERROR "quellin_pack: no target ${target} (define it before packing)")
    endif()
  endforeach()
  get_target_property(image_name ${image} OUTPUT_NAME)
  if(NOT image_name)
    set(image_name ${image})
  endif()
  if("${image_name}${CMAKE_EXECUTABLE_SUFFIX}" STREQUAL "${output}")
    message(FATAL_ERROR "quellin_pack: ${output} would overwrite the image of ${image}; "
                        "give ${image} another OUTPUT_NAME")
  endif()

  get_target_property(folder ${image} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT folder)
    get_target_property(folder ${image} BINARY_DIR)
  endif()
  get_property(multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
  if(multi_config)
    set(folder ${folder}/$<CONFIG>)
  endif()

  _quellin_pack_tool(tool tool_depends)
  add_custom_command(
    OUTPUT ${folder}/${output}
    COMMAND ${tool} $<TARGET_FILE:${image}> ${image_copy_name} $<TARGET_FILE:${payload}>
            rmevents.exe ${folder}/${output}
    DEPENDS ${image} ${payload} ${tool_depends}
    COMMENT "Appending ${payload} to ${output}"
    VERBATIM)
  get_filename_component(stem ${output} NAME_WLE)
  add_custom_target(pack_${stem} ALL DEPENDS ${folder}/${output})
  if(TARGET quellin_pack_host)
    add_dependencies(pack_${stem} quellin_pack_host)
  endif()
endfunction()
