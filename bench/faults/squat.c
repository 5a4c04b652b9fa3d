// squat PATH: takes a unix datagram address first, as another local user squatting a
// service's address would. Says "bound" or "refused: <why>", then "got" for each
// datagram that reaches it, until it is killed.
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2 || strlen(argv[1]) >= sizeof(((struct sockaddr_un*)0)->sun_path)) {
        fputs("usage: squat PATH\n", stderr);
        return 2;
    }
    struct sockaddr_un address = {.sun_family = AF_UNIX};
    strcpy(address.sun_path, argv[1]);
    int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    if (fd < 0 || bind(fd, (struct sockaddr*)&address, sizeof address) != 0) {
        printf("refused: %s\n", strerror(errno));
        return 0;
    }
    printf("bound\n");
    fflush(stdout);
    char byte;
    while (recv(fd, &byte, 1, 0) >= 0) {
        printf("got\n");
        fflush(stdout);
    }
    return 0;
}
