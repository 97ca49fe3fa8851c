# Fails when a source file includes a header of a folder above its own: the
# folders of SOURCE_DIR stand in LAYERS from the bottom up ("|" between
# layers, "," between folders of one layer); a file may include its own
# folder and the layers below.
string(REPLACE "|" ";" layers "${LAYERS}")
set(rank 0)
foreach(layer IN LISTS layers)
  string(REPLACE "," ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(rank_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(offences)
foreach(source IN LISTS sources)
  # core/ and gui/ split each folder by library; the layers are the folders
  # inside them.
  string(REGEX REPLACE "^(core|gui)/" "" own "${source}")
  string(REGEX REPLACE "/.*" "" own "${own}")
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z]+)/.*" "\\1" other "${line}")
    if(NOT other STREQUAL own AND DEFINED rank_${other} AND DEFINED rank_${own}
       AND NOT rank_${other} LESS rank_${own})
      list(APPEND offences "${source} includes ${other}/")
    endif()
  endforeach()
endforeach()
if(offences)
  string(REPLACE ";" "\n  " offences "${offences}")
  message(FATAL_ERROR "an include points up or across the layers:\n  ${offences}")
endif()
