// A stand-in for systemd's service manager: it answers Properties.Get of
// org.freedesktop.systemd1.Unit for /org/freedesktop/systemd1/unit/* as told,
// on the system bus (as org.freedesktop.systemd1) or, with --private PATH, as
// the peer of connections to a socket at PATH.
//   fake-service-manager [--private PATH] MODE [UNIT=STATE]...
// MODE: "answer"; "slow" (answers after 7 s); "silent" (never answers);
// "error" (answers every call with org.freedesktop.DBus.Error.Failed). A unit
// not named has LoadState "not-found" and ActiveState "inactive", as systemd
// gives. Prints "ready" once it serves.
#include <systemd/sd-bus.h>
#include <systemd/sd-id128.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string g_Mode;
std::map<std::string, std::string> g_States;

int onCall(sd_bus_message* message, void*, sd_bus_error*) {
    if (!sd_bus_message_is_method_call(message, "org.freedesktop.DBus.Properties", "Get"))
        return 0;
    if (g_Mode == "silent")
        return 1;
    if (g_Mode == "slow")
        sleep(7);
    if (g_Mode == "error")
        return sd_bus_reply_method_errorf(message, "org.freedesktop.DBus.Error.Failed", "told so");
    const char *interface = nullptr, *property = nullptr;
    char* unit = nullptr;
    if (sd_bus_message_read(message, "ss", &interface, &property) < 0 ||
        sd_bus_path_decode(sd_bus_message_get_path(message), "/org/freedesktop/systemd1/unit",
                           &unit) <= 0)
        return sd_bus_reply_method_errorf(message, "org.freedesktop.DBus.Error.InvalidArgs", "?");
    const auto known = g_States.find(unit);
    free(unit);
    std::string value = known == g_States.end() ? "inactive" : known->second;
    if (std::strcmp(property, "LoadState") == 0)
        value = known == g_States.end() ? "not-found" : "loaded";
    return sd_bus_reply_method_return(message, "v", "s", value.c_str());
}

int serve(sd_bus* bus) {
    sd_bus_slot* slot = nullptr;
    int r = sd_bus_add_fallback(bus, &slot, "/org/freedesktop/systemd1/unit", onCall, nullptr);
    while (r >= 0) {
        r = sd_bus_process(bus, nullptr);
        if (r == 0)
            r = sd_bus_wait(bus, UINT64_MAX);
    }
    sd_bus_slot_unref(slot);
    return r;
}

} // namespace

int main(int argc, char** argv) {
    int next = 1;
    const char* privatePath = nullptr;
    if (argc > 2 && std::strcmp(argv[1], "--private") == 0) {
        privatePath = argv[2];
        next = 3;
    }
    if (next >= argc)
        return 2;
    g_Mode = argv[next++];
    for (; next < argc; ++next) {
        const char* equals = std::strchr(argv[next], '=');
        if (equals)
            g_States[std::string(argv[next], static_cast<std::size_t>(equals - argv[next]))] =
                equals + 1;
    }
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (!privatePath) {
        sd_bus* bus = nullptr;
        if (sd_bus_open_system(&bus) < 0 ||
            sd_bus_request_name(bus, "org.freedesktop.systemd1", 0) < 0)
            return 1;
        std::puts("ready");
        return serve(bus) < 0 ? 1 : 0;
    }
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, privatePath, sizeof address.sun_path - 1);
    unlink(privatePath);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0)
        return 1;
    std::puts("ready");
    for (int fd; (fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        sd_bus* bus = nullptr;
        sd_id128_t id;
        sd_id128_randomize(&id);
        if (sd_bus_new(&bus) >= 0 && sd_bus_set_fd(bus, fd, fd) >= 0 &&
            sd_bus_set_server(bus, 1, id) >= 0 && sd_bus_start(bus) >= 0)
            serve(bus);
        sd_bus_close_unref(bus);
    }
    return 1;
}
