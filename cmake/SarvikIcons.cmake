# sarvik_add_icons(TARGET <target> PREFIX <resource prefix> NAMES <name>...)
#
# Compiles the named icons into the target's resources as qrc:<PREFIX>/<name>.svg. Each name is looked up
# in controls/icons/mdi (Material Design Icons) and then controls/icons/own (drawn for this project); a
# name found in neither stops the configure step, so a view never ships with a missing icon.
#
#   sarvik_add_icons(TARGET pelvan PREFIX /Icons NAMES play stop point1x1)   # qrc:/Icons/play.svg ...
set(SARVIK_ICON_DIRS ${CMAKE_CURRENT_LIST_DIR}/../controls/icons/mdi ${CMAKE_CURRENT_LIST_DIR}/../controls/icons/own)

function(sarvik_add_icons)
  cmake_parse_arguments(ICONS "" "TARGET;PREFIX" "NAMES" ${ARGN})
  if(NOT ICONS_TARGET OR NOT ICONS_PREFIX OR NOT ICONS_NAMES)
    message(FATAL_ERROR "sarvik_add_icons needs TARGET, PREFIX and NAMES")
  endif()
  set(qrc "<RCC>\n  <qresource prefix=\"${ICONS_PREFIX}\">\n")
  foreach(name ${ICONS_NAMES})
    set(found "")
    foreach(dir ${SARVIK_ICON_DIRS})
      if(EXISTS ${dir}/${name}.svg)
        get_filename_component(found ${dir}/${name}.svg ABSOLUTE)
        break()
      endif()
    endforeach()
    if(NOT found)
      message(FATAL_ERROR "icon '${name}' for ${ICONS_TARGET}: no ${name}.svg in ${SARVIK_ICON_DIRS}")
    endif()
    string(APPEND qrc "    <file alias=\"${name}.svg\">${found}</file>\n")
  endforeach()
  string(APPEND qrc "  </qresource>\n</RCC>\n")

  # One resource file per target and prefix; rewritten only when its content changes, so rcc does not rerun.
  string(MAKE_C_IDENTIFIER "${ICONS_TARGET}${ICONS_PREFIX}" id)
  set(qrc_file ${CMAKE_CURRENT_BINARY_DIR}/${id}_icons.qrc)
  file(WRITE ${qrc_file}.tmp "${qrc}")
  configure_file(${qrc_file}.tmp ${qrc_file} COPYONLY)
  file(REMOVE ${qrc_file}.tmp)
  qt5_add_resources(sources ${qrc_file})
  target_sources(${ICONS_TARGET} PRIVATE ${sources})
endfunction()
