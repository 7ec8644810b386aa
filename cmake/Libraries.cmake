# The two libraries favlink_lib builds on, for the browsers' JSON bookmark
# files: rapidjson (header-only, Debian rapidjson-dev) parses them, and LZ4
# block decoding (Debian liblz4-dev) unpacks the compressed ones. Both reach
# favlink_lib PUBLIC, so the unit tests and the fuzz target see them too.
# Included once from the top-level CMakeLists.txt, after favlink_lib.
#
# Native builds use the Debian packages as installed. A MinGW cross build
# uses the same rapidjson headers, from a folder of the build tree that holds
# nothing else (the rest of /usr/include is the host's C library and would
# break the Windows compiler), and compiles LZ4's lz4.c from the folder named
# by FAVLINK_LZ4_SOURCE (the lib/ folder of Debian's lz4 source package,
# which cmake/WindowsCI.sh fetches), since Debian ships no Windows LZ4.

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

# LZ4.
if(CMAKE_CROSSCOMPILING)
  set(FAVLINK_LZ4_SOURCE "" CACHE PATH
      "lib/ folder of LZ4's source (lz4.c, lz4.h), compiled into the cross build")
  if(NOT EXISTS "${FAVLINK_LZ4_SOURCE}/lz4.c" OR NOT EXISTS "${FAVLINK_LZ4_SOURCE}/lz4.h")
    message(FATAL_ERROR "A cross build compiles LZ4 from source: set FAVLINK_LZ4_SOURCE to the "
                        "lib/ folder of Debian's lz4 source package (apt-get source lz4); "
                        "'make windows' fetches it into build/lz4-src. "
                        "Now: '${FAVLINK_LZ4_SOURCE}'")
  endif()
  enable_language(C)
  # Only the block format: LZ4_decompress_safe and its kin, nothing of the
  # frame format or the HC compressor. Third-party code, built with its own
  # defaults instead of this project's warnings-as-errors.
  add_library(favlink_lz4 STATIC ${FAVLINK_LZ4_SOURCE}/lz4.c)
  set_target_properties(favlink_lz4 PROPERTIES COMPILE_OPTIONS "")
  target_include_directories(favlink_lz4 SYSTEM PUBLIC ${FAVLINK_LZ4_SOURCE})
  target_link_libraries(favlink_lib PUBLIC favlink_lz4)
  # LZ4's licence asks binary copies to carry its notice; package_windows.sh
  # puts this copy into the zip.
  configure_file(${FAVLINK_LZ4_SOURCE}/LICENSE ${CMAKE_BINARY_DIR}/LZ4-LICENSE.txt COPYONLY)
else()
  find_path(FAVLINK_LZ4_INCLUDE lz4.h DOC "Folder holding lz4.h (Debian: liblz4-dev)")
  find_library(FAVLINK_LZ4_LIBRARY lz4 DOC "The LZ4 library (Debian: liblz4-dev)")
  if(NOT FAVLINK_LZ4_INCLUDE OR NOT FAVLINK_LZ4_LIBRARY)
    message(FATAL_ERROR "lz4.h or the lz4 library not found: install liblz4-dev "
                        "(apt-get install liblz4-dev)")
  endif()
  target_include_directories(favlink_lib SYSTEM PUBLIC ${FAVLINK_LZ4_INCLUDE})
  target_link_libraries(favlink_lib PUBLIC ${FAVLINK_LZ4_LIBRARY})
endif()
