# 32-bit Windows: the product's own build.
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
