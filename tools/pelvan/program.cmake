# The program pelvan (build/bin/pelvan): main.cpp over pelvan_core, the views under qrc:/Views/, the icons
# under qrc:/Icons/, the compiled translations in bin/Pelvan-Config and the manuals as PDF in bin/Doc.
# Included by CMakeLists.txt beside it.

# Views: every QML document of Views/ (subfolders too) as qrc:/Views/<relative path>.
file(GLOB_RECURSE PELVAN_VIEWS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Views/*.qml
     ${CMAKE_CURRENT_SOURCE_DIR}/Views/*.js ${CMAKE_CURRENT_SOURCE_DIR}/Views/qmldir)
set(qrc "<RCC>\n  <qresource prefix=\"/Views\">\n")
foreach(view ${PELVAN_VIEWS})
  file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR}/Views ${view})
  string(APPEND qrc "    <file alias=\"${rel}\">${view}</file>\n")
endforeach()
string(APPEND qrc "  </qresource>\n</RCC>\n")
file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/pelvan_views.qrc CONTENT "${qrc}")
qt5_add_resources(PELVAN_VIEW_RESOURCES ${CMAKE_CURRENT_BINARY_DIR}/pelvan_views.qrc)
set_source_files_properties(${PELVAN_VIEW_RESOURCES} PROPERTIES OBJECT_DEPENDS "${PELVAN_VIEWS}")

add_executable(pelvan main.cpp ${PELVAN_VIEW_RESOURCES})
target_link_libraries(pelvan PRIVATE pelvan_core Qt5::QuickControls2 Qt5::Svg)
# Tavo5 is loaded at run time from build/qml (<exe dir>/../qml).
add_dependencies(pelvan Tavo5)

sarvik_add_icons(TARGET pelvan PREFIX /Icons NAMES
  cursor-default point1x1 point3x3 pointcross slash-forward chart-line-variant ellipse-outline circle
  octagram-outline rectangle-outline square-outline hexagon-outline point-add-remove eye eye-off magnify play
  pause stop record camera refresh chart-line cog dots-horizontal folder-open folder-outline content-save upload
  download restore restart clock-outline sync information)

# Translations: translations/Pelvan.<locale>.ts -> bin/Pelvan-Config/Pelvan.<locale>.qm.
find_program(PELVAN_LRELEASE NAMES lrelease lrelease-qt5 HINTS ${Qt5_DIR}/../../../../bin
             ${Qt5_DIR}/../../../qt5/bin REQUIRED)
set(PELVAN_CONFIG_OUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Pelvan-Config)
set(PELVAN_QM_FILES "")
foreach(locale en_US zh_CN)
  set(ts ${CMAKE_CURRENT_SOURCE_DIR}/translations/Pelvan.${locale}.ts)
  set(qm ${PELVAN_CONFIG_OUT}/Pelvan.${locale}.qm)
  add_custom_command(OUTPUT ${qm}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PELVAN_CONFIG_OUT}
    COMMAND ${PELVAN_LRELEASE} -silent ${ts} -qm ${qm}
    DEPENDS ${ts}
    COMMENT "Compiling Pelvan.${locale}.qm"
    VERBATIM)
  list(APPEND PELVAN_QM_FILES ${qm})
endforeach()
add_custom_target(pelvan_translations DEPENDS ${PELVAN_QM_FILES})
add_dependencies(pelvan pelvan_translations)

# Manuals: manual/Pelvan_<US|CN>.md -> bin/Doc/Pelvan_<US|CN>.pdf through Qt's own PDF writer.
add_executable(pelvan_make_pdf manual/make_pdf.cpp)
target_link_libraries(pelvan_make_pdf PRIVATE Qt5::Gui)
set_target_properties(pelvan_make_pdf PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set(PELVAN_DOC_OUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Doc)
set(PELVAN_PDF_FILES "")
foreach(lang US CN)
  set(md ${CMAKE_CURRENT_SOURCE_DIR}/manual/Pelvan_${lang}.md)
  set(pdf ${PELVAN_DOC_OUT}/Pelvan_${lang}.pdf)
  add_custom_command(OUTPUT ${pdf}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PELVAN_DOC_OUT}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:pelvan_make_pdf> ${md} ${pdf}
    DEPENDS ${md} pelvan_make_pdf
    COMMENT "Writing Pelvan_${lang}.pdf"
    VERBATIM)
  list(APPEND PELVAN_PDF_FILES ${pdf})
endforeach()
add_custom_target(pelvan_manuals DEPENDS ${PELVAN_PDF_FILES})
add_dependencies(pelvan pelvan_manuals)
