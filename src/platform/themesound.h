#pragma once

#ifdef TOCKA_HAVE_CANBERRA
#include <canberra.h>
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
        if (ca_context_play(context_, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION, "Break alarm",
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
        if (ca_context_create(&context_) != CA_SUCCESS) {
            context_ = nullptr;
            return false;
        }
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Tocka", CA_PROP_APPLICATION_ID, "tocka", nullptr);
        if (ca_context_open(context_) == CA_SUCCESS)
            return true;
        close();
        return false;
    }

    void close()
    {
        if (context_)
            ca_context_destroy(context_);
        context_ = nullptr;
    }

    // A beep every half second: ten tries make one alarm.
    static constexpr int kRetryEvery = 10;
    ca_context *context_ = nullptr;
    int skip_ = 0;
#endif
};
