# Installation and Debian packages.
#
#   cmake --install build [--prefix DIR] [--component runtime|dev|tools|vcam]
#   make package        (cpack: build/packages/*.deb)
#
# runtime: libSarvikSDK and libSarvikFfmpeg; dev: the public header, a pkg-config file (sarvik-sdk) and a
# CMake package (find_package(SarvikSDK) -> Sarvik::SDK), both relocatable; tools: pelvan, qelm and sarvik in
# <libdir>/sarvik/bin with their translations and manuals, the Tavo5 module in <libdir>/sarvik/qml (the
# desktop tools keep their settings, data and logs beside the program and find the module in ../qml), links
# in <bindir>, and libMvCameraControl; vcam: sarvik-vcam.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The SDK finds its codec layer beside itself wherever the two were put (also when a program is linked).
set_target_properties(SarvikSDK PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS SarvikSDK SarvikFfmpeg LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/sdk/include/SarvikSDK.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT dev)

set(SARVIK_PC_LIBDIR ${CMAKE_INSTALL_LIBDIR})
configure_file(${PROJECT_SOURCE_DIR}/cmake/sarvik-sdk.pc.in ${CMAKE_BINARY_DIR}/install/sarvik-sdk.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/sarvik-sdk.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT dev)

set(SARVIK_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/SarvikSDK)
file(RELATIVE_PATH SARVIK_CONFIG_TO_PREFIX /root/${SARVIK_CONFIG_DIR} /root)
configure_file(${PROJECT_SOURCE_DIR}/cmake/SarvikSDKConfig.cmake.in ${CMAKE_BINARY_DIR}/install/SarvikSDKConfig.cmake
               @ONLY)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/install/SarvikSDKConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/install/SarvikSDKConfig.cmake ${CMAKE_BINARY_DIR}/install/SarvikSDKConfigVersion.cmake
        DESTINATION ${SARVIK_CONFIG_DIR} COMPONENT dev)

if(TARGET sarvik-vcam)
  install(TARGETS sarvik-vcam RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT vcam)
endif()

if(TARGET pelvan AND TARGET qelm)
  set(SARVIK_TOOLS_DIR ${CMAKE_INSTALL_LIBDIR}/sarvik)
  install(TARGETS MvCameraControl LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT tools)
  set(tool_programs pelvan qelm)
  if(TARGET sarvik)
    list(APPEND tool_programs sarvik)
  endif()
  install(TARGETS ${tool_programs} RUNTIME DESTINATION ${SARVIK_TOOLS_DIR}/bin COMPONENT tools)
  # Translations and manuals beside the programs, as the build lays them out.
  install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Pelvan-Config ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Qelm-Config
          DESTINATION ${SARVIK_TOOLS_DIR}/bin COMPONENT tools FILES_MATCHING PATTERN "*.qm")
  install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Doc DESTINATION ${SARVIK_TOOLS_DIR}/bin COMPONENT tools
          FILES_MATCHING PATTERN "*.pdf")
  install(DIRECTORY ${CMAKE_BINARY_DIR}/qml/Tavo5 DESTINATION ${SARVIK_TOOLS_DIR}/qml COMPONENT tools)
  # The programs on the PATH: they find their folders through /proc/self/exe, which resolves the link.
  foreach(program ${tool_programs})
    file(RELATIVE_PATH link_target /root/${CMAKE_INSTALL_BINDIR} /root/${SARVIK_TOOLS_DIR}/bin/${program})
    install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
file(CREATE_LINK ${link_target} \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\" SYMBOLIC)"
            COMPONENT tools)
  endforeach()
endif()

# Debian packages, one per component.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sarvik)
set(CPACK_PACKAGE_VENDOR "Sarvik")
set(CPACK_PACKAGE_CONTACT "Sarvik developers <dev@sarvik.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Software for networked radiometric thermal cameras")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENTS_ALL runtime dev vcam)
if(TARGET pelvan AND TARGET qelm)
  list(APPEND CPACK_COMPONENTS_ALL tools)
endif()
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libsarviksdk)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libsarviksdk-dev)
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME sarvik-tools)
set(CPACK_DEBIAN_VCAM_PACKAGE_NAME sarvik-vcam)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "Camera SDK library (libSarvikSDK) and its codec layer")
set(CPACK_COMPONENT_DEV_DESCRIPTION "Camera SDK header, pkg-config file and CMake package")
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "Desktop tool pelvan, dual-light tool qelm and command-line tool sarvik")
set(CPACK_COMPONENT_VCAM_DESCRIPTION "Virtual thermal camera for development without hardware")
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_COMPONENT_VCAM_DEPENDS runtime)
# The QML modules the views import are not found by the library scan.
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS
    "qml-module-qtquick2, qml-module-qtquick-window2, qml-module-qtquick-controls2, qml-module-qtquick-templates2, qml-module-qtquick-layouts, qml-module-qt-labs-platform, qml-module-qtquick-shapes, qml-module-qtqml-models2")
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "pkg-config")
include(CPack)
