# The MSI installer of Qubset.exe, its console companion qubset.com and the language files
# (target qubset_msi, Qubset.msi in the build folder of the program), built with wixl from
# resources/qubset.wxs.in when wixl is here.
find_program(QUBSET_WIXL wixl)
if(NOT QUBSET_WIXL)
  message(STATUS "wixl not found: no installer (Debian package wixl)")
  return()
endif()

file(GLOB _lang_files ${PROJECT_SOURCE_DIR}/lang/*.ini)
set(QUBSET_LANG_COMPONENTS "")
set(QUBSET_LANG_REFS "")
foreach(file IN LISTS _lang_files)
  get_filename_component(name ${file} NAME_WE)
  string(MAKE_C_IDENTIFIER "Lang_${name}" id)
  string(APPEND QUBSET_LANG_COMPONENTS
    "          <Component Id=\"${id}\" Guid=\"*\" Win64=\"yes\">\n"
    "            <File Id=\"${id}\" Source=\"${name}.ini\" KeyPath=\"yes\"/>\n"
    "          </Component>\n")
  string(APPEND QUBSET_LANG_REFS "      <ComponentRef Id=\"${id}\"/>\n")
endforeach()
# One product code per version, derived from the upgrade code.
string(UUID QUBSET_PRODUCT_CODE NAMESPACE 6F0C8E52-3A7D-4B1E-9C55-2D8A41F7B310
       NAME "Qubset ${PROJECT_VERSION}" TYPE SHA1 UPPER)
# Every Qubset whose first three fields are at most this version's is replaced by it: Windows
# Installer ignores the fourth field, and wixl drops IncludeMaximum.
math(EXPR _next_patch "${PROJECT_VERSION_PATCH} + 1")
set(QUBSET_UPGRADE_BELOW ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${_next_patch})
# wixl takes only relative sources: the payload is staged beside the description.
set(_stage ${CMAKE_CURRENT_BINARY_DIR}/msi)
configure_file(${PROJECT_SOURCE_DIR}/resources/qubset.wxs.in ${_stage}/qubset.wxs @ONLY)

set(_msi ${CMAKE_CURRENT_BINARY_DIR}/Qubset.msi)
add_custom_command(OUTPUT ${_msi}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qubset>
          $<TARGET_FILE:qubset_console> ${_lang_files}
          ${QUBSET_IMAGE_DIR}/qubset.ico ${_stage}
  COMMAND ${QUBSET_WIXL} --arch x64 -o ${_msi} qubset.wxs
  WORKING_DIRECTORY ${_stage}
  DEPENDS Qubset qubset_console qubset_images ${_stage}/qubset.wxs ${_lang_files} VERBATIM)
add_custom_target(qubset_msi ALL DEPENDS ${_msi})
