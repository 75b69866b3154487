# Compile settings shared by every target of the project.
add_library(quorvane_options INTERFACE)
target_compile_features(quorvane_options INTERFACE cxx_std_20)
target_compile_definitions(quorvane_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)
target_compile_options(quorvane_options INTERFACE -Wall -Wextra -Wpedantic)
if(QUORVANE_WERROR)
    target_compile_options(quorvane_options INTERFACE -Werror)
endif()

if(QUORVANE_SANITIZE)
    set(_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_compile_options(quorvane_options INTERFACE ${_san})
    target_link_options(quorvane_options INTERFACE ${_san})
endif()

if(QUORVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QUORVANE_FUZZ needs clang (CXX=clang++)")
    endif()
    # Coverage instrumentation for the code under test; the fuzz executables add -fsanitize=fuzzer.
    target_compile_options(quorvane_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# Ninja runs a target's moc step again only when a file it scanned before changes, not when new
# sources are added to the target. Forget the step's timestamp whenever the list of sources changes,
# so an existing build tree picks up a new Q_OBJECT header. Call after all sources are added.
function(quorvane_refresh_autogen target)
    get_target_property(sources ${target} SOURCES)
    string(SHA1 digest "${sources}")
    get_target_property(binary_dir ${target} BINARY_DIR)
    set(record "${binary_dir}/CMakeFiles/${target}_sources.sha1")
    set(previous "")
    if(EXISTS "${record}")
        file(READ "${record}" previous)
    endif()
    if(NOT previous STREQUAL digest)
        file(REMOVE "${binary_dir}/${target}_autogen/timestamp")
        file(WRITE "${record}" "${digest}")
    endif()
endfunction()
