# Precompiled headers: the standard, Qt and test headers that most of our files include are parsed
# once per kind of target instead of once per file. Each library precompiles its own; the test
# programs of one kind share the header that a small donor program of that kind precompiles (a
# precompiled header is only used with the compile options it was made with, so the donor is linked
# like the tests it serves).

set(QUORVANE_PCH_CORE
    <algorithm> <array> <functional> <memory> <optional> <span> <vector>
    <QByteArray> <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo> <QList> <QObject>
    <QPointer> <QString> <QStringList> <QTimer> <QVariant>)
set(QUORVANE_PCH_GUI ${QUORVANE_PCH_CORE}
    <QApplication> <QGuiApplication> <QHBoxLayout> <QLabel> <QMenu> <QPainter> <QPushButton>
    <QVBoxLayout> <QWidget>)
# Not <QTest>: it reads QT_TESTCASE_BUILDDIR, which Qt defines differently in every test folder.
set(QUORVANE_PCH_TEST <gtest/gtest.h>)

option(QUORVANE_PCH "Precompile the common headers" ON)

# quorvane_precompile_headers(<target> core|gui)
function(quorvane_precompile_headers target kind)
    if(NOT QUORVANE_PCH)
        return()
    endif()
    string(TOUPPER "${kind}" kind)
    target_precompile_headers(${target} PRIVATE ${QUORVANE_PCH_${kind}})
endfunction()

# quorvane_test_pch(<test> <kind> <headers>): the test program reuses the precompiled header of a
# donor: an empty program of the same folder and kind (Qt defines QT_TESTCASE_BUILDDIR per folder,
# and a precompiled header is only used with the definitions it was made with), linked with the
# same test main. The donor is made with the folder's first test of that kind.
function(quorvane_test_pch target kind headers)
    if(NOT QUORVANE_PCH)
        return()
    endif()
    string(MAKE_C_IDENTIFIER "${CMAKE_CURRENT_SOURCE_DIR}" folder)
    string(MD5 folder "${folder}")
    string(SUBSTRING "${folder}" 0 8 folder)
    set(donor quorvane_pch_${kind}_${folder})
    if(NOT TARGET ${donor})
        string(TOUPPER "${headers}" headers)
        file(CONFIGURE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/${donor}.cpp" CONTENT "// Only precompiles headers.\n")
        add_executable(${donor} "${CMAKE_CURRENT_BINARY_DIR}/${donor}.cpp")
        set_target_properties(${donor} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/pch")
        target_link_libraries(${donor} PRIVATE quorvane_test_main_${kind})
        target_precompile_headers(${donor} PRIVATE ${QUORVANE_PCH_${headers}} ${QUORVANE_PCH_TEST})
    endif()
    target_precompile_headers(${target} REUSE_FROM ${donor})
endfunction()
