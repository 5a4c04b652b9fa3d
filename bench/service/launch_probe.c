/* Stands in for a registered program in the service benchmark: appends "<argument>
 * <start time in ns since the epoch>" to launches.log in the device root.
 *
 * Without the C library: even a static glibc program spends about a millisecond
 * before main() here, which would be counted against the service. The time is read
 * by the first instructions that run after exec. x86-64 Linux only. */
#include <fcntl.h>
#include <sys/syscall.h>
#include <time.h>

static long sys(long n, long a, long b, long c)
{
    long r;
    __asm__ volatile("syscall" : "=a"(r) : "a"(n), "D"(a), "S"(b), "d"(c) : "rcx", "r11", "memory");
    return r;
}

static int starts_with(const char* s, const char* prefix)
{
    while (*prefix)
        if (*s++ != *prefix++)
            return 0;
    return 1;
}

static char* append(char* out, const char* end, const char* s)
{
    while (*s && out < end)
        *out++ = *s++;
    return out;
}

static char* append_number(char* out, const char* end, long long v)
{
    char digits[24];
    int n = 0;
    do
        digits[n++] = (char)('0' + v % 10);
    while ((v /= 10) > 0);
    while (n > 0 && out < end)
        *out++ = digits[--n];
    return out;
}

void probe_main(long* stack)
{
    struct timespec now;
    sys(SYS_clock_gettime, CLOCK_REALTIME, (long)&now, 0);
    long argc = stack[0];
    char** argv = (char**)(stack + 1);
    const char* root = 0;
    for (char** env = argv + argc + 1; *env; ++env)
        if (starts_with(*env, "TICKVANE_DEVICE_ROOT="))
            root = *env + 21;
    if (root) {
        char path[4096], line[128];
        char* p = append(append(path, path + sizeof path - 1, root), path + sizeof path - 1, "/launches.log");
        *p = 0;
        char* l = append(line, line + 64, argc > 1 ? argv[1] : "-");
        l = append(l, line + 66, " ");
        l = append_number(l, line + 100, (long long)now.tv_sec * 1000000000 + now.tv_nsec);
        l = append(l, line + 101, "\n");
        long fd = sys(SYS_open, (long)path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd >= 0)
            sys(SYS_write, fd, (long)line, l - line);
    }
    sys(SYS_exit_group, root ? 0 : 1, 0, 0);
}

__asm__(".globl _start\n_start:\n  mov %rsp, %rdi\n  and $-16, %rsp\n  call probe_main\n  hlt\n");
