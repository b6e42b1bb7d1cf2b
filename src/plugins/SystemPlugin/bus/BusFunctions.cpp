// libSystemPluginBus.so: questions to systemd's service manager over sd-bus,
// behind the plain C table of BusFunctions.h. Every wait is bounded by the
// caller's deadline: a connection is driven by hand (sd_bus_process and
// sd_bus_wait) rather than by sd-bus's blocking calls, whose own time-outs
// are 25 s and more. Built without exceptions; nothing here allocates in C++.
#include "SystemPlugin/bus/BusFunctions.h"

#include <systemd/sd-bus.h>

#include <errno.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr char kManager[] = "org.freedesktop.systemd1";
constexpr char kUnitInterface[] = "org.freedesktop.systemd1.Unit";
constexpr char kPrivateSocket[] = "unix:path=/run/systemd/private";

uint64_t monotonicUsec() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000u +
           static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

struct Text {
    char* bytes;
    size_t size;
    void set(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        if (size == 0)
            return;
        va_list arguments;
        va_start(arguments, format);
        vsnprintf(bytes, size, format, arguments);
        va_end(arguments);
    }
};

struct Bus {
    sd_bus* bus = nullptr;
    ~Bus() {
        // Closed without flushing: flushing could wait on a hung peer.
        if (bus)
            sd_bus_close_unref(bus);
    }
};

struct Pending {
    bool done = false;
    sd_bus_message* reply = nullptr;
};

int onReply(sd_bus_message* message, void* userdata, sd_bus_error*) {
    auto* pending = static_cast<Pending*>(userdata);
    pending->reply = sd_bus_message_ref(message);
    pending->done = true;
    return 0;
}

// A private connection is refused unless its peer is root or ourselves, as
// systemctl refuses it.
bool trustedPeer(sd_bus* bus) {
    ucred peer{};
    socklen_t size = sizeof peer;
    const int fd = sd_bus_get_fd(bus);
    if (fd < 0 || getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == 0 || peer.uid == geteuid();
}

// Sends `message` and drives the connection until its reply or `deadline`: 0
// with `reply` set; -ETIMEDOUT; another negative errno when the connection failed.
int call(sd_bus* bus, sd_bus_message* message, uint64_t deadline, sd_bus_message** reply) {
    uint64_t now = monotonicUsec();
    if (now >= deadline)
        return -ETIMEDOUT;
    Pending pending;
    sd_bus_slot* slot = nullptr;
    int r = sd_bus_call_async(bus, &slot, message, onReply, &pending, deadline - now);
    while (r >= 0 && !pending.done) {
        r = sd_bus_process(bus, nullptr);
        if (r != 0)
            continue;
        now = monotonicUsec();
        r = now >= deadline ? -ETIMEDOUT : sd_bus_wait(bus, deadline - now);
    }
    sd_bus_slot_unref(slot);
    if (!pending.done)
        return r < 0 ? r : -ETIMEDOUT;
    *reply = pending.reply;
    return 0;
}

bool named(const sd_bus_error* error, const char* const* names) {
    for (; *names; ++names)
        if (sd_bus_error_has_name(error, *names))
            return true;
    return false;
}

// The outcome of an error answer.
int outcomeOf(const sd_bus_error* error) {
    static const char* const kAbsent[] = {"org.freedesktop.DBus.Error.ServiceUnknown",
                                          "org.freedesktop.DBus.Error.NameHasNoOwner", nullptr};
    static const char* const kSlow[] = {"org.freedesktop.DBus.Error.NoReply",
                                        "org.freedesktop.DBus.Error.Timeout",
                                        "org.freedesktop.DBus.Error.TimedOut", nullptr};
    static const char* const kUnknown[] = {"org.freedesktop.systemd1.NoSuchUnit",
                                           "org.freedesktop.DBus.Error.UnknownObject", nullptr};
    static const char* const kDenied[] = {
        "org.freedesktop.DBus.Error.AccessDenied",
        "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired", nullptr};
    return named(error, kAbsent)    ? SYSTEMPLUGIN_BUS_NO_MANAGER
           : named(error, kSlow)    ? SYSTEMPLUGIN_BUS_NO_ANSWER
           : named(error, kUnknown) ? SYSTEMPLUGIN_BUS_NO_UNIT
           : named(error, kDenied)  ? SYSTEMPLUGIN_BUS_DENIED
                                    : SYSTEMPLUGIN_BUS_FAILED;
}

// What a question ended with when the connection itself failed: -1 means
// "try the next way to the manager".
constexpr int kLost = -1;

// Reads the unit's property `name` (a text) into `value`.
int property(sd_bus* bus, const char* path, const char* name, uint64_t deadline, Text value,
             Text detail) {
    sd_bus_message* message = nullptr;
    sd_bus_message* reply = nullptr;
    int r = sd_bus_message_new_method_call(bus, &message, kManager, path,
                                           "org.freedesktop.DBus.Properties", "Get");
    if (r >= 0)
        r = sd_bus_message_append(message, "ss", kUnitInterface, name);
    if (r >= 0)
        r = call(bus, message, deadline, &reply);
    sd_bus_message_unref(message);
    if (r == -ETIMEDOUT) {
        detail.set("no answer within the time allowed");
        return SYSTEMPLUGIN_BUS_NO_ANSWER;
    }
    const sd_bus_error* error = r < 0 ? nullptr : sd_bus_message_get_error(reply);
    // sd-bus answers a call pending when the connection closes with NoReply.
    if (r < 0 || (error && sd_bus_is_open(bus) <= 0 &&
                  sd_bus_error_has_name(error, "org.freedesktop.DBus.Error.NoReply"))) {
        detail.set("the connection failed: %s", strerror(r < 0 ? -r : ECONNRESET));
        sd_bus_message_unref(reply);
        return kLost;
    }
    int outcome = SYSTEMPLUGIN_BUS_ANSWERED;
    const char* text = nullptr;
    if (error) {
        outcome = outcomeOf(error);
        detail.set("%s: %s", error->name, error->message ? error->message : "");
    } else if (sd_bus_message_read(reply, "v", "s", &text) < 0 || !text) {
        outcome = SYSTEMPLUGIN_BUS_FAILED;
        detail.set("an answer that is no text for %s", name);
    } else {
        value.set("%s", text);
    }
    sd_bus_message_unref(reply);
    return outcome;
}

int ask(sd_bus* bus, const char* path, uint64_t deadline, Text state, Text detail) {
    char load[64] = "";
    int outcome = property(bus, path, "LoadState", deadline, Text{load, sizeof load}, detail);
    if (outcome == SYSTEMPLUGIN_BUS_ANSWERED && strcmp(load, "not-found") == 0) {
        detail.set("LoadState is not-found");
        return SYSTEMPLUGIN_BUS_NO_UNIT;
    }
    if (outcome == SYSTEMPLUGIN_BUS_ANSWERED)
        outcome = property(bus, path, "ActiveState", deadline, state, detail);
    return outcome;
}

int activeState(const char* unit, unsigned long long timeoutUsec, int privateFirst, char* state,
                size_t stateSize, char* detail, size_t detailSize) {
    const uint64_t deadline = monotonicUsec() + timeoutUsec;
    Text answer{state, stateSize}, why{detail, detailSize};
    answer.set("%s", "");
    why.set("no service manager: neither its private socket nor the system bus answers");
    char* path = nullptr;
    if (sd_bus_path_encode("/org/freedesktop/systemd1/unit", unit, &path) < 0)
        return SYSTEMPLUGIN_BUS_FAILED;
    int outcome = SYSTEMPLUGIN_BUS_NO_MANAGER;
    for (int way = privateFirst ? 0 : 1; way < 2; ++way) {
        Bus connection;
        int r = 0;
        if (way == 0) {
            r = sd_bus_new(&connection.bus);
            if (r >= 0)
                r = sd_bus_set_address(connection.bus, kPrivateSocket);
            if (r >= 0)
                r = sd_bus_start(connection.bus);
            if (r >= 0 && !trustedPeer(connection.bus))
                r = -EPERM;
        } else {
            r = sd_bus_open_system(&connection.bus);
        }
        if (r < 0)
            continue;
        const int asked = ask(connection.bus, path, deadline, answer, why);
        if (asked != kLost) {
            outcome = asked;
            break;
        }
    }
    free(path);
    return outcome;
}

constexpr SystemPluginBusFunctions kFunctions = {SYSTEMPLUGIN_BUS_VERSION, activeState};

} // namespace

extern "C" __attribute__((visibility("default"))) const SystemPluginBusFunctions*
systemPluginBusFunctions(void) {
    return &kFunctions;
}
