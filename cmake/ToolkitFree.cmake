# Fails when a source of the wizard's own layers, or of the toolkit interface in ui/ (not its
# backends' folders), includes a toolkit or Windows header: the layers reach the platform only
# through that interface.
# Usage: cmake -DROOT=<source dir> -P ToolkitFree.cmake
set(forbidden "#[ \t]*include[ \t]*[<\"]((Q[A-Za-z0-9_]*|Qt[A-Za-z0-9_]*/[^>\"]*)|[Ww]indows\\.h)[>\"]")
file(GLOB_RECURSE sources
  "${ROOT}/app/*.h" "${ROOT}/app/*.cpp"
  "${ROOT}/transfer/*.h" "${ROOT}/transfer/*.cpp"
  "${ROOT}/pages/*.h" "${ROOT}/pages/*.cpp"
  "${ROOT}/site/*.h" "${ROOT}/site/*.cpp")
file(GLOB interface "${ROOT}/ui/*.h" "${ROOT}/ui/*.cpp")
set(found "")
foreach(source ${sources} ${interface})
  file(STRINGS "${source}" lines REGEX "${forbidden}")
  foreach(line ${lines})
    file(RELATIVE_PATH name "${ROOT}" "${source}")
    string(APPEND found "\n  ${name}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Toolkit or Windows headers above the ui/ backends:${found}")
endif()
