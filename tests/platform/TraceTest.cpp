// The logging wrapper: a record per modifier reaches the installed sink, with
// its message in UTF-8; scopes alone write nothing; a removed sink gets nothing.
#include "QxLogWrapper/Trace.h"
#include "QxLogWrapper/Tracer.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Trace, WritesOneRecordPerModifierToTheSink) {
    std::vector<TraceRecord> records;
    Tracer::setSink([&records](const TraceRecord& record) { records.push_back(record); });
    { Trace scope(Tracer::getInstance(Tracer::Plugin), "Thing::Thing()"); }
    Trace trace(Tracer::getInstance(Tracer::Plugin), L"Thing::run()");
    trace << trace.pos("src/file", 12) << "first " << L"\u00e9" << Trace::Modifier(0);
    Tracer::setSink(nullptr);
    trace << trace.pos("src/file", 13) << "lost" << Trace::Modifier(0);
    ASSERT_EQ(records.size(), 1u);
    const TraceRecord& record = records[0];
    // A wide function name and message arrive in UTF-8.
    EXPECT_EQ(record.function, "Thing::run()");
    EXPECT_EQ(record.message, "first \xC3\xA9");
    EXPECT_FALSE(Tracer::getInstance(Tracer::Plugin).isEnabled());
}
