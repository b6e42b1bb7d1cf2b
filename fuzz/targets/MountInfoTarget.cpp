// Fuzz target: mountinfo tables. Any bytes parse, lookups answer for a mount
// whose mount point lies on the path, and a table written from fuzz-made
// mounts (network sources of every form, bind mounts of subdirectories)
// answers every path with the longest matching mount point and its remote path.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "MemoryFile.h"

#include "base/MountTable.h"
#include "base/Utf8.h"
#include "base/mountlist.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace fuzzing {

namespace {

constexpr std::size_t kMaxRaw = 4096;
constexpr std::size_t kMaxMounts = 12;

std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> parts;
    std::istringstream in(path);
    for (std::string part; std::getline(in, part, '/');)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

bool isComponentPrefix(const std::vector<std::string>& prefix, const std::vector<std::string>& of) {
    return prefix.size() <= of.size() && std::equal(prefix.begin(), prefix.end(), of.begin());
}

std::wstring wide(const std::string& text) {
    std::wstring out;
    base::decodeUtf8(text.data(), text.size(), out);
    return out;
}

// The mountlist over the same text answers exactly as the table does.
void checkMountList(const std::string& text, const base::MountTable& table,
                    const std::vector<std::string>& paths) {
    MemoryFile file(text);
    if (file.path().empty())
        return;
    mountlist mounts(file.path().c_str());
    FUZZ_CHECK(mounts.Initialize() == 0 && mounts.isReady());
    for (const std::string& path : paths) {
        // The list takes NUL-terminated wide paths: only paths that are UTF-8
        // without a NUL reach it unchanged.
        const std::wstring widePath = wide(path);
        std::string narrowAgain;
        base::encodeUtf8(widePath.c_str(), widePath.size(), narrowAgain, false);
        if (narrowAgain != path || path.find('\0') != std::string::npos)
            continue;
        base::MountAnswer answer;
        const bool found = table.lookup(path, answer);
        FUZZ_CHECK(mounts.GetMountPath(widePath.c_str()).str() ==
                   (found ? wide(answer.mountPoint) : L""));
        FUZZ_CHECK(mounts.GetMountServer(widePath.c_str()).str() ==
                   (found ? wide(answer.server) : L""));
        FUZZ_CHECK(mounts.GetMountRemotePath(widePath.c_str()).str() ==
                   (found ? wide(answer.remotePath) : L""));
    }
    FUZZ_CHECK(mounts.GetMountPath(nullptr).str().empty());
}

void checkAnswer(const std::string& path, bool found, const base::MountAnswer& answer) {
    if (path.empty() || path.front() != '/') {
        FUZZ_CHECK(!found);
        return;
    }
    if (!found)
        return;
    FUZZ_CHECK(!answer.mountPoint.empty() && answer.mountPoint.front() == '/');
    FUZZ_CHECK(isComponentPrefix(components(answer.mountPoint), components(path)));
    if (answer.server.empty())
        FUZZ_CHECK(answer.remotePath.empty());
    // Options: "ro" or "rw" first, no name twice.
    FUZZ_CHECK(!answer.options.empty() && (answer.options[0] == "ro" || answer.options[0] == "rw"));
    std::vector<std::string> names;
    for (const std::string& option : answer.options)
        names.push_back(option.substr(0, option.find('=')));
    std::sort(names.begin(), names.end());
    FUZZ_CHECK(std::adjacent_find(names.begin(), names.end()) == names.end());
}

void checkRaw(const std::string& text, ByteReader& input) {
    base::MountTable table;
    const int rc = table.parse(text.data(), text.size());
    FUZZ_CHECK(rc <= 0);
    // Paths to look up: pieces of the text itself, some made absolute.
    std::vector<std::string> paths{"/", "relative", ""};
    for (int i = 0; i < 6 && !input.empty(); ++i) {
        std::string piece = text.substr(input.below(text.size() + 1), input.below(40));
        if (input.flag())
            piece.insert(0, "/");
        paths.push_back(piece);
    }
    for (const std::string& path : paths) {
        base::MountAnswer answer;
        checkAnswer(path, table.lookup(path, answer), answer);
    }
    if (rc == 0)
        checkMountList(text, table, paths);
}

// Characters of path components: some that mountinfo escapes, some that
// sources treat specially, non-ASCII.
const char* const kPieces[] = {"a", "b", "mnt", "x y", "t\tab", "back\\slash", "n\nl", ":",
                               "[", "]", "é",   "☺",   "#",     "-",           "..",   "."};

std::string drawComponent(ByteReader& input) {
    std::string component;
    const std::size_t count = 1 + input.below(3);
    for (std::size_t i = 0; i < count; ++i)
        component += kPieces[input.below(sizeof kPieces / sizeof kPieces[0])];
    return component;
}

// mountinfo's octal escapes for blanks, line ends and the backslash.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", c);
            out += octal;
        } else {
            out += c;
        }
    }
    return out;
}

struct WrittenMount {
    std::string mountPoint;
    std::vector<std::string> parts;
    std::string server;            // empty for a local source
    std::string exportPath;        // as written after the server
    std::vector<std::string> root; // of a bind mount: the directory it shows
};

std::string remotePathOf(std::string exportPath, const std::vector<std::string>& path) {
    while (exportPath.size() > 1 && exportPath.back() == '/')
        exportPath.pop_back();
    for (const std::string& part : path)
        exportPath += (exportPath.back() != '/' ? "/" : "") + part;
    return exportPath;
}

void checkWritten(ByteReader& input) {
    std::vector<WrittenMount> mounts;
    std::string text;
    const std::size_t count = 1 + input.below(kMaxMounts);
    for (std::size_t i = 0; i < count; ++i) {
        WrittenMount mount;
        // Mount points share prefixes often: reuse an earlier one and extend it.
        if (!mounts.empty() && input.flag())
            mount.parts = mounts[input.below(mounts.size())].parts;
        const std::size_t extra = input.below(3);
        for (std::size_t j = 0; j < extra; ++j)
            mount.parts.push_back(drawComponent(input));
        for (const std::string& part : mount.parts)
            mount.mountPoint += "/" + part;
        if (mount.mountPoint.empty())
            mount.mountPoint = "/";
        std::string source;
        if (input.flag()) {
            static const char* const kServers[] = {"srv", "nas.example", "10.0.0.7", "h-1"};
            mount.server = kServers[input.below(4)];
            mount.exportPath = "/";
            const std::size_t depth = input.below(3);
            for (std::size_t j = 0; j < depth; ++j)
                mount.exportPath += (j ? "/" : "") + std::string(input.flag() ? "exp" : "e x");
            // A trailing '/', but no "srv://", which reads as a URL.
            if (depth > 0 && input.flag())
                mount.exportPath += "/";
            // The forms of NFS and sshfs, davfs and CIFS; users and ports
            // never reach the server's name.
            const std::string user = input.flag() ? "u@" : "";
            switch (input.below(3)) {
            case 0:
                source = user + mount.server + ":" + mount.exportPath;
                break;
            case 1:
                source = "https://" + user + mount.server + (input.flag() ? ":8443" : "") +
                         mount.exportPath;
                break;
            default:
                source = "//" + mount.server + mount.exportPath;
            }
        } else {
            source = input.flag() ? "/dev/vda1" : "tmpfs";
        }
        std::string root;
        for (std::size_t j = input.below(3); j > 0; --j) {
            mount.root.push_back(drawComponent(input));
            root += "/" + mount.root.back();
        }
        text += std::to_string(20 + i) + " 1 0:" + std::to_string(i) + " " +
                escaped(root.empty() ? "/" : root) + " " + escaped(mount.mountPoint) +
                " rw,relatime" + (input.flag() ? " shared:1" : "") + " - nfs " + escaped(source) +
                " rw\n";
        mounts.push_back(mount);
    }

    base::MountTable table;
    FUZZ_CHECK(table.parse(text.data(), text.size()) == 0);
    FUZZ_CHECK(table.size() == mounts.size());
    std::vector<std::string> paths;
    for (int round = 0; round < 6; ++round) {
        std::vector<std::string> parts = mounts[input.below(mounts.size())].parts;
        const std::size_t extra = input.below(3);
        for (std::size_t j = 0; j < extra; ++j)
            parts.push_back(drawComponent(input));
        // Repeated and trailing slashes do not change the path's components.
        std::string path;
        for (const std::string& part : parts)
            path += (input.flag() ? "//" : "/") + part;
        path += input.flag() ? "/" : "";
        if (path.empty())
            path = "/";
        paths.push_back(path);

        // The longest mount point on the path, the last one among equals.
        const WrittenMount* holder = nullptr;
        for (const WrittenMount& mount : mounts)
            if (isComponentPrefix(mount.parts, parts) &&
                (!holder || mount.parts.size() >= holder->parts.size()))
                holder = &mount;
        base::MountAnswer answer;
        const bool found = table.lookup(path, answer);
        FUZZ_CHECK(found == (holder != nullptr));
        if (!holder)
            continue;
        FUZZ_CHECK(answer.mountPoint == holder->mountPoint);
        FUZZ_CHECK(answer.server == holder->server);
        // The remote path: the export, the mount's root, the rest of the path.
        std::vector<std::string> below = holder->root;
        below.insert(below.end(), parts.begin() + static_cast<std::ptrdiff_t>(holder->parts.size()),
                     parts.end());
        FUZZ_CHECK(
            answer.remotePath ==
            (holder->server.empty() ? std::string() : remotePathOf(holder->exportPath, below)));
    }
    checkMountList(text, table, paths);
}

} // namespace

// Input: a mode byte; then either raw table bytes followed (after a 0xFF byte)
// by lookup choices, or the choices that write a table.
int fuzzMountInfo(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    if (input.flag()) {
        std::string text = input.until('\xFF').substr(0, kMaxRaw);
        checkRaw(text, input);
    } else {
        checkWritten(input);
    }
    return 0;
}

} // namespace fuzzing
