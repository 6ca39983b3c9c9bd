// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks read of the process's memory.

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vibrona::bench {

// Resident memory [MB]: all of it, or only the anonymous part (heap, stacks,
// images), without the pages of mapped files such as the libraries' code,
// which the kernel brings in as code runs for the first time.
inline double residentMb(const char *field = "VmRSS:")
{
    double kb = 0;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        const std::size_t length = std::strlen(field);
        while (std::fgets(line, sizeof line, status))
            if (std::strncmp(line, field, length) == 0)
                kb = std::atof(line + length);
        std::fclose(status);
    }
    return kb / 1024.0;
}

inline double anonymousResidentMb()
{
    return residentMb("RssAnon:");
}

// The bytes the program holds from malloc: growth here is a leak, growth of
// the resident memory alone is the allocator's or the system's.
inline double heapInUseMb()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

inline double peakResidentMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

} // namespace vibrona::bench
