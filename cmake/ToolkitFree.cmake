# Fails when a source of the wizard's own layers includes a toolkit or Windows header: those
# layers reach the platform only through the ui/ interface.
# Usage: cmake -DROOT=<source dir> -P ToolkitFree.cmake
set(layers app transfer pages)
set(forbidden "#[ \t]*include[ \t]*[<\"]((Q[A-Za-z0-9_]*|Qt[A-Za-z0-9_]*/[^>\"]*)|[Ww]indows\\.h)[>\"]")
set(found "")
foreach(layer ${layers})
  file(GLOB_RECURSE sources "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" lines REGEX "${forbidden}")
    foreach(line ${lines})
      file(RELATIVE_PATH name "${ROOT}" "${source}")
      string(APPEND found "\n  ${name}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Toolkit or Windows headers above the ui/ interface:${found}")
endif()
