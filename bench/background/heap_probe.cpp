// Preloaded into the program by bench_window_cycles, so that the program carries no code of
// its own for the measure. When W3_HEAP_PROBE_SOCKET names a path, a thread called
// "heap-probe" listens there as a local socket; each connection gets one line, the bytes
// the allocator has handed out and not got back ("in use"), and the bytes of the heap the
// process holds from the system ("held"), then the connection closes. The path must not exist yet. The benchmark leaves
// that thread out of the program's thread count.
#include <malloc.h>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int listenAt(const char *path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (std::strlen(path) >= sizeof(address.sun_path))
        return -1;
    std::strcpy(address.sun_path, path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void *answer(void *listening)
{
    const int fd = *static_cast<int *>(listening);
    for (;;) {
        const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        const struct mallinfo2 info = ::mallinfo2();
        char line[64];
        const int length
            = std::snprintf(line, sizeof(line), "%zu %zu\n", info.uordblks + info.hblkhd, info.arena + info.hblkhd);
        if (::write(client, line, size_t(length)) != length)
            std::fprintf(stderr, "heap probe: the answer did not go out\n");
        ::close(client);
    }
    return nullptr;
}

__attribute__((constructor)) void startProbe()
{
    static int listening = -1;
    const char *variable = std::getenv("W3_HEAP_PROBE_SOCKET");
    if (!variable)
        return;
    // The programs this one starts (GStreamer's plug-in scanner) inherit the preload, not the probe.
    static char path[sizeof(sockaddr_un::sun_path)];
    std::snprintf(path, sizeof(path), "%s", variable);
    ::unsetenv("W3_HEAP_PROBE_SOCKET");
    listening = listenAt(path);
    pthread_t thread;
    if (listening < 0 || ::pthread_create(&thread, nullptr, answer, &listening) != 0) {
        std::fprintf(stderr, "heap probe: cannot listen at %s\n", path);
        return;
    }
    ::pthread_setname_np(thread, "heap-probe");
    ::pthread_detach(thread);
}

}  // namespace
