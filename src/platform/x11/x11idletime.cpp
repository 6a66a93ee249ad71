// SPDX-License-Identifier: MIT
#include "platform/x11/x11idletime.h"

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cstdint>
#include <cstdlib>
#include <sys/uio.h>

namespace platform {

namespace {

// libxcb keeps the extension's opcode in its cache under this key and fills
// in the id on first use, so it cannot be const.
xcb_extension_t screenSaverExtension = {"MIT-SCREEN-SAVER", 0};

constexpr std::uint8_t kQueryInfo = 1;

struct QueryInfoRequest
{
    std::uint8_t majorOpcode; // both opcodes and the length are filled in by libxcb
    std::uint8_t minorOpcode;
    std::uint16_t length;
    std::uint32_t drawable;
};
static_assert(sizeof(QueryInfoRequest) == 8);

struct QueryInfoReply
{
    std::uint8_t responseType;
    std::uint8_t state;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint32_t saverWindow;
    std::uint32_t msUntilServer;
    std::uint32_t msSinceUserInput;
    std::uint32_t eventMask;
    std::uint8_t kind;
    std::uint8_t pad[7];
};
static_assert(sizeof(QueryInfoReply) == 32);

} // namespace

X11IdleTime::X11IdleTime(xcb_connection_t *connection)
    : connection_(connection)
{
}

std::optional<qint64> X11IdleTime::idleMs()
{
    if (!connection_ || extension_ == Extension::Absent || xcb_connection_has_error(connection_))
        return std::nullopt;
    if (extension_ == Extension::Unknown) {
        // Asked once: the answer is cached by libxcb for the connection.
        const xcb_query_extension_reply_t *extension = xcb_get_extension_data(connection_, &screenSaverExtension);
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        if (!extension || !extension->present || !screen) {
            extension_ = Extension::Absent;
            return std::nullopt;
        }
        root_ = screen->root;
        extension_ = Extension::Present;
    }

    QueryInfoRequest request{};
    request.drawable = root_;
    static const xcb_protocol_request_t protocol = {2, &screenSaverExtension, kQueryInfo, 0};
    // libxcb writes its own header into the two entries before the request.
    iovec parts[4];
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof request;
    parts[3].iov_base = nullptr;
    parts[3].iov_len = 0; // the request is whole words already: no padding
    const unsigned int sequence = xcb_send_request(connection_, XCB_REQUEST_CHECKED, parts + 2, &protocol);
    if (sequence == 0)
        return std::nullopt;
    xcb_generic_error_t *error = nullptr;
    auto *reply = static_cast<QueryInfoReply *>(xcb_wait_for_reply(connection_, sequence, &error));
    std::free(error);
    if (!reply)
        return std::nullopt;
    const qint64 idle = reply->msSinceUserInput;
    std::free(reply);
    return idle;
}

} // namespace platform
