# The Windows build: cvfir.exe on the real API, a 32-bit ANSI GUI program that needs no DLL beyond
# those Windows ships, and the test tools that the end-to-end scenarios run beside it under Wine.
enable_language(RC)

file(GLOB CVFIR_WIN32_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp ${CMAKE_SOURCE_DIR}/framework/win32/*.cpp
    ${CMAKE_SOURCE_DIR}/app/win32/*.cpp)

add_executable(cvfir WIN32 ${CVFIR_APP_SOURCES} ${CVFIR_FRAMEWORK_SOURCES} ${CVFIR_WIN32_SOURCES}
                           ${CMAKE_SOURCE_DIR}/resources/cvfir.rc)
target_include_directories(cvfir PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
# The headers offer nothing newer than Windows 2000; a call that Windows 98 lacks shows up in
# `objdump -p`, not here.
target_compile_definitions(cvfir PRIVATE _WIN32_WINNT=0x0500 WINVER=0x0500 _WIN32_IE=0x0500 STRICT)
# g++ 12 warns of an overlap in std::string's assignment from a literal that cannot happen (GCC bug
# 105329, with optimisation only); every other warning stays an error.
target_compile_options(cvfir PRIVATE -Wno-restrict)
target_link_libraries(cvfir PRIVATE setupapi ole32 shell32 comctl32)
target_link_options(cvfir PRIVATE -static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

add_subdirectory(tools)
