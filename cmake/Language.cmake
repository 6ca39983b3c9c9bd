# SPDX-License-Identifier: GPL-3.0-or-later
# The language and the warnings of every part of the tree, the fuzz targets
# built on their own included.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

if(NOT CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64")
    message(FATAL_ERROR "Vibrona's arithmetic needs the x87 80-bit long double of x86-64.")
endif()

add_compile_options(-Wall -Wextra -Wpedantic -Wconversion -Wno-sign-conversion)
