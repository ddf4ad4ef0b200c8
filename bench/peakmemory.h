#pragma once
// The peak resident memory a piece of work adds to the process. Linux keeps the
// process's high-water mark (VmHWM) and resets it to the current size when "5" is
// written to /proc/self/clear_refs, so the peak of one step is the mark after it less
// the resident size before it. Both in bytes; 0 where the kernel offers neither.

#include <cstdio>
#include <cstring>

namespace bench {

// One field of /proc/self/status ("VmHWM:", "VmRSS:") in bytes.
inline long long ProcStatusBytes(const char *field)
{
    std::FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    long long kb = 0;
    const std::size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, field, n) == 0) {
            kb = std::atoll(line + n);
            break;
        }
    }
    std::fclose(f);
    return kb * 1024;
}

class TPeakMemory {
public:
    // Starts a measurement: the high-water mark is brought down to the present size.
    TPeakMemory()
    {
        if (std::FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        m_base = ProcStatusBytes("VmRSS:");
    }
    // What the work since the start added at its peak.
    long long Added() const
    {
        const long long peak = ProcStatusBytes("VmHWM:");
        return peak > m_base ? peak - m_base : 0;
    }

private:
    long long m_base = 0;
};

} // namespace bench
