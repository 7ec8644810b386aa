# The libraries favlink_lib builds on. rapidjson (header-only, Debian
# rapidjson-dev) parses the browsers' JSON bookmark files; it reaches
# favlink_lib PUBLIC, so the unit tests and the fuzz target see it too.
# Included once from the top-level CMakeLists.txt, after favlink_lib.
#
# Native builds use the Debian package as installed. A MinGW cross build
# uses the same headers, from a folder of the build tree that holds nothing
# else: the rest of /usr/include is the host's C library and would break the
# Windows compiler.

# rapidjson: a host header in both builds, hence searched outside the
# cross build's sysroot.
find_path(FAVLINK_RAPIDJSON_INCLUDE rapidjson/reader.h NO_CMAKE_FIND_ROOT_PATH
          DOC "Folder holding rapidjson/ (Debian: /usr/include from rapidjson-dev)")
if(NOT FAVLINK_RAPIDJSON_INCLUDE)
  message(FATAL_ERROR "rapidjson/reader.h not found: install rapidjson-dev "
                      "(apt-get install rapidjson-dev), or set FAVLINK_RAPIDJSON_INCLUDE")
endif()
if(CMAKE_CROSSCOMPILING)
  set(only_rapidjson ${CMAKE_BINARY_DIR}/rapidjson-include)
  file(MAKE_DIRECTORY ${only_rapidjson})
  file(REMOVE ${only_rapidjson}/rapidjson)
  file(CREATE_LINK ${FAVLINK_RAPIDJSON_INCLUDE}/rapidjson ${only_rapidjson}/rapidjson SYMBOLIC)
  target_include_directories(favlink_lib SYSTEM PUBLIC ${only_rapidjson})
else()
  target_include_directories(favlink_lib SYSTEM PUBLIC ${FAVLINK_RAPIDJSON_INCLUDE})
endif()
