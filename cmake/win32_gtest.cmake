# GoogleTest built from source for the Windows test programs (the in-process Win32
# suites, the end-to-end driver, the soak): target gtest; configuring fails when the
# sources are missing.
if(TARGET gtest)
  return()
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BAYLITH_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows test programs")
if(EXISTS ${BAYLITH_GTEST_SOURCE_DIR}/CMakeLists.txt)
  add_subdirectory(${BAYLITH_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  message(FATAL_ERROR "No GoogleTest sources at ${BAYLITH_GTEST_SOURCE_DIR}: the Windows test programs cannot be built (install googletest, or set BAYLITH_GTEST_SOURCE_DIR; -DBUILD_TESTING=OFF builds the program alone)")
endif()
