# Run by CPack once it has made the release ZIP (CPACK_POST_BUILD_SCRIPTS):
# unpacks the ZIP, lists its files for the installer script and runs
# makensis, so that setup.exe installs exactly what the ZIP holds and its
# uninstaller removes exactly that. Writes <CPACK_PELLACORE_SETUP_NAME>.exe
# beside the ZIP in CPack's output folder.

set(zip "")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.zip$")
    set(zip "${package}")
  endif()
endforeach()
if(NOT zip)
  message(FATAL_ERROR "make-setup: no ZIP among CPack's packages: ${CPACK_PACKAGE_FILES}")
endif()

find_program(makensis makensis)
if(NOT makensis)
  message(FATAL_ERROR "make-setup: makensis not found; scripts/install-deps installs Debian's nsis")
endif()

get_filename_component(work "${zip}" DIRECTORY)
set(work "${work}/setup")
file(REMOVE_RECURSE "${work}")
file(ARCHIVE_EXTRACT INPUT "${zip}" DESTINATION "${work}/unpacked")
set(folder "${work}/unpacked/${CPACK_PACKAGE_FILE_NAME}")
if(NOT IS_DIRECTORY "${folder}")
  message(FATAL_ERROR "make-setup: the ZIP holds no folder ${CPACK_PACKAGE_FILE_NAME}")
endif()

file(GLOB_RECURSE entries RELATIVE "${folder}" LIST_DIRECTORIES true "${folder}/*")
list(SORT entries)
set(files "")
set(folders "")
foreach(entry IN LISTS entries)
  # Names go into NSIS strings as they are.
  if(NOT entry MATCHES "^[A-Za-z0-9 ._/-]+$")
    message(FATAL_ERROR "make-setup: a name the installer script cannot carry: ${entry}")
  endif()
  if(IS_DIRECTORY "${folder}/${entry}")
    list(APPEND folders "${entry}")
  else()
    list(APPEND files "${entry}")
  endif()
endforeach()

# Files go in folder by folder; removal takes the files, then each folder,
# the deepest first, only when nothing else is left in it (RMDir, not /r).
set(install "!macro InstallProgramFiles\n")
set(remove "!macro RemoveProgramFiles\n")
set(current "-")
foreach(file IN LISTS files)
  get_filename_component(parent "${file}" DIRECTORY)
  if(NOT parent STREQUAL current)
    string(REPLACE "/" "\\" windows_parent "${parent}")
    if(parent STREQUAL "")
      string(APPEND install "  SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND install "  SetOutPath \"$INSTDIR\\${windows_parent}\"\n")
    endif()
    set(current "${parent}")
  endif()
  string(APPEND install "  File \"${folder}/${file}\"\n")
  string(REPLACE "/" "\\" windows_file "${file}")
  string(APPEND remove "  Delete \"$INSTDIR\\${windows_file}\"\n")
endforeach()
list(REVERSE folders)
foreach(subfolder IN LISTS folders)
  string(REPLACE "/" "\\" windows_folder "${subfolder}")
  string(APPEND remove "  RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
string(APPEND install "!macroend\n")
string(APPEND remove "!macroend\n")
file(WRITE "${work}/program-files.nsh" "${install}${remove}")

set(setup "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PELLACORE_SETUP_NAME}.exe")
execute_process(
  COMMAND "${makensis}" -V2 -NOCD "-DPROGRAM_FILES=${work}/program-files.nsh" "-DOUT_FILE=${setup}"
          "${CPACK_PELLACORE_NSIS_SCRIPT}"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT EXISTS "${setup}")
  message(FATAL_ERROR "make-setup: makensis failed (${status}):\n${output}")
endif()
