# SPDX-License-Identifier: Apache-2.0
# Installation: the shared library (versioned SONAME), the static library,
# the capture library (libcorvuna-capture) and its header, the header, a CMake package (find_package(Corvuna): Corvuna::corvuna and
# Corvuna::corvuna_static), a pkg-config file, the program and its manual
# page, the Python package, and Debian packages through CPack.
include(CMakePackageConfigHelpers)

set(CORVUNA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Corvuna)

install(TARGETS corvuna_shared EXPORT CorvunaTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
install(TARGETS corvuna_static EXPORT CorvunaTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
if(TARGET corvuna_capture_shared)
  # libcorvuna-capture: its own SONAME, header and pkg-config file; libpcap,
  # zlib and the crypto libraries are its dependencies.
  install(TARGETS corvuna_capture_shared EXPORT CorvunaTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT capture NAMELINK_COMPONENT dev)
  install(FILES ${PROJECT_SOURCE_DIR}/include/corvuna/capture.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvuna COMPONENT dev)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/include/corvuna/corvuna.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvuna COMPONENT dev)
install(EXPORT CorvunaTargets NAMESPACE Corvuna:: FILE CorvunaTargets.cmake
  DESTINATION ${CORVUNA_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/CorvunaConfig.cmake.in
  ${PROJECT_BINARY_DIR}/CorvunaConfig.cmake INSTALL_DESTINATION ${CORVUNA_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/CorvunaConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/CorvunaConfig.cmake ${PROJECT_BINARY_DIR}/CorvunaConfigVersion.cmake
  DESTINATION ${CORVUNA_CMAKE_DIR} COMPONENT dev)

# corvuna.pc finds the prefix from its own place, so the same file is right
# under any --prefix or DESTDIR.
set(CORVUNA_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH CORVUNA_PC_TO_PREFIX /prefix/${CORVUNA_PKGCONFIG_DIR} /prefix)
string(REGEX REPLACE "/$" "" CORVUNA_PC_TO_PREFIX "${CORVUNA_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/corvuna.pc.in ${PROJECT_BINARY_DIR}/corvuna.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/corvuna.pc DESTINATION ${CORVUNA_PKGCONFIG_DIR} COMPONENT dev)
if(TARGET corvuna_capture_shared)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/corvuna-capture.pc.in ${PROJECT_BINARY_DIR}/corvuna-capture.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/corvuna-capture.pc DESTINATION ${CORVUNA_PKGCONFIG_DIR} COMPONENT dev)
endif()

if(TARGET corvuna_cli)
  install(TARGETS corvuna_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/corvuna.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)

# A library installed into a directory of the system loader is known to it
# only once its cache is rebuilt.
if(UNIX AND NOT APPLE)
  install(CODE "
    if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
      set(_lib \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}\")
      if(_lib MATCHES \"^/usr(/local)?/lib\" AND EXISTS /sbin/ldconfig)
        execute_process(COMMAND /sbin/ldconfig RESULT_VARIABLE _r OUTPUT_QUIET ERROR_QUIET)
      endif()
    endif()" COMPONENT runtime)
endif()

# The Python package, beside the other packages of the Python found, with a
# note of where the library lies relative to it.
option(CORVUNA_INSTALL_PYTHON "Install the Python package when Python 3 is found" ON)
if(CORVUNA_INSTALL_PYTHON AND NOT CMAKE_CROSSCOMPILING)
  find_package(Python3 COMPONENTS Interpreter QUIET)
  if(Python3_Interpreter_FOUND)
    if(NOT CORVUNA_PYTHON_INSTALL_DIR)
      execute_process(
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/python-site-dir.py ${CMAKE_INSTALL_PREFIX}
        OUTPUT_VARIABLE _site OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _r)
      if(_r EQUAL 0)
        set(CORVUNA_PYTHON_INSTALL_DIR ${_site} CACHE STRING "Python package directory, relative to the prefix")
      endif()
    endif()
    if(CORVUNA_PYTHON_INSTALL_DIR)
      set(_soname libcorvuna.so.${PROJECT_VERSION_MAJOR})
      if(WIN32)
        set(_soname Corvuna.dll)
        file(RELATIVE_PATH CORVUNA_PY_TO_LIB /prefix/${CORVUNA_PYTHON_INSTALL_DIR}/corvuna
             /prefix/${CMAKE_INSTALL_BINDIR}/${_soname})
      else()
        file(RELATIVE_PATH CORVUNA_PY_TO_LIB /prefix/${CORVUNA_PYTHON_INSTALL_DIR}/corvuna
             /prefix/${CMAKE_INSTALL_LIBDIR}/${_soname})
      endif()
      string(REPLACE "${_soname}" "libcorvuna-capture.so.${PROJECT_VERSION_MAJOR}" CORVUNA_PY_TO_CAPTURE
        "${CORVUNA_PY_TO_LIB}")
      file(WRITE ${PROJECT_BINARY_DIR}/python/_installed.py
        "# Written by cmake --install: the libraries, relative to this package.\nLIBRARY = \"${CORVUNA_PY_TO_LIB}\"\n"
        "CAPTURE_LIBRARY = \"${CORVUNA_PY_TO_CAPTURE}\"\n")
      # Where `corvuna report` finds the package, relative to the program.
      if(TARGET corvuna_cli)
        file(RELATIVE_PATH _bin_to_python /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CORVUNA_PYTHON_INSTALL_DIR})
        target_compile_definitions(corvuna_cli PRIVATE CORVUNA_PYTHON_FROM_BINDIR="${_bin_to_python}")
      endif()
      install(DIRECTORY ${PROJECT_SOURCE_DIR}/python/corvuna DESTINATION ${CORVUNA_PYTHON_INSTALL_DIR}
        COMPONENT python FILES_MATCHING PATTERN "*.py" PATTERN "__pycache__" EXCLUDE)
      install(FILES ${PROJECT_BINARY_DIR}/python/_installed.py
        DESTINATION ${CORVUNA_PYTHON_INSTALL_DIR}/corvuna COMPONENT python)
    endif()
  endif()
endif()

# Debian packages: libcorvunaN (run time), libcorvuna-dev, corvuna.
set(CPACK_PACKAGE_NAME corvuna)
set(CPACK_PACKAGE_VENDOR "Corvuna")
set(CPACK_PACKAGE_CONTACT "Corvuna developers <corvuna@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "LTE NAS (TS 24.301) message decoder")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime capture dev program)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libcorvuna${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
set(CPACK_DEBIAN_CAPTURE_PACKAGE_NAME libcorvuna-capture${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_CAPTURE_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, libpcap0.8, zlib1g, libssl3, libipsec-mb1")
set(CPACK_COMPONENT_CAPTURE_DESCRIPTION
  "Corvuna NAS decoder: the capture library (NAS messages of pcap and pcapng captures, with a C API)")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libcorvuna-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libcorvuna${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME corvuna)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, libpcap0.8, libssl3, libipsec-mb1")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "Corvuna LTE NAS decoder: shared library")
set(CPACK_COMPONENT_DEV_DESCRIPTION "Corvuna LTE NAS decoder: header, static library, CMake and pkg-config files")
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "Corvuna LTE NAS decoder: the corvuna program")
include(CPack)
