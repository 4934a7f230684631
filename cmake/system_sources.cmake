# keep_system_sources(LIST): drops from the source list LIST the files written
# for another system. Each operating-system service exists as `_posix.cpp` and
# `_win32.cpp`; WebAssembly takes a `_wasm.cpp` file in place of its `_posix.cpp`
# namesake and the POSIX file wherever there is none.
function(keep_system_sources list)
  set(files ${${list}})
  if(WIN32)
    list(FILTER files EXCLUDE REGEX "_(posix|wasm)\\.cpp$")
  elseif(EMSCRIPTEN)
    list(FILTER files EXCLUDE REGEX "_win32\\.cpp$")
    foreach(file IN LISTS files)
      if(file MATCHES "^(.*)_wasm\\.cpp$")
        list(REMOVE_ITEM files "${CMAKE_MATCH_1}_posix.cpp")
      endif()
    endforeach()
  else()
    list(FILTER files EXCLUDE REGEX "_(win32|wasm)\\.cpp$")
  endif()
  set(${list} ${files} PARENT_SCOPE)
endfunction()
