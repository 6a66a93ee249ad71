// SPDX-License-Identifier: MIT
#pragma once

#ifdef TOCKA_HAVE_CANBERRA
#include <canberra.h>
#include <dlfcn.h>

namespace platform {

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
#endif

// The desktop's own event sound. QApplication::beep() rings the X bell, which
// most Linux desktops keep silent, so the sound theme's "bell" goes through
// libcanberra whenever the sound system takes it.
class ThemeSound
{
public:
    ThemeSound() = default;
    ThemeSound(const ThemeSound &) = delete;
    ThemeSound &operator=(const ThemeSound &) = delete;
    ~ThemeSound()
    {
#ifdef TOCKA_HAVE_CANBERRA
        close();
#endif
    }

    // True when the sound system accepted the sound.
    bool play()
    {
#ifdef TOCKA_HAVE_CANBERRA
        // Where sound failed, asking again at every beep would only fail again
        // (and fill standard error with the sound library's complaints): ask
        // about once per alarm, in case a sound server has come up since.
        if (skip_ > 0) {
            --skip_;
            return false;
        }
        if (!context_ && !open()) {
            skip_ = kRetryEvery - 1;
            return false;
        }
        if (lib_->play(context_, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION, "Break alarm",
                            CA_PROP_CANBERRA_CACHE_CONTROL, "volatile", nullptr)
            == CA_SUCCESS)
            return true;
        // No device to play on, or no such sound in the theme.
        close();
        skip_ = kRetryEvery - 1;
        return false;
#else
        return false;
#endif
    }

private:
#ifdef TOCKA_HAVE_CANBERRA
    bool open()
    {
        lib_ = CanberraLibrary::get();
        if (!lib_ || lib_->create(&context_) != CA_SUCCESS) {
            context_ = nullptr;
            return false;
        }
        // Only a sound server, never ALSA directly: without a server, ALSA's
        // default device does not exist on a desktop install and the library
        // prints a dozen lines of complaints per try, and the bell would play
        // past the desktop's mixer anyway.
        if (lib_->setDriver(context_, "pulse") != CA_SUCCESS) {
            close();
            return false;
        }
        lib_->changeProps(context_, CA_PROP_APPLICATION_NAME, "Tocka", CA_PROP_APPLICATION_ID, "tocka", nullptr);
        if (lib_->open(context_) == CA_SUCCESS)
            return true;
        close();
        return false;
    }

    void close()
    {
        if (context_)
            lib_->destroy(context_);
        context_ = nullptr;
    }

    // A beep every half second: ten tries make one alarm.
    static constexpr int kRetryEvery = 10;
    const CanberraLibrary *lib_ = nullptr;
    ca_context *context_ = nullptr;
    int skip_ = 0;
#endif
};

} // namespace platform
