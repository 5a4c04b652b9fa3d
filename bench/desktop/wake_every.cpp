// A process that does nothing but wake every N milliseconds: the floor under any
// program that refreshes at that period, measured next to the clock.
#include <poll.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    int period = argc > 1 ? std::atoi(argv[1]) : 0;
    if (period <= 0) {
        std::fprintf(stderr, "usage: wake_every MILLISECONDS\n");
        return 2;
    }
    for (;;)
        poll(nullptr, 0, period);
}
