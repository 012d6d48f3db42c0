# The one version of the three programs, kept in the file VERSION at the top
# of the tree as four numbers "MAJOR.MINOR.BUILD.REVISION". From it come:
#   PELLMARK_VERSION       "1.0.0.1": the package's file names
#   pellmark_version.h     macros for the version resources of the programs
#                          (common/version_info.rc includes it)
#   version.txt            the 12 characters the log banner shows, shipped
#                          beside Pellmark.exe
# Both generated files sit in PELLMARK_GENERATED_DIR. Editing VERSION
# reconfigures the tree.
set(PELLMARK_VERSION_FILE ${PROJECT_SOURCE_DIR}/VERSION)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PELLMARK_VERSION_FILE})
file(STRINGS ${PELLMARK_VERSION_FILE} PELLMARK_VERSION LIMIT_COUNT 1)
string(STRIP "${PELLMARK_VERSION}" PELLMARK_VERSION)
set(_pm_number "(0|[1-9][0-9]*)")
if(NOT PELLMARK_VERSION MATCHES "^${_pm_number}\\.${_pm_number}\\.${_pm_number}\\.${_pm_number}$")
  message(FATAL_ERROR "VERSION holds '${PELLMARK_VERSION}'; expected four numbers such as 1.0.0.1")
endif()
set(_pm_parts ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
list(JOIN _pm_parts "," _pm_commas)
list(GET _pm_parts 0 _pm_major)
list(GET _pm_parts 1 _pm_minor)
list(GET _pm_parts 2 _pm_build)
list(GET _pm_parts 3 _pm_revision)

# version.txt in the layout the banner uses for a version resource
# ("%d.%d.%02d.%05d", "1.0.00.00001"), so the log names a version the same
# way whichever source it read. The banner takes exactly 12 bytes: a version
# whose text would be longer is refused here rather than shipped cut short.
if(_pm_major GREATER 9 OR _pm_minor GREATER 9 OR _pm_build GREATER 99 OR _pm_revision GREATER 65535)
  message(FATAL_ERROR "VERSION ${PELLMARK_VERSION} does not fit the 12 characters the log banner shows "
                      "(major and minor 0-9, build 0-99, revision 0-65535)")
endif()
string(PREPEND _pm_build "0")
string(PREPEND _pm_revision "0000")
string(REGEX MATCH "..$" _pm_build "${_pm_build}")
string(REGEX MATCH ".....$" _pm_revision "${_pm_revision}")
set(PELLMARK_VERSION_TEXT "${_pm_major}.${_pm_minor}.${_pm_build}.${_pm_revision}")

set(PELLMARK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(CONFIGURE OUTPUT ${PELLMARK_GENERATED_DIR}/pellmark_version.h CONTENT
"// Made from the file VERSION by cmake/PellmarkVersion.cmake.
#ifndef PELLMARK_VERSION_H
#define PELLMARK_VERSION_H
#define PELLMARK_VERSION_NUMBERS ${_pm_commas}
#define PELLMARK_VERSION_STRING \"${PELLMARK_VERSION}\"
#endif
")
file(CONFIGURE OUTPUT ${PELLMARK_GENERATED_DIR}/version.txt CONTENT "${PELLMARK_VERSION_TEXT}")
# What a resource script with the version resource depends on.
set(PELLMARK_VERSION_RESOURCE_DEPENDS ${PELLMARK_GENERATED_DIR}/pellmark_version.h
    ${PROJECT_SOURCE_DIR}/common/version_info.rc)
