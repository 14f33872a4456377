# 32-bit x86 build on a 64-bit Debian host: the multilib compiler and the i386 multiarch
# libraries (`scripts/install-deps --i686`). Like the 32-bit Windows target, `long` is 32 bits.
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
# Package and library searches look in the i386 multiarch folders, not the host's.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# Some hosts (sandboxes, kernels without 32-bit emulation) cannot run 32-bit programs; the tests
# then run under the user-mode emulator qemu-i386 (`scripts/install-deps --i686` installs it).
execute_process(COMMAND /lib/ld-linux.so.2 --version RESULT_VARIABLE korvath_i386_runs
                OUTPUT_QUIET ERROR_QUIET)
if(NOT korvath_i386_runs EQUAL 0)
  find_program(KORVATH_QEMU_I386 qemu-i386 REQUIRED)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${KORVATH_QEMU_I386}")
endif()
