// SPDX-License-Identifier: MIT
// A session manager just big enough for the logout tests: it listens for
// XSMP clients, prints the SESSION_MANAGER value to give them, reports what
// each client does, and acts on one command per line of standard input:
//
//   save      a checkpoint: save, no shutdown
//   logout    save at logout: shutdown, both local and global state, any
//             interaction allowed (as desktop session managers ask)
//   cancel    the logout is cancelled
//   die       the session ends: clients are told to quit
//   quit      leave
//
// Each command goes to every registered client. Given a file, it reports
// that file's size whenever a client says its save is done. Everything it reports is a
// line on standard output, flushed at once, for the test to wait on.
#define _POSIX_C_SOURCE 200809L
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { kMaxClients = 8 };

typedef struct {
    IceConn ice;
    SmsConn sms; // null until the client has opened its session
    int registered;
} Client;

static Client clients[kMaxClients];
static IceListenObj *listeners;
static int listenerCount;
static const char *watched;

static void say(const char *format, ...) __attribute__((format(printf, 1, 2)));
static void say(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    putchar('\n');
    fflush(stdout);
}

static Client *clientOf(SmsConn sms)
{
    for (int i = 0; i < kMaxClients; ++i)
        if (clients[i].sms == sms)
            return &clients[i];
    return NULL;
}

static void dropClient(Client *client)
{
    if (client->sms)
        SmsCleanUp(client->sms);
    if (client->ice) {
        IceSetShutdownNegotiation(client->ice, False);
        IceCloseConnection(client->ice);
    }
    memset(client, 0, sizeof *client);
}

static Status registerClient(SmsConn sms, SmPointer data, char *previousId)
{
    (void)data;
    char *id = SmsGenerateClientID(sms);
    Client *client = clientOf(sms);
    if (!id || !client)
        return 0;
    SmsRegisterClientReply(sms, id);
    client->registered = 1;
    say("registered %s%s", id, previousId ? " (again)" : "");
    free(id);
    free(previousId);
    return 1;
}

static void interactRequest(SmsConn sms, SmPointer data, int dialogType)
{
    (void)data;
    say("interact-request %d", dialogType);
    SmsInteract(sms); // granted, so a client that asks is not left waiting
}

static void interactDone(SmsConn sms, SmPointer data, Bool cancelShutdown)
{
    (void)sms, (void)data;
    say("interact-done cancel=%d", cancelShutdown);
}

static void saveRequest(SmsConn sms, SmPointer data, int type, Bool shutdown, int style, Bool fast, Bool global)
{
    (void)sms, (void)data, (void)type, (void)style, (void)fast, (void)global;
    say("save-request shutdown=%d", shutdown);
}

static void phase2Request(SmsConn sms, SmPointer data)
{
    (void)data;
    say("phase2-request");
    SmsSaveYourselfPhase2(sms);
}

static void saveDone(SmsConn sms, SmPointer data, Bool success)
{
    (void)sms, (void)data;
    struct stat info;
    if (!watched)
        say("save-done success=%d", success);
    else if (stat(watched, &info) == 0)
        say("save-done success=%d size=%lld", success, (long long)info.st_size);
    else
        say("save-done success=%d size=none", success);
}

static void closeConnection(SmsConn sms, SmPointer data, int count, char **reasons)
{
    (void)data;
    say("closed");
    SmFreeReasons(count, reasons);
    Client *client = clientOf(sms);
    if (client)
        dropClient(client);
}

static void setProperties(SmsConn sms, SmPointer data, int count, SmProp **props)
{
    (void)sms, (void)data;
    for (int i = 0; i < count; ++i)
        SmFreeProperty(props[i]);
    free(props);
}

static void deleteProperties(SmsConn sms, SmPointer data, int count, char **names)
{
    (void)sms, (void)data;
    for (int i = 0; i < count; ++i)
        free(names[i]);
    free(names);
}

static void getProperties(SmsConn sms, SmPointer data)
{
    (void)data;
    SmsReturnProperties(sms, 0, NULL);
}

static Status newClient(SmsConn sms, SmPointer data, unsigned long *mask, SmsCallbacks *callbacks, char **failure)
{
    (void)data;
    IceConn ice = SmsGetIceConnection(sms);
    for (int i = 0; i < kMaxClients; ++i) {
        if (clients[i].ice == ice) {
            clients[i].sms = sms;
            memset(callbacks, 0, sizeof *callbacks);
            callbacks->register_client.callback = registerClient;
            callbacks->interact_request.callback = interactRequest;
            callbacks->interact_done.callback = interactDone;
            callbacks->save_yourself_request.callback = saveRequest;
            callbacks->save_yourself_phase2_request.callback = phase2Request;
            callbacks->save_yourself_done.callback = saveDone;
            callbacks->close_connection.callback = closeConnection;
            callbacks->set_properties.callback = setProperties;
            callbacks->delete_properties.callback = deleteProperties;
            callbacks->get_properties.callback = getProperties;
            *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask
                | SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask
                | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask
                | SmsGetPropertiesProcMask;
            return 1;
        }
    }
    *failure = strdup("no room for another client");
    return 0;
}

// The test's home has no ICE authority file, so clients come without one:
// those on this machine's own sockets are let in, none from the network.
static Bool anyHost(char *hostName)
{
    return hostName && (!strncmp(hostName, "local/", 6) || !strncmp(hostName, "unix/", 5));
}

static void accept_(IceListenObj listener)
{
    IceAcceptStatus status;
    IceConn ice = IceAcceptConnection(listener, &status);
    if (!ice) {
        say("accept-failed %d", (int)status);
        return;
    }
    Client *slot = NULL;
    for (int i = 0; i < kMaxClients && !slot; ++i)
        if (!clients[i].ice)
            slot = &clients[i];
    if (!slot) {
        IceCloseConnection(ice);
        return;
    }
    slot->ice = ice;
    IceConnectStatus state;
    while ((state = IceConnectionStatus(ice)) == IceConnectPending)
        if (IceProcessMessages(ice, NULL, NULL) == IceProcessMessagesIOError)
            break;
    if (state != IceConnectAccepted) {
        say("connect-failed");
        dropClient(slot);
    }
}

static void command(const char *line)
{
    int sent = 0;
    for (int i = 0; i < kMaxClients; ++i) {
        SmsConn sms = clients[i].sms;
        if (!sms || !clients[i].registered)
            continue;
        if (!strcmp(line, "save"))
            SmsSaveYourself(sms, SmSaveBoth, False, SmInteractStyleNone, False);
        else if (!strcmp(line, "logout"))
            SmsSaveYourself(sms, SmSaveBoth, True, SmInteractStyleAny, False);
        else if (!strcmp(line, "cancel"))
            SmsShutdownCancelled(sms);
        else if (!strcmp(line, "die"))
            SmsDie(sms);
        else
            continue;
        IceFlush(SmsGetIceConnection(sms));
        ++sent;
    }
    say("sent %s to %d", line, sent);
}

int main(int argc, char **argv)
{
    watched = argc > 1 ? argv[1] : NULL;
    char error[256] = "";
    if (!SmsInitialize("tiny-sm", "1", newClient, NULL, anyHost, sizeof error, error)) {
        fprintf(stderr, "tiny-sm: %s\n", error);
        return 1;
    }
    if (!IceListenForConnections(&listenerCount, &listeners, sizeof error, error)) {
        fprintf(stderr, "tiny-sm: %s\n", error);
        return 1;
    }
    for (int i = 0; i < listenerCount; ++i)
        IceSetHostBasedAuthProc(listeners[i], anyHost);
    char *address = IceComposeNetworkIdList(listenerCount, listeners);
    say("address %s", address);
    free(address);

    char line[64];
    size_t used = 0;
    for (;;) {
        struct pollfd fds[1 + 16 + kMaxClients];
        int n = 0;
        fds[n++] = (struct pollfd){.fd = STDIN_FILENO, .events = POLLIN};
        for (int i = 0; i < listenerCount && i < 16; ++i)
            fds[n++] = (struct pollfd){.fd = IceGetListenConnectionNumber(listeners[i]), .events = POLLIN};
        for (int i = 0; i < kMaxClients; ++i)
            fds[n++] = (struct pollfd){.fd = clients[i].ice ? IceConnectionNumber(clients[i].ice) : -1,
                                       .events = POLLIN};
        if (poll(fds, (nfds_t)n, -1) < 0)
            continue;
        int k = 1;
        for (int i = 0; i < listenerCount && i < 16; ++i, ++k)
            if (fds[k].revents & POLLIN)
                accept_(listeners[i]);
        for (int i = 0; i < kMaxClients; ++i, ++k) {
            if (fds[k].fd < 0 || !fds[k].revents || !clients[i].ice)
                continue;
            if (IceProcessMessages(clients[i].ice, NULL, NULL) == IceProcessMessagesIOError) {
                say("lost");
                dropClient(&clients[i]);
            }
        }
        if (fds[0].revents) {
            char c;
            const ssize_t got = read(STDIN_FILENO, &c, 1);
            if (got <= 0)
                break;
            if (c != '\n') {
                if (used < sizeof line - 1)
                    line[used++] = c;
                continue;
            }
            line[used] = '\0';
            used = 0;
            if (!strcmp(line, "quit"))
                break;
            command(line);
        }
    }
    for (int i = 0; i < kMaxClients; ++i)
        if (clients[i].ice)
            dropClient(&clients[i]);
    IceFreeListenObjs(listenerCount, listeners);
    return 0;
}
