# What `cmake --install` lays out: the library, its header, the command-line
# host with its manual page, the CMake package and varnel.pc. Every path is
# relative to the prefix, so an install tree may be given any --prefix.
include(CMakePackageConfigHelpers)

set(VARNEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Varnel)
set(VARNEL_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The export records that libVarnel.so has no soname (IMPORTED_NO_SONAME), so
# consumers link it with -lVarnel and record "libVarnel.so", not its path.
install(TARGETS Varnel EXPORT VarnelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/Src/Varnel/Varnel.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS varnel-split RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/tools/varnel-split/varnel-split.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(EXPORT VarnelTargets NAMESPACE Varnel:: DESTINATION ${VARNEL_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VarnelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VarnelConfig.cmake
  INSTALL_DESTINATION ${VARNEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VarnelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VarnelConfig.cmake
  ${PROJECT_BINARY_DIR}/VarnelConfigVersion.cmake
  DESTINATION ${VARNEL_CMAKE_DIR})

# varnel.pc finds the prefix from its own place (${pcfiledir}), so that it is
# right for whatever --prefix the install is given.
function(varnel_pc_path out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "\${prefix}/${dir}" PARENT_SCOPE)
  endif()
endfunction()
if(IS_ABSOLUTE "${VARNEL_PKGCONFIG_DIR}")
  set(VARNEL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH VARNEL_PC_UP "/prefix/${VARNEL_PKGCONFIG_DIR}" "/prefix")
  string(REGEX REPLACE "/$" "" VARNEL_PC_UP "${VARNEL_PC_UP}")
  set(VARNEL_PC_PREFIX "\${pcfiledir}/${VARNEL_PC_UP}")
endif()
varnel_pc_path(VARNEL_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
varnel_pc_path(VARNEL_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/varnel.pc.in ${PROJECT_BINARY_DIR}/varnel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/varnel.pc DESTINATION ${VARNEL_PKGCONFIG_DIR})

# The Python package: its files and the extension built for the interpreter
# that the build found, by default in the library directory.
set(VARNEL_PYTHON_DIR ${CMAKE_INSTALL_LIBDIR} CACHE STRING
  "Where to install the Python package varnel (relative to the prefix)")
if(TARGET _varnel)
  install(TARGETS _varnel LIBRARY DESTINATION ${VARNEL_PYTHON_DIR}/varnel)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/python/varnel/ DESTINATION ${VARNEL_PYTHON_DIR}/varnel
    FILES_MATCHING PATTERN "*.py" PATTERN "*.pyi" PATTERN "py.typed" PATTERN "__pycache__" EXCLUDE)
endif()
