// SPDX-License-Identifier: MIT
#include "platform/unix/themesound.h"

#ifdef TOCKA_HAVE_CANBERRA
#include <canberra.h>
#include <dlfcn.h>
#endif

namespace platform {

#ifdef TOCKA_HAVE_CANBERRA
namespace {

// libcanberra, and the codecs and libraries it brings along, are loaded when
// the alarm first sounds rather than at start: most sessions never ring, and
// the clock should not carry a third of a megabyte it does not use.
struct CanberraLibrary
{
    decltype(&ca_context_create) create = nullptr;
    decltype(&ca_context_set_driver) setDriver = nullptr;
    decltype(&ca_context_change_props) changeProps = nullptr;
    decltype(&ca_context_open) open = nullptr;
    decltype(&ca_context_play) play = nullptr;
    decltype(&ca_context_destroy) destroy = nullptr;

    // Nothing when the library or one of its functions is missing.
    static const CanberraLibrary *get()
    {
        static const CanberraLibrary library = load();
        return library.destroy ? &library : nullptr;
    }

private:
    static CanberraLibrary load()
    {
        void *handle = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return {};
        CanberraLibrary l;
        l.create = reinterpret_cast<decltype(l.create)>(dlsym(handle, "ca_context_create"));
        l.setDriver = reinterpret_cast<decltype(l.setDriver)>(dlsym(handle, "ca_context_set_driver"));
        l.changeProps = reinterpret_cast<decltype(l.changeProps)>(dlsym(handle, "ca_context_change_props"));
        l.open = reinterpret_cast<decltype(l.open)>(dlsym(handle, "ca_context_open"));
        l.play = reinterpret_cast<decltype(l.play)>(dlsym(handle, "ca_context_play"));
        l.destroy = reinterpret_cast<decltype(l.destroy)>(dlsym(handle, "ca_context_destroy"));
        if (!l.create || !l.setDriver || !l.changeProps || !l.open || !l.play || !l.destroy)
            return {};
        return l; // the library stays loaded for the rest of the run
    }
};
} // namespace

// What a sound context needs; only here, so that nothing else sees the
// library's header.
struct ThemeSound::Context
{
    const CanberraLibrary *lib = nullptr;
    ca_context *context = nullptr;
    int skip = 0;

    bool open()
    {
        lib = CanberraLibrary::get();
        if (!lib || lib->create(&context) != CA_SUCCESS) {
            context = nullptr;
            return false;
        }
        // Only a sound server, never ALSA directly: without a server, ALSA's
        // default device does not exist on a desktop install and the library
        // prints a dozen lines of complaints per try, and the bell would play
        // past the desktop's mixer anyway.
        if (lib->setDriver(context, "pulse") != CA_SUCCESS) {
            close();
            return false;
        }
        lib->changeProps(context, CA_PROP_APPLICATION_NAME, "Tocka", CA_PROP_APPLICATION_ID, "tocka", nullptr);
        if (lib->open(context) == CA_SUCCESS)
            return true;
        close();
        return false;
    }

    void close()
    {
        if (context)
            lib->destroy(context);
        context = nullptr;
    }
};

// A beep every half second: ten tries make one alarm.
constexpr int kRetryEvery = 10;

ThemeSound::ThemeSound()
    : context_(std::make_unique<Context>())
{
}

ThemeSound::~ThemeSound()
{
    context_->close();
}

bool ThemeSound::play()
{
    Context &c = *context_;
    // Where sound failed, asking again at every beep would only fail again
    // (and fill standard error with the sound library's complaints): ask
    // about once per alarm, in case a sound server has come up since.
    if (c.skip > 0) {
        --c.skip;
        return false;
    }
    if (!c.context && !c.open()) {
        c.skip = kRetryEvery - 1;
        return false;
    }
    if (c.lib->play(c.context, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION, "Break alarm",
                    CA_PROP_CANBERRA_CACHE_CONTROL, "volatile", nullptr)
        == CA_SUCCESS)
        return true;
    // No device to play on, or no such sound in the theme.
    c.close();
    c.skip = kRetryEvery - 1;
    return false;
}

#else

struct ThemeSound::Context
{
};

ThemeSound::ThemeSound() = default;
ThemeSound::~ThemeSound() = default;

bool ThemeSound::play()
{
    return false;
}

#endif

} // namespace platform
