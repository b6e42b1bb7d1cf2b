// FileSearch as a host drives it (codes, roots, limits), and the descriptor
// walk under a tree that changes while it is walked. Its results are checked
// against GNU find by file-search-vs-find.py.
#include "SystemPlugin/common/TreeWalk.h"
#include "support/HostDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using SystemPlugin::TreeWalk;
using testsupport::SystemDriver;

namespace {

// Makes `count` empty files named e0, e1, ... in `dir`.
void makeFiles(const std::string& dir, int count) {
    for (int i = 0; i < count; ++i)
        ::close(::open((dir + "/e" + std::to_string(i)).c_str(), O_CREAT | O_WRONLY, 0600));
}

// One search: its properties, the values of a child if it has one, and the
// transcript "CODE:[paths]" (after the child's feed code).
struct Search {
    std::vector<std::pair<std::wstring, std::wstring>> properties;
    std::optional<std::vector<std::wstring>> child;
    std::wstring transcript;
};

std::wstring run(SystemDriver& driver, const Search& search) {
    auto op = driver.create(L"FileSearch");
    for (const auto& [name, value] : search.properties)
        op->setProperty(name.c_str(), value.c_str());
    std::wstring fed;
    if (search.child)
        fed = std::to_wstring(SystemDriver::feedList(*op, *search.child)) + L" ";
    return fed + SystemDriver::read(*op);
}

} // namespace

TEST(FileSearch, CodesRootsAndLimits) {
    testsupport::TempDir dir("/dev/shm");
    std::filesystem::create_directories(dir.at("a/b"));
    std::filesystem::create_directory_symlink(dir.at("a"), dir.at("link"));
    const std::wstring top(dir.path().begin(), dir.path().end());
    const std::wstring a = top + L"/a", link = top + L"/link";
    const Search searches[] = {
        {{}, std::nullopt, L"-12001:[]"},
        {{{L"absolutePath", a}}, std::vector<std::wstring>{L"/"}, L"0 -12002:[]"},
        {{{L"absolutePath", a}, {L"localMounts", L"false"}}, {}, L"0:[" + a + L"," + a + L"/b]"},
        {{{L"localMounts", L"yes"}}, {}, L"-12002:[]"},
        {{{L"absolutePath", a}, {L"depth", L"-1"}}, {}, L"-12002:[]"},
        {{{L"absolutePath", a}, {L"type", L"f;q"}}, {}, L"-12002:[]"},
        {{{L"absolutePath", a}, {L"type", L"fd"}}, {}, L"-12002:[]"},
        {{{L"absolutePath", a}, {L"modeAny", L"8"}}, {}, L"-12018:[]"},
        {{{L"absolutePath", a}, {L"owner", L"no-such-account-x"}}, {}, L"-12002:[]"},
        // A root given as a link is followed; the links below are not.
        {{{L"absolutePath", link}, {L"type", L"d"}}, {}, L"0:[" + link + L"," + link + L"/b]"},
        {{{L"absolutePath", top}, {L"type", L"l;d"}, {L"depth", L"1"}},
         {},
         L"0:[" + top + L"," + a + L"," + link + L"]"},
        // Roots from a child: absolute paths only, missing ones with ifExists.
        {{{L"depth", L"0"}}, std::vector<std::wstring>{a, L"/no/such"}, L"0 -12010:[]"},
        {{{L"depth", L"0"}, {L"ifExists", L"true"}},
         std::vector<std::wstring>{a, L"/no/such", L"relative"},
         L"0 0:[" + a + L"]"},
        {{{L"depth", L"0"}}, std::vector<std::wstring>{L"relative"}, L"0 -12010:[]"},
        {{}, std::vector<std::wstring>{}, L"0 0:[]"},
    };
    SystemDriver driver;
    for (const Search& search : searches)
        EXPECT_EQ(run(driver, search), search.transcript) << (&search - searches);
    // 100,000 paths is the most a search gives.
    std::filesystem::create_directory(dir.at("many"));
    makeFiles(dir.at("many"), 100000);
    const std::wstring many = top + L"/many";
    EXPECT_EQ(run(driver, {{{L"absolutePath", many}}, {}, L""}), L"-12012:[]");
    const std::wstring fewer =
        run(driver, {{{L"absolutePath", many}, {L"exclude", L"*/e7"}}, {}, L""});
    EXPECT_EQ(fewer.substr(0, 3 + many.size() + 1), L"0:[" + many + L",");
}

// A directory replaced by a link to elsewhere after it was read is not
// followed; an ancestor moved away while the walk is deep is noticed when the
// walk climbs back to it through "..".
TEST(FileSearch, WalkIsNotLedAwayByATreeChangingUnderIt) {
    testsupport::TempDir dir("/dev/shm");
    std::filesystem::create_directories(dir.at("tree/a/b"));
    std::filesystem::create_directories(dir.at("outside/secret"));
    std::string deep = dir.at("deep");
    for (int level = 0; level < 100; ++level)
        deep += "/d";
    std::filesystem::create_directories(deep);
    makeFiles(dir.at("tree"), 12);

    TreeWalk::Options options;
    std::string seen;
    TreeWalk swapped(options, {});
    const TreeWalk::End swap = swapped.walk(dir.at("tree"), [&](const TreeWalk::Entry& entry) {
        seen += entry.path + "\n";
        if (entry.path == dir.at("tree/a")) {
            std::filesystem::rename(dir.at("tree/a"), dir.at("a.moved"));
            std::filesystem::create_directory_symlink(dir.at("outside"), dir.at("tree/a"));
        }
        return TreeWalk::Step::Descend;
    });
    EXPECT_EQ(swap, TreeWalk::End::Failed);
    EXPECT_STREQ(swapped.failure().reason, "changed while it was searched");
    EXPECT_EQ(seen.find("secret"), std::string::npos) << seen;

    TreeWalk moved(options, {});
    const std::string ancestor = dir.at("deep/d/d/d/d/d");
    const TreeWalk::End move = moved.walk(dir.at("deep"), [&](const TreeWalk::Entry& entry) {
        if (entry.depth == 90)
            std::filesystem::rename(ancestor, dir.at("ancestor.moved"));
        return TreeWalk::Step::Descend;
    });
    EXPECT_EQ(move, TreeWalk::End::Failed);
    EXPECT_EQ(moved.failure().path, dir.at("deep/d/d/d/d"));

    // Without a change the same depth is walked whole, and the entry limit holds.
    std::size_t entries = 0;
    TreeWalk whole(options, {});
    EXPECT_EQ(
        whole.walk(dir.at("ancestor.moved"),
                   [&](const TreeWalk::Entry&) { return ++entries, TreeWalk::Step::Descend; }),
        TreeWalk::End::Done);
    EXPECT_EQ(entries, 96u);
    options.maxEntries = 11;
    TreeWalk limited(options, {});
    EXPECT_EQ(limited.walk(dir.at("tree"),
                           [](const TreeWalk::Entry&) { return TreeWalk::Step::Descend; }),
              TreeWalk::End::Failed);
    EXPECT_EQ(limited.failure().outcome.error, PluginKit::FileError::OverLimit);
}
