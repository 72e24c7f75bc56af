# Fails when a file includes against the direction of the folders:
#   app -> modules (mixer, cd, decks, playlist) -> rack core (skin, resources) -> platform.
# A module may use another module only through that module's public header,
# <module>/<module>.h. A header of declarations alone never reaches the linker,
# so the libraries' link order cannot catch such an include; this does.
#   cmake -DROOT=<source dir> -P scripts/check-includes.cmake

cmake_minimum_required(VERSION 3.25)

set(modules mixer cd decks playlist)

# folder of the including file; then the folders its includes may name.
set(rule_platform platform)
set(rule_resources resources platform)
set(rule_skin skin resources platform)
set(rule_module skin resources platform)  # plus the module's own folder
set(rule_app app ${modules} skin resources platform)
set(rule_tools/skingen resources)
set(rule_tools/mci platform)

set(checked platform resources skin ${modules} app tools/skingen tools/mci)

set(violations "")
foreach(folder IN LISTS checked)
  if(NOT IS_DIRECTORY ${ROOT}/${folder})
    continue()
  endif()
  if(folder IN_LIST modules)
    set(allowed ${folder} ${rule_module})
  else()
    set(allowed ${rule_${folder}})
  endif()
  file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.c)
  foreach(source IN LISTS sources)
    file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      # A bare name is a file beside the includer.
      if(NOT included MATCHES "/")
        continue()
      endif()
      string(REGEX REPLACE "/.*" "" top "${included}")
      if(top IN_LIST allowed)
        continue()
      endif()
      # Another module's public header.
      if(folder IN_LIST modules AND top IN_LIST modules AND included STREQUAL "${top}/${top}.h")
        continue()
      endif()
      string(APPEND violations "  ${source}: #include \"${included}\"\n")
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes against the direction of the folders (see docs/architecture.md):\n${violations}")
endif()
message(STATUS "include direction: every include follows the folders' direction")
