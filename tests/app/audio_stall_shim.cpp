// Preloaded into the program by test_close_ends_process. The first time a GStreamer element is
// asked to play, it creates the file named by W3_TEST_AUDIO_PLAYING_MARK: the sound back end
// is up. Once the file named by W3_TEST_AUDIO_STALL_FLAG exists, every element asked to go
// back to its NULL state (what tearing down a player does) hangs for good, as with an audio
// server that stopped answering. Before that, GStreamer works as usual.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

namespace {
// GstState's GST_STATE_NULL and GST_STATE_PLAYING.
constexpr int kGstStateNull = 1;
constexpr int kGstStatePlaying = 4;

void markPlaying()
{
    const char *mark = std::getenv("W3_TEST_AUDIO_PLAYING_MARK");
    const int fd = mark ? ::open(mark, O_WRONLY | O_CREAT | O_CLOEXEC, 0600) : -1;
    if (fd >= 0)
        ::close(fd);
}

bool stalled()
{
    const char *flag = std::getenv("W3_TEST_AUDIO_STALL_FLAG");
    return flag && ::access(flag, F_OK) == 0;
}

using SetState = int (*)(void *, int);

// GStreamer's own function. The library comes with the sound back end's plugin, which is
// loaded privately: it is looked up by name, not in the global scope.
SetState realSetState()
{
    void *library = ::dlopen("libgstreamer-1.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    return library ? reinterpret_cast<SetState>(::dlsym(library, "gst_element_set_state")) : nullptr;
}
}  // namespace

extern "C" int gst_element_set_state(void *element, int state)
{
    static const SetState real = realSetState();
    if (state == kGstStateNull && stalled()) {
        for (;;)
            ::pause();
    }
    const int result = real(element, state);
    if (state == kGstStatePlaying)
        markPlaying();
    return result;
}
