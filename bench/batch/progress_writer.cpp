// A converter stand-in that writes progress lines at a steady pace, each
// carrying the monotonic time at which it was written:
//   frame= <n> stamp=<ns> fps= 25 q=2.0 size=  1024kB time=HH:MM:SS.00 bitrate= 838.9kbits/s\r
// Line n reports n × 36 seconds, so against a playing time of one hour
// every line gives a percentage of its own. Arguments are ignored; the
// count and pace come from MOVARIN_PROGRESS_LINES and MOVARIN_PROGRESS_PACE_US.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace {

long long Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

int Setting(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : fallback;
}

} // namespace

int main()
{
    const int lines = Setting("MOVARIN_PROGRESS_LINES", 2000);
    const int paceMicroseconds = Setting("MOVARIN_PROGRESS_PACE_US", 2000);
    char line[256];
    for (int n = 1; n <= lines; ++n) {
        const int position = n * 36;
        const int length = std::snprintf(line, sizeof line,
                                         "frame=%5d stamp=%lld fps= 25 q=2.0 size=  1024kB time=%02d:%02d:%02d.00 "
                                         "bitrate= 838.9kbits/s\r",
                                         n, Now(), position / 3600, position / 60 % 60, position % 60);
        if (write(STDOUT_FILENO, line, length) != length)
            return 1;
        usleep(paceMicroseconds);
    }
    return 0;
}
