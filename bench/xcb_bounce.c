// SPDX-License-Identifier: MIT
/* The least a bouncing clock face can cost: a bare X client, no toolkit, that
 * moves an 81 x 18 borderless window every 60 ms and bounces it off the edges
 * of the screen. bench/bounce_cost.sh measures it beside Tocka.
 *
 *   xcb_bounce SECONDS */
#include <xcb/xcb.h>

#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? atoi(argv[1]) : 30;
    xcb_connection_t *c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "xcb_bounce: cannot open the display\n");
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    const uint32_t values[] = {screen->black_pixel, 1};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 81, 18, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(c, w);
    xcb_flush(c);

    int x = 0, y = 0, dx = 3, dy = 2;
    struct timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    const long steps = seconds * 1000L / 60;
    for (long i = 0; i < steps; ++i) {
        next.tv_nsec += 60 * 1000 * 1000;
        if (next.tv_nsec >= 1000000000L) {
            next.tv_nsec -= 1000000000L;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL);
        xcb_generic_event_t *event;
        while ((event = xcb_poll_for_event(c)))
            free(event);
        if (x + dx < 0 || x + dx + 81 > screen->width_in_pixels)
            dx = -dx;
        if (y + dy < 0 || y + dy + 18 > screen->height_in_pixels)
            dy = -dy;
        x += dx;
        y += dy;
        const uint32_t position[] = {(uint32_t)x, (uint32_t)y};
        xcb_configure_window(c, w, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, position);
        xcb_flush(c);
    }
    xcb_disconnect(c);
    return 0;
}
