# The program pelvan (build/bin/pelvan): main.cpp over pelvan_core, the views under qrc:/Views/, the icons
# under qrc:/Icons/, the compiled translations in bin/Pelvan-Config and the manuals as PDF in bin/Doc.
# Included by CMakeLists.txt beside it.

add_executable(pelvan main.cpp)
sarvik_add_views(TARGET pelvan DIR ${CMAKE_CURRENT_SOURCE_DIR}/Views)
sarvik_add_translations(TARGET pelvan NAME Pelvan DIR ${CMAKE_CURRENT_SOURCE_DIR}/translations)
target_link_libraries(pelvan PRIVATE pelvan_core Qt5::QuickControls2 Qt5::Svg)
# Tavo5 is loaded at run time from build/qml (<exe dir>/../qml).
add_dependencies(pelvan Tavo5)

sarvik_add_icons(TARGET pelvan PREFIX /Icons NAMES
  cursor-default point1x1 point3x3 pointcross slash-forward chart-line-variant ellipse-outline circle
  octagram-outline rectangle-outline square-outline hexagon-outline point-add-remove eye eye-off magnify play
  pause stop record camera refresh chart-line cog dots-horizontal folder-open folder-outline content-save upload
  download restore restart clock-outline sync information)

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
