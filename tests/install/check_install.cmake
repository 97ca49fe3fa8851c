# Installs into a staging folder as a package build does (DESTDIR), then
# checks what a desktop and a software centre read.
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR}
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(root ${STAGE}${PREFIX})
set(entry ${root}/share/applications/${APP_ID}.desktop)
set(metainfo ${root}/share/metainfo/${APP_ID}.metainfo.xml)
foreach(file ${root}/bin/vokabo ${entry} ${metainfo})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The menu entry starts the installed program and finds the installed icon.
file(STRINGS ${entry} exec REGEX "^Exec=")
file(STRINGS ${entry} icon REGEX "^Icon=")
string(REGEX REPLACE "^Exec=" "" exec "${exec}")
string(REGEX REPLACE "^Icon=" "" icon "${icon}")
if(NOT exec STREQUAL "${PREFIX}/bin/vokabo")
  message(FATAL_ERROR "the entry starts '${exec}', not the installed program")
endif()
if(NOT EXISTS ${root}/share/icons/hicolor/scalable/apps/${icon}.svg)
  message(FATAL_ERROR "no icon '${icon}' installed")
endif()

foreach(check "desktop-file-validate;${entry}" "appstreamcli;validate-tree;--no-net;${root}")
  execute_process(COMMAND ${check} RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
  message("${said}")
  if(failed OR said MATCHES "(^|\n) *(E|W):|error:|warning:|hint:")
    list(GET check 0 tool)
    message(FATAL_ERROR "${tool} found faults")
  endif()
endforeach()
