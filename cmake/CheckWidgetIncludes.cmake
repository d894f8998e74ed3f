# Run with cmake -P. Fails (exit status 1, one line per offending include)
# when a source file of a folder outside the GUI includes what it must not:
#   CORE_FOLDERS     any Qt header at all (model, formats, analysis, samples)
#   NO_WIDGET_FOLDERS a header of a widget module (QtWidgets, QtPrintSupport,
#                    ...), in any form: <QtWidgets/QWidget>,
#                    <qt6/QtWidgets/QWidget>, or a bare <QWidget> that only a
#                    widget module provides
# Input: SOURCE_DIR (the src folder), CORE_FOLDERS and NO_WIDGET_FOLDERS
# (comma-separated), QT_INCLUDE_ROOT (the folder holding QtCore/, QtGui/,
# ...; may be empty), STAMP (touched on success; may be empty).

cmake_minimum_required(VERSION 3.25)

set(widget_modules QtWidgets QtPrintSupport QtOpenGLWidgets QtSvgWidgets QtQuickWidgets
                   QtCharts QtDataVisualization QtDesigner QtUiTools)
set(allowed_modules QtCore QtGui)

# Header names only a widget module provides (QWidget, QDialog, qprinter.h).
set(widget_names "")
if(QT_INCLUDE_ROOT)
    foreach(module ${widget_modules})
        file(GLOB names RELATIVE ${QT_INCLUDE_ROOT}/${module} ${QT_INCLUDE_ROOT}/${module}/*)
        list(APPEND widget_names ${names})
    endforeach()
    foreach(module ${allowed_modules})
        file(GLOB names RELATIVE ${QT_INCLUDE_ROOT}/${module} ${QT_INCLUDE_ROOT}/${module}/*)
        if(names)
            list(REMOVE_ITEM widget_names ${names})
        endif()
    endforeach()
endif()

set(violations "")
macro(check_folders folders core)
    string(REPLACE "," ";" folder_list "${folders}")
    foreach(folder ${folder_list})
        file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
        foreach(file ${files})
            file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
            foreach(line ${includes})
                string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1"
                       header "${line}")
                string(REPLACE "/" ";" parts "${header}")
                set(bad FALSE)
                foreach(part ${parts})
                    if(part IN_LIST widget_modules OR (${core} AND part MATCHES "^(qt6|Qt[A-Z])"))
                        set(bad TRUE)
                    endif()
                endforeach()
                if(NOT header MATCHES "/")
                    if(header IN_LIST widget_names OR (${core} AND header MATCHES "^Q[A-Z]"))
                        set(bad TRUE)
                    endif()
                endif()
                if(bad)
                    file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
                    list(APPEND violations "src/${shown}: #include ${header}")
                endif()
            endforeach()
        endforeach()
    endforeach()
endmacro()
check_folders("${CORE_FOLDERS}" TRUE)
check_folders("${NO_WIDGET_FOLDERS}" FALSE)

if(violations)
    foreach(v ${violations})
        message("${v}")
    endforeach()
    message(FATAL_ERROR "Widgets belong to src/mapview, src/panel and src/app only, and the core "
                        "(model, formats, analysis, samples) includes no Qt at all.")
endif()
if(STAMP)
    file(TOUCH ${STAMP})
endif()
