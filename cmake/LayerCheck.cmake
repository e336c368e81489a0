# Keeps each folder to its layer.
#
# At configure time (include()d from the top CMakeLists.txt): no file in the
# core folders includes a Widgets header or anything from widgets/ or app/.
#
# As a test (cmake -DOBJECT_LIST=... -P LayerCheck.cmake): no product object
# outside platform/ opens, reads, lists or looks up a file itself; only
# platform/ speaks to the OS, so a save's error handling stays in one place
# and no other folder can open a FIFO or wait on a disk by a call of its own.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

set(core_folders platform game cfgfile palette preview icons)
set(forbidden_calls
  open open64 __open_2 __open64_2 openat openat64 __openat_2 __openat64_2
  pread pread64 __pread_chk __pread64_chk pwrite pwrite64
  fsync fdatasync rename renameat renameat2 ftruncate ftruncate64
  opendir fdopendir readdir readdir64 stat stat64 lstat lstat64 fstatat fstatat64 statx
  readlink readlinkat realpath access faccessat)

function(veltrane_check_core_includes source_dir widgets_include_dirs)
  # Every class header Qt Widgets installs, as the names a file may include.
  set(widget_headers "")
  foreach(dir ${widgets_include_dirs})
    if(dir MATCHES "QtWidgets$" AND IS_DIRECTORY "${dir}")
      file(GLOB headers RELATIVE "${dir}" "${dir}/Q*")
      list(APPEND widget_headers ${headers})
    endif()
  endforeach()
  if(NOT widget_headers)
    message(FATAL_ERROR "Layer check: found no Qt Widgets headers to check against")
  endif()

  set(problems "")
  foreach(folder ${core_folders})
    file(GLOB_RECURSE files RELATIVE "${source_dir}" "${source_dir}/${folder}/*.h" "${source_dir}/${folder}/*.cpp")
    foreach(file ${files})
      file(STRINGS "${source_dir}/${file}" includes REGEX "^[ \t]*#[ \t]*include")
      foreach(line ${includes})
        if(line MATCHES "[<\"]([^>\"]+)[>\"]")
          set(included "${CMAKE_MATCH_1}")
          if(included MATCHES "^(widgets|app)/" OR included MATCHES "^QtWidgets/"
             OR included IN_LIST widget_headers)
            string(APPEND problems "\n  ${file} includes ${included}")
          endif()
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(problems)
    message(FATAL_ERROR "Layer check: platform/, game/, cfgfile/, palette/, preview/ and icons/ build without widgets:${problems}")
  endif()
endfunction()

function(veltrane_check_system_calls object_list nm)
  file(STRINGS "${object_list}" objects)
  set(problems "")
  set(checked 0)
  foreach(object ${objects})
    if(object MATCHES "/platform/" OR NOT object MATCHES "\\.o$")
      continue()
    endif()
    math(EXPR checked "${checked} + 1")
    execute_process(COMMAND "${nm}" -u "${object}" OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "Layer check: ${nm} could not read ${object}")
    endif()
    string(REGEX MATCHALL "U [A-Za-z0-9_]+" undefined "${symbols}")
    foreach(entry ${undefined})
      string(SUBSTRING "${entry}" 2 -1 symbol)
      if(symbol IN_LIST forbidden_calls)
        string(APPEND problems "\n  ${object} calls ${symbol}")
      endif()
    endforeach()
  endforeach()
  if(checked EQUAL 0)
    message(FATAL_ERROR "Layer check: no objects to check in ${object_list}")
  endif()
  if(problems)
    message(FATAL_ERROR "Layer check: only platform/ calls the file system directly:${problems}")
  endif()
  message(STATUS "Layer check: ${checked} objects outside platform/ make no direct file system calls")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  veltrane_check_system_calls("${OBJECT_LIST}" "${NM}")
endif()
