// A temporary tree holding one of every kind of thing a file probe can meet.
#pragma once

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace testsupport {

// file.txt (5 bytes, fixed access and modification times), empty (0 bytes),
// dir/, link-file -> file.txt, link-dir -> dir, dangling -> missing, a FIFO
// and a listening UNIX socket.
class ProbeTree : public TempDir {
public:
    static constexpr long kAccessSeconds = 1000000000;
    static constexpr long kModifySeconds = 1234567890;

    ProbeTree() {
        write("file.txt", "hello");
        write("empty", "");
        EXPECT_EQ(::mkdir(at("dir").c_str(), 0700), 0);
        EXPECT_EQ(::symlink("file.txt", at("link-file").c_str()), 0);
        EXPECT_EQ(::symlink("dir", at("link-dir").c_str()), 0);
        EXPECT_EQ(::symlink("missing", at("dangling").c_str()), 0);
        EXPECT_EQ(::mkfifo(at("fifo").c_str(), 0600), 0);
        // Fractions of a second that must be dropped.
        const struct timespec times[2] = {{kAccessSeconds, 600000000}, {kModifySeconds, 999999999}};
        EXPECT_EQ(::utimensat(AT_FDCWD, at("file.txt").c_str(), times, 0), 0);

        m_Socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        struct sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::string socketPath = at("sock");
        EXPECT_LT(socketPath.size(), sizeof address.sun_path);
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(m_Socket, reinterpret_cast<struct sockaddr*>(&address), sizeof address),
                  0);
    }
    ~ProbeTree() {
        if (m_Socket >= 0)
            ::close(m_Socket);
    }

    // The wide path of `name` inside the tree.
    std::wstring wide(const std::string& name) const { return widen(at(name)); }

private:
    int m_Socket = -1;
};

} // namespace testsupport
