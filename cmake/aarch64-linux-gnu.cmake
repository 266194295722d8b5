# Cross build for 64-bit ARM (Debian arm64) with Debian's cross compiler and
# the arm64 libraries installed side by side with the build machine's
# (multiarch: dpkg --add-architecture arm64, then qt6-base-dev:arm64,
# libgtest-dev:arm64 …). Qt's build tools (moc, rcc) are the build machine's.
# Tests run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# Libraries and packages of the arm64 side only; programs of the build
# machine's.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_PREFIX_PATH /usr/lib/aarch64-linux-gnu/cmake)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# The arm64 loader and libraries sit where multiarch puts them, so qemu needs
# no prefix of its own.
find_program(TALLARO_QEMU qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TALLARO_QEMU})

set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
