# The Windows resources' images, drawn at build time from the SVG sources in resources/images:
# bitmaps (32-bit, with alpha) for pictures and button faces, icons at their list and window
# sizes. Defines the target qubset_images and QUBSET_IMAGE_DIR, where qubset.rc finds them.
find_program(QUBSET_RSVG rsvg-convert REQUIRED)
find_program(QUBSET_CONVERT convert REQUIRED)
find_program(QUBSET_ICOTOOL icotool REQUIRED)

set(QUBSET_IMAGE_DIR ${PROJECT_BINARY_DIR}/images)
set(_svg_dir ${PROJECT_SOURCE_DIR}/resources/images)
set(_outputs)

# <name>.bmp from <svg>.svg at the drawing's own size.
function(qubset_bitmap name svg)
  set(out ${QUBSET_IMAGE_DIR}/${name}.bmp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUBSET_IMAGE_DIR}
    COMMAND ${QUBSET_RSVG} -o ${QUBSET_IMAGE_DIR}/${name}.png ${_svg_dir}/${svg}.svg
    COMMAND ${QUBSET_CONVERT} ${QUBSET_IMAGE_DIR}/${name}.png -define bmp3:alpha=true BMP3:${out}
    DEPENDS ${_svg_dir}/${svg}.svg VERBATIM)
  set(_outputs ${_outputs} ${out} PARENT_SCOPE)
endfunction()

# <name>.ico from <svg>.svg at each of the sizes.
function(qubset_icon name svg)
  set(out ${QUBSET_IMAGE_DIR}/${name}.ico)
  set(commands)
  set(pngs)
  foreach(size IN LISTS ARGN)
    set(png ${QUBSET_IMAGE_DIR}/${name}-${size}.png)
    list(APPEND commands COMMAND ${QUBSET_RSVG} -w ${size} -h ${size} -o ${png} ${_svg_dir}/${svg}.svg)
    list(APPEND pngs ${png})
  endforeach()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUBSET_IMAGE_DIR}
    ${commands}
    COMMAND ${QUBSET_ICOTOOL} -c -o ${out} ${pngs}
    DEPENDS ${_svg_dir}/${svg}.svg VERBATIM)
  set(_outputs ${_outputs} ${out} PARENT_SCOPE)
endfunction()

qubset_bitmap(welcome welcome)
qubset_bitmap(error error)
foreach(face LEFT RIGHT OK CANCEL)
  foreach(state U D X)
    qubset_bitmap(${face}${state} ${face}${state})
  endforeach()
endforeach()
qubset_icon(qubset qubset 16 24 32 48 256)
foreach(icon supervisor sms dtmf ip cid-sms)
  qubset_icon(${icon} ${icon} 16 24 32 48 64)
endforeach()

add_custom_target(qubset_images DEPENDS ${_outputs})
set(QUBSET_IMAGE_FILES ${_outputs})

# The version record and the manifest carry the project's one version.
set(QUBSET_GENERATED_RESOURCES ${PROJECT_BINARY_DIR}/generated-resources)
string(REPLACE "." "," QUBSET_FILE_VERSION "${PROJECT_VERSION}")
file(CONFIGURE OUTPUT ${QUBSET_GENERATED_RESOURCES}/qubset_version.h CONTENT
  "#define QUBSET_FILE_VERSION ${QUBSET_FILE_VERSION}\n#define QUBSET_VERSION_TEXT \"${PROJECT_VERSION}\"\n")
configure_file(${PROJECT_SOURCE_DIR}/resources/qubset.manifest.in
               ${QUBSET_GENERATED_RESOURCES}/qubset.manifest @ONLY)

# Links qubset.rc, with the images it names, into a Windows executable.
function(qubset_windows_resources target)
  set(rc ${PROJECT_SOURCE_DIR}/resources/qubset.rc)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
    "${QUBSET_IMAGE_FILES};${QUBSET_GENERATED_RESOURCES}/qubset.manifest;${QUBSET_GENERATED_RESOURCES}/qubset_version.h")
  target_include_directories(${target} PRIVATE ${QUBSET_GENERATED_RESOURCES} ${QUBSET_IMAGE_DIR}
                                               ${PROJECT_SOURCE_DIR}/resources)
  add_dependencies(${target} qubset_images)
endfunction()
