# The Windows build: cvfir.exe on the real API, a 32-bit ANSI GUI program that needs no DLL beyond
# those Windows ships, and the test programs that the end-to-end scenarios run beside it under Wine.
enable_language(RC)

cvfir_backend(cvfir_platform_win32 platform/win32 cvfir_platform)
target_link_libraries(cvfir_platform_win32 PUBLIC ole32 shell32)
cvfir_backend(cvfir_framework_win32 framework/win32 cvfir_framework)

# The headers offer nothing newer than Windows 2000; a call that Windows 98 lacks shows up in
# `objdump -p`, not here. g++ 12 warns of an overlap in std::string's assignment from a literal that
# cannot happen (GCC bug 105329, with optimisation only); every other warning stays an error.
#
# The program ships on a disk and is read into memory whole when it starts, so its release build is
# made for size: optimised for size, and each function and datum in a section of its own so that the
# linker drops what nothing calls.
function(cvfir_windows_settings target)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
    target_compile_definitions(${target} PRIVATE _WIN32_WINNT=0x0500 WINVER=0x0500 _WIN32_IE=0x0500 STRICT)
    target_compile_options(${target} PRIVATE -Wno-restrict
                                             $<$<CONFIG:Release>:-Os -ffunction-sections -fdata-sections>)
    # One commit builds one cvfir.exe, byte for byte, in whatever folders: no path of the source or
    # build folder is compiled in, and the linker leaves the file's time stamp at zero. A support desk
    # compares a user's file with the one shipped by its hash (scripts/check-reproducible.sh).
    target_compile_options(${target} PRIVATE -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                                             -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp
                                              $<$<CONFIG:Release>:-s -Wl,--gc-sections>)
    endif()
endfunction()
foreach(library cvfir_platform cvfir_platform_win32 cvfir_framework cvfir_framework_win32 cvfir_resources
                cvfir_foldertree cvfir_app)
    cvfir_windows_settings(${library})
endforeach()

add_executable(cvfir WIN32 ${CMAKE_SOURCE_DIR}/app/win32/WinMain.cpp ${CMAKE_SOURCE_DIR}/resources/cvfir.rc)
cvfir_windows_settings(cvfir)
# The version resource's numbers and text, from project() in the top-level CMakeLists.txt.
configure_file(${CMAKE_SOURCE_DIR}/resources/CvfirVersion.h.in ${CMAKE_BINARY_DIR}/generated/CvfirVersion.h)
target_include_directories(cvfir PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(cvfir PRIVATE cvfir_app)
target_link_options(cvfir PRIVATE -static -static-libgcc -static-libstdc++)
# Started from a driver CD, the program must keep running while the user swaps in the Windows 98 CD.
# Windows 2000 and XP read the flags that run-from-swap.sh sets. Windows 98 and Me ignore them; 98 runs
# an image whose sections lie on 4 KB pages of the file straight from the file system's cache, page by
# page, and copies any other image into memory backed by the swap file. So the sections stay on
# 512-byte bounds: ld's default today, pinned here so that no change of linker or default has 98 and Me
# page the program from a CD that is no longer in the drive. The checksum is written last, over the
# final bytes.
target_link_options(cvfir PRIVATE -Wl,--file-alignment,512)
add_custom_command(TARGET cvfir POST_BUILD COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/run-from-swap.sh $<TARGET_FILE:cvfir>
                   COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/pe-checksum.sh $<TARGET_FILE:cvfir> VERBATIM)

add_subdirectory(tools)

# The folder tree on a form of its own, worked from its command line; it lands beside the tools.
add_executable(cvtreehost ${CMAKE_SOURCE_DIR}/tools/cvtreehost.cpp)
cvfir_windows_settings(cvtreehost)
target_link_libraries(cvtreehost PRIVATE cvfir_foldertree shlwapi)
target_link_options(cvtreehost PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(cvtreehost PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# The platform layer's contract on the real API, a console program that the end-to-end stage runs under
# Wine; it lands beside the tools.
add_executable(cvcontract ${CVFIR_CONTRACT_SOURCES} ${CMAKE_SOURCE_DIR}/tests/contract/Win32Host.cpp)
cvfir_windows_settings(cvcontract)
target_link_libraries(cvcontract PRIVATE cvfir_platform_win32 setupapi ole32 shell32 comctl32)
target_link_options(cvcontract PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(cvcontract PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
