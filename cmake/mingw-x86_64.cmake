# 64-bit Windows: the twin build of the same sources that the Windows-side tests run
# under the 64-bit Wine on machines that cannot execute i386 code.
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
