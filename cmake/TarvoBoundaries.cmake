# The folder boundary the build enforces. The core links no Qt module and
# the tool and the pictures link QtGui only, so most wrong includes do not
# compile; but Qt's include root is on the path of every QtGui user, so
# <QtWidgets/QWidget> would compile in src/view. Every build therefore scans
# the sources of the folders outside the GUI (CheckWidgetIncludes.cmake),
# and the configuration refuses a link from them to a widget module.

set(TARVO_CORE_FOLDERS model formats analysis samples import record)
set(TARVO_NO_WIDGET_FOLDERS view export cli)
# Only these folders may use widgets (QtWidgets, QtPrintSupport).
set(TARVO_GUI_FOLDERS mapview panel app)

# The folder holding QtCore/, QtGui/, ... (empty without Qt).
function(tarvo_qt_include_root out)
    set(root "")
    if(TARGET Qt6::Core)
        get_target_property(dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
        foreach(dir ${dirs})
            if(IS_DIRECTORY ${dir}/QtCore AND IS_DIRECTORY ${dir}/QtGui)
                set(root ${dir})
            endif()
        endforeach()
    endif()
    set(${out} ${root} PARENT_SCOPE)
endfunction()

# The cmake -P command line of the include scan, touching `stamp` on
# success when given.
function(tarvo_include_check_command out stamp)
    tarvo_qt_include_root(qt_root)
    string(REPLACE ";" "," core "${TARVO_CORE_FOLDERS}")
    string(REPLACE ";" "," no_widgets "${TARVO_NO_WIDGET_FOLDERS}")
    set(${out}
        ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src -DCORE_FOLDERS=${core}
        -DNO_WIDGET_FOLDERS=${no_widgets} -DQT_INCLUDE_ROOT=${qt_root} -DSTAMP=${stamp}
        -P ${PROJECT_SOURCE_DIR}/cmake/CheckWidgetIncludes.cmake
        PARENT_SCOPE)
endfunction()

# Runs the scan whenever a source of those folders changes, before any of
# their libraries is built, and refuses a widget module (or a GUI library)
# among the libraries they link, directly or through another tarvo library.
function(tarvo_enforce_boundaries)
    set(sources "")
    foreach(folder ${TARVO_CORE_FOLDERS} ${TARVO_NO_WIDGET_FOLDERS})
        file(GLOB_RECURSE found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.h
             ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
        list(APPEND sources ${found})
    endforeach()
    set(stamp ${CMAKE_BINARY_DIR}/boundaries.stamp)
    tarvo_include_check_command(command ${stamp})
    add_custom_command(OUTPUT ${stamp} COMMAND ${command}
                       DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/CheckWidgetIncludes.cmake
                       COMMENT "Checking that no widget header is included outside the GUI")
    add_custom_target(tarvo_boundaries ALL DEPENDS ${stamp})

    set(forbidden Qt6::Widgets Qt6::PrintSupport Qt6::OpenGLWidgets)
    foreach(folder ${TARVO_GUI_FOLDERS})
        list(APPEND forbidden tarvo_${folder})
    endforeach()
    foreach(folder ${TARVO_CORE_FOLDERS} ${TARVO_NO_WIDGET_FOLDERS})
        if(NOT TARGET tarvo_${folder})
            continue()
        endif()
        add_dependencies(tarvo_${folder} tarvo_boundaries)
        set(pending tarvo_${folder})
        set(seen "")
        while(pending)
            list(POP_FRONT pending target)
            list(APPEND seen ${target})
            get_target_property(links ${target} LINK_LIBRARIES)
            foreach(link ${links})
                if(link IN_LIST forbidden)
                    message(FATAL_ERROR "tarvo_${folder} links ${link} (through ${target}): "
                                        "widgets belong to the GUI folders only")
                endif()
                if(link MATCHES "^tarvo_" AND TARGET ${link} AND NOT link IN_LIST seen)
                    list(APPEND pending ${link})
                endif()
            endforeach()
        endwhile()
    endforeach()
endfunction()
