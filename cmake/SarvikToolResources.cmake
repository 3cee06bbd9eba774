# What the desktop tools build around their programs.
#
#   sarvik_add_views(TARGET <target> DIR <views folder>)
#     every QML document, script and qmldir of the folder (subfolders too) as qrc:/Views/<relative path>
#   sarvik_add_translations(TARGET <target> NAME <Name> DIR <translations folder>)
#     <DIR>/<Name>.<locale>.ts -> <bin>/<Name>-Config/<Name>.<locale>.qm for en_US and zh_CN

function(sarvik_add_views)
  cmake_parse_arguments(V "" "TARGET;DIR" "" ${ARGN})
  file(GLOB_RECURSE views CONFIGURE_DEPENDS ${V_DIR}/*.qml ${V_DIR}/*.js ${V_DIR}/qmldir)
  set(qrc "<RCC>\n  <qresource prefix=\"/Views\">\n")
  foreach(view ${views})
    file(RELATIVE_PATH rel ${V_DIR} ${view})
    string(APPEND qrc "    <file alias=\"${rel}\">${view}</file>\n")
  endforeach()
  string(APPEND qrc "  </qresource>\n</RCC>\n")
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${V_TARGET}_views.qrc CONTENT "${qrc}")
  qt5_add_resources(resources ${CMAKE_CURRENT_BINARY_DIR}/${V_TARGET}_views.qrc)
  set_source_files_properties(${resources} PROPERTIES OBJECT_DEPENDS "${views}")
  target_sources(${V_TARGET} PRIVATE ${resources})
endfunction()

function(sarvik_add_translations)
  cmake_parse_arguments(T "" "TARGET;NAME;DIR" "" ${ARGN})
  find_program(SARVIK_LRELEASE NAMES lrelease lrelease-qt5 HINTS ${Qt5_DIR}/../../../../bin
               ${Qt5_DIR}/../../../qt5/bin REQUIRED)
  set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${T_NAME}-Config)
  set(qm_files "")
  foreach(locale en_US zh_CN)
    set(ts ${T_DIR}/${T_NAME}.${locale}.ts)
    set(qm ${out}/${T_NAME}.${locale}.qm)
    add_custom_command(OUTPUT ${qm}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
      COMMAND ${SARVIK_LRELEASE} -silent ${ts} -qm ${qm}
      DEPENDS ${ts}
      COMMENT "Compiling ${T_NAME}.${locale}.qm"
      VERBATIM)
    list(APPEND qm_files ${qm})
  endforeach()
  add_custom_target(${T_TARGET}_translations DEPENDS ${qm_files})
  add_dependencies(${T_TARGET} ${T_TARGET}_translations)
endfunction()
