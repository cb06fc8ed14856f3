# SPDX-License-Identifier: Apache-2.0
# The security component (src/security/, not in the library): Milenage, the
# key derivations, the NAS integrity and ciphering algorithms, the key
# files and the security context of each UE.  It is linked by the capture
# component and the program, never into libcorvuna or Corvuna.dll.
# Milenage, the KDF and 128-EEA2/EIA2 need OpenSSL's libcrypto
# (libssl-dev); 128-EEA1/EIA1 and 128-EEA3/EIA3 need Intel's ipsec-mb
# (libipsec-mb-dev, amd64).  Without them the component still builds and
# says, per message, which algorithm it could not run.
file(GLOB CORVUNA_SECURITY_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/security/*.cpp)
add_library(corvuna_security STATIC ${CORVUNA_SECURITY_SOURCES})
target_include_directories(corvuna_security PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(corvuna_security PUBLIC corvuna_static)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 at -O3 (the 32-bit Windows build) reports std::string
  # concatenation inside libstdc++ as overlapping memcpy (GCC bug 105329, a
  # false positive).
  target_compile_options(corvuna_security PRIVATE -Wno-restrict)
endif()

option(CORVUNA_SECURITY_LIBRARIES "Look for libcrypto and ipsec-mb (OFF: a build without them, to check it)" ON)
set(CORVUNA_SECURITY_MISSING "")
if(NOT WIN32 AND CORVUNA_SECURITY_LIBRARIES)
  find_package(OpenSSL COMPONENTS Crypto QUIET)
endif()
if(CORVUNA_SECURITY_LIBRARIES AND OPENSSL_FOUND AND OPENSSL_VERSION VERSION_GREATER_EQUAL 3.0)
  target_link_libraries(corvuna_security PRIVATE OpenSSL::Crypto)
  target_compile_definitions(corvuna_security PRIVATE CORVUNA_HAVE_OPENSSL=1)
else()
  list(APPEND CORVUNA_SECURITY_MISSING "OpenSSL 3 libcrypto (libssl-dev), so unavailable: Milenage, the KDF, 128-EEA2 and 128-EIA2")
endif()

if(NOT WIN32 AND CORVUNA_SECURITY_LIBRARIES)
  find_path(CORVUNA_IPSEC_MB_INCLUDE intel-ipsec-mb.h)
  find_library(CORVUNA_IPSEC_MB_LIBRARY IPSec_MB)
endif()
if(CORVUNA_SECURITY_LIBRARIES AND CORVUNA_IPSEC_MB_INCLUDE AND CORVUNA_IPSEC_MB_LIBRARY)
  target_include_directories(corvuna_security SYSTEM PRIVATE ${CORVUNA_IPSEC_MB_INCLUDE})
  target_link_libraries(corvuna_security PRIVATE ${CORVUNA_IPSEC_MB_LIBRARY})
  target_compile_definitions(corvuna_security PRIVATE CORVUNA_HAVE_IPSEC_MB=1)
else()
  list(APPEND CORVUNA_SECURITY_MISSING "Intel ipsec-mb (libipsec-mb-dev), so unavailable: 128-EEA1, 128-EIA1, 128-EEA3 and 128-EIA3")
endif()

foreach(missing ${CORVUNA_SECURITY_MISSING})
  message(STATUS "NAS security: built without ${missing}")
endforeach()
