# Checks that no source above the platform layer (runtime/* except runtime/host, and app/)
# includes an operating-system or display header. Test sources (*_test.cpp, *_testing.h,
# *_fuzz.cpp) may, to set up files and processes. Files listed in ALLOWED are known to still
# need moving; the list only ever shrinks.
#   cmake -DSOURCE_DIR=<tree> -P check_platform_headers.cmake
set(ALLOWED)
set(FORBIDDEN "unistd|fcntl|sys/[a-z_]+|signal|pthread|spawn|dirent|dlfcn|execinfo|langinfo|poll|termios|sched|X11/[A-Za-z]+|SDL2?/[A-Za-z_]+|SDL|wayland-[a-z]+|cairo[a-z-]*|pango/[a-z-]+|fontconfig/[a-z]+")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/runtime/*.cpp ${SOURCE_DIR}/runtime/*.h ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h)
set(failures "")
foreach(source ${sources})
  if(source MATCHES "^runtime/host/" OR source MATCHES "(_test\\.cpp|_testing\\.h|_fuzz\\.cpp)$")
    continue()
  endif()
  list(FIND ALLOWED ${source} allowed)
  if(NOT allowed EQUAL -1)
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*<(${FORBIDDEN})(\\.h)?>")
  foreach(line ${includes})
    string(APPEND failures "  ${source}: ${line}\n")
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "Operating-system or display headers above runtime/host:\n${failures}")
endif()
